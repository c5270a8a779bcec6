#pragma once

#include "Part.h"

#include <vector>

namespace zembrel::depiction {

// The part's graph as the layout asks about it: who is bonded to whom, what
// is heavy, which bonds lie in rings.
class Skeleton
{
public:
    explicit Skeleton(const Part &part);

    const Part &part() const { return m_part; }
    int size() const { return int(m_part.nodes.size()); }
    const std::vector<int> &neighbours(int v) const { return m_neighbours[std::size_t(v)]; }
    // The bond order between two atoms; 0 when they are not bonded.
    int order(int a, int b) const;
    // Not hydrogen; in a part of hydrogens alone (H2, H3+), every atom.
    bool heavy(int v) const { return m_heavy[std::size_t(v)]; }
    int heavyDegree(int v) const;
    int marks(int v) const { return m_part.nodes[std::size_t(v)].marks; }
    int inputOrder(int v) const { return m_part.nodes[std::size_t(v)].order; }
    bool ringBond(int a, int b) const;
    bool inRing(int v) const { return m_inRing[std::size_t(v)]; }
    bool hasRings() const;
    // A heteroatom at the end of the part held by one double bond: =O, =S, =N.
    bool terminalDouble(int v) const;
    // Heavy atoms on the longest path from `v` away from `from`, `v` included.
    int reach(int v, int from) const;

private:
    const Part &m_part;
    std::vector<std::vector<int>> m_neighbours;
    std::vector<std::vector<int>> m_orders; // parallel to m_neighbours
    std::vector<std::vector<bool>> m_ring; // parallel to m_neighbours
    std::vector<bool> m_heavy;
    std::vector<bool> m_inRing;
};

} // namespace zembrel::depiction
