#include "MoleculeWindow.h"

#include "Chemistry.h"
#include "Folding.h"
#include "ImageSurface.h"
#include "PictureView.h"
#include "RuntimeError.h"
#include "Species.h"
#include "WholeFile.h"
#include "WindowDialogs.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcutEvent>
#include <QStandardPaths>
#include <QStringListModel>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

struct StyleChoice
{
    MarkStyle style;
    const char *text;
};

// The styles offered, in the order shown; a new style is a new row.
constexpr std::array kStyles{
    StyleChoice{MarkStyle::Lewis, QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "&Lewis: bonds as lines")},
    StyleChoice{MarkStyle::Dots, QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "&Dots: every electron")},
    StyleChoice{MarkStyle::Bars, QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "&Bars: lone pairs as bars")},
    StyleChoice{MarkStyle::DotCross,
        QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "Dot and cr&oss: each atom its own mark")},
    StyleChoice{MarkStyle::Shape, QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "Shape: wedges, angle and na&me")},
};

struct ChargesChoice
{
    FormalCharges charges;
    const char *text;
};

constexpr std::array kCharges{
    ChargesChoice{FormalCharges::Auto, QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "Where they say more")},
    ChargesChoice{FormalCharges::All, QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "Every atom's")},
    ChargesChoice{FormalCharges::None, QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "An ion's charge only")},
};

// Shells are drawn around electrons shown one by one.
bool takesShells(MarkStyle style)
{
    return style == MarkStyle::Dots || style == MarkStyle::DotCross;
}

struct SaveFormat
{
    Format format;
    const char *suffix;
    const char *filter;
};

constexpr std::array kSaveFormats{
    SaveFormat{
        Format::Png, "png", QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "PNG picture, 288 dpi (*.png)")},
    SaveFormat{Format::Svg, "svg", QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "SVG drawing (*.svg)")},
    SaveFormat{
        Format::Bmp, "bmp", QT_TRANSLATE_NOOP("zembrel::MoleculeWindow", "BMP picture, 288 dpi (*.bmp)")},
};

// A choice taken by its mnemonic at once: the toolkit's button waits a
// moment to show itself pressed, and a Ctrl+C typed in that moment would
// copy the picture as it was before.
template <class Button> class AtOnce final : public Button
{
public:
    using Button::Button;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut || static_cast<QShortcutEvent *>(event)->isAmbiguous())
            return Button::event(event);
        this->setFocus(Qt::ShortcutFocusReason);
        this->click();
        return true;
    }
};
using StyleButton = AtOnce<QRadioButton>;
using ChoiceBox = AtOnce<QCheckBox>;

constexpr float kRadiusStep = 0.5F;
constexpr char16_t kProblemColour[] = u"#b3261e";

// Why a file could not be written, in words.
QString fileReason(const FileError &e)
{
    if (e.notAFileMode)
        return MoleculeWindow::tr("something other than a file is there");
    switch (e.code) {
    case ENOENT:
    case ENOTDIR: return MoleculeWindow::tr("there is no such folder");
    case EACCES:
    case EPERM: return MoleculeWindow::tr("permission denied");
    case EROFS: return MoleculeWindow::tr("the disk is read-only");
    case ENOSPC:
    case EDQUOT: return MoleculeWindow::tr("the disk is full");
    default: return QString::fromLocal8Bit(std::strerror(e.code));
    }
}

} // namespace

MoleculeWindow::MoleculeWindow(Sketch::Language language, WindowDialogs *dialogs, QWidget *parent)
    : QWidget(parent), m_sketch(SpeciesTable::builtIn(), language),
      m_ownDialogs(dialogs ? nullptr : std::make_unique<WidgetWindowDialogs>(this)),
      m_dialogs(dialogs ? *dialogs : *m_ownDialogs), m_saveFilter(tr(kSaveFormats.front().filter))
{
    setWindowTitle(QApplication::applicationDisplayName());
    createControls();
    bindEvents();
    showFont();
    redraw();
    m_input->setFocus();
}

