#include "frmMain.h"

#include "DotButton.h"
#include "FontSelection.h"
#include "PictureBox.h"
#include "WidgetDialogs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace zembrel {

namespace {

// Where each dot-slot button stands: slots on the inner line of a side sit 32 px
// apart along the picture's edge, those of the outer line midway between them.
constexpr std::array<QPoint, DotSlots::kCount> kDotButtonAt{{
    {32, 72}, {32, 104}, {32, 136}, {0, 88}, {0, 120}, // left
    {96, 32}, {128, 32}, {112, 0}, // top
    {192, 72}, {192, 104}, {192, 136}, {224, 88}, {224, 120}, // right
    {96, 176}, {128, 176}, {112, 208}, // bottom
}};
constexpr QSize kDotButtonSize{29, 31};

// Said aloud by a screen reader and shown as a tooltip: where the dot goes,
// and the slot's number as zembrel-render --dots takes it.
const std::array<const char16_t *, DotSlots::kCount> kDotPlace{{
    u"Слева, верхняя из трёх",
    u"Слева, средняя из трёх",
    u"Слева, нижняя из трёх",
    u"Слева, верхняя из двух",
    u"Слева, нижняя из двух",
    u"Сверху, левая из двух",
    u"Сверху, правая из двух",
    u"Сверху, одна посередине",
    u"Справа, верхняя из трёх",
    u"Справа, средняя из трёх",
    u"Справа, нижняя из трёх",
    u"Справа, верхняя из двух",
    u"Справа, нижняя из двух",
    u"Снизу, левая из двух",
    u"Снизу, правая из двух",
    u"Снизу, одна посередине",
}};

// An embedded picture read as the format it is. Left to guess, the reader
// loads every image plugin installed to ask it first, even for a PNG.
QIcon embeddedIcon(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

} // namespace

class frmMain::DotButtons final : public DotSlots
{
public:
    explicit DotButtons(const std::array<DotButton *, kCount> &buttons) : m_buttons(buttons) { }
    short Value(int index) const override { return m_buttons[std::size_t(index)]->isChecked() ? 1 : 0; }
    // The toolkit reports no click for a change made from code.
    void setValue(int index, short value) override { m_buttons[std::size_t(index)]->setChecked(value == 1); }

private:
    const std::array<DotButton *, kCount> &m_buttons;
};

class frmMain::RadiusSpin final : public SpinButton
{
public:
    explicit RadiusSpin(QScrollBar *const &bar) : m_bar(bar) { }
    short Max() const override { return static_cast<short>(m_bar->maximum()); }
    short Value() const override { return static_cast<short>(m_bar->value()); }

private:
    QScrollBar *const &m_bar;
};

class frmMain::RadiusLabel final : public Caption
{
public:
    explicit RadiusLabel(QLabel *const &label) : m_label(label) { }
    void setCaption(const QString &text) override { m_label->setText(text); }

private:
    QLabel *const &m_label;
};

frmMain::frmMain(const StartPath &start, Dialogs *dialogs, QWidget *parent)
    : QDialog(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_picOut(kDrawingArea, startFont(), PictureBox::kBorder), m_picTemp(QSize(57, 49), startFont()),
      m_ownDialogs(dialogs ? nullptr : std::make_unique<WidgetDialogs>(this)),
      m_dialogs(dialogs ? *dialogs : *m_ownDialogs), m_dotSlots(std::make_unique<DotButtons>(chbDot)),
      m_spin(std::make_unique<RadiusSpin>(vscRadiusUpDown)),
      m_radiusLabel(std::make_unique<RadiusLabel>(lblRadius)),
      m_formula(m_picOut, *m_dotSlots, *m_spin, *m_radiusLabel),
      m_exchange(m_formula, m_picOut, m_picTemp, m_dialogs, [this](ExitStatus s) { closeFromCode(s); })
{
    setWindowTitle(QStringLiteral("Зембрель"));
    setWindowIcon(embeddedIcon(QStringLiteral(":/icons/zembrel-32.png"), "png"));
    setFixedSize(kClientSize);
    // The layout is in fixed pixels, so its texts are too: an 11-px sans
    // serif, the dialog size the layout was drawn for, whatever the desktop's.
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);

    createControls();
    m_fontSelection = std::make_unique<FontSelection>(
        m_picOut, m_formula, m_dialogs, this, [this] { m_exchange.cbCancel_Click(); });
    m_exchange.Form_Load(start);
    bindEvents();
    picOut->setFocus();
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    // No control offers a menu of its own: the scroll bar's would be in
    // English, and its "Top" and "Bottom" would jump the radius to an end.
    setContextMenuPolicy(Qt::PreventContextMenu);
    const auto place = [this](QWidget *control, const char *name, QRect geometry) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(geometry);
        control->setContextMenuPolicy(Qt::PreventContextMenu);
        control->installEventFilter(this);
    };

    m_picOut.setForeColor(palette().color(QPalette::ButtonText));
    picOut = new PictureBox(m_picOut, this);
    place(picOut, "picOut", {64, 64, 124, 113});

