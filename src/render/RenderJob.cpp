#include "RenderJob.h"

#include "Chemistry.h"
#include "Elements.h"
#include "Folding.h"
#include "Formula.h"
#include "ImageSurface.h"
#include "Letters.h"
#include "Explanation.h"
#include "Output.h"
#include "Procedure.h"
#include "RenderText.h"
#include "ShapeLayout.h"
#include "Species.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

constexpr int kMaxLetters = 2;
constexpr float kMinRadius = 0.5f, kMaxRadius = 10;

[[noreturn]] void refuse(const QString &message)
{
    throw UsageError{message};
}

// A character as a message names it: itself where it can be seen, and its code.
QString named(char32_t c)
{
    const QString text = QString::fromUcs4(&c, 1);
    const QString code = u"U+%1"_s.arg(uint(c), 4, 16, QChar(u'0')).toUpper();
    return QChar::isPrint(c) ? RenderText::tr("\"%1\" (%2)").arg(text, code) : code;
}

QString checkedSymbol(const QString &symbol)
{
    int letters = 0;
    for (const char32_t c : symbol.toUcs4()) {
        if (c > 0xffff || !isLetter(QChar(char16_t(c))))
            refuse(RenderText::tr("symbol \"%1\": %2 is not a letter of the Latin or Russian alphabet")
                       .arg(symbol, named(c)));
        if (++letters > kMaxLetters)
            refuse(RenderText::tr("symbol \"%1\": the letter %2 is one too many, a symbol has at most two")
                       .arg(symbol, named(c)));
    }
    return symbol;
}

