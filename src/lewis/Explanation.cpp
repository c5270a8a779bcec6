#include "Explanation.h"

#include "Chemistry.h"
#include "Domains.h"
#include "Folding.h"
#include "LewisText.h"
#include "MainGroup.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

QString signedNumber(int value)
{
    if (value > 0)
        return u'+' + QString::number(value);
    if (value < 0)
        return u'\u2212' + QString::number(-value);
    return u"0"_s;
}

// "F 3 ×4, S 1": each element's value, equal ones counted once, in the
// order the atoms come.
QString grouped(const std::vector<std::pair<QString, QString>> &values)
{
    std::vector<std::pair<std::pair<QString, QString>, int>> counted;
    for (const auto &value : values) {
        auto same = std::find_if(counted.begin(), counted.end(), [&](const auto &c) { return c.first == value; });
        if (same == counted.end())
            counted.push_back({value, 1});
        else
            ++same->second;
    }
    QStringList parts;
    for (const auto &[value, count] : counted) {
        parts << (count > 1 ? LewisText::tr("%1 %2 \u00D7%3", "an element, its value, how many atoms have it")
                                  .arg(value.first, value.second)
                                  .arg(count)
                            : LewisText::tr("%1 %2", "an element and its value").arg(value.first, value.second));
    }
    return parts.join(u", "_s);
}

// The counts of one part of a molecule, as the steps print them.
struct Counts
{
    std::vector<std::pair<QString, int>> outer; // per element, in order: symbol and atoms
    std::map<QString, int> outerOf;
    int valence = 0;
    int bondingPairs = 0;
    int lonePairs = 0;
    int unpaired = 0;
    std::vector<std::pair<QString, QString>> lonePairsOn;
    std::vector<std::pair<QString, QString>> charges;
    bool charged = false;
};

Counts countsOf(const Molecule &molecule, const Component &component)
{
    Counts c;
    for (const int a : component.atoms) {
        const Atom &atom = molecule.atoms[std::size_t(a)];
        auto same = std::find_if(
            c.outer.begin(), c.outer.end(), [&](const auto &each) { return each.first == atom.symbol; });
        if (same == c.outer.end())
            c.outer.push_back({atom.symbol, 1});
        else
            ++same->second;
        c.outerOf[atom.symbol] = atom.outer;
        c.valence += atom.outer;
        c.lonePairs += atom.lonePairs;
        c.unpaired += atom.radicals;
        if (atom.lonePairs > 0)
            c.lonePairsOn.push_back({atom.symbol, QString::number(atom.lonePairs)});
        c.charges.push_back({atom.symbol, signedNumber(atom.charge)});
        c.charged = c.charged || atom.charge != 0;
    }
    c.valence -= component.charge;
    for (const int b : component.bonds)
        c.bondingPairs += molecule.bonds[std::size_t(b)].order;
    return c;
}

QString valenceLine(const Counts &c, int charge)
{
    QStringList each;
    for (const auto &[symbol, atoms] : c.outer) {
        const int outer = c.outerOf.at(symbol);
        each << (atoms == 1 ? LewisText::tr("%1 %2", "an element and its value").arg(symbol).arg(outer)
                            : LewisText::tr("%1 %2 \u00D7 %3 = %4", "an element: atoms times electrons")
                                  .arg(symbol)
                                  .arg(atoms)
                                  .arg(outer)
                                  .arg(atoms * outer));
    }
    QString line = each.join(u", "_s);
    if (charge < 0)
        line = LewisText::tr("%1, and %2 more for the charge %3").arg(line).arg(-charge).arg(signedNumber(charge));
    else if (charge > 0)
        line = LewisText::tr("%1, less %2 for the charge %3").arg(line).arg(charge).arg(signedNumber(charge));
    return LewisText::tr("Valence electrons: %1; total %2.").arg(line).arg(c.valence);
}

QString chargesLine(const Counts &c, int charge)
{
    if (!c.charged)
        return LewisText::tr("Formal charges (valence electrons \u2212 lone-pair electrons \u2212 bonds): all 0.");
    return LewisText::tr("Formal charges (valence electrons \u2212 lone-pair electrons \u2212 bonds): %1; "
                         "together %2, the charge of the whole.")
        .arg(grouped(c.charges), signedNumber(charge));
}

