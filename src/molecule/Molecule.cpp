#include "Molecule.h"

#include "Chemistry.h"
#include "Directions.h"
#include "Elements.h"
#include "RdkitSession.h"
#include "Resonance.h"
#include "SmilesScan.h"
#include "Textbook.h"

#include <GraphMol/Depictor/RDDepictor.h>
#include <GraphMol/FileParsers/FileParsers.h>
#include <GraphMol/GraphMol.h>
#include <GraphMol/MolOps.h>
#include <GraphMol/SanitException.h>
#include <GraphMol/SmilesParse/SmilesParse.h>
#include <GraphMol/SmilesParse/SmilesWrite.h>

#include <QRectF>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

QString fromStd(const std::string &s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Where the atoms of the input stand, for messages.
struct Source
{
    std::vector<qsizetype> positions; // SMILES character positions, when they match the atoms
    bool radicalsGiven = false; // each atom's unpaired electrons are the input's, not RDKit's guess
};

// "3 (Fe)" or, from a SMILES, "3 (Fe, position 5)".
QString atomLabel(const RDKit::Atom &atom, const Source &source)
{
    const unsigned index = atom.getIdx();
    const QString symbol = atom.getAtomicNum() == 0 ? QStringLiteral("*") : fromStd(atom.getSymbol());
    if (index < source.positions.size()) {
        return Chemistry::tr("%1 (%2, position %3)").arg(index + 1).arg(symbol).arg(source.positions[index]);
    }
    return Chemistry::tr("%1 (%2)").arg(index + 1).arg(symbol);
}

[[noreturn]] void atomError(
    const RDKit::ROMol &mol, unsigned index, const Source &source, const QString &reason)
{
    throw ChemistryError{
        Chemistry::tr("Atom %1: %2").arg(atomLabel(*mol.getAtomWithIdx(index), source), reason)};
}

// RDKit's first log line, or its exception text, without the prefix naming the parser.
QString rdkitReason(const std::string &log, const char *what)
{
    QString text = fromStd(log).section(QLatin1Char('\n'), 0, 0);
    if (text.isEmpty() && what)
        text = QString::fromUtf8(what);
    for (const QString &prefix : {QStringLiteral("SMILES Parse Error: "), QStringLiteral("ERROR: ")}) {
        if (text.startsWith(prefix))
            text.remove(0, prefix.size());
    }
    // "syntax error while parsing: CC((": the input the user has already.
    for (const QString &ending : {QStringLiteral(" while parsing"), QStringLiteral(" for input")}) {
        const qsizetype at = text.indexOf(ending);
        if (at > 0)
            text.truncate(at);
    }
    return text.trimmed();
}

// The period an element's outer shell is in: 1 for H and He, 2 for Li to Ne ...
int period(int atomicNumber)
{
    static constexpr std::array kLast{2, 10, 18, 36, 54, 86};
    return int(std::upper_bound(kLast.begin(), kLast.end(), atomicNumber - 1) - kLast.begin()) + 1;
}

// A period-2 atom given more bonds than its shell holds ("CN(=O)=O", the
// nitro group, and "N=N#N") can only mean the charge-separated form: each
// double or triple bond to a terminal neighbour, the highest first and an
// oxygen before others, gives up one order and leaves the neighbour −1 and
// the atom +1, until the atom's electrons fit its shell.
void separateCharges(RDKit::RWMol &mol)
{
    mol.updatePropertyCache(false);
    for (RDKit::Atom *atom : mol.atoms()) {
        if (period(atom->getAtomicNum()) != 2)
            continue;
        while (true) {
            int bonding = int(atom->getTotalNumHs());
            RDKit::Bond *weakest = nullptr;
            const auto rank = [](const RDKit::Bond *b, const RDKit::Atom *other) {
                return std::pair(b->getBondTypeAsDouble(), other->getAtomicNum() == 8);
            };
            for (RDKit::Bond *bond : mol.atomBonds(atom)) {
                const auto type = bond->getBondType();
                bonding += type == RDKit::Bond::DOUBLE ? 2 : type == RDKit::Bond::TRIPLE ? 3 : 1;
                const RDKit::Atom *other = bond->getOtherAtom(atom);
                if ((type == RDKit::Bond::DOUBLE || type == RDKit::Bond::TRIPLE) && other->getDegree() == 1
                    && other->getTotalNumHs() == 0
                    && (!weakest || rank(bond, other) > rank(weakest, weakest->getOtherAtom(atom))))
                    weakest = bond;
            }
            const int lone = outerElectrons(atom->getAtomicNum()) - atom->getFormalCharge() - bonding;
            if (lone < 0 || 2 * bonding + lone <= 8 || !weakest)
                break;
            weakest->setBondType(
                weakest->getBondType() == RDKit::Bond::TRIPLE ? RDKit::Bond::DOUBLE : RDKit::Bond::SINGLE);
            RDKit::Atom *other = weakest->getOtherAtom(atom);
            other->setFormalCharge(other->getFormalCharge() - 1);
            atom->setFormalCharge(atom->getFormalCharge() + 1);
            mol.updatePropertyCache(false);
        }
    }
}

// RDKit's sanitizing (rings found, aromatic rings kekulized, radicals
// assigned) without its valence table and without its clean-up, which
// rewrites hypervalent halogens (ClO4−, HClO3) into charge-separated forms
// the input does not hold: the electron count below judges what an atom may
// hold.
void sanitize(RDKit::RWMol &mol, const Source &source)
{
    try {
        separateCharges(mol);
        unsigned failed = 0;
        unsigned operations = RDKit::MolOps::SANITIZE_ALL ^ RDKit::MolOps::SANITIZE_CLEANUP
            ^ RDKit::MolOps::SANITIZE_PROPERTIES;
        if (source.radicalsGiven)
            operations ^= RDKit::MolOps::SANITIZE_FINDRADICALS;
        RDKit::MolOps::sanitizeMol(mol, failed, operations);
    } catch (const RDKit::AtomSanitizeException &e) {
        atomError(mol, e.getAtomIdx(), source, Chemistry::tr("RDKit refuses it: %1").arg(QString::fromUtf8(e.what())));
    } catch (const RDKit::KekulizeException &e) {
        QStringList atoms;
        for (const unsigned index : e.getAtomIndices())
            atoms << atomLabel(*mol.getAtomWithIdx(index), source);
        throw ChemistryError{Chemistry::tr("The aromatic atoms %1 cannot be given alternating single and "
                                           "double bonds.")
                                 .arg(atoms.join(QStringLiteral(", ")))};
    } catch (const RDKit::MolSanitizeException &e) {
        throw ChemistryError{
            Chemistry::tr("RDKit refuses the molecule: %1").arg(QString::fromUtf8(e.what()))};
    }
}

// Refuses what has no dot formula before anything costly is done with it.
void checkAtomsAndBonds(const RDKit::ROMol &mol, const Source &source)
{
    if (mol.getNumAtoms() == 0)
        throw ChemistryError{Chemistry::tr("The input holds no atoms.")};
    if (mol.getNumAtoms() > unsigned(kMaxAtoms)) {
        throw ChemistryError{Chemistry::tr("The molecule has %1 atoms; at most %2 can be drawn.")
                                 .arg(mol.getNumAtoms())
                                 .arg(kMaxAtoms)};
    }
    for (const RDKit::Atom *atom : mol.atoms()) {
        if (atom->hasQuery() && atom->getAtomicNum() == 0) {
            atomError(mol, atom->getIdx(), source,
                Chemistry::tr("a query atom stands for a choice of elements and cannot be drawn."));
        }
        if (atom->getAtomicNum() == 0) {
            atomError(mol, atom->getIdx(), source,
                Chemistry::tr("a wildcard atom stands for no element and cannot be drawn."));
        }
        if (atom->hasQuery()) {
            atomError(mol, atom->getIdx(), source,
                Chemistry::tr("a query atom stands for a choice of elements and cannot be drawn."));
        }
        if (outerElectrons(atom->getAtomicNum()) < 0) {
            atomError(mol, atom->getIdx(), source,
                Chemistry::tr("only main-group elements can be drawn, as their outer shell holds all "
                              "their valence electrons."));
        }
        if (std::abs(atom->getFormalCharge()) > kMaxFormalCharge) {
            atomError(mol, atom->getIdx(), source,
                Chemistry::tr("the charge %1 lies beyond ±%2.")
                    .arg(atom->getFormalCharge())
                    .arg(kMaxFormalCharge));
        }
    }
    for (const RDKit::Bond *bond : mol.bonds()) {
        const auto type = bond->getBondType();
        const bool drawable = type == RDKit::Bond::SINGLE || type == RDKit::Bond::DOUBLE
            || type == RDKit::Bond::TRIPLE || type == RDKit::Bond::AROMATIC || type == RDKit::Bond::DATIVE;
        if (bond->hasQuery() || !drawable) {
            throw ChemistryError{
                Chemistry::tr("Bond %1 (atoms %2 and %3): only single, double, triple, "
                              "aromatic and dative bonds can be drawn.")
                    .arg(bond->getIdx() + 1)
                    .arg(atomLabel(*bond->getBeginAtom(), source), atomLabel(*bond->getEndAtom(), source))};
        }
    }
}

int bondOrder(const RDKit::Bond &bond)
{
    switch (bond.getBondType()) {
    case RDKit::Bond::DOUBLE: return 2;
    case RDKit::Bond::TRIPLE: return 3;
    default: return 1;
    }
}

// Electrons an atom puts into its bonds: one per bond order, both of a dative
// bond it donates, none of one it accepts; one for each hydrogen not in the graph.
int bondingElectrons(const RDKit::ROMol &mol, const RDKit::Atom &atom)
{
    int electrons = int(atom.getTotalNumHs());
    for (const RDKit::Bond *bond : mol.atomBonds(&atom)) {
        if (bond->getBondType() == RDKit::Bond::DATIVE)
            electrons += bond->getBeginAtomIdx() == atom.getIdx() ? 2 : 0;
        else
            electrons += bondOrder(*bond);
    }
    return electrons;
}

bool usableCoordinates(const RDKit::ROMol &mol)
{
    if (mol.getNumConformers() == 0)
        return false;
    const RDKit::Conformer &conformer = mol.getConformer();
    if (conformer.is3D())
        return false;
    for (const RDGeom::Point3D &p : conformer.getPositions()) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || p.z != 0.0)
            return false;
    }
    // Bonded atoms on top of each other (a file without coordinates has them
    // all at 0, 0); crowding short of that is measured once bonds have a length.
    for (const RDKit::Bond *bond : mol.bonds()) {
        const RDGeom::Point3D d
            = conformer.getAtomPos(bond->getBeginAtomIdx()) - conformer.getAtomPos(bond->getEndAtomIdx());
        if (d.length() < 1e-3)
            return false;
    }
    return true;
}

