#include "Browser.h"
#include "RendererRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// How many elements of each class an SVG holds (an element counts for each
// of its classes: "electron cross" for electron and for cross), the atoms
// named by each class, and the texts of its charges.
struct Classes
{
    std::map<QString, int> count;
    std::map<QString, QStringList> atoms;
    QStringList charges;
    bool valid = false;
};

Classes classesOf(const QByteArray &svg)
{
    Classes classes;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringList names
            = xml.attributes().value(u"class"_s).toString().split(u' ', Qt::SkipEmptyParts);
        const QString atom = xml.attributes().value(u"data-atom"_s).toString();
        for (const QString &name : names) {
            ++classes.count[name];
            classes.atoms[name] << atom;
        }
        if (names.contains(u"charge"_s))
            classes.charges << xml.readElementText();
    }
    classes.valid = !xml.hasError();
    return classes;
}

} // namespace

// Molecules and ions from zembrel-render: what an SVG holds of each kind of
// mark, as a chemistry teacher would count them on the page.
class TestMolecules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void marks_data();
    void marks();
    void dotCross_data();
    void dotCross();
    void svgLooksLikePng_data();
    void svgLooksLikePng();
    void atomIon_data();
    void atomIon();
    void badInput_data();
    void badInput();
    void batch();
    void batchDefaultsPassOverAtoms();
    void fromTable_data();
    void fromTable();
    void batchStyleDefault();
    void layouts();
    void charges_data();
    void charges();
    void resonance_data();
    void resonance();
    void picturesShareAPage();
    void workedOut();
    void explained_data();
    void explained();
    void shapes();
};

void TestMolecules::marks_data()
{
    QTest::addColumn<QString>("smiles");
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("atoms");
    QTest::addColumn<int>("bondLines");
    QTest::addColumn<int>("electrons");
    QTest::addColumn<int>("lonePairBars");
    QTest::addColumn<bool>("bracketed");
    QTest::addColumn<QString>("charge"); // the ion's charge as printed; empty for none

    // Worked by hand: O has 6 outer electrons, 2 in bonds, so 2 lone pairs;
    // each H has its one electron in its bond.
    QTest::newRow("water, lewis") << u"O"_s << u"lewis"_s << 3 << 2 << 4 << 0 << false << QString();
    QTest::newRow("water, dots") << u"O"_s << u"dots"_s << 3 << 0 << 8 << 0 << false << QString();
    QTest::newRow("water, bars") << u"O"_s << u"bars"_s << 3 << 2 << 0 << 2 << false << QString();
    // C: 4 electrons in two double bonds; each O: 6 − 4 = 2 lone pairs.
    QTest::newRow("carbon dioxide, lewis")
        << u"O=C=O"_s << u"lewis"_s << 3 << 4 << 8 << 0 << false << QString();
    QTest::newRow("carbon dioxide, dots")
        << u"O=C=O"_s << u"dots"_s << 3 << 0 << 16 << 0 << false << QString();
    QTest::newRow("carbon dioxide, bars")
        << u"O=C=O"_s << u"bars"_s << 3 << 4 << 0 << 4 << false << QString();
    // N+: 5 − 1 = 4 electrons, all four in bonds; the ion in brackets with "+".
    QTest::newRow("ammonium, lewis") << u"[NH4+]"_s << u"lewis"_s << 5 << 4 << 0 << 0 << true << u"+"_s;
    QTest::newRow("ammonium, dots") << u"[NH4+]"_s << u"dots"_s << 5 << 0 << 8 << 0 << true << u"+"_s;
    // N+: 4 electrons in 1 + 2 + 1 bonds; O−: 7 − 1 = 6, three pairs each;
    // =O: 6 − 2 = 4, two pairs. 24 electrons in all: 5 + 3 × 6 + 1.
    QTest::newRow("nitrate, lewis") << u"[O-][N+](=O)[O-]"_s << u"lewis"_s << 4 << 4 << 16 << 0 << true
                                    << u"−"_s;
    QTest::newRow("nitrate, dots") << u"[O-][N+](=O)[O-]"_s << u"dots"_s << 4 << 0 << 24 << 0 << true
                                   << u"−"_s;
    QTest::newRow("nitrate, bars") << u"[O-][N+](=O)[O-]"_s << u"bars"_s << 4 << 4 << 0 << 8 << true
                                   << u"−"_s;
    // A radical: C has 4, three in bonds, one left alone.
    QTest::newRow("methyl radical, lewis")
        << u"[CH3]"_s << u"lewis"_s << 4 << 3 << 1 << 0 << false << QString();
    QTest::newRow("methyl radical, bars")
        << u"[CH3]"_s << u"bars"_s << 4 << 3 << 1 << 0 << false << QString();
}

void TestMolecules::marks()
{
    QFETCH(QString, smiles);
    QFETCH(QString, style);
    QFETCH(int, atoms);
    QFETCH(int, bondLines);
    QFETCH(int, electrons);
    QFETCH(int, lonePairBars);
    QFETCH(bool, bracketed);
    QFETCH(QString, charge);

    const Run run
        = render({u"--smiles"_s, smiles, u"--style"_s, style, u"--format"_s, u"svg"_s, u"-o"_s, u"-"_s});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.errors, QString());
    const Classes classes = classesOf(run.output);
    QVERIFY(classes.valid);
    const auto count = [&classes](const char16_t *name) {
        const auto at = classes.count.find(QString::fromUtf16(name));
        return at == classes.count.end() ? 0 : at->second;
    };
    QCOMPARE(count(u"atom"), atoms);
    QCOMPARE(count(u"bond"), bondLines);
    QCOMPARE(count(u"electron"), electrons);
    QCOMPARE(count(u"lone-pair"), lonePairBars);
    QCOMPARE(count(u"bracket") > 0, bracketed);
    if (!charge.isEmpty())
        QVERIFY2(classes.charges.contains(charge), qPrintable(classes.charges.join(u" | "_s)));
}

