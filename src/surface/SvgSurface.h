#pragma once

#include "FontState.h"
#include "Surface.h"

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace zembrel {

// What a shape stands for: its class in the document and its atom, if any.
struct ShapeRole
{
    QString cssClass;
    int atom = -1;
    int bond = -1;
    bool clipped = true; // cut to the drawing area, as a bitmap surface's shapes are
};

// What an SVG surface keeps of each drawing operation.
struct TextShape
{
    QPointF baseline;
    QString text;
    QFont font;
    QColor color;
    ShapeRole role;
};
struct CircleShape
{
    QPointF centre;
    double radius;
    QColor outline;
    std::optional<QColor> fill;
    ShapeRole role;
};
struct LineShape
{
    QLineF line;
    double width;
    QColor color;
    ShapeRole role;
};
struct RingShape
{
    QPointF centre;
    double radius;
    double width;
    QColor color;
    ShapeRole role;
};
struct PathShape
{
    QPainterPath path;
    double width; // 0: no stroke
    QColor color;
    std::optional<QColor> fill;
    ShapeRole role;
};
struct PictureShape
{
    QPointF topLeft;
    QImage picture;
    ShapeRole role;
};
using Shape = std::variant<TextShape, CircleShape, LineShape, RingShape, PathShape, PictureShape>;

// The CSS font-family list for `family`: the family, its metric twins and a
// generic family, so a page without the family still draws the text in the
// width it was measured in ("Arial, 'Liberation Sans', Arimo, sans-serif").
QString cssFontFamilies(const QString &family);

// A surface that keeps what is drawn on it as shapes, not pixels, and hands
// them out as an SVG picture: the symbol as text in its font, dots as
// circles. It measures text as a 96-dpi bitmap surface does, so the layout
// is the same as in the window's picture.
class SvgSurface final : public Surface
{
public:
    SvgSurface(QSize drawingArea, const SurfaceFont &font);

    void Cls() override;
    float TextWidth(const QString &text) const override;
    float TextHeight(const QString &text) const override;
    float ScaleWidth() const override { return float(m_area.width()); }
    float ScaleHeight() const override { return float(m_area.height()); }
    void setCurrentX(float x) override { m_current.setX(x); }
    void setCurrentY(float y) override { m_current.setY(y); }
    void Print(const QString &text) override;
    void setFillStyle(int style) override { m_fillStyle = style; }
    void setFillColor(QRgb color) override { m_fillColor = color; }
    void Circle(float x, float y, float radius) override;
    void Line(float x1, float y1, float x2, float y2, float width) override;
    void Ring(float x, float y, float radius, float width) override;
    void Path(const QPainterPath &path, float width, bool filled) override;
    void setShapeRole(const QString &cssClass, int atom = -1, int bond = -1) override
    {
        m_role.cssClass = cssClass;
        m_role.atom = atom;
        m_role.bond = bond;
    }
    // Shapes drawn from now on lie outside the drawing area's cut (a frame
    // drawn around a picture that fills it) or, by default, inside it.
    void setClipped(bool clipped) { m_role.clipped = clipped; }
    void setWidth(float width) override;
    void setHeight(float height) override;
    void PaintPicture(const QImage &picture, float destX, float destY, float srcX, float srcY, float srcWidth,
        float srcHeight) override;
    void Refresh() override { }
    // The shapes drawn on a white 96-dpi bitmap of the drawing area.
    const QImage &Image() const override;

    SurfaceFont Font() const override { return m_font.font(); }
    void setFontName(const QString &name) override { m_font.setName(name); }
    void setFontSize(double points) override { m_font.setSize(points); }
    void setFontWeight(short weight) override { m_font.setWeight(weight); }
    void setFontItalic(bool italic) override { m_font.setItalic(italic); }
    const QPaintDevice *hDC() const override { return &m_device; }

    // The rectangle `crop` of the drawing, in whole units as a bitmap surface
    // copies it, as an SVG document whose view box it is and whose size is
    // `scale` times it in pixels at 96 dpi. What lies off the drawing area is
    // cut off. Without `background` the picture has no white ground.
    QByteArray svg(const QRectF &crop, int scale, bool background, const QString &title) const;

private:
    void add(Shape shape);
    void paint(QPainter &painter) const;

    QImage m_device; // 96 dpi, for font metrics
    QSize m_area;
    FontState m_font;
    QPointF m_current;
    int m_fillStyle = 1;
    QRgb m_fillColor = qRgb(0, 0, 0);
    QColor m_foreColor = Qt::black;
    ShapeRole m_role;
    std::vector<Shape> m_shapes;
    mutable QImage m_image;
    mutable bool m_imageStale = true;
};

} // namespace zembrel
