#pragma once

#include <vector>

namespace zembrel {

// Where a domain's bond or lone pair points, as textbooks draw the shape.
enum class Depth {
    Plane, // in the page's plane: a line
    Towards, // towards the reader: a solid wedge
    Away, // away from the reader: a hashed wedge
};

struct Slot
{
    // On the page, anticlockwise from three o'clock, as a protractor reads.
    double degrees = 0;
    Depth depth = Depth::Plane;
};

// How a shape of 2 to 6 electron domains is drawn: the page direction of
// each bonded atom and lone pair, and which bond angle is labelled.
struct Convention
{
    int bonded = 0;
    int lonePairs = 0;
    // Filled in order: bonds of higher order first, so that a double bond
    // keeps to the plane, where its lines read.
    std::vector<Slot> bondSlots;
    std::vector<Slot> pairSlots;
    // The labelled angle: from bond slot `labelFrom` anticlockwise to `labelTo`.
    int labelFrom = 0;
    int labelTo = 1;
    double idealDegrees = 0;
    // Whether lone pairs press the labelled angle below its ideal value,
    // where the ligands are alike; else it is fixed by symmetry.
    bool squeezed = false;
};

// The convention of AXnEm; nothing past the shapes of six domains.
const Convention *conventionOf(int bonded, int lonePairs);

} // namespace zembrel
