#include "DevTools.h"
#include "ServerProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Counts
{
    int electrons = -1;
    int bonds = -1;
};

// The picture on screen: its SVG's electrons and bond strokes. The page's
// rules let no script read its picture's blob, so the SVG is asked for again
// with the page's own query for it; the server answers a query alike every
// time, and the size it gives must be the one on screen.
Counts pictureCounts(DevTools &browser)
{
    const QJsonObject counts
        = browser
              .evaluate(u"(async () => {"
                        " const svg = await (await fetch(`api/picture?${shown.key}&format=svg`)).text();"
                        " const size = svg.match(/<svg[^>]* width=\"(\\d+)\" height=\"(\\d+)\"/);"
                        " const image = document.getElementById('image');"
                        " return { electrons: (svg.match(/class=\"electron /g) || []).length,"
                        " bonds: (svg.match(/class=\"bond\"/g) || []).length,"
                        " sameSize: size !== null && +size[1] === image.naturalWidth"
                        " && +size[2] === image.naturalHeight }; })()"_s)
              .toObject();
    if (!counts.value(u"sameSize"_s).toBool()) {
        qWarning() << "not the picture on screen:" << browser.lastError() << counts;
        return {};
    }
    return {counts.value(u"electrons"_s).toInt(-1), counts.value(u"bonds"_s).toInt(-1)};
}

const QString kPictureShown = u"!document.getElementById('image').hidden"
                              u" && document.getElementById('image').complete"_s;

} // namespace

// The page as its readers meet it, in Debian's Chromium against the server.
class TestPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void typedInputIsDrawn_data();
    void typedInputIsDrawn();
    void closestNameDrawsOnClick_data();
    void closestNameDrawsOnClick();
    void copyPutsPictureOnClipboard_data();
    void copyPutsPictureOnClipboard();
    void addressHoldsSettings();
    void russianFromBrowser();

private:
    void openPage(const QString &acceptLanguage = u"en-GB,en;q=0.9"_s, const QString &query = {});
    QString origin() const { return u"http://127.0.0.1:%1"_s.arg(m_port); }

    QProcess m_server;
    quint16 m_port = 0;
    DevTools m_browser;
};

void TestPage::initTestCase()
{
    QByteArray log;
    m_port = startServer(m_server, {u"--threads"_s, u"2"_s}, log);
    QVERIFY2(m_port != 0, log.constData());
    QString problem;
    bool missing = false;
    if (!m_browser.start(problem, missing)) {
        if (missing)
            QSKIP(qPrintable(problem));
        QFAIL(qPrintable(problem));
    }
}

void TestPage::cleanupTestCase()
{
    m_browser.closePage();
    m_server.terminate();
    m_server.waitForFinished(15000);
}

void TestPage::init()
{
    openPage();
}

