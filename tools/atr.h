// ATR disk images and the game image template built on one.
#pragma once

#include <cstdint>
#include <vector>

namespace atr {
constexpr std::size_t headerSize = 16;
constexpr std::uint8_t signature[2] = {0x96, 0x02};
} // namespace atr

// The 16-byte header of an image of `sectorCount` sectors of `sectorSize`
// bytes (sizes counted in 16-byte paragraphs, 24 bits split low word,
// high byte).
std::vector<std::uint8_t> atrHeader(unsigned sectorCount, unsigned sectorSize);

namespace gameimage {
constexpr std::size_t templateSize = 11170;
constexpr std::size_t levelListOffset = 11168; // two zero bytes: no level
constexpr unsigned sectorCount = 1040;
constexpr unsigned sectorSize = 128;
} // namespace gameimage

// The template the editor writes its levels into: the header, then
// `program` (the game's own sectors), zeros up to the template's size. The
// last two bytes stay zero: an empty level list. Returns an empty vector
// when the program does not fit before the level list.
std::vector<std::uint8_t> gameTemplate(const std::vector<std::uint8_t>& program);
