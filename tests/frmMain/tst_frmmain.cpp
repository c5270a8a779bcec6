#include "frmMain.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

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

// The window started with a path in a fresh folder, shown and active.
struct Window
{
    QTemporaryDir dir;
    QString path = dir.filePath(u"formula.bmp"_s);
    FakeDialogs dialogs;
    frmMain window{{QFile::encodeName(path)}, &dialogs};

    Window()
    {
        window.show();
        window.activateWindow();
    }
    template <typename T = QWidget>
    T *control(const QString &name) const
    {
        return window.findChild<T *>(name);
    }
    QByteArray file() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("no file");
    }
};

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controls_data();
    void controls();
    void windowAtStart();
    void tabChain();
    void keyPreview_data();
    void keyPreview();
    void focusedControlStillGetsTheKey_data();
    void focusedControlStillGetsTheKey();
    void enterAndEscape_data();
    void enterAndEscape();
    void closeBoxCancels();
    void spinStopsAtBothEnds();
    void pictureSurvivesHideAndShow();
};

void TestFrmMain::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");

    QTest::newRow("picOut") << u"picOut"_s << QRect(64, 64, 124, 113) << QString();
    const QList<QPoint> dots{{32, 72},  {32, 104},  {32, 136},  {0, 88},    {0, 120},  {96, 32},
                             {128, 32}, {112, 0},   {192, 72},  {192, 104}, {192, 136}, {224, 88},
                             {224, 120}, {96, 176}, {128, 176}, {112, 208}};
    for (int i = 0; i < dots.size(); ++i) {
        const QString name = u"chbDot(%1)"_s.arg(i);
        QTest::newRow(qPrintable(name)) << name << QRect(dots[i], QSize(29, 31)) << QString();
    }
    QTest::newRow("cbExport") << u"cbExport"_s << QRect(264, 8, 97, 25) << u"Копировать"_s;
    QTest::newRow("cbCancel") << u"cbCancel"_s << QRect(264, 40, 97, 25) << u"Отмена"_s;
    QTest::newRow("cbFont") << u"cbFont"_s << QRect(272, 80, 81, 25) << u"Шрифт"_s;
    QTest::newRow("lblRadius") << u"lblRadius"_s << QRect(312, 112, 25, 17) << u"2"_s;
    QTest::newRow("vscRadiusUpDown") << u"vscRadiusUpDown"_s << QRect(336, 112, 17, 17) << QString();
    QTest::newRow("lblRadiusCaption") << u"lblRadiusCaption"_s << QRect(272, 112, 41, 17) << u"Радиус:"_s;
    QTest::newRow("Label1") << u"Label1"_s << QRect(264, 136, 97, 105)
                            << u"С клавиатуры введите химический знак элемента и нажмите на те точки, "
                               u"которые Вы хотите увидеть."_s;
}

void TestFrmMain::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);

    Window w;
    QWidget *control = w.control(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisible() && control->isEnabled());
    if (const auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), text);
    else if (const auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), text);
}

void TestFrmMain::windowAtStart()
{
    Window w;
    QCOMPARE(w.window.windowTitle(), u"Зембрель"_s);
    QCOMPARE(w.window.size(), QSize(365, 239));
    QCOMPARE(w.window.minimumSize(), w.window.maximumSize());
    QVERIFY(!(w.window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!QFile::exists(w.path));
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QCOMPARE(QApplication::focusWidget(), w.control(u"picOut"_s));
    for (int i = 0; i < 16; ++i)
        QVERIFY(!w.control<QAbstractButton>(u"chbDot(%1)"_s.arg(i))->isChecked());
    QVERIFY(!w.window.windowIcon().isNull());
    const QImage &picture = w.window.picture().Image();
    QCOMPARE(picture.size(), QSize(120, 109));
    QVERIFY(picture.allGray() && picture.pixel(60, 54) == qRgb(255, 255, 255));
    QCOMPARE(picture, [&] {
        QImage white(picture.size(), picture.format());
        white.fill(Qt::white);
        white.setDotsPerMeterX(picture.dotsPerMeterX());
        white.setDotsPerMeterY(picture.dotsPerMeterY());
        return white;
    }());
}

// Tab from picOut: dots 0-7, "Копировать", dots 8-15, "Шрифт", "Отмена", the
// spin button, and round to picOut.
void TestFrmMain::tabChain()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QStringList expected;
    for (int i = 0; i < 8; ++i)
        expected << u"chbDot(%1)"_s.arg(i);
    expected << u"cbExport"_s;
    for (int i = 8; i < 16; ++i)
        expected << u"chbDot(%1)"_s.arg(i);
    expected << u"cbFont"_s << u"cbCancel"_s << u"vscRadiusUpDown"_s << u"picOut"_s;
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestFrmMain::keyPreview_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("picture") << u"picOut"_s;
    QTest::newRow("dot button") << u"chbDot(3)"_s;
    QTest::newRow("push button") << u"cbFont"_s;
    QTest::newRow("spin button") << u"vscRadiusUpDown"_s;
}

