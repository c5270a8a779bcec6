#include "Letters.h"

#include <algorithm>
#include <array>

namespace zembrel {

namespace {

// Sorted once, so a keystroke costs a binary search over 118 characters.
const auto kLetters = [] {
    constexpr std::size_t count = std::size(kCapitals) - 1;
    std::array<char16_t, 2 * count> letters{};
    for (std::size_t i = 0; i < count; ++i) {
        letters[i] = kCapitals[i];
        letters[count + i] = QChar(kCapitals[i]).toLower().unicode();
    }
    std::sort(letters.begin(), letters.end());
    return letters;
}();

} // namespace

bool isLetter(QChar c)
{
    return std::binary_search(kLetters.begin(), kLetters.end(), c.unicode());
}

} // namespace zembrel
