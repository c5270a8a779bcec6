#include "Chemistry.h"
#include "Drawing.h"
#include "Folding.h"
#include "Formula.h"
#include "Molecule.h"
#include "MoleculePicture.h"
#include "Renderer.h"
#include "Species.h"

#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

#include <map>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

using ElementCounts = std::map<QString, int>;

// The atoms a school formula names: "Ca(OH)2" is Ca 1, O 2, H 2; bond marks and
// the charge do not count.
ElementCounts atomsOfFormula(const QString &formula)
{
    QString text = formula;
    text.remove(QRegularExpression(u"\\s.*$|[=\\-]|[+-]+$"_s));
    std::vector<ElementCounts> groups(1);
    static const QRegularExpression kToken(u"([A-Z][a-z]?|[(\\[]|[)\\]])(\\d*)"_s);
    qsizetype at = 0;
    while (at < text.size()) {
        const QRegularExpressionMatch m = kToken.match(
            text, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return {{u"unreadable"_s, 1}};
        at = m.capturedEnd();
        const int times = m.capturedView(2).isEmpty() ? 1 : m.capturedView(2).toInt();
        const QString token = m.captured(1);
        if (token == u"("_s || token == u"["_s) {
            groups.emplace_back();
        } else if (token == u")"_s || token == u"]"_s) {
            if (groups.size() < 2)
                return {{u"unbalanced"_s, 1}};
            const ElementCounts inner = groups.back();
            groups.pop_back();
            for (const auto &[element, count] : inner)
                groups.back()[element] += count * times;
        } else {
            groups.back()[token] += times;
        }
    }
    return groups.size() == 1 ? groups.front() : ElementCounts{{u"unbalanced"_s, 1}};
}

ElementCounts atomsOfMolecule(const Molecule &molecule)
{
    ElementCounts counts;
    for (const Component &component : molecule.components) {
        for (const int atom : component.atoms)
            counts[molecule.atoms[std::size_t(atom)].symbol] += component.count;
    }
    return counts;
}

int chargeOfMolecule(const Molecule &molecule)
{
    int charge = 0;
    for (const Component &component : molecule.components)
        charge += component.charge * component.count;
    return charge;
}

QString described(const ElementCounts &counts)
{
    QString text;
    for (const auto &[element, count] : counts)
        text += element + QString::number(count);
    return text;
}

// What a SMILES writes down, read from its text alone: the double and
// triple bonds (an aromatic ring of 2n atoms holds n double bonds), the
// charges of the atoms of parts of more than one atom, and each part's net
// charge; a part written again right after itself is drawn once.
struct Written
{
    int doubles = 0;
    int triples = 0;
    QStringList formal;
    QStringList net;
};

Written writtenIn(const QString &smiles)
{
    Written written;
    static const QRegularExpression kBracket(u"\\[([^\\]]*)\\]"_s);
    static const QRegularExpression kCharge(u"([+-]+)(\\d*)$"_s);
    QString previous;
    for (const QString &part : smiles.split(u'.')) {
        if (part == previous)
            continue;
        previous = part;
        QString outside = part;
        outside.remove(kBracket);
        int aromatic = 0;
        for (const QChar c : outside) {
            written.doubles += c == u'=';
            written.triples += c == u'#';
            aromatic += c == u'c' || c == u'n' || c == u'o' || c == u's';
        }
        written.doubles += aromatic / 2;
        int net = 0;
        static const QRegularExpression kBare(u"^\\[\\d*[A-Z][a-z]?[+-]*\\d*\\]$"_s);
        const bool oneAtom = kBare.match(part).hasMatch(); // "[Na+]", "[H-]", not "[NH4+]"
        for (const QRegularExpressionMatch &m : kBracket.globalMatch(part)) {
            const QRegularExpressionMatch c = kCharge.match(m.captured(1));
            if (!c.hasMatch())
                continue;
            const int size = c.captured(2).isEmpty() ? int(c.capturedLength(1)) : c.captured(2).toInt();
            const int charge = c.captured(1).startsWith(u'+') ? size : -size;
            net += charge;
            if (!oneAtom)
                written.formal << chargeText(charge);
        }
        if (net != 0)
            written.net << chargeText(net);
    }
    written.formal.sort();
    written.net.sort();
    return written;
}

// The same, counted in a Lewis picture's SVG: the lines of each bond, the
// atoms' charges and the brackets' charges.
Written drawnIn(const QByteArray &svg)
{
    Written drawn;
    std::map<QString, int> linesOfBond;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString cssClass = xml.attributes().value(u"class"_s).toString();
        if (cssClass == u"bond"_s)
            ++linesOfBond[xml.attributes().value(u"data-bond"_s).toString()];
        else if (cssClass == u"charge formal"_s)
            drawn.formal << xml.readElementText();
        else if (cssClass == u"charge"_s)
            drawn.net << xml.readElementText();
    }
    for (const auto &[bond, lines] : linesOfBond) {
        drawn.doubles += lines == 2;
        drawn.triples += lines == 3;
    }
    drawn.formal.sort();
    drawn.net.sort();
    return drawn;
}

