#include "FontSelection.h"
#include "Formula.h"
#include "ImageSurface.h"
#include "WidgetDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// Answers the boxes from a queue (Yes once it runs dry) and the font dialog
// with a scripted font, or with the font it was pre-set to.
struct FakeDialogs final : Dialogs
{
    QStringList boxes;
    QList<bool> answers;
    QVariant answer; // a QFont, "pre-set", or nothing for a cancel
    QList<QFont> shown;

    void critical(const QString &text) override { boxes << text; }
    bool criticalYesNo(const QString &text) override
    {
        boxes << text;
        return answers.isEmpty() || answers.takeFirst();
    }
    std::optional<QFont> chooseFont(const QFont &initial) override
    {
        shown << initial;
        if (answer == u"pre-set"_s)
            return initial;
        return answer.isValid() ? std::optional(answer.value<QFont>()) : std::nullopt;
    }
};

struct NoDots final : DotSlots
{
    short Value(int) const override { return 0; }
    void setValue(int, short) override { }
};
struct StartSpin final : SpinButton
{
    short Max() const override { return 20; }
    short Value() const override { return 17; }
};
struct NoCaption final : Caption
{
    void setCaption(const QString &) override { }
};

// The window's part in a font click: its screen, picture, formula and boxes.
struct Window
{
    explicit Window(const SurfaceFont &font = startFont(), int dpi = 96)
        : picOut(QSize(120, 109), font), formula(picOut, dots, spin, caption),
          selection(
              picOut, formula, dialogs, &screen, [this] { ++cancels; },
              [this](CHOOSEFONT &record) {
                  request = record;
                  sent = *record.lpLogFont;
                  return answerRecord ? answerRecord(record) : ChooseFontA(record);
              })
    {
        const int dotsPerMetre = qRound(dpi / 0.0254);
        screen.setDotsPerMeterX(dotsPerMetre);
        screen.setDotsPerMeterY(dotsPerMetre);
        picOut.setScreenDevice(&screen);
        picOut.setChangeHandler([this] { ++changes; });
    }

    QImage screen{1, 1, QImage::Format_RGB32};
    ImageSurface picOut;
    NoDots dots;
    StartSpin spin;
    NoCaption caption;
    Formula formula;
    FakeDialogs dialogs;
    FontSelection selection;
    std::function<std::int32_t(CHOOSEFONT &)> answerRecord; // stands in for the dialog's answer
    CHOOSEFONT request;
    LOGFONT sent{};
    int cancels = 0;
    int changes = 0;
};

QString box(const QString &error)
{
    return u"Ошибка "_s + error + u"\r\n\r\nПродолжить работу программы?"_s;
}
const QString kIndexBox = box(u"9: Индекс вне допустимого диапазона"_s);
const QString kOverflowBox = box(u"6: Переполнение"_s);
const QString kPropertyBox = box(u"380: Недопустимое значение свойства"_s);
QString refusedFaceBox(const QString &face)
{
    return box(u"5: Шрифт «"_s + face
        + u"» нельзя выбрать: его имя не записывается в 31 байт кодировки windows-1251"_s);
}

QFont font(const QString &family, double points, int weight, bool italic)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    return f;
}

QByteArray faceBytes(const LOGFONT &lf)
{
    return QByteArray(reinterpret_cast<const char *>(lf.lfFaceName.bytes.data()), FaceNameBytes::kCount);
}

QByteArray padded(const QByteArray &bytes)
{
    return bytes + QByteArray(32 - bytes.size(), '\0');
}

const QString k32 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef"_s;

} // namespace

class TestMdlFont : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mulDiv_data();
    void mulDiv();
    void heights_data();
    void heights();
    void faceNames_data();
    void faceNames();
    void clicks_data();
    void clicks();
    void recordAnswers_data();
    void recordAnswers();
    void fontDialog_data();
    void fontDialog();
    void yesNoBox_data();
    void yesNoBox();
    void russianDialogTexts();
};

