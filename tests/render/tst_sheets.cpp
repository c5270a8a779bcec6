#include "RendererRun.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// What a poppler tool prints for `pdf`; empty when it failed.
QString poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Word
{
    QString text;
    QPointF at; // top left, in points
};

// The words of one page with their places, as a reader's copy and paste finds them.
QList<Word> wordsOf(const QString &pdf, int page)
{
    const QString html = poppler(u"pdftotext"_s,
        {u"-f"_s, QString::number(page), u"-l"_s, QString::number(page), u"-bbox"_s, pdf, u"-"_s});
    static const QRegularExpression kWord(u"<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"_s);
    QList<Word> words;
    for (const QRegularExpressionMatch &m : kWord.globalMatch(html))
        words << Word{m.captured(3), QPointF(m.captured(1).toDouble(), m.captured(2).toDouble())};
    return words;
}

// The numbers of the pictures on a page ("1.", "2." ...), in reading order.
QList<Word> numbersOf(const QList<Word> &words)
{
    static const QRegularExpression kNumber(u"^\\d+\\.$"_s);
    QList<Word> numbers;
    for (const Word &word : words) {
        if (kNumber.match(word.text).hasMatch())
            numbers << word;
    }
    // By rows, then left to right: the tool's own order follows columns.
    std::sort(numbers.begin(), numbers.end(), [](const Word &a, const Word &b) {
        return std::pair(a.at.y(), a.at.x()) < std::pair(b.at.y(), b.at.x());
    });
    return numbers;
}

int pagesOf(const QString &pdf)
{
    static const QRegularExpression kPages(u"Pages:\\s+(\\d+)"_s);
    return kPages.match(poppler(u"pdfinfo"_s, {pdf})).captured(1).toInt();
}

QByteArray listOf(int count)
{
    static const QStringList kNames{u"water"_s, u"ammonia"_s, u"methane"_s, u"carbon dioxide"_s,
        u"nitrate"_s, u"ethanol"_s, u"ozone"_s, u"benzene"_s};
    QByteArray list;
    for (int k = 0; k < count; ++k)
        list += "--name '" + kNames[k % kNames.size()].toUtf8() + "'\n";
    return list;
}

} // namespace

class TestSheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pagesAndGrid_data();
    void pagesAndGrid();
    void captionsInTheUsersLanguage_data();
    void captionsInTheUsersLanguage();
    void blanksLeaveTheirRoom_data();
    void blanksLeaveTheirRoom();
    void pagesOfSvgAndPng();
    void warnsAsPicturesDo();
    void mistakes_data();
    void mistakes();
};

void TestSheets::init()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext and pdfinfo (poppler-utils) are not installed");
}

void TestSheets::pagesAndGrid_data()
{
    QTest::addColumn<int>("species");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<int>("pages");
    QTest::addRow("one") << 1 << false << 1;
    QTest::addRow("twelve, a page full") << 12 << false << 1;
    QTest::addRow("forty: 12, 12, 12 and 4") << 40 << false << 4;
    QTest::addRow("forty with answers") << 40 << true << 8;
}

