#pragma once

#include "Drawing.h"

#include <QHash>

// Text measured as the renderer's start font measures it: Arial at 21.75 pt
// for symbols and counts and at 14.5 pt for charges, both at 96 dpi, which
// fontconfig serves as Liberation Sans. The advances are QFontMetricsF's for
// those fonts, taken once, so that the tests need no font engine and the
// geometry they check is the real one.
namespace testmetrics {

struct Font
{
    float height;
    float ascent;
    QHash<char16_t, float> advance;
};

inline const Font &symbolFont()
{
    static const Font font{32.3906F, 26.25F,
        {{u'A', 19.3281F}, {u'B', 19.3281F}, {u'C', 20.9375F}, {u'D', 20.9375F}, {u'E', 19.3281F},
            {u'F', 17.7031F}, {u'G', 22.5469F}, {u'H', 20.9375F}, {u'I', 8.0469F}, {u'J', 14.5F},
            {u'K', 19.3281F}, {u'L', 16.125F}, {u'M', 24.1562F}, {u'N', 20.9375F}, {u'O', 22.5469F},
            {u'P', 19.3281F}, {u'Q', 22.5469F}, {u'R', 20.9375F}, {u'S', 19.3281F}, {u'T', 17.7031F},
            {u'U', 20.9375F}, {u'V', 19.3281F}, {u'W', 27.3594F}, {u'X', 19.3281F}, {u'Y', 19.3281F},
            {u'Z', 17.7031F}, {u'a', 16.125F}, {u'b', 16.125F}, {u'c', 14.5F}, {u'd', 16.125F},
            {u'e', 16.125F}, {u'f', 8.0469F}, {u'g', 16.125F}, {u'h', 16.125F}, {u'i', 6.4375F},
            {u'j', 6.4375F}, {u'k', 14.5F}, {u'l', 6.4375F}, {u'm', 24.1562F}, {u'n', 16.125F},
            {u'o', 16.125F}, {u'p', 16.125F}, {u'q', 16.125F}, {u'r', 9.6562F}, {u's', 14.5F},
            {u't', 8.0469F}, {u'u', 16.125F}, {u'v', 14.5F}, {u'w', 20.9375F}, {u'x', 14.5F}, {u'y', 14.5F},
            {u'z', 14.5F}, {u'0', 16.125F}, {u'1', 16.125F}, {u'2', 16.125F}, {u'3', 16.125F},
            {u'4', 16.125F}, {u'5', 16.125F}, {u'6', 16.125F}, {u'7', 16.125F}, {u'8', 16.125F},
            {u'9', 16.125F}, {u'+', 16.9219F}, {u'\u2212', 16.9219F}}};
    return font;
}

inline const Font &chargeFont()
{
    static const Font font{21.2344F, 17.2031F,
        {{u'0', 10.5625F}, {u'1', 10.5625F}, {u'2', 10.5625F}, {u'3', 10.5625F}, {u'4', 10.5625F},
            {u'5', 10.5625F}, {u'6', 10.5625F}, {u'7', 10.5625F}, {u'8', 10.5625F}, {u'9', 10.5625F},
            {u'+', 11.0938F}, {u'\u2212', 11.0938F}}};
    return font;
}

// A character the tables lack measures as wide as the widest letter.
inline zembrel::TextSize measure(const QString &text, zembrel::TextRole role)
{
    const Font &font = role == zembrel::TextRole::Charge ? chargeFont() : symbolFont();
    float width = 0;
    for (const QChar c : text)
        width += font.advance.value(c.unicode(), 27.3594F);
    return {width, font.height, font.ascent};
}

} // namespace testmetrics
