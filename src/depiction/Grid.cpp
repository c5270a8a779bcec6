#include "Grid.h"

#include "Geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <queue>
#include <tuple>

namespace zembrel::depiction {

namespace {

// Tries before the layout gives up on a part: far more than any school
// species needs, few enough to stay quick on a hostile one.
constexpr int kBudget = 3000;
constexpr int kLongestBranchBond = 3;

QPointF turned(QPointF d, double degrees)
{
    return rotated(d, degrees * kPi / 180);
}

const QPointF kUp(0, -1), kDown(0, 1), kLeft(-1, 0), kRight(1, 0);

// No seat has room for more neighbours than this.
constexpr std::size_t kMostItems = 4;

// One way to place an atom's neighbours: a place and a bond length for each.
// Fixed arrays: a part's layout weighs thousands of these.
struct Option
{
    std::array<int, kMostItems> placeOf{};
    std::array<int, kMostItems> lengths{};
    int cost = 0;
};

class Grower
{
public:
    Grower(const Skeleton &skeleton, Sheet &sheet) : m_skeleton(skeleton), m_sheet(sheet) { }

    // Places the task's neighbours in the cheapest way whose branches can all
    // be grown, each branch grown so in turn, and keeps it.
    bool grow(const Task &task);
    // The tasks with the fewest ways to go first: those that place
    // hydrogens alone, then those with the fewest heavy atoms beyond them,
    // so a rigid one is not shut out by a branch that could have gone elsewhere.
    void leastFreeFirst(std::vector<Task> &tasks) const;
    // Places all the pending tasks at a total cost of at most `allowed`;
    // `spent` is the cost of what is placed already.
    bool run(std::vector<Task> &pending, int spent, int allowed);
    bool exhausted() const { return m_tries > kBudget; }
    // The least total cost a failed run found beyond what it allowed.
    int nextAllowed() const { return m_next; }
    void resetNext() { m_next = std::numeric_limits<int>::max(); }

private:
    std::vector<int> itemsOf(const Task &task) const;
    std::vector<QPointF> placesOf(const Task &task, int items) const;
    std::vector<int> preferred(const Task &task, const std::vector<int> &items) const;
    std::vector<Option> optionsOf(const Task &task, const std::vector<int> &items) const;
    bool apply(const Task &task, const std::vector<int> &items, const std::vector<QPointF> &places,
        const Option &option, std::vector<Task> &pending);
    int crowding(const Task &task, const std::vector<int> &items) const;

