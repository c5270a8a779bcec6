#include "MarkPlaces.h"

#include "Directions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace zembrel {

namespace {

constexpr double kSame = kPi / 180; // directions this close are one
constexpr double kNear = kPi / 6; // a mark or bond this close takes a place
const std::array kAxes{0.0, -kPi / 2, kPi, kPi / 2}; // right, up, left, down

bool among(double direction, const std::vector<double> &set, double within = kSame)
{
    return std::any_of(
        set.begin(), set.end(), [&](double d) { return angleBetween(d, direction) < within; });
}

// Mirror lines through the atom (as angles mod pi) that map its bonds onto
// themselves.
std::vector<double> mirrorLines(const std::vector<double> &bonds)
{
    std::vector<double> candidates;
    for (const double a : bonds) {
        candidates.push_back(a);
        candidates.push_back(a + kPi / 2);
        for (const double b : bonds) {
            candidates.push_back((a + b) / 2);
            candidates.push_back((a + b) / 2 + kPi / 2);
        }
    }
    std::vector<double> lines;
    for (const double line : candidates) {
        const bool keeps = std::all_of(
            bonds.begin(), bonds.end(), [&](double b) { return among(2 * line - b, bonds); });
        const bool known = std::any_of(lines.begin(), lines.end(),
            [&](double l) { return angleBetween(2 * l, 2 * line) < 2 * kSame; });
        if (keeps && !known)
            lines.push_back(line);
    }
    return lines;
}

int symmetry(const std::vector<double> &lines, const std::vector<double> &marks)
{
    return int(std::count_if(lines.begin(), lines.end(), [&](double line) {
        return std::all_of(marks.begin(), marks.end(), [&](double m) { return among(2 * line - m, marks); });
    }));
}

// Higher and further right: for the last ties.
double height(const std::vector<double> &marks)
{
    double sum = 0;
    for (const double m : marks)
        sum -= std::sin(m);
    return std::round(sum * 1e6);
}

double rightness(const std::vector<double> &marks)
{
    double sum = 0;
    for (const double m : marks)
        sum += std::cos(m);
    return std::round(sum * 1e6);
}

std::vector<double> onFreeAxes(const std::vector<double> &bonds, const std::vector<double> &open, int groups)
{
    const std::vector<double> lines = mirrorLines(bonds);
    using Score = std::tuple<int, double, double, double>;
    std::vector<double> best;
    Score bestScore{};
    const auto count = std::size_t(groups);
    // Every subset of the open axes of the right size.
    for (unsigned subset = 0; subset < (1U << open.size()); ++subset) {
        if (std::size_t(std::popcount(subset)) != count)
            continue;
        std::vector<double> marks;
        for (std::size_t k = 0; k < open.size(); ++k) {
            if (subset & (1U << k))
                marks.push_back(open[k]);
        }
        double away = 0;
        for (const double m : marks) {
            double nearest = kPi;
            for (const double b : bonds)
                nearest = std::min(nearest, angleBetween(m, b));
            away += nearest;
        }
        const Score score{symmetry(lines, marks), std::round(away * 1e6), height(marks), rightness(marks)};
        if (best.empty() || score > bestScore) {
            best = marks;
            bestScore = score;
        }
    }
    return best;
}

// The marks in the gaps between `taken` (the bonds and the near atoms); the
// mirror lines that count are the bonds' alone, as the molecule's are.
std::vector<double> inGaps(std::vector<double> taken, const std::vector<double> &bonds, int groups)
{
    const Gaps round = gapsBetween(std::move(taken));
    const std::vector<double> &widths = round.widths;
    const std::size_t n = widths.size();
    const std::vector<double> lines = mirrorLines(bonds);

    using Score = std::tuple<double, int, double, double, double>;
    std::vector<double> best;
    Score bestScore{};
    std::vector<int> share(n, 0);
    // Every share-out of the marks among the gaps.
    const auto visit = [&](auto &&self, std::size_t gap, int left) -> void {
        if (gap + 1 == n) {
            share[gap] = left;
        } else {
            for (int here = left; here >= 0; --here) {
                share[gap] = here;
                self(self, gap + 1, left - here);
            }
            return;
        }
        std::vector<double> marks;
        // Between a mark and its neighbours round the atom: a gap left empty
        // has no say, narrow as it may be between two near atoms.
        double least = kPi * 2;
        for (std::size_t i = 0; i < n; ++i) {
            const double step = widths[i] / (share[i] + 1);
            if (share[i] > 0)
                least = std::min(least, step);
            for (int j = 1; j <= share[i]; ++j)
                marks.push_back(round.starts[i] + step * j);
        }
        double apart = kPi * 2; // between marks
        for (std::size_t x = 0; x < marks.size(); ++x) {
            for (std::size_t y = x + 1; y < marks.size(); ++y)
                apart = std::min(apart, angleBetween(marks[x], marks[y]));
        }
        const Score score{std::round(least * 1e6), symmetry(lines, marks), std::round(apart * 1e6),
            height(marks), rightness(marks)};
        if (best.empty() || score > bestScore) {
            best = marks;
            bestScore = score;
        }
    };
    visit(visit, 0, groups);
    return best;
}

} // namespace

std::vector<double> markDirections(const std::vector<double> &bonds, const std::vector<double> &near, int groups)
{
    if (groups <= 0)
        return {};
    if (bonds.empty()) {
        if (groups <= int(kAxes.size())) {
            static constexpr std::array kSides{0.0, -kPi / 2, kPi, kPi / 2};
            return {kSides.begin(), kSides.begin() + groups};
        }
        return spreadInGaps({}, groups, 0);
    }
    static const std::vector<double> axes(kAxes.begin(), kAxes.end());
    const bool onAxes = std::all_of(bonds.begin(), bonds.end(), [](double b) { return among(b, axes); });
    std::vector<double> open;
    for (const double axis : kAxes) {
        if (!among(axis, bonds) && !among(axis, near, kNear))
            open.push_back(axis);
    }
    if (onAxes && groups <= int(open.size()))
        return onFreeAxes(bonds, open, groups);
    // A mark in a gap keeps off the near atoms as it keeps off the bonds.
    std::vector<double> taken = bonds;
    for (const double n : near) {
        if (!among(n, taken))
            taken.push_back(n);
    }
    return inGaps(taken, bonds, groups);
}

std::vector<double> chargeDirections(const std::vector<double> &bonds, const std::vector<double> &marks)
{
    static constexpr std::array kCorners{-kPi / 4, -3 * kPi / 4, kPi / 4, 3 * kPi / 4};
    std::vector<double> taken = bonds;
    taken.insert(taken.end(), marks.begin(), marks.end());
    std::vector<double> directions;
    for (const double corner : kCorners) {
        if (!among(corner, taken, kNear))
            directions.push_back(corner);
    }
    directions.push_back(spreadInGaps(taken, 1, -kPi / 4).front());
    return directions;
}

} // namespace zembrel