// Picture positions (y down) in units of the median bond length.
std::vector<QPointF> normalisedPositions(const RDKit::ROMol &mol)
{
    const RDKit::Conformer &conformer = mol.getConformer();
    std::vector<double> lengths;
    for (const RDKit::Bond *bond : mol.bonds()) {
        lengths.push_back(
            (conformer.getAtomPos(bond->getBeginAtomIdx()) - conformer.getAtomPos(bond->getEndAtomIdx()))
                .length());
    }
    double unit = 1;
    if (!lengths.empty()) {
        std::nth_element(
            lengths.begin(), lengths.begin() + std::ptrdiff_t(lengths.size() / 2), lengths.end());
        unit = lengths[lengths.size() / 2];
    }
    std::vector<QPointF> positions;
    for (const RDGeom::Point3D &p : conformer.getPositions())
        positions.emplace_back(p.x / unit, -p.y / unit);
    return positions;
}

// Directions for the hydrogens of an atom: away from its other bonds; alone,
// an atom takes them left, right, below and above, as textbooks draw H–Cl,
// H–O–H, NH3 and CH4.
std::vector<double> hydrogenDirections(const std::vector<double> &taken, int count)
{
    if (taken.empty() && count <= 4) {
        static constexpr std::array kSides{kPi, 0.0, kPi / 2, -kPi / 2};
        return {kSides.begin(), kSides.begin() + count};
    }
    return spreadInGaps(taken, count, kPi);
}

