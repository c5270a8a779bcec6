#pragma once

#include <vector>

namespace RDKit {
class ROMol;
}

namespace zembrel {

// One resonance form of a part: per bond of the molecule its order (1..3,
// or 0 for a bond outside the part or a dative one, which keeps its own),
// and per atom of the part its formal charge.
struct ResonanceForm
{
    std::vector<int> bondOrders;
    std::vector<int> charges;

    bool operator==(const ResonanceForm &) const = default;
};

struct ResonanceForms
{
    std::vector<ResonanceForm> forms; // the form as given first, each picture once
    int leftOut = 0; // found beyond the ones asked for
    bool stopped = false; // the search gave up at its bounds: there may be more
};

inline constexpr int kMostResonanceForms = 8;

// The form `mol` (kekulized) holds for the part made of `atoms`, whose bonds
// are `ownBonds` (per bond of the molecule, its index in `mol` or -1).
ResonanceForm resonanceFormOf(
    const RDKit::ROMol &mol, const std::vector<int> &atoms, const std::vector<int> &ownBonds);

// The resonance forms of the part made of `atoms` (sorted indices of `mol`,
// which is sanitized and not yet kekulized), `given` first: RDKit's
// enumeration with every Kekulé form, at most `most`, within bounds of time
// and count so that no input can hold the reader up for long.
ResonanceForms resonanceForms(
    const RDKit::ROMol &mol, const std::vector<int> &atoms, const ResonanceForm &given, int most);

} // namespace zembrel