QString domainsLine(const Molecule &molecule, const Component &component)
{
    const std::optional<ElectronDomains> d = electronDomains(molecule, component);
    if (!d && component.atoms.size() == 1)
        return LewisText::tr("One atom: no shape to name.");
    if (!d && component.atoms.size() == 2)
        return LewisText::tr("Two atoms: the molecule is linear.");
    if (!d)
        return LewisText::tr("No one central atom: no single shape (AXE) to name.");
    const QString centre = molecule.atoms[std::size_t(d->centre)].symbol;
    const QString pairs = d->unpaired
        ? LewisText::tr("lone pairs: %1, and one unpaired electron").arg(d->lonePairs - 1)
        : LewisText::tr("lone pairs: %1").arg(d->lonePairs);
    const QString shape = d->shape();
    if (shape.isEmpty()) {
        return LewisText::tr("Electron domains on %1: %2 (bonded atoms: %3; %4): %5.")
            .arg(centre)
            .arg(d->count())
            .arg(d->bonded)
            .arg(pairs, d->axe());
    }
    return LewisText::tr("Electron domains on %1: %2 (bonded atoms: %3; %4): %5; electron-domain geometry "
                         "%6; shape: %7.")
        .arg(centre)
        .arg(d->count())
        .arg(d->bonded)
        .arg(pairs, d->axe(), d->geometry(), shape);
}

// A part's formula for its heading: the central atom first, hydrogens on
// it after it and an acid's before, else the atoms' order.
QString partFormula(const Molecule &molecule, const Component &component)
{
    std::vector<std::pair<QString, int>> order;
    const auto count = [&order](const QString &symbol) {
        auto same = std::find_if(order.begin(), order.end(), [&](const auto &e) { return e.first == symbol; });
        if (same == order.end())
            order.push_back({symbol, 1});
        else
            ++same->second;
    };
    for (const int a : component.atoms)
        count(molecule.atoms[std::size_t(a)].symbol);
    QString text;
    for (const auto &[symbol, atoms] : order)
        text += atoms > 1 ? symbol + QString::number(atoms) : symbol;
    if (component.charge != 0) {
        text += std::abs(component.charge) > 1 ? u" "_s + QString::number(std::abs(component.charge)) : QString();
        text += component.charge > 0 ? u'+' : u'-';
    }
    return prettyFormula(text);
}

void checkDrawn(const Counts &c)
{
    if (2 * c.bondingPairs + 2 * c.lonePairs + c.unpaired != c.valence) {
        throw ChemistryError{LewisText::tr("The picture holds %1 electrons, not the %2 valence electrons counted.")
                                 .arg(2 * c.bondingPairs + 2 * c.lonePairs + c.unpaired)
                                 .arg(c.valence)};
    }
}

} // namespace

QString writtenFormulaText(const WrittenFormula &formula)
{
    QString text = formula.body;
    if (formula.charge != 0) {
        text += std::abs(formula.charge) > 1 ? u" "_s + QString::number(std::abs(formula.charge)) : QString();
        text += formula.charge > 0 ? u'+' : u'-';
    }
    return prettyFormula(text);
}

