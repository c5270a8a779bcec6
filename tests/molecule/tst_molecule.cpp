#include "Chemistry.h"
#include "Drawing.h"
#include "ElectronOrigins.h"
#include "Elements.h"
#include "Metrics.h"
#include "MarkPlaces.h"
#include "Molecule.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include <unistd.h>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

constexpr double kPi = 3.14159265358979323846;
const std::array kStyles{MarkStyle::Lewis, MarkStyle::Dots, MarkStyle::Bars};

QString styleName(MarkStyle style)
{
    switch (style) {
    case MarkStyle::Lewis: return u"lewis"_s;
    case MarkStyle::Dots: return u"dots"_s;
    case MarkStyle::Bars: return u"bars"_s;
    case MarkStyle::DotCross: return u"dot-cross"_s;
    case MarkStyle::Shape: return u"shape"_s;
    }
    return {};
}

// The species every picture test draws, with what a textbook shows for each,
// worked out by hand from the octet rule, not taken from the code.
//   atoms: "symbol:lone pairs/unpaired electrons/hydrogens" per heavy atom, in input order
//   bonds: "a-b=order" between heavy atoms (1-based); "~" is one of an aromatic ring's
//          single or double bonds, each ring atom getting exactly one double
//   electrons: valence electrons of one copy of each component, less its net charge, summed
//   components: net charge of each component drawn, "*N" for N neighbours drawn once
struct Species
{
    const char *name;
    QString smiles;
    QString atoms;
    QString bonds;
    int electrons;
    QString components;
};

const QList<Species> &speciesTable()
{
    static const QList<Species> table{
        {"water", u"O"_s, u"O:2/0/2"_s, {}, 8, u"0"_s},
        {"ammonia", u"N"_s, u"N:1/0/3"_s, {}, 8, u"0"_s},
        {"methane", u"C"_s, u"C:0/0/4"_s, {}, 8, u"0"_s},
        {"carbon dioxide", u"O=C=O"_s, u"O:2/0/0 C:0/0/0 O:2/0/0"_s, u"1-2=2 2-3=2"_s, 16, u"0"_s},
        {"nitrogen", u"N#N"_s, u"N:1/0/0 N:1/0/0"_s, u"1-2=3"_s, 10, u"0"_s},
        {"oxygen", u"O=O"_s, u"O:2/0/0 O:2/0/0"_s, u"1-2=2"_s, 12, u"0"_s},
        {"hydrogen cyanide", u"C#N"_s, u"C:0/0/1 N:1/0/0"_s, u"1-2=3"_s, 10, u"0"_s},
        {"ethylene", u"C=C"_s, u"C:0/0/2 C:0/0/2"_s, u"1-2=2"_s, 12, u"0"_s},
        {"acetylene", u"C#C"_s, u"C:0/0/1 C:0/0/1"_s, u"1-2=3"_s, 10, u"0"_s},
        {"hydrogen chloride", u"Cl"_s, u"Cl:3/0/1"_s, {}, 8, u"0"_s},
        {"chlorine", u"ClCl"_s, u"Cl:3/0/0 Cl:3/0/0"_s, u"1-2=1"_s, 14, u"0"_s},
        {"hydrogen peroxide", u"OO"_s, u"O:2/0/1 O:2/0/1"_s, u"1-2=1"_s, 14, u"0"_s},
        {"methanol", u"CO"_s, u"C:0/0/3 O:2/0/1"_s, u"1-2=1"_s, 14, u"0"_s},
        {"benzene", u"c1ccccc1"_s, u"C:0/0/1 C:0/0/1 C:0/0/1 C:0/0/1 C:0/0/1 C:0/0/1"_s,
            u"1-2~ 2-3~ 3-4~ 4-5~ 5-6~ 6-1~"_s, 30, u"0"_s},
        {"methyl radical", u"[CH3]"_s, u"C:0/1/3"_s, {}, 7, u"0"_s},
        {"ammonium", u"[NH4+]"_s, u"N:0/0/4"_s, {}, 8, u"+1"_s},
        {"hydronium", u"[OH3+]"_s, u"O:1/0/3"_s, {}, 8, u"+1"_s},
        {"hydroxide", u"[OH-]"_s, u"O:3/0/1"_s, {}, 8, u"-1"_s},
        {"cyanide", u"[C-]#N"_s, u"C:1/0/0 N:1/0/0"_s, u"1-2=3"_s, 10, u"-1"_s},
        {"nitrate", u"[O-][N+](=O)[O-]"_s, u"O:3/0/0 N:0/0/0 O:2/0/0 O:3/0/0"_s, u"1-2=1 2-3=2 2-4=1"_s, 24,
            u"-1"_s},
        {"sulfate", u"[O-]S(=O)(=O)[O-]"_s, u"O:3/0/0 S:0/0/0 O:2/0/0 O:2/0/0 O:3/0/0"_s,
            u"1-2=1 2-3=2 2-4=2 2-5=1"_s, 32, u"-2"_s},
        {"carbonate", u"C(=O)([O-])[O-]"_s, u"C:0/0/0 O:2/0/0 O:3/0/0 O:3/0/0"_s, u"1-2=2 1-3=1 1-4=1"_s, 24,
            u"-2"_s},
        {"chloride", u"[Cl-]"_s, u"Cl:4/0/0"_s, {}, 8, u"-1"_s},
        {"sodium chloride", u"[Na+].[Cl-]"_s, u"Na:0/0/0 Cl:4/0/0"_s, {}, 8, u"+1 -1"_s},
        {"two waters", u"O.O"_s, u"O:2/0/2"_s, {}, 8, u"0*2"_s},
        {"carbon-13 methane", u"[13CH4]"_s, u"C:0/0/4"_s, {}, 8, u"0"_s},
        {"nitromethane", u"C[N+](=O)[O-]"_s, u"C:0/0/3 N:0/0/0 O:2/0/0 O:3/0/0"_s, u"1-2=1 2-3=2 2-4=1"_s, 24,
            u"0"_s},
    };
    return table;
}

// The molecule, or the message why there is none.
Molecule parsed(const QString &smiles, QString &error)
{
    try {
        return moleculeFromSmiles(smiles);
    } catch (const ChemistryError &e) {
        error = e.message;
        return {};
    }
}

Drawing drawn(const Molecule &molecule, MarkStyle style, QString &error, float radius = 2,
    const MarkOptions &options = {})
{
    try {
        return layOutMolecule(molecule, testmetrics::measure, style, radius, options);
    } catch (const ChemistryError &e) {
        error = e.message;
        return {};
    }
}

// The molecule's atom that is the n-th (1-based) of the input.
int atomOfSource(const Molecule &m, int source)
{
    for (std::size_t i = 0; i < m.atoms.size(); ++i) {
        if (m.atoms[i].source == source)
            return int(i);
    }
    return -1;
}

int bondBetween(const Molecule &m, int a, int b)
{
    for (std::size_t i = 0; i < m.bonds.size(); ++i) {
        const Bond &bond = m.bonds[i];
        if ((bond.begin == a && bond.end == b) || (bond.begin == b && bond.end == a))
            return int(i);
    }
    return -1;
}

// Plain geometry, apart from the library's own.
double pointToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double l2 = QPointF::dotProduct(ab, ab);
    const double t = l2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / l2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

double segmentToSegment(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const auto side = [](QPointF o, QPointF p, QPointF q) {
        return (p.x() - o.x()) * (q.y() - o.y()) - (p.y() - o.y()) * (q.x() - o.x());
    };
    const double eps = 1e-9 * (QPointF::dotProduct(b - a, b - a) + QPointF::dotProduct(d - c, d - c));
    if (side(a, b, c) * side(a, b, d) < -eps * eps && side(c, d, a) * side(c, d, b) < -eps * eps)
        return 0;
    return std::min(
        {pointToSegment(a, c, d), pointToSegment(b, c, d), pointToSegment(c, a, b), pointToSegment(d, a, b)});
}

double segmentToRect(QPointF a, QPointF b, const QRectF &r)
{
    if (r.contains(a) || r.contains(b))
        return 0;
    const QPointF corners[] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    double best = 1e9;
    for (int i = 0; i < 4; ++i)
        best = std::min(best, segmentToSegment(a, b, corners[i], corners[(i + 1) % 4]));
    return best;
}

// A dot's diameter is 2 r, a stroke's its width.
struct Shape
{
    QPointF a, b;
    double radius;
    double diameter() const { return 2 * radius; }
};

