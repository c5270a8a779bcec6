#include "Sheet.h"

#include <algorithm>
#include <cmath>

namespace zembrel::depiction {

double distance(QPointF p, QPointF q)
{
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

bool crossing(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const auto side = [](QPointF o, QPointF p, QPointF q) {
        return (p.x() - o.x()) * (q.y() - o.y()) - (p.y() - o.y()) * (q.x() - o.x());
    };
    // Bonds on one line give cross products of rounding noise: only a clear crossing counts.
    constexpr double eps = 1e-9;
    return side(a, b, c) * side(a, b, d) < -eps && side(c, d, a) * side(c, d, b) < -eps;
}

Sheet::Sheet(int atoms) : m_at(std::size_t(atoms)), m_has(std::size_t(atoms), false) { }

bool Sheet::fits(QPointF p, int from) const
{
    const QPointF origin = from >= 0 ? at(from) : p;
    for (const int w : m_placed) {
        if (w == from)
            continue;
        if (distance(p, at(w)) < kApart - 1e-9)
            return false;
        if (from >= 0 && pointToSegment(at(w), origin, p) < kOffBond - 1e-9)
            return false;
    }
    for (const auto &[x, y] : m_bonds) {
        if (x == from || y == from)
            continue;
        if (pointToSegment(p, at(x), at(y)) < kOffBond - 1e-9)
            return false;
        if (from >= 0 && crossing(origin, p, at(x), at(y)))
            return false;
    }
    return true;
}

void Sheet::put(int v, QPointF p)
{
    m_at[std::size_t(v)] = p;
    m_has[std::size_t(v)] = true;
    m_placed.push_back(v);
}

void Sheet::bond(int a, int b)
{
    m_bonds.emplace_back(a, b);
}

void Sheet::restore(State state)
{
    while (m_placed.size() > state.atoms) {
        m_has[std::size_t(m_placed.back())] = false;
        m_placed.pop_back();
    }
    m_bonds.resize(state.bonds);
}

} // namespace zembrel::depiction
