#include "WholeFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
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

RuntimeError fileError(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR: return {error::kPathNotFound, QStringLiteral("Путь не найден")};
    case EACCES:
    case EPERM: return {error::kAccessDenied, QStringLiteral("Отказано в доступе")};
    case EROFS: return {error::kReadOnly, QStringLiteral("Файловая система доступна только для чтения")};
    case EISDIR: return {error::kFileAccess, QStringLiteral("По этому пути находится папка")};
    case ENAMETOOLONG: return {error::kBadFileName, QStringLiteral("Слишком длинное имя файла")};
    case EILSEQ:
    case EINVAL: return {error::kBadFileName, QStringLiteral("Недопустимое имя файла")};
    case ENOSPC:
    case EDQUOT: return {error::kDiskFull, QStringLiteral("Диск заполнен")};
    case EIO: return {error::kIoError, QStringLiteral("Ошибка ввода-вывода")};
    case EPIPE: return {error::kIoError, QStringLiteral("Читающая сторона закрыла канал")};
    case EBADF: return {error::kFileAccess, QStringLiteral("Поток закрыт")};
    default:
        return {error::kFileAccess,
            QStringLiteral("Ошибка доступа к файлу (%1)").arg(QString::fromLocal8Bit(std::strerror(code)))};
    }
}

RuntimeError notAFile(unsigned mode)
{
    if (S_ISDIR(mode))
        return fileError(EISDIR);
    return {error::kFileAccess, QStringLiteral("По этому пути находится не файл, а устройство или канал")};
}

void writeWholeFile(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    // A rename would swap a device, a pipe or a socket for a plain file, and
    // /dev/null with it when run as root.
    const QByteArray native = QFile::encodeName(path);
    struct stat status
    {
    };
    if (::lstat(native.constData(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
        throw notAFile(status.st_mode);
    if (::stat(native.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        throw notAFile(status.st_mode);

    // The temporary file sits beside the path and is renamed over it; an
    // unfinished one is removed when `file` goes out of scope.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw fileError(errno ? errno : EIO);
    errno = 0;
    if (!write(file)) {
        const int code = errno;
        file.cancelWriting();
        throw fileError(code ? code : EIO);
    }
    // A small file sits whole in the write buffer, and a commit does not
    // report a failure to empty it: on a full disk it would rename an empty
    // file over the path, which a caller of the tool reads as a cancel. So the
    // buffer is emptied here, where a failure still shows.
    errno = 0;
    if (!file.flush()) {
        const int code = errno;
        file.cancelWriting();
        throw fileError(code ? code : EIO);
    }
    errno = 0;
    if (!file.commit())
        throw fileError(errno ? errno : EIO);
}

} // namespace zembrel
