#include "Chemistry.h"
#include "Drawing.h"
#include "Metrics.h"
#include "Molecule.h"
#include "Species.h"

#include <QLineF>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Directions as a page is read: degrees counter-clockwise from "right", "up" 90.
double degreesOf(QPointF v)
{
    const double a = std::atan2(-v.y(), v.x()) * 180 / kPi;
    return a < 0 ? a + 360 : a;
}

double degreesApart(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360 - d);
}

double lengthOf(QPointF v)
{
    return std::hypot(v.x(), v.y());
}

QString text(double x)
{
    return QString::number(x, 'f', 1);
}

// v reflected in a line along the unit vector e.
QPointF reflected(QPointF v, QPointF e)
{
    return 2 * QPointF::dotProduct(v, e) * e - v;
}

struct Link
{
    int atom;
    int bond;
};

// One component as a graph, in the molecule's atom and bond numbers.
struct Graph
{
    const Molecule *m = nullptr;
    std::vector<int> atoms, bonds;
    std::map<int, std::vector<Link>> links;

    const Atom &atom(int i) const { return m->atoms[std::size_t(i)]; }
    const Bond &bond(int b) const { return m->bonds[std::size_t(b)]; }
    QPointF at(int i) const { return atom(i).position; }
    bool heavy(int i) const { return atom(i).element != 1; }
    QString name(int i) const
    {
        return atom(i).symbol + (heavy(i) ? QString::number(atom(i).source) : QString());
    }
    int degree(int a) const { return int(links.at(a).size()); }
    int hydrogens(int a) const
    {
        return int(
            std::count_if(links.at(a).begin(), links.at(a).end(), [&](Link l) { return !heavy(l.atom); }));
    }
    int bondBetween(int a, int b) const
    {
        for (const Link &l : links.at(a)) {
            if (l.atom == b)
                return l.bond;
        }
        return -1;
    }
    int order(int a, int b) const { return bondBetween(a, b) < 0 ? 0 : bond(bondBetween(a, b)).order; }
    bool star() const // a centre of five or more neighbours, spread round it
    {
        return std::any_of(atoms.begin(), atoms.end(), [&](int a) { return degree(a) >= 5; });
    }
};

Graph graphOf(const Molecule &m, const Component &c)
{
    Graph g{&m, c.atoms, c.bonds, {}};
    for (const int a : c.atoms)
        g.links[a];
    for (const int b : c.bonds) {
        g.links[g.bond(b).begin].push_back({g.bond(b).end, b});
        g.links[g.bond(b).end].push_back({g.bond(b).begin, b});
    }
    return g;
}

// The shortest path from `from` to `to` not using bond `avoid` (and, if asked,
// through heavy atoms only); empty when there is none.
std::vector<int> shortestPath(const Graph &g, int from, int to, int avoid = -1, bool heavyOnly = false)
{
    std::map<int, int> parent{{from, from}};
    std::vector<int> queue{from};
    for (std::size_t i = 0; i < queue.size() && !parent.count(to); ++i) {
        for (const Link &l : g.links.at(queue[i])) {
            if (l.bond != avoid && !parent.count(l.atom) && (!heavyOnly || g.heavy(l.atom))) {
                parent[l.atom] = queue[i];
                queue.push_back(l.atom);
            }
        }
    }
    std::vector<int> path{to};
    while (parent.count(to) && path.back() != from)
        path.push_back(parent[path.back()]);
    std::reverse(path.begin(), path.end());
    return parent.count(to) ? path : std::vector<int>{};
}

// Each ring once: the smallest cycle through each ring bond, in order round it.
std::vector<std::vector<int>> ringsOf(const Graph &g)
{
    std::vector<std::vector<int>> rings;
    std::set<std::vector<int>> seen;
    for (const int b : g.bonds) {
        std::vector<int> ring = shortestPath(g, g.bond(b).begin, g.bond(b).end, b), key = ring;
        std::sort(key.begin(), key.end());
        if (!ring.empty() && seen.insert(key).second)
            rings.push_back(ring);
    }
    return rings;
}

// Rings that share an atom make one system.
int ringSystems(const Graph &g)
{
    std::vector<std::set<int>> systems;
    for (const std::vector<int> &ring : ringsOf(g)) {
        std::set<int> merged(ring.begin(), ring.end());
        std::erase_if(systems, [&](const std::set<int> &s) {
            const bool shares = std::any_of(ring.begin(), ring.end(), [&](int a) { return s.count(a); });
            if (shares)
                merged.insert(s.begin(), s.end());
            return shares;
        });
        systems.push_back(merged);
    }
    return int(systems.size());
}

