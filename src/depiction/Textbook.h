#pragma once

#include "Part.h"

#include <QPointF>

#include <optional>
#include <vector>

namespace zembrel::depiction {

// Where each atom of the part stands as school books draw it (the UK
// displayed formula, the Russian структурная формула, a US Lewis
// structure), in bond lengths with y down:
// - an acyclic part on the square grid, its main chain straight across,
//   every other neighbour on a free axis, branches running straight on;
// - a central atom with five or more neighbours round it evenly;
// - one ring system in the toolkit's shape, a ring on its own regular,
//   turned onto the grid, what hangs off it radial and then on the grid.
// Nothing where that cannot be done without a crossing or atoms that
// clash: the caller keeps the toolkit's depiction then.
std::optional<std::vector<QPointF>> textbookLayout(const Part &part);

} // namespace zembrel::depiction
