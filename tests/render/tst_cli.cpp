#include "RendererRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <pty.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kPngMagic("\x89PNG\r\n\x1a\n", 8);

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A listening socket at `path`, held while the object lives.
struct Socket
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    explicit Socket(const QString &path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(path);
        std::strncpy(address.sun_path, native.constData(), sizeof address.sun_path - 1);
        bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    ~Socket() { ::close(fd); }
    bool bound = false;
};

QString batchList(int pictures, const QString &folder)
{
    QString list;
    for (int i = 0; i < pictures; ++i)
        list += u"N --dots 1,7 -o %1/p%2.png\n"_s.arg(folder).arg(i);
    return list;
}

} // namespace

// zembrel-render as a shell user meets it: what it prints, what it leaves and
// the status it ends with.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandLine_data();
    void commandLine();
    void streams_data();
    void streams();
    void batchDefaults();
    void messagesComeAsLinesFail();
    void progressLine_data();
    void progressLine();
};

void TestCommandLine::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output"); // the start of standard output
    QTest::addColumn<QString>("errors"); // standard error holds this; "" means it is empty
    QTest::addColumn<QStringList>("left"); // the folder afterwards, besides folder.png and socket.png

    const QStringList c{u"LC_ALL=C"_s}, ru{u"LANG=ru_RU.UTF-8"_s};
    const auto row
        = [](const char *name, const QStringList &arguments, const QStringList &environment, int status,
              const QByteArray &output, const QString &errors, const QStringList &left = {}) {
              QTest::newRow(name) << arguments << environment << status << output << errors << left;
          };

    row("a picture, nothing said", {u"Na"_s, u"-o"_s, u"na.png"_s}, c, 0, {}, {}, {u"na.png"_s});
    row("nothing said in Russian either", {u"Na"_s, u"-o"_s, u"na.png"_s}, ru, 0, {}, {}, {u"na.png"_s});
    row("-o - is PNG", {u"Na"_s, u"-o"_s, u"-"_s}, c, 0, kPngMagic, {});
    row("--format still wins on -o -", {u"Na"_s, u"--format"_s, u"bmp"_s, u"-o"_s, u"-"_s}, c, 0, "BM", {});
    row("a named family replaced: a warning", {u"Na"_s, u"--font"_s, u"Helvetica"_s, u"-o"_s, u"h.png"_s}, c,
        0, {}, u"zembrel-render: warning: the font \"Helvetica\" is not on this system"_s, {u"h.png"_s});
    row("the warning in Russian", {u"Na"_s, u"--font"_s, u"Helvetica"_s, u"-o"_s, u"h.png"_s}, ru, 0, {},
        u"предупреждение: шрифта «Helvetica» в системе нет"_s, {u"h.png"_s});
    row("-q: no warning", {u"-q"_s, u"Na"_s, u"--font"_s, u"Helvetica"_s, u"-o"_s, u"h.png"_s}, c, 0, {}, {},
        {u"h.png"_s});
    row("-q: errors still", {u"--quiet"_s, u"Na"_s, u"--dots"_s, u"16"_s, u"-o"_s, u"x.png"_s}, c, 2, {},
        u"dot \"16\": slot numbers are whole numbers from 0 to 15"_s);
    row("usage line names the program", {u"--help"_s}, c, 0, "Usage: zembrel-render [options] SYMBOL\n", {});
    row("help in Russian", {u"--help"_s}, ru, 0, "Использование: zembrel-render [параметры] ОБОЗНАЧЕНИЕ\n",
        {});
    row("LC_ALL before LANG", {u"Nab"_s, u"-o"_s, u"x.png"_s}, {u"LC_ALL=C"_s, u"LANG=ru_RU.UTF-8"_s}, 2, {},
        u"symbol \"Nab\": the letter \"b\" (U+0062) is one too many"_s);
    row("LC_MESSAGES before LANG", {u"Nab"_s, u"-o"_s, u"x.png"_s},
        {u"LC_MESSAGES=ru_RU.UTF-8"_s, u"LANG=C"_s}, 2, {}, u"буква «b» (U+0062) лишняя"_s);
    row("a mistake is shown with the way to help", {u"N1"_s, u"-o"_s, u"x.png"_s}, c, 2, {},
        u"zembrel-render: symbol \"N1\": \"1\" (U+0031) is not a letter of the Latin or Russian alphabet\n"
        u"More: zembrel-render --help\n"_s);
    row("Qt's own words in Russian", {u"Na"_s, u"--colour"_s, u"-o"_s, u"x.png"_s}, ru, 2, {},
        u"Неизвестный параметр"_s);
    for (const char *dots : {"1,,2", "1,", ",", ""}) {
        QTest::addRow("empty entry in --dots \"%s\"", dots)
            << QStringList{u"N"_s, u"--dots"_s, QString::fromLatin1(dots), u"-o"_s, u"x.png"_s} << c << 2
            << QByteArray() << u"dots \"%1\": an empty entry"_s.arg(QString::fromLatin1(dots))
            << QStringList();
    }
    row("both groups of a side", {u"N"_s, u"--dots"_s, u"3,0"_s, u"-o"_s, u"x.png"_s}, c, 2, {},
        u"dots 0 and 3 cannot go together"_s);
    row("radius off the step", {u"N"_s, u"--radius"_s, u"1.25"_s, u"-o"_s, u"x.png"_s}, c, 2, {},
        u"radius \"1.25\""_s);
    row("scale 9", {u"N"_s, u"--scale"_s, u"9"_s, u"-o"_s, u"x.png"_s}, c, 2, {}, u"scale \"9\""_s);
    row("font size 2161", {u"N"_s, u"--size"_s, u"2161"_s, u"-o"_s, u"x.png"_s}, c, 2, {},
        u"font size \"2161\""_s);
    row("font too large for the scale",
        {u"N"_s, u"--size"_s, u"2160"_s, u"--scale"_s, u"8"_s, u"-o"_s, u"x.png"_s}, c, 2, {},
        u"at most 1536 pt at this scale"_s);
    row("no output", {u"N"_s}, c, 2, {}, u"no picture file given"_s);
    row("no symbol", {u"-o"_s, u"x.png"_s}, c, 2, {}, u"no element symbol given"_s);
    row("unknown extension", {u"N"_s, u"-o"_s, u"x.gif"_s}, c, 2, {},
        u"cannot tell the format from the name"_s);
    row("transparent BMP", {u"N"_s, u"--transparent"_s, u"-o"_s, u"x.bmp"_s}, c, 2, {},
        u"BMP has no transparency"_s);
    row("a missing folder, in words", {u"N"_s, u"-o"_s, u"нет/x.png"_s}, c, 1, {},
        u"zembrel-render: нет/x.png: cannot write: no such folder\n"_s);
    row("in Russian, without a number", {u"N"_s, u"-o"_s, u"нет/x.png"_s}, ru, 1, {},
        u"zembrel-render: нет/x.png: не удалось записать: такой папки нет\n"_s);
    row("a folder stays a folder", {u"N"_s, u"-o"_s, u"folder.png"_s}, c, 1, {},
        u"folder.png: cannot write: it is a folder"_s);
    row("a socket stays a socket", {u"N"_s, u"-o"_s, u"socket.png"_s}, c, 1, {},
        u"socket.png: cannot write: it is a socket"_s);
    row("an SVG may name any family", {u"N"_s, u"--font"_s, u"A\"<&'B"_s, u"-q"_s, u"-o"_s, u"q.svg"_s}, c, 0,
        {}, {}, {u"q.svg"_s});
    row("--output-dir must exist", {u"--batch"_s, u"-"_s, u"--output-dir"_s, u"nowhere"_s}, c, 2, {},
        u"output folder \"nowhere\": there is no such folder"_s);
    row("--dots is a line's word", {u"--batch"_s, u"-"_s, u"--dots"_s, u"1"_s}, c, 2, {},
        u"with --batch, \"dots\" goes on the lines of the file"_s);
    row("defaults no line could use", {u"--batch"_s, u"-"_s, u"--format"_s, u"bmp"_s, u"--transparent"_s}, c,
        2, {}, u"BMP has no transparency"_s);
}

