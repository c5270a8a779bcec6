#pragma once

#include "Controls.h"
#include "Surface.h"

#include <QSize>
#include <QString>
#include <Qt>

namespace zembrel {

// The drawing area the symbol is centred in, in scale units.
inline constexpr QSize kDrawingArea{120, 109};

// The font every run starts with.
SurfaceFont startFont();

// Text of the radius label: the user's locale, shortest form, no grouping.
QString radiusText(double radius);

// Key code of a key as the editing rules know it: 8 Backspace, 48..57 the
// digits of the main block, 96..105 those of the keypad, 65..90 the letters.
short keyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// Windows reports AltGr as Ctrl+Alt; other platforms give it a modifier of its own.
#ifdef Q_OS_WIN
inline constexpr bool kAltGrIsCtrlAlt = true;
#else
inline constexpr bool kAltGrIsCtrlAlt = false;
#endif

// True when a key stroke with `modifiers` may type its character: Ctrl or Alt
// make it a command, even where the toolkit still hands over the letter.
// Where AltGr comes as Ctrl+Alt, the two together are a plain character.
bool typesCharacter(Qt::KeyboardModifiers modifiers, bool altGrIsCtrlAlt = kAltGrIsCtrlAlt);

// True when slots `a` and `b` lie in the two groups of one side, which
// exclude each other: no formula the window makes has both.
bool excludeEachOther(int a, int b);

// The formula of one element and the rules by which the user edits it.
// Lives as long as the window; everything it draws goes to `picOut`.
class Formula
{
public:
    Formula(Surface &picOut, DotSlots &chbDot, SpinButton &vscRadiusUpDown, Caption &lblRadius);

    void Form_KeyDown(short KeyCode, short Shift);
    void Form_KeyPress(QChar KeyAscii);
    void chbDot_Click(short Index);
    void vscRadiusUpDown_Change();
    void DrawPic();

    // One key stroke as a Unicode toolkit delivers it: key-down, then a
    // character event per typed character (none with Ctrl or Alt held).
    // Backspace redraws even where the toolkit gives it no character.
    void keyStroke(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text);

    bool blnAllowInput = false;
    bool blnDotEvents = false;
    QString strFormula;
    QString strFileName;
    float sngRadius = 0;
    float sngCropLeft = 0;
    float sngCropTop = 0;
    float sngCropWidth = 0;
    float sngCropHeight = 0;

private:
    Surface &m_picOut;
    DotSlots &m_chbDot;
    SpinButton &m_vscRadiusUpDown;
    Caption &m_lblRadius;
};

} // namespace zembrel
