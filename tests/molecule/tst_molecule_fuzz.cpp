#include "Chemistry.h"
#include "Drawing.h"
#include "Metrics.h"
#include "Molecule.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// Replay a failure with ZEMBREL_SEED=<n>.
quint32 seed()
{
    bool ok = false;
    const quint32 fromEnvironment = qEnvironmentVariable("ZEMBREL_SEED").toUInt(&ok);
    return ok ? fromEnvironment : 20240607U;
}

constexpr qint64 kLimitMs = 10'000;

// How many inputs were read and how many pictures made, so that a change
// that refuses everything shows.
struct Tally
{
    int read = 0;
    int drawn = 0;
};
Tally g_tally;

// Reads and draws the input in every style; a ChemistryError is a fine
// answer, anything else (a crash, another exception, a hang) is not.
void tryInput(const QString &name, const std::function<Molecule()> &read, QRandomGenerator &random)
{
    QElapsedTimer timer;
    timer.start();
    try {
        const Molecule m = read();
        ++g_tally.read;
        for (const MarkStyle style :
            {MarkStyle::Lewis, MarkStyle::Dots, MarkStyle::Bars, MarkStyle::DotCross}) {
            const float radius = 0.5F * float(random.bounded(1, 21));
            MarkOptions options;
            options.shells = style == MarkStyle::DotCross && random.bounded(2) == 0;
            options.charges = FormalCharges(random.bounded(3));
            try {
                layOutMolecule(m, testmetrics::measure, style, radius, options);
                ++g_tally.drawn;
            } catch (const ChemistryError &e) {
                if (qEnvironmentVariableIsSet("ZEMBREL_FUZZ_SHOW"))
                    qInfo("%s: %s", qPrintable(name), qPrintable(e.message));
            }
        }
    } catch (const ChemistryError &e) {
        QVERIFY2(!e.message.isEmpty(), qPrintable(name));
    }
    QVERIFY2(timer.elapsed() < kLimitMs,
        qPrintable(u"%1 took %2 ms (seed %3)"_s.arg(name).arg(timer.elapsed()).arg(seed())));
}

struct Element
{
    QString symbol;
    int valence;
};

// A branch of a random tree of atoms that keeps every valence.
QString branch(QRandomGenerator &random, int incoming, int &atoms)
{
    static const QList<Element> kInner{{u"C"_s, 4}, {u"C"_s, 4}, {u"C"_s, 4}, {u"N"_s, 3}, {u"O"_s, 2},
        {u"S"_s, 2}, {u"P"_s, 3}, {u"[Si]"_s, 4}, {u"B"_s, 3}, {u"[13C]"_s, 4}};
    static const QList<Element> kEnds{{u"F"_s, 1}, {u"Cl"_s, 1}, {u"Br"_s, 1}, {u"I"_s, 1}, {u"[O-]"_s, 1},
        {u"[NH3+]"_s, 1}, {u"c1ccccc1"_s, 1}, {u"[CH2]"_s, 1}, {u"O"_s, 2}};
    ++atoms;
    const bool end = atoms > 18 || random.bounded(5) == 0;
    Element e = end ? kEnds[random.bounded(int(kEnds.size()))] : kInner[random.bounded(int(kInner.size()))];
    if (e.valence < incoming)
        e = {incoming == 3 ? u"N"_s : u"C"_s, incoming == 3 ? 3 : 4};
    QStringList children;
    int free = e.valence - incoming;
    while (free > 0 && atoms < 20 && random.bounded(4) != 0) {
        int order = random.bounded(8) == 0 ? 2 : random.bounded(30) == 0 ? 3 : 1;
        order = std::min(order, free);
        static const QString kBond[] = {QString(), QString(), u"="_s, u"#"_s};
        children << kBond[order] + branch(random, order, atoms);
        free -= order;
    }
    QString s = e.symbol;
    for (qsizetype k = 0; k + 1 < children.size(); ++k)
        s += u'(' + children[k] + u')';
    if (!children.isEmpty())
        s += children.last();
    return s;
}

// A SMILES that keeps the grammar and the valences, with a few ions beside it.
QString structuredSmiles(QRandomGenerator &random)
{
    static const QStringList kIons{u"[Na+]"_s, u"[Cl-]"_s, u"[NH4+]"_s, u"[OH-]"_s, u"O"_s, u"[Mg+2]"_s};
    int atoms = 0;
    QString s = branch(random, 0, atoms);
    for (int k = random.bounded(3); k > 0; --k)
        s += u'.' + kIons[random.bounded(int(kIons.size()))];
    return s;
}

