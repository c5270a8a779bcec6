#include "Formula.h"
#include "ImageSurface.h"
#include "Letters.h"
#include "RuntimeError.h"

#include <QFontInfo>
#include <QLocale>
#include <QTest>

#include <array>
#include <cmath>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// Dot-slot buttons; `nested` makes a switch-off raise the slot's click at once,
// as a toolkit may.
struct FakeDots final : DotSlots
{
    std::array<short, kCount> values{};
    Formula *nested = nullptr;

    short Value(int index) const override { return values[std::size_t(index)]; }
    void setValue(int index, short value) override
    {
        const bool raises = values[std::size_t(index)] != value;
        values[std::size_t(index)] = value;
        if (nested && raises)
            nested->chbDot_Click(short(index));
    }
    // A user's click: the button toggles itself, then reports.
    void click(Formula &formula, int index)
    {
        values[std::size_t(index)] = short(1 - values[std::size_t(index)]);
        formula.chbDot_Click(short(index));
    }
    QList<int> on() const
    {
        QList<int> slots;
        for (int i = 0; i < kCount; ++i)
            if (values[std::size_t(i)] == 1)
                slots << i;
        return slots;
    }
};

struct FakeSpin final : SpinButton
{
    short max = 20;
    short value = 17;
    short Max() const override { return max; }
    short Value() const override { return value; }
};

struct FakeCaption final : Caption
{
    QString text;
    void setCaption(const QString &caption) override { text = caption; }
};

// A surface with fixed text metrics that records what is drawn on it.
struct RecordingSurface final : Surface
{
    float charWidth = 24;
    float lineHeight = 36;
    QStringList log;
    QList<std::array<float, 3>> circles;
    QPointF printedAt;
    QImage image;

    void Cls() override
    {
        log << u"Cls"_s;
        circles.clear();
    }
    float TextWidth(const QString &t) const override { return charWidth * float(t.size()); }
    float TextHeight(const QString &) const override { return lineHeight; }
    float ScaleWidth() const override { return 120; }
    float ScaleHeight() const override { return 109; }
    void setCurrentX(float x) override { printedAt.setX(x); }
    void setCurrentY(float y) override { printedAt.setY(y); }
    void Print(const QString &) override { log << u"Print"_s; }
    void setFillStyle(int s) override { log << u"FillStyle %1"_s.arg(s); }
    void setFillColor(QRgb c) override { log << u"FillColor %1"_s.arg(c & 0xffffff); }
    void Circle(float x, float y, float r) override
    {
        log << u"Circle"_s;
        circles.append({x, y, r});
    }
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

// A formula wired to fakes, started the way the window starts it.
template <typename SurfaceType> struct Rig
{
    SurfaceType &surface;
    FakeDots dots;
    FakeSpin spin;
    FakeCaption caption;
    Formula formula{surface, dots, spin, caption};

    explicit Rig(SurfaceType &s, short spinValue = 17) : surface(s)
    {
        spin.value = spinValue;
        formula.blnDotEvents = true;
        formula.vscRadiusUpDown_Change();
    }
};

// Spin value for a radius: r = (20 - value + 1) / 2.
short spinFor(float radius)
{
    return short(21 - std::lround(radius * 2));
}

void type(Formula &formula, const QString &keys)
{
    for (const QChar c : keys) {
        if (c == u'\b')
            formula.keyStroke(Qt::Key_Backspace, {}, u"\b"_s);
        else
            formula.keyStroke(c.toUpper().unicode(), {}, QString(c));
    }
}

} // namespace

class TestFormula : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dotCentres_data();
    void dotCentres();
    void cropRect_data();
    void cropRect();
    void drawsSymbolBeforeDots();
    void symbolStaysWhenOnlyRadiusChanges();
    void letterSet_data();
    void letterSet();
    void typing_data();
    void typing();
    void typingGate_data();
    void typingGate();
    void dotGroups_data();
    void dotGroups();
    void nestedClickIsHarmless_data();
    void nestedClickIsHarmless();
    void radius_data();
    void radius();
    void radiusOverflowRaises();
    void startFontIsArialAt29Pixels();
    void pixelsOfNitrogenWithThreeDots();
};