// Each mark (a lone pair, a radical, a bond's shared dots, a bar) as shapes.
std::map<int, std::vector<Shape>> marksOf(const Drawing &d)
{
    std::map<int, std::vector<Shape>> marks;
    for (const PlacedDot &dot : d.dots)
        marks[dot.mark].push_back({dot.centre, dot.centre, dot.radius});
    for (const PlacedLine &line : d.lines) {
        if (line.kind == LineKind::LonePair)
            marks[line.mark].push_back({line.from, line.to, line.width / 2});
    }
    return marks;
}

QPointF middleOf(const std::vector<Shape> &shapes)
{
    QPointF sum;
    for (const Shape &s : shapes)
        sum += (s.a + s.b) / 2;
    return sum / double(shapes.size());
}

QPointF centreOfAtom(const Drawing &d, int atom)
{
    for (const PlacedText &t : d.texts) {
        if (t.role == TextRole::Symbol && t.atom == atom)
            return t.box().center();
    }
    return {};
}

double angleBetween(QPointF u, QPointF v)
{
    const double c = QPointF::dotProduct(u, v) / (std::hypot(u.x(), u.y()) * std::hypot(v.x(), v.y()));
    return std::acos(std::clamp(c, -1.0, 1.0));
}

int electronsDrawn(const Drawing &d)
{
    int electrons = int(d.dots.size());
    for (const PlacedLine &l : d.lines) {
        if (l.kind != LineKind::Bracket)
            electrons += 2;
    }
    return electrons;
}

QByteArray v3000Chain(int atoms)
{
    QByteArray mol = "\n  chain\n\n  0  0  0     0  0            999 V3000\nM  V30 BEGIN CTAB\n";
    mol += "M  V30 COUNTS " + QByteArray::number(atoms) + ' ' + QByteArray::number(atoms - 1) + " 0 0 0\n";
    mol += "M  V30 BEGIN ATOM\n";
    for (int i = 1; i <= atoms; ++i)
        mol += "M  V30 " + QByteArray::number(i) + " C " + QByteArray::number(i * 1.3, 'f', 2) + " 0 0 0\n";
    mol += "M  V30 END ATOM\nM  V30 BEGIN BOND\n";
    for (int i = 1; i < atoms; ++i) {
        mol += "M  V30 " + QByteArray::number(i) + " 1 " + QByteArray::number(i) + ' '
            + QByteArray::number(i + 1) + '\n';
    }
    mol += "M  V30 END BOND\nM  V30 END CTAB\nM  END\n";
    return mol;
}

// A V2000 molfile of the given atom and bond lines.
QByteArray v2000(const QList<QByteArray> &atoms, const QList<QByteArray> &bonds)
{
    QByteArray mol = "\n  test\n\n";
    mol += QByteArray::number(atoms.size()).rightJustified(3)
        + QByteArray::number(bonds.size()).rightJustified(3) + "  0  0  0  0  0  0  0  0999 V2000\n";
    for (const QByteArray &a : atoms)
        mol += a + '\n';
    for (const QByteArray &b : bonds)
        mol += b + '\n';
    mol += "M  END\n";
    return mol;
}

QByteArray atomLine(double x, double y, double z, const char *symbol)
{
    return QByteArray::number(x, 'f', 4).rightJustified(10) + QByteArray::number(y, 'f', 4).rightJustified(10)
        + QByteArray::number(z, 'f', 4).rightJustified(10) + ' ' + QByteArray(symbol).leftJustified(3)
        + " 0  0  0  0  0  0  0  0  0  0  0  0";
}

// Dot-and-cross pictures as a textbook draws them, worked out by hand: each
// atom brings its outer electrons, in its element's mark (given out dot,
// cross, ring ... in order of first appearance, hydrogens added last); a
// part made of one element alone takes turns with the next mark; a cation
// gives its outer electrons to the anion, where they keep the cation's mark;
// NH4+ is NH3 and an H+ that brings nothing, its pair both nitrogen's.
// Atoms are listed in the molecule's order: the input's, each part's
// hydrogens after it, a repeated part once.
//   marks: the mark of each atom's own electrons
//   brought: how many of the drawn electrons came from each atom; "out N" for
//            those from outside the picture, in `outside`'s mark
//   hosted: the lone-pair and unpaired electrons around each atom, by mark
//   dative: bonds whose pairs are all the donor's, "donor>acceptor"
struct DotCrossCase
{
    const char *name;
    QString smiles;
    QString marks;
    QString brought;
    QString hosted;
    QString dative;
};

const QList<DotCrossCase> &dotCrossTable()
{
    static const QList<DotCrossCase> table{
        // H: 1 each, one dotted and one crossed.
        {"hydrogen", u"[H][H]"_s, u"dot cross"_s, u"1 1"_s, u"- -"_s, {}},
        // Cl: 7, one pair shared, three pairs each.
        {"chlorine", u"ClCl"_s, u"dot cross"_s, u"7 7"_s, u"dot6 cross6"_s, {}},
        // N: 5, three shared, one pair each.
        {"nitrogen", u"N#N"_s, u"dot cross"_s, u"5 5"_s, u"dot2 cross2"_s, {}},
        // O: 6, two shared, two pairs each.
        {"oxygen", u"O=O"_s, u"dot cross"_s, u"6 6"_s, u"dot4 cross4"_s, {}},
        // Cl first, its hydrogen added after: Cl dots, H a cross.
        {"hydrogen chloride", u"Cl"_s, u"dot cross"_s, u"7 1"_s, u"dot6 -"_s, {}},
        {"water", u"O"_s, u"dot cross cross"_s, u"6 1 1"_s, u"dot4 - -"_s, {}},
        {"ammonia", u"N"_s, u"dot cross cross cross"_s, u"5 1 1 1"_s, u"dot2 - - -"_s, {}},
        {"methane", u"C"_s, u"dot cross cross cross cross"_s, u"4 1 1 1 1"_s, u"- - - - -"_s, {}},
        // C: 4, all shared; O: 6, two shared, two pairs.
        {"carbon dioxide", u"O=C=O"_s, u"dot cross dot"_s, u"6 4 6"_s, u"dot4 - dot4"_s, {}},
        // Carbon and hydrogen: not one element alone, so both carbons dot.
        {"ethene", u"C=C"_s, u"dot dot cross cross cross cross"_s, u"4 4 1 1 1 1"_s, u"- - - - - -"_s, {}},
        // C, N from the input, H added: a third mark.
        {"hydrogen cyanide", u"C#N"_s, u"dot cross ring"_s, u"4 5 1"_s, u"- cross2 -"_s, {}},
        // Na gives its one electron to Cl: 7 crosses and a dot.
        {"sodium chloride", u"[Na+].[Cl-]"_s, u"dot cross"_s, u"1 7"_s, u"- cross7+dot1"_s, {}},
        {"magnesium oxide", u"[Mg+2].[O-2]"_s, u"dot cross"_s, u"2 6"_s, u"- cross6+dot2"_s, {}},
        // One Cl− drawn for two: each holds one of calcium's two.
        {"calcium chloride", u"[Ca+2].[Cl-].[Cl-]"_s, u"dot cross"_s, u"1 7"_s, u"- cross7+dot1"_s, {}},
        // One Na+ drawn for two: each gave one of the oxide's two.
        {"sodium oxide", u"[Na+].[Na+].[O-2]"_s, u"dot cross"_s, u"2 6"_s, u"- cross6+dot2"_s, {}},
        {"aluminium oxide", u"[Al+3].[Al+3].[O-2].[O-2].[O-2]"_s, u"dot cross"_s, u"2 6"_s,
            u"- cross6+dot2"_s, {}},
        // N: 5, three shared with three H, two given to the H+ (the last).
        {"ammonium", u"[NH4+]"_s, u"dot cross cross cross cross"_s, u"5 1 1 1 0"_s, u"- - - - -"_s, u"0>4"_s},
        // No cation drawn: the gained electron from outside, in the next mark.
        {"chloride", u"[Cl-]"_s, u"dot"_s, u"7 out 1"_s, u"dot7+cross1"_s, {}},
        // Cations of two elements: which gave it is not said.
        {"two cations", u"[Na+].[K+].[Cl-].[Cl-]"_s, u"dot cross ring"_s, u"0 0 7 out 1"_s,
            u"- - ring7+square1"_s, {}},
        // N+ gives a pair to one O−; the other O− has one electron from outside.
        {"nitrate", u"[O-][N+](=O)[O-]"_s, u"dot cross dot dot"_s, u"6 5 6 6 out 1"_s,
            u"dot6 - dot4 dot5+ring1"_s, u"1>0"_s},
    };
    return table;
}

