// The game disk the editor embeds, booted the way the Atari's operating
// system and our loader do it: boot sectors first, then the segment stream
// read sector by sector until a start address of zero.
#include "core/document.h"
#include "core/game.h"
#include "core/gameimage.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kSectorSize = 128;
constexpr int kLevelsStart = 0x5000;
constexpr int kLevelsEnd = 0x9000;  // exclusive
constexpr int kSectorBuffer = 0x0600;

int word(const std::vector<uint8_t>& d, size_t at) { return d[at] | d[at + 1] << 8; }

struct Segment {
    size_t fileOffset; // of its first data byte
    int start, end;
};

// What booting an image does to a 64 KB machine.
struct Boot {
    std::array<uint8_t, 0x10000> memory{};
    int bootSectors = 0, loadAddress = 0;
    std::vector<Segment> segments;
    size_t lastSectorRead = 0;   // 1-based
    bool endedCleanly = false;   // a zero start address was met

    explicit Boot(const std::vector<uint8_t>& disk)
    {
        bootSectors = disk.at(kHeaderSize + 1);
        loadAddress = word(disk, kHeaderSize + 2);
        for (size_t i = 0; i < bootSectors * kSectorSize; ++i)
            memory[loadAddress + i] = disk.at(kHeaderSize + i);
        size_t pos = kHeaderSize + bootSectors * kSectorSize;
        // Sectors past the end of the file come back with stale bytes.
        auto next = [&]() -> int {
            size_t sector = (pos - kHeaderSize) / kSectorSize + 1;
            lastSectorRead = std::max(lastSectorRead, sector);
            return pos < disk.size() ? disk[pos++] : (++pos, 0xA5);
        };
        // The two reads of a word in order: the operands of | are not
        // sequenced, and builds differ in which they call first.
        auto nextWord = [&] {
            const int lo = next();
            return lo | next() << 8;
        };
        for (int guard = 0; guard < 1000; ++guard) {
            int start = nextWord();
            if (start == 0) {
                endedCleanly = true;
                return;
            }
            int end = nextWord();
            if (end < start)
                return;
            segments.push_back({pos, start, end});
            for (int a = start; a <= end; ++a)
                memory[a] = static_cast<uint8_t>(next());
        }
    }

    // The segment that loads file offset `at`, or null.
    const Segment* holding(size_t at) const
    {
        for (const auto& s : segments)
            if (at >= s.fileOffset && at <= s.fileOffset + (s.end - s.start))
                return &s;
        return nullptr;
    }
};

size_t sectorOf(size_t offset) { return (offset - kHeaderSize) / kSectorSize + 1; }

std::vector<uint8_t> templateBytes() { return std::vector<uint8_t>(game, game + gameSize); }

struct BlankPages {
    TextPage pages[2];
    BlankPages()
    {
        for (auto& page : pages)
            blankPage(page);
    }
};

LevelData levelWithRobot(int seed)
{
    LevelData level;
    level.on = true;
    level.cells[seed % kLevelColumns][seed % kLevelRows] = 4;
    level.colours[4] = seed;
    level.srubki = seed;
    return level;
}

} // namespace

// The boot record the OS reads, and the signature the editor looks for.
TEST(Engine, BootRecordAndSignature)
{
    const auto disk = templateBytes();
    ASSERT_EQ(disk.size(), kTemplateSize);
    const Boot boot(disk);
    EXPECT_EQ(disk[16], 0) << "boot flags";
    EXPECT_GE(boot.bootSectors, 1);
    EXPECT_LE(boot.bootSectors, 4);
    // Code outside the levels' memory, the sector buffer and zero page.
    EXPECT_GE(boot.loadAddress, 0x0700);
    EXPECT_LE(boot.loadAddress + boot.bootSectors * int(kSectorSize), kLevelsStart);
    const int init = word(disk, 20);
    EXPECT_GE(init, boot.loadAddress);
    EXPECT_LT(init, boot.loadAddress + boot.bootSectors * int(kSectorSize));
    // The OS starts at load address + 6: a jump over the signature.
    EXPECT_EQ(disk[22], 0x4C);
    const int jumpTo = word(disk, 23);
    EXPECT_GE(jumpTo, boot.loadAddress + 32);
    EXPECT_LT(jumpTo, boot.loadAddress + boot.bootSectors * int(kSectorSize));
    const std::string signature(reinterpret_cast<const char*>(&disk[32]), 16);
    EXPECT_EQ(signature.substr(0, 14), "ZELBUN-ENGINE-");
    EXPECT_TRUE(isdigit(signature[14]) && isdigit(signature[15])) << signature;
}