    const Skeleton &m_skeleton;
    Sheet &m_sheet;
    int m_tries = 0;
    int m_next = std::numeric_limits<int>::max();
};

// The neighbours still to place: heavy ones first, those a textbook puts
// first before the others, then the hydrogens.
std::vector<int> Grower::itemsOf(const Task &task) const
{
    std::vector<int> heavy, hydrogens;
    for (const int w : m_skeleton.neighbours(task.atom)) {
        if (m_sheet.has(w))
            continue;
        (m_skeleton.heavy(w) ? heavy : hydrogens).push_back(w);
    }
    // Beside a chain, a terminal =O before any other branch (=O above the
    // carbon of an acid); along a branch, the longest way on goes straight.
    const bool doubleFirst = task.seat == Seat::Inner;
    const auto rank = [&](int v) {
        const bool terminal = m_skeleton.terminalDouble(v);
        return std::tuple(doubleFirst ? !terminal : terminal, -m_skeleton.reach(v, task.atom),
            m_skeleton.inputOrder(v));
    };
    std::stable_sort(heavy.begin(), heavy.end(), [&](int a, int b) { return rank(a) < rank(b); });
    std::stable_sort(hydrogens.begin(), hydrogens.end(),
        [&](int a, int b) { return m_skeleton.inputOrder(a) < m_skeleton.inputOrder(b); });
    heavy.insert(heavy.end(), hydrogens.begin(), hydrogens.end());
    return heavy;
}

// The places around the atom, in the order the seat names them: straight
// on (or left, right), then the two sides; last, for an end held by a
// double bond with two neighbours to place, the two at 120 degrees.
std::vector<QPointF> Grower::placesOf(const Task &task, int items) const
{
    const QPointF d = task.direction;
    std::vector<QPointF> places;
    switch (task.seat) {
    case Seat::Inner: places = {kUp, kDown}; break;
    case Seat::End: places = {d, kUp, kDown}; break;
    case Seat::Alone: places = {kLeft, kRight, kUp, kDown}; break;
    case Seat::Branch: places = {d, turned(d, -90), turned(d, 90)}; break;
    case Seat::Ring: places = task.places; break;
    }
    if ((task.seat == Seat::End || task.seat == Seat::Branch) && items == 2
        && m_skeleton.order(task.atom, task.parent) == 2) {
        places.push_back(turned(d, -60));
        places.push_back(turned(d, 60));
    }
    return places;
}

// The textbook's places for the items, as indices into placesOf.
std::vector<int> Grower::preferred(const Task &task, const std::vector<int> &items) const
{
    const int n = int(items.size());
    // The sides: an atom with lone pairs fills the lower one first, so that
    // they stand on top (NH3's pair, NF3's); one without, the upper one.
    const bool marks = m_skeleton.marks(task.atom) > 0;
    std::vector<int> sides;
    std::vector<int> result(std::size_t(n), -1);
    switch (task.seat) {
    case Seat::Inner:
        sides = marks ? std::vector{1, 0} : std::vector{0, 1};
        for (int i = 0; i < n && i < 2; ++i)
            result[std::size_t(i)] = sides[std::size_t(i)];
        return result;
    case Seat::Alone: {
        // Left and right, then below and above: NH3's pair on top, and the
        // fourth hydrogen of NH4+ (the proton its pair took) above.
        const bool writtenAfter
            = n == 1 && m_skeleton.inputOrder(items.front()) > m_skeleton.inputOrder(task.atom);
        const std::vector<int> order{writtenAfter ? 1 : 0, 1, 3, 2};
        for (int i = 0; i < n && i < 4; ++i)
            result[std::size_t(i)] = order[std::size_t(i)];
        return result;
    }
    case Seat::Ring:
        std::iota(result.begin(), result.end(), 0);
        return result;
    case Seat::End:
    case Seat::Branch: break;
    }
    if (n == 2 && placesOf(task, n).size() == 5)
        return {3, 4};
    sides = marks ? std::vector{2, 1} : std::vector{1, 2};
    std::vector<bool> taken(3, false);
    const auto take = [&](std::size_t item, int place) {
        result[item] = place;
        taken[std::size_t(place)] = true;
    };
    std::size_t next = 0;
    for (; next < items.size() && m_skeleton.heavy(items[next]); ++next) {
        const bool hydrogensToo = std::any_of(
            items.begin(), items.end(), [this](int v) { return !m_skeleton.heavy(v); });
        // Along a branch the first heavy atom goes straight on, but a
        // terminal =O gives way to a hydrogen.
        if (next == 0 && task.seat == Seat::Branch
            && !(m_skeleton.terminalDouble(items[next]) && hydrogensToo)) {
            take(next, 0);
            continue;
        }
        for (const int side : {sides[0], sides[1], 0}) {
            if (!taken[std::size_t(side)]) {
                take(next, side);
                break;
            }
        }
    }
    // Hydrogens: one straight on, two either side of the bond, three all round.
    const std::size_t hydrogens = items.size() - next;
    std::vector<int> order;
    if (!taken[0] && hydrogens == 2 && !taken[1] && !taken[2])
        order = {1, 2};
    else
        order = {0, sides[0], sides[1]};
    for (const int place : order) {
        if (next < items.size() && result[next] < 0 && place < 3 && !taken[std::size_t(place)])
            take(next++, place);
    }
    return result;
}

std::vector<Option> Grower::optionsOf(const Task &task, const std::vector<int> &items) const
{
    const std::vector<QPointF> places = placesOf(task, int(items.size()));
    if (items.size() > kMostItems)
        return {};
    using Arrangement = std::array<int, kMostItems>;
    const std::vector<int> best = preferred(task, items);
    std::vector<Arrangement> arrangements;
    if (std::find(best.begin(), best.end(), -1) == best.end()) {
        Arrangement first{};
        std::copy(best.begin(), best.end(), first.begin());
        arrangements.push_back(first);
    }
    // Every other way onto the seat's own places (not the 120-degree pair).
    const int own = places.size() == 5 ? 3 : int(places.size());
    std::vector<int> pick(static_cast<std::size_t>(own));
    std::iota(pick.begin(), pick.end(), 0);
    if (int(items.size()) <= own) {
        do {
            Arrangement way{};
            std::copy(pick.begin(), pick.begin() + std::ptrdiff_t(items.size()), way.begin());
            if (std::find(arrangements.begin(), arrangements.end(), way) == arrangements.end())
                arrangements.push_back(way);
        } while (std::next_permutation(pick.begin(), pick.end()));
    }

    std::vector<std::size_t> heavy;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (m_skeleton.heavy(items[i]) && task.seat != Seat::Alone)
            heavy.push_back(i);
    }
    std::vector<Option> options;
    options.reserve(arrangements.size() * 27);
    for (std::size_t k = 0; k < arrangements.size(); ++k) {
        int differing = 0;
        for (std::size_t i = 0; i < items.size(); ++i)
            differing += int(arrangements[k][i] != arrangements.front()[i]);
        const int arrangementCost = k == 0 ? 0 : 2 + differing;
        int combinations = 1;
        for (std::size_t h = 0; h < heavy.size(); ++h)
            combinations *= kLongestBranchBond;
        for (int c = 0; c < combinations; ++c) {
            Option option{arrangements[k], {}, arrangementCost};
            option.lengths.fill(1);
            int rest = c;
            for (const std::size_t h : heavy) {
                option.lengths[h] = 1 + rest % kLongestBranchBond;
                rest /= kLongestBranchBond;
                option.cost += 5 * (option.lengths[h] - 1);
            }
            options.push_back(std::move(option));
        }
    }
    std::stable_sort(
        options.begin(), options.end(), [](const Option &a, const Option &b) { return a.cost < b.cost; });
    return options;
}

bool Grower::apply(const Task &task, const std::vector<int> &items, const std::vector<QPointF> &places,
    const Option &option, std::vector<Task> &pending)
{
    const QPointF origin = m_sheet.at(task.atom);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QPointF p = origin + places[std::size_t(option.placeOf[i])] * option.lengths[i];
        if (!m_sheet.fits(p, task.atom))
            return false;
        m_sheet.put(items[i], p);
        m_sheet.bond(task.atom, items[i]);
    }
    // The first heavy neighbour is grown first: depth first, in order.
    for (std::size_t i = items.size(); i-- > 0;) {
        if (!m_skeleton.heavy(items[i]) || m_skeleton.neighbours(items[i]).size() < 2)
            continue;
        pending.push_back({items[i], task.atom, places[std::size_t(option.placeOf[i])], Seat::Branch, {}});
    }
    return true;
}

