#include "Chemistry.h"
#include "Domains.h"
#include "Explanation.h"
#include "MainGroup.h"
#include "Procedure.h"
#include "Species.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace zembrel;

namespace {

QString sorted(const QString &words)
{
    QStringList list = words.split(u' ', Qt::SkipEmptyParts);
    list.sort();
    return list.join(u' ');
}

QString symbol(int element)
{
    return mainGroupElement(element).symbol;
}

// An atom as the tables below write it: symbol, the bond it is held by
// (- = #), its lone pairs, its hydrogens, its formal charge's sign and "."
// for an unpaired electron: "O=2", "O-3-", "O-2H".
QString written(const WorkedAtom &atom, int order)
{
    QString text = symbol(atom.element);
    if (order > 0)
        text += order == 1 ? u'-' : order == 2 ? u'=' : u'#';
    text += QString::number(atom.lonePairs);
    if (atom.hydrogens > 0)
        text += atom.hydrogens == 1 ? u"H"_s : u"H"_s + QString::number(atom.hydrogens);
    if (atom.charge != 0)
        text += QString(std::abs(atom.charge), atom.charge > 0 ? u'+' : u'-');
    if (atom.radicals > 0)
        text += u'.';
    return text;
}

// The same description for the atoms of a drawn molecule, hydrogens counted
// on their atoms, as a sorted list: what the picture shows.
QString drawnAtoms(const Molecule &molecule, const Component &component)
{
    QStringList atoms;
    for (const int a : component.atoms) {
        const Atom &atom = molecule.atoms[std::size_t(a)];
        if (atom.element == 1 && component.atoms.size() > 2)
            continue;
        QList<int> orders;
        int hydrogens = 0;
        for (const int b : component.bonds) {
            const Bond &bond = molecule.bonds[std::size_t(b)];
            if (bond.begin != a && bond.end != a)
                continue;
            const int other = bond.begin == a ? bond.end : bond.begin;
            if (molecule.atoms[std::size_t(other)].element == 1 && component.atoms.size() > 2)
                ++hydrogens;
            else
                orders << bond.order;
        }
        std::sort(orders.begin(), orders.end());
        QString text = atom.symbol + u'(';
        for (const int order : std::as_const(orders))
            text += QString::number(order);
        text += u')' + QString::number(atom.lonePairs);
        if (hydrogens > 0)
            text += u'H' + QString::number(hydrogens);
        if (atom.charge != 0)
            text += QString(std::abs(atom.charge), atom.charge > 0 ? u'+' : u'-');
        text += QString(atom.radicals, u'.');
        atoms << text;
    }
    atoms.sort();
    return atoms.join(u' ');
}

} // namespace

class TestLewis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedOut_data();
    void workedOut();
    void refused_data();
    void refused();
    void explained();
    void agreesWithTheTable();
    void randomFormulas();
};

