#include "MoleculePicture.h"

#include "FontState.h"
#include "ImageSurface.h"

#include <memory>

namespace zembrel {

namespace {

SurfaceFont chargeFont(const SurfaceFont &font)
{
    SurfaceFont smaller = font;
    smaller.Size = font.Size * kChargeSizeRatio;
    return smaller;
}

} // namespace

MeasureText measureIn(const SurfaceFont &font)
{
    struct Fonts
    {
        QImage device = blankBitmap(QSize(1, 1));
        FontState symbol;
        FontState charge;
        explicit Fonts(const SurfaceFont &f) : symbol(f, &device), charge(chargeFont(f), &device) { }
    };
    const auto fonts = std::make_shared<const Fonts>(font);
    return [fonts](const QString &text, TextRole role) {
        const QFontMetricsF &metrics = (role == TextRole::Charge ? fonts->charge : fonts->symbol).metrics();
        return TextSize{
            float(metrics.horizontalAdvance(text)), float(metrics.height()), float(metrics.ascent())};
    };
}

void paintDrawing(Surface &surface, const Drawing &drawing, const SurfaceFont &font, QPointF offset)
{
    const double chargeSize = font.Size * kChargeSizeRatio;
    const auto x = [&offset](double value) { return float(value + offset.x()); };
    const auto y = [&offset](double value) { return float(value + offset.y()); };
    for (const PlacedText &text : drawing.texts) {
        surface.setFontSize(text.role == TextRole::Charge ? chargeSize : font.Size);
        surface.setShapeRole(svgClass(text.role), text.atom);
        surface.setCurrentX(x(text.topLeft.x()));
        surface.setCurrentY(y(text.topLeft.y()));
        surface.Print(text.text);
    }
    surface.setFontSize(font.Size);
    for (const PlacedLine &line : drawing.lines) {
        surface.setShapeRole(svgClass(line.kind), line.atom);
        surface.Line(x(line.from.x()), y(line.from.y()), x(line.to.x()), y(line.to.y()), line.width);
    }
    surface.setFillStyle(0);
    surface.setFillColor(qRgb(0, 0, 0));
    for (const PlacedDot &dot : drawing.dots) {
        surface.setShapeRole(svgClassOfDots(), dot.atom);
        surface.Circle(x(dot.centre.x()), y(dot.centre.y()), dot.radius);
    }
    surface.setShapeRole({});
}

} // namespace zembrel
