#include "ComponentLayout.h"

#include "Chemistry.h"
#include "Directions.h"
#include "DrawingGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace zembrel::drawing {

namespace {

// How far a rectangle lies from a point: its nearest and its farthest point.
std::pair<double, double> reachOfRect(QPointF centre, const QRectF &rect)
{
    const double dx = std::max({rect.left() - centre.x(), 0.0, centre.x() - rect.right()});
    const double dy = std::max({rect.top() - centre.y(), 0.0, centre.y() - rect.bottom()});
    const double fx = std::max(std::abs(rect.left() - centre.x()), std::abs(rect.right() - centre.x()));
    const double fy = std::max(std::abs(rect.top() - centre.y()), std::abs(rect.bottom() - centre.y()));
    return {std::hypot(dx, dy), std::hypot(fx, fy)};
}

// A formal charge inside a neutral molecule, at the upper right of its
// symbol as a superscript stands: inside the atom's shell.
PlacedText chargeBeside(const PlacedText &symbol, int charge, const MeasureText &measure)
{
    PlacedText text;
    text.text = chargeText(charge);
    text.role = TextRole::Charge;
    text.atom = symbol.atom;
    text.size = measure(text.text, TextRole::Charge);
    const double capTop = symbol.topLeft.y() + 0.21 * symbol.size.ascent;
    text.topLeft = QPointF(symbol.box().right(), capTop - text.size.height / 2.0);
    return text;
}

} // namespace

// The least shell radius that holds every atom's symbol (and charge) with a
// lone pair's room between them and the circle.
double Layout::firstShellRadius() const
{
    double reach = m_m.r;
    for (const auto *list : {&m_origins.ofAtom, &m_origins.ofBond}) {
        for (const std::vector<int> &electrons : *list) {
            for (const int origin : electrons)
                reach = std::max(reach, reachOf(origin));
        }
    }
    double radius = 0;
    for (const Component &component : m_molecule.components) {
        for (const int index : component.atoms) {
            const Atom &atom = m_molecule.atoms[std::size_t(index)];
            const PlacedText symbol = symbolText(index, {});
            QRectF core = symbol.box();
            if (chargeShown(component, index))
                core |= chargeBeside(symbol, atom.charge, m_measure).box();
            const double corner = reachOfRect({}, core).second;
            radius = std::max(radius, corner + std::max(3 * reach, m_m.shellWidth / 2 + m_m.shellClearance));
        }
    }
    return radius;
}