// Fake text box: symbol "NN" is 48 x 36, so L = 36, T = 36.5, W = 48, H = 36.
void TestFormula::dotCentres_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<float>("radius");
    QTest::addColumn<int>("slot");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");

    const float r2[16][2]
        = {{32, 45.5}, {32, 54.5}, {32, 63.5}, {32, 48.5}, {32, 60.5}, {50, 34.5}, {68, 34.5}, {60, 34.5},
            {86, 45.5}, {86, 54.5}, {86, 63.5}, {86, 48.5}, {86, 60.5}, {50, 72.5}, {68, 72.5}, {60, 72.5}};
    for (int slot = 0; slot < 16; ++slot)
        QTest::addRow("slot %d at radius 2", slot) << u"NN"_s << 2.0f << slot << r2[slot][0] << r2[slot][1];

    QTest::newRow("left column at radius 0.5") << u"NN"_s << 0.5f << 1 << 35.0f << 54.5f;
    QTest::newRow("right column at radius 0.5") << u"NN"_s << 0.5f << 11 << 84.5f << 48.5f;
    QTest::newRow("slot 5 at radius 0.5") << u"NN"_s << 0.5f << 5 << 51.5f << 36.0f;
    QTest::newRow("slot 13 at radius 0.5") << u"NN"_s << 0.5f << 13 << 51.5f << 72.5f;
    QTest::newRow("left column at radius 10") << u"NN"_s << 10.0f << 4 << 16.0f << 60.5f;
    QTest::newRow("right column at radius 10") << u"NN"_s << 10.0f << 8 << 94.0f << 45.5f;
    QTest::newRow("slot 6 at radius 10") << u"NN"_s << 10.0f << 6 << 68.0f << 26.5f;
    QTest::newRow("slot 15 at radius 10") << u"NN"_s << 10.0f << 15 << 60.0f << 72.5f;

    // Empty symbol: the box has no width and stands at the middle, 60.
    QTest::newRow("empty, left column") << QString() << 2.0f << 0 << 56.0f << 45.5f;
    QTest::newRow("empty, right column") << QString() << 2.0f << 12 << 62.0f << 60.5f;
    QTest::newRow("empty, slot 5") << QString() << 2.0f << 5 << 58.0f << 34.5f;
    QTest::newRow("empty, slot 14") << QString() << 2.0f << 14 << 60.0f << 72.5f;
    QTest::newRow("empty, slot 7") << QString() << 2.0f << 7 << 60.0f << 34.5f;
}

void TestFormula::dotCentres()
{
    QFETCH(QString, symbol);
    QFETCH(float, radius);
    QFETCH(int, slot);
    QFETCH(float, x);
    QFETCH(float, y);

    RecordingSurface surface;
    Rig rig(surface, spinFor(radius));
    rig.formula.strFormula = symbol;
    rig.dots.values[std::size_t(slot)] = 1;
    rig.formula.DrawPic();

    QCOMPARE(surface.circles.size(), 1);
    QCOMPARE(surface.circles[0][0], x);
    QCOMPARE(surface.circles[0][1], y);
    QCOMPARE(surface.circles[0][2], radius);
}

void TestFormula::cropRect_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<float>("radius");
    QTest::addColumn<QList<float>>("crop");

    QTest::newRow("radius 0.5") << u"NN"_s << 0.5f << QList<float>{33.5f, 34.5f, 53, 41.5f};
    QTest::newRow("radius 2") << u"NN"_s << 2.0f << QList<float>{29, 31.5f, 62, 46};
    QTest::newRow("radius 10") << u"NN"_s << 10.0f << QList<float>{5, 15.5f, 110, 70};
    QTest::newRow("empty symbol, radius 2") << QString() << 2.0f << QList<float>{53, 31.5f, 14, 46};
    QTest::newRow("empty symbol, radius 2.5") << QString() << 2.5f << QList<float>{51.5f, 30.5f, 17, 47.5f};
}

