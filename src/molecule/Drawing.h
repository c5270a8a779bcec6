#pragma once

#include "Molecule.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace zembrel {

// How the valence electrons are shown.
enum class MarkStyle {
    Lewis, // bonds as 1-3 lines, lone pairs as pairs of dots, radicals as dots
    Dots, // every valence electron a dot, shared pairs across the bond
    Bars, // bonds as lines, lone pairs as short bars, radicals as dots
};

// "lewis", "dots", "bars"; nothing for another word.
std::optional<MarkStyle> markStyleNamed(const QString &name);

inline constexpr float kMinRadius = 0.5F;
inline constexpr float kMaxRadius = 10.0F;
inline constexpr float kDefaultRadius = 2.0F;

enum class TextRole { Symbol, Charge, Count };

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
    float radius = 0;
    DotKind kind = DotKind::LonePair;
    int atom = -1; // the atom the electron came from
    int bond = -1; // the bond it is shared in, for DotKind::Bond
    int mark = -1; // dots of one mark (a lone pair, a bond's shared pairs) share it
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

// The picture as primitives in scale units. `crop` holds all of it with the
// margins of the atom picture; its top left corner is (0, 0).
struct Drawing
{
    std::vector<PlacedText> texts;
    std::vector<PlacedDot> dots;
    std::vector<PlacedLine> lines;
    QRectF crop;
};

// The class each primitive carries in an SVG picture.
QString svgClass(TextRole role); // atom, charge, count
QString svgClass(LineKind kind); // bond, lone-pair, bracket
QString svgClassOfDots(); // electron

// A charge as printed: "+", "−", "2+", "3−" (U+2212 for minus).
QString chargeText(int charge);

// Lays the molecule out with dots of `radius` (kMinRadius..kMaxRadius), text
// measured by `measure`. Throws ChemistryError when the marks cannot be
// placed clear of each other or the electrons drawn do not add up.
Drawing layOutMolecule(
    const Molecule &molecule, const MeasureText &measure, MarkStyle style, float radius = kDefaultRadius);

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
