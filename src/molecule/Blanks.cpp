#include "Drawing.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace zembrel {

std::optional<Blanks> blanksNamed(const QString &list)
{
    Blanks blanks;
    for (const QString &word : list.split(u',')) {
        const QString name = word.trimmed();
        if (name == u"lone-pairs"_s)
            blanks.lonePairs = true;
        else if (name == u"charges"_s)
            blanks.charges = true;
        else if (name == u"bonds"_s)
            blanks.bonds = true;
        else
            return std::nullopt;
    }
    return blanks;
}

Drawing withBlanks(Drawing drawing, const Blanks &blanks)
{
    std::erase_if(drawing.texts, [&](const PlacedText &text) {
        return blanks.charges && text.role == TextRole::Charge && text.atom >= 0;
    });
    std::erase_if(drawing.dots, [&](const PlacedDot &dot) {
        return dot.kind == DotKind::Bond ? blanks.bonds : blanks.lonePairs;
    });
    std::erase_if(drawing.lines, [&](const PlacedLine &line) {
        return line.kind == LineKind::Bond ? blanks.bonds : line.kind == LineKind::LonePair && blanks.lonePairs;
    });
    if (blanks.bonds)
        drawing.wedges.clear();
    return drawing;
}

} // namespace zembrel
