#include "ImageSurface.h"

#include "RuntimeError.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace zembrel {

QImage blankBitmap(QSize pixels, int scale, QColor color)
{
    if (pixels.width() < 0 || pixels.height() < 0)
        throw RuntimeError(error::kInvalidPropertyValue, QStringLiteral("Недопустимое значение свойства"));
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull() && !pixels.isEmpty())
        throw RuntimeError(error::kOutOfMemory,
            QStringLiteral("Недостаточно памяти для картинки %1 × %2 пикселей")
                .arg(pixels.width())
                .arg(pixels.height()));
    image.setDotsPerMeterX(kDotsPerMetre * scale);
    image.setDotsPerMeterY(kDotsPerMetre * scale);
    image.fill(color);
    return image;
}

// The bitmap comes first: the font is measured at its resolution.
ImageSurface::ImageSurface(QSize drawingArea, const SurfaceFont &font, int border, int scale)
    : m_scale(std::clamp(scale, 1, kMaxScale)), m_image(blankBitmap(drawingArea * m_scale, m_scale)),
      m_border(border), m_font(font, &m_image)
{ }

int ImageSurface::toPixels(float units) const
{
    const double value = double(units) * m_scale;
    if (!std::isfinite(value) || std::fabs(value) > 1.0e6)
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    return static_cast<int>(std::lround(value));
}

void ImageSurface::resize(QSize pixels)
{
    QImage image = blankBitmap(pixels, m_scale, m_backColor);
    if (!m_image.isNull() && !image.isNull()) {
        // A persistent bitmap keeps what it holds where it still fits.
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_image);
    }
    m_image = std::move(image);
    changed();
}

void ImageSurface::changed() const
{
    if (m_changed)
        m_changed();
}

void ImageSurface::Cls()
{
    m_image.fill(m_backColor);
    m_current = QPointF(0, 0);
    changed();
}

float ImageSurface::TextWidth(const QString &text) const
{
    return static_cast<float>(m_font.metrics().horizontalAdvance(text) / m_scale);
}

float ImageSurface::TextHeight(const QString &) const
{
    // One line's height, for an empty text too.
    return static_cast<float>(m_font.metrics().height() / m_scale);
}

float ImageSurface::ScaleWidth() const
{
    return static_cast<float>(m_image.width()) / static_cast<float>(m_scale);
}

float ImageSurface::ScaleHeight() const
{
    return static_cast<float>(m_image.height()) / static_cast<float>(m_scale);
}

void ImageSurface::Print(const QString &text)
{
    if (text.isEmpty())
        return;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_font.qfont());
    painter.setPen(m_foreColor);
    painter.drawText(
        QPointF(m_current.x() * m_scale, m_current.y() * m_scale + m_font.metrics().ascent()), text);
    changed();
}

// Hard-edged like the platform's circles, so a dot is black, not a grey blur,
// and one stamp per radius wherever the centre falls between pixels: the
// centre moves (by half a pixel at most) so that the disc's left and top
// edges lie on the pixel grid. A pixel is inked when its centre lies within
// the radius, and the pixel under the centre always is, so the smallest dot
// is one pixel. Inked pixels on the disc's edge take the fore colour, the
// others the fill. Done by hand: a QPainter ellipse costs several
// microseconds a dot.
void ImageSurface::Circle(float x, float y, float radius)
{
    const double cx = double(x) * m_scale, cy = double(y) * m_scale, r = std::fabs(double(radius)) * m_scale;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r))
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    // Pixels are judged by their offset from the stamp's corner, never by where it lies.
    const double left = std::floor(cx - r + 0.5), top = std::floor(cy - r + 0.5);
    const double centre = std::floor(r), span = std::ceil(r + r);
    const auto inked = [r, centre](double dx, double dy) {
        const double ex = dx + 0.5 - r, ey = dy + 0.5 - r;
        return ex * ex + ey * ey <= r * r || (dx == centre && dy == centre);
    };
    const auto clampTo = [](double v, int hi) { return int(std::clamp(v, -1.0, double(hi))); };
    const int firstRow = clampTo(top, m_image.height()), lastRow = clampTo(top + span, m_image.height() - 1);
    const int firstColumn = clampTo(left, m_image.width());
    const int lastColumn = clampTo(left + span, m_image.width() - 1);
    const QRgb outline = m_foreColor.rgb();
    for (int row = std::max(firstRow, 0); row <= lastRow; ++row) {
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(row));
        const double dy = row - top;
        for (int column = std::max(firstColumn, 0); column <= lastColumn; ++column) {
            const double dx = column - left;
            if (!inked(dx, dy))
                continue;
            const bool edge
                = !inked(dx - 1, dy) || !inked(dx + 1, dy) || !inked(dx, dy - 1) || !inked(dx, dy + 1);
            if (edge)
                line[column] = outline;
            else if (m_fillStyle == 0)
                line[column] = m_fillColor | 0xff000000u;
        }
    }
    changed();
}

