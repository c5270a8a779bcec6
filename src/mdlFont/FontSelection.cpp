#include "FontSelection.h"

#include "CodePage.h"
#include "Dialogs.h"
#include "Formula.h"
#include "Surface.h"

#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

constexpr std::int32_t kYes = 6;
constexpr std::int32_t kNo = 7;
constexpr std::int32_t kFlags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT; // 67
constexpr std::uint8_t kTrue = 255;
constexpr int kEnd = 28;

[[noreturn]] void overflow()
{
    throw RuntimeError(error::kOverflow, u"Переполнение"_s);
}

template <typename To, typename From> To narrowed(From value)
{
    if (!std::in_range<To>(value))
        overflow();
    return static_cast<To>(value);
}

// A size in whole points: to the nearest, a half to the even neighbour.
std::int16_t wholePoints(double size)
{
    double whole = std::round(size);
    if (std::fabs(size - std::trunc(size)) == 0.5)
        whole = 2 * std::round(size / 2);
    if (!(whole >= -32768 && whole <= 32767))
        overflow();
    return static_cast<std::int16_t>(whole);
}

// Where a "Yes" after a failure in step `number` goes on.
constexpr int resumeAt(int number)
{
    switch (number) {
    case 1: // the copy loop was never set up: skip it
    case 2: return 5;
    case 17: return 27; // a failed dialog counts as a cancel
    case 20: return 23; // leave the loop
    default: return number + 1;
    }
}

} // namespace

// What one click works on: zero-filled when it starts, dropped when it ends.
struct FontSelection::Click
{
    SurfaceFont F{QString(), 0, 0, false, 0};
    LOGFONT lf{};
    CHOOSEFONT cf{};
    std::int32_t result = 0;
    std::int16_t i = 0;
    qsizetype L = 0; // characters of F's name
    std::int16_t bound = 0; // the copy loop's last i
    QString faceName;
};

FontSelection::FontSelection(Surface &picOut, Formula &formula, Dialogs &dialogs, const QPaintDevice *window,
    std::function<void()> cbCancel_Click, ChooseFontCall chooseFont)
    : m_picOut(picOut), m_formula(formula), m_dialogs(dialogs), m_window(window),
      m_cbCancel_Click(std::move(cbCancel_Click)), m_chooseFont(std::move(chooseFont))
{ }

void FontSelection::cbFont_Click()
{
    Click c;
    for (int number = 1; number != kEnd;) {
        try {
            number = runStep(c, number);
        } catch (const RuntimeError &failure) {
            c.result = m_dialogs.criticalYesNo(u"Ошибка "_s + QString::number(failure.number()) + u": "_s
                           + failure.description() + u"\r\n\r\nПродолжить работу программы?"_s)
                ? kYes
                : kNo;
            if (c.result != kYes) {
                m_cbCancel_Click();
                return;
            }
            number = resumeAt(number);
        }
    }
}

int FontSelection::runStep(Click &c, int number)
{
    switch (number) {
    case 1: c.F = m_picOut.Font(); return 2;
    case 2:
        c.L = c.F.Name.size();
        c.bound = narrowed<std::int16_t>(c.L);
        c.i = 1;
        return c.i > c.bound ? 5 : 3;
    case 3: {
        std::uint8_t &element = c.lf.lfFaceName.element(c.i);
        element = narrowed<std::uint8_t>(codePage::code(c.F.Name.at(c.i - 1)));
        return 4;
    }
    case 4: c.i = narrowed<std::int16_t>(c.i + 1); return c.i > c.bound ? 5 : 3;
    case 5: c.lf.lfFaceName.element(narrowed<int>(c.L + 1)) = 0; return 6;
    case 6: c.lf.lfCharSet = narrowed<std::uint8_t>(c.F.Charset); return 7;
    case 7: {
        const std::int16_t points = wholePoints(c.F.Size);
        const int dpi = GetDeviceCaps(m_picOut.hDC(), LOGPIXELSY);
        c.lf.lfHeight = narrowed<std::int32_t>(-std::int64_t(MulDiv(points, dpi, 72)));
        return 8;
    }
    case 8: c.lf.lfItalic = c.F.Italic ? kTrue : 0; return 9;
    case 9: c.lf.lfWeight = c.F.Weight; return 10;
    case 10: c.cf.hwndOwner = &m_dialogs; return 11;
    case 11: c.cf.hDC = m_window; return 12;
    case 12: c.cf.Flags = kFlags; return 13;
    case 13: c.cf.lpszStyle = QString(); return 14;
    case 14: c.cf.lpTemplateName = QString(); return 15;
    case 15: c.cf.lStructSize = CHOOSEFONT::kPlatformSize; return 16;
    case 16: c.cf.lpLogFont = &c.lf; return 17;
    case 17: c.result = m_chooseFont(c.cf); return 18;
    case 18: return c.result == 0 ? 27 : 19;
    case 19: c.i = 1; return 20;
    case 20: return c.lf.lfFaceName.element(c.i) == 0 ? 23 : 21;
    case 21: c.faceName += codePage::character(c.lf.lfFaceName.element(c.i)); return 22;
    case 22: c.i = narrowed<std::int16_t>(c.i + 1); return c.i > FaceNameBytes::kCount ? 23 : 20;
    // Each write goes to the surface's font as it is now, in this order.
    case 23: m_picOut.setFontName(c.faceName); return 24;
    case 24: m_picOut.setFontSize(c.cf.iPointSize / 10.0); return 25;
    case 25: m_picOut.setFontWeight(narrowed<short>(c.lf.lfWeight)); return 26;
    case 26: m_picOut.setFontItalic(c.lf.lfItalic != 0); return 27;
    case 27: m_formula.DrawPic(); return kEnd;
    default: return kEnd;
    }
}

} // namespace zembrel
