#include "FakeControls.h"
#include "Formula.h"
#include "ImageSurface.h"
#include "Layout.h"
#include "Letters.h"

#include <QLocale>
#include <QTest>

#include <array>
#include <cmath>
#include <set>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// Fixed metrics (24 px a letter, 36 px a line, 120 x 109 area); records the drawing.
struct RecordingSurface final : Surface
{
    QStringList log;
    QList<QPointF> centres;
    QPointF printedAt;
    QImage image;

    void Cls() override { log << u"Cls"_s; }
    float TextWidth(const QString &t) const override { return 24 * float(t.size()); }
    float TextHeight(const QString &) const override { return 36; }
    float ScaleWidth() const override { return 120; }
    float ScaleHeight() const override { return 109; }
    void setCurrentX(float x) override { printedAt.setX(x); }
    void setCurrentY(float y) override { printedAt.setY(y); }
    void Print(const QString &t) override { log << u"Print "_s + t; }
    void setFillStyle(int s) override { log << u"FillStyle %1"_s.arg(s); }
    void setFillColor(QRgb c) override { log << u"FillColor %1"_s.arg(c & 0xffffff); }
    void Circle(float x, float y, float r) override
    {
        log << u"Circle r %1"_s.arg(r);
        centres << QPointF(x, y);
    }
    void Line(float, float, float, float, float) override { log << u"Line"_s; }
    void Ring(float, float, float, float) override { log << u"Ring"_s; }
    void Path(const QPainterPath &, float, bool) override { log << u"Path"_s; }
    void setWidth(float) override { }
    void setHeight(float) override { }
    void PaintPicture(const QImage &, float, float, float, float, float, float) override { }
    void Refresh() override { }
    const QImage &Image() const override { return image; }
    SurfaceFont Font() const override { return startFont(); }
    void setFontName(const QString &) override { }
    void setFontSize(double) override { }
    void setFontWeight(short) override { }
    void setFontItalic(bool) override { }
    const QPaintDevice *hDC() const override { return nullptr; }
};

// The real bitmap surface with the symbol left out, so that a dot is the only ink.
struct TextlessSurface final : Surface
{
    explicit TextlessSurface(int scale) : bitmap(kDrawingArea, startFont(), 0, scale) { }
    ImageSurface bitmap;

    void Cls() override { bitmap.Cls(); }
    float TextWidth(const QString &t) const override { return bitmap.TextWidth(t); }
    float TextHeight(const QString &t) const override { return bitmap.TextHeight(t); }
    float ScaleWidth() const override { return bitmap.ScaleWidth(); }
    float ScaleHeight() const override { return bitmap.ScaleHeight(); }
    void setCurrentX(float x) override { bitmap.setCurrentX(x); }
    void setCurrentY(float y) override { bitmap.setCurrentY(y); }
    void Print(const QString &) override { }
    void setFillStyle(int s) override { bitmap.setFillStyle(s); }
    void setFillColor(QRgb c) override { bitmap.setFillColor(c); }
    void Circle(float x, float y, float r) override { bitmap.Circle(x, y, r); }
    void Line(float, float, float, float, float) override { }
    void Ring(float, float, float, float) override { }
    void Path(const QPainterPath &, float, bool) override { }
    void setWidth(float) override { }
    void setHeight(float) override { }
    void PaintPicture(const QImage &, float, float, float, float, float, float) override { }
    void Refresh() override { }
    const QImage &Image() const override { return bitmap.Image(); }
    SurfaceFont Font() const override { return bitmap.Font(); }
    void setFontName(const QString &) override { }
    void setFontSize(double) override { }
    void setFontWeight(short) override { }
    void setFontItalic(bool) override { }
    const QPaintDevice *hDC() const override { return nullptr; }
};

// The ink of a picture within its bounding box, a line of # and . per row.
QStringList inkMask(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    QStringList rows;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        QString row;
        for (int x = box.left(); x <= box.right(); ++x)
            row += image.pixel(x, y) == qRgb(255, 255, 255) ? u'.' : u'#';
        rows << row;
    }
    return rows;
}

// The formula over fake controls, started as the window starts it.
struct Rig final : FakeControls
{
    explicit Rig(Surface &surface, short spinValue = 17) : formula(surface, *this, *this, *this)
    {
        spin = spinValue;
        start(formula);
    }
    Formula formula;

