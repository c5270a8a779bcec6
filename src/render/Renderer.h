#pragma once

#include "RenderJob.h"
#include "RuntimeError.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <map>

namespace zembrel {

// The picture the window's export makes of this formula, at the picture's
// scale; with `transparent`, white is clear and grey edges are partly so.
QImage renderImage(const Picture &picture);
// The picture as an SVG document: the same layout and crop, as shapes.
QByteArray renderSvg(const Picture &picture);
// The bytes of the job's file. Throws RuntimeError.
QByteArray renderBytes(const RenderJob &job);

// Makes the job's picture and writes it whole or not at all. Throws
// RuntimeError when the picture cannot be made or written.
void renderAndWrite(const RenderJob &job);

// Renders jobs in one process, and says once per family when the system
// draws a font with another family.
class Renderer
{
public:
    // `warn` gets each font replacement once, as text for the user.
    explicit Renderer(std::function<void(const QString &)> warn);

    // Throws RuntimeError when the picture cannot be made or written.
    void run(const RenderJob &job);

    // The jobs of a batch, several files at a time, as writing a file mostly
    // waits for the disk. Jobs with the same output run in their order, so the
    // last one wins as it would one by one, and standard output gets the
    // pictures in order. Returns the failures by the jobs' index.
    std::map<qsizetype, RuntimeError> runAll(const QList<RenderJob> &jobs);

private:
    void checkFamily(const SurfaceFont &font);

    std::function<void(const QString &)> m_warn;
    QSet<QString> m_warned;
};

} // namespace zembrel
