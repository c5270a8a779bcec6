#include "Output.h"

#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// The descriptor a name stands for, where the name is one of the shell's ways
// of handing a descriptor over.
std::optional<int> descriptorOf(const QString &output)
{
    if (output == u"-"_s || output == u"/dev/stdout"_s)
        return STDOUT_FILENO;
    if (output == u"/dev/stderr"_s)
        return STDERR_FILENO;
    static const QRegularExpression numbered(uR"(^/(?:dev/fd|proc/self/fd)/(\d{1,9})$)"_s);
    if (const QRegularExpressionMatch match = numbered.match(output); match.hasMatch())
        return match.captured(1).toInt();
    return std::nullopt;
}

void writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw FileError{n < 0 ? errno : EIO, 0};
        done += n;
    }
}

bool isStream(const QByteArray &native)
{
    struct stat status
    {
    };
    return ::stat(native.constData(), &status) == 0 && (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode));
}

} // namespace

void writeOutput(const QString &output, const QByteArray &bytes)
{
    if (const std::optional<int> fd = descriptorOf(output)) {
        writeAll(*fd, bytes);
        return;
    }
    const QByteArray native = QFile::encodeName(output);
    if (!native.contains('\0') && isStream(native)) {
        // A pipe's reader, or a device, takes the bytes as they come; open()
        // waits for a pipe's reader, as a shell's redirection would.
        int fd = -1;
        do
            fd = ::open(native.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        while (fd < 0 && errno == EINTR);
        if (fd < 0)
            throw FileError{errno, 0};
        try {
            writeAll(fd, bytes);
        } catch (...) {
            ::close(fd);
            throw;
        }
        if (::close(fd) != 0 && errno != EINTR)
            throw FileError{errno, 0};
        return;
    }
    writeWholeFile(output, [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); });
}

bool isStreamOutput(const QString &output)
{
    const QByteArray native = QFile::encodeName(output);
    return descriptorOf(output) || (!native.contains('\0') && isStream(native));
}

QString outputKey(const QString &output)
{
    if (const std::optional<int> fd = descriptorOf(output))
        return u"fd:%1"_s.arg(*fd);
    const QFileInfo file(output);
    if (const QString real = file.canonicalFilePath(); !real.isEmpty())
        return real;
    if (const QString folder = file.absoluteDir().canonicalPath(); !folder.isEmpty())
        return folder + u'/' + file.fileName();
    return file.absoluteFilePath();
}

} // namespace zembrel