void TestMolecules::dotCross_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("dots"); // the data-atom of each dot, sorted
    QTest::addColumn<QString>("crosses");
    QTest::addColumn<int>("shells");
    QTest::addColumn<int>("bondLines");

    // O (atom 0) dots: four in its lone pairs, one in each bond; each H (1, 2) one cross.
    QTest::newRow("water") << QStringList{u"--smiles"_s, u"O"_s} << u"0 0 0 0 0 0"_s << u"1 2"_s << 0 << 0;
    QTest::newRow("water with shells")
        << QStringList{u"--smiles"_s, u"O"_s, u"--shells"_s} << u"0 0 0 0 0 0"_s << u"1 2"_s << 3 << 0;
    QTest::newRow("water, O crosses") << QStringList{u"--smiles"_s, u"O"_s, u"--marks"_s, u"O=cross,H=dot"_s}
                                      << u"1 2"_s << u"0 0 0 0 0 0"_s << 0 << 0;
    // Na (atom 0) gave its one electron to Cl (atom 1): seven crosses and Na's dot.
    QTest::newRow("sodium chloride") << QStringList{u"--smiles"_s, u"[Na+].[Cl-]"_s} << u"0"_s
                                     << u"1 1 1 1 1 1 1"_s << 0 << 0;
    // Na+ has no outer electrons left, so no circle.
    QTest::newRow("sodium chloride with shells")
        << QStringList{u"--smiles"_s, u"[Na+].[Cl-]"_s, u"--shells"_s} << u"0"_s << u"1 1 1 1 1 1 1"_s << 1
        << 0;
}

// What an SVG of a dot-and-cross picture holds: each electron's mark and its
// origin atom, the shells, and no bond lines.
void TestMolecules::dotCross()
{
    QFETCH(QStringList, options);
    QFETCH(QString, dots);
    QFETCH(QString, crosses);
    QFETCH(int, shells);
    QFETCH(int, bondLines);
    const Run run = render(
        options + QStringList{u"--style"_s, u"dot-cross"_s, u"--format"_s, u"svg"_s, u"-o"_s, u"-"_s});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.errors, QString());
    Classes classes = classesOf(run.output);
    QVERIFY(classes.valid);
    const auto sorted = [&classes](const QString &name) {
        QStringList atoms = classes.atoms[name];
        atoms.sort();
        return atoms.join(u' ');
    };
    QCOMPARE(sorted(u"dot"_s), dots);
    QCOMPARE(sorted(u"cross"_s), crosses);
    QCOMPARE(classes.count[u"electron"_s], int(dots.count(u' ') + crosses.count(u' ') + 2));
    QCOMPARE(classes.count[u"shell"_s], shells);
    QCOMPARE(classes.count[u"bond"_s], bondLines);
}

void TestMolecules::svgLooksLikePng_data()
{
    QTest::addColumn<QStringList>("picture");
    QTest::newRow("water, lewis") << QStringList{u"--smiles"_s, u"O"_s};
    QTest::newRow("ammonium, dots, scale 2")
        << QStringList{u"--smiles"_s, u"[NH4+]"_s, u"--style"_s, u"dots"_s, u"--scale"_s, u"2"_s};
    QTest::newRow("nitrate, bars, radius 3")
        << QStringList{u"--smiles"_s, u"[O-][N+](=O)[O-]"_s, u"--style"_s, u"bars"_s, u"--radius"_s, u"3"_s};
    QTest::newRow("water, dot-cross, scale 2")
        << QStringList{u"--smiles"_s, u"O"_s, u"--style"_s, u"dot-cross"_s, u"--scale"_s, u"2"_s};
    QTest::newRow("carbon dioxide, dot-cross, shells")
        << QStringList{u"--smiles"_s, u"O=C=O"_s, u"--style"_s, u"dot-cross"_s, u"--shells"_s};
    QTest::newRow("magnesium oxide, dots, shells, scale 2") << QStringList{
        u"--smiles"_s, u"[Mg+2].[O-2]"_s, u"--style"_s, u"dots"_s, u"--shells"_s, u"--scale"_s, u"2"_s};
    // Five elements: dot, cross, ring, square and triangle, on shells with gaps for the open ones.
    QTest::newRow("five marks, shells, scale 2") << QStringList{
        u"--smiles"_s, u"NC(=O)Cl"_s, u"--style"_s, u"dot-cross"_s, u"--shells"_s, u"--scale"_s, u"2"_s};
    // Wedges, hashes, the angle's arc and an ion's brackets.
    QTest::newRow("sulfate, shape, scale 2")
        << QStringList{u"--formula"_s, u"SO4 2-"_s, u"--style"_s, u"shape"_s, u"--scale"_s, u"2"_s};
    // At 96 dpi the two programs' hinting of a long word (the shape's name) parts by more than a pixel.
    QTest::newRow("sulfur hexafluoride, shape, radius 3, scale 2") << QStringList{
        u"--formula"_s, u"SF6"_s, u"--style"_s, u"shape"_s, u"--radius"_s, u"3"_s, u"--scale"_s, u"2"_s};
    QTest::newRow("chloride as an atom ion, scale 2") << QStringList{
        u"Cl"_s, u"--dots"_s, u"0,1,2,5,6,8,9,10,13,14"_s, u"--charge"_s, u"-1"_s, u"--scale"_s, u"2"_s};
}

