#pragma once

#include "RenderJob.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace zembrel {

class Renderer;

// Where a batch's messages go, as they come.
class BatchReport
{
public:
    virtual ~BatchReport() = default;
    // A line's failure, "LIST:LINE: message", in line order.
    virtual void failed(const QString &message) = 0;
    // `done` of `total` pictures are finished.
    virtual void progress(qsizetype done, qsizetype total) = 0;
};

// The words a batch gives every line.
struct BatchDefaults
{
    QStringList words; // options from the command line, before each line's own
    QString outputDir; // relative outputs are taken under it, when not empty
};

// Reads the list at `listPath` ("-" is standard input), one picture a line,
// and makes them. A bad line is reported and skipped, the rest still made.
// Returns false when a line failed or the list could not be read.
bool runBatch(
    const QString &listPath, const BatchDefaults &defaults, Renderer &renderer, BatchReport &report);

// The jobs of the list's lines for a sheet, whose lines need no -o. Bad
// lines are reported; false when one was or the list could not be read.
bool readSheetBatch(
    const QString &listPath, const BatchDefaults &defaults, QList<RenderJob> &jobs, BatchReport &report);

} // namespace zembrel