const Species *named(const QString &english)
{
    for (const Species &species : SpeciesTable::builtIn().species()) {
        if (species.english.contains(english))
            return &species;
    }
    return nullptr;
}

} // namespace

class TestSpecies : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableReads();
    void everySpeciesIsDrawn_data();
    void everySpeciesIsDrawn();
    void everySpeciesKeepsItsStructure_data();
    void everySpeciesKeepsItsStructure();
    void namesAndFormulasAreUnique();
    void everySpellingOfAFormulaFindsIt();
    void lookup_data();
    void lookup();
    void closest_data();
    void closest();
    void completions_data();
    void completions();
    void prettyFormula_data();
    void prettyFormula();
};

void TestSpecies::tableReads()
{
    const SpeciesTable &table = SpeciesTable::builtIn();
    QVERIFY2(table.problems().isEmpty(), qPrintable(table.problems().join(u'\n')));
    QVERIFY(table.species().size() >= 150);

    const SpeciesTable broken(
        u"H2O\tO\tвода\n# a comment\n\nNH3\tN\t\tammonia\nCO2\tO=C=O\tуглекислый газ\tcarbon dioxide\n"_s);
    QCOMPARE(broken.species().size(), std::size_t(1));
    QCOMPARE(broken.problems(), (QStringList{u"line 1: 3 fields, not 4"_s, u"line 4: an empty field"_s}));
}

void TestSpecies::everySpeciesIsDrawn_data()
{
    QTest::addColumn<int>("row");
    const auto &all = SpeciesTable::builtIn().species();
    for (std::size_t i = 0; i < all.size(); ++i)
        QTest::addRow("%s", qPrintable(all[i].english.first())) << int(i);
}

// The SMILES reads, holds the atoms and the charge its formula says, and its
// electrons add up in a picture of every style the molecules window offers,
// outer shells included.
void TestSpecies::everySpeciesIsDrawn()
{
    QFETCH(int, row);
    const Species &species = SpeciesTable::builtIn().species()[std::size_t(row)];
    try {
        const Molecule molecule = moleculeFromSmiles(species.smiles);
        for (const QString &formula : species.formulas) {
            QCOMPARE(described(atomsOfMolecule(molecule)), described(atomsOfFormula(formula)));
            QCOMPARE(chargeOfMolecule(molecule), formulaReadings(formula).front().charge);
        }
        const MeasureText measure = measureIn(startFont());
        for (const MarkStyle style : {MarkStyle::Lewis, MarkStyle::Dots, MarkStyle::Bars, MarkStyle::DotCross})
            QVERIFY(!layOutMolecule(molecule, measure, style).texts.empty());
        MarkOptions shells;
        shells.shells = true;
        for (const MarkStyle style : {MarkStyle::Dots, MarkStyle::DotCross})
            QVERIFY(!layOutMolecule(molecule, measure, style, kDefaultRadius, shells).texts.empty());
    } catch (const ChemistryError &e) {
        QFAIL(qPrintable(u"line %1, %2: %3"_s.arg(species.line).arg(species.smiles, e.message)));
    }
}

void TestSpecies::everySpeciesKeepsItsStructure_data()
{
    everySpeciesIsDrawn_data();
}

