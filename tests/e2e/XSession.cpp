#include "XSession.h"

#include <QProcess>
#include <QStandardPaths>

#include <X11/Xlib.h>

bool XSession::available(QString *why)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        *why = QStringLiteral("no X display: Xvfb is not installed");
        return false;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        *why = QStringLiteral("xdotool is not installed");
        return false;
    }
    return true;
}

bool XSession::xdotool(const QStringList &arguments, QString *output, int timeoutMs)
{
    QProcess process;
    // Window titles are Russian: xdotool only matches them in a UTF-8 locale.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        qWarning("xdotool %s: no answer in %d ms", qPrintable(arguments.join(u' ')), timeoutMs);
        return false;
    }
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("xdotool %s: %s", qPrintable(arguments.join(u' ')), process.readAllStandardError().constData());
        return false;
    }
    return true;
}

bool XSession::sendCloseBox(unsigned long window)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return sent != 0;
}
