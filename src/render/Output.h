#pragma once

#include <QByteArray>
#include <QString>

namespace zembrel {

// Writes a picture's bytes to `output`. Standard output ("-", /dev/stdout),
// the descriptors a shell hands over (/dev/fd/N, /proc/self/fd/N), pipes and
// character devices (/dev/null, a terminal) are streams, written as they are:
// nothing to rename. Anything else is a file, replaced whole or not at all; a
// folder, a socket or a block device is refused and stays as it is. Throws
// FileError.
void writeOutput(const QString &output, const QByteArray &bytes);

// True when `output` is written as a stream rather than replaced as a file.
bool isStreamOutput(const QString &output);

// One name for each place pictures go, however a job names it: through a link
// to the file or its folder, with "." and "..", or as a descriptor. Jobs with
// one key must be written in their order.
QString outputKey(const QString &output);

} // namespace zembrel