// Every longest path through heavy atoms, each once.
std::vector<std::vector<int>> longestHeavyPaths(const Graph &g)
{
    std::vector<std::vector<int>> paths;
    for (const int u : g.atoms) {
        for (const int v : g.atoms) {
            if (u > v || !g.heavy(u) || !g.heavy(v))
                continue;
            const std::vector<int> path = shortestPath(g, u, v, -1, true);
            if (!paths.empty() && path.size() > paths.front().size())
                paths.clear();
            if (paths.empty() || path.size() == paths.front().size())
                paths.push_back(path);
        }
    }
    return paths;
}

// The main chain as the conventions choose it: longest; then fewer ends that
// are a terminal =X; then ends alike (element, lone pairs, neighbours,
// hydrogens); then more carbon; then the first atom earliest in the input;
// then the last latest.
std::vector<int> mainChain(const Graph &g)
{
    const auto terminalDouble = [&](int a) {
        return g.atom(a).element != 6 && g.degree(a) == 1 && g.bond(g.links.at(a)[0].bond).order == 2;
    };
    std::vector<int> best;
    std::tuple<int, int, int, int, int> bestKey{};
    for (std::vector<int> path : longestHeavyPaths(g)) {
        if (g.atom(path.front()).source > g.atom(path.back()).source)
            std::reverse(path.begin(), path.end());
        const auto carbons = std::count_if(path.begin(), path.end(), [&](int a) { return g.atom(a).element == 6; });
        const Atom &first = g.atom(path.front()), &last = g.atom(path.back());
        const bool alike = path.size() > 1 && first.element == last.element && first.lonePairs == last.lonePairs
            && g.degree(path.front()) == g.degree(path.back())
            && g.hydrogens(path.front()) == g.hydrogens(path.back());
        const std::tuple<int, int, int, int, int> key{
            int(terminalDouble(path.front())) + int(terminalDouble(path.back())), -int(alike), -int(carbons),
            first.source, -last.source};
        if (best.empty() || key < bestKey)
            std::tie(best, bestKey) = std::tie(path, key);
    }
    return best;
}

// An involution of the heavy atoms that keeps elements, charges, electrons,
// hydrogens and bond orders, moves one at least, keeps `chain` to itself and
// could stand as a drawn mirror: an atom it fixes has at most two fixed
// neighbours (a fixed atom's hydrogens swap in pairs; an odd one stays). Empty if none.
std::map<int, int> graphMirror(const Graph &g, const std::vector<int> &chain = {})
{
    std::vector<int> heavy;
    std::copy_if(
        g.atoms.begin(), g.atoms.end(), std::back_inserter(heavy), [&](int a) { return g.heavy(a); });
    const auto alike = [&](int a, int b) {
        const Atom &x = g.atom(a), &y = g.atom(b);
        return std::tie(x.element, x.charge, x.lonePairs, x.radicals)
            == std::tie(y.element, y.charge, y.lonePairs, y.radicals)
            && g.hydrogens(a) == g.hydrogens(b) && g.degree(a) == g.degree(b);
    };
    std::map<int, int> sigma;
    const auto consistent = [&](int x) {
        return std::all_of(g.links.at(x).begin(), g.links.at(x).end(), [&](Link l) {
            return !g.heavy(l.atom) || !sigma.count(l.atom)
                || g.order(sigma[x], sigma[l.atom]) == g.bond(l.bond).order;
        });
    };
    const auto drawable = [&] {
        bool moved = false;
        for (const int a : heavy) {
            int fixed = g.hydrogens(a) % 2;
            for (const Link &l : g.links.at(a))
                fixed += g.heavy(l.atom) && sigma[l.atom] == l.atom;
            if ((sigma[a] == a && fixed > 2)
                || (std::count(chain.begin(), chain.end(), a)
                    && !std::count(chain.begin(), chain.end(), sigma[a])))
                return false;
            moved |= sigma[a] != a;
        }
        return moved;
    };
    std::function<bool(std::size_t)> assign = [&](std::size_t k) {
        while (k < heavy.size() && sigma.count(heavy[k]))
            ++k;
        if (k == heavy.size())
            return drawable();
        for (const int w : heavy) {
            const int v = heavy[k];
            if (!alike(v, w) || sigma.count(w))
                continue;
            sigma[v] = w;
            sigma[w] = v;
            if (consistent(v) && consistent(w) && assign(k + 1))
                return true;
            sigma.erase(v);
            sigma.erase(w);
        }
        return false;
    };
    return assign(0) ? sigma : std::map<int, int>{};
}

