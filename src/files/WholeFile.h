#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace zembrel {

// Text from bytes that are valid UTF-8 only: a name made of replacement
// characters would name a file nobody asked for.
std::optional<QString> strictUtf8(QByteArrayView bytes);

// A file operation that failed: the system's error code, and where something
// other than a file stands at the path (a folder, a device, a pipe, a
// socket), its mode as stat gives it. Each user of files words it for its own
// readers.
struct FileError
{
    int code = 0;
    unsigned notAFileMode = 0;
};

// Writes a file whole or not at all: `write` fills a temporary file beside
// the path, which replaces the path only once all of it is written. A reader
// of the path sees the old file, or none, or the new one whole. Only a file
// is replaced (through a link, its target): anything else at the path is an
// error. Throws FileError when any step fails, and leaves nothing behind then.
void writeWholeFile(const QString &path, const std::function<bool(QIODevice &)> &write);

} // namespace zembrel
