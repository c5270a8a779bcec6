#include "ShapeLayout.h"

#include "BondAngles.h"
#include "Convention.h"
#include "Domains.h"
#include "ShapeText.h"

#include "Chemistry.h"
#include "DrawingGeometry.h"
#include "DrawingMetrics.h"
#include "Geometry.h"
#include "IonFrame.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

using drawing::Metrics;

[[noreturn]] void refuse(const QString &message)
{
    throw ChemistryError{message};
}

// A page direction (anticlockwise from three o'clock) as a picture's unit
// vector, y down.
QPointF pageUnit(double degrees)
{
    const double a = degrees * kPi / 180;
    return {std::cos(a), -std::sin(a)};
}

// An atom bonded to the centre, with the hydrogens it carries.
struct Ligand
{
    int atom = -1;
    int bond = -1;
    int order = 1;
    std::vector<int> hydrogens;
};

// The picture's parts, kept apart so that each can be checked for room
// against the others.
struct Ink
{
    std::vector<PlacedText> texts;
    std::vector<int> textOwner; // the ligand a text belongs to; -1 for the centre's
    std::vector<PlacedLine> lines;
    std::vector<PlacedWedge> wedges;
    std::vector<PlacedDot> dots;
};

Capsule capsuleOf(const PlacedLine &l)
{
    return {l.from, l.to, l.width / 2.0};
}

Capsule capsuleOf(const PlacedWedge &w)
{
    return {w.narrow, w.wide, std::max(w.narrowWidth, w.wideWidth) / 2.0};
}

Capsule capsuleOf(const PlacedDot &d)
{
    return {d.centre, d.centre, double(d.radius)};
}

// The arc as short strokes, for its ink and its room.
std::vector<Capsule> arcPieces(const PlacedArc &arc)
{
    constexpr int kPieces = 24;
    std::vector<Capsule> pieces;
    QPointF last = arc.centre + arc.radius * drawing::unit(arc.from);
    for (int k = 1; k <= kPieces; ++k) {
        const QPointF next
            = arc.centre + arc.radius * drawing::unit(arc.from + (arc.to - arc.from) * k / kPieces);
        pieces.push_back({last, next, arc.width / 2.0});
        last = next;
    }
    return pieces;
}

QRectF inkOfCapsule(const Capsule &c)
{
    return QRectF(c.a, c.b).normalized().adjusted(-c.radius, -c.radius, c.radius, c.radius);
}

class ShapeLayout
{
public:
    ShapeLayout(const Molecule &molecule, const MeasureText &measure, float radius)
        : m_molecule(molecule), m_measure(measure), m_m(radius, measure), m_r(radius)
    { }

    // Finds the centre, its domains and its ligands; throws ChemistryError
    // where the molecule has no shape to draw.
    void prepare();
    Drawing run();

private:
    void findLigands(const Component &component, int centre);
    struct Angle
    {
        PlacedArc arc;
        PlacedText label;
    };

    std::optional<Drawing> attempt(double bondLength) const;
    std::optional<Angle> labelledAngle(const Ink &ink, double bondLength) const;
    Drawing finished(const Ink &ink, const Angle &angle) const;
    PlacedText symbolAt(int atom, QPointF centre) const;
    void placeLigand(Ink &ink, std::size_t k, const Slot &slot, double bondLength) const;
    void placeDomain(Ink &ink, const Slot &slot, int electrons, bool paired, int mark) const;
    bool roomy(const Ink &ink) const;
    QString labelText() const;

    const Molecule &m_molecule;
    const MeasureText &m_measure;
    Metrics m_m;
    float m_r;
    const Component *m_component = nullptr;
    ElectronDomains m_domains;
    const Convention *m_convention = nullptr;
    std::vector<Ligand> m_ligands; // in the order they take the bond slots
};