// Another program draws the SVG; its ink lies where the PNG's does.
void TestMolecules::svgLooksLikePng()
{
    QFETCH(QStringList, picture);
    const QString converter = QStandardPaths::findExecutable(u"rsvg-convert"_s);
    if (converter.isEmpty())
        QSKIP("rsvg-convert (librsvg2-bin) is not installed");
    QTemporaryDir dir;
    const QString svg = dir.filePath(u"m.svg"_s), drawn = dir.filePath(u"m-svg.png"_s);
    QCOMPARE(render(picture + QStringList{u"-o"_s, svg}).status, 0);
    const QImage png = QImage::fromData(render(picture + QStringList{u"-o"_s, u"-"_s}).output);
    QVERIFY(!png.isNull());
    QCOMPARE(QProcess::execute(converter, {svg, u"-o"_s, drawn}), 0);
    const QImage fromSvg(drawn);
    QCOMPARE(fromSvg.size(), png.size());
    const int reach = png.dotsPerMeterX() > 4000 ? 2 : 1;
    QCOMPARE(strayDarkPixels(fromSvg, png, reach), 0);
    QCOMPARE(strayDarkPixels(png, fromSvg, reach), 0);
    // Nothing is cut off: the picture's rim is ground.
    for (int x = 0; x < png.width(); ++x)
        QVERIFY(!dark(png.pixel(x, 0)) && !dark(png.pixel(x, png.height() - 1)));
    for (int y = 0; y < png.height(); ++y)
        QVERIFY(!dark(png.pixel(0, y)) && !dark(png.pixel(png.width() - 1, y)));
}

void TestMolecules::atomIon_data()
{
    QTest::addColumn<QStringList>("atom");
    QTest::addColumn<QString>("charge");
    QTest::addColumn<QString>("printed");
    QTest::newRow("Na+") << QStringList{u"Na"_s} << u"1"_s << u"+"_s;
    QTest::newRow("Cl− with eight dots")
        << QStringList{u"Cl"_s, u"--dots"_s, u"0,1,5,6,8,9,13,14"_s} << u"-1"_s << u"−"_s;
    QTest::newRow("O2−") << QStringList{u"O"_s, u"--dots"_s, u"0,1,5,6,8,9,13,14"_s} << u"-2"_s << u"2−"_s;
    QTest::newRow("Al3+") << QStringList{u"Al"_s} << u"3"_s << u"3+"_s;
}

// --charge brackets the atom picture and prints the charge; the crop grows to hold them.
void TestMolecules::atomIon()
{
    QFETCH(QStringList, atom);
    QFETCH(QString, charge);
    QFETCH(QString, printed);
    const QImage plain = QImage::fromData(render(atom + QStringList{u"-o"_s, u"-"_s}).output);
    const QImage ion
        = QImage::fromData(render(atom + QStringList{u"--charge"_s, charge, u"-o"_s, u"-"_s}).output);
    QVERIFY(!plain.isNull() && !ion.isNull());
    QVERIFY(ion.width() > plain.width());
    QVERIFY(ion.height() >= plain.height());

    const Run svg
        = render(atom + QStringList{u"--charge"_s, charge, u"--format"_s, u"svg"_s, u"-o"_s, u"-"_s});
    QCOMPARE(svg.status, 0);
    const Classes classes = classesOf(svg.output);
    QVERIFY(classes.valid);
    QVERIFY(classes.count.count(u"bracket"_s) && classes.count.at(u"bracket"_s) >= 2);
    QCOMPARE(classes.charges, QStringList{printed});
}

