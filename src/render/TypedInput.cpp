#include "TypedInput.h"

#include "Chemistry.h"
#include "Explanation.h"
#include "RenderText.h"
#include "Species.h"
#include "WrittenFormula.h"

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// Text that names an element that does not exist or holds what no formula
// does: whatever the procedure said of it would not be what was meant.
bool readsAsNoFormula(const QString &text)
{
    try {
        readFormula(text);
        return false;
    } catch (const ChemistryError &) {
        return true;
    }
}

} // namespace

TypedInput readTyped(const QString &input, const SpeciesTable &table, Reading reading)
{
    TypedInput typed;
    if (input.isEmpty())
        return typed;
    if ((typed.species = table.find(input, SpeciesKey::Name))) {
        typed.kind = TypedInput::Kind::Name;
        return typed;
    }
    if ((typed.species = table.find(input, SpeciesKey::Formula))) {
        typed.kind = TypedInput::Kind::Formula;
        return typed;
    }
    QString formulaProblem;
    try {
        FormulaStructure worked = workOutFormula(input);
        // "CN" and "CS" are methylamine and methanethiol.
        if (unlikelyAsFormula(worked) && couldBeSmiles(input)) {
            try {
                typed.smiles = moleculeFromSmiles(input, reading);
                typed.kind = TypedInput::Kind::Smiles;
                return typed;
            } catch (const ChemistryError &) { }
        }
        typed.worked = std::move(worked);
        typed.kind = TypedInput::Kind::Worked;
        return typed;
    } catch (const ChemistryError &e) {
        formulaProblem = e.message;
    }
    // What reads as no formula, or as a chain's ("CCO"), goes on to be a SMILES.
    const bool formulaLike = !readsAsNoFormula(input);
    if (couldBeSmiles(input)) {
        try {
            typed.smiles = moleculeFromSmiles(input, reading);
            typed.kind = TypedInput::Kind::Smiles;
            return typed;
        } catch (const ChemistryError &e) {
            typed.problem = formulaLike
                ? RenderText::tr(
                    "Not in the table. As a formula, its structure cannot be worked out: %1. As a "
                    "SMILES: %2")
                      .arg(formulaProblem, e.message)
                : RenderText::tr("Not a name or formula of the table, nor a SMILES: %1").arg(e.message);
        }
    } else if (formulaLike) {
        typed.problem = RenderText::tr("Not in the table, and its structure cannot be worked out: %1.")
                            .arg(formulaProblem);
    } else {
        typed.problem = RenderText::tr("No molecule or ion of the table is called “%1”.").arg(input);
    }
    typed.closest = table.closest(input, SpeciesKey::NameOrFormula);
    return typed;
}

QString workedCaption(const FormulaStructure &worked)
{
    return RenderText::tr("%1, worked out from its formula").arg(writtenFormulaText(worked.formula));
}

} // namespace zembrel
