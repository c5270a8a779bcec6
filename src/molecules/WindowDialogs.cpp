#include "WindowDialogs.h"

#include "WidgetDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace zembrel {

void WidgetWindowDialogs::critical(const QString &text)
{
    QMessageBox::critical(m_window, QApplication::applicationDisplayName(), text);
}

bool WidgetWindowDialogs::criticalYesNo(const QString &text)
{
    return QMessageBox::critical(m_window, QApplication::applicationDisplayName(), text,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

std::optional<QFont> WidgetWindowDialogs::chooseFont(const QFont &initial)
{
    QFontDialog dialog(m_window);
    // The handshake tool's dialog, pre-set as it is there; its title is in
    // this window's language, as the toolkit's texts are.
    WidgetDialogs::prepareFontDialog(dialog, initial);
    dialog.setWindowTitle(QCoreApplication::translate("zembrel::WindowDialogs", "Font"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

QString WidgetWindowDialogs::saveFileName(
    const QString &suggested, const QStringList &filters, QString &filter)
{
    return QFileDialog::getSaveFileName(m_window,
        QCoreApplication::translate("zembrel::WindowDialogs", "Save the picture"), suggested,
        filters.join(QStringLiteral(";;")), &filter);
}

} // namespace zembrel
