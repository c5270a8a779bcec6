#pragma once

#include <QPointF>

#include <cstddef>
#include <utility>
#include <vector>

namespace zembrel::depiction {

// Atoms not bonded stand at least this far apart, in bond lengths ...
inline constexpr double kApart = 0.8;
// ... and no atom this near a bond it is not part of.
inline constexpr double kOffBond = 0.4;

// The atoms and bonds placed so far, with what the next one may not come near.
// Placing is undone back to an earlier state, so a layout can try another way.
class Sheet
{
public:
    explicit Sheet(int atoms);

    bool has(int v) const { return m_has[std::size_t(v)]; }
    QPointF at(int v) const { return m_at[std::size_t(v)]; }
    const std::vector<int> &placed() const { return m_placed; }

    // Whether an atom may stand at `p` bonded to `from` (placed; -1 for no
    // bond): apart from every atom placed, clear of every bond, its bond
    // crossing none and passing no atom.
    bool fits(QPointF p, int from) const;
    void put(int v, QPointF p);
    void bond(int a, int b);

    struct State
    {
        std::size_t atoms = 0;
        std::size_t bonds = 0;
    };
    State state() const { return {m_placed.size(), m_bonds.size()}; }
    void restore(State state);

private:
    std::vector<QPointF> m_at;
    std::vector<bool> m_has;
    std::vector<int> m_placed;
    std::vector<std::pair<int, int>> m_bonds;
};

} // namespace zembrel::depiction