    const QIcon dot = embeddedIcon(QStringLiteral(":/dot.gif"), "gif");
    for (std::size_t i = 0; i < chbDot.size(); ++i) {
        auto *button = new DotButton(this);
        button->setIcon(dot);
        button->setIconSize(QSize(16, 16));
        button->setFocusPolicy(Qt::StrongFocus);
        const QString where = QStringLiteral("%1 (%2)").arg(QString::fromUtf16(kDotPlace[i])).arg(i);
        button->setAccessibleName(where);
        button->setToolTip(where);
        place(button, QByteArray("chbDot(" + QByteArray::number(qsizetype(i)) + ')').constData(),
            QRect(kDotButtonAt[i], kDotButtonSize));
        chbDot[i] = button;
    }

    cbExport = new QPushButton(QStringLiteral("Копировать"), this);
    place(cbExport, "cbExport", {264, 8, 97, 25});
    cbExport->setDefault(true);
    cbFont = new QPushButton(QStringLiteral("Шрифт"), this);
    place(cbFont, "cbFont", {272, 80, 81, 25});
    cbCancel = new QPushButton(QStringLiteral("Отмена"), this);
    place(cbCancel, "cbCancel", {264, 40, 97, 25});

    lblRadius = new QLabel(this);
    place(lblRadius, "lblRadius", {312, 112, 25, 17});
    lblRadius->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblRadius->setLineWidth(1);
    QPalette white = lblRadius->palette();
    white.setColor(QPalette::Window, Qt::white);
    lblRadius->setPalette(white);
    lblRadius->setAutoFillBackground(true);

    vscRadiusUpDown = new QScrollBar(Qt::Vertical, this);
    place(vscRadiusUpDown, "vscRadiusUpDown", {336, 112, 17, 17});
    vscRadiusUpDown->setRange(1, 20);
    vscRadiusUpDown->setValue(17);
    vscRadiusUpDown->setSingleStep(1);
    vscRadiusUpDown->setPageStep(1);
    vscRadiusUpDown->setFocusPolicy(Qt::StrongFocus);
    vscRadiusUpDown->setAccessibleName(QStringLiteral("Радиус точек"));

    lblRadiusCaption = new QLabel(QStringLiteral("Радиус:"), this);
    place(lblRadiusCaption, "lblRadiusCaption", {272, 112, 41, 17});

    Label1 = new QLabel(QStringLiteral("С клавиатуры введите химический знак элемента и нажмите на те точки, "
                                       "которые Вы хотите увидеть."),
        this);
    place(Label1, "Label1", {264, 136, 97, 105});
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QWidget *previous = picOut;
    const auto chain = [&previous](QWidget *next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (std::size_t i = 0; i < 8; ++i)
        chain(chbDot[i]);
    chain(cbExport);
    for (std::size_t i = 8; i < chbDot.size(); ++i)
        chain(chbDot[i]);
    chain(cbFont);
    chain(cbCancel);
    chain(vscRadiusUpDown);
}

void frmMain::bindEvents()
{
    for (std::size_t i = 0; i < chbDot.size(); ++i) {
        connect(chbDot[i], &DotButton::clicked, this,
            [this, i] { m_exchange.guarded([&] { m_formula.chbDot_Click(short(i)); }); });
    }
    connect(cbExport, &QPushButton::clicked, this,
        [this] { m_exchange.guarded([&] { m_exchange.cbExport_Click(); }); });
    connect(cbCancel, &QPushButton::clicked, this,
        [this] { m_exchange.guarded([&] { m_exchange.cbCancel_Click(); }); });
    connect(cbFont, &QPushButton::clicked, this,
        [this] { m_exchange.guarded([&] { m_fontSelection->cbFont_Click(); }); });
    connect(vscRadiusUpDown, &QScrollBar::valueChanged, this,
        [this] { m_exchange.guarded([&] { m_formula.vscRadiusUpDown_Change(); }); });
}

// Every key reaches the formula first, whichever control has the focus, and
// then goes on to that control.
bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && !m_finished) {
        const auto *key = static_cast<QKeyEvent *>(event);
        m_exchange.guarded([&] { m_formula.keyStroke(key->key(), key->modifiers(), key->text()); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmMain::reject()
{
    m_exchange.guarded([&] { m_exchange.cbCancel_Click(); });
}

void frmMain::closeFromCode(ExitStatus status)
{
    m_exitStatus = status;
    m_closingFromCode = true;
    m_finished = true;
    close();
}

// The user's close (close box, Alt+F4, the system menu) comes from the window
// system and is spontaneous. The session's end closes the window from inside
// the application instead: the platform's quit (logout, shutdown) closes
// every window from code, and a session manager's save may close it while the
// session is being saved. Neither is the user cancelling.
Exchange::QueryUnloadMode frmMain::closeRequestMode(const QCloseEvent &event) const
{
    if (m_closingFromCode)
        return Exchange::vbFormCode;
    if (!event.spontaneous() || qGuiApp->isSavingSession())
        return Exchange::vbAppWindows;
    return Exchange::vbFormControlMenu;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    bool Cancel = false;
    m_exchange.Form_QueryUnload(Cancel, closeRequestMode(*event));
    event->setAccepted(!Cancel);
    if (!Cancel) {
        m_finished = true;
        QCoreApplication::exit(static_cast<int>(m_exitStatus));
    }
}

} // namespace zembrel
