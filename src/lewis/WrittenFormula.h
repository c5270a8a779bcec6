#pragma once

#include <QString>

#include <vector>

namespace zembrel {

// One element or bracketed group of a formula, as written: "Cl2" is
// element 17 twice, "(OH)3" group 0 three times.
struct WrittenPart
{
    int element = 0; // atomic number; 0 for a group
    int count = 1;
    int group = -1; // index into WrittenFormula::groups for a group
};

// A formula read into its parts, in the order written.
struct WrittenFormula
{
    std::vector<WrittenPart> parts;
    std::vector<std::vector<WrittenPart>> groups; // each group's own elements
    int charge = 0;
    QString body; // as read: "SO4", "Al(OH)4"

    int atomCount() const;
};

// The ways the formula can be read, the likeliest first ("CO32-" as CO32
// with 1- and as CO3 with 2-), in every spelling of a charge the lookup takes.
// Throws ChemistryError saying why no reading holds: an element that does not
// exist or is no main-group one, a hydrate, an unclosed bracket.
std::vector<WrittenFormula> readFormula(const QString &text);

} // namespace zembrel
