#include "WrittenFormula.h"

#include "Chemistry.h"
#include "Elements.h"
#include "Folding.h"
#include "LewisText.h"
#include "MainGroup.h"
#include "Molecule.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// Why a body cannot be read; empty for none.
struct Parsed
{
    WrittenFormula formula;
    QString problem;
};

// Reads "Al(OH)4"; `symbols` gives the element lengths chosen where the case
// was not trusted (nullptr: read the case as written).
Parsed parseBody(const QString &body, const std::vector<int> *symbols = nullptr)
{
    Parsed out;
    WrittenFormula &f = out.formula;
    f.body = body;
    std::vector<WrittenPart> *into = &f.parts;
    std::size_t symbol = 0;
    qsizetype i = 0;
    const auto count = [&]() -> std::optional<int> {
        const qsizetype start = i;
        while (i < body.size() && body[i].isDigit())
            ++i;
        if (i == start)
            return 1;
        const int n = QStringView(body).sliced(start, i - start).toInt();
        if (n < 1 || n > kMaxAtoms || i - start > 3) {
            out.problem = LewisText::tr("the count %1 is not from 1 to %2")
                              .arg(QStringView(body).sliced(start, i - start))
                              .arg(kMaxAtoms);
            return std::nullopt;
        }
        return n;
    };
    while (i < body.size()) {
        const QChar c = body[i];
        if (c == u'(' || c == u'[') {
            if (into != &f.parts) {
                out.problem = LewisText::tr("a group in brackets inside another is not worked out");
                return out;
            }
            f.groups.emplace_back();
            into = &f.groups.back();
            ++i;
            continue;
        }
        if (c == u')' || c == u']') {
            if (into == &f.parts) {
                out.problem = LewisText::tr("a bracket closes that was not opened");
                return out;
            }
            if (into->empty()) {
                out.problem = LewisText::tr("a bracket holds nothing");
                return out;
            }
            into = &f.parts;
            ++i;
            const auto n = count();
            if (!n)
                return out;
            f.parts.push_back({0, *n, int(f.groups.size()) - 1});
            continue;
        }
        if (!c.isLetter()) {
            out.problem = LewisText::tr("a count stands before any element");
            return out;
        }
        qsizetype length = 1;
        if (symbols) {
            length = symbol < symbols->size() ? (*symbols)[symbol++] : 1;
        } else if (c.isUpper() && i + 1 < body.size() && body[i + 1].isLower()) {
            length = 2;
        }
        QString written = body.sliced(i, length).toLower();
        written[0] = written[0].toUpper();
        if (!symbols && !c.isUpper()) {
            out.problem = LewisText::tr("an element's symbol begins with a capital letter: \"%1\"")
                              .arg(body.sliced(i, length));
            return out;
        }
        const int z = atomicNumber(written);
        if (z == 0) {
            out.problem = LewisText::tr("no element is written \"%1\"").arg(written);
            return out;
        }
        if (mainGroupElement(z).number == 0) {
            out.problem = LewisText::tr("%1 is a transition metal, whose bonds the octet rules do not describe")
                              .arg(written);
            return out;
        }
        i += length;
        const auto n = count();
        if (!n)
            return out;
        into->push_back({z, *n, -1});
    }
    if (into != &f.parts)
        out.problem = LewisText::tr("a bracket is not closed");
    return out;
}

// The one split of a body's letters into main-group symbols whatever their
// case ("sf4", "XEF4"), as its symbols' lengths; nothing when there are none
// or several ("sn": Sn, or S and N).
std::optional<std::vector<int>> caseFreeSplit(const QString &body)
{
    const auto symbolAt = [&body](qsizetype at, qsizetype length) {
        if (at + length > body.size())
            return false;
        for (qsizetype k = at; k < at + length; ++k) {
            if (!body[k].isLetter())
                return false;
        }
        QString symbol = body.sliced(at, length).toLower();
        symbol[0] = symbol[0].toUpper();
        return mainGroupElement(atomicNumber(symbol)).number != 0;
    };
    // ways[i]: the splits of what follows i, counted up to two, and the
    // length of the first symbol of the one found.
    const qsizetype n = body.size();
    std::vector<int> ways(std::size_t(n) + 1, 0), first(std::size_t(n) + 1, 0);
    ways[std::size_t(n)] = 1;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const auto at = std::size_t(i);
        if (!body[i].isLetter()) {
            ways[at] = ways[at + 1];
            continue;
        }
        for (const int length : {1, 2}) {
            if (!symbolAt(i, length) || ways[at + std::size_t(length)] == 0)
                continue;
            ways[at] = std::min(2, ways[at] + ways[at + std::size_t(length)]);
            first[at] = length;
        }
    }
    if (ways[0] != 1)
        return std::nullopt;
    std::vector<int> lengths;
    for (qsizetype i = 0; i < n;) {
        if (!body[i].isLetter()) {
            ++i;
            continue;
        }
        lengths.push_back(first[std::size_t(i)]);
        i += first[std::size_t(i)];
    }
    return lengths;
}

} // namespace

int WrittenFormula::atomCount() const
{
    int total = 0;
    for (const WrittenPart &part : parts) {
        if (part.group < 0) {
            total += part.count;
            continue;
        }
        int inGroup = 0;
        for (const WrittenPart &each : groups[std::size_t(part.group)])
            inGroup += each.count;
        total += part.count * inGroup;
    }
    return total;
}

std::vector<WrittenFormula> readFormula(const QString &text)
{
    for (const QChar c : text) {
        if (c == u'\u00B7' || c == u'\u2022' || c == u'\u22C5' || c == u'*') {
            throw ChemistryError{LewisText::tr("a hydrate or an adduct is several species: draw each of them")};
        }
    }
    const std::vector<FormulaReading> readings = writtenReadings(text);
    if (readings.empty())
        throw ChemistryError{LewisText::tr("it is not a formula")};
    std::vector<WrittenFormula> read;
    QString firstProblem;
    for (const FormulaReading &reading : readings) {
        Parsed parsed = parseBody(reading.body);
        // Typed all in one case ("sf4", "XEF4"), the symbols may be read
        // whatever their case; mixed, the case is meant.
        const bool oneCase = reading.body == reading.body.toLower() || reading.body == reading.body.toUpper();
        if (!parsed.problem.isEmpty() && oneCase) {
            if (const auto split = caseFreeSplit(reading.body)) {
                Parsed caseFree = parseBody(reading.body, &*split);
                if (caseFree.problem.isEmpty())
                    parsed = std::move(caseFree);
            }
        }
        if (!parsed.problem.isEmpty()) {
            if (firstProblem.isEmpty())
                firstProblem = parsed.problem;
            continue;
        }
        parsed.formula.charge = reading.charge;
        if (parsed.formula.atomCount() > kMaxAtoms) {
            if (firstProblem.isEmpty()) {
                firstProblem = LewisText::tr("it has %1 atoms; at most %2 can be drawn")
                                   .arg(parsed.formula.atomCount())
                                   .arg(kMaxAtoms);
            }
            continue;
        }
        read.push_back(std::move(parsed.formula));
    }
    if (read.empty())
        throw ChemistryError{firstProblem};
    return read;
}

} // namespace zembrel
