#include "Exchange.h"
#include "ImageSurface.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <array>
#include <cmath>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

struct FakeDots final : DotSlots
{
    std::array<short, kCount> values{};
    short Value(int index) const override { return values[std::size_t(index)]; }
    void setValue(int index, short value) override { values[std::size_t(index)] = value; }
};

struct FakeSpin final : SpinButton
{
    short value = 17;
    short Max() const override { return 20; }
    short Value() const override { return value; }
};

struct FakeCaption final : Caption
{
    void setCaption(const QString &) override { }
};

struct FakeDialogs final : Dialogs
{
    QStringList boxes;
    void critical(const QString &text) override { boxes << text; }
    bool criticalYesNo(const QString &text) override
    {
        boxes << text;
        return true;
    }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
};

// The tool without its window: the handlers, and what closing from code recorded.
struct Tool
{
    ImageSurface picOut{QSize(120, 109), startFont(), 2};
    ImageSurface picTemp{QSize(57, 49), startFont()};
    FakeDots dots;
    FakeSpin spin;
    FakeCaption caption;
    FakeDialogs dialogs;
    Formula formula{picOut, dots, spin, caption};
    QList<ExitStatus> closes;
    Exchange exchange{formula, picOut, picTemp, dialogs, [this](ExitStatus s) { closes << s; }};

    void start(const QByteArrayList &arguments) { exchange.Form_Load(arguments); }
    void start(const QString &path) { start(QByteArrayList{path.toUtf8()}); }
    void exportPicture()
    {
        exchange.guarded([this] { exchange.cbExport_Click(); });
    }
};

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// A tiny tmpfs of our own; only root may mount one.
struct TinyFileSystem
{
    QString path;
    bool mounted = false;
    TinyFileSystem(const QString &where, const char *options) : path(where)
    {
        QDir().mkpath(path);
        mounted = runningAsRoot()
            && ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options) == 0;
    }
    ~TinyFileSystem()
    {
        if (mounted)
            ::umount(QFile::encodeName(path).constData());
    }
};

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void outcomes_data();
    void outcomes();
    void acceptedPaths_data();
    void acceptedPaths();
    void badPaths_data();
    void badPaths();
    void exportFailureLeavesNothing_data();
    void exportFailureLeavesNothing();
    void emptySymbolIsWhite();
    void pictureIsTheCrop();

private:
    QTemporaryDir m_dir;
};

// Every case starts from an empty folder, whatever an earlier one left.
void TestExchange::init()
{
    for (const QFileInfo &entry :
        QDir(m_dir.path())
            .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

void TestExchange::outcomes_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("picture");

    QTest::newRow("Отмена") << u"cancel"_s << false;
    QTest::newRow("close box") << u"close box"_s << false;
    QTest::newRow("Копировать") << u"export"_s << true;
    QTest::newRow("close after the export") << u"export, close"_s << true;
}

void TestExchange::outcomes()
{
    QFETCH(QString, ending);
    QFETCH(bool, picture);

    const QString path = m_dir.filePath(u"outcome.bmp"_s);
    {
        QFile leftover(path);
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.write("an earlier run's picture");
    }
    Tool tool;
    tool.start(path);
    QVERIFY2(!QFile::exists(path), "start-up must remove the file");
    QVERIFY(tool.dialogs.boxes.isEmpty());
    QVERIFY(tool.closes.isEmpty());

    bool cancel = false;
    if (ending == u"cancel")
        tool.exchange.cbCancel_Click();
    else if (ending == u"close box")
        tool.exchange.Form_QueryUnload(cancel, Exchange::vbFormControlMenu);
    else
        tool.exportPicture();
    QCOMPARE(tool.closes, QList{ExitStatus::Done});

    const QByteArray written = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
    }();
    if (ending == u"export, close") {
        // The window's own close after the export comes from code.
        tool.exchange.Form_QueryUnload(cancel, Exchange::vbFormCode);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written);
    }
    QVERIFY(!cancel);
    QCOMPARE(written.isEmpty(), !picture);
    if (picture) {
        const QImage image(path);
        QCOMPARE(image.size(),
            QSize(int(std::lround(tool.formula.sngCropWidth)), int(std::lround(tool.formula.sngCropHeight))));
        const QString identify = QStandardPaths::findExecutable(u"identify"_s);
        if (!identify.isEmpty()) {
            QProcess process;
            process.start(identify, {u"-format"_s, u"%m %wx%h"_s, path});
            QVERIFY(process.waitForFinished());
            QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()),
                u"BMP3 %1x%2"_s.arg(image.width()).arg(image.height()));
        }
    }
    QCOMPARE(entries(m_dir.path()), QStringList{u"outcome.bmp"_s});
}

