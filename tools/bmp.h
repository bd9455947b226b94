// Uncompressed 24-bit BMP writer: a pure function from a picture to the
// bytes of the file.
#pragma once

#include "tools/image.h"

#include <cstdint>
#include <vector>

namespace bmp {

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t infoHeaderSize = 40; // BITMAPINFOHEADER
constexpr std::uint32_t pixelsPerMetre = 2835; // 72 dpi
constexpr std::uint32_t compressionNone = 0; // BI_RGB

inline void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(v & 0xFF);
    out.push_back(v >> 8 & 0xFF);
}

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Every row is padded to a multiple of four bytes.
inline std::uint32_t rowSize(int width) { return (std::uint32_t(width) * 3 + 3) & ~3u; }

} // namespace bmp

// Rows are stored bottom-up, each pixel as blue, green, red.
inline std::vector<std::uint8_t> encodeBmp24(const Image& image)
{
    using namespace bmp;
    const std::uint32_t pixelOffset = fileHeaderSize + infoHeaderSize;
    const std::uint32_t pixelBytes = rowSize(image.width) * image.height;
    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + pixelBytes);

    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + pixelBytes);
    put32(out, 0); // reserved
    put32(out, pixelOffset);

    put32(out, infoHeaderSize);
    put32(out, image.width);
    put32(out, image.height); // positive: bottom-up
    put16(out, 1); // planes
    put16(out, 24); // bits per pixel
    put32(out, compressionNone);
    put32(out, pixelBytes);
    put32(out, pixelsPerMetre);
    put32(out, pixelsPerMetre);
    put32(out, 0); // colours used: none, no colour table
    put32(out, 0); // important colours

    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::uint32_t pad = image.width * 3; pad < rowSize(image.width); ++pad)
            out.push_back(0);
    }
    return out;
}