void ShapeLayout::findLigands(const Component &component, int centre)
{
    std::vector<std::vector<std::pair<int, int>>> near(m_molecule.atoms.size()); // (atom, bond)
    for (const int b : component.bonds) {
        const Bond &bond = m_molecule.bonds[std::size_t(b)];
        near[std::size_t(bond.begin)].emplace_back(bond.end, b);
        near[std::size_t(bond.end)].emplace_back(bond.begin, b);
    }
    std::size_t drawn = 1;
    for (const auto &[atom, b] : near[std::size_t(centre)]) {
        Ligand ligand{atom, b, m_molecule.bonds[std::size_t(b)].order, {}};
        for (const auto &[other, ob] : near[std::size_t(atom)]) {
            if (other == centre)
                continue;
            const bool hydrogen
                = m_molecule.atoms[std::size_t(other)].element == 1 && near[std::size_t(other)].size() == 1;
            if (!hydrogen) {
                refuse(
                    ShapeText::tr("A shape is drawn round one central atom that every other atom but "
                                  "hydrogens is bonded to, and %1 is bonded to another atom too; the shape "
                                  "round each centre of a larger molecule is not drawn.")
                        .arg(m_molecule.atoms[std::size_t(atom)].symbol));
            }
            ligand.hydrogens.push_back(other);
        }
        drawn += 1 + ligand.hydrogens.size();
        m_ligands.push_back(ligand);
    }
    if (drawn != component.atoms.size())
        refuse(ShapeText::tr(
            "A shape is drawn round one central atom, and this molecule has atoms apart from it."));
    std::stable_sort(m_ligands.begin(), m_ligands.end(),
        [](const Ligand &x, const Ligand &y) { return x.order > y.order; });
}

// A lone pair's two dots side by side across its direction, or an unpaired
// electron, as near the centre's symbol as their clearance lets them.
void ShapeLayout::placeDomain(Ink &ink, const Slot &slot, int electrons, bool paired, int mark) const
{
    const QPointF u = pageUnit(slot.degrees), across = drawing::normal(u);
    const QRectF box = ink.texts.front().box();
    std::vector<QPointF> offsets;
    if (electrons == 1)
        offsets.push_back({});
    for (int k = 0; k < electrons && electrons > 1; ++k)
        offsets.push_back(across * ((k - (electrons - 1) / 2.0) * m_m.pairSpacing));
    // Out from the symbol until clear of it and of the domains placed before
    // (two lone pairs 50° apart round a narrow I).
    double d = exitDistance({}, u, box);
    const auto clear = [&] {
        return std::all_of(offsets.begin(), offsets.end(), [&](QPointF o) {
            const Capsule dot{u * d + o, u * d + o, m_m.r};
            return gap(dot, box) >= m_m.clearance - 1e-6
                && std::none_of(ink.dots.begin(), ink.dots.end(), [&](const PlacedDot &other) {
                       return nearer(dot, capsuleOf(other), m_m.clearance - 1e-6);
                   });
        });
    };
    while (!clear())
        d += 0.05 * m_m.r;
    const int centre = m_domains.centre;
    for (const QPointF o : offsets) {
        PlacedDot dot;
        dot.centre = u * d + o;
        dot.radius = m_r;
        dot.kind = paired ? DotKind::LonePair : DotKind::Radical;
        dot.atom = centre;
        dot.host = centre;
        dot.mark = mark;
        ink.dots.push_back(dot);
    }
}

PlacedText ShapeLayout::symbolAt(int atom, QPointF centre) const
{
    PlacedText text;
    text.text = m_molecule.atoms[std::size_t(atom)].symbol;
    text.size = m_measure(text.text, TextRole::Symbol);
    text.topLeft = centre - QPointF(text.size.width / 2.0, text.size.height / 2.0);
    text.atom = atom;
    return text;
}

