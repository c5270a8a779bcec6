#include "Species.h"

#include "Folding.h"

#include <QFile>

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

QStringList alternatives(QStringView field)
{
    QStringList items;
    for (const QStringView item : field.split(u';')) {
        if (!item.trimmed().isEmpty())
            items << item.trimmed().toString();
    }
    return items;
}

QString formulaKey(const FormulaReading &reading)
{
    return reading.body + u'|' + QString::number(reading.charge);
}

// A formula as the distance to it is measured: its body, then its charge as
// "2-", so that "CO3 2-" and "CO32-" are near.
QString formulaDistanceKey(const QString &formula)
{
    const std::vector<FormulaReading> readings = formulaReadings(formula);
    if (readings.empty())
        return foldName(formula);
    const FormulaReading &r = readings.front();
    if (r.charge == 0)
        return r.body;
    return r.body + (std::abs(r.charge) > 1 ? QString::number(std::abs(r.charge)) : QString())
        + (r.charge > 0 ? u'+' : u'-');
}

// Where the words of a name or formula after its first start.
std::vector<qsizetype> laterWordStarts(const QString &text)
{
    std::vector<qsizetype> starts;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar before = text[i - 1];
        if ((before.isSpace() || before == u'-' || before == u'(') && text[i].isLetter())
            starts.push_back(i);
    }
    return starts;
}

} // namespace

const SpeciesTable &SpeciesTable::builtIn()
{
    static const SpeciesTable table = [] {
        QFile file(u":/species/species.tsv"_s);
        return SpeciesTable(file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString());
    }();
    return table;
}

SpeciesTable::SpeciesTable(QStringView tsv)
{
    int number = 0;
    for (QStringView line : tsv.split(u'\n')) {
        ++number;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QList<QStringView> fields = line.split(u'\t');
        if (fields.size() != 4) {
            m_problems << u"line %1: %2 fields, not 4"_s.arg(number).arg(fields.size());
            continue;
        }
        Species species{alternatives(fields[0]), fields[1].trimmed().toString(), alternatives(fields[2]),
            alternatives(fields[3]), number};
        if (species.formulas.isEmpty() || species.smiles.isEmpty() || species.russian.isEmpty()
            || species.english.isEmpty()) {
            m_problems << u"line %1: an empty field"_s.arg(number);
            continue;
        }
        add(std::move(species));
    }
    if (m_species.empty())
        m_problems << u"the table holds no species"_s;
}

void SpeciesTable::add(Species species)
{
    const int index = int(m_species.size());
    const auto claim = [&](QHash<QString, int> &keys, const QString &key, const QString &text) {
        const auto taken = keys.constFind(key);
        if (taken != keys.cend() && *taken != index)
            m_problems << u"line %1: \"%2\" is also line %3's"_s.arg(species.line)
                              .arg(text)
                              .arg(m_species[std::size_t(*taken)].line);
        else
            keys.insert(key, index);
    };
    const auto entry = [&](const QString &text, bool formula) {
        Entry e{text, formula ? formulaDistanceKey(text) : foldName(text), index, formula, {}};
        for (const qsizetype start : laterWordStarts(text))
            e.laterWords << foldName(QStringView(text).sliced(start));
        m_entries.push_back(std::move(e));
    };
    for (const QString &name : species.russian + species.english) {
        const QString folded = foldName(name);
        if (folded.isEmpty()) {
            m_problems << u"line %1: the name \"%2\" has no letters"_s.arg(species.line).arg(name);
            continue;
        }
        claim(m_names, folded, name);
        if (const QString bare = withoutIonWord(folded); !bare.isEmpty())
            claim(m_ionNames, bare, name);
        entry(name, false);
    }
    for (const QString &formula : species.formulas) {
        const std::vector<FormulaReading> readings = formulaReadings(formula);
        if (readings.empty()) {
            m_problems << u"line %1: \"%2\" is not a formula"_s.arg(species.line).arg(formula);
            continue;
        }
        // The table writes a charge of two or more apart ("CO3 2-"), so its
        // first reading is the one meant.
        claim(m_formulas, formulaKey(readings.front()), formula);
        entry(formula, true);
    }
    m_species.push_back(std::move(species));
}

const Species *SpeciesTable::byName(const QString &name) const
{
    const QString folded = foldName(name);
    if (folded.isEmpty())
        return nullptr;
    const QString bare = withoutIonWord(folded);
    for (const auto &[keys, key] :
        {std::pair{&m_names, folded}, std::pair{&m_ionNames, folded}, std::pair{&m_ionNames, bare}}) {
        if (key.isEmpty())
            continue;
        if (const auto found = keys->constFind(key); found != keys->cend())
            return &m_species[std::size_t(*found)];
    }
    return nullptr;
}

const Species *SpeciesTable::byFormula(const QString &formula) const
{
    for (const FormulaReading &reading : formulaReadings(formula)) {
        if (const auto found = m_formulas.constFind(formulaKey(reading)); found != m_formulas.cend())
            return &m_species[std::size_t(*found)];
    }
    return nullptr;
}

const Species *SpeciesTable::find(const QString &text, SpeciesKey key) const
{
    const Species *found = nullptr;
    if (key != SpeciesKey::Formula)
        found = byName(text);
    if (!found && key != SpeciesKey::Name)
        found = byFormula(text);
    return found;
}

QStringList SpeciesTable::closest(const QString &text, SpeciesKey key, int count) const
{
    const QString query = key == SpeciesKey::Formula ? formulaDistanceKey(text) : foldName(text);
    if (query.isEmpty())
        return {};
    // Beyond this the name is another one, not a slip of the keyboard.
    const int farthest = std::max(2, int(query.size()) / 3);
    std::vector<std::tuple<int, int, const Entry *>> best(m_species.size(), {farthest + 1, 0, nullptr});
    for (const Entry &e : m_entries) {
        if ((key == SpeciesKey::Name && e.formula) || (key == SpeciesKey::Formula && !e.formula))
            continue;
        const int distance = editDistance(query, key == SpeciesKey::Formula ? e.folded : foldName(e.text));
        auto &[bestDistance, species, entry] = best[std::size_t(e.species)];
        if (distance < bestDistance) {
            bestDistance = distance;
            species = e.species;
            entry = &e;
        }
    }
    std::sort(best.begin(), best.end(), [](const auto &a, const auto &b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    QStringList names;
    for (const auto &[distance, species, entry] : best) {
        if (!entry || names.size() >= count)
            break;
        names << entry->text;
    }
    return names;
}

QStringList SpeciesTable::completions(const QString &prefix, int count) const
{
    const QString folded = foldName(prefix);
    if (folded.isEmpty())
        return {};
    std::vector<std::tuple<bool, qsizetype, QString>> found; // a later word, length, text
    for (const Entry &e : m_entries) {
        const QString whole = foldName(e.text);
        if (whole.startsWith(folded))
            found.emplace_back(false, e.text.size(), e.text);
        else if (std::any_of(e.laterWords.cbegin(), e.laterWords.cend(),
                     [&folded](const QString &word) { return word.startsWith(folded); }))
            found.emplace_back(true, e.text.size(), e.text);
    }
    std::sort(found.begin(), found.end());
    QStringList texts;
    for (const auto &[later, length, text] : found) {
        if (texts.size() >= count)
            break;
        if (!texts.contains(text))
            texts << text;
    }
    return texts;
}

} // namespace zembrel
