#include "XSession.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What the clipboard holds in one format, read as another program would;
// empty when it holds nothing in that format.
QByteArray clipboard(const QString &type)
{
    QProcess xclip;
    xclip.start(u"xclip"_s, {u"-selection"_s, u"clipboard"_s, u"-t"_s, type, u"-o"_s});
    if (!xclip.waitForFinished(10000) || xclip.exitCode() != 0)
        return {};
    return xclip.readAllStandardOutput();
}

bool keys(const QStringList &names)
{
    return XSession::xdotool(QStringList{u"key"_s, u"--delay"_s, u"30"_s} + names);
}

} // namespace

// The molecules window as a teacher uses it: a Russian name typed, a style
// chosen by its mnemonic, Ctrl+C, and the picture pasted elsewhere.
class TestMoleculesE2E : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void typeChooseAndCopy();
    void copyFromTheInput_data();
    void copyFromTheInput();

private:
    // The window in a language, given the focus as a click would, or left as
    // it comes up: not made active, as before a window manager gets to it.
    bool start(bool russian, bool activate)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.insert(u"LC_ALL"_s, russian ? u"ru_RU.UTF-8"_s : u"C.UTF-8"_s);
        m_window.setProcessEnvironment(environment);
        m_window.start(QStringLiteral(ZEMBREL_MOLECULES), QStringList{});
        const QString title = russian ? u"Зембрель: молекулы и ионы"_s : u"Zembrel: molecules and ions"_s;
        return activate ? XSession::focusWindow(m_window.processId(), title, 20000) != 0
                        : XSession::findWindow(m_window.processId(), title, 20000) != 0;
    }

    // The window and the list of names under it, when that is open.
    int shownWindows()
    {
        QString ids;
        XSession::xdotool(
            {u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(m_window.processId())}, &ids);
        return int(ids.split(u'\n', Qt::SkipEmptyParts).size());
    }

    QProcess m_window;
    QTemporaryDir m_dir;
};

void TestMoleculesE2E::init()
{
    QString why;
    if (!XSession::available(&why))
        QSKIP(qPrintable(why));
    if (QStandardPaths::findExecutable(u"xclip"_s).isEmpty())
        QSKIP("xclip is not installed");
    QVERIFY(XSession::bindKeys({{"Cyrillic_ve", "Cyrillic_VE"}, {"Cyrillic_o", "Cyrillic_O"},
        {"Cyrillic_de", "Cyrillic_DE"}, {"Cyrillic_a", "Cyrillic_A"}, {"Cyrillic_te", "Cyrillic_TE"},
        {"Cyrillic_el", "Cyrillic_EL"}, {"Cyrillic_en", "Cyrillic_EN"}}));
}

void TestMoleculesE2E::cleanup()
{
    if (m_window.state() != QProcess::NotRunning) {
        m_window.kill();
        m_window.waitForFinished();
    }
}

