#include "FontSelection.h"
#include "Formula.h"
#include "ImageSurface.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLocale>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>

using namespace zembrel;
using namespace Qt::StringLiterals;

// Seeded random sequences of key strokes, dot-slot clicks, spin clicks and font
// answers, first against the editing rules alone, then against the real window.
// After every event the state is held against what a user was promised: a
// symbol of at most two letters as typed, one group per side, a radius on the
// half-pixel grid, and the crop rectangle around the symbol as it is now.
//
// ZEMBREL_SEED=<n> replays sequence n alone; ZEMBREL_SEQUENCES=<count> runs
// more (or fewer) sequences than CI does.

namespace {

constexpr int kRuleSequences = 2000;
constexpr int kRuleSteps = 50;
constexpr int kWindowSequences = 30;
constexpr int kWindowSteps = 40;
constexpr quint32 kWindowSeeds = 100000; // window sequences count from here

// The drawing area of picOut inside its border: the symbol is centred in it.
constexpr double kScaleWidth = 120;
constexpr double kScaleHeight = 109;
constexpr int kSpinMin = 1;
constexpr int kSpinMax = 20;
constexpr int kSpinStart = 17;
constexpr int kSlots = 16;
constexpr int kBackspaceCode = 8;

const QString &letters()
{
    static const QString capitals = u"ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"_s;
    static const QString all = capitals + capitals.toLower();
    return all;
}

// The group each slot belongs to. Groups 2k and 2k + 1 share side k (left, top,
// right, bottom) and exclude each other; slots of one group combine freely.
constexpr std::array<int, kSlots> kGroup{0, 0, 0, 1, 1, 2, 2, 3, 4, 4, 4, 5, 5, 6, 6, 7};

struct KeyStroke
{
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

QString describe(const KeyStroke &k)
{
    QStringList codes;
    for (const QChar c : k.text)
        codes << u"U+%1"_s.arg(int(c.unicode()), 4, 16, QChar(u'0'));
    return u"key 0x%1 modifiers 0x%2 text [%3]"_s.arg(k.key, 0, 16)
        .arg(k.modifiers.toInt(), 0, 16)
        .arg(codes.join(u' '));
}

class Dice
{
public:
    explicit Dice(quint32 seed) : m_rng(seed) { }
    int below(int n) { return int(m_rng.bounded(quint32(n))); }
    bool chance(int percent) { return below(100) < percent; }
    QChar pick(const QString &from) { return from.at(below(int(from.size()))); }

private:
    QRandomGenerator m_rng;
};

// The Qt key of a printable character, as a keyboard reports it.
int keyOf(QChar c)
{
    if (c.unicode() >= u'a' && c.unicode() <= u'z')
        return Qt::Key_A + (c.unicode() - u'a');
    return c.toUpper().unicode();
}

KeyStroke randomKey(Dice &dice)
{
    static const QString cyrillic = u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"_s;
    // Letters of other alphabets, some of them twins of ours: none may enter.
    static const QString lookalikes = u"ÄäßÇçÑñÆæŒœÅåØøҐґЄєІіЇїЎўΑαΒβΕεΩωİıµ"_s;
    static const QString punctuation = u" .,;:!?-+=()[]{}'\"/\\@#$%^&*_~`<>|№"_s;
    static const std::array<int, 12> navigation{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
        Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_Left, Qt::Key_Up,
        Qt::Key_Down};
    static const std::array<std::pair<int, Qt::KeyboardModifier>, 6> modifierKeys{{
        {Qt::Key_Shift, Qt::ShiftModifier},
        {Qt::Key_Control, Qt::ControlModifier},
        {Qt::Key_Alt, Qt::AltModifier},
        {Qt::Key_Meta, Qt::MetaModifier},
        {Qt::Key_AltGr, Qt::GroupSwitchModifier},
        {Qt::Key_CapsLock, Qt::NoModifier},
    }};

    KeyStroke k;
    const int kind = dice.below(100);
    if (kind < 22) {
        const int i = dice.below(26);
        const bool upper = dice.chance(50);
        k.key = Qt::Key_A + i;
        k.text = QChar(char16_t((upper ? u'A' : u'a') + i));
        // Caps Lock now and then: the case no longer follows Shift.
        if (upper != dice.chance(10))
            k.modifiers |= Qt::ShiftModifier;
        if (dice.chance(5)) {
            k.modifiers |= Qt::ControlModifier;
            k.text = QChar(char16_t(1 + i));
        } else if (dice.chance(5)) {
            k.modifiers |= Qt::AltModifier;
        }
    } else if (kind < 44) {
        const QChar c = dice.pick(cyrillic);
        k.key = keyOf(c);
        k.text = c;
        if (c.isUpper())
            k.modifiers |= Qt::ShiftModifier;
    } else if (kind < 49) {
        if (dice.chance(10)) {
            k.key = 0x1d400; // MATHEMATICAL BOLD CAPITAL A, two UTF-16 units
            k.text = u"\U0001D400"_s;
        } else {
            const QChar c = dice.pick(lookalikes);
            k.key = keyOf(c);
            k.text = c;
        }
    } else if (kind < 57) {
        const int digit = dice.below(10);
        k.key = Qt::Key_0 + digit;
        k.text = QString::number(digit);
    } else if (kind < 63) {
        k.modifiers = Qt::KeypadModifier;
        const int which = dice.below(3);
        if (which == 0) {
            const int digit = dice.below(10);
            k.key = Qt::Key_0 + digit;
            k.text = QString::number(digit);
        } else if (which == 1) {
            const QChar c = dice.pick(u"+-*/.,"_s);
            k.key = c.unicode();
            k.text = c;
        } else { // Num Lock off
            k.key = navigation[std::size_t(dice.below(int(navigation.size())))];
        }
    } else if (kind < 71) {
        const QChar c = dice.pick(punctuation);
        k.key = c == u' ' ? Qt::Key_Space : keyOf(c);
        k.text = c;
    } else if (kind < 80) {
        k.key = Qt::Key_Backspace;
        if (dice.chance(50))
            k.text = u"\b"_s;
        if (dice.chance(15))
            k.modifiers |= dice.chance(50) ? Qt::ShiftModifier : Qt::ControlModifier;
    } else if (kind < 84) {
        k.key = Qt::Key_Delete;
        if (dice.chance(50))
            k.text = u"\x7f"_s;
    } else if (kind < 90) {
        k.key = navigation[std::size_t(dice.below(int(navigation.size())))];
        if (dice.chance(20))
            k.modifiers |= Qt::ShiftModifier;
    } else if (kind < 93) {
        k.key = Qt::Key_F1 + dice.below(12);
    } else if (kind < 97) {
        const auto &[key, modifier] = modifierKeys[std::size_t(dice.below(int(modifierKeys.size())))];
        k.key = key;
        k.modifiers = modifier;
    } else if (dice.chance(50)) {
        k.key = Qt::Key_Tab;
        k.text = u"\t"_s;
    } else {
        k.key = Qt::Key_Backtab;
        k.modifiers = Qt::ShiftModifier;
    }
    return k;
}

// A font the user might pick: installed or not, with names that do not fit the
// records, odd sizes, any weight. `installed` is empty where the surface only
// measures, so that a seed replays alike on every machine.
QFont randomFont(Dice &dice, const QStringList &installed)
{
    static const QStringList odd{
        u"Arial"_s,
        u"Times New Roman"_s,
        u"Liberation Serif"_s,
        u"DejaVu Sans Mono"_s,
        u"Несуществующий шрифт"_s,
        QString(31, u'W'),
        QString(32, u'W'),
        QString(40, u'Щ'),
        u"宋体"_s,
        u"   "_s,
    };
    QFont font;
    const bool fromOdd = installed.isEmpty() || dice.chance(30);
    const QStringList &names = fromOdd ? odd : installed;
    font.setFamily(names.at(dice.below(int(names.size()))));
    const int size = dice.below(10);
    if (size < 5)
        font.setPointSizeF(1 + dice.below(380) / 4.0);
    else if (size < 9)
        font.setPointSize(1 + dice.below(72));
    else
        font.setPixelSize(1 + dice.below(120));
    font.setWeight(QFont::Weight(1 + dice.below(1000)));
    font.setItalic(dice.chance(30));
    return font;
}

// Answers every box and the font dialog from the sequence's dice.
class RandomDialogs final : public Dialogs
{
public:
    Dice *dice = nullptr;
    QStringList families; // installed faces to choose from besides the odd ones
    QStringList endings; // OK boxes: an error that ended the run
    int questions = 0;
    bool lastWasAccept = false;
    QFont lastFont;