MoleculeWindow::~MoleculeWindow()
{
    // The controls go after the sketch: the focus leaving them as they go
    // must not reach it.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
    qApp->disconnect(this);
}

void MoleculeWindow::createControls()
{
    auto *inputLabel = new QLabel(tr("&Name, formula or SMILES:"), this);
    m_input = new QLineEdit(this);
    m_input->setObjectName(u"input"_s);
    m_input->setPlaceholderText(tr("water, ammonia, nitrate ion, H2O, NH4+, CO3 2-, CCO …"));
    m_input->setAccessibleName(tr("Name, formula or SMILES"));
    m_input->setClearButtonEnabled(true);
    inputLabel->setBuddy(m_input);
    m_completions = new QStringListModel(this);
    m_completer = new QCompleter(m_completions, this);
    m_completer->setWidget(m_input);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);

    m_message = new QLabel(this);
    m_message->setObjectName(u"message"_s);
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::RichText);
    m_message->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::TextSelectableByMouse);
    m_message->setAccessibleName(tr("Message"));
    // Two lines kept free, so that a message does not move the picture.
    m_message->setMinimumHeight(2 * m_message->fontMetrics().lineSpacing());
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_picture = new PictureView;
    m_picture->setObjectName(u"picture"_s);
    m_picture->setAccessibleName(tr("Picture"));
    m_picture->setDragData([this] { return dragData(); });
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"pictureArea"_s);
    m_scroll->setWidget(m_picture);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAccessibleName(tr("Picture"));
    m_scroll->setMinimumSize(320, 240);

    auto *styleBox = new QGroupBox(tr("Style"), this);
    auto *styleLayout = new QVBoxLayout(styleBox);
    m_styles = new QButtonGroup(this);
    for (const auto &[style, text] : kStyles) {
        auto *choice = new StyleButton(tr(text), styleBox);
        choice->setAccessibleName(tr(text).remove(u'&'));
        m_styles->addButton(choice, int(style));
        styleLayout->addWidget(choice);
    }
    m_styles->button(int(MarkStyle::Lewis))->setChecked(true);
    m_shells = new ChoiceBox(tr("Outer s&hells"), styleBox);
    m_shells->setObjectName(u"shells"_s);
    m_shells->setAccessibleName(tr("Outer shells"));
    m_shells->setToolTip(tr("Each atom's outer shell as a circle, for dots and dot and cross"));
    m_shells->setEnabled(false);
    styleLayout->addWidget(m_shells);
    m_resonance = new ChoiceBox(tr("R&esonance forms"), styleBox);
    m_resonance->setObjectName(u"resonance"_s);
    m_resonance->setAccessibleName(tr("Resonance forms"));
    m_resonance->setToolTip(tr("Every resonance form side by side, joined by ↔, each with its formal charges"));
    styleLayout->addWidget(m_resonance);

    auto *chargesLabel = new QLabel(tr("Formal char&ges:"), this);
    m_charges = new QComboBox(this);
    m_charges->setObjectName(u"charges"_s);
    m_charges->setAccessibleName(tr("Formal charges"));
    m_charges->setToolTip(tr("In a neutral molecule every formal charge is drawn; in an ion, where they say "
                             "more than its charge (nitrate, not ammonium)"));
    for (const auto &[charges, text] : kCharges)
        m_charges->addItem(tr(text), int(charges));
    chargesLabel->setBuddy(m_charges);

    auto *radiusLabel = new QLabel(tr("Dot &radius:"), this);
    m_radius = new QDoubleSpinBox(this);
    m_radius->setObjectName(u"radius"_s);
    m_radius->setRange(kMinRadius, kMaxRadius);
    m_radius->setSingleStep(kRadiusStep);
    m_radius->setDecimals(1);
    m_radius->setValue(kDefaultRadius);
    m_radius->setAccessibleName(tr("Dot radius"));
    radiusLabel->setBuddy(m_radius);

    auto *fontLabel = new QLabel(tr("&Font:"), this);
    m_font = new QPushButton(this);
    m_font->setObjectName(u"font"_s);
    m_font->setAccessibleName(tr("Font"));
    m_font->setAutoDefault(true);
    fontLabel->setBuddy(m_font);

    m_copy = new QPushButton(tr("&Copy"), this);
    m_copy->setObjectName(u"copy"_s);
    m_copy->setAccessibleName(tr("Copy the picture"));
    m_copy->setToolTip(tr("The picture to the clipboard as PNG at 288 dpi and as SVG (Ctrl+C or Enter)"));
    m_copy->setAutoDefault(true);
    m_save = new QPushButton(tr("&Save as…"), this);
    m_save->setObjectName(u"save"_s);
    m_save->setAccessibleName(tr("Save the picture as a file"));
    m_save->setToolTip(tr("PNG or BMP at 288 dpi, or SVG (Ctrl+S)"));
    m_save->setAutoDefault(true);

    // Under the picture: the AXE notation and shape, and the steps that
    // work the structure out, in a panel a button opens.
    m_shape = new QLabel(this);
    m_shape->setObjectName(u"shape"_s);
    m_shape->setAccessibleName(tr("Shape"));
    m_shape->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_showSteps = new QPushButton(tr("Ste&ps"), this);
    m_showSteps->setObjectName(u"showSteps"_s);
    m_showSteps->setCheckable(true);
    m_showSteps->setAccessibleName(tr("Show the steps"));
    m_showSteps->setToolTip(tr("How the Lewis structure is worked out: electrons, bonds, charges, shape"));
    m_steps = new QPlainTextEdit(this);
    m_steps->setObjectName(u"steps"_s);
    m_steps->setReadOnly(true);
    m_steps->setAccessibleName(tr("Steps"));
    m_steps->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_steps->setMaximumHeight(11 * m_steps->fontMetrics().lineSpacing());
    m_steps->hide();

    m_status = new QLabel(this);
    m_status->setObjectName(u"status"_s);
    m_status->setAccessibleName(tr("Status"));

    auto *sheetBox = new QGroupBox(tr("Practice sheet"), this);
    auto *sheetLayout = new QGridLayout(sheetBox);
    m_sheetList = new QListWidget(sheetBox);
    m_sheetList->setObjectName(u"sheet"_s);
    m_sheetList->setAccessibleName(tr("Pictures on the sheet"));
    m_sheetList->setMaximumHeight(5 * m_sheetList->fontMetrics().lineSpacing());
    const auto sheetButton = [sheetBox](const QString &text, const QString &name, const QString &tip) {
        auto *button = new QPushButton(text, sheetBox);
        button->setObjectName(name);
        button->setAccessibleName(QString(text).remove(u'&').remove(u'…'));
        button->setToolTip(tip);
        return button;
    };
    m_addToSheet = sheetButton(tr("&Add to sheet"), u"addToSheet"_s, tr("The picture as it stands, at the sheet's end"));
    m_sheetUp = sheetButton(tr("Move &up"), u"sheetUp"_s, tr("The chosen picture one place earlier"));
    m_sheetDown = sheetButton(tr("Move do&wn"), u"sheetDown"_s, tr("The chosen picture one place later"));
    m_sheetRemove = sheetButton(tr("Remo&ve"), u"sheetRemove"_s, tr("The chosen picture off the sheet"));
    m_sheetClear = sheetButton(tr("Clear"), u"sheetClear"_s, tr("Every picture off the sheet"));
    m_saveSheet = sheetButton(tr("Save shee&t…"), u"saveSheet"_s,
        tr("The sheet as a PDF: twelve pictures a page, numbered, with their names"));
    sheetLayout->addWidget(m_sheetList, 0, 0, 1, 3);
    sheetLayout->addWidget(m_addToSheet, 1, 0, 1, 2);
    sheetLayout->addWidget(m_saveSheet, 1, 2);
    sheetLayout->addWidget(m_sheetUp, 2, 0);
    sheetLayout->addWidget(m_sheetDown, 2, 1);
    sheetLayout->addWidget(m_sheetRemove, 2, 2);
    sheetLayout->addWidget(m_sheetClear, 3, 2);

    auto *settings = new QFormLayout;
    settings->addRow(chargesLabel, m_charges);
    settings->addRow(radiusLabel, m_radius);
    settings->addRow(fontLabel, m_font);
    auto *side = new QVBoxLayout;
    side->addWidget(styleBox);
    side->addLayout(settings);
    side->addWidget(sheetBox);
    side->addStretch();
    side->addWidget(m_copy);
    side->addWidget(m_save);

    auto *layout = new QGridLayout(this);
    layout->addWidget(inputLabel, 0, 0);
    layout->addWidget(m_input, 1, 0);
    layout->addWidget(m_message, 2, 0);
    layout->addWidget(m_scroll, 3, 0);
    auto *under = new QHBoxLayout;
    under->addWidget(m_shape, 1);
    under->addWidget(m_showSteps);
    layout->addLayout(under, 4, 0);
    layout->addWidget(m_steps, 5, 0);
    layout->addLayout(side, 0, 1, 6, 1);
    layout->addWidget(m_status, 6, 0, 1, 2);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);

    // Reading order: the input and what it gives, then the settings beside it.
    QWidget *previous = m_input;
    const auto chain = [&previous](QWidget *next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    chain(m_scroll);
    chain(m_showSteps);
    chain(m_steps);
    for (QAbstractButton *choice : m_styles->buttons())
        chain(choice);
    chain(m_shells);
    chain(m_resonance);
    chain(m_charges);
    chain(m_radius);
    chain(m_font);
    chain(m_copy);
    chain(m_save);
    chain(m_sheetList);
    chain(m_addToSheet);
    chain(m_saveSheet);
    chain(m_sheetUp);
    chain(m_sheetDown);
    chain(m_sheetRemove);
    chain(m_sheetClear);

    const auto shortcut = [this](QKeySequence::StandardKey keys, void (MoleculeWindow::*slot)()) {
        auto *action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    shortcut(QKeySequence::Copy, &MoleculeWindow::copy);
    shortcut(QKeySequence::Save, &MoleculeWindow::saveAs);
    auto *quit = new QAction(this);
    quit->setShortcuts(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);

    m_input->installEventFilter(this);
    m_radius->installEventFilter(this);
}

void MoleculeWindow::bindEvents()
{
    connect(m_input, &QLineEdit::textChanged, this, &MoleculeWindow::redraw);
    connect(m_input, &QLineEdit::textEdited, this, &MoleculeWindow::offerCompletions);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), m_input, &QLineEdit::setText);
    // A mnemonic or a click elsewhere leaves the list of names open over the
    // window, taking the keys meant for the control now focused.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && now != m_input && now != m_completer->popup())
            m_completer->popup()->hide();
    });
    connect(m_message, &QLabel::linkActivated, this, [this](const QString &link) {
        // A copy: the new text is read at once, and that replaces the suggestions.
        const QStringList names = m_sketch.suggestions();
        const qsizetype index = link.toLongLong();
        if (index >= 0 && index < names.size()) {
            m_input->setText(names.at(index));
            m_input->setFocus();
        }
    });
    connect(m_styles, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        m_sketch.setStyle(MarkStyle(id));
        m_shells->setEnabled(takesShells(MarkStyle(id)));
        // A shape is drawn once, and shows an ion's charge alone.
        m_resonance->setEnabled(MarkStyle(id) != MarkStyle::Shape);
        m_charges->setEnabled(MarkStyle(id) != MarkStyle::Shape);
        m_sketch.setShells(m_shells->isEnabled() && m_shells->isChecked());
        redraw();
    });
    connect(m_shells, &QCheckBox::toggled, this, [this](bool on) {
        m_sketch.setShells(on && m_shells->isEnabled());
        redraw();
    });
    connect(m_resonance, &QCheckBox::toggled, this, [this](bool on) {
        m_sketch.setResonance(on);
        redraw();
    });
    connect(m_charges, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_sketch.setCharges(FormalCharges(m_charges->itemData(index).toInt()));
        redraw();
    });
    connect(m_radius, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        // Typed values keep to the steps the arrows take.
        m_sketch.setRadius(std::round(float(value) / kRadiusStep) * kRadiusStep);
        redraw();
    });
    connect(m_radius, &QDoubleSpinBox::editingFinished, this,
        [this] { m_radius->setValue(double(m_sketch.picture().radius)); });
    connect(m_showSteps, &QPushButton::toggled, this, [this](bool on) {
        m_steps->setVisible(on);
        m_steps->setPlainText(on ? m_sketch.explanation() : QString());
    });
    connect(m_font, &QPushButton::clicked, this, &MoleculeWindow::chooseFont);
    connect(m_copy, &QPushButton::clicked, this, &MoleculeWindow::copy);
    connect(m_save, &QPushButton::clicked, this, &MoleculeWindow::saveAs);
    connect(m_addToSheet, &QPushButton::clicked, this, &MoleculeWindow::addToSheet);
    connect(m_saveSheet, &QPushButton::clicked, this, &MoleculeWindow::saveSheet);
    connect(m_sheetUp, &QPushButton::clicked, this, [this] { moveOnSheet(-1); });
    connect(m_sheetDown, &QPushButton::clicked, this, [this] { moveOnSheet(1); });
    connect(m_sheetRemove, &QPushButton::clicked, this, [this] {
        const int row = m_sheetList->currentRow();
        if (row < 0)
            return;
        m_sheet.pictures.removeAt(row);
        showSheet(std::min(row, int(m_sheet.pictures.size()) - 1));
    });
    connect(m_sheetClear, &QPushButton::clicked, this, [this] {
        m_sheet.pictures.clear();
        showSheet(-1);
    });
    connect(m_sheetList, &QListWidget::currentRowChanged, this, [this](int row) {
        m_sheetUp->setEnabled(row > 0);
        m_sheetDown->setEnabled(row >= 0 && row + 1 < m_sheet.pictures.size());
        m_sheetRemove->setEnabled(row >= 0);
    });
    showSheet(-1);
}

