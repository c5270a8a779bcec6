#pragma once

#include "RuntimeError.h"

#include <QByteArrayList>
#include <QImage>
#include <QString>

#include <optional>

namespace zembrel {

// Error numbers of file operations, as the boxes show them. Stable: a person
// reporting a box may quote them.
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

// The error for a failed file operation's errno, with a Russian description.
RuntimeError fileError(int code);
// The error for something other than a file at a path: a folder, a device, a
// pipe or a socket (`mode` as stat gives it).
RuntimeError notAFile(unsigned mode);

// The path the calling program gave: its arguments joined by single spaces,
// with one pair of enclosing double quotes dropped, since callers quote paths
// that hold spaces. Throws when the bytes are not valid UTF-8: no file name
// we could form from them would be the caller's.
QString handshakePath(const QByteArrayList &arguments);

// Start-up: makes sure the path can be written and leaves nothing there.
// Only a regular file or a symbolic link is ever removed (never the link's
// target); a folder, a device, a pipe or a socket at the path is an error.
void clearHandshakeFile(const QString &path);

// The handshake path as the start found it, and what clearing it met. The
// path is cleared before the toolkit starts, since a start that cannot show
// its window must not leave the caller an earlier picture to take for the
// user's answer; the window reports `error` once it can show a box.
struct StartPath
{
    QString path;
    std::optional<RuntimeError> error;
};

// Takes the path from the arguments and clears it; never throws.
StartPath claimHandshakePath(const QByteArrayList &arguments);

// Cancel: leaves an empty file at the path, or whatever file is there untouched.
void createEmptyFile(const QString &path);

// Export: the path holds nothing or a complete 24-bit BMP at every moment,
// since the caller may look at any time. On failure nothing is left behind.
void savePicture(const QImage &picture, const QString &path);

} // namespace zembrel
