#pragma once

#include "RenderJob.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

namespace zembrel {

// The picture the window's export makes of this formula, at the picture's
// scale; with `transparent`, white is clear and grey edges are partly so.
QImage renderImage(const Picture &picture);
// The picture as an SVG document: the same layout and crop, as shapes.
QByteArray renderSvg(const Picture &picture);
// The bytes of the job's file. Throws RuntimeError.
QByteArray renderBytes(const RenderJob &job);

// Makes the job's picture and writes it whole or not at all. Returns what
// went wrong, as a message for the user naming the file; empty when the
// picture is written.
QString renderAndWrite(const RenderJob &job);

// Renders jobs in one process, and says once per family when the system
// draws a font the user named with another family.
class Renderer
{
public:
    // `warn` gets each font replacement once, and what a job's resonance
    // forms leave out, as text for the user.
    explicit Renderer(std::function<void(const QString &)> warn);

    // Returns what went wrong, empty when the picture is written.
    QString run(const RenderJob &job);

    // The jobs of a batch, several files at a time, as writing a file mostly
    // waits for the disk. Jobs with the same output run in their order, so the
    // last one wins as it would one by one, and standard output gets the
    // pictures in order. `done` hears of each job as it ends, with its index
    // and what went wrong (empty when written), one call at a time.
    void runAll(const QList<RenderJob> &jobs, const std::function<void(qsizetype, const QString &)> &done);

    // Says what run() would say of the job before making it: for a job drawn elsewhere (on a sheet).
    void warnAbout(const RenderJob &job);

private:
    void checkFamily(const RenderJob &job);
    void checkForms(const RenderJob &job);

    std::function<void(const QString &)> m_warn;
    QSet<QString> m_warned;
};

} // namespace zembrel