// "cross7+dot1" for the marks of some electrons, counted.
QString markCount(const std::vector<const PlacedDot *> &dots)
{
    if (dots.empty())
        return u"-"_s;
    std::map<MarkShape, int> count;
    std::vector<MarkShape> order;
    for (const PlacedDot *dot : dots) {
        if (count[dot->shape]++ == 0)
            order.push_back(dot->shape);
    }
    QStringList parts;
    std::sort(order.begin(), order.end(), [&](MarkShape a, MarkShape b) { return count[a] > count[b]; });
    for (const MarkShape shape : order)
        parts << markShapeName(shape) + QString::number(count[shape]);
    return parts.join(u'+');
}

} // namespace

class TestMolecule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void species_data();
    void species();
    void geometry_data();
    void geometry();
    void badInput_data();
    void badInput();
    void standardErrorStaysClean();
    void molfileCoordinates_data();
    void molfileCoordinates();
    void crossedMolfileIsLaidOutAnew();
    void dativeBondElectronsComeFromTheDonor();
    void componentsStandLeftToRight();
    void resonanceForms_data();
    void resonanceForms();
    void markPlaces_data();
    void markPlaces();
    void chargeText_data();
    void chargeText();
    void atomIon_data();
    void atomIon();
    void benchMoleculesAllDraw();
    void dotCross_data();
    void dotCross();
    void shells_data();
    void shells();
    void chosenMarks_data();
    void chosenMarks();
    void tooManyMarks();
    void shellsNeedDots();
};

void TestMolecule::species_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<MarkStyle>("style");
    for (qsizetype i = 0; i < speciesTable().size(); ++i) {
        for (const MarkStyle style : kStyles) {
            QTest::addRow("%s, %s", speciesTable()[i].name, qPrintable(styleName(style))) << int(i) << style;
        }
    }
}

// Marks per atom and per bond as the textbook rule gives them, in each style.
void TestMolecule::species()
{
    QFETCH(int, row);
    QFETCH(MarkStyle, style);
    const Species &s = speciesTable()[row];
    QString error;
    const Molecule m = parsed(s.smiles, error);
    const Drawing d = drawn(m, style, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    // Components: charges and counts.
    QStringList components;
    for (const Component &c : m.components) {
        QString text = c.charge > 0 ? u"+%1"_s.arg(c.charge) : QString::number(c.charge);
        if (c.count > 1)
            text += u"*%1"_s.arg(c.count);
        components << text;
    }
    QCOMPARE(components.join(u' '), s.components);

    int expectedDots = 0, expectedLines = 0;
    const QStringList atoms = s.atoms.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype k = 0; k < atoms.size(); ++k) {
        const QStringList parts = atoms[k].split(u':');
        const QStringList counts = parts[1].split(u'/');
        const int lonePairs = counts[0].toInt(), radicals = counts[1].toInt(), hydrogens = counts[2].toInt();
        const int atom = atomOfSource(m, int(k) + 1);
        QVERIFY2(atom >= 0, qPrintable(atoms[k]));
        QCOMPARE(m.atoms[std::size_t(atom)].symbol, parts[0]);

        int pairDots = 0, radicalDots = 0, bars = 0;
        std::set<int> pairMarks;
        for (const PlacedDot &dot : d.dots) {
            if (dot.atom == atom && dot.kind == DotKind::LonePair) {
                ++pairDots;
                pairMarks.insert(dot.mark);
            }
            if (dot.atom == atom && dot.kind == DotKind::Radical)
                ++radicalDots;
        }
        for (const PlacedLine &line : d.lines) {
            if (line.kind == LineKind::LonePair && line.atom == atom)
                ++bars;
        }
        QCOMPARE(radicalDots, radicals);
        if (style == MarkStyle::Bars) {
            QCOMPARE(bars, lonePairs);
            QCOMPARE(pairDots, 0);
        } else {
            QCOMPARE(pairDots, 2 * lonePairs);
            QCOMPARE(int(pairMarks.size()), lonePairs);
            QCOMPARE(bars, 0);
        }
        expectedDots += radicals + (style == MarkStyle::Bars ? 0 : 2 * lonePairs);
        expectedLines += style == MarkStyle::Bars ? lonePairs : 0;

        // Hydrogens: atoms of their own, one single bond each, drawn as one
        // line or as one shared pair with an electron from either atom.
        int found = 0;
        for (std::size_t b = 0; b < m.bonds.size(); ++b) {
            const Bond &bond = m.bonds[b];
            const int other = bond.begin == atom ? bond.end : bond.end == atom ? bond.begin : -1;
            if (other < 0 || m.atoms[std::size_t(other)].source != 0)
                continue;
            ++found;
            QCOMPARE(m.atoms[std::size_t(other)].symbol, u"H"_s);
            QCOMPARE(bond.order, 1);
        }
        QCOMPARE(found, hydrogens);
        expectedDots += style == MarkStyle::Dots ? 2 * hydrogens : 0;
        expectedLines += style == MarkStyle::Dots ? 0 : hydrogens;
    }

    std::map<int, int> doublesAt; // per atom, among the aromatic ring's bonds
    for (const QString &spec : s.bonds.split(u' ', Qt::SkipEmptyParts)) {
        static const QRegularExpression kBond(u"^(\\d+)-(\\d+)([=~])(\\d?)$"_s);
        const auto match = kBond.match(spec);
        QVERIFY2(match.hasMatch(), qPrintable(spec));
        const int a = atomOfSource(m, match.captured(1).toInt());
        const int b = atomOfSource(m, match.captured(2).toInt());
        const int index = bondBetween(m, a, b);
        QVERIFY2(index >= 0, qPrintable(spec));
        const Bond &bond = m.bonds[std::size_t(index)];
        if (match.captured(3) == u"~"_s) {
            QVERIFY2(bond.order == 1 || bond.order == 2, qPrintable(spec));
            if (bond.order == 2) {
                ++doublesAt[a];
                ++doublesAt[b];
            }
        } else {
            QCOMPARE(bond.order, match.captured(4).toInt());
        }
        int lines = 0, fromBegin = 0, fromEnd = 0;
        for (const PlacedLine &line : d.lines)
            lines += line.kind == LineKind::Bond && line.bond == index;
        for (const PlacedDot &dot : d.dots) {
            if (dot.kind == DotKind::Bond && dot.bond == index) {
                fromBegin += dot.atom == bond.begin;
                fromEnd += dot.atom == bond.end;
            }
        }
        if (style == MarkStyle::Dots) {
            QCOMPARE(lines, 0);
            QCOMPARE(fromBegin, bond.order);
            QCOMPARE(fromEnd, bond.order);
            expectedDots += 2 * bond.order;
        } else {
            QCOMPARE(lines, bond.order);
            QCOMPARE(fromBegin + fromEnd, 0);
            expectedLines += bond.order;
        }
    }
    for (const auto &[atom, doubles] : doublesAt)
        QCOMPARE(doubles, 1);

    // Nothing more than that is drawn, and the electrons add up.
    int lines = 0, brackets = 0;
    for (const PlacedLine &line : d.lines)
        (line.kind == LineKind::Bracket ? brackets : lines) += 1;
    QCOMPARE(int(d.dots.size()), expectedDots);
    QCOMPARE(lines, expectedLines);
    QCOMPARE(electronsDrawn(d), s.electrons);

    // Ions in brackets with their charge outside; formal charges at their
    // atoms in a neutral molecule, and in an ion where they are not the
    // ion's one charge again (nitrate's N+ and two O−, not ammonium's N+).
    int ions = 0;
    QStringList chargeTexts;
    for (const Component &c : m.components) {
        QStringList formal;
        for (const int a : c.atoms) {
            if (m.atoms[std::size_t(a)].charge != 0)
                formal << zembrel::chargeText(m.atoms[std::size_t(a)].charge);
        }
        if (c.atoms.size() > 1 && (c.charge == 0 || formal != QStringList{zembrel::chargeText(c.charge)}))
            chargeTexts << formal;
        if (c.charge != 0) {
            ++ions;
            chargeTexts << zembrel::chargeText(c.charge);
        }
    }
    QStringList drawnCharges;
    for (const PlacedText &t : d.texts) {
        if (t.role == TextRole::Charge)
            drawnCharges << t.text;
    }
    QCOMPARE(drawnCharges, chargeTexts);
    QCOMPARE(brackets, 6 * ions);
}

