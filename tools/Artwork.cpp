#include "Artwork.h"

#include <QPoint>

#include <array>
#include <span>
#include <string_view>

namespace {

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kLightGrey = qRgb(192, 192, 192);
constexpr QRgb kRed = qRgb(255, 0, 0);

using Bitmap = std::span<const std::string_view>;

constexpr std::array<std::string_view, 16> kDisc = {
    "................",
    "................",
    "................",
    "......####......",
    ".....######.....",
    "....########....",
    "...##########...",
    "...##########...",
    "...##########...",
    "...##########...",
    "....########....",
    ".....######.....",
    "......####......",
    "................",
    "................",
    "................",
};

constexpr std::array<std::string_view, 3> kDot = {
    ".#.",
    "###",
    ".#.",
};

constexpr std::array<std::string_view, 11> kLetterSmall = {
    "###.....##",
    "###.....##",
    "####....##",
    "##.##...##",
    "##.##...##",
    "##..##..##",
    "##...##.##",
    "##...##.##",
    "##....####",
    "##.....###",
    "##.....###",
};

constexpr std::array<std::string_view, 15> kLetterLarge = {
    "###.....##",
    "###.....##",
    "####....##",
    "####....##",
    "##.##...##",
    "##.##...##",
    "##..##..##",
    "##..##..##",
    "##..##..##",
    "##...##.##",
    "##...##.##",
    "##....####",
    "##....####",
    "##.....###",
    "##.....###",
};

struct Design
{
    Bitmap letter;
    std::span<const QPoint> letters; // top-left corners
    std::span<const QPoint> dots; // centres
};

// One N, three dots down its left side and one above it.
constexpr std::array kLettersSmall = {QPoint(5, 4)};
constexpr std::array kDotsSmall = {QPoint(1, 5), QPoint(1, 9), QPoint(1, 13), QPoint(10, 1)};

// N≡N: the three shared pairs stand between the letters, one dot above and one below each.
constexpr std::array kLettersLarge = {QPoint(1, 8), QPoint(22, 8)};
constexpr std::array kDotsLarge = {QPoint(14, 10), QPoint(18, 10), QPoint(14, 15), QPoint(18, 15),
    QPoint(14, 20), QPoint(18, 20), QPoint(6, 5), QPoint(6, 25), QPoint(27, 5), QPoint(27, 25)};

void stamp(QImage &image, Bitmap bitmap, QPoint topLeft, QRgb colour)
{
    for (int row = 0; row < int(bitmap.size()); ++row) {
        const std::string_view line = bitmap[std::size_t(row)];
        for (int column = 0; column < int(line.size()); ++column) {
            if (line[std::size_t(column)] == '#')
                image.setPixel(topLeft + QPoint(column, row), colour);
        }
    }
}

QImage transparentImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage Artwork::dotPicture()
{
    QImage image = transparentImage(16);
    stamp(image, kDisc, QPoint(0, 0), kBlack);
    return image;
}

QImage Artwork::formulaIcon(int size)
{
    Q_ASSERT(size == 16 || size == 32);
    const Design design = size == 16 ? Design{kLetterSmall, kLettersSmall, kDotsSmall}
                                     : Design{kLetterLarge, kLettersLarge, kDotsLarge};
    QImage image = transparentImage(size);
    for (const QPoint topLeft : design.letters)
        stamp(image, design.letter, topLeft, kLightGrey);
    for (const QPoint centre : design.dots)
        stamp(image, kDot, centre - QPoint(1, 1), kRed);
    return image;
}
