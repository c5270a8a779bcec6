#include "WindowStart.h"

#include <QList>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace zembrel {

namespace {

struct Note
{
    QtMsgType type;
    QString text;
};

QtMessageHandler g_previous = nullptr;
QString g_program;
QList<Note> g_notes;
bool g_holding = false;
// The display libraries write to standard error themselves ("Authorization
// required ..."), so the start's standard error goes to a memory file, and
// g_stderr keeps the real one.
int g_stderr = -1;
int g_held = -1;

void holdStandardError()
{
    std::fflush(stderr);
    g_held = ::memfd_create("zembrel-start", MFD_CLOEXEC);
    g_stderr = g_held < 0 ? -1 : ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (g_stderr < 0 || ::dup2(g_held, STDERR_FILENO) < 0) {
        if (g_held >= 0)
            ::close(g_held);
        if (g_stderr >= 0)
            ::close(g_stderr);
        g_held = g_stderr = -1;
    }
}

// Gives standard error back; with `replay`, what the start wrote is passed on.
void releaseStandardError(bool replay)
{
    std::fflush(stderr);
    if (g_stderr < 0)
        return;
    ::dup2(g_stderr, STDERR_FILENO);
    ::close(g_stderr);
    g_stderr = -1;
    if (replay) {
        char buffer[4096];
        ssize_t n = 0;
        off_t at = 0;
        while ((n = ::pread(g_held, buffer, sizeof buffer, at)) > 0) {
            at += n;
            if (::write(STDERR_FILENO, buffer, std::size_t(n)) != n)
                break;
        }
    }
    ::close(g_held);
    g_held = -1;
}

QString environment(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

void duringStart(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtFatalMsg) {
        g_notes.append({type, text});
        return;
    }
    // The toolkit gives up here and would abort; its own wording (a plugin
    // to reinstall) would only send the user the wrong way.
    QString platform = environment("QT_QPA_PLATFORM").section(u':', 0, 0);
    if (platform.isEmpty())
        platform = QStringLiteral("xcb");
    const QString line = g_program + QStringLiteral(": ") + noWindowMessage(platform, environment("DISPLAY"));
    releaseStandardError(false);
    std::fputs(qUtf8Printable(line + u'\n'), stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

QString noWindowMessage(const QString &platform, const QString &display)
{
    if (platform != QStringLiteral("xcb"))
        return QStringLiteral("окно не открыть: платформа «%1» не запустилась").arg(platform);
    if (display.isEmpty())
        return QStringLiteral("окно не открыть: дисплей не задан (переменная DISPLAY пуста)");
    return QStringLiteral("окно не открыть: дисплей «%1» не отвечает или не пускает").arg(display);
}

WindowStart::WindowStart(QString program)
{
    g_program = std::move(program);
    g_notes.clear();
    g_holding = true;
    g_previous = qInstallMessageHandler(duringStart);
    holdStandardError();
}

WindowStart::~WindowStart()
{
    started();
}

void WindowStart::started()
{
    if (!g_holding)
        return;
    g_holding = false;
    releaseStandardError(true);
    qInstallMessageHandler(g_previous);
    for (const Note &note : std::as_const(g_notes))
        qt_message_output(note.type, QMessageLogContext(), note.text);
    g_notes.clear();
}

} // namespace zembrel
