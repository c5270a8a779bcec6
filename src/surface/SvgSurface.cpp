#include "SvgSurface.h"

#include "ImageSurface.h"
#include "RuntimeError.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFontDatabase>
#include <QPainter>
#include <QRegularExpression>
#include <QXmlStreamWriter>

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
    add(TextShape{
        m_current + QPointF(0, m_font.metrics().ascent()), text, m_font.qfont(), m_foreColor, m_role});
}

void SvgSurface::Circle(float x, float y, float radius)
{
    const double r = std::fabs(double(checkedUnits(radius)));
    std::optional<QColor> fill;
    if (m_fillStyle == 0)
        fill = QColor(m_fillColor);
    add(CircleShape{QPointF(checkedUnits(x), checkedUnits(y)), r, m_foreColor, fill, m_role});
}

void SvgSurface::Line(float x1, float y1, float x2, float y2, float width)
{
    add(LineShape{QLineF(checkedUnits(x1), checkedUnits(y1), checkedUnits(x2), checkedUnits(y2)),
        std::fabs(double(checkedUnits(width))), m_foreColor, m_role});
}

void SvgSurface::Ring(float x, float y, float radius, float width)
{
    add(RingShape{QPointF(checkedUnits(x), checkedUnits(y)), std::fabs(double(checkedUnits(radius))),
        std::fabs(double(checkedUnits(width))), m_foreColor, m_role});
}