void TestFormula::cropRect()
{
    QFETCH(QString, symbol);
    QFETCH(float, radius);
    QFETCH(QList<float>, crop);

    RecordingSurface surface;
    Rig rig(surface, spinFor(radius));
    rig.formula.strFormula = symbol;
    rig.formula.DrawPic();
    const QList<float> got{
        rig.formula.sngCropLeft, rig.formula.sngCropTop, rig.formula.sngCropWidth, rig.formula.sngCropHeight};
    QCOMPARE(got, crop);

    // No slot changes the crop: it always has room for every dot.
    rig.dots.values.fill(1);
    rig.formula.DrawPic();
    QCOMPARE(rig.formula.sngCropWidth, crop[2]);
}

void TestFormula::drawsSymbolBeforeDots()
{
    RecordingSurface surface;
    Rig rig(surface);
    rig.formula.strFormula = u"N"_s;
    rig.dots.values[9] = 1;
    rig.dots.values[10] = 2; // anything but 1 draws nothing
    surface.log.clear();
    rig.formula.DrawPic();
    QCOMPARE(
        surface.log, (QStringList{u"Cls"_s, u"Print"_s, u"FillStyle 0"_s, u"FillColor 0"_s, u"Circle"_s}));
}

void TestFormula::symbolStaysWhenOnlyRadiusChanges()
{
    ImageSurface surface(QSize(120, 109), startFont());
    Rig rig(surface);
    type(rig.formula, u"Na"_s);
    rig.dots.values.fill(1);
    const QPointF at2 = surface.currentPosition();
    const float cropLeft = rig.formula.sngCropLeft;
    for (short value : {short(1), short(20)}) {
        rig.spin.value = value;
        rig.formula.vscRadiusUpDown_Change();
        QCOMPARE(surface.currentPosition(), at2);
    }
    QVERIFY(rig.formula.sngCropLeft != cropLeft);
}

void TestFormula::letterSet_data()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<bool>("letter");

    QTest::newRow("A") << QChar(u'A') << true;
    QTest::newRow("z") << QChar(u'z') << true;
    QTest::newRow("Ё") << QChar(u'Ё') << true;
    QTest::newRow("ё") << QChar(u'ё') << true;
    QTest::newRow("А") << QChar(u'А') << true;
    QTest::newRow("я") << QChar(u'я') << true;
    QTest::newRow("Ъ") << QChar(u'Ъ') << true;
    QTest::newRow("digit") << QChar(u'7') << false;
    QTest::newRow("space") << QChar(u' ') << false;
    QTest::newRow("hyphen") << QChar(u'-') << false;
    QTest::newRow("e acute") << QChar(u'é') << false;
    QTest::newRow("Ukrainian i") << QChar(u'і') << false;
    QTest::newRow("Belarusian short u") << QChar(u'ў') << false;
    QTest::newRow("Greek alpha") << QChar(u'α') << false;
    QTest::newRow("backspace") << QChar(8) << false;
}

void TestFormula::letterSet()
{
    QFETCH(QChar, character);
    QFETCH(bool, letter);
    QCOMPARE(isLetter(character), letter);
}

void TestFormula::typing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("symbol");

    QTest::newRow("lower case kept") << u"he"_s << u"he"_s;
    QTest::newRow("upper case kept") << u"HE"_s << u"HE"_s;
    QTest::newRow("first letter not capitalised") << u"nA"_s << u"nA"_s;
    QTest::newRow("third letter refused") << u"NaC"_s << u"Na"_s;
    QTest::newRow("Cyrillic") << u"Нё"_s << u"Нё"_s;
    QTest::newRow("mixed alphabets") << u"Cя"_s << u"Cя"_s;
    QTest::newRow("digits refused") << u"1N2"_s << u"N"_s;
    QTest::newRow("punctuation and space refused") << u"., -N!"_s << u"N"_s;
    QTest::newRow("backspace removes the last") << u"Na\b"_s << u"N"_s;
    QTest::newRow("backspace on empty") << u"\b\b"_s << QString();
    QTest::newRow("backspace then retype") << u"Na\b\bKr"_s << u"Kr"_s;
}

void TestFormula::typing()
{
    QFETCH(QString, keys);
    QFETCH(QString, symbol);

    RecordingSurface surface;
    Rig rig(surface);
    surface.log.clear();
    type(rig.formula, keys);
    QCOMPARE(rig.formula.strFormula, symbol);
    // Every key stroke that types a character redraws, refused or not.
    QCOMPARE(surface.log.count(u"Cls"_s), keys.size());
}