void TestCommandLine::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QString, errors);
    QFETCH(QStringList, left);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"folder.png"_s));
    const Socket socket(dir.filePath(u"socket.png"_s));
    QVERIFY(socket.bound);

    const Run run = render(arguments, {}, dir.path(), environment);
    QCOMPARE(run.status, status);
    QVERIFY2(run.output.startsWith(output), run.output.left(64).toHex().constData());
    if (output.isEmpty())
        QCOMPARE(run.output, QByteArray());
    if (errors.isEmpty())
        QCOMPARE(run.errors, QString());
    else
        QVERIFY2(run.errors.contains(errors), qPrintable(run.errors));
    left << u"folder.png"_s << u"socket.png"_s;
    left.sort();
    QCOMPARE(entries(dir.path()), left);
    struct stat kept
    {
    };
    QVERIFY(::lstat(QFile::encodeName(dir.filePath(u"socket.png"_s)).constData(), &kept) == 0
        && S_ISSOCK(kept.st_mode));
    QVERIFY(QFileInfo(dir.filePath(u"folder.png"_s)).isDir());
    if (left.contains(u"q.svg"_s)) {
        // The family, quoted as CSS and escaped as XML, comes back as it was given.
        QFile svg(dir.filePath(u"q.svg"_s));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains(R"(font-family="'A&quot;&lt;&amp;\'B', sans-serif")"));
    }
}