    void critical(const QString &text) override { endings << text; }
    bool criticalYesNo(const QString &) override
    {
        ++questions;
        return dice->chance(80);
    }
    std::optional<QFont> chooseFont(const QFont &) override
    {
        lastWasAccept = dice->chance(70);
        if (!lastWasAccept)
            return std::nullopt;
        lastFont = randomFont(*dice, families);
        return lastFont;
    }
};

bool sameFont(const SurfaceFont &a, const SurfaceFont &b)
{
    return a.Name == b.Name && a.Size == b.Size && a.Weight == b.Weight && a.Italic == b.Italic
        && a.Charset == b.Charset;
}

// What the rules promise, kept by the test from the events alone.
struct Model
{
    bool gate = false;
    QString symbol;
    QString drawn; // the symbol of the last redraw: a key-down alone redraws nothing
    std::array<bool, kSlots> on{};
    int spin = kSpinStart;

    // Key-down by key code: 8 is Backspace, 48 to 57 the digits of the main block.
    void keyDown(int code)
    {
        if (code == kBackspaceCode) {
            gate = false;
            symbol.chop(1);
        } else if (code < '0' || code > '9') {
            gate = true;
        }
    }
    void character(QChar c)
    {
        if (letters().contains(c) && symbol.size() < 2 && gate)
            symbol += c;
        drawn = symbol;
    }
    // A keyboard presses the modifiers first, each with a key-down of its own.
    void keyStroke(const KeyStroke &k)
    {
        if (k.modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            keyDown(Qt::Key_Shift);
        keyDown(codeOf(k));
        for (const QChar c : k.text) {
            if (c != QChar(0x7f)) // Delete has no character, whatever the toolkit says
                character(c);
        }
        // Backspace redraws even where the toolkit gives it no character.
        if (k.key == Qt::Key_Backspace)
            drawn = symbol;
    }
    // Only Backspace and the digits need their codes; the keypad's digits have others.
    static int codeOf(const KeyStroke &k)
    {
        if (k.key == Qt::Key_Backspace)
            return kBackspaceCode;
        if (k.key >= Qt::Key_0 && k.key <= Qt::Key_9 && k.modifiers & Qt::KeypadModifier)
            return 96 + (k.key - Qt::Key_0);
        return k.key;
    }
    void click(int slot)
    {
        on[std::size_t(slot)] = !on[std::size_t(slot)];
        for (int other = 0; other < kSlots; ++other) {
            if (kGroup[std::size_t(other)] == (kGroup[std::size_t(slot)] ^ 1))
                on[std::size_t(other)] = false;
        }
        drawn = symbol;
    }
    // A click at either end changes nothing and raises no event.
    void spinArrow(bool up)
    {
        const int next = up ? std::max(spin - 1, kSpinMin) : std::min(spin + 1, kSpinMax);
        if (next != spin)
            drawn = symbol;
        spin = next;
    }
    double radius() const { return (kSpinMax - spin + 1) / 2.0; }
};

struct Observed
{
    QString symbol;
    std::array<short, kSlots> values{};
    float radius = 0;
    QString radiusLabel;
    SurfaceFont font;
    std::array<float, 4> crop{};
};

// A surface that draws nothing and measures text by a rule of its own, so that
// thousands of sequences cost little: advances in 1/64 px, like a real font's,
// that depend on the face, size, weight, italics and each character.
class MeasuringSurface final : public Surface
{
public:
    explicit MeasuringSurface(const SurfaceFont &font) : m_font(font)
    {
        m_image.setDotsPerMeterX(3780); // 96 dpi
        m_image.setDotsPerMeterY(3780);
    }