void MoleculeWindow::showSheet(int current)
{
    m_sheetList->clear();
    for (qsizetype k = 0; k < m_sheet.pictures.size(); ++k)
        m_sheetList->addItem(tr("%1. %2").arg(k + 1).arg(m_sheet.pictures[k].caption));
    m_sheetList->setCurrentRow(current);
    m_sheetUp->setEnabled(current > 0);
    m_sheetDown->setEnabled(current >= 0 && current + 1 < m_sheet.pictures.size());
    m_sheetRemove->setEnabled(current >= 0);
    m_sheetClear->setEnabled(!m_sheet.pictures.isEmpty());
    m_saveSheet->setEnabled(!m_sheet.pictures.isEmpty());
}

void MoleculeWindow::moveOnSheet(int by)
{
    const int row = m_sheetList->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= m_sheet.pictures.size())
        return;
    m_sheet.pictures.move(row, to);
    showSheet(to);
    m_sheetList->setFocus();
}

void MoleculeWindow::addToSheet()
{
    if (!m_drawn) {
        m_status->setText(tr("Nothing to add: the input gives no picture."));
        return;
    }
    m_sheet.pictures << m_sketch.sheetEntry();
    showSheet(int(m_sheet.pictures.size()) - 1);
    m_status->setText(tr("On the sheet: %1").arg(m_sheet.pictures.back().caption));
}

