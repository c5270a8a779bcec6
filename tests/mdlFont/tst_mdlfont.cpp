#include "FontSelection.h"
#include "Formula.h"
#include "ImageSurface.h"
#include "WidgetDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <tuple>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// The window's part in a font click: a screen of `dpi`, the picture, a formula with no dots, and its
// boxes and font dialog, answered by the test.
struct Window final : DotSlots, SpinButton, Caption, Dialogs
{
    QImage screen{1, 1, QImage::Format_RGB32};
    ImageSurface picOut;
    Formula formula{picOut, *this, *this, *this};
    FontSelection selection;
    std::function<std::int32_t(CHOOSEFONT &)> answerRecord; // stands in for the dialog's answer
    LOGFONT sent{};
    QVariant answer; // a QFont, "pre-set", or nothing for a cancel
    bool yes = true;
    QStringList boxes;
    QList<QFont> shown;
    int cancels = 0;
    int changes = 0;

    explicit Window(const SurfaceFont &font = startFont(), int dpi = 96)
        : picOut(QSize(120, 109), font),
          selection(
              picOut, formula, *this, &screen, [this] { ++cancels; },
              [this](CHOOSEFONT &record) {
                  sent = *record.lpLogFont;
                  return answerRecord ? answerRecord(record) : ChooseFontA(record);
              })
    {
        screen.setDotsPerMeterX(qRound(dpi / 0.0254));
        screen.setDotsPerMeterY(qRound(dpi / 0.0254));
        picOut.setScreenDevice(&screen);
        picOut.setChangeHandler([this] { ++changes; });
    }
    short Value(int) const override { return 0; }
    void setValue(int, short) override { }
    short Max() const override { return 20; }
    short Value() const override { return 17; }
    void setCaption(const QString &) override { }
    void critical(const QString &text) override { boxes << text; }
    bool criticalYesNo(const QString &text) override { return (boxes << text, yes); }
    std::optional<QFont> chooseFont(const QFont &initial) override
    {
        shown << initial;
        if (answer == u"pre-set"_s)
            return initial;
        return answer.isValid() ? std::optional(answer.value<QFont>()) : std::nullopt;
    }
    QString font() const
    {
        const SurfaceFont f = picOut.Font();
        return u"%1 %2 %3%4"_s.arg(
            f.Name, QString::number(f.Size), QString::number(f.Weight), f.Italic ? u" italic"_s : QString());
    }
};

QString box(const QString &error)
{
    return u"Ошибка "_s + error + u"\r\n\r\nПродолжить работу программы?"_s;
}
const QString kIndexBox = box(u"9: Индекс вне допустимого диапазона"_s);
const QString k32 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef"_s;

QVariant font(const QString &family, double points, int weight, bool italic)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    return QVariant::fromValue(f);
}

QByteArray padded(const QByteArray &bytes)
{
    return bytes + QByteArray(32 - bytes.size(), '\0');
}

} // namespace

