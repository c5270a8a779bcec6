#pragma once

#include <QString>
#include <QStringList>

// The real tool on the test's X display, driven as a person would: keys and
// clicks through xdotool, the close box as a window manager sends it.
class XSession
{
public:
    static bool available(QString *why);

    // Runs xdotool; false when it fails or takes longer than `timeoutMs`.
    static bool xdotool(const QStringList &arguments, QString *output = nullptr, int timeoutMs = 10000);
    // The window's close box: WM_DELETE_WINDOW, as a window manager sends it.
    static bool sendCloseBox(unsigned long window);
};