void SvgSurface::Path(const QPainterPath &path, float width, bool filled)
{
    const QRectF bounds = path.boundingRect();
    for (const double edge : {bounds.left(), bounds.top(), bounds.right(), bounds.bottom()})
        checkedUnits(float(edge));
    std::optional<QColor> fill;
    if (filled)
        fill = QColor(m_fillColor);
    add(PathShape{path, std::fabs(double(checkedUnits(width))), m_foreColor, fill, m_role});
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
    add(PictureShape{dest, picture.copy(available), m_role});
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
        } else if (const auto *line = std::get_if<LineShape>(&shape)) {
            painter.setPen(QPen(line->color, line->width, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(line->line);
        } else if (const auto *ring = std::get_if<RingShape>(&shape)) {
            painter.setPen(QPen(ring->color, ring->width));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(ring->centre, ring->radius, ring->radius);
        } else if (const auto *figure = std::get_if<PathShape>(&shape)) {
            if (figure->width > 0)
                painter.setPen(QPen(figure->color, figure->width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            else
                painter.setPen(Qt::NoPen);
            painter.setBrush(figure->fill ? QBrush(*figure->fill) : QBrush(Qt::NoBrush));
            painter.drawPath(figure->path);
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

QString cssFontFamilies(const QString &family)
{
    // Metric twins: a page without the family draws the symbol in the width
    // the crop was measured for.
    static const QList<QStringList> kTwins{
        {u"Arial"_s, u"Liberation Sans"_s, u"Arimo"_s},
        {u"Times New Roman"_s, u"Liberation Serif"_s, u"Tinos"_s},
        {u"Courier New"_s, u"Liberation Mono"_s, u"Cousine"_s},
    };
    QStringList families{family};
    QString generic = u"sans-serif"_s;
    for (const QStringList &twins : kTwins) {
        if (twins.contains(family, Qt::CaseInsensitive)) {
            for (const QString &twin : twins) {
                if (twin.compare(family, Qt::CaseInsensitive) != 0)
                    families << twin;
            }
            if (&twins == &kTwins[1])
                generic = u"serif"_s;
            if (&twins == &kTwins[2])
                generic = u"monospace"_s;
        }
    }
    if (families.size() == 1) {
        if (QFontDatabase::isFixedPitch(family))
            generic = u"monospace"_s;
        else if (family.contains(u"Serif"_s) && !family.contains(u"Sans"_s))
            generic = u"serif"_s;
    }
    static const QRegularExpression plain(uR"(^[A-Za-z][A-Za-z0-9-]*$)"_s);
    QStringList css;
    for (QString name : std::as_const(families)) {
        if (!plain.match(name).hasMatch()) {
            name.replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"\\'"_s);
            name = u'\'' + name + u'\'';
        }
        css << name;
    }
    return (css << generic).join(u", "_s);
}

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 7);
}

void writeRole(QXmlStreamWriter &xml, const ShapeRole &role)
{
    if (!role.cssClass.isEmpty())
        xml.writeAttribute(u"class"_s, role.cssClass);
    if (role.atom >= 0)
        xml.writeAttribute(u"data-atom"_s, QString::number(role.atom));
    if (role.bond >= 0)
        xml.writeAttribute(u"data-bond"_s, QString::number(role.bond));
}

void writeShape(QXmlStreamWriter &xml, const TextShape &text)
{
    const QFont &font = text.font;
    xml.writeStartElement(u"text"_s);
    writeRole(xml, text.role);
    xml.writeAttribute(u"x"_s, number(text.baseline.x()));
    xml.writeAttribute(u"y"_s, number(text.baseline.y()));
    xml.writeAttribute(u"font-family"_s, cssFontFamilies(font.family()));
    xml.writeAttribute(u"font-size"_s, number(font.pointSizeF() * kDotsPerInch / 72));
    xml.writeAttribute(u"font-weight"_s, QString::number(font.weight()));
    xml.writeAttribute(u"font-style"_s, font.italic() ? u"italic"_s : u"normal"_s);
    xml.writeAttribute(u"fill"_s, text.color.name());
    xml.writeAttribute(u"xml:space"_s, u"preserve"_s);
    xml.writeCharacters(text.text);
    xml.writeEndElement();
}

void writeShape(QXmlStreamWriter &xml, const CircleShape &circle)
{
    // A filled dot in the outline's colour is one shape; an outline alone
    // lies inside the radius, as the bitmap's does.
    const bool solid = circle.fill && *circle.fill == circle.outline;
    xml.writeEmptyElement(u"circle"_s);
    writeRole(xml, circle.role);
    xml.writeAttribute(u"cx"_s, number(circle.centre.x()));
    xml.writeAttribute(u"cy"_s, number(circle.centre.y()));
    xml.writeAttribute(u"r"_s, number(solid ? circle.radius : std::max(0.0, circle.radius - 0.5)));
    xml.writeAttribute(u"fill"_s, circle.fill ? circle.fill->name() : u"none"_s);
    if (!solid) {
        xml.writeAttribute(u"stroke"_s, circle.outline.name());
        xml.writeAttribute(u"stroke-width"_s, u"1"_s);
    }
}

void writeShape(QXmlStreamWriter &xml, const LineShape &line)
{
    xml.writeEmptyElement(u"line"_s);
    writeRole(xml, line.role);
    xml.writeAttribute(u"x1"_s, number(line.line.x1()));
    xml.writeAttribute(u"y1"_s, number(line.line.y1()));
    xml.writeAttribute(u"x2"_s, number(line.line.x2()));
    xml.writeAttribute(u"y2"_s, number(line.line.y2()));
    xml.writeAttribute(u"stroke"_s, line.color.name());
    xml.writeAttribute(u"stroke-width"_s, number(line.width));
    xml.writeAttribute(u"stroke-linecap"_s, u"butt"_s);
}

void writeShape(QXmlStreamWriter &xml, const RingShape &ring)
{
    xml.writeEmptyElement(u"circle"_s);
    writeRole(xml, ring.role);
    xml.writeAttribute(u"cx"_s, number(ring.centre.x()));
    xml.writeAttribute(u"cy"_s, number(ring.centre.y()));
    xml.writeAttribute(u"r"_s, number(ring.radius));
    xml.writeAttribute(u"fill"_s, u"none"_s);
    xml.writeAttribute(u"stroke"_s, ring.color.name());
    xml.writeAttribute(u"stroke-width"_s, number(ring.width));
}

// Moves, lines (a line back to the start that ends its subpath closes it)
// and cubic curves, as a QPainterPath holds an arc.
QString pathData(const QPainterPath &path)
{
    QStringList data;
    QPointF start;
    const auto point = [&path](int i) -> QString {
        const QPainterPath::Element e = path.elementAt(i);
        return number(e.x) + u' ' + number(e.y);
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF p(e.x, e.y);
        if (e.isMoveTo()) {
            start = p;
            data << u"M"_s + point(i);
            continue;
        }
        if (e.isCurveTo() && i + 2 < path.elementCount()) {
            data << u"C"_s + point(i) + u' ' + point(i + 1) + u' ' + point(i + 2);
            i += 2;
            continue;
        }
        const bool last = i + 1 == path.elementCount() || path.elementAt(i + 1).isMoveTo();
        if (last && p == start && i > 0)
            data << u"Z"_s;
        else
            data << u"L"_s + point(i);
    }
    return data.join(u' ');
}

void writeShape(QXmlStreamWriter &xml, const PathShape &figure)
{
    xml.writeEmptyElement(u"path"_s);
    writeRole(xml, figure.role);
    xml.writeAttribute(u"d"_s, pathData(figure.path));
    xml.writeAttribute(u"fill"_s, figure.fill ? figure.fill->name() : u"none"_s);
    if (figure.width > 0) {
        xml.writeAttribute(u"stroke"_s, figure.color.name());
        xml.writeAttribute(u"stroke-width"_s, number(figure.width));
        xml.writeAttribute(u"stroke-linecap"_s, u"butt"_s);
        xml.writeAttribute(u"stroke-linejoin"_s, u"miter"_s);
    }
}

void writeShape(QXmlStreamWriter &xml, const PictureShape &picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.picture.save(&buffer, "png"))
        throw RuntimeError(error::kInternalError, u"Не удалось составить SVG"_s);
    xml.writeEmptyElement(u"image"_s);
    writeRole(xml, picture.role);
    xml.writeAttribute(u"x"_s, number(picture.topLeft.x()));
    xml.writeAttribute(u"y"_s, number(picture.topLeft.y()));
    xml.writeAttribute(u"width"_s, QString::number(picture.picture.width()));
    xml.writeAttribute(u"height"_s, QString::number(picture.picture.height()));
    xml.writeAttribute(u"xlink:href"_s, u"data:image/png;base64,"_s + QString::fromLatin1(png.toBase64()));
}

} // namespace