void TestLewis::workedOut_data()
{
    QTest::addColumn<QString>("formula");
    // The central atom as the outer ones below are written, without a bond.
    QTest::addColumn<QString>("centre");
    QTest::addColumn<QString>("outer");
    QTest::addColumn<QString>("axe");
    QTest::addColumn<QString>("shape");

    // Worked by hand: valence electrons, single bonds, the outer atoms'
    // octets, the rest on the centre, then lone pairs made into bonds while
    // they lower the formal charges (or give a period-2 centre its octet).
    QTest::newRow("SF4") << u"SF4"_s << u"S1"_s << u"F-3 F-3 F-3 F-3"_s << u"AX4E"_s << u"seesaw"_s;
    QTest::newRow("SF6") << u"SF6"_s << u"S0"_s << u"F-3 F-3 F-3 F-3 F-3 F-3"_s << u"AX6"_s << u"octahedral"_s;
    QTest::newRow("BrF5") << u"BrF5"_s << u"Br1"_s << u"F-3 F-3 F-3 F-3 F-3"_s << u"AX5E"_s
                          << u"square pyramidal"_s;
    QTest::newRow("IF7") << u"IF7"_s << u"I0"_s << u"F-3 F-3 F-3 F-3 F-3 F-3 F-3"_s << u"AX7"_s
                         << u"pentagonal bipyramidal"_s;
    QTest::newRow("XeF2") << u"XeF2"_s << u"Xe3"_s << u"F-3 F-3"_s << u"AX2E3"_s << u"linear"_s;
    QTest::newRow("XeF4") << u"XeF4"_s << u"Xe2"_s << u"F-3 F-3 F-3 F-3"_s << u"AX4E2"_s << u"square planar"_s;
    QTest::newRow("XeO3: three Xe=O") << u"XeO3"_s << u"Xe1"_s << u"O=2 O=2 O=2"_s << u"AX3E"_s
                                      << u"trigonal pyramidal"_s;
    QTest::newRow("XeOF4: Xe=O") << u"XeOF4"_s << u"Xe1"_s << u"O=2 F-3 F-3 F-3 F-3"_s << u"AX5E"_s
                                 << u"square pyramidal"_s;
    QTest::newRow("KrF2") << u"KrF2"_s << u"Kr3"_s << u"F-3 F-3"_s << u"AX2E3"_s << u"linear"_s;
    QTest::newRow("ClF3") << u"ClF3"_s << u"Cl2"_s << u"F-3 F-3 F-3"_s << u"AX3E2"_s << u"T-shaped"_s;
    QTest::newRow("ICl3") << u"ICl3"_s << u"I2"_s << u"Cl-3 Cl-3 Cl-3"_s << u"AX3E2"_s << u"T-shaped"_s;
    QTest::newRow("ICl4-") << u"ICl4-"_s << u"I2-"_s << u"Cl-3 Cl-3 Cl-3 Cl-3"_s << u"AX4E2"_s
                           << u"square planar"_s;
    QTest::newRow("I3-: the middle atom") << u"I3-"_s << u"I3-"_s << u"I-3 I-3"_s << u"AX2E3"_s << u"linear"_s;
    QTest::newRow("BrF3") << u"BrF3"_s << u"Br2"_s << u"F-3 F-3 F-3"_s << u"AX3E2"_s << u"T-shaped"_s;
    QTest::newRow("SeF4") << u"SeF4"_s << u"Se1"_s << u"F-3 F-3 F-3 F-3"_s << u"AX4E"_s << u"seesaw"_s;
    QTest::newRow("PCl5") << u"PCl5"_s << u"P0"_s << u"Cl-3 Cl-3 Cl-3 Cl-3 Cl-3"_s << u"AX5"_s
                          << u"trigonal bipyramidal"_s;
    QTest::newRow("PF6-") << u"PF6-"_s << u"P0-"_s << u"F-3 F-3 F-3 F-3 F-3 F-3"_s << u"AX6"_s << u"octahedral"_s;
    QTest::newRow("SO2: S=O twice, S holds 10") << u"SO2"_s << u"S1"_s << u"O=2 O=2"_s << u"AX2E"_s << u"bent"_s;
    QTest::newRow("SO3") << u"SO3"_s << u"S0"_s << u"O=2 O=2 O=2"_s << u"AX3"_s << u"trigonal planar"_s;
    QTest::newRow("SO2Cl2") << u"SO2Cl2"_s << u"S0"_s << u"O=2 O=2 Cl-3 Cl-3"_s << u"AX4"_s << u"tetrahedral"_s;
    QTest::newRow("SOCl2") << u"SOCl2"_s << u"S1"_s << u"O=2 Cl-3 Cl-3"_s << u"AX3E"_s << u"trigonal pyramidal"_s;
    QTest::newRow("POCl3") << u"POCl3"_s << u"P0"_s << u"O=2 Cl-3 Cl-3 Cl-3"_s << u"AX4"_s << u"tetrahedral"_s;
    QTest::newRow("NOCl: N=O, not N=Cl") << u"NOCl"_s << u"N1"_s << u"O=2 Cl-3"_s << u"AX2E"_s << u"bent"_s;
    QTest::newRow("NO2-") << u"NO2-"_s << u"N1"_s << u"O=2 O-3-"_s << u"AX2E"_s << u"bent"_s;
    QTest::newRow("NO3-: N keeps its octet") << u"NO3-"_s << u"N0+"_s << u"O=2 O-3- O-3-"_s << u"AX3"_s
                                             << u"trigonal planar"_s;
    QTest::newRow("NO2+") << u"NO2+"_s << u"N0+"_s << u"O=2 O=2"_s << u"AX2"_s << u"linear"_s;
    QTest::newRow("NO: N holds the odd electron") << u"NO"_s << u"N1."_s << u"O=2"_s << QString() << QString();
    QTest::newRow("NO2: the odd electron on N") << u"NO2"_s << u"N0+."_s << u"O=2 O-3-"_s << u"AX2E"_s
                                                << u"bent"_s;
    QTest::newRow("ClO2: O=Cl=O, one pair and one electron on Cl")
        << u"ClO2"_s << u"Cl1."_s << u"O=2 O=2"_s << u"AX2E2"_s << u"bent"_s;
    QTest::newRow("ClO-: O takes the charge") << u"ClO-"_s << u"Cl3"_s << u"O-3-"_s << QString() << QString();
    QTest::newRow("ClO3-") << u"ClO3-"_s << u"Cl1"_s << u"O=2 O=2 O-3-"_s << u"AX3E"_s << u"trigonal pyramidal"_s;
    QTest::newRow("BrO4-") << u"BrO4-"_s << u"Br0"_s << u"O=2 O=2 O=2 O-3-"_s << u"AX4"_s << u"tetrahedral"_s;
    QTest::newRow("SO3 2-") << u"SO3 2-"_s << u"S1"_s << u"O=2 O-3- O-3-"_s << u"AX3E"_s
                            << u"trigonal pyramidal"_s;
    QTest::newRow("PO4 3-: one P=O") << u"PO4 3-"_s << u"P0"_s << u"O=2 O-3- O-3- O-3-"_s << u"AX4"_s
                                     << u"tetrahedral"_s;
    QTest::newRow("CO3 2-") << u"CO3 2-"_s << u"C0"_s << u"O=2 O-3- O-3-"_s << u"AX3"_s << u"trigonal planar"_s;
    QTest::newRow("BF3: B short of its octet") << u"BF3"_s << u"B0"_s << u"F-3 F-3 F-3"_s << u"AX3"_s
                                               << u"trigonal planar"_s;
    QTest::newRow("BeCl2") << u"BeCl2"_s << u"Be0"_s << u"Cl-3 Cl-3"_s << u"AX2"_s << u"linear"_s;
    QTest::newRow("AlCl3") << u"AlCl3"_s << u"Al0"_s << u"Cl-3 Cl-3 Cl-3"_s << u"AX3"_s << u"trigonal planar"_s;
    QTest::newRow("SiCl4") << u"SiCl4"_s << u"Si0"_s << u"Cl-3 Cl-3 Cl-3 Cl-3"_s << u"AX4"_s << u"tetrahedral"_s;
    QTest::newRow("CCl4") << u"CCl4"_s << u"C0"_s << u"Cl-3 Cl-3 Cl-3 Cl-3"_s << u"AX4"_s << u"tetrahedral"_s;
    QTest::newRow("NF3") << u"NF3"_s << u"N1"_s << u"F-3 F-3 F-3"_s << u"AX3E"_s << u"trigonal pyramidal"_s;
    QTest::newRow("OF2") << u"OF2"_s << u"O2"_s << u"F-3 F-3"_s << u"AX2E2"_s << u"bent"_s;
    QTest::newRow("H2Se: hydrogens on the centre") << u"H2Se"_s << u"Se2H2"_s << QString() << u"AX2E2"_s
                                                   << u"bent"_s;
    QTest::newRow("AsH3") << u"AsH3"_s << u"As1H3"_s << QString() << u"AX3E"_s << u"trigonal pyramidal"_s;
    // The rules the hard cases need.
    QTest::newRow("H2SO4: acid hydrogens on O") << u"H2SO4"_s << u"S0"_s << u"O-2H O-2H O=2 O=2"_s << u"AX4"_s
                                                << u"tetrahedral"_s;
    QTest::newRow("HNO3") << u"HNO3"_s << u"N0+"_s << u"O-2H O=2 O-3-"_s << u"AX3"_s << u"trigonal planar"_s;
    QTest::newRow("H3PO3: one P-H") << u"H3PO3"_s << u"P0H"_s << u"O-2H O-2H O=2"_s << u"AX4"_s
                                    << u"tetrahedral"_s;
    QTest::newRow("H3PO4") << u"H3PO4"_s << u"P0"_s << u"O-2H O-2H O-2H O=2"_s << u"AX4"_s << u"tetrahedral"_s;
    QTest::newRow("CO: C≡O for C's octet") << u"CO"_s << u"C1-"_s << u"O#1+"_s << QString() << QString();
    QTest::newRow("O3: the middle atom") << u"O3"_s << u"O1+"_s << u"O=2 O-3-"_s << u"AX2E"_s << u"bent"_s;
    QTest::newRow("[Al(OH)4]-: a group") << u"[Al(OH)4]-"_s << u"Al0-"_s << u"O-2H O-2H O-2H O-2H"_s << u"AX4"_s
                                         << u"tetrahedral"_s;
    QTest::newRow("CH3+: no lone pair to give C its octet") << u"CH3+"_s << u"C0H3+"_s << QString() << u"AX3"_s
                                                           << u"trigonal planar"_s;
    QTest::newRow("SnCl2: Sn keeps six") << u"SnCl2"_s << u"Sn1"_s << u"Cl-3 Cl-3"_s << u"AX2E"_s << u"bent"_s;
    // Hydrogens written first go where the formal charges are least, on the
    // atom written after them where that ties, else on oxygen.
    QTest::newRow("HNO: H on N") << u"HNO"_s << u"N1H"_s << u"O=2"_s << u"AX2E"_s << u"bent"_s;
    QTest::newRow("HCO2-: formate's H on C") << u"HCO2-"_s << u"C0H"_s << u"O=2 O-3-"_s << u"AX3"_s
                                             << u"trigonal planar"_s;
    QTest::newRow("HNCO: H-N=C=O") << u"HNCO"_s << u"C0"_s << u"N=1H O=2"_s << u"AX2"_s << u"linear"_s;
    QTest::newRow("HOCN: H-O-C≡N") << u"HOCN"_s << u"C0"_s << u"O-2H N#1"_s << u"AX2"_s << u"linear"_s;
    QTest::newRow("HPO3 2-: one P-H, one P=O") << u"HPO3 2-"_s << u"P0H"_s << u"O=2 O-3- O-3-"_s << u"AX4"_s
                                               << u"tetrahedral"_s;
    QTest::newRow("H2PO2-: two P-H") << u"H2PO2-"_s << u"P0H2"_s << u"O=2 O-3-"_s << u"AX4"_s << u"tetrahedral"_s;
    QTest::newRow("Si(OCH3)4: hydrogens on the C of each group, shape at Si")
        << u"Si(OCH3)4"_s << u"Si0"_s << u"O-2 O-2 O-2 O-2 C-0H3 C-0H3 C-0H3 C-0H3"_s << u"AX4"_s << u"tetrahedral"_s;
    QTest::newRow("CF3+: no C=F") << u"CF3+"_s << u"C0+"_s << u"F-3 F-3 F-3"_s << u"AX3"_s << u"trigonal planar"_s;
    QTest::newRow("CCl2: a carbene, no C=Cl") << u"CCl2"_s << u"C1"_s << u"Cl-3 Cl-3"_s << u"AX2E"_s << u"bent"_s;
    QTest::newRow("HCN: H written first, no O") << u"HCN"_s << u"C0H"_s << u"N#1"_s << u"AX2"_s << u"linear"_s;
    QTest::newRow("sf4: case not trusted") << u"sf4"_s << u"S1"_s << u"F-3 F-3 F-3 F-3"_s << u"AX4E"_s
                                           << u"seesaw"_s;
    QTest::newRow("Cyrillic look-alikes: ХеО3") << u"\u0425e\u041E3"_s << u"Xe1"_s << u"O=2 O=2 O=2"_s
                                                 << u"AX3E"_s << u"trigonal pyramidal"_s;
}

