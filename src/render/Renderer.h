#pragma once

#include "RenderJob.h"

#include <QByteArray>
#include <QImage>
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

// Renders jobs one after another in one process. Each file is written whole
// or not at all.
class Renderer
{
public:
    // `warn` gets each font replacement once, as text for the user.
    explicit Renderer(std::function<void(const QString &)> warn);

    // Throws RuntimeError when the picture cannot be made or written.
    void run(const RenderJob &job);

private:
    void checkFamily(const SurfaceFont &font);

    std::function<void(const QString &)> m_warn;
    QSet<QString> m_warned;
};

} // namespace zembrel
