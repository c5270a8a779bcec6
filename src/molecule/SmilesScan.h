#pragma once

#include <QString>

#include <vector>

namespace zembrel {

// Where things stand in a SMILES, found by a walk over its grammar. The
// parser says what is wrong but not where; this finds the where.
struct SmilesScan
{
    std::vector<qsizetype> atomPositions; // 1-based character position of each atom, in order
    qsizetype errorPosition = 0; // 1-based position of the first fault found; 0 for none
};

SmilesScan scanSmiles(const QString &smiles);

} // namespace zembrel
