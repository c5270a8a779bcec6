#include "HandshakeFile.h"

#include "RuntimeError.h"
#include "WholeFile.h"

#include <QFile>
#include <QImageWriter>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zembrel {

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

namespace {

QByteArray nativePath(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.contains('\0'))
        throw fileError(EINVAL);
    return native;
}

// Opens without following a link, without blocking on a pipe and without
// truncating; never writes.
void openForReadWrite(const QByteArray &native, int extraFlags)
{
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC | extraFlags, 0666);
    if (fd < 0)
        throw fileError(errno);
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const mode_t mode = status.st_mode;
        ::close(fd);
        throw notAFile(mode);
    }
    ::close(fd);
}

} // namespace

QString handshakePath(const QByteArrayList &arguments)
{
    const std::optional<QString> decoded = strictUtf8(arguments.join(' '));
    if (!decoded)
        throw fileError(EILSEQ);
    QString text = *decoded;
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.sliced(1, text.size() - 2);
    return text;
}

void clearHandshakeFile(const QString &path)
{
    const QByteArray native = nativePath(path);
    struct stat status
    {
    };
    if (::lstat(native.constData(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            if (::unlink(native.constData()) != 0)
                throw fileError(errno);
            return;
        }
        if (!S_ISREG(status.st_mode))
            throw notAFile(status.st_mode);
    } else if (errno != ENOENT) {
        throw fileError(errno);
    }
    openForReadWrite(native, O_NOFOLLOW);
    if (::unlink(native.constData()) != 0)
        throw fileError(errno);
}

StartPath claimHandshakePath(const QByteArrayList &arguments)
{
    StartPath start;
    try {
        start.path = handshakePath(arguments);
        if (!start.path.isEmpty())
            clearHandshakeFile(start.path);
    } catch (const RuntimeError &e) {
        start.error = e;
    }
    return start;
}

void createEmptyFile(const QString &path)
{
    openForReadWrite(nativePath(path), 0);
}

void savePicture(const QImage &picture, const QString &path)
{
    try {
        writeWholeFile(
            path, [&picture](QIODevice &file) { return QImageWriter(&file, "bmp").write(picture); });
    } catch (const FileError &e) {
        throw e.notAFileMode ? notAFile(e.notAFileMode) : fileError(e.code);
    }
}

} // namespace zembrel
