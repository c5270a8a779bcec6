#include "MainGroup.h"

#include "Elements.h"

#include <array>

namespace zembrel {

namespace {

struct Tabled
{
    int number;
    const char16_t *symbol;
    double electronegativity;
};

// Pauling electronegativities as school data books print them; the noble
// gases without compounds have none.
constexpr std::array<Tabled, 44> kElements{{{1, u"H", 2.20}, {2, u"He", 0}, {3, u"Li", 0.98},
    {4, u"Be", 1.57}, {5, u"B", 2.04}, {6, u"C", 2.55}, {7, u"N", 3.04}, {8, u"O", 3.44}, {9, u"F", 3.98},
    {10, u"Ne", 0}, {11, u"Na", 0.93}, {12, u"Mg", 1.31}, {13, u"Al", 1.61}, {14, u"Si", 1.90},
    {15, u"P", 2.19}, {16, u"S", 2.58}, {17, u"Cl", 3.16}, {18, u"Ar", 0}, {19, u"K", 0.82},
    {20, u"Ca", 1.00}, {31, u"Ga", 1.81}, {32, u"Ge", 2.01}, {33, u"As", 2.18}, {34, u"Se", 2.55},
    {35, u"Br", 2.96}, {36, u"Kr", 3.00}, {37, u"Rb", 0.82}, {38, u"Sr", 0.95}, {49, u"In", 1.78},
    {50, u"Sn", 1.96}, {51, u"Sb", 2.05}, {52, u"Te", 2.10}, {53, u"I", 2.66}, {54, u"Xe", 2.60},
    {55, u"Cs", 0.79}, {56, u"Ba", 0.89}, {81, u"Tl", 1.62}, {82, u"Pb", 2.33}, {83, u"Bi", 2.02},
    {84, u"Po", 2.00}, {85, u"At", 2.20}, {86, u"Rn", 2.20}, {87, u"Fr", 0.70}, {88, u"Ra", 0.90}}};

int periodOf(int z)
{
    constexpr std::array<int, 7> kLast{2, 10, 18, 36, 54, 86, 118};
    for (std::size_t i = 0; i < kLast.size(); ++i) {
        if (z <= kLast[i])
            return int(i) + 1;
    }
    return 0;
}

} // namespace

MainGroupElement mainGroupElement(int atomicNumber)
{
    for (const Tabled &t : kElements) {
        if (t.number != atomicNumber)
            continue;
        MainGroupElement e;
        e.number = t.number;
        e.symbol = QString::fromUtf16(t.symbol);
        e.outer = outerElectrons(t.number);
        e.period = periodOf(t.number);
        e.group = e.number == 1 ? 1 : e.number == 2 ? 18 : e.outer <= 2 ? e.outer : e.outer + 10;
        e.electronegativity = t.electronegativity;
        return e;
    }
    return {};
}

} // namespace zembrel