class TestMdlFont : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mulDiv_data()
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
    void mulDiv()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QTEST(MulDiv(a, b, c), "expected");
    }

    // The height handed to the dialog, and the whole points the dialog shows for it.
    void heights_data()
    {
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("points");
        const struct
        {
            double size;
            int dpi, height, points;
        } rows[] = {{8, 96, -11, 8}, {9, 96, -12, 9}, {10, 96, -13, 10}, {12, 96, -16, 12}, {14, 96, -19, 14},
            {8, 120, -13, 8}, {10, 120, -17, 10}, {12, 120, -20, 12}, {8.25, 96, -11, 8}, {9.75, 96, -13, 10},
            {10.5, 96, -13, 10}, {11.5, 96, -16, 12}};
        for (const auto &row : rows)
            QTest::addRow("%g pt at %d dpi", row.size, row.dpi)
                << row.size << row.dpi << row.height << row.points;
    }
    void heights()
    {
        QFETCH(double, size);
        QFETCH(int, dpi);
        Window w({u"Arial"_s, size, 700, true, 204}, dpi);
        w.selection.cbFont_Click();
        QTEST(w.sent.lfHeight, "height");
        QCOMPARE(std::tuple(w.sent.lfItalic, w.sent.lfWeight, w.sent.lfCharSet), std::tuple(255, 700, 204));
        QCOMPARE(w.shown.size(), 1);
        QTEST(w.shown.at(0).pointSize(), "points");
        QVERIFY(w.shown.at(0).italic() && w.boxes.isEmpty());
    }

    void faceNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("dialogName");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("empty") << QString() << padded({}) << QString() << QStringList();
        QTest::newRow("31 characters")
            << k32.left(31) << padded(k32.left(31).toLatin1()) << k32.left(31) << QStringList();
        QTest::newRow("32 characters") << k32 << k32.toLatin1() << k32 << QStringList{kIndexBox};
        QTest::newRow("33 characters")
            << QString(k32 + u'g') << k32.toLatin1() << k32 << QStringList{kIndexBox, kIndexBox};
        QTest::newRow("Cyrillic") << u"Шрифт №1"_s << padded("\xD8\xF0\xE8\xF4\xF2 \xB9\x31") << u"Шрифт №1"_s
                                  << QStringList();
        QTest::newRow("outside the code page") << u"Gö"_s << padded("G?") << u"G?"_s << QStringList();
        // Too long for the copy loop's counter: the loop is skipped, then the zero has no place.
        QTest::newRow("40000 characters") << QString(40000, u'x') << padded({}) << QString()
                                          << QStringList{box(u"6: Переполнение"_s), kIndexBox};
    }
    void faceNames()
    {
        QFETCH(QString, name);
        Window w({name, 12, 400, false, 204});
        w.selection.cbFont_Click();
        QTEST(QByteArray(reinterpret_cast<const char *>(w.sent.lfFaceName.bytes.data()), 32), "bytes");
        QCOMPARE(w.shown.size(), 1);
        QTEST(w.shown.at(0).family(), "dialogName");
        QTEST(w.boxes, "boxes");
        QCOMPARE(w.picOut.Font().Name, name);
    }

    // Starting from Arial 21.75 pt, 400: the dialog's answer, and Yes or No to the first box.
    void clicks_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("font");
        QTest::addColumn<QStringList>("boxes");
        const QString property = box(u"380: Недопустимое значение свойства"_s);
        const auto refused = [](const QString &face) {
            return QStringList{box(u"5: Шрифт «"_s + face
                + u"» нельзя выбрать: его имя не записывается в 31 байт кодировки windows-1251"_s)};
        };
        QTest::newRow("accepted") << font(u"Liberation Serif"_s, 12.5, 700, true) << true
                                  << u"Liberation Serif 12.5 700 italic"_s << QStringList();
        QTest::newRow("accepted unchanged: whole points")
            << QVariant(u"pre-set"_s) << true << u"Arial 22 400"_s << QStringList();
        QTest::newRow("cancelled") << QVariant() << true << u"Arial 21.75 400"_s << QStringList();
        QTest::newRow("Cyrillic face")
            << font(u"Шрифт"_s, 10, 400, false) << true << u"Шрифт 10 400"_s << QStringList();
        // A face the records cannot name fails the dialog call, which then counts as a cancel.
        QTest::newRow("face outside the code page")
            << font(u"Schrift ö"_s, 10, 700, true) << true << u"Arial 21.75 400"_s << refused(u"Schrift ö"_s);
        QTest::newRow("face of 32 bytes")
            << font(k32, 10, 700, true) << true << u"Arial 21.75 400"_s << refused(k32);
        QTest::newRow("blank face refused, Yes")
            << font(u" "_s, 14, 300, true) << true << u"Arial 14 300 italic"_s << QStringList{property};
        QTest::newRow("size refused, No") << font(u"Liberation Sans"_s, 3000, 700, true) << false
                                          << u"Liberation Sans 21.75 400"_s << QStringList{property};
    }
    void clicks()
    {
        QFETCH(QVariant, answer);
        QFETCH(bool, yes);
        Window w({u"Arial"_s, 21.75, 400, false, 204});
        w.answer = answer;
        w.yes = yes;
        w.selection.cbFont_Click();
        QTEST(w.font(), "font");
        QTEST(w.boxes, "boxes");
        QCOMPARE(w.picOut.Font().Charset, 204);
        QCOMPARE(w.cancels, yes ? 0 : 1);
        QCOMPARE(w.changes > 0, yes); // redrawn unless the run ends
    }

    // What the dialog's record says, read back: any non-zero italic byte, a name of 32 bytes without a zero,
    // the size from iPointSize and never from lfHeight.
    void recordAnswers_data()
    {
        QTest::addColumn<QByteArray>("face");
        QTest::addColumn<int>("italic");
        QTest::addColumn<int>("tenths");
        QTest::addColumn<QString>("font");
        QTest::newRow("italic 1") << QByteArray("Arial") << 1 << 120 << u"Arial 12 700 italic"_s;
        QTest::newRow("italic 128, 32 bytes") << k32.toLatin1() << 128 << 95 << k32 + u" 9.5 700 italic"_s;
        QTest::newRow("italic 0") << QByteArray("Arial") << 0 << 125 << u"Arial 12.5 700"_s;
    }
    void recordAnswers()
    {
        QFETCH(QByteArray, face);
        QFETCH(int, italic);
        QFETCH(int, tenths);
        Window w({u"Arial"_s, 21.75, 400, true, 204});
        w.answerRecord = [&](CHOOSEFONT &record) {
            LOGFONT &lf = *record.lpLogFont;
            std::copy(face.begin(), face.end(), lf.lfFaceName.bytes.begin());
            lf.lfItalic = std::uint8_t(italic);
            lf.lfWeight = 700;
            lf.lfHeight = -40;
            record.iPointSize = tenths;
            return 1;
        };
        w.selection.cbFont_Click();
        QTEST(w.font(), "font");
        QVERIFY(w.boxes.isEmpty());
    }

    // The real dialog, pre-set to the font as it is drawn, without effects, in Russian.
    void fontDialog_data()
    {
        QTest::addColumn<QFont>("initial");
        QTest::newRow("a regular face") << font(u"DejaVu Sans"_s, 12, 400, false).value<QFont>();
        QTest::newRow("a face that is not installed") << font(u"Arial"_s, 22, 400, false).value<QFont>();
        QTest::newRow("bold italic") << font(u"Liberation Serif"_s, 14, 700, true).value<QFont>();
    }
    void fontDialog()
    {
        QFETCH(QFont, initial);
        QWidget window;
        WidgetDialogs dialogs(&window);
        QFont shown;
        QStringList texts;
        int sampleHeight = 0;
        bool effectShown = false;
        QTimer::singleShot(0, &window, [&] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = dialog->currentFont();
            for (const QWidget *child : dialog->findChildren<QWidget *>()) {
                texts << child->property("text").toString();
                effectShown |= qobject_cast<const QCheckBox *>(child) && child->isVisibleTo(dialog);
                if (qobject_cast<const QLineEdit *>(child)
                    && qobject_cast<QGroupBox *>(child->parentWidget()))
                    sampleHeight = child->height();
            }
            dialog->reject();
        });
        QVERIFY(!dialogs.chooseFont(initial));
        const QFontInfo drawn(initial);
        QCOMPARE(std::tuple(shown.family(), shown.italic(), shown.weight(), shown.pointSize()),
            std::tuple(drawn.family(), drawn.italic(), drawn.weight(), initial.pointSize()));
        texts.removeAll(QString());
        const QString all = texts.join(u" | ");
        QVERIFY2(all.contains(u"&Размер"_s) && all.contains(u"Отмена"_s), qPrintable(all));
        QVERIFY(!effectShown);
        // Without the effects beside it, the sample must still have room to show a large size.
        QVERIFY2(sampleHeight >= 40, qPrintable(QString::number(sampleHeight)));
    }

    void yesNoBox_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<bool>("answer");
        QTest::newRow("Enter takes the default, Yes") << QStringList{u"Enter"_s} << true;
        QTest::newRow("Нет") << QStringList{u"Нет"_s} << false;
        QTest::newRow("Escape does not answer") << QStringList{u"Escape"_s, u"Да"_s} << true;
        QTest::newRow("nor does the close box") << QStringList{u"close"_s, u"Нет"_s} << false;
    }
    void yesNoBox()
    {
        QFETCH(QStringList, actions);
        QWidget window;
        WidgetDialogs dialogs(&window);
        QString text;
        bool stuck = false;
        // One action per turn of the box's own loop; tied to the window, since the last turn can come
        // after this test has returned.
        std::function<void()> act = [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            const QString action = actions.isEmpty() ? QString() : actions.takeFirst();
            const auto buttons = box->buttons();
            const auto named
                = std::find_if(buttons.begin(), buttons.end(), [&](auto *b) { return b->text() == action; });
            if (action == u"Enter"_s || action == u"Escape"_s)
                QTest::keyClick(box, action == u"Enter"_s ? Qt::Key_Return : Qt::Key_Escape);
            else if (action == u"close"_s)
                box->close();
            else if (named != buttons.end())
                (*named)->click();
            else // a missing action or button: end the box rather than wait for ever
                stuck = (box->done(QMessageBox::Cancel), true);
            QTimer::singleShot(0, &window, act);
        };
        QTimer::singleShot(0, &window, act);
        QTEST(dialogs.criticalYesNo(u"Ошибка 6: что-то"_s), "answer");
        QVERIFY(actions.isEmpty() && !stuck);
        QCOMPARE(text, u"Ошибка 6: что-то"_s);
    }

    // A start-up error is shown before the window: centred on the screen, not
    // over the hidden window in the corner.
    void startupBoxIsCentred()
    {
        QWidget window;
        window.resize(365, 239);
        WidgetDialogs dialogs(&window);
        QRect shown;
        QTimer::singleShot(0, &window, [&] {
            if (auto *box = QApplication::activeModalWidget()) {
                shown = box->frameGeometry();
                box->close();
            }
        });
        dialogs.critical(u"Ошибка 76: Путь не найден"_s);
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2((shown.center() - centre).manhattanLength() < 20,
            qPrintable(u"%1,%2"_s.arg(shown.center().x()).arg(shown.center().y())));
    }
};

QTEST_MAIN(TestMdlFont)
#include "tst_mdlfont.moc"
