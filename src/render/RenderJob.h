#pragma once

#include "Controls.h"
#include "Surface.h"

#include <QString>
#include <QStringList>

#include <array>

class QCommandLineParser;

namespace zembrel {

// One formula picture and its look, as the window would make it.
struct Picture
{
    QString symbol;
    std::array<bool, DotSlots::kCount> dots{};
    float radius = 2;
    SurfaceFont font;
    int scale = 1; // 1..8
    bool transparent = false; // PNG and SVG only
};

enum class Format { Bmp, Png, Svg };

// A picture and where it goes; "-" is standard output.
struct RenderJob
{
    Picture picture;
    Format format = Format::Bmp;
    QString output;
};

// A mistake in the words of a job: the message names what is wrong.
struct UsageError
{
    QString message;
};

// The options every job takes, on the command line and on a batch line.
void addJobOptions(QCommandLineParser &parser);
// The job in a parser that took the words already. Throws UsageError.
RenderJob jobFrom(const QCommandLineParser &parser);
// The job in one batch line's words. Throws UsageError.
RenderJob parseJob(const QStringList &words);
// A batch line's words, split as a shell splits them: by blanks, with '…' and
// "…" keeping blanks (and giving an empty word), and a backslash taking the
// next character as it is (in "…" only before " and \). Throws UsageError for
// an unclosed quote.
QStringList splitWords(const QString &line);

} // namespace zembrel
