#pragma once

#include "RuntimeError.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

class QPaintDevice;

namespace zembrel {

class Dialogs;

// The 32 bytes of a face name in the system code page, numbered 1 to 32 as
// the font command addresses them; a name ends at its first zero byte.
struct FaceNameBytes
{
    static constexpr int kCount = 32;

    std::array<std::uint8_t, kCount> bytes;

    std::uint8_t &element(int number)
    {
        if (number < 1 || number > kCount)
            throw RuntimeError(
                error::kSubscriptOutOfRange, QStringLiteral("Индекс вне допустимого диапазона"));
        return bytes[static_cast<std::size_t>(number - 1)];
    }
};

// A font as the platform's font dialog takes and returns it, byte for byte in
// the platform's published layout.
struct LOGFONT
{
    std::int32_t lfHeight; // negative: the character height in device pixels
    std::int32_t lfWidth;
    std::int32_t lfEscapement;
    std::int32_t lfOrientation;
    std::int32_t lfWeight; // 100 (thin) .. 900 (black), 0 for the normal weight
    std::uint8_t lfItalic;
    std::uint8_t lfUnderline;
    std::uint8_t lfStrikeOut;
    std::uint8_t lfCharSet;
    std::uint8_t lfOutPrecision;
    std::uint8_t lfClipPrecision;
    std::uint8_t lfQuality;
    std::uint8_t lfPitchAndFamily;
    FaceNameBytes lfFaceName;
};

static_assert(std::is_standard_layout_v<LOGFONT> && std::is_trivially_copyable_v<LOGFONT>);
static_assert(sizeof(LOGFONT) == 60);
static_assert(offsetof(LOGFONT, lfHeight) == 0);
static_assert(offsetof(LOGFONT, lfWidth) == 4);
static_assert(offsetof(LOGFONT, lfEscapement) == 8);
static_assert(offsetof(LOGFONT, lfOrientation) == 12);
static_assert(offsetof(LOGFONT, lfWeight) == 16);
static_assert(offsetof(LOGFONT, lfItalic) == 20);
static_assert(offsetof(LOGFONT, lfUnderline) == 21);
static_assert(offsetof(LOGFONT, lfStrikeOut) == 22);
static_assert(offsetof(LOGFONT, lfCharSet) == 23);
static_assert(offsetof(LOGFONT, lfOutPrecision) == 24);
static_assert(offsetof(LOGFONT, lfClipPrecision) == 25);
static_assert(offsetof(LOGFONT, lfQuality) == 26);
static_assert(offsetof(LOGFONT, lfPitchAndFamily) == 27);
static_assert(offsetof(LOGFONT, lfFaceName) == 28);

inline constexpr std::int32_t CF_SCREENFONTS = 0x1;
inline constexpr std::int32_t CF_PRINTERFONTS = 0x2;
inline constexpr std::int32_t CF_INITTOLOGFONTSTRUCT = 0x40;

// The font dialog's request and answer. Handles are the window's own: its
// dialogs stand for the owner window, a paint device for the device context.
struct CHOOSEFONT
{
    // The record's size on the platform, which the dialog checks.
    static constexpr std::int32_t kPlatformSize = 60;

    std::int32_t lStructSize = 0;
    Dialogs *hwndOwner = nullptr;
    const QPaintDevice *hDC = nullptr;
    LOGFONT *lpLogFont = nullptr;
    std::int32_t iPointSize = 0; // tenths of a point
    std::int32_t Flags = 0;
    std::uint32_t rgbColors = 0;
    std::intptr_t lCustData = 0;
    std::intptr_t lpfnHook = 0;
    QString lpTemplateName; // used with a dialog template only; never here
    std::intptr_t hInstance = 0;
    QString lpszStyle; // used with a style request only; never here
    std::int16_t nFontType = 0;
    std::int32_t nSizeMin = 0;
    std::int32_t nSizeMax = 0;
};

} // namespace zembrel
