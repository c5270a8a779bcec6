#include "Drawing.h"

#include "Chemistry.h"
#include "Directions.h"
#include "Geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// Lengths derived from the dot radius and the symbol font, in scale units.
struct Metrics
{
    explicit Metrics(float radius, const MeasureText &measure) : r(radius)
    {
        const TextSize carbon = measure(u"C"_s, TextRole::Symbol);
        symbolHeight = std::max<double>(carbon.height, 1);
        // Inside a pair the dots stand half a diameter apart, while every
        // other mark keeps at least a whole diameter away: the two electrons
        // stay visibly two at any radius and still read as one pair.
        pairSpacing = 3 * r;
        // A dot keeps its own diameter from every other mark, text and line.
        clearance = 2 * r;
        // Strokes as heavy as a letter's stem, whatever the dot radius.
        lineWidth = std::max(1.0, symbolHeight / 16);
        lineSpacing = std::max(3 * lineWidth, 0.16 * symbolHeight);
        lineMargin = std::max(1.0, 0.08 * symbolHeight);
        // A valence stroke is about half a letter high, whatever the dots' size.
        barLength = 0.45 * symbolHeight;
        // A stroke keeps twice its width, about what a dot keeps at the
        // default radius: its size does not follow the dots' either.
        barClearance = std::max(2 * lineWidth, 0.12 * symbolHeight);
        componentGap = 0.5 * symbolHeight;
    }

    double r;
    double symbolHeight;
    double pairSpacing;
    double clearance;
    double lineWidth;
    double lineSpacing;
    double lineMargin;
    double barLength;
    double barClearance;
    double componentGap;
};

QPointF unit(double angle)
{
    return {std::cos(angle), std::sin(angle)};
}

QPointF normal(QPointF u)
{
    return {-u.y(), u.x()};
}

double angleOf(QPointF d)
{
    return std::atan2(d.y(), d.x());
}

// Marks that stand together: a lone pair, a radical, or the shared pairs of one bond.
struct Group
{
    int atom = -1; // the atom around which it stands; -1 for a bond's dots
    int bond = -1;
    double clearance = 0; // its own diameter: how far all else keeps from it
    std::vector<PlacedDot> dots;
    std::vector<PlacedLine> lines;

    std::vector<Capsule> shapes() const
    {
        std::vector<Capsule> result;
        for (const PlacedDot &d : dots)
            result.push_back({d.centre, d.centre, d.radius});
        for (const PlacedLine &l : lines)
            result.push_back({l.from, l.to, l.width / 2});
        return result;
    }
};

QRectF inkOf(const PlacedLine &l)
{
    const double h = l.width / 2;
    return QRectF(l.from, l.to).normalized().adjusted(-h, -h, h, h);
}

QRectF inkOf(const PlacedDot &d)
{
    return {d.centre.x() - d.radius, d.centre.y() - d.radius, 2 * d.radius, 2 * d.radius};
}

// One component's picture at one bond length, before it is put in its place.
struct Piece
{
    std::vector<PlacedText> texts;
    std::vector<PlacedLine> bondLines;
    std::vector<Group> groups;
    QRectF ink;

    void translate(QPointF by)
    {
        for (PlacedText &t : texts)
            t.topLeft += by;
        for (PlacedLine &l : bondLines) {
            l.from += by;
            l.to += by;
        }
        for (Group &g : groups) {
            for (PlacedDot &d : g.dots)
                d.centre += by;
            for (PlacedLine &l : g.lines) {
                l.from += by;
                l.to += by;
            }
        }
        ink.translate(by);
    }
};

// The atom picture's crop reaches this far past its outermost ink: one unit
// left and above, r + 1 right, 3 below. A molecule's crop keeps the same.
QRectF withMargins(const QRectF &ink, double r)
{
    return ink.adjusted(-1, -1, r + 1, 3);
}

QRectF withoutMargins(const QRectF &crop, double r)
{
    return crop.adjusted(1, 1, -(r + 1), -3);
}

struct Frame
{
    std::vector<PlacedLine> brackets;
    PlacedText charge;
    QRectF ink;
};

