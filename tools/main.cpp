// Writes the dot picture and the formula icon in every form the build needs:
// dot.gif, zembrel.ico and zembrel-<size>.png for the window, and
// theme-<size>.png, the icon themes' sizes rendered from the icon's drawing.
// With --theme it renders only the theme sizes of another drawing (the
// molecules window's icon).

#include "Artwork.h"
#include "GifFile.h"
#include "IcoFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <array>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array kThemeSizes = {16, 24, 32, 48, 64, 128, 256};

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

// Each size is drawn from the vector drawing at that size, so a large icon is
// as sharp as the drawing, not a small one blown up.
QImage themeIcon(QSvgRenderer &drawing, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    painter.end();
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    const bool themeOnly = arguments.size() == 4 && arguments.at(1) == u"--theme"_s;
    if (themeOnly)
        arguments.removeAt(1);
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: zembrel_resgen [--theme] OUTPUT-FOLDER ICON-SVG\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.mkpath(u"."_s)) {
        std::fprintf(stderr, "zembrel_resgen: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    QSvgRenderer drawing(arguments.at(2));
    if (!drawing.isValid()) {
        std::fprintf(stderr, "zembrel_resgen: %s is not an SVG drawing\n", qPrintable(arguments.at(2)));
        return 1;
    }

    if (themeOnly) {
        bool written = true;
        for (const int size : kThemeSizes)
            written = written && writePng(folder, u"theme-%1.png"_s.arg(size), themeIcon(drawing, size));
        return written ? 0 : 1;
    }

    const QImage icon16 = Artwork::formulaIcon(16);
    const QImage icon32 = Artwork::formulaIcon(32);
    bool written = writeFile(folder, u"dot.gif"_s, gifFile(Artwork::dotPicture()))
        && writeFile(folder, u"zembrel.ico"_s, icoFile({icon16, icon32}))
        && writePng(folder, u"zembrel-16.png"_s, icon16) && writePng(folder, u"zembrel-32.png"_s, icon32);
    for (const int size : kThemeSizes)
        written = written && writePng(folder, u"theme-%1.png"_s.arg(size), themeIcon(drawing, size));
    return written ? 0 : 1;
}