// What the placed items cost beyond their option: a branch that goes on
// past its first atom, with lone pairs, a bond length from another atom with
// lone pairs, would crowd their pairs into a row (glucose's OH groups side by
// side); turning it to the other side costs less.
int Grower::crowding(const Task &task, const std::vector<int> &items) const
{
    constexpr int kCrowded = 6;
    int cost = 0;
    for (const int item : items) {
        if (!m_skeleton.heavy(item) || m_skeleton.marks(item) == 0 || m_skeleton.neighbours(item).size() < 2)
            continue;
        for (const int w : m_sheet.placed()) {
            if (w == item || w == task.atom || !m_skeleton.heavy(w) || m_skeleton.marks(w) == 0
                || m_skeleton.order(item, w) > 0)
                continue;
            if (distance(m_sheet.at(item), m_sheet.at(w)) < 1 + 1e-6) {
                cost += kCrowded;
                break;
            }
        }
    }
    return cost;
}

void Grower::leastFreeFirst(std::vector<Task> &tasks) const
{
    const auto beyond = [this](const Task &task) {
        int heavy = 0;
        std::vector<int> stack{task.atom};
        std::vector<bool> seen(std::size_t(m_skeleton.size()), false);
        seen[std::size_t(task.atom)] = true;
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            for (const int w : m_skeleton.neighbours(v)) {
                if (seen[std::size_t(w)] || m_sheet.has(w) || !m_skeleton.heavy(w))
                    continue;
                seen[std::size_t(w)] = true;
                ++heavy;
                stack.push_back(w);
            }
        }
        return heavy;
    };
    std::vector<std::pair<int, Task>> keyed;
    for (Task &task : tasks)
        keyed.emplace_back(beyond(task), std::move(task));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    tasks.clear();
    for (auto &[key, task] : keyed)
        tasks.push_back(std::move(task));
}