void TestLewis::workedOut()
{
    QFETCH(QString, formula);
    QFETCH(QString, centre);
    QFETCH(QString, outer);
    QFETCH(QString, axe);
    QFETCH(QString, shape);

    FormulaStructure worked;
    try {
        worked = workOutFormula(formula);
    } catch (const ChemistryError &e) {
        QFAIL(qPrintable(e.message));
    }
    const WorkedStructure &w = worked.worked;
    QCOMPARE(written(w.atoms[std::size_t(w.centre)], 0), centre);
    QStringList ligands;
    for (const StructureBond &b : w.bonds)
        ligands << written(w.atoms[std::size_t(b.end)], b.order);
    QCOMPARE(sorted(ligands.join(u' ')), sorted(outer));

    // The picture drawn from it shows the same electrons, and the shape is
    // that molecule's.
    Molecule drawn;
    try {
        drawn = moleculeFromStructure(w.structure());
        QVERIFY(!explainWorked(worked.formula, w, drawn).isEmpty());
    } catch (const ChemistryError &e) {
        QFAIL(qPrintable(e.message));
    }
    QCOMPARE(drawn.components.size(), std::size_t(1));
    int electrons = 0;
    for (const Atom &atom : drawn.atoms)
        electrons += 2 * atom.lonePairs + atom.radicals;
    for (const Bond &bond : drawn.bonds)
        electrons += 2 * bond.order;
    QCOMPARE(electrons, w.valenceElectrons);
    const std::optional<ElectronDomains> d = electronDomains(drawn, drawn.components.front());
    QCOMPARE(d ? d->axe() : QString(), axe);
    QCOMPARE(d ? d->shape() : QString(), shape);
}