void turn(const std::vector<int> &fragment, std::vector<QPointF> &positions, QPointF centre, double angle)
{
    const double cs = std::cos(angle), sn = std::sin(angle);
    for (const int i : fragment) {
        const QPointF d = positions[std::size_t(i)] - centre;
        positions[std::size_t(i)] = centre + QPointF(d.x() * cs - d.y() * sn, d.x() * sn + d.y() * cs);
    }
}

// Each part standing as textbooks draw it, not at the slant the layout
// happened to give: a central atom bonded to every other one (SO4, CO3, NO3,
// CCl4) with one bond straight up, so that the cross and the trigonal star
// stand upright; any other part lying along its length (RDKit's canonical
// orientation), turned the least that puts its bonds on a 30-degree grid, so
// a chain zigzags level and H–O–O–H lies flat.
void uprightFragment(
    const RDKit::ROMol &mol, const std::vector<int> &fragment, std::vector<QPointF> &positions)
{
    if (fragment.size() >= 4) {
        for (const int c : fragment) {
            const RDKit::Atom &centre = *mol.getAtomWithIdx(unsigned(c));
            if (centre.getDegree() + 1 != fragment.size())
                continue;
            const QPointF o = positions[std::size_t(c)];
            double angle = 2 * kPi;
            for (const RDKit::Bond *bond : mol.atomBonds(&centre)) {
                const QPointF d = positions[bond->getOtherAtomIdx(unsigned(c))] - o;
                const double wrapped = std::remainder(-kPi / 2 - std::atan2(d.y(), d.x()), 2 * kPi);
                if (std::abs(wrapped) < std::abs(angle))
                    angle = wrapped;
            }
            turn(fragment, positions, o, angle);
            return;
        }
    }
    double c = 0, s = 0;
    for (const RDKit::Bond *bond : mol.bonds()) {
        const auto begin = std::size_t(bond->getBeginAtomIdx());
        if (!std::binary_search(fragment.begin(), fragment.end(), int(begin)))
            continue;
        const QPointF d = positions[bond->getEndAtomIdx()] - positions[begin];
        const double angle = 12 * std::atan2(d.y(), d.x()); // one turn per 30 degrees
        c += std::cos(angle);
        s += std::sin(angle);
    }
    QRectF bounds;
    for (const int i : fragment)
        bounds |= QRectF(positions[std::size_t(i)], QSizeF(1e-9, 1e-9));
    if (std::hypot(c, s) > 1e-6)
        turn(fragment, positions, bounds.center(), -std::atan2(s, c) / 12);
}

// Where the atoms of the input stand, and the hydrogens RDKit keeps as
// counts, atom by atom, in bond lengths with y down.
struct Placement
{
    std::vector<QPointF> atoms;
    std::vector<std::vector<QPointF>> hydrogens;
};

double length(QPointF d)
{
    return std::sqrt(d.x() * d.x() + d.y() * d.y());
}

double pointToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return length(d);
}

// Whether two segments cross inside both. Bonds on one line give cross
// products of rounding noise; only a clear crossing counts.
bool crossing(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const auto side = [](QPointF o, QPointF p, QPointF q) {
        return (p.x() - o.x()) * (q.y() - o.y()) - (p.y() - o.y()) * (q.x() - o.x());
    };
    const double eps = 1e-9 * (QPointF::dotProduct(b - a, b - a) + QPointF::dotProduct(d - c, d - c));
    return side(a, b, c) * side(a, b, d) < -eps * eps && side(c, d, a) * side(c, d, b) < -eps * eps;
}

