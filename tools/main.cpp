// Writes the dot picture and the formula icon in every form the build needs:
// dot.gif, zembrel.ico, and zembrel-<size>.png for the window and icon themes.

#include "Artwork.h"
#include "GifFile.h"
#include "IcoFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

bool writeFile(const QDir &folder, const QString &name, const QByteArray &bytes)
{
    QSaveFile file(folder.filePath(name));
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    std::fprintf(stderr, "zembrel_resgen: cannot write %s: %s\n", qPrintable(file.fileName()),
        qPrintable(file.errorString()));
    return false;
}

bool writePng(const QDir &folder, const QString &name, const QImage &image)
{
    const QString path = folder.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "zembrel_resgen: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: zembrel_resgen OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.mkpath(u"."_s)) {
        std::fprintf(stderr, "zembrel_resgen: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }

    const QImage icon16 = Artwork::formulaIcon(16);
    const QImage icon32 = Artwork::formulaIcon(32);
    // Larger theme sizes are the 32 px design blown up, never redrawn.
    const QImage icon64 = icon32.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::FastTransformation);

    const bool written = writeFile(folder, u"dot.gif"_s, gifFile(Artwork::dotPicture()))
        && writeFile(folder, u"zembrel.ico"_s, icoFile({icon16, icon32}))
        && writePng(folder, u"zembrel-16.png"_s, icon16) && writePng(folder, u"zembrel-32.png"_s, icon32)
        && writePng(folder, u"zembrel-64.png"_s, icon64);
    return written ? 0 : 1;
}