// Twelve a page, three across and four down, numbered in reading order; the
// answers repeat the exercise pages in their order; every font embedded.
void TestSheets::pagesAndGrid()
{
    QFETCH(int, species);
    QFETCH(bool, answers);
    QFETCH(int, pages);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"sheet.pdf"_s);
    QStringList words{u"--sheet"_s, pdf, u"--batch"_s, u"-"_s, u"--title"_s, u"Lewis structures"_s};
    if (answers)
        words << u"--answers"_s << u"--blank"_s << u"lone-pairs"_s;
    const Run run = render(words, listOf(species));
    QCOMPARE(run.status, 0);
    QCOMPARE(pagesOf(pdf), pages);
    int number = 0;
    for (int page = 1; page <= pages; ++page) {
        const QList<Word> onPage = wordsOf(pdf, page);
        QVERIFY(!onPage.isEmpty() && onPage.front().text == u"Lewis"_s);
        const QList<Word> numbers = numbersOf(onPage);
        if (page == pages / (answers ? 2 : 1) + 1)
            number = 0; // the answers start again from 1
        for (qsizetype k = 0; k < numbers.size(); ++k) {
            QCOMPARE(numbers[k].text, u"%1."_s.arg(++number));
            if (k % 3 > 0) { // on the row of the one before, to its right
                QCOMPARE(numbers[k].at.y(), numbers[k - 1].at.y());
                QVERIFY(numbers[k].at.x() > numbers[k - 1].at.x() + 100);
            } else if (k > 0) {
                QVERIFY(numbers[k].at.y() > numbers[k - 1].at.y() + 100);
            }
        }
        QCOMPARE(numbers.size(), std::min<qsizetype>(12, species - 12 * ((page - 1) % (pages / (answers ? 2 : 1)))));
    }
    QCOMPARE(number, species);
    // Each answers page holds the captions of its exercise page, in order.
    const int exercises = answers ? pages / 2 : 0;
    const auto captions = [&pdf](int page) {
        QStringList texts;
        for (const Word &word : wordsOf(pdf, page)) {
            if (word.at.y() > 70) // below the title
                texts << word.text;
        }
        return texts.join(u' ');
    };
    for (int page = 1; page <= exercises; ++page)
        QCOMPARE(captions(page + exercises), captions(page));
    const QStringList fonts = poppler(u"pdffonts"_s, {pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString &font : fonts)
        QVERIFY2(font.contains(u" yes "_s), qPrintable(font));
}

void TestSheets::captionsInTheUsersLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addRow("English") << u"C"_s << u"1. water, H₂O"_s << u"2. nitrate ion, NO₃⁻"_s;
    QTest::addRow("Russian") << u"ru_RU.UTF-8"_s << u"1. вода, H₂O"_s << u"2. нитрат-ион, NO₃⁻"_s;
}

// From the command line, in the order given; a caption of one's own by --caption.
void TestSheets::captionsInTheUsersLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"sheet.pdf"_s);
    QCOMPARE(render({u"--sheet"_s, pdf, u"--name"_s, u"water"_s, u"--formula"_s, u"NO3-"_s, u"--page"_s,
                         u"letter"_s},
                 {}, {}, {u"LC_ALL="_s + locale})
                 .status,
        0);
    const QString text = poppler(u"pdftotext"_s, {pdf, u"-"_s});
    QVERIFY2(text.contains(first) && text.contains(second), qPrintable(text));
    QVERIFY(text.indexOf(first) < text.indexOf(second));
    QVERIFY(poppler(u"pdfinfo"_s, {pdf}).contains(u"letter"_s));

    QCOMPARE(render({u"--sheet"_s, pdf, u"--batch"_s, u"-"_s}, "--smiles C=C --caption 'ethene (ethylene)'\n").status,
        0);
    QVERIFY(poppler(u"pdftotext"_s, {pdf, u"-"_s}).contains(u"1. ethene (ethylene)"_s));
}

void TestSheets::blanksLeaveTheirRoom_data()
{
    QTest::addColumn<QString>("blank");
    QTest::addColumn<QString>("style");
    // Nitrate: N+ and two O− drawn; O, O−, O− with 2, 3 and 3 pairs; three
    // bonds, one of them double. What goes is what is named.
    QTest::addColumn<int>("electrons");
    QTest::addColumn<int>("bonds");
    QTest::addColumn<int>("formal");
    QTest::addRow("nothing") << QString() << u"lewis"_s << 16 << 4 << 3;
    QTest::addRow("lone pairs") << u"lone-pairs"_s << u"lewis"_s << 0 << 4 << 3;
    QTest::addRow("charges") << u"charges"_s << u"lewis"_s << 16 << 4 << 0;
    QTest::addRow("bonds") << u"bonds"_s << u"lewis"_s << 16 << 0 << 3;
    QTest::addRow("all three") << u"lone-pairs,charges,bonds"_s << u"lewis"_s << 0 << 0 << 0;
    // Dots: the shared pairs are the bonds, 2 per order: 8.
    QTest::addRow("dots, bonds") << u"bonds"_s << u"dots"_s << 16 << 0 << 3;
    QTest::addRow("dots, lone pairs") << u"lone-pairs"_s << u"dots"_s << 8 << 0 << 3;
}

