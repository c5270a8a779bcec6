#include "MoleculePicture.h"

#include "FontState.h"
#include "ImageSurface.h"

#include <QPainterPath>

#include <cmath>
#include <memory>

namespace zembrel {

namespace {

constexpr double kPi = 3.14159265358979323846;

SurfaceFont scaledFont(const SurfaceFont &font, double ratio)
{
    SurfaceFont scaled = font;
    scaled.Size = font.Size * ratio;
    return scaled;
}

double sizeRatio(TextRole role)
{
    switch (role) {
    case TextRole::Charge: return kChargeSizeRatio;
    case TextRole::ResonanceArrow: return kArrowSizeRatio;
    default: return 1;
    }
}

// A mark's figure, all of its ink within its radius of its centre: strokes
// cut square reach past their ends only sideways, mitred corners of 60
// degrees a stroke's width past the corner.
void paintMark(Surface &surface, const PlacedDot &dot, QPointF centre)
{
    const double r = dot.radius, w = dot.stroke;
    const auto x = float(centre.x()), y = float(centre.y());
    QPainterPath path;
    switch (dot.shape) {
    case MarkShape::Dot: surface.Circle(x, y, dot.radius); return;
    case MarkShape::Ring: surface.Ring(x, y, float(r - w / 2), dot.stroke); return;
    case MarkShape::Cross: {
        const double arm = std::sqrt(std::max(0.0, r * r - w * w / 4)) / std::sqrt(2.0);
        for (const double side : {1.0, -1.0}) {
            path.moveTo(centre + QPointF(-arm, -arm * side));
            path.lineTo(centre + QPointF(arm, arm * side));
        }
        surface.Path(path, dot.stroke, false);
        return;
    }
    case MarkShape::Square: {
        const double half = r / std::sqrt(2.0);
        path.addRect(QRectF(centre - QPointF(half, half), QSizeF(2 * half, 2 * half)));
        surface.Path(path, 0, true);
        return;
    }
    case MarkShape::Triangle: {
        const double corner = std::max(0.0, r - w);
        for (int k = 0; k < 3; ++k) {
            const double angle = -kPi / 2 + k * 2 * kPi / 3; // point up
            const QPointF p = centre + corner * QPointF(std::cos(angle), std::sin(angle));
            k == 0 ? path.moveTo(p) : path.lineTo(p);
        }
        path.closeSubpath();
        surface.Path(path, dot.stroke, false);
        return;
    }
    }
}

} // namespace

MeasureText measureIn(const SurfaceFont &font)
{
    struct Fonts
    {
        QImage device = blankBitmap(QSize(1, 1));
        FontState symbol;
        FontState charge;
        FontState arrow;
        explicit Fonts(const SurfaceFont &f)
            : symbol(f, &device), charge(scaledFont(f, kChargeSizeRatio), &device),
              arrow(scaledFont(f, kArrowSizeRatio), &device)
        { }
    };
    const auto fonts = std::make_shared<const Fonts>(font);
    return [fonts](const QString &text, TextRole role) {
        const FontState &state = role == TextRole::Charge ? fonts->charge
            : role == TextRole::ResonanceArrow            ? fonts->arrow
                                                          : fonts->symbol;
        const QFontMetricsF &metrics = state.metrics();
        return TextSize{
            float(metrics.horizontalAdvance(text)), float(metrics.height()), float(metrics.ascent())};
    };
}

void paintDrawing(Surface &surface, const Drawing &drawing, const SurfaceFont &font, QPointF offset)
{
    const auto x = [&offset](double value) { return float(value + offset.x()); };
    const auto y = [&offset](double value) { return float(value + offset.y()); };
    for (const PlacedText &text : drawing.texts) {
        surface.setFontSize(font.Size * sizeRatio(text.role));
        surface.setShapeRole(svgClass(text), text.atom);
        surface.setCurrentX(x(text.topLeft.x()));
        surface.setCurrentY(y(text.topLeft.y()));
        surface.Print(text.text);
    }
    surface.setFontSize(font.Size);
    for (const PlacedShell &shell : drawing.shells) {
        surface.setShapeRole(svgClassOfShells(), shell.atom);
        if (shell.gaps.empty()) {
            surface.Ring(x(shell.centre.x()), y(shell.centre.y()), shell.radius, shell.width);
            continue;
        }
        // The arcs between the gaps; a path's angles run the other way round, in degrees.
        const QPointF centre(x(shell.centre.x()), y(shell.centre.y()));
        const QRectF box(
            centre - QPointF(shell.radius, shell.radius), QSizeF(2 * shell.radius, 2 * shell.radius));
        QPainterPath arcs;
        for (std::size_t k = 0; k < shell.gaps.size(); ++k) {
            const double from = shell.gaps[k].second;
            double to
                = k + 1 < shell.gaps.size() ? shell.gaps[k + 1].first : shell.gaps.front().first + 2 * kPi;
            if (to <= from)
                continue;
            arcs.arcMoveTo(box, -from * 180 / kPi);
            arcs.arcTo(box, -from * 180 / kPi, -(to - from) * 180 / kPi);
        }
        surface.Path(arcs, shell.width, false);
    }
    for (const PlacedLine &line : drawing.lines) {
        surface.setShapeRole(svgClass(line.kind), line.atom, line.bond);
        surface.Line(x(line.from.x()), y(line.from.y()), x(line.to.x()), y(line.to.y()), line.width);
    }
    surface.setFillStyle(0);
    surface.setFillColor(qRgb(0, 0, 0));
    for (const PlacedDot &dot : drawing.dots) {
        surface.setShapeRole(svgClass(dot.shape), dot.atom, dot.bond);
        paintMark(surface, dot, QPointF(x(dot.centre.x()), y(dot.centre.y())));
    }
    surface.setShapeRole({});
}

} // namespace zembrel