void ImageSurface::Line(float x1, float y1, float x2, float y2, float width)
{
    const double s = m_scale;
    const QLineF line(x1 * s, y1 * s, x2 * s, y2 * s);
    const double w = std::fabs(double(width)) * s;
    if (!std::isfinite(line.x1()) || !std::isfinite(line.y1()) || !std::isfinite(line.x2())
        || !std::isfinite(line.y2()) || !std::isfinite(w))
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    // Smoothed like the text beside it: a slanted bond drawn hard would be a staircase.
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_foreColor, w, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(line);
    changed();
}

void ImageSurface::Ring(float x, float y, float radius, float width)
{
    const double s = m_scale;
    const QPointF centre(double(x) * s, double(y) * s);
    const double r = std::fabs(double(radius)) * s, w = std::fabs(double(width)) * s;
    if (!std::isfinite(centre.x()) || !std::isfinite(centre.y()) || !std::isfinite(r) || !std::isfinite(w))
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_foreColor, w));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, r, r);
    changed();
}

void ImageSurface::Path(const QPainterPath &path, float width, bool filled)
{
    const QRectF bounds = path.boundingRect();
    const double w = std::fabs(double(width));
    if (!std::isfinite(bounds.left()) || !std::isfinite(bounds.top()) || !std::isfinite(bounds.right())
        || !std::isfinite(bounds.bottom()) || !std::isfinite(w) || bounds.width() * m_scale > 1.0e6
        || bounds.height() * m_scale > 1.0e6)
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(m_scale, m_scale);
    if (w > 0)
        painter.setPen(QPen(m_foreColor, w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    else
        painter.setPen(Qt::NoPen);
    painter.setBrush(filled ? QBrush(QColor(m_fillColor)) : QBrush(Qt::NoBrush));
    painter.drawPath(path);
    changed();
}

void ImageSurface::setWidth(float width)
{
    resize(QSize(toPixels(width) - 2 * m_border * m_scale, m_image.height()));
}

void ImageSurface::setHeight(float height)
{
    resize(QSize(m_image.width(), toPixels(height) - 2 * m_border * m_scale));
}

void ImageSurface::PaintPicture(
    const QImage &picture, float destX, float destY, float srcX, float srcY, float srcWidth, float srcHeight)
{
    // `picture` is a bitmap of a surface at this one's scale.
    const QRect wanted(toPixels(srcX), toPixels(srcY), toPixels(srcWidth), toPixels(srcHeight));
    // Only the part of the rectangle that lies on the picture is copied; the
    // rest of the destination keeps what it had (the background).
    const QRect available = wanted & picture.rect();
    if (available.isEmpty())
        return;
    const QPoint dest = QPoint(toPixels(destX), toPixels(destY)) + (available.topLeft() - wanted.topLeft());
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(dest, picture, available);
    changed();
}

void ImageSurface::Refresh()
{
    changed();
}

void ImageSurface::setFontName(const QString &name)
{
    m_font.setName(name);
}

void ImageSurface::setFontSize(double points)
{
    m_font.setSize(points);
}

void ImageSurface::setFontWeight(short weight)
{
    m_font.setWeight(weight);
}

void ImageSurface::setFontItalic(bool italic)
{
    m_font.setItalic(italic);
}

const QPaintDevice *ImageSurface::hDC() const
{
    return m_screen ? m_screen : &m_image;
}

} // namespace zembrel
