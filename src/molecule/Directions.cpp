#include "Directions.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace zembrel {

double normalisedAngle(double a)
{
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

Gaps gapsBetween(std::vector<double> taken)
{
    for (double &a : taken)
        a = normalisedAngle(a);
    std::sort(taken.begin(), taken.end());
    const std::size_t n = taken.size();
    std::vector<double> widths(n);
    for (std::size_t i = 0; i < n; ++i)
        widths[i] = (i + 1 < n ? taken[i + 1] : taken[0] + 2 * kPi) - taken[i];
    return {std::move(taken), std::move(widths)};
}

std::vector<double> spreadInGaps(std::vector<double> taken, int count, double start)
{
    std::vector<double> result;
    if (count <= 0)
        return result;
    if (taken.empty()) {
        for (int i = 0; i < count; ++i)
            result.push_back(start + 2 * kPi * i / count);
        return result;
    }
    const Gaps round = gapsBetween(std::move(taken));
    const std::vector<double> &gaps = round.widths;
    const std::size_t n = gaps.size();
    std::vector<int> placed(n, 0);
    for (int c = 0; c < count; ++c) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < n; ++i) {
            const double share = gaps[i] / (placed[i] + 1);
            const double bestShare = gaps[best] / (placed[best] + 1);
            if (share > bestShare + 1e-9
                || (std::abs(share - bestShare) <= 1e-9 && gaps[i] > gaps[best] + 1e-9))
                best = i;
        }
        ++placed[best];
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (int j = 0; j < placed[i]; ++j)
            result.push_back(round.starts[i] + gaps[i] * (j + 1) / (placed[i] + 1));
    }
    return result;
}

double angleBetween(double a, double b)
{
    const double d = normalisedAngle(a - b);
    return d > kPi ? 2 * kPi - d : d;
}

} // namespace zembrel
