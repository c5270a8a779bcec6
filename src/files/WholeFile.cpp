#include "WholeFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <sys/stat.h>

namespace zembrel {

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

namespace {

[[noreturn]] void fail(int code)
{
    throw FileError{code ? code : EIO, 0};
}

} // namespace

void writeWholeFile(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    // A rename would swap a device, a pipe or a socket for a plain file, and
    // /dev/null with it when run as root.
    const QByteArray native = QFile::encodeName(path);
    if (native.contains('\0'))
        fail(EINVAL);
    struct stat status
    {
    };
    if (::lstat(native.constData(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
        throw FileError{S_ISDIR(status.st_mode) ? EISDIR : 0, status.st_mode};
    if (::stat(native.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        throw FileError{S_ISDIR(status.st_mode) ? EISDIR : 0, status.st_mode};

    // The temporary file sits beside the path and is renamed over it; an
    // unfinished one is removed when `file` goes out of scope.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        fail(errno);
    errno = 0;
    if (!write(file)) {
        const int code = errno;
        file.cancelWriting();
        fail(code);
    }
    // A small file sits whole in the write buffer, and a commit does not
    // report a failure to empty it: on a full disk it would rename an empty
    // file over the path, which a caller of the tool reads as a cancel. So the
    // buffer is emptied here, where a failure still shows.
    errno = 0;
    if (!file.flush()) {
        const int code = errno;
        file.cancelWriting();
        fail(code);
    }
    errno = 0;
    if (!file.commit())
        fail(errno);
}

} // namespace zembrel