    // A key stroke per character: "\b" Backspace, "⌫" a Backspace that gives no
    // character, "⌦" a Delete that gives DEL, "←" Left, "¹" keypad 1. "⎈", "⎇"
    // and "⇧" hold Ctrl, Alt and Shift for the next stroke, whose character the
    // toolkit still gives.
    void type(const QString &keys)
    {
        Qt::KeyboardModifiers held;
        for (const QChar c : keys) {
            switch (c.unicode()) {
            case u'⎈': held |= Qt::ControlModifier; continue;
            case u'⎇': held |= Qt::AltModifier; continue;
            case u'⇧': held |= Qt::ShiftModifier; continue;
            case u'\b': formula.keyStroke(Qt::Key_Backspace, held, u"\b"_s); break;
            case u'⌫': formula.keyStroke(Qt::Key_Backspace, held, {}); break;
            case u'⌦': formula.keyStroke(Qt::Key_Delete, held, u"\x7f"_s); break;
            case u'←': formula.keyStroke(Qt::Key_Left, held, {}); break;
            case u'¹': formula.keyStroke(Qt::Key_1, held | Qt::KeypadModifier, u"1"_s); break;
            default: formula.keyStroke(c.toUpper().unicode(), held, QString(c));
            }
            held = {};
        }
    }
};

} // namespace

class TestFormula : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void drawOrderAndTextBox();
    void letterSet();
    void typing_data();
    void typing();
    void altGrAsCtrlAlt();
    void dotGroups_data();
    void dotGroups();
    void radius_data();
    void radius();
    void pixelsOfNitrogenWithThreeDots();
    void oneDotShapePerRadius_data();
    void oneDotShapePerRadius();
};

// Text boxes with the fake metrics: T 36.5, H 36; "NN" L 36, W 48; "N" L 48, W 24; empty L 60, W 0.
void TestFormula::layout_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<float>("radius");
    QTest::addColumn<QList<float>>("dots"); // x left and right, y top and bottom, x of slots 5, 6, 7
    QTest::addColumn<QRectF>("crop");

    QTest::newRow("NN at radius 2") << u"NN"_s << 2.0f << QList<float>{32, 86, 34.5, 72.5, 50, 68, 60}
                                    << QRectF(29, 31.5, 62, 46);
    QTest::newRow("NN at radius 0.5")
        << u"NN"_s << 0.5f << QList<float>{35, 84.5, 36, 72.5, 51.5, 68, 60} << QRectF(33.5, 34.5, 53, 41.5);
    QTest::newRow("N at radius 10") << u"N"_s << 10.0f << QList<float>{28, 82, 26.5, 72.5, 46, 64, 60}
                                    << QRectF(17, 15.5, 86, 70);
    QTest::newRow("empty at radius 2")
        << QString() << 2.0f << QList<float>{56, 62, 34.5, 72.5, 58, 60, 60} << QRectF(53, 31.5, 14, 46);
}

// No slot on, then every slot on: each dot on its place, the crop the same both times.
void TestFormula::layout()
{
    QFETCH(QString, symbol);
    QFETCH(float, radius);
    QFETCH(QList<float>, dots);
    QFETCH(QRectF, crop);

    QList<QPointF> centres;
    const auto column = [&](float x) {
        for (const float y : {45.5f, 54.5f, 63.5f, 48.5f, 60.5f}) // T + H/4, H/2, 3H/4, H/3, 2H/3
            centres << QPointF(x, y);
    };
    const auto row = [&](float y) {
        for (const float x : {dots[4], dots[5], dots[6]})
            centres << QPointF(x, y);
    };
    column(dots[0]), row(dots[2]), column(dots[1]), row(dots[3]); // slots 0-4, 5-7, 8-12, 13-15
    RecordingSurface surface;
    Rig rig(surface, short(21 - std::lround(radius * 2)));
    const Formula &f = rig.formula;
    rig.formula.strFormula = symbol;
    for (const short on : {short(0), short(1)}) {
        rig.dots.fill(on);
        surface.centres.clear();
        rig.formula.DrawPic();
        QCOMPARE(surface.centres, on ? centres : QList<QPointF>());
        QCOMPARE(surface.log.count(u"Circle r %1"_s.arg(radius)), 16 * on);
        QCOMPARE(QRectF(f.sngCropLeft, f.sngCropTop, f.sngCropWidth, f.sngCropHeight), crop);
    }
}