void TestLewis::refused_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("reason");

    QTest::newRow("C2H6O: ethanol or dimethyl ether") << u"C2H6O"_s << u"more than one skeleton"_s;
    QTest::newRow("N2H4: two centres") << u"N2H4"_s << u"more than one skeleton"_s;
    QTest::newRow("H2O2: a chain") << u"H2O2"_s << u"more than one skeleton"_s;
    QTest::newRow("S2O3 2-") << u"S2O3 2-"_s << u"more than one skeleton"_s;
    QTest::newRow("a transition metal") << u"FeCl3"_s << u"Fe is a transition metal"_s;
    QTest::newRow("an unknown element") << u"XyF2"_s << u"no element is written \"Xy\""_s;
    QTest::newRow("a metal that forms ions") << u"Ca(OH)2"_s << u"Ca is a metal that forms ions"_s;
    QTest::newRow("a hydrate") << u"CuSO4·5H2O"_s << u"hydrate"_s;
    QTest::newRow("CH5: past C's octet") << u"CH5"_s << u"C would hold 10 electrons"_s;
    QTest::newRow("CF4 2+: too few for the outer octets") << u"CF4 2+"_s
                                                         << u"no way of placing its 30 valence electrons"_s;
    QTest::newRow("a charge past the atoms' electrons") << u"H+ 8"_s << u"not a formula"_s;
    QTest::newRow("SF4 8-: an absurd charge") << u"SF4 8-"_s << u"formal charge of \u22128"_s;
    QTest::newRow("a bracket not closed") << u"Al(OH4"_s << u"bracket is not closed"_s;
    QTest::newRow("a group in a group") << u"Si(C(CH3)3)4"_s << u"inside another"_s;
    QTest::newRow("a count of 0") << u"SF0"_s << u"the count 0"_s;
    QTest::newRow("too many atoms") << u"SF44"_s << u"at most 10"_s;
    QTest::newRow("a noble gas of no compounds") << u"ArF2"_s << u"Ar forms no compounds"_s;
    QTest::newRow("sn: Sn or S and N") << u"sn"_s << u"capital letter"_s;
    QTest::newRow("SF4p: mixed case is meant") << u"SF4p"_s << u"capital letter"_s;
}

