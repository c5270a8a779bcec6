#include "frmMain.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    // The one argument is the caller's path, whatever it looks like: the toolkit
    // must not take a path such as "-reverse" for one of its own options.
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Зембрель"));
    QLocale::setDefault(QLocale::system());

    // The path arrives as the caller's bytes; the window decides what they mean.
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);

    zembrel::frmMain window(arguments);
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