// Atoms and bonds of one fragment, for finding room in it.
struct Sketch
{
    std::vector<QPointF> points;
    std::vector<std::pair<std::size_t, std::size_t>> bonds; // indices into points

    // How near the point comes to another atom or to a bond that does not
    // end at `self`, and how near the bond from `self` to it passes an atom.
    double room(QPointF p, std::size_t self) const
    {
        double nearest = std::numeric_limits<double>::max();
        for (std::size_t k = 0; k < points.size(); ++k) {
            if (k == self)
                continue;
            nearest = std::min({nearest, length(p - points[k]), pointToSegment(points[k], points[self], p)});
        }
        for (const auto &[x, y] : bonds) {
            if (x == self || y == self)
                continue;
            if (crossing(points[self], p, points[x], points[y]))
                return 0;
            nearest = std::min(nearest, pointToSegment(p, points[x], points[y]));
        }
        return nearest;
    }

    // The least room any atom has: 0 when two coincide, one lies on a bond or
    // two bonds cross.
    double tightest() const
    {
        double nearest = std::numeric_limits<double>::max();
        for (std::size_t k = 0; k < points.size(); ++k) {
            for (std::size_t j = k + 1; j < points.size(); ++j)
                nearest = std::min(nearest, length(points[k] - points[j]));
            for (const auto &[x, y] : bonds) {
                if (x != k && y != k)
                    nearest = std::min(nearest, pointToSegment(points[k], points[x], points[y]));
            }
        }
        for (std::size_t m = 0; m < bonds.size(); ++m) {
            for (std::size_t n = m + 1; n < bonds.size(); ++n) {
                if (crossing(points[bonds[m].first], points[bonds[m].second], points[bonds[n].first],
                        points[bonds[n].second]))
                    return 0;
            }
        }
        return nearest;
    }
};

Sketch sketchOf(
    const RDKit::ROMol &mol, const std::vector<int> &fragment, const std::vector<QPointF> &positions)
{
    Sketch sketch;
    for (const int i : fragment)
        sketch.points.push_back(positions[std::size_t(i)]);
    for (const RDKit::Bond *b : mol.bonds()) {
        const auto x = std::lower_bound(fragment.begin(), fragment.end(), int(b->getBeginAtomIdx()));
        const auto y = std::lower_bound(fragment.begin(), fragment.end(), int(b->getEndAtomIdx()));
        if (x != fragment.end() && *x == int(b->getBeginAtomIdx()) && y != fragment.end()
            && *y == int(b->getEndAtomIdx()))
            sketch.bonds.emplace_back(std::size_t(x - fragment.begin()), std::size_t(y - fragment.begin()));
    }
    return sketch;
}

// Room enough for a symbol's box at the shortest bonds the picture uses.
constexpr double kRoom = 0.45;

// Each hydrogen a bond length from its atom, away from the atom's other bonds
// and from the atoms standing near it unbonded; where that spot is taken (a
// crowded branch), turned as little as finds room, so that no two atoms
// share a place and none sits on a bond.
Placement placeHydrogens(
    const RDKit::ROMol &mol, const std::vector<std::vector<int>> &fragments, std::vector<QPointF> positions)
{
    Placement placement;
    placement.hydrogens.resize(positions.size());
    for (const auto &fragment : fragments) {
        Sketch sketch = sketchOf(mol, fragment, positions);
        for (std::size_t k = 0; k < fragment.size(); ++k) {
            const int i = fragment[k];
            const RDKit::Atom &a = *mol.getAtomWithIdx(unsigned(i));
            const int hydrogens = int(a.getTotalNumHs());
            if (hydrogens == 0)
                continue;
            const QPointF centre = positions[std::size_t(i)];
            std::vector<double> taken;
            std::vector<QPointF> bonded{centre};
            for (const RDKit::Bond *b : mol.atomBonds(&a)) {
                const QPointF other = positions[b->getOtherAtomIdx(unsigned(i))];
                taken.push_back(std::atan2(other.y() - centre.y(), other.x() - centre.x()));
                bonded.push_back(other);
            }
            std::vector<double> turns = taken; // directions a turned hydrogen keeps clear of
            for (const QPointF &p : sketch.points) {
                const QPointF d = p - centre;
                if (std::find(bonded.begin(), bonded.end(), p) == bonded.end() && length(d) < 1.6)
                    taken.push_back(std::atan2(d.y(), d.x()));
            }
            for (const double ideal : hydrogenDirections(taken, hydrogens)) {
                const auto spot
                    = [&](double angle) { return centre + QPointF(std::cos(angle), std::sin(angle)); };
                double best = ideal;
                double bestRoom = sketch.room(spot(ideal), k);
                for (int step = 1; step <= 18 && bestRoom < kRoom; ++step) {
                    for (const double sign : {1.0, -1.0}) {
                        const double angle = ideal + sign * step * kPi / 36;
                        const bool clearOfOwn = std::all_of(turns.begin(), turns.end(),
                            [&](double t) { return angleBetween(angle, t) >= kPi / 7; });
                        const double room = sketch.room(spot(angle), k);
                        if (clearOfOwn && room > bestRoom) {
                            best = angle;
                            bestRoom = room;
                        }
                    }
                }
                const QPointF h = spot(best);
                placement.hydrogens[std::size_t(i)].push_back(h);
                sketch.points.push_back(h);
                sketch.bonds.emplace_back(k, sketch.points.size() - 1);
                turns.push_back(best);
            }
        }
    }
    placement.atoms = std::move(positions);
    return placement;
}