// The symbol first, the dots over it, only for a Value of exactly 1; the radius
// moves the dots but never the symbol.
void TestFormula::drawOrderAndTextBox()
{
    RecordingSurface surface;
    Rig rig(surface);
    rig.type(u"N"_s);
    rig.dots[9] = 1;
    rig.dots[10] = 2;
    for (const short value : {short(1), short(20)}) {
        rig.spin = value;
        surface.log.clear();
        rig.formula.vscRadiusUpDown_Change();
        QCOMPARE(surface.log,
            (QStringList{u"Cls"_s, u"Print N"_s, u"FillStyle 0"_s, u"FillColor 0"_s,
                u"Circle r %1"_s.arg(rig.formula.sngRadius)}));
        QCOMPARE(surface.printedAt, QPointF(48, 36.5));
    }
}

// A to Z, a to z, А to я, Ё and ё, and nothing else in the whole 16-bit range.
void TestFormula::letterSet()
{
    for (int c = 0; c <= 0xffff; ++c) {
        const bool expected = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'А' && c <= u'я')
            || c == u'Ё' || c == u'ё';
        if (isLetter(QChar(c)) != expected)
            QFAIL(qPrintable(u"U+%1"_s.arg(c, 4, 16, QChar(u'0'))));
    }
}

void TestFormula::typing_data()
{
    QTest::addColumn<QString>("keys"); // as Rig::type reads them
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("redraws");
    QTest::addColumn<bool>("gate");

    QTest::newRow("case kept, first not capitalised") << u"nA"_s << u"nA"_s << 2 << true;
    QTest::newRow("third letter refused, redrawn") << u"NaC"_s << u"Na"_s << 3 << true;
    QTest::newRow("Ё and ё") << u"Ёё"_s << u"Ёё"_s << 2 << true;
    QTest::newRow("mixed alphabets") << u"Cя"_s << u"Cя"_s << 2 << true;
    QTest::newRow("digits, space, punctuation refused, redrawn") << u"1., -N!"_s << u"N"_s << 7 << true;
    QTest::newRow("Backspace removes the last") << u"Na\b"_s << u"N"_s << 3 << false;
    QTest::newRow("Backspace on empty") << u"\b\b"_s << QString() << 2 << false;
    QTest::newRow("Backspace then retype") << u"Na\b\bKr"_s << u"Kr"_s << 6 << true;
    QTest::newRow("Backspace without a character redraws") << u"Na⌫"_s << u"N"_s << 3 << false;
    QTest::newRow("main-block digit keeps the gate closed") << u"\b1"_s << QString() << 2 << false;
    QTest::newRow("main-block digit keeps the gate open") << u"←1"_s << QString() << 1 << true;
    QTest::newRow("keypad digit opens the gate") << u"\b¹"_s << QString() << 2 << true;
    QTest::newRow("Delete and Left: no change, no redraw") << u"N⌦←"_s << u"N"_s << 1 << true;
    QTest::newRow("Shift types the capital") << u"⇧N⇧a"_s << u"Na"_s << 2 << true;
    QTest::newRow("Alt+letter types nothing, opens the gate") << u"\b⎇a"_s << QString() << 1 << true;
    QTest::newRow("Ctrl+letter types nothing") << u"N⎈a⎈Я"_s << u"N"_s << 1 << true;
    QTest::newRow("with Shift too, nothing") << u"N⎈⇧A⎇⇧Ё"_s << u"N"_s << 1 << true;
    QTest::newRow("Ctrl+Alt+letter: nothing, AltGr on Windows")
        << u"⎈⎇ё"_s << (kAltGrIsCtrlAlt ? u"ё"_s : QString()) << (kAltGrIsCtrlAlt ? 1 : 0) << true;
    QTest::newRow("Ctrl+Backspace removes and redraws") << u"Na⎈\b"_s << u"N"_s << 3 << false;
}

