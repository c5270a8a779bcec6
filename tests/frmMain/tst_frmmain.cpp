#include "frmMain.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

#include <tuple>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// Nothing in these tests may raise a box or open the font dialog.
struct NoDialogs final : Dialogs
{
    int shown = 0;
    void critical(const QString &) override { ++shown; }
    bool criticalYesNo(const QString &) override { return ++shown, true; }
    std::optional<QFont> chooseFont(const QFont &) override { return ++shown, std::nullopt; }
};

// The window started with a path in a fresh folder, shown and active.
struct Window
{
    QTemporaryDir dir;
    QString path = dir.filePath(u"formula.bmp"_s);
    NoDialogs dialogs;
    frmMain window{claimHandshakePath({QFile::encodeName(path)}), &dialogs};
    bool active = (window.show(), window.activateWindow(), QTest::qWaitForWindowActive(&window));

    template <typename T = QWidget> T *control(const QString &name) const
    {
        return window.findChild<T *>(name);
    }
    QString dotsOn() const
    {
        QStringList on;
        for (int i = 0; i < DotSlots::kCount; ++i)
            if (control<QAbstractButton>(u"chbDot(%1)"_s.arg(i))->isChecked())
                on << QString::number(i);
        return on.join(u',');
    }
};

// The close box as the window system reports it: a spontaneous close of the window.
void closeBox(QWidget &window)
{
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QCoreApplication::instance()->notify(window.windowHandle(), &close);
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowAtStart();
    void keys_data();
    void keys();
    void spinStopsAtBothEnds();
    void pictureSurvivesMinimising();
    void dotButtonsNameTheirSlot();
    void sessionEndWritesNothing_data();
    void sessionEndWritesNothing();
};

// Attributes, controls (place, text, tab order) and state when the window opens.
void TestFrmMain::windowAtStart()
{
    Window w;
    QVERIFY(w.active);
    QCOMPARE(w.window.windowTitle(), u"Зембрель"_s);
    QCOMPARE(w.window.size(), QSize(365, 239));
    QCOMPARE(w.window.minimumSize(), w.window.maximumSize());
    QVERIFY(!(w.window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!w.window.windowIcon().isNull());
    QVERIFY(!QFile::exists(w.path));
    QCOMPARE(QApplication::focusWidget(), w.control(u"picOut"_s));
    QCOMPARE(w.dotsOn(), QString());
    QImage white(120, 109, QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(w.window.picture().Image().convertToFormat(QImage::Format_RGB32), white);

    const QPoint dots[] = {{32, 72}, {32, 104}, {32, 136}, {0, 88}, {0, 120}, {96, 32}, {128, 32}, {112, 0},
        {192, 72}, {192, 104}, {192, 136}, {224, 88}, {224, 120}, {96, 176}, {128, 176}, {112, 208}};
    QList<std::tuple<QString, QRect, QString>> table{{u"picOut"_s, {64, 64, 124, 113}, {}},
        {u"cbExport"_s, {264, 8, 97, 25}, u"Копировать"_s}, {u"cbCancel"_s, {264, 40, 97, 25}, u"Отмена"_s},
        {u"cbFont"_s, {272, 80, 81, 25}, u"Шрифт"_s}, {u"lblRadius"_s, {312, 112, 25, 17}, u"2"_s},
        {u"vscRadiusUpDown"_s, {336, 112, 17, 17}, {}},
        {u"lblRadiusCaption"_s, {272, 112, 41, 17}, u"Радиус:"_s},
        {u"Label1"_s, {264, 136, 97, 105},
            u"С клавиатуры введите химический знак элемента и нажмите на те точки, "
            u"которые Вы хотите увидеть."_s}};
    for (int i = 0; i < DotSlots::kCount; ++i)
        table.append({u"chbDot(%1)"_s.arg(i), QRect(dots[i], QSize(29, 31)), {}});
    for (const auto &[name, geometry, text] : table) {
        QWidget *control = w.control(name);
        QVERIFY2(control && control->isVisible() && control->isEnabled(), qPrintable(name));
        QCOMPARE(control->geometry(), geometry);
        if (const auto *button = qobject_cast<QAbstractButton *>(control))
            QCOMPARE(button->text(), text);
        else if (const auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), text);
    }

    // Tab: dots 0-7, "Копировать", dots 8-15, "Шрифт", "Отмена", the spin button, round to picOut.
    QStringList tabs;
    for (int i = 0; i < 16; ++i)
        tabs << u"chbDot(%1)"_s.arg(i) << (i == 7 ? u"cbExport"_s : QString());
    tabs.removeAll(QString());
    tabs << u"cbFont"_s << u"cbCancel"_s << u"vscRadiusUpDown"_s << u"picOut"_s;
    for (const QString &next : std::as_const(tabs)) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
}

// Typing reaches the symbol whichever control has the focus; the next key still
// acts on that control, where Enter presses "Копировать" unless another push
// button has the focus, and Escape and the close box cancel. Slot 0 is on beforehand.
void TestFrmMain::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key"); // 0: none, -1: the close box
    QTest::addColumn<QString>("state"); // the dots on, then the radius label
    QTest::addColumn<QByteArray>("file"); // its first two bytes; "no" for no file

    const QByteArray no("no"), bmp("BM"), empty;
    QTest::newRow("picture") << u"picOut"_s << 0 << u"0 r2"_s << no;
    QTest::newRow("push button") << u"cbFont"_s << 0 << u"0 r2"_s << no;
    QTest::newRow("Space flips a dot button") << u"chbDot(3)"_s << int(Qt::Key_Space) << u"3 r2"_s << no;
    QTest::newRow("Up on the spin button") << u"vscRadiusUpDown"_s << int(Qt::Key_Up) << u"0 r2.5"_s << no;
    QTest::newRow("Down on the spin button")
        << u"vscRadiusUpDown"_s << int(Qt::Key_Down) << u"0 r1.5"_s << no;
    QTest::newRow("Enter on the picture exports") << u"picOut"_s << int(Qt::Key_Return) << u"0 r2"_s << bmp;
    QTest::newRow("keypad Enter on a dot button exports")
        << u"chbDot(5)"_s << int(Qt::Key_Enter) << u"0 r2"_s << bmp;
    QTest::newRow("Enter on the spin button exports")
        << u"vscRadiusUpDown"_s << int(Qt::Key_Return) << u"0 r2"_s << bmp;
    QTest::newRow("Enter on Отмена cancels") << u"cbCancel"_s << int(Qt::Key_Return) << u"0 r2"_s << empty;
    QTest::newRow("Escape cancels") << u"picOut"_s << int(Qt::Key_Escape) << u"0 r2"_s << empty;
    QTest::newRow("Escape on Копировать cancels")
        << u"cbExport"_s << int(Qt::Key_Escape) << u"0 r2"_s << empty;
    QTest::newRow("close box cancels") << u"picOut"_s << -1 << u"0 r2"_s << empty;
}