// The component's atoms where a school book puts them, when its layout can
// hold them; otherwise they stay where the toolkit put them.
void layOutAsTextbook(Molecule &molecule, Component &component, const std::vector<int> &writtenOrder)
{
    depiction::Part part;
    std::vector<int> local(molecule.atoms.size(), -1);
    for (const int index : component.atoms) {
        const Atom &atom = molecule.atoms[std::size_t(index)];
        local[std::size_t(index)] = int(part.nodes.size());
        part.nodes.push_back(
            {atom.element, writtenOrder[std::size_t(index)], atom.lonePairs + atom.radicals, atom.position});
    }
    for (const int index : component.bonds) {
        const Bond &bond = molecule.bonds[std::size_t(index)];
        part.links.push_back({local[std::size_t(bond.begin)], local[std::size_t(bond.end)], bond.order});
    }
    const std::optional<std::vector<QPointF>> positions = depiction::textbookLayout(part);
    if (!positions)
        return;
    for (std::size_t k = 0; k < component.atoms.size(); ++k)
        molecule.atoms[std::size_t(component.atoms[k])].position = (*positions)[k];
    component.textbook = true;
}

// The lone pairs of each atom of the component from its bonds, charge and
// unpaired electrons; false where they do not add up or a first- or
// second-period shell would hold more than it can.
bool countLonePairs(Molecule &molecule, const Component &component)
{
    std::vector<int> bonding(molecule.atoms.size()), held(molecule.atoms.size());
    for (const int b : component.bonds) {
        const Bond &bond = molecule.bonds[std::size_t(b)];
        bonding[std::size_t(bond.begin)] += bond.dative ? 2 : bond.order;
        bonding[std::size_t(bond.end)] += bond.dative ? 0 : bond.order;
        held[std::size_t(bond.begin)] += 2 * bond.order;
        held[std::size_t(bond.end)] += 2 * bond.order;
    }
    for (const int index : component.atoms) {
        Atom &atom = molecule.atoms[std::size_t(index)];
        const auto i = std::size_t(index);
        const int left = atom.outer - atom.charge - bonding[i] - atom.radicals;
        const int p = period(atom.element);
        if (left < 0 || left % 2 != 0 || (p <= 2 && held[i] + left + atom.radicals > (p == 1 ? 2 : 8)))
            return false;
        atom.lonePairs = left / 2;
    }
    return true;
}

// Component `c` of the molecule and its further resonance forms, each a copy
// of its atoms and bonds with the form's bond orders, charges and lone pairs.
std::vector<Component> resonanceForms(Molecule &molecule, std::size_t c, const RDKit::ROMol &aromatic,
    const RDKit::ROMol &kekulized, const std::vector<int> &fragment, const std::vector<int> &rdkitBond,
    const std::vector<int> &indexOf)
{
    const Component component = molecule.components[c];
    std::vector<int> ownBonds(kekulized.getNumBonds(), -1);
    for (const int b : component.bonds) {
        if (rdkitBond[std::size_t(b)] >= 0)
            ownBonds[std::size_t(rdkitBond[std::size_t(b)])] = rdkitBond[std::size_t(b)];
    }
    const ResonanceForms found = resonanceForms(
        aromatic, fragment, resonanceFormOf(kekulized, fragment, ownBonds), kMostResonanceForms);
    std::vector<Component> forms{component};
    for (std::size_t k = 1; k < found.forms.size(); ++k) {
        const ResonanceForm &form = found.forms[k];
        const std::size_t atomsBefore = molecule.atoms.size(), bondsBefore = molecule.bonds.size();
        Component copy = component;
        copy.atoms.clear();
        copy.bonds.clear();
        std::vector<int> copied(atomsBefore, -1);
        for (const int atom : component.atoms) {
            copied[std::size_t(atom)] = int(molecule.atoms.size());
            copy.atoms.push_back(int(molecule.atoms.size()));
            const Atom original = molecule.atoms[std::size_t(atom)];
            molecule.atoms.push_back(original);
        }
        for (std::size_t a = 0; a < fragment.size(); ++a) {
            const int atom = copied[std::size_t(indexOf[std::size_t(fragment[a])])];
            molecule.atoms[std::size_t(atom)].charge = form.charges[a];
        }
        for (const int b : component.bonds) {
            Bond bond = molecule.bonds[std::size_t(b)];
            bond.begin = copied[std::size_t(bond.begin)];
            bond.end = copied[std::size_t(bond.end)];
            const int rdkit = rdkitBond[std::size_t(b)];
            if (rdkit >= 0 && form.bondOrders[std::size_t(rdkit)] > 0)
                bond.order = form.bondOrders[std::size_t(rdkit)];
            copy.bonds.push_back(int(molecule.bonds.size()));
            molecule.bonds.push_back(bond);
        }
        if (!countLonePairs(molecule, copy)) {
            molecule.atoms.resize(atomsBefore);
            molecule.bonds.resize(bondsBefore);
            continue;
        }
        forms.push_back(std::move(copy));
    }
    for (std::size_t k = 0; k < forms.size(); ++k) {
        forms[k].form = int(k);
        forms[k].forms = int(forms.size());
    }
    forms.front().formsLeftOut = found.leftOut;
    forms.front().formsStopped = found.stopped;
    return forms;
}

