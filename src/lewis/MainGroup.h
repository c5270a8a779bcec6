#pragma once

#include <QString>

namespace zembrel {

// What the worked-out structures need to know of an element.
struct MainGroupElement
{
    int number = 0; // atomic number
    QString symbol;
    int outer = 0; // outer-shell electrons
    int group = 0; // 1, 2 and 13 to 18; 1 for H
    int period = 0;
    double electronegativity = 0; // Pauling; 0 where none is tabled (He, Ne, Ar)
};

// The element of an atomic number, or nothing (number 0) for a transition
// metal, a lanthanide or actinide, or no element.
MainGroupElement mainGroupElement(int atomicNumber);

} // namespace zembrel