void TestExchange::acceptedPaths_data()
{
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QString>("file");

    const QByteArray dir = QFile::encodeName(m_dir.path());
    QTest::newRow("spaces, unquoted")
        << QByteArrayList{dir + "/with", "two", "spaces.bmp"} << u"with two spaces.bmp"_s;
    QTest::newRow("spaces, quoted") << QByteArrayList{'"' + dir + "/with space.bmp\""} << u"with space.bmp"_s;
    QTest::newRow("Cyrillic") << QByteArrayList{dir + "/формула.bmp"} << u"формула.bmp"_s;
    QTest::newRow("inner quote kept") << QByteArrayList{dir + "/a\"b.bmp"} << u"a\"b.bmp"_s;
}

void TestExchange::acceptedPaths()
{
    QFETCH(QByteArrayList, arguments);
    QFETCH(QString, file);

    Tool tool;
    tool.start(arguments);
    QVERIFY(tool.dialogs.boxes.isEmpty());
    QCOMPARE(tool.formula.strFileName, m_dir.filePath(file));
    tool.exchange.cbCancel_Click();
    QCOMPARE(entries(m_dir.path()), QStringList{file});
    QCOMPARE(QFileInfo(m_dir.filePath(file)).size(), 0);
}

void TestExchange::badPaths_data()
{
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QString>("box");

    const QByteArray dir = QFile::encodeName(m_dir.path());
    QTest::newRow("no argument") << QByteArrayList{} << u"Ошибка 1: Не задана командная строка"_s;
    QTest::newRow("empty quotes") << QByteArrayList{"\"\""} << u"Ошибка 1: Не задана командная строка"_s;
    QTest::newRow("missing folder") << QByteArrayList{dir + "/missing/f.bmp"}
                                    << u"Ошибка 76: Путь не найден"_s;
    QTest::newRow("quotes around a missing folder")
        << QByteArrayList{'"' + dir + "/нет папки/f.bmp\""} << u"Ошибка 76: Путь не найден"_s;
    QTest::newRow("folder at the path")
        << QByteArrayList{dir + "/folder"} << u"Ошибка 75: По этому пути находится папка"_s;
    QTest::newRow("pipe at the path") << QByteArrayList{
        dir + "/pipe"} << u"Ошибка 75: По этому пути находится не файл, а устройство или канал"_s;
    QTest::newRow("invalid UTF-8") << QByteArrayList{dir + "/bad\xff.bmp"}
                                   << u"Ошибка 52: Недопустимое имя файла"_s;
    QTest::newRow("name too long") << QByteArrayList{dir + '/' + QByteArray(300, 'n')}
                                   << u"Ошибка 52: Слишком длинное имя файла"_s;
}

void TestExchange::badPaths()
{
    QFETCH(QByteArrayList, arguments);
    QFETCH(QString, box);

    QVERIFY(QDir(m_dir.path()).mkdir(u"folder"_s));
    QVERIFY(::mkfifo(QFile::encodeName(m_dir.filePath(u"pipe"_s)).constData(), 0600) == 0);
    const QStringList before = entries(m_dir.path());

    Tool tool;
    tool.start(arguments);
    QCOMPARE(tool.dialogs.boxes, QStringList{box});
    QCOMPARE(tool.closes, QList{ExitStatus::StartupFailed});
    QCOMPARE(entries(m_dir.path()), before);
    QVERIFY(QFileInfo(m_dir.filePath(u"folder"_s)).isDir());
}

