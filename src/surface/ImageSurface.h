#pragma once

#include "FontState.h"
#include "Surface.h"

#include <QColor>
#include <QPointF>

#include <functional>

namespace zembrel {

// A bitmap of `pixels` filled with `color`, at 96 × `scale` dpi. Throws
// RuntimeError for a negative size or one that cannot be allocated.
QImage blankBitmap(QSize pixels, int scale = 1, QColor color = Qt::white);

// A surface on a QImage at 96 dpi, so that a font's size in points maps to
// the same pixels on every screen (21.75 pt is 29 px). At scale N the bitmap
// has N times the pixels and the dpi, and one scale unit is N pixels: the
// same picture, sharper, and the same size on paper.
class ImageSurface final : public Surface
{
public:
    static constexpr int kMaxScale = 8;

    // `border` is the width of the frame around the drawing area, which
    // counts in Width and Height but is not part of the bitmap. Sizes are in
    // scale units.
    ImageSurface(QSize drawingArea, const SurfaceFont &font, int border = 0, int scale = 1);

    void Cls() override;
    float TextWidth(const QString &text) const override;
    float TextHeight(const QString &text) const override;
    float ScaleWidth() const override;
    float ScaleHeight() const override;
    void setCurrentX(float x) override { m_current.setX(x); }
    void setCurrentY(float y) override { m_current.setY(y); }
    void Print(const QString &text) override;
    void setFillStyle(int style) override { m_fillStyle = style; }
    void setFillColor(QRgb color) override { m_fillColor = color; }
    void Circle(float x, float y, float radius) override;
    void Line(float x1, float y1, float x2, float y2, float width) override;
    void Ring(float x, float y, float radius, float width) override;
    void Path(const QPainterPath &path, float width, bool filled) override;
    void setWidth(float width) override;
    void setHeight(float height) override;
    void PaintPicture(const QImage &picture, float destX, float destY, float srcX, float srcY, float srcWidth,
        float srcHeight) override;
    void Refresh() override;
    const QImage &Image() const override { return m_image; }

    SurfaceFont Font() const override { return m_font.font(); }
    void setFontName(const QString &name) override;
    void setFontSize(double points) override;
    void setFontWeight(short weight) override;
    void setFontItalic(bool italic) override;
    const QPaintDevice *hDC() const override;

    void setBackColor(QColor color) { m_backColor = color; }
    void setForeColor(QColor color) { m_foreColor = color; }
    QColor foreColor() const { return m_foreColor; }
    QPointF currentPosition() const { return m_current; }
    // The screen device a window shows this surface on.
    void setScreenDevice(const QPaintDevice *device) { m_screen = device; }
    // Called after every change of the bitmap, so a widget showing it can repaint.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    void resize(QSize pixels);
    void changed() const;
    int toPixels(float units) const;

    int m_scale;
    QImage m_image;
    int m_border;
    FontState m_font;
    QColor m_backColor = Qt::white;
    QColor m_foreColor = Qt::black;
    int m_fillStyle = 1;
    QRgb m_fillColor = qRgb(0, 0, 0);
    QPointF m_current;
    const QPaintDevice *m_screen = nullptr;
    std::function<void()> m_changed;
};

} // namespace zembrel
