#include "Drawing.h"
#include "Geometry.h"
#include "Metrics.h"
#include "Molecule.h"
#include "Procedure.h"
#include "ShapeLayout.h"

#include "Chemistry.h"

#include <QTest>
#include <QTranslator>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace zembrel;

namespace {

// "smiles:O" or "formula:PCl5": a table species as its SMILES reads, or a
// formula worked out as the renderer works it out.
Molecule moleculeOf(const QString &input)
{
    const QString text = input.section(u':', 1);
    if (input.startsWith(u"smiles:"_s))
        return moleculeFromSmiles(text);
    return moleculeFromStructure(workOutFormula(text).worked.structure());
}

QPointF middle(const QRectF &r)
{
    return r.center();
}

// A page direction, anticlockwise from three o'clock, in degrees 0..360.
double pageDegrees(QPointF from, QPointF to)
{
    const double a = std::atan2(-(to.y() - from.y()), to.x() - from.x()) * 180 / kPi;
    return a < 0 ? a + 360 : a;
}

// The first text of a role; empty where there is none.
QString textOf(const Drawing &d, TextRole role)
{
    const auto t
        = std::find_if(d.texts.begin(), d.texts.end(), [&](const PlacedText &x) { return x.role == role; });
    return t == d.texts.end() ? QString() : t->text;
}

struct DrawnBond
{
    double degrees;
    char depth; // 'p' plane, 'w' wedge, 'h' hash
};

// Each bond's direction from the centre's symbol, read off its strokes.
std::vector<DrawnBond> bondsOf(const Drawing &d, QPointF centre)
{
    // A multiple bond's strokes lie either side of its axis: their far ends' middle is on it.
    std::map<int, std::pair<QPointF, int>> ends;
    for (const PlacedLine &l : d.lines) {
        if (l.kind != LineKind::Bond)
            continue;
        auto &[sum, count] = ends[l.bond];
        sum += distance(l.from, centre) > distance(l.to, centre) ? l.from : l.to;
        ++count;
    }
    std::map<int, DrawnBond> bonds;
    for (const auto &[bond, end] : ends)
        bonds[bond] = {pageDegrees(centre, end.first / end.second), 'p'};
    for (const PlacedWedge &w : d.wedges)
        bonds[w.bond] = {pageDegrees(centre, w.wide), w.hashed ? 'h' : 'w'};
    std::vector<DrawnBond> list;
    for (const auto &[bond, drawn] : bonds)
        list.push_back(drawn);
    return list;
}

} // namespace

class TestShape : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shapes_data();
    void shapes();
    void refused_data();
    void refused();
    void angleLabels_data();
    void angleLabels();
};

