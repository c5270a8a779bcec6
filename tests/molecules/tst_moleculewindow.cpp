#include "Browser.h"
#include "MoleculeWindow.h"
#include "Species.h"
#include "WindowDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace zembrel;
using namespace Qt::StringLiterals;

namespace {

// Answers the window's dialogs as a test scripts them.
class ScriptedDialogs final : public WindowDialogs
{
public:
    void critical(const QString &text) override { errors << text; }
    bool criticalYesNo(const QString &text) override
    {
        errors << text;
        return false;
    }
    std::optional<QFont> chooseFont(const QFont &initial) override
    {
        offeredFont = initial;
        return font;
    }
    QString saveFileName(const QString &suggested, const QStringList &, QString &filter) override
    {
        suggestedPath = suggested;
        if (!saveFilter.isEmpty())
            filter = saveFilter;
        return savePath;
    }

    QStringList errors;
    std::optional<QFont> font;
    QFont offeredFont;
    QString savePath, saveFilter, suggestedPath;
};

// Typing as a keyboard with any layout would: QTest's own typing knows ASCII only.
void typeInto(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

int electrons(const QByteArray &svg)
{
    return int(svg.count("class=\"electron "));
}

} // namespace

class TestMoleculeWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsReadyToType();
    void everyControlIsNamedAndTabbedInReadingOrder();
    void typedNameIsDrawnAndCopied();
    void htmlPastesAtItsSize();
    void htmlPastesAtItsSizeInWriter();
    void enterCopies();
    void selectedTextIsCopiedAsText();
    void badInputSaysWhyAndCopiesNothing_data();
    void badInputSaysWhyAndCopiesNothing();
    void suggestionIsTakenByItsLink();
    void styleChangesTheElectrons();
    void dotCrossWithShells();
    void resonanceAndCharges();
    void radiusKeepsToItsSteps();
    void fontFromTheDialog();
    void saveWritesTheChosenFormat();
    void saveFailureIsTold();
    void practiceSheet();
    void completionOffersNames();
    void formulaWorkedOut();
    void shapeStyle();

private:
    QLineEdit *input() const { return m_window->findChild<QLineEdit *>(u"input"_s); }
    QString message() const { return m_window->findChild<QLabel *>(u"message"_s)->text(); }
    void type(const QString &text)
    {
        input()->selectAll();
        typeInto(input(), text);
    }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MoleculeWindow> m_window;
};

void TestMoleculeWindow::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<MoleculeWindow>(Sketch::Language::English, m_dialogs.get());
    m_window->resize(760, 520);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QApplication::clipboard()->setText(u"before"_s);
}

void TestMoleculeWindow::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
}

void TestMoleculeWindow::startsReadyToType()
{
    QCOMPARE(QApplication::focusWidget(), input());
    QVERIFY(!m_window->findChild<QPushButton *>(u"copy"_s)->isEnabled());
    QCOMPARE(message(), QString());
}

void TestMoleculeWindow::everyControlIsNamedAndTabbedInReadingOrder()
{
    type(u"water"_s);
    QStringList order;
    for (int i = 0; i < 13; ++i) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        QVERIFY2(!focused->accessibleName().isEmpty(), focused->metaObject()->className());
        order << focused->accessibleName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QCOMPARE(order,
        (QStringList{u"Name, formula or SMILES"_s, u"Picture"_s, u"Show the steps"_s, u"Lewis: bonds as lines"_s,
            u"Resonance forms"_s, u"Formal charges"_s, u"Dot radius"_s, u"Font"_s, u"Copy the picture"_s, u"Save the picture as a file"_s,
            u"Pictures on the sheet"_s, u"Add to sheet"_s, u"Name, formula or SMILES"_s}));
}

