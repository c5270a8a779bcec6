#include "ComponentLayout.h"

#include "MarkPlaces.h"

#include "Chemistry.h"
#include "Directions.h"
#include "DrawingGeometry.h"

#include <algorithm>

namespace zembrel::drawing {

// The bond length that leaves room between bonded symbols for the marks of
// the bond: its shared pairs side by side with a clearance to either symbol,
// or a bond line long enough to read.
double Layout::startingBondLength() const
{
    double length = 0;
    for (std::size_t index = 0; index < m_molecule.bonds.size(); ++index) {
        const Bond &bond = m_molecule.bonds[index];
        const Atom &a = m_molecule.atoms[std::size_t(bond.begin)];
        const Atom &b = m_molecule.atoms[std::size_t(bond.end)];
        const QPointF d = m_at[std::size_t(bond.end)] - m_at[std::size_t(bond.begin)];
        const double units = distance(d, {});
        if (units < 1e-6)
            continue;
        const QPointF u = d / units;
        const TextSize sa = m_measure(a.symbol, TextRole::Symbol), sb = m_measure(b.symbol, TextRole::Symbol);
        const QRectF boxA(-sa.width / 2.0, -sa.height / 2.0, sa.width, sa.height);
        const QRectF boxB(-sb.width / 2.0, -sb.height / 2.0, sb.width, sb.height);
        const double ta = exitDistance({}, u, boxA) + m_m.lineMargin;
        const double tb = exitDistance({}, -u, boxB) + m_m.lineMargin;
        double marks = (bond.order - 1) * m_m.pairSpacing + 2 * m_m.r + 2 * m_m.clearance;
        if (m_style == MarkStyle::DotCross) {
            // A row of two marks along the bond, each a diameter from the symbols.
            double reach = 0;
            for (const int origin : m_origins.ofBond[index])
                reach = std::max(reach, reachOf(origin));
            marks = 8 * reach + m_m.r;
        }
        const double needed = std::max(marks, 0.6 * m_m.symbolHeight);
        length = std::max(length, (needed + ta + tb) / units);
    }
    return length;
}

PlacedText Layout::symbolText(int atom, QPointF centre) const
{
    const Atom &a = m_molecule.atoms[std::size_t(atom)];
    PlacedText text;
    text.text = a.symbol;
    text.size = m_measure(a.symbol, TextRole::Symbol);
    text.topLeft = centre - QPointF(text.size.width / 2.0, text.size.height / 2.0);
    text.atom = atom;
    return text;
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
        if (m_style == MarkStyle::Dots || m_style == MarkStyle::DotCross) {
            const double ta = exitDistance(at[a], u, grownA);
            const double tb = exitDistance(at[b], -u, grownB);
            if (length - ta - tb <= 0) {
                ok = false;
                continue;
            }
            const QPointF middle = at[a] + u * (ta + (length - ta - tb) / 2);
            if (m_style == MarkStyle::DotCross) {
                bondGroups.push_back(bondRows(index, middle, u));
                continue;
            }
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

// The direction from atom `i` along bond `bondIndex`.
double Layout::bondAngle(const std::vector<QPointF> &at, std::size_t i, int bondIndex) const
{
    const Bond &bond = m_molecule.bonds[std::size_t(bondIndex)];
    const auto other = std::size_t(bond.begin == int(i) ? bond.end : bond.begin);
    return angleOf(at[other] - at[i]);
}

// The shapes of an atom's bonds: its bond lines, or its bonds' shared dots.
std::vector<Capsule> Layout::ownBondShapes(
    std::size_t i, const std::vector<PlacedLine> &bondLines, const std::vector<Group> &bondGroups) const
{
    std::vector<Capsule> shapes;
    for (const PlacedLine &l : bondLines) {
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
}

// Formal charges inside a neutral molecule: a superscript at the upper right
// of their atom; where a bond goes that way, out in the middle of the atom's
// widest gap between bonds, as near as it fits. False where one does not fit.
bool Layout::placeMarks(const Component &component, const std::vector<QPointF> &at,
    const std::vector<QRectF> &boxes, const std::vector<std::vector<int>> &bondsOf,
    const std::vector<Group> &bondGroups, Piece &piece) const
{
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
            taken.push_back(bondAngle(at, i, b));
        const std::vector<double> directions = markDirections(index, taken);
        for (const double direction : directions) {
            for (const int b : bondsOf[i]) {
                if (angleBetween(direction, bondAngle(at, i, b)) < kPi / 6 - 1e-9) {
                    throw ChemistryError{Chemistry::tr("Atom %1 (%2) has too many bonds and electron pairs "
                                                       "to draw them apart.")
                                             .arg(atom.source)
                                             .arg(atom.symbol)};
                }
            }
        }
        // The atom's own marks keep clear of its symbol and its bonds.
        const std::vector<QRectF> ownBoxes{boxes[i]};
        const std::vector<Capsule> ownBonds = ownBondShapes(i, piece.bondLines, bondGroups);
        // Each mark as near its symbol as it fits; then all of them moved out
        // together, as little as keeps them apart, so the atom stays symmetric.
        std::vector<double> nearest;
        for (std::size_t k = 0; k < directions.size(); ++k) {
            const auto fits = [&](double d) {
                const Group g = markGroup(index, int(k), at[i], directions[k], d);
                return clear(g.shapes(), g.clearance, ownBoxes, ownBonds);
            };
            // Nothing fits before the symbol's edge less a pair's width.
            const double width = m_style == MarkStyle::DotCross
                ? 1.5 * markGroup(index, int(k), at[i], 0, 0).clearance
                : m_m.pairSpacing;
            const double start = std::max(0.0, exitDistance(at[i], unit(directions[k]), boxes[i]) - width);
            double d = start;
            while (d <= farthest && !fits(d))
                d += step;
            if (d > farthest)
                return false;
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
                marks.push_back(markGroup(index, int(k), at[i], directions[k], nearest[k] + extra));
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
            return false;
        for (Group &g : marksAt(extra))
            piece.groups.push_back(std::move(g));
    }
    return true;
}
bool Layout::chargeShown(const Component &component, int atom) const
{
    if (m_molecule.atoms[std::size_t(atom)].charge == 0 || component.atoms.size() == 1)
        return false;
    // Resonance forms differ in their charges as much as in their bonds.
    if (component.forms > 1)
        return true;
    switch (m_options.charges) {
    case FormalCharges::All: return true;
    case FormalCharges::None: return false;
    case FormalCharges::Auto: break;
    }
    if (component.charge == 0)
        return true;
    int charged = 0;
    for (const int index : component.atoms) {
        const int charge = m_molecule.atoms[std::size_t(index)].charge;
        if (charge != 0 && (++charged > 1 || charge != component.charge))
            return true;
    }
    return false;
}

// Formal charges: at the first corner of their
// atom that no bond or mark comes near (upper right first, as a superscript
// stands), as near the symbol as it fits; else in the widest gap.
bool Layout::placeCharges(const Component &component, const std::vector<QPointF> &at,
    const std::vector<QRectF> &boxes, const std::vector<std::vector<int>> &bondsOf,
    const std::vector<Group> &bondGroups, Piece &piece, std::vector<std::optional<QRectF>> &chargeBoxes,
    std::vector<QRectF> &allBoxes) const
{
    // Bond lines may pass a text by a unit; shared dots keep a clearance.
    double textToBond = 1.0;
    for (const Group &g : bondGroups)
        textToBond = std::max(textToBond, g.clearance);
    const double farthest = 4 * m_m.symbolHeight + 20 * m_m.r;

    for (const int index : component.atoms) {
        const Atom &atom = m_molecule.atoms[std::size_t(index)];
        const auto i = std::size_t(index);
        if (!chargeShown(component, index))
            continue;
        PlacedText text;
        text.text = chargeText(atom.charge);
        text.role = TextRole::Charge;
        text.atom = index;
        text.size = m_measure(text.text, TextRole::Charge);
        const QSizeF size(text.size.width, text.size.height);
        const std::vector<Capsule> bonds = ownBondShapes(i, piece.bondLines, bondGroups);
        std::vector<double> bondDirections, markDirections;
        for (const int b : bondsOf[i])
            bondDirections.push_back(bondAngle(at, i, b));
        std::vector<const Group *> marks;
        for (const Group &g : piece.groups) {
            if (g.atom != index)
                continue;
            marks.push_back(&g);
            QPointF middle;
            for (const PlacedDot &dot : g.dots)
                middle += dot.centre / double(g.dots.size() + g.lines.size());
            for (const PlacedLine &line : g.lines)
                middle += (line.from + line.to) / 2 / double(g.dots.size() + g.lines.size());
            markDirections.push_back(angleOf(middle - at[i]));
        }
        const auto fits = [&](const QRectF &r) {
            if (r.intersects(boxes[i]))
                return false;
            for (const Capsule &c : bonds) {
                if (nearer(c, r, textToBond))
                    return false;
            }
            for (const Group *g : marks) {
                for (const Capsule &c : g->shapes()) {
                    if (nearer(c, r, g->clearance))
                        return false;
                }
            }
            return true;
        };
        // The first direction where the charge fits beside the symbol; where
        // none does, the one it fits nearest in. Beside reaches a little past
        // a symbol's height: the marks of a dot-and-cross pair are larger,
        // and an upper right corner a little farther out still reads as the
        // atom's, where the next corner would not read as a superscript.
        std::optional<QRectF> spot;
        double nearest = farthest;
        const double beside = 1.1 * m_m.symbolHeight;
        for (const double direction : chargeDirections(bondDirections, markDirections)) {
            const QPointF e = unit(direction);
            const auto box = [&](double d) { return QRectF(at[i] + d * e - QPointF(size.width(), size.height()) / 2, size); };
            double d = 0;
            while (d <= nearest && !fits(box(d)))
                d += 0.5;
            if (d > nearest)
                continue;
            spot = box(d);
            nearest = d;
            if (d <= beside)
                break;
        }
        if (!spot)
            return false;
        text.topLeft = spot->topLeft();
        chargeBoxes[i] = *spot;
        allBoxes.push_back(*spot);
        piece.texts.push_back(text);
    }
    return true;
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
        const auto i = std::size_t(index);
        at[i] = m_at[i] * bondLength;
        const PlacedText text = symbolText(index, at[i]);
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

    // The marks first: a charge takes a corner they leave free.
    if (!placeMarks(component, at, boxes, bondsOf, bondGroups, piece))
        return std::nullopt;
    if (!placeCharges(component, at, boxes, bondsOf, bondGroups, piece, chargeBoxes, allBoxes))
        return std::nullopt;
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

} // namespace zembrel::drawing