// The component with every atom's shell `shellRadius` round, its atoms
// `bondLength` apart; nothing when a mark or a circle does not stand clear,
// or, when the circles must be `apart`, when those of atoms not bonded meet.
std::optional<Piece> Layout::placeShells(
    const Component &component, double shellRadius, double bondLength, bool apart) const
{
    const std::size_t atomCount = m_molecule.atoms.size();
    const double rs = shellRadius, lw = m_m.shellWidth;
    std::vector<QPointF> at(atomCount);
    std::vector<std::vector<int>> bondsOf(atomCount);
    std::vector<QRectF> boxes;
    Piece piece;
    for (const int b : component.bonds) {
        const Bond &bond = m_molecule.bonds[std::size_t(b)];
        bondsOf[std::size_t(bond.begin)].push_back(b);
        bondsOf[std::size_t(bond.end)].push_back(b);
    }
    for (const int index : component.atoms) {
        const Atom &atom = m_molecule.atoms[std::size_t(index)];
        const auto i = std::size_t(index);
        at[i] = m_at[i] * bondLength;
        const PlacedText symbol = symbolText(index, at[i]);
        boxes.push_back(symbol.box());
        piece.texts.push_back(symbol);
        if (chargeShown(component, index)) {
            piece.texts.push_back(chargeBeside(symbol, atom.charge, m_measure));
            boxes.push_back(piece.texts.back().box());
        }
        // A cation that lost its outer shell whole has no circle left.
        if (atom.lonePairs + atom.radicals > 0 || !bondsOf[i].empty())
            piece.shells.push_back({at[i], float(rs), float(lw), index, {}});
    }

    for (const int b : component.bonds) {
        const Bond &bond = m_molecule.bonds[std::size_t(b)];
        const QPointF d = at[std::size_t(bond.end)] - at[std::size_t(bond.begin)];
        const double length = distance(d, {});
        if (length < 1e-6)
            return std::nullopt;
        piece.groups.push_back(
            bondRows(b, (at[std::size_t(bond.begin)] + at[std::size_t(bond.end)]) / 2, d / length));
    }
    for (const int index : component.atoms) {
        const Atom &atom = m_molecule.atoms[std::size_t(index)];
        const auto i = std::size_t(index);
        std::vector<double> taken;
        for (const int b : bondsOf[i]) {
            const Bond &bond = m_molecule.bonds[std::size_t(b)];
            taken.push_back(angleOf(at[std::size_t(bond.begin == index ? bond.end : bond.begin)] - at[i]));
        }
        // Lone pairs also keep off the circles of atoms near but not bonded,
        // where they would seem to be shared.
        std::vector<double> near;
        for (const PlacedShell &shell : piece.shells) {
            const QPointF d = shell.centre - at[i];
            const bool along = std::any_of(
                taken.begin(), taken.end(), [&](double a) { return angleBetween(a, angleOf(d)) < 1e-3; });
            if (shell.atom != index && distance(d, {}) < 3 * rs && !along)
                near.push_back(angleOf(d));
        }
        const std::vector<double> directions = markDirections(index, taken, near);
        for (std::size_t k = 0; k < directions.size(); ++k) {
            for (const double bond : taken) {
                if (angleBetween(directions[k], bond) < kPi / 6 - 1e-9) {
                    throw ChemistryError{Chemistry::tr("Atom %1 (%2) has too many bonds and electron pairs "
                                                       "to draw them apart.")
                                             .arg(atom.source)
                                             .arg(atom.symbol)};
                }
            }
            piece.groups.push_back(shellGroup(index, int(k), at[i], directions[k], rs));
        }
    }

    // Symbols apart; each shell clear of every text, and of the shells of
    // atoms not bonded to its own.
    for (std::size_t x = 0; x < boxes.size(); ++x) {
        for (std::size_t y = x + 1; y < boxes.size(); ++y) {
            if (boxes[x].intersects(boxes[y]))
                return std::nullopt;
        }
    }
    const auto bonded = [&](int a, int b) {
        const auto &list = bondsOf[std::size_t(a)];
        return std::any_of(list.begin(), list.end(), [&](int bond) {
            const Bond &x = m_molecule.bonds[std::size_t(bond)];
            return x.begin == b || x.end == b;
        });
    };
    for (std::size_t x = 0; x < piece.shells.size(); ++x) {
        const PlacedShell &shell = piece.shells[x];
        for (const QRectF &box : boxes) {
            const auto [nearest, farthest] = reachOfRect(shell.centre, box);
            const double c = lw / 2 + m_m.shellClearance;
            if (!(rs - c >= farthest - 1e-6 || rs + c <= nearest + 1e-6))
                return std::nullopt;
        }
        for (std::size_t y = x + 1; y < piece.shells.size(); ++y) {
            const PlacedShell &other = piece.shells[y];
            if (apart && !bonded(shell.atom, other.atom)
                && distance(shell.centre, other.centre) < 2 * rs + 2 * lw)
                return std::nullopt;
        }
    }
    // Marks apart from each other and from the texts; a lone pair on its
    // atom's circle and outside all others; a shared pair inside the circles
    // of its bond's atoms and outside all others, half a dot from every line.
    const double gap = m_m.r + lw / 2;
    for (std::size_t x = 0; x < piece.groups.size(); ++x) {
        const Group &g = piece.groups[x];
        const std::vector<Capsule> shapes = g.shapes();
        if (!clear(shapes, g.clearance, boxes, {}))
            return std::nullopt;
        for (std::size_t y = x + 1; y < piece.groups.size(); ++y) {
            if (!clear(
                    shapes, std::max(g.clearance, piece.groups[y].clearance), {}, piece.groups[y].shapes()))
                return std::nullopt;
        }
        int inside[2] = {g.atom, -1};
        if (g.bond >= 0) {
            inside[0] = m_molecule.bonds[std::size_t(g.bond)].begin;
            inside[1] = m_molecule.bonds[std::size_t(g.bond)].end;
        }
        for (const PlacedShell &shell : piece.shells) {
            for (const PlacedDot &dot : g.dots) {
                const double d = distance(dot.centre, shell.centre);
                if (g.bond < 0 && shell.atom == g.atom)
                    continue;
                if (shell.atom == inside[0] || shell.atom == inside[1]) {
                    if (d + dot.radius + gap > rs + 1e-6)
                        return std::nullopt;
                } else if (d - dot.radius - gap < rs - 1e-6) {
                    return std::nullopt;
                }
            }
        }
    }

    // A shell's line stops where it would run through a ring or a triangle
    // on it, at the mark's outline.
    for (PlacedShell &shell : piece.shells) {
        for (const Group &g : piece.groups) {
            if (g.bond >= 0 || g.atom != shell.atom)
                continue;
            for (const PlacedDot &dot : g.dots) {
                double outline = 0;
                if (dot.shape == MarkShape::Ring)
                    outline = dot.radius - dot.stroke / 2.0;
                else if (dot.shape == MarkShape::Triangle)
                    outline = 0.6 * (dot.radius - dot.stroke);
                else
                    continue;
                const double direction = angleOf(dot.centre - shell.centre);
                const double half = 2 * std::asin(std::min(1.0, outline / (2 * rs)));
                shell.gaps.emplace_back(direction - half, direction + half);
            }
        }
        std::sort(shell.gaps.begin(), shell.gaps.end());
    }

    QRectF ink;
    for (const PlacedText &t : piece.texts)
        ink |= t.box();
    for (const PlacedShell &shell : piece.shells) {
        const double outer = rs + lw / 2;
        ink |= QRectF(shell.centre - QPointF(outer, outer), QSizeF(2 * outer, 2 * outer));
    }
    for (const Group &g : piece.groups) {
        for (const PlacedDot &d : g.dots)
            ink |= inkOf(d);
    }
    piece.ink = ink;
    return piece;
}