// The clipboard gets the renderer's own PNG at 288 dpi and its SVG.
void TestMoleculeWindow::typedNameIsDrawnAndCopied()
{
    type(u"water"_s);
    QCOMPARE(message(), u"water, H₂O"_s);
    QVERIFY(!m_window->findChild<QWidget *>(u"picture"_s)->minimumSize().isEmpty());
    QTest::keyClick(input(), Qt::Key_C, Qt::ControlModifier);

    const QMimeData *copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied->hasFormat(u"image/png"_s) && copied->hasFormat(u"image/svg+xml"_s));
    QCOMPARE(copied->data(u"image/png"_s), m_window->sketch().exportBytes(Format::Png));
    const QImage png = QImage::fromData(copied->data(u"image/png"_s), "png");
    QCOMPARE(png.dotsPerMeterX(), 3 * 3780);
    QCOMPARE(electrons(copied->data(u"image/svg+xml"_s)), 4); // Lewis: two lone pairs
    QVERIFY(copied->data(u"image/svg+xml"_s).contains("<title>water, H₂O</title>"));
    // The HTML holds the same PNG at its 96-dpi size.
    QVERIFY(copied->hasHtml());
    const QString html = copied->html();
    QVERIFY(html.contains(QString::fromLatin1(copied->data(u"image/png"_s).toBase64())));
    QVERIFY2(html.contains(u"width:%1px;height:%2px"_s.arg(png.width() / 3).arg(png.height() / 3)),
        qPrintable(html.left(80)));
}

// The copied HTML pasted into a page, drawn by a browser: the picture takes
// the size it has on screen, not three times that.
void TestMoleculeWindow::htmlPastesAtItsSize()
{
    type(u"ethanol"_s);
    const std::unique_ptr<QMimeData> copied = m_window->sketch().mimeData();
    const QImage png = QImage::fromData(copied->data(u"image/png"_s), "png");
    const BrowserShot shot = drawnByBrowser(
        u"<!DOCTYPE html><html><body style=\"margin:0;background:#808080\">"_s + copied->html() + u"</body></html>"_s,
        QSize(1200, 800));
    if (shot.missing)
        QSKIP(qPrintable(shot.problem));
    const QImage &drawn = shot.image;
    QVERIFY2(!drawn.isNull(), qPrintable(shot.problem));
    QRect picture;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) != qRgb(128, 128, 128))
                picture |= QRect(x, y, 1, 1);
        }
    }
    QCOMPARE(picture.size(), png.size() / 3);
}

// The copied HTML opened as a document by LibreOffice Writer and printed to
// PDF: the picture is as many millimetres as on screen at 96 dpi.
void TestMoleculeWindow::htmlPastesAtItsSizeInWriter()
{
    const QString office = QStandardPaths::findExecutable(u"soffice"_s);
    if (office.isEmpty() || QStandardPaths::findExecutable(u"pdfimages"_s).isEmpty())
        QSKIP("LibreOffice Writer (soffice) or pdfimages is not installed");
    type(u"ethanol"_s);
    const std::unique_ptr<QMimeData> copied = m_window->sketch().mimeData();
    const QImage png = QImage::fromData(copied->data(u"image/png"_s), "png");
    QTemporaryDir dir;
    QFile page(dir.filePath(u"pasted.html"_s));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write((u"<!DOCTYPE html><html><body>"_s + copied->html() + u"</body></html>"_s).toUtf8());
    page.close();
    QProcess writer;
    writer.setWorkingDirectory(dir.path());
    writer.start(office, {u"-env:UserInstallation=%1"_s.arg(QUrl::fromLocalFile(dir.filePath(u"profile"_s)).toString()),
        u"--headless"_s, u"--infilter=HTML (StarWriter)"_s, u"--convert-to"_s, u"pdf"_s, page.fileName()});
    QVERIFY(writer.waitForFinished(120000));
    QProcess images;
    images.start(u"pdfimages"_s, {u"-list"_s, dir.filePath(u"pasted.pdf"_s)});
    QVERIFY(images.waitForFinished(30000));
    // "page num type width height color comp bpc enc interp object ID x-ppi y-ppi ..."
    const QStringList lines = QString::fromUtf8(images.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    const QStringList image = lines[2].simplified().split(u' ');
    const double millimetres = image[3].toDouble() / image[12].toDouble() * 25.4;
    const double onScreen = png.width() / 3.0 / 96 * 25.4;
    QVERIFY2(std::abs(millimetres - onScreen) < 0.5, qPrintable(u"%1 mm, not %2"_s.arg(millimetres).arg(onScreen)));
}

void TestMoleculeWindow::enterCopies()
{
    type(u"NH4+"_s);
    QTest::keyClick(input(), Qt::Key_Return);
    QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(u"image/png"_s));
}