// Numbers are read with a point or, as a Russian user may write them, a comma.
std::optional<double> number(const QString &text)
{
    bool ok = false;
    QString plain = text.trimmed();
    plain.replace(u',', u'.');
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> integer(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = QLocale::c().toInt(text.trimmed(), &ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

std::array<bool, DotSlots::kCount> checkedDots(const QStringList &lists)
{
    std::array<bool, DotSlots::kCount> dots{};
    for (const QString &list : lists) {
        // An empty entry is a slip of the keyboard, not "no dot": say so.
        const QStringList items = list.split(u',');
        if (std::any_of(
                items.cbegin(), items.cend(), [](const QString &item) { return item.trimmed().isEmpty(); }))
            refuse(
                RenderText::tr("dots \"%1\": an empty entry; give slot numbers 0 to 15 separated by commas")
                    .arg(list));
        for (const QString &item : items) {
            const auto slot = integer(item, 0, DotSlots::kCount - 1);
            if (!slot)
                refuse(RenderText::tr("dot \"%1\": slot numbers are whole numbers from 0 to 15")
                           .arg(item.trimmed()));
            dots[std::size_t(*slot)] = true;
        }
    }
    for (int a = 0; a < DotSlots::kCount; ++a) {
        for (int b = a + 1; b < DotSlots::kCount; ++b) {
            if (dots[std::size_t(a)] && dots[std::size_t(b)] && excludeEachOther(a, b))
                refuse(
                    RenderText::tr("dots %1 and %2 cannot go together: they are the two groups of one side")
                        .arg(a)
                        .arg(b));
        }
    }
    return dots;
}

float checkedRadius(const QString &text)
{
    const auto r = number(text);
    if (!r || *r < kMinRadius || *r > kMaxRadius || std::floor(*r * 2) != *r * 2)
        refuse(RenderText::tr("radius \"%1\": give a number from 0.5 to 10 in steps of 0.5").arg(text));
    return float(*r);
}

SurfaceFont checkedFont(const QCommandLineParser &parser)
{
    SurfaceFont font = startFont();
    if (parser.isSet(u"font"_s)) {
        font.Name = parser.value(u"font"_s);
        if (font.Name.trimmed().isEmpty())
            refuse(RenderText::tr("the font name cannot be empty"));
    }
    if (parser.isSet(u"size"_s)) {
        const auto size = number(parser.value(u"size"_s));
        if (!size || *size <= 0 || *size > FontState::kMaxSize)
            refuse(RenderText::tr("font size \"%1\": give a number above 0 and at most 2160")
                       .arg(parser.value(u"size"_s)));
        font.Size = *size;
    }
    if (parser.isSet(u"weight"_s)) {
        const auto weight = integer(parser.value(u"weight"_s), 1, 1000);
        if (!weight)
            refuse(RenderText::tr("font weight \"%1\": give a whole number from 1 to 1000")
                       .arg(parser.value(u"weight"_s)));
        font.Weight = short(*weight);
    }
    font.Italic = parser.isSet(u"italic"_s);
    return font;
}

Format checkedFormat(const QCommandLineParser &parser, const QString &output)
{
    const bool given = parser.isSet(u"format"_s);
    const QString name = (given ? parser.value(u"format"_s) : QFileInfo(output).suffix()).toLower();
    // A stream (standard output, /dev/null, a pipe) may have no name to tell
    // by; PNG is what image tools expect there.
    if (name.isEmpty() && isStreamOutput(output))
        return Format::Png;
    if (name == u"bmp"_s)
        return Format::Bmp;
    if (name == u"png"_s)
        return Format::Png;
    if (name == u"svg"_s)
        return Format::Svg;
    if (given)
        refuse(RenderText::tr("format \"%1\": it is bmp, png or svg").arg(parser.value(u"format"_s)));
    refuse(
        RenderText::tr("cannot tell the format from the name \"%1\": use the extension .bmp, .png or .svg, "
                       "or --format")
            .arg(output));
}

QByteArray molfileBytes(const QString &name, bool standardInputFree)
{
    QFile file;
    if (name == u"-"_s) {
        if (!standardInputFree)
            refuse(RenderText::tr("--mol -: standard input is taken by the batch list; name the molfile"));
        file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(name);
        if (!file.open(QIODevice::ReadOnly))
            refuse(RenderText::tr("molfile \"%1\": cannot read it: %2").arg(name, file.errorString()));
    }
    // One byte past the limit is enough to know the file is too large.
    QByteArray bytes = file.read(kMaxMolfileSize + 1);
    if (file.error() != QFileDevice::NoError)
        refuse(RenderText::tr("molfile \"%1\": cannot read it: %2").arg(name, file.errorString()));
    return bytes;
}

// The options that name a molecule or ion instead of an atom's symbol.
const std::array<QString, 4> &moleculeSources()
{
    static const std::array<QString, 4> names{u"smiles"_s, u"mol"_s, u"name"_s, u"formula"_s};
    return names;
}

bool namesMolecule(const QCommandLineParser &parser)
{
    const auto &sources = moleculeSources();
    return std::any_of(
        sources.cbegin(), sources.cend(), [&parser](const QString &name) { return parser.isSet(name); });
}

// The closest of the table's names or formulas to text that names none, as a message lists them.
QString closestListed(const QString &text, SpeciesKey key)
{
    QStringList quoted;
    for (const QString &near : SpeciesTable::builtIn().closest(text, key))
        quoted << RenderText::tr("\"%1\"", "one of the closest names").arg(near);
    return quoted.join(u", "_s);
}

// What --name or --formula names: a species of the table or, for a formula
// the table lacks, the structure worked out from it.
struct Named
{
    const Species *species = nullptr;
    std::optional<FormulaStructure> worked;
};

Named checkedNamed(const QCommandLineParser &parser)
{
    const bool byName = parser.isSet(u"name"_s);
    const QString text = parser.value(byName ? u"name"_s : u"formula"_s);
    const SpeciesKey key = byName ? SpeciesKey::Name : SpeciesKey::Formula;
    if (const Species *species = SpeciesTable::builtIn().find(text, key))
        return {species, std::nullopt};
    const QString closest = closestListed(text, key);
    if (byName) {
        refuse(closest.isEmpty() ? RenderText::tr("no molecule or ion is named \"%1\"").arg(text)
                                 : RenderText::tr("no molecule or ion is named \"%1\"; the closest names: %2")
                                       .arg(text, closest));
    }
    try {
        return {nullptr, workOutFormula(text)};
    } catch (const ChemistryError &e) {
        refuse(closest.isEmpty()
                ? RenderText::tr("no molecule or ion of the table has the formula \"%1\", and its structure "
                                 "cannot be worked out: %2")
                      .arg(text, e.message)
                : RenderText::tr("no molecule or ion of the table has the formula \"%1\", and its structure "
                                 "cannot be worked out: %2; the closest formulas: %3")
                      .arg(text, e.message, closest));
    }
}

// The molecule a job's words name, or none for an atom, with what the SVG is
// titled with and what names it.
struct NamedMolecule
{
    std::shared_ptr<const Molecule> molecule;
    QString title;
    Named named;
};

NamedMolecule checkedMolecule(const QCommandLineParser &parser, bool standardInputFree)
{
    QStringList given;
    for (const QString &source : moleculeSources()) {
        if (parser.isSet(source))
            given << source;
    }
    if (parser.isSet(u"relayout"_s) && !parser.isSet(u"mol"_s))
        refuse(RenderText::tr("--relayout is for --mol"));
    if (given.isEmpty()) {
        for (const char16_t *option :
            {u"style", u"marks", u"shells", u"layout", u"charges", u"resonance", u"blank"}) {
            if (parser.isSet(QString::fromUtf16(option)))
                refuse(RenderText::tr("--%1 is for a molecule: --smiles, --mol, --name or --formula")
                           .arg(QString::fromUtf16(option)));
        }
        return {};
    }
    if (given.size() > 1)
        refuse(RenderText::tr("--%1 and --%2: give one of them").arg(given.at(0), given.at(1)));
    for (const char16_t *option : {u"dots", u"charge"}) {
        if (parser.isSet(QString::fromUtf16(option)))
            refuse(RenderText::tr("--%1 is for one atom's symbol, not for a molecule")
                       .arg(QString::fromUtf16(option)));
    }
    if (!parser.positionalArguments().isEmpty())
        refuse(RenderText::tr("extra argument \"%1\": a molecule needs no symbol")
                   .arg(parser.positionalArguments().first()));
    Reading reading;
    reading.resonance = parser.isSet(u"resonance"_s);
    if (parser.isSet(u"layout"_s)) {
        const QString name = parser.value(u"layout"_s);
        if (name == u"depiction"_s)
            reading.layout = MoleculeLayout::Depiction;
        else if (name != u"textbook"_s)
            refuse(RenderText::tr("layout \"%1\": it is textbook or depiction").arg(name));
    }
    NamedMolecule named;
    try {
        if (parser.isSet(u"mol"_s)) {
            named.title = QFileInfo(parser.value(u"mol"_s)).completeBaseName();
            named.molecule = std::make_shared<const Molecule>(moleculeFromMolfile(
                molfileBytes(parser.value(u"mol"_s), standardInputFree), parser.isSet(u"relayout"_s), reading));
            return named;
        }
        if (parser.isSet(u"smiles"_s)) {
            named.title = parser.value(u"smiles"_s);
        } else {
            named.named = checkedNamed(parser);
            if (named.named.worked) {
                named.title = writtenFormulaText(named.named.worked->formula);
                named.molecule = std::make_shared<const Molecule>(
                    moleculeFromStructure(named.named.worked->worked.structure(), reading));
                return named;
            }
            // A species of the table is drawn as its SMILES would be, to the byte.
            named.title = named.named.species->smiles;
        }
        named.molecule = std::make_shared<const Molecule>(moleculeFromSmiles(named.title, reading));
        return named;
    } catch (const ChemistryError &e) {
        refuse(e.message);
    }
}

// What a sheet writes under the picture: a species' name in the messages'
// language and its school formula, else what the input is.
QString defaultCaption(const Named &named, const Picture &picture)
{
    if (const Species *species = named.species)
        return speciesCaption(*species);
    if (picture.molecule)
        return picture.title;
    return picture.charge == 0 ? picture.symbol : picture.symbol + chargeText(picture.charge);
}

// The marks per element and the shells a molecule's picture asks for, with
// the style each needs.
MarkOptions checkedMarkOptions(const QCommandLineParser &parser, MarkStyle style)
{
    MarkOptions options;
    options.shells = parser.isSet(u"shells"_s);
    if (parser.isSet(u"charges"_s)) {
        const std::optional<FormalCharges> charges = formalChargesNamed(parser.value(u"charges"_s));
        if (!charges)
            refuse(RenderText::tr("charges \"%1\": they are auto, all or none").arg(parser.value(u"charges"_s)));
        options.charges = *charges;
    }
    if (options.shells && style != MarkStyle::Dots && style != MarkStyle::DotCross)
        refuse(RenderText::tr("--shells is for --style dots and --style dot-cross"));
    if (!parser.isSet(u"marks"_s))
        return options;
    if (style != MarkStyle::DotCross)
        refuse(RenderText::tr("--marks is for --style dot-cross"));
    const QString list = parser.value(u"marks"_s);
    for (const QString &item : list.split(u',')) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals < 0)
            refuse(
                RenderText::tr("marks \"%1\": give ELEMENT=MARK pairs separated by commas, as O=cross,H=dot")
                    .arg(list));
        const QString symbol = item.left(equals).trimmed(), name = item.mid(equals + 1).trimmed();
        const int element = atomicNumber(symbol);
        if (element == 0)
            refuse(RenderText::tr("marks \"%1\": \"%2\" is not an element symbol").arg(list, symbol));
        const std::optional<MarkShape> shape = markShapeNamed(name);
        if (!shape)
            refuse(
                RenderText::tr("marks \"%1\": \"%2\" is not a mark; the marks are dot, cross, ring, square "
                               "and triangle")
                    .arg(list, name));
        if (options.marks.count(element))
            refuse(RenderText::tr("marks \"%1\": %2 is given twice").arg(list, symbol));
        options.marks[element] = *shape;
    }
    return options;
}

} // namespace

