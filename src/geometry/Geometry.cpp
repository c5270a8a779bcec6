#include "Geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zembrel {

namespace {

double cross(QPointF u, QPointF v)
{
    return u.x() * v.y() - u.y() * v.x();
}

double pointToRect(QPointF p, const QRectF &r)
{
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

bool segmentsCross(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const double eps = 1e-9 * (QPointF::dotProduct(b - a, b - a) + QPointF::dotProduct(d - c, d - c));
    const double d1 = cross(b - a, c - a), d2 = cross(b - a, d - a);
    const double d3 = cross(d - c, a - c), d4 = cross(d - c, b - c);
    return ((d1 > eps && d2 < -eps) || (d1 < -eps && d2 > eps))
        && ((d3 > eps && d4 < -eps) || (d3 < -eps && d4 > eps));
}

QPointF rotated(QPointF d, double radians)
{
    const double c = std::cos(radians), s = std::sin(radians);
    return {d.x() * c - d.y() * s, d.x() * s + d.y() * c};
}

double distance(QPointF p, QPointF q)
{
    // Not std::hypot: it guards against overflow that pixel sizes never reach, at many times the cost.
    const double dx = p.x() - q.x(), dy = p.y() - q.y();
    return std::sqrt(dx * dx + dy * dy);
}

double pointToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    if (length2 <= 0)
        return distance(p, a);
    const double t = std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
    return distance(p, a + t * ab);
}

double segmentToSegment(QPointF a, QPointF b, QPointF c, QPointF d)
{
    if (segmentsCross(a, b, c, d))
        return 0;
    return std::min(
        {pointToSegment(a, c, d), pointToSegment(b, c, d), pointToSegment(c, a, b), pointToSegment(d, a, b)});
}

double segmentToRect(QPointF a, QPointF b, const QRectF &r)
{
    if (r.contains(a) || r.contains(b))
        return 0;
    const std::array corners{r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    double best = std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const QPointF c = corners[i], d = corners[(i + 1) % corners.size()];
        best = std::min(best, segmentToSegment(a, b, c, d));
    }
    return std::min({best, pointToRect(a, r), pointToRect(b, r)});
}

QRectF bounds(const Capsule &x)
{
    return QRectF(x.a, x.b).normalized().adjusted(-x.radius, -x.radius, x.radius, x.radius);
}

bool nearer(const Capsule &x, const Capsule &y, double limit)
{
    if (!bounds(x).adjusted(-limit, -limit, limit, limit).intersects(bounds(y)))
        return false;
    return gap(x, y) < limit;
}

bool nearer(const Capsule &x, const QRectF &rect, double limit)
{
    if (!bounds(x).adjusted(-limit, -limit, limit, limit).intersects(rect))
        return false;
    return gap(x, rect) < limit;
}

double gap(const Capsule &x, const Capsule &y)
{
    return segmentToSegment(x.a, x.b, y.a, y.b) - x.radius - y.radius;
}

double gap(const Capsule &x, const QRectF &rect)
{
    return segmentToRect(x.a, x.b, rect) - x.radius;
}

double exitDistance(QPointF from, QPointF u, const QRectF &r)
{
    double t = std::numeric_limits<double>::max();
    if (u.x() > 1e-12)
        t = std::min(t, (r.right() - from.x()) / u.x());
    else if (u.x() < -1e-12)
        t = std::min(t, (r.left() - from.x()) / u.x());
    if (u.y() > 1e-12)
        t = std::min(t, (r.bottom() - from.y()) / u.y());
    else if (u.y() < -1e-12)
        t = std::min(t, (r.top() - from.y()) / u.y());
    return std::max(t, 0.0);
}

} // namespace zembrel
