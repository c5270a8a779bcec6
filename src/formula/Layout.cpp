#include "Layout.h"

#include "RuntimeError.h"

#include <cmath>

namespace zembrel {

float checked(float value)
{
    if (!std::isfinite(value))
        throw RuntimeError(error::kOverflow, QStringLiteral("Переполнение"));
    return value;
}

TextBox textBox(float scaleWidth, float scaleHeight, float textWidth, float textHeight)
{
    return {checked((scaleWidth - textWidth) / 2), checked((scaleHeight - textHeight) / 2), textWidth,
        textHeight};
}

// The sides are not mirror images: the left column stands 2r off the box, the
// right one touches it; the top row touches the box, the bottom row sits on its
// edge; only slots 5 and 13 carry the radius term. Arithmetic in this order.
DotCentre dotCentre(int slot, const TextBox &box, float r)
{
    const float L = box.left, T = box.top, W = box.width, H = box.height;
    const float leftX = L - (r + r);
    const float rightX = L + W + r;
    const float topY = T - r;
    const float bottomY = T + H;
    const float twoThirds = L + (W + W) / 3;
    const float oneThird = L + W / 3 - r; // the only row position with a radius term
    const float middle = L + W / 2;
    switch (slot) {
    case 0: return {checked(leftX), checked(T + H / 4)};
    case 1: return {checked(leftX), checked(T + H / 2)};
    case 2: return {checked(leftX), checked(T + (H * 3) / 4)};
    case 3: return {checked(leftX), checked(T + H / 3)};
    case 4: return {checked(leftX), checked(T + (H + H) / 3)};
    case 5: return {checked(oneThird), checked(topY)};
    case 6: return {checked(twoThirds), checked(topY)};
    case 7: return {checked(middle), checked(topY)};
    case 8: return {checked(rightX), checked(T + H / 4)};
    case 9: return {checked(rightX), checked(T + H / 2)};
    case 10: return {checked(rightX), checked(T + (H * 3) / 4)};
    case 11: return {checked(rightX), checked(T + H / 3)};
    case 12: return {checked(rightX), checked(T + (H + H) / 3)};
    case 13: return {checked(oneThird), checked(bottomY)};
    case 14: return {checked(twoThirds), checked(bottomY)};
    case 15: return {checked(middle), checked(bottomY)};
    default: return {};
    }
}

} // namespace zembrel
