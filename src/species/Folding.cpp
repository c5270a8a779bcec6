#include "Folding.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// The largest charge a species of the table carries, and more than any ion a
// school draws: "CO32-" is CO3 with 2-, never CO with 32-.
constexpr int kMaxCharge = 8;

// Cyrillic letters a Russian keyboard gives for Latin ones that look alike.
constexpr std::array<std::pair<char16_t, char16_t>, 19> kLookalikes{{
    {u'А', u'A'},
    {u'В', u'B'},
    {u'С', u'C'},
    {u'Е', u'E'},
    {u'Н', u'H'},
    {u'К', u'K'},
    {u'М', u'M'},
    {u'О', u'O'},
    {u'Р', u'P'},
    {u'Т', u'T'},
    {u'Х', u'X'},
    {u'а', u'a'},
    {u'с', u'c'},
    {u'е', u'e'},
    {u'о', u'o'},
    {u'р', u'p'},
    {u'х', u'x'},
    {u'і', u'i'},
    {u'І', u'I'},
}};

std::optional<char16_t> latinLookalike(char16_t c)
{
    for (const auto &[cyrillic, latin] : kLookalikes) {
        if (c == cyrillic)
            return latin;
    }
    return std::nullopt;
}

bool isDash(char16_t c)
{
    return c == u'-' || c == u'\u2010' || c == u'\u2011' || c == u'\u2012' || c == u'\u2013' || c == u'\u2014'
        || c == u'\u2212' || c == u'\uFE63' || c == u'\uFF0D';
}

bool isSuperscript(char16_t c)
{
    return c == u'\u00B9' || c == u'\u00B2' || c == u'\u00B3' || c == u'\u2070'
        || (c >= u'\u2074' && c <= u'\u207B');
}

// A superscript or subscript as its plain character.
char16_t plain(char16_t c)
{
    if (c == u'\u207A')
        return u'+';
    if (c == u'\u207B')
        return u'-';
    const int digit = QChar(c).digitValue();
    return digit >= 0 ? char16_t(u'0' + digit) : c;
}

// "2-", "-2", "+", "--", "(3+)": the charge such text gives.
std::optional<int> chargeOf(QStringView text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.front() == u'(' && text.back() == u')')
        text = text.sliced(1, text.size() - 2).trimmed();
    static const QRegularExpression kNumberFirst(u"^([1-9]?)([+-])$"_s);
    static const QRegularExpression kSignFirst(u"^([+-])([1-9])$"_s);
    static const QRegularExpression kRepeated(u"^(\\++|-+)$"_s);
    const auto sign = [](QStringView s) { return s == u"+" ? 1 : -1; };
    if (const auto m = kNumberFirst.match(text.toString()); m.hasMatch())
        return sign(m.capturedView(2)) * (m.capturedView(1).isEmpty() ? 1 : m.capturedView(1).toInt());
    if (const auto m = kSignFirst.match(text.toString()); m.hasMatch())
        return sign(m.capturedView(1)) * m.capturedView(2).toInt();
    if (const auto m = kRepeated.match(text.toString()); m.hasMatch() && text.size() <= kMaxCharge)
        return sign(text.first(1)) * int(text.size());
    return std::nullopt;
}

struct Split
{
    QString body; // as typed, case kept
    int charge = 0;
};

// The formula's text with every character taken as what it looks like, and
// its superscript tail apart; nothing when ordinary text follows superscripts.
std::optional<std::pair<QString, QString>> normalized(QStringView formula)
{
    QString text, superscript;
    for (const QChar qc : formula.trimmed()) {
        const char16_t c = qc.unicode();
        if (isSuperscript(c)) {
            superscript += plain(c);
            continue;
        }
        if (!superscript.isEmpty() && !qc.isSpace())
            return std::nullopt;
        if (isDash(c))
            text += u'-';
        else if (c == u'\uFF0B')
            text += u'+';
        else if (c >= u'\u2080' && c <= u'\u2089')
            text += plain(c);
        else if (const auto latin = latinLookalike(c))
            text += QChar(*latin);
        else
            text += qc;
    }
    return std::pair{text.trimmed(), superscript};
}

// The ways to split a formula into its body and its charge, the likeliest first.
std::vector<Split> splits(QStringView formula)
{
    const auto text = normalized(formula);
    if (!text)
        return {};
    const auto &[t, superscript] = *text;
    const auto apart = [](QStringView body, QStringView charge) -> std::vector<Split> {
        if (const auto value = chargeOf(charge))
            return {{body.trimmed().toString(), *value}};
        return {};
    };
    if (!superscript.isEmpty())
        return apart(t, superscript);
    if (const qsizetype caret = t.lastIndexOf(u'^'); caret >= 0)
        return apart(QStringView(t).first(caret), QStringView(t).sliced(caret + 1));
    if (t.endsWith(u')')) {
        const qsizetype open = t.lastIndexOf(u'(');
        if (open > 0 && chargeOf(QStringView(t).sliced(open)))
            return apart(QStringView(t).first(open), QStringView(t).sliced(open));
    }
    const qsizetype space = t.lastIndexOf(QRegularExpression(u"\\s"_s));
    if (space > 0 && chargeOf(QStringView(t).sliced(space + 1)))
        return apart(QStringView(t).first(space), QStringView(t).sliced(space + 1));

    static const QRegularExpression kTrailing(u"^(.*?)(\\++|-+)([1-9]?)$"_s);
    const QRegularExpressionMatch m = kTrailing.match(t);
    if (!m.hasMatch())
        return {{t, 0}};
    const QString head = m.captured(1);
    const QString signs = m.captured(2);
    const int sign = signs.front() == u'+' ? 1 : -1;
    if (!m.capturedView(3).isEmpty()) // "SO4-2"
        return signs.size() == 1 ? std::vector<Split>{{head, sign * m.capturedView(3).toInt()}}
                                 : std::vector<Split>{};
    std::vector<Split> readings{{head, sign * int(signs.size())}};
    // "CO32-": the digit before a lone sign may be the charge's.
    if (signs.size() == 1 && head.size() >= 2 && head.back() >= u'1' && head.back() <= u'8'
        && !head.at(head.size() - 2).isSpace())
        readings.push_back({head.first(head.size() - 1), sign * head.back().digitValue()});
    return readings;
}

