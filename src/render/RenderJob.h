#pragma once

#include "Controls.h"
#include "Drawing.h"
#include "Molecule.h"
#include "Surface.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QCommandLineParser;

namespace zembrel {

struct Species;

// One formula picture and its look: an atom as the window would make it, or
// a molecule or ion.
struct Picture
{
    QString symbol;
    std::array<bool, DotSlots::kCount> dots{};
    int charge = 0; // an atom's ion charge: the picture in brackets with it
    std::shared_ptr<const Molecule> molecule; // drawn instead of the atom when set
    MarkStyle style = MarkStyle::Lewis;
    MarkOptions markOptions; // dot-cross marks per element, shells
    Blanks blanks; // marks left out for a student to draw in
    float radius = 2;
    SurfaceFont font;
    int scale = 1; // 1..8
    bool transparent = false; // PNG and SVG only
    QString title; // the SVG's title: the symbol, the SMILES or the molfile's name
};

enum class Format { Bmp, Png, Svg };

// A picture and where it goes; "-" is standard output.
struct RenderJob
{
    Picture picture;
    Format format = Format::Bmp;
    QString output;
    bool fontNamed = false; // the user chose the family, so its replacement is worth a word
    bool resonance = false; // the molecule's resonance forms were asked for
    QString caption; // under the picture on a sheet; empty for the one its input gives
};

// A mistake in the words of a job: the message names what is wrong.
struct UsageError
{
    QString message;
};

// A species as a sheet captions it and the server says it found it, in the
// messages' language: "water, H₂O", «вода, H₂O».
QString speciesCaption(const Species &species);

// The options every job takes, on the command line and on a batch line.
void addJobOptions(QCommandLineParser &parser);
// The options of a job that, given on the command line with --batch, are the
// defaults of every line.
QStringList batchDefaultOptions();
// The job in a parser that took the words already; relative output names are
// taken under `outputDir` when one is given. A molfile may come from standard
// input only where `standardInputFree`. Throws UsageError.
RenderJob jobFrom(
    const QCommandLineParser &parser, const QString &outputDir = {}, bool standardInputFree = true);
// The steps that work out the structure of the molecule the words name, or
// its counts where it is not worked out from a formula, as text for the user.
// Throws UsageError.
QString explanationOf(const QCommandLineParser &parser);
// The job in one batch line's words, after the words `defaults` (which the
// line's own words override; an atom's line skips the defaults only a
// molecule takes). Throws UsageError.
RenderJob parseJob(const QStringList &words, const QStringList &defaults = {}, const QString &outputDir = {});
// Refuses batch defaults that no line could use. Throws UsageError.
void checkBatchDefaults(const QStringList &defaults);
// A batch line's words, split as a shell splits them: by blanks, with '…' and
// "…" keeping blanks (and giving an empty word), and a backslash taking the
// next character as it is (in "…" only before " and \). Throws UsageError for
// an unclosed quote.
QStringList splitWords(const QString &line);

} // namespace zembrel
