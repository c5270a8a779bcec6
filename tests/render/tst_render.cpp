#include "Formula.h"
#include "ImageSurface.h"
#include "Layout.h"
#include "RendererRun.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

struct NoDialogs final : Dialogs
{
    void critical(const QString &) override { }
    bool criticalYesNo(const QString &) override { return true; }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
};

QList<int> slots(const QString &list)
{
    QList<int> result;
    for (const QString &slot : list.split(u',', Qt::SkipEmptyParts))
        result << slot.toInt();
    return result;
}

// Where the engine puts the dots of `symbol` at radius r, relative to the
// crop's corner in whole pixels, as the export copies it.
QList<QPointF> dotTable(const QString &symbol, const QList<int> &on, float r)
{
    const ImageSurface measure(kDrawingArea, startFont());
    const TextBox box = textBox(120, 109, measure.TextWidth(symbol), measure.TextHeight(symbol));
    const QPointF corner(std::round(box.left - r * 3 - 1), std::round(box.top - (r + r) - 1));
    QList<QPointF> centres;
    for (const int slot : on) {
        const DotCentre c = dotCentre(slot, box, r);
        centres << QPointF(c.x, c.y) - corner;
    }
    return centres;
}

} // namespace

class TestRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameAsWindowExport_data();
    void sameAsWindowExport();
    void svgShapes_data();
    void svgShapes();
    void svgLooksLikePng_data();
    void svgLooksLikePng();
    void scaleAndTransparency();
    void batch_data();
    void batch();

private:
    QTemporaryDir m_dir;
};

void TestRender::sameAsWindowExport_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("dots");
    QTest::addColumn<QString>("radius");
    QTest::newRow("N, three dots, r 2") << u"N"_s << u"1,7,9"_s << u"2"_s;
    QTest::newRow("Na, every slot it can, r 0.5") << u"Na"_s << u"0,1,2,5,6,8,9,10,13,14"_s << u"0.5"_s;
    QTest::newRow("Ж, two pairs, r 10") << u"Ж"_s << u"3,4,11,12"_s << u"10"_s;
    QTest::newRow("Cl small l, r 2") << u"Cl"_s << u"7,15"_s << u"2"_s;
    QTest::newRow("ёж, no dots, r 0.5") << u"ёж"_s << QString() << u"0.5"_s;
    QTest::newRow("empty symbol, r 10") << QString() << u"0,5,8,13"_s << u"10"_s;
}