void MoleculeWindow::saveSheet()
{
    if (m_sheet.pictures.isEmpty())
        return;
    if (m_saveFolder.isEmpty()) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        m_saveFolder = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    }
    QString filter = tr("PDF document (*.pdf)");
    QString path = m_dialogs.saveFileName(
        QDir(m_saveFolder).filePath(tr("sheet") + u".pdf"_s), {filter}, filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().toLower() != u"pdf"_s)
        path += u".pdf"_s;
    m_saveFolder = QFileInfo(path).absolutePath();
    save(path, [this] { return sheetDocuments(m_sheet, SheetFormat::Pdf).front(); });
}

void MoleculeWindow::save(const QString &path, const std::function<QByteArray()> &make)
{
    QByteArray bytes;
    try {
        bytes = make();
    } catch (const ChemistryError &e) {
        m_dialogs.critical(tr("Cannot save “%1”: %2").arg(QDir::toNativeSeparators(path), e.message));
        return;
    } catch (const RuntimeError &e) {
        m_dialogs.critical(tr("Cannot save “%1”: %2").arg(QDir::toNativeSeparators(path), e.description()));
        return;
    }
    try {
        writeWholeFile(path, [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); });
    } catch (const FileError &e) {
        m_dialogs.critical(tr("Cannot save “%1”: %2").arg(QDir::toNativeSeparators(path), fileReason(e)));
        return;
    }
    m_status->setText(tr("Saved: %1").arg(QDir::toNativeSeparators(path)));
}