// The picture holds the bonds and charges its SMILES writes, none rewritten:
// perchloric acid's three Cl=O stay double, with no charges.
void TestSpecies::everySpeciesKeepsItsStructure()
{
    QFETCH(int, row);
    const Species &species = SpeciesTable::builtIn().species()[std::size_t(row)];
    Picture picture;
    picture.font = startFont();
    picture.markOptions.charges = FormalCharges::All;
    try {
        picture.molecule = std::make_shared<const Molecule>(moleculeFromSmiles(species.smiles));
        const Written written = writtenIn(species.smiles), drawn = drawnIn(renderSvg(picture));
        QCOMPARE(drawn.doubles, written.doubles);
        QCOMPARE(drawn.triples, written.triples);
        QCOMPARE(drawn.formal, written.formal);
        QCOMPARE(drawn.net, written.net);
    } catch (const ChemistryError &e) {
        QFAIL(qPrintable(u"line %1, %2: %3"_s.arg(species.line).arg(species.smiles, e.message)));
    }
}

void TestSpecies::namesAndFormulasAreUnique()
{
    std::map<QString, int> names, formulas;
    const auto &all = SpeciesTable::builtIn().species();
    for (std::size_t i = 0; i < all.size(); ++i) {
        for (const QString &name : all[i].russian + all[i].english) {
            const auto [at, fresh] = names.try_emplace(foldName(name), all[i].line);
            QVERIFY2(fresh || at->second == all[i].line,
                qPrintable(u"\"%1\" on lines %2 and %3"_s.arg(name).arg(at->second).arg(all[i].line)));
            // Without its ion word a name must not name another ion.
            const QString bare = withoutIonWord(foldName(name));
            if (!bare.isEmpty()) {
                const auto [other, first] = names.try_emplace(u"ion:"_s + bare, all[i].line);
                QVERIFY2(first || other->second == all[i].line,
                    qPrintable(u"\"%1\" without its ion word: lines %2 and %3"_s.arg(name)
                                   .arg(other->second)
                                   .arg(all[i].line)));
            }
        }
        for (const QString &formula : all[i].formulas) {
            const FormulaReading reading = formulaReadings(formula).front();
            const auto [at, fresh]
                = formulas.try_emplace(reading.body + u' ' + QString::number(reading.charge), all[i].line);
            QVERIFY2(fresh || at->second == all[i].line,
                qPrintable(u"\"%1\" on lines %2 and %3"_s.arg(formula).arg(at->second).arg(all[i].line)));
        }
    }
}

// A charge written any usual way finds the table's formula, and never another.
void TestSpecies::everySpellingOfAFormulaFindsIt()
{
    const SpeciesTable &table = SpeciesTable::builtIn();
    for (const Species &species : table.species()) {
        for (const QString &formula : species.formulas) {
            const FormulaReading reading = formulaReadings(formula).front();
            const QString body = formula.section(u' ', 0, 0).remove(QRegularExpression(u"[+-]+$"_s));
            const QString sign = reading.charge > 0 ? u"+"_s : u"-"_s;
            const QString size = QString::number(std::abs(reading.charge));
            QStringList spellings{formula, formula.toLower(), zembrel::prettyFormula(formula)};
            if (reading.charge != 0) {
                spellings << body + u'^' + size + sign << body + u'(' + size + sign + u')'
                          << body + sign + size << body + sign.repeated(std::abs(reading.charge))
                          << body + u' ' + size + (reading.charge > 0 ? u"+"_s : u"\u2212"_s);
                if (std::abs(reading.charge) > 1)
                    spellings << body + size + sign;
            }
            for (const QString &spelling : spellings)
                QVERIFY2(table.find(spelling, SpeciesKey::Formula) == &species,
                    qPrintable(u"\"%1\" does not find line %2"_s.arg(spelling).arg(species.line)));
        }
    }
}

