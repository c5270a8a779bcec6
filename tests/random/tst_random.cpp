#include "FakeControls.h"
#include "FontSelection.h"
#include "Formula.h"
#include "ImageSurface.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <tuple>

using namespace zembrel;
using namespace Qt::StringLiterals;

// Seeded random sequences of key strokes, dot-slot clicks, spin clicks and font
// answers, against the editing rules alone and against the real window, with
// the user's promises checked after every event.
// ZEMBREL_SEED=<n> replays sequence n alone; ZEMBREL_SEQUENCES=<count> runs more or fewer.

namespace {

constexpr int kSlots = DotSlots::kCount;
constexpr short kSpinMax = 20;
constexpr QSize kDrawingArea{120, 109};
// Groups 2k and 2k + 1 share side k and exclude each other.
constexpr std::array<std::size_t, kSlots> kGroup{0, 0, 0, 1, 1, 2, 2, 3, 4, 4, 4, 5, 5, 6, 6, 7};

bool isSymbolLetter(QChar c)
{
    static const QString capitals = u"ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"_s;
    return capitals.contains(c) || capitals.toLower().contains(c);
}

QString codes(const QString &text)
{
    QStringList list;
    for (const QChar c : text)
        list << u"U+%1"_s.arg(int(c.unicode()), 4, 16, QChar(u'0'));
    return list.join(u' ');
}

struct Dice
{
    QRandomGenerator rng;
    int below(int n) { return int(rng.bounded(quint32(n))); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename List> auto pick(const List &l)
    {
        return l[typename List::size_type(below(int(l.size())))];
    }
};

// One event and what the rules were given by it.
struct Event
{
    QString what;
    QString text{}; // characters that reached the rules
    bool backspace = false; // a Backspace key-down reached them
    int click = -1; // the slot the user clicked
    bool redraws = true; // false for a key-down alone, a stroke without a character, a click past the end
    bool gateUnknown = false; // a character without its key-down may be refused
    int key = 0; // the key stroke itself, where there was one
    Qt::KeyboardModifiers modifiers{};
    QString sent{}; // the characters the toolkit gave that key stroke
};

Event randomKey(Dice &dice)
{
    // Characters, each on its capital's key; letters come up twice as often.
    static const QString latin = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"_s;
    static const QString cyrillic = u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"_s;
    static const std::array<QString, 8> typed{latin, latin, cyrillic, cyrillic,
        u"ÄäßÇçÑñÆæŒœÅåØøҐґЄєІіЇїЎўΑαΒβΕεΩωİıµ"_s, // other alphabets' letters, some our twins
        u"0123456789"_s, u" .,;:!?-+=()[]{}'\"/\\@#$%^&*_~`<>|№"_s, u"0123456789+-*/.,"_s}; // keypad last
    // Keys without a character, or with one only some toolkits give them.
    static const std::array<std::pair<int, QString>, 25> other{
        {{Qt::Key_Backspace, u"\b"_s}, {Qt::Key_Backspace, u"\b"_s}, {Qt::Key_Backspace, {}},
            {Qt::Key_Delete, u"\x7f"_s}, {Qt::Key_Delete, {}}, {Qt::Key_Left, {}}, {Qt::Key_Right, {}},
            {Qt::Key_Up, {}}, {Qt::Key_Down, {}}, {Qt::Key_Home, {}}, {Qt::Key_End, {}}, {Qt::Key_PageUp, {}},
            {Qt::Key_PageDown, {}}, {Qt::Key_Insert, {}}, {Qt::Key_F1, {}}, {Qt::Key_F12, {}},
            {Qt::Key_Shift, {}}, {Qt::Key_Control, {}}, {Qt::Key_Alt, {}}, {Qt::Key_Meta, {}},
            {Qt::Key_AltGr, {}}, {Qt::Key_CapsLock, {}}, {Qt::Key_Tab, u"\t"_s}, {Qt::Key_Backtab, {}},
            {0x1d400, u"\U0001D400"_s}}}; // a capital beyond 16 bits
    static const std::array<Qt::KeyboardModifiers, 8> held{
        {{}, {}, {}, {}, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::KeypadModifier}};

    Event k{.what = {}, .modifiers = dice.pick(held)};
    if (dice.chance(60)) {
        const auto kind = std::size_t(dice.below(int(typed.size())));
        const QChar c = dice.pick(typed[kind]);
        k.key = c.toUpper().unicode();
        k.text = c;
        k.modifiers |= (c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier)
            | (kind + 1 == typed.size() ? Qt::KeypadModifier : Qt::NoModifier);
    } else {
        std::tie(k.key, k.text) = dice.pick(other);
    }
    k.what = u"key 0x%1 [%2] modifiers 0x%3"_s.arg(k.key, 0, 16)
                 .arg(codes(k.text))
                 .arg(k.modifiers.toInt(), 0, 16);
    k.backspace = k.key == Qt::Key_Backspace;
    // Ctrl or Alt make a stroke a command: the toolkit may still give its letter, but nothing is typed.
    k.sent = k.text;
    if (k.modifiers & (Qt::ControlModifier | Qt::AltModifier))
        k.text.clear();
    // A stroke redraws through its character; Delete has none, whatever the toolkit says.
    k.redraws = k.backspace || (!k.text.isEmpty() && k.text != u"\x7f"_s);
    return k;
}

// Answers the boxes and the font dialog from the dice: cancel, installed faces,
// and names the font records cannot hold or the code page cannot spell.
struct RandomDialogs final : Dialogs
{
    explicit RandomDialogs(Dice &d) : dice(d) { }
    void critical(const QString &text) override { errors << text; }
    bool criticalYesNo(const QString &) override { return dice.chance(80); }
    std::optional<QFont> chooseFont(const QFont &) override
    {
        static const QStringList odd{u"Arial"_s, u"Times New Roman"_s, u"Несуществующий шрифт"_s,
            QString(31, u'W'), QString(32, u'W'), QString(40, u'Щ'), u"宋体"_s, u"   "_s};
        if (dice.chance(30))
            return std::nullopt;
        QFont font(families.isEmpty() || dice.chance(30) ? dice.pick(odd) : dice.pick(families));
        font.setPointSizeF(1 + dice.below(380) / 4.0);
        if (dice.chance(20)) // a size in pixels has no size in points
            font.setPixelSize(1 + dice.below(120));
        font.setWeight(QFont::Weight(1 + dice.below(1000)));
        font.setItalic(dice.chance(30));
        return font;
    }

