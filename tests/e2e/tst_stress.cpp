#include "XSession.h"

#include "Formula.h"
#include "ImageSurface.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"Зембрель"_s;
constexpr QSize kWindowSize{365, 239};

// An instrumented build is several times slower; the one-second promise is the shipped build's.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kRunLimitMs = 4000;
#else
constexpr qint64 kRunLimitMs = 1000;
#endif

// The real tool, started from raw bytes: some paths it must refuse are no valid
// text, and QProcess passes only text. Killed and reaped when the test leaves.
struct Tool
{
    Tool(const QByteArray &argument, const QByteArray &workDir, const QByteArray &display = {})
    {
        static const QTemporaryDir runtime; // private, as the toolkit wants it
        QByteArrayList argv{"env", "--chdir=" + workDir, "-u", "QT_QPA_PLATFORM", "LC_ALL=C.UTF-8",
            "XDG_RUNTIME_DIR=" + QFile::encodeName(runtime.path()), ZEMBREL_BINARY, argument};
        if (!display.isEmpty())
            argv.insert(4, "DISPLAY=" + display);
        std::vector<char *> args;
        for (QByteArray &arg : argv)
            args.push_back(arg.data());
        args.push_back(nullptr);
        clock.start();
        // Without a child there is nothing to test, and a pid of -1 would make
        // every kill below one for all processes.
        if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0 || pid <= 0)
            qFatal("cannot start %s", ZEMBREL_BINARY);
    }
    ~Tool()
    {
        if (pid > 0 && endedMs < 0) {
            ::kill(pid, SIGKILL);
            wait(10000);
        }
    }
    // True once the tool has ended, within `timeoutMs`.
    bool wait(int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (endedMs < 0) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid)
                endedMs = clock.elapsed();
            else if (done < 0 || waited.elapsed() >= timeoutMs)
                return false;
            else
                QThread::usleep(500);
        }
        return true;
    }
    bool exitedWith(int code) const { return WIFEXITED(status) && WEXITSTATUS(status) == code; }
    // The tool's window (or its error box, which bears the same title), given the keyboard focus.
    unsigned long window(int timeoutMs = 10000) const
    {
        return XSession::focusWindow(pid, kTitle, timeoutMs);
    }

    pid_t pid = -1;
    int status = 0;
    QElapsedTimer clock;
    qint64 endedMs = -1;
};

bool key(const QString &keys)
{
    return XSession::xdotool(QStringList{u"key"_s} + keys.split(u' '));
}

// The picture size the tool must deliver for `symbol` at the start radius 2.
QSize expectedSize(const QString &symbol)
{
    ImageSurface measure(QSize(120, 109), startFont());
    const float W = measure.TextWidth(symbol), H = measure.TextHeight(symbol), r = 2.0f;
    return {int(std::lround(6 * r + W + 2)), int(std::lround(3 * r + H + 4))};
}

// Empty when `path` is a regular file holding a whole 24-bit BMP of `size`, or
// nothing at all when `size` is empty; otherwise what is wrong. The length is
// counted, because an image reader may forgive a short file.
QString outcomeFault(const QByteArray &path, QSize size)
{
    struct stat status = {};
    QFile file(QFile::decodeName(path));
    if (::lstat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode)
        || !file.open(QIODevice::ReadOnly))
        return u"no file at the path"_s;
    const QByteArray bytes = file.readAll();
    const qint64 whole = size.isEmpty() ? 0 : 54 + (qint64(size.width()) * 3 + 3) / 4 * 4 * size.height();
    if (bytes.size() != whole || (whole && QImage::fromData(bytes, "BMP").size() != size))
        return u"a partial or wrong picture: %1 bytes of %2"_s.arg(bytes.size()).arg(whole);
    return {};
}