QString explainWorked(const WrittenFormula &formula, const WorkedStructure &worked, const Molecule &drawn)
{
    const Component &part = drawn.components.front();
    const Counts c = countsOf(drawn, part);
    checkDrawn(c);
    if (c.valence != worked.valenceElectrons)
        throw ChemistryError{LewisText::tr("The picture's atoms have %1 valence electrons, not the %2 counted.")
                                 .arg(c.valence)
                                 .arg(worked.valenceElectrons)};
    const WorkedAtom &centreAtom = worked.atoms[std::size_t(worked.centre)];
    const QString centre = mainGroupElement(centreAtom.element).symbol;
    QStringList lines;
    lines << LewisText::tr("%1, worked out from its formula:").arg(writtenFormulaText(formula));
    lines << u"1. "_s + valenceLine(c, worked.charge);

    QString why;
    switch (worked.rule) {
    case CentreRule::LeastElectronegative: {
        QStringList candidates;
        std::vector<int> seen;
        for (const WorkedAtom &a : worked.atoms) {
            const MainGroupElement e = mainGroupElement(a.element);
            if (std::count_if(worked.atoms.begin(), worked.atoms.end(), [&](const WorkedAtom &o) { return o.element == a.element; }) == 1
                && a.element != 9 && std::find(seen.begin(), seen.end(), a.element) == seen.end()) {
                seen.push_back(a.element);
                candidates << LewisText::tr("%1 %2", "an element and its value")
                                  .arg(e.symbol, QLocale().toString(e.electronegativity, 'f', 2));
            }
        }
        why = LewisText::tr("Central atom: %1, the least electronegative of the elements written once, "
                            "H and F aside (%2).")
                  .arg(centre, candidates.join(u", "_s));
        break;
    }
    case CentreRule::OnlyOnce:
        why = LewisText::tr("Central atom: %1, the one element written once, H and F aside.").arg(centre);
        break;
    case CentreRule::Middle:
        why = LewisText::tr("Central atom: the middle one of the three %1 atoms.").arg(centre);
        break;
    case CentreRule::Pair: why = LewisText::tr("Two atoms: one bonded to the other."); break;
    case CentreRule::Alone: why = LewisText::tr("One atom: no bonds."); break;
    }
    lines << u"2. "_s + why;
    if (worked.acidOnOxygen > 0 && worked.acidOnPhosphorus > 0) {
        lines << u"   "_s
                + LewisText::tr("Of the hydrogens written first, %1 are on oxygen atoms, as in every oxyacid, and "
                                "%2 on P, which keeps one oxygen of its own, P=O.")
                      .arg(worked.acidOnOxygen)
                      .arg(worked.acidOnPhosphorus);
    } else if (worked.acidOnOxygen > 0) {
        lines << u"   "_s
                + LewisText::tr("The hydrogens written first (%1) are on oxygen atoms, as in every oxyacid.")
                      .arg(worked.acidOnOxygen);
    }

    int singlePairs = 0;
    for (const WorkedAtom &a : worked.atoms)
        singlePairs += a.hydrogens;
    singlePairs += int(worked.bonds.size());
    const int outerElectrons = worked.valenceElectrons - 2 * singlePairs - worked.leftForCentre;
    if (worked.rule == CentreRule::Alone) {
        const WorkedAtom &atom = worked.atoms.front();
        lines << u"3. "_s
                + LewisText::tr("Every valence electron on the atom, singly round the symbol up to four, then paired: "
                                "lone pairs %1, unpaired %2.")
                      .arg(atom.lonePairs)
                      .arg(atom.radicals);
    } else {
        lines << u"3. "_s
                + LewisText::tr("Skeleton: a single bond to every outer atom; bonding pairs: %1 (%2 electrons).")
                      .arg(singlePairs)
                      .arg(2 * singlePairs);
        QString left = worked.leftForCentre >= 0
            ? LewisText::tr("%1 \u2212 %2 \u2212 %3 = %4 left for %5")
                  .arg(worked.valenceElectrons)
                  .arg(2 * singlePairs)
                  .arg(outerElectrons)
                  .arg(worked.leftForCentre)
                  .arg(centre)
            : LewisText::tr("%1 \u2212 %2 = %3: too few to give every outer atom its octet with single bonds")
                  .arg(worked.valenceElectrons)
                  .arg(2 * singlePairs)
                  .arg(worked.valenceElectrons - 2 * singlePairs);
        lines << u"4. "_s
                + LewisText::tr("The outer atoms' octets completed (H: two): %1 electrons in lone pairs; %2.")
                      .arg(std::max(0, outerElectrons))
                      .arg(left);

        // Step 5: the bonds that were made multiple, and why.
        QStringList made;
        for (const StructureBond &b : worked.bonds) {
            if (b.order == 1)
                continue;
            const QString bond = QString(mainGroupElement(worked.atoms[std::size_t(b.begin)].element).symbol)
                + (b.order == 2 ? u"="_s : u"\u2261"_s) + mainGroupElement(worked.atoms[std::size_t(b.end)].element).symbol;
            made << bond;
        }
        const int singleHeld = 2 * (centreAtom.hydrogens
                                       + int(std::count_if(worked.bonds.begin(), worked.bonds.end(),
                                           [&](const StructureBond &b) { return b.begin == worked.centre; })))
            + std::max(0, worked.leftForCentre);
        const bool shortOfOctet = worked.rule != CentreRule::Alone && singleHeld < 8;
        if (made.isEmpty()) {
            QString step = LewisText::tr("Multiple bonds: none; the formal charges are least as they stand.");
            const int group = mainGroupElement(centreAtom.element).group;
            if (shortOfOctet && worked.heldByCentre() < 8 && (group == 2 || group == 13) && worked.bonds.size() > 0
                && worked.valenceElectrons % 2 == 0) {
                step += u' '
                    + LewisText::tr("%1 keeps %2 electrons, short of an octet, as B, Be and Al do: a double bond "
                                    "would put a positive charge on an outer atom.")
                          .arg(centre)
                          .arg(worked.heldByCentre());
            }
            lines << u"5. "_s + step;
        } else {
            std::map<QString, int> bondCount;
            QStringList listed;
            for (const QString &bond : std::as_const(made))
                ++bondCount[bond];
            for (const QString &bond : std::as_const(made)) {
                if (const int n = bondCount[bond]; n > 0) {
                    listed << (n > 1 ? LewisText::tr("%1 \u00D7%2", "a bond and how many").arg(bond).arg(n) : bond);
                    bondCount[bond] = 0;
                }
            }
            const QString reason = shortOfOctet
                ? LewisText::tr("to give %1 its octet (it had %2 electrons)").arg(centre).arg(singleHeld)
                : LewisText::tr("to make the formal charges least");
            QString step = LewisText::tr("Multiple bonds: lone pairs of outer atoms made into bonds, %1, %2.")
                               .arg(listed.join(u", "_s), reason);
            if (worked.heldByCentre() > 8) {
                step += u' '
                    + LewisText::tr("%1 now holds %2 electrons: from the third period on, an atom may hold more than "
                                    "eight.")
                          .arg(centre)
                          .arg(worked.heldByCentre());
            }
            lines << u"5. "_s + step;
        }
        if (worked.valenceElectrons % 2 == 1) {
            for (const WorkedAtom &a : worked.atoms) {
                if (a.radicals > 0) {
                    lines << u"   "_s
                            + LewisText::tr("The count is odd: one electron stays unpaired, on %1.")
                                  .arg(mainGroupElement(a.element).symbol);
                }
            }
        }
    }
    const int step = worked.rule == CentreRule::Alone ? 4 : 6;
    lines << QString::number(step) + u". "_s + chargesLine(c, part.charge);
    lines << QString::number(step + 1) + u". "_s
            + LewisText::tr("Check: %1 bonding pairs (%2 electrons), %3 lone pairs (%4)%5 make %6, the valence "
                            "electrons.")
                  .arg(c.bondingPairs)
                  .arg(2 * c.bondingPairs)
                  .arg(c.lonePairs)
                  .arg(2 * c.lonePairs)
                  .arg(c.unpaired > 0 ? LewisText::tr(" and %1 unpaired").arg(c.unpaired) : QString())
                  .arg(c.valence);
    lines << domainsLine(drawn, part);
    return lines.join(u'\n') + u'\n';
}

