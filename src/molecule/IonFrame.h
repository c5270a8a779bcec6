#pragma once

#include "Drawing.h"
#include "DrawingMetrics.h"

#include <QRectF>

#include <vector>

namespace zembrel::drawing {

// The atom picture's crop reaches this far past its outermost ink: one unit
// left and above, r + 1 right, 3 below. A molecule's crop keeps the same.
QRectF withMargins(const QRectF &ink, double r);
QRectF withoutMargins(const QRectF &crop, double r);

// A charged component's square brackets and charge, and its ink with them.
struct Frame
{
    std::vector<PlacedLine> brackets;
    PlacedText charge;
    QRectF ink;
};

// Square brackets `clearance` (or a stroke's) away from `ink`, the charge at their upper right.
Frame frameAround(
    const QRectF &ink, int charge, const MeasureText &measure, const Metrics &m, double clearance);

} // namespace zembrel::drawing
