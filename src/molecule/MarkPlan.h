#pragma once

#include "Drawing.h"
#include "ElectronOrigins.h"
#include "Molecule.h"

#include <array>
#include <map>
#include <vector>

namespace zembrel::drawing {

inline bool isOpen(MarkShape shape)
{
    return shape == MarkShape::Cross || shape == MarkShape::Ring || shape == MarkShape::Triangle;
}

// The marks in the order the elements take them.
inline constexpr std::array kMarkOrder{
    MarkShape::Dot, MarkShape::Cross, MarkShape::Ring, MarkShape::Square, MarkShape::Triangle};

// The mark of each atom's electrons, and of those from outside the picture.
struct MarkPlan
{
    std::vector<MarkShape> ofAtom;
    MarkShape outside = MarkShape::Dot;
};

// Elements take the marks in order of their first appearance (the input's
// atoms, then the hydrogens added), after those the user chose. A part made
// of one element alone (H2, Cl2) has its atoms take turns with a mark of
// their own, as textbooks draw one N in dots and the other in crosses.
MarkPlan planMarks(
    const Molecule &molecule, const ElectronOrigins &origins, const std::map<int, MarkShape> &chosen);

} // namespace zembrel::drawing