    Dice &dice;
    QStringList families;
    QStringList errors; // each one ended the run
};

struct Observed
{
    QString symbol;
    std::array<bool, kSlots> on{};
    int spin = 0;
    float radius = 0;
    QString label;
    SurfaceFont font;
    std::array<float, 4> crop{};
};

Observed observe(const Formula &f, int spin, QString label, SurfaceFont font, const auto &isOn)
{
    Observed o{f.strFormula, {}, spin, f.sngRadius, std::move(label), std::move(font),
        {f.sngCropLeft, f.sngCropTop, f.sngCropWidth, f.sngCropHeight}};
    for (int slot = 0; slot < kSlots; ++slot)
        o.on[std::size_t(slot)] = isOn(slot);
    return o;
}

QStringList violations(const Event &e, const Observed &was, const Observed &now, const QString &drawn,
    std::unique_ptr<ImageSurface> &probe)
{
    QStringList found;
    if (now.symbol.size() > 2 || !std::all_of(now.symbol.begin(), now.symbol.end(), isSymbolLetter))
        found << u"symbol [%1] is not up to two letters"_s.arg(codes(now.symbol));
    QString typed = was.symbol.left(e.backspace ? was.symbol.size() - 1 : 2);
    for (const QChar c : e.text)
        typed += isSymbolLetter(c) && typed.size() < 2 ? QString(c) : QString();
    if (now.symbol != typed && !(e.gateUnknown && now.symbol == was.symbol))
        found << u"symbol \"%1\" after \"%2\", expected \"%3\""_s.arg(now.symbol, was.symbol, typed);

    std::array<bool, 8> groupOn{};
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        const bool excluded = e.click >= 0 && kGroup[slot] == (kGroup[std::size_t(e.click)] ^ 1);
        if (now.on[slot] != (int(slot) == e.click ? !was.on[slot] : was.on[slot] && !excluded))
            found << u"slot %1 is %2"_s.arg(slot).arg(now.on[slot] ? u"on"_s : u"off"_s);
        groupOn[kGroup[slot]] = groupOn[kGroup[slot]] || now.on[slot];
    }
    for (std::size_t side = 0; side < 4; ++side) {
        if (groupOn[2 * side] && groupOn[2 * side + 1])
            found << u"both groups of side %1 are on"_s.arg(side);
    }