void TestShape::shapes_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("centre");
    // Each bond as "degrees" (in the plane), "degrees w" (wedge) or
    // "degrees h" (hash), page directions as a protractor reads them.
    QTest::addColumn<QStringList>("bonds");
    QTest::addColumn<int>("lonePairDots");
    QTest::addColumn<QString>("angle");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("russian");
    QTest::addColumn<QString>("charge");

    // The orientations: linear across; trigonal planar one up, two below at
    // 120°; tetrahedral two in the plane 109.5° apart (up and lower left),
    // wedge and hash 25° either side of where both project (324.7°);
    // trigonal bipyramidal axial up and down, equatorial left, wedge 25°
    // below and hash 25° above the right; octahedral a cross in the plane,
    // wedge lower left and hash upper right. Lone pairs take the places
    // VSEPR gives them: equatorial in the bipyramid, trans in the octahedron.
    QTest::newRow("BeCl2, linear") << u"smiles:Cl[Be]Cl"_s << u"Be"_s << QStringList{u"0"_s, u"180"_s} << 0
                                   << u"180°"_s << u"linear"_s << u"линейная"_s << QString();
    QTest::newRow("CO2, linear, double bonds") << u"smiles:O=C=O"_s << u"C"_s << QStringList{u"0"_s, u"180"_s}
                                               << 0 << u"180°"_s << u"linear"_s << u"линейная"_s << QString();
    QTest::newRow("BF3, trigonal planar")
        << u"smiles:FB(F)F"_s << u"B"_s << QStringList{u"90"_s, u"210"_s, u"330"_s} << 0 << u"120°"_s
        << u"trigonal planar"_s << u"плоский треугольник"_s << QString();
    // S: 6 electrons, 4 in the two double bonds, one lone pair on top.
    QTest::newRow("SO2, bent") << u"smiles:O=S=O"_s << u"S"_s << QStringList{u"210"_s, u"330"_s} << 2
                               << u"119°"_s << u"bent"_s << u"угловая"_s << QString();
    QTest::newRow("CH4, tetrahedral")
        << u"smiles:C"_s << u"C"_s << QStringList{u"90"_s, u"199.5"_s, u"349.7 w"_s, u"299.7 h"_s} << 0
        << u"109.5°"_s << u"tetrahedral"_s << u"тетраэдр"_s << QString();
    QTest::newRow("NH4+, tetrahedral, in brackets")
        << u"smiles:[NH4+]"_s << u"N"_s << QStringList{u"90"_s, u"199.5"_s, u"349.7 w"_s, u"299.7 h"_s} << 0
        << u"109.5°"_s << u"tetrahedral"_s << u"тетраэдр"_s << u"+"_s;
    // The two S=O keep to the plane.
    QTest::newRow("SO4 2-, tetrahedral, in brackets")
        << u"smiles:[O-]S(=O)(=O)[O-]"_s << u"S"_s
        << QStringList{u"90"_s, u"199.5"_s, u"349.7 w"_s, u"299.7 h"_s} << 0 << u"109.5°"_s
        << u"tetrahedral"_s << u"тетраэдр"_s << u"2−"_s;
    // N: 5 electrons, 3 in bonds: one lone pair, up.
    QTest::newRow("NH3, trigonal pyramidal")
        << u"smiles:N"_s << u"N"_s << QStringList{u"199.5"_s, u"349.7 w"_s, u"299.7 h"_s} << 2 << u"107°"_s
        << u"trigonal pyramidal"_s << u"тригональная пирамида"_s << QString();
    // O: 6 electrons, 2 in bonds: two lone pairs above, both bonds in the plane.
    QTest::newRow("H2O, bent") << u"smiles:O"_s << u"O"_s << QStringList{u"215.3"_s, u"324.7"_s} << 4
                               << u"104.5°"_s << u"bent"_s << u"угловая"_s << QString();
    QTest::newRow("PCl5, trigonal bipyramidal")
        << u"formula:PCl5"_s << u"P"_s << QStringList{u"90"_s, u"270"_s, u"180"_s, u"335 w"_s, u"25 h"_s} << 0
        << u"90°"_s << u"trigonal bipyramidal"_s << u"тригональная бипирамида"_s << QString();
    // S: 6 electrons, 4 in bonds: one lone pair, equatorial, to the left.
    QTest::newRow("SF4, seesaw") << u"formula:SF4"_s << u"S"_s
                                 << QStringList{u"90"_s, u"270"_s, u"335 w"_s, u"25 h"_s} << 2 << u"101.6°"_s
                                 << u"seesaw"_s << u"качели"_s << QString();
    // Cl: 7 electrons, 3 in bonds: two lone pairs, both equatorial: a T in the plane.
    QTest::newRow("ClF3, T-shaped") << u"formula:ClF3"_s << u"Cl"_s
                                    << QStringList{u"90"_s, u"270"_s, u"180"_s} << 4 << u"87.5°"_s
                                    << u"T-shaped"_s << u"Т-образная"_s << QString();
    // Xe: 8 electrons, 2 in bonds: three lone pairs round the equator.
    QTest::newRow("XeF2, linear") << u"formula:XeF2"_s << u"Xe"_s << QStringList{u"90"_s, u"270"_s} << 6
                                  << u"180°"_s << u"linear"_s << u"линейная"_s << QString();
    QTest::newRow("SF6, octahedral") << u"formula:SF6"_s << u"S"_s
                                     << QStringList{u"90"_s, u"270"_s, u"180"_s, u"0"_s, u"225 w"_s,
                                            u"45 h"_s}
                                     << 0 << u"90°"_s << u"octahedral"_s << u"октаэдр"_s << QString();
    // Br: 7 electrons, 5 in bonds: one lone pair, under the apex.
    QTest::newRow("BrF5, square pyramidal")
        << u"formula:BrF5"_s << u"Br"_s << QStringList{u"90"_s, u"180"_s, u"0"_s, u"225 w"_s, u"45 h"_s} << 2
        << u"84.8°"_s << u"square pyramidal"_s << u"квадратная пирамида"_s << QString();
    // Xe: 8 electrons, 4 in bonds: two lone pairs, trans, off the plane.
    QTest::newRow("XeF4, square planar")
        << u"formula:XeF4"_s << u"Xe"_s << QStringList{u"90"_s, u"270"_s, u"180"_s, u"0"_s} << 4 << u"90°"_s
        << u"square planar"_s << u"плоский квадрат"_s << QString();
}

