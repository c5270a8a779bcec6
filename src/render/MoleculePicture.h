#pragma once

#include "Drawing.h"
#include "Surface.h"

#include <QPointF>

namespace zembrel {

// Charges are printed smaller than the symbols, as a superscript is.
inline constexpr double kChargeSizeRatio = 0.6;
// The arrow between resonance forms reads as one when it is longer than a symbol.
inline constexpr double kArrowSizeRatio = 1.6;
// A bond angle reads as a note on the picture; a shape's name as its caption.
inline constexpr double kAngleSizeRatio = 0.6;
inline constexpr double kShapeNameSizeRatio = 0.7;

// Text measured as a 96-dpi surface lays it out in `font`: symbols and counts
// in the font itself, charges, subscripts and the other notes in their sizes.
MeasureText measureIn(const SurfaceFont &font);

// Draws `drawing` on `surface`, moved by `offset`, its symbols in `font`.
void paintDrawing(Surface &surface, const Drawing &drawing, const SurfaceFont &font, QPointF offset = {});

} // namespace zembrel