namespace {

// The clip's name while the document is written, before its digest is known.
constexpr char kClipName[] = "drawing-area";

} // namespace

QByteArray SvgSurface::svg(const QRectF &crop, int scale, bool background, const QString &title) const
{
    // In whole units, as a bitmap surface copies a rectangle.
    const QRect box(int(std::lround(checkedUnits(float(crop.x())))),
        int(std::lround(checkedUnits(float(crop.y())))), int(std::lround(checkedUnits(float(crop.width())))),
        int(std::lround(checkedUnits(float(crop.height())))));

    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(0);
    xml.writeStartDocument();
    xml.writeStartElement(u"svg"_s);
    // A class of its own, so that a page holding the picture can keep its
    // rules for "atom" or "bond" to our pictures, and ours off its elements.
    xml.writeAttribute(u"class"_s, u"zembrel"_s);
    xml.writeAttribute(u"width"_s, QString::number(box.width() * scale));
    xml.writeAttribute(u"height"_s, QString::number(box.height() * scale));
    xml.writeAttribute(
        u"viewBox"_s, u"%1 %2 %3 %4"_s.arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height()));
    xml.writeAttribute(u"xmlns"_s, u"http://www.w3.org/2000/svg"_s);
    xml.writeAttribute(u"xmlns:xlink"_s, u"http://www.w3.org/1999/xlink"_s);
    xml.writeAttribute(u"version"_s, u"1.1"_s);
    xml.writeTextElement(u"title"_s, title);
    xml.writeStartElement(u"defs"_s);
    xml.writeStartElement(u"clipPath"_s);
    xml.writeAttribute(u"id"_s, QString::fromLatin1(kClipName));
    xml.writeEmptyElement(u"rect"_s);
    xml.writeAttribute(u"x"_s, u"0"_s);
    xml.writeAttribute(u"y"_s, u"0"_s);
    xml.writeAttribute(u"width"_s, QString::number(m_area.width()));
    xml.writeAttribute(u"height"_s, QString::number(m_area.height()));
    xml.writeEndElement();
    xml.writeEndElement();
    // The ground covers the whole box, as a bitmap's white does; only what is
    // drawn is cut to the drawing area.
    if (background) {
        xml.writeEmptyElement(u"rect"_s);
        xml.writeAttribute(u"x"_s, QString::number(box.x()));
        xml.writeAttribute(u"y"_s, QString::number(box.y()));
        xml.writeAttribute(u"width"_s, QString::number(box.width()));
        xml.writeAttribute(u"height"_s, QString::number(box.height()));
        xml.writeAttribute(u"fill"_s, u"#ffffff"_s);
    }
    const auto clipped = [](const Shape &shape) {
        return std::visit([](const auto &each) { return each.role.clipped; }, shape);
    };
    xml.writeStartElement(u"g"_s);
    xml.writeAttribute(u"clip-path"_s, u"url(#%1)"_s.arg(QString::fromLatin1(kClipName)));
    for (const Shape &shape : m_shapes) {
        if (clipped(shape))
            std::visit([&xml](const auto &each) { writeShape(xml, each); }, shape);
    }
    xml.writeEndElement();
    for (const Shape &shape : m_shapes) {
        if (!clipped(shape))
            std::visit([&xml](const auto &each) { writeShape(xml, each); }, shape);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    // Ids are one namespace for every picture inlined in a page: each
    // picture's clip is named after its content, so two pictures do not cut
    // each other and the same picture is the same file.
    const QByteArray digest = QCryptographicHash::hash(document, QCryptographicHash::Sha1).toHex().left(12);
    const QByteArray name = "zembrel-clip-" + digest;
    document.replace(QByteArray(QByteArray("\"") + kClipName + '"'), QByteArray('"' + name + '"'));
    document.replace(QByteArray(QByteArray("#") + kClipName + ')'), QByteArray('#' + name + ')'));
    return document;
}

} // namespace zembrel