// The SVG's marks counted: the named ones gone, the rest and the size kept.
void TestSheets::blanksLeaveTheirRoom()
{
    QFETCH(QString, blank);
    QFETCH(QString, style);
    QFETCH(int, electrons);
    QFETCH(int, bonds);
    QFETCH(int, formal);
    const QStringList words{u"--name"_s, u"nitrate"_s, u"--style"_s, style, u"--format"_s, u"svg"_s, u"-o"_s, u"-"_s};
    const QByteArray whole = render(words).output;
    const QByteArray svg = blank.isEmpty() ? whole : render(words + QStringList{u"--blank"_s, blank}).output;
    QVERIFY(svg.startsWith("<?xml"));
    QCOMPARE(int(svg.count("class=\"electron ")), electrons);
    QCOMPARE(int(svg.count("class=\"bond\"")), bonds);
    QCOMPARE(int(svg.count("class=\"charge formal\"")), formal);
    QCOMPARE(int(svg.count("class=\"charge\"")), 1); // the ion's own stays
    static const QRegularExpression kSize(u"<svg[^>]* width=\"(\\d+)\" height=\"(\\d+)\""_s);
    QCOMPARE(kSize.match(QString::fromUtf8(svg)).captured(0), kSize.match(QString::fromUtf8(whole)).captured(0));
}

// A page a file: sheet.svg, sheet-2.svg; the pages of a PNG sheet at 150 dpi on A4.
void TestSheets::pagesOfSvgAndPng()
{
    QTemporaryDir dir;
    QCOMPARE(render({u"--sheet"_s, dir.filePath(u"sheet.svg"_s), u"--batch"_s, u"-"_s}, listOf(13)).status, 0);
    QVERIFY(QFile::exists(dir.filePath(u"sheet.svg"_s)) && QFile::exists(dir.filePath(u"sheet-2.svg"_s)));
    QVERIFY(!QFile::exists(dir.filePath(u"sheet-3.svg"_s)));
    QCOMPARE(render({u"--sheet"_s, dir.filePath(u"sheet.png"_s), u"--name"_s, u"water"_s}).status, 0);
    QCOMPARE(QImage(dir.filePath(u"sheet.png"_s)).size(), QSize(1240, 1754));
}

// What a picture's job would say is said of it on a sheet.
void TestSheets::warnsAsPicturesDo()
{
    QTemporaryDir dir;
    const Run run = render({u"--sheet"_s, dir.filePath(u"s.pdf"_s), u"--name"_s, u"water"_s, u"--name"_s,
        u"nitrate"_s, u"--resonance"_s});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.errors.count(u"warning"_s), 1);
    QVERIFY2(run.errors.contains(u"O: no resonance form besides the one given"_s), qPrintable(run.errors));
}

void TestSheets::mistakes_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("message");
    QTest::addRow("unknown kind") << QStringList{u"--sheet"_s, u"s.doc"_s, u"--name"_s, u"water"_s}
                                  << u"ends in .pdf, .svg or .png"_s;
    QTest::addRow("unknown paper") << QStringList{u"--sheet"_s, u"s.pdf"_s, u"--page"_s, u"a5"_s}
                                   << u"page \"a5\""_s;
    QTest::addRow("a picture file as well") << QStringList{u"--sheet"_s, u"s.pdf"_s, u"--name"_s, u"water"_s,
        u"-o"_s, u"w.png"_s} << u"give no -o"_s;
    QTest::addRow("a title without a sheet") << QStringList{u"--name"_s, u"water"_s, u"--title"_s, u"T"_s,
        u"-o"_s, u"w.png"_s} << u"--title is for a --sheet"_s;
    QTest::addRow("unknown blank") << QStringList{u"--sheet"_s, u"s.pdf"_s, u"--name"_s, u"water"_s,
        u"--blank"_s, u"dots"_s} << u"blank \"dots\""_s;
}

// A mistake in the words writes nothing.
void TestSheets::mistakes()
{
    QFETCH(QStringList, words);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const Run run = render(words, {}, dir.path());
    QCOMPARE(run.status, 2);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestSheets)
#include "tst_sheets.moc"
