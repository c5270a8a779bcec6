#pragma once

#include <QString>

namespace zembrel {

// Held while the toolkit starts. A platform that cannot bring up a window
// (no display, a display that refuses the connection, a platform plugin that
// fails to load) would abort the process with a core dump and a screenful of
// notes; under this guard it ends with status 1 and one line on standard
// error instead. The toolkit's other notes of a good start are passed on once
// it has started.
class WindowStart
{
public:
    explicit WindowStart(QString program);
    WindowStart(const WindowStart &) = delete;
    WindowStart &operator=(const WindowStart &) = delete;
    ~WindowStart();

    // The toolkit is up: its messages go where they went before.
    void started();
};

// Why no window can be shown on `platform` ("xcb" when none was chosen) and
// `display` (the DISPLAY variable, maybe empty), as one line for the user.
QString noWindowMessage(const QString &platform, const QString &display);

} // namespace zembrel
