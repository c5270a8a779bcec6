#pragma once

#include "RuntimeError.h"
#include "WholeFile.h"

#include <QByteArrayList>
#include <QImage>
#include <QString>

#include <optional>

namespace zembrel {

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