void TestMoleculeWindow::selectedTextIsCopiedAsText()
{
    type(u"ammonia"_s);
    input()->selectAll();
    QTest::keyClick(input(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), u"ammonia"_s);
    QVERIFY(!QApplication::clipboard()->mimeData()->hasFormat(u"image/png"_s));
}

void TestMoleculeWindow::badInputSaysWhyAndCopiesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("says");
    QTest::newRow("a slip in a name") << u"вада"_s << u"Did you mean <a href=\"0\">вода</a>"_s;
    QTest::newRow("no name near") << u"жжжжжжжж"_s
                                  << u"No molecule or ion of the table is called “жжжжжжжж”."_s;
    QTest::newRow("a broken SMILES") << u"C1CC"_s << u"As a SMILES: SMILES"_s;
    QTest::newRow("a broken SMILES that reads as no formula") << u"C1C#C"_s << u"nor a SMILES"_s;
    QTest::newRow("an element no dot formula fits") << u"[Fe]"_s << u"main-group"_s;
    QTest::newRow("a formula of two skeletons")
        << u"C2H6O"_s << u"As a formula, its structure cannot be worked out: more than one skeleton"_s;
}

void TestMoleculeWindow::badInputSaysWhyAndCopiesNothing()
{
    QFETCH(QString, text);
    QFETCH(QString, says);
    type(u"water"_s);
    type(text);
    QVERIFY2(message().contains(says), qPrintable(message()));
    QVERIFY(m_window->findChild<QWidget *>(u"picture"_s)->minimumSize().isEmpty());
    QVERIFY(!m_window->findChild<QPushButton *>(u"copy"_s)->isEnabled());
    QTest::keyClick(input(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(input(), Qt::Key_Return);
    QCOMPARE(QApplication::clipboard()->text(), u"before"_s);
    QVERIFY(!m_window->findChild<QLabel *>(u"status"_s)->text().isEmpty());
}

void TestMoleculeWindow::suggestionIsTakenByItsLink()
{
    type(u"вада"_s);
    Q_EMIT m_window->findChild<QLabel *>(u"message"_s)->linkActivated(u"0"_s);
    QCOMPARE(input()->text(), u"вода"_s);
    QCOMPARE(message(), u"water, H₂O"_s);
}

void TestMoleculeWindow::styleChangesTheElectrons()
{
    type(u"water"_s);
    const auto choices = m_window->findChildren<QRadioButton *>();
    const auto dots = std::find_if(choices.cbegin(), choices.cend(),
        [](const QRadioButton *b) { return b->text() == u"&Dots: every electron"_s; });
    QVERIFY(dots != choices.cend());
    QTest::mouseClick(*dots, Qt::LeftButton);
    QCOMPARE(electrons(m_window->sketch().exportBytes(Format::Svg)), 8);
    QTest::keyClick(*dots, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(electrons(QApplication::clipboard()->mimeData()->data(u"image/svg+xml"_s)), 8);
}

// Water in dots and crosses: O's six electrons as dots, each H's one as a
// cross; with shells, a circle for each of the three atoms. Lewis has no shells.
void TestMoleculeWindow::dotCrossWithShells()
{
    type(u"water"_s);
    const auto choices = m_window->findChildren<QRadioButton *>();
    const auto choice = [&choices](const QString &text) {
        const auto at = std::find_if(
            choices.cbegin(), choices.cend(), [&text](const QRadioButton *b) { return b->text() == text; });
        return at == choices.cend() ? nullptr : *at;
    };
    auto *shells = m_window->findChild<QCheckBox *>(u"shells"_s);
    QVERIFY(shells && !shells->isEnabled());
    QTest::mouseClick(choice(u"Dot and cr&oss: each atom its own mark"_s), Qt::LeftButton);
    QVERIFY(shells->isEnabled());
    shells->setChecked(true);
    QByteArray svg = m_window->sketch().exportBytes(Format::Svg);
    QCOMPARE(int(svg.count("class=\"electron dot\"")), 6);
    QCOMPARE(int(svg.count("class=\"electron cross\"")), 2);
    QCOMPARE(int(svg.count("class=\"shell\"")), 3);
    QTest::mouseClick(choice(u"&Lewis: bonds as lines"_s), Qt::LeftButton);
    QVERIFY(!shells->isEnabled());
    svg = m_window->sketch().exportBytes(Format::Svg);
    QCOMPARE(int(svg.count("class=\"shell\"")), 0);
    QCOMPARE(electrons(svg), 4);
}

// Nitrate's three forms, each in brackets with N+ and two O−; then the ion's
// own charge alone, and one form again.
void TestMoleculeWindow::resonanceAndCharges()
{
    type(u"nitrate"_s);
    QByteArray svg = m_window->sketch().exportBytes(Format::Svg);
    QCOMPARE(int(svg.count("class=\"charge formal\"")), 3);
    auto *resonance = m_window->findChild<QCheckBox *>(u"resonance"_s);
    resonance->setFocus();
    QTest::keyClick(resonance, Qt::Key_Space);
    svg = m_window->sketch().exportBytes(Format::Svg);
    QCOMPARE(int(svg.count("class=\"resonance-arrow\"")), 2);
    QCOMPARE(int(svg.count("class=\"bracket\"")), 3 * 6);
    QCOMPARE(int(svg.count("class=\"charge formal\"")), 3 * 3);

    auto *charges = m_window->findChild<QComboBox *>(u"charges"_s);
    charges->setFocus();
    QTest::keyClick(charges, Qt::Key_End);
    QCOMPARE(charges->currentText(), u"An ion's charge only"_s);
    QTest::keyClick(resonance, Qt::Key_Space);
    svg = m_window->sketch().exportBytes(Format::Svg);
    QCOMPARE(int(svg.count("class=\"resonance-arrow\"")), 0);
    QCOMPARE(int(svg.count("class=\"charge formal\"")), 0);
    QCOMPARE(int(svg.count("class=\"charge\"")), 1);
}

void TestMoleculeWindow::radiusKeepsToItsSteps()
{
    type(u"water"_s);
    auto *radius = m_window->findChild<QDoubleSpinBox *>(u"radius"_s);
    radius->setFocus();
    radius->selectAll();
    QTest::keyClicks(radius, u"2.3"_s);
    QCOMPARE(m_window->sketch().picture().radius, 2.5F);
    QTest::keyClick(radius, Qt::Key_Up);
    QCOMPARE(m_window->sketch().picture().radius, 3.0F);
}

void TestMoleculeWindow::fontFromTheDialog()
{
    type(u"water"_s);
    QFont chosen(u"Liberation Serif"_s);
    chosen.setPointSizeF(30);
    chosen.setItalic(true);
    m_dialogs->font = chosen;
    auto *button = m_window->findChild<QPushButton *>(u"font"_s);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_dialogs->offeredFont.pointSizeF(), 21.75);
    const SurfaceFont &font = m_window->sketch().picture().font;
    QCOMPARE(font.Name, u"Liberation Serif"_s);
    QCOMPARE(font.Size, 30.0);
    QVERIFY(font.Italic);
    QCOMPARE(button->text(), u"Liberation Serif, 30 pt, italic…"_s);

    m_dialogs->font.reset(); // cancelled: nothing changes
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_window->sketch().picture().font.Name, u"Liberation Serif"_s);
}

void TestMoleculeWindow::saveWritesTheChosenFormat()
{
    QTemporaryDir dir;
    type(u"water"_s);
    m_dialogs->savePath = dir.filePath(u"picture"_s); // no extension: the filter's
    m_dialogs->saveFilter = u"SVG drawing (*.svg)"_s;
    QTest::keyClick(input(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(m_dialogs->suggestedPath.endsWith(u"/water.png"_s));
    QFile svg(dir.filePath(u"picture.svg"_s));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QCOMPARE(electrons(svg.readAll()), 4);

    m_dialogs->savePath = dir.filePath(u"picture.bmp"_s); // the extension wins
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"save"_s), Qt::LeftButton);
    const QImage bmp(dir.filePath(u"picture.bmp"_s), "bmp");
    QCOMPARE(bmp.size(), QImage::fromData(m_window->sketch().exportBytes(Format::Png)).size());
    QVERIFY(m_dialogs->errors.isEmpty());
}

// Two pictures onto the sheet, the second moved up, saved as a PDF whose
// text has them in that order with their names; then the sheet cleared.
void TestMoleculeWindow::practiceSheet()
{
    const auto button = [this](const char16_t *name) { return m_window->findChild<QPushButton *>(QString::fromUtf16(name)); };
    auto *list = m_window->findChild<QListWidget *>(u"sheet"_s);
    QVERIFY(!button(u"saveSheet")->isEnabled() && !button(u"addToSheet")->isEnabled());
    type(u"water"_s);
    QTest::mouseClick(button(u"addToSheet"), Qt::LeftButton);
    type(u"nitrate"_s);
    m_window->findChild<QComboBox *>(u"charges"_s)->setCurrentIndex(2); // an ion's charge only
    QTest::mouseClick(button(u"addToSheet"), Qt::LeftButton);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 1);
    QTest::mouseClick(button(u"sheetUp"), Qt::LeftButton);
    QCOMPARE(list->item(0)->text(), u"1. nitrate ion, NO₃⁻"_s);
    QCOMPARE(list->item(1)->text(), u"2. water, H₂O"_s);
    QVERIFY(!button(u"sheetUp")->isEnabled());

    QTemporaryDir dir;
    m_dialogs->savePath = dir.filePath(u"worksheet"_s);
    QTest::mouseClick(button(u"saveSheet"), Qt::LeftButton);
    QVERIFY(m_dialogs->errors.isEmpty());
    QFile pdf(dir.filePath(u"worksheet.pdf"_s));
    QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
    if (!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) {
        QProcess text;
        text.start(u"pdftotext"_s, {pdf.fileName(), u"-"_s});
        QVERIFY(text.waitForFinished(30000));
        const QString words = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(words.indexOf(u"1. nitrate ion"_s) >= 0 && words.indexOf(u"1. nitrate ion"_s) < words.indexOf(u"2. water"_s),
            qPrintable(words));
    }
    QTest::mouseClick(button(u"sheetClear"), Qt::LeftButton);
    QCOMPARE(list->count(), 0);
    QVERIFY(!button(u"saveSheet")->isEnabled());
}