std::map<int, QPointF> symbolCentres(const Drawing &d)
{
    std::map<int, QPointF> centres;
    for (const PlacedText &t : d.texts) {
        if (t.role == TextRole::Symbol)
            centres[t.atom] = t.box().center();
    }
    return centres;
}

// A lone pair or an unpaired electron: where it stands from its atom's symbol.
struct Group
{
    QPointF direction;
    int electrons = 0;
};

std::map<int, std::vector<Group>> groupsOf(const Drawing &d)
{
    std::map<std::pair<int, int>, std::vector<QPointF>> marks; // (host, mark) → dots
    for (const PlacedDot &dot : d.dots) {
        if (dot.kind != DotKind::Bond)
            marks[{dot.host, dot.mark}].push_back(dot.centre);
    }
    const auto centres = symbolCentres(d);
    std::map<int, std::vector<Group>> groups;
    for (const auto &[key, dots] : marks) {
        const QPointF middle = dots.size() == 1 ? dots[0] : (dots[0] + dots[1]) / 2;
        groups[key.first].push_back({middle - centres.at(key.first), int(dots.size())});
    }
    return groups;
}

// The signed distances of a bond's lines and shared dots from the line
// between its atoms' symbols, looking from `from`.
std::vector<double> bondOffsets(const Drawing &d, int bond, int from, int to)
{
    const auto centres = symbolCentres(d);
    const QPointF start = centres.at(from), u = centres.at(to) - start;
    const QPointF normal = QPointF(-u.y(), u.x()) / lengthOf(u);
    std::vector<double> offsets;
    for (const PlacedLine &l : d.lines) {
        if (l.kind == LineKind::Bond && l.bond == bond)
            offsets.push_back(QPointF::dotProduct((l.from + l.to) / 2 - start, normal));
    }
    for (const PlacedDot &dot : d.dots) {
        if (dot.kind == DotKind::Bond && dot.bond == bond)
            offsets.push_back(QPointF::dotProduct(dot.centre - start, normal));
    }
    std::sort(offsets.begin(), offsets.end());
    return offsets;
}

// Each reflection of the laid-out atoms onto atoms of the same element, and
// of the bonds onto bonds, that moves a heavy atom: atom → image.
std::vector<std::map<int, int>> atomMirrors(const Graph &g)
{
    QPointF centre;
    for (const int a : g.atoms)
        centre += g.at(a) / double(g.atoms.size());
    std::vector<std::map<int, int>> mirrors;
    std::vector<double> tried;
    for (const int i : g.atoms) {
        for (const int j : g.atoms) {
            const QPointF d = g.at(j) - g.at(i), e = QPointF(-d.y(), d.x()) / std::max(lengthOf(d), 1e-9);
            const double axis = std::fmod(degreesOf(e), 180.0);
            if (i >= j || !g.heavy(i) || g.atom(i).element != g.atom(j).element
                || std::any_of(
                    tried.begin(), tried.end(), [&](double t) { return degreesApart(t, axis) < 0.1; }))
                continue;
            tried.push_back(axis);
            std::map<int, int> image;
            for (const int a : g.atoms) {
                for (const int b : g.atoms) {
                    if (g.atom(b).element == g.atom(a).element
                        && lengthOf(g.at(b) - centre - reflected(g.at(a) - centre, e)) < 0.05)
                        image[a] = b;
                }
            }
            const bool whole
                = image.size() == g.atoms.size() && std::all_of(g.bonds.begin(), g.bonds.end(), [&](int b) {
                      return g.order(image[g.bond(b).begin], image[g.bond(b).end]) == g.bond(b).order;
                  });
            if (whole && std::any_of(g.atoms.begin(), g.atoms.end(), [&](int a) {
                    return g.heavy(a) && image[a] != a;
                }))
                mirrors.push_back(image);
        }
    }
    return mirrors;
}

