#include "IonFrame.h"

#include "Chemistry.h"
#include "DrawingGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace zembrel {

namespace drawing {

QRectF withMargins(const QRectF &ink, double r)
{
    return ink.adjusted(-1, -1, r + 1, 3);
}

QRectF withoutMargins(const QRectF &crop, double r)
{
    return crop.adjusted(1, 1, -(r + 1), -3);
}

Frame frameAround(
    const QRectF &ink, int charge, const MeasureText &measure, const Metrics &m, double clearance)
{
    Frame frame;
    const double w = m.lineWidth;
    const double off = std::max(clearance, m.barClearance) + w / 2;
    const double left = ink.left() - off, right = ink.right() + off;
    const double top = ink.top() - off, bottom = ink.bottom() + off;
    const double serif = std::max(0.25 * m.symbolHeight, 2 * w);
    const auto line = [&](QPointF a, QPointF b) {
        PlacedLine l;
        l.from = a;
        l.to = b;
        l.width = float(w);
        l.kind = LineKind::Bracket;
        frame.brackets.push_back(l);
    };
    // The serifs run past the upright by half a stroke, so the corners are square.
    for (const double x : {left, right}) {
        const double inward = x == left ? serif : -serif;
        const double outward = x == left ? -w / 2 : w / 2;
        line({x, top}, {x, bottom});
        line({x + outward, top}, {x + inward, top});
        line({x + outward, bottom}, {x + inward, bottom});
    }
    const QString text = chargeText(charge);
    frame.charge.text = text;
    frame.charge.role = TextRole::Charge;
    frame.charge.size = measure(text, TextRole::Charge);
    frame.charge.topLeft = {right + w / 2 + 1, top - frame.charge.size.height / 2};
    frame.ink = ink;
    for (const PlacedLine &l : frame.brackets)
        frame.ink |= inkOf(l);
    frame.ink |= frame.charge.box();
    return frame;
}

} // namespace drawing

IonFrame ionFrame(const QRectF &atomCrop, int charge, const MeasureText &measure, float radius)
{
    if (charge == 0 || std::abs(charge) > kMaxFormalCharge) {
        throw ChemistryError{
            Chemistry::tr("The charge must lie between −%1 and %1 and not be 0.").arg(kMaxFormalCharge)};
    }
    if (!(radius >= kMinRadius && radius <= kMaxRadius)) {
        throw ChemistryError{Chemistry::tr("The dot radius must lie between %1 and %2.")
                                 .arg(double(kMinRadius))
                                 .arg(double(kMaxRadius))};
    }
    const drawing::Metrics m(radius, measure);
    const drawing::Frame frame
        = drawing::frameAround(drawing::withoutMargins(atomCrop, radius), charge, measure, m, m.clearance);
    return {frame.brackets, frame.charge, drawing::withMargins(frame.ink, radius)};
}

} // namespace zembrel