void TestCommandLine::streams_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("/dev/null") << u"null"_s;
    QTest::newRow("/dev/stdout into a pipe") << u"stdout"_s;
    QTest::newRow("a FIFO read by a child") << u"fifo"_s;
    QTest::newRow("a process substitution") << u"substitution"_s;
    QTest::newRow("a full standard output") << u"full"_s;
}

// Streams are written as they are, and the status is the write's.
void TestCommandLine::streams()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    const QByteArray png = render({u"Na"_s, u"--dots"_s, u"1"_s, u"-o"_s, u"-"_s}, {}, dir.path()).output;
    QVERIFY(png.startsWith(kPngMagic));

    if (how == u"null"_s) {
        const Run run = render({u"Na"_s, u"--dots"_s, u"1"_s, u"-o"_s, u"/dev/null"_s}, {}, dir.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.errors, QString());
        QVERIFY(QFileInfo(u"/dev/null"_s).exists() && !QFileInfo(u"/dev/null"_s).isFile());
    } else if (how == u"stdout"_s) {
        const Run run = render({u"Na"_s, u"--dots"_s, u"1"_s, u"-o"_s, u"/dev/stdout"_s}, {}, dir.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.output, png);
    } else if (how == u"fifo"_s) {
        const QString fifo = dir.filePath(u"pipe"_s), copy = dir.filePath(u"copy.png"_s);
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QProcess reader;
        reader.setStandardInputFile(QProcess::nullDevice());
        reader.setStandardOutputFile(copy);
        reader.start(u"cat"_s, {fifo});
        const Run run = render({u"Na"_s, u"--dots"_s, u"1"_s, u"-o"_s, fifo}, {}, dir.path());
        QVERIFY(reader.waitForFinished(10000));
        QCOMPARE(run.status, 0);
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), png);
        struct stat kept
        {
        };
        QVERIFY(::lstat(QFile::encodeName(fifo).constData(), &kept) == 0 && S_ISFIFO(kept.st_mode));
    } else if (how == u"substitution"_s) {
        const QString copy = dir.filePath(u"copy.png"_s);
        QProcess shell;
        shell.setProcessEnvironment(environmentWith({u"LC_ALL=C"_s}));
        shell.start(u"bash"_s,
            {u"-c"_s, u"\"$0\" Na --dots 1 -o >(cat > \"$1\"); status=$?; wait; exit $status"_s,
                QStringLiteral(ZEMBREL_RENDER), copy});
        QVERIFY(shell.waitForFinished(30000));
        QCOMPARE(shell.exitCode(), 0);
        QTRY_VERIFY(QFileInfo(copy).size() == png.size());
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), png);
    } else {
        QProcess process;
        process.setProcessEnvironment(environmentWith({u"LC_ALL=C"_s}));
        process.setStandardOutputFile(u"/dev/full"_s);
        process.start(QStringLiteral(ZEMBREL_RENDER), {u"Na"_s, u"-o"_s, u"-"_s});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
            u"zembrel-render: standard output: cannot write: no space left on device\n"_s);
    }
}

