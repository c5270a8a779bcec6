#include "ComponentLayout.h"

#include "Directions.h"

#include <array>
#include <utility>

namespace zembrel::drawing {

// Directions for an atom's lone pairs and unpaired electrons: right, top,
// left, bottom for an atom without bonds, as the atom picture fills its
// sides; otherwise in the widest gaps between `taken`.
std::vector<double> Layout::markDirections(int atom, std::vector<double> taken) const
{
    const Atom &a = m_molecule.atoms[std::size_t(atom)];
    const int groups = a.lonePairs + a.radicals;
    if (taken.empty() && groups <= 4) {
        static constexpr std::array kSides{0.0, -kPi / 2, kPi, kPi / 2};
        return {kSides.begin(), kSides.begin() + groups};
    }
    return spreadInGaps(std::move(taken), groups, 0);
}

} // namespace zembrel::drawing