// Why the drawing's electrons do not follow the atoms' mirror `image`; empty if they do.
QString electronMirrorProblem(const Graph &g, const Drawing &d, const std::map<int, int> &image)
{
    const auto centres = symbolCentres(d);
    const int moved = *std::find_if(g.atoms.begin(), g.atoms.end(), [&](int a) { return image.at(a) != a; });
    const QPointF across = centres.at(image.at(moved)) - centres.at(moved);
    const QPointF e = QPointF(-across.y(), across.x()) / lengthOf(across);
    auto groups = groupsOf(d);
    for (const int a : g.atoms) {
        const std::vector<Group> &theirs = groups[image.at(a)];
        for (const Group &x : groups[a]) {
            const double want = degreesOf(reflected(x.direction, e));
            if (groups[a].size() != theirs.size()
                || std::none_of(theirs.begin(), theirs.end(), [&](const Group &y) {
                       return y.electrons == x.electrons && degreesApart(degreesOf(y.direction), want) <= 2;
                   }))
                return u"%1's electrons at %2° have no mirror image"_s.arg(
                    g.name(a), text(degreesOf(x.direction)));
        }
    }
    for (const int b : g.bonds) {
        const int p = g.bond(b).begin, q = g.bond(b).end;
        std::vector<double> mine = bondOffsets(d, b, p, q);
        const std::vector<double> theirs
            = bondOffsets(d, g.bondBetween(image.at(p), image.at(q)), image.at(p), image.at(q));
        for (double &o : mine)
            o = -o;
        std::sort(mine.begin(), mine.end());
        if (mine.size() != theirs.size()
            || !std::equal(mine.begin(), mine.end(), theirs.begin(),
                [](double x, double y) { return std::abs(x - y) < 0.5; }))
            return u"the electrons of bond %1-%2 have no mirror image"_s.arg(g.name(p), g.name(q));
    }
    return {};
}

// A mirror of the atoms that the electrons of every drawing follow too.
QString mirrorProblem(const Graph &g, const std::vector<Drawing> &drawings)
{
    QString problem = u"no mirror maps the atoms onto atoms of their element"_s;
    for (const auto &image : atomMirrors(g)) {
        problem.clear();
        for (const Drawing &d : drawings)
            problem = problem.isEmpty() ? electronMirrorProblem(g, d, image) : problem;
        if (problem.isEmpty())
            return {};
    }
    return problem;
}

// Bonds on the square grid, but a =X end's two others at 120° from its double
// bond and a star's; some longest heavy-atom path straight across.
QStringList gridProblems(const Graph &g)
{
    QStringList problems;
    std::set<int> exempt;
    for (const int a : g.atoms) {
        const auto &l = g.links.at(a);
        for (const Link &x : l) {
            if (l.size() >= 5)
                exempt.insert(x.bond);
        }
        const auto heavy = std::find_if(l.begin(), l.end(), [&](Link x) { return g.heavy(x.atom); });
        if (l.size() != 3 || g.hydrogens(a) != 2 || g.bond(heavy->bond).order != 2)
            continue;
        for (const Link &x : l) {
            const double angle
                = degreesApart(degreesOf(g.at(x.atom) - g.at(a)), degreesOf(g.at(heavy->atom) - g.at(a)));
            if (x.bond != heavy->bond && exempt.insert(x.bond).second && std::abs(angle - 120) > 0.5)
                problems << u"%1-%2 at %3° from the double bond"_s.arg(
                    g.name(a), g.name(x.atom), text(angle));
        }
    }
    for (const int b : g.bonds) {
        const double a = degreesOf(g.at(g.bond(b).end) - g.at(g.bond(b).begin));
        if (!exempt.count(b) && std::abs(std::remainder(a, 90.0)) > 0.5)
            problems << u"%1-%2 at %3°"_s.arg(g.name(g.bond(b).begin), g.name(g.bond(b).end), text(a));
    }
    const auto straight = [&](const std::vector<int> &path) {
        for (std::size_t i = 1; i < path.size(); ++i) {
            const double a = degreesOf(g.at(path[i]) - g.at(path[i - 1]));
            if (degreesApart(a, degreesOf(g.at(path[1]) - g.at(path[0]))) > 0.5
                || std::abs(std::remainder(a, 180.0)) > 0.5)
                return false;
        }
        return true;
    };
    const auto paths = longestHeavyPaths(g);
    if (!g.star() && !paths.empty() && std::none_of(paths.begin(), paths.end(), straight))
        problems << u"no longest chain straight across"_s;
    return problems;
}

bool inside(QPointF p, const std::vector<QPointF> &polygon)
{
    bool odd = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const QPointF a = polygon[i], b = polygon[j];
        if ((a.y() > p.y()) != (b.y() > p.y())
            && p.x() < a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y()))
            odd = !odd;
    }
    return odd;
}

