#pragma once

#include "Drawing.h"
#include "Molecule.h"

#include <QString>

namespace zembrel {

// The bond angle a shape picture labels, as printed: "104.5°", "<109.5°"
// where lone pairs press it below the ideal and no measurement is at hand,
// "≈109.5°" round a centre whose ligands differ; in the locale's numbers.
QString angleLabel(double degrees, bool below, bool approximate);

// The molecule's shape round its one central atom, as textbooks draw it:
// bonds in the plane as lines, towards the reader as solid wedges and away
// as hashed ones, the centre's lone pairs as pairs of dots in their
// domains' places, one bond angle with its arc and value, the shape's name
// underneath and an ion in brackets with its charge. Outer atoms keep their
// hydrogens in one label ("OH", "CH₃"); their lone pairs and the formal
// charges are left out, as shape drawings leave them.
// Throws ChemistryError where the molecule has more than one part, no one
// central atom, or a number of electron domains past six.
Drawing layOutShape(const Molecule &molecule, const MeasureText &measure, float radius = kDefaultRadius);

// Throws the ChemistryError layOutShape would for a molecule it cannot
// draw, without drawing it: for a mistake named before any work is done.
void checkShapeDrawn(const Molecule &molecule);

} // namespace zembrel
