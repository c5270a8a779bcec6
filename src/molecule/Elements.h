#pragma once

#include <QStringView>

namespace zembrel {

// Outer-shell electrons of a main-group element (H 1, He 2, groups 1-2 and
// 13-18), or -1 for every other element: their valence electrons are not
// the outer shell alone, so no dot formula holds for them.
int outerElectrons(int atomicNumber);

// The atomic number of an element symbol as written ("Cl"), or 0.
int atomicNumber(QStringView symbol);

} // namespace zembrel
