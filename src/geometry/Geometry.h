#pragma once

#include <QPointF>
#include <QRectF>

namespace zembrel {

inline constexpr double kPi = 3.14159265358979323846;

// A segment with a radius: a dot when both ends coincide, a stroke of width
// 2 * radius otherwise (its flat ends lie inside the rounded ones).
struct Capsule
{
    QPointF a;
    QPointF b;
    double radius = 0;
};

double distance(QPointF p, QPointF q);
// `d` turned by `radians`, clockwise on the picture (y down).
QPointF rotated(QPointF d, double radians);
// Whether the segments cross at a point inside both. Segments on one line
// (a chain through a triple bond) give cross products of rounding noise,
// whose signs mean nothing: those count as not crossing.
bool segmentsCross(QPointF a, QPointF b, QPointF c, QPointF d);
double pointToSegment(QPointF p, QPointF a, QPointF b);
double segmentToSegment(QPointF a, QPointF b, QPointF c, QPointF d);
// 0 when the segment touches the rectangle.
double segmentToRect(QPointF a, QPointF b, const QRectF &rect);

// The gap between the shapes' edges (negative when they overlap).
double gap(const Capsule &x, const Capsule &y);
double gap(const Capsule &x, const QRectF &rect);

// Whether the shapes come closer than `limit` (edge to edge); a quick test
// of their bounds first, as most pairs are far apart.
bool nearer(const Capsule &x, const Capsule &y, double limit);
bool nearer(const Capsule &x, const QRectF &rect, double limit);

// Where a ray from inside `rect` along `direction` (a unit vector) leaves it,
// as a distance from `from`.
double exitDistance(QPointF from, QPointF direction, const QRectF &rect);

} // namespace zembrel
