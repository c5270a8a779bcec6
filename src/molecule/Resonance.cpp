#include "Resonance.h"

#include <GraphMol/GraphMol.h>
#include <GraphMol/MolOps.h>
#include <GraphMol/Resonance.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>

namespace zembrel {

namespace {

// The enumeration's bounds: a few hundred structures and a second cover
// every school species many times over (benzoic acid has 2, the oxalate ion
// 4); a chain of sixteen rings would take RDKit tens of seconds.
constexpr unsigned kMostStructures = 256;
constexpr std::chrono::milliseconds kLongest{1000};

// Stops the search at its time, and before its conjugated groups' forms
// together pass the bound: past it RDKit gives up with an internal error
// that leaves its structures unfreed.
class Deadline : public RDKit::ResonanceMolSupplierCallback
{
public:
    bool operator()() override
    {
        double together = 1;
        for (unsigned group = 0; group < getNumConjGrps(); ++group)
            together *= double(std::max<std::size_t>(1, getNumStructures(group)));
        return together <= kMostStructures && std::chrono::steady_clock::now() < m_end;
    }

private:
    std::chrono::steady_clock::time_point m_end = std::chrono::steady_clock::now() + kLongest;
};

int orderOf(const RDKit::Bond &bond)
{
    switch (bond.getBondType()) {
    case RDKit::Bond::DOUBLE: return 2;
    case RDKit::Bond::TRIPLE: return 3;
    case RDKit::Bond::DATIVE: return 0;
    case RDKit::Bond::AROMATIC: return -1; // not a form of single and double bonds
    default: return 1;
    }
}

} // namespace

ResonanceForm resonanceFormOf(const RDKit::ROMol &form, const std::vector<int> &atoms, const std::vector<int> &ownBonds)
{
    ResonanceForm result;
    result.bondOrders.assign(ownBonds.size(), 0);
    for (std::size_t b = 0; b < ownBonds.size(); ++b) {
        if (ownBonds[b] >= 0)
            result.bondOrders[b] = orderOf(*form.getBondWithIdx(unsigned(ownBonds[b])));
    }
    for (const int atom : atoms)
        result.charges.push_back(form.getAtomWithIdx(unsigned(atom))->getFormalCharge());
    return result;
}

ResonanceForms resonanceForms(
    const RDKit::ROMol &mol, const std::vector<int> &atoms, const ResonanceForm &given, int most)
{
    ResonanceForms result;
    result.forms.push_back(given);
    try {
        // The part alone, so that the forms of several parts are not
        // multiplied together; its atoms keep their order, so its atom k is atoms[k].
        RDKit::RWMol part(mol);
        for (int i = int(mol.getNumAtoms()) - 1; i >= 0; --i) {
            if (!std::binary_search(atoms.begin(), atoms.end(), i))
                part.removeAtom(unsigned(i));
        }
        RDKit::MolOps::fastFindRings(part);
        std::vector<int> ownBonds(mol.getNumBonds(), -1);
        std::vector<int> local(mol.getNumAtoms(), -1);
        for (std::size_t k = 0; k < atoms.size(); ++k)
            local[std::size_t(atoms[k])] = int(k);
        for (const RDKit::Bond *bond : mol.bonds()) {
            const int x = local[bond->getBeginAtomIdx()], y = local[bond->getEndAtomIdx()];
            if (x < 0 || y < 0)
                continue;
            if (const RDKit::Bond *own = part.getBondBetweenAtoms(unsigned(x), unsigned(y)))
                ownBonds[bond->getIdx()] = int(own->getIdx());
        }
        std::vector<int> partAtoms(atoms.size());
        for (std::size_t k = 0; k < atoms.size(); ++k)
            partAtoms[k] = int(k);

        RDKit::ResonanceMolSupplier supplier(part, RDKit::ResonanceMolSupplier::KEKULE_ALL, kMostStructures);
        supplier.setNumThreads(1);
        supplier.setProgressCallback(new Deadline); // the supplier owns it
        supplier.enumerate();
        result.stopped = supplier.wasCanceled() || supplier.length() >= kMostStructures;
        // A search stopped part-way holds forms RDKit cannot make whole
        // (it throws, and leaks what it had built): only the given one stands.
        const unsigned made = supplier.wasCanceled() ? 0 : supplier.length();
        for (unsigned k = 0; k < made; ++k) {
            std::unique_ptr<RDKit::ROMol> structure(supplier[k]);
            // Each form's bonds are single and double already, though still
            // marked aromatic: kekulizing again would give every form the same bonds.
            ResonanceForm found = resonanceFormOf(*structure, partAtoms, ownBonds);
            if (std::find(found.bondOrders.begin(), found.bondOrders.end(), -1) != found.bondOrders.end())
                continue;
            if (std::find(result.forms.begin(), result.forms.end(), found) != result.forms.end())
                continue;
            if (int(result.forms.size()) < most)
                result.forms.push_back(std::move(found));
            else
                ++result.leftOut;
        }
    } catch (const std::exception &) {
        // Should RDKit give up with an error all the same, the forms found
        // so far stand, and the caller hears there may be more.
        result.stopped = true;
    }
    return result;
}

} // namespace zembrel
