#pragma once

#include "Drawing.h"
#include "DrawingMetrics.h"
#include "ElectronOrigins.h"
#include "Geometry.h"
#include "MarkGroups.h"
#include "MarkPlan.h"
#include "Molecule.h"

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

namespace zembrel::drawing {

// One component's picture at one bond length, before it is put in its place.
struct Piece
{
    std::vector<PlacedText> texts;
    std::vector<PlacedLine> bondLines;
    std::vector<Group> groups;
    std::vector<PlacedShell> shells;
    QRectF ink;

    void translate(QPointF by)
    {
        for (PlacedText &t : texts)
            t.topLeft += by;
        for (PlacedShell &c : shells)
            c.centre += by;
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

// One molecule's picture: each component placed on its own, then all of them
// side by side.
class Layout
{
public:
    Layout(const Molecule &molecule, const MeasureText &measure, MarkStyle style, float radius,
        const MarkOptions &options)
        : m_molecule(molecule), m_measure(measure), m_style(style), m_options(options), m_m(radius, measure),
          m_r(radius)
    { }

    Drawing run();

private:
    // Whether the atom's formal charge stands beside its symbol.
    bool chargeShown(const Component &component, int atom) const;
    // The ordinary picture: symbols, bonds, charges and marks.
    double startingBondLength() const;
    std::optional<Piece> place(const Component &component, double bondLength) const;
    void placeBonds(const Component &component, const std::vector<QPointF> &at,
        const std::vector<QRectF> &boxes, Piece &piece, std::vector<std::vector<int>> &bondsOf,
        std::vector<Group> &bondGroups, bool &ok) const;
    bool placeMarks(const Component &component, const std::vector<QPointF> &at,
        const std::vector<QRectF> &boxes, const std::vector<std::vector<int>> &bondsOf,
        const std::vector<Group> &bondGroups, Piece &piece) const;
    bool placeCharges(const Component &component, const std::vector<QPointF> &at,
        const std::vector<QRectF> &boxes, const std::vector<std::vector<int>> &bondsOf,
        const std::vector<Group> &bondGroups, Piece &piece, std::vector<std::optional<QRectF>> &chargeBoxes,
        std::vector<QRectF> &allBoxes) const;
    double bondAngle(const std::vector<QPointF> &at, std::size_t i, int bondIndex) const;
    std::vector<Capsule> ownBondShapes(
        std::size_t i, const std::vector<PlacedLine> &bondLines, const std::vector<Group> &bondGroups) const;

    // The picture with outer shells.
    std::optional<Piece> placeShells(
        const Component &component, double shellRadius, double bondLength, bool apart) const;
    std::optional<Piece> bestShellPiece(const Component &component, double shellRadius, bool apart) const;
    double shellOverlap(int bond) const;
    std::optional<double> apartShellRadius(const Component &component) const;
    double firstShellRadius() const;

    // What both pictures use.
    void choosePositions();
    void findNearAtoms();
    std::vector<double> markDirections(int atom, const std::vector<double> &bonds, std::vector<double> near = {}) const;
    PlacedText symbolText(int atom, QPointF centre) const;
    static bool clear(const std::vector<Capsule> &shapes, double clearance, const std::vector<QRectF> &boxes,
        const std::vector<Capsule> &others);

    // The marks of a lone pair, an unpaired electron or a bond's shared pairs.
    Group markGroup(int atom, int k, QPointF centre, double angle, double d) const;
    Group shellGroup(int atom, int k, QPointF centre, double angle, double shellRadius) const;
    Group bondRows(int bond, QPointF middle, QPointF u) const;
    PlacedDot electron(QPointF centre, int origin, DotKind kind) const;
    double span(int first, int second) const;
    double reachOf(int origin) const;

    void countElectrons(const Component &component, const Piece &piece) const;
    const Molecule &m_molecule;
    const MeasureText &m_measure;
    MarkStyle m_style;
    MarkOptions m_options;
    Metrics m_m;
    float m_r;
    ElectronOrigins m_origins;
    MarkPlan m_plan;
    // Per atom, where this picture draws it, in bond lengths.
    std::vector<QPointF> m_at;
    // Per atom, the directions of the atoms of its component not bonded to
    // it that stand near: the same at every bond length a picture tries.
    std::vector<std::vector<double>> m_nearAtoms;
};

} // namespace zembrel::drawing
