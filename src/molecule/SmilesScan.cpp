#include "SmilesScan.h"

#include "Elements.h"

#include <algorithm>
#include <map>
#include <vector>

namespace zembrel {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isBondSymbol(QChar c)
{
    return c == u'-' || c == u'=' || c == u'#' || c == u'$' || c == u':' || c == u'/' || c == u'\\';
}

// The length of an organic-subset atom at `i`, or 0.
qsizetype organicAtom(const QString &s, qsizetype i)
{
    const QChar c = s[i];
    const bool hasNext = i + 1 < s.size();
    if (c == u'C' && hasNext && s[i + 1] == u'l')
        return 2;
    if (c == u'B' && hasNext && s[i + 1] == u'r')
        return 2;
    static const QString kOrganic = QStringLiteral("BCNOPSFIbcnops*");
    return kOrganic.contains(c) ? 1 : 0;
}

// The position just past a bracket atom starting at `i` ('['), or the
// position of its first character that does not fit, as a negative number.
qsizetype bracketAtom(const QString &s, qsizetype i)
{
    qsizetype k = i + 1;
    const auto at = [&](qsizetype j) { return j < s.size() ? s[j] : QChar(); };
    while (isDigit(at(k)))
        ++k; // isotope
    if (at(k) == u'*') {
        ++k;
    } else if (at(k).isUpper()) {
        const bool two = at(k + 1).isLower() && atomicNumber(QStringView(s).mid(k, 2)) != 0;
        const qsizetype length = two ? 2 : 1;
        if (atomicNumber(QStringView(s).mid(k, length)) == 0)
            return -k;
        k += length;
    } else if (at(k).isLower()) {
        // Aromatic symbols: b c n o p s, se as te.
        static const QString kTwo[] = {QStringLiteral("se"), QStringLiteral("as"), QStringLiteral("te")};
        bool found = false;
        for (const QString &two : kTwo) {
            if (QStringView(s).mid(k, 2) == two) {
                k += 2;
                found = true;
                break;
            }
        }
        if (!found) {
            if (!QStringLiteral("bcnops").contains(at(k)))
                return -k;
            ++k;
        }
    } else {
        return -k;
    }
    if (at(k) == u'@') { // chirality: @, @@, @TH1, @SP2, @OH12 ...
        ++k;
        while (at(k) == u'@' || at(k).isUpper() || isDigit(at(k)))
            ++k;
    }
    if (at(k) == u'H') {
        ++k;
        while (isDigit(at(k)))
            ++k;
    }
    if (at(k) == u'+' || at(k) == u'-') {
        const QChar sign = at(k);
        ++k;
        if (isDigit(at(k))) {
            while (isDigit(at(k)))
                ++k;
        } else {
            while (at(k) == sign)
                ++k;
        }
    }
    if (at(k) == u':') {
        ++k;
        if (!isDigit(at(k)))
            return -k;
        while (isDigit(at(k)))
            ++k;
    }
    if (at(k) != u']')
        return -k;
    return k + 1;
}

} // namespace

SmilesScan scanSmiles(const QString &s)
{
    SmilesScan scan;
    // What came last: nothing, an atom (or a ring closure or a branch after
    // it), a bond, an opened branch, or a dot.
    enum class Last { Start, Atom, Bond, Branch, Dot };
    Last last = Last::Start;
    bool bondAfterAtom = false; // a ring closure may take the bond before it
    std::vector<qsizetype> branches;
    std::map<int, qsizetype> openRings;
    const auto fail = [&](qsizetype i) {
        if (scan.errorPosition == 0)
            scan.errorPosition = i + 1;
    };
    const auto at = [&](qsizetype j) { return j < s.size() ? s[j] : QChar(); };

    qsizetype i = 0;
    while (i < s.size() && scan.errorPosition == 0) {
        const QChar c = s[i];
        const bool dative = (c == u'-' && at(i + 1) == u'>') || (c == u'<' && at(i + 1) == u'-');
        if (const qsizetype length = organicAtom(s, i)) {
            scan.atomPositions.push_back(i + 1);
            last = Last::Atom;
            i += length;
        } else if (c == u'[') {
            const qsizetype end = bracketAtom(s, i);
            if (end < 0) {
                fail(-end);
                break;
            }
            scan.atomPositions.push_back(i + 1);
            last = Last::Atom;
            i = end;
        } else if (isBondSymbol(c) || dative) {
            if (last != Last::Atom && last != Last::Branch)
                fail(i);
            bondAfterAtom = last == Last::Atom;
            last = Last::Bond;
            i += dative ? 2 : 1;
        } else if (isDigit(c) || c == u'%') {
            if (last != Last::Atom && !(last == Last::Bond && bondAfterAtom))
                fail(i);
            int number = 0;
            qsizetype closure = 1;
            if (c == u'%') {
                if (isDigit(at(i + 1)) && isDigit(at(i + 2))) {
                    number = (at(i + 1).unicode() - u'0') * 10 + (at(i + 2).unicode() - u'0');
                    closure = 3;
                } else if (at(i + 1) == u'(') {
                    qsizetype k = i + 2;
                    while (isDigit(at(k)) && k < i + 7)
                        number = number * 10 + (s[k++].unicode() - u'0');
                    if (k == i + 2 || at(k) != u')')
                        fail(std::min(k, s.size() - 1));
                    closure = k + 1 - i;
                } else {
                    fail(i);
                }
            } else {
                number = c.unicode() - u'0';
            }
            if (const auto open = openRings.find(number); open != openRings.end())
                openRings.erase(open);
            else
                openRings.emplace(number, i);
            last = Last::Atom;
            i += closure;
        } else if (c == u'(') {
            if (last != Last::Atom)
                fail(i);
            branches.push_back(i);
            last = Last::Branch;
            ++i;
        } else if (c == u')') {
            if (branches.empty() || last != Last::Atom)
                fail(i);
            else
                branches.pop_back();
            last = Last::Atom;
            ++i;
        } else if (c == u'.') {
            if (last != Last::Atom)
                fail(i);
            last = Last::Dot;
            ++i;
        } else {
            fail(i);
        }
    }
    if (scan.errorPosition != 0)
        return scan;
    if (!s.isEmpty() && last != Last::Atom)
        fail(s.size() - 1); // the last character leaves something open
    else if (!branches.empty())
        fail(branches.back());
    else if (!openRings.empty()) {
        qsizetype first = s.size();
        for (const auto &[number, position] : openRings)
            first = std::min(first, position);
        fail(first);
    }
    return scan;
}

} // namespace zembrel