QString explainMolecule(const Molecule &molecule)
{
    QStringList lines;
    std::vector<const Component *> parts;
    for (const Component &component : molecule.components) {
        if (component.form == 0)
            parts.push_back(&component);
    }
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const Component &part = *parts[p];
        const Counts c = countsOf(molecule, part);
        if (parts.size() > 1) {
            const QString formula = partFormula(molecule, part);
            lines << (part.count > 1 ? LewisText::tr("Part %1: %2 \u00D7 %3").arg(p + 1).arg(part.count).arg(formula)
                                     : LewisText::tr("Part %1: %2").arg(p + 1).arg(formula));
        }
        lines << valenceLine(c, part.charge);
        QString pairs = LewisText::tr("Bonding pairs: %1 (%2 electrons); lone pairs: %3 (%4 electrons)")
                            .arg(c.bondingPairs)
                            .arg(2 * c.bondingPairs)
                            .arg(c.lonePairs)
                            .arg(2 * c.lonePairs);
        if (!c.lonePairsOn.empty())
            pairs += LewisText::tr(", on %1").arg(grouped(c.lonePairsOn));
        if (c.unpaired > 0)
            pairs += LewisText::tr("; unpaired electrons: %1").arg(c.unpaired);
        lines << pairs + u'.';
        lines << chargesLine(c, part.charge);
        lines << domainsLine(molecule, part);
    }
    return lines.join(u'\n') + u'\n';
}

QString shapeSummary(const Molecule &molecule)
{
    const Component *only = nullptr;
    for (const Component &component : molecule.components) {
        if (component.form != 0)
            continue;
        if (only)
            return {};
        only = &component;
    }
    if (!only)
        return {};
    const std::optional<ElectronDomains> d = electronDomains(molecule, *only);
    if (!d || d->shape().isEmpty())
        return {};
    return LewisText::tr("%1, %2", "AXE notation and shape").arg(d->axe(), d->shape());
}

} // namespace zembrel