void TestMolecules::badInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const auto row = [](const char *name, const QStringList &arguments, const QString &message) {
        QTest::newRow(name) << arguments << message;
    };
    row("--dots with --smiles", {u"--smiles"_s, u"O"_s, u"--dots"_s, u"1"_s, u"-o"_s, u"x.png"_s},
        u"--dots is for one atom's symbol"_s);
    row("--charge with --smiles", {u"--smiles"_s, u"O"_s, u"--charge"_s, u"1"_s, u"-o"_s, u"x.png"_s},
        u"--charge is for one atom's symbol"_s);
    row("a symbol beside --smiles", {u"Na"_s, u"--smiles"_s, u"O"_s, u"-o"_s, u"x.png"_s},
        u"a molecule needs no symbol"_s);
    row("--smiles and --mol", {u"--smiles"_s, u"O"_s, u"--mol"_s, u"w.mol"_s, u"-o"_s, u"x.png"_s},
        u"--smiles and --mol: give one of them"_s);
    row("a formula with two centres", {u"--formula"_s, u"N2H4O"_s, u"-o"_s, u"x.png"_s},
        u"cannot be worked out: more than one skeleton"_s);
    row("a mistyped formula names the table's", {u"--formula"_s, u"H2SO5"_s, u"-o"_s, u"x.png"_s},
        u"the closest formulas: \"H2SO4\""_s);
    row("--explain for an atom", {u"Na"_s, u"--explain"_s}, u"--explain is for a molecule"_s);
    row("--explain to standard output", {u"--formula"_s, u"SF4"_s, u"--explain"_s, u"-o"_s, u"-"_s},
        u"give -o a file"_s);
    row("--name and --formula", {u"--name"_s, u"water"_s, u"--formula"_s, u"H2O"_s, u"-o"_s, u"x.png"_s},
        u"--name and --formula: give one of them"_s);
    row("a symbol beside --name", {u"O"_s, u"--name"_s, u"water"_s, u"-o"_s, u"x.png"_s},
        u"a molecule needs no symbol"_s);
    row("--charge with --formula", {u"--formula"_s, u"NH4+"_s, u"--charge"_s, u"1"_s, u"-o"_s, u"x.png"_s},
        u"--charge is for one atom's symbol"_s);
    row("--relayout with --name", {u"--name"_s, u"water"_s, u"--relayout"_s, u"-o"_s, u"x.png"_s},
        u"--relayout is for --mol"_s);
    row("a name with a slip", {u"--name"_s, u"вада"_s, u"-o"_s, u"x.png"_s},
        u"no molecule or ion is named \"вада\"; the closest names: \"вода\""_s);
    row("a name far from all", {u"--name"_s, u"qqqqqqqq"_s, u"-o"_s, u"x.png"_s},
        u"no molecule or ion is named \"qqqqqqqq\"\n"_s);
    row("a formula not in the table", {u"--formula"_s, u"H2SO5"_s, u"-o"_s, u"x.png"_s},
        u"the closest formulas: \"H2SO4\""_s);
    row("a formula as a name", {u"--name"_s, u"H2O"_s, u"-o"_s, u"x.png"_s},
        u"no molecule or ion is named"_s);
    row("--style for an atom", {u"Na"_s, u"--style"_s, u"dots"_s, u"-o"_s, u"x.png"_s},
        u"--style is for a molecule"_s);
    row("an unknown style", {u"--smiles"_s, u"O"_s, u"--style"_s, u"crosses"_s, u"-o"_s, u"x.png"_s},
        u"style \"crosses\""_s);
    row("--layout for an atom", {u"Na"_s, u"--layout"_s, u"depiction"_s, u"-o"_s, u"x.png"_s},
        u"--layout is for a molecule"_s);
    row("an unknown layout", {u"--smiles"_s, u"O"_s, u"--layout"_s, u"grid"_s, u"-o"_s, u"x.png"_s},
        u"layout \"grid\": it is textbook or depiction"_s);
    row("charge 9", {u"Na"_s, u"--charge"_s, u"9"_s, u"-o"_s, u"x.png"_s}, u"charge \"9\""_s);
    row("a SMILES that does not parse", {u"--smiles"_s, u"C1CC"_s, u"-o"_s, u"x.png"_s}, u"position"_s);
    row("a missing molfile", {u"--mol"_s, u"nowhere.mol"_s, u"-o"_s, u"x.png"_s},
        u"molfile \"nowhere.mol\": cannot read it"_s);
    row("a transition metal", {u"--smiles"_s, u"[Fe]"_s, u"-o"_s, u"x.png"_s}, u"Fe"_s);
    const QStringList water{u"--smiles"_s, u"O"_s, u"-o"_s, u"x.png"_s};
    const QStringList dotCross = water + QStringList{u"--style"_s, u"dot-cross"_s};
    row("--marks without dot-cross", water + QStringList{u"--marks"_s, u"O=cross"_s},
        u"--marks is for --style dot-cross"_s);
    row("--marks, not an element", dotCross + QStringList{u"--marks"_s, u"Xx=cross"_s},
        u"\"Xx\" is not an element symbol"_s);
    row("--marks, not a mark", dotCross + QStringList{u"--marks"_s, u"O=star"_s},
        u"\"star\" is not a mark"_s);
    row("--marks, an element twice", dotCross + QStringList{u"--marks"_s, u"O=dot,O=ring"_s},
        u"O is given twice"_s);
    row("--marks, no mark", dotCross + QStringList{u"--marks"_s, u"O"_s}, u"ELEMENT=MARK"_s);
    row("--marks, an empty entry", dotCross + QStringList{u"--marks"_s, u"O=dot,"_s}, u"ELEMENT=MARK"_s);
    row("--shells with lewis", water + QStringList{u"--shells"_s}, u"--shells is for --style dots"_s);
    row("--shells with bars", water + QStringList{u"--style"_s, u"bars"_s, u"--shells"_s},
        u"--shells is for --style dots"_s);
    row("--shells for an atom", {u"Na"_s, u"--shells"_s, u"-o"_s, u"x.png"_s}, u"--shells is for a molecule"_s);
    const QStringList shape{u"--style"_s, u"shape"_s, u"-o"_s, u"x.png"_s};
    row("a shape without one centre", QStringList{u"--name"_s, u"ethanol"_s} + shape,
        u"round one central atom"_s);
    row("a shape of seven domains", QStringList{u"--formula"_s, u"IF7"_s} + shape, u"AX7 has 7 electron domains"_s);
    row("a shape's formal charges", water + QStringList{u"--style"_s, u"shape"_s, u"--charges"_s, u"all"_s},
        u"--charges is not for --style shape"_s);
    row("a shape's resonance forms", water + QStringList{u"--style"_s, u"shape"_s, u"--resonance"_s},
        u"--resonance is not for --style shape"_s);
}

// Each mistake is named, with status 2, and nothing is written.
void TestMolecules::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, u"C"_s);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(ZEMBREL_RENDER), arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 2);
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(errors.contains(message), qPrintable(errors));
    QVERIFY(QDir(dir.path()).isEmpty());
}

// Molecules in batch lines, a bad one among them reported and skipped.
void TestMolecules::batch()
{
    QTemporaryDir dir;
    const QByteArray list
        = u"--smiles O -o %1/water.svg\n--smiles 'C1CC' -o %1/bad.png\n"
          u"--smiles '[NH4+]' --style dots -o %1/ammonium.png\nNa --charge 1 -o %1/na.png\n"_s.arg(dir.path())
              .toUtf8();
    const Run run = render({u"--batch"_s, u"-"_s}, list);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.errors.startsWith(u"-:2: "_s) && run.errors.count(u'\n') == 1, qPrintable(run.errors));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
        (QStringList{u"ammonium.png"_s, u"na.png"_s, u"water.svg"_s}));
}