void TestExchange::exportFailureLeavesNothing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("box");

    QTest::newRow("folder removed after start-up") << u"removed"_s << u"Ошибка 76: Путь не найден"_s;
    QTest::newRow("disk full") << u"full"_s << u"Ошибка 61: Диск заполнен"_s;
    QTest::newRow("read-only file system")
        << u"read-only"_s << u"Ошибка 71: Файловая система доступна только для чтения"_s;
}

void TestExchange::exportFailureLeavesNothing()
{
    QFETCH(QString, fault);
    QFETCH(QString, box);

    const QString folder = m_dir.filePath(u"export"_s);
    std::optional<TinyFileSystem> tiny;
    if (fault != u"removed") {
        tiny.emplace(folder, "size=4k");
        if (!tiny->mounted)
            QSKIP("needs root to mount a tiny tmpfs");
    } else {
        QVERIFY(QDir().mkpath(folder));
    }

    Tool tool;
    tool.start(folder + u"/picture.bmp"_s);
    QVERIFY(tool.dialogs.boxes.isEmpty());
    tool.formula.strFormula = u"Na"_s;
    tool.dots.values.fill(1);
    tool.spin.value = 1; // the largest radius makes the largest file
    tool.formula.vscRadiusUpDown_Change();

    if (fault == u"removed")
        QVERIFY(QDir(folder).removeRecursively());
    else if (fault == u"full") {
        QFile filler(folder + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly));
        filler.write(QByteArray(2048, 'x'));
    } else {
        QVERIFY(
            ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr)
            == 0);
    }
    const QStringList before = QFileInfo::exists(folder) ? entries(folder) : QStringList();

    tool.exportPicture();
    QCOMPARE(tool.dialogs.boxes, QStringList{box});
    QCOMPARE(tool.closes, QList{ExitStatus::Failed});
    QVERIFY(!QFileInfo::exists(folder + u"/picture.bmp"_s));
    if (QFileInfo::exists(folder))
        QCOMPARE(entries(folder), before);
}

void TestExchange::emptySymbolIsWhite()
{
    const QString path = m_dir.filePath(u"empty.bmp"_s);
    Tool tool;
    tool.start(path);
    tool.exportPicture();
    const QImage image(path);
    const float lineHeight = tool.picOut.TextHeight(QString());
    QCOMPARE(image.width(), 6 * 2 + 2);
    QCOMPARE(image.height(), int(std::lround(3 * 2 + 4 + lineHeight)));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(image.pixel(x, y), qRgb(255, 255, 255));
}

void TestExchange::pictureIsTheCrop()
{
    const QString path = m_dir.filePath(u"na.bmp"_s);
    Tool tool;
    tool.start(path);
    tool.formula.strFormula = u"Na"_s;
    for (int slot : {1, 7, 9})
        tool.dots.values[std::size_t(slot)] = 1;
    tool.spin.value = 16; // radius 2.5
    tool.formula.vscRadiusUpDown_Change();
    tool.exportPicture();

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // An uncompressed 24-bit BMP with the plain 40-byte info header.
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 14), 40u);
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 30), 0u);

    const QImage image = QImage::fromData(bytes);
    const Formula &f = tool.formula;
    QCOMPARE(image.size(), QSize(int(std::lround(f.sngCropWidth)), int(std::lround(f.sngCropHeight))));
    const QPoint origin(int(std::lround(f.sngCropLeft)), int(std::lround(f.sngCropTop)));
    const float W = tool.picOut.TextWidth(u"Na"_s), H = tool.picOut.TextHeight(u"Na"_s);
    const float L = (120 - W) / 2, T = (109 - H) / 2, r = 2.5f;
    for (const QPointF &centre :
        {QPointF(L - 2 * r, T + H / 2), QPointF(L + W / 2, T - r), QPointF(L + W + r, T + H / 2)}) {
        const QPoint at = QPoint(int(std::floor(centre.x())), int(std::floor(centre.y()))) - origin;
        QCOMPARE(image.pixel(at), qRgb(0, 0, 0));
    }
    // The crop's margins are white: the corners hold no ink.
    for (const QPoint &corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1)})
        QCOMPARE(image.pixel(corner), qRgb(255, 255, 255));
}

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
