#pragma once

#include <QImage>
#include <QString>

class QPaintDevice;
class QPainterPath;

namespace zembrel {

// Every surface lays out at 96 dpi, so a font's size in points maps to the
// same units on every screen.
inline constexpr int kDotsPerInch = 96;
inline constexpr int kDotsPerMetre = 3780;

// The current font of a surface, property by property.
struct SurfaceFont
{
    QString Name;
    double Size = 0; // points
    short Weight = 400; // 100 (thin) .. 900 (black)
    bool Italic = false;
    short Charset = 0;
};

// A picture surface: a persistent bitmap drawn on in scale units (pixels),
// which may be fractional; the surface alone maps them to its pixel grid.
// Every operation may throw RuntimeError.
class Surface
{
public:
    Surface() = default;
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;
    virtual ~Surface() = default;

    virtual void Cls() = 0;
    virtual float TextWidth(const QString &text) const = 0;
    virtual float TextHeight(const QString &text) const = 0;
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;
    virtual void setCurrentX(float x) = 0;
    virtual void setCurrentY(float y) = 0;
    virtual void Print(const QString &text) = 0;
    virtual void setFillStyle(int style) = 0; // 0 solid, 1 transparent
    virtual void setFillColor(QRgb color) = 0;
    virtual void Circle(float x, float y, float radius) = 0;
    // A straight line `width` across in the fore colour, cut square at its ends.
    virtual void Line(float x1, float y1, float x2, float y2, float width) = 0;
    // A circle's outline `width` across, centred on `radius`, in the fore
    // colour, smoothed as a line is; nothing inside.
    virtual void Ring(float x, float y, float radius, float width) = 0;
    // A figure of moves, lines, closed subpaths and arcs in scale
    // units, drawn as one shape: its strokes `width` across in the fore
    // colour (none at 0), cut square at their ends and mitred at corners,
    // and with `filled` its inside in the fill colour.
    virtual void Path(const QPainterPath &path, float width, bool filled) = 0;
    // What the shapes drawn from now on stand for (a CSS class, and the atom
    // and the bond they belong to, or -1), for a surface that keeps shapes; a
    // bitmap has no use for it.
    virtual void setShapeRole(const QString & /*cssClass*/, int /*atom*/ = -1, int /*bond*/ = -1) { }

    // Outer size, border included.
    virtual void setWidth(float width) = 0;
    virtual void setHeight(float height) = 0;
    // An unscaled plain copy of a rectangle of `picture` to (destX, destY).
    virtual void PaintPicture(const QImage &picture, float destX, float destY, float srcX, float srcY,
        float srcWidth, float srcHeight)
        = 0;
    virtual void Refresh() = 0;
    virtual const QImage &Image() const = 0;

    virtual SurfaceFont Font() const = 0;
    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontWeight(short weight) = 0;
    virtual void setFontItalic(bool italic) = 0;

    // The device whose resolution font sizes are chosen for.
    virtual const QPaintDevice *hDC() const = 0;
};

} // namespace zembrel
