// Windows icon (.ico) writer: a directory of images, each stored as a PNG
// (which Windows reads in icons since Vista). A pure function returning
// the bytes of the file.
#pragma once

#include <cstdint>
#include <vector>

namespace ico {

constexpr std::uint32_t headerSize = 6; // reserved, type, count
constexpr std::uint32_t entrySize = 16;
constexpr std::uint16_t typeIcon = 1;
constexpr int largestSide = 256; // stored as 0 in the entry's byte

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

} // namespace ico

struct IcoImage
{
    int side; // square, 1 to 256 pixels
    std::vector<std::uint8_t> png;
};

inline std::vector<std::uint8_t> encodeIco(const std::vector<IcoImage>& images)
{
    using namespace ico;
    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, typeIcon);
    put16(out, std::uint32_t(images.size()));
    std::uint32_t offset = headerSize + entrySize * std::uint32_t(images.size());
    for (const IcoImage& image : images) {
        const std::uint8_t side = image.side == largestSide ? 0 : std::uint8_t(image.side);
        out.push_back(side); // width
        out.push_back(side); // height
        out.push_back(0); // colours in a palette: none
        out.push_back(0); // reserved
        put16(out, 1); // planes
        put16(out, 32); // bits per pixel
        put32(out, std::uint32_t(image.png.size()));
        put32(out, offset);
        offset += std::uint32_t(image.png.size());
    }
    for (const IcoImage& image : images)
        out.insert(out.end(), image.png.begin(), image.png.end());
    return out;
}
