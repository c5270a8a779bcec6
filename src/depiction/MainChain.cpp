#include "MainChain.h"

#include <algorithm>
#include <deque>
#include <tuple>

namespace zembrel::depiction {

namespace {

// Heavy atoms from `start` to every heavy atom of a tree, as parents.
std::vector<int> parentsFrom(const Skeleton &skeleton, int start)
{
    std::vector<int> parent(std::size_t(skeleton.size()), -2);
    parent[std::size_t(start)] = -1;
    std::deque<int> queue{start};
    while (!queue.empty()) {
        const int v = queue.front();
        queue.pop_front();
        for (const int w : skeleton.neighbours(v)) {
            if (skeleton.heavy(w) && parent[std::size_t(w)] == -2) {
                parent[std::size_t(w)] = v;
                queue.push_back(w);
            }
        }
    }
    return parent;
}

} // namespace

std::vector<int> mainChain(const Skeleton &skeleton)
{
    std::vector<int> ends;
    for (int v = 0; v < skeleton.size(); ++v) {
        if (skeleton.heavy(v) && skeleton.heavyDegree(v) <= 1)
            ends.push_back(v);
    }
    // Longer first; fewer =X ends; ends alike, so that a symmetric part is
    // drawn with its mirror (HPO4 2− runs O−, P, O−); more carbon (CH3–CH(OH)–CH3
    // runs C, C, C); the earliest first atom; the latest last one.
    using Rank = std::tuple<int, int, int, int, int, int>;
    const auto alike = [&](int a, int b) {
        const auto hydrogens = [&](int v) {
            const auto &list = skeleton.neighbours(v);
            return std::count_if(list.begin(), list.end(), [&](int w) { return !skeleton.heavy(w); });
        };
        return skeleton.part().nodes[std::size_t(a)].element == skeleton.part().nodes[std::size_t(b)].element
            && skeleton.marks(a) == skeleton.marks(b) && skeleton.neighbours(a).size() == skeleton.neighbours(b).size()
            && hydrogens(a) == hydrogens(b);
    };
    std::vector<int> best;
    Rank bestRank{};
    for (const int start : ends) {
        const std::vector<int> parent = parentsFrom(skeleton, start);
        for (const int end : ends) {
            if (end == start && ends.size() > 1)
                continue;
            std::vector<int> path;
            for (int v = end; v >= 0; v = parent[std::size_t(v)])
                path.push_back(v);
            std::reverse(path.begin(), path.end());
            const int doubles = int(skeleton.terminalDouble(path.front()) && path.size() > 1)
                + int(skeleton.terminalDouble(path.back()) && path.size() > 1);
            const auto carbons = std::count_if(path.begin(), path.end(),
                [&](int v) { return skeleton.part().nodes[std::size_t(v)].element == 6; });
            const Rank rank{int(path.size()), -doubles, int(path.size() > 1 && alike(path.front(), path.back())),
                int(carbons), -skeleton.inputOrder(path.front()), skeleton.inputOrder(path.back())};
            if (best.empty() || rank > bestRank) {
                best = std::move(path);
                bestRank = rank;
            }
        }
    }
    return best;
}

} // namespace zembrel::depiction
