#include "Procedure.h"

#include "Chemistry.h"
#include "LewisText.h"
#include "MainGroup.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// Bonds whose order is tried, each 1 to 3: 3^9 arrangements at most.
constexpr int kMostVariedBonds = 9;
// Past this, a formal charge on one atom means a mistyped charge (SF4 8-).
constexpr int kLargestCharge = 3;

[[noreturn]] void refuse(const QString &why)
{
    throw ChemistryError{why};
}

double electronegativity(int element)
{
    return mainGroupElement(element).electronegativity;
}

struct Skeleton
{
    std::vector<WorkedAtom> atoms; // the centre first
    std::vector<int> parent; // the atom each is bonded to; -1 for the centre
    CentreRule rule = CentreRule::LeastElectronegative;
    int acid = 0; // hydrogens written first, not yet placed
    int afterAcid = -1; // the outer atom written right after them, if one is
    int acidOnOxygen = 0; // of those, on oxygen atoms
    int acidOnCentre = 0; // of those, on the centre
};

bool isChalcogen(int element)
{
    return element == 8 || element == 16 || element == 34 || element == 52;
}

// The ways to place an acid's hydrogens, each with how much it is to be
// preferred where the formal charges tie (lower first): on the atom written
// after them, then on oxygen, as in every oxyacid.
std::vector<std::pair<Skeleton, std::tuple<int, int, int>>> acidPlacements(const Skeleton &s, int charge)
{
    const auto placed = [](Skeleton k) {
        k.acidOnOxygen = 0;
        for (std::size_t a = 1; a < k.atoms.size(); ++a)
            k.acidOnOxygen += k.parent[a] == 0 && k.atoms[a].element == 8 ? k.atoms[a].hydrogens : 0;
        return k;
    };
    if (s.acid == 0)
        return {{s, {0, 0, 0}}};
    std::vector<int> oxygens;
    for (std::size_t a = 1; a < s.atoms.size(); ++a) {
        if (s.parent[a] == 0 && s.atoms[a].element == 8 && s.atoms[a].hydrogens == 0)
            oxygens.push_back(int(a));
    }
    // Phosphorus keeps one oxygen of its own, P=O, in every oxyacid and its
    // anions: the hydrogens the rest cannot take are on it (H3PO3 is
    // HPO(OH)2, HPO3 2- is HPO3 with one P-H).
    if (s.atoms[0].element == 15 && !oxygens.empty()) {
        Skeleton k = s;
        const int onP = std::clamp(s.acid - charge - (int(oxygens.size()) - 1), 0, s.acid);
        k.atoms[0].hydrogens += onP;
        int left = s.acid - onP;
        for (const int o : oxygens) {
            if (left > 0) {
                k.atoms[std::size_t(o)].hydrogens = 1;
                --left;
            }
        }
        k.atoms[0].hydrogens += left;
        k.acidOnCentre = onP + left;
        k.acid = 0;
        return {{placed(k), {0, 0, 0}}};
    }
    // Each hydrogen on the centre or on an outer atom that can take one.
    std::vector<std::pair<int, int>> room; // atom and how many more it takes
    room.push_back({0, s.acid});
    for (std::size_t a = 1; a < s.atoms.size(); ++a) {
        const int e = s.atoms[a].element;
        const int takes = isChalcogen(e) ? 1 : e == 7 || e == 15 ? 2 : e == 6 ? 3 : 0;
        if (s.parent[a] == 0 && takes > s.atoms[a].hydrogens)
            room.push_back({int(a), takes - s.atoms[a].hydrogens});
    }
    std::vector<std::pair<Skeleton, std::tuple<int, int, int>>> ways;
    Skeleton k = s;
    k.acid = 0;
    const auto place = [&](const auto &self, std::size_t at, int left) -> void {
        if (left == 0) {
            Skeleton done = placed(k);
            done.acidOnCentre = k.atoms[0].hydrogens - s.atoms[0].hydrogens;
            const int after = s.afterAcid >= 0 && done.atoms[std::size_t(s.afterAcid)].hydrogens
                    > s.atoms[std::size_t(s.afterAcid)].hydrogens ? 0 : 1;
            ways.push_back({done, {after, -done.acidOnOxygen, done.acidOnCentre}});
            return;
        }
        if (at >= room.size() || ways.size() > 64)
            return;
        const auto [atom, most] = room[at];
        for (int n = std::min(most, left); n >= 0; --n) {
            k.atoms[std::size_t(atom)].hydrogens += n;
            self(self, at + 1, left - n);
            k.atoms[std::size_t(atom)].hydrogens -= n;
        }
    };
    place(place, 0, s.acid);
    return ways;
}

