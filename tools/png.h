// Minimal PNG writer: 8-bit RGBA, one IDAT holding a zlib stream of stored
// (uncompressed) deflate blocks. Pure functions returning bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace png {

constexpr std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t maxStoredBlock = 65535; // LEN is 16 bits
constexpr std::uint8_t colourTypeRgba = 6;

inline void put32be(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(v >> 24 & 0xFF);
    out.push_back(v >> 16 & 0xFF);
    out.push_back(v >> 8 & 0xFF);
    out.push_back(v & 0xFF);
}

// CRC-32 of ISO 3309 (reflected polynomial 0xEDB88320), bit by bit: the
// images are tiny, a table would only add code.
inline std::uint32_t crc32(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? crc >> 1 ^ 0xEDB88320u : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

inline std::uint32_t adler32(const std::uint8_t* data, std::size_t size)
{
    constexpr std::uint32_t modulus = 65521;
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % modulus;
        b = (b + a) % modulus;
    }
    return b << 16 | a;
}

// A zlib stream (deflate, 32K window, no dictionary) of stored blocks.
inline std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> out = {0x78, 0x01}; // header check: 0x7801 % 31 == 0
    std::size_t pos = 0;
    do {
        const std::size_t length = data.size() - pos < maxStoredBlock ? data.size() - pos : maxStoredBlock;
        const bool last = pos + length == data.size();
        out.push_back(last ? 1 : 0); // BFINAL, BTYPE 00 (stored), then byte alignment
        out.push_back(length & 0xFF);
        out.push_back(length >> 8 & 0xFF);
        out.push_back(~length & 0xFF);
        out.push_back(~length >> 8 & 0xFF);
        out.insert(out.end(), data.begin() + pos, data.begin() + pos + length);
        pos += length;
    } while (pos < data.size());
    put32be(out, adler32(data.data(), data.size()));
    return out;
}

// Length, type, data, then the CRC of type and data.
inline void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    put32be(out, std::uint32_t(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32be(out, crc32(out.data() + typeAt, out.size() - typeAt));
}

} // namespace png

// `rgba` holds width x height pixels, row after row from the top, four
// bytes each (red, green, blue, alpha).
inline std::vector<std::uint8_t> encodePngRgba(int width, int height, const std::vector<std::uint8_t>& rgba)
{
    using namespace png;
    std::vector<std::uint8_t> out(signature, signature + sizeof signature);

    std::vector<std::uint8_t> header;
    put32be(header, width);
    put32be(header, height);
    header.push_back(8); // bits per channel
    header.push_back(colourTypeRgba);
    header.push_back(0); // compression: deflate
    header.push_back(0); // filter method 0
    header.push_back(0); // no interlace
    putChunk(out, "IHDR", header);

    const std::size_t rowBytes = std::size_t(width) * 4;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter type None
        raw.insert(raw.end(), rgba.begin() + y * rowBytes, rgba.begin() + (y + 1) * rowBytes);
    }
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", {});
    return out;
}
