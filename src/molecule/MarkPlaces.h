#pragma once

#include <vector>

namespace zembrel {

// Where an atom's lone pairs and unpaired electrons go, given the directions
// of its bonds (radians, y down as on the picture) and of the atoms not
// bonded to it that stand near enough to seem bonded through a mark there.
// - No bonds: right, top, left, bottom, as the atom picture fills its sides.
// - Bonds on the axes and enough free axes (not pointing at a near atom):
//   the free axes that keep the most mirror lines of the atom's bonds
//   (water's pairs above and below, an =O's either side of its bond), then
//   those farthest from the bonds, then those nearest the top (NH3's pair).
// - Otherwise the widest gaps between the bonds and the near atoms, spread
//   evenly inside each: the share-out with the widest least angle between
//   neighbours, then the one that keeps the most mirror lines of the bonds
//   (XeF4's pairs on opposite diagonals), then the widest between marks,
//   then the highest, then the rightmost.
std::vector<double> markDirections(
    const std::vector<double> &bonds, const std::vector<double> &near, int groups);

// The directions to try for an atom's formal charge, in order: the corners
// upper right (as a superscript stands), upper left, lower right, lower left
// that no bond or mark comes within 30 degrees of; then the middle of the
// widest gap between them.
std::vector<double> chargeDirections(const std::vector<double> &bonds, const std::vector<double> &marks);

} // namespace zembrel
