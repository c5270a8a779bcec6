#include "MoleculeWindow.h"
#include "RenderText.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImageReader>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// The window's icon in every size it was drawn in, each read as the PNG it is.
QIcon windowIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        QImageReader reader(u":/icons/molecules/theme-%1.png"_s.arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"zembrel-molecules"_s);
    QApplication::setApplicationVersion(QStringLiteral(ZEMBREL_VERSION));
    // So that a desktop matches the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZEMBREL_MOLECULES_ID));

    // The language as zembrel-render chooses its messages'.
    const bool russian = zembrel::russianMessages();
    // The window's texts, the chemistry's messages (the renderer's catalogue)
    // and the toolkit's own (the dialogs).
    QTranslator ours, chemistry, toolkit;
    if (russian) {
        if (ours.load(u":/i18n/zembrel-molecules_ru.qm"_s))
            QApplication::installTranslator(&ours);
        if (chemistry.load(u":/i18n/zembrel-render_ru.qm"_s))
            QApplication::installTranslator(&chemistry);
        if (toolkit.load(u"qtbase_ru"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&toolkit);
    }
    QApplication::setApplicationDisplayName(zembrel::MoleculeWindow::tr("Zembrel: molecules and ions"));

    QCommandLineParser parser;
    parser.setApplicationDescription(zembrel::MoleculeWindow::tr(
        "A window that draws the electron-dot pictures of molecules and ions: type a name, a formula or a "
        "SMILES, choose the style, and copy the picture into a document."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(zembrel::MoleculeWindow::tr("input"),
        zembrel::MoleculeWindow::tr("A name, a formula or a SMILES to start with."),
        zembrel::MoleculeWindow::tr("[input]"));
    parser.process(app);

    zembrel::MoleculeWindow window(
        russian ? zembrel::Sketch::Language::Russian : zembrel::Sketch::Language::English);
    window.setWindowIcon(windowIcon());
    if (!parser.positionalArguments().isEmpty())
        window.setInput(parser.positionalArguments().join(u' '));
    window.resize(760, 520);
    window.show();
    return QApplication::exec();
}