void TestShape::shapes()
{
    QFETCH(QString, input);
    QFETCH(QString, centre);
    QFETCH(QStringList, bonds);
    QFETCH(int, lonePairDots);
    QFETCH(QString, angle);
    QFETCH(QString, english);
    QFETCH(QString, russian);
    QFETCH(QString, charge);

    const Molecule molecule = moleculeOf(input);
    const float radius = 2;
    const Drawing d = layOutShape(molecule, testmetrics::measure, radius);

    const auto symbol = std::find_if(d.texts.begin(), d.texts.end(),
        [&](const PlacedText &t) { return t.role == TextRole::Symbol && t.text == centre; });
    QVERIFY(symbol != d.texts.end());
    const QPointF at = middle(symbol->box());

    std::vector<DrawnBond> drawn = bondsOf(d, at);
    QCOMPARE(int(drawn.size()), int(bonds.size()));
    for (const QString &expected : bonds) {
        const double degrees = expected.section(u' ', 0, 0).toDouble();
        const char depth = expected.endsWith(u" w"_s) ? 'w' : expected.endsWith(u" h"_s) ? 'h' : 'p';
        const auto found = std::find_if(drawn.begin(), drawn.end(), [&](const DrawnBond &b) {
            const double off = std::abs(b.degrees - degrees);
            return std::min(off, 360 - off) < 0.5 && b.depth == depth;
        });
        QVERIFY2(found != drawn.end(), qPrintable(u"no bond at "_s + expected));
        drawn.erase(found);
    }
    // Every bond here is the centre's; one in the plane is as many strokes as its order.
    int strokes = 0, orders = 0;
    for (const PlacedLine &l : d.lines)
        strokes += l.kind == LineKind::Bond;
    for (const Bond &b : molecule.bonds)
        orders += b.order;
    QCOMPARE(strokes + int(d.wedges.size()), orders);

    const int dots = int(std::count_if(
        d.dots.begin(), d.dots.end(), [](const PlacedDot &dot) { return dot.kind == DotKind::LonePair; }));
    QCOMPARE(dots, lonePairDots);

    QCOMPARE(textOf(d, TextRole::Angle), angle);
    QCOMPARE(textOf(d, TextRole::ShapeName), english);
    QCOMPARE(textOf(d, TextRole::Charge), charge);
    QCOMPARE(int(std::count_if(d.lines.begin(), d.lines.end(),
                 [](const PlacedLine &l) { return l.kind == LineKind::Bracket; })),
        charge.isEmpty() ? 0 : 6);

    // The clearances of the other styles: a dot its diameter from every
    // other mark, text and stroke; no two texts over each other; the arc
    // and its value clear of the symbols.
    const double clearance = 2 * radius - 1e-3;
    for (const PlacedDot &dot : d.dots) {
        const Capsule c{dot.centre, dot.centre, dot.radius};
        for (const PlacedText &t : d.texts)
            QVERIFY2(gap(c, t.box()) >= clearance, qPrintable(u"a dot on "_s + t.text));
        for (const PlacedLine &l : d.lines)
            QVERIFY(gap(c, Capsule{l.from, l.to, l.width / 2.0}) >= clearance);
        for (const PlacedWedge &w : d.wedges)
            QVERIFY(gap(c, Capsule{w.narrow, w.wide, w.wideWidth / 2.0}) >= clearance);
        for (const PlacedDot &other : d.dots) {
            if (other.mark != dot.mark)
                QVERIFY(gap(c, Capsule{other.centre, other.centre, other.radius}) >= clearance);
        }
    }
    for (std::size_t i = 0; i < d.texts.size(); ++i) {
        for (std::size_t j = i + 1; j < d.texts.size(); ++j) {
            if (d.texts[i].atom < 0 || d.texts[i].atom != d.texts[j].atom)
                QVERIFY2(!d.texts[i].box().intersects(d.texts[j].box()),
                    qPrintable(d.texts[i].text + u" over "_s + d.texts[j].text));
        }
    }
    QCOMPARE(int(d.arcs.size()), 1);
    const PlacedArc &arc = d.arcs.front();
    QVERIFY(distance(arc.centre, at) < 1e-3);
    for (int k = 0; k <= 16; ++k) {
        const double a = arc.from + (arc.to - arc.from) * k / 16;
        const QPointF p = arc.centre + arc.radius * QPointF(std::cos(a), std::sin(a));
        for (const PlacedText &t : d.texts)
            QVERIFY2(!t.box().contains(p), qPrintable(u"the arc through "_s + t.text));
    }
    for (const PlacedText &t : d.texts)
        QVERIFY(d.crop.contains(t.box()));

    // In Russian, with its decimal comma.
    QTranslator translator;
    QVERIFY(translator.load(u":/i18n/zembrel-render_ru.qm"_s));
    QCoreApplication::installTranslator(&translator);
    const Drawing ru = layOutShape(molecule, testmetrics::measure, radius);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(textOf(ru, TextRole::ShapeName), russian);
    QCOMPARE(textOf(ru, TextRole::Angle), QString(angle).replace(u'.', u','));
}

