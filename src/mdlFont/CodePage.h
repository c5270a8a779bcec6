#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace zembrel {

// The system's 8-bit code page, windows-1251, in which the font records carry
// face names.
namespace codePage {

// The byte of `c`; '?' for a character the code page lacks, as the platform
// writes such a character into 8-bit text.
int code(QChar c);

// The character whose byte is `code`.
QChar character(std::uint8_t code);

// The whole of `text` in the code page, or nothing when a character is missing.
std::optional<QByteArray> encode(QStringView text);

QString decode(QByteArrayView bytes);

} // namespace codePage
} // namespace zembrel