QString speciesCaption(const Species &species)
{
    const bool russian = RenderText::tr("en", "the language of species' names on a sheet: en or ru") == u"ru"_s;
    return RenderText::tr("%1, %2")
        .arg((russian ? species.russian : species.english).first(), prettyFormula(species.formulas.first()));
}

void addJobOptions(QCommandLineParser &parser)
{
    parser.addPositionalArgument(
        RenderText::tr("SYMBOL"), RenderText::tr("One or two letters, Latin or Russian."));
    parser.addOptions({
        {u"dots"_s, RenderText::tr("Dots: slot numbers 0 to 15, separated by commas."), u"1,7,9"_s},
        {u"radius"_s, RenderText::tr("Dot radius: 0.5 to 10 in steps of 0.5 (default 2)."), u"R"_s},
        {u"font"_s, RenderText::tr("Font family (default Arial)."), RenderText::tr("FAMILY")},
        {u"size"_s, RenderText::tr("Font size in points (default 21.75)."), RenderText::tr("PT")},
        {u"weight"_s, RenderText::tr("Font weight: 400 regular, 700 bold."), u"N"_s},
        {u"italic"_s, RenderText::tr("Italic.")},
        {u"scale"_s, RenderText::tr("Scale: 1 to 8, that many times the pixels."), u"N"_s},
        {u"transparent"_s, RenderText::tr("Transparent ground (PNG and SVG).")},
        {u"format"_s,
            RenderText::tr(
                "Format: bmp, png or svg (default: the file's extension; png on standard output)."),
            RenderText::tr("FORMAT")},
        {{u"o"_s, u"output"_s}, RenderText::tr("Picture file; \"-\" is standard output."),
            RenderText::tr("FILE")},
        {u"charge"_s, RenderText::tr("The atom's charge, -8 to 8: the picture in square brackets with it."),
            u"N"_s},
        {u"smiles"_s, RenderText::tr("A molecule or ion in SMILES, instead of a symbol."), u"SMILES"_s},
        {u"name"_s,
            RenderText::tr("A molecule or ion by its name in Russian or English, from the table of school "
                           "species (\"water\", \"нитрат-ион\")."),
            RenderText::tr("NAME")},
        {u"formula"_s,
            RenderText::tr(
                "A molecule or ion by its school formula, from the same table (H2O, NH4+, CO3 2-)."),
            RenderText::tr("FORMULA")},
        {u"mol"_s, RenderText::tr("A molecule or ion in an MDL molfile (\"-\" is standard input)."),
            RenderText::tr("FILE")},
        {u"style"_s,
            RenderText::tr(
                "How a molecule's electrons are drawn: lewis (bonds as lines, the default), dots "
                "(every electron a dot), bars (lone pairs as bars), dot-cross (every electron in "
                "the mark of the atom it came from) or shape (the shape round the central atom, "
                "with wedges, a bond angle and the shape's name)."),
            RenderText::tr("STYLE")},
        {u"marks"_s,
            RenderText::tr("The marks of elements' electrons with --style dot-cross, as O=cross,H=dot: dot, "
                           "cross, ring, square or triangle (default: in that order, by first appearance)."),
            RenderText::tr("LIST")},
        {u"shells"_s,
            RenderText::tr(
                "Each atom's outer shell as a circle with its electrons on it, for --style dots and "
                "dot-cross.")},
        {u"layout"_s,
            RenderText::tr("Where a molecule's atoms stand when the input does not place them: textbook "
                           "(the default: chains straight on a square grid, regular rings, as school "
                           "books draw them) or depiction (the chemistry toolkit's 2D depiction)."),
            RenderText::tr("LAYOUT")},
        {u"relayout"_s,
            RenderText::tr("Lay the molfile's atoms out anew, in the --layout, instead of taking its "
                           "coordinates.")},
        {u"charges"_s,
            RenderText::tr("Which atoms' formal charges are drawn: auto (the default: in a neutral "
                           "molecule all, in an ion where they say more than its charge), all or none "
                           "(an ion's net charge alone)."),
            RenderText::tr("WHICH")},
        {u"resonance"_s,
            RenderText::tr("Every resonance form of the molecule or ion, side by side with ↔ between "
                           "them, each with its formal charges.")},
        {u"blank"_s,
            RenderText::tr("Leave out a molecule's lone-pairs, charges (its atoms') or bonds, any of them "
                           "separated by commas, keeping their room: a picture for a student to complete."),
            RenderText::tr("LIST")},
        {u"caption"_s, RenderText::tr("The caption under the picture on a --sheet."), RenderText::tr("TEXT")},
    });
}

