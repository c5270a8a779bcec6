#pragma once

#include <QPointF>

namespace zembrel {

// The rectangle the symbol is printed in, centred in the drawing area.
struct TextBox
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct DotCentre
{
    float x = 0;
    float y = 0;
};

// The part of the drawing the export delivers: room for every slot at radius r.
struct CropRect
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// Overflow and invalid results stop a redraw where they occur.
float checked(float value);

TextBox textBox(float scaleWidth, float scaleHeight, float textWidth, float textHeight);
// Centre of dot slot 0..15 around `box` at radius r.
DotCentre dotCentre(int slot, const TextBox &box, float r);

} // namespace zembrel
