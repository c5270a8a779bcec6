#include "FontPlatform.h"

#include "CodePage.h"
#include "Dialogs.h"

#include <QFont>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kTenthsPerInch = 720;
constexpr std::uint8_t kTrue = 255;
constexpr std::int32_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();

QFont fontFromRecord(const LOGFONT &lf, int dpi)
{
    const auto end = std::find(lf.lfFaceName.bytes.begin(), lf.lfFaceName.bytes.end(), std::uint8_t(0));
    const QString name = codePage::decode(QByteArrayView(
        reinterpret_cast<const char *>(lf.lfFaceName.bytes.data()), end - lf.lfFaceName.bytes.begin()));
    QFont font(name);
    // The dialog offers whole points; converting back rounds to the size the
    // height was made from whenever the device has more than 72 dpi.
    if (lf.lfHeight != 0 && dpi > 0) {
        const std::int32_t pixels = lf.lfHeight > 0 ? lf.lfHeight : -std::max(lf.lfHeight, -kMaxInt32);
        const std::int32_t points = MulDiv(pixels, kPointsPerInch, dpi);
        if (points > 0)
            font.setPointSize(points);
    }
    font.setWeight(QFont::Weight(lf.lfWeight == 0 ? QFont::Normal : std::clamp(lf.lfWeight, 1, 1000)));
    font.setItalic(lf.lfItalic != 0);
    return font;
}

std::int32_t tenthsOfPoint(const QFont &font, int dpi)
{
    if (font.pointSizeF() > 0)
        return static_cast<std::int32_t>(std::lround(std::min(font.pointSizeF() * 10, double(kMaxInt32))));
    return dpi > 0 ? MulDiv(font.pixelSize(), kTenthsPerInch, dpi) : 0;
}

} // namespace

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = std::int64_t(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * std::abs(remainder) >= std::abs(std::int64_t(c)))
        quotient += (product < 0) == (c < 0) ? 1 : -1;
    if (!std::in_range<std::int32_t>(quotient))
        return -1;
    return static_cast<std::int32_t>(quotient);
}

int GetDeviceCaps(const QPaintDevice *hDC, int index)
{
    if (!hDC || index != LOGPIXELSY)
        return 0;
    return hDC->logicalDpiY();
}

std::int32_t ChooseFontA(CHOOSEFONT &record)
{
    if (record.lStructSize != CHOOSEFONT::kPlatformSize || !record.hwndOwner || !record.lpLogFont
        || (record.Flags & (CF_SCREENFONTS | CF_PRINTERFONTS)) == 0)
        return 0;
    LOGFONT &lf = *record.lpLogFont;
    const int dpi = GetDeviceCaps(record.hDC, LOGPIXELSY);
    const QFont initial = (record.Flags & CF_INITTOLOGFONTSTRUCT) ? fontFromRecord(lf, dpi) : QFont();

    const std::optional<QFont> chosen = record.hwndOwner->chooseFont(initial);
    if (!chosen)
        return 0;

    // The platform's dialog lists only faces its records can name; ours lists
    // every face on the screen, so a name that does not fit is refused here.
    const std::optional<QByteArray> name = codePage::encode(chosen->family());
    if (!name || name->size() >= FaceNameBytes::kCount || name->contains('\0'))
        throw RuntimeError(error::kFaceNameNotInCodePage,
            u"Шрифт «%1» нельзя выбрать: его имя не записывается в 31 байт кодировки windows-1251"_s.arg(
                chosen->family()));

    lf.lfFaceName.bytes.fill(0);
    std::copy(name->begin(), name->end(), lf.lfFaceName.bytes.begin());
    record.iPointSize = tenthsOfPoint(*chosen, dpi);
    lf.lfHeight = -MulDiv(record.iPointSize, dpi, kTenthsPerInch);
    lf.lfWeight = chosen->weight();
    lf.lfItalic = chosen->italic() ? kTrue : 0;
    lf.lfUnderline = 0;
    lf.lfStrikeOut = 0;
    return 1;
}

} // namespace zembrel