void TestMdlFont::mulDiv_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("expected");
    QTest::newRow("below a half") << 7 << 1 << 3 << 2;
    QTest::newRow("above a half") << 32 << 96 << 72 << 43;
    QTest::newRow("a half, up") << 3 << 1 << 2 << 2;
    QTest::newRow("a negative half, down") << -3 << 1 << 2 << -2;
    QTest::newRow("a half over a negative divisor") << 5 << 1 << -2 << -3;
    QTest::newRow("64-bit product") << 2147483647 << 2147483647 << 2147483647 << 2147483647;
    QTest::newRow("quotient beyond 32 bits") << 2147483647 << 2 << 1 << -1;
    QTest::newRow("zero divisor") << 5 << 7 << 0 << -1;
}

void TestMdlFont::mulDiv()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QTEST(MulDiv(a, b, c), "expected");
}

void TestMdlFont::heights_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("dialogPoints");
    const struct
    {
        double size;
        int dpi, height, points;
    } rows[] = {{8, 96, -11, 8}, {9, 96, -12, 9}, {10, 96, -13, 10}, {12, 96, -16, 12}, {14, 96, -19, 14},
        {8, 120, -13, 8}, {10, 120, -17, 10}, {12, 120, -20, 12}, {8.25, 96, -11, 8}, {9.75, 96, -13, 10},
        {10.5, 96, -13, 10}, {11.5, 96, -16, 12}, {21.75, 96, -29, 22}};
    for (const auto &row : rows)
        QTest::addRow("%g pt at %d dpi", row.size, row.dpi)
            << row.size << row.dpi << row.height << row.points;
}

void TestMdlFont::heights()
{
    QFETCH(double, size);
    QFETCH(int, dpi);
    Window w({u"Arial"_s, size, 700, true, 204}, dpi);
    w.selection.cbFont_Click();
    QTEST(w.sent.lfHeight, "height");
    QCOMPARE(std::tuple(w.sent.lfItalic, w.sent.lfWeight, w.sent.lfCharSet), std::tuple(255, 700, 204));
    QCOMPARE(std::tuple(w.request.lStructSize, w.request.Flags), std::tuple(60, 67));
    QCOMPARE(w.request.hwndOwner, &w.dialogs);
    QCOMPARE(w.request.hDC, &w.screen);
    QCOMPARE(w.dialogs.shown.size(), 1);
    QTEST(w.dialogs.shown.at(0).pointSize(), "dialogPoints");
    QVERIFY(w.dialogs.shown.at(0).italic());
    QVERIFY(w.dialogs.boxes.isEmpty());
}

void TestMdlFont::faceNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("dialogName");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("empty") << QString() << padded({}) << QString() << QStringList();
    QTest::newRow("31 characters") << k32.left(31) << padded(k32.left(31).toLatin1()) << k32.left(31)
                                   << QStringList();
    QTest::newRow("32 characters") << k32 << k32.toLatin1() << k32 << QStringList{kIndexBox};
    QTest::newRow("33 characters") << QString(k32 + u'g') << k32.toLatin1() << k32
                                   << QStringList{kIndexBox, kIndexBox};
    QTest::newRow("Cyrillic") << u"Шрифт №1"_s << padded("\xD8\xF0\xE8\xF4\xF2 \xB9\x31") << u"Шрифт №1"_s
                              << QStringList();
    QTest::newRow("outside the code page") << u"Gö"_s << padded("G?") << u"G?"_s << QStringList();
    // Too long for the copy loop's counter: the loop is skipped, then the zero has no place.
    QTest::newRow("40000 characters")
        << QString(40000, u'x') << padded({}) << QString() << QStringList{kOverflowBox, kIndexBox};
}

void TestMdlFont::faceNames()
{
    QFETCH(QString, name);
    Window w({name, 12, 400, false, 204});
    w.selection.cbFont_Click();
    QTEST(faceBytes(w.sent), "bytes");
    QCOMPARE(w.dialogs.shown.size(), 1);
    QTEST(w.dialogs.shown.at(0).family(), "dialogName");
    QTEST(w.dialogs.boxes, "boxes");
    QCOMPARE(w.picOut.Font().Name, name);
}