// Rings regular, their neighbours out along the bisectors, nothing inside.
QStringList ringProblems(const Graph &g)
{
    QStringList problems;
    for (const std::vector<int> &ring : ringsOf(g)) {
        const std::size_t n = ring.size();
        std::vector<QPointF> polygon;
        double mean = 0;
        for (std::size_t i = 0; i < n; ++i) {
            polygon.push_back(g.at(ring[i]));
            mean += lengthOf(g.at(ring[(i + 1) % n]) - g.at(ring[i])) / double(n);
        }
        for (std::size_t i = 0; i < n; ++i) {
            const int a = ring[i], prev = ring[(i + n - 1) % n], next = ring[(i + 1) % n];
            const QPointF u = g.at(prev) - g.at(a), v = g.at(next) - g.at(a);
            const double interior = degreesApart(degreesOf(u), degreesOf(v));
            if (std::abs(lengthOf(v) - mean) > 0.02 * mean)
                problems << u"ring side %1-%2 %3, mean %4"_s.arg(
                    g.name(a), g.name(next), text(lengthOf(v)), text(mean));
            if (std::abs(interior - 180.0 * double(n - 2) / double(n)) > 2)
                problems << u"ring angle at %1 %2°"_s.arg(g.name(a), text(interior));
            const double outward = degreesOf(-(u / lengthOf(u) + v / lengthOf(v)));
            std::vector<double> off; // from the outer bisector, each outside neighbour
            for (const Link &l : g.links.at(a)) {
                if (l.atom != prev && l.atom != next)
                    off.push_back(degreesApart(degreesOf(g.at(l.atom) - g.at(a)), outward));
            }
            if ((off.size() == 1 && off[0] > 2) || (off.size() == 2 && std::abs(off[0] - off[1]) > 2))
                problems << u"the neighbours of %1 off its bisector"_s.arg(g.name(a));
        }
        for (const int a : g.atoms) {
            if (std::find(ring.begin(), ring.end(), a) == ring.end() && inside(g.at(a), polygon))
                problems << u"%1 inside the ring at %2"_s.arg(g.name(a), g.name(ring[0]));
        }
    }
    return problems;
}

// Atoms not bonded to each other stand 0.8 bond lengths apart.
QStringList roomProblems(const Graph &g)
{
    QStringList problems;
    for (const int a : g.atoms) {
        for (const int b : g.atoms) {
            const double gap = lengthOf(g.at(b) - g.at(a));
            if (a < b && g.order(a, b) == 0 && gap < 0.8)
                problems << u"%1 and %2 %3 apart"_s.arg(
                    g.atom(a).symbol, g.atom(b).symbol, QString::number(gap, 'f', 2));
        }
    }
    return problems;
}

bool crosses(const PlacedLine &l, const QRectF &box)
{
    const QPointF corners[]
        = {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft(), box.topLeft()};
    bool crossed = box.contains(l.from) || box.contains(l.to);
    for (int i = 0; i < 4; ++i)
        crossed = crossed
            || QLineF(l.from, l.to).intersects(QLineF(corners[i], corners[i + 1]), nullptr)
                == QLineF::BoundedIntersection;
    return crossed;
}

// A formal charge 30° clear of its atom's bonds and crossed by no bond line.
QStringList chargeProblems(const Molecule &m, const Drawing &d)
{
    QStringList problems;
    const auto centres = symbolCentres(d);
    for (const PlacedText &t : d.texts) {
        if (t.role != TextRole::Charge || t.atom < 0)
            continue;
        const QString who
            = m.atoms[std::size_t(t.atom)].symbol + QString::number(m.atoms[std::size_t(t.atom)].source);
        const double at = degreesOf(t.box().center() - centres.at(t.atom));
        for (const Bond &b : m.bonds) {
            const int other = b.begin == t.atom ? b.end : b.end == t.atom ? b.begin : -1;
            const double apart
                = other < 0 ? 180 : degreesApart(at, degreesOf(centres.at(other) - centres.at(t.atom)));
            if (apart < 30 - 0.01)
                problems << u"the charge of %1 %2° from a bond"_s.arg(who, text(apart));
        }
        for (const PlacedLine &l : d.lines) {
            if (l.kind == LineKind::Bond && crosses(l, t.box()))
                problems << u"a bond line crosses the charge of %1"_s.arg(who);
        }
    }
    return problems;
}

double directionNamed(const QString &word)
{
    static const std::map<QString, double> names{
        {u"right"_s, 0}, {u"up"_s, 90}, {u"left"_s, 180}, {u"down"_s, 270}};
    return names.count(word) ? names.at(word) : word.toDouble();
}

// Whether the measured directions are the wanted ones, in any order.
bool sameDirections(std::vector<double> found, const QStringList &wanted)
{
    for (const QString &w : wanted) {
        const auto it = std::find_if(
            found.begin(), found.end(), [&](double x) { return degreesApart(x, directionNamed(w)) <= 2; });
        if (it == found.end())
            return false;
        found.erase(it);
    }
    return found.empty();
}