// Raw handler calls: "d<code>" a key-down, "p<char>" a character event,
// "s<Qt key>" a stroke with no character at all.
void TestFormula::typingGate_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("redraws");

    QTest::newRow("main-block digit keeps the gate closed")
        << QStringList{u"d8"_s, u"d49"_s, u"pA"_s} << QString() << 1;
    QTest::newRow("main-block digit keeps the gate open")
        << QStringList{u"d65"_s, u"d57"_s, u"pA"_s} << u"A"_s << 1;
    QTest::newRow("keypad digit opens the gate") << QStringList{u"d8"_s, u"d97"_s, u"pA"_s} << u"A"_s << 1;
    QTest::newRow("key-down alone never redraws") << QStringList{u"d65"_s, u"d8"_s} << QString() << 0;
    QTest::newRow("backspace without a character still redraws")
        << QStringList{u"d65"_s, u"pN"_s, u"s%1"_s.arg(Qt::Key_Backspace)} << QString() << 2;
    QTest::newRow("delete, arrows and F1 change nothing") << QStringList{u"d65"_s, u"pN"_s,
        u"s%1"_s.arg(Qt::Key_Delete), u"s%1"_s.arg(Qt::Key_Left), u"s%1"_s.arg(Qt::Key_F1)}
                                                          << u"N"_s << 1;
}

void TestFormula::typingGate()
{
    QFETCH(QStringList, events);
    QFETCH(QString, symbol);
    QFETCH(int, redraws);

    RecordingSurface surface;
    Rig rig(surface);
    surface.log.clear();
    for (const QString &event : events) {
        const QString arg = event.mid(1);
        if (event.startsWith(u'd'))
            rig.formula.Form_KeyDown(arg.toShort(), 0);
        else if (event.startsWith(u'p'))
            rig.formula.Form_KeyPress(arg.at(0));
        else
            rig.formula.keyStroke(arg.toInt(), {}, arg.toInt() == Qt::Key_Delete ? u"\x7f"_s : QString());
    }
    QCOMPARE(rig.formula.strFormula, symbol);
    QCOMPARE(surface.log.count(u"Cls"_s), redraws);
}

void TestFormula::dotGroups_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QList<int>>("switchedOff");

    const QList<QList<int>> groups{{0, 1, 2}, {3, 4}, {5, 6}, {7}, {8, 9, 10}, {11, 12}, {13, 14}, {15}};
    for (int g = 0; g < groups.size(); ++g) {
        const QList<int> &partner = groups[g ^ 1];
        for (int slot : groups[g])
            QTest::addRow("slot %d", slot) << slot << partner;
    }
}

// Every slot on but the clicked one: a click switches off exactly the other
// group of its side and leaves its own group and the other sides alone.
void TestFormula::dotGroups()
{
    QFETCH(int, slot);
    QFETCH(QList<int>, switchedOff);

    RecordingSurface surface;
    Rig rig(surface);
    rig.dots.values.fill(1);
    rig.dots.values[std::size_t(slot)] = 0;
    rig.dots.click(rig.formula, slot);

    QList<int> expected;
    for (int i = 0; i < DotSlots::kCount; ++i)
        if (!switchedOff.contains(i))
            expected << i;
    QCOMPARE(rig.dots.on(), expected);
}

void TestFormula::nestedClickIsHarmless_data()
{
    QTest::addColumn<bool>("nested");
    QTest::newRow("toolkit raises a nested click") << true;
    QTest::newRow("toolkit raises nothing") << false;
}