// The template's own segments end exactly where the editor appends levels,
// keep clear of what the loader and the levels use, and load the order
// table and both text pages together in one piece the game knows.
TEST(Engine, SegmentChainOfTheTemplate)
{
    const auto disk = templateBytes();
    const Boot boot(disk);
    ASSERT_TRUE(boot.endedCleanly);
    ASSERT_FALSE(boot.segments.empty());
    const Segment& last = boot.segments.back();
    EXPECT_EQ(last.fileOffset + (last.end - last.start) + 1, kLevelListOffset);
    EXPECT_EQ(boot.lastSectorRead, sectorOf(kLevelListOffset + 1));
    size_t expected = kHeaderSize + boot.bootSectors * kSectorSize + 4;
    const int bootEnd = boot.loadAddress + boot.bootSectors * int(kSectorSize);
    for (const auto& s : boot.segments) {
        EXPECT_EQ(s.fileOffset, expected) << "segments follow one another";
        expected = s.fileOffset + (s.end - s.start) + 1 + 4;
        EXPECT_TRUE(s.end < kLevelsStart || s.start >= kLevelsEnd) << std::hex << s.start;
        EXPECT_TRUE(s.end < kSectorBuffer || s.start >= bootEnd) << std::hex << s.start;
        EXPECT_GE(s.start, 0x0100) << "zero page and stack are the OS's";
    }
    const Segment* data = boot.holding(kOrderTableOffset);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data, boot.holding(kPageOffsets[1] + kPageSize - 1));
    // Saving fills the order table from its start and leaves the rest as
    // the template has it: zeros, which list no level.
    for (size_t i = 0; i < 32; ++i)
        EXPECT_EQ(disk[kOrderTableOffset + i], 0) << "order table byte " << i;
}

// A full set (260-byte end marker) and a test image (3 bytes): every level
// lands at its slot's address, and no sector after the one holding the
// end marker's start is read.
TEST(Engine, LevelsLoadAndTheLoaderStopsAtBothEndMarkers)
{
    const auto tmpl = templateBytes();
    const BlankPages pages;
    LevelData levels[kLevelSlots];
    for (int slot : {0, 5, 31})
        levels[slot] = levelWithRobot(slot + 1);
    const auto set = writeGameImage(tmpl.data(), tmpl.size(), levels, pages.pages);
    const Boot full(set);
    ASSERT_TRUE(full.endedCleanly);
    EXPECT_EQ(full.lastSectorRead, sectorOf(set.size() - kSetEndMarkerSize + 1));
    const Segment* table = full.holding(kOrderTableOffset);
    ASSERT_NE(table, nullptr);
    const int gameData = table->start + int(kOrderTableOffset - table->fileOffset);
    EXPECT_EQ(full.memory[gameData], 0x80);
    EXPECT_EQ(full.memory[gameData + 1], 0x85);
    EXPECT_EQ(full.memory[gameData + 2], 0x9F);
    for (int slot : {0, 5, 31}) {
        const int at = kLevelsStart + 0x200 * slot;
        EXPECT_EQ(full.memory[at + (slot + 1) % kLevelRows * 16 + (slot + 1) % kLevelColumns], 4);
        EXPECT_EQ(full.memory[at + 496], slot) << "slot byte";
        EXPECT_EQ(full.memory[at + 498 + 4], slot + 1) << "background register";
    }

    // Test images, whatever slot they were exported from.
    for (int slot : {12, 30}) {
        const auto test = writeTestImage(tmpl.data(), tmpl.size(), levelWithRobot(slot), slot, pages.pages);
        const Boot one(test);
        ASSERT_TRUE(one.endedCleanly);
        EXPECT_EQ(one.lastSectorRead, sectorOf(test.size() - kTestEndMarkerSize + 1));
        EXPECT_EQ(one.memory[kLevelsStart + 0x200 * slot + 496], slot);
    }
}