void TestMoleculesE2E::typeChooseAndCopy()
{
    QVERIFY2(start(true, true), "the window did not appear");
    // The input has the focus from the start; the list of names that opens as
    // one types has closed again once the name is whole.
    QVERIFY(keys({u"Cyrillic_ve"_s, u"Cyrillic_o"_s, u"Cyrillic_de"_s, u"Cyrillic_a"_s}));
    QTRY_COMPARE(shownWindows(), 1);
    QVERIFY(keys({u"alt+Cyrillic_te"_s, u"ctrl+c"_s})); // "Точки", then copy

    QByteArray png;
    QTRY_VERIFY_WITH_TIMEOUT(!(png = clipboard(u"image/png"_s)).isEmpty(), 10000);
    const QString reference = m_dir.filePath(u"water.png"_s);
    QCOMPARE(QProcess::execute(QStringLiteral(ZEMBREL_RENDER),
                 {u"--name"_s, u"вода"_s, u"--style"_s, u"dots"_s, u"--scale"_s, u"3"_s, u"-o"_s, reference}),
        0);
    QFile rendered(reference);
    QVERIFY(rendered.open(QIODevice::ReadOnly));
    QCOMPARE(png, rendered.readAll());
    QCOMPARE(clipboard(u"image/svg+xml"_s).count("class=\"electron "), 8);

    // Back to Lewis, and a name the table lacks: Ctrl+C leaves the clipboard
    // as it was, not even the last picture drawn.
    QVERIFY(keys({u"alt+Cyrillic_el"_s, u"alt+Cyrillic_en"_s, u"ctrl+a"_s}));
    QVERIFY(keys({u"Cyrillic_ve"_s, u"Cyrillic_a"_s, u"Cyrillic_de"_s, u"Cyrillic_a"_s}));
    QTRY_COMPARE(shownWindows(), 1);
    QVERIFY(keys({u"ctrl+c"_s}));
    QTest::qWait(500);
    QCOMPARE(m_window.state(), QProcess::Running);
    QCOMPARE(clipboard(u"image/png"_s), png);
    QCOMPARE(clipboard(u"image/svg+xml"_s).count("class=\"electron "), 8);

    // Ozone in its two resonance forms, by the check box's mnemonic, copied
    // at once: the copy is of the box's new state.
    QVERIFY(keys({u"alt+Cyrillic_en"_s, u"ctrl+a"_s}));
    QVERIFY(keys({u"o"_s, u"z"_s, u"o"_s, u"n"_s, u"e"_s}));
    QTRY_COMPARE(shownWindows(), 1);
    QVERIFY(keys({u"alt+Cyrillic_ef"_s, u"ctrl+c"_s}));
    QTRY_COMPARE_WITH_TIMEOUT(clipboard(u"image/svg+xml"_s).count("class=\"resonance-arrow\""), 1, 10000);
}

void TestMoleculesE2E::copyFromTheInput_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<bool>("activate");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("windows"); // 2 while the list of names is open
    QTest::addColumn<QByteArray>("title");
    const QStringList water{u"w"_s, u"a"_s, u"t"_s, u"e"_s, u"r"_s};
    const QStringList voda{u"Cyrillic_ve"_s, u"Cyrillic_o"_s, u"Cyrillic_de"_s, u"Cyrillic_a"_s};
    // "CO" is carbon monoxide, and the start of CO2, COCl2 ...: the list stays open.
    const QStringList co{u"shift+c"_s, u"shift+o"_s};
    QTest::addRow("English, list closed") << false << true << water << 1 << "water, H₂O"_ba;
    QTest::addRow("English, list open") << false << true << co << 2 << "carbon monoxide, CO"_ba;
    QTest::addRow("Russian, list closed") << true << true << voda << 1 << "вода, H₂O"_ba;
    QTest::addRow("Russian, list open") << true << true << co << 2 << "угарный газ, CO"_ba;
    QTest::addRow("window not made active") << false << false << water << 1 << "water, H₂O"_ba;
}

// The teacher types and presses Ctrl+C at once, the focus still in the input.
void TestMoleculesE2E::copyFromTheInput()
{
    QFETCH(bool, russian);
    QFETCH(bool, activate);
    QFETCH(QStringList, typed);
    QFETCH(int, windows);
    QFETCH(QByteArray, title);
    QVERIFY2(start(russian, activate), "the window did not appear");
    QVERIFY(keys(typed));
    QTRY_COMPARE(shownWindows(), windows);
    QVERIFY(keys({u"ctrl+c"_s}));
    const QByteArray titled = "<title>" + title + "</title>";
    QTRY_VERIFY_WITH_TIMEOUT(clipboard(u"image/svg+xml"_s).contains(titled), 10000);
    QVERIFY(!clipboard(u"image/png"_s).isEmpty());
}

QTEST_GUILESS_MAIN(TestMoleculesE2E)
#include "tst_molecules_e2e.moc"