// Why atom `a` lacks the neighbours and lone pairs of `items` ("H left",
// "C3 up 2", "pairs 45 225 | 135 315"); empty when it has exactly them.
QString atomProblem(const Graph &g, const std::vector<Group> &groups, int a, const QStringList &items)
{
    std::vector<Link> unmatched = g.links.at(a);
    QStringList seen, pairs;
    for (const Link &l : unmatched)
        seen << g.name(l.atom) + u' ' + text(degreesOf(g.at(l.atom) - g.at(a))) + u" ×"_s
                + text(lengthOf(g.at(l.atom) - g.at(a)));
    std::vector<double> found;
    for (const Group &x : groups) {
        if (x.electrons == 2) {
            found.push_back(degreesOf(x.direction));
            pairs << text(found.back());
        }
    }
    for (const QString &item : items) {
        const QStringList words = item.split(u' ', Qt::SkipEmptyParts);
        if (words[0] == u"pairs"_s) {
            const QStringList choices = words.mid(1).join(u' ').split(u'|');
            if (std::none_of(choices.begin(), choices.end(), [&](const QString &c) {
                    return sameDirections(found, c.split(u' ', Qt::SkipEmptyParts));
                }))
                return u"lone pairs at %1"_s.arg(pairs.join(u' '));
            continue;
        }
        const double want = directionNamed(words.value(1)), bond = words.size() > 2 ? words[2].toDouble() : 1;
        const auto it = std::find_if(unmatched.begin(), unmatched.end(), [&](Link l) {
            const QPointF v = g.at(l.atom) - g.at(a);
            return (words[0] == g.atom(l.atom).symbol || words[0] == g.name(l.atom))
                && degreesApart(degreesOf(v), want) <= 2 && std::abs(lengthOf(v) - bond) <= 0.02 * bond;
        });
        if (it == unmatched.end())
            return u"no %1 (neighbours %2)"_s.arg(item.trimmed(), seen.join(u", "_s));
        unmatched.erase(it);
    }
    return unmatched.empty() ? QString() : u"more neighbours (%1)"_s.arg(seen.join(u", "_s));
}

// Each clause "C1: ..." for the input's first atom, "C?: ..." for some carbon.
QStringList expectationProblems(const Molecule &m, const Drawing &d, const QString &expected)
{
    QStringList problems;
    const Graph g = graphOf(m, m.components.front());
    auto groups = groupsOf(d);
    for (const QString &clause : expected.split(u';')) {
        const QString name = clause.section(u':', 0, 0).trimmed();
        QString problem = u"no such atom"_s;
        for (const int a : g.atoms) {
            if (!problem.isEmpty() && (name == g.name(a) || name == g.atom(a).symbol + u'?'))
                problem
                    = atomProblem(g, groups[a], a, clause.section(u':', 1).split(u',', Qt::SkipEmptyParts));
        }
        if (!problem.isEmpty())
            problems << name + u": "_s + problem;
    }
    return problems;
}

struct Expectation
{
    const char *name;
    QString smiles;
    QString atoms;
};

