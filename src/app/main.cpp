#include "frmMain.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
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
    return static_cast<int>(window.exitStatus());
}