// A default only a molecule takes passes over an atom's line; one no
// molecule's line could take is a mistake of the command line.
void TestMolecules::batchDefaultsPassOverAtoms()
{
    QTemporaryDir dir;
    const QByteArray list
        = u"--smiles O -o %1/water.svg\nNa --dots 7 -o %1/na.png\n"_s.arg(dir.path()).toUtf8();
    const Run run = render(
        {u"--batch"_s, u"-"_s, u"--style"_s, u"dot-cross"_s, u"--shells"_s, u"--marks"_s, u"O=cross"_s},
        list);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.errors, QString());
    QFile water(dir.filePath(u"water.svg"_s));
    QVERIFY(water.open(QIODevice::ReadOnly));
    const Classes classes = classesOf(water.readAll());
    QCOMPARE(classes.count.at(u"shell"_s), 3);
    QCOMPARE(classes.count.at(u"cross"_s), 6);
    QVERIFY(QFile::exists(dir.filePath(u"na.png"_s)));

    const Run refused = render({u"--batch"_s, u"-"_s, u"--shells"_s}, list);
    QCOMPARE(refused.status, 2);
    QVERIFY2(refused.errors.contains(u"--shells is for --style dots"_s), qPrintable(refused.errors));
}

void TestMolecules::fromTable_data()
{
    QTest::addColumn<QStringList>("species");
    QTest::addColumn<QString>("smiles");
    QTest::newRow("Russian name") << QStringList{u"--name"_s, u"вода"_s} << u"O"_s;
    QTest::newRow("English name") << QStringList{u"--name"_s, u"Carbon dioxide"_s} << u"O=C=O"_s;
    QTest::newRow("ion without its word") << QStringList{u"--name"_s, u"нитрат"_s} << u"[O-][N+](=O)[O-]"_s;
    QTest::newRow("formula") << QStringList{u"--formula"_s, u"NH4+"_s} << u"[NH4+]"_s;
    QTest::newRow("formula in superscripts") << QStringList{u"--formula"_s, u"CO₃²⁻"_s} << u"[O-]C([O-])=O"_s;
}

// A species of the table is drawn exactly as its SMILES, in either format.
void TestMolecules::fromTable()
{
    QFETCH(QStringList, species);
    QFETCH(QString, smiles);
    for (const QString &format : {u"png"_s, u"svg"_s}) {
        const QStringList look{u"--style"_s, u"dots"_s, u"--format"_s, format, u"-o"_s, u"-"_s};
        const Run byTable = render(species + look);
        QCOMPARE(byTable.status, 0);
        QVERIFY(!byTable.output.isEmpty());
        QCOMPARE(byTable.output, render(QStringList{u"--smiles"_s, smiles} + look).output);
    }
}

// A style given with --batch is every molecule line's, and no atom line's mistake.
void TestMolecules::batchStyleDefault()
{
    QTemporaryDir dir;
    const QByteArray list
        = u"Na --dots 1 -o %1/na.png\n--name water -o %1/water.png\n"_s.arg(dir.path()).toUtf8();
    const Run run = render({u"--batch"_s, u"-"_s, u"--style"_s, u"dots"_s}, list);
    QCOMPARE(run.status, 0);
    QCOMPARE(QImage(dir.filePath(u"water.png"_s)),
        QImage::fromData(render({u"--smiles"_s, u"O"_s, u"--style"_s, u"dots"_s, u"-o"_s, u"-"_s}).output));
    QCOMPARE(QImage(dir.filePath(u"na.png"_s)),
        QImage::fromData(render({u"Na"_s, u"--dots"_s, u"1"_s, u"-o"_s, u"-"_s}).output));

    const Run wrong = render({u"--batch"_s, u"-"_s, u"--style"_s, u"crosses"_s}, list);
    QCOMPARE(wrong.status, 2);
    QVERIFY2(wrong.errors.contains(u"style \"crosses\""_s), qPrintable(wrong.errors));
}

// The textbook layout by default; the toolkit's on asking, on the command
// line and as a batch's default, which atom lines pass over.
void TestMolecules::layouts()
{
    const QStringList ethanol{u"--name"_s, u"ethanol"_s, u"-o"_s, u"-"_s};
    const QImage textbook = QImage::fromData(render(ethanol).output);
    const QImage depiction = QImage::fromData(render(ethanol + QStringList{u"--layout"_s, u"depiction"_s}).output);
    QVERIFY(!textbook.isNull() && !depiction.isNull());
    QCOMPARE(QImage::fromData(render(ethanol + QStringList{u"--layout"_s, u"textbook"_s}).output), textbook);
    // The grid lays CH3–CH2–OH out wider than the zigzag does.
    QVERIFY(textbook.width() > depiction.width());

    QTemporaryDir dir;
    const QByteArray list
        = u"Na --dots 1 -o %1/na.png\n--name ethanol -o %1/ethanol.png\n"_s.arg(dir.path()).toUtf8();
    const Run run = render({u"--batch"_s, u"-"_s, u"--layout"_s, u"depiction"_s}, list);
    QCOMPARE(run.status, 0);
    QCOMPARE(QImage(dir.filePath(u"ethanol.png"_s)), depiction);
    QVERIFY(QFile::exists(dir.filePath(u"na.png"_s)));
}

namespace {

// The texts of an SVG's elements of one class, sorted.
QStringList textsOf(const QByteArray &svg, const QString &cssClass)
{
    QStringList texts;
    const QRegularExpression element(u"class=\"%1\"[^>]*>([^<]*)<"_s.arg(cssClass));
    for (const QRegularExpressionMatch &m : element.globalMatch(QString::fromUtf8(svg)))
        texts << m.captured(1);
    texts.sort();
    return texts;
}

} // namespace

