// The game image: the game's disk image with the level set, the level order
// and two text pages written in at fixed offsets. Pure functions over bytes;
// the editor's save and load are thin adapters over them.
#pragma once

#include "core/error.h"
#include "core/level.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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
constexpr size_t kLevelSlotByte = kLevelCells;
constexpr size_t kLevelScrews = kLevelSlotByte + 1;
constexpr size_t kLevelColours = kLevelScrews + 1;
constexpr size_t kLevelBytes = kLevelColours + kColourRegisters;
static_assert(kSegmentHeaderSize + kLevelBytes == kSegmentSize, "a segment is one level");
// The order table lists slot s as kOrderListed + s; other bytes list nothing.
constexpr int kOrderListed = 0x80;

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

// Where a file breaks off, when it does before its end marker.
enum class CutShortAt { none, orderTable, pages, beforeLevelList, levelList, level };

// What reading an image had to read around.
struct LoadIssue {
    enum Kind {
        cutShort,       // the data ends at `size` bytes, at `where`
        tooManyLevels,  // more than 32 segments: the rest was left out
        badScrewCount,  // level `slot` holds `byte`, not two BCD digits; read as `clamped`
        // The segment at `offset`, whose slot byte names slot `byte`, is
        // left out: the order table does not list that slot.
        segmentUnlisted,
        // The segment at `offset` for level `slot` is left out: a later
        // one loads into the same place.
        segmentReplaced,
        // The segment at `offset` loads to `address`, not where its slot
        // byte's slot `byte` lies: the game places it by the address, the
        // editor by the slot byte.
        slotMismatch,
    } kind = cutShort;
    size_t size = 0;
    CutShortAt where = CutShortAt::none;
    int slot = -1;  // the editor slot concerned; for a level cut short -1 when unknown
    int byte = 0;
    int clamped = 0;
    size_t offset = 0;
    unsigned address = 0;
};

// How many segments reading left out (segmentUnlisted, segmentReplaced):
// levels that saving the set again would not write.
int segmentsLeftOut(const std::vector<LoadIssue>& issues);

struct LoadResult {
    TextPage pages[kTextPages];        // blank where the data held nothing
    LevelData levels[kLevelSlots];     // by editor slot, empty where the set has none
    std::vector<LoadIssue> issues;     // empty when the image is whole
};

// Why the bytes are not a game image we can open: an ATR signature (0x96
// 0x02) at offset 0 and at least the bytes up to the level list; a false
// Error when they are one. The path is left to the caller.
Error gameImageProblem(const uint8_t* data, size_t size);

// Reads an image of any size without reading past its end. Each level goes
// to its place in the order table (a later segment for the same place
// wins); a segment whose slot the table does not list is skipped, and one
// the data cuts short is dropped, keeping the levels before it; each such
// loss is an issue. `eraserCode` fills the slots the image leaves empty.
LoadResult readGameImage(const uint8_t* data, size_t size, int eraserCode = 0);

// The 32 bytes of the order table, zeros where the data is too short.
std::vector<uint8_t> orderTable(const uint8_t* data, size_t size);

// Saving appends ".atr" to a path whose file name (its last component)
// holds no ".": "/home/jan.kowalski/levels" becomes "levels.atr".
bool hasNoDot(const std::string& path);
std::string withAtrExtension(std::string path);
