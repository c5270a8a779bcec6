#pragma once

#include "Molecule.h"
#include "Procedure.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zembrel {

struct Species;
class SpeciesTable;

// One line a teacher typed, read as the molecules window and the server both
// read it: a name or formula of the table first, then a formula worked out
// ("NOCl" is nitrosyl chloride to a student), then a SMILES. A neutral
// formula that would come out a radical or charged ("CN") is the SMILES it
// also is.
struct TypedInput
{
    enum class Kind { Nothing, Name, Formula, Worked, Smiles };
    Kind kind = Kind::Nothing;
    const Species *species = nullptr; // Name, Formula
    std::optional<FormulaStructure> worked; // Worked
    std::optional<Molecule> smiles; // Smiles: read in the reading asked for
    QString problem; // Nothing: why, in the messages' language
    QStringList closest; // Nothing: the table's nearest names and formulas
};

// Blank input is Nothing with no problem.
TypedInput readTyped(const QString &input, const SpeciesTable &table, Reading reading = {});

// What a worked-out formula is said to be, in the messages' language:
// "SF₄, worked out from its formula".
QString workedCaption(const FormulaStructure &worked);

} // namespace zembrel
