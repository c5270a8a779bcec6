#pragma once

#include "Sheet.h"
#include "Sketch.h"

#include <QWidget>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QCompleter;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QStringListModel;

namespace zembrel {

class PictureView;
class WindowDialogs;

// The molecules window: a name, a formula or a SMILES typed in, its picture
// drawn in the chosen look as one types, and copied or saved for a document.
// It holds the controls and binds them to the sketch; the sketch and the
// renderer do the work.
class MoleculeWindow final : public QWidget
{
    Q_OBJECT

public:
    // `dialogs` answers the font, file and error dialogs (the real ones when none is given).
    explicit MoleculeWindow(
        Sketch::Language language, WindowDialogs *dialogs = nullptr, QWidget *parent = nullptr);
    ~MoleculeWindow() override;

    // Starts with this input, as typed.
    void setInput(const QString &text);

    const Sketch &sketch() const { return m_sketch; }

    // Screen pictures are drawn this many times the page's size when there is room.
    static constexpr int kViewScale = 2;

public Q_SLOTS:
    // Puts the picture on the clipboard; nothing when there is none.
    void copy();
    void saveAs();
    void chooseFont();
    // The picture as it stands onto the practice sheet, at its end.
    void addToSheet();
    void saveSheet();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void bindEvents();
    void redraw();
    void offerCompletions(const QString &text);
    void showFont();
    void showSheet(int current);
    void moveOnSheet(int by);
    // Writes what `make` gives to `path` whole, or says in a box why not.
    void save(const QString &path, const std::function<QByteArray()> &make);
    std::unique_ptr<QMimeData> dragData();

    Sketch m_sketch;
    std::unique_ptr<WindowDialogs> m_ownDialogs;
    WindowDialogs &m_dialogs;
    bool m_drawn = false; // the picture shown is the one a copy gives
    QString m_saveFilter;
    QString m_saveFolder;
    Sheet m_sheet; // nothing is kept between runs unless saved

    QLineEdit *m_input = nullptr;
    QCompleter *m_completer = nullptr;
    QStringListModel *m_completions = nullptr;
    QLabel *m_message = nullptr;
    QScrollArea *m_scroll = nullptr;
    PictureView *m_picture = nullptr;
    QButtonGroup *m_styles = nullptr;
    QListWidget *m_sheetList = nullptr;
    QPushButton *m_addToSheet = nullptr;
    QPushButton *m_sheetUp = nullptr;
    QPushButton *m_sheetDown = nullptr;
    QPushButton *m_sheetRemove = nullptr;
    QPushButton *m_sheetClear = nullptr;
    QPushButton *m_saveSheet = nullptr;
    QCheckBox *m_shells = nullptr;
    QCheckBox *m_resonance = nullptr;
    QComboBox *m_charges = nullptr;
    QDoubleSpinBox *m_radius = nullptr;
    QPushButton *m_font = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_save = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_shape = nullptr;
    QPushButton *m_showSteps = nullptr;
    QPlainTextEdit *m_steps = nullptr;
};

} // namespace zembrel