void TestFrmMain::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, state);
    QFETCH(QByteArray, file);

    QLocale::setDefault(QLocale::c());
    Window w;
    QVERIFY(w.active);
    w.control<QAbstractButton>(u"chbDot(0)"_s)->click();
    QWidget *control = w.control(focus);
    control->setFocus();
    QTest::keyClicks(control, u"Na"_s);
    QTest::keyClick(control, Qt::Key_Backspace);
    if (key > 0)
        QTest::keyClick(control, Qt::Key(key));
    else if (key < 0)
        closeBox(w.window);
    QCOMPARE(w.window.formula().strFormula, u"N"_s);
    QCOMPARE(w.dotsOn() + u" r"_s + w.control<QLabel>(u"lblRadius"_s)->text(), state);
    QCOMPARE(w.dialogs.shown, 0);
    QCOMPARE(w.window.isFinished(), file != "no");
    QCOMPARE(w.window.isVisible(), file == "no");
    QFile written(w.path);
    QCOMPARE(written.open(QIODevice::ReadOnly) ? written.read(2) : QByteArray("no"), file);
}

// The upper arrow raises the radius; neither arrow goes past its end or raises an event there.
void TestFrmMain::spinStopsAtBothEnds()
{
    Window w;
    auto *spin = w.control<QScrollBar>(u"vscRadiusUpDown"_s);
    QSignalSpy changes(spin, &QScrollBar::valueChanged);
    for (int i = 0; i < 20; ++i)
        spin->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(changes.count(), 16);
    QCOMPARE(w.window.formula().sngRadius, 10.0f);
    changes.clear();
    for (int i = 0; i < 25; ++i)
        spin->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(changes.count(), 19);
    QCOMPARE(w.window.formula().sngRadius, 0.5f);
}

// Minimising and restoring neither loses the picture nor redraws it, and the
// window shows the bitmap itself.
void TestFrmMain::pictureSurvivesMinimising()
{
    Window w;
    QTest::keyClicks(w.control(u"picOut"_s), u"Na"_s);
    const qint64 drawn = w.window.picture().Image().cacheKey();
    w.window.showMinimized();
    w.window.showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QCOMPARE(w.window.picture().Image().cacheKey(), drawn);
    const QImage shown = w.control(u"picOut"_s)->grab().toImage().copy(2, 2, 120, 109);
    QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
        w.window.picture().Image().convertToFormat(QImage::Format_RGB32));
}

// The tooltip and the screen reader name the slot as zembrel-render --dots does.
void TestFrmMain::dotButtonsNameTheirSlot()
{
    Window w;
    const auto *slot3 = w.control(u"chbDot(3)"_s);
    QCOMPARE(slot3->toolTip(), u"Слева, верхняя из двух (3)"_s);
    QCOMPARE(slot3->accessibleName(), slot3->toolTip());
    QCOMPARE(w.control(u"chbDot(15)"_s)->toolTip(), u"Снизу, одна посередине (15)"_s);
}

void TestFrmMain::sessionEndWritesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the platform quits the application (logout, shutdown)") << u"quit"_s;
    QTest::newRow("the application closes every window") << u"close all"_s;
}

// Only the user cancels: when the session ends the window closes and the file
// stays absent, as the caller's own program is ending too.
void TestFrmMain::sessionEndWritesNothing()
{
    QFETCH(QString, how);
    Window w;
    QVERIFY(w.active);
    QTest::keyClicks(w.control(u"picOut"_s), u"K"_s);
    if (how == u"quit") {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    } else {
        QApplication::closeAllWindows();
    }
    QVERIFY(!w.window.isVisible());
    QVERIFY(w.window.isFinished());
    QCOMPARE(w.window.exitStatus(), ExitStatus::Done);
    QCOMPARE(w.dialogs.shown, 0);
    QVERIFY(!QFile::exists(w.path));
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