// Whatever a test did, the page wrote no error and threw nothing; a
// refusal the page asked for and shows is the one error line it may cause.
void TestPage::cleanup()
{
    QStringList errors;
    for (const QString &line : m_browser.consoleErrors()) {
        if (!(line.startsWith(u"network: "_s) && line.contains(u"status of 400"_s)
                && line.contains(u"/api/picture?"_s)))
            errors << line;
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
}

void TestPage::openPage(const QString &acceptLanguage, const QString &query)
{
    QString problem;
    QVERIFY2(m_browser.openPage(acceptLanguage, problem), qPrintable(problem));
    QVERIFY2(m_browser.navigate(origin() + u"/"_s + query), qPrintable(m_browser.lastError()));
    // Keyboard first: the input has the focus as the page opens.
    QVERIFY(m_browser.waitFor(u"document.activeElement && document.activeElement.id === 'q'"_s));
}

void TestPage::typedInputIsDrawn_data()
{
    QTest::addColumn<QString>("style"); // the radio clicked first; empty: the default, Lewis
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found"); // on the status line
    QTest::addColumn<int>("electrons"); // dots or crosses
    QTest::addColumn<int>("bonds");
    // O has 6 valence electrons and each H 1: 8, two pairs bonding and two lone.
    QTest::newRow("вода, dots") << u"dots"_s << u"вода"_s << u"water, H₂O"_s << 8 << 0;
    QTest::newRow("вода, lines") << QString() << u"вода"_s << u"water, H₂O"_s << 4 << 2;
    // N 5 + 3 H: three bonds and the one lone pair.
    QTest::newRow("ammonia, lines") << QString() << u"ammonia"_s << u"ammonia, NH₃"_s << 2 << 3;
    // C 4 + 2 × O 6 = 16.
    QTest::newRow("a formula, dots") << u"dots"_s << u"CO2"_s << u"carbon dioxide, CO₂"_s << 16 << 0;
    // N 5 + 3 × O 6 + 1 for the charge = 24.
    QTest::newRow("nitrate, dots") << u"dots"_s << u"nitrate"_s << u"nitrate ion, NO₃⁻"_s << 24 << 0;
    // A SMILES, ethanol: 2 × C 4 + O 6 + 6 × H 1 = 20; eight bonds and O's two lone pairs.
    QTest::newRow("a SMILES, lines") << QString() << u"CCO"_s << u"CCO"_s << 4 << 8;
}

void TestPage::typedInputIsDrawn()
{
    QFETCH(QString, style);
    QFETCH(QString, typed);
    QFETCH(QString, found);
    QFETCH(int, electrons);
    QFETCH(int, bonds);
    if (!style.isEmpty()) {
        QVERIFY(m_browser.click(u"label[for=\"style-%1\"]"_s.arg(style)));
        QVERIFY(m_browser.evaluate(u"document.getElementById('style-%1').checked"_s.arg(style)).toBool());
        QVERIFY(m_browser.click(u"#q"_s));
    }
    m_browser.type(typed);
    QVERIFY2(m_browser.waitFor(kPictureShown), qPrintable(m_browser.lastError()));
    QVERIFY2(m_browser.waitFor(
                 u"document.getElementById('status').textContent.includes(%1)"_s.arg(jsString(found))),
        qPrintable(m_browser.evaluate(u"document.getElementById('status').textContent"_s).toString()));
    const Counts counts = pictureCounts(m_browser);
    QCOMPARE(counts.electrons, electrons);
    QCOMPARE(counts.bonds, bonds);
    // The address holds what was typed, so a link shows the same picture.
    QVERIFY(m_browser.evaluate(u"new URLSearchParams(location.search).get('q') === %1"_s.arg(jsString(typed)))
                .toBool());
    const QByteArray shot = qgetenv("ZEMBREL_PAGE_SHOT");
    if (!shot.isEmpty() && typed == u"nitrate"_s) {
        // Escape closes the completions, which would hide the picture.
        m_browser.pressKey(u"Escape"_s, 27);
        QVERIFY(m_browser.waitFor(u"document.getElementById('completions').hidden"_s));
        QFile file(QString::fromLocal8Bit(shot));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_browser.screenshot()) > 0);
    }
}

void TestPage::closestNameDrawsOnClick_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("closest");
    QTest::addColumn<int>("electrons"); // of the closest, drawn with lines
    QTest::addColumn<int>("bonds");
    QTest::newRow("Latin letters a SMILES could hold") << u"watre"_s << u"water"_s << 4 << 2;
    QTest::newRow("Cyrillic") << u"вада"_s << u"вода"_s << 4 << 2;
    QTest::newRow("a letter left out") << u"амиак"_s << u"аммиак"_s << 2 << 3;
}

void TestPage::closestNameDrawsOnClick()
{
    QFETCH(QString, typed);
    QFETCH(QString, closest);
    QFETCH(int, electrons);
    QFETCH(int, bonds);
    m_browser.type(typed);
    const QString offered = u"[...document.querySelectorAll('#closest-names button')]"
                            u".some((b) => b.textContent === %1)"_s.arg(jsString(closest));
    QVERIFY2(m_browser.waitFor(u"!document.getElementById('closest').hidden && "_s + offered),
        qPrintable(m_browser.evaluate(u"document.getElementById('status').textContent"_s).toString()));
    QVERIFY(m_browser.evaluate(u"document.getElementById('image').hidden"_s).toBool());
    QVERIFY(m_browser.click(u"#closest-names button"_s));
    QVERIFY(m_browser.waitFor(kPictureShown));
    QCOMPARE(m_browser.evaluate(u"document.getElementById('q').value"_s).toString(), closest);
    QVERIFY(m_browser.evaluate(u"document.getElementById('closest').hidden"_s).toBool());
    const Counts counts = pictureCounts(m_browser);
    QCOMPARE(counts.electrons, electrons);
    QCOMPARE(counts.bonds, bonds);
}

void TestPage::copyPutsPictureOnClipboard_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("the button") << false;
    QTest::newRow("Enter in the input") << true;
}

