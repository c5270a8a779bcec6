#include "Drawing.h"

#include "Chemistry.h"
#include "ComponentLayout.h"
#include "ElectronOrigins.h"
#include "Geometry.h"
#include "IonFrame.h"
#include "MarkPlan.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zembrel {

namespace drawing {

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

// A picture with outer shells needs every bond of a component one length, as
// bonded atoms' circles overlap alike: where the textbook layout drew a
// branch longer, such a component stands as the toolkit depicted it.
void Layout::choosePositions()
{
    m_at.clear();
    for (const Atom &atom : m_molecule.atoms)
        m_at.push_back(atom.position);
    if (!m_options.shells)
        return;
    for (const Component &component : m_molecule.components) {
        const auto length = [&](int b) {
            const Bond &bond = m_molecule.bonds[std::size_t(b)];
            return distance(m_at[std::size_t(bond.begin)], m_at[std::size_t(bond.end)]);
        };
        const bool even = std::all_of(component.bonds.begin(), component.bonds.end(),
            [&](int b) { return std::abs(length(b) - length(component.bonds.front())) < 1e-6; });
        if (component.textbook && !even) {
            for (const int atom : component.atoms)
                m_at[std::size_t(atom)] = m_molecule.atoms[std::size_t(atom)].depiction;
        }
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
    if (m_style == MarkStyle::Shape)
        throw ChemistryError{Chemistry::tr("A molecule's shape is drawn by its own layout.")};
    choosePositions();
    // Bonds across each other stay across at any length, and shared dots
    // would stand where no bond is.
    for (const Component &component : m_molecule.components) {
        for (std::size_t x = 0; x < component.bonds.size(); ++x) {
            const Bond &p = m_molecule.bonds[std::size_t(component.bonds[x])];
            for (std::size_t y = x + 1; y < component.bonds.size(); ++y) {
                const Bond &q = m_molecule.bonds[std::size_t(component.bonds[y])];
                if (p.begin == q.begin || p.begin == q.end || p.end == q.begin || p.end == q.end)
                    continue;
                const auto at = [&](int atom) { return m_at[std::size_t(atom)]; };
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

    if (m_options.shells && m_style != MarkStyle::Dots && m_style != MarkStyle::DotCross)
        throw ChemistryError{Chemistry::tr("Shells are drawn with dots and with dots and crosses only.")};
    if (m_style == MarkStyle::DotCross) {
        m_origins = electronOrigins(m_molecule);
        m_plan = planMarks(m_molecule, m_origins, m_options.marks);
    } else {
        m_origins = ownElectrons(m_molecule);
    }
    findNearAtoms();

    std::vector<Piece> pieces;
    if (m_options.shells) {
        // One shell size for the whole picture; larger where a part is
        // crowded. Atoms not bonded keep their circles apart where a larger
        // size does that (the hydrogens of CH4 and NH4+) and is not much
        // larger; else (ethane's and propane's hydrogens, or much larger)
        // their circles may meet, their electrons still outside each
        // other's circles.
        constexpr int kAttempts = 40;
        constexpr int kApartAttempts = 6;
        constexpr double kGrowth = 1.06;
        constexpr double kLargestApart = 3;
        const double first = firstShellRadius();
        std::optional<double> apartFrom = first;
        for (const Component &component : m_molecule.components) {
            const std::optional<double> radius = apartShellRadius(component);
            apartFrom = radius && apartFrom ? std::optional(std::max(*apartFrom, *radius)) : std::nullopt;
        }
        if (apartFrom && *apartFrom > kLargestApart * first)
            apartFrom.reset();
        for (const bool apart : {true, false}) {
            if (apart && !apartFrom)
                continue;
            double shellRadius = apart ? *apartFrom : first;
            for (int attempt = 0; attempt < (apart ? kApartAttempts : kAttempts)
                 && pieces.size() < m_molecule.components.size();
                 ++attempt) {
                pieces.clear();
                for (const Component &component : m_molecule.components) {
                    std::optional<Piece> piece = bestShellPiece(component, shellRadius, apart);
                    if (!piece)
                        break;
                    pieces.push_back(std::move(*piece));
                }
                shellRadius *= kGrowth;
            }
            if (pieces.size() == m_molecule.components.size())
                break;
        }
    } else {
        // Marks that do not fit at one bond length get more room at a longer one.
        constexpr int kAttempts = 10;
        constexpr double kGrowth = 1.2;
        double bondLength = startingBondLength();
        for (int attempt = 0; attempt < kAttempts && pieces.size() < m_molecule.components.size();
             ++attempt) {
            pieces.clear();
            for (const Component &component : m_molecule.components) {
                std::optional<Piece> piece = place(component, bondLength);
                if (!piece)
                    break;
                pieces.push_back(std::move(*piece));
            }
            bondLength *= kGrowth;
        }
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
            double clearance = m_m.clearance;
            for (const Group &g : piece.groups)
                clearance = std::max(clearance, g.clearance);
            frame = frameAround(piece.ink, component.charge, m_measure, m_m, clearance);
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
        if (component.form > 0) {
            // Between two forms of one species, the double-headed arrow
            // textbooks draw, on the middle line, a component gap either side.
            PlacedText arrow;
            arrow.text = QStringLiteral("\u2194");
            arrow.role = TextRole::ResonanceArrow;
            arrow.size = m_measure(arrow.text, TextRole::ResonanceArrow);
            arrow.topLeft = QPointF(cursor, -arrow.size.height / 2.0);
            drawing.texts.push_back(arrow);
            ink |= arrow.box();
            cursor = arrow.box().right() + m_m.componentGap;
        }
        const QPointF shift(cursor - unitInk.left(), 0);
        cursor = unitInk.right() + shift.x() + m_m.componentGap;
        piece.translate(shift);
        for (PlacedText &t : piece.texts)
            drawing.texts.push_back(t);
        for (const PlacedLine &l : piece.bondLines)
            drawing.lines.push_back(l);
        for (const PlacedShell &c : piece.shells)
            drawing.shells.push_back(c);
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

    drawing.crop = withMargins(ink, m_m.r);
    drawing.translate(-drawing.crop.topLeft());
    return drawing;
}

} // namespace drawing

void Drawing::translate(QPointF by)
{
    for (PlacedText &t : texts)
        t.topLeft += by;
    for (PlacedDot &d : dots)
        d.centre += by;
    for (PlacedLine &l : lines) {
        l.from += by;
        l.to += by;
    }
    for (PlacedShell &c : shells)
        c.centre += by;
    for (PlacedWedge &w : wedges) {
        w.narrow += by;
        w.wide += by;
    }
    for (PlacedArc &a : arcs)
        a.centre += by;
    crop.translate(by);
}

Drawing layOutMolecule(const Molecule &molecule, const MeasureText &measure, MarkStyle style, float radius,
    const MarkOptions &options)
{
    return drawing::Layout(molecule, measure, style, radius, options).run();
}

} // namespace zembrel