// The options given with --batch are every line's, until a line says otherwise;
// relative names land under --output-dir, absolute ones where they say.
void TestCommandLine::batchDefaults()
{
    QTemporaryDir dir, elsewhere;
    QVERIFY(QDir(dir.path()).mkdir(u"out"_s));
    const QString absolute = elsewhere.filePath(u"abs.png"_s);
    const QByteArray list = u"N --dots 1 -o plain.png\n"
                            u"N --dots 1 --radius 1 --scale 1 -o own.png\n"
                            u"N --dots 1 --format bmp -o bmp.png\n"
                            u"N --dots 1 -o %1\n"_s.arg(absolute)
                                .toUtf8();
    const Run run = render({u"--batch"_s, u"-"_s, u"--scale"_s, u"2"_s, u"--radius"_s, u"3"_s, u"--format"_s,
                               u"png"_s, u"--output-dir"_s, u"out"_s},
        list, dir.path());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.errors, QString());
    QCOMPARE(entries(dir.filePath(u"out"_s)), (QStringList{u"bmp.png"_s, u"own.png"_s, u"plain.png"_s}));

    const auto single = [&](const QStringList &words) {
        return QImage::fromData(render(
            QStringList{u"N"_s, u"--dots"_s, u"1"_s} + words + QStringList{u"-o"_s, u"-"_s}, {}, dir.path())
                                    .output);
    };
    const QImage defaults = single({u"--scale"_s, u"2"_s, u"--radius"_s, u"3"_s});
    QVERIFY(!defaults.isNull());
    QCOMPARE(QImage(dir.filePath(u"out/plain.png"_s)), defaults);
    QCOMPARE(QImage(absolute), defaults);
    QCOMPARE(QImage(dir.filePath(u"out/own.png"_s)), single({u"--radius"_s, u"1"_s}));
    QFile bmp(dir.filePath(u"out/bmp.png"_s));
    QVERIFY(bmp.open(QIODevice::ReadOnly) && bmp.read(2) == "BM");
}

// A failure is told while the batch goes on, and never ahead of an earlier line.
void TestCommandLine::messagesComeAsLinesFail()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"slow.png"_s);
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QProcess process;
    process.setProcessEnvironment(environmentWith({u"LC_ALL=C"_s}));
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(ZEMBREL_RENDER), {u"--batch"_s, u"-"_s});
    // Line 2 waits for a reader of its pipe; lines 1 and 3 are mistakes.
    process.write("Nab -o a.png\nN -o slow.png\nN1 -o c.png\n");
    process.closeWriteChannel();

    QByteArray seen;
    QTRY_VERIFY_WITH_TIMEOUT((seen += process.readAllStandardError()).contains("-:1: "), 10000);
    QTest::qWait(300);
    seen += process.readAllStandardError();
    QVERIFY2(!seen.contains("-:3: "), seen.constData());
    QCOMPARE(process.state(), QProcess::Running);

    QProcess reader;
    reader.setStandardOutputFile(QProcess::nullDevice());
    reader.start(u"cat"_s, {fifo});
    QVERIFY(process.waitForFinished(10000));
    QVERIFY(reader.waitForFinished(10000));
    seen += process.readAllStandardError();
    QCOMPARE(process.exitCode(), 1);
    const QList<QByteArray> lines = seen.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith("-:1: ") && lines[1].startsWith("-:3: "));
}

void TestCommandLine::progressLine_data()
{
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<bool>("shown");
    QTest::newRow("on a terminal, a long batch") << true << 200 << true;
    QTest::newRow("on a terminal, a short batch") << true << 10 << false;
    QTest::newRow("into a pipe, a long batch") << false << 200 << false;
}

// A long batch shows done / total on a terminal and clears it at the end;
// a pipe never gets it.
void TestCommandLine::progressLine()
{
    QFETCH(bool, terminal);
    QFETCH(int, pictures);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    const QString list = dir.filePath(u"list.txt"_s);
    QVERIFY(writeFile(list, batchList(pictures, dir.path()).toUtf8()));

    QByteArray errors;
    int status = -1;
    if (!terminal) {
        const Run run = render({u"--batch"_s, list}, {}, dir.path());
        status = run.status;
        errors = run.errors.toUtf8();
    } else {
        int master = -1;
        const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
        QVERIFY(child >= 0);
        if (child == 0) {
            ::setenv("LC_ALL", "C", 1);
            ::execl(ZEMBREL_RENDER, ZEMBREL_RENDER, "--batch", QFile::encodeName(list).constData(), nullptr);
            ::_exit(127);
        }
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0)
                errors.append(buffer, n);
            else if (!(n < 0 && errno == EINTR))
                break; // EIO once the child has closed its side
        }
        ::close(master);
        int raw = 0;
        QVERIFY(::waitpid(child, &raw, 0) == child);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    QCOMPARE(status, 0);
    QCOMPARE(QDir(dir.path()).entryList({u"p*.png"_s}).size(), pictures);
    const QByteArray total = "/" + QByteArray::number(pictures);
    QCOMPARE(errors.contains(total), shown);
    if (shown) {
        QVERIFY(errors.startsWith('\r'));
        QVERIFY2(errors.endsWith("\r\033[K"), errors.right(16).toHex().constData());
    } else {
        QCOMPARE(errors, QByteArray());
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_cli.moc"
