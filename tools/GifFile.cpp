#include "GifFile.h"

#include "LittleEndian.h"

#include <QtGlobal>

#include <cstdint>

namespace {

using namespace littleEndian;

// Two colours still take GIF's smallest LZW code size, so codes start 3 bits wide.
constexpr std::uint32_t kMinCodeSize = 2;
constexpr std::uint32_t kClearCode = 1u << kMinCodeSize;
constexpr std::uint32_t kEndCode = kClearCode + 1;
constexpr int kCodeWidth = int(kMinCodeSize) + 1;

constexpr std::uint8_t kBlackIndex = 0;
constexpr std::uint8_t kTransparentIndex = 1;

// LZW codes go out least significant bit first.
class CodeStream
{
public:
    void put(std::uint32_t code)
    {
        m_pending |= code << m_pendingBits;
        m_pendingBits += kCodeWidth;
        while (m_pendingBits >= 8) {
            putByte(m_bytes, m_pending);
            m_pending >>= 8;
            m_pendingBits -= 8;
        }
    }

    QByteArray finish()
    {
        if (m_pendingBits > 0)
            putByte(m_bytes, m_pending);
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_pending = 0;
    int m_pendingBits = 0;
};

// Every pixel goes out as a literal code. A reader adds a table entry for each
// code after the first one that follows a clear code and widens the codes once
// the table reaches 8 entries; a clear code after every second pixel keeps the
// table at 7 at most, so every code stays 3 bits wide.
QByteArray lzwData(const QImage &picture)
{
    CodeStream codes;
    int sinceClear = 2;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (sinceClear == 2) {
                codes.put(kClearCode);
                sinceClear = 0;
            }
            const QRgb pixel = picture.pixel(x, y);
            if (qAlpha(pixel) != 0 && (qAlpha(pixel) != 255 || qRed(pixel) || qGreen(pixel) || qBlue(pixel)))
                qFatal("dot picture: pixel (%d, %d) is neither black nor transparent", x, y);
            codes.put(qAlpha(pixel) == 0 ? kTransparentIndex : kBlackIndex);
            ++sinceClear;
        }
    }
    codes.put(kEndCode);
    return codes.finish();
}

} // namespace

QByteArray gifFile(const QImage &picture)
{
    const auto width = std::uint32_t(picture.width());
    const auto height = std::uint32_t(picture.height());
    QByteArray out("GIF89a");

    // Logical screen: global colour table of 2 entries, 1 bit of colour resolution.
    putWord(out, width);
    putWord(out, height);
    putByte(out, 0x80);
    putByte(out, kTransparentIndex); // background
    putByte(out, 0); // square pixels
    out.append("\x00\x00\x00\xff\xff\xff", 6);

    // Graphic control extension: no disposal, no delay, index 1 transparent.
    out.append("\x21\xf9\x04\x01", 4);
    putWord(out, 0);
    putByte(out, kTransparentIndex);
    putByte(out, 0);

    // Image descriptor: the whole screen, no local table, not interlaced.
    putByte(out, 0x2c);
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, width);
    putWord(out, height);
    putByte(out, 0);

    putByte(out, kMinCodeSize);
    const QByteArray data = lzwData(picture);
    for (qsizetype from = 0; from < data.size(); from += 255) {
        const QByteArray block = data.mid(from, 255);
        putByte(out, std::uint32_t(block.size()));
        out.append(block);
    }
    putByte(out, 0);

    putByte(out, 0x3b);
    return out;
}
