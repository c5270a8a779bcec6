#include "MarkGroups.h"

#include "ComponentLayout.h"
#include "DrawingGeometry.h"

#include <algorithm>
#include <cmath>

namespace zembrel::drawing {

double Layout::reachOf(int origin) const
{
    if (m_style != MarkStyle::DotCross)
        return m_m.r;
    return m_m.reach(origin < 0 ? m_plan.outside : m_plan.ofAtom[std::size_t(origin)]);
}

// Centre to centre inside a pair: the marks' reaches and half a dot's
// diameter between them, so the two stay visibly two and still read as one pair.
double Layout::span(int first, int second) const
{
    return reachOf(first) + reachOf(second) + m_m.r;
}

PlacedDot Layout::electron(QPointF centre, int origin, DotKind kind) const
{
    PlacedDot dot;
    dot.centre = centre;
    dot.kind = kind;
    dot.atom = origin;
    if (m_style == MarkStyle::DotCross)
        dot.shape = origin < 0 ? m_plan.outside : m_plan.ofAtom[std::size_t(origin)];
    dot.radius = float(m_m.reach(dot.shape));
    dot.stroke = isOpen(dot.shape) ? float(m_m.markStroke) : 0.0F;
    return dot;
}

// Lone pair `k` of the atom (its unpaired electrons after its pairs), `d` out
// from its centre towards `angle`.
Group Layout::markGroup(int atom, int k, QPointF centre, double angle, double d) const
{
    const Atom &a = m_molecule.atoms[std::size_t(atom)];
    const std::vector<int> &origins = m_origins.ofAtom[std::size_t(atom)];
    const bool pair = k < a.lonePairs;
    Group g;
    g.atom = atom;
    const QPointF e = unit(angle), n = normal(e);
    const QPointF at = centre + d * e;
    if (!pair) {
        g.dots.push_back(
            electron(at, origins[std::size_t(2 * a.lonePairs + (k - a.lonePairs))], DotKind::Radical));
    } else if (m_style == MarkStyle::Bars) {
        PlacedLine bar;
        bar.from = at - n * (m_m.barLength / 2);
        bar.to = at + n * (m_m.barLength / 2);
        bar.width = float(m_m.lineWidth);
        bar.kind = LineKind::LonePair;
        bar.atom = atom;
        g.lines.push_back(bar);
        g.clearance = m_m.barClearance;
        return g;
    } else {
        const int first = origins[std::size_t(2 * k)], second = origins[std::size_t(2 * k + 1)];
        const double half = span(first, second) / 2;
        g.dots.push_back(electron(at - n * half, first, DotKind::LonePair));
        g.dots.push_back(electron(at + n * half, second, DotKind::LonePair));
    }
    for (PlacedDot &dot : g.dots) {
        dot.host = atom;
        g.clearance = std::max(g.clearance, 2.0 * dot.radius);
    }
    return g;
}

// The same on the atom's shell: both electrons of a pair on the circle.
Group Layout::shellGroup(int atom, int k, QPointF centre, double angle, double shellRadius) const
{
    const Atom &a = m_molecule.atoms[std::size_t(atom)];
    const std::vector<int> &origins = m_origins.ofAtom[std::size_t(atom)];
    Group g;
    g.atom = atom;
    const auto on = [&](double direction) { return centre + shellRadius * unit(direction); };
    if (k >= a.lonePairs) {
        g.dots.push_back(
            electron(on(angle), origins[std::size_t(2 * a.lonePairs + (k - a.lonePairs))], DotKind::Radical));
    } else {
        const int first = origins[std::size_t(2 * k)], second = origins[std::size_t(2 * k + 1)];
        const double half = std::asin(std::min(1.0, span(first, second) / (2 * shellRadius)));
        g.dots.push_back(electron(on(angle - half), first, DotKind::LonePair));
        g.dots.push_back(electron(on(angle + half), second, DotKind::LonePair));
    }
    for (PlacedDot &dot : g.dots) {
        dot.host = atom;
        g.clearance = std::max(g.clearance, 2.0 * dot.radius);
    }
    return g;
}

// A bond's shared pairs as rows across it around `middle`, each row's two
// electrons along the bond on the side of the atom each came from, as
// textbooks draw H •× Cl and the 2 × 2 block of a double bond.
Group Layout::bondRows(int bond, QPointF middle, QPointF u) const
{
    const Bond &b = m_molecule.bonds[std::size_t(bond)];
    const std::vector<int> &origins = m_origins.ofBond[std::size_t(bond)];
    double reach = 0;
    for (const int origin : origins)
        reach = std::max(reach, reachOf(origin));
    const QPointF v = normal(u);
    Group g;
    g.bond = bond;
    g.clearance = 2 * reach;
    for (int j = 0; j < b.order; ++j) {
        const QPointF row = middle + v * ((j - (b.order - 1) / 2.0) * (2 * reach + m_m.r));
        const int first = origins[std::size_t(2 * j)], second = origins[std::size_t(2 * j + 1)];
        const double half = span(first, second) / 2;
        for (PlacedDot dot : {electron(row - u * half, first, DotKind::Bond),
                 electron(row + u * half, second, DotKind::Bond)}) {
            dot.bond = bond;
            g.dots.push_back(dot);
        }
    }
    return g;
}

} // namespace zembrel::drawing