void TestLewis::refused()
{
    QFETCH(QString, formula);
    QFETCH(QString, reason);
    try {
        workOutFormula(formula);
        QFAIL("worked out");
    } catch (const ChemistryError &e) {
        QVERIFY2(e.message.contains(reason), qPrintable(e.message));
    }
}

void TestLewis::explained()
{
    // The steps a student writes for SF4, with the counts worked by hand.
    const FormulaStructure sf4 = workOutFormula(u"SF4"_s);
    const QString steps = explainWorked(sf4.formula, sf4.worked, moleculeFromStructure(sf4.worked.structure()));
    for (const QString &expected :
        {u"total 34"_s, u"Central atom: S"_s, u"bonding pairs: 4 (8 electrons)"_s,
            u"24 electrons in lone pairs; 34 \u2212 8 \u2212 24 = 2 left for S"_s, u"Multiple bonds: none"_s,
            u"all 0"_s, u"AX4E"_s, u"trigonal bipyramidal"_s, u"seesaw"_s}) {
        QVERIFY2(steps.contains(expected), qPrintable(expected + u"\n"_s + steps));
    }
    // A species of the table: the counts of water, by hand.
    const QString water = explainMolecule(moleculeFromSmiles(u"O"_s));
    for (const QString &expected : {u"total 8"_s, u"Bonding pairs: 2 (4 electrons); lone pairs: 2 (4 electrons)"_s,
             u"AX2E2"_s, u"bent"_s}) {
        QVERIFY2(water.contains(expected), qPrintable(expected + u"\n"_s + water));
    }
    // Ethanol has no one centre.
    QVERIFY(explainMolecule(moleculeFromSmiles(u"CCO"_s)).contains(u"No one central atom"_s));
    QCOMPARE(shapeSummary(moleculeFromSmiles(u"N"_s)), u"AX3E, trigonal pyramidal"_s);
    QCOMPARE(shapeSummary(moleculeFromSmiles(u"CCO"_s)), QString());
}

