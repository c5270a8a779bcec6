#include "Exchange.h"
#include "ImageSurface.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cmath>
#include <optional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// The window without its widgets, started with `arguments`: dots, radius 2, boxes, closes from code.
struct Tool final : DotSlots, SpinButton, Caption, Dialogs
{
    std::array<short, kCount> dots{};
    short spin = 17;
    QStringList boxes;
    QList<ExitStatus> closes;
    ImageSurface picOut{QSize(120, 109), startFont(), 2};
    ImageSurface picTemp{QSize(57, 49), startFont()};
    Formula formula{picOut, *this, *this, *this};
    Exchange exchange{formula, picOut, picTemp, *this, [this](ExitStatus s) { closes << s; }};

    explicit Tool(const QByteArrayList &arguments) { exchange.Form_Load(claimHandshakePath(arguments)); }
    explicit Tool(const QString &path) : Tool(QByteArrayList{path.toUtf8()}) { }
    short Value(int index) const override { return dots[std::size_t(index)]; }
    void setValue(int index, short value) override { dots[std::size_t(index)] = value; }
    short Max() const override { return 20; }
    short Value() const override { return spin; }
    void setCaption(const QString &) override { }
    void critical(const QString &text) override { boxes << text; }
    bool criticalYesNo(const QString &) override { return true; }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }

    void exportPicture()
    {
        exchange.guarded([this] { exchange.cbExport_Click(); });
    }
};

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A 4 KiB tmpfs of our own at `where`; only root may mount one.
struct TinyFileSystem
{
    QByteArray path;
    bool mounted;
    TinyFileSystem(const QString &where, unsigned long flags)
        : path(QFile::encodeName(where)),
          mounted(QDir().mkpath(where) && ::geteuid() == 0
              && ::mount("tmpfs", path.constData(), "tmpfs", flags, "size=4k") == 0)
    { }
    ~TinyFileSystem()
    {
        if (mounted)
            ::umount(path.constData());
    }
};

