#include "Skeleton.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace zembrel::depiction {

Skeleton::Skeleton(const Part &part) : m_part(part)
{
    const std::size_t n = part.nodes.size();
    m_neighbours.resize(n);
    m_orders.resize(n);
    m_ring.resize(n);
    for (const Link &link : part.links) {
        m_neighbours[std::size_t(link.a)].push_back(link.b);
        m_orders[std::size_t(link.a)].push_back(link.order);
        m_neighbours[std::size_t(link.b)].push_back(link.a);
        m_orders[std::size_t(link.b)].push_back(link.order);
    }
    for (std::size_t v = 0; v < n; ++v)
        m_ring[v].assign(m_neighbours[v].size(), false);
    const bool allHydrogen = std::all_of(
        part.nodes.begin(), part.nodes.end(), [](const Node &node) { return node.element == 1; });
    for (const Node &node : part.nodes)
        m_heavy.push_back(allHydrogen || node.element != 1);

    // A bond lies in a ring when it is not a bridge: going round it, the
    // depth-first search reaches back above it.
    std::vector<int> entered(n, -1), low(n, 0);
    int clock = 0;
    const auto mark = [this](int a, int b, bool ring) {
        for (const auto &[x, y] : {std::pair{a, b}, std::pair{b, a}}) {
            const auto &list = m_neighbours[std::size_t(x)];
            for (std::size_t k = 0; k < list.size(); ++k) {
                if (list[k] == y)
                    m_ring[std::size_t(x)][k] = ring;
            }
        }
    };
    const std::function<void(int, int)> visit = [&](int v, int parent) {
        entered[std::size_t(v)] = low[std::size_t(v)] = clock++;
        bool skippedParent = false;
        for (const int w : m_neighbours[std::size_t(v)]) {
            if (w == parent && !skippedParent) {
                skippedParent = true;
                continue;
            }
            if (entered[std::size_t(w)] < 0) {
                visit(w, v);
                low[std::size_t(v)] = std::min(low[std::size_t(v)], low[std::size_t(w)]);
                mark(v, w, low[std::size_t(w)] <= entered[std::size_t(v)]);
            } else {
                low[std::size_t(v)] = std::min(low[std::size_t(v)], entered[std::size_t(w)]);
                if (entered[std::size_t(w)] < entered[std::size_t(v)])
                    mark(v, w, true);
            }
        }
    };
    for (std::size_t v = 0; v < n; ++v) {
        if (entered[v] < 0)
            visit(int(v), -1);
    }
    m_inRing.assign(n, false);
    for (std::size_t v = 0; v < n; ++v)
        m_inRing[v] = std::find(m_ring[v].begin(), m_ring[v].end(), true) != m_ring[v].end();
}

int Skeleton::order(int a, int b) const
{
    const auto &list = m_neighbours[std::size_t(a)];
    const auto at = std::find(list.begin(), list.end(), b);
    return at == list.end() ? 0 : m_orders[std::size_t(a)][std::size_t(at - list.begin())];
}

int Skeleton::heavyDegree(int v) const
{
    const auto &list = m_neighbours[std::size_t(v)];
    return int(std::count_if(list.begin(), list.end(), [this](int w) { return heavy(w); }));
}

bool Skeleton::ringBond(int a, int b) const
{
    const auto &list = m_neighbours[std::size_t(a)];
    const auto at = std::find(list.begin(), list.end(), b);
    return at != list.end() && m_ring[std::size_t(a)][std::size_t(at - list.begin())];
}

bool Skeleton::hasRings() const
{
    return std::find(m_inRing.begin(), m_inRing.end(), true) != m_inRing.end();
}

bool Skeleton::terminalDouble(int v) const
{
    const Node &node = m_part.nodes[std::size_t(v)];
    if (!heavy(v) || node.element == 6 || node.element == 1 || m_neighbours[std::size_t(v)].size() != 1)
        return false;
    return m_orders[std::size_t(v)].front() == 2;
}

int Skeleton::reach(int v, int from) const
{
    int longest = 0;
    for (const int w : m_neighbours[std::size_t(v)]) {
        if (w != from && heavy(w) && !ringBond(v, w))
            longest = std::max(longest, reach(w, v));
    }
    return 1 + longest;
}

} // namespace zembrel::depiction
