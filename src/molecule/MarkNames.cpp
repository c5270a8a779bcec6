#include "Drawing.h"

#include "MarkPlan.h"

#include <cmath>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace zembrel {

std::optional<MarkStyle> markStyleNamed(const QString &name)
{
    if (name == u"lewis"_s)
        return MarkStyle::Lewis;
    if (name == u"dots"_s)
        return MarkStyle::Dots;
    if (name == u"bars"_s)
        return MarkStyle::Bars;
    if (name == u"dot-cross"_s)
        return MarkStyle::DotCross;
    if (name == u"shape"_s)
        return MarkStyle::Shape;
    return std::nullopt;
}

std::optional<MarkShape> markShapeNamed(const QString &name)
{
    for (const MarkShape shape : drawing::kMarkOrder) {
        if (markShapeName(shape) == name)
            return shape;
    }
    return std::nullopt;
}

QString markShapeName(MarkShape shape)
{
    switch (shape) {
    case MarkShape::Dot: return u"dot"_s;
    case MarkShape::Cross: return u"cross"_s;
    case MarkShape::Ring: return u"ring"_s;
    case MarkShape::Square: return u"square"_s;
    case MarkShape::Triangle: return u"triangle"_s;
    }
    return {};
}

std::optional<FormalCharges> formalChargesNamed(const QString &name)
{
    if (name == u"auto"_s)
        return FormalCharges::Auto;
    if (name == u"all"_s)
        return FormalCharges::All;
    if (name == u"none"_s)
        return FormalCharges::None;
    return std::nullopt;
}

QString svgClass(const PlacedText &text)
{
    switch (text.role) {
    case TextRole::Symbol: return u"atom"_s;
    case TextRole::Charge: return text.atom >= 0 ? u"charge formal"_s : u"charge"_s;
    case TextRole::Count: return u"count"_s;
    case TextRole::ResonanceArrow: return u"resonance-arrow"_s;
    case TextRole::Subscript: return u"subscript"_s;
    case TextRole::Angle: return u"angle"_s;
    case TextRole::ShapeName: return u"shape-name"_s;
    }
    return {};
}

QString svgClass(LineKind kind)
{
    switch (kind) {
    case LineKind::Bond: return u"bond"_s;
    case LineKind::LonePair: return u"lone-pair"_s;
    case LineKind::Bracket: return u"bracket"_s;
    }
    return {};
}

QString svgClass(MarkShape shape)
{
    return u"electron "_s + markShapeName(shape);
}

QString svgClassOfShells()
{
    return u"shell"_s;
}

QString svgClass(const PlacedWedge &wedge)
{
    return wedge.hashed ? u"bond hash"_s : u"bond wedge"_s;
}

QString svgClassOfArcs()
{
    return u"angle-arc"_s;
}

std::array<QPointF, 4> PlacedWedge::corners() const
{
    const QPointF d = wide - narrow;
    const double length = std::hypot(d.x(), d.y());
    const QPointF n = length > 0 ? QPointF(-d.y(), d.x()) / length : QPointF(0, 0);
    return {narrow + n * (narrowWidth / 2.0), wide + n * (wideWidth / 2.0), wide - n * (wideWidth / 2.0),
        narrow - n * (narrowWidth / 2.0)};
}

QString chargeText(int charge)
{
    if (charge == 0)
        return {};
    const QString sign = charge > 0 ? u"+"_s : u"\u2212"_s;
    const int size = std::abs(charge);
    return size == 1 ? sign : QString::number(size) + sign;
}

} // namespace zembrel