void TestPage::copyPutsPictureOnClipboard()
{
    QFETCH(bool, byEnter);
    m_browser.call(u"Browser.grantPermissions"_s,
        {{u"origin"_s, origin()},
            {u"permissions"_s, QJsonArray{u"clipboardReadWrite"_s, u"clipboardSanitizedWrite"_s}}},
        false);
    QVERIFY2(m_browser.lastError().isEmpty(), qPrintable(m_browser.lastError()));
    m_browser.type(u"water"_s);
    if (byEnter) {
        m_browser.pressKey(u"Enter"_s, 13); // at once: Enter copies what was typed, drawn or not yet
    } else {
        QVERIFY(m_browser.waitFor(kPictureShown));
        QVERIFY(m_browser.click(u"#copy"_s));
    }
    QVERIFY2(m_browser.waitFor(u"document.getElementById('status').textContent.endsWith('— copied')"_s),
        qPrintable(m_browser.evaluate(u"document.getElementById('status').textContent"_s).toString()));
    // What a word processor would be given: a PNG three times the picture's
    // size on screen, and HTML that shows it at that size.
    const QJsonObject clip
        = m_browser
              .evaluate(u"(async () => {\n"
                        u"        const item = (await navigator.clipboard.read())[0];\n"
                        u"        const png = new Uint8Array(await (await "
                        u"item.getType('image/png')).arrayBuffer());\n"
                        u"        const ihdr = new DataView(png.buffer, 16, 8);\n"
                        u"        const image = document.getElementById('image');\n"
                        u"        return { types: item.types, signature: Array.from(png.slice(1, 4), (c) => "
                        u"String.fromCharCode(c)).join(''),\n"
                        u"                 width: ihdr.getUint32(0), height: ihdr.getUint32(4),\n"
                        u"                 cssWidth: image.naturalWidth, cssHeight: image.naturalHeight,\n"
                        u"                 html: await (await item.getType('text/html')).text() };\n"
                        u"    })()"_s)
              .toObject();
    QVERIFY2(!clip.isEmpty(), qPrintable(m_browser.lastError()));
    QVERIFY(clip.value(u"types"_s).toArray().contains(u"image/png"_s));
    QCOMPARE(clip.value(u"signature"_s).toString(), u"PNG"_s);
    const int cssWidth = clip.value(u"cssWidth"_s).toInt(), cssHeight = clip.value(u"cssHeight"_s).toInt();
    QVERIFY(cssWidth > 20 && cssHeight > 10);
    QCOMPARE(clip.value(u"width"_s).toInt(), 3 * cssWidth);
    QCOMPARE(clip.value(u"height"_s).toInt(), 3 * cssHeight);
    const QString html = clip.value(u"html"_s).toString();
    QVERIFY2(html.contains(u"<img"_s) && html.contains(u"width=\"%1\""_s.arg(cssWidth)),
        qPrintable(html.left(200)));
}

void TestPage::addressHoldsSettings()
{
    openPage(u"en-GB,en;q=0.9"_s, u"?q=water&style=dots&shells=1"_s);
    QVERIFY(m_browser.waitFor(kPictureShown));
    QVERIFY(m_browser.evaluate(u"document.getElementById('style-dots').checked"_s).toBool());
    QVERIFY(m_browser.evaluate(u"document.getElementById('shells').checked"_s).toBool());
    QCOMPARE(m_browser.evaluate(u"document.getElementById('q').value"_s).toString(), u"water"_s);
    QCOMPARE(pictureCounts(m_browser).electrons, 8);
}

void TestPage::russianFromBrowser()
{
    openPage(u"ru-RU,ru;q=0.9,en;q=0.8"_s);
    QCOMPARE(m_browser.evaluate(u"document.documentElement.lang"_s).toString(), u"ru"_s);
    QCOMPARE(m_browser.evaluate(u"document.querySelector('h1').textContent"_s).toString(),
        u"Зембрель: молекулы и ионы"_s);
    QCOMPARE(m_browser.evaluate(u"document.querySelector('label[for=q]').textContent"_s).toString(),
        u"Название, формула или SMILES"_s);
    m_browser.type(u"water"_s);
    QVERIFY2(m_browser.waitFor(u"document.getElementById('status').textContent.includes('вода, H₂O')"_s),
        qPrintable(m_browser.evaluate(u"document.getElementById('status').textContent"_s).toString()));
    // The switch turns the page and its next answers English.
    QVERIFY(m_browser.click(u"#lang-en"_s));
    QVERIFY(m_browser.waitFor(u"document.getElementById('status').textContent.includes('water, H₂O')"_s));
    QCOMPARE(m_browser.evaluate(u"document.querySelector('h1').textContent"_s).toString(),
        u"Zembrel: molecules and ions"_s);
}

QTEST_GUILESS_MAIN(TestPage)
#include "tst_page.moc"
