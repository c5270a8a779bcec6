#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace zembrel {

// A name as the lookup compares it: lower case, ё as е, letters and digits
// only, so that case, spaces, hyphens, commas and brackets do not matter
// ("Оксид углерода (II)" and "оксид углерода(II)" are one name).
QString foldName(QStringView name);

// The name without a word that only says it is an ion ("нитрат-ион",
// "ион аммония", "nitrate ion"), folded; empty when it has none.
QString withoutIonWord(QStringView foldedName);

// One way to read a formula: its body folded (lower case, no spaces or bond
// marks, no brackets around the whole) and its net charge.
struct FormulaReading
{
    QString body;
    int charge = 0;

    friend bool operator==(const FormulaReading &, const FormulaReading &) = default;
};

// The readings of a formula as typed, the likeliest first. A charge may follow
// after a space ("CO3 2-"), a caret ("CO3^2-"), in brackets ("CO3(2-)"), in
// superscripts ("CO₃²⁻") or directly; directly, digits before the sign may
// belong to the body or to the charge ("CO32-" reads as CO32 with 1- and as
// CO3 with 2-), so both readings are given. Subscript digits, the minus sign
// and dashes, and Cyrillic letters that look like Latin ones ("Н2О") are taken
// as what they look like. Nothing for text that is no formula.
std::vector<FormulaReading> formulaReadings(QStringView formula);
// The same readings with each body's case kept ("SF4", not "sf4"), for
// reading the elements in it.
std::vector<FormulaReading> writtenReadings(QStringView formula);

// A formula as a page prints it: "CO3 2-" as "CO₃²⁻", "NH4+" as "NH₄⁺".
QString prettyFormula(QStringView formula);

// The edit distance of two strings: insertions, deletions and substitutions.
int editDistance(QStringView a, QStringView b);

} // namespace zembrel
