#include "Sheet.h"

#include "Geometry.h"

#include <algorithm>
#include <cmath>

namespace zembrel::depiction {

Sheet::Sheet(int atoms) : m_at(std::size_t(atoms)), m_has(std::size_t(atoms), false) { }

bool Sheet::fits(QPointF p, int from) const
{
    const QPointF origin = from >= 0 ? at(from) : p;
    // Only what lies near the new bond can touch it: most of the sheet is
    // passed over on its bounds alone.
    const double left = std::min(origin.x(), p.x()) - kApart, right = std::max(origin.x(), p.x()) + kApart;
    const double top = std::min(origin.y(), p.y()) - kApart, bottom = std::max(origin.y(), p.y()) + kApart;
    const auto outside = [&](QPointF q) { return q.x() < left || q.x() > right || q.y() < top || q.y() > bottom; };
    for (const int w : m_placed) {
        if (w == from || outside(at(w)))
            continue;
        if (distance(p, at(w)) < kApart - 1e-9)
            return false;
        if (from >= 0 && pointToSegment(at(w), origin, p) < kOffBond - 1e-9)
            return false;
    }
    for (const auto &[x, y] : m_bonds) {
        if (x == from || y == from)
            continue;
        const QPointF a = at(x), b = at(y);
        if (std::max(a.x(), b.x()) < left || std::min(a.x(), b.x()) > right || std::max(a.y(), b.y()) < top
            || std::min(a.y(), b.y()) > bottom)
            continue;
        if (pointToSegment(p, a, b) < kOffBond - 1e-9)
            return false;
        if (from >= 0 && segmentsCross(origin, p, a, b))
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