// Worked by hand from the conventions. Per heavy atom ("C2": the input's second atom; "C?": some
// carbon, where the input does not say which): each neighbour's direction (left, right, up, down, or
// degrees counter-clockwise from right) and its distance if not 1; its lone pairs' directions from
// the symbol, "|" between choices the rules leave equal.
//   2-methylpropane: chain C1-C2-C4 (last atom latest); C3 above, 2 long: at 1 its H meets C1's.
//   acetic acid, glycine, methyl ethanoate: the chain ends at the OH (not the =O) or runs C-C-O-C;
//     the =O's left axis points at the H 1 away above the carbon before: its pairs go up and right.
//   urea: chain N-C-N; both of the =O's side axes blocked by NH2 hydrogens, which bound the gaps as
//     bonds do: both pairs in the 180° gap above, at a third and two thirds of it.
//   HCN, CO: one pair keeps its bond's mirror line: straight out.
//   NF3, PCl3: chain from the first atom to the last; the third below, as the centre has a pair.
//   XeF4, SF4: F3 below, F4 above; pairs in the 90° gaps: opposite for two, upper right for one.
//   IF3 (ClF3's shape; the reader refuses three bonds on chlorine): two pairs in the upper gap.
//   I3-: three groups in the two 180° gaps, two above (the more upward share-out), one below.
//   benzene, cyclohexane, phenol: hexagon on a vertex; phenol's OH up, its pairs on the free sides.
//   glucose: chain O1..O12; an OH a bond length from another OH would crowd their pairs, and turning
//     it costs less than drawing it longer: O4 up, O6 down, O8 up, O10 down. Each O's side axes
//     are blocked by the chain's H's 1 away, so four 90° gaps, the pairs in the upper two (the O's
//     mirror kept, the higher); O10 has its right side free: both pairs in the 180° gap there.
const QList<Expectation> &expectationTable()
{
    static const QList<Expectation> table{
        {"water", u"O"_s, u"O1: H left, H right, pairs up down"_s},
        {"butane", u"CCCC"_s,
            u"C1: H left, H up, H down, C2 right; C2: C1 left, C3 right, H up, H down;"
            " C3: C2 left, C4 right, H up, H down; C4: C3 left, H right, H up, H down"_s},
        {"2-methylpropane", u"CC(C)C"_s,
            u"C1: H left, H up, H down, C2 right; C2: C1 left, C4 right, C3 up 2, H down;"
            " C3: C2 down 2, H up, H left, H right; C4: C2 left, H right, H up, H down"_s},
        {"ethanol", u"CCO"_s,
            u"C1: H left, H up, H down, C2 right; C2: C1 left, O3 right, H up, H down;"
            " O3: C2 left, H right, pairs up down"_s},
        {"acetic acid", u"CC(O)=O"_s,
            u"C1: H left, H up, H down, C2 right; C2: C1 left, O3 right, O4 up;"
            " O3: C2 left, H right, pairs up down; O4: C2 down, pairs up right"_s},
        {"methyl ethanoate", u"CC(=O)OC"_s,
            u"C1: H left, H up, H down, C2 right; C2: C1 left, O4 right, O3 up;"
            " O3: C2 down, pairs up right; O4: C2 left, C5 right, pairs up down;"
            " C5: O4 left, H right, H up, H down"_s},
        {"glycine", u"NCC(O)=O"_s,
            u"N1: C2 right, H up, H down, pairs left; C2: N1 left, C3 right, H up, H down;"
            " C3: C2 left, O4 right, O5 up; O4: C3 left, H right, pairs up down;"
            " O5: C3 down, pairs up right"_s},
        {"urea", u"NC(N)=O"_s,
            u"N1: C2 right, H up, H down, pairs left; C2: N1 left, N3 right, O4 up;"
            " N3: C2 left, H up, H down, pairs right; O4: C2 down, pairs 60 120"_s},
        {"hydrogen cyanide", u"C#N"_s, u"C1: H left, N2 right; N2: C1 left, pairs right"_s},
        {"carbon monoxide", u"[C-]#[O+]"_s, u"C1: O2 right, pairs left; O2: C1 left, pairs right"_s},
        {"ammonia", u"N"_s, u"N1: H left, H right, H down, pairs up"_s},
        {"nitrogen trifluoride", u"FN(F)F"_s,
            u"F1: N2 right, pairs left up down; N2: F1 left, F4 right, F3 down, pairs up;"
            " F3: N2 up, pairs left right down; F4: N2 left, pairs right up down"_s},
        {"phosphorus trichloride", u"ClP(Cl)Cl"_s,
            u"Cl1: P2 right, pairs left up down; P2: Cl1 left, Cl4 right, Cl3 down, pairs up;"
            " Cl3: P2 up, pairs left right down; Cl4: P2 left, pairs right up down"_s},
        {"xenon tetrafluoride", u"F[Xe](F)(F)F"_s,
            u"F1: Xe2 right, pairs left up down;"
            " Xe2: F1 left, F5 right, F3 down, F4 up, pairs 45 225 | 135 315;"
            " F3: Xe2 up, pairs left right down; F4: Xe2 down, pairs left right up;"
            " F5: Xe2 left, pairs right up down"_s},
        {"sulfur tetrafluoride", u"FS(F)(F)F"_s,
            u"F1: S2 right, pairs left up down; S2: F1 left, F5 right, F3 down, F4 up, pairs 45;"
            " F3: S2 up, pairs left right down; F4: S2 down, pairs left right up;"
            " F5: S2 left, pairs right up down"_s},
        {"iodine trifluoride", u"FI(F)F"_s,
            u"F1: I2 right, pairs left up down; I2: F1 left, F4 right, F3 down, pairs 60 120;"
            " F3: I2 up, pairs left right down; F4: I2 left, pairs right up down"_s},
        {"triiodide", u"I[I-]I"_s,
            u"I1: I2 right, pairs left up down; I2: I1 left, I3 right, pairs 60 120 down;"
            " I3: I2 left, pairs right up down"_s},
        {"benzene", u"c1ccccc1"_s,
            u"C?: C 330, C 210, H up; C?: C 150, C down, H 30; C?: C up, C 210, H 330;"
            " C?: C 30, C 150, H down; C?: C 330, C up, H 210; C?: C 30, C down, H 150"_s},
        {"cyclohexane", u"C1CCCCC1"_s,
            u"C?: C 330, C 210, H 60, H 120; C?: C 150, C down, H right, H 60;"
            " C?: C up, C 210, H 300, H right; C?: C 30, C 150, H 240, H 300;"
            " C?: C 330, C up, H 180, H 240; C?: C 30, C down, H 120, H left"_s},
        {"phenol", u"Oc1ccccc1"_s,
            u"O1: C2 down, H up, pairs left right; C2: O1 up, C 330, C 210; C?: C2 150, C down, H 30;"
            " C?: C2 30, C down, H 150; C5: C 30, C 150, H down"_s},
        {"glucose", u"OCC(O)C(O)C(O)C(O)C=O"_s,
            u"O1: H left, C2 right, pairs up down; C2: O1 left, C3 right, H up, H down;"
            " C3: C2 left, C5 right, O4 up, H down; O4: C3 down, H up, pairs 45 135;"
            " C5: C3 left, C7 right, O6 down, H up; O6: C5 up, H down, pairs 45 135;"
            " C7: C5 left, C9 right, O8 up, H down; O8: C7 down, H up, pairs 45 135;"
            " C9: C7 left, C11 right, O10 down, H up; O10: C9 up, H down, pairs 30 330;"
            " C11: C9 left, O12 right, H up; O12: C11 left, pairs up down"_s},
    };
    return table;
}

