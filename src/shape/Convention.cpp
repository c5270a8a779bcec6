#include "Convention.h"

#include <array>

namespace zembrel {

namespace {

constexpr Depth P = Depth::Plane;
constexpr Depth T = Depth::Towards;
constexpr Depth A = Depth::Away;

// The tetrahedral angle, arccos(−1/3).
constexpr double kTetrahedral = 109.4712;
// Two bonds out of the page, one towards the reader and one away, lie over
// each other in a true projection; the textbook drawing opens them this far
// either side of it, so both can be seen.
constexpr double kSpread = 25;

// The orientations chosen:
// - Linear: across the page.
// - Trigonal planar: one domain straight up, two below at 120°: a lone pair
//   on top leaves SO2 bent, opening downwards.
// - Tetrahedral: two bonds in the plane, the true 109.5° between them (up
//   and lower left), the other two to the lower right, wedge and hash. A
//   pyramid (NH3) has its lone pair on top; a bent molecule (H2O) keeps
//   both bonds in the plane, opening downwards, its lone pairs above.
// - Trigonal bipyramidal: the axial domains up and down, one equatorial one
//   to the left in the plane, two to the right as wedge and hash. Lone
//   pairs take equatorial places: SF4's to the left, ClF3's two to the
//   right (a T in the plane), XeF2's all three.
// - Octahedral: four domains in the plane as a cross, so that the 90° drawn
//   is the 90° meant, the fifth a wedge to the lower left and the sixth a
//   hash to the upper right, as a square drawn in perspective would put
//   them. BrF5's lone pair is at the bottom, under the apex; XeF4's two are
//   the wedge and the hash, trans to each other, leaving the square flat
//   in the plane.
const std::array kConventions{
    Convention{2, 0, {{180, P}, {0, P}}, {}, 1, 0, 180, false},
    Convention{3, 0, {{90, P}, {210, P}, {330, P}}, {}, 1, 2, 120, false},
    Convention{2, 1, {{210, P}, {330, P}}, {{90, P}}, 0, 1, 120, true},
    Convention{4, 0, {{90, P}, {90 + kTetrahedral, P}, {324.7356 + kSpread, T}, {324.7356 - kSpread, A}}, {},
        0, 1, kTetrahedral, false},
    Convention{3, 1, {{90 + kTetrahedral, P}, {324.7356 + kSpread, T}, {324.7356 - kSpread, A}}, {{90, P}}, 0,
        2, kTetrahedral, true},
    Convention{2, 2, {{270 - kTetrahedral / 2, P}, {270 + kTetrahedral / 2, P}},
        {{90 - kSpread, T}, {90 + kSpread, A}}, 0, 1, kTetrahedral, true},
    Convention{5, 0, {{90, P}, {270, P}, {180, P}, {-kSpread, T}, {kSpread, A}}, {}, 0, 2, 90, false},
    Convention{4, 1, {{90, P}, {270, P}, {-kSpread, T}, {kSpread, A}}, {{180, P}}, 2, 3, 120, true},
    Convention{3, 2, {{90, P}, {270, P}, {180, P}}, {{-kSpread, T}, {kSpread, A}}, 0, 2, 90, true},
    Convention{2, 3, {{90, P}, {270, P}}, {{180, P}, {-kSpread, T}, {kSpread, A}}, 1, 0, 180, false},
    Convention{6, 0, {{90, P}, {270, P}, {180, P}, {0, P}, {225, T}, {45, A}}, {}, 0, 2, 90, false},
    Convention{5, 1, {{90, P}, {180, P}, {0, P}, {225, T}, {45, A}}, {{270, P}}, 0, 1, 90, true},
    Convention{4, 2, {{90, P}, {270, P}, {180, P}, {0, P}}, {{225, T}, {45, A}}, 0, 2, 90, false},
};

} // namespace

const Convention *conventionOf(int bonded, int lonePairs)
{
    for (const Convention &c : kConventions) {
        if (c.bonded == bonded && c.lonePairs == lonePairs)
            return &c;
    }
    return nullptr;
}

} // namespace zembrel
