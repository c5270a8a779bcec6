#include "Domains.h"

#include "LewisText.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

struct Named
{
    const char *text;
    const char *comment;
};

struct ShapeName
{
    int bonded;
    int lonePairs;
    Named name;
};

// The molecular shapes of VSEPR, as textbooks name them.
constexpr std::array<ShapeName, 16> kShapes{{
    {2, 0, QT_TRANSLATE_NOOP3("LewisText", "linear", "a molecule's shape")},
    {3, 0, QT_TRANSLATE_NOOP3("LewisText", "trigonal planar", "a molecule's shape")},
    {2, 1, QT_TRANSLATE_NOOP3("LewisText", "bent", "a molecule's shape")},
    {4, 0, QT_TRANSLATE_NOOP3("LewisText", "tetrahedral", "a molecule's shape")},
    {3, 1, QT_TRANSLATE_NOOP3("LewisText", "trigonal pyramidal", "a molecule's shape")},
    {2, 2, QT_TRANSLATE_NOOP3("LewisText", "bent", "a molecule's shape")},
    {5, 0, QT_TRANSLATE_NOOP3("LewisText", "trigonal bipyramidal", "a molecule's shape")},
    {4, 1, QT_TRANSLATE_NOOP3("LewisText", "seesaw", "a molecule's shape")},
    {3, 2, QT_TRANSLATE_NOOP3("LewisText", "T-shaped", "a molecule's shape")},
    {2, 3, QT_TRANSLATE_NOOP3("LewisText", "linear", "a molecule's shape")},
    {6, 0, QT_TRANSLATE_NOOP3("LewisText", "octahedral", "a molecule's shape")},
    {5, 1, QT_TRANSLATE_NOOP3("LewisText", "square pyramidal", "a molecule's shape")},
    {4, 2, QT_TRANSLATE_NOOP3("LewisText", "square planar", "a molecule's shape")},
    {7, 0, QT_TRANSLATE_NOOP3("LewisText", "pentagonal bipyramidal", "a molecule's shape")},
    {6, 1, QT_TRANSLATE_NOOP3("LewisText", "distorted octahedral", "a molecule's shape")},
    {5, 2, QT_TRANSLATE_NOOP3("LewisText", "pentagonal planar", "a molecule's shape")},
}};

// The geometry of 2 to 7 domains.
constexpr std::array<Named, 6> kGeometries{{
    QT_TRANSLATE_NOOP3("LewisText", "linear", "the electron domains' geometry"),
    QT_TRANSLATE_NOOP3("LewisText", "trigonal planar", "the electron domains' geometry"),
    QT_TRANSLATE_NOOP3("LewisText", "tetrahedral", "the electron domains' geometry"),
    QT_TRANSLATE_NOOP3("LewisText", "trigonal bipyramidal", "the electron domains' geometry"),
    QT_TRANSLATE_NOOP3("LewisText", "octahedral", "the electron domains' geometry"),
    QT_TRANSLATE_NOOP3("LewisText", "pentagonal bipyramidal", "the electron domains' geometry"),
}};

} // namespace

QString ElectronDomains::axe() const
{
    QString text = u"AX"_s;
    if (bonded > 1)
        text += QString::number(bonded);
    if (lonePairs > 0)
        text += u'E';
    if (lonePairs > 1)
        text += QString::number(lonePairs);
    return text;
}

QString ElectronDomains::geometry() const
{
    if (count() < 2 || count() > 7)
        return {};
    const Named &name = kGeometries[std::size_t(count() - 2)];
    return LewisText::tr(name.text, name.comment);
}

QString ElectronDomains::shape() const
{
    for (const ShapeName &s : kShapes) {
        if (s.bonded == bonded && s.lonePairs == lonePairs)
            return LewisText::tr(s.name.text, s.name.comment);
    }
    return {};
}

std::optional<ElectronDomains> electronDomains(const Molecule &molecule, const Component &component)
{
    std::vector<std::vector<int>> neighbours(molecule.atoms.size());
    for (const int b : component.bonds) {
        const Bond &bond = molecule.bonds[std::size_t(b)];
        neighbours[std::size_t(bond.begin)].push_back(bond.end);
        neighbours[std::size_t(bond.end)].push_back(bond.begin);
    }
    const auto around = [&](int atom) {
        const Atom &a = molecule.atoms[std::size_t(atom)];
        ElectronDomains d;
        d.centre = atom;
        d.bonded = int(neighbours[std::size_t(atom)].size());
        d.unpaired = a.radicals > 0;
        d.lonePairs = a.lonePairs + (d.unpaired ? 1 : 0);
        return d;
    };
    const int centre = component.centre;
    if (centre >= 0 && std::size_t(centre) < neighbours.size() && neighbours[std::size_t(centre)].size() >= 2)
        return around(centre);
    const auto isHydrogen = [&](int atom) { return molecule.atoms[std::size_t(atom)].element == 1; };
    int found = -1;
    bool tied = false;
    for (const int c : component.atoms) {
        const std::vector<int> &near = neighbours[std::size_t(c)];
        if (isHydrogen(c) || near.size() < 2)
            continue;
        const auto isNear = [&](int atom) { return std::find(near.begin(), near.end(), atom) != near.end(); };
        // Its neighbours carry one hydrogen at most: a CH3 or NH2 beside it
        // is a centre of its own (ethanol, urea).
        bool central = std::all_of(near.begin(), near.end(), [&](int n) {
            return std::count_if(neighbours[std::size_t(n)].begin(), neighbours[std::size_t(n)].end(), isHydrogen)
                <= 1;
        });
        for (const int other : component.atoms) {
            if (!central)
                break;
            if (other == c || isNear(other))
                continue;
            // A hydrogen on a neighbour ("H–O" of an oxyacid) is the neighbour's.
            const std::vector<int> &its = neighbours[std::size_t(other)];
            const bool onNeighbour = isHydrogen(other) && its.size() == 1 && isNear(its.front());
            if (!onNeighbour) {
                central = false;
                break;
            }
        }
        if (!central)
            continue;
        if (found < 0 || near.size() > neighbours[std::size_t(found)].size()) {
            found = c;
            tied = false;
        } else if (near.size() == neighbours[std::size_t(found)].size()) {
            tied = true;
        }
    }
    if (found < 0 || tied)
        return std::nullopt;
    return around(found);
}

} // namespace zembrel
