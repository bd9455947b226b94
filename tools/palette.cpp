// The PAL Atari palette as the emulator shows the game: a grey level for
// each luminance plus, for every hue but 0, a chroma vector of one length
// turned to the angle measured for that hue, added in RGB through the YUV
// matrix. The numbers were measured from the emulator's PAL screenshots of
// a calibration disk (data/src/PALETTE.md tells how); the colours are
// computed from them, never typed in.
//
// For value v, hue h = v >> 4 and luminance l = v & 15 (bit 0 is ignored,
// as the machine ignores it in the modes the game uses):
//   Y = grey[l / 2]
//   hue 0:        U = V = 0
//   hues 1 to 15: U = S cos a[h], V = S sin a[h], S = 47
//   R = Y + 1.140 V,  G = Y - 0.395 U - 0.581 V,  B = Y + 2.032 U
// each rounded and clamped to 0..255.
#include "tools/palette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double greyLevels[8] = {4, 27, 51, 79, 104, 137, 171, 211};
constexpr double saturation = 47.0;
// Degrees, hues 1 to 15; PAL repeats hue 1 as hue 15.
constexpr double hueDegrees[15] = {133.4, 110.6, 99.4,  70.2,   46.7,   23.7,  -24.6, -47.3,
                                   -70.4, -99.9, -134.0, -157.5, -180.0, 156.4, 133.4};
constexpr double pi = 3.14159265358979323846;

std::uint8_t channel(double value)
{
    return std::uint8_t(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

Rgb atariColour(int value)
{
    const int hue = value >> 4 & 0x0F;
    const int luminance = value & 0x0F;
    const double y = greyLevels[luminance / 2];
    double u = 0, v = 0;
    if (hue != 0) {
        const double angle = hueDegrees[hue - 1] * pi / 180.0;
        u = saturation * std::cos(angle);
        v = saturation * std::sin(angle);
    }
    return {channel(y + 1.140 * v), channel(y - 0.395 * u - 0.581 * v), channel(y + 2.032 * u)};
}

Image paletteImage()
{
    Image image(16, 8);
    for (int hue = 0; hue < 16; ++hue)
        for (int row = 0; row < 8; ++row)
            image.at(hue, row) = atariColour(16 * hue + 2 * row);
    return image;
}
