#include "ElectronOrigins.h"

#include <algorithm>

namespace zembrel {

namespace {

constexpr int kHydrogen = 1;

class Accounting
{
public:
    explicit Accounting(const Molecule &molecule) : m_molecule(molecule), m_excess(molecule.atoms.size())
    {
        m_origins.ofAtom.resize(molecule.atoms.size());
        m_origins.ofBond.resize(molecule.bonds.size());
        m_bondsOf.resize(molecule.atoms.size());
        for (std::size_t i = 0; i < molecule.atoms.size(); ++i) {
            const Atom &atom = molecule.atoms[i];
            m_origins.ofAtom[i].assign(std::size_t(2 * atom.lonePairs + atom.radicals), int(i));
            // The electrons it draws as its own less its outer shell: more
            // when it gained some, fewer when it lost some; the electron
            // count makes that its formal charge, negated.
            m_excess[i] = -atom.charge;
        }
        for (std::size_t b = 0; b < molecule.bonds.size(); ++b) {
            const Bond &bond = molecule.bonds[b];
            for (int k = 0; k < bond.order; ++k) {
                m_origins.ofBond[b].push_back(bond.begin);
                m_origins.ofBond[b].push_back(bond.dative ? bond.begin : bond.end);
            }
            m_bondsOf[std::size_t(bond.begin)].push_back(int(b));
            m_bondsOf[std::size_t(bond.end)].push_back(int(b));
        }
    }

    ElectronOrigins run()
    {
        for (const Component &component : m_molecule.components)
            giveBack(component);
        for (const Component &component : m_molecule.components)
            passWithin(component);
        passBetween();
        return std::move(m_origins);
    }

    ElectronOrigins own() { return std::move(m_origins); }

private:
    int excess(int atom) const { return m_excess[std::size_t(atom)]; }

    // A positive atom takes back a bond electron of a negative neighbour, or
    // of a hydrogen, which becomes H+: the last of its hydrogens, so that
    // NH4+ has its dative bond to the hydrogen drawn last (the top one).
    void giveBack(const Component &component)
    {
        for (const int a : component.atoms) {
            while (excess(a) < 0) {
                int chosen = -1;
                std::size_t slot = 0;
                for (const int b : m_bondsOf[std::size_t(a)]) {
                    const Bond &bond = m_molecule.bonds[std::size_t(b)];
                    const int partner = bond.begin == a ? bond.end : bond.begin;
                    const std::vector<int> &electrons = m_origins.ofBond[std::size_t(b)];
                    const auto last = std::find(electrons.rbegin(), electrons.rend(), partner);
                    if (last == electrons.rend())
                        continue;
                    const std::size_t at = std::size_t(electrons.rend() - last) - 1;
                    const Atom &other = m_molecule.atoms[std::size_t(partner)];
                    if (excess(partner) > 0) {
                        chosen = b;
                        slot = at;
                        break;
                    }
                    if (other.element == kHydrogen && excess(partner) == 0
                        && m_bondsOf[std::size_t(partner)].size() == 1) {
                        chosen = b;
                        slot = at;
                    }
                }
                if (chosen < 0)
                    break;
                std::vector<int> &electrons = m_origins.ofBond[std::size_t(chosen)];
                const int partner = electrons[slot];
                electrons[slot] = a;
                ++m_excess[std::size_t(a)];
                --m_excess[std::size_t(partner)];
            }
        }
    }

    // Where a receiving atom puts its gained electrons, in turn: one in each
    // of its lone pairs, spread around it (O2− gets them right and left),
    // then its unpaired electrons, then its share of its bonds.
    std::vector<int *> gainSlots(int atom, int gained)
    {
        const auto i = std::size_t(atom);
        std::vector<int *> slots;
        std::vector<int> &own = m_origins.ofAtom[i];
        const int pairs = m_molecule.atoms[i].lonePairs;
        const int spread = std::min(gained, pairs);
        std::vector<bool> taken(std::size_t(pairs), false);
        for (int k = 0; k < spread; ++k) {
            const auto pair = std::size_t(k * pairs / spread);
            taken[pair] = true;
            slots.push_back(&own[2 * pair + 1]);
        }
        for (std::size_t pair = 0; pair < taken.size(); ++pair) {
            if (!taken[pair])
                slots.push_back(&own[2 * pair + 1]);
        }
        for (std::size_t k = std::size_t(2 * pairs); k < own.size(); ++k)
            slots.push_back(&own[k]);
        for (const int b : m_bondsOf[i]) {
            for (int &electron : m_origins.ofBond[std::size_t(b)]) {
                if (electron == atom)
                    slots.push_back(&electron);
            }
        }
        for (std::size_t pair = 0; pair < taken.size(); ++pair)
            slots.push_back(&own[2 * pair]);
        return slots;
    }

    // Electrons lost by an atom go to the negative atoms of its own part
    // (betaine's N+ to its O−).
    void passWithin(const Component &component)
    {
        for (const int receiver : component.atoms) {
            const std::vector<int *> slots = gainSlots(receiver, excess(receiver));
            std::size_t next = 0;
            for (const int donor : component.atoms) {
                while (excess(receiver) > 0 && excess(donor) < 0 && next < slots.size()) {
                    // Every slot is still the receiver's own: nothing has been passed to it yet.
                    *slots[next++] = donor;
                    --m_excess[std::size_t(receiver)];
                    ++m_excess[std::size_t(donor)];
                }
            }
        }
    }

    // What the anions still lack came from the atoms that lost electrons in
    // the other parts, when those are of one element and lost enough;
    // otherwise it is not said where from. A part drawn once for several
    // copies counts for all of them.
    void passBetween()
    {
        int needed = 0, given = 0, donor = -1;
        bool oneElement = true;
        for (const Component &component : m_molecule.components) {
            for (const int a : component.atoms) {
                if (excess(a) > 0)
                    needed += excess(a) * component.count;
                if (excess(a) < 0) {
                    given -= excess(a) * component.count;
                    if (donor >= 0
                        && m_molecule.atoms[std::size_t(donor)].element
                            != m_molecule.atoms[std::size_t(a)].element)
                        oneElement = false;
                    if (donor < 0)
                        donor = a;
                }
            }
        }
        if (needed == 0)
            return;
        const int origin = donor >= 0 && oneElement && given >= needed ? donor : kFromOutside;
        for (std::size_t i = 0; i < m_molecule.atoms.size(); ++i) {
            const int gained = m_excess[i];
            if (gained <= 0)
                continue;
            const std::vector<int *> slots = gainSlots(int(i), gained);
            std::size_t placed = 0;
            for (int *slot : slots) {
                if (placed == std::size_t(gained))
                    break;
                if (*slot == int(i)) {
                    *slot = origin;
                    ++placed;
                }
            }
            m_excess[i] = 0;
        }
    }

    const Molecule &m_molecule;
    std::vector<int> m_excess;
    std::vector<std::vector<int>> m_bondsOf;
    ElectronOrigins m_origins;
};

} // namespace

ElectronOrigins electronOrigins(const Molecule &molecule)
{
    return Accounting(molecule).run();
}

ElectronOrigins ownElectrons(const Molecule &molecule)
{
    return Accounting(molecule).own();
}

} // namespace zembrel
