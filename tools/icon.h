// The application icon: text art with a legend of colours.
#pragma once

#include "tools/image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace icon {
constexpr int size = 32; // art pixels per side
constexpr Rgb transparentKey = {255, 0, 255};
} // namespace icon

struct IconArt
{
    Image colours{icon::size, icon::size};
    std::vector<bool> opaque = std::vector<bool>(icon::size * icon::size, false);
};

// Reads the art. On failure returns false and sets `error` to
// "FILE:LINE: what is wrong".
bool parseIcon(const std::string& text, const std::string& fileName, IconArt& art, std::string& error);

// The window icon at art size, transparent pixels in the key colour.
Image iconWithKey(const IconArt& art);

// The desktop icon as RGBA bytes, every art pixel a `scale` x `scale` block.
std::vector<std::uint8_t> iconRgba(const IconArt& art, int scale);

// The desktop icon as RGBA bytes at any side: each icon pixel the
// area-weighted average of the art pixels it covers, so sizes that are not a
// multiple of the art (16, 48) keep its shapes.
std::vector<std::uint8_t> iconRgbaAtSide(const IconArt& art, int side);

// The icon as scalable SVG: one rectangle per run of equal art pixels.
std::string iconSvg(const IconArt& art);
