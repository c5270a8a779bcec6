#pragma once

#include "Molecule.h"

#include <QString>

#include <optional>

namespace zembrel {

// The electron domains round a component's one central atom, as VSEPR
// counts them: each bonded atom one (whatever the bond's order), each lone
// pair one, and an unpaired electron one.
struct ElectronDomains
{
    int centre = -1; // atom index in the molecule
    int bonded = 0; // X
    int lonePairs = 0; // E, an unpaired electron included
    bool unpaired = false;

    int count() const { return bonded + lonePairs; }
    // "AX4E", "AX2E2", "AX3".
    QString axe() const;
    // The domains' geometry and the shape the atoms make, in the messages'
    // language: "trigonal bipyramidal" and "seesaw"; empty past seven domains.
    QString geometry() const;
    QString shape() const;
};

// The central atom of a component: bonded to every other atom but
// hydrogens, which are on it or on its neighbours, and to two or more.
// Nothing where there is none (ethanol, hydrogen peroxide, a diatomic) or
// two could be (the one with more neighbours is).
// Where the component has a centre of its own, bonded to two or more, the
// domains round it: the centre a formula's structure was worked out round
// (Si in Si(CH3)4); else the one found as above.
std::optional<ElectronDomains> electronDomains(const Molecule &molecule, const Component &component);

} // namespace zembrel
