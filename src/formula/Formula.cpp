#include "Formula.h"

#include "Layout.h"
#include "Letters.h"
#include "RuntimeError.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <limits>

namespace zembrel {

namespace {

constexpr short kBackspace = 8;
constexpr int kMaxLetters = 2;

// Each side holds two groups that exclude each other: a click on a slot
// switches off the other group of its side.
constexpr std::array<std::array<short, 3>, DotSlots::kCount> kExcluded{{
    {3, 4, -1}, {3, 4, -1}, {3, 4, -1}, // left three-dot
    {0, 1, 2}, {0, 1, 2}, // left two-dot
    {7, -1, -1}, {7, -1, -1}, // top two-dot
    {5, 6, -1}, // top one-dot
    {11, 12, -1}, {11, 12, -1}, {11, 12, -1}, // right three-dot
    {8, 9, 10}, {8, 9, 10}, // right two-dot
    {15, -1, -1}, {15, -1, -1}, // bottom two-dot
    {13, 14, -1}, // bottom one-dot
}};

short checkedShort(int value)
{
    if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max())
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    return static_cast<short>(value);
}

} // namespace

bool excludeEachOther(int a, int b)
{
    if (a < 0 || a >= DotSlots::kCount)
        return false;
    const auto &excluded = kExcluded[static_cast<std::size_t>(a)];
    return std::find(excluded.begin(), excluded.end(), b) != excluded.end() && b >= 0;
}

SurfaceFont startFont()
{
    return {QStringLiteral("Arial"), 21.75, 400, false, 204};
}

QString radiusText(double radius)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(radius, 'g', QLocale::FloatingPointShortest);
}

short keyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (qtKey == Qt::Key_Backspace)
        return kBackspace;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<short>((modifiers & Qt::KeypadModifier ? 96 : 48) + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<short>(qtKey);
    // Any other key only opens the typing gate; its code matters to nothing.
    return 0;
}

bool typesCharacter(Qt::KeyboardModifiers modifiers, bool altGrIsCtrlAlt)
{
    const Qt::KeyboardModifiers command = modifiers & (Qt::ControlModifier | Qt::AltModifier);
    return !command || (altGrIsCtrlAlt && command == (Qt::ControlModifier | Qt::AltModifier));
}

Formula::Formula(Surface &picOut, DotSlots &chbDot, SpinButton &vscRadiusUpDown, Caption &lblRadius)
    : m_picOut(picOut), m_chbDot(chbDot), m_vscRadiusUpDown(vscRadiusUpDown), m_lblRadius(lblRadius)
{ }

void Formula::Form_KeyDown(short KeyCode, short /*Shift*/)
{
    // The digits of the main block leave the gate as it is.
    if (KeyCode >= '0' && KeyCode <= '9')
        return;
    if (KeyCode == kBackspace) {
        blnAllowInput = false;
        if (!strFormula.isEmpty())
            strFormula.chop(1);
    } else {
        blnAllowInput = true;
    }
}

void Formula::Form_KeyPress(QChar KeyAscii)
{
    if (isLetter(KeyAscii) && strFormula.size() < kMaxLetters && blnAllowInput)
        strFormula.append(KeyAscii);
    DrawPic();
}

void Formula::keyStroke(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text)
{
    Form_KeyDown(keyCode(qtKey, modifiers), 0);
    const QString typedText = typesCharacter(modifiers) ? text : QString();
    bool typed = false;
    for (const QChar c : typedText) {
        if (c == QChar(0x7f)) // some toolkits give Delete a character; it has none
            continue;
        Form_KeyPress(c);
        typed = true;
    }
    if (!typed && qtKey == Qt::Key_Backspace)
        Form_KeyPress(QChar(kBackspace));
}

void Formula::chbDot_Click(short Index)
{
    // Switching a slot off below may click it again at once; that click must not
    // apply its own group's rule and undo the user's choice.
    if (!blnDotEvents)
        return;
    blnDotEvents = false;
    if (Index >= 0 && Index < DotSlots::kCount) {
        for (const short slot : kExcluded[static_cast<std::size_t>(Index)]) {
            if (slot >= 0)
                m_chbDot.setValue(slot, 0);
        }
    }
    blnDotEvents = true;
    DrawPic();
}

void Formula::vscRadiusUpDown_Change()
{
    const short d = checkedShort(checkedShort(m_vscRadiusUpDown.Max() - m_vscRadiusUpDown.Value()) + 1);
    const double r = d / 2.0;
    m_lblRadius.setCaption(radiusText(r));
    sngRadius = static_cast<float>(r);
    DrawPic();
}

void Formula::DrawPic()
{
    const float r = sngRadius;
    m_picOut.Cls();
    const float textHeight = m_picOut.TextHeight(strFormula);
    const float textWidth = m_picOut.TextWidth(strFormula);
    const TextBox box = textBox(m_picOut.ScaleWidth(), m_picOut.ScaleHeight(), textWidth, textHeight);
    m_picOut.setCurrentX(box.left);
    m_picOut.setCurrentY(box.top);
    m_picOut.Print(strFormula);
    m_picOut.setFillStyle(0);
    m_picOut.setFillColor(qRgb(0, 0, 0));
    for (int slot = 0; slot < DotSlots::kCount; ++slot) {
        if (m_chbDot.Value(slot) == 1) {
            const DotCentre centre = dotCentre(slot, box, r);
            m_picOut.Circle(centre.x, centre.y, r);
        }
    }
    // Each field is stored before it is checked: a fault leaves the later ones old.
    const float L = box.left, T = box.top, W = box.width, H = box.height;
    checked(sngCropLeft = L - r * 3 - 1);
    checked(sngCropTop = T - (r + r) - 1);
    checked(sngCropWidth = r * 6 + W + 2);
    checked(sngCropHeight = r * 3 + H + 4);
}

} // namespace zembrel