// Square brackets a clearance away from `ink`, the charge at their upper right.
Frame frameAround(const QRectF &ink, int charge, const MeasureText &measure, const Metrics &m)
{
    Frame frame;
    const double w = m.lineWidth;
    const double off = std::max(m.clearance, m.barClearance) + w / 2;
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

class Layout
{
public:
    Layout(const Molecule &molecule, const MeasureText &measure, MarkStyle style, float radius)
        : m_molecule(molecule), m_measure(measure), m_style(style), m_m(radius, measure), m_r(radius)
    { }

    Drawing run();

private:
    double startingBondLength() const;
    std::optional<Piece> place(const Component &component, double bondLength) const;
    void placeBonds(const Component &component, const std::vector<QPointF> &at,
        const std::vector<QRectF> &boxes, Piece &piece, std::vector<std::vector<int>> &bondsOf,
        std::vector<Group> &bondGroups, bool &ok) const;
    Group markGroup(int atom, bool pair, QPointF centre, double angle, double d) const;
    static bool clear(const std::vector<Capsule> &shapes, double clearance, const std::vector<QRectF> &boxes,
        const std::vector<Capsule> &others);
    void countElectrons(const Component &component, const Piece &piece) const;

    const Molecule &m_molecule;
    const MeasureText &m_measure;
    MarkStyle m_style;
    Metrics m_m;
    float m_r;
};

// The bond length that leaves room between bonded symbols for the marks of
// the bond: its shared pairs side by side with a clearance to either symbol,
// or a bond line long enough to read.
double Layout::startingBondLength() const
{
    double length = 0;
    for (const Bond &bond : m_molecule.bonds) {
        const Atom &a = m_molecule.atoms[std::size_t(bond.begin)];
        const Atom &b = m_molecule.atoms[std::size_t(bond.end)];
        const QPointF d = b.position - a.position;
        const double units = distance(d, {});
        if (units < 1e-6)
            continue;
        const QPointF u = d / units;
        const TextSize sa = m_measure(a.symbol, TextRole::Symbol), sb = m_measure(b.symbol, TextRole::Symbol);
        const QRectF boxA(-sa.width / 2.0, -sa.height / 2.0, sa.width, sa.height);
        const QRectF boxB(-sb.width / 2.0, -sb.height / 2.0, sb.width, sb.height);
        const double ta = exitDistance({}, u, boxA) + m_m.lineMargin;
        const double tb = exitDistance({}, -u, boxB) + m_m.lineMargin;
        const double marks = (bond.order - 1) * m_m.pairSpacing + 2 * m_m.r + 2 * m_m.clearance;
        const double needed = std::max(marks, 0.6 * m_m.symbolHeight);
        length = std::max(length, (needed + ta + tb) / units);
    }
    return length;
}

Group Layout::markGroup(int atom, bool pair, QPointF centre, double angle, double d) const
{
    Group g;
    g.atom = atom;
    g.clearance = pair && m_style == MarkStyle::Bars ? m_m.barClearance : m_m.clearance;
    const QPointF e = unit(angle), n = normal(e);
    const QPointF at = centre + d * e;
    if (!pair) {
        g.dots.push_back({at, m_r, DotKind::Radical, atom, -1});
    } else if (m_style == MarkStyle::Bars) {
        PlacedLine bar;
        bar.from = at - n * (m_m.barLength / 2);
        bar.to = at + n * (m_m.barLength / 2);
        bar.width = float(m_m.lineWidth);
        bar.kind = LineKind::LonePair;
        bar.atom = atom;
        g.lines.push_back(bar);
    } else {
        for (const double side : {-0.5, 0.5})
            g.dots.push_back({at + n * (side * m_m.pairSpacing), m_r, DotKind::LonePair, atom, -1});
    }
    return g;
}

bool Layout::clear(const std::vector<Capsule> &shapes, double clearance, const std::vector<QRectF> &boxes,
    const std::vector<Capsule> &others)
{
    const double c = clearance - 1e-6;
    for (const Capsule &s : shapes) {
        for (const QRectF &box : boxes) {
            if (nearer(s, box, c))
                return false;
        }
        for (const Capsule &o : others) {
            if (nearer(s, o, c))
                return false;
        }
    }
    return true;
}

void Layout::placeBonds(const Component &component, const std::vector<QPointF> &at,
    const std::vector<QRectF> &boxes, Piece &piece, std::vector<std::vector<int>> &bondsOf,
    std::vector<Group> &bondGroups, bool &ok) const
{
    const double margin = m_m.lineMargin;
    for (const int index : component.bonds) {
        const Bond &bond = m_molecule.bonds[std::size_t(index)];
        const auto a = std::size_t(bond.begin), b = std::size_t(bond.end);
        bondsOf[a].push_back(index);
        bondsOf[b].push_back(index);
        const QPointF d = at[b] - at[a];
        const double length = distance(d, {});
        if (length < 1e-6) {
            ok = false;
            continue;
        }
        const QPointF u = d / length, v = normal(u);
        const QRectF grownA = boxes[a].adjusted(-margin, -margin, margin, margin);
        const QRectF grownB = boxes[b].adjusted(-margin, -margin, margin, margin);
        if (m_style == MarkStyle::Dots) {
            const double ta = exitDistance(at[a], u, grownA);
            const double tb = exitDistance(at[b], -u, grownB);
            if (length - ta - tb <= 0) {
                ok = false;
                continue;
            }
            const QPointF middle = at[a] + u * (ta + (length - ta - tb) / 2);
            Group g;
            g.bond = index;
            g.clearance = m_m.clearance;
            for (int j = 0; j < bond.order; ++j) {
                const QPointF centre = middle + u * ((j - (bond.order - 1) / 2.0) * m_m.pairSpacing);
                // One electron from each atom; both from the donor of a dative bond.
                g.dots.push_back({centre - v * (m_m.pairSpacing / 2), m_r, DotKind::Bond, bond.begin, index});
                g.dots.push_back({centre + v * (m_m.pairSpacing / 2), m_r, DotKind::Bond,
                    bond.dative ? bond.begin : bond.end, index});
            }
            bondGroups.push_back(g);
            continue;
        }
        for (int j = 0; j < bond.order; ++j) {
            const QPointF offset = v * ((j - (bond.order - 1) / 2.0) * m_m.lineSpacing);
            const QPointF from = at[a] + offset, to = at[b] + offset;
            const double ta = exitDistance(from, u, grownA);
            const double tb = exitDistance(to, -u, grownB);
            if (length - ta - tb < m_m.lineWidth) {
                ok = false;
                continue;
            }
            PlacedLine line;
            line.from = from + u * ta;
            line.to = to - u * tb;
            line.width = float(m_m.lineWidth);
            line.kind = LineKind::Bond;
            line.bond = index;
            piece.bondLines.push_back(line);
        }
    }
}

std::optional<Piece> Layout::place(const Component &component, double bondLength) const
{
    const std::size_t atomCount = m_molecule.atoms.size();
    std::vector<QPointF> at(atomCount);
    std::vector<QRectF> boxes(atomCount);
    std::vector<std::optional<QRectF>> chargeBoxes(atomCount);
    Piece piece;
    std::vector<QRectF> allBoxes;

    for (const int index : component.atoms) {
        const Atom &atom = m_molecule.atoms[std::size_t(index)];
        const auto i = std::size_t(index);
        at[i] = atom.position * bondLength;
        PlacedText text;
        text.text = atom.symbol;
        text.size = m_measure(atom.symbol, TextRole::Symbol);
        text.topLeft = at[i] - QPointF(text.size.width / 2.0, text.size.height / 2.0);
        text.atom = index;
        boxes[i] = text.box();
        allBoxes.push_back(boxes[i]);
        piece.texts.push_back(text);
    }

    bool ok = true;
    std::vector<std::vector<int>> bondsOf(atomCount);
    std::vector<Group> bondGroups;
    placeBonds(component, at, boxes, piece, bondsOf, bondGroups, ok);
    if (!ok)
        return std::nullopt;

    const auto bondAngle = [&](std::size_t i, int bondIndex) {
        const Bond &bond = m_molecule.bonds[std::size_t(bondIndex)];
        const auto other = std::size_t(bond.begin == int(i) ? bond.end : bond.begin);
        return angleOf(at[other] - at[i]);
    };

    // The shapes of an atom's bonds: its bond lines, or its bonds' shared dots.
    const auto ownBondShapes = [&](std::size_t i) {
        std::vector<Capsule> shapes;
        for (const PlacedLine &l : piece.bondLines) {
            const Bond &bond = m_molecule.bonds[std::size_t(l.bond)];
            if (std::size_t(bond.begin) == i || std::size_t(bond.end) == i)
                shapes.push_back({l.from, l.to, l.width / 2});
        }
        for (const Group &g : bondGroups) {
            const Bond &bond = m_molecule.bonds[std::size_t(g.bond)];
            if (std::size_t(bond.begin) == i || std::size_t(bond.end) == i) {
                for (const Capsule &c : g.shapes())
                    shapes.push_back(c);
            }
        }
        return shapes;
    };
    // Bond lines may pass a text by a unit; shared dots keep a clearance.
    const double textToBond = m_style == MarkStyle::Dots ? m_m.clearance : 1.0;

    // Formal charges inside a neutral molecule: a superscript at the upper
    // right of their atom; where a bond goes that way, out in the middle of
    // the atom's widest gap between bonds, as near as it fits.
    for (const int index : component.atoms) {
        const Atom &atom = m_molecule.atoms[std::size_t(index)];
        const auto i = std::size_t(index);
        if (component.charge != 0 || atom.charge == 0)
            continue;
        PlacedText text;
        text.text = chargeText(atom.charge);
        text.role = TextRole::Charge;
        text.atom = index;
        text.size = m_measure(text.text, TextRole::Charge);
        const QSizeF size(text.size.width, text.size.height);
        const std::vector<Capsule> bonds = ownBondShapes(i);
        const auto fits = [&](const QRectF &r) {
            if (r.intersects(boxes[i]))
                return false;
            for (const Capsule &c : bonds) {
                if (nearer(c, r, textToBond))
                    return false;
            }
            return true;
        };
        std::vector<double> taken;
        for (const int b : bondsOf[i])
            taken.push_back(bondAngle(i, b));
        const TextSize symbol = m_measure(atom.symbol, TextRole::Symbol);
        const double capTop = boxes[i].top() + 0.21 * symbol.ascent;
        QRectF spot(QPointF(boxes[i].right(), capTop - size.height() / 2), size);
        double nearestBond = kPi;
        for (const double a : taken)
            nearestBond = std::min(nearestBond, angleBetween(angleOf(spot.center() - at[i]), a));
        if (nearestBond < kPi / 4 || !fits(spot)) {
            const double direction = spreadInGaps(taken, 1, -kPi / 4).front();
            const QPointF e = unit(direction);
            double d = 0;
            const double farthest = 4 * m_m.symbolHeight + 20 * m_m.r;
            while (d <= farthest
                && !fits(QRectF(at[i] + d * e - QPointF(size.width(), size.height()) / 2, size)))
                d += 0.5;
            if (d > farthest)
                return std::nullopt;
            spot = QRectF(at[i] + d * e - QPointF(size.width(), size.height()) / 2, size);
        }
        text.topLeft = spot.topLeft();
        chargeBoxes[i] = spot;
        allBoxes.push_back(spot);
        piece.texts.push_back(text);
    }

    // Lone pairs and unpaired electrons, atom by atom.
    const double step = std::max(0.25, m_m.r / 4);
    const double farthest = 4 * m_m.symbolHeight + 20 * m_m.r;
    for (const int index : component.atoms) {
        const Atom &atom = m_molecule.atoms[std::size_t(index)];
        const auto i = std::size_t(index);
        const int groups = atom.lonePairs + atom.radicals;
        if (groups == 0)
            continue;
        std::vector<double> taken;
        for (const int b : bondsOf[i])
            taken.push_back(bondAngle(i, b));
        if (chargeBoxes[i])
            taken.push_back(angleOf(chargeBoxes[i]->center() - at[i]));
        std::vector<double> directions;
        if (taken.empty() && groups <= 4) {
            // Right, top, left, bottom, as the atom picture fills its sides.
            static constexpr std::array kSides{0.0, -kPi / 2, kPi, kPi / 2};
            directions.assign(kSides.begin(), kSides.begin() + groups);
        } else {
            directions = spreadInGaps(taken, groups, 0);
        }
        for (const double direction : directions) {
            for (const int b : bondsOf[i]) {
                if (angleBetween(direction, bondAngle(i, b)) < kPi / 6 - 1e-9) {
                    throw ChemistryError{Chemistry::tr("Atom %1 (%2) has too many bonds and electron pairs "
                                                       "to draw them apart.")
                                             .arg(atom.source)
                                             .arg(atom.symbol)};
                }
            }
        }
        // The atom's own marks: its symbol, its charge, its bonds.
        std::vector<QRectF> ownBoxes{boxes[i]};
        if (chargeBoxes[i])
            ownBoxes.push_back(*chargeBoxes[i]);
        const std::vector<Capsule> ownBonds = ownBondShapes(i);
        // Each mark as near its symbol as it fits; then all of them moved out
        // together, as little as keeps them apart, so the atom stays symmetric.
        std::vector<double> nearest;
        for (std::size_t k = 0; k < directions.size(); ++k) {
            const bool pair = int(k) < atom.lonePairs;
            const auto fits = [&](double d) {
                const Group g = markGroup(index, pair, at[i], directions[k], d);
                return clear(g.shapes(), g.clearance, ownBoxes, ownBonds);
            };
            // Nothing fits before the symbol's edge less a pair's width.
            const double start
                = std::max(0.0, exitDistance(at[i], unit(directions[k]), boxes[i]) - m_m.pairSpacing);
            double d = start;
            while (d <= farthest && !fits(d))
                d += step;
            if (d > farthest)
                return std::nullopt;
            double low = std::max(start, d - step), high = d;
            if (d > start) {
                for (int n = 0; n < 7; ++n) {
                    const double mid = (low + high) / 2;
                    (fits(mid) ? high : low) = mid;
                }
            }
            nearest.push_back(high);
        }
        const auto marksAt = [&](double extra) {
            std::vector<Group> marks;
            for (std::size_t k = 0; k < directions.size(); ++k)
                marks.push_back(
                    markGroup(index, int(k) < atom.lonePairs, at[i], directions[k], nearest[k] + extra));
            return marks;
        };
        const auto apart = [&](const std::vector<Group> &marks) {
            for (std::size_t x = 0; x < marks.size(); ++x) {
                for (std::size_t y = x + 1; y < marks.size(); ++y) {
                    if (!clear(marks[x].shapes(), std::max(marks[x].clearance, marks[y].clearance), {},
                            marks[y].shapes()))
                        return false;
                }
            }
            return true;
        };
        double extra = 0;
        while (extra <= farthest && !apart(marksAt(extra)))
            extra += step;
        if (extra > farthest)
            return std::nullopt;
        for (Group &g : marksAt(extra))
            piece.groups.push_back(std::move(g));
    }
    for (Group &g : bondGroups)
        piece.groups.push_back(std::move(g));

    // Everything against everything: symbols apart, bond lines clear of the
    // symbols they do not join, each mark a clearance from all else.
    for (std::size_t x = 0; x < allBoxes.size(); ++x) {
        for (std::size_t y = x + 1; y < allBoxes.size(); ++y) {
            if (allBoxes[x].intersects(allBoxes[y]))
                return std::nullopt;
        }
    }
    for (const PlacedLine &l : piece.bondLines) {
        const Bond &bond = m_molecule.bonds[std::size_t(l.bond)];
        for (const int index : component.atoms) {
            const auto i = std::size_t(index);
            const Capsule line{l.from, l.to, l.width / 2.0};
            if ((index != bond.begin && index != bond.end && nearer(line, boxes[i], 1))
                || (chargeBoxes[i] && nearer(line, *chargeBoxes[i], 1)))
                return std::nullopt;
        }
    }
    std::vector<std::vector<Capsule>> shapes;
    for (const Group &g : piece.groups)
        shapes.push_back(g.shapes());
    std::vector<Capsule> lineShapes;
    for (const PlacedLine &l : piece.bondLines)
        lineShapes.push_back({l.from, l.to, l.width / 2});
    for (std::size_t x = 0; x < shapes.size(); ++x) {
        const double own = piece.groups[x].clearance;
        if (!clear(shapes[x], own, allBoxes, lineShapes))
            return std::nullopt;
        for (std::size_t y = x + 1; y < shapes.size(); ++y) {
            if (!clear(shapes[x], std::max(own, piece.groups[y].clearance), {}, shapes[y]))
                return std::nullopt;
        }
    }

    QRectF ink;
    for (const PlacedText &t : piece.texts)
        ink |= t.box();
    for (const PlacedLine &l : piece.bondLines)
        ink |= inkOf(l);
    for (const Group &g : piece.groups) {
        for (const PlacedDot &d : g.dots)
            ink |= inkOf(d);
        for (const PlacedLine &l : g.lines)
            ink |= inkOf(l);
    }
    piece.ink = ink;
    return piece;
}

// What is drawn must hold exactly the component's valence electrons: one per
// dot, two per bond line and per lone-pair bar.
void Layout::countElectrons(const Component &component, const Piece &piece) const
{
    int expected = -component.charge;
    for (const int index : component.atoms)
        expected += m_molecule.atoms[std::size_t(index)].outer;
    int drawn = 2 * int(piece.bondLines.size());
    for (const Group &g : piece.groups)
        drawn += int(g.dots.size()) + 2 * int(g.lines.size());
    if (drawn != expected) {
        throw ChemistryError{
            Chemistry::tr("The picture would show %1 valence electrons where the molecule has %2.")
                .arg(drawn)
                .arg(expected)};
    }
}

Drawing Layout::run()
{
    if (!(m_r >= kMinRadius && m_r <= kMaxRadius)) {
        throw ChemistryError{Chemistry::tr("The dot radius must lie between %1 and %2.")
                                 .arg(double(kMinRadius))
                                 .arg(double(kMaxRadius))};
    }
    if (m_molecule.components.empty())
        throw ChemistryError{Chemistry::tr("The input holds no atoms.")};
    // Bonds across each other stay across at any length, and shared dots
    // would stand where no bond is.
    for (const Component &component : m_molecule.components) {
        for (std::size_t x = 0; x < component.bonds.size(); ++x) {
            const Bond &p = m_molecule.bonds[std::size_t(component.bonds[x])];
            for (std::size_t y = x + 1; y < component.bonds.size(); ++y) {
                const Bond &q = m_molecule.bonds[std::size_t(component.bonds[y])];
                if (p.begin == q.begin || p.begin == q.end || p.end == q.begin || p.end == q.end)
                    continue;
                const auto at = [&](int atom) { return m_molecule.atoms[std::size_t(atom)].position; };
                const QRectF boundsP
                    = QRectF(at(p.begin), at(p.end)).normalized().adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
                if (!boundsP.intersects(
                        QRectF(at(q.begin), at(q.end)).normalized().adjusted(-1e-6, -1e-6, 1e-6, 1e-6)))
                    continue;
                if (segmentToSegment(at(p.begin), at(p.end), at(q.begin), at(q.end)) < 1e-9) {
                    throw ChemistryError{
                        Chemistry::tr("The molecule's layout puts bonds across each other, so its "
                                      "electrons cannot be shown clearly.")};
                }
            }
        }
    }

    // Marks that do not fit at one bond length get more room at a longer one.
    constexpr int kAttempts = 10;
    constexpr double kGrowth = 1.2;
    double bondLength = startingBondLength();
    std::vector<Piece> pieces;
    for (int attempt = 0; attempt < kAttempts && pieces.size() < m_molecule.components.size(); ++attempt) {
        pieces.clear();
        for (const Component &component : m_molecule.components) {
            std::optional<Piece> piece = place(component, bondLength);
            if (!piece)
                break;
            pieces.push_back(std::move(*piece));
        }
        bondLength *= kGrowth;
    }
    if (pieces.size() < m_molecule.components.size()) {
        throw ChemistryError{
            Chemistry::tr("The molecule is too crowded to place its electrons apart from each other.")};
    }

    Drawing drawing;
    QRectF ink;
    double cursor = 0;
    int mark = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const Component &component = m_molecule.components[k];
        Piece &piece = pieces[k];
        countElectrons(component, piece);
        // Components share one middle line, left to right.
        piece.translate(QPointF(0, -piece.ink.center().y()));
        QRectF unitInk = piece.ink;
        std::optional<Frame> frame;
        if (component.charge != 0) {
            frame = frameAround(piece.ink, component.charge, m_measure, m_m);
            unitInk = frame->ink;
        }
        std::optional<PlacedText> count;
        if (component.count > 1) {
            PlacedText text;
            text.text = QString::number(component.count);
            text.role = TextRole::Count;
            text.size = m_measure(text.text, TextRole::Count);
            // A word space, so that "2 H–O–H" does not read as two hydrogens.
            text.topLeft
                = QPointF(unitInk.left() - 0.3 * m_m.symbolHeight - text.size.width, -text.size.height / 2.0);
            unitInk |= text.box();
            count = text;
        }
        const QPointF shift(cursor - unitInk.left(), 0);
        cursor = unitInk.right() + shift.x() + m_m.componentGap;
        piece.translate(shift);
        for (PlacedText &t : piece.texts)
            drawing.texts.push_back(t);
        for (const PlacedLine &l : piece.bondLines)
            drawing.lines.push_back(l);
        for (const Group &g : piece.groups) {
            for (PlacedDot d : g.dots) {
                d.mark = mark;
                drawing.dots.push_back(d);
            }
            for (PlacedLine l : g.lines) {
                l.mark = mark;
                drawing.lines.push_back(l);
            }
            ++mark;
        }
        if (frame) {
            for (PlacedLine l : frame->brackets) {
                l.from += shift;
                l.to += shift;
                drawing.lines.push_back(l);
            }
            frame->charge.topLeft += shift;
            drawing.texts.push_back(frame->charge);
        }
        if (count) {
            count->topLeft += shift;
            drawing.texts.push_back(*count);
        }
        ink |= unitInk.translated(shift);
    }

    // The crop starts at (0, 0).
    const QRectF crop = withMargins(ink, m_m.r);
    const QPointF origin = -crop.topLeft();
    for (PlacedText &t : drawing.texts)
        t.topLeft += origin;
    for (PlacedDot &d : drawing.dots)
        d.centre += origin;
    for (PlacedLine &l : drawing.lines) {
        l.from += origin;
        l.to += origin;
    }
    drawing.crop = crop.translated(origin);
    return drawing;
}

} // namespace