void TestMdlFont::clicks_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("cancelled");
    const QString arial = u"Arial"_s;
    const auto answer = [](const QString &family, double points, int weight, bool italic) {
        return QVariant::fromValue(font(family, points, weight, italic));
    };
    const QVariant unencodable = answer(u"Schrift ö"_s, 10, 700, true);
    const QList<bool> yes, no{false};
    QTest::newRow("accepted") << arial << answer(u"Liberation Serif"_s, 12.5, 700, true) << yes
                              << u"Liberation Serif"_s << 12.5 << 700 << true << QStringList() << false;
    QTest::newRow("accepted unchanged")
        << arial << QVariant(u"pre-set"_s) << yes << arial << 22.0 << 400 << false << QStringList() << false;
    QTest::newRow("cancelled") << arial << QVariant() << yes << arial << 21.75 << 400 << false
                               << QStringList() << false;
    QTest::newRow("Cyrillic face") << arial << answer(u"Шрифт"_s, 10, 400, false) << yes << u"Шрифт"_s << 10.0
                                   << 400 << false << QStringList() << false;
    QTest::newRow("face outside the code page")
        << arial << unencodable << yes << arial << 21.75 << 400 << false
        << QStringList{refusedFaceBox(u"Schrift ö"_s)} << false;
    QTest::newRow("face of 32 bytes") << arial << answer(k32, 10, 700, true) << yes << arial << 21.75 << 400
                                      << false << QStringList{refusedFaceBox(k32)} << false;
    QTest::newRow("blank face refused, the rest applied")
        << arial << answer(u" "_s, 14, 300, true) << yes << arial << 14.0 << 300 << true
        << QStringList{kPropertyBox} << false;
    QTest::newRow("size refused, the rest applied")
        << arial << answer(u"Liberation Sans"_s, 3000, 700, true) << yes << u"Liberation Sans"_s << 21.75
        << 700 << true << QStringList{kPropertyBox} << false;
    QTest::newRow("No for the 33rd character")
        << QString(k32 + u'g') << QVariant() << no << QString(k32 + u'g') << 21.75 << 400 << false
        << QStringList{kIndexBox} << true;
    QTest::newRow("No for a face outside the code page")
        << arial << unencodable << no << arial << 21.75 << 400 << false
        << QStringList{refusedFaceBox(u"Schrift ö"_s)} << true;
    QTest::newRow("No for a refused size")
        << arial << answer(u"Liberation Sans"_s, 3000, 700, true) << no << u"Liberation Sans"_s << 21.75
        << 400 << false << QStringList{kPropertyBox} << true;
}

void TestMdlFont::clicks()
{
    QFETCH(QString, start);
    QFETCH(QVariant, answer);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, cancelled);
    Window w({start, 21.75, 400, false, 204});
    w.dialogs.answer = answer;
    w.dialogs.answers = answers;
    w.selection.cbFont_Click();
    const SurfaceFont f = w.picOut.Font();
    QTEST(f.Name, "name");
    QTEST(f.Size, "size");
    QTEST(int(f.Weight), "weight");
    QTEST(f.Italic, "italic");
    QCOMPARE(f.Charset, 204);
    QTEST(w.dialogs.boxes, "boxes");
    QCOMPARE(w.cancels, cancelled ? 1 : 0);
    QCOMPARE(w.changes > 0, !cancelled); // redrawn unless the run ends
}

void TestMdlFont::recordAnswers_data()
{
    QTest::addColumn<QByteArray>("face");
    QTest::addColumn<int>("italicByte");
    QTest::addColumn<int>("tenths");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("italic");
    QTest::newRow("italic 1") << QByteArray("Arial") << 1 << 120 << u"Arial"_s << 12.0 << true;
    QTest::newRow("italic 128") << QByteArray("Arial") << 128 << 125 << u"Arial"_s << 12.5 << true;
    QTest::newRow("32 bytes without a zero") << k32.toLatin1() << 0 << 95 << k32 << 9.5 << false;
}

void TestMdlFont::recordAnswers()
{
    QFETCH(QByteArray, face);
    QFETCH(int, italicByte);
    QFETCH(int, tenths);
    Window w;
    w.answerRecord = [&](CHOOSEFONT &record) {
        LOGFONT &lf = *record.lpLogFont;
        std::copy(face.begin(), face.end(), lf.lfFaceName.bytes.begin());
        lf.lfItalic = std::uint8_t(italicByte);
        lf.lfWeight = 700;
        lf.lfHeight = -40; // never the size: that is iPointSize
        record.iPointSize = tenths;
        return 1;
    };
    w.selection.cbFont_Click();
    const SurfaceFont f = w.picOut.Font();
    QTEST(f.Name, "name");
    QTEST(f.Size, "size");
    QTEST(f.Italic, "italic");
    QCOMPARE(f.Weight, 700);
    QVERIFY(w.dialogs.boxes.isEmpty());
}

