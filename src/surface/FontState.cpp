#include "FontState.h"

#include "RuntimeError.h"

namespace zembrel {

namespace {

[[noreturn]] void refuseProperty()
{
    throw RuntimeError(error::kInvalidPropertyValue, QStringLiteral("Недопустимое значение свойства"));
}

} // namespace

FontState::FontState(const SurfaceFont &font, const QPaintDevice *device) : m_font(font), m_device(device)
{
    changed();
}

void FontState::setName(const QString &name)
{
    if (name.trimmed().isEmpty())
        refuseProperty();
    m_font.Name = name;
    changed();
}

void FontState::setSize(double points)
{
    if (!(points > 0 && points <= kMaxSize))
        refuseProperty();
    m_font.Size = points;
    changed();
}

void FontState::setWeight(short weight)
{
    if (weight < 0 || weight > 1000)
        refuseProperty();
    m_font.Weight = weight;
    changed();
}

void FontState::setItalic(bool italic)
{
    m_font.Italic = italic;
    changed();
}

void FontState::changed()
{
    QFont font(m_font.Name);
    font.setPointSizeF(m_font.Size);
    // Weight 0 asks for the normal weight, as it does in the font records.
    font.setWeight(QFont::Weight(m_font.Weight == 0 ? 400 : m_font.Weight));
    font.setItalic(m_font.Italic);
    m_qfont = font;
    m_metrics.emplace(m_qfont, m_device);
}

} // namespace zembrel
