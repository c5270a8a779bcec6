#include "Elements.h"

#include <array>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

constexpr std::array<QStringView, 118> kSymbols{u"H", u"He", u"Li", u"Be", u"B", u"C", u"N", u"O", u"F",
    u"Ne", u"Na", u"Mg", u"Al", u"Si", u"P", u"S", u"Cl", u"Ar", u"K", u"Ca", u"Sc", u"Ti", u"V", u"Cr",
    u"Mn", u"Fe", u"Co", u"Ni", u"Cu", u"Zn", u"Ga", u"Ge", u"As", u"Se", u"Br", u"Kr", u"Rb", u"Sr", u"Y",
    u"Zr", u"Nb", u"Mo", u"Tc", u"Ru", u"Rh", u"Pd", u"Ag", u"Cd", u"In", u"Sn", u"Sb", u"Te", u"I", u"Xe",
    u"Cs", u"Ba", u"La", u"Ce", u"Pr", u"Nd", u"Pm", u"Sm", u"Eu", u"Gd", u"Tb", u"Dy", u"Ho", u"Er", u"Tm",
    u"Yb", u"Lu", u"Hf", u"Ta", u"W", u"Re", u"Os", u"Ir", u"Pt", u"Au", u"Hg", u"Tl", u"Pb", u"Bi", u"Po",
    u"At", u"Rn", u"Fr", u"Ra", u"Ac", u"Th", u"Pa", u"U", u"Np", u"Pu", u"Am", u"Cm", u"Bk", u"Cf", u"Es",
    u"Fm", u"Md", u"No", u"Lr", u"Rf", u"Db", u"Sg", u"Bh", u"Hs", u"Mt", u"Ds", u"Rg", u"Cn", u"Nh", u"Fl",
    u"Mc", u"Lv", u"Ts", u"Og"};

} // namespace

int outerElectrons(int z)
{
    // The first atomic number of each period's group 1 and group 13, and how
    // far both stand from their outer-electron count.
    struct Period
    {
        int group1;
        int group13;
        int offset13;
    };
    constexpr std::array<Period, 6> kPeriods{
        {{3, 5, 2}, {11, 13, 10}, {19, 31, 28}, {37, 49, 46}, {55, 81, 78}, {87, 113, 110}}};
    if (z == 1)
        return 1;
    if (z == 2)
        return 2;
    for (const Period &p : kPeriods) {
        if (z == p.group1 || z == p.group1 + 1)
            return z - p.group1 + 1;
        if (z >= p.group13 && z <= p.group13 + 5)
            return z - p.offset13;
    }
    return -1;
}

int atomicNumber(QStringView symbol)
{
    for (std::size_t i = 0; i < kSymbols.size(); ++i) {
        if (kSymbols[i] == symbol)
            return int(i) + 1;
    }
    return 0;
}

} // namespace zembrel
