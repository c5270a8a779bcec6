#include "XSession.h"

#include "Formula.h"
#include "ImageSurface.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

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
        QString id;
        if (!XSession::xdotool({u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--pid"_s,
                                QString::number(m_process.processId())},
                               &id))
            return {};
        id = id.section(u'\n', 0, 0);
        return XSession::xdotool({u"windowfocus"_s, u"--sync"_s, id}) ? id : QString();
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

bool click(const QString &window, QPoint at)
{
    return XSession::xdotool({u"mousemove"_s, u"--window"_s, window, QString::number(at.x()),
                              QString::number(at.y()), u"click"_s, u"1"_s});
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
}

void TestE2E::typeClickAndExport()
{
    const QString path = m_dir.filePath(u"формула.bmp"_s);
    Run run(path);
    const QString window = run.window();
    QVERIFY2(!window.isEmpty(), "the window did not appear");
    QVERIFY(!QFile::exists(path));

    QVERIFY(XSession::xdotool({u"key"_s, u"N"_s}));
    QVERIFY(XSession::xdotool({u"key"_s, u"Cyrillic_EN"_s}));
    for (const QPoint &button : {QPoint(32, 104), QPoint(112, 0), QPoint(192, 104)}) // slots 1, 7, 9
        QVERIFY(click(window, dotButtonCentre(button.x(), button.y())));
    QVERIFY(click(window, {344, 115})); // the spin button's upper arrow: radius 2.5
    QVERIFY(XSession::xdotool({u"key"_s, u"Return"_s}));
    QCOMPARE(run.finish(), 0);

    const QImage picture(path);
    QVERIFY2(!picture.isNull(), "no picture at the path");
    ImageSurface measure(QSize(120, 109), startFont());
    const QString symbol = u"Nн"_s; // a second letter is always small
    const float W = measure.TextWidth(symbol), H = measure.TextHeight(symbol), r = 2.5f;
    const float L = (120 - W) / 2, T = (109 - H) / 2;
    const float cropLeft = L - 3 * r - 1, cropTop = T - 2 * r - 1;
    QCOMPARE(picture.size(), QSize(int(std::lround(6 * r + W + 2)), int(std::lround(3 * r + H + 4))));
    const QPoint origin(int(std::lround(cropLeft)), int(std::lround(cropTop)));
    for (const QPointF &centre : {QPointF(L - 2 * r, T + H / 2), QPointF(L + W / 2, T - r),
                                  QPointF(L + W + r, T + H / 2)}) {
        const QPoint at = QPoint(int(std::floor(centre.x())), int(std::floor(centre.y()))) - origin;
        QCOMPARE(picture.pixel(at), qRgb(0, 0, 0));
    }
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