// Characters the SMILES grammar knows, in any order.
QString tokenSoup(QRandomGenerator &random)
{
    static const QStringList kTokens{u"C"_s, u"N"_s, u"O"_s, u"S"_s, u"Cl"_s, u"c"_s, u"n"_s, u"("_s, u")"_s,
        u"="_s, u"#"_s, u"1"_s, u"2"_s, u"%12"_s, u"["_s, u"]"_s, u"+"_s, u"-"_s, u"H"_s, u"@"_s, u"."_s,
        u"*"_s, u"/"_s, u"\\"_s, u"Fe"_s, u"3"_s, u"->"_s, u":"_s, u"$"_s};
    QString s;
    const int length = random.bounded(1, 30);
    for (int i = 0; i < length; ++i)
        s += kTokens[random.bounded(int(kTokens.size()))];
    return s;
}

QByteArray mutated(QByteArray mol, QRandomGenerator &random)
{
    static const QByteArray kBytes = "0123456789 .-+\nCNOHQ*LAVM$";
    const int edits = random.bounded(1, 3);
    for (int e = 0; e < edits && !mol.isEmpty(); ++e) {
        const int at = random.bounded(int(mol.size()));
        switch (random.bounded(8)) {
        case 0: mol.remove(at, random.bounded(1, 40)); break;
        case 1: mol.insert(at, mol.mid(random.bounded(int(mol.size())), random.bounded(1, 80))); break;
        case 2: mol.truncate(at); break;
        case 3: mol[at] = char(random.bounded(256)); break;
        default: mol[at] = kBytes[random.bounded(int(kBytes.size()))]; break;
        }
    }
    return mol;
}

const QList<QByteArray> &molfiles()
{
    static const QList<QByteArray> files{
        "\n  water\n\n  3  2  0  0  0  0  0  0  0  0999 V2000\n"
        "    0.0000    0.0000    0.0000 O   0  0  0  0  0  0  0  0  0  0  0  0\n"
        "    0.9572    0.0000    0.0000 H   0  0  0  0  0  0  0  0  0  0  0  0\n"
        "   -0.2400    0.9266    0.0000 H   0  0  0  0  0  0  0  0  0  0  0  0\n"
        "  1  2  1  0\n  1  3  1  0\nM  END\n",
        "\n  nitrate\n\n  0  0  0     0  0            999 V3000\nM  V30 BEGIN CTAB\n"
        "M  V30 COUNTS 4 3 0 0 0\nM  V30 BEGIN ATOM\nM  V30 1 N 0 0 0 0 CHG=1\n"
        "M  V30 2 O 1.2 0.7 0 0 CHG=-1\nM  V30 3 O -1.2 0.7 0 0\nM  V30 4 O 0 -1.4 0 0 CHG=-1\n"
        "M  V30 END ATOM\nM  V30 BEGIN BOND\nM  V30 1 1 1 2\nM  V30 2 2 1 3\nM  V30 3 1 1 4\n"
        "M  V30 END BOND\nM  V30 END CTAB\nM  END\n",
        "\n  propanol\n\n  4  3  0  0  0  0  0  0  0  0999 V2000\n"
        "    0.0000    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
        "    1.2990    0.7500    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
        "    2.5981    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
        "    3.8971    0.7500    0.0000 O   0  0  0  0  0  0  0  0  0  0  0  0\n"
        "  1  2  1  0\n  2  3  1  0\n  3  4  1  0\nM  CHG  1   4  -1\nM  END\n",
    };
    return files;
}

} // namespace

class TestMoleculeFuzz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomSmiles();
    void mutatedMolfiles();
};

void TestMoleculeFuzz::randomSmiles()
{
    QRandomGenerator random(seed());
    g_tally = {};
    for (int i = 0; i < 3000; ++i) {
        const QString smiles = i % 2 ? structuredSmiles(random) : tokenSoup(random);
        const Reading reading{MoleculeLayout::Textbook, i % 4 == 1};
        tryInput(
            smiles, [&] { return moleculeFromSmiles(smiles, reading); }, random);
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("%d of 3000 read, %d pictures", g_tally.read, g_tally.drawn);
    QVERIFY(g_tally.read > 1000);
}

void TestMoleculeFuzz::mutatedMolfiles()
{
    QRandomGenerator random(seed() + 1);
    g_tally = {};
    for (int i = 0; i < 1500; ++i) {
        const QByteArray mol = mutated(molfiles()[i % molfiles().size()], random);
        const bool relayout = random.bounded(2) == 0;
        const Reading reading{MoleculeLayout::Textbook, i % 3 == 0};
        tryInput(
            u"molfile %1 (seed %2)"_s.arg(i).arg(seed()),
            [&] { return moleculeFromMolfile(mol, relayout, reading); }, random);
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("%d of 1500 read, %d pictures", g_tally.read, g_tally.drawn);
    QVERIFY(g_tally.read > 100);
}

QTEST_GUILESS_MAIN(TestMoleculeFuzz)
#include "tst_molecule_fuzz.moc"