void TestSpecies::lookup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("english"); // the species' first English name; empty for none

    const int any = int(SpeciesKey::NameOrFormula), name = int(SpeciesKey::Name),
              formula = int(SpeciesKey::Formula);
    QTest::newRow("Russian name") << u"вода"_s << any << u"water"_s;
    QTest::newRow("capitals and blanks") << u"  ВОДА "_s << any << u"water"_s;
    QTest::newRow("е for ё") << u"негашеная известь"_s << any << u"calcium oxide"_s;
    QTest::newRow("ё") << u"негашёная известь"_s << any << u"calcium oxide"_s;
    QTest::newRow("alternative name") << u"угарный газ"_s << any << u"carbon monoxide"_s;
    QTest::newRow("valence in brackets") << u"оксид углерода(II)"_s << any << u"carbon monoxide"_s;
    QTest::newRow("valence after a blank") << u"Оксид углерода (II)"_s << any << u"carbon monoxide"_s;
    QTest::newRow("English") << u"carbon dioxide"_s << any << u"carbon dioxide"_s;
    QTest::newRow("hyphen for blank") << u"Carbon-Dioxide"_s << any << u"carbon dioxide"_s;
    QTest::newRow("no blank") << u"carbondioxide"_s << any << u"carbon dioxide"_s;
    QTest::newRow("-ион") << u"нитрат-ион"_s << any << u"nitrate ion"_s;
    QTest::newRow("ион after a blank") << u"нитрат ион"_s << any << u"nitrate ion"_s;
    QTest::newRow("without ион") << u"нитрат"_s << any << u"nitrate ion"_s;
    QTest::newRow("анион") << u"нитрат-анион"_s << any << u"nitrate ion"_s;
    QTest::newRow("ion") << u"nitrate ion"_s << any << u"nitrate ion"_s;
    QTest::newRow("without ion") << u"Nitrate"_s << any << u"nitrate ion"_s;
    QTest::newRow("ион first") << u"ион аммония"_s << any << u"ammonium ion"_s;
    QTest::newRow("катион first") << u"катион аммония"_s << any << u"ammonium ion"_s;
    QTest::newRow("cation") << u"sodium cation"_s << any << u"sodium ion"_s;
    QTest::newRow("an atom's name") << u"sodium"_s << any << u"sodium"_s;
    QTest::newRow("an atom's ion") << u"sodium ion"_s << any << u"sodium ion"_s;
    QTest::newRow("formula") << u"H2O"_s << any << u"water"_s;
    QTest::newRow("formula in small letters") << u"h2o"_s << any << u"water"_s;
    QTest::newRow("formula in Cyrillic letters") << u"Н2О"_s << any << u"water"_s;
    QTest::newRow("subscripts") << u"H₂O"_s << any << u"water"_s;
    QTest::newRow("NH4+") << u"NH4+"_s << any << u"ammonium ion"_s;
    QTest::newRow("[NH4]+") << u"[NH4]+"_s << any << u"ammonium ion"_s;
    QTest::newRow("NH₄⁺") << u"NH₄⁺"_s << any << u"ammonium ion"_s;
    QTest::newRow("CO3 2-") << u"CO3 2-"_s << any << u"carbonate ion"_s;
    QTest::newRow("CO32-") << u"CO32-"_s << any << u"carbonate ion"_s;
    QTest::newRow("CO3--") << u"CO3--"_s << any << u"carbonate ion"_s;
    QTest::newRow("CO3 minus sign") << u"CO3 2\u2212"_s << any << u"carbonate ion"_s;
    QTest::newRow("CO₃²⁻") << u"CO₃²⁻"_s << any << u"carbonate ion"_s;
    QTest::newRow("O2- is oxide") << u"O2-"_s << any << u"oxide ion"_s;
    QTest::newRow("O2 2- is peroxide") << u"O2 2-"_s << any << u"peroxide ion"_s;
    QTest::newRow("O2 is oxygen") << u"O2"_s << any << u"oxygen"_s;
    QTest::newRow("complex ion") << u"[Al(OH)4]-"_s << any << u"tetrahydroxoaluminate ion"_s;
    QTest::newRow("bond marks") << u"CH2=CH2"_s << any << u"ethylene"_s;
    QTest::newRow("second formula") << u"HOCl"_s << any << u"hypochlorous acid"_s;
    QTest::newRow("a name is not a formula") << u"вода"_s << formula << QString();
    QTest::newRow("a formula is not a name") << u"H2O"_s << name << QString();
    QTest::newRow("a slip") << u"вада"_s << any << QString();
    QTest::newRow("a charge too many") << u"H2O+"_s << any << QString();
    QTest::newRow("no charge") << u"NH4"_s << any << QString();
    QTest::newRow("charge only") << u"2-"_s << any << QString();
    QTest::newRow("blank") << u"   "_s << any << QString();
    QTest::newRow("ion alone") << u"ион"_s << any << QString();
}

