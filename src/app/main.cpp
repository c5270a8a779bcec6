#include "HandshakeFile.h"
#include "WindowStart.h"
#include "frmMain.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char *kHelp
    = "Использование: zembrel ПУТЬ\n"
      "\n"
      "Окно, в котором составляют электронно-точечную формулу химического элемента.\n"
      "Программу запускает другая программа и узнаёт ответ по файлу ПУТЬ:\n"
      "  при запуске файл удаляется;\n"
      "  «Копировать» (Enter) записывает туда картинку BMP целиком;\n"
      "  «Отмена» (Escape) или закрытие окна оставляют там пустой файл.\n"
      "\n"
      "Код выхода: 0 картинка записана или отмена; 1 путь не задан, не годится\n"
      "или окно не открыть (файла от прошлого раза там уже нет); 2 картинку\n"
      "записать не удалось.\n"
      "\n"
      "Путь в двойных кавычках — путь внутри них. Картинки без окна: zembrel-render --help.\n";

// Only the word alone asks for text: the caller's one argument is a path.
bool answered(int argc, char *argv[])
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--help") == 0)
        std::fputs(kHelp, stdout);
    else if (std::strcmp(argv[1], "--version") == 0)
        std::fputs("zembrel " ZEMBREL_VERSION "\n", stdout);
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answered(argc, argv))
        return std::fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;

    // The path arrives as the caller's bytes; the window decides what they mean.
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    // Before anything that needs the display: a start that cannot show the
    // window must not leave an earlier picture at the path.
    const zembrel::StartPath start = zembrel::claimHandshakePath(arguments);

    // The one argument is the caller's path, whatever it looks like: the toolkit
    // must not take a path such as "-reverse" for one of its own options.
    int toolkitArgc = 1;
    zembrel::WindowStart windowStart(QStringLiteral("zembrel"));
    QApplication app(toolkitArgc, argv);
    windowStart.started();
    QApplication::setApplicationDisplayName(QStringLiteral("Зембрель"));
    // So that a desktop matches the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZEMBREL_APP_ID));
    QLocale::setDefault(QLocale::system());

    zembrel::frmMain window(start);
    if (!window.isFinished()) {
        window.show();
        QApplication::exec();
    }
    const int status = static_cast<int>(window.exitStatus());
#ifndef __SANITIZE_ADDRESS__
    // The outcome is in the handshake file and the window is closed, and the caller is waiting for the
    // exit: taking the toolkit apart (the X connection, fonts, plugins, threads) would only keep it
    // waiting. The leak checker needs that teardown, so a sanitized build still does it.
    std::fflush(nullptr);
    std::_Exit(status);
#endif
    return status;
}
