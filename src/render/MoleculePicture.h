#pragma once

#include "Drawing.h"
#include "Surface.h"

#include <QPointF>

namespace zembrel {

// Charges are printed smaller than the symbols, as a superscript is.
inline constexpr double kChargeSizeRatio = 0.6;
// The arrow between resonance forms reads as one when it is longer than a symbol.
inline constexpr double kArrowSizeRatio = 1.6;

// Text measured as a 96-dpi surface lays it out in `font`: symbols and counts
// in the font itself, charges in its smaller size.
MeasureText measureIn(const SurfaceFont &font);

// Draws `drawing` on `surface`, moved by `offset`, its symbols in `font`.
void paintDrawing(Surface &surface, const Drawing &drawing, const SurfaceFont &font, QPointF offset = {});

} // namespace zembrel
