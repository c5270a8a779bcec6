#include "ComponentLayout.h"

#include "Geometry.h"
#include "MarkPlaces.h"

#include <algorithm>
#include <cmath>

namespace zembrel::drawing {

namespace {

// An atom not bonded this near (in bond lengths) would seem bonded through a mark between them.
constexpr double kNearAtom = 1.2;

} // namespace

// The directions of an atom's lone pairs and unpaired electrons, given its
// bonds' directions: the atoms of its component not bonded to it that stand
// near, and the directions in `near`, keep marks off their side.
std::vector<double> Layout::markDirections(
    const Component &component, int atom, const std::vector<double> &bonds, std::vector<double> near) const
{
    const Atom &a = m_molecule.atoms[std::size_t(atom)];
    for (const int other : component.atoms) {
        const QPointF d = m_molecule.atoms[std::size_t(other)].position - a.position;
        if (other == atom || distance(d, {}) > kNearAtom)
            continue;
        const bool bonded = std::any_of(component.bonds.begin(), component.bonds.end(), [&](int b) {
            const Bond &bond = m_molecule.bonds[std::size_t(b)];
            return (bond.begin == atom && bond.end == other) || (bond.end == atom && bond.begin == other);
        });
        if (!bonded)
            near.push_back(std::atan2(d.y(), d.x()));
    }
    return zembrel::markDirections(bonds, near, a.lonePairs + a.radicals);
}

} // namespace zembrel::drawing
