#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kOldPicture = "BM an earlier run's picture";

// A display number with no server behind it.
QString unusedDisplay()
{
    for (int n = 900; n < 1000; ++n) {
        if (!QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(n)) && !QFile::exists(u"/tmp/.X%1-lock"_s.arg(n)))
            return u":%1"_s.arg(n);
    }
    return {};
}

// An X server that asks for a cookie its clients do not have.
class LockedDisplay
{
public:
    LockedDisplay()
    {
        const QString xauth = QStandardPaths::findExecutable(u"xauth"_s);
        const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
        name = unusedDisplay();
        if (xauth.isEmpty() || xvfb.isEmpty() || name.isEmpty())
            return;
        const QString cookies = m_dir.filePath(u"cookies"_s);
        QProcess add;
        add.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        add.setStandardErrorFile(QProcess::nullDevice());
        add.start(xauth, {u"-f"_s, cookies, u"add"_s, name, u"."_s, u"0123456789abcdef0123456789abcdef"_s});
        if (!add.waitForFinished() || add.exitCode() != 0)
            return;
        m_server.start(xvfb, {name, u"-auth"_s, cookies, u"-nolisten"_s, u"tcp"_s});
        for (int i = 0; i < 100 && !QFile::exists(u"/tmp/.X11-unix/X"_s + name.mid(1)); ++i)
            QTest::qWait(50);
        ready = QFile::exists(u"/tmp/.X11-unix/X"_s + name.mid(1));
    }
    ~LockedDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished();
    }
    QString name;
    bool ready = false;

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

struct Outcome
{
    int status = -1;
    QByteArray out;
    QString err;
};

Outcome runTool(const QStringList &arguments, const QProcessEnvironment &environment, const QString &folder)
{
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.setWorkingDirectory(folder);
    tool.start(QString::fromUtf8(ZEMBREL_BINARY), arguments);
    if (!tool.waitForFinished(20000)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    if (tool.exitStatus() != QProcess::NormalExit)
        return {-2, {}, u"crashed"_s};
    return {tool.exitCode(), tool.readAllStandardOutput(), QString::fromUtf8(tool.readAllStandardError())};
}

QProcessEnvironment baseEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"QT_QPA_PLATFORM"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    return environment;
}

} // namespace

// The tool started where it cannot show its window: the caller must find no
// earlier picture at the path, a status of 1 and one line saying why.
class TestNoDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noWindow_data()
    {
        QTest::addColumn<QString>("display"); // "-" unset
        QTest::addColumn<QString>("platform"); // empty: the default
        QTest::addColumn<bool>("withPath");
        QTest::addColumn<QString>("says");

        const QString nobody = unusedDisplay();
        QTest::newRow("no DISPLAY") << u"-"_s << QString() << true << u"DISPLAY"_s;
        QTest::newRow("no server at the display") << nobody << QString() << true << nobody;
        QTest::newRow("display refuses the connection") << u"locked"_s << QString() << true << u"locked"_s;
        QTest::newRow("platform plugin fails to load")
            << u":0"_s << u"no-such-platform"_s << true << u"no-such-platform"_s;
        QTest::newRow("no DISPLAY and no path") << u"-"_s << QString() << false << u"DISPLAY"_s;
    }
    void noWindow()
    {
        QFETCH(QString, display);
        QFETCH(QString, platform);
        QFETCH(bool, withPath);
        QFETCH(QString, says);

        std::optional<LockedDisplay> locked;
        if (display == u"locked"_s) {
            locked.emplace();
            if (!locked->ready)
                QSKIP("needs Xvfb and xauth to make a display that refuses");
            display = says = locked->name;
        }

        QTemporaryDir dir;
        const QString path = dir.filePath(u"formula.bmp"_s);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOldPicture) == kOldPicture.size());
        old.close();

        QProcessEnvironment environment = baseEnvironment();
        environment.insert(u"XAUTHORITY"_s, dir.filePath(u"no-cookies"_s));
        if (display == u"-"_s)
            environment.remove(u"DISPLAY"_s);
        else
            environment.insert(u"DISPLAY"_s, display);
        if (!platform.isEmpty())
            environment.insert(u"QT_QPA_PLATFORM"_s, platform);

        const Outcome outcome
            = runTool(withPath ? QStringList{path} : QStringList{}, environment, dir.path());
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.err.endsWith(u'\n') && outcome.err.count(u'\n') == 1, qPrintable(outcome.err));
        QVERIFY2(outcome.err.startsWith(u"zembrel: окно не открыть"_s), qPrintable(outcome.err));
        QVERIFY2(outcome.err.contains(says), qPrintable(outcome.err));
        QCOMPARE(QFile::exists(path), !withPath);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), withPath ? 0 : 1);
    }

    // Asked alone, these two words are questions to the program, answered
    // without a display, and leave no file of that name.
    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("--help") << u"--help"_s << QByteArray("Использование: zembrel ПУТЬ\n");
        QTest::newRow("--version") << u"--version"_s << QByteArray("zembrel ");
    }
    void helpAndVersion()
    {
        QFETCH(QString, word);
        QFETCH(QByteArray, starts);
        QTemporaryDir dir;
        QProcessEnvironment environment = baseEnvironment();
        environment.remove(u"DISPLAY"_s);
        const Outcome outcome = runTool({word}, environment, dir.path());
        QCOMPARE(outcome.status, 0);
        QVERIFY2(outcome.out.startsWith(starts), outcome.out.constData());
        QCOMPARE(outcome.err, QString());
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNoDisplay)
#include "tst_nodisplay.moc"
