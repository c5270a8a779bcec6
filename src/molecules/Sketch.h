#pragma once

#include "Procedure.h"
#include "RenderJob.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QString>

#include <memory>
#include <optional>

class QMimeData;

namespace zembrel {

struct Species;
class SpeciesTable;

// Pictures for documents are drawn at three times the screen's 96 dpi: 288
// dpi, which a PNG's resolution says, so that a page shows them at the size
// the screen does, sharp enough to print.
inline constexpr int kExportScale = 3;

// What the window shows and copies: the input read as a species of the table
// or as SMILES, drawn in the chosen look with the renderer. No widgets.
class Sketch
{
    Q_DECLARE_TR_FUNCTIONS(Sketch)

public:
    enum class Language { English, Russian };

    explicit Sketch(const SpeciesTable &table, Language language = Language::English);

    // Reads a name, a formula or a SMILES; blank input draws nothing and
    // says nothing.
    void setInput(const QString &text);
    void setStyle(MarkStyle style) { m_picture.style = style; }
    // Outer shells, for the styles that draw every electron.
    void setShells(bool shells) { m_picture.markOptions.shells = shells; }
    void setRadius(float radius) { m_picture.radius = radius; }
    void setCharges(FormalCharges charges) { m_picture.markOptions.charges = charges; }
    // Every resonance form of the input, side by side; the input is read again.
    void setResonance(bool resonance);
    void setFont(const SurfaceFont &font) { m_picture.font = font; }

    const Picture &picture() const { return m_picture; }
    // The table's species the input names, if it does.
    const Species *species() const { return m_species; }
    // The structure worked out from the input, a formula the table lacks.
    const std::optional<FormulaStructure> &worked() const { return m_worked; }
    // How the structure is worked out, or the molecule's counts; empty for no picture.
    QString explanation() const;
    // "AX2E2, bent" where the molecule has one central atom; empty otherwise.
    QString shape() const;
    // Names and formulas of the table near to input that names nothing.
    const QStringList &suggestions() const { return m_suggestions; }
    // Its name in the window's language and its formula, "вода, H₂O", or
    // the formula worked out; empty for none.
    QString caption() const;
    // A file name for the picture without its extension: the species' name, or "molecule".
    QString suggestedName() const;

    // The picture at `scale` times 96 dpi, or why none can be drawn. Both are
    // empty for blank input.
    struct View
    {
        QImage image;
        QString problem;
    };
    View view(int scale) const;

    // The picture as a file or for the clipboard: PNG and BMP at kExportScale,
    // SVG in the screen's units (the same size on a page). Throw
    // ChemistryError or RuntimeError as the renderer does.
    QByteArray exportBytes(Format format) const;
    // The picture as it stands, for a practice sheet, captioned with the
    // species' name and formula or with the input.
    RenderJob sheetEntry() const;
    // PNG, SVG and HTML (the PNG at its size on a page), for the clipboard
    // and for a drop.
    std::unique_ptr<QMimeData> mimeData() const;

private:
    const SpeciesTable &m_table;
    Language m_language;
    void read();

    QString m_input;
    bool m_resonance = false;
    Picture m_picture;
    const Species *m_species = nullptr;
    std::optional<FormulaStructure> m_worked;
    QString m_problem; // why the input gives nothing to draw
    QStringList m_suggestions;
};

} // namespace zembrel
