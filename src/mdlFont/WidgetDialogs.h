#pragma once

#include "Dialogs.h"

class QFontDialog;
class QWidget;

namespace zembrel {

// The boxes and the font dialog of a window, modal to it and titled with the
// application's name.
class WidgetDialogs final : public Dialogs
{
public:
    explicit WidgetDialogs(QWidget *window) : m_window(window) { }

    void critical(const QString &text) override;
    bool criticalYesNo(const QString &text) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;

    // Sets up a font dialog as chooseFont shows it: Qt's own widgets, no
    // effects, pre-set to the face, style and size that `initial` is drawn with.
    static void prepareFontDialog(QFontDialog &dialog, const QFont &initial);

private:
    QWidget *m_window;
};

} // namespace zembrel