void TestShape::refused_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reason");
    QTest::newRow("ethanol: two centres") << u"smiles:CCO"_s << u"none"_s;
    QTest::newRow("benzene: a ring") << u"smiles:c1ccccc1"_s << u"none"_s;
    QTest::newRow("hydrogen chloride: no centre") << u"smiles:Cl"_s << u"none"_s;
    QTest::newRow("chloride: one atom") << u"smiles:[Cl-]"_s << u"none"_s;
    QTest::newRow("salt: two ions") << u"smiles:[Na+].[Cl-]"_s << u"2 parts"_s;
    QTest::newRow("two waters") << u"smiles:O.O"_s << u"2 parts"_s;
    QTest::newRow("IF7: seven domains") << u"formula:IF7"_s << u"7 electron domains"_s;
}

void TestShape::refused()
{
    QFETCH(QString, input);
    QFETCH(QString, reason);
    try {
        layOutShape(moleculeOf(input), testmetrics::measure);
        QFAIL("drawn");
    } catch (const ChemistryError &e) {
        QVERIFY2(e.message.contains(reason), qPrintable(e.message));
    }
}

void TestShape::angleLabels_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("angle");
    // Measured values where lone pairs press the angle; the ideal one,
    // "<" where no measurement is at hand, "≈" round unlike ligands.
    QTest::newRow("H2S") << u"formula:H2S"_s << u"92.1°"_s;
    QTest::newRow("PH3") << u"formula:PH3"_s << u"93.5°"_s;
    QTest::newRow("O3") << u"formula:O3"_s << u"116.8°"_s;
    QTest::newRow("NO2-") << u"formula:NO2-"_s << u"115°"_s;
    QTest::newRow("NO2, an unpaired electron's domain") << u"formula:NO2"_s << u"134°"_s;
    QTest::newRow("H3O+, not measured") << u"formula:H3O+"_s << u"<109.5°"_s;
    QTest::newRow("CH2Cl2, unlike ligands") << u"formula:CH2Cl2"_s << u"≈109.5°"_s;
    QTest::newRow("HCN, linear whatever its ends") << u"formula:HCN"_s << u"180°"_s;
    QTest::newRow("ICl4-, square planar by symmetry") << u"formula:ICl4-"_s << u"90°"_s;
}

void TestShape::angleLabels()
{
    QFETCH(QString, input);
    QFETCH(QString, angle);
    QCOMPARE(textOf(layOutShape(moleculeOf(input), testmetrics::measure), TextRole::Angle), angle);
}

QTEST_GUILESS_MAIN(TestShape)
#include "tst_shape.moc"
