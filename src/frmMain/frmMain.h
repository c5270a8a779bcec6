#pragma once

#include "Exchange.h"
#include "Formula.h"
#include "ImageSurface.h"

#include <QDialog>

#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QScrollBar;

namespace zembrel {

class DotButton;
class FontSelection;
class PictureBox;

// The tool's one window. It holds the controls and binds their events to the
// formula, the exchange and the font selection; it computes nothing itself.
class frmMain final : public QDialog
{
    Q_OBJECT

public:
    // Runs the start-up at once with the path `start` claimed; `dialogs`
    // answers the boxes and the font dialog (the real ones when none is given).
    explicit frmMain(const StartPath &start, Dialogs *dialogs = nullptr, QWidget *parent = nullptr);
    ~frmMain() override;

    // True once the window was closed from code (start-up error, export, cancel).
    bool isFinished() const { return m_finished; }
    ExitStatus exitStatus() const { return m_exitStatus; }
    const Formula &formula() const { return m_formula; }
    const ImageSurface &picture() const { return m_picOut; }

    static constexpr QSize kClientSize{365, 239};

public Q_SLOTS:
    void reject() override; // Escape

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    class DotButtons;
    class RadiusSpin;
    class RadiusLabel;

    void createControls();
    void bindEvents();
    void closeFromCode(ExitStatus status);
    Exchange::QueryUnloadMode closeRequestMode(const QCloseEvent &event) const;

    ImageSurface m_picOut;
    ImageSurface m_picTemp;
    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs &m_dialogs;

    PictureBox *picOut = nullptr;
    std::array<DotButton *, DotSlots::kCount> chbDot{};
    QPushButton *cbExport = nullptr;
    QPushButton *cbFont = nullptr;
    QPushButton *cbCancel = nullptr;
    QLabel *lblRadius = nullptr;
    QScrollBar *vscRadiusUpDown = nullptr;
    QLabel *lblRadiusCaption = nullptr;
    QLabel *Label1 = nullptr;

    std::unique_ptr<DotButtons> m_dotSlots;
    std::unique_ptr<RadiusSpin> m_spin;
    std::unique_ptr<RadiusLabel> m_radiusLabel;
    Formula m_formula;
    Exchange m_exchange;
    std::unique_ptr<FontSelection> m_fontSelection;

    bool m_closingFromCode = false;
    bool m_finished = false;
    ExitStatus m_exitStatus = ExitStatus::Done;
};

} // namespace zembrel
