#pragma once

#include "Drawing.h"
#include "Geometry.h"

#include <vector>

namespace zembrel::drawing {

// Marks that stand together: a lone pair, a radical, or the shared pairs of one bond.
struct Group
{
    int atom = -1; // the atom around which it stands; -1 for a bond's dots
    int bond = -1;
    double clearance = 0; // its own diameter: how far all else keeps from it
    std::vector<PlacedDot> dots;
    std::vector<PlacedLine> lines;

    std::vector<Capsule> shapes() const
    {
        std::vector<Capsule> result;
        for (const PlacedDot &d : dots)
            result.push_back({d.centre, d.centre, d.radius});
        for (const PlacedLine &l : lines)
            result.push_back({l.from, l.to, l.width / 2});
        return result;
    }
};

} // namespace zembrel::drawing