const QString kNoPath = u"Ошибка 1: Не задана командная строка"_s;
const QString kPathNotFound = u"Ошибка 76: Путь не найден"_s;
const QString kReadOnly = u"Ошибка 71: Файловая система доступна только для чтения"_s;

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    // Every case starts from an empty folder, whatever an earlier one left.
    void init() { QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path())); }

    void outcomes_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("Отмена") << u"cancel"_s;
        QTest::newRow("close box") << u"close box"_s;
        QTest::newRow("Копировать, then the close from code") << u"export"_s;
    }
    void outcomes()
    {
        QFETCH(QString, ending);
        const QString path = m_dir.filePath(u"outcome.bmp"_s);
        QVERIFY(writeFile(path, "an earlier run's picture"));
        Tool tool(path);
        QVERIFY2(!QFile::exists(path), "start-up must remove the file");
        QVERIFY(tool.boxes.isEmpty() && tool.closes.isEmpty());

        bool cancel = false;
        if (ending == u"cancel")
            tool.exchange.cbCancel_Click();
        else if (ending == u"close box")
            tool.exchange.Form_QueryUnload(cancel, Exchange::vbFormControlMenu);
        else {
            tool.formula.strFormula = u"Na"_s;
            tool.dots[1] = tool.dots[7] = tool.dots[9] = 1; // left of, above and right of the text
            tool.spin = 16; // radius 2.5
            tool.formula.vscRadiusUpDown_Change();
            tool.exportPicture();
        }
        QCOMPARE(tool.closes, QList{ExitStatus::Done});
        const QByteArray written = contents(path);
        tool.exchange.Form_QueryUnload(cancel, Exchange::vbFormCode); // the window's own close
        QVERIFY(!cancel);
        QCOMPARE(contents(path), written);
        QCOMPARE(entries(m_dir.path()), QStringList{u"outcome.bmp"_s});
        QCOMPARE(written.isEmpty(), ending != u"export");
        if (written.isEmpty())
            return;

        // An uncompressed 24-bit BMP with the plain 40-byte info header: the crop of the drawing, whole
        // pixels.
        QCOMPARE(written.left(2) + written.mid(14, 4) + written.mid(28, 6),
            QByteArray("BM(\0\0\0\x18\0\0\0\0\0", 12));
        const QImage image = QImage::fromData(written).convertToFormat(QImage::Format_RGB32);
        const Formula &f = tool.formula;
        const auto px = [](float value) { return int(std::lround(value)); };
        const QRect crop(px(f.sngCropLeft), px(f.sngCropTop), px(f.sngCropWidth), px(f.sngCropHeight));
        QCOMPARE(image, tool.picOut.Image().copy(crop).convertToFormat(QImage::Format_RGB32));

        const QString identify = QStandardPaths::findExecutable(u"identify"_s);
        if (identify.isEmpty())
            QSKIP("ImageMagick's identify is not installed");
        QProcess process;
        process.start(identify, {u"-format"_s, u"%m %wx%h"_s, path});
        QVERIFY(process.waitForFinished());
        QCOMPARE(
            process.readAllStandardOutput(), u"BMP3 %1x%2"_s.arg(image.width()).arg(image.height()).toUtf8());
    }

    void paths_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<QString>("outcome"); // the start-up box, or the file a cancel leaves
        const QByteArray dir = m_dir.path().toUtf8();
        QTest::newRow("Cyrillic, unquoted with spaces")
            << QByteArrayList{dir + "/две", "формулы.bmp"} << u"две формулы.bmp"_s;
        QTest::newRow("quoted, with an inner quote")
            << QByteArrayList{'"' + dir + "/a \"b.bmp\""} << u"a \"b.bmp"_s;
        QTest::newRow("no argument") << QByteArrayList{} << kNoPath;
        QTest::newRow("empty quotes") << QByteArrayList{"\"\""} << kNoPath;
        QTest::newRow("quoted missing folder")
            << QByteArrayList{'"' + dir + "/нет папки/f.bmp\""} << kPathNotFound;
        QTest::newRow("folder at the path")
            << QByteArrayList{dir + "/folder"} << u"Ошибка 75: По этому пути находится папка"_s;
        QTest::newRow("pipe at the path") << QByteArrayList{
            dir + "/pipe"} << u"Ошибка 75: По этому пути находится не файл, а устройство или канал"_s;
        // Root writes into any folder, so as root the folder is a read-only file system.
        QTest::newRow("read-only folder") << QByteArrayList{
            dir + "/read-only/f.bmp"} << (::geteuid() == 0 ? kReadOnly : u"Ошибка 70: Отказано в доступе"_s);
        QTest::newRow("invalid UTF-8")
            << QByteArrayList{dir + "/bad\xff.bmp"} << u"Ошибка 52: Недопустимое имя файла"_s;
        QTest::newRow("name too long")
            << QByteArrayList{dir + '/' + QByteArray(300, 'n')} << u"Ошибка 52: Слишком длинное имя файла"_s;
    }
    void paths()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(QString, outcome);
        QVERIFY(QDir(m_dir.path()).mkdir(u"folder"_s));
        QVERIFY(::mkfifo(QFile::encodeName(m_dir.filePath(u"pipe"_s)).constData(), 0600) == 0);
        const TinyFileSystem readOnly(m_dir.filePath(u"read-only"_s), MS_RDONLY);
        QVERIFY(readOnly.mounted || ::chmod(readOnly.path.constData(), 0555) == 0);
        if (QTest::currentDataTag() == "read-only folder"_ba && ::geteuid() == 0 && !readOnly.mounted)
            QSKIP("root without the right to mount writes into any folder");
        QStringList after = entries(m_dir.path());

        Tool tool(arguments);
        if (outcome.startsWith(u"Ошибка ")) {
            QCOMPARE(tool.boxes, QStringList{outcome});
            QCOMPARE(tool.closes, QList{ExitStatus::StartupFailed});
        } else {
            QVERIFY(tool.boxes.isEmpty());
            tool.exchange.cbCancel_Click();
            QCOMPARE(contents(m_dir.filePath(outcome)), QByteArray());
            after << outcome;
            after.sort();
        }
        QCOMPARE(entries(m_dir.path()), after);
    }

    void exportFailureLeavesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("large"); // larger than any write buffer, or held whole in one
        QTest::newRow("folder removed after start-up") << u"removed"_s << kPathNotFound << true;
        QTest::newRow("disk full") << u"full"_s << u"Ошибка 61: Диск заполнен"_s << true;
        QTest::newRow("disk full, a small picture") << u"full"_s << u"Ошибка 61: Диск заполнен"_s << false;
        QTest::newRow("read-only file system") << u"read-only"_s << kReadOnly << true;
    }
    void exportFailureLeavesNothing()
    {
        QFETCH(QString, fault);
        QFETCH(QString, box);
        QFETCH(bool, large);
        const QString folder = m_dir.filePath(u"export"_s);
        QVERIFY(QDir().mkpath(folder));
        std::optional<TinyFileSystem> tiny;
        if (fault != u"removed" && !tiny.emplace(folder, 0).mounted)
            QSKIP("needs root to mount a tiny tmpfs");
        Tool tool(folder + u"/picture.bmp"_s);
        if (large) {
            tool.formula.strFormula = u"Na"_s;
            tool.dots.fill(1);
            tool.spin = 1; // the largest radius
            tool.formula.vscRadiusUpDown_Change();
        }
        if (fault == u"removed")
            QVERIFY(QDir(folder).removeRecursively());
        else if (fault == u"full")
            QVERIFY(writeFile(folder + u"/filler"_s, QByteArray(large ? 2048 : 4096, 'x')));
        else
            QVERIFY(::mount("tmpfs", tiny->path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        const QStringList before = entries(folder);
        tool.exportPicture();
        QCOMPARE(tool.boxes, QStringList{box});
        QCOMPARE(tool.closes, QList{ExitStatus::Failed});
        QCOMPARE(entries(folder), before);
    }

    void emptySymbolIsWhite()
    {
        const QString path = m_dir.filePath(u"empty.bmp"_s);
        Tool tool(path);
        tool.exportPicture();
        QImage white(
            6 * 2 + 2, int(std::lround(3 * 2 + 4 + tool.picOut.TextHeight(QString()))), QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), white);
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
