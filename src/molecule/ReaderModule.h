#pragma once

#include "Molecule.h"

#include <QString>

namespace zembrel {

// What the reader module hands back: a molecule, or why there is none. Errors
// travel as values, as exceptions do not cross a module's hidden types.
struct ReadResult
{
    Molecule molecule;
    QString error; // empty when the molecule was read
};

// The reader module's functions, found through its one exported symbol.
struct ReaderFunctions
{
    ReadResult (*fromSmiles)(const QString &smiles, Reading reading);
    ReadResult (*fromMolfile)(const QByteArray &molfile, bool relayout, Reading reading);
    ReadResult (*fromStructure)(const Structure &structure, Reading reading);
};

inline constexpr const char *kReaderEntry = "zembrelMoleculeReader";
using ReaderEntry = const ReaderFunctions *(*)();

} // namespace zembrel
