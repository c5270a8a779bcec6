#include "XSession.h"

#include "Formula.h"
#include "ImageSurface.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <QFontInfo>

#include <cmath>
#include <functional>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// One run of the real binary with its own handshake path.
class Run
{
public:
    explicit Run(const QString &path)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.insert(u"LC_ALL"_s, u"ru_RU.UTF-8"_s);
        m_process.setProcessEnvironment(environment);
        m_process.start(QString::fromUtf8(ZEMBREL_BINARY), {path});
    }
    ~Run()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // The tool's window once it is on screen, with the keyboard focus.
    QString window()
    {
        const unsigned long id = XSession::focusWindow(m_process.processId(), u"Зембрель"_s, 10000);
        return id ? QString::number(id) : QString();
    }
    // The tool's visible windows other than `window`: a dialog over it.
    QStringList dialogsOver(const QString &window)
    {
        QString ids;
        XSession::xdotool(
            {u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(m_process.processId())}, &ids);
        QStringList others = ids.split(u'\n', Qt::SkipEmptyParts);
        others.removeAll(window);
        return others;
    }
    int finish()
    {
        if (!m_process.waitForFinished(10000))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
};

bool click(const QString &window, QPoint at, int button = 1)
{
    return XSession::xdotool({u"mousemove"_s, u"--window"_s, window, QString::number(at.x()),
        QString::number(at.y()), u"click"_s, QString::number(button)});
}

QPoint dotButtonCentre(int x, int y)
{
    return {x + 14, y + 15};
}

} // namespace

class TestE2E : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void typeClickAndExport();
    void fontDialog();
    void commandKeysTypeNothing();
    void noContextMenus();
    void cancel_data();
    void cancel();

private:
    QTemporaryDir m_dir;
};

void TestE2E::init()
{
    QString why;
    if (!XSession::available(&why))
        QSKIP(qPrintable(why));
    QVERIFY(XSession::bindKeys({{"Cyrillic_en", "Cyrillic_EN"}, {"Cyrillic_er", "Cyrillic_ER"}}));
}

// The picture at `path` is the crop of `symbol` in `font` with dots of radius r
// on the given slot centres (relative to the text box's left, top, width, height).
void verifyPicture(const QString &path, const QString &symbol, const SurfaceFont &font, float r,
    const QList<std::function<QPointF(float, float, float, float)>> &dots)
{
    const QImage picture(path);
    QVERIFY2(!picture.isNull(), "no picture at the path");
    ImageSurface measure(QSize(120, 109), font);
    const float W = measure.TextWidth(symbol), H = measure.TextHeight(symbol);
    const float L = (120 - W) / 2, T = (109 - H) / 2;
    QCOMPARE(picture.size(), QSize(int(std::lround(6 * r + W + 2)), int(std::lround(3 * r + H + 4))));
    const QPoint origin(int(std::lround(L - 3 * r - 1)), int(std::lround(T - 2 * r - 1)));
    for (const auto &dot : dots) {
        const QPointF centre = dot(L, T, W, H);
        const QPoint at = QPoint(int(std::floor(centre.x())), int(std::floor(centre.y()))) - origin;
        QCOMPARE(picture.pixel(at), qRgb(0, 0, 0));
    }
}

// The command-line renderer makes the same pixels for the same formula.
void verifyRendererAgrees(const QString &path, const QStringList &formula)
{
    const QString rendered = path + u".render.bmp"_s;
    QCOMPARE(QProcess::execute(QStringLiteral(ZEMBREL_RENDER), formula + QStringList{u"-o"_s, rendered}), 0);
    QCOMPARE(QImage(rendered, "bmp"), QImage(path, "bmp"));
}

void TestE2E::typeClickAndExport()
{
    const QString path = m_dir.filePath(u"формула.bmp"_s);
    Run run(path);
    const QString window = run.window();
    QVERIFY2(!window.isEmpty(), "the window did not appear");
    QVERIFY(!QFile::exists(path));

    QVERIFY(XSession::xdotool({u"key"_s, u"N"_s}));
    // A lone letter keysym is its small form unless Shift is down, as on a real layout.
    QVERIFY(XSession::xdotool({u"key"_s, u"shift+Cyrillic_EN"_s}));
    for (const QPoint &button : {QPoint(32, 104), QPoint(112, 0), QPoint(192, 104)}) // slots 1, 7, 9
        QVERIFY(click(window, dotButtonCentre(button.x(), button.y())));
    QVERIFY(click(window, {344, 115})); // the spin button's upper arrow: radius 2.5
    QVERIFY(XSession::xdotool({u"key"_s, u"Return"_s}));
    QCOMPARE(run.finish(), 0);

    const float r = 2.5f;
    verifyRendererAgrees(path, {u"NН"_s, u"--dots"_s, u"1,7,9"_s, u"--radius"_s, u"2.5"_s});
    verifyPicture(path, u"NН"_s, startFont(), r,
        {[r](float L, float T, float, float H) { return QPointF(L - 2 * r, T + H / 2); },
            [r](float L, float T, float W, float) { return QPointF(L + W / 2, T - r); },
            [r](float L, float T, float W, float H) { return QPointF(L + W + r, T + H / 2); }});
}

