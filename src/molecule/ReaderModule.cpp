#include "ReaderModule.h"

#include "Chemistry.h"

#include <exception>
#include <new>

namespace zembrel {

namespace {

template <typename Read> ReadResult caught(Read &&read)
{
    try {
        return {read(), {}};
    } catch (const ChemistryError &e) {
        return {{}, e.message};
    } catch (const std::bad_alloc &) {
        return {{}, Chemistry::tr("There is not enough memory to read the molecule.")};
    } catch (const std::exception &e) {
        return {{}, Chemistry::tr("RDKit refuses the molecule: %1").arg(QString::fromLocal8Bit(e.what()))};
    }
}

ReadResult readSmiles(const QString &smiles, Reading reading)
{
    return caught([&] { return moleculeFromSmiles(smiles, reading); });
}

ReadResult readMolfile(const QByteArray &molfile, bool relayout, Reading reading)
{
    return caught([&] { return moleculeFromMolfile(molfile, relayout, reading); });
}

ReadResult readStructure(const Structure &structure, Reading reading)
{
    return caught([&] { return moleculeFromStructure(structure, reading); });
}

} // namespace

} // namespace zembrel

extern "C" Q_DECL_EXPORT const zembrel::ReaderFunctions *zembrelMoleculeReader()
{
    static const zembrel::ReaderFunctions functions{&zembrel::readSmiles, &zembrel::readMolfile, &zembrel::readStructure};
    return &functions;
}
