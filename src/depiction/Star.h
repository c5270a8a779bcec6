#pragma once

#include "Sheet.h"
#include "Skeleton.h"

namespace zembrel::depiction {

// A central atom with five or more neighbours, all of them at the ends
// (PCl5, SF6, PF6−, BrF5): the square grid has too few axes, so the
// neighbours and the centre's lone pairs share the round evenly, the pairs
// at the top and the whole mirror-symmetric; with no pair, a neighbour
// straight up. False, with nothing placed, for any other part.
bool placeStar(const Skeleton &skeleton, Sheet &sheet);

} // namespace zembrel::depiction