void TestMolecule::geometry_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<MarkStyle>("style");
    QTest::addColumn<bool>("shells");
    QTest::addColumn<float>("radius");
    const std::array<std::pair<MarkStyle, bool>, 6> modes{
        {{MarkStyle::Lewis, false}, {MarkStyle::Dots, false}, {MarkStyle::Bars, false},
            {MarkStyle::DotCross, false}, {MarkStyle::DotCross, true}, {MarkStyle::Dots, true}}};
    for (qsizetype i = 0; i < speciesTable().size(); ++i) {
        for (const auto &[style, shells] : modes) {
            for (const float radius : {0.5F, 2.0F, 10.0F}) {
                QTest::addRow("%s, %s%s, r %g", speciesTable()[i].name, qPrintable(styleName(style)),
                    shells ? ", shells" : "", double(radius))
                    << int(i) << style << shells << radius;
            }
        }
    }
}

// What a reader needs to see each electron: marks apart, clear of letters and
// bond lines, lone pairs away from the bonds, and nothing cut off.
void TestMolecule::geometry()
{
    QFETCH(int, row);
    QFETCH(MarkStyle, style);
    QFETCH(bool, shells);
    QFETCH(float, radius);
    QString error;
    const Molecule m = parsed(speciesTable()[row].smiles, error);
    MarkOptions options;
    options.shells = shells;
    const Drawing d = drawn(m, style, error, radius, options);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const double slack = 1e-3;
    const auto marks = marksOf(d);

    // No mark closer than its own diameter to another mark, to a text or to a line.
    for (auto x = marks.begin(); x != marks.end(); ++x) {
        for (auto y = std::next(x); y != marks.end(); ++y) {
            for (const Shape &a : x->second) {
                for (const Shape &b : y->second) {
                    const double gap = segmentToSegment(a.a, a.b, b.a, b.b) - a.radius - b.radius;
                    QVERIFY2(gap >= std::max(a.diameter(), b.diameter()) - slack,
                        qPrintable(u"marks %1 and %2 only %3 apart"_s.arg(x->first).arg(y->first).arg(gap)));
                }
            }
        }
        // Inside a mark the dots do not touch.
        for (std::size_t i = 0; i < x->second.size(); ++i) {
            for (std::size_t j = i + 1; j < x->second.size(); ++j) {
                const Shape &a = x->second[i], &b = x->second[j];
                QVERIFY(segmentToSegment(a.a, a.b, b.a, b.b) - a.radius - b.radius > 0);
            }
        }
        for (const Shape &s : x->second) {
            for (const PlacedText &t : d.texts) {
                const double gap = segmentToRect(s.a, s.b, t.box()) - s.radius;
                QVERIFY2(gap >= s.diameter() - slack,
                    qPrintable(u"mark %1 %2 from text %3"_s.arg(x->first).arg(gap).arg(t.text)));
            }
            for (const PlacedLine &l : d.lines) {
                if (l.kind == LineKind::LonePair)
                    continue;
                const double gap = segmentToSegment(s.a, s.b, l.from, l.to) - s.radius - l.width / 2;
                QVERIFY2(gap >= s.diameter() - slack,
                    qPrintable(u"mark %1 %2 from a %3 line"_s.arg(x->first).arg(gap).arg(svgClass(l.kind))));
            }
        }
    }

    // Every lone pair at least 30 degrees from each bond of its atom.
    for (const auto &[mark, shapes] : marks) {
        int atom = -1;
        for (const PlacedDot &dot : d.dots) {
            if (dot.mark == mark && dot.kind == DotKind::LonePair)
                atom = dot.host;
        }
        for (const PlacedLine &l : d.lines) {
            if (l.mark == mark && l.kind == LineKind::LonePair)
                atom = l.atom;
        }
        if (atom < 0)
            continue;
        const QPointF centre = centreOfAtom(d, atom);
        for (const Bond &bond : m.bonds) {
            if (bond.begin != atom && bond.end != atom)
                continue;
            const QPointF other = centreOfAtom(d, bond.begin == atom ? bond.end : bond.begin);
            const double angle = angleBetween(middleOf(shapes) - centre, other - centre);
            QVERIFY2(angle >= kPi / 6 - 1e-6,
                qPrintable(u"lone pair %1 at %2°"_s.arg(mark).arg(angle * 180 / kPi)));
        }
    }

    // Symbols apart from each other; everything inside the crop.
    for (std::size_t i = 0; i < d.texts.size(); ++i) {
        for (std::size_t j = i + 1; j < d.texts.size(); ++j)
            QVERIFY(!d.texts[i].box().intersects(d.texts[j].box()));
    }
    const QRectF crop = d.crop.adjusted(-slack, -slack, slack, slack);
    QCOMPARE(d.crop.topLeft(), QPointF(0, 0));
    for (const PlacedText &t : d.texts)
        QVERIFY(crop.contains(t.box()));
    for (const PlacedDot &dot : d.dots) {
        const double r = dot.radius;
        QVERIFY(crop.contains(QRectF(dot.centre - QPointF(r, r), QSizeF(2 * r, 2 * r))));
    }
    for (const PlacedLine &l : d.lines) {
        const double h = l.width / 2.0;
        QVERIFY(crop.contains(QRectF(l.from, l.to).normalized().adjusted(-h, -h, h, h)));
    }
    for (const PlacedShell &c : d.shells) {
        const double outer = c.radius + c.width / 2.0;
        QVERIFY(crop.contains(QRectF(c.centre - QPointF(outer, outer), QSizeF(2 * outer, 2 * outer))));
    }
}

void TestMolecule::badInput_data()
{
    QTest::addColumn<bool>("molfile");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("message");

    const auto smiles = [](const char *name, const QByteArray &text, const QStringList &message) {
        QTest::newRow(name) << false << text << message;
    };
    smiles("empty", "  ", {u"empty"_s});
    smiles("unclosed branch", "CC(C", {u"position 3"_s, u"extra open parentheses"_s});
    smiles("extra close", "CC)C", {u"position 3"_s, u"extra close parentheses"_s});
    smiles("unclosed ring", "C1CC", {u"position 2"_s, u"unclosed ring"_s});
    smiles("unknown element", "C[Xx]C", {u"position 3"_s, u"syntax error"_s});
    smiles("bond at the end", "CC=", {u"position 3"_s});
    smiles("two bonds", "C=#C", {u"position 3"_s});
    smiles("space", "C C", {u"position 2"_s, u"a space"_s});
    smiles("not ASCII", "C\xc3\x96", {u"position 2"_s, u"Ö"_s});
    smiles("transition metal", "[Fe+2]", {u"Atom 1 (Fe, position 1)"_s, u"main-group"_s});
    smiles("copper in a chain", "C[Cu]C", {u"Atom 2 (Cu, position 2)"_s, u"main-group"_s});
    smiles("wildcard", "*C", {u"Atom 1 (*, position 1)"_s, u"wildcard"_s});
    smiles("too many atoms", QByteArray(101, 'C'), {u"101 atoms"_s, u"at most 100"_s});
    smiles("too many with hydrogens", QByteArray(40, 'C'), {u"122 atoms with its hydrogens"_s});
    smiles("charge -99", "[O-99]", {u"Atom 1 (O, position 1)"_s, u"-99"_s});
    smiles("nitrogen past its octet", "CN(C)(C)(C)C", {u"Atom 2 (N, position 2): it would hold 10 electrons"_s});
    smiles("carbon past its octet", "[C-](F)(F)(F)(F)F", {u"Atom 1 (C, position 1): it would hold 10"_s});
    smiles("hydrogen past its shell", "C[H-]C", {u"Atom 2 (H, position 2)"_s, u"hold 4 electrons"_s});
    smiles("odd count, no radical", "N->B", {u"Atom 2 (B, position 4)"_s, u"do not add up"_s, u"leave 1"_s});
    smiles("negative count", "C->[O]", {u"Atom 1 (C, position 1)"_s, u"leave -2"_s});
    smiles("dative past the electrons", "[BH3-]->[BH3]", {u"Atom 1 (B, position 1)"_s, u"0 unpaired leave -1"_s});
    smiles("kekulé impossible", "c1cccc1", {u"aromatic atoms"_s, u"1 (C, position 1)"_s});
    smiles("very long", QByteArray(5000, 'C'), {u"5000 characters"_s, u"at most 1000"_s});
    QByteArray rings = "C";
    for (int i = 10; i < 100; ++i)
        rings += '%' + QByteArray::number(i);
    smiles("ninety open ring closures", rings, {u"position 2"_s, u"unclosed ring"_s});
    smiles("ring closures piled on two atoms", rings + 'C' + rings.mid(1), {u"SMILES"_s});

    const auto molfile = [](const char *name, const QByteArray &text, const QStringList &message) {
        QTest::newRow(name) << true << text << message;
    };
    molfile("empty molfile", "", {u"empty"_s});
    molfile("blank molfile", "\n\n\n", {u"empty"_s});
    molfile("garbage", "garbage\nfoo\n", {u"Molfile"_s, u"Counts line"_s});
    molfile("missing bond line",
        v2000({atomLine(0, 0, 0, "N"), atomLine(1, 0, 0, "C")}, {}).replace("  2  0", "  2  1"),
        {u"Molfile"_s, u"Bond line"_s});
    molfile("query atom", v2000({atomLine(0, 0, 0, "O"), atomLine(1.5, 0, 0, "Q")}, {"  1  2  1  0"}),
        {u"Atom 2 (*)"_s, u"query atom"_s});
    molfile("query bond", v2000({atomLine(0, 0, 0, "O"), atomLine(1.5, 0, 0, "C")}, {"  1  2  8  0"}),
        {u"Bond 1"_s, u"only single, double, triple"_s});
    molfile("iron", v2000({atomLine(0, 0, 0, "C"), atomLine(1.5, 0, 0, "Fe")}, {"  1  2  1  0"}),
        {u"Atom 2 (Fe)"_s, u"main-group"_s});
    molfile("3000 atoms", v3000Chain(3000), {u"3000 atoms"_s, u"at most 100"_s});
    molfile("too big", QByteArray(2 << 20, 'x'), {u"at most 1048576"_s});
}