void ShapeLayout::placeLigand(Ink &ink, std::size_t k, const Slot &slot, double bondLength) const
{
    const Ligand &ligand = m_ligands[k];
    const QPointF u = pageUnit(slot.degrees);
    const QPointF at = u * bondLength;

    // The atom's symbol centred at the bond's end, its hydrogens after it
    // (or before it, on the left, so that the bond meets the atom bonded).
    const PlacedText symbol = symbolAt(ligand.atom, at);
    std::vector<PlacedText> group{symbol};
    if (!ligand.hydrogens.empty()) {
        PlacedText h;
        h.text = u"H"_s;
        h.size = m_measure(h.text, TextRole::Symbol);
        h.atom = ligand.hydrogens.front();
        std::optional<PlacedText> count;
        if (ligand.hydrogens.size() > 1) {
            PlacedText c;
            c.text = QString::number(ligand.hydrogens.size());
            c.role = TextRole::Subscript;
            c.size = m_measure(c.text, TextRole::Subscript);
            c.atom = h.atom;
            count = c;
        }
        const double subscriptTop
            = symbol.topLeft.y() + symbol.size.ascent - 0.6 * (count ? count->size.ascent : 0);
        if (u.x() < -0.3) {
            double x = symbol.topLeft.x();
            if (count) {
                x -= count->size.width;
                count->topLeft = {x, subscriptTop};
            }
            x -= h.size.width;
            h.topLeft = {x, symbol.topLeft.y()};
        } else {
            h.topLeft = {symbol.box().right(), symbol.topLeft.y()};
            if (count)
                count->topLeft = {h.box().right(), subscriptTop};
        }
        group.push_back(h);
        if (count)
            group.push_back(*count);
    }
    for (const PlacedText &t : group) {
        ink.texts.push_back(t);
        ink.textOwner.push_back(int(k));
    }

    const QRectF centreBox = ink.texts.front().box();
    const double start = exitDistance({}, u, centreBox) + m_m.lineMargin;
    const double end = bondLength - exitDistance({}, -u, symbol.box().translated(-at)) - m_m.lineMargin;
    const QPointF from = u * start, to = u * end;
    const QPointF across = drawing::normal(u);
    const auto line = [&](QPointF a, QPointF b) {
        PlacedLine l;
        l.from = a;
        l.to = b;
        l.width = float(m_m.lineWidth);
        l.kind = LineKind::Bond;
        l.bond = ligand.bond;
        ink.lines.push_back(l);
    };
    if (slot.depth == Depth::Plane) {
        for (int n = 0; n < ligand.order; ++n) {
            const QPointF off = across * ((n - (ligand.order - 1) / 2.0) * m_m.lineSpacing);
            line(from + off, to + off);
        }
        return;
    }
    PlacedWedge wedge;
    wedge.narrow = from;
    wedge.wide = to;
    wedge.narrowWidth = float(m_m.lineWidth);
    wedge.wideWidth = float(std::max(5 * m_m.lineWidth, 0.26 * m_m.symbolHeight));
    wedge.hashed = slot.depth == Depth::Away;
    wedge.stroke = float(m_m.lineWidth);
    wedge.bond = ligand.bond;
    ink.wedges.push_back(wedge);
    // A multiple bond out of the plane: its further lines along the wedge's
    // edge, a little short of its ends.
    for (int n = 1; n < ligand.order; ++n) {
        const QPointF narrowSide = across * (wedge.narrowWidth / 2.0 + n * m_m.lineSpacing);
        const QPointF wideSide = across * (wedge.wideWidth / 2.0 + n * m_m.lineSpacing);
        line(from + narrowSide + u * m_m.lineSpacing, to + wideSide - u * m_m.lineSpacing);
    }
}

