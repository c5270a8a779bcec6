#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTest>

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

quint32 le(const QByteArray &bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(bytes.at(at + i));
    return value;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dotPicture();
    void icon_data();
    void icon();
    void themeIcon_data();
    void themeIcon();
};

// Every pixel against the disc's rows; the bytes other readers rely on: GIF89a,
// a two-entry table (0 black, 1 white), index 1 transparent before the image.
void TestResources::dotPicture()
{
    const QImage picture(u":/dot.gif"_s);
    QCOMPARE(picture.size(), QSize(16, 16));
    const int black[16][2] = {{0, -1}, {0, -1}, {0, -1}, {6, 9}, {5, 10}, {4, 11}, {3, 12}, {3, 12}, {3, 12},
        {3, 12}, {4, 11}, {5, 10}, {6, 9}, {0, -1}, {0, -1}, {0, -1}};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (x >= black[y][0] && x <= black[y][1] ? pixel != qRgb(0, 0, 0) : qAlpha(pixel) != 0)
                QFAIL(qPrintable(u"(%1, %2) is #%3"_s.arg(x).arg(y).arg(pixel, 8, 16, QChar(u'0'))));
        }
    }

    const QByteArray gif = readFile(u":/dot.gif"_s);
    QVERIFY(gif.startsWith("GIF89a"));
    QCOMPARE(quint8(gif.at(10)) & 0x87, 0x80);
    QCOMPARE(gif.mid(13, 6), QByteArray("\x00\x00\x00\xff\xff\xff", 6));
    const qsizetype control = gif.indexOf("\x21\xf9\x04", 19);
    QVERIFY(control >= 19 && control < gif.indexOf('\x2c', 19));
    QVERIFY(gif.at(control + 3) & 0x01);
    QCOMPARE(gif.at(control + 6), '\x01');
}

void TestResources::icon_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("letters");
    QTest::addColumn<int>("dots");
    QTest::newRow("16 px: N with three dots left and one above") << 16 << 1 << 4;
    QTest::newRow("32 px: N≡N with a dot above and below each letter") << 32 << 2 << 10;
}

// The .ico in 16 colours with a mask, as Qt reads it and as the PNGs show it:
// light grey letters side by side and red five-pixel plus signs.
void TestResources::icon()
{
    QFETCH(int, size);
    QFETCH(int, letters);
    QFETCH(int, dots);

    const QByteArray ico = readFile(QString::fromUtf8(ZEMBREL_ICO_PATH));
    QVERIFY(ico.size() > 38);
    QCOMPARE(le(ico, 0, 4), 0x10000u); // an icon, not a cursor
    QCOMPARE(le(ico, 4, 2), 2u);
    const qsizetype entry = size == 16 ? 6 : 22;
    QCOMPARE(le(ico, entry, 2), quint32(size * 0x101));
    QCOMPARE(le(ico, entry + 6, 2), 4u);
    const quint32 length = le(ico, entry + 8, 4), image = le(ico, entry + 12, 4);
    const int maskStride = (size + 31) / 32 * 4;
    // 40-byte header, 16 palette entries, 4-bit colour rows, 1-bit mask rows.
    QCOMPARE(length, quint32(40 + 16 * 4 + size * size / 2 + size * maskStride));
    QVERIFY(image + length <= quint32(ico.size()));
    QCOMPARE(le(ico, image + 8, 4), quint32(2 * size));
    QCOMPARE(le(ico, image + 14, 2), 4u);

    QBuffer file;
    file.setData(ico);
    QImageReader reader(&file, "ico");
    QVERIFY(reader.jumpToImage(size == 16 ? 0 : 1));
    const QImage icon = reader.read().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(QImage(u":/icons/zembrel-%1.png"_s.arg(size)).convertToFormat(QImage::Format_ARGB32), icon);

    // Bottom-up rows. A transparent pixel must be mask 1 over colour 0, or
    // Windows inverts the desktop behind it.
    const qsizetype colours = image + 40 + 16 * 4, mask = colours + size * size / 2;
    for (int y = 0, row = size - 1; y < size; ++y, --row) {
        for (int x = 0; x < size; ++x) {
            const int index = quint8(ico.at(colours + row * size / 2 + x / 2)) >> (x % 2 ? 0 : 4) & 0x0f;
            const bool clear = quint8(ico.at(mask + row * maskStride + x / 8)) & (0x80 >> (x % 8));
            const QRgb pixel = icon.pixel(x, y);
            if (clear ? index != 0 || qAlpha(pixel) != 0
                      : pixel != qRgb(192, 192, 192) && pixel != qRgb(255, 0, 0))
                QFAIL(
                    qPrintable(u"(%1, %2): mask %3, index %4, #%5"_s.arg(x).arg(y).arg(clear).arg(index).arg(
                        pixel, 8, 16, QChar(u'0'))));
        }
    }

    // Each red dot is a plus sign: its centre and four arms, and no other red.
    const auto red = [&](QPoint p) { return icon.rect().contains(p) && icon.pixel(p) == qRgb(255, 0, 0); };
    const QPoint plus[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    QList<QPoint> reds, centres;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (red({x, y}))
                reds << QPoint(x, y);
    for (const QPoint p : std::as_const(reds))
        if (std::all_of(std::begin(plus), std::end(plus), [&](QPoint arm) { return red(p + arm); }))
            centres << p;
    for (const QPoint c : std::as_const(centres))
        for (const QPoint arm : plus)
            reds.removeOne(c + arm);
    QCOMPARE(centres.size(), dots);
    QVERIFY(reds.isEmpty());

    // The letters stand apart: count the runs of columns with grey in them.
    int letterRuns = 0;
    for (int x = 0, before = 0; x < size; ++x) {
        int grey = 0;
        for (int y = 0; y < size; ++y)
            grey |= icon.pixel(x, y) == qRgb(192, 192, 192);
        letterRuns += grey && !before;
        before = grey;
    }
    QCOMPARE(letterRuns, letters);
}

void TestResources::themeIcon_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {16, 24, 32, 48, 64, 128})
        QTest::addRow("%d px", size) << size;
}

// The icon themes' sizes are one drawing, each rendered at its own size: the
// same picture as the largest at a glance, and never a smaller size blown up.
void TestResources::themeIcon()
{
    QFETCH(int, size);
    const auto theme = [](int side) {
        return QImage(QStringLiteral(ZEMBREL_GENERATED_DIR "/theme-%1.png").arg(side))
            .convertToFormat(QImage::Format_ARGB32);
    };
    const QImage icon = theme(size);
    QCOMPARE(icon.size(), QSize(size, size));
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);

    const QImage largest = theme(256).scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 difference = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb a = icon.pixel(x, y), b = largest.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                + std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
        }
    }
    const double meanPerChannel = double(difference) / (4.0 * size * size);
    QVERIFY2(meanPerChannel < 16,
        qPrintable(u"differs from the 256 px icon by %1 a channel"_s.arg(meanPerChannel)));

    // A smaller size blown up to twice its size is made of uniform 2 × 2 blocks.
    if (size % 2 == 0 && size > 16) {
        bool blocky = true;
        for (int y = 0; y < size && blocky; y += 2) {
            for (int x = 0; x < size && blocky; x += 2) {
                const QRgb corner = icon.pixel(x, y);
                blocky = icon.pixel(x + 1, y) == corner && icon.pixel(x, y + 1) == corner
                    && icon.pixel(x + 1, y + 1) == corner;
            }
        }
        QVERIFY2(!blocky, "the icon is a smaller one enlarged");
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
