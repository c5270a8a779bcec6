#pragma once

#include <QByteArray>

#include <cstdint>

// GIF and ICO both store their numbers least significant byte first.
namespace littleEndian {

inline void putByte(QByteArray &out, std::uint32_t value)
{
    out.append(static_cast<char>(value & 0xffu));
}

inline void putWord(QByteArray &out, std::uint32_t value)
{
    putByte(out, value);
    putByte(out, value >> 8);
}

inline void putLong(QByteArray &out, std::uint32_t value)
{
    putWord(out, value);
    putWord(out, value >> 16);
}

} // namespace littleEndian