    void Cls() override { }
    float TextWidth(const QString &text) const override
    {
        double width = 0;
        for (const QChar c : text)
            width += std::round(pixels() * (0.3 + double(hash(c.unicode()) % 1000) / 1000) * 64) / 64;
        return float(width);
    }
    float TextHeight(const QString &) const override
    {
        return float(std::round(pixels() * (1.1 + double(hash(0) % 300) / 1000) * 64) / 64);
    }
    float ScaleWidth() const override { return float(kScaleWidth); }
    float ScaleHeight() const override { return float(kScaleHeight); }
    void setCurrentX(float) override { }
    void setCurrentY(float) override { }
    void Print(const QString &) override { }
    void setFillStyle(int) override { }
    void setFillColor(QRgb) override { }
    void Circle(float, float, float) override { }
    void setWidth(float) override { }
    void setHeight(float) override { }
    void PaintPicture(const QImage &, float, float, float, float, float, float) override { }
    void Refresh() override { }
    const QImage &Image() const override { return m_image; }
    SurfaceFont Font() const override { return m_font; }
    void setFontName(const QString &name) override { m_font.Name = name; }
    void setFontSize(double points) override { m_font.Size = points; }
    void setFontWeight(short weight) override { m_font.Weight = weight; }
    void setFontItalic(bool italic) override { m_font.Italic = italic; }
    const QPaintDevice *hDC() const override { return &m_image; }

private:
    double pixels() const { return m_font.Size * 96 / 72; }
    size_t hash(char16_t c) const { return qHashMulti(0, m_font.Name, m_font.Weight, m_font.Italic, c); }

