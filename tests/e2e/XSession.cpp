#include "XSession.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <X11/Xatom.h>
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
        qWarning(
            "xdotool %s: %s", qPrintable(arguments.join(u' ')), process.readAllStandardError().constData());
        return false;
    }
    return true;
}

bool XSession::bindKeys(const QList<std::pair<const char *, const char *>> &pairs)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    int first = 0, last = 0, perKey = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym *map = XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &perKey);
    bool bound = true;
    int code = last;
    for (const auto &[small, capital] : pairs) {
        const KeySym wanted[2] = {XStringToKeysym(small), XStringToKeysym(capital)};
        if (XKeysymToKeycode(display, wanted[0]) != 0)
            continue;
        // A key with no symbols at all is free.
        const auto isFree = [&](int c) {
            for (int i = 0; i < perKey; ++i)
                if (map[(c - first) * perKey + i] != NoSymbol)
                    return false;
            return true;
        };
        while (code >= first && !isFree(code))
            --code;
        if (code < first || wanted[0] == NoSymbol || wanted[1] == NoSymbol) {
            bound = false;
            break;
        }
        KeySym syms[2] = {wanted[0], wanted[1]};
        XChangeKeyboardMapping(display, code, 2, syms, 1);
        --code;
    }
    XFree(map);
    XSync(display, False);
    XCloseDisplay(display);
    return bound;
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

namespace {

// A window may vanish between two requests; that is no reason to end the test.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

QByteArray property(Display *display, Window window, Atom name, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char *data = nullptr;
    QByteArray value;
    if (XGetWindowProperty(
            display, window, name, 0, 1024, False, type, &actualType, &format, &count, &remaining, &data)
            == Success
        && data) {
        // Xlib hands 32-bit items out as longs.
        const qsizetype itemSize = format == 32 ? qsizetype(sizeof(long)) : format / 8;
        value = QByteArray(reinterpret_cast<const char *>(data), qsizetype(count) * itemSize);
        XFree(data);
    }
    return value;
}

struct DisplayConnection
{
    // A display that has just announced itself may not take connections yet,
    // so the first attempts may be retried for `timeoutMs`.
    explicit DisplayConnection(const QByteArray &name, int timeoutMs = 0)
    {
        XSetErrorHandler(ignoreXError);
        QElapsedTimer clock;
        clock.start();
        while (!(display = XOpenDisplay(name.isEmpty() ? nullptr : name.constData()))
            && clock.elapsed() < timeoutMs)
            QThread::msleep(10);
    }
    DisplayConnection(const DisplayConnection &) = delete;
    DisplayConnection &operator=(const DisplayConnection &) = delete;
    ~DisplayConnection()
    {
        if (display)
            XCloseDisplay(display);
    }
    Display *display = nullptr;
};

} // namespace

unsigned long XSession::findWindow(qint64 pid, const QString &title, int timeoutMs, const QByteArray &display)
{
    QElapsedTimer clock;
    clock.start();
    const DisplayConnection connection(display, timeoutMs);
    Display *const d = connection.display;
    if (!d)
        return 0;
    const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    const Atom nameAtom = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    do {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) {
            Window found = 0;
            for (unsigned int i = 0; i < count && !found; ++i) {
                XWindowAttributes attributes{};
                if (!XGetWindowAttributes(d, children[i], &attributes) || attributes.map_state != IsViewable)
                    continue;
                const QByteArray owner = property(d, children[i], pidAtom, XA_CARDINAL);
                if (owner.size() < qsizetype(sizeof(long))
                    || *reinterpret_cast<const long *>(owner.constData()) != pid)
                    continue;
                if (QString::fromUtf8(property(d, children[i], nameAtom, utf8)) == title)
                    found = children[i];
            }
            if (children)
                XFree(children);
            if (found)
                return found;
        }
        QThread::msleep(2);
    } while (clock.elapsed() < timeoutMs);
    return 0;
}

unsigned long XSession::focusWindow(qint64 pid, const QString &title, int timeoutMs)
{
    const unsigned long id = findWindow(pid, title, timeoutMs);
    return id && xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(id)}) ? id
                                                                                                         : 0;
}

QSize XSession::windowSize(unsigned long window)
{
    const DisplayConnection connection({});
    XWindowAttributes attributes{};
    if (!connection.display || !XGetWindowAttributes(connection.display, window, &attributes))
        return {};
    return {attributes.width, attributes.height};
}