// Windows gives AltGr as Ctrl+Alt, so there the pair types and either alone does not.
void TestFormula::altGrAsCtrlAlt()
{
    QVERIFY(typesCharacter(Qt::ControlModifier | Qt::AltModifier, true));
    QVERIFY(typesCharacter(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, true));
    QVERIFY(!typesCharacter(Qt::ControlModifier, true));
    QVERIFY(!typesCharacter(Qt::AltModifier | Qt::ShiftModifier, true));
}

void TestFormula::typing()
{
    QFETCH(QString, keys);
    QFETCH(QString, symbol);
    QFETCH(int, redraws);
    QFETCH(bool, gate);

    RecordingSurface surface;
    Rig rig(surface);
    surface.log.clear();
    rig.type(keys);
    QCOMPARE(rig.formula.strFormula, symbol);
    QCOMPARE(surface.log.count(u"Cls"_s), redraws);
    QCOMPARE(rig.formula.blnAllowInput, gate);
}

void TestFormula::dotGroups_data()
{
    QTest::addColumn<bool>("nested");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QList<int>>("off");

    const QList<QList<int>> groups{{0, 1, 2}, {3, 4}, {5, 6}, {7}, {8, 9, 10}, {11, 12}, {13, 14}, {15}};
    for (const bool nested : {false, true}) {
        const char *how = nested ? "nested click" : "no nested click";
        for (qsizetype g = 0; g < groups.size(); ++g)
            for (const int slot : groups[g])
                QTest::addRow("slot %d, %s", slot, how) << nested << slot << groups[g ^ 1];
        QTest::addRow("slot 0 switched off, %s", how) << nested << 0 << QList<int>{0, 3, 4};
        QTest::addRow("slot 15 switched off, %s", how) << nested << 15 << QList<int>{13, 14, 15};
    }
    QTest::newRow("slot -1") << false << -1 << QList<int>{};
    QTest::newRow("slot 16") << false << 16 << QList<int>{};
}

// Every other slot on (the clicked one too where it ends off): a click switches
// off exactly the other group of its own side and redraws once.
void TestFormula::dotGroups()
{
    QFETCH(bool, nested);
    QFETCH(int, slot);
    QFETCH(QList<int>, off);

    RecordingSurface surface;
    Rig rig(surface);
    rig.nestedClicks = nested;
    rig.dots.fill(1);
    if (!off.contains(slot) && slot >= 0 && slot < DotSlots::kCount)
        rig.dots[std::size_t(slot)] = 0;
    surface.log.clear();
    rig.click(slot);

    QList<short> expected(DotSlots::kCount, 1);
    for (const int i : off)
        expected[i] = 0;
    QCOMPARE(QList<short>(rig.dots.begin(), rig.dots.end()), expected);
    QCOMPARE(surface.log.count(u"Cls"_s), 1);
}

void TestFormula::radius_data()
{
    QTest::addColumn<short>("value");
    QTest::addColumn<float>("radius");
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<QString>("label");

    QTest::newRow("start") << short(17) << 2.0f << QLocale::Russian << u"2"_s;
    QTest::newRow("one step up, Russian") << short(16) << 2.5f << QLocale::Russian << u"2,5"_s;
    QTest::newRow("one step up, English") << short(16) << 2.5f << QLocale::English << u"2.5"_s;
    QTest::newRow("smallest, Russian") << short(20) << 0.5f << QLocale::Russian << u"0,5"_s;
    QTest::newRow("smallest, English") << short(20) << 0.5f << QLocale::English << u"0.5"_s;
    QTest::newRow("largest") << short(1) << 10.0f << QLocale::English << u"10"_s;
}

void TestFormula::radius()
{
    QFETCH(short, value);
    QFETCH(float, radius);
    QFETCH(QLocale::Language, language);
    QFETCH(QString, label);

    const QLocale saved;
    QLocale::setDefault(QLocale(language));
    RecordingSurface surface;
    Rig rig(surface, value);
    QLocale::setDefault(saved);
    QCOMPARE(rig.formula.sngRadius, radius);
    QCOMPARE(rig.caption, label);
    QCOMPARE(surface.log.count(u"Cls"_s), 1);
}

