#include "IcoFile.h"

#include "LittleEndian.h"

#include <array>
#include <cstdint>

namespace {

using namespace littleEndian;

// The standard 16-colour palette, in its usual order.
constexpr std::array<QRgb, 16> kPalette = {
    qRgb(0, 0, 0),
    qRgb(128, 0, 0),
    qRgb(0, 128, 0),
    qRgb(128, 128, 0),
    qRgb(0, 0, 128),
    qRgb(128, 0, 128),
    qRgb(0, 128, 128),
    qRgb(192, 192, 192),
    qRgb(128, 128, 128),
    qRgb(255, 0, 0),
    qRgb(0, 255, 0),
    qRgb(255, 255, 0),
    qRgb(0, 0, 255),
    qRgb(255, 0, 255),
    qRgb(0, 255, 255),
    qRgb(255, 255, 255),
};

constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBitsPerPixel = 4;

// Bitmap rows are padded to whole 32-bit words.
std::uint32_t rowBytes(std::uint32_t width, std::uint32_t bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

std::uint32_t paletteIndex(QRgb pixel)
{
    for (std::uint32_t index = 0; index < kPalette.size(); ++index) {
        if (kPalette[index] == pixel)
            return index;
    }
    qFatal("icon: colour #%08x is not in the 16-colour palette", pixel);
}

// BITMAPINFOHEADER, palette, colour rows and mask rows, both bottom-up. A
// transparent pixel is mask 1 over colour 0 (black), so the screen shows through.
QByteArray iconImage(const QImage &image)
{
    const auto width = std::uint32_t(image.width());
    const auto height = std::uint32_t(image.height());
    const std::uint32_t colourStride = rowBytes(width, kBitsPerPixel);
    const std::uint32_t maskStride = rowBytes(width, 1);

    QByteArray out;
    putLong(out, kInfoHeaderSize);
    putLong(out, width);
    putLong(out, 2 * height); // colour rows and mask rows together
    putWord(out, 1); // planes
    putWord(out, kBitsPerPixel);
    putLong(out, 0); // no compression
    putLong(out, (colourStride + maskStride) * height);
    putLong(out, 0);
    putLong(out, 0);
    putLong(out, 0); // colours used: all 16
    putLong(out, 0);
    for (const QRgb colour : kPalette)
        putLong(out, colour & 0xffffffu); // blue, green, red, 0: QRgb's own byte order

    QByteArray colours(qsizetype(colourStride * height), '\0');
    QByteArray mask(qsizetype(maskStride * height), '\0');
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t row = height - 1 - y;
        for (std::uint32_t x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(int(x), int(y));
            if (qAlpha(pixel) == 0) {
                mask[qsizetype(row * maskStride + x / 8)] |= static_cast<char>(0x80u >> (x % 8));
                continue;
            }
            if (qAlpha(pixel) != 255)
                qFatal("icon: pixel (%u, %u) is partly transparent", x, y);
            const std::uint32_t shift = x % 2 == 0 ? 4 : 0; // left pixel in the high nibble
            colours[qsizetype(row * colourStride + x / 2)] |= static_cast<char>(paletteIndex(pixel) << shift);
        }
    }
    out.append(colours);
    out.append(mask);
    return out;
}

} // namespace

QByteArray icoFile(const QList<QImage> &images)
{
    const auto count = std::uint32_t(images.size());
    QByteArray directory;
    putWord(directory, 0);
    putWord(directory, 1); // icon, not cursor
    putWord(directory, count);

    QByteArray data;
    std::uint32_t offset = kDirectorySize + kEntrySize * count;
    for (const QImage &image : images) {
        const QByteArray bytes = iconImage(image);
        putByte(directory, std::uint32_t(image.width())); // 8 bits: 256 would be 0
        putByte(directory, std::uint32_t(image.height()));
        putByte(directory, kPalette.size());
        putByte(directory, 0);
        putWord(directory, 1); // planes
        putWord(directory, kBitsPerPixel);
        putLong(directory, std::uint32_t(bytes.size()));
        putLong(directory, offset);
        offset += std::uint32_t(bytes.size());
        data.append(bytes);
    }
    return directory + data;
}