// The window typed, clicked and exported, against the renderer's file.
void TestRender::sameAsWindowExport()
{
    QFETCH(QString, symbol);
    QFETCH(QString, dots);
    QFETCH(QString, radius);

    const QString exported = m_dir.filePath(u"window.bmp"_s), rendered = m_dir.filePath(u"render.bmp"_s);
    NoDialogs dialogs;
    frmMain window(claimHandshakePath({QFile::encodeName(exported)}), &dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *spin = window.findChild<QScrollBar *>(u"vscRadiusUpDown"_s);
    spin->setValue(spin->maximum() + 1 - int(radius.toFloat() * 2));
    for (const QChar c : symbol) // keyClicks takes Latin-1 only
        QTest::sendKeyEvent(QTest::Click, window.findChild<QWidget *>(u"picOut"_s),
            Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    for (const int slot : slots(dots))
        window.findChild<QAbstractButton *>(u"chbDot(%1)"_s.arg(slot))->click();
    QTest::keyClick(&window, Qt::Key_Return);
    QVERIFY(window.isFinished());

    QStringList formula{symbol, u"--radius"_s, radius};
    if (!dots.isEmpty())
        formula << u"--dots"_s << dots;
    QCOMPARE(render(formula + QStringList{u"-o"_s, rendered}).status, 0);
    const QImage fromWindow(exported, "bmp"), fromRenderer(rendered, "bmp");
    QVERIFY(!fromWindow.isNull());
    QCOMPARE(fromRenderer, fromWindow);
    const QImage png
        = QImage::fromData(render(formula + QStringList{u"--format"_s, u"png"_s, u"-o"_s, u"-"_s}).output);
    QCOMPARE(png.convertToFormat(QImage::Format_RGB32), fromWindow);
}

void TestRender::svgShapes_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("dots");
    QTest::addColumn<float>("radius");
    QTest::addColumn<int>("scale");
    for (const int scale : {1, 2}) {
        QTest::addRow("O, six dots, r 2, scale %d", scale) << u"O"_s << u"0,1,2,7,8,9"_s << 2.0f << scale;
        QTest::addRow("Фе, four dots, r 0.5, scale %d", scale) << u"Фе"_s << u"5,6,13,14"_s << 0.5f << scale;
        QTest::addRow("H, one dot, r 10, scale %d", scale) << u"H"_s << u"12"_s << 10.0f << scale;
    }
}

// One circle a dot, where the engine puts it; the view box is the crop and the
// picture's size is the scale times it.
void TestRender::svgShapes()
{
    QFETCH(QString, symbol);
    QFETCH(QString, dots);
    QFETCH(float, radius);
    QFETCH(int, scale);

    const Run run = render({symbol, u"--dots"_s, dots, u"--radius"_s, QString::number(radius), u"--scale"_s,
        QString::number(scale), u"--format"_s, u"svg"_s, u"-o"_s, u"-"_s});
    QCOMPARE(run.status, 0);
    QXmlStreamReader xml(run.output);
    QRectF viewBox;
    QSizeF size;
    QList<QPointF> centres;
    QString text;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"svg"_s) {
            const QStringList box = a.value(u"viewBox"_s).toString().split(u' ');
            QCOMPARE(box.size(), 4);
            viewBox = QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
            size = QSizeF(a.value(u"width"_s).toDouble(), a.value(u"height"_s).toDouble());
        } else if (xml.name() == u"circle"_s) {
            QCOMPARE(a.value(u"r"_s).toFloat(), radius);
            centres << QPointF(a.value(u"cx"_s).toDouble(), a.value(u"cy"_s).toDouble()) - viewBox.topLeft();
        } else if (xml.name() == u"text"_s) {
            text += xml.readElementText();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(text, symbol);

    const QList<QPointF> expected = dotTable(symbol, slots(dots), radius);
    QCOMPARE(centres.size(), expected.size());
    for (qsizetype i = 0; i < centres.size(); ++i) {
        QVERIFY2(QLineF(centres[i], expected[i]).length() < 0.01,
            qPrintable(u"dot %1 at %2,%3"_s.arg(i).arg(centres[i].x()).arg(centres[i].y())));
    }
    const QImage png
        = QImage::fromData(render({symbol, u"--dots"_s, dots, u"--radius"_s, QString::number(radius),
                                      u"--format"_s, u"png"_s, u"-o"_s, u"-"_s})
                               .output);
    QCOMPARE(viewBox.size().toSize(), png.size());
    QCOMPARE(size, QSizeF((viewBox.size() * scale).toSize()));
}

void TestRender::svgLooksLikePng_data()
{
    QTest::addColumn<QStringList>("formula");
    QTest::addColumn<bool>("transparent");
    QTest::newRow("Na, five dots") << QStringList{u"Na"_s, u"--dots"_s, u"0,1,2,7,9"_s, u"--radius"_s,
        u"2.5"_s} << false;
    // Large enough to be cut at the drawing area's edges, as in the window.
    QTest::newRow("Ж at 90 pt, cut, transparent") << QStringList{u"Ж"_s, u"--size"_s, u"90"_s, u"--dots"_s,
        u"1,5,9,13"_s, u"--radius"_s, u"10"_s} << true;
}

// Another program draws the SVG; its ink lies where the PNG's does, on the same ground.
void TestRender::svgLooksLikePng()
{
    QFETCH(QStringList, formula);
    QFETCH(bool, transparent);
    const QString converter = QStandardPaths::findExecutable(u"rsvg-convert"_s);
    if (converter.isEmpty())
        QSKIP("rsvg-convert (librsvg2-bin) is not installed");
    if (transparent)
        formula << u"--transparent"_s;
    const QString svg = m_dir.filePath(u"f.svg"_s), drawn = m_dir.filePath(u"f-svg.png"_s);
    QCOMPARE(render(formula + QStringList{u"-o"_s, svg}).status, 0);
    const QImage png
        = QImage::fromData(render(formula + QStringList{u"--format"_s, u"png"_s, u"-o"_s, u"-"_s}).output);
    QCOMPARE(QProcess::execute(converter, {svg, u"-o"_s, drawn}), 0);
    const QImage fromSvg(drawn);
    QCOMPARE(fromSvg.size(), png.size());
    QCOMPARE(strayDarkPixels(fromSvg, png, 1), 0);
    QCOMPARE(strayDarkPixels(png, fromSvg, 1), 0);
    const QRgb ground = transparent ? qRgba(0, 0, 0, 0) : qRgb(255, 255, 255);
    QCOMPARE(fromSvg.pixel(0, 0), ground);
    QCOMPARE(fromSvg.pixel(fromSvg.width() - 1, fromSvg.height() - 1), ground);
}

// Twice the scale is twice the pixels with the dots at twice the places;
// transparency clears the ground and keeps the ink.
void TestRender::scaleAndTransparency()
{
    const QStringList formula{u"K"_s, u"--dots"_s, u"1,5,6,9,15"_s, u"--radius"_s, u"3"_s, u"--format"_s,
        u"png"_s, u"-o"_s, u"-"_s};
    const QImage single = QImage::fromData(render(formula).output);
    const QImage twice = QImage::fromData(render(formula + QStringList{u"--scale"_s, u"2"_s}).output);
    const QImage clear
        = QImage::fromData(render(formula + QStringList{u"--scale"_s, u"2"_s, u"--transparent"_s}).output);
    QVERIFY(!single.isNull() && !twice.isNull() && !clear.isNull());
    QVERIFY(std::abs(twice.width() - 2 * single.width()) <= 2);
    QVERIFY(std::abs(twice.height() - 2 * single.height()) <= 2);
    QCOMPARE(twice.dotsPerMeterX(), 2 * single.dotsPerMeterX());
    for (const QPointF &centre : dotTable(u"K"_s, {1, 5, 6, 9, 15}, 3)) {
        QVERIFY(dark(single.pixel(centre.toPoint())));
        QVERIFY(dark(twice.pixel((centre * 2).toPoint())));
    }
    // The whole picture, not only the dots, is drawn at twice the size; text is
    // measured anew at 192 dpi and may move a pixel, and each dot moves to the
    // pixel grid of its own scale by up to half a pixel.
    const QImage enlarged = single.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QCOMPARE(strayDarkPixels(enlarged, twice, 4), 0);
    QCOMPARE(strayDarkPixels(twice, enlarged, 4), 0);

    // White is clear, ink is black, and grey edges are partly clear.
    QCOMPARE(clear.size(), twice.size());
    QVERIFY(clear.hasAlphaChannel());
    int partlyClear = 0;
    for (int y = 0; y < clear.height(); ++y) {
        for (int x = 0; x < clear.width(); ++x) {
            const int alpha = qAlpha(clear.pixel(x, y));
            QCOMPARE(clear.pixel(x, y), qRgba(0, 0, 0, alpha));
            QCOMPARE(alpha, 255 - qGray(twice.pixel(x, y)));
            partlyClear += alpha > 0 && alpha < 255 ? 1 : 0;
        }
    }
    QVERIFY(partlyClear > 0);
}

void TestRender::batch_data()
{
    QTest::addColumn<bool>("fromStandardInput");
    QTest::newRow("list file") << false;
    QTest::newRow("standard input") << true;
}

// A bad line in the middle is named and skipped; every good line is written.
void TestRender::batch()
{
    QFETCH(bool, fromStandardInput);
    QTemporaryDir dir;
    const QString list = dir.filePath(u"list.txt"_s);
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u"# worksheet\nN --dots 1,7,9 -o \"%1/n 1.png\"\n\nNe --dots 0,1,2,8,9,10 -o %1/ne.bmp\n"
               u"Nab -o %1/nab.png\nНа --radius 10 -o %1/na.svg\nO --italic --weight 700 -o %1/o.png\n"
               u"Ne -o %1/same.bmp\nHe --dots 7 -o %1/same.bmp\n\"\" --radius 10 -o '%1/empty.bmp'\n"
               u"O -o \"%1/unclosed.png\nC -o %1/нет/c.png\n"_s.arg(dir.path())
                   .toUtf8());
    file.close();

    const Run run = fromStandardInput ? render({u"--batch"_s, u"-"_s},
                        [&] {
                            QFile in(list);
                            return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
                        }())
                                      : render({u"--batch"_s, list});
    QCOMPARE(run.status, 1);
    const QStringList errors = run.errors.split(u'\n', Qt::SkipEmptyParts).filter(u"Nab"_s);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith((fromStandardInput ? u"-"_s : list) + u":5: "_s),
        qPrintable(errors.first()));
    for (const QString &name : {u"n 1.png"_s, u"ne.bmp"_s, u"na.svg"_s, u"o.png"_s})
        QVERIFY2(!QImage(dir.filePath(name)).isNull(), qPrintable(name));
    QVERIFY(!QFile::exists(dir.filePath(u"nab.png"_s)));
    // Several files are made at once, but of two lines with one file the later wins.
    QCOMPARE(QImage(dir.filePath(u"same.bmp"_s)),
        QImage::fromData(
            render({u"He"_s, u"--dots"_s, u"7"_s, u"--format"_s, u"bmp"_s, u"-o"_s, u"-"_s}).output));
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