    const double r = now.radius;
    if (r < 0.5 || r > 10 || r * 2 != std::round(r * 2) || r != (kSpinMax - now.spin + 1) / 2.0)
        found << u"radius %1 at spin value %2"_s.arg(r).arg(now.spin);
    if (now.label != QLocale().toString(r))
        found << u"radius label \"%1\" for radius %2"_s.arg(now.label).arg(r);

    // Measured on a surface of its own, so the check does not reuse the drawing's sizes.
    const auto key = [](const SurfaceFont &f) { return std::make_tuple(f.Name, f.Size, f.Weight, f.Italic); };
    if (!probe || key(probe->Font()) != key(now.font))
        probe = std::make_unique<ImageSurface>(kDrawingArea, now.font);
    const double W = probe->TextWidth(drawn), H = probe->TextHeight(drawn);
    const double L = (probe->ScaleWidth() - W) / 2, T = (probe->ScaleHeight() - H) / 2;
    const std::array<double, 4> crop{L - 3 * r - 1, T - 2 * r - 1, 6 * r + W + 2, 3 * r + H + 4};
    for (std::size_t i = 0; i < crop.size(); ++i) {
        if (!(std::fabs(double(now.crop[i]) - crop[i]) <= 1e-3))
            found << u"crop field %1 is %2, expected %3"_s.arg(i).arg(double(now.crop[i])).arg(crop[i]);
    }
    return found;
}

// The editing rules over fake controls and a surface of their own, with the font command.
struct Rules final : FakeControls
{
    explicit Rules(Dice &d) : dice(d)
    {
        nestedClicks = d.chance(50);
        start(formula);
    }

    // Now and then half a key stroke: the rules must hold for any order of events.
    Event key()
    {
        if (dice.chance(80)) {
            const Event k = randomKey(dice);
            formula.keyStroke(k.key, k.modifiers, k.sent);
            return k;
        }
        if (dice.chance(50)) {
            const auto code = short(dice.chance(25) ? 8 : dice.below(256));
            formula.Form_KeyDown(code, short(dice.below(8)));
            return {.what = u"key-down %1"_s.arg(code), .backspace = code == 8, .redraws = false};
        }
        const QChar c = randomKey(dice).sent.append(QChar(8)).front();
        formula.Form_KeyPress(c);
        return {.what = u"character "_s + codes(c), .text = c, .gateUnknown = true};
    }
    // An arrow at the end of the range changes nothing and raises nothing.
    bool spinArrow(bool up)
    {
        const auto next = short(std::clamp(spin + (up ? -1 : 1), 1, int(kSpinMax)));
        if (std::exchange(spin, next) == next)
            return false;
        formula.vscRadiusUpDown_Change();
        return true;
    }
    void chooseFont() { font.cbFont_Click(); }
    bool finished() const { return cancelled; }
    Observed observed() const
    {
        return observe(
            formula, spin, caption, picOut.Font(), [this](int i) { return dots[std::size_t(i)] == 1; });
    }

    Dice &dice;
    ImageSurface picOut{kDrawingArea, startFont()};
    Formula formula{picOut, *this, *this, *this};
    RandomDialogs dialogs{dice};
    bool cancelled = false;
    FontSelection font{picOut, formula, dialogs, picOut.hDC(), [this] { cancelled = true; }};
};

// The real window, offscreen, with its own handshake path and keys to the focused control.
struct Window
{
    explicit Window(Dice &d) : dice(d)
    {
        dialogs.families = QFontDatabase::families();
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            dialogs.errors << u"the window did not become active"_s;
    }
    QAbstractButton *dot(int slot) const
    {
        return window.findChild<QAbstractButton *>(u"chbDot(%1)"_s.arg(slot));
    }
    QScrollBar *spin() const { return window.findChild<QScrollBar *>(u"vscRadiusUpDown"_s); }

