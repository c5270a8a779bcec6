#pragma once

#include <vector>

namespace zembrel {

inline constexpr double kPi = 3.14159265358979323846;

// Directions around an atom as angles in radians on the picture (y down):
// 0 right, pi/2 down, pi left, -pi/2 up.

// `count` directions in the widest gaps between `taken`: each new one goes
// where the angle it leaves to its neighbours is largest (ties to the wider
// gap), then each gap's directions are spread evenly inside it. With nothing
// taken they are spread evenly from `start` on.
std::vector<double> spreadInGaps(std::vector<double> taken, int count, double start = 0);

// The smallest angle between two directions, 0..pi.
double angleBetween(double a, double b);

} // namespace zembrel