    SurfaceFont m_font;
    QImage m_image{1, 1, QImage::Format_RGB32};
};

// Measures the symbol on a surface of its own, so the check does not reuse the
// sizes the drawing took.
class Probe
{
public:
    using Make = std::function<std::unique_ptr<Surface>(const SurfaceFont &)>;
    explicit Probe(Make make) : m_make(std::move(make)) { }

    std::array<double, 4> crop(const SurfaceFont &font, const QString &symbol, double r)
    {
        if (!m_surface || !sameFont(font, m_surface->Font()))
            m_surface = m_make(font);
        const double W = m_surface->TextWidth(symbol);
        const double H = m_surface->TextHeight(symbol);
        const double L = (kScaleWidth - W) / 2;
        const double T = (kScaleHeight - H) / 2;
        return {L - 3 * r - 1, T - 2 * r - 1, 6 * r + W + 2, 3 * r + H + 4};
    }

private:
    Make m_make;
    std::unique_ptr<Surface> m_surface;
};

QStringList violations(const Observed &o, const Model &m, Probe &probe)
{
    QStringList found;
    if (o.symbol.size() > 2)
        found << u"symbol \"%1\" has more than two characters"_s.arg(o.symbol);
    for (const QChar c : o.symbol) {
        if (!letters().contains(c))
            found << u"U+%1 in the symbol is no letter"_s.arg(int(c.unicode()), 4, 16, QChar(u'0'));
    }
    if (o.symbol != m.symbol)
        found << u"symbol \"%1\", typed \"%2\""_s.arg(o.symbol, m.symbol);

    for (int side = 0; side < 4; ++side) {
        std::array<bool, 2> groupOn{};
        for (int slot = 0; slot < kSlots; ++slot) {
            const int group = kGroup[std::size_t(slot)];
            if (o.values[std::size_t(slot)] == 1 && group / 2 == side)
                groupOn[std::size_t(group % 2)] = true;
        }
        if (groupOn[0] && groupOn[1])
            found << u"both groups of side %1 are on"_s.arg(side);
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        const short want = m.on[std::size_t(slot)] ? 1 : 0;
        if (o.values[std::size_t(slot)] != want)
            found << u"slot %1 is %2, expected %3"_s.arg(slot).arg(o.values[std::size_t(slot)]).arg(want);
    }

    const double r = o.radius;
    if (!(r >= 0.5 && r <= 10 && std::trunc(r * 2) == r * 2))
        found << u"radius %1 off the grid 0.5..10"_s.arg(r);
    if (r != m.radius())
        found << u"radius %1, expected %2"_s.arg(r).arg(m.radius());
    if (o.radiusLabel != QLocale().toString(r))
        found << u"radius label \"%1\" for radius %2"_s.arg(o.radiusLabel).arg(r);

    static const std::array<const char16_t *, 4> field{u"left", u"top", u"width", u"height"};
    const std::array<double, 4> want = probe.crop(o.font, m.drawn, r);
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (!(std::fabs(double(o.crop[i]) - want[i]) <= 1e-3))
            found << u"crop %1 %2, expected %3 (font %4 %5 pt)"_s.arg(QString::fromUtf16(field[i]))
                         .arg(double(o.crop[i]))
                         .arg(want[i])
                         .arg(o.font.Name)
                         .arg(o.font.Size);
    }
    return found;
}

// The editing rules alone: the formula over fake buttons and a real surface,
// with the font command answered by the dice.
class Rules
{
public:
    struct Dots final : DotSlots
    {
        std::array<short, kCount> values{};
        Formula *raisesClick = nullptr; // some toolkits click a button changed from code

