#pragma once

#include "Molecule.h"
#include "WrittenFormula.h"

#include <QString>

#include <vector>

namespace zembrel {

// An atom of a structure worked out from its formula. Hydrogens are counts
// on the atom they are bonded to, as a formula groups them.
struct WorkedAtom
{
    int element = 0;
    int hydrogens = 0;
    int lonePairs = 0;
    int radicals = 0; // unpaired electrons: 1 on one atom of an odd count
    int charge = 0; // formal
};

// Why the central atom is the one it is.
enum class CentreRule {
    LeastElectronegative, // of the elements written once, H and F aside
    OnlyOnce, // the one element written once, H and F aside
    Middle, // the middle one of three atoms of one element
    Pair, // two atoms, bonded to each other
    Alone, // one atom
};

// The Lewis structure of a formula as the textbook procedure works it out,
// with what each step found.
struct WorkedStructure
{
    std::vector<WorkedAtom> atoms; // the central atom first, then as written
    std::vector<StructureBond> bonds;
    int centre = 0;
    CentreRule rule = CentreRule::LeastElectronegative;
    int charge = 0;
    int valenceElectrons = 0;
    // Hydrogens written first, an acid's: on its oxygen (or sulfur) atoms,
    // and on phosphorus, which keeps one oxygen of its own (HPO(OH)2).
    int acidOnOxygen = 0;
    int acidOnPhosphorus = 0;
    // Step 4, single bonds only: the electrons left for the central atom
    // once every outer atom has its octet (negative when too few for that).
    int leftForCentre = 0;

    // The electrons the central atom holds: its lone pairs, its unpaired
    // electron and two for every bond to it.
    int heldByCentre() const;
    Structure structure() const;
};

// The structure of a formula read by readFormula. Throws ChemistryError
// with the reason when the procedure cannot decide it: no single centre,
// hydrogens whose place the formula does not say, a metal that forms ions,
// electrons that cannot give every atom its octet.
WorkedStructure workOut(const WrittenFormula &formula);

// A formula as typed and its structure.
struct FormulaStructure
{
    WrittenFormula formula;
    WorkedStructure worked;
};

// Whether a neutral formula came out a radical or with charged atoms: the
// text ("CN", "CS") is then likelier the short SMILES it also is.
bool unlikelyAsFormula(const FormulaStructure &structure);

// The first reading of the text whose structure can be worked out. Throws
// ChemistryError with the reason the likeliest reading cannot.
FormulaStructure workOutFormula(const QString &text);

} // namespace zembrel
