#include "MoleculePicture.h"

#include "FontState.h"
#include "ImageSurface.h"

#include <QPainterPath>

#include <array>
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
    case TextRole::Charge:
    case TextRole::Subscript: return kChargeSizeRatio;
    case TextRole::ResonanceArrow: return kArrowSizeRatio;
    case TextRole::Angle: return kAngleSizeRatio;
    case TextRole::ShapeName: return kShapeNameSizeRatio;
    case TextRole::Symbol:
    case TextRole::Count: return 1;
    }
    return 1;
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

// An arc from `from` to `to` radians (y down, `from` < `to`) as a subpath of
// its own; a path's angles run the other way round, in degrees.
void addArc(QPainterPath &path, QPointF centre, double radius, double from, double to)
{
    const QRectF box(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    path.arcMoveTo(box, -from * 180 / kPi);
    path.arcTo(box, -from * 180 / kPi, -(to - from) * 180 / kPi);
}

// A solid wedge as one filled outline; a hashed one as strokes across the
// bond, growing from the narrow end to the wide one, in one path.
void paintWedge(Surface &surface, const PlacedWedge &wedge, QPointF offset)
{
    const std::array<QPointF, 4> corners = wedge.corners();
    QPainterPath path;
    if (!wedge.hashed) {
        path.moveTo(corners[0] + offset);
        for (std::size_t k = 1; k < corners.size(); ++k)
            path.lineTo(corners[k] + offset);
        path.closeSubpath();
        surface.Path(path, 0, true);
        return;
    }
    const QPointF d = wedge.wide - wedge.narrow;
    const double length = std::hypot(d.x(), d.y());
    // About two strokes' widths between strokes, the last at the wide end.
    const int strokes = std::max(3, int(length / (2.5 * wedge.stroke)));
    for (int k = 1; k <= strokes; ++k) {
        const double t = double(k) / strokes;
        const QPointF left = corners[0] + (corners[1] - corners[0]) * t;
        const QPointF right = corners[3] + (corners[2] - corners[3]) * t;
        // Pulled in by half a stroke along the bond, so the last stays inside the wedge's outline.
        const QPointF back = d / length * (t == 1 ? wedge.stroke / 2.0 : 0);
        path.moveTo(left - back + offset);
        path.lineTo(right - back + offset);
    }
    surface.Path(path, wedge.stroke, false);
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
        FontState angle;
        FontState shapeName;
        explicit Fonts(const SurfaceFont &f)
            : symbol(f, &device), charge(scaledFont(f, kChargeSizeRatio), &device),
              arrow(scaledFont(f, kArrowSizeRatio), &device), angle(scaledFont(f, kAngleSizeRatio), &device),
              shapeName(scaledFont(f, kShapeNameSizeRatio), &device)
        { }

        const FontState &of(TextRole role) const
        {
            switch (role) {
            case TextRole::Charge:
            case TextRole::Subscript: return charge;
            case TextRole::ResonanceArrow: return arrow;
            case TextRole::Angle: return angle;
            case TextRole::ShapeName: return shapeName;
            case TextRole::Symbol:
            case TextRole::Count: return symbol;
            }
            return symbol;
        }
    };
    const auto fonts = std::make_shared<const Fonts>(font);
    return [fonts](const QString &text, TextRole role) {
        const QFontMetricsF &metrics = fonts->of(role).metrics();
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
        // The arcs between the gaps.
        const QPointF centre(x(shell.centre.x()), y(shell.centre.y()));
        QPainterPath arcs;
        for (std::size_t k = 0; k < shell.gaps.size(); ++k) {
            const double from = shell.gaps[k].second;
            double to
                = k + 1 < shell.gaps.size() ? shell.gaps[k + 1].first : shell.gaps.front().first + 2 * kPi;
            if (to <= from)
                continue;
            addArc(arcs, centre, shell.radius, from, to);
        }
        surface.Path(arcs, shell.width, false);
    }
    for (const PlacedLine &line : drawing.lines) {
        surface.setShapeRole(svgClass(line.kind), line.atom, line.bond);
        surface.Line(x(line.from.x()), y(line.from.y()), x(line.to.x()), y(line.to.y()), line.width);
    }
    for (const PlacedArc &arc : drawing.arcs) {
        surface.setShapeRole(svgClassOfArcs());
        QPainterPath path;
        addArc(path, QPointF(x(arc.centre.x()), y(arc.centre.y())), arc.radius, arc.from, arc.to);
        surface.Path(path, arc.width, false);
    }
    surface.setFillStyle(0);
    surface.setFillColor(qRgb(0, 0, 0));
    for (const PlacedWedge &wedge : drawing.wedges) {
        surface.setShapeRole(svgClass(wedge), -1, wedge.bond);
        paintWedge(surface, wedge, offset);
    }
    for (const PlacedDot &dot : drawing.dots) {
        surface.setShapeRole(svgClass(dot.shape), dot.atom, dot.bond);
        paintMark(surface, dot, QPointF(x(dot.centre.x()), y(dot.centre.y())));
    }
    surface.setShapeRole({});
}

} // namespace zembrel