void TestE2E::fontDialog()
{
    const QString path = m_dir.filePath(u"шрифт.bmp"_s);
    Run run(path);
    const QString window = run.window();
    QVERIFY2(!window.isEmpty(), "the window did not appear");

    QVERIFY(XSession::xdotool({u"key"_s, u"O"_s}));
    QVERIFY(click(window, {272 + 40, 80 + 12})); // "Шрифт"
    QString dialog;
    QTRY_VERIFY2(!(dialog = run.dialogsOver(window).value(0)).isEmpty(), "the font dialog did not appear");
    // Keys typed before it has the focus would go to the window, as they would for a person.
    QString focused;
    QTRY_VERIFY2((XSession::xdotool({u"getwindowfocus"_s}, &focused), focused.trimmed() == dialog),
        "the font dialog did not take the focus");
    // The size field by its Russian mnemonic, as a person would reach it.
    QVERIFY(XSession::xdotool({u"key"_s, u"alt+Cyrillic_er"_s, u"ctrl+a"_s}));
    QVERIFY(XSession::xdotool({u"type"_s, u"36"_s}));
    QVERIFY(XSession::xdotool({u"key"_s, u"Return"_s}));
    QTRY_VERIFY2(run.dialogsOver(window).isEmpty(), "the font dialog did not close");
    // Return would press the focused "Шрифт" again; the default button is clicked.
    QVERIFY(click(window, {264 + 48, 8 + 12}));
    QCOMPARE(run.finish(), 0);

    // The dialog gives back the face Arial resolves to here, at 36 points.
    SurfaceFont font = startFont();
    font.Name = QFontInfo(QFont(font.Name)).family();
    font.Size = 36;
    verifyPicture(path, u"O"_s, font, 2, {});
    verifyRendererAgrees(path, {u"O"_s, u"--font"_s, font.Name, u"--size"_s, u"36"_s});
}

// Alt and Ctrl with a letter, Latin or Russian, are commands: the symbol keeps its one letter.
void TestE2E::commandKeysTypeNothing()
{
    const QString path = m_dir.filePath(u"keys.bmp"_s);
    Run run(path);
    const QString window = run.window();
    QVERIFY2(!window.isEmpty(), "the window did not appear");
    QVERIFY(XSession::xdotool({u"key"_s, u"N"_s}));
    for (const QString &key : {u"alt+a"_s, u"ctrl+a"_s, u"alt+Cyrillic_er"_s, u"ctrl+Cyrillic_er"_s,
             u"ctrl+shift+Cyrillic_ER"_s, u"alt+shift+Cyrillic_EN"_s})
        QVERIFY(XSession::xdotool({u"key"_s, key}));
    QVERIFY(XSession::xdotool({u"key"_s, u"Return"_s}));
    QCOMPARE(run.finish(), 0);
    verifyRendererAgrees(path, {u"N"_s});
}

// A right click anywhere, the radius arrows above all, opens no menu and changes nothing.
void TestE2E::noContextMenus()
{
    const QString path = m_dir.filePath(u"menus.bmp"_s);
    Run run(path);
    const QString window = run.window();
    QVERIFY2(!window.isEmpty(), "the window did not appear");
    QVERIFY(XSession::xdotool({u"key"_s, u"K"_s}));
    // The spin button's two arrows, the picture, a dot button, "Шрифт", the radius and the instruction.
    for (const QPoint at : {QPoint(344, 115), QPoint(344, 126), QPoint(120, 120), dotButtonCentre(32, 104),
             QPoint(312, 92), QPoint(324, 120), QPoint(300, 180)}) {
        QVERIFY(click(window, at, 3));
        QTest::qWait(300); // a menu would be open by now
        QVERIFY2(run.dialogsOver(window).isEmpty(),
            qPrintable(u"a menu opened at %1,%2"_s.arg(at.x()).arg(at.y())));
    }
    // A right click focuses what it lands on, as a left one does: Return would press "Шрифт".
    QVERIFY(click(window, {264 + 48, 8 + 12}));
    QCOMPARE(run.finish(), 0);
    verifyRendererAgrees(path, {u"K"_s});
}

void TestE2E::cancel_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Escape") << u"Escape"_s;
    QTest::newRow("Отмена clicked") << u"button"_s;
    QTest::newRow("close box") << u"close box"_s;
}

void TestE2E::cancel()
{
    QFETCH(QString, how);
    const QString path = m_dir.filePath(u"cancel.bmp"_s);
    QFile::remove(path);
    Run run(path);
    const QString window = run.window();
    QVERIFY2(!window.isEmpty(), "the window did not appear");
    QVERIFY(XSession::xdotool({u"key"_s, u"K"_s}));
    if (how == u"Escape")
        QVERIFY(XSession::xdotool({u"key"_s, u"Escape"_s}));
    else if (how == u"button")
        QVERIFY(click(window, {264 + 48, 40 + 12}));
    else
        QVERIFY(XSession::sendCloseBox(window.toULong()));
    QCOMPARE(run.finish(), 0);
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

QTEST_MAIN(TestE2E)
#include "tst_e2e.moc"