// A message for each, naming what is wrong and where; never a crash.
void TestMolecule::badInput()
{
    QFETCH(bool, molfile);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, message);
    QString text;
    try {
        if (molfile)
            moleculeFromMolfile(input);
        else
            moleculeFromSmiles(QString::fromUtf8(input));
        QFAIL("accepted");
    } catch (const ChemistryError &e) {
        text = e.message;
    }
    for (const QString &part : message)
        QVERIFY2(text.contains(part), qPrintable(text));
}

// RDKit's log lines end in our messages, not on the terminal.
void TestMolecule::standardErrorStaysClean()
{
    QTemporaryFile captured;
    QVERIFY(captured.open());
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    QVERIFY(saved >= 0);
    QVERIFY(dup2(captured.handle(), STDERR_FILENO) >= 0);
    QStringList messages;
    for (const char *bad : {"CC((C", "C1CC", "CN(C)(C)(C)C", "c1cccc1", "CC)C"}) {
        try {
            moleculeFromSmiles(QString::fromLatin1(bad));
        } catch (const ChemistryError &e) {
            messages << e.message;
        }
    }
    for (const QByteArray &bad :
        {QByteArray("garbage\nfoo\n"), v3000Chain(3).replace("COUNTS 3", "COUNTS 4")}) {
        try {
            moleculeFromMolfile(bad);
        } catch (const ChemistryError &e) {
            messages << e.message;
        }
    }
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    QCOMPARE(messages.size(), 7);
    QVERIFY2(messages[0].contains(u"syntax error"_s), qPrintable(messages[0]));
    QCOMPARE(captured.readAll(), QByteArray());
}

void TestMolecule::molfileCoordinates_data()
{
    QTest::addColumn<QByteArray>("molfile");
    QTest::addColumn<bool>("relayout");
    QTest::addColumn<bool>("kept"); // the file's right angle H-O-H

    const auto water = [](double z, double scale) {
        return v2000({atomLine(0, 0, 0, "O"), atomLine(scale, 0, 0, "H"), atomLine(0, scale, z, "H")},
            {"  1  2  1  0", "  1  3  1  0"});
    };
    QTest::newRow("own 2D coordinates kept") << water(0, 0.96) << false << true;
    QTest::newRow("relayout") << water(0, 0.96) << true << false;
    QTest::newRow("3D laid out anew") << water(0.8, 0.96) << false << false;
    QTest::newRow("no coordinates") << water(0, 0) << false << false;
}