// Drawn in Arial 21.75 pt, which is Liberation Sans at 29 px on the 96-dpi surface.
void TestFormula::pixelsOfNitrogenWithThreeDots()
{
    ImageSurface surface(QSize(120, 109), startFont());
    Rig rig(surface);
    rig.type(u"N"_s);
    for (const int slot : {1, 7, 9})
        rig.click(slot);

    QFont liberation(u"Liberation Sans"_s);
    liberation.setPixelSize(29);
    const QFontMetricsF metrics(liberation, &surface.Image());
    const float W = surface.TextWidth(u"N"_s), H = surface.TextHeight(QString());
    QCOMPARE(W, float(metrics.horizontalAdvance(u"N"_s)));
    QCOMPARE(H, float(metrics.height()));

    const QImage &image = surface.Image();
    const QRectF box((120 - W) / 2, (109 - H) / 2, W, H);
    const QList<QPointF> centres{{box.left() - 4, box.top() + H / 2}, {box.left() + W / 2, box.top() - 2},
        {box.right() + 2, box.top() + H / 2}};
    for (const QPointF &c : centres)
        QCOMPARE(image.pixel(int(c.x()), int(c.y())), qRgb(0, 0, 0));

    bool glyphInBox = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QPointF p(x + 0.5, y + 0.5);
            bool nearDot = false;
            for (const QPointF &c : centres)
                nearDot |= std::hypot(p.x() - c.x(), p.y() - c.y()) < 2 + 1.5;
            if (box.contains(p))
                glyphInBox |= image.pixel(x, y) == qRgb(0, 0, 0);
            else if (!nearDot && image.pixel(x, y) != qRgb(255, 255, 255))
                QFAIL(qPrintable(u"ink outside the box and the dots at %1,%2"_s.arg(x).arg(y)));
        }
    }
    QVERIFY(glyphInBox);
}

void TestFormula::oneDotShapePerRadius_data()
{
    QTest::addColumn<int>("halves"); // the radius in half pixels
    QTest::addColumn<int>("scale");
    for (int halves = 1; halves <= 20; ++halves)
        QTest::addRow("radius %s", qPrintable(QString::number(halves / 2.0))) << halves << 1;
    for (const int halves : {1, 5, 20})
        QTest::addRow("radius %s at scale 3", qPrintable(QString::number(halves / 2.0))) << halves << 3;
}

// Every slot around symbols of several widths, so that the centres fall on
// many fractions of a pixel: each dot is the same round stamp, 2r pixels
// across, wherever it lies.
void TestFormula::oneDotShapePerRadius()
{
    QFETCH(int, halves);
    QFETCH(int, scale);

    TextlessSurface surface(scale);
    Rig rig(surface, short(21 - halves));
    const float r = rig.formula.sngRadius;
    QStringList first;
    std::set<float> fractionsX, fractionsY;
    for (const QString &symbol : {QString(), u"N"_s, u"Na"_s, u"Ж"_s, u"ёж"_s, u"Wi"_s, u"l"_s}) {
        rig.formula.strFormula = symbol;
        const TextBox box = textBox(surface.ScaleWidth(), surface.ScaleHeight(), surface.TextWidth(symbol),
            surface.TextHeight(symbol));
        for (int slot = 0; slot < DotSlots::kCount; ++slot) {
            rig.dots.fill(0);
            rig.dots[std::size_t(slot)] = 1;
            rig.formula.DrawPic();
            const QStringList mask = inkMask(surface.Image());
            if (first.isEmpty())
                first = mask;
            QVERIFY2(mask == first,
                qPrintable(u"«%1», slot %2:\n%3\nbut the first dot:\n%4"_s.arg(symbol).arg(slot).arg(
                    mask.join(u'\n'), first.join(u'\n'))));
            const DotCentre c = dotCentre(slot, box, r);
            fractionsX.insert(c.x * float(scale) - std::floor(c.x * float(scale)));
            fractionsY.insert(c.y * float(scale) - std::floor(c.y * float(scale)));
        }
    }
    QVERIFY2(fractionsX.size() >= 4 && fractionsY.size() >= 4, "too few places between pixels tried");
    QCOMPARE(first.size(), halves * scale);
    QCOMPARE(first.value(0).size(), halves * scale);
}

QTEST_MAIN(TestFormula)
#include "tst_formula.moc"
