// The NTSC Atari palette from a YIQ model: a luminance ramp and, for every
// hue but 0, a fixed-size chroma vector turned in equal steps.
//
// For value v, hue h = v >> 4 and luminance l = v & 15:
//   Y = l / 15
//   hue 0:        I = Q = 0 (the greys)
//   hues 1 to 15: angle a = -30 + 24 (h - 1) degrees,
//                 I = S cos a, Q = S sin a, with saturation S = 0.24
//   R = Y + 0.956 I + 0.621 Q
//   G = Y - 0.272 I - 0.647 Q
//   B = Y - 1.106 I + 1.703 Q
// Each channel is clamped to 0..1, brightened by a display gamma of 1.2
// (c ^ (1 / 1.2)) and rounded to 0..255. Hue 1 starts at gold; the turn
// runs through orange, red, purple, blue, cyan and green back towards
// yellow at hue 15. data/src/PALETTE.md shows the same numbers.
#include "tools/palette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double saturation = 0.24;
constexpr double firstHueDegrees = -30.0;
constexpr double hueStepDegrees = 24.0;
constexpr double gamma = 1.2;
constexpr double pi = 3.14159265358979323846;

std::uint8_t channel(double linear)
{
    const double c = std::clamp(linear, 0.0, 1.0);
    return std::uint8_t(std::lround(255.0 * std::pow(c, 1.0 / gamma)));
}

} // namespace

Rgb atariColour(int value)
{
    const int hue = value >> 4 & 0x0F;
    const int luminance = value & 0x0F;
    const double y = luminance / 15.0;
    double i = 0, q = 0;
    if (hue != 0) {
        const double angle = (firstHueDegrees + hueStepDegrees * (hue - 1)) * pi / 180.0;
        i = saturation * std::cos(angle);
        q = saturation * std::sin(angle);
    }
    return {channel(y + 0.956 * i + 0.621 * q),
            channel(y - 0.272 * i - 0.647 * q),
            channel(y - 1.106 * i + 1.703 * q)};
}

Image paletteImage()
{
    Image image(16, 8);
    for (int hue = 0; hue < 16; ++hue)
        for (int row = 0; row < 8; ++row)
            image.at(hue, row) = atariColour(16 * hue + 2 * row);
    return image;
}
