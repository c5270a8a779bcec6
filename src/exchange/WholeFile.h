#pragma once

#include "RuntimeError.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace zembrel {

// Error numbers of file operations, as the boxes and messages show them. Stable: a
// person reporting a box may quote them.
namespace error {
inline constexpr int kNoCommandLine = 1; // no path given
inline constexpr int kBadFileName = 52; // name too long, not valid text
inline constexpr int kIoError = 57; // the device failed
inline constexpr int kDiskFull = 61; // no space, quota exceeded
inline constexpr int kAccessDenied = 70; // permission denied
inline constexpr int kReadOnly = 71; // read-only file system
inline constexpr int kFileAccess = 75; // a folder or a device at the path, and the rest
inline constexpr int kPathNotFound = 76; // a folder on the way is missing
} // namespace error

// Text from bytes that are valid UTF-8 only: a name made of replacement
// characters would name a file nobody asked for.
std::optional<QString> strictUtf8(QByteArrayView bytes);

// The error for a failed file operation's errno, with a Russian description.
RuntimeError fileError(int code);
// The error for something other than a file at a path: a folder, a device, a
// pipe or a socket (`mode` as stat gives it).
RuntimeError notAFile(unsigned mode);

// Writes a file whole or not at all: `write` fills a temporary file beside
// the path, which replaces the path only once all of it is written. A reader
// of the path sees the old file, or none, or the new one whole. Only a file
// is replaced (through a link, its target): anything else at the path is an
// error. Throws RuntimeError when any step fails, and leaves nothing behind then.
void writeWholeFile(const QString &path, const std::function<bool(QIODevice &)> &write);

} // namespace zembrel