void MoleculeWindow::setInput(const QString &text)
{
    m_input->setText(text);
}

void MoleculeWindow::redraw()
{
    m_sketch.setInput(m_input->text());
    const int screen
        = std::clamp(int(std::ceil(devicePixelRatioF())), 1, ImageSurface::kMaxScale / kViewScale);
    // The picture at its size on a page, and larger when there is room for
    // that: a large molecule is never drawn larger only to be shown smaller.
    Sketch::View view = m_sketch.view(screen);
    if (!view.image.isNull()) {
        const QSize room = m_scroll->viewport()->size() * screen;
        if (view.image.width() * kViewScale <= room.width()
            && view.image.height() * kViewScale <= room.height())
            view = m_sketch.view(kViewScale * screen);
    }
    view.image.setDevicePixelRatio(screen);
    m_drawn = !view.image.isNull();
    m_picture->setImage(view.image);
    m_copy->setEnabled(m_drawn);
    m_save->setEnabled(m_drawn);
    m_addToSheet->setEnabled(m_drawn);
    m_status->clear();
    m_shape->setText(m_drawn ? m_sketch.shape() : QString());
    m_showSteps->setEnabled(m_drawn);
    if (m_steps->isVisible())
        m_steps->setPlainText(m_drawn ? m_sketch.explanation() : QString());

    if (view.problem.isEmpty()) {
        m_message->setText(m_sketch.caption().toHtmlEscaped());
    } else {
        QString text = u"<span style=\"color:%1\">%2</span>"_s.arg(
            QString::fromUtf16(kProblemColour), view.problem.toHtmlEscaped());
        const QStringList &names = m_sketch.suggestions();
        if (!names.isEmpty()) {
            QStringList links;
            for (qsizetype i = 0; i < names.size(); ++i)
                links << u"<a href=\"%1\">%2</a>"_s.arg(i).arg(names.at(i).toHtmlEscaped());
            text += u' ' + tr("Did you mean %1?").arg(links.join(tr(", ")));
        }
        m_message->setText(text);
    }
    m_message->setAccessibleDescription(QTextDocumentFragment::fromHtml(m_message->text()).toPlainText());
}