void TestMoleculeWindow::saveFailureIsTold()
{
    QTemporaryDir dir;
    type(u"water"_s);
    m_dialogs->savePath = dir.filePath(u"no/such/folder/water.png"_s);
    QTest::keyClick(input(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY2(m_dialogs->errors.front().contains(u"there is no such folder"_s),
        qPrintable(m_dialogs->errors.front()));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestMoleculeWindow::completionOffersNames()
{
    auto *completer = m_window->findChild<QCompleter *>();
    typeInto(input(), u"вод"_s);
    const QStringList offered = qobject_cast<QStringListModel *>(completer->model())->stringList();
    QCOMPARE(offered.value(0), u"вода"_s);
    QVERIFY(completer->popup()->isVisible());
    typeInto(input(), u"а"_s);
    QVERIFY(!completer->popup()->isVisible()); // nothing past what is typed
}

// Shape, the fifth style: SF6 worked out and drawn as an octahedron, one
// wedge and one hash; water from the table bent, its angle measured. The
// options a shape does not take are off while it is chosen, and a molecule
// without one centre says why instead of a picture.
void TestMoleculeWindow::shapeStyle()
{
    const auto choices = m_window->findChildren<QRadioButton *>();
    const auto shape = std::find_if(choices.cbegin(), choices.cend(),
        [](const QRadioButton *b) { return b->text() == u"Shape: wedges, angle and na&me"_s; });
    QVERIFY(shape != choices.cend());
    auto *resonance = m_window->findChild<QCheckBox *>(u"resonance"_s);
    auto *charges = m_window->findChild<QComboBox *>(u"charges"_s);
    type(u"SF6"_s);
    QTest::mouseClick(*shape, Qt::LeftButton);
    QVERIFY(!resonance->isEnabled() && !charges->isEnabled());
    QByteArray svg = m_window->sketch().exportBytes(Format::Svg);
    QCOMPARE(int(svg.count("class=\"bond wedge\"")), 1);
    QCOMPARE(int(svg.count("class=\"bond hash\"")), 1);
    QVERIFY(svg.contains(">octahedral</text>"));
    type(u"water"_s);
    svg = m_window->sketch().exportBytes(Format::Svg);
    QVERIFY(svg.contains(">104.5°</text>") && svg.contains(">bent</text>"));
    auto *copy = m_window->findChild<QPushButton *>(u"copy"_s);
    type(u"ethanol"_s);
    QVERIFY(!copy->isEnabled());
    QVERIFY2(message().contains(u"one central atom"_s), qPrintable(message()));
    const auto lewis = std::find_if(choices.cbegin(), choices.cend(),
        [](const QRadioButton *b) { return b->text() == u"&Lewis: bonds as lines"_s; });
    QTest::mouseClick(*lewis, Qt::LeftButton);
    QVERIFY(resonance->isEnabled() && charges->isEnabled());
    QVERIFY(copy->isEnabled());
}

// A formula the table lacks is worked out and drawn, its shape named under
// the picture and its steps in the panel; a SMILES is still a SMILES.
void TestMoleculeWindow::formulaWorkedOut()
{
    auto *shape = m_window->findChild<QLabel *>(u"shape"_s);
    auto *steps = m_window->findChild<QPlainTextEdit *>(u"steps"_s);
    auto *showSteps = m_window->findChild<QPushButton *>(u"showSteps"_s);
    QVERIFY(!steps->isVisible());
    type(u"XeOF4"_s);
    QCOMPARE(message(), u"XeOF₄, worked out from its formula"_s);
    QCOMPARE(shape->text(), u"AX5E, square pyramidal"_s);
    const auto choices = m_window->findChildren<QRadioButton *>();
    const auto dots = std::find_if(choices.cbegin(), choices.cend(),
        [](const QRadioButton *b) { return b->text() == u"&Dots: every electron"_s; });
    QTest::mouseClick(*dots, Qt::LeftButton);
    // 8 of Xe, 6 of O, 4 × 7 of F.
    QCOMPARE(electrons(m_window->sketch().exportBytes(Format::Svg)), 42);

    QTest::mouseClick(showSteps, Qt::LeftButton);
    QVERIFY(steps->isVisible());
    QVERIFY2(steps->toPlainText().contains(u"Central atom: Xe"_s), qPrintable(steps->toPlainText()));
    // The panel follows the input.
    type(u"CCO"_s);
    QCOMPARE(shape->text(), QString());
    QVERIFY2(steps->toPlainText().contains(u"No one central atom"_s), qPrintable(steps->toPlainText()));
    QTest::mouseClick(showSteps, Qt::LeftButton);
    QVERIFY(!steps->isVisible());

    // Every formula of a course's VSEPR list draws, from the table or worked out.
    auto *copy = m_window->findChild<QPushButton *>(u"copy"_s);
    for (const QString &formula : u"SF4 SF6 BrF5 IF7 XeF2 XeF4 XeO3 XeOF4 KrF2 ClF3 ICl3 ICl4- I3- BrF3 SeF4 PCl5 "
                                  u"PF6- SO2 SO3 SO2Cl2 SOCl2 POCl3 NOCl NO2- NO3- NO2+ NO NO2 ClO2 ClO- ClO3- "
                                  u"BrO4- SO3^2- PO4^3- CO3^2- BF3 BeCl2 AlCl3 SiCl4 CCl4 NF3 OF2 H2Se AsH3"_s.split(u' ')) {
        type(formula);
        QVERIFY2(copy->isEnabled(), qPrintable(formula + u": "_s + message()));
    }
    // A neutral formula that would come out a radical is read as the SMILES
    // it also is: CN is methylamine, not the cyano radical.
    type(u"CN"_s);
    QVERIFY(copy->isEnabled());
    QVERIFY(!m_window->sketch().worked());
    QCOMPARE(electrons(m_window->sketch().exportBytes(Format::Svg)), 14);
}

QTEST_MAIN(TestMoleculeWindow)
#include "tst_moleculewindow.moc"
