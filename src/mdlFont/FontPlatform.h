#pragma once

#include "FontRecords.h"

#include <cstdint>

class QPaintDevice;

namespace zembrel {

// The number of the error ChooseFontA raises for a chosen face whose name the
// records cannot carry. Stable: a person reporting a box may quote it.
namespace error {
inline constexpr int kFaceNameNotInCodePage = 5;
} // namespace error

inline constexpr int LOGPIXELSY = 90;

// a * b / c from a 64-bit product, rounded to the nearest, halves away from
// zero; -1 when c is 0 or the quotient leaves the 32-bit range.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// For LOGPIXELSY the device's vertical logical resolution in pixels per inch;
// 0 for any other index and for no device.
int GetDeviceCaps(const QPaintDevice *hDC, int index);

// Shows the modal font dialog of the owner window pre-set from the record.
// Non-zero when the user accepted a font, which the record then describes
// (face name, iPointSize, lfWeight, lfItalic; lfHeight at the record's
// device); 0 when the user cancelled or the record is unfit for a call. A
// chosen face whose name is not 31 bytes or fewer of the code page is refused
// with error kFaceNameNotInCodePage and leaves the record untouched.
std::int32_t ChooseFontA(CHOOSEFONT &record);

} // namespace zembrel
