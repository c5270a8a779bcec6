#pragma once

#include "Grid.h"
#include "Sheet.h"
#include "Skeleton.h"

#include <vector>

namespace zembrel::depiction {

// Places the part's ring system in the shape the toolkit drew it, a ring on
// its own made a regular polygon, turned so that the most of its bonds and
// of the bonds leaving it are level or upright; returns the tasks that place
// what hangs off it: one neighbour out along the ring angle's outer
// bisector, two 30 degrees either side of it. Nothing, with nothing placed,
// for a part with two or more ring systems or a ring atom with three
// neighbours outside its ring.
std::optional<std::vector<Task>> placeRings(const Skeleton &skeleton, Sheet &sheet);

} // namespace zembrel::depiction