    Event key()
    {
        Event k = randomKey(dice);
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        k.what += u" on "_s + focus->objectName();
        // After the rules the key goes on to the control: Space flips a dot button.
        for (int slot = 0; slot < kSlots && k.key == Qt::Key_Space; ++slot)
            k.click = focus == dot(slot) ? slot : k.click;
        for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, k.key, k.modifiers, k.sent);
            QApplication::sendEvent(focus, &event);
        }
        return k;
    }
    void click(int slot) { QTest::mouseClick(dot(slot), Qt::LeftButton); }
    // The bar is sized so that only its arrows show, one at each end.
    bool spinArrow(bool up)
    {
        const int was = spin()->value();
        QTest::mouseClick(
            spin(), Qt::LeftButton, {}, QPoint(spin()->width() / 2, up ? 2 : spin()->height() - 3));
        return spin()->value() != was;
    }
    void chooseFont() { QTest::mouseClick(window.findChild<QWidget *>(u"cbFont"_s), Qt::LeftButton); }
    // By "Копировать", "Отмена" or a "No" after an error.
    bool finished() const { return window.isFinished(); }
    Observed observed() const
    {
        return observe(window.formula(), spin()->value(), window.findChild<QLabel *>(u"lblRadius"_s)->text(),
            window.picture().Font(), [this](int slot) { return dot(slot)->isChecked(); });
    }

    Dice &dice;
    QTemporaryDir dir;
    RandomDialogs dialogs{dice};
    frmMain window{claimHandshakePath({QFile::encodeName(dir.filePath(u"formula.bmp"_s))}), &dialogs};
};

// Empty while all holds; else the seed, the event, what went wrong and how to replay it.
template <typename Subject> QString runOne(const char *part, quint32 seed, int steps)
{
    Dice dice{QRandomGenerator(seed)};
    Subject subject(dice);
    std::optional<Observed> was;
    std::unique_ptr<ImageSurface> probe;
    QString drawn, failure;
    QStringList recent;
    int events = 0;
    const auto after = [&](const Event &e) {
        if (!failure.isEmpty())
            return;
        recent = recent.mid(std::max<qsizetype>(0, recent.size() - 4)) << e.what;
        ++events;
        QStringList found = subject.dialogs.errors;
        if (!subject.finished()) {
            const Observed now = subject.observed();
            drawn = e.redraws ? now.symbol : drawn;
            found += violations(e, was.value_or(now), now, drawn, probe);
            was = now;
        }
        if (!found.isEmpty())
            failure = u"seed %1, event %2: %3\n  last events: %4\n  replay: ZEMBREL_SEED=%1 tst_random %5"_s
                          .arg(seed)
                          .arg(events)
                          .arg(found.join(u"; "_s), recent.join(u" | "_s), QString::fromLatin1(part));
    };
    after({.what = u"start"_s});
    for (int step = 0; step < steps && failure.isEmpty() && !subject.finished(); ++step) {
        const int action = dice.below(100);
        if (action < 55) {
            after(subject.key());
        } else if (action < 78) {
            const int slot = dice.below(kSlots);
            subject.click(slot);
            after({.what = u"click slot %1"_s.arg(slot), .click = slot});
        } else if (action < 93) {
            // A burst, so that both ends are reached and clicked past.
            const bool up = dice.chance(50);
            for (int i = 1 + dice.below(24); i > 0; --i) {
                const bool moved = subject.spinArrow(up);
                after({.what = up ? u"spin up"_s : u"spin down"_s, .redraws = moved});
            }
        } else {
            subject.chooseFont();
            after({.what = u"Шрифт"_s});
        }
    }
    return failure;
}

template <typename Subject> void run(const char *part, quint32 first, int count, int steps)
{
    bool given = false, scaled = false;
    const quint32 replay = qEnvironmentVariable("ZEMBREL_SEED").toUInt(&given);
    const int wanted = qEnvironmentVariableIntValue("ZEMBREL_SEQUENCES", &scaled);
    const quint32 from = given ? replay : first;
    const quint32 to = given ? replay + 1 : first + quint32(scaled ? wanted : count);
    for (quint32 seed = from; seed < to; ++seed) {
        const QString failure = runOne<Subject>(part, seed, steps);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
}

} // namespace

class TestRandom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Missing families are part of the game; Qt would say so for each one.
    void initTestCase() { QLoggingCategory::setFilterRules(u"qt.qpa.fonts.warning=false"_s); }
    void formulaRules() { run<Rules>("formulaRules", 1, 1000, 25); }
    void mainWindow() { run<Window>("mainWindow", 100000, 30, 40); }
};

QTEST_MAIN(TestRandom)
#include "tst_random.moc"
