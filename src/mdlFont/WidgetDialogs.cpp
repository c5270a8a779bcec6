#include "WidgetDialogs.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace zembrel {

void WidgetDialogs::critical(const QString &text)
{
    QMessageBox box(
        QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, m_window);
    box.exec();
}

bool WidgetDialogs::criticalYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text,
        QMessageBox::Yes | QMessageBox::No, m_window);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QFont> WidgetDialogs::chooseFont(const QFont &initial)
{
    QFontDialog dialog(m_window);
    prepareFontDialog(dialog, initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

void WidgetDialogs::prepareFontDialog(QFontDialog &dialog, const QFont &initial)
{
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle(u"Шрифт"_s);
    // Underline and strike-out are never used; their group is the one that holds check boxes.
    if (const auto *effect = dialog.findChild<QCheckBox *>()) {
        if (auto *effects = qobject_cast<QGroupBox *>(effect->parentWidget()))
            effects->hide();
    }
    // The dialog matches faces and styles by name only: a face that is not
    // installed becomes its generic family, and a regular style called "Book"
    // becomes the first style listed, often an oblique one. Naming the face
    // and style the font resolves to lets "OK" without a change give back
    // the font as it is drawn.
    const QFontInfo resolved(initial);
    QFont shown = initial;
    shown.setFamily(resolved.family());
    shown.setStyleName(resolved.styleName());
    dialog.setCurrentFont(shown);
}

} // namespace zembrel
