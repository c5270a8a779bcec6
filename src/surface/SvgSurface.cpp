#include "SvgSurface.h"

#include "RuntimeError.h"

#include <QBuffer>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <cmath>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

constexpr int kDotsPerInch = 96;
constexpr int kDotsPerMetre = 3780; // 96 dpi

float checkedUnits(float value)
{
    if (!std::isfinite(value) || std::fabs(value) > 1.0e6f)
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    return value;
}

QImage metricsDevice()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    return image;
}

} // namespace

SvgSurface::SvgSurface(QSize drawingArea, const SurfaceFont &font)
    : m_device(metricsDevice()), m_area(drawingArea.expandedTo(QSize(0, 0))), m_font(font, &m_device)
{ }

void SvgSurface::add(Shape shape)
{
    m_shapes.push_back(std::move(shape));
    m_imageStale = true;
}

void SvgSurface::Cls()
{
    m_shapes.clear();
    m_current = QPointF(0, 0);
    m_imageStale = true;
}

float SvgSurface::TextWidth(const QString &text) const
{
    return static_cast<float>(m_font.metrics().horizontalAdvance(text));
}

float SvgSurface::TextHeight(const QString &) const
{
    return static_cast<float>(m_font.metrics().height());
}

void SvgSurface::Print(const QString &text)
{
    if (text.isEmpty())
        return;
    add(TextShape{m_current + QPointF(0, m_font.metrics().ascent()), text, m_font.qfont(), m_foreColor});
}

void SvgSurface::Circle(float x, float y, float radius)
{
    const double r = std::fabs(double(checkedUnits(radius)));
    std::optional<QColor> fill;
    if (m_fillStyle == 0)
        fill = QColor(m_fillColor);
    add(CircleShape{QPointF(checkedUnits(x), checkedUnits(y)), r, m_foreColor, fill});
}

void SvgSurface::setWidth(float width)
{
    m_area.setWidth(std::max(0, int(std::lround(checkedUnits(width)))));
    m_imageStale = true;
}

void SvgSurface::setHeight(float height)
{
    m_area.setHeight(std::max(0, int(std::lround(checkedUnits(height)))));
    m_imageStale = true;
}

void SvgSurface::PaintPicture(
    const QImage &picture, float destX, float destY, float srcX, float srcY, float srcWidth, float srcHeight)
{
    const QRect wanted(int(std::lround(checkedUnits(srcX))), int(std::lround(checkedUnits(srcY))),
        int(std::lround(checkedUnits(srcWidth))), int(std::lround(checkedUnits(srcHeight))));
    const QRect available = wanted & picture.rect();
    if (available.isEmpty())
        return;
    const QPointF dest
        = QPointF(checkedUnits(destX), checkedUnits(destY)) + (available.topLeft() - wanted.topLeft());
    add(PictureShape{dest, picture.copy(available)});
}

void SvgSurface::paint(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Shape &shape : m_shapes) {
        if (const auto *text = std::get_if<TextShape>(&shape)) {
            painter.setFont(text->font);
            painter.setPen(text->color);
            painter.drawText(text->baseline, text->text);
        } else if (const auto *circle = std::get_if<CircleShape>(&shape)) {
            // A filled dot in the outline's colour is one shape; an outline
            // alone lies inside the radius, as the bitmap's does.
            const bool solid = circle->fill && *circle->fill == circle->outline;
            double r = circle->radius;
            if (solid) {
                painter.setPen(Qt::NoPen);
            } else {
                painter.setPen(QPen(circle->outline, 1));
                r = std::max(0.0, r - 0.5);
            }
            painter.setBrush(circle->fill ? QBrush(*circle->fill) : QBrush(Qt::NoBrush));
            painter.drawEllipse(circle->centre, r, r);
        } else if (const auto *picture = std::get_if<PictureShape>(&shape)) {
            painter.drawImage(picture->topLeft, picture->picture);
        }
    }
}

const QImage &SvgSurface::Image() const
{
    if (m_imageStale) {
        m_image = QImage(m_area, QImage::Format_RGB32);
        m_image.setDotsPerMeterX(kDotsPerMetre);
        m_image.setDotsPerMeterY(kDotsPerMetre);
        m_image.fill(Qt::white);
        if (!m_image.isNull()) {
            QPainter painter(&m_image);
            paint(painter);
        }
        m_imageStale = false;
    }
    return m_image;
}

QByteArray SvgSurface::svg(const QRectF &viewBox, int scale, bool background, const QString &title) const
{
    const QSize size(int(std::lround(viewBox.width() * scale)), int(std::lround(viewBox.height() * scale)));
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setTitle(title);
    generator.setDescription(QString());
    generator.setResolution(kDotsPerInch);
    generator.setViewBox(viewBox);
    generator.setSize(size);
    QPainter painter(&generator);
    // Only what lies on the drawing area is in the picture, as on a bitmap.
    painter.setClipRect(QRectF(QPointF(0, 0), QSizeF(m_area)));
    if (background)
        painter.fillRect(viewBox, Qt::white);
    paint(painter);
    painter.end();
    // The generator gives the size in rounded millimetres, which viewers turn
    // back into a pixel more or less; whole pixels say it exactly.
    QByteArray document = buffer.data();
    static const QRegularExpression millimetres(uR"(<svg width="[^"]*mm" height="[^"]*mm")"_s);
    const QRegularExpressionMatch match = millimetres.match(QString::fromLatin1(document.left(200)));
    if (match.hasMatch()) {
        const QByteArray pixels = QStringLiteral(R"(<svg width="%1" height="%2")")
                                      .arg(size.width())
                                      .arg(size.height())
                                      .toLatin1();
        document.replace(match.capturedStart(), match.capturedLength(), pixels);
    }
    return document;
}

} // namespace zembrel