// In the language of each call: one process answers in more than one.
QString severalSkeletons()
{
    return LewisText::tr(
        "more than one skeleton can be drawn for it, and the formula does not say which; the table's name "
        "or a SMILES says which");
}

void checkElements(const WrittenFormula &f)
{
    if (f.atomCount() == 1)
        return;
    std::vector<WrittenPart> all;
    for (const WrittenPart &part : f.parts) {
        if (part.group < 0)
            all.push_back(part);
        else
            all.insert(all.end(), f.groups[std::size_t(part.group)].begin(), f.groups[std::size_t(part.group)].end());
    }
    for (const WrittenPart &part : all) {
        const MainGroupElement e = mainGroupElement(part.element);
        if (e.electronegativity == 0)
            refuse(LewisText::tr("%1 forms no compounds").arg(e.symbol));
        if ((e.group == 1 && e.number != 1) || (e.group == 2 && e.number != 4)) {
            refuse(LewisText::tr("%1 is a metal that forms ions, not covalent bonds; the table holds the common "
                                 "salts, or a SMILES draws the ions, as [Na+].[Cl-]")
                       .arg(e.symbol));
        }
    }
}

// The atoms of a formula that has no groups, each on its own, as written.
std::vector<int> plainAtoms(const WrittenFormula &f)
{
    std::vector<int> atoms;
    for (const WrittenPart &part : f.parts) {
        for (int i = 0; i < part.count; ++i)
            atoms.push_back(part.element);
    }
    return atoms;
}

Skeleton skeletonOf(const WrittenFormula &f)
{
    checkElements(f);
    Skeleton s;
    const bool grouped = !f.groups.empty();
    const auto add = [&s](int element, int parent) {
        WorkedAtom atom;
        atom.element = element;
        s.atoms.push_back(atom);
        s.parent.push_back(parent);
        return int(s.atoms.size()) - 1;
    };

    if (!grouped && f.atomCount() <= 3) {
        const std::vector<int> atoms = plainAtoms(f);
        if (atoms.size() == 1) {
            add(atoms[0], -1);
            s.rule = CentreRule::Alone;
            return s;
        }
        if (atoms.size() == 2) {
            const bool firstH = atoms[0] == 1, secondH = atoms[1] == 1;
            if (firstH || secondH) {
                add(firstH ? atoms[1] : atoms[0], -1);
                s.atoms[0].hydrogens = 1;
            } else {
                // The less electronegative one first, as it is written.
                const bool swap = electronegativity(atoms[1]) < electronegativity(atoms[0]);
                add(atoms[swap ? 1 : 0], -1);
                add(atoms[swap ? 0 : 1], 0);
            }
            s.rule = CentreRule::Pair;
            return s;
        }
        if (atoms[0] == atoms[1] && atoms[1] == atoms[2] && atoms[0] != 1) {
            add(atoms[0], -1);
            add(atoms[0], 0);
            add(atoms[0], 0);
            s.rule = CentreRule::Middle;
            return s;
        }
    }

    // The centre: of the elements written once at the top level, H and F
    // aside, the least electronegative; the first written of equals. An
    // element written in two places is a chain's condensed formula (CH3CHO).
    std::map<int, int> topCount, places;
    for (const WrittenPart &part : f.parts) {
        if (part.group < 0) {
            topCount[part.element] += part.count;
            if (part.element != 1 && ++places[part.element] > 1)
                refuse(severalSkeletons());
        }
    }
    int centrePart = -1, candidates = 0;
    for (std::size_t i = 0; i < f.parts.size(); ++i) {
        const WrittenPart &part = f.parts[i];
        if (part.group >= 0 || part.element == 1 || part.element == 9 || topCount[part.element] != 1)
            continue;
        ++candidates;
        if (centrePart < 0
            || electronegativity(part.element) < electronegativity(f.parts[std::size_t(centrePart)].element))
            centrePart = int(i);
    }
    if (centrePart < 0)
        refuse(severalSkeletons());
    s.rule = candidates == 1 ? CentreRule::OnlyOnce : CentreRule::LeastElectronegative;
    add(f.parts[std::size_t(centrePart)].element, -1);

    // The outer atoms as written; a group's first atom is bonded to the
    // centre and the rest of the group to it.
    std::vector<int> atomOfPart(f.parts.size(), -1);
    atomOfPart[std::size_t(centrePart)] = 0;
    for (std::size_t i = 0; i < f.parts.size(); ++i) {
        const WrittenPart &part = f.parts[i];
        if (int(i) == centrePart || part.element == 1)
            continue;
        if (part.group < 0) {
            for (int k = 0; k < part.count; ++k)
                atomOfPart[i] = add(part.element, 0);
            if (part.count > 1)
                atomOfPart[i] = -1;
            continue;
        }
        const std::vector<WrittenPart> &group = f.groups[std::size_t(part.group)];
        if (group.front().element == 1 || group.front().count != 1)
            refuse(severalSkeletons());
        for (int k = 0; k < part.count; ++k) {
            // Hydrogens are on the atom written before them: (OCH3) is O–CH3.
            const int head = add(group.front().element, 0);
            int last = head;
            for (std::size_t g = 1; g < group.size(); ++g) {
                if (group[g].element == 1) {
                    if (last < 0)
                        refuse(severalSkeletons());
                    s.atoms[std::size_t(last)].hydrogens += group[g].count;
                    continue;
                }
                for (int c = 0; c < group[g].count; ++c)
                    last = add(group[g].element, head);
                if (group[g].count > 1)
                    last = -1;
            }
        }
    }

    // Hydrogens written after an atom are on it; those written first are an
    // acid's, on its oxygen atoms (then sulfur's), the rest on the centre.
    // Written first and after an atom as well (HCHO, HCONH2), the first are
    // a condensed formula's, on the atom they stand before.
    const bool condensed = !f.parts.empty() && f.parts.front().element == 1
        && std::count_if(f.parts.begin(), f.parts.end(), [](const WrittenPart &p) { return p.element == 1; }) > 1;
    int previous = -1;
    for (std::size_t i = 0; i < f.parts.size(); ++i) {
        const WrittenPart &part = f.parts[i];
        if (part.element != 1) {
            previous = int(i);
            continue;
        }
        if (previous < 0 && condensed) {
            const int next = f.parts.size() > i + 1 ? atomOfPart[i + 1] : -1;
            if (next < 0)
                refuse(severalSkeletons());
            s.atoms[std::size_t(next)].hydrogens += part.count;
            continue;
        }
        if (previous < 0) {
            s.acid += part.count;
            const int next = f.parts.size() > i + 1 ? atomOfPart[i + 1] : -1;
            s.afterAcid = next > 0 ? next : -1;
            continue;
        }
        const int atom = atomOfPart[std::size_t(previous)];
        if (atom < 0)
            refuse(severalSkeletons());
        s.atoms[std::size_t(atom)].hydrogens += part.count;
    }
    return s;
}

