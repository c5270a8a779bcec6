#pragma once

#include <QString>

namespace zembrel {

// The sixteen dot-slot buttons, seen through their values (1 on, 0 off).
// Setting a value may raise the button's click at once, nested in the caller.
class DotSlots
{
public:
    static constexpr int kCount = 16;

    virtual ~DotSlots() = default;
    virtual short Value(int index) const = 0;
    virtual void setValue(int index, short value) = 0;
};

// The radius spin button.
class SpinButton
{
public:
    virtual ~SpinButton() = default;
    virtual short Max() const = 0;
    virtual short Value() const = 0;
};

// The label that shows the radius.
class Caption
{
public:
    virtual ~Caption() = default;
    virtual void setCaption(const QString &text) = 0;
};

} // namespace zembrel
