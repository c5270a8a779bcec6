#include <QBitArray>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPoint>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr QRgb kLightGrey = qRgb(192, 192, 192);
constexpr QRgb kRed = qRgb(255, 0, 0);

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

// Shapes of one colour, pixels touching by side or corner counted together.
std::vector<std::vector<QPoint>> shapes(const QImage &image, QRgb colour)
{
    std::vector<std::vector<QPoint>> found;
    QBitArray seen(image.width() * image.height());
    auto take = [&](QPoint p) {
        if (!image.rect().contains(p) || image.pixel(p) != colour)
            return false;
        const int bit = p.y() * image.width() + p.x();
        if (seen.testBit(bit))
            return false;
        seen.setBit(bit);
        return true;
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!take({x, y}))
                continue;
            std::vector<QPoint> shape{{x, y}};
            for (std::size_t i = 0; i < shape.size(); ++i) {
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (take(shape[i] + QPoint(dx, dy)))
                            shape.push_back(shape[i] + QPoint(dx, dy));
                    }
                }
            }
            found.push_back(shape);
        }
    }
    return found;
}

bool isPlusSign(const std::vector<QPoint> &shape)
{
    if (shape.size() != 5)
        return false;
    QPoint centre;
    for (const QPoint p : shape)
        centre += p;
    centre /= 5;
    for (const QPoint arm : {QPoint(0, 0), QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
        if (std::find(shape.begin(), shape.end(), centre + arm) == shape.end())
            return false;
    }
    return true;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dotPicture_data();
    void dotPicture();
    void dotGifBlocks();
    void iconDirectory();
    void iconPicture_data();
    void iconPicture();
};

void TestResources::dotPicture_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("firstBlack"); // past lastBlack: no black pixel in the row
    QTest::addColumn<int>("lastBlack");
    const int runs[16][2] = {{0, -1}, {0, -1}, {0, -1}, {6, 9}, {5, 10}, {4, 11}, {3, 12}, {3, 12}, {3, 12},
        {3, 12}, {4, 11}, {5, 10}, {6, 9}, {0, -1}, {0, -1}, {0, -1}};
    for (int row = 0; row < 16; ++row)
        QTest::addRow("row %d", row) << row << runs[row][0] << runs[row][1];
}

void TestResources::dotPicture()
{
    QFETCH(int, row);
    QFETCH(int, firstBlack);
    QFETCH(int, lastBlack);
    const QImage picture(u":/dot.gif"_s);
    QCOMPARE(picture.size(), QSize(16, 16));
    for (int column = 0; column < 16; ++column) {
        const QRgb pixel = picture.pixel(column, row);
        const bool black = column >= firstBlack && column <= lastBlack;
        QVERIFY2(black ? pixel == qRgb(0, 0, 0) : qAlpha(pixel) == 0,
            qPrintable(u"column %1: #%2"_s.arg(column).arg(pixel, 8, 16, QChar(u'0'))));
    }
}

// The bytes other readers rely on: the version, the two-colour table, the transparency.
void TestResources::dotGifBlocks()
{
    const QByteArray gif = readFile(u":/dot.gif"_s);
    QVERIFY(gif.startsWith("GIF89a"));
    QCOMPARE(le(gif, 6, 2), 16u);
    QCOMPARE(le(gif, 8, 2), 16u);
    const auto screen = quint8(gif.at(10));
    QVERIFY2(screen & 0x80, "no global colour table");
    QCOMPARE(2 << (screen & 0x07), 2);
    QCOMPARE(gif.mid(13, 6), QByteArray("\x00\x00\x00\xff\xff\xff", 6));

    // Extensions until the image; the graphic control extension must come before it.
    qsizetype at = 19;
    bool transparencySeen = false;
    while (at < gif.size() && gif.at(at) == '\x21') {
        if (gif.at(at + 1) == '\xf9') {
            QCOMPARE(gif.at(at + 2), '\x04');
            QVERIFY2(gif.at(at + 3) & 0x01, "transparency flag not set");
            QCOMPARE(quint8(gif.at(at + 6)), quint8(1));
            transparencySeen = true;
        }
        at += 2;
        while (at < gif.size() && gif.at(at) != 0)
            at += quint8(gif.at(at)) + 1;
        ++at;
    }
    QVERIFY(transparencySeen);
    QCOMPARE(gif.at(at), '\x2c');
    QVERIFY(gif.endsWith('\x3b'));
}