QStringList listing(const QByteArray &folder)
{
    return QDir(QFile::decodeName(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// What is at a path, as far as the tool could change it: its kind and inode,
// and a file's bytes, a link's target or a folder's entries.
QByteArray state(const QByteArray &path)
{
    struct stat s = {};
    if (path.isEmpty() || ::lstat(path.constData(), &s) != 0)
        return "nothing";
    QFile file(QFile::decodeName(path));
    const QByteArray inside = S_ISREG(s.st_mode) && file.open(QIODevice::ReadOnly) ? file.readAll()
        : S_ISLNK(s.st_mode) ? QFile::encodeName(file.symLinkTarget())
                             : listing(path).join(u'/').toUtf8();
    return QByteArray::number(s.st_mode, 8) + ' ' + QByteArray::number(s.st_ino) + ' '
        + QByteArray::number(s.st_rdev) + ": " + inside;
}

// Names written in a folder since the watch began. A picture must
// not be built at the path itself, where a kill would leave a part of it.
struct InPlaceWrites
{
    explicit InPlaceWrites(const QByteArray &folder)
    {
        // A watch that failed would see nothing and pass for ever.
        if (fd < 0 || inotify_add_watch(fd, folder.constData(), IN_MODIFY) < 0)
            qFatal("cannot watch %s", folder.constData());
    }
    ~InPlaceWrites() { ::close(fd); }
    QByteArrayList names() const
    {
        QByteArrayList names;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->len)
                    names << QByteArray(event->name);
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        return names;
    }
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
};

qint64 median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

class TestStress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cycles_data();
    void cycles();
    void killed_data();
    void killed();
    void displayGone_data();
    void displayGone();
    void twoInstances();

private:
    QByteArray folder(const QString &name)
    {
        QDir().mkpath(m_dir.filePath(name));
        return QFile::encodeName(m_dir.filePath(name));
    }

    QTemporaryDir m_dir;
    int m_runs = 20;
};

void TestStress::initTestCase()
{
    QString why;
    if (!XSession::available(&why))
        QSKIP(qPrintable(why));
    QVERIFY(m_dir.isValid());
    if (qEnvironmentVariableIsSet("ZEMBREL_RUNS"))
        m_runs = std::max(1, qEnvironmentVariableIntValue("ZEMBREL_RUNS"));
}

void TestStress::killed_data()
{
    QTest::addColumn<bool>("afterEnter");
    QTest::addColumn<int>("maxDelayMs");
    // Over the whole cycle, start-up (where the path is cleared) included.
    QTest::newRow("any moment of the cycle") << false << 250;
    // Enter reaches the tool a few milliseconds after it is sent, and the tool is gone some 20 ms later.
    QTest::newRow("just after Enter") << true << 25;
}

// Whenever the tool dies, the path holds nothing or a whole picture.
void TestStress::killed()
{
    QFETCH(bool, afterEnter);
    QFETCH(int, maxDelayMs);
    const quint32 seed = qEnvironmentVariableIsSet("ZEMBREL_SEED")
        ? qEnvironmentVariable("ZEMBREL_SEED").toUInt()
        : QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    const QByteArray runs = folder(afterEnter ? u"killed-after-enter"_s : u"killed-anywhere"_s);
    int nothing = 0, picture = 0, finished = 0, probes = 0;
    for (int i = 0; i < m_runs; ++i) {
        const QByteArray path = runs + "/run-" + QByteArray::number(i) + ".bmp";
        const int delayUs = int(random.bounded(maxDelayMs * 1000 + 1));
        Tool tool(path, runs);
        // A second thread kills while this one looks for the window and types.
        std::thread killer;
        const auto killLater = [&killer, pid = tool.pid, delayUs] {
            killer = std::thread([pid, delayUs] {
                std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
                ::kill(pid, SIGKILL);
            });
        };
        if (!afterEnter)
            killLater();
        // The tool may be gone at any of these steps; only the file counts.
        const unsigned long window = tool.window(afterEnter ? 10000 : 1000);
        if (window && key(u"N"_s) && afterEnter)
            killLater();
        if (window)
            key(u"Return"_s);
        if (killer.joinable())
            killer.join();
        ::kill(tool.pid, SIGKILL); // not reaped yet, so still the tool's
        QVERIFY2(tool.wait(10000), "a killed tool did not end");
        finished += WIFEXITED(tool.status);

        const QFileInfo file(QFile::decodeName(path));
        // Start-up proves the path writable by opening it, as the caller's contract has it, and removes
        // it at once; a kill in between leaves an empty file, which the caller takes for a cancel.
        const bool probe = file.exists() && file.size() == 0 && !window;
        const QString fault = file.exists() && !probe ? outcomeFault(path, expectedSize(u"N"_s)) : QString();
        QVERIFY2(fault.isEmpty(),
            qPrintable(
                u"seed %1, run %2, killed after %3 us: %4"_s.arg(seed).arg(i).arg(delayUs).arg(fault)));
        ++(probe ? probes : file.exists() ? picture : nothing);
    }
    // A temporary file a kill leaves beside the path is not the caller's; counted.
    const QStringList left = listing(runs);
    const qsizetype leftovers = left.size() - left.filter(QRegularExpression(u"^run-\\d+\\.bmp$"_s)).size();
    qInfo("seed %u, %d runs killed up to %d ms %s: %d left nothing, %d a whole picture (%d had ended by "
          "themselves), %d an empty file in start-up, 0 partial, %lld temporary files",
        seed, m_runs, maxDelayMs, afterEnter ? "after Enter" : "after the start", nothing, picture, finished,
        probes, qint64(leftovers));
}

void TestStress::displayGone_data()
{
    QTest::addColumn<QByteArray>("argument");
    QTest::newRow("main window open") << QByteArray("gone.bmp");
    QTest::newRow("error box open") << QByteArray("");
}

// The display dies under the tool: it ends by itself, soon, and writes nothing.
void TestStress::displayGone()
{
    QFETCH(QByteArray, argument);
    const QByteArray runs = folder(u"display-gone-"_s + QString::fromLatin1(QTest::currentDataTag()));
    for (int round = 0; round < 3; ++round) {
        QProcess server;
        server.setStandardErrorFile(QProcess::nullDevice());
        server.start(u"Xvfb"_s,
            {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"640x480x24"_s, u"-nolisten"_s, u"tcp"_s});
        QByteArray number;
        while (!number.endsWith('\n') && server.waitForReadyRead(20000))
            number += server.readAllStandardOutput();
        QVERIFY2(number.endsWith('\n'), "a private Xvfb did not start");
        const QByteArray display = ':' + number.trimmed();

        Tool tool(argument, runs, display);
        QVERIFY2(XSession::findWindow(tool.pid, kTitle, 10000, display), "no window");
        server.kill();
        server.waitForFinished();
        QVERIFY2(tool.wait(5000), "the tool hangs without its display");
        QVERIFY2(WIFEXITED(tool.status) && !tool.exitedWith(0), "the tool did not end with a failure");
        QCOMPARE(listing(runs), QStringList());
    }
}

// Two tools with two paths in one folder: each answers for its own path alone.
void TestStress::twoInstances()
{
    const QByteArray runs = folder(u"two"_s);
    QStringList names;
    for (int round = 0; round < std::max(3, m_runs / 4); ++round) {
        names << u"cancel-%1.bmp"_s.arg(round) << u"export-%1.bmp"_s.arg(round);
        const QByteArray cancelled = runs + '/' + names[2 * round].toUtf8();
        const QByteArray exported = runs + '/' + names[2 * round + 1].toUtf8();
        // Either may start first.
        Tool first(round % 2 ? cancelled : exported, runs), second(round % 2 ? exported : cancelled, runs);
        Tool &exporter = round % 2 ? second : first, &canceller = round % 2 ? first : second;
        QVERIFY(canceller.window() && exporter.window());
        QVERIFY(key(u"N Return"_s));
        QVERIFY(exporter.wait(10000) && exporter.exitedWith(0));
        QCOMPARE(outcomeFault(exported, expectedSize(u"N"_s)), QString());
        const QByteArray picture = state(exported);
        QVERIFY(!canceller.wait(0));
        QVERIFY(!QFile::exists(QFile::decodeName(cancelled)));

        QVERIFY(canceller.window());
        QVERIFY(key(u"Escape"_s));
        QVERIFY(canceller.wait(10000) && canceller.exitedWith(0));
        QCOMPARE(outcomeFault(cancelled, {}), QString());
        QCOMPARE(state(exported), picture);
    }
    names.sort();
    QCOMPARE(listing(runs), names);
}

void TestStress::cycles_data()
{
    QTest::addColumn<QByteArray>("argument"); // %1 becomes the run's number
    QTest::addColumn<QString>("ending"); // the key that ends the window; none: an error box instead
    QTest::addColumn<bool>("repeated"); // ZEMBREL_RUNS times instead of once

    // Every case runs in this folder, made ready here before the first starts.
    const QByteArray f = folder(u"cycles"_s);
    const auto in = [&f](const char *name) { return QByteArray(f + '/' + name); };
    QByteArray longPath = f; // of folders short enough for the file system
    while (4096 - longPath.size() > 251)
        longPath += '/' + QByteArray(200, 'd');
    QVERIFY(QDir().mkpath(QFile::decodeName(longPath)));
    longPath += '/' + QByteArray(4096 - longPath.size() - 1, 'f');
    QFile target(QFile::decodeName(in("target.bmp")));
    QVERIFY(target.open(QIODevice::WriteOnly) && target.write("the target's own bytes") > 0);
    QVERIFY(QDir().mkpath(QFile::decodeName(in("folder.bmp/inside"))));
    QCOMPARE(::symlink("target.bmp", in("link.bmp").constData()), 0);
    // The null device in a node of its own where the test may make one (as root, where a faulty
    // tool could delete the system's).
    QByteArray null = in("null-device");
    if (::mknod(null.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        null = "/dev/null";
    QCOMPARE(::symlink(null.constData(), in("null.bmp").constData()), 0);
    QCOMPARE(::symlink("nowhere.bmp", in("dangling.bmp").constData()), 0);
    QCOMPARE(::mkfifo(in("fifo.bmp").constData(), 0644), 0);
    QCOMPARE(::mknod(in("socket.bmp").constData(), S_IFSOCK | 0644, 0), 0);

    const QString box;
    // One run after another, each with its own path, as a caller that keeps the tool at hand starts it.
    QTest::newRow("type and Enter") << in("export-%1.bmp") << u"Return"_s << true;
    QTest::newRow("Escape") << in("cancel-%1.bmp") << u"Escape"_s << true;
    // Odd arguments: the usual outcome at the path, or one clear box that leaves everything as it was.
    QTest::newRow("empty") << QByteArray() << box << false;
    QTest::newRow("only spaces") << QByteArray("   ") << u"Escape"_s << false;
    QTest::newRow("one quote") << QByteArray("\"") << u"Return"_s << false;
    QTest::newRow("quotes around nothing") << QByteArray("\"\"") << box << false;
    QTest::newRow("4,096 characters") << longPath << box << false;
    QTest::newRow("4,095 characters") << longPath.chopped(1) << u"Return"_s << false;
    QTest::newRow("invalid UTF-8") << in("bad\xff\xfe.bmp") << box << false;
    QTest::newRow("looks like a toolkit option") << QByteArray("-reverse") << u"Escape"_s << false;
    QTest::newRow("symlink to a file") << in("link.bmp") << u"Return"_s << false;
    QTest::newRow("symlink to /dev/null") << in("null.bmp") << u"Escape"_s << false;
    QTest::newRow("dangling symlink") << in("dangling.bmp") << u"Escape"_s << false;
    QTest::newRow("folder") << in("folder.bmp") << box << false;
    QTest::newRow("/dev/null") << null << box << false;
    QTest::newRow("FIFO") << in("fifo.bmp") << box << false;
    QTest::newRow("socket") << in("socket.bmp") << box << false;
}

// Start, a window or an error box, one key, the end: each case gives the
// outcome its row promises, soon, and nothing beside it.
void TestStress::cycles()
{
    QFETCH(QByteArray, argument);
    QFETCH(QString, ending);
    QFETCH(bool, repeated);
    const QStringList symbols{u"N"_s, u"Na"_s, u"Cl"_s, u"K"_s};
    const QByteArray here = QFile::encodeName(m_dir.filePath(u"cycles"_s));
    std::vector<qint64> runMs, afterKeyMs;
    for (int i = 0; i < (repeated ? m_runs : 1); ++i) {
        const QString symbol = symbols[i % symbols.size()];
        const QByteArray path = QByteArray(argument).replace("%1", QByteArray::number(i));
        // A relative path is the working folder's; quotes around the whole are no part of it.
        const QByteArray at = path.startsWith('/') ? path : here + '/' + (path == "\"\"" ? "" : path);
        // A link's target stays as it was, whatever becomes of the link.
        const QByteArray watched = QFile::encodeName(QFile::symLinkTarget(QFile::decodeName(at)));
        const QByteArray atBefore = state(at), watchedBefore = state(watched), folderBefore = state(here);
        QStringList beside = listing(here); // after a run: these and the path, no temporary file
        if (!ending.isEmpty() && QFileInfo(QFile::decodeName(at)).path() == QFile::decodeName(here))
            beside << QFileInfo(QFile::decodeName(at)).fileName();
        beside.removeDuplicates();
        beside.sort();

        Tool tool(path, here);
        const unsigned long window = tool.window();
        QVERIFY2(window, qPrintable(u"run %1: neither a window nor a box appeared"_s.arg(i)));
        // Only the main window has its size; the box bears the same title.
        QCOMPARE(XSession::windowSize(window) == kWindowSize, !ending.isEmpty());
        if (!ending.isEmpty())
            QVERIFY2(state(at) == "nothing", "the path was not cleared at the start");
        if (ending == u"Return")
            QVERIFY(key(QStringList(symbol.begin(), symbol.end()).join(u' ')));
        const InPlaceWrites inPlace(QFile::encodeName(QFileInfo(QFile::decodeName(at)).path()));
        const qint64 keyAt = tool.clock.elapsed();
        QVERIFY(key(ending.isEmpty() ? u"Return"_s : ending));
        QVERIFY2(tool.wait(5000), qPrintable(u"run %1 hangs"_s.arg(i)));
        QVERIFY(tool.exitedWith(ending.isEmpty() ? 1 : 0));
        runMs.push_back(tool.endedMs);
        afterKeyMs.push_back(tool.endedMs - keyAt);
        if (ending.isEmpty()) {
            QCOMPARE(state(at), atBefore);
            QCOMPARE(state(here), folderBefore);
        } else {
            const QString fault = outcomeFault(at, ending == u"Return" ? expectedSize(symbol) : QSize());
            QVERIFY2(fault.isEmpty(), qPrintable(u"run %1 (%2): %3"_s.arg(i).arg(symbol, fault)));
            QCOMPARE(listing(here), beside);
            if (ending == u"Return")
                QVERIFY2(
                    !inPlace.names().contains(QFile::encodeName(QFileInfo(QFile::decodeName(at)).fileName())),
                    "the picture was written at the path, not renamed onto it whole");
        }
        QCOMPARE(state(watched), watchedBefore);
    }
    const qint64 slowest = *std::max_element(runMs.begin(), runMs.end());
    if (repeated)
        qInfo("%d runs: start to end median %lld ms, max %lld ms; key to end median %lld ms, max %lld ms",
            m_runs, median(runMs), slowest, median(afterKeyMs),
            *std::max_element(afterKeyMs.begin(), afterKeyMs.end()));
    QVERIFY2(slowest <= kRunLimitMs, qPrintable(u"the slowest run took %1 ms"_s.arg(slowest)));
}

QTEST_MAIN(TestStress)
#include "tst_stress.moc"