        short Value(int index) const override { return values[std::size_t(index)]; }
        void setValue(int index, short value) override
        {
            const bool changed = values[std::size_t(index)] != value;
            values[std::size_t(index)] = value;
            if (changed && raisesClick)
                raisesClick->chbDot_Click(short(index));
        }
    };
    struct Spin final : SpinButton
    {
        short value = kSpinStart;
        short Max() const override { return kSpinMax; }
        short Value() const override { return value; }
    };
    struct Label final : Caption
    {
        QString text;
        void setCaption(const QString &caption) override { text = caption; }
    };

    explicit Rules(Dice &dice)
    {
        dialogs.dice = &dice;
        if (dice.chance(50))
            dots.raisesClick = &formula;
        formula.blnDotEvents = true;
        formula.vscRadiusUpDown_Change();
    }

    void key(const KeyStroke &k)
    {
        static constexpr std::array<std::pair<Qt::KeyboardModifier, Qt::Key>, 4> modifierKeys{{
            {Qt::ShiftModifier, Qt::Key_Shift},
            {Qt::ControlModifier, Qt::Key_Control},
            {Qt::AltModifier, Qt::Key_Alt},
            {Qt::MetaModifier, Qt::Key_Meta},
        }};
        // A keyboard presses the modifiers first, each a key stroke of its own.
        for (const auto &[modifier, key] : modifierKeys) {
            if (k.modifiers & modifier)
                formula.keyStroke(key, k.modifiers, QString());
        }
        formula.keyStroke(k.key, k.modifiers, k.text);
    }
    void click(int slot)
    {
        dots.values[std::size_t(slot)] = short(1 - dots.values[std::size_t(slot)]);
        formula.chbDot_Click(short(slot));
    }
    // The arrows of a scroll bar: a change raises the event, a click at the end does not.
    void spinArrow(bool up)
    {
        const short next
            = short(up ? std::max(spin.value - 1, kSpinMin) : std::min(spin.value + 1, kSpinMax));
        if (next == spin.value)
            return;
        spin.value = next;
        formula.vscRadiusUpDown_Change();
    }

    Observed observed() const
    {
        return {formula.strFormula, dots.values, formula.sngRadius, label.text, picOut.Font(),
            {formula.sngCropLeft, formula.sngCropTop, formula.sngCropWidth, formula.sngCropHeight}};
    }