void TestSpecies::lookup()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, english);
    const Species *found = SpeciesTable::builtIn().find(text, SpeciesKey(key));
    QCOMPARE(found ? found->english.first() : QString(), english);
    if (!english.isEmpty())
        QCOMPARE(found, named(english));
}

void TestSpecies::closest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("nearest");
    QTest::addColumn<QString>("among"); // also offered; empty for nothing more to check

    const int any = int(SpeciesKey::NameOrFormula), name = int(SpeciesKey::Name),
              formula = int(SpeciesKey::Formula);
    QTest::newRow("a vowel wrong") << u"вада"_s << name << u"вода"_s << QString();
    QTest::newRow("a letter left out") << u"amonia"_s << name << u"ammonia"_s << QString();
    QTest::newRow("the end left out") << u"carbon dioxid"_s << name << u"carbon dioxide"_s << QString();
    QTest::newRow("a letter twice") << u"сернная кислота"_s << name << u"серная кислота"_s
                                    << u"сернистая кислота"_s;
    QTest::newRow("a formula's digit") << u"H2SO5"_s << formula << u"H2SO4"_s << u"H2SO3"_s;
    QTest::newRow("a formula's charge") << u"NH4 2+"_s << formula << u"NH4+"_s << QString();
    QTest::newRow("either") << u"аммиак2"_s << any << u"аммиак"_s << QString();
    QTest::newRow("nothing near") << u"qqqqqqqq"_s << any << QString() << QString();
    QTest::newRow("blank") << u" "_s << any << QString() << QString();
}

void TestSpecies::closest()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, nearest);
    QFETCH(QString, among);
    const QStringList names = SpeciesTable::builtIn().closest(text, SpeciesKey(key));
    QVERIFY(names.size() <= 3);
    QCOMPARE(names.value(0), nearest);
    if (!among.isEmpty())
        QVERIFY2(names.contains(among), qPrintable(names.join(u", "_s)));
}

void TestSpecies::completions_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QStringList>("among");
    QTest::addColumn<QStringList>("notAmong");

    QTest::newRow("Russian") << u"вод"_s << u"вода"_s << QStringList{u"водород"_s} << QStringList{u"water"_s};
    QTest::newRow("a later word") << u"кисл"_s << u"кислород"_s
                                  << QStringList{u"серная кислота"_s, u"уксусная кислота"_s}
                                  << QStringList{u"водород"_s};
    QTest::newRow("English in capitals") << u"WAT"_s << u"water"_s << QStringList{} << QStringList{};
    QTest::newRow("formula") << u"H2S"_s << u"H2S"_s << QStringList{u"H2SO4"_s, u"H2SO3"_s} << QStringList{};
    QTest::newRow("е for ё") << u"негашен"_s << u"негашёная известь"_s << QStringList{} << QStringList{};
    QTest::newRow("blank") << u" "_s << QString() << QStringList{} << QStringList{};
}

void TestSpecies::completions()
{
    QFETCH(QString, prefix);
    QFETCH(QString, first);
    QFETCH(QStringList, among);
    QFETCH(QStringList, notAmong);
    const QStringList offered = SpeciesTable::builtIn().completions(prefix);
    QCOMPARE(offered.value(0), first);
    for (const QString &name : among)
        QVERIFY2(offered.contains(name), qPrintable(name));
    for (const QString &name : notAmong)
        QVERIFY2(!offered.contains(name), qPrintable(name));
}

void TestSpecies::prettyFormula_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("printed");
    QTest::newRow("molecule") << u"H2O"_s << u"H₂O"_s;
    QTest::newRow("ion") << u"NH4+"_s << u"NH₄⁺"_s;
    QTest::newRow("charge apart") << u"CO3 2-"_s << u"CO₃²⁻"_s;
    QTest::newRow("atom ion") << u"Al 3+"_s << u"Al³⁺"_s;
    QTest::newRow("brackets") << u"Ca(OH)2"_s << u"Ca(OH)₂"_s;
    QTest::newRow("two digits") << u"C10H8"_s << u"C₁₀H₈"_s;
}

void TestSpecies::prettyFormula()
{
    QFETCH(QString, formula);
    QFETCH(QString, printed);
    QCOMPARE(zembrel::prettyFormula(formula), printed);
}

QTEST_MAIN(TestSpecies)
#include "tst_species.moc"
