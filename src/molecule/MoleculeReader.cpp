#include "Chemistry.h"
#include "Molecule.h"
#include "ReaderModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <algorithm>
#include <memory>

namespace zembrel {

namespace {

// The reader module, loaded at the first molecule: RDKit's libraries take
// longer to load than an atom's whole picture takes to draw, and a program
// that never reads a molecule should not wait for them.
struct Reader
{
    QLibrary library;
    const ReaderFunctions *functions = nullptr;
    QString failure;

    Reader()
    {
        // Installed beside the programs' libraries; for a program of the build
        // tree, where it was built.
        QStringList places;
        const QString programs = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
        if (!programs.isEmpty())
            places << QDir::cleanPath(QDir(programs).filePath(QStringLiteral(ZEMBREL_READER_INSTALLED)));
        if (programs.isEmpty() || programs.startsWith(QStringLiteral(ZEMBREL_BUILD_TREE "/")))
            places << QStringLiteral(ZEMBREL_READER_BUILT);
        for (const QString &place : std::as_const(places)) {
            if (!QFileInfo::exists(place))
                continue;
            library.setFileName(place);
            if (!library.load()) {
                failure = library.errorString();
                continue;
            }
            const auto entry = reinterpret_cast<ReaderEntry>(library.resolve(kReaderEntry));
            functions = entry ? entry() : nullptr;
            if (functions)
                return;
            failure = library.errorString();
        }
        if (failure.isEmpty())
            failure = Chemistry::tr("it is not at %1").arg(places.join(QStringLiteral(", ")));
    }
};

const ReaderFunctions &reader()
{
    static const Reader loaded;
    if (!loaded.functions)
        throw ChemistryError{Chemistry::tr("The molecule reader cannot be loaded: %1").arg(loaded.failure)};
    return *loaded.functions;
}

Molecule molecule(ReadResult result)
{
    if (!result.error.isEmpty())
        throw ChemistryError{result.error};
    return std::move(result.molecule);
}

} // namespace

bool couldBeSmiles(const QString &text)
{
    return std::all_of(
        text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 32 && c.unicode() < 127; });
}

Molecule moleculeFromSmiles(const QString &smiles, Reading reading)
{
    return molecule(reader().fromSmiles(smiles, reading));
}

Molecule moleculeFromMolfile(const QByteArray &molfile, bool relayout, Reading reading)
{
    return molecule(reader().fromMolfile(molfile, relayout, reading));
}

Molecule moleculeFromStructure(const Structure &structure, Reading reading)
{
    Molecule m = molecule(reader().fromStructure(structure, reading));
    for (Component &component : m.components) {
        if (std::find(component.atoms.begin(), component.atoms.end(), structure.centre) != component.atoms.end())
            component.centre = structure.centre;
    }
    return m;
}

} // namespace zembrel