// One arrangement of bond orders and of the odd electron, and what it gives.
struct Arrangement
{
    std::vector<int> order; // per atom, of its bond to its parent
    std::vector<int> nonbonding; // electrons per atom
    std::vector<int> charge;
    int holder = -1; // the atom with the unpaired electron
};

class Arranger
{
public:
    Arranger(const Skeleton &s, int valence) : m_s(s), m_valence(valence), m_n(s.atoms.size()) {}

    // The nonbonding electrons and formal charges of the bond orders; false
    // when an atom would be past its shell or, bar B, Be and Al, short of its
    // octet.
    bool evaluate(Arrangement &a, bool octets = true) const
    {
        std::vector<int> bonds(m_n, 0);
        int pairs = 0;
        for (std::size_t i = 0; i < m_n; ++i) {
            bonds[i] += m_s.atoms[i].hydrogens;
            pairs += m_s.atoms[i].hydrogens;
            if (i == 0)
                continue;
            bonds[i] += a.order[i];
            bonds[std::size_t(m_s.parent[i])] += a.order[i];
            pairs += a.order[i];
        }
        a.nonbonding.assign(m_n, 0);
        int outer = 0;
        for (std::size_t i = 1; i < m_n; ++i) {
            const int need = 8 - 2 * bonds[i] - (a.holder == int(i) ? 1 : 0);
            if (need < 0)
                return false;
            a.nonbonding[i] = need;
            outer += need;
        }
        const int left = m_valence - 2 * pairs - outer;
        a.nonbonding[0] = left;
        if (left < 0 || (left % 2 == 1) != (a.holder == 0))
            return false;
        const MainGroupElement centre = mainGroupElement(m_s.atoms[0].element);
        const int held = 2 * bonds[0] + left;
        if (centre.period == 1 && held > 2)
            return false;
        if (centre.period == 2 && held > 8)
            return false;
        // A second-period centre takes lone pairs of its neighbours into
        // bonds until it has its octet (CO is C≡O), bar Be and B; from the
        // third period on the formal charges alone decide (SnCl2 keeps six).
        const bool mayFallShort = centre.group == 2 || centre.group == 13 || centre.period != 2;
        if (octets && !mayFallShort && held < (a.holder == 0 ? 7 : 8))
            return false;
        a.charge.assign(m_n, 0);
        for (std::size_t i = 0; i < m_n; ++i)
            a.charge[i] = mainGroupElement(m_s.atoms[i].element).outer - a.nonbonding[i] - bonds[i];
        return true;
    }

