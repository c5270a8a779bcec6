#include "Sketch.h"

#include "Chemistry.h"
#include "Explanation.h"
#include "Folding.h"
#include "Formula.h"
#include "Renderer.h"
#include "RuntimeError.h"
#include "Species.h"

#include <QMimeData>

#include <algorithm>
#include <new>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// Text that names an element that does not exist or holds what no formula
// does: whatever the procedure said of it would not be what was meant.
bool readsAsNoFormula(const QString &text)
{
    try {
        readFormula(text);
        return false;
    } catch (const ChemistryError &) {
        return true;
    }
}

} // namespace

Sketch::Sketch(const SpeciesTable &table, Language language) : m_table(table), m_language(language)
{
    m_picture.font = startFont();
    m_picture.radius = kDefaultRadius;
}

void Sketch::setInput(const QString &text)
{
    const QString input = text.trimmed();
    if (input == m_input)
        return;
    m_input = input;
    read();
}

void Sketch::setResonance(bool resonance)
{
    if (resonance == m_resonance)
        return;
    m_resonance = resonance;
    read();
}

void Sketch::read()
{
    const QString &input = m_input;
    m_picture.molecule.reset();
    m_species = nullptr;
    m_worked.reset();
    m_problem.clear();
    m_suggestions.clear();
    if (input.isEmpty())
        return;
    const Reading reading{MoleculeLayout::Textbook, m_resonance};
    m_species = m_table.find(input);
    // A formula the table lacks is worked out before it is read as a
    // SMILES: "NOCl" is nitrosyl chloride to a student. What reads as no
    // formula, or as a chain's ("CCO"), goes on to be a SMILES.
    QString formulaProblem;
    if (!m_species) {
        try {
            FormulaStructure worked = workOutFormula(input);
            // "CN" and "CS" are methylamine and methanethiol.
            std::optional<Molecule> asSmiles;
            if (unlikelyAsFormula(worked) && couldBeSmiles(input)) {
                try {
                    asSmiles = moleculeFromSmiles(input, reading);
                } catch (const ChemistryError &) {
                }
            }
            if (asSmiles) {
                m_picture.molecule = std::make_shared<const Molecule>(std::move(*asSmiles));
                m_picture.title = input;
                return;
            }
            m_picture.molecule
                = std::make_shared<const Molecule>(moleculeFromStructure(worked.worked.structure(), reading));
            m_worked = std::move(worked);
            m_picture.title = writtenFormulaText(m_worked->formula);
            return;
        } catch (const ChemistryError &e) {
            formulaProblem = e.message;
        }
    }
    try {
        m_picture.molecule
            = std::make_shared<const Molecule>(moleculeFromSmiles(m_species ? m_species->smiles : input, reading));
        m_picture.title = m_species ? caption() : input;
        return;
    } catch (const ChemistryError &e) {
        if (m_species) {
            // The table's SMILES are all drawn by its test; this is a fault of ours.
            m_problem = e.message;
            return;
        }
        const bool formulaLike = !readsAsNoFormula(input);
        if (formulaLike && couldBeSmiles(input)) {
            m_problem = tr("Not in the table. As a formula, its structure cannot be worked out: %1. As a SMILES: %2")
                            .arg(formulaProblem, e.message);
        } else if (formulaLike)
            m_problem = tr("Not in the table, and its structure cannot be worked out: %1.").arg(formulaProblem);
        else if (couldBeSmiles(input))
            m_problem = tr("Not a name or formula of the table, nor a SMILES: %1").arg(e.message);
        else
            m_problem = tr("No molecule or ion of the table is called “%1”.").arg(input);
        m_suggestions = m_table.closest(input, SpeciesKey::NameOrFormula);
    }
}

QString Sketch::explanation() const
{
    if (!m_picture.molecule)
        return {};
    try {
        if (m_worked)
            return explainWorked(m_worked->formula, m_worked->worked, *m_picture.molecule);
        return tr("%1:").arg(m_species ? caption() : m_input) + u'\n' + explainMolecule(*m_picture.molecule);
    } catch (const ChemistryError &e) {
        return e.message;
    }
}

QString Sketch::shape() const
{
    return m_picture.molecule ? shapeSummary(*m_picture.molecule) : QString();
}

QString Sketch::caption() const
{
    if (m_worked)
        return tr("%1, worked out from its formula").arg(writtenFormulaText(m_worked->formula));
    if (!m_species)
        return {};
    const QStringList &names = m_language == Language::Russian ? m_species->russian : m_species->english;
    return tr("%1, %2").arg(names.first(), prettyFormula(m_species->formulas.first()));
}

QString Sketch::suggestedName() const
{
    if (m_worked)
        return m_worked->formula.body;
    if (!m_species)
        return tr("molecule");
    QString name = (m_language == Language::Russian ? m_species->russian : m_species->english).first();
    // A name never holds a path separator, but a file name must not.
    name.replace(u'/', u'-');
    return name;
}

Sketch::View Sketch::view(int scale) const
{
    if (!m_picture.molecule)
        return {QImage(), m_problem};
    Picture picture = m_picture;
    picture.scale = scale;
    try {
        return {renderImage(picture), QString()};
    } catch (const ChemistryError &e) {
        return {QImage(), e.message};
    } catch (const RuntimeError &e) {
        switch (e.number()) {
        case error::kOutOfMemory: return {QImage(), tr("There is not enough memory for the picture.")};
        case error::kOverflow: return {QImage(), tr("The picture is too large to draw.")};
        case error::kInvalidPropertyValue: return {QImage(), tr("The font cannot take this size or weight.")};
        default: return {QImage(), tr("The picture cannot be drawn (%1).").arg(e.description())};
        }
    } catch (const std::bad_alloc &) {
        return {QImage(), tr("There is not enough memory for the picture.")};
    }
}

QByteArray Sketch::exportBytes(Format format) const
{
    RenderJob job;
    job.picture = m_picture;
    job.picture.scale = format == Format::Svg ? 1 : kExportScale;
    job.format = format;
    return renderBytes(job);
}

RenderJob Sketch::sheetEntry() const
{
    RenderJob job;
    job.picture = m_picture;
    job.caption = m_species ? caption() : m_worked ? writtenFormulaText(m_worked->formula) : m_input;
    return job;
}

std::unique_ptr<QMimeData> Sketch::mimeData() const
{
    auto data = std::make_unique<QMimeData>();
    const QByteArray png = exportBytes(Format::Png);
    data->setData(u"image/png"_s, png);
    data->setData(u"image/svg+xml"_s, exportBytes(Format::Svg));
    // Web editors and pages take a picture at its pixels, not at its PNG's
    // 288 dpi: the HTML says the size it has on a page.
    const QSize pixels = QImage::fromData(png, "png").size() / kExportScale;
    const QString alt = (m_picture.title.isEmpty() ? m_input : m_picture.title).toHtmlEscaped();
    data->setHtml(u"<img src=\"data:image/png;base64,%1\" width=\"%2\" height=\"%3\" "
                  "style=\"width:%2px;height:%3px\" alt=\"%4\">"_s
                      .arg(QString::fromLatin1(png.toBase64()))
                      .arg(pixels.width())
                      .arg(pixels.height())
                      .arg(alt));
    return data;
}

} // namespace zembrel