// How much the circles of a bond's atoms must overlap to hold its rows:
// two marks across, half a dot from either circle.
double Layout::shellOverlap(int bond) const
{
    const Group rows = bondRows(bond, {}, {1, 0});
    double across = 0;
    for (const PlacedDot &dot : rows.dots)
        across = std::max(across, std::abs(dot.centre.x()) + dot.radius);
    return 2 * (across + m_m.r + m_m.shellWidth / 2);
}

// The least shell radius at which bonded atoms' circles overlap enough while
// those of atoms not bonded stand apart; nothing where no radius does that
// (an atom not bonded nearer than a bond's length).
std::optional<double> Layout::apartShellRadius(const Component &component) const
{
    double nearest = std::numeric_limits<double>::max();
    for (std::size_t x = 0; x < component.atoms.size(); ++x) {
        for (std::size_t y = x + 1; y < component.atoms.size(); ++y) {
            const int a = component.atoms[x], b = component.atoms[y];
            const bool bonded = std::any_of(component.bonds.begin(), component.bonds.end(), [&](int k) {
                const Bond &bond = m_molecule.bonds[std::size_t(k)];
                return (bond.begin == a && bond.end == b) || (bond.begin == b && bond.end == a);
            });
            if (!bonded) {
                nearest = std::min(nearest,
                    distance(m_at[std::size_t(a)], m_at[std::size_t(b)]));
            }
        }
    }
    // (2 rs + 2 w) / nearest <= L <= (2 rs - overlap) / length, for every bond.
    const double w = m_m.shellWidth;
    double radius = 0;
    for (const int b : component.bonds) {
        const Bond &bond = m_molecule.bonds[std::size_t(b)];
        const double length = distance(m_at[std::size_t(bond.begin)], m_at[std::size_t(bond.end)]);
        if (length >= nearest - 1e-9)
            return std::nullopt;
        radius = std::max(radius, (shellOverlap(b) / length + 2 * w / nearest) / (2 / length - 2 / nearest));
    }
    return radius;
}

// The component at the least overlap of its bonded shells that holds its
// shared pairs, or with more overlap where that is crowded.
std::optional<Piece> Layout::bestShellPiece(const Component &component, double shellRadius, bool apart) const
{
    if (component.bonds.empty())
        return placeShells(component, shellRadius, 1, apart);
    double longest = std::numeric_limits<double>::max();
    for (const int b : component.bonds) {
        const Bond &bond = m_molecule.bonds[std::size_t(b)];
        const double units = distance(m_at[std::size_t(bond.begin)], m_at[std::size_t(bond.end)]);
        if (units < 1e-6)
            return std::nullopt;
        longest = std::min(longest, (2 * shellRadius - shellOverlap(b)) / units);
    }
    constexpr int kSteps = 12;
    constexpr double kShorter = 0.96;
    double length = longest;
    for (int step = 0; step < kSteps && length > 0; ++step, length *= kShorter) {
        if (std::optional<Piece> piece = placeShells(component, shellRadius, length, apart))
            return piece;
    }
    return std::nullopt;
}

} // namespace zembrel::drawing