    Dots dots;
    Spin spin;
    Label label;
    MeasuringSurface picOut{startFont()};
    Formula formula{picOut, dots, spin, label};
    RandomDialogs dialogs;
    bool cancelled = false;
    FontSelection font{picOut, formula, dialogs, picOut.hDC(), [this] { cancelled = true; }};
};

// What a font command must have left: a cancelled dialog leaves the font, an
// accepted one without error boxes gives its face and italics.
QStringList fontViolations(
    const RandomDialogs &dialogs, int questionsBefore, const SurfaceFont &before, const SurfaceFont &after)
{
    if (dialogs.questions != questionsBefore)
        return {};
    if (!dialogs.lastWasAccept) {
        if (!sameFont(before, after))
            return {u"a cancelled font dialog changed the font"_s};
        return {};
    }
    QStringList found;
    if (after.Name != dialogs.lastFont.family())
        found << u"font \"%1\" after choosing \"%2\""_s.arg(after.Name, dialogs.lastFont.family());
    if (after.Italic != dialogs.lastFont.italic())
        found << u"italic %1 after choosing %2"_s.arg(after.Italic).arg(dialogs.lastFont.italic());
    return found;
}

class Sequence
{
public:
    Sequence(QString part, quint32 seed) : m_part(std::move(part)), m_seed(seed) { }

    void event(QString what) { m_history << std::move(what); }
    // Empty while all holds; else the seed, the step and what went wrong.
    QString failure(const QStringList &found) const
    {
        if (found.isEmpty())
            return {};
        return u"seed %1, step %2: %3\n  last events: %4\n  replay: ZEMBREL_SEED=%1 tst_random %5"_s
            .arg(m_seed)
            .arg(m_history.size())
            .arg(found.join(u"; "_s),
                m_history.mid(std::max<qsizetype>(0, m_history.size() - 6)).join(u" | "_s), m_part);
    }

private:
    QString m_part;
    quint32 m_seed;
    QStringList m_history;
};

QString runRules(quint32 seed, Probe &probe)
{
    Dice dice(seed);
    Rules rules(dice);
    Model model;
    Sequence sequence(u"formulaRules"_s, seed);
    sequence.event(u"start"_s);
    if (QString f = sequence.failure(violations(rules.observed(), model, probe)); !f.isEmpty())
        return f;

    for (int step = 0; step < kRuleSteps && !rules.cancelled; ++step) {
        const int action = dice.below(100);
        QStringList found;
        if (action < 52) {
            const KeyStroke k = randomKey(dice);
            sequence.event(describe(k));
            rules.key(k);
            model.keyStroke(k);
        } else if (action < 60) {
            // A key-down or a character on its own, as the rules may receive them
            // from any keyboard or input method.
            if (dice.chance(50)) {
                // Backspace, the main block's digits, the keypad's, letters, anything.
                static constexpr std::array<int, 5> firsts{kBackspaceCode, '0', 96, 'A', 0};
                static constexpr std::array<int, 5> spans{1, 10, 10, 26, 256};
                const std::size_t kind = std::size_t(dice.below(int(firsts.size())));
                const short code = short(firsts[kind] + dice.below(spans[kind]));
                sequence.event(u"key-down %1"_s.arg(code));
                rules.formula.Form_KeyDown(code, short(dice.below(8)));
                model.keyDown(code);
            } else {
                const KeyStroke k = randomKey(dice);
                const QChar c = k.text.isEmpty() ? QChar(kBackspaceCode) : k.text.at(0);
                sequence.event(u"character U+%1"_s.arg(int(c.unicode()), 4, 16, QChar(u'0')));
                rules.formula.Form_KeyPress(c);
                model.character(c);
            }
        } else if (action < 82) {
            const int slot = dice.below(kSlots);
            sequence.event(u"click slot %1"_s.arg(slot));
            rules.click(slot);
            model.click(slot);
        } else if (action < 94) {
            // A burst, so that both ends are reached and clicked past.
            const bool up = dice.chance(50);
            const int clicks = 1 + dice.below(24);
            for (int i = 0; i < clicks && found.isEmpty(); ++i) {
                sequence.event(up ? u"spin up"_s : u"spin down"_s);
                rules.spinArrow(up);
                model.spinArrow(up);
                found = violations(rules.observed(), model, probe);
            }
        } else {
            sequence.event(u"font"_s);
            const SurfaceFont before = rules.picOut.Font();
            const int questions = rules.dialogs.questions;
            rules.font.cbFont_Click();
            found = fontViolations(rules.dialogs, questions, before, rules.picOut.Font());
            if (!rules.cancelled) // accepted or not, the command ends with a redraw
                model.drawn = model.symbol;
        }
        found += violations(rules.observed(), model, probe);
        if (QString f = sequence.failure(found); !f.isEmpty())
            return f;
    }
    return {};
}

// The real window, offscreen, with its own handshake path.
class Window
{
public:
    explicit Window(Dice &dice)
    {
        dialogs.dice = &dice;
        dialogs.families = QFontDatabase::families();
        window = std::make_unique<frmMain>(QByteArrayList{QFile::encodeName(path)}, &dialogs);
        window->show();
        window->activateWindow();
    }
    template <typename T = QWidget> T *control(const QString &name) const
    {
        return window->findChild<T *>(name);
    }
    QAbstractButton *dot(int slot) const { return control<QAbstractButton>(u"chbDot(%1)"_s.arg(slot)); }