    // Lower is better: the unpaired electron on the centre, the formal
    // charges least, then none large, then negative ones on the more
    // electronegative atoms, then fewer multiple bonds.
    std::tuple<int, int, int, double, int> score(const Arrangement &a) const
    {
        int sum = 0, largest = 0, orders = 0;
        double placed = 0;
        for (std::size_t i = 0; i < m_n; ++i) {
            sum += std::abs(a.charge[i]);
            largest = std::max(largest, std::abs(a.charge[i]));
            placed += a.charge[i] * electronegativity(m_s.atoms[i].element);
            if (i > 0)
                orders += a.order[i];
        }
        // Rounded so that equal charges on equal atoms compare equal.
        return {a.holder > 0 ? 1 : 0, sum, largest, std::round(placed * 1000) / 1000, orders};
    }

private:
    const Skeleton &m_s;
    int m_valence;
    std::size_t m_n;
};

using Score = std::tuple<int, int, int, double, int>;

// Of every order of every bond (a halogen's stays single) and each place of
// an odd electron, the best; a centre is left short of its octet only where
// no neighbour has a lone pair to give it (CH3+).
std::optional<std::pair<Arrangement, Score>> bestArrangement(const Skeleton &s, int valence)
{
    const Arranger arranger(s, valence);
    const std::size_t n = s.atoms.size();
    std::vector<int> most(n, 3);
    for (std::size_t i = 1; i < n; ++i)
        most[i] = mainGroupElement(s.atoms[i].element).group == 17 ? 1 : 3;
    std::optional<std::pair<Arrangement, Score>> best;
    for (const bool octets : {true, false}) {
        Arrangement a;
        a.order.assign(n, 1);
        while (true) {
            for (int holder = valence % 2 == 1 ? 0 : -1; holder < (valence % 2 == 1 ? int(n) : 0); ++holder) {
                a.holder = holder;
                if (!arranger.evaluate(a, octets))
                    continue;
                const Score sc = arranger.score(a);
                if (!best || sc < best->second)
                    best = {a, sc};
            }
            std::size_t i = 1;
            while (i < n && a.order[i] == most[i])
                a.order[i++] = 1;
            if (i >= n)
                break;
            ++a.order[i];
        }
        if (best)
            break;
    }
    return best;
}

} // namespace

int WorkedStructure::heldByCentre() const
{
    int held = 2 * atoms[std::size_t(centre)].lonePairs + atoms[std::size_t(centre)].radicals
        + 2 * atoms[std::size_t(centre)].hydrogens;
    for (const StructureBond &b : bonds) {
        if (b.begin == centre || b.end == centre)
            held += 2 * b.order;
    }
    return held;
}

Structure WorkedStructure::structure() const
{
    Structure s;
    for (const WorkedAtom &a : atoms)
        s.atoms.push_back({a.element, a.charge, a.radicals, a.hydrogens});
    s.bonds = bonds;
    s.centre = centre;
    return s;
}

