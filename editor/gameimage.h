// The game image: the game's disk image with the level set, the level order
// and two text pages written in at fixed offsets. Pure functions over bytes;
// the editor's save and load are thin adapters over them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kLevelColumns = 16;
constexpr int kLevelRows = 31;
constexpr int kLevelSlots = 32;
constexpr int kColourRegisters = 6;
constexpr int kPageLines = 8;
constexpr int kPageColumns = 32;

// Byte offsets and sizes of the image.
constexpr size_t kTemplateSize = 11170;
constexpr size_t kOrderTableOffset = 7548;
constexpr size_t kPageOffsets[2] = {7580, 7836};
constexpr size_t kPageSize = kPageLines * kPageColumns;
constexpr size_t kLevelListOffset = 11168;
constexpr size_t kSegmentSize = 508;
constexpr size_t kSetEndMarkerSize = 260;
constexpr size_t kTestEndMarkerSize = 3;
// A full set is 27,684 bytes; anything much larger is not a game image.
constexpr size_t kGameImageReadLimit = 64 * 1024;

// Where the game loads the level of each slot, and the layout of its bytes
// there: the cells row by row, then the slot byte (wall pattern in bits
// 5..7), the screw count and the colour registers. A segment is these
// bytes behind its start and end addresses.
constexpr unsigned kLevelsAddress = 0x5000;
constexpr unsigned kLevelStride = 0x200;
constexpr size_t kSegmentHeaderSize = 4;
constexpr size_t kLevelCells = kLevelColumns * kLevelRows;
constexpr size_t kLevelSlotByte = kLevelCells;
constexpr size_t kLevelScrews = kLevelSlotByte + 1;
constexpr size_t kLevelColours = kLevelScrews + 1;
constexpr size_t kLevelBytes = kLevelColours + kColourRegisters;
static_assert(kSegmentHeaderSize + kLevelBytes == kSegmentSize, "a segment is one level");
// The order table lists slot s as kOrderListed + s; other bytes list nothing.
constexpr int kOrderListed = 0x80;

// One level as the image stores it.
struct LevelData {
    bool on = false;
    uint8_t cells[kLevelColumns][kLevelRows] = {}; // [column][row]
    int colours[kColourRegisters] = {};            // registers 0..5, low byte stored
    int srubki = 0;                                // screw count, stored as packed BCD
    int wzorek = 0;                                // wall pattern 0..7
};

// A text page in editor codes: 8 lines of 32 characters, each ended by a NUL.
using TextPage = char[kPageLines][kPageColumns + 1];

// The image of the whole set: the template (kTemplateSize bytes), pages 0
// and 1, the segments of the levels that are on from slot 31 down to 0, the
// end marker and the order table listing those levels in ascending slot order.
std::vector<uint8_t> writeGameImage(const uint8_t* tmpl, size_t tmplSize,
                                    const LevelData levels[kLevelSlots],
                                    const TextPage pages[2]);

// The test image of one level: its segment (written whether the level is on
// or not), a short end marker and an order table listing only that slot.
std::vector<uint8_t> writeTestImage(const uint8_t* tmpl, size_t tmplSize,
                                    const LevelData& level, int slot,
                                    const TextPage pages[2]);

struct LoadedLevel {
    int target; // editor slot 0..31: the level's position in the order table
    LevelData level;
};

struct LoadResult {
    TextPage pages[2];               // blank where the data held nothing
    std::vector<LoadedLevel> levels; // in file order; a later one for the same target wins
    std::string warning;             // where the data broke off, in Polish; empty when whole
};

// Why the bytes are not a game image we can open, or empty when they are:
// an ATR signature (0x96 0x02) at offset 0 and at least the bytes up to the
// level list. In Polish, for the window.
std::string gameImageProblem(const uint8_t* data, size_t size);

// Reads an image of any size without reading past its end. A segment whose
// slot is not listed in the order table is skipped; one the data cuts short
// is dropped, keeping the levels before it.
LoadResult readGameImage(const uint8_t* data, size_t size);

// Saving appends ".atr" to a path whose file name (its last component)
// holds no ".": "/home/jan.kowalski/levels" becomes "levels.atr".
bool hasNoDot(const std::string& path);
std::string withAtrExtension(std::string path);