    Observed observed() const
    {
        Observed o;
        const Formula &f = window->formula();
        o.symbol = f.strFormula;
        for (int slot = 0; slot < kSlots; ++slot)
            o.values[std::size_t(slot)] = dot(slot)->isChecked() ? 1 : 0;
        o.radius = f.sngRadius;
        o.radiusLabel = control<QLabel>(u"lblRadius"_s)->text();
        o.font = window->picture().Font();
        o.crop = {f.sngCropLeft, f.sngCropTop, f.sngCropWidth, f.sngCropHeight};
        return o;
    }

    // Where a click lands on one arrow of the spin button.
    QPoint arrow(bool up) const
    {
        const auto *bar = control<QScrollBar>(u"vscRadiusUpDown"_s);
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        return bar->style()
            ->subControlRect(QStyle::CC_ScrollBar, &option,
                up ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine, bar)
            .center();
    }

    QByteArray file() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("no file");
    }

    QTemporaryDir dir;
    QString path = dir.filePath(u"formula.bmp"_s);
    RandomDialogs dialogs;
    std::unique_ptr<frmMain> window;
};

QString runWindow(quint32 seed, Probe &probe)
{
    Dice dice(seed);
    Window w(dice);
    Model model;
    Sequence sequence(u"mainWindow"_s, seed);
    sequence.event(u"start"_s);
    if (!QTest::qWaitForWindowActive(w.window.get()))
        return sequence.failure({u"the window did not become active"_s});
    if (QString f = sequence.failure(violations(w.observed(), model, probe)); !f.isEmpty())
        return f;
    auto *spin = w.control<QScrollBar>(u"vscRadiusUpDown"_s);
    auto *cbFont = w.control(u"cbFont"_s);

    for (int step = 0; step < kWindowSteps; ++step) {
        const int action = dice.below(100);
        QStringList found;
        bool picture = false; // the outcome a closing event must leave
        const SurfaceFont fontBefore = w.window->picture().Font();
        const int questions = w.dialogs.questions;
        bool fontCommand = false;

        if (action < 60) {
            const KeyStroke k = randomKey(dice);
            QWidget *focus = QApplication::focusWidget();
            sequence.event(describe(k) + u" on "_s + (focus ? focus->objectName() : u"nothing"_s));
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key(k.key), k.text, k.modifiers);
            model.keyStroke(k);
            // The key then goes on to the focused control, with its usual effect.
            if (focus == spin)
                model.spin = spin->value();
            else if (k.key == Qt::Key_Space) {
                for (int slot = 0; slot < kSlots; ++slot) {
                    if (focus == w.dot(slot))
                        model.click(slot);
                }
                picture = focus == w.control(u"cbExport"_s);
                fontCommand = focus == cbFont;
            }
        } else if (action < 80) {
            const int slot = dice.below(kSlots);
            sequence.event(u"click slot %1"_s.arg(slot));
            QTest::mouseClick(w.dot(slot), Qt::LeftButton);
            model.click(slot);
        } else if (action < 93) {
            const bool up = dice.chance(50);
            const int clicks = 1 + dice.below(24);
            for (int i = 0; i < clicks && found.isEmpty(); ++i) {
                sequence.event(up ? u"spin up arrow"_s : u"spin down arrow"_s);
                QTest::mouseClick(spin, Qt::LeftButton, {}, w.arrow(up));
                model.spinArrow(up);
                found = violations(w.observed(), model, probe);
            }
        } else {
            sequence.event(u"Шрифт"_s);
            QTest::mouseClick(cbFont, Qt::LeftButton);
            fontCommand = true;
        }

        if (!w.dialogs.endings.isEmpty())
            found << u"an error ended the run: "_s + w.dialogs.endings.join(u" / "_s);
        if (fontCommand)
            found += fontViolations(w.dialogs, questions, fontBefore, w.window->picture().Font());
        found += violations(w.observed(), model, probe);
        if (w.window->isFinished()) {
            // "Копировать" leaves a picture; "Отмена" and a "No" to an error box an empty file.
            const QByteArray file = w.file();
            if (picture ? !file.startsWith("BM") : !file.isEmpty())
                found << u"the run ended leaving %1 bytes, expected %2"_s.arg(file.size())
                             .arg(picture ? u"a picture"_s : u"an empty file"_s);
        }
        if (QString f = sequence.failure(found); !f.isEmpty())
            return f;
        if (w.window->isFinished())
            break;
    }
    return {};
}