void TestFormula::nestedClickIsHarmless()
{
    QFETCH(bool, nested);

    RecordingSurface surface;
    Rig rig(surface);
    rig.dots.nested = nested ? &rig.formula : nullptr;

    rig.dots.click(rig.formula, 0);
    rig.dots.click(rig.formula, 2);
    surface.log.clear();
    rig.dots.click(rig.formula, 3);
    QCOMPARE(rig.dots.on(), QList<int>{3});
    QCOMPARE(surface.log.count(u"Cls"_s), 1);

    rig.dots.click(rig.formula, 7);
    rig.dots.click(rig.formula, 8);
    rig.dots.click(rig.formula, 15);
    QCOMPARE(rig.dots.on(), (QList<int>{3, 7, 8, 15}));
    rig.dots.click(rig.formula, 5);
    rig.dots.click(rig.formula, 6);
    QCOMPARE(rig.dots.on(), (QList<int>{3, 5, 6, 8, 15}));

    // Out of range: nothing switched off, still a redraw.
    surface.log.clear();
    rig.formula.chbDot_Click(16);
    rig.formula.chbDot_Click(-1);
    QCOMPARE(rig.dots.on(), (QList<int>{3, 5, 6, 8, 15}));
    QCOMPARE(surface.log.count(u"Cls"_s), 2);
}

void TestFormula::radius_data()
{
    QTest::addColumn<short>("spinValue");
    QTest::addColumn<float>("radius");
    QTest::addColumn<QString>("russian");
    QTest::addColumn<QString>("english");

    QTest::newRow("start") << short(17) << 2.0f << u"2"_s << u"2"_s;
    QTest::newRow("one up") << short(16) << 2.5f << u"2,5"_s << u"2.5"_s;
    QTest::newRow("smallest") << short(20) << 0.5f << u"0,5"_s << u"0.5"_s;
    QTest::newRow("largest") << short(1) << 10.0f << u"10"_s << u"10"_s;
    QTest::newRow("one below largest") << short(2) << 9.5f << u"9,5"_s << u"9.5"_s;
}

void TestFormula::radius()
{
    QFETCH(short, spinValue);
    QFETCH(float, radius);
    QFETCH(QString, russian);
    QFETCH(QString, english);

    const QLocale saved;
    RecordingSurface surface;
    for (const auto &[locale, label] : {std::pair{QLocale(QLocale::Russian, QLocale::Russia), russian},
             std::pair{QLocale(QLocale::English, QLocale::UnitedStates), english}}) {
        QLocale::setDefault(locale);
        Rig rig(surface, spinValue);
        QCOMPARE(rig.formula.sngRadius, radius);
        QCOMPARE(rig.caption.text, label);
    }
    QLocale::setDefault(saved);
}

void TestFormula::radiusOverflowRaises()
{
    RecordingSurface surface;
    FakeDots dots;
    FakeSpin spin;
    FakeCaption caption;
    Formula formula(surface, dots, spin, caption);
    spin.max = 32767;
    spin.value = -1;
    try {
        formula.vscRadiusUpDown_Change();
        QFAIL("no error raised");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number(), 6);
    }
    QCOMPARE(formula.sngRadius, 0.0f);
}

void TestFormula::startFontIsArialAt29Pixels()
{
    ImageSurface surface(QSize(120, 109), startFont());
    QFont expected(u"Liberation Sans"_s);
    expected.setPixelSize(29);
    const QFontMetricsF metrics(expected, &surface.Image());
    QCOMPARE(surface.TextHeight(QString()), float(metrics.height()));
    QCOMPARE(surface.TextWidth(u"Na"_s), float(metrics.horizontalAdvance(u"Na"_s)));
}

void TestFormula::pixelsOfNitrogenWithThreeDots()
{
    ImageSurface surface(QSize(120, 109), startFont());
    Rig rig(surface);
    type(rig.formula, u"N"_s);
    for (int slot : {1, 7, 9})
        rig.dots.click(rig.formula, slot);

    const QImage &image = surface.Image();
    const float W = surface.TextWidth(u"N"_s), H = surface.TextHeight(u"N"_s);
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
            const bool white = image.pixel(x, y) == qRgb(255, 255, 255);
            if (box.contains(p))
                glyphInBox |= image.pixel(x, y) == qRgb(0, 0, 0);
            else if (!nearDot && !white)
                QFAIL(qPrintable(u"ink outside the box and the dots at %1,%2"_s.arg(x).arg(y)));
        }
    }
    QVERIFY(glyphInBox);
}

QTEST_MAIN(TestFormula)
#include "tst_formula.moc"
