#pragma once

#include "Molecule.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace zembrel {

// How the valence electrons are shown.
enum class MarkStyle {
    Lewis, // bonds as 1-3 lines, lone pairs as pairs of dots, radicals as dots
    Dots, // every valence electron a dot, shared pairs across the bond
    Bars, // bonds as lines, lone pairs as short bars, radicals as dots
    DotCross, // every valence electron in the mark of the atom it came from
    // The molecule's shape round its central atom: bonds in the page's plane,
    // towards the reader and away, the centre's lone pairs, a bond angle and
    // the shape's name. Drawn by layOutShape, not by layOutMolecule.
    Shape,
};

// "lewis", "dots", "bars", "dot-cross", "shape"; nothing for another word.
std::optional<MarkStyle> markStyleNamed(const QString &name);

// The marks of a dot-and-cross picture, given out in this order. Each reads
// apart from the others in black and white: filled or open, round or
// angular, and the cross made of strokes alone.
enum class MarkShape {
    Dot, // a filled disc
    Cross, // an upright ×
    Ring, // an open circle
    Square, // a filled square: filled as the dot is, but with corners
    Triangle, // an open triangle, point up: open as the ring is, but with corners
};
inline constexpr int kMarkShapes = 5;

// "dot", "cross", "ring", "square", "triangle"; nothing for another word.
std::optional<MarkShape> markShapeNamed(const QString &name);
QString markShapeName(MarkShape shape);

// Which atoms' formal charges a picture shows beside their symbols.
enum class FormalCharges {
    // In a neutral molecule every one; inside an ion's brackets only where
    // they say more than its charge does: two or more atoms charged, or the
    // one charged atom's charge not the ion's (nitrate, not ammonium).
    Auto,
    All, // every atom's, in an ion too
    None, // none: an ion shows its net charge alone
};

// "auto", "all", "none"; nothing for another word.
std::optional<FormalCharges> formalChargesNamed(const QString &name);

// What a picture shows beyond its style.
struct MarkOptions
{
    // An ion of one atom shows its charge at its brackets alone, whatever this says.
    FormalCharges charges = FormalCharges::Auto;
    // Per atomic number, the mark of the element's electrons in a dot-cross
    // picture; the other elements take the marks left, in order of their
    // first appearance.
    std::map<int, MarkShape> marks;
    // Each atom's outer shell as a circle with its electrons on it, bonded
    // atoms' circles overlapping around their shared pairs; dots and
    // dot-cross only.
    bool shells = false;
};

inline constexpr float kMinRadius = 0.5F;
inline constexpr float kMaxRadius = 10.0F;
inline constexpr float kDefaultRadius = 2.0F;

enum class TextRole {
    Symbol,
    Charge,
    Count,
    ResonanceArrow,
    Subscript, // a count of hydrogens in a group written as one label ("CH₃")
    Angle, // a bond angle's value
    ShapeName, // a shape's name under its picture
};

// A string's size as the renderer's font draws it for a role, in scale units
// (pixels at 96 dpi).
struct TextSize
{
    float width = 0;
    float height = 0;
    float ascent = 0;
};
using MeasureText = std::function<TextSize(const QString &text, TextRole role)>;

struct PlacedText
{
    QString text;
    QPointF topLeft;
    TextSize size;
    TextRole role = TextRole::Symbol;
    int atom = -1; // the atom it names or whose charge it is; -1 for none

    QRectF box() const { return {topLeft, QSizeF(size.width, size.height)}; }
};

enum class DotKind { LonePair, Radical, Bond };

// One electron.
struct PlacedDot
{
    QPointF centre;
    float radius = 0; // all of its ink lies this near its centre
    DotKind kind = DotKind::LonePair;
    int atom = -1; // the atom the electron came from; -1 for one from outside the picture
    int bond = -1; // the bond it is shared in, for DotKind::Bond
    int mark = -1; // dots of one mark (a lone pair, a bond's shared pairs) share it
    MarkShape shape = MarkShape::Dot;
    float stroke = 0; // the line width of an open mark (cross, ring, triangle)
    int host = -1; // the atom whose lone pair or unpaired electron it is; -1 for a shared one
};