void TestMolecules::charges_data()
{
    // The formal charges drawn at atoms under auto, all and none, and the
    // ion's own: worked from each structure's formal charges and the rule
    // that an ion shows its atoms' charges when they say more than its own.
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QStringList>("automatic");
    QTest::addColumn<QStringList>("all");
    QTest::addColumn<QString>("net");
    const QString plus = u"+"_s, minus = u"\u2212"_s;
    QTest::addRow("ammonium: N+ is the ion's charge") << u"NH4+"_s << QStringList{} << QStringList{plus} << plus;
    QTest::addRow("hydroxide: O− is the ion's charge") << u"OH-"_s << QStringList{} << QStringList{minus} << minus;
    QTest::addRow("nitrate: N+ and two O−")
        << u"NO3-"_s << QStringList{plus, minus, minus} << QStringList{plus, minus, minus} << minus;
    QTest::addRow("carbonate: two O−")
        << u"CO3 2-"_s << QStringList{minus, minus} << QStringList{minus, minus} << u"2\u2212"_s;
    QTest::addRow("sulfate: two O−")
        << u"SO4 2-"_s << QStringList{minus, minus} << QStringList{minus, minus} << u"2\u2212"_s;
    QTest::addRow("ozone") << u"O3"_s << QStringList{plus, minus} << QStringList{plus, minus} << QString();
    QTest::addRow("carbon monoxide") << u"CO"_s << QStringList{plus, minus} << QStringList{plus, minus} << QString();
    QTest::addRow("nitrous oxide") << u"N2O"_s << QStringList{plus, minus} << QStringList{plus, minus} << QString();
}

void TestMolecules::charges()
{
    QFETCH(QString, formula);
    QFETCH(QStringList, automatic);
    QFETCH(QStringList, all);
    QFETCH(QString, net);
    const QStringList words{u"--formula"_s, formula, u"--format"_s, u"svg"_s, u"-o"_s, u"-"_s};
    const QStringList nets = net.isEmpty() ? QStringList{} : QStringList{net};
    const QByteArray byDefault = render(words).output;
    QCOMPARE(render(words + QStringList{u"--charges"_s, u"auto"_s}).output, byDefault);
    for (const auto &[setting, formal] : {std::pair{u"auto"_s, automatic}, std::pair{u"all"_s, all},
             std::pair{u"none"_s, QStringList{}}}) {
        const Run run = render(words + QStringList{u"--charges"_s, setting});
        QCOMPARE(run.status, 0);
        QCOMPARE(textsOf(run.output, u"charge formal"_s), formal);
        QCOMPARE(textsOf(run.output, u"charge"_s), nets);
    }
    const Run wrong = render(words + QStringList{u"--charges"_s, u"some"_s});
    QCOMPARE(wrong.status, 2);
    QVERIFY2(wrong.errors.contains(u"charges \"some\""_s), qPrintable(wrong.errors));
}

void TestMolecules::resonance_data()
{
    QTest::addColumn<QString>("smiles");
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("forms");
    QTest::addColumn<int>("ions");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<int>("warnings");
    QTest::addRow("nitrate") << u"[O-][N+](=O)[O-]"_s << u"lewis"_s << 3 << 3 << QString() << 0;
    QTest::addRow("nitrate, dot-cross")
        << u"[O-][N+](=O)[O-]"_s << u"dot-cross"_s << 3 << 3 << u"a pair that moves is not followed"_s << 1;
    QTest::addRow("sodium and carbonate") << u"[Na+].[Na+].[O-]C([O-])=O"_s << u"lewis"_s << 3 << 4 << QString() << 0;
    QTest::addRow("benzene") << u"c1ccccc1"_s << u"lewis"_s << 2 << 0 << QString() << 0;
    QTest::addRow("water") << u"O"_s << u"lewis"_s << 1 << 0 << u"no resonance form besides the one given"_s << 1;
    // Two Kekulé forms per ring, 256 in all: eight drawn, and the search at its bound.
    QTest::addRow("eight rings in a row")
        << u"c1ccccc1-c1ccccc1-c1ccccc1-c1ccccc1-c1ccccc1-c1ccccc1-c1ccccc1-c1ccccc1"_s << u"lewis"_s << 8 << 0
        << u"8 of the 256 resonance forms found are drawn"_s << 2;
    // Two forms for each of nine carboxylates, 512 in all: the search stops
    // before its bound of 256 is passed, which is said, and not that there
    // is no other form.
    QTest::addRow("nine carboxylates")
        << u"OC(=O)CC(C(=O)[O-])C(C(=O)[O-])C(C(=O)[O-])C(C(=O)[O-])C(C(=O)[O-])C(C(=O)[O-])C(C(=O)[O-])"
           "C(C(=O)[O-])C(=O)[O-]"_s
        << u"lewis"_s << 1 << 1 << u"stopped at its limits; there may be more"_s << 1;
}

// Forms side by side with an arrow between two, each ion in its brackets;
// what is left out is said.
void TestMolecules::resonance()
{
    QFETCH(QString, smiles);
    QFETCH(QString, style);
    QFETCH(int, forms);
    QFETCH(int, ions);
    QFETCH(QString, warning);
    QFETCH(int, warnings);
    const Run run = render(
        {u"--smiles"_s, smiles, u"--style"_s, style, u"--resonance"_s, u"--format"_s, u"svg"_s, u"-o"_s, u"-"_s});
    QCOMPARE(run.status, 0);
    QCOMPARE(int(run.output.count("class=\"resonance-arrow\"")), forms - 1);
    QCOMPARE(textsOf(run.output, u"resonance-arrow"_s).value(0, u"\u2194"_s), u"\u2194"_s);
    QCOMPARE(int(run.output.count("class=\"bracket\"")), 6 * ions);
    QCOMPARE(run.errors.count(u"warning: "_s), warnings);
    QVERIFY2(run.errors.contains(warning), qPrintable(run.errors));
}

