#pragma once

#include "Dialogs.h"

#include <QString>

class QWidget;

namespace zembrel {

// The modal dialogs of the molecules window, behind an interface so that a
// test can answer them: the font dialog and the boxes of the handshake
// tool's layer, and the file dialog of "Save as".
class WindowDialogs : public Dialogs
{
public:
    // The file to save the picture to, starting at `suggested`; empty when the
    // user cancels. `filters` as QFileDialog takes them; `filter` is the one
    // shown first and gets the one chosen.
    virtual QString saveFileName(const QString &suggested, const QStringList &filters, QString &filter) = 0;
};

// The real dialogs, modal to `window`, in the application's language.
class WidgetWindowDialogs final : public WindowDialogs
{
public:
    explicit WidgetWindowDialogs(QWidget *window) : m_window(window) { }

    void critical(const QString &text) override;
    bool criticalYesNo(const QString &text) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    QString saveFileName(const QString &suggested, const QStringList &filters, QString &filter) override;

private:
    QWidget *m_window;
};

} // namespace zembrel