QStringList batchDefaultOptions()
{
    return {u"scale"_s, u"radius"_s, u"font"_s, u"size"_s, u"weight"_s, u"italic"_s, u"transparent"_s,
        u"format"_s, u"style"_s, u"marks"_s, u"shells"_s, u"layout"_s, u"charges"_s, u"resonance"_s,
        u"blank"_s};
}

QString explanationOf(const QCommandLineParser &parser)
{
    if (!namesMolecule(parser))
        refuse(RenderText::tr("--explain is for a molecule: --smiles, --mol, --name or --formula"));
    const NamedMolecule named = checkedMolecule(parser, true);
    try {
        if (named.named.worked)
            return explainWorked(named.named.worked->formula, named.named.worked->worked, *named.molecule);
        const QString heading = named.named.species ? defaultCaption(named.named, Picture{}) : named.title;
        return RenderText::tr("%1:", "the heading of a molecule's counts").arg(heading) + u'\n'
            + explainMolecule(*named.molecule);
    } catch (const ChemistryError &e) {
        refuse(e.message);
    }
}

RenderJob jobFrom(const QCommandLineParser &parser, const QString &outputDir, bool standardInputFree)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty() && !namesMolecule(parser))
        refuse(RenderText::tr("no element symbol given"));
    if (positional.size() > 1)
        refuse(RenderText::tr("extra argument \"%1\": there is one symbol").arg(positional.at(1)));
    if (!parser.isSet(u"output"_s) || parser.value(u"output"_s).isEmpty())
        refuse(RenderText::tr("no picture file given: -o FILE"));

    RenderJob job;
    job.output = parser.value(u"output"_s);
    Picture &picture = job.picture;
    const NamedMolecule named = checkedMolecule(parser, standardInputFree);
    picture.molecule = named.molecule;
    picture.title = named.title;
    if (picture.molecule) {
        if (parser.isSet(u"style"_s)) {
            const std::optional<MarkStyle> style = markStyleNamed(parser.value(u"style"_s));
            if (!style)
                refuse(RenderText::tr("style \"%1\": it is lewis, dots, bars, dot-cross or shape")
                           .arg(parser.value(u"style"_s)));
            picture.style = *style;
        }
        if (picture.style == MarkStyle::Shape) {
            // A shape has its own geometry and shows an ion's charge alone.
            for (const char16_t *option : {u"charges", u"resonance", u"layout"}) {
                if (parser.isSet(QString::fromUtf16(option)))
                    refuse(RenderText::tr("--%1 is not for --style shape").arg(QString::fromUtf16(option)));
            }
            try {
                checkShapeDrawn(*picture.molecule);
            } catch (const ChemistryError &e) {
                refuse(e.message);
            }
        }
        picture.markOptions = checkedMarkOptions(parser, picture.style);
        if (parser.isSet(u"blank"_s)) {
            const std::optional<Blanks> blanks = blanksNamed(parser.value(u"blank"_s));
            if (!blanks)
                refuse(RenderText::tr("blank \"%1\": give lone-pairs, charges or bonds, separated by commas")
                           .arg(parser.value(u"blank"_s)));
            picture.blanks = *blanks;
        }
    } else {
        picture.symbol = checkedSymbol(positional.first());
        picture.title = picture.symbol;
        picture.dots = checkedDots(parser.values(u"dots"_s));
        if (parser.isSet(u"charge"_s)) {
            const auto charge = integer(parser.value(u"charge"_s), -kMaxFormalCharge, kMaxFormalCharge);
            if (!charge)
                refuse(RenderText::tr("charge \"%1\": give a whole number from -8 to 8")
                           .arg(parser.value(u"charge"_s)));
            picture.charge = *charge;
        }
    }
    if (parser.isSet(u"radius"_s))
        picture.radius = checkedRadius(parser.value(u"radius"_s));
    picture.font = checkedFont(parser);
    job.fontNamed = parser.isSet(u"font"_s);
    job.resonance = parser.isSet(u"resonance"_s);
    job.caption = parser.isSet(u"caption"_s) ? parser.value(u"caption"_s) : defaultCaption(named.named, picture);
    if (parser.isSet(u"scale"_s)) {
        const auto scale = integer(parser.value(u"scale"_s), 1, ImageSurface::kMaxScale);
        if (!scale)
            refuse(RenderText::tr("scale \"%1\": give a whole number from 1 to 8")
                       .arg(parser.value(u"scale"_s)));
        picture.scale = *scale;
    }
    // Past this the font engine's measures overflow and the layout breaks.
    constexpr double kMaxGlyphPixels = 16384;
    if (picture.font.Size * kDotsPerInch / 72 * picture.scale > kMaxGlyphPixels)
        refuse(RenderText::tr("font size %1 pt at scale %2 is too large: at most %3 pt at this scale")
                   .arg(picture.font.Size)
                   .arg(picture.scale)
                   .arg(std::floor(kMaxGlyphPixels * 72 / kDotsPerInch / picture.scale * 100) / 100));
    picture.transparent = parser.isSet(u"transparent"_s);
    job.format = checkedFormat(parser, job.output);
    if (picture.transparent && job.format == Format::Bmp)
        refuse(RenderText::tr("BMP has no transparency: --transparent is for PNG and SVG"));
    if (!outputDir.isEmpty() && job.output != u"-"_s && QDir::isRelativePath(job.output))
        job.output = QDir(outputDir).filePath(job.output);
    return job;
}