Molecule build(RDKit::RWMol &mol, const Source &source, bool ownCoordinates, Reading reading)
{
    checkAtomsAndBonds(mol, source);
    sanitize(mol, source);
    int total = int(mol.getNumAtoms());
    for (const RDKit::Atom *atom : mol.atoms())
        total += int(atom->getTotalNumHs());
    if (total > kMaxAtoms) {
        throw ChemistryError{
            Chemistry::tr("The molecule has %1 atoms with its hydrogens; at most %2 can be drawn.")
                .arg(total)
                .arg(kMaxAtoms)};
    }
    // The resonance forms are found in the molecule before its aromatic rings
    // are given alternating bonds: they are those bonds' other ways.
    std::optional<RDKit::RWMol> aromatic;
    if (reading.resonance)
        aromatic.emplace(mol);
    try {
        RDKit::MolOps::Kekulize(mol, true);
    } catch (const RDKit::MolSanitizeException &e) {
        throw ChemistryError{
            Chemistry::tr("RDKit refuses the molecule: %1").arg(QString::fromUtf8(e.what()))};
    }

    // Electrons per atom, checked before anything is placed.
    const unsigned atomCount = mol.getNumAtoms();
    std::vector<int> lonePairs(atomCount);
    for (const RDKit::Atom *atom : mol.atoms()) {
        const int outer = outerElectrons(atom->getAtomicNum());
        const int bonding = bondingElectrons(mol, *atom);
        // RDKit gives an atom whose bonds already take more electrons than
        // it has an unpaired one to make the count odd; there are none to pair.
        const int free = outer - atom->getFormalCharge() - bonding;
        const int radicals = free >= 0 ? int(atom->getNumRadicalElectrons()) : 0;
        const int left = free - radicals;
        if (left < 0 || left % 2 != 0) {
            atomError(mol, atom->getIdx(), source,
                Chemistry::tr("its electrons do not add up: %1 outer, charge %2, %3 in bonds and %4 unpaired "
                              "leave %5 for lone pairs.")
                    .arg(outer)
                    .arg(atom->getFormalCharge())
                    .arg(bonding)
                    .arg(radicals)
                    .arg(left));
        }
        lonePairs[atom->getIdx()] = left / 2;
        // Beyond the second period a shell may hold more than eight (SF6,
        // ClO4−); the first holds two, the second eight.
        int held = 2 * int(atom->getTotalNumHs()) + left + radicals;
        for (const RDKit::Bond *bond : mol.atomBonds(atom))
            held += 2 * bondOrder(*bond);
        const int shell = period(atom->getAtomicNum()) == 1 ? 2 : 8;
        if (period(atom->getAtomicNum()) <= 2 && held > shell) {
            atomError(mol, atom->getIdx(), source,
                Chemistry::tr("it would hold %1 electrons, more than the %2 its outer shell can.")
                    .arg(held)
                    .arg(shell));
        }
    }

    std::vector<std::vector<int>> fragments;
    RDKit::MolOps::getMolFrags(mol, fragments);
    for (auto &fragment : fragments)
        std::sort(fragment.begin(), fragment.end());
    std::sort(fragments.begin(), fragments.end());
    const auto tightest = [&](const std::vector<QPointF> &at) {
        double room = std::numeric_limits<double>::max();
        for (const auto &fragment : fragments)
            room = std::min(room, sketchOf(mol, fragment, at).tightest());
        return room;
    };

    // A file's own drawing is kept unless atoms in it (nearly) coincide, sit
    // on a bond or its bonds cross: that one is laid out anew.
    const bool computed
        = !ownCoordinates || !usableCoordinates(mol) || tightest(normalisedPositions(mol)) < kRoom / 4;
    if (computed) {
        try {
            RDDepict::compute2DCoords(mol, nullptr, true);
        } catch (const std::exception &e) {
            throw ChemistryError{
                Chemistry::tr("RDKit cannot lay the molecule out: %1").arg(QString::fromUtf8(e.what()))};
        }
    }
    std::vector<QPointF> positions = normalisedPositions(mol);
    // RDKit's own layout now and then puts a crowded molecule's atoms on top
    // of each other or on a bond; its CoordGen layout, slower, mostly does not.
    if (computed && tightest(positions) < kRoom) {
        const bool preferred = RDDepict::preferCoordGen;
        try {
            RDKit::RWMol other(mol);
            RDDepict::preferCoordGen = true;
            RDDepict::compute2DCoords(other, nullptr, true);
            RDDepict::preferCoordGen = preferred;
            std::vector<QPointF> again = normalisedPositions(other);
            if (tightest(again) > tightest(positions))
                positions = std::move(again);
        } catch (const std::exception &) {
            RDDepict::preferCoordGen = preferred; // RDKit's first layout stands
        }
    }
    if (computed) {
        for (const auto &fragment : fragments)
            uprightFragment(mol, fragment, positions);
    }
    const Placement placement = placeHydrogens(mol, fragments, std::move(positions));
    std::vector<std::string> keys;
    if (fragments.size() > 1) {
        for (const auto &fragment : fragments)
            keys.push_back(RDKit::MolFragmentToSmiles(mol, fragment));
    }

    Molecule molecule;
    std::vector<int> indexOf(atomCount, -1);
    std::vector<int> writtenOrder; // per atom of the molecule, for the layout's "written first".
    std::vector<int> rdkitBond; // per bond of the molecule, RDKit's index; -1 for an added hydrogen's
    std::vector<const std::vector<int> *> fragmentOf; // per component
    for (std::size_t f = 0; f < fragments.size(); ++f) {
        if (f > 0 && keys[f] == keys[f - 1]) {
            ++molecule.components.back().count;
            continue;
        }
        Component component;
        for (const int i : fragments[f]) {
            const RDKit::Atom &a = *mol.getAtomWithIdx(unsigned(i));
            Atom atom;
            atom.symbol = fromStd(a.getSymbol());
            atom.element = a.getAtomicNum();
            atom.source = i + 1;
            atom.charge = a.getFormalCharge();
            atom.isotope = int(a.getIsotope());
            atom.outer = outerElectrons(a.getAtomicNum());
            atom.lonePairs = lonePairs[std::size_t(i)];
            atom.radicals = int(a.getNumRadicalElectrons());
            atom.position = atom.depiction = placement.atoms[std::size_t(i)];
            indexOf[std::size_t(i)] = int(molecule.atoms.size());
            writtenOrder.push_back(2 * (i + 1));
            component.atoms.push_back(int(molecule.atoms.size()));
            component.charge += atom.charge;
            molecule.atoms.push_back(atom);
        }
        for (const RDKit::Bond *b : mol.bonds()) {
            if (!std::binary_search(fragments[f].begin(), fragments[f].end(), int(b->getBeginAtomIdx())))
                continue;
            Bond bond;
            bond.begin = indexOf[b->getBeginAtomIdx()];
            bond.end = indexOf[b->getEndAtomIdx()];
            bond.order = bondOrder(*b);
            bond.dative = b->getBondType() == RDKit::Bond::DATIVE;
            component.bonds.push_back(int(molecule.bonds.size()));
            molecule.bonds.push_back(bond);
            rdkitBond.push_back(int(b->getIdx()));
        }
        // The hydrogens RDKit keeps as counts become atoms.
        for (const int i : fragments[f]) {
            const int owner = indexOf[std::size_t(i)];
            // A bracket atom's hydrogens ("[OH-]") are written after it;
            // those a plain atom implies ("Cl" for HCl) are not written at all.
            const int written = mol.getAtomWithIdx(unsigned(i))->getNumExplicitHs() > 0 ? 2 * (i + 1) + 1 : 0;
            for (const QPointF &position : placement.hydrogens[std::size_t(i)]) {
                writtenOrder.push_back(written);
                Atom h;
                h.symbol = QStringLiteral("H");
                h.element = 1;
                h.outer = 1;
                h.position = h.depiction = position;
                component.atoms.push_back(int(molecule.atoms.size()));
                Bond bond;
                bond.begin = owner;
                bond.end = int(molecule.atoms.size());
                component.bonds.push_back(int(molecule.bonds.size()));
                molecule.bonds.push_back(bond);
                rdkitBond.push_back(-1);
                molecule.atoms.push_back(h);
            }
        }
        molecule.components.push_back(std::move(component));
        fragmentOf.push_back(&fragments[f]);
    }
    if (computed && reading.layout == MoleculeLayout::Textbook) {
        for (Component &component : molecule.components)
            layOutAsTextbook(molecule, component, writtenOrder);
    }
    if (aromatic) {
        std::vector<Component> all;
        for (std::size_t c = 0; c < molecule.components.size(); ++c) {
            std::vector<Component> forms
                = resonanceForms(molecule, c, *aromatic, mol, *fragmentOf[c], rdkitBond, indexOf);
            all.insert(all.end(), forms.begin(), forms.end());
        }
        molecule.components = std::move(all);
    }
    return molecule;
}

} // namespace

