#include "Rings.h"

#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <tuple>

namespace zembrel::depiction {

namespace {

// Two neighbours out of a ring atom stand this far either side of the
// bisector: on a hexagon, the hydrogens of neighbouring CH2 groups are then
// a bond length apart.
constexpr double kPairSpread = kPi / 6;

QPointF unit(QPointF d)
{
    const double length = std::hypot(d.x(), d.y());
    return length > 1e-12 ? d / length : QPointF();
}

bool onAxis(QPointF d)
{
    constexpr double kTolerance = 1e-3;
    return std::abs(d.x()) < kTolerance || std::abs(d.y()) < kTolerance;
}

// A ring on its own, walked round from its first atom.
std::vector<int> cycleOrder(const Skeleton &skeleton, const std::vector<int> &ring)
{
    std::vector<int> order{ring.front()};
    int previous = -1;
    while (true) {
        const int v = order.back();
        int next = -1;
        for (const int w : skeleton.neighbours(v)) {
            if (w != previous && skeleton.ringBond(v, w)) {
                next = w;
                break;
            }
        }
        if (next < 0 || next == order.front())
            break;
        previous = v;
        order.push_back(next);
    }
    return order;
}

} // namespace

std::optional<std::vector<Task>> placeRings(const Skeleton &skeleton, Sheet &sheet)
{
    const auto toolkit = [&](int v) { return skeleton.part().nodes[std::size_t(v)].toolkit; };
    // The ring system: ring atoms joined by ring bonds.
    std::vector<int> ring;
    for (int v = 0; v < skeleton.size(); ++v) {
        if (skeleton.inRing(v)) {
            ring.push_back(v);
            break;
        }
    }
    if (ring.empty())
        return std::nullopt;
    std::vector<bool> seen(std::size_t(skeleton.size()), false);
    seen[std::size_t(ring.front())] = true;
    for (std::deque<int> queue{ring.front()}; !queue.empty(); queue.pop_front()) {
        for (const int w : skeleton.neighbours(queue.front())) {
            if (!seen[std::size_t(w)] && skeleton.ringBond(queue.front(), w)) {
                seen[std::size_t(w)] = true;
                ring.push_back(w);
                queue.push_back(w);
            }
        }
    }
    for (int v = 0; v < skeleton.size(); ++v) {
        if (skeleton.inRing(v) && !seen[std::size_t(v)])
            return std::nullopt;
    }
    std::sort(ring.begin(), ring.end());

    std::vector<QPointF> at(std::size_t(skeleton.size()));
    const bool simple = std::all_of(ring.begin(), ring.end(), [&](int v) {
        const auto &list = skeleton.neighbours(v);
        return std::count_if(list.begin(), list.end(), [&](int w) { return skeleton.ringBond(v, w); }) == 2;
    });
    if (simple) {
        const std::vector<int> order = cycleOrder(skeleton, ring);
        if (order.size() != ring.size())
            return std::nullopt;
        QPointF centre;
        double area = 0;
        for (std::size_t k = 0; k < order.size(); ++k) {
            const QPointF p = toolkit(order[k]), q = toolkit(order[(k + 1) % order.size()]);
            centre += p / double(order.size());
            area += p.x() * q.y() - q.x() * p.y();
        }
        const double n = double(order.size());
        const double radius = 1 / (2 * std::sin(kPi / n));
        const QPointF first = toolkit(order.front()) - centre;
        const double start = std::atan2(first.y(), first.x());
        const double turn = (area >= 0 ? 1 : -1) * 2 * kPi / n;
        for (std::size_t k = 0; k < order.size(); ++k) {
            const double angle = start + turn * double(k);
            at[std::size_t(order[k])] = QPointF(radius * std::cos(angle), radius * std::sin(angle));
        }
    } else {
        for (const int v : ring)
            at[std::size_t(v)] = toolkit(v);
    }

    // Each ring atom's places outside the ring.
    struct Out
    {
        int atom;
        std::vector<QPointF> places;
        int heavy; // input order of its first heavy neighbour outside, or -1
    };
    std::vector<Out> outs;
    for (const int v : ring) {
        QPointF inwards;
        int outside = 0, firstHeavy = -1;
        for (const int w : skeleton.neighbours(v)) {
            if (skeleton.ringBond(v, w)) {
                inwards += unit(at[std::size_t(w)] - at[std::size_t(v)]);
            } else {
                ++outside;
                if (skeleton.heavy(w) && (firstHeavy < 0 || skeleton.inputOrder(w) < firstHeavy))
                    firstHeavy = skeleton.inputOrder(w);
            }
        }
        if (outside == 0)
            continue;
        const QPointF out = unit(-inwards);
        if (outside > 2 || (out.isNull()))
            return std::nullopt;
        outs.push_back({v, outside == 1 ? std::vector{out}
                                        : std::vector{rotated(out, -kPairSpread), rotated(out, kPairSpread)},
            firstHeavy});
    }

    // The turn that puts the most bonds on the grid; then the most upright
    // ring bonds (a hexagon on its vertex); then the first substituent up.
    std::vector<double> candidates{0};
    const auto addTurnsFor = [&](QPointF d, double target) {
        const double angle = std::atan2(d.y(), d.x());
        for (int k = 0; k < 4; ++k)
            candidates.push_back(target - angle + k * kPi / 2);
    };
    for (const int v : ring) {
        for (const int w : skeleton.neighbours(v)) {
            if (w > v && skeleton.ringBond(v, w))
                addTurnsFor(at[std::size_t(w)] - at[std::size_t(v)], 0);
        }
    }
    const Out *firstSubstituent = nullptr;
    for (const Out &out : outs) {
        if (out.places.size() == 1)
            addTurnsFor(out.places.front(), -kPi / 2);
        if (out.heavy >= 0 && (!firstSubstituent || out.heavy < firstSubstituent->heavy))
            firstSubstituent = &out;
    }
    using Score = std::tuple<int, int, double>;
    double bestTurn = 0;
    std::optional<Score> best;
    for (const double turn : candidates) {
        // Its sine and cosine once, not once a bond.
        const double c = std::cos(turn), s = std::sin(turn);
        const auto turnedBy = [c, s](QPointF d) { return QPointF(d.x() * c - d.y() * s, d.x() * s + d.y() * c); };
        int level = 0, upright = 0;
        for (const int v : ring) {
            for (const int w : skeleton.neighbours(v)) {
                if (w > v && skeleton.ringBond(v, w)) {
                    const QPointF d = turnedBy(at[std::size_t(w)] - at[std::size_t(v)]);
                    level += int(onAxis(d));
                    upright += int(std::abs(unit(d).x()) < 1e-3);
                }
            }
        }
        for (const Out &out : outs) {
            for (const QPointF &place : out.places)
                level += int(onAxis(turnedBy(place)));
        }
        const double up = firstSubstituent ? -turnedBy(firstSubstituent->places.front()).y() : 0;
        const Score score{level, upright, std::round(up * 1e6)};
        if (!best || score > *best) {
            best = score;
            bestTurn = turn;
        }
    }

    for (const int v : ring)
        sheet.put(v, rotated(at[std::size_t(v)], bestTurn));
    for (const int v : ring) {
        for (const int w : skeleton.neighbours(v)) {
            if (w > v && skeleton.ringBond(v, w))
                sheet.bond(v, w);
        }
    }
    std::vector<Task> tasks;
    for (const Out &out : outs) {
        Task task;
        task.atom = out.atom;
        task.seat = Seat::Ring;
        for (const QPointF &place : out.places)
            task.places.push_back(rotated(place, bestTurn));
        tasks.push_back(std::move(task));
    }
    return tasks;
}

} // namespace zembrel::depiction