QStringList splitWords(const QString &line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote; // the open quote, or none
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const bool escapes = c == u'\\' && i + 1 < line.size()
            && (quote.isNull() || (quote == u'"' && (line[i + 1] == u'"' || line[i + 1] == u'\\')));
        if (escapes) {
            word += line[++i];
            inWord = true;
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                word += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord)
                words << std::exchange(word, QString());
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (!quote.isNull())
        refuse(RenderText::tr("the quote %1 is not closed").arg(quote));
    if (inWord)
        words << word;
    return words;
}

namespace {

// The defaults an atom's line takes: those only a molecule takes (--style
// dot-cross for a list of molecules) pass over it.
QStringList forAtoms(const QStringList &defaults)
{
    QStringList used;
    for (qsizetype i = 0; i < defaults.size(); ++i) {
        if (defaults[i] == u"--style"_s || defaults[i] == u"--marks"_s || defaults[i] == u"--layout"_s
            || defaults[i] == u"--charges"_s || defaults[i] == u"--blank"_s)
            ++i;
        else if (defaults[i] != u"--shells"_s && defaults[i] != u"--resonance"_s)
            used << defaults[i];
    }
    return used;
}

} // namespace

RenderJob parseJob(const QStringList &words, const QStringList &defaults, const QString &outputDir)
{
    QCommandLineParser line;
    addJobOptions(line);
    const bool molecule = line.parse(QStringList{u"zembrel-render"_s} + words) && namesMolecule(line);
    QCommandLineParser parser;
    addJobOptions(parser);
    // A value given twice counts as its last: the line's own words come last.
    if (!parser.parse(QStringList{u"zembrel-render"_s} + (molecule ? defaults : forAtoms(defaults)) + words))
        refuse(parser.errorText());
    return jobFrom(parser, outputDir, false);
}

void checkBatchDefaults(const QStringList &defaults)
{
    parseJob({u"H"_s, u"-o"_s, u"check.png"_s}, defaults);
    // A molecule's line is tried only for the defaults a molecule alone
    // takes: reading one loads the chemistry, which a batch of atoms never needs.
    if (forAtoms(defaults) != defaults)
        parseJob({u"--smiles"_s, u"C"_s, u"-o"_s, u"check.png"_s}, defaults);
}

} // namespace zembrel
