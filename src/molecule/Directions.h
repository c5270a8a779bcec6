#pragma once

#include "Geometry.h"

#include <vector>

namespace zembrel {

// Directions around an atom as angles in radians on the picture (y down):
// 0 right, pi/2 down, pi left, -pi/2 up.

// `count` directions in the widest gaps between `taken`: each new one goes
// where the angle it leaves to its neighbours is largest (ties to the wider
// gap), then each gap's directions are spread evenly inside it. With nothing
// taken they are spread evenly from `start` on.
std::vector<double> spreadInGaps(std::vector<double> taken, int count, double start = 0);

// The smallest angle between two directions, 0..pi.
double angleBetween(double a, double b);

// A direction as an angle from 0 up to 2 pi.
double normalisedAngle(double a);

// The gaps round an atom between the directions `taken` (not empty): each
// gap starts at one of them, in order, and runs to the next.
struct Gaps
{
    std::vector<double> starts; // normalised, ascending
    std::vector<double> widths;
};
Gaps gapsBetween(std::vector<double> taken);

} // namespace zembrel
