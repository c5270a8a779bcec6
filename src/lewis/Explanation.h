#pragma once

#include "Molecule.h"
#include "Procedure.h"

#include <QString>

namespace zembrel {

// The steps of the textbook procedure as a student writes them, in the
// messages' language, for a structure worked out from `formula` and the
// molecule drawn from it. Throws ChemistryError if the picture's electrons
// do not add up to the valence electrons: a fault of ours, never printed as
// a success.
QString explainWorked(const WrittenFormula &formula, const WorkedStructure &worked, const Molecule &drawn);

// The same counts for a molecule from the table or a SMILES, part by part:
// valence electrons, bonding and lone pairs, formal charges and, where a part
// has one central atom, its electron domains and shape.
QString explainMolecule(const Molecule &molecule);

// "AX2E2, bent" for a molecule of one part with one central atom (its
// component's own, where a formula was worked out round it); empty otherwise.
QString shapeSummary(const Molecule &molecule);

// A formula as the steps write it, "SF₄", "NO₃⁻".
QString writtenFormulaText(const WrittenFormula &formula);

} // namespace zembrel
