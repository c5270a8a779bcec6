#include "Sketch.h"

#include "Chemistry.h"
#include "Explanation.h"
#include "Folding.h"
#include "Formula.h"
#include "Renderer.h"
#include "RuntimeError.h"
#include "Species.h"
#include "TypedInput.h"

#include <QMimeData>

#include <new>

using namespace Qt::StringLiterals;

namespace zembrel {

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
    m_picture.molecule.reset();
    m_worked.reset();
    const Reading reading{MoleculeLayout::Textbook, m_resonance};
    TypedInput typed = readTyped(m_input, m_table, reading);
    m_species = typed.species;
    m_problem = typed.problem;
    m_suggestions = typed.closest;
    try {
        switch (typed.kind) {
        case TypedInput::Kind::Nothing:
            return;
        case TypedInput::Kind::Name:
        case TypedInput::Kind::Formula:
            m_picture.molecule = std::make_shared<const Molecule>(moleculeFromSmiles(m_species->smiles, reading));
            m_picture.title = caption();
            return;
        case TypedInput::Kind::Worked:
            m_picture.molecule
                = std::make_shared<const Molecule>(moleculeFromStructure(typed.worked->worked.structure(), reading));
            m_worked = std::move(typed.worked);
            m_picture.title = writtenFormulaText(m_worked->formula);
            return;
        case TypedInput::Kind::Smiles:
            m_picture.molecule = std::make_shared<const Molecule>(std::move(*typed.smiles));
            m_picture.title = m_input;
            return;
        }
    } catch (const ChemistryError &e) {
        // The table's SMILES are all drawn by its test, and a worked
        // structure is one the reader takes: this is a fault of ours.
        m_problem = e.message;
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
        return workedCaption(*m_worked);
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
