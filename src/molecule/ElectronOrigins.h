#pragma once

#include "Molecule.h"

#include <vector>

namespace zembrel {

// The origin of an electron no atom of the picture gave: an anion's charge
// with no cation drawn, or with cations of several elements to choose from.
inline constexpr int kFromOutside = -1;

// Where each drawn electron came from, as a dot-and-cross picture tells it.
// An atom brings its outer-shell electrons; a positive atom gives one of a
// bond's electrons back to itself where it can (a dative bond: N→O in
// nitrate, O→C in carbon monoxide; to a hydrogen, which is then H+, as in
// NH4+ and H3O+), else the electrons it lost go to the negative atoms of
// its own part; what the anions still lack comes from the atoms that lost
// electrons elsewhere in the input when they are all of one element (Na in
// NaCl), or from outside.
struct ElectronOrigins
{
    // Per atom: the origins of its lone-pair electrons, two per pair in the
    // order of its pairs, then of its unpaired electrons.
    std::vector<std::vector<int>> ofAtom;
    // Per bond: the origins of its electrons, two per shared pair, the first
    // of each pair on the side of `begin`, the second on the side of `end`.
    std::vector<std::vector<int>> ofBond;
};

ElectronOrigins electronOrigins(const Molecule &molecule);

// Every electron as the atom's own that it stands by: a bond's one from each
// of its atoms, a dative bond's both from the donor.
ElectronOrigins ownElectrons(const Molecule &molecule);

} // namespace zembrel