QList<quint32> seeds(quint32 first, int count)
{
    bool given = false;
    const quint32 replay = qEnvironmentVariable("ZEMBREL_SEED").toUInt(&given);
    if (given)
        return {replay};
    bool scaled = false;
    const int wanted = qEnvironmentVariableIntValue("ZEMBREL_SEQUENCES", &scaled);
    QList<quint32> list;
    for (int i = 0; i < (scaled ? wanted : count); ++i)
        list << first + quint32(i);
    return list;
}

QtMessageHandler previousHandler = nullptr;

// Keys the focused control has no use for go on to the window unaccepted,
// as on a real desktop; QTest warns about each of them.
void dropUnacceptedKeyWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(u"Keyboard event not accepted"_s))
        return;
    previousHandler(type, context, message);
}

} // namespace

class TestRandom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void formulaRules();
    void mainWindow();
    void cleanupTestCase();
};

void TestRandom::initTestCase()
{
    // Missing families are part of the game; Qt would say so for each one.
    QLoggingCategory::setFilterRules(u"qt.qpa.fonts.warning=false"_s);
    previousHandler = qInstallMessageHandler(dropUnacceptedKeyWarnings);
}

void TestRandom::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
}

void TestRandom::formulaRules()
{
    Probe probe([](const SurfaceFont &font) { return std::make_unique<MeasuringSurface>(font); });
    for (const quint32 seed : seeds(1, kRuleSequences)) {
        const QString failure = runRules(seed, probe);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
}

void TestRandom::mainWindow()
{
    Probe probe(
        [](const SurfaceFont &font) { return std::make_unique<ImageSurface>(QSize(120, 109), font); });
    for (const quint32 seed : seeds(kWindowSeeds, kWindowSequences)) {
        const QString failure = runWindow(seed, probe);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
}

QTEST_MAIN(TestRandom)
#include "tst_random.moc"