// An atom's outer shell: a circle around its symbol.
struct PlacedShell
{
    QPointF centre;
    float radius = 0; // to the middle of its line
    float width = 1;
    int atom = -1;
    // Where the line stops short of a ring or a triangle standing on it, so
    // that the mark stays open: spans of direction (radians, y down as on the
    // picture, `from` < `to`), in order.
    std::vector<std::pair<double, double>> gaps;
};

enum class LineKind { Bond, LonePair, Bracket };

struct PlacedLine
{
    QPointF from;
    QPointF to;
    float width = 1;
    LineKind kind = LineKind::Bond;
    int atom = -1; // the owner of a lone pair
    int bond = -1;
    int mark = -1; // a lone-pair bar's own number among the marks; -1 for other lines
};

// A bond out of the page: a solid wedge towards the reader, a hashed one
// away, narrow at the central atom and wide at the other.
struct PlacedWedge
{
    QPointF narrow;
    QPointF wide;
    float narrowWidth = 1;
    float wideWidth = 1;
    bool hashed = false;
    float stroke = 1; // a hash's line width
    int bond = -1;

    // The wedge's outline, narrow end first.
    std::array<QPointF, 4> corners() const;
};

// A bond angle's arc: from `from` to `to` radians (y down as on the picture),
// turning the way the angles grow.
struct PlacedArc
{
    QPointF centre;
    float radius = 0; // to the middle of its line
    float width = 1;
    double from = 0;
    double to = 0;
};

// The picture as primitives in scale units. `crop` holds all of it with the
// margins of the atom picture; its top left corner is (0, 0).
struct Drawing
{
    std::vector<PlacedText> texts;
    std::vector<PlacedDot> dots;
    std::vector<PlacedLine> lines;
    std::vector<PlacedShell> shells;
    std::vector<PlacedWedge> wedges;
    std::vector<PlacedArc> arcs;
    QRectF crop;

    void translate(QPointF by); // everything, the crop too
};

// The class each primitive carries in an SVG picture.
// atom, charge formal, charge (an ion's), count, resonance-arrow, subscript, angle, shape-name
QString svgClass(const PlacedText &text);
QString svgClass(LineKind kind); // bond, lone-pair, bracket
QString svgClass(MarkShape shape); // electron dot, electron cross ...
QString svgClassOfShells(); // shell
QString svgClass(const PlacedWedge &wedge); // bond wedge, bond hash
QString svgClassOfArcs(); // angle-arc

// A charge as printed: "+", "−", "2+", "3−" (U+2212 for minus).
QString chargeText(int charge);

// Lays the molecule out with dots of `radius` (kMinRadius..kMaxRadius), text
// measured by `measure`. Throws ChemistryError when the marks cannot be
// placed clear of each other, the electrons drawn do not add up, a
// dot-and-cross picture needs more marks than there are, shells are asked
// of a style without them, or the style is the shape's.
Drawing layOutMolecule(const Molecule &molecule, const MeasureText &measure, MarkStyle style,
    float radius = kDefaultRadius, const MarkOptions &options = {});

// What a practice sheet leaves for the student to draw in.
struct Blanks
{
    bool lonePairs = false; // lone pairs and unpaired electrons
    bool charges = false; // atoms' formal charges; an ion's own stays, as it is part of the question
    bool bonds = false; // bond lines and the shared pairs of dots

    bool any() const { return lonePairs || charges || bonds; }
};

// "lone-pairs,charges,bonds" (any of them, comma-separated); nothing for a
// word that is none of them.
std::optional<Blanks> blanksNamed(const QString &list);

// The drawing with the blanks left out and its crop kept, so that the
// picture keeps its size and the student's marks have their room.
Drawing withBlanks(Drawing drawing, const Blanks &blanks);

// Square brackets around the atom picture and its charge at their upper
// right, for a one-atom ion.
struct IonFrame
{
    std::vector<PlacedLine> brackets; // class bracket
    PlacedText charge;
    QRectF crop; // holds the atom picture's crop, the brackets and the charge
};

// The frame for the atom picture whose crop is `atomCrop`, drawn at `radius`
// with symbols as `measure` gives them. Throws ChemistryError for a charge
// of 0 or beyond ±kMaxFormalCharge.
IonFrame ionFrame(const QRectF &atomCrop, int charge, const MeasureText &measure, float radius);

} // namespace zembrel