// Every mark keeps its clearance from the others: dots their diameter,
// strokes and text a stroke's width.
bool ShapeLayout::roomy(const Ink &ink) const
{
    const double c = m_m.clearance - 1e-6, b = m_m.barClearance - 1e-6;
    for (std::size_t i = 0; i < ink.dots.size(); ++i) {
        const Capsule dot = capsuleOf(ink.dots[i]);
        for (const PlacedText &t : ink.texts) {
            if (nearer(dot, t.box(), c))
                return false;
        }
        for (const PlacedLine &l : ink.lines) {
            if (nearer(dot, capsuleOf(l), c))
                return false;
        }
        for (const PlacedWedge &w : ink.wedges) {
            if (nearer(dot, capsuleOf(w), c))
                return false;
        }
        for (std::size_t j = i + 1; j < ink.dots.size(); ++j) {
            if (ink.dots[j].mark != ink.dots[i].mark && nearer(dot, capsuleOf(ink.dots[j]), c))
                return false;
        }
    }
    for (std::size_t i = 0; i < ink.texts.size(); ++i) {
        for (std::size_t j = i + 1; j < ink.texts.size(); ++j) {
            if (ink.textOwner[i] != ink.textOwner[j]
                && ink.texts[i].box().adjusted(-b, -b, b, b).intersects(ink.texts[j].box()))
                return false;
        }
    }
    return true;
}

QString ShapeLayout::labelText() const
{
    const Convention &c = *m_convention;
    const int ligandElement = m_molecule.atoms[std::size_t(m_ligands.front().atom)].element;
    const bool alike = std::all_of(m_ligands.begin(), m_ligands.end(), [&](const Ligand &l) {
        return m_molecule.atoms[std::size_t(l.atom)].element == ligandElement && l.hydrogens.empty();
    });
    if (alike) {
        if (const std::optional<double> measured
            = measuredBondAngle(m_molecule.atoms[std::size_t(m_domains.centre)].element, ligandElement,
                int(m_ligands.size()), m_component->charge, m_domains.lonePairs))
            return angleLabel(*measured, false, false);
    }
    // Two bonds opposite each other stay at 180° whatever the ligands.
    return angleLabel(c.idealDegrees, c.squeezed, !alike && !c.squeezed && c.idealDegrees != 180);
}

std::optional<Drawing> ShapeLayout::attempt(double bondLength) const
{
    const Convention &c = *m_convention;
    Ink ink;
    const Atom &centreAtom = m_molecule.atoms[std::size_t(m_domains.centre)];
    ink.texts.push_back(symbolAt(m_domains.centre, {}));
    ink.textOwner.push_back(-1);
    for (std::size_t k = 0; k < m_ligands.size(); ++k)
        placeLigand(ink, k, c.bondSlots[k], bondLength);
    // The unpaired electron, if any, takes the last lone pair's place.
    for (std::size_t k = 0; k < c.pairSlots.size(); ++k) {
        const bool paired = int(k) < centreAtom.lonePairs;
        placeDomain(ink, c.pairSlots[k], paired ? 2 : centreAtom.radicals, paired, int(k));
    }
    if (!roomy(ink))
        return std::nullopt;
    std::optional<Angle> angle = labelledAngle(ink, bondLength);
    if (!angle)
        return std::nullopt;
    return finished(ink, *angle);
}