// A formula's body as the lookup compares it, or with its case kept; empty
// when it is not a formula.
QString foldedBody(QStringView body, bool keepCase = false)
{
    QString folded;
    for (const QChar c : body) {
        if (c.isSpace() || c == u'-' || c == u'=' || c == u'\u2261' || c == u'\u00B7')
            continue;
        const bool allowed = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')
            || c == u'(' || c == u')' || c == u'[' || c == u']';
        if (!allowed)
            return {};
        folded += keepCase ? c : c.toLower();
    }
    if (folded.size() >= 2 && folded.front() == u'[' && folded.back() == u']')
        folded = folded.sliced(1, folded.size() - 2);
    if (folded.isEmpty() || (!folded.front().isLetter() && folded.front() != u'(' && folded.front() != u'['))
        return {};
    return folded;
}

QString superscriptOf(int number)
{
    static constexpr std::array<char16_t, 10> kDigits{u'\u2070', u'\u00B9', u'\u00B2', u'\u00B3', u'\u2074',
        u'\u2075', u'\u2076', u'\u2077', u'\u2078', u'\u2079'};
    QString text;
    for (const QChar c : QString::number(number))
        text += QChar(kDigits[std::size_t(c.digitValue())]);
    return text;
}

} // namespace

QString foldName(QStringView name)
{
    QString folded;
    folded.reserve(name.size());
    for (const QChar c : name) {
        if (c.isLetter())
            folded += c == u'ё' || c == u'Ё' ? u'е' : c.toLower();
        else if (const int digit = c.digitValue(); digit >= 0 && digit <= 9)
            folded += QChar(u'0' + digit);
    }
    return folded;
}

QString withoutIonWord(QStringView foldedName)
{
    // Longer words first: "катион" also ends in "ион".
    static const std::array<QStringView, 6> kWords{u"катион", u"анион", u"ион", u"cation", u"anion", u"ion"};
    constexpr qsizetype kShortestRest = 2;
    for (const QStringView word : kWords) {
        if (foldedName.size() - word.size() < kShortestRest)
            continue;
        if (foldedName.endsWith(word))
            return foldedName.chopped(word.size()).toString();
        // Only Russian puts the word first: "ион аммония".
        if (foldedName.startsWith(word) && word.front().script() == QChar::Script_Cyrillic)
            return foldedName.sliced(word.size()).toString();
    }
    return {};
}

namespace {

std::vector<FormulaReading> readingsOf(QStringView formula, bool keepCase)
{
    std::vector<FormulaReading> readings;
    for (const Split &split : splits(formula)) {
        const QString body = foldedBody(split.body, keepCase);
        if (!body.isEmpty() && std::abs(split.charge) <= kMaxCharge)
            readings.push_back({body, split.charge});
    }
    return readings;
}

} // namespace

std::vector<FormulaReading> formulaReadings(QStringView formula)
{
    return readingsOf(formula, false);
}

std::vector<FormulaReading> writtenReadings(QStringView formula)
{
    return readingsOf(formula, true);
}

QString prettyFormula(QStringView formula)
{
    const std::vector<Split> ways = splits(formula);
    if (ways.empty())
        return formula.toString();
    const Split &split = ways.front();
    QString text;
    QChar previous;
    for (const QChar c : split.body) {
        const bool subscript = c.isDigit()
            && (previous.isLetter() || previous == u')' || previous == u']'
                || (previous.unicode() >= u'\u2080' && previous.unicode() <= u'\u2089'));
        const QChar shown = subscript ? QChar(char16_t(u'\u2080' + c.digitValue())) : c;
        if (!c.isSpace())
            text += shown;
        previous = shown;
    }
    if (split.charge != 0) {
        if (std::abs(split.charge) > 1)
            text += superscriptOf(std::abs(split.charge));
        text += split.charge > 0 ? u'\u207A' : u'\u207B';
    }
    return text;
}

int editDistance(QStringView a, QStringView b)
{
    std::vector<int> row(std::size_t(b.size()) + 1);
    for (std::size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 0; i < a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i) + 1;
        for (qsizetype j = 0; j < b.size(); ++j) {
            const std::size_t at = std::size_t(j) + 1;
            const int replaced = diagonal + (a[i] == b[j] ? 0 : 1);
            diagonal = row[at];
            row[at] = std::min({row[at] + 1, row[at - 1] + 1, replaced});
        }
    }
    return row.back();
}

} // namespace zembrel
