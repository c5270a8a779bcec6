#pragma once

#include "Skeleton.h"

#include <vector>

namespace zembrel::depiction {

// The chain a school book draws straight across: the longest path through
// the heavy atoms of an acyclic part. Among paths as long, one that does not
// end in a terminal =O, =S or =N (CH3–C(=O)–OH runs C, C, O with the =O
// off it), then one whose two ends are alike (so a symmetric part keeps its
// mirror), then the one with more carbon (CH3–CH(OH)–CH3 runs C, C, C),
// then the one that starts with the atom the input writes first, then the
// one that ends with the atom it writes last. In order, left to right.
std::vector<int> mainChain(const Skeleton &skeleton);

} // namespace zembrel::depiction
