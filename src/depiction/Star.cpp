#include "Star.h"

#include "Geometry.h"

#include <algorithm>
#include <cmath>

namespace zembrel::depiction {

namespace {

constexpr std::size_t kFewestForStar = 5;

} // namespace

bool placeStar(const Skeleton &skeleton, Sheet &sheet)
{
    for (int c = 0; c < skeleton.size(); ++c) {
        std::vector<int> ligands = skeleton.neighbours(c);
        if (ligands.size() < kFewestForStar || int(ligands.size()) + 1 != skeleton.size())
            continue;
        std::sort(ligands.begin(), ligands.end(),
            [&](int a, int b) { return skeleton.inputOrder(a) < skeleton.inputOrder(b); });
        const int marks = skeleton.marks(c);
        const int places = int(ligands.size()) + marks;
        const double step = 2 * kPi / places;
        // The marks' places are centred on straight up; the ligands follow clockwise.
        const double first = -kPi / 2 + ((marks - 1) / 2.0 + 1) * step;
        sheet.put(c, {0, 0});
        for (std::size_t k = 0; k < ligands.size(); ++k) {
            const double angle = (marks == 0 ? -kPi / 2 : first) + double(k) * step;
            sheet.put(ligands[k], {std::cos(angle), std::sin(angle)});
            sheet.bond(c, ligands[k]);
        }
        return true;
    }
    return false;
}

} // namespace zembrel::depiction