// Water and benzene inlined one after the other in a page, as a web
// worksheet holds them, drawn by a browser: each picture whole, its ink
// where its PNG's is; a page's rule for "atom" reaches them only scoped.
void TestMolecules::picturesShareAPage()
{
    const QList<QStringList> pictures{{u"--name"_s, u"water"_s}, {u"--name"_s, u"benzene"_s}};
    QList<QImage> pngs;
    QString body;
    int left = 0, height = 0;
    for (const QStringList &picture : pictures) {
        const QImage png = QImage::fromData(render(picture + QStringList{u"-o"_s, u"-"_s}).output);
        QByteArray svg = render(picture + QStringList{u"--format"_s, u"svg"_s, u"-o"_s, u"-"_s}).output;
        QVERIFY(!png.isNull() && svg.startsWith("<?xml"));
        svg.remove(0, svg.indexOf("<svg"));
        body += u"<div style=\"position:absolute;left:%1px;top:0\">%2</div>"_s.arg(left).arg(
            QString::fromUtf8(svg));
        pngs << png;
        left += png.width() + 20;
        height = std::max(height, png.height());
    }
    const BrowserShot shot = drawnByBrowser(
        u"<!DOCTYPE html><html><head><style>body{margin:0;background:#fff}.atom{fill:#f00}"
        "svg.zembrel .atom{fill:#000}</style></head><body>%1</body></html>"_s.arg(body),
        QSize(left, height + 20));
    if (shot.missing)
        QSKIP(qPrintable(shot.problem));
    const QImage &drawn = shot.image;
    QVERIFY2(!drawn.isNull(), qPrintable(shot.problem));
    QList<QImage> parts;
    left = 0;
    for (const QImage &png : pngs) {
        parts << drawn.copy(left, 0, png.width(), png.height());
        left += png.width() + 20;
        QCOMPARE(strayDarkPixels(png, parts.back(), 1), 0);
        QCOMPARE(strayDarkPixels(parts.back(), png, 1), 0);
    }
    // Black as drawn: the page's own red does not reach the symbols.
    for (const QImage &part : parts) {
        int red = 0;
        for (int y = 0; y < part.height(); ++y) {
            for (int x = 0; x < part.width(); ++x)
                red += qRed(part.pixel(x, y)) > 160 && qGreen(part.pixel(x, y)) < 100;
        }
        QCOMPARE(red, 0);
    }
}

// Every formula of a course's VSEPR list that the table lacks or holds,
// drawn in every style from --formula; the dots and dot-cross pictures show
// every valence electron, counted by hand.
void TestMolecules::workedOut()
{
    const QList<std::pair<QString, int>> formulas{{u"SF4"_s, 34}, {u"SF6"_s, 48}, {u"BrF5"_s, 42},
        {u"IF7"_s, 56}, {u"XeF2"_s, 22}, {u"XeF4"_s, 36}, {u"XeO3"_s, 26}, {u"XeOF4"_s, 42}, {u"KrF2"_s, 22},
        {u"ClF3"_s, 28}, {u"ICl3"_s, 28}, {u"ICl4-"_s, 36}, {u"I3-"_s, 22}, {u"BrF3"_s, 28}, {u"SeF4"_s, 34},
        {u"PCl5"_s, 40}, {u"PF6-"_s, 48}, {u"SO2"_s, 18}, {u"SO3"_s, 24}, {u"SO2Cl2"_s, 32}, {u"SOCl2"_s, 26},
        {u"POCl3"_s, 32}, {u"NOCl"_s, 18}, {u"NO2-"_s, 18}, {u"NO3-"_s, 24}, {u"NO2+"_s, 16}, {u"NO"_s, 11},
        {u"NO2"_s, 17}, {u"ClO2"_s, 19}, {u"ClO-"_s, 14}, {u"ClO3-"_s, 26}, {u"BrO4-"_s, 32}, {u"SO3 2-"_s, 26},
        {u"PO4 3-"_s, 32}, {u"CO3 2-"_s, 24}, {u"BF3"_s, 24}, {u"BeCl2"_s, 16}, {u"AlCl3"_s, 24},
        {u"SiCl4"_s, 32}, {u"CCl4"_s, 32}, {u"NF3"_s, 26}, {u"OF2"_s, 20}, {u"H2Se"_s, 8}, {u"AsH3"_s, 8}};
    const QStringList styles{u"lewis"_s, u"dots"_s, u"bars"_s, u"dot-cross"_s};
    QTemporaryDir dir;
    QByteArray lines;
    for (qsizetype f = 0; f < formulas.size(); ++f) {
        for (const QString &style : styles) {
            lines += u"--formula '%1' --style %2 -o %3/%4-%2.svg\n"_s.arg(formulas[f].first, style, dir.path())
                         .arg(f)
                         .toUtf8();
        }
    }
    const Run run = render({u"--batch"_s, u"-"_s}, lines);
    QCOMPARE(run.status, 0);
    for (qsizetype f = 0; f < formulas.size(); ++f) {
        for (const QString &style : styles) {
            QFile file(dir.filePath(u"%1-%2.svg"_s.arg(f).arg(style)));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(formulas[f].first + u' ' + style));
            if (style != u"dots"_s && style != u"dot-cross"_s)
                continue;
            const QString svg = QString::fromUtf8(file.readAll());
            QCOMPARE(svg.count(u"class=\"electron "_s), formulas[f].second);
        }
    }
}