void TestMdlFont::fontDialog_data()
{
    QTest::addColumn<QFont>("initial");
    QTest::newRow("a regular face") << font(u"DejaVu Sans"_s, 12, 400, false);
    QTest::newRow("a face that is not installed") << font(u"Arial"_s, 22, 400, false);
    QTest::newRow("bold italic") << font(u"Liberation Serif"_s, 14, 700, true);
}

void TestMdlFont::fontDialog()
{
    QFETCH(QFont, initial);
    QFontDialog dialog;
    WidgetDialogs::prepareFontDialog(dialog, initial);
    QVERIFY(dialog.testOption(QFontDialog::DontUseNativeDialog));
    for (const QCheckBox *effect : dialog.findChildren<QCheckBox *>())
        QVERIFY2(!effect->isVisibleTo(&dialog), qPrintable(effect->text()));
    const QFontInfo drawn(initial);
    const QFont shown = dialog.currentFont();
    QCOMPARE(shown.family(), drawn.family());
    QCOMPARE(shown.italic(), drawn.italic());
    QCOMPARE(shown.weight(), drawn.weight());
    QCOMPARE(shown.pointSize(), initial.pointSize());

    // Without the effects beside it, the sample must still have room to show a large size.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto edits = dialog.findChildren<QLineEdit *>();
    const auto sample = std::find_if(edits.begin(), edits.end(),
        [](const QLineEdit *edit) { return qobject_cast<QGroupBox *>(edit->parentWidget()); });
    QVERIFY(sample != edits.end());
    QVERIFY2((*sample)->height() >= 40, qPrintable(QString::number((*sample)->height())));
}

void TestMdlFont::yesNoBox_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Enter takes the default, Yes") << QStringList{u"Enter"_s} << true;
    QTest::newRow("Нет") << QStringList{u"Нет"_s} << false;
    QTest::newRow("Escape does not answer") << QStringList{u"Escape"_s, u"Да"_s} << true;
    QTest::newRow("nor does the close box") << QStringList{u"close"_s, u"Нет"_s} << false;
}

void TestMdlFont::yesNoBox()
{
    QFETCH(QStringList, actions);
    QFETCH(bool, answer);
    QWidget window;
    WidgetDialogs dialogs(&window);
    QStringList seen;
    // Acts on the box once it runs its own loop, one action per turn; tied to
    // the window, since the last turn can come after this test has returned.
    std::function<void()> act = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || actions.isEmpty())
            return;
        seen << box->windowTitle() << box->text();
        const QString action = actions.takeFirst();
        if (action == u"Enter"_s)
            QTest::keyClick(box, Qt::Key_Return);
        else if (action == u"Escape"_s)
            QTest::keyClick(box, Qt::Key_Escape);
        else if (action == u"close"_s)
            box->close();
        else {
            const auto buttons = box->findChildren<QPushButton *>();
            const auto named = std::find_if(
                buttons.begin(), buttons.end(), [&](QPushButton *b) { return b->text() == action; });
            QVERIFY2(named != buttons.end(), qPrintable(action));
            (*named)->click();
        }
        QTimer::singleShot(0, &window, act);
    };
    QTimer::singleShot(0, &window, act);
    QCOMPARE(dialogs.criticalYesNo(u"Ошибка 6: что-то"_s), answer);
    QVERIFY(actions.isEmpty());
    QCOMPARE(seen.value(1), u"Ошибка 6: что-то"_s);
}

void TestMdlFont::russianDialogTexts()
{
    QWidget window;
    WidgetDialogs dialogs(&window);
    QStringList labels;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            labels << label->text();
        for (const QPushButton *button : dialog->findChildren<QPushButton *>())
            labels << button->text();
        dialog->reject();
    });
    QVERIFY(!dialogs.chooseFont(QFont(u"Arial"_s, 12)));
    QVERIFY2(labels.contains(u"&Размер"_s) && labels.contains(u"Отмена"_s), qPrintable(labels.join(u" | ")));
}

QTEST_MAIN(TestMdlFont)
#include "tst_mdlfont.moc"