std::optional<MarkStyle> markStyleNamed(const QString &name)
{
    if (name == u"lewis"_s)
        return MarkStyle::Lewis;
    if (name == u"dots"_s)
        return MarkStyle::Dots;
    if (name == u"bars"_s)
        return MarkStyle::Bars;
    return std::nullopt;
}

QString svgClass(TextRole role)
{
    switch (role) {
    case TextRole::Symbol: return u"atom"_s;
    case TextRole::Charge: return u"charge"_s;
    case TextRole::Count: return u"count"_s;
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

QString svgClassOfDots()
{
    return u"electron"_s;
}

QString chargeText(int charge)
{
    if (charge == 0)
        return {};
    const QString sign = charge > 0 ? u"+"_s : u"\u2212"_s;
    const int size = std::abs(charge);
    return size == 1 ? sign : QString::number(size) + sign;
}

Drawing layOutMolecule(const Molecule &molecule, const MeasureText &measure, MarkStyle style, float radius)
{
    return Layout(molecule, measure, style, radius).run();
}

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
    const Metrics m(radius, measure);
    const Frame frame = frameAround(withoutMargins(atomCrop, radius), charge, measure, m);
    return {frame.brackets, frame.charge, withMargins(frame.ink, radius)};
}

} // namespace zembrel
