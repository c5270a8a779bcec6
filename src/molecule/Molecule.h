#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>

#include <vector>

namespace zembrel {

// Limits that keep hostile input cheap: every size is checked before the
// expensive work starts.
inline constexpr int kMaxAtoms = 100; // hydrogens included
inline constexpr qsizetype kMaxSmilesLength = 1000; // characters
inline constexpr qsizetype kMaxMolfileSize = 1 << 20; // bytes
inline constexpr int kMaxFormalCharge = 8;

struct Atom
{
    QString symbol; // "Cl": the element, whatever isotope the input named
    int element = 0; // atomic number
    int source = 0; // 1-based number in the input; 0 for a hydrogen added here
    int charge = 0; // formal charge
    int isotope = 0; // mass number the input gave, 0 for none
    int outer = 0; // outer-shell electrons of the neutral element
    int lonePairs = 0;
    int radicals = 0; // unpaired electrons
    QPointF position; // in bond lengths, y growing downwards as on a picture
    // Where the toolkit's depiction (or the molfile) puts it: `position`
    // unless the textbook layout moved it. A picture with outer shells,
    // which needs every bond one length, falls back on it.
    QPointF depiction;
};

struct Bond
{
    int begin = 0; // atom indices; for a dative bond `begin` gives both electrons
    int end = 0;
    int order = 1; // 1..3
    bool dative = false;
};

// One connected part of the input (the parts of a SMILES split by '.').
// Neighbouring parts that are the same species are kept once, with `count`.
struct Component
{
    std::vector<int> atoms; // indices into Molecule::atoms
    std::vector<int> bonds; // indices into Molecule::bonds
    int charge = 0; // net charge: not 0 for an ion
    int count = 1;
    // Laid out as a school book draws it; otherwise it stands as the
    // toolkit's depiction (or the molfile's own drawing) has it.
    bool textbook = false;
    // A species drawn in its resonance forms is that many components side
    // by side, the form as given first, each with its own bonds, charges
    // and lone pairs on the same atom positions: this is form `form` of
    // `forms`. The first form says how many more were found and not drawn,
    // and whether the search stopped at its bounds before it found them all.
    int form = 0;
    int forms = 1;
    int formsLeftOut = 0;
    bool formsStopped = false;
    // The atom a formula's structure was worked out round (an index into
    // Molecule::atoms); -1 where the input did not say.
    int centre = -1;
};

// A molecule (or several, or ions) ready to lay out: every hydrogen an atom,
// aromatic rings written with alternating bonds, electrons counted per atom.
struct Molecule
{
    std::vector<Atom> atoms;
    std::vector<Bond> bonds;
    std::vector<Component> components; // in input order, left to right
};

// How the atoms are placed when the input does not place them.
enum class MoleculeLayout {
    Textbook, // as school books draw them: chains straight on a square grid, regular rings
    Depiction, // the structure toolkit's 2D depiction, turned to stand along its length
};

// How a molecule is read.
struct Reading
{
    MoleculeLayout layout = MoleculeLayout::Textbook;
    bool resonance = false; // every resonance form of each part, not the input's alone
};

// Whether text could be a SMILES: printable ASCII without blanks. Anything
// else was meant as a name, and a SMILES error would only confuse.
bool couldBeSmiles(const QString &text);

// The molecule of a SMILES. Throws ChemistryError naming the reason and,
// where it can be found, the 1-based character position.
Molecule moleculeFromSmiles(const QString &smiles, Reading reading = {});
inline Molecule moleculeFromSmiles(const QString &smiles, MoleculeLayout layout)
{
    return moleculeFromSmiles(smiles, Reading{layout});
}

// The molecule of an MDL molfile (V2000 or V3000) given as bytes. Its own 2D
// coordinates are kept unless `relayout` is set; 3D or missing coordinates
// are always laid out anew, in the reading's layout. Throws ChemistryError.
Molecule moleculeFromMolfile(const QByteArray &molfile, bool relayout = false, Reading reading = {});
inline Molecule moleculeFromMolfile(const QByteArray &molfile, bool relayout, MoleculeLayout layout)
{
    return moleculeFromMolfile(molfile, relayout, Reading{layout});
}

// A structure whose bonds, charges and unpaired electrons are already
// decided, as one worked out from a formula: atoms in the order they are
// written, hydrogens as counts on the atom they are bonded to.
struct StructureAtom
{
    int element = 0; // atomic number
    int charge = 0; // formal charge
    int radicals = 0; // unpaired electrons
    int hydrogens = 0;
};

struct StructureBond
{
    int begin = 0; // indices into Structure::atoms
    int end = 0;
    int order = 1; // 1..3
};

struct Structure
{
    std::vector<StructureAtom> atoms;
    std::vector<StructureBond> bonds;
    int centre = -1; // the atom it was worked out round, if any
};

// The molecule of a structure, counted and laid out as that of a SMILES
// writing the same atoms, bonds and charges, its atoms first in their order
// and its centre its component's. Throws ChemistryError.
Molecule moleculeFromStructure(const Structure &structure, Reading reading = {});

} // namespace zembrel