void TestFrmMain::keyPreview()
{
    QFETCH(QString, focus);
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QWidget *control = w.control(focus);
    control->setFocus();
    QTest::keyClicks(control, u"Na"_s);
    QTest::keyClick(control, Qt::Key_Backspace);
    QCOMPARE(w.window.formula().strFormula, u"N"_s);
    QVERIFY(!QFile::exists(w.path));
}

void TestFrmMain::focusedControlStillGetsTheKey_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<float>("radius");
    QTest::addColumn<QString>("dotsOn");

    QTest::newRow("Space flips a dot button") << u"chbDot(3)"_s << int(Qt::Key_Space) << 2.0f << u"3"_s;
    QTest::newRow("Up raises the radius") << u"vscRadiusUpDown"_s << int(Qt::Key_Up) << 2.5f << QString();
    QTest::newRow("Down lowers the radius") << u"vscRadiusUpDown"_s << int(Qt::Key_Down) << 1.5f << QString();
}

void TestFrmMain::focusedControlStillGetsTheKey()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(float, radius);
    QFETCH(QString, dotsOn);

    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.control(u"chbDot(0)"_s)->setFocus();
    QTest::keyClick(w.control(u"chbDot(0)"_s), Qt::Key_Space);
    QWidget *control = w.control(focus);
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key));
    QStringList on;
    for (int i = 0; i < 16; ++i)
        if (w.control<QAbstractButton>(u"chbDot(%1)"_s.arg(i))->isChecked())
            on << QString::number(i);
    // Slot 0 was on; a click on slot 3 takes it off.
    QCOMPARE(on.join(u','), dotsOn.isEmpty() ? u"0"_s : dotsOn);
    QCOMPARE(w.window.formula().sngRadius, radius);
    QCOMPARE(w.control<QLabel>(u"lblRadius"_s)->text(), QLocale().toString(double(radius)));
}

void TestFrmMain::enterAndEscape_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("picture");

    QTest::newRow("Enter on the picture exports") << u"picOut"_s << int(Qt::Key_Return) << true;
    QTest::newRow("Enter on a dot button exports") << u"chbDot(5)"_s << int(Qt::Key_Enter) << true;
    QTest::newRow("Enter on the spin button exports") << u"vscRadiusUpDown"_s << int(Qt::Key_Return) << true;
    QTest::newRow("Enter on Отмена cancels") << u"cbCancel"_s << int(Qt::Key_Return) << false;
    QTest::newRow("Escape cancels") << u"picOut"_s << int(Qt::Key_Escape) << false;
    QTest::newRow("Escape on Копировать cancels") << u"cbExport"_s << int(Qt::Key_Escape) << false;
}

void TestFrmMain::enterAndEscape()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, picture);

    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QTest::keyClicks(w.control(u"picOut"_s), u"He"_s);
    w.control(focus)->setFocus();
    QTest::keyClick(w.control(focus), Qt::Key(key));
    QVERIFY(w.window.isFinished());
    QVERIFY(!w.window.isVisible());
    QCOMPARE(w.window.exitStatus(), ExitStatus::Done);
    const QByteArray file = w.file();
    QCOMPARE(file.startsWith("BM"), picture);
    QCOMPARE(file.isEmpty(), !picture);
    QVERIFY(w.dialogs.boxes.isEmpty());
}

void TestFrmMain::closeBoxCancels()
{
    Window w;
    w.window.close();
    QVERIFY(w.window.isFinished());
    QCOMPARE(w.file(), QByteArray());
}

void TestFrmMain::spinStopsAtBothEnds()
{
    Window w;
    auto *spin = w.control<QScrollBar>(u"vscRadiusUpDown"_s);
    QSignalSpy changes(spin, &QScrollBar::valueChanged);
    for (int i = 0; i < 20; ++i)
        spin->triggerAction(QAbstractSlider::SliderSingleStepSub); // the upper arrow
    QCOMPARE(changes.count(), 16);
    QCOMPARE(w.window.formula().sngRadius, 10.0f);
    changes.clear();
    for (int i = 0; i < 25; ++i)
        spin->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(changes.count(), 19);
    QCOMPARE(w.window.formula().sngRadius, 0.5f);
}

void TestFrmMain::pictureSurvivesHideAndShow()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QTest::keyClicks(w.control(u"picOut"_s), u"Na"_s);
    const qint64 drawn = w.window.picture().Image().cacheKey();
    w.window.showMinimized();
    w.window.showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QCOMPARE(w.window.picture().Image().cacheKey(), drawn);
    // What the window shows is the bitmap itself.
    const QImage shown = w.control(u"picOut"_s)->grab().toImage().copy(2, 2, 120, 109).convertToFormat(QImage::Format_RGB32);
    QImage drawnImage = w.window.picture().Image();
    drawnImage.setDotsPerMeterX(shown.dotsPerMeterX());
    drawnImage.setDotsPerMeterY(shown.dotsPerMeterY());
    QCOMPARE(shown, drawnImage);
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
