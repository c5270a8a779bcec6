#include "MarkPlan.h"

#include "Chemistry.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <numeric>

namespace zembrel::drawing {

MarkPlan planMarks(
    const Molecule &molecule, const ElectronOrigins &origins, const std::map<int, MarkShape> &chosen)
{
    const std::size_t count = molecule.atoms.size();
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int sa = molecule.atoms[std::size_t(a)].source, sb = molecule.atoms[std::size_t(b)].source;
        return (sa == 0 ? std::numeric_limits<int>::max() : sa)
            < (sb == 0 ? std::numeric_limits<int>::max() : sb);
    });
    std::vector<int> elements;
    for (const int i : order) {
        const int element = molecule.atoms[std::size_t(i)].element;
        if (std::find(elements.begin(), elements.end(), element) == elements.end())
            elements.push_back(element);
    }

    // One element alone in a part with bonds.
    std::vector<const Component *> alone;
    std::vector<int> alternating;
    for (const Component &component : molecule.components) {
        if (component.bonds.empty())
            continue;
        const int element = molecule.atoms[std::size_t(component.atoms.front())].element;
        const bool one = std::all_of(component.atoms.begin(), component.atoms.end(),
            [&](int a) { return molecule.atoms[std::size_t(a)].element == element; });
        if (!one)
            continue;
        alone.push_back(&component);
        if (std::find(alternating.begin(), alternating.end(), element) == alternating.end())
            alternating.push_back(element);
    }
    bool outside = false;
    for (const auto *list : {&origins.ofAtom, &origins.ofBond}) {
        for (const std::vector<int> &electrons : *list)
            outside
                = outside || std::find(electrons.begin(), electrons.end(), kFromOutside) != electrons.end();
    }

    std::array<bool, kMarkShapes> used{};
    std::map<int, MarkShape> shapeOf;
    int needed = 0;
    for (const int element : elements) {
        const auto at = chosen.find(element);
        if (at == chosen.end()) {
            ++needed;
            continue;
        }
        shapeOf[element] = at->second;
        used[std::size_t(at->second)] = true;
    }
    needed += int(std::count(used.begin(), used.end(), true)) + int(alternating.size()) + (outside ? 1 : 0);
    if (needed > kMarkShapes) {
        throw ChemistryError{Chemistry::tr("The picture needs %1 different marks to show where its electrons "
                                           "came from; there are %2.")
                                 .arg(needed)
                                 .arg(kMarkShapes)};
    }
    const auto next = [&used] {
        for (const MarkShape shape : kMarkOrder) {
            if (!used[std::size_t(shape)]) {
                used[std::size_t(shape)] = true;
                return shape;
            }
        }
        return MarkShape::Dot; // not reached: the marks were counted
    };
    for (const int element : elements) {
        if (!shapeOf.count(element))
            shapeOf[element] = next();
    }
    MarkPlan plan;
    for (const Atom &atom : molecule.atoms)
        plan.ofAtom.push_back(shapeOf[atom.element]);
    std::map<int, MarkShape> second;
    for (const int element : alternating)
        second[element] = next();
    for (const Component *component : alone) {
        // Bonded atoms take turns, breadth first from the part's first atom.
        std::vector<int> turn(count, -1);
        std::deque<int> queue{component->atoms.front()};
        turn[std::size_t(component->atoms.front())] = 0;
        while (!queue.empty()) {
            const int a = queue.front();
            queue.pop_front();
            for (const int b : component->bonds) {
                const Bond &bond = molecule.bonds[std::size_t(b)];
                const int other = bond.begin == a ? bond.end : bond.end == a ? bond.begin : -1;
                if (other >= 0 && turn[std::size_t(other)] < 0) {
                    turn[std::size_t(other)] = 1 - turn[std::size_t(a)];
                    queue.push_back(other);
                }
            }
        }
        for (const int a : component->atoms) {
            if (turn[std::size_t(a)] == 1)
                plan.ofAtom[std::size_t(a)] = second[molecule.atoms[std::size_t(a)].element];
        }
    }
    if (outside)
        plan.outside = next();
    return plan;
}

} // namespace zembrel::drawing