// Where the table and the procedure both draw a species, they draw it alike:
// one set of rules for H2SO4 and SO4 2-.
void TestLewis::agreesWithTheTable()
{
    // Drawn otherwise by the table, and why.
    const QHash<QString, QString> otherwise{
        // N=N=O: the rule puts O, the one element written once, in the middle.
        {u"N2O"_s, u"centre"_s},
    };
    QStringList excused;
    int compared = 0;
    QStringList differ;
    for (const Species &species : SpeciesTable::builtIn().species()) {
        if (species.smiles.contains(u'.'))
            continue;
        const QString formula = species.formulas.first();
        FormulaStructure worked;
        try {
            worked = workOutFormula(formula);
        } catch (const ChemistryError &) {
            continue;
        }
        const Molecule fromTable = moleculeFromSmiles(species.smiles);
        const Molecule fromFormula = moleculeFromStructure(worked.worked.structure());
        const QString table = drawnAtoms(fromTable, fromTable.components.front());
        const QString procedure = drawnAtoms(fromFormula, fromFormula.components.front());
        ++compared;
        if (table != procedure && !otherwise.contains(formula))
            differ << formula + u": table "_s + table + u", worked "_s + procedure;
        if (table != procedure && otherwise.contains(formula))
            excused << formula;
    }
    QVERIFY2(differ.isEmpty(), qPrintable(differ.join(u'\n')));
    QCOMPARE(excused, otherwise.keys());
    // Most of the table's one-part species are simple enough for the procedure.
    qInfo("%d species compared", compared);
    QVERIFY2(compared > 80, qPrintable(QString::number(compared)));
}

// Random formulas, counts, brackets, charges and junk: each is worked out or
// refused with a message, never a crash or a structure that does not add up.
void TestLewis::randomFormulas()
{
    static const QStringList kPieces{u"H"_s, u"C"_s, u"N"_s, u"O"_s, u"F"_s, u"S"_s, u"P"_s, u"Cl"_s,
        u"Br"_s, u"I"_s, u"Xe"_s, u"B"_s, u"Al"_s, u"Si"_s, u"Se"_s, u"Na"_s, u"Fe"_s, u"2"_s, u"3"_s,
        u"4"_s, u"6"_s, u"("_s, u")"_s, u"["_s, u"]"_s, u"+"_s, u"-"_s, u" 2-"_s, u"x"_s, u"·"_s, u"^"_s,
        u"₂"_s, u"⁻"_s};
    QRandomGenerator random(20261208);
    int worked = 0;
    for (int i = 0; i < 3000; ++i) {
        QString formula;
        const int pieces = 1 + int(random.bounded(7));
        for (int p = 0; p < pieces; ++p)
            formula += kPieces.at(random.bounded(int(kPieces.size())));
        try {
            const FormulaStructure f = workOutFormula(formula);
            const Molecule drawn = moleculeFromStructure(f.worked.structure());
            QVERIFY(!explainWorked(f.formula, f.worked, drawn).isEmpty());
            ++worked;
        } catch (const ChemistryError &e) {
            QVERIFY2(!e.message.isEmpty(), qPrintable(formula));
        }
    }
    QVERIFY2(worked > 100, qPrintable(QString::number(worked)));
}

QTEST_GUILESS_MAIN(TestLewis)
#include "tst_lewis.moc"