void TestResources::iconDirectory()
{
    const QByteArray ico = readFile(QString::fromUtf8(ZEMBREL_ICO_PATH));
    QVERIFY(!ico.isEmpty());
    QCOMPARE(le(ico, 0, 2), 0u);
    QCOMPARE(le(ico, 2, 2), 1u);
    QCOMPARE(le(ico, 4, 2), 2u);
    for (const quint32 size : {16u, 32u}) {
        const qsizetype entry = size == 16 ? 6 : 22;
        QCOMPARE(le(ico, entry, 1), size);
        QCOMPARE(le(ico, entry + 1, 1), size);
        QCOMPARE(le(ico, entry + 6, 2), 4u); // bits per pixel
        const quint32 length = le(ico, entry + 8, 4);
        const quint32 offset = le(ico, entry + 12, 4);
        QVERIFY(offset + length <= quint32(ico.size()));
        QCOMPARE(le(ico, offset + 4, 4), size);
        QCOMPARE(le(ico, offset + 8, 4), 2 * size); // colour rows and mask rows
        QCOMPARE(le(ico, offset + 14, 2), 4u);
        // 40-byte header, 16 palette entries, 4-bit colour rows, 1-bit mask rows.
        QCOMPARE(length, 40 + 16 * 4 + size * size / 2 + size * ((size + 31) / 32 * 4));
    }
}

void TestResources::iconPicture_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("letters");
    QTest::addColumn<int>("dots");
    QTest::newRow("16 px: N with three dots left and one above") << 16 << 1 << 4;
    QTest::newRow("32 px: N≡N with a dot above and below each letter") << 32 << 2 << 10;
}

void TestResources::iconPicture()
{
    QFETCH(int, size);
    QFETCH(int, letters);
    QFETCH(int, dots);
    const QByteArray ico = readFile(QString::fromUtf8(ZEMBREL_ICO_PATH));
    QVERIFY(!ico.isEmpty());

    // Decoded from the bytes here: transparent pixels must be mask 1 over colour 0,
    // or Windows inverts the desktop behind them.
    const qsizetype image = le(ico, size == 16 ? 18 : 34, 4);
    const qsizetype palette = image + 40;
    const qsizetype colours = palette + 16 * 4;
    const int maskStride = (size + 31) / 32 * 4;
    const qsizetype mask = colours + size * size / 2;
    QImage icon(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        const int row = size - 1 - y;
        for (int x = 0; x < size; ++x) {
            const int index = quint8(ico.at(colours + row * size / 2 + x / 2)) >> (x % 2 ? 0 : 4) & 0x0f;
            const bool clear = quint8(ico.at(mask + row * maskStride + x / 8)) & (0x80 >> (x % 8));
            if (clear) {
                QCOMPARE(index, 0);
                icon.setPixel(x, y, qRgba(0, 0, 0, 0));
            } else {
                const qsizetype entry = palette + 4 * index;
                icon.setPixel(
                    x, y, qRgb(quint8(ico.at(entry + 2)), quint8(ico.at(entry + 1)), quint8(ico.at(entry))));
                QVERIFY2(icon.pixel(x, y) == kLightGrey || icon.pixel(x, y) == kRed,
                    qPrintable(u"(%1, %2) is #%3"_s.arg(x).arg(y).arg(icon.pixel(x, y), 8, 16, QChar(u'0'))));
            }
        }
    }

    const auto redShapes = shapes(icon, kRed);
    QCOMPARE(int(redShapes.size()), dots);
    for (const auto &shape : redShapes)
        QVERIFY2(isPlusSign(shape),
            qPrintable(u"red shape at (%1, %2) is not a plus sign"_s.arg(shape[0].x()).arg(shape[0].y())));
    QCOMPARE(int(shapes(icon, kLightGrey).size()), letters);

    // Every other form of the icon shows the same pixels.
    QCOMPARE(QImage(u":/icons/zembrel-%1.png"_s.arg(size)).convertToFormat(QImage::Format_ARGB32), icon);
    QBuffer file;
    file.setData(ico);
    QImageReader reader(&file, "ico");
    QVERIFY(reader.jumpToImage(size == 16 ? 0 : 1));
    QCOMPARE(reader.read().convertToFormat(QImage::Format_ARGB32), icon);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
