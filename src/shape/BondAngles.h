#pragma once

#include <optional>

namespace zembrel {

// The measured bond angle, in degrees, of a species whose ligands are all
// one element, between two of them: `count` atoms of `ligand` round
// `centre` (atomic numbers), with the net charge and the centre's lone
// pairs (an unpaired electron counted as one). Nothing for a species the
// table lacks.
std::optional<double> measuredBondAngle(int centre, int ligand, int count, int charge, int lonePairs);

} // namespace zembrel
