#pragma once

#include "Drawing.h"

#include <QPointF>
#include <QRectF>

#include <cmath>

namespace zembrel::drawing {

// Angles in radians, y down, as Directions.h has them.
inline QPointF unit(double angle)
{
    return {std::cos(angle), std::sin(angle)};
}

inline QPointF normal(QPointF u)
{
    return {-u.y(), u.x()};
}

inline double angleOf(QPointF d)
{
    return std::atan2(d.y(), d.x());
}

// The bounds of a primitive's ink.
inline QRectF inkOf(const PlacedLine &l)
{
    const double h = l.width / 2;
    return QRectF(l.from, l.to).normalized().adjusted(-h, -h, h, h);
}

inline QRectF inkOf(const PlacedDot &d)
{
    return {d.centre.x() - d.radius, d.centre.y() - d.radius, 2 * d.radius, 2 * d.radius};
}

} // namespace zembrel::drawing