WorkedStructure workOut(const WrittenFormula &formula)
{
    const Skeleton written = skeletonOf(formula);
    WorkedStructure w;
    w.rule = written.rule;
    w.charge = formula.charge;
    int valence = -formula.charge + written.acid;
    for (const WorkedAtom &a : written.atoms)
        valence += mainGroupElement(a.element).outer + a.hydrogens;
    w.valenceElectrons = valence;
    if (valence < 0) {
        refuse(LewisText::tr("a charge of %1 takes more electrons than its atoms have (%2)")
                   .arg(formula.charge)
                   .arg(valence + formula.charge));
    }
    const std::size_t n = written.atoms.size();
    if (written.rule == CentreRule::Alone) {
        const Skeleton &s = written;
        // One atom's dots as every school draws them: singly round the
        // symbol up to four, then paired.
        WorkedAtom atom = s.atoms[0];
        const int shell = mainGroupElement(atom.element).period == 1 ? 2 : 8;
        if (valence > shell) {
            refuse(LewisText::tr("%1 would hold %2 electrons, more than the %3 its outer shell can")
                       .arg(mainGroupElement(atom.element).symbol)
                       .arg(valence)
                       .arg(shell));
        }
        atom.radicals = shell == 2 ? valence % 2 : valence <= 4 ? valence : 8 - valence;
        atom.lonePairs = (valence - atom.radicals) / 2;
        atom.charge = formula.charge;
        w.atoms.push_back(atom);
        w.leftForCentre = valence;
        return w;
    }
    if (int(n) - 1 > kMostVariedBonds) {
        refuse(LewisText::tr("it has %1 atoms besides hydrogen; at most %2 are worked out")
                   .arg(n)
                   .arg(kMostVariedBonds + 1));
    }
    // Where an acid's hydrogens go, as the formal charges choose.
    std::optional<std::tuple<Skeleton, Arrangement, Score, std::tuple<int, int, int>>> chosen;
    for (const auto &[placed, preference] : acidPlacements(written, formula.charge)) {
        const auto found = bestArrangement(placed, valence);
        if (found
            && (!chosen
                || std::tie(found->second, preference) < std::tie(std::get<2>(*chosen), std::get<3>(*chosen))))
            chosen.emplace(placed, found->first, found->second, preference);
    }
    const Skeleton s = chosen ? std::get<0>(*chosen) : acidPlacements(written, formula.charge).front().first;
    const std::optional<Arrangement> best
        = chosen ? std::optional<Arrangement>(std::get<1>(*chosen)) : std::nullopt;
    w.acidOnOxygen = s.acidOnOxygen;
    w.acidOnPhosphorus = s.atoms[0].element == 15 ? s.acidOnCentre : 0;
    // Step 4: single bonds, the outer atoms' octets, the rest on the centre.
    int pairs = 0, outer = 0;
    for (std::size_t i = 0; i < n; ++i) {
        pairs += s.atoms[i].hydrogens + (i > 0 ? 1 : 0);
        if (i > 0) {
            const auto children = std::count(s.parent.begin(), s.parent.end(), int(i));
            outer += std::max(0, 8 - 2 * (1 + s.atoms[i].hydrogens + int(children)));
        }
    }
    w.leftForCentre = valence - 2 * pairs - outer;

    if (!best) {
        const MainGroupElement centre = mainGroupElement(s.atoms[0].element);
        int bondsToCentre = s.atoms[0].hydrogens;
        for (std::size_t i = 1; i < n; ++i)
            bondsToCentre += s.parent[i] == 0 ? 1 : 0;
        const int shell = centre.period == 1 ? 2 : 8;
        if (centre.period <= 2 && 2 * bondsToCentre > shell) {
            refuse(LewisText::tr("%1 would hold %2 electrons in its bonds alone, more than the %3 its outer shell "
                                 "can")
                       .arg(centre.symbol)
                       .arg(2 * bondsToCentre)
                       .arg(shell));
        }
        refuse(LewisText::tr("no way of placing its %1 valence electrons gives every atom its octet").arg(valence));
    }

    for (std::size_t i = 0; i < n; ++i) {
        if (std::abs(best->charge[i]) > kLargestCharge) {
            refuse(LewisText::tr("%1 would carry a formal charge of %2: no such species is drawn")
                       .arg(mainGroupElement(s.atoms[i].element).symbol,
                           (best->charge[i] < 0 ? u"\u2212"_s : u"+"_s) + QString::number(std::abs(best->charge[i]))));
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        WorkedAtom atom = s.atoms[i];
        atom.lonePairs = best->nonbonding[i] / 2;
        atom.radicals = best->nonbonding[i] % 2;
        atom.charge = best->charge[i];
        w.atoms.push_back(atom);
        if (i > 0)
            w.bonds.push_back({s.parent[i], int(i), best->order[i]});
    }
    return w;
}

FormulaStructure workOutFormula(const QString &text)
{
    std::optional<ChemistryError> first;
    for (WrittenFormula &formula : readFormula(text)) {
        try {
            WorkedStructure worked = workOut(formula);
            return {std::move(formula), std::move(worked)};
        } catch (const ChemistryError &e) {
            if (!first)
                first = e;
        }
    }
    throw *first;
}

bool unlikelyAsFormula(const FormulaStructure &structure)
{
    return structure.formula.charge == 0
        && std::any_of(structure.worked.atoms.begin(), structure.worked.atoms.end(),
            [](const WorkedAtom &a) { return a.radicals > 0 || a.charge != 0; });
}

} // namespace zembrel