void TestMolecules::explained_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("expected");
    const QStringList c{u"LC_ALL=C"_s}, ru{u"LANG=ru_RU.UTF-8"_s};
    QTest::newRow("worked out, English")
        << QStringList{u"--formula"_s, u"XeOF4"_s} << u"C"_s
        << QStringList{u"worked out from its formula"_s, u"total 42"_s, u"Central atom: Xe"_s, u"Xe=O"_s,
               u"AX5E"_s, u"octahedral"_s, u"square pyramidal"_s};
    QTest::newRow("worked out, Russian")
        << QStringList{u"--formula"_s, u"XeOF4"_s} << u"ru"_s
        << QStringList{u"выведена из формулы"_s, u"всего 42"_s, u"Центральный атом: Xe"_s, u"AX5E"_s,
               u"квадратная пирамида"_s};
    QTest::newRow("from the table, English")
        << QStringList{u"--name"_s, u"water"_s} << u"C"_s
        << QStringList{u"water, H₂O:"_s, u"total 8"_s, u"AX2E2"_s, u"bent"_s};
    QTest::newRow("from the table, Russian")
        << QStringList{u"--formula"_s, u"SF4"_s} << u"ru"_s
        << QStringList{u"тетрафторид серы"_s, u"AX4E"_s, u"качели"_s};
    QTest::newRow("a SMILES without one centre")
        << QStringList{u"--smiles"_s, u"CCO"_s} << u"C"_s << QStringList{u"CCO:"_s, u"No one central atom"_s};
}

// The steps printed, in the messages' language; with -o the picture is
// written too, the same as without --explain.
void TestMolecules::explained()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, language);
    QFETCH(QStringList, expected);
    const QStringList environment{language == u"ru"_s ? u"LANG=ru_RU.UTF-8"_s : u"LC_ALL=C"_s};
    const Run run = render(arguments + QStringList{u"--explain"_s}, {}, {}, environment);
    QCOMPARE(run.status, 0);
    const QString steps = QString::fromUtf8(run.output);
    for (const QString &text : std::as_const(expected))
        QVERIFY2(steps.contains(text), qPrintable(text + u"\n"_s + steps));

    QTemporaryDir dir;
    const QString file = dir.filePath(u"picture.svg"_s);
    const Run both = render(arguments + QStringList{u"--explain"_s, u"-o"_s, file}, {}, {}, environment);
    QCOMPARE(both.status, 0);
    QCOMPARE(both.output, run.output);
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), render(arguments + QStringList{u"-o"_s, u"-"_s, u"--format"_s, u"svg"_s}).output);
}

// The sixteen shapes as the renderer writes them, table species and worked
// formulas alike: wedges and hashes counted from the convention (a
// tetrahedron one of each, a bipyramid and an octahedron too, lone pairs
// taking the places out of the plane where VSEPR puts them there), the
// angle and the name in the user's language.
void TestMolecules::shapes()
{
    struct Shape
    {
        const char16_t *formula;
        int wedges;
        int hashes;
        const char16_t *angle;
        const char16_t *english;
        const char16_t *russian;
    };
    const QList<Shape> shapes{{u"BeCl2", 0, 0, u"180°", u"linear", u"линейная"},
        {u"BF3", 0, 0, u"120°", u"trigonal planar", u"плоский треугольник"},
        {u"SO2", 0, 0, u"119°", u"bent", u"угловая"}, {u"CH4", 1, 1, u"109.5°", u"tetrahedral", u"тетраэдр"},
        {u"NH3", 1, 1, u"107°", u"trigonal pyramidal", u"тригональная пирамида"},
        {u"H2O", 0, 0, u"104.5°", u"bent", u"угловая"},
        {u"PCl5", 1, 1, u"90°", u"trigonal bipyramidal", u"тригональная бипирамида"},
        {u"SF4", 1, 1, u"101.6°", u"seesaw", u"качели"}, {u"ClF3", 0, 0, u"87.5°", u"T-shaped", u"Т-образная"},
        {u"XeF2", 0, 0, u"180°", u"linear", u"линейная"}, {u"SF6", 1, 1, u"90°", u"octahedral", u"октаэдр"},
        {u"BrF5", 1, 1, u"84.8°", u"square pyramidal", u"квадратная пирамида"},
        {u"XeF4", 0, 0, u"90°", u"square planar", u"плоский квадрат"},
        {u"CO2", 0, 0, u"180°", u"linear", u"линейная"}, {u"NH4+", 1, 1, u"109.5°", u"tetrahedral", u"тетраэдр"},
        {u"SO4 2-", 1, 1, u"109.5°", u"tetrahedral", u"тетраэдр"}};
    for (const bool russian : {false, true}) {
        QTemporaryDir dir;
        QByteArray lines;
        for (qsizetype k = 0; k < shapes.size(); ++k) {
            lines += u"--formula '%1' --style shape -o %2/%3.svg\n"_s
                         .arg(QString::fromUtf16(shapes[k].formula), dir.path())
                         .arg(k)
                         .toUtf8();
        }
        const Run run = render({u"--batch"_s, u"-"_s}, lines, {},
            {russian ? u"LANG=ru_RU.UTF-8"_s : u"LC_ALL=C"_s});
        QCOMPARE(run.status, 0);
        for (qsizetype k = 0; k < shapes.size(); ++k) {
            const Shape &shape = shapes[k];
            QFile file(dir.filePath(u"%1.svg"_s.arg(k)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString svg = QString::fromUtf8(file.readAll());
            const QString formula = QString::fromUtf16(shape.formula);
            QCOMPARE(svg.count(u"class=\"bond wedge\""_s), shape.wedges);
            QCOMPARE(svg.count(u"class=\"bond hash\""_s), shape.hashes);
            QCOMPARE(svg.count(u"class=\"angle-arc\""_s), 1);
            QString angle = QString::fromUtf16(shape.angle);
            if (russian)
                angle.replace(u'.', u',');
            QVERIFY2(svg.contains(u"\">"_s + angle + u"</text>"_s), qPrintable(formula + u' ' + angle));
            const QString name = QString::fromUtf16(russian ? shape.russian : shape.english);
            QVERIFY2(svg.contains(u"class=\"shape-name\""_s) && svg.contains(u"\">"_s + name + u"</text>"_s),
                qPrintable(formula + u' ' + name));
        }
    }
}

QTEST_GUILESS_MAIN(TestMolecules)
#include "tst_molecules.moc"
