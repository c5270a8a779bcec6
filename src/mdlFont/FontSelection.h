#pragma once

#include "FontPlatform.h"
#include "FontRecords.h"

#include <cstdint>
#include <functional>

class QPaintDevice;

namespace zembrel {

class Dialogs;
class Formula;
class Surface;

// The font command of the window: the font dialog pre-set to the surface's
// font, whose answer becomes the surface's face, size, weight and italics.
// Lives as long as the window.
class FontSelection
{
public:
    using ChooseFontCall = std::function<std::int32_t(CHOOSEFONT &)>;

    // `window` is the device the dialog's sizes are meant for; `cbCancel_Click`
    // ends the run when the user declines to go on after an error;
    // `chooseFont` makes the dialog call (a test may answer it instead).
    FontSelection(Surface &picOut, Formula &formula, Dialogs &dialogs, const QPaintDevice *window,
        std::function<void()> cbCancel_Click, ChooseFontCall chooseFont = ChooseFontA);

    void cbFont_Click();

private:
    struct Click;

    // Runs step `number` of the command; gives the number of the step to run next.
    int runStep(Click &c, int number);

    Surface &m_picOut;
    Formula &m_formula;
    Dialogs &m_dialogs;
    const QPaintDevice *m_window;
    std::function<void()> m_cbCancel_Click;
    ChooseFontCall m_chooseFont;
};

} // namespace zembrel