Molecule moleculeFromSmiles(const QString &text, Reading reading)
{
    const QString smiles = text.trimmed();
    if (smiles.isEmpty())
        throw ChemistryError{Chemistry::tr("The SMILES is empty.")};
    if (smiles.size() > kMaxSmilesLength) {
        throw ChemistryError{Chemistry::tr("The SMILES is %1 characters long; at most %2 are read.")
                                 .arg(smiles.size())
                                 .arg(kMaxSmilesLength)};
    }
    for (qsizetype i = 0; i < smiles.size(); ++i) {
        const char16_t c = smiles[i].unicode();
        if (c <= u' ' || c > u'~') {
            throw ChemistryError{Chemistry::tr("SMILES, position %1: “%2” cannot stand in a SMILES.")
                                     .arg(i + 1)
                                     .arg(c == u' ' ? Chemistry::tr("a space") : QString(smiles[i]))};
        }
    }
    const SmilesScan scan = scanSmiles(smiles);
    if (scan.atomPositions.size() > std::size_t(kMaxAtoms)) {
        throw ChemistryError{Chemistry::tr("The molecule has %1 atoms; at most %2 can be drawn.")
                                 .arg(scan.atomPositions.size())
                                 .arg(kMaxAtoms)};
    }

    RdkitSession session;
    std::unique_ptr<RDKit::RWMol> mol;
    const char *what = nullptr;
    std::string exceptionText;
    try {
        RDKit::SmilesParserParams params;
        params.sanitize = false; // checked and sanitized below, so that our messages come first
        params.removeHs = false; // atom numbers stay those of the input
        params.allowCXSMILES = false;
        params.parseName = false;
        mol.reset(RDKit::SmilesToMol(smiles.toStdString(), params));
    } catch (const std::exception &e) {
        exceptionText = e.what();
        what = exceptionText.c_str();
    }
    if (!mol) {
        const QString reason = rdkitReason(session.log(), what);
        const QString shown = reason.isEmpty() ? Chemistry::tr("it cannot be read") : reason;
        if (scan.errorPosition > 0) {
            throw ChemistryError{
                Chemistry::tr("SMILES, position %1: %2.").arg(scan.errorPosition).arg(shown)};
        }
        throw ChemistryError{Chemistry::tr("SMILES: %1.").arg(shown)};
    }
    Source source;
    if (scan.atomPositions.size() == mol->getNumAtoms())
        source.positions = scan.atomPositions;
    return build(*mol, source, false, reading);
}

