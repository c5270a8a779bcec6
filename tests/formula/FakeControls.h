#pragma once

#include "Controls.h"
#include "Formula.h"

#include <QString>

#include <array>
#include <utility>

namespace zembrel {

// The controls the formula works on, without widgets: the sixteen dot-slot
// values, the spin button and the radius label. With `nestedClicks` set,
// switching a slot off from code raises its click at once, as a toolkit may.
struct FakeControls : DotSlots, SpinButton, Caption
{
    // Ties the controls to `formula` and starts it as the window starts it.
    void start(Formula &formula)
    {
        m_formula = &formula;
        formula.blnDotEvents = true;
        formula.vscRadiusUpDown_Change();
    }

    short Value(int i) const override { return dots[std::size_t(i)]; }
    void setValue(int i, short v) override
    {
        if (std::exchange(dots[std::size_t(i)], v) != v && nestedClicks)
            m_formula->chbDot_Click(short(i));
    }
    short Max() const override { return 20; }
    short Value() const override { return spin; }
    void setCaption(const QString &text) override { caption = text; }

    // A user's click: the button toggles itself, then reports.
    void click(int slot)
    {
        if (slot >= 0 && slot < kCount)
            dots[std::size_t(slot)] = short(1 - dots[std::size_t(slot)]);
        m_formula->chbDot_Click(short(slot));
    }

    std::array<short, kCount> dots{};
    bool nestedClicks = false;
    short spin = 17;
    QString caption;

private:
    Formula *m_formula = nullptr;
};

} // namespace zembrel
