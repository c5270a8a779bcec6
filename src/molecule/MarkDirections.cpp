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

// Positions are in bond lengths, so what stands near an atom is known before
// any bond length is tried.
void Layout::findNearAtoms()
{
    m_nearAtoms.assign(m_molecule.atoms.size(), {});
    for (const Component &component : m_molecule.components) {
        for (const int atom : component.atoms) {
            for (const int other : component.atoms) {
                const QPointF d = m_at[std::size_t(other)] - m_at[std::size_t(atom)];
                if (other == atom || distance(d, {}) > kNearAtom)
                    continue;
                const bool bonded = std::any_of(component.bonds.begin(), component.bonds.end(), [&](int b) {
                    const Bond &bond = m_molecule.bonds[std::size_t(b)];
                    return (bond.begin == atom && bond.end == other) || (bond.end == atom && bond.begin == other);
                });
                if (!bonded)
                    m_nearAtoms[std::size_t(atom)].push_back(std::atan2(d.y(), d.x()));
            }
        }
    }
}

// The directions of an atom's lone pairs and unpaired electrons, given its
// bonds' directions: the near atoms not bonded to it, and the directions in
// `near`, keep marks off their side.
std::vector<double> Layout::markDirections(int atom, const std::vector<double> &bonds, std::vector<double> near) const
{
    const Atom &a = m_molecule.atoms[std::size_t(atom)];
    const std::vector<double> &atoms = m_nearAtoms[std::size_t(atom)];
    near.insert(near.end(), atoms.begin(), atoms.end());
    return zembrel::markDirections(bonds, near, a.lonePairs + a.radicals);
}

} // namespace zembrel::drawing
