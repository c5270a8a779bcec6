#include "SvgSurface.h"

#include "ImageSurface.h"
#include "RuntimeError.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

float checkedUnits(float value)
{
    if (!std::isfinite(value) || std::fabs(value) > 1.0e6f)
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    return value;
}

} // namespace

SvgSurface::SvgSurface(QSize drawingArea, const SurfaceFont &font)
    : m_device(blankBitmap(QSize(1, 1))), m_area(drawingArea.expandedTo(QSize(0, 0))), m_font(font, &m_device)
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
        m_image = blankBitmap(m_area);
        if (!m_image.isNull()) {
            QPainter painter(&m_image);
            paint(painter);
        }
        m_imageStale = false;
    }
    return m_image;
}

QByteArray SvgSurface::svg(const QRectF &crop, int scale, bool background, const QString &title) const
{
    // In whole units, as a bitmap surface copies a rectangle.
    const QRect box(int(std::lround(checkedUnits(float(crop.x())))),
        int(std::lround(checkedUnits(float(crop.y())))), int(std::lround(checkedUnits(float(crop.width())))),
        int(std::lround(checkedUnits(float(crop.height())))));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(kDotsPerInch);
    generator.setViewBox(box);
    QPainter painter(&generator);
    paint(painter);
    painter.end();

    // The generator's own frame states the size in rounded millimetres and
    // cannot clip; only the shapes are taken from it. Between its definitions
    // and its end they are one group.
    const QByteArray generated = buffer.data();
    const qsizetype from = generated.indexOf("</defs>");
    const qsizetype to = generated.lastIndexOf("</svg>");
    if (from < 0 || to < from)
        throw RuntimeError(error::kInternalError, u"Не удалось составить SVG"_s);
    const QByteArray shapes = generated.sliced(from + 7, to - from - 7).trimmed();

    const QString frame = uR"(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<svg width="%1" height="%2" viewBox="%3 %4 %5 %6" xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" version="1.1">
<title>%7</title>
<defs>
<clipPath id="drawing-area"><rect x="0" y="0" width="%8" height="%9"/></clipPath>
</defs>
)"_s.arg(box.width() * scale)
                              .arg(box.height() * scale)
                              .arg(box.x())
                              .arg(box.y())
                              .arg(box.width())
                              .arg(box.height())
                              .arg(title.toHtmlEscaped())
                              .arg(m_area.width())
                              .arg(m_area.height());
    QByteArray document = frame.toUtf8();
    // The ground covers the whole box, as a bitmap's white does; only what is
    // drawn is cut to the drawing area.
    if (background) {
        document += u"<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"#ffffff\"/>\n"_s.arg(box.x())
                        .arg(box.y())
                        .arg(box.width())
                        .arg(box.height())
                        .toUtf8();
    }
    document += "<g clip-path=\"url(#drawing-area)\">\n" + shapes + "\n</g>\n</svg>\n";
    return document;
}

} // namespace zembrel