// The labelled angle: an arc between its bonds, its value outside it on the
// bisector, both clear of everything else; the arc as near the centre as
// that allows.
std::optional<ShapeLayout::Angle> ShapeLayout::labelledAngle(const Ink &ink, double bondLength) const
{
    const Convention &c = *m_convention;
    const double fromDegrees = c.bondSlots[std::size_t(c.labelFrom)].degrees;
    double toDegrees = c.bondSlots[std::size_t(c.labelTo)].degrees;
    while (toDegrees <= fromDegrees)
        toDegrees += 360;
    const QPointF w = pageUnit((fromDegrees + toDegrees) / 2);
    Angle angle;
    angle.label.text = labelText();
    angle.label.role = TextRole::Angle;
    angle.label.size = m_measure(angle.label.text, TextRole::Angle);
    // Anticlockwise on the page is clockwise in the picture's angles.
    angle.arc.from = -toDegrees * kPi / 180;
    angle.arc.to = -fromDegrees * kPi / 180;
    angle.arc.width = float(std::max(1.0, 0.75 * m_m.lineWidth));
    // The arc meets its own two bonds; every other stroke keeps clear of it.
    const int own[] = {m_ligands[std::size_t(c.labelFrom)].bond, m_ligands[std::size_t(c.labelTo)].bond};
    const auto isOwn = [&own](int bond) { return bond == own[0] || bond == own[1]; };
    const double b = m_m.barClearance - 1e-6, dotClearance = m_m.clearance - 1e-6;
    const QRectF centreBox = ink.texts.front().box();
    double radius = 0;
    for (const double a : {fromDegrees, toDegrees, (fromDegrees + toDegrees) / 2})
        radius
            = std::max(radius, exitDistance({}, pageUnit(a), centreBox) + m_m.lineMargin + m_m.barClearance);
    for (; radius < 0.8 * bondLength; radius += 0.1 * m_m.symbolHeight) {
        angle.arc.radius = float(radius);
        const double reach
            = std::abs(w.x()) * angle.label.size.width / 2 + std::abs(w.y()) * angle.label.size.height / 2;
        const QPointF at = w * (radius + angle.arc.width / 2.0 + m_m.barClearance + reach);
        angle.label.topLeft = at - QPointF(angle.label.size.width / 2.0, angle.label.size.height / 2.0);
        const QRectF label = angle.label.box();
        const std::vector<Capsule> arc = arcPieces(angle.arc);
        const auto arcNear = [&arc](const auto &shape, double limit) {
            return std::any_of(
                arc.begin(), arc.end(), [&](const Capsule &p) { return nearer(p, shape, limit); });
        };
        bool clear = true;
        for (const PlacedText &t : ink.texts)
            clear = clear && !t.box().adjusted(-b, -b, b, b).intersects(label) && !arcNear(t.box(), b);
        for (const PlacedDot &d : ink.dots)
            clear
                = clear && !nearer(capsuleOf(d), label, dotClearance) && !arcNear(capsuleOf(d), dotClearance);
        for (const PlacedLine &l : ink.lines)
            clear = clear && !nearer(capsuleOf(l), label, b) && (isOwn(l.bond) || !arcNear(capsuleOf(l), b));
        for (const PlacedWedge &wedge : ink.wedges) {
            clear = clear && !nearer(capsuleOf(wedge), label, b)
                && (isOwn(wedge.bond) || !arcNear(capsuleOf(wedge), b));
        }
        if (clear)
            return angle;
    }
    return std::nullopt;
}

// The picture whole: an ion's brackets and charge round it, the shape's name
// under it, and its crop from (0, 0).
Drawing ShapeLayout::finished(const Ink &ink, const Angle &angle) const
{
    Drawing drawing;
    drawing.texts = ink.texts;
    drawing.texts.push_back(angle.label);
    drawing.lines = ink.lines;
    drawing.wedges = ink.wedges;
    drawing.dots = ink.dots;
    drawing.arcs.push_back(angle.arc);
    QRectF bounds;
    for (const PlacedText &t : drawing.texts)
        bounds |= t.box();
    for (const PlacedLine &l : drawing.lines)
        bounds |= drawing::inkOf(l);
    for (const PlacedWedge &w : drawing.wedges) {
        for (const QPointF corner : w.corners())
            bounds |= QRectF(corner, QSizeF()).adjusted(-w.stroke, -w.stroke, w.stroke, w.stroke);
    }
    for (const PlacedDot &d : drawing.dots)
        bounds |= drawing::inkOf(d);
    for (const Capsule &p : arcPieces(angle.arc))
        bounds |= inkOfCapsule(p);
    if (m_component->charge != 0) {
        const drawing::Frame frame
            = drawing::frameAround(bounds, m_component->charge, m_measure, m_m, m_m.clearance);
        drawing.lines.insert(drawing.lines.end(), frame.brackets.begin(), frame.brackets.end());
        drawing.texts.push_back(frame.charge);
        bounds = frame.ink;
    }
    PlacedText name;
    name.text = m_domains.shape();
    name.role = TextRole::ShapeName;
    name.size = m_measure(name.text, TextRole::ShapeName);
    name.topLeft = {bounds.center().x() - name.size.width / 2.0, bounds.bottom() + 0.3 * m_m.symbolHeight};
    drawing.texts.push_back(name);
    bounds |= name.box();

    drawing.crop = drawing::withMargins(bounds, m_r);
    drawing.translate(-drawing.crop.topLeft());
    return drawing;
}

