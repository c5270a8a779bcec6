#include "WidgetDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// Qt's own texts (the font dialog's labels, its buttons) in Russian whatever the
// locale, since the whole tool speaks Russian. Loaded with the first box or
// dialog: most runs never show one.
void useRussianQtTexts()
{
    static bool tried = false;
    if (tried)
        return;
    tried = true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator))
        delete translator;
}

// A question with exactly two answers. Escape and the close box choose
// neither: "No" ends the whole tool, so a reflex must not give it.
class YesNoBox final : public QMessageBox
{
public:
    YesNoBox(const QString &text, QWidget *parent)
        : QMessageBox(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
            QMessageBox::Yes | QMessageBox::No, parent)
    {
        setWindowFlag(Qt::WindowCloseButtonHint, false);
        setDefaultButton(QMessageBox::Yes);
        button(QMessageBox::Yes)->setText(u"Да"_s);
        button(QMessageBox::No)->setText(u"Нет"_s);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape)
            event->accept();
        else
            QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

void WidgetDialogs::critical(const QString &text)
{
    useRussianQtTexts();
    // A start-up error comes before the window is shown: a box placed over the
    // hidden window would sit in the screen's corner, so it is centred instead.
    QWidget *parent = m_window && m_window->isVisible() ? m_window : nullptr;
    QMessageBox box(
        QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool WidgetDialogs::criticalYesNo(const QString &text)
{
    useRussianQtTexts();
    YesNoBox box(text, m_window);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QFont> WidgetDialogs::chooseFont(const QFont &initial)
{
    useRussianQtTexts();
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
    // Underline and strike-out are never used; their group is the one that holds
    // check boxes. The sample beside it takes whatever height its rows have, so it
    // keeps the room the group leaves, or a large size would show nothing.
    if (const auto *effect = dialog.findChild<QCheckBox *>()) {
        if (auto *effects = qobject_cast<QGroupBox *>(effect->parentWidget())) {
            for (QGroupBox *group : dialog.findChildren<QGroupBox *>()) {
                if (group != effects)
                    group->setMinimumHeight(effects->sizeHint().height());
            }
            effects->hide();
        }
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