void MoleculeWindow::offerCompletions(const QString &text)
{
    const QStringList offered = SpeciesTable::builtIn().completions(text);
    m_completions->setStringList(offered);
    // Nothing to offer past what is typed already.
    if (offered.isEmpty() || (offered.size() == 1 && foldName(offered.first()) == foldName(text)))
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

void MoleculeWindow::showFont()
{
    const SurfaceFont &font = m_sketch.picture().font;
    QString text = tr("%1, %2 pt").arg(font.Name, locale().toString(font.Size));
    if (font.Weight >= QFont::DemiBold)
        text += tr(", bold");
    if (font.Italic)
        text += tr(", italic");
    m_font->setText(text + u'…');
}

void MoleculeWindow::chooseFont()
{
    const SurfaceFont current = m_sketch.picture().font;
    QFont initial(current.Name);
    initial.setPointSizeF(current.Size);
    initial.setWeight(QFont::Weight(current.Weight));
    initial.setItalic(current.Italic);
    const std::optional<QFont> chosen = m_dialogs.chooseFont(initial);
    if (!chosen)
        return;
    SurfaceFont font = current;
    font.Name = chosen->family();
    if (chosen->pointSizeF() > 0)
        font.Size = chosen->pointSizeF();
    font.Weight = short(chosen->weight());
    font.Italic = chosen->italic();
    m_sketch.setFont(font);
    showFont();
    redraw();
}

void MoleculeWindow::copy()
{
    if (!m_drawn) {
        m_status->setText(tr("Nothing to copy: the input gives no picture."));
        return;
    }
    try {
        QApplication::clipboard()->setMimeData(m_sketch.mimeData().release());
        m_status->setText(tr("Copied: PNG at 288 dpi and SVG."));
    } catch (const ChemistryError &e) {
        m_status->setText(tr("Cannot copy: %1").arg(e.message));
    } catch (const RuntimeError &e) {
        m_status->setText(tr("Cannot copy: %1").arg(e.description()));
    } catch (const std::bad_alloc &) {
        m_status->setText(tr("Cannot copy: there is not enough memory for the picture."));
    }
}

void MoleculeWindow::saveAs()
{
    if (!m_drawn)
        return;
    QStringList filters;
    const SaveFormat *chosen = &kSaveFormats.front();
    for (const SaveFormat &format : kSaveFormats) {
        filters << tr(format.filter);
        if (filters.back() == m_saveFilter)
            chosen = &format;
    }
    if (m_saveFolder.isEmpty()) {
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        m_saveFolder = QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    }
    QString path = m_dialogs.saveFileName(
        QDir(m_saveFolder).filePath(m_sketch.suggestedName() + u'.' + QString::fromLatin1(chosen->suffix)),
        filters, m_saveFilter);
    if (path.isEmpty())
        return;
    for (const SaveFormat &format : kSaveFormats) {
        if (tr(format.filter) == m_saveFilter)
            chosen = &format;
    }
    // The name's extension says the format; a name without one of ours gets the chosen filter's.
    const QString suffix = QFileInfo(path).suffix().toLower();
    const auto named = std::find_if(kSaveFormats.cbegin(), kSaveFormats.cend(),
        [&suffix](const SaveFormat &format) { return suffix == QLatin1StringView(format.suffix); });
    if (named != kSaveFormats.cend())
        chosen = &*named;
    else
        path += u'.' + QString::fromLatin1(chosen->suffix);
    m_saveFolder = QFileInfo(path).absolutePath();
    const Format format = chosen->format;
    save(path, [this, format] { return m_sketch.exportBytes(format); });
}

std::unique_ptr<QMimeData> MoleculeWindow::dragData()
{
    if (!m_drawn)
        return nullptr;
    auto png = std::make_unique<QMimeData>();
    try {
        png->setData(u"image/png"_s, m_sketch.exportBytes(Format::Png));
    } catch (const ChemistryError &) {
        return nullptr;
    } catch (const RuntimeError &) {
        return nullptr;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    return png;
}

bool MoleculeWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+C copies the picture, unless text is selected in the input: the
    // fields would otherwise take it for their own copy command. The key
    // itself copies too, for when the shortcut is not matched: a window the
    // window manager has not made active yet, the list of names open.
    const bool copyKey = (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)
        && !(watched == m_input && m_input->hasSelectedText());
    if (copyKey && event->type() == QEvent::ShortcutOverride) {
        event->ignore();
        return true;
    }
    if (copyKey) {
        copy();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MoleculeWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter wherever the focus is copies, as a dialog's default button would;
    // a focused button takes it first.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        copy();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MoleculeWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_sketch.picture().molecule)
        redraw();
}

} // namespace zembrel