bool Grower::grow(const Task &task)
{
    const std::vector<int> items = itemsOf(task);
    if (items.empty())
        return true;
    const std::vector<QPointF> places = placesOf(task, int(items.size()));
    const std::vector<Option> options = optionsOf(task, items);
    // Each option's cost with the crowding it brings is known only once it is
    // placed, and is never below its own: options are priced in the order of
    // their own cost, only as far as the cheapest priced so far.
    using Priced = std::pair<int, std::size_t>;
    std::priority_queue<Priced, std::vector<Priced>, std::greater<>> priced;
    std::size_t next = 0;
    while (true) {
        while (next < options.size() && (priced.empty() || options[next].cost < priced.top().first)) {
            const Sheet::State state = m_sheet.state();
            std::vector<Task> branches;
            if (apply(task, items, places, options[next], branches))
                priced.emplace(options[next].cost + crowding(task, items), next);
            m_sheet.restore(state);
            ++next;
        }
        if (priced.empty() || ++m_tries > kBudget)
            return false;
        const std::size_t k = priced.top().second;
        priced.pop();
        const Sheet::State state = m_sheet.state();
        std::vector<Task> branches;
        apply(task, items, places, options[k], branches);
        leastFreeFirst(branches);
        bool grown = true;
        for (auto branch = branches.begin(); grown && branch != branches.end(); ++branch)
            grown = grow(*branch);
        if (grown)
            return true;
        m_sheet.restore(state);
    }
}

bool Grower::run(std::vector<Task> &pending, int spent, int allowed)
{
    if (pending.empty())
        return true;
    const Task task = pending.back();
    pending.pop_back();
    const std::vector<int> items = itemsOf(task);
    if (items.empty()) {
        if (run(pending, spent, allowed))
            return true;
        pending.push_back(task);
        return false;
    }
    const std::vector<QPointF> places = placesOf(task, int(items.size()));
    for (const Option &option : optionsOf(task, items)) {
        if (spent + option.cost > allowed) {
            m_next = std::min(m_next, spent + option.cost);
            break;
        }
        if (++m_tries > kBudget)
            break;
        const Sheet::State state = m_sheet.state();
        const std::size_t before = pending.size();
        if (apply(task, items, places, option, pending)) {
            const int cost = spent + option.cost + crowding(task, items);
            if (cost > allowed)
                m_next = std::min(m_next, cost);
            else if (run(pending, cost, allowed))
                return true;
        }
        pending.resize(before);
        m_sheet.restore(state);
    }
    pending.push_back(task);
    return false;
}

} // namespace

bool growAll(const Skeleton &skeleton, Sheet &sheet, std::vector<Task> tasks)
{
    Grower grower(skeleton, sheet);
    // Each atom's branches as cheaply as they go beside what stands already,
    // one after the other: quick, as branches far apart do not meet.
    const Sheet::State start = sheet.state();
    std::vector<Task> ordered = tasks;
    grower.leastFreeFirst(ordered);
    if (std::all_of(ordered.begin(), ordered.end(), [&](const Task &task) { return grower.grow(task); }))
        return true;
    sheet.restore(start);
    // Else the whole at once, which can give way anywhere for the sake of a
    // later atom. The first task is grown first.
    std::reverse(tasks.begin(), tasks.end());
    // The layout that departs least from the textbook's rules as a whole:
    // neighbours turned (4 or more), then a branch drawn longer (5 a bond
    // length), then lone pairs crowded into a row (6).
    constexpr int kMostCost = 60;
    for (int allowed = 0; allowed <= kMostCost && !grower.exhausted(); allowed = grower.nextAllowed()) {
        grower.resetNext();
        if (grower.run(tasks, 0, allowed))
            return true;
    }
    return false;
}

} // namespace zembrel::depiction