// The molecule and its Lewis and dots pictures; the reader's message if it refuses them.
QString read(const QString &smiles, Molecule &m, std::vector<Drawing> &drawings)
{
    try {
        m = moleculeFromSmiles(smiles);
        for (const MarkStyle style : {MarkStyle::Lewis, MarkStyle::Dots})
            drawings.push_back(layOutMolecule(m, testmetrics::measure, style));
    } catch (const ChemistryError &e) {
        return e.message;
    }
    return {};
}

} // namespace

class TestTextbook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void invariants_data();
    void invariants();
    void expectations_data();
    void expectations();
    void cleanupTestCase();

private:
    QStringList m_fallbacks, m_symmetric, m_chainBreaksMirror;
};

void TestTextbook::invariants_data()
{
    QTest::addColumn<QString>("smiles");
    for (const Species &s : SpeciesTable::builtIn().species())
        QTest::addRow("%s", qPrintable(s.english.first())) << s.smiles;
}

// What every species of the table shows when laid out as a textbook does.
void TestTextbook::invariants()
{
    QFETCH(QString, smiles);
    const QString name = QString::fromUtf8(QTest::currentDataTag());
    Molecule m;
    std::vector<Drawing> drawings;
    const QString error = read(smiles, m, drawings);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList problems = chargeProblems(m, drawings.front());
    for (const Component &c : m.components) {
        const Graph g = graphOf(m, c);
        if (ringSystems(g) >= 2) {
            m_fallbacks << name;
            continue;
        }
        if (!c.textbook)
            problems << u"not laid out as a textbook"_s;
        const bool cyclic = !ringsOf(g).empty();
        problems << roomProblems(g) << (cyclic ? ringProblems(g) : gridProblems(g));
        // A ring or a star has no main chain whose choice could break the mirror.
        if (!graphMirror(g, cyclic || g.star() ? std::vector<int>{} : mainChain(g)).empty()) {
            m_symmetric << name;
            problems << mirrorProblem(g, drawings);
        } else if (!graphMirror(g).empty()) {
            m_chainBreaksMirror << name;
        }
    }
    problems.removeAll(QString());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u"; "_s)));
}

void TestTextbook::expectations_data()
{
    QTest::addColumn<QString>("smiles");
    QTest::addColumn<QString>("atoms");
    for (const Expectation &e : expectationTable())
        QTest::newRow(e.name) << e.smiles << e.atoms;
}

// Where each neighbour and lone pair goes, against the hand-worked table.
void TestTextbook::expectations()
{
    QFETCH(QString, smiles);
    QFETCH(QString, atoms);
    Molecule m;
    std::vector<Drawing> drawings;
    const QString error = read(smiles, m, drawings);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QStringList problems = expectationProblems(m, drawings.front(), atoms);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u"; "_s)));
}

void TestTextbook::cleanupTestCase()
{
    m_fallbacks.removeDuplicates();
    m_symmetric.removeDuplicates();
    qInfo("Fall back to the toolkit (two or more ring systems): %s", qPrintable(m_fallbacks.join(u", "_s)));
    qInfo("Symmetric, so drawn with a mirror: %s", qPrintable(m_symmetric.join(u", "_s)));
    qInfo("Symmetric graph, but the main chain rule draws it without a mirror: %s",
        qPrintable(m_chainBreaksMirror.join(u", "_s)));
}

QTEST_GUILESS_MAIN(TestTextbook)
#include "tst_textbook.moc"
