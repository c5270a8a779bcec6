#pragma once

#include <QImage>

// The pictures the program file and the window carry, drawn pixel by pixel so
// they stay exact at their small sizes.
namespace Artwork {

// 16 × 16: a solid black disc on transparent ground, for the dot-slot buttons.
QImage dotPicture();

// The formula icon at 16 or 32 px: light grey letters N and red five-pixel dots.
QImage formulaIcon(int size);

} // namespace Artwork