Molecule moleculeFromMolfile(const QByteArray &molfile, bool relayout, Reading reading)
{
    if (molfile.trimmed().isEmpty())
        throw ChemistryError{Chemistry::tr("The molfile is empty.")};
    if (molfile.size() > kMaxMolfileSize) {
        throw ChemistryError{Chemistry::tr("The molfile is %1 bytes long; at most %2 are read.")
                                 .arg(molfile.size())
                                 .arg(kMaxMolfileSize)};
    }
    // The atom count is read from the counts line before the whole file is.
    const QList<QByteArray> lines = molfile.left(64 * 1024).split('\n');
    std::optional<int> declared;
    for (const QByteArray &line : lines) {
        if (line.startsWith("M  V30 COUNTS")) {
            declared = line.mid(13).simplified().split(' ').value(0).toInt();
            break;
        }
    }
    if (!declared && lines.size() > 3 && !lines[3].contains("V3000"))
        declared = lines[3].left(3).trimmed().toInt();
    if (declared && *declared > kMaxAtoms) {
        throw ChemistryError{Chemistry::tr("The molfile has %1 atoms; at most %2 can be drawn.")
                                 .arg(*declared)
                                 .arg(kMaxAtoms)};
    }

    RdkitSession session;
    std::unique_ptr<RDKit::RWMol> mol;
    try {
        mol.reset(RDKit::MolBlockToMol(molfile.toStdString(), false, false));
    } catch (const std::exception &e) {
        const QString reason = rdkitReason(std::string(), e.what());
        throw ChemistryError{Chemistry::tr("Molfile: %1").arg(reason)};
    }
    if (!mol) {
        const QString reason = rdkitReason(session.log(), nullptr);
        throw ChemistryError{reason.isEmpty() ? Chemistry::tr("The molfile holds no molecule.")
                                              : Chemistry::tr("Molfile: %1").arg(reason)};
    }
    return build(*mol, Source{}, !relayout, reading);
}

Molecule moleculeFromStructure(const Structure &structure, Reading reading)
{
    int total = int(structure.atoms.size());
    for (const StructureAtom &a : structure.atoms)
        total += std::max(0, a.hydrogens);
    if (total > kMaxAtoms) {
        throw ChemistryError{
            Chemistry::tr("The molecule has %1 atoms with its hydrogens; at most %2 can be drawn.")
                .arg(total)
                .arg(kMaxAtoms)};
    }
    RdkitSession session;
    RDKit::RWMol mol;
    for (const StructureAtom &a : structure.atoms) {
        RDKit::Atom atom(unsigned(std::max(0, a.element)));
        // Exactly the hydrogens given: none implied, as in a bracket atom.
        atom.setNoImplicit(true);
        atom.setNumExplicitHs(unsigned(std::max(0, a.hydrogens)));
        atom.setFormalCharge(a.charge);
        atom.setNumRadicalElectrons(unsigned(std::max(0, a.radicals)));
        mol.addAtom(&atom, true, false);
    }
    const int count = int(structure.atoms.size());
    for (const StructureBond &b : structure.bonds) {
        if (b.begin < 0 || b.end < 0 || b.begin >= count || b.end >= count || b.begin == b.end
            || b.order < 1 || b.order > 3 || mol.getBondBetweenAtoms(unsigned(b.begin), unsigned(b.end))) {
            throw ChemistryError{Chemistry::tr("The structure has a bond that cannot be drawn.")};
        }
        static constexpr std::array<RDKit::Bond::BondType, 3> kTypes{
            RDKit::Bond::SINGLE, RDKit::Bond::DOUBLE, RDKit::Bond::TRIPLE};
        mol.addBond(unsigned(b.begin), unsigned(b.end), kTypes[std::size_t(b.order - 1)]);
    }
    Source source;
    source.radicalsGiven = true;
    return build(mol, source, false, reading);
}

} // namespace zembrel