void ShapeLayout::prepare()
{
    std::vector<const Component *> parts;
    for (const Component &component : m_molecule.components) {
        if (component.form == 0)
            parts.push_back(&component);
    }
    if (parts.empty())
        refuse(Chemistry::tr("The input holds no atoms."));
    if (parts.size() > 1 || parts.front()->count > 1)
        refuse(
            ShapeText::tr("A shape is drawn for one molecule or ion at a time, and the input has %1 parts.")
                .arg(parts.size() > 1 ? int(parts.size()) : parts.front()->count));
    m_component = parts.front();
    const std::optional<ElectronDomains> domains = electronDomains(m_molecule, *m_component);
    if (!domains) {
        refuse(ShapeText::tr("A shape is drawn round one central atom that every other atom but hydrogens is "
                             "bonded to, and this molecule has none; the shape round each centre of a larger "
                             "molecule is not drawn."));
    }
    m_domains = *domains;
    m_convention = conventionOf(m_domains.bonded, m_domains.lonePairs);
    if (!m_convention) {
        refuse(ShapeText::tr("%1 has %2 electron domains round its centre; shapes of two to six are drawn.")
                   .arg(m_domains.axe())
                   .arg(m_domains.count()));
    }
    findLigands(*m_component, m_domains.centre);
}

Drawing ShapeLayout::run()
{
    if (!(m_r >= kMinRadius && m_r <= kMaxRadius)) {
        refuse(Chemistry::tr("The dot radius must lie between %1 and %2.")
                   .arg(double(kMinRadius))
                   .arg(double(kMaxRadius)));
    }
    prepare();
    // Bonds long enough for a symbol's room either side of a lone pair;
    // longer where the marks or the angle's label need it.
    constexpr int kAttempts = 10;
    constexpr double kGrowth = 1.15;
    double bondLength = 2.2 * m_m.symbolHeight + 4 * m_m.r;
    for (int k = 0; k < kAttempts; ++k, bondLength *= kGrowth) {
        if (std::optional<Drawing> drawing = attempt(bondLength))
            return std::move(*drawing);
    }
    refuse(Chemistry::tr("The molecule is too crowded to place its electrons apart from each other."));
}

} // namespace

QString angleLabel(double degrees, bool below, bool approximate)
{
    const bool whole = std::abs(degrees - std::round(degrees)) < 0.05;
    // Written as the messages' language writes numbers, as the shape's name
    // beside it is: a server answers each request in its own language.
    QString text = QString::number(degrees, 'f', whole ? 0 : 1)
                       .replace(u'.', ShapeText::tr(".", "the decimal separator of a bond angle"))
        + u'\u00B0';
    if (below)
        return u'<' + text;
    if (approximate)
        return u'\u2248' + text;
    return text;
}

void checkShapeDrawn(const Molecule &molecule)
{
    const MeasureText none = [](const QString &, TextRole) { return TextSize{1, 1, 1}; };
    ShapeLayout(molecule, none, kDefaultRadius).prepare();
}

Drawing layOutShape(const Molecule &molecule, const MeasureText &measure, float radius)
{
    return ShapeLayout(molecule, measure, radius).run();
}

} // namespace zembrel
