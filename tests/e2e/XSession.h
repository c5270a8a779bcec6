#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <utility>

// The real tool on the test's X display, driven as a person would: keys and
// clicks through xdotool, the close box as a window manager sends it.
class XSession
{
public:
    static bool available(QString *why);

    // Runs xdotool; false when it fails or takes longer than `timeoutMs`.
    static bool xdotool(const QStringList &arguments, QString *output = nullptr, int timeoutMs = 10000);
    // Gives each pair of keysyms (small, capital) a free key of its own, as a
    // Russian layout would. xdotool otherwise lends a key for each stroke and
    // takes it back, and a tool busy elsewhere may read the key after that.
    static bool bindKeys(const QList<std::pair<const char *, const char *>> &pairs);
    // The window's close box: WM_DELETE_WINDOW, as a window manager sends it.
    static bool sendCloseBox(unsigned long window);

    // A shown top-level window of process `pid` with the given title, looked
    // for every few milliseconds until `timeoutMs` has passed; 0 when none.
    // `display` is the X display's name, the test's own when empty.
    static unsigned long findWindow(
        qint64 pid, const QString &title, int timeoutMs, const QByteArray &display = {});
    // The same window, given the keyboard focus, as a person's click would; 0
    // when it did not appear or would not take the focus.
    static unsigned long focusWindow(qint64 pid, const QString &title, int timeoutMs);
    // The size of a window's drawing area; empty when it is gone.
    static QSize windowSize(unsigned long window);
};