void TestMolecule::molfileCoordinates()
{
    QFETCH(QByteArray, molfile);
    QFETCH(bool, relayout);
    QFETCH(bool, kept);
    const Molecule m = moleculeFromMolfile(molfile, relayout);
    QCOMPARE(m.atoms.size(), std::size_t(3));
    QCOMPARE(m.atoms[0].lonePairs, 2);
    const QPointF o = m.atoms[0].position;
    const double angle = angleBetween(m.atoms[1].position - o, m.atoms[2].position - o) * 180 / kPi;
    if (kept)
        QVERIFY2(std::abs(angle - 90) < 1e-6, qPrintable(QString::number(angle)));
    else
        QVERIFY2(angle > 100, qPrintable(QString::number(angle)));
    // In bond lengths.
    QVERIFY(
        std::abs(std::hypot(m.atoms[1].position.x() - o.x(), m.atoms[1].position.y() - o.y()) - 1) < 1e-6);
    QString error;
    QCOMPARE(electronsDrawn(drawn(m, MarkStyle::Lewis, error)), 8);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// Butane drawn in the file with its first and last bonds across each other:
// the file's drawing cannot show the electrons, so the chain is laid out anew.
void TestMolecule::crossedMolfileIsLaidOutAnew()
{
    const QByteArray crossed = v2000({atomLine(0, 0, 0, "C"), atomLine(1.5, 1.5, 0, "C"),
                                         atomLine(1.5, 0, 0, "C"), atomLine(0, 1.5, 0, "C")},
        {"  1  2  1  0", "  2  3  1  0", "  3  4  1  0"});
    const Molecule m = moleculeFromMolfile(crossed);
    const auto at = [&](int source) { return m.atoms[std::size_t(atomOfSource(m, source))].position; };
    QCOMPARE(segmentToSegment(at(1), at(2), at(3), at(4)) > 0.5, true);
    QString error;
    QCOMPARE(electronsDrawn(drawn(m, MarkStyle::Dots, error)), 26);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// RDKit reads few dative bonds between main-group atoms, so the molecule is
// built by hand: H3N→BH3, whose shared pair is all nitrogen's.
void TestMolecule::dativeBondElectronsComeFromTheDonor()
{
    Molecule m;
    const auto add = [&](const char *symbol, int outer, int lonePairs, QPointF at) {
        Atom a;
        a.symbol = QString::fromLatin1(symbol);
        a.outer = outer;
        a.lonePairs = lonePairs;
        a.position = at;
        m.atoms.push_back(a);
        return int(m.atoms.size()) - 1;
    };
    Component c;
    const int n = add("N", 5, 0, {0, 0}), b = add("B", 3, 0, {1, 0});
    m.bonds.push_back({n, b, 1, true});
    for (const auto &[owner, dx] : {std::pair{n, -1.0}, std::pair{b, 1.0}}) {
        for (const double dy : {-1.0, 0.0, 1.0}) {
            const QPointF at
                = m.atoms[std::size_t(owner)].position + QPointF(dy == 0 ? dx : dx * 0.5, dy * 0.87);
            m.bonds.push_back({owner, add("H", 1, 0, at), 1, false});
        }
    }
    for (int i = 0; i < int(m.atoms.size()); ++i)
        c.atoms.push_back(i);
    for (int i = 0; i < int(m.bonds.size()); ++i)
        c.bonds.push_back(i);
    m.components.push_back(c);

    QString error;
    const Drawing d = drawn(m, MarkStyle::Dots, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    int fromN = 0, fromB = 0;
    for (const PlacedDot &dot : d.dots) {
        if (dot.bond == 0) {
            fromN += dot.atom == n;
            fromB += dot.atom == b;
        }
    }
    QCOMPARE(fromN, 2);
    QCOMPARE(fromB, 0);
    QCOMPARE(electronsDrawn(d), 14);
}

void TestMolecule::componentsStandLeftToRight()
{
    QString error;
    const Molecule m = parsed(u"[Na+].[Na+].[O-2].O"_s, error);
    QCOMPARE(m.components.size(), std::size_t(3));
    QCOMPARE(m.components[0].count, 2);
    const Drawing d = drawn(m, MarkStyle::Lewis, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList order;
    std::vector<const PlacedText *> texts;
    for (const PlacedText &t : d.texts)
        texts.push_back(&t);
    std::sort(texts.begin(), texts.end(), [](auto *a, auto *b) { return a->topLeft.x() < b->topLeft.x(); });
    for (const PlacedText *t : texts) {
        if (t->role != TextRole::Symbol || t->text != u"H"_s)
            order << t->text;
    }
    QCOMPARE(order.join(u' '), u"2 Na + O 2− O"_s);
    // One middle line: the symbols of the ions and of water stand level.
    double y = -1;
    for (const PlacedText &t : d.texts) {
        if (t.role == TextRole::Symbol && t.text != u"H"_s) {
            if (y < 0)
                y = t.box().center().y();
            QCOMPARE(t.box().center().y(), y);
        }
    }
}

void TestMolecule::resonanceForms_data()
{
    // Per form: the orders of the bonds between heavy atoms in input order,
    // and the heavy atoms' charges, worked by moving one pair at a time.
    QTest::addColumn<QString>("smiles");
    QTest::addColumn<QStringList>("forms"); // the given one first
    QTest::addRow("nitrate") << u"[O-][N+](=O)[O-]"_s
                             << QStringList{u"1 2 1 | -1 1 0 -1"_s, u"2 1 1 | 0 1 -1 -1"_s, u"1 1 2 | -1 1 -1 0"_s};
    QTest::addRow("carbonate") << u"[O-]C([O-])=O"_s
                               << QStringList{u"1 1 2 | -1 0 -1 0"_s, u"2 1 1 | 0 0 -1 -1"_s, u"1 2 1 | -1 0 0 -1"_s};
    QTest::addRow("ozone") << u"O=[O+][O-]"_s << QStringList{u"2 1 | 0 1 -1"_s, u"1 2 | -1 1 0"_s};
    QTest::addRow("acetate") << u"CC(=O)[O-]"_s << QStringList{u"1 2 1 | 0 0 0 -1"_s, u"1 1 2 | 0 0 -1 0"_s};
    QTest::addRow("nitrite") << u"O=N[O-]"_s << QStringList{u"2 1 | 0 0 -1"_s, u"1 2 | -1 0 0"_s};
    QTest::addRow("benzene, two Kekulé forms")
        << u"C1=CC=CC=C1"_s << QStringList{u"2 1 2 1 2 1 | 0 0 0 0 0 0"_s, u"1 2 1 2 1 2 | 0 0 0 0 0 0"_s};
    // Expanded octets are not among RDKit's forms: one form, as given.
    QTest::addRow("sulfate") << u"[O-]S(=O)(=O)[O-]"_s << QStringList{u"1 2 2 1 | -1 0 0 0 -1"_s};
    QTest::addRow("water") << u"O"_s << QStringList{u" | 0"_s};
}

// Each form a component of its own, in order after the given one, with the
// same atoms at the same places and the ion's charge; the lone pairs follow
// the charges (an O− has three, an =O two).
void TestMolecule::resonanceForms()
{
    QFETCH(QString, smiles);
    QFETCH(QStringList, forms);
    const Molecule m = moleculeFromSmiles(smiles, Reading{MoleculeLayout::Textbook, true});
    QCOMPARE(m.components.size(), std::size_t(forms.size()));
    QStringList found;
    for (const Component &c : m.components) {
        QCOMPARE(c.forms, int(forms.size()));
        QCOMPARE(c.charge, m.components.front().charge);
        QCOMPARE(c.atoms.size(), m.components.front().atoms.size());
        QStringList orders, charges;
        for (const int b : c.bonds) {
            const Bond &bond = m.bonds[std::size_t(b)];
            if (m.atoms[std::size_t(bond.begin)].element != 1 && m.atoms[std::size_t(bond.end)].element != 1)
                orders << QString::number(bond.order);
        }
        for (std::size_t k = 0; k < c.atoms.size(); ++k) {
            const Atom &atom = m.atoms[std::size_t(c.atoms[k])];
            QCOMPARE(atom.position, m.atoms[std::size_t(m.components.front().atoms[k])].position);
            if (atom.element == 1)
                continue;
            charges << QString::number(atom.charge);
            if (atom.element == 8 && atom.radicals == 0)
                QCOMPARE(atom.lonePairs, atom.charge == -1 ? 3 : atom.charge == 1 ? 1 : 2);
        }
        found << orders.join(u' ') + u" | "_s + charges.join(u' ');
    }
    QCOMPARE(found.front(), forms.front());
    found.sort();
    forms.sort();
    QCOMPARE(found, forms);
}

// Where an atom's lone pairs go, and its charge, worked out by hand from the
// rules a textbook follows; angles in degrees, y down (-90 is up).
void TestMolecule::markPlaces_data()
{
    QTest::addColumn<QList<int>>("bonds");
    QTest::addColumn<QList<int>>("near"); // atoms not bonded, close by
    QTest::addColumn<int>("groups");
    QTest::addColumn<QList<QList<int>>>("expected"); // the marks, any one of these sets
    QTest::addColumn<int>("charge"); // where a charge goes first, with those marks
    using L = QList<int>;
    using Sets = QList<QList<int>>;
    QTest::newRow("alone: right, top, left, bottom") << L{} << L{} << 4 << Sets{{0, -90, 180, 90}} << -45;
    QTest::newRow("water: above and below") << L{180, 0} << L{} << 2 << Sets{{-90, 90}} << -45;
    QTest::newRow("ammonia: on top") << L{180, 0, 90} << L{} << 1 << Sets{{-90}} << -45;
    QTest::newRow("HCN's N: straight on") << L{180} << L{} << 1 << Sets{{0}} << -45;
    QTest::newRow("formaldehyde's O: either side") << L{180} << L{} << 2 << Sets{{-90, 90}} << -45;
    QTest::newRow("=O above its carbon") << L{90} << L{} << 2 << Sets{{180, 0}} << -45;
    QTest::newRow("chlorine at an end") << L{180} << L{} << 3 << Sets{{-90, 0, 90}} << -45;
    QTest::newRow("=O with a hydrogen beside it") << L{90} << L{180} << 2 << Sets{{-90, 0}} << -45;
    // Both sides taken by the NH2 hydrogens: in the gap above, 30 degrees
    // either side of the top; the upper corners beside those marks, so a
    // charge would go lower right.
    QTest::newRow("urea's =O") << L{90} << L{180, 0} << 2 << Sets{{-120, -60}} << 45;
    QTest::newRow("XeF4: opposite diagonals") << L{180, 0, -90, 90} << L{} << 2
                                              << Sets{{-45, 135}, {45, -135}} << -1;
    QTest::newRow("SF4: upper right") << L{180, 0, -90, 90} << L{} << 1 << Sets{{-45}} << -135;
    QTest::newRow("ClF3: either side of the top") << L{180, 0, 90} << L{} << 2 << Sets{{-120, -60}} << 45;
    QTest::newRow("I3-: two above, one below") << L{180, 0} << L{} << 3 << Sets{{-120, -60, 90}} << 45;
    QTest::newRow("ozone's middle: on top") << L{180, 0} << L{} << 1 << Sets{{-90}} << -45;
    // Acetic acid's =O in dots with shells: near circles all round below;
    // the narrow gaps between them hold no mark and must not rank the
    // share-outs, which put a pair 22 degrees from the bond when they did.
    QTest::newRow("=O among near circles") << L{90} << L{27, 45, 117, 135, 153, 180} << 2 << Sets{{-111, -42}}
                                           << 45;
}

void TestMolecule::markPlaces()
{
    QFETCH(QList<int>, bonds);
    QFETCH(QList<int>, near);
    QFETCH(int, groups);
    QFETCH(QList<QList<int>>, expected);
    QFETCH(int, charge);
    const auto radians = [](const QList<int> &degrees) {
        std::vector<double> result;
        for (const int d : degrees)
            result.push_back(d * kPi / 180);
        return result;
    };
    const std::vector<double> marks = markDirections(radians(bonds), radians(near), groups);
    QList<int> got;
    for (const double m : marks)
        got << int(std::lround(std::remainder(m * 180 / kPi, 360.0)));
    std::sort(got.begin(), got.end());
    bool found = false;
    for (QList<int> set : expected) {
        for (int &d : set)
            d = int(std::remainder(d, 360.0));
        std::sort(set.begin(), set.end());
        found = found || set == got;
    }
    QStringList shown;
    for (const int d : got)
        shown << QString::number(d);
    QVERIFY2(found, qPrintable(u"marks at %1"_s.arg(shown.join(u' '))));
    // Where every corner is taken the charge goes to the widest gap: not checked here.
    if (charge == -1)
        return;
    const double first = chargeDirections(radians(bonds), marks).front();
    QCOMPARE(int(std::lround(first * 180 / kPi)), charge);
}

void TestMolecule::chargeText_data()
{
    QTest::addColumn<int>("charge");
    QTest::addColumn<QString>("text");
    QTest::newRow("+1") << 1 << u"+"_s;
    QTest::newRow("-1") << -1 << u"\u2212"_s;
    QTest::newRow("+2") << 2 << u"2+"_s;
    QTest::newRow("-3") << -3 << u"3\u2212"_s;
}

void TestMolecule::chargeText()
{
    QFETCH(int, charge);
    QFETCH(QString, text);
    QCOMPARE(zembrel::chargeText(charge), text);
}

void TestMolecule::atomIon_data()
{
    QTest::addColumn<int>("charge");
    QTest::addColumn<float>("radius");
    QTest::addColumn<bool>("valid");
    QTest::newRow("Na+ at r 2") << 1 << 2.0F << true;
    QTest::newRow("O2- at r 0.5") << -2 << 0.5F << true;
    QTest::newRow("8+ at r 10") << 8 << 10.0F << true;
    QTest::newRow("charge 0") << 0 << 2.0F << false;
    QTest::newRow("charge 9") << 9 << 2.0F << false;
    QTest::newRow("charge -9") << -9 << 2.0F << false;
}

// The atom picture's crop grows to hold the brackets and the charge at their
// upper right; the picture inside keeps its room.
void TestMolecule::atomIon()
{
    QFETCH(int, charge);
    QFETCH(float, radius);
    QFETCH(bool, valid);
    // The atom picture's crop for a symbol box at (40, 30), 37 x 32.4.
    const double r = radius;
    const QRectF atomCrop(40 - r * 3 - 1, 30 - (r + r) - 1, r * 6 + 37 + 2, r * 3 + 32.39 + 4);
    try {
        const IonFrame frame = ionFrame(atomCrop, charge, testmetrics::measure, radius);
        QVERIFY(valid);
        QVERIFY(frame.crop.contains(atomCrop));
        QCOMPARE(frame.charge.text, zembrel::chargeText(charge));
        QCOMPARE(frame.charge.role, TextRole::Charge);
        QVERIFY(frame.crop.contains(frame.charge.box()));
        QCOMPARE(frame.brackets.size(), std::size_t(6));
        double rightmost = 0, top = 1e9;
        for (const PlacedLine &l : frame.brackets) {
            QCOMPARE(l.kind, LineKind::Bracket);
            const double h = l.width / 2.0;
            QVERIFY(frame.crop.contains(QRectF(l.from, l.to).normalized().adjusted(-h, -h, h, h)));
            // Outside the atom picture's ink (its crop less the margins).
            QVERIFY(segmentToRect(l.from, l.to, atomCrop.adjusted(1, 1, -(r + 1), -3)) - h >= 2 * r - 1e-6);
            rightmost = std::max(rightmost, std::max(l.from.x(), l.to.x()));
            top = std::min(top, std::min(l.from.y(), l.to.y()));
        }
        // Upper right, outside the brackets.
        QVERIFY(frame.charge.topLeft.x() > rightmost);
        QVERIFY(frame.charge.box().top() < top && frame.charge.box().bottom() > top);
    } catch (const ChemistryError &e) {
        QVERIFY2(!valid, qPrintable(e.message));
    }
}

// The benchmark's 1,000 molecules: each parses, is drawn, and its electrons add up.
void TestMolecule::benchMoleculesAllDraw()
{
    QFile file(QStringLiteral(ZEMBREL_BENCH_MOLECULES));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int lines = 0;
    while (!file.atEnd()) {
        const QString smiles = QString::fromUtf8(file.readLine()).trimmed();
        ++lines;
        try {
            const Molecule m = moleculeFromSmiles(smiles);
            int valence = 0;
            for (const Component &c : m.components) {
                // None of these has two ring systems, and all fit the square
                // grid: a layout that gives up on one has lost its way.
                QVERIFY2(c.textbook, qPrintable(u"line %1, %2: not laid out as a textbook"_s.arg(lines).arg(smiles)));
                for (const int a : c.atoms)
                    valence += m.atoms[std::size_t(a)].outer;
                valence -= c.charge;
            }
            const Drawing d = layOutMolecule(m, testmetrics::measure, MarkStyle::Lewis);
            QVERIFY2(electronsDrawn(d) == valence, qPrintable(smiles));
        } catch (const ChemistryError &e) {
            QFAIL(qPrintable(u"line %1, %2: %3"_s.arg(lines).arg(smiles, e.message)));
        }
    }
    QCOMPARE(lines, 1000);
    // bench_molecule's: a ring with a branched chain on each side, whose
    // layout once ran out of tries and fell back.
    QVERIFY(moleculeFromSmiles(u"CC(C)Cc1ccc(cc1)C(C)C(=O)OCCN(C)C"_s).components.front().textbook);
}

void TestMolecule::dotCross_data()
{
    QTest::addColumn<int>("row");
    for (qsizetype i = 0; i < dotCrossTable().size(); ++i)
        QTest::newRow(dotCrossTable()[i].name) << int(i);
}

// Who gave each electron and how it is marked, against the textbook rule.
void TestMolecule::dotCross()
{
    QFETCH(int, row);
    const DotCrossCase &c = dotCrossTable()[row];
    QString error;
    const Molecule m = parsed(c.smiles, error);
    const Drawing d = drawn(m, MarkStyle::DotCross, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QStringList marks = c.marks.split(u' '), brought = c.brought.split(u' '),
                      hosted = c.hosted.split(u' ');
    QCOMPARE(qsizetype(m.atoms.size()), marks.size());
    QCOMPARE(hosted.size(), marks.size());

    for (std::size_t i = 0; i < m.atoms.size(); ++i) {
        int from = 0;
        std::vector<const PlacedDot *> around;
        for (const PlacedDot &dot : d.dots) {
            if (dot.atom == int(i)) {
                ++from;
                QCOMPARE(markShapeName(dot.shape), marks[qsizetype(i)]);
            }
            if (dot.host == int(i))
                around.push_back(&dot);
        }
        QCOMPARE(QString::number(from), brought[qsizetype(i)]);
        QCOMPARE(markCount(around), hosted[qsizetype(i)]);
    }
    const qsizetype outAt = brought.indexOf(u"out"_s);
    const int fromOutside = int(std::count_if(
        d.dots.begin(), d.dots.end(), [](const PlacedDot &dot) { return dot.atom == kFromOutside; }));
    QCOMPARE(fromOutside, outAt < 0 ? 0 : brought[outAt + 1].toInt());

    // Each pair of a bond holds one electron of each atom, each on its own
    // atom's side; a dative bond's pair is all the donor's.
    const QStringList dative = c.dative.split(u' ', Qt::SkipEmptyParts);
    for (std::size_t b = 0; b < m.bonds.size(); ++b) {
        const Bond &bond = m.bonds[b];
        std::vector<QPointF> fromBegin, fromEnd;
        int others = 0;
        for (const PlacedDot &dot : d.dots) {
            if (dot.bond != int(b))
                continue;
            QCOMPARE(dot.kind, DotKind::Bond);
            if (dot.atom == bond.begin)
                fromBegin.push_back(dot.centre);
            else if (dot.atom == bond.end)
                fromEnd.push_back(dot.centre);
            else
                ++others;
        }
        QCOMPARE(others, 0);
        if (dative.contains(u"%1>%2"_s.arg(bond.begin).arg(bond.end))) {
            QCOMPARE(int(fromBegin.size()), 2 * bond.order);
            QCOMPARE(int(fromEnd.size()), 0);
            // The H+ of NH4+ is the hydrogen drawn above the nitrogen.
            if (m.atoms[std::size_t(bond.end)].element == 1)
                QVERIFY(centreOfAtom(d, bond.end).y() < centreOfAtom(d, bond.begin).y());
            continue;
        }
        if (dative.contains(u"%1>%2"_s.arg(bond.end).arg(bond.begin))) {
            QCOMPARE(int(fromBegin.size()), 0);
            QCOMPARE(int(fromEnd.size()), 2 * bond.order);
            continue;
        }
        QCOMPARE(int(fromBegin.size()), bond.order);
        QCOMPARE(int(fromEnd.size()), bond.order);
        const QPointF a = centreOfAtom(d, bond.begin), z = centreOfAtom(d, bond.end);
        const QPointF axis = (z - a) / std::hypot(z.x() - a.x(), z.y() - a.y());
        double farthestOfBegin = -1e9, nearestOfEnd = 1e9;
        for (const QPointF &p : fromBegin)
            farthestOfBegin = std::max(farthestOfBegin, QPointF::dotProduct(p - a, axis));
        for (const QPointF &p : fromEnd)
            nearestOfEnd = std::min(nearestOfEnd, QPointF::dotProduct(p - a, axis));
        QVERIFY2(farthestOfBegin < nearestOfEnd, qPrintable(u"bond %1"_s.arg(b)));
    }
}

void TestMolecule::shells_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<MarkStyle>("style");
    QTest::addColumn<float>("radius");
    for (qsizetype i = 0; i < dotCrossTable().size(); ++i) {
        for (const MarkStyle style : {MarkStyle::DotCross, MarkStyle::Dots}) {
            for (const float radius : {0.5F, 2.0F, 10.0F}) {
                QTest::addRow(
                    "%s, %s, r %g", dotCrossTable()[i].name, qPrintable(styleName(style)), double(radius))
                    << int(i) << style << radius;
            }
        }
    }
}

// Each atom's outer shell a circle with its own electrons on it; bonded
// atoms' circles overlap around their shared pairs; no bond lines.
void TestMolecule::shells()
{
    QFETCH(int, row);
    QFETCH(MarkStyle, style);
    QFETCH(float, radius);
    QString error;
    const Molecule m = parsed(dotCrossTable()[row].smiles, error);
    MarkOptions options;
    options.shells = true;
    const Drawing d = drawn(m, style, error, radius, options);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    for (const PlacedLine &l : d.lines)
        QVERIFY(l.kind != LineKind::Bond);

    // A circle for each atom with an electron drawn, none for a cation left bare.
    std::map<int, const PlacedShell *> shellOf;
    for (const PlacedShell &c : d.shells) {
        QVERIFY(!shellOf.count(c.atom));
        shellOf[c.atom] = &c;
        QCOMPARE(c.radius, d.shells.front().radius);
    }
    for (std::size_t i = 0; i < m.atoms.size(); ++i) {
        const bool electrons = std::any_of(d.dots.begin(), d.dots.end(), [&](const PlacedDot &dot) {
            return dot.host == int(i)
                || (dot.bond >= 0
                    && (m.bonds[std::size_t(dot.bond)].begin == int(i)
                        || m.bonds[std::size_t(dot.bond)].end == int(i)));
        });
        QCOMPARE(shellOf.count(int(i)) == 1, electrons);
    }

    const auto distanceTo = [](const PlacedDot &dot, const PlacedShell &c) {
        return std::hypot(dot.centre.x() - c.centre.x(), dot.centre.y() - c.centre.y());
    };
    for (const PlacedDot &dot : d.dots) {
        for (const PlacedShell &c : d.shells) {
            const double at = distanceTo(dot, c);
            const double outside = c.radius + c.width / 2.0, inside = c.radius - c.width / 2.0;
            if (dot.host == c.atom) {
                QVERIFY2(std::abs(at - c.radius) <= radius / 2.0,
                    qPrintable(u"atom %1: %2 from its circle"_s.arg(c.atom).arg(at - c.radius)));
            } else if (dot.bond >= 0
                && (m.bonds[std::size_t(dot.bond)].begin == c.atom
                    || m.bonds[std::size_t(dot.bond)].end == c.atom)) {
                QVERIFY2(at + dot.radius <= inside,
                    qPrintable(
                        u"bond %1: a shared electron not inside the circle of atom %2"_s.arg(dot.bond).arg(
                            c.atom)));
            } else {
                QVERIFY2(at - dot.radius >= outside,
                    qPrintable(
                        u"an electron of atom %1 or bond %2 inside the circle of atom %3"_s.arg(dot.host)
                            .arg(dot.bond)
                            .arg(c.atom)));
            }
        }
    }
    // No two marks touch.
    for (std::size_t x = 0; x < d.dots.size(); ++x) {
        for (std::size_t y = x + 1; y < d.dots.size(); ++y) {
            const QPointF gap = d.dots[x].centre - d.dots[y].centre;
            QVERIFY(std::hypot(gap.x(), gap.y()) > d.dots[x].radius + d.dots[y].radius);
        }
    }
    // Circles of atoms not bonded stay apart; every symbol lies wholly inside
    // or wholly outside each circle, its own inside.
    for (const PlacedShell &c : d.shells) {
        for (const PlacedShell &other : d.shells) {
            if (&other != &c && bondBetween(m, c.atom, other.atom) < 0) {
                QVERIFY(std::hypot(c.centre.x() - other.centre.x(), c.centre.y() - other.centre.y())
                    >= 2 * c.radius + c.width);
            }
        }
        for (const PlacedText &t : d.texts) {
            const QRectF box = t.box();
            double nearest = 1e9, farthest = 0;
            for (const QPointF &corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
                farthest
                    = std::max(farthest, std::hypot(corner.x() - c.centre.x(), corner.y() - c.centre.y()));
            const double dx = std::max({box.left() - c.centre.x(), 0.0, c.centre.x() - box.right()});
            const double dy = std::max({box.top() - c.centre.y(), 0.0, c.centre.y() - box.bottom()});
            nearest = std::hypot(dx, dy);
            const bool inside = farthest < c.radius - c.width / 2.0;
            QVERIFY(inside || nearest > c.radius + c.width / 2.0);
            if (t.role == TextRole::Symbol && t.atom == c.atom)
                QVERIFY(inside);
        }
    }
}

void TestMolecule::chosenMarks_data()
{
    QTest::addColumn<QString>("smiles");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("marks"); // of each atom's own electrons
    QTest::addColumn<QString>("hosted");
    QTest::newRow("water, O crosses and H dots")
        << u"O"_s << u"O=cross H=dot"_s << u"cross dot dot"_s << u"cross4 - -"_s;
    // The other chlorine takes the first mark left: the dot.
    QTest::newRow("chlorine in crosses") << u"ClCl"_s << u"Cl=cross"_s << u"cross dot"_s << u"cross6 dot6"_s;
    // Na takes the first mark left, and so does its electron on Cl.
    QTest::newRow("sodium chloride, Cl dots")
        << u"[Na+].[Cl-]"_s << u"Cl=dot"_s << u"cross dot"_s << u"- dot7+cross1"_s;
    // A mark chosen for an element not drawn keeps nothing from the others.
    QTest::newRow("water, N a ring") << u"O"_s << u"N=ring"_s << u"dot cross cross"_s << u"dot4 - -"_s;
    QTest::newRow("one mark for two")
        << u"O"_s << u"O=ring H=ring"_s << u"ring ring ring"_s << u"ring4 - -"_s;
}

// --marks as the picture takes it: chosen marks first, the others in order.
void TestMolecule::chosenMarks()
{
    QFETCH(QString, smiles);
    QFETCH(QString, chosen);
    QFETCH(QString, marks);
    QFETCH(QString, hosted);
    MarkOptions options;
    for (const QString &pair : chosen.split(u' ')) {
        const std::optional<MarkShape> shape = markShapeNamed(pair.section(u'=', 1));
        QVERIFY(shape);
        options.marks[atomicNumber(pair.section(u'=', 0, 0))] = *shape;
    }
    QString error;
    const Molecule m = parsed(smiles, error);
    const Drawing d = drawn(m, MarkStyle::DotCross, error, 2, options);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList own, around;
    for (std::size_t i = 0; i < m.atoms.size(); ++i) {
        QString mark = u"?"_s;
        std::vector<const PlacedDot *> at;
        for (const PlacedDot &dot : d.dots) {
            if (dot.atom == int(i))
                mark = markShapeName(dot.shape);
            if (dot.host == int(i))
                at.push_back(&dot);
        }
        own << mark;
        around << markCount(at);
    }
    QCOMPARE(own.join(u' '), marks);
    QCOMPARE(around.join(u' '), hosted);
}

// Six elements cannot be told apart by five marks: a message, not a wrong picture.
void TestMolecule::tooManyMarks()
{
    QString error;
    const Molecule m = parsed(u"NC(=O)S(=O)(=O)Cl"_s, error);
    QVERIFY(drawn(m, MarkStyle::DotCross, error).dots.empty());
    QVERIFY2(error.contains(u"6 different marks"_s) && error.contains(u"there are 5"_s), qPrintable(error));
    error.clear();
    QVERIFY(!drawn(m, MarkStyle::Dots, error).dots.empty());
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestMolecule::shellsNeedDots()
{
    MarkOptions options;
    options.shells = true;
    QString error;
    const Molecule m = parsed(u"O"_s, error);
    for (const MarkStyle style : {MarkStyle::Lewis, MarkStyle::Bars}) {
        error.clear();
        QVERIFY(drawn(m, style, error, 2, options).dots.empty());
        QVERIFY2(error.contains(u"Shells"_s), qPrintable(error));
    }
}

QTEST_GUILESS_MAIN(TestMolecule)
#include "tst_molecule.moc"
