#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace zembrel {

// One molecule or ion of the table.
struct Species
{
    QStringList formulas; // as schools write them, the usual one first ("CO3 2-")
    QString smiles; // what is drawn
    QStringList russian; // names, the usual one first
    QStringList english;
    int line = 0; // in species.tsv
};

// Where a lookup looks.
enum class SpeciesKey { Name, Formula, NameOrFormula };

// The species of a school course, looked up by name or formula as people type
// them: case, ё and е, spaces, hyphens and brackets in names do not matter,
// nor how a formula's charge is written; an ion is found without the word
// "ion" too.
class SpeciesTable
{
public:
    // The table built into the program.
    static const SpeciesTable &builtIn();

    // The table in the text of a species.tsv. Lines it cannot read are left
    // out and named in problems().
    explicit SpeciesTable(QStringView tsv);

    const std::vector<Species> &species() const { return m_species; }
    const QStringList &problems() const { return m_problems; }

    // The species with this name (Russian or English) or formula; nothing when none has it.
    const Species *find(const QString &text, SpeciesKey key = SpeciesKey::NameOrFormula) const;

    // The names or formulas nearest to `text` by edit distance, nearest first,
    // one for each species and none that is far off; at most `count`.
    QStringList closest(const QString &text, SpeciesKey key, int count = 3) const;

    // Names and formulas that `prefix` begins, or one of whose words it
    // begins ("кисл" gives every acid): whole beginnings first, shorter first.
    QStringList completions(const QString &prefix, int count = 50) const;

private:
    struct Entry
    {
        QString text; // as the table writes it
        QString folded; // a name folded; a formula's body and charge
        int species = 0;
        bool formula = false;
        QStringList laterWords; // each word after the first, folded with the rest of the text
    };

    const Species *byName(const QString &name) const;
    const Species *byFormula(const QString &formula) const;
    void add(Species species);

    std::vector<Species> m_species;
    std::vector<Entry> m_entries;
    QHash<QString, int> m_names; // folded name → species
    QHash<QString, int> m_ionNames; // folded name without its ion word → species
    QHash<QString, int> m_formulas; // body and charge, "co3|-2" → species
    QStringList m_problems;
};

} // namespace zembrel
