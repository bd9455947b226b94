// Writing and reading game images, byte for byte.
#include "core/gameimage.h"

#include "core/game.h"
#include "core/messages.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A template like the game's own: the disk header, recognisable non-zero
// filler in the game data, zeros where the editor writes.
std::vector<uint8_t> makeTemplate()
{
    std::vector<uint8_t> tmpl(kTemplateSize);
    for (size_t i = 16; i < kTemplateSize; ++i)
        tmpl[i] = static_cast<uint8_t>(i % 251 + 1);
    const uint8_t header[16] = {0x96, 0x02, 0x80, 0x20, 0x80};
    std::memcpy(tmpl.data(), header, sizeof header);
    std::fill(tmpl.begin() + kOrderTableOffset, tmpl.begin() + kOrderTableOffset + 32, 0);
    tmpl[11168] = tmpl[11169] = 0;
    return tmpl;
}

const std::vector<uint8_t> kTemplate = makeTemplate();

// The slots an image put levels into.
std::vector<int> slotsOn(const LoadResult& loaded)
{
    std::vector<int> slots;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        if (loaded.levels[slot].on)
            slots.push_back(slot);
    return slots;
}

std::string warning(const LoadResult& loaded)
{
    return describe(loaded.issues, Language::polish);
}

struct Pages {
    TextPage pages[2];
    Pages()
    {
        for (auto& page : pages)
            for (auto& line : page) {
                std::memset(line, ' ', kPageColumns);
                line[kPageColumns] = '\0';
            }
    }
};

// A level that is on, with every cell and field distinct.
LevelData makeLevel(int seed)
{
    LevelData level;
    level.on = true;
    for (int x = 0; x < kLevelColumns; ++x)
        for (int y = 0; y < kLevelRows; ++y)
            level.cells[x][y] = static_cast<uint8_t>(seed * 7 + x * 31 + y);
    for (int i = 0; i < kColourRegisters; ++i)
        level.colours[i] = (seed * 16 + i) & 0xFF;
    level.srubki = seed % 100;
    level.wzorek = seed % 8;
    return level;
}

void expectSameLevel(const LevelData& got, const LevelData& want)
{
    EXPECT_TRUE(got.on);
    EXPECT_EQ(std::memcmp(got.cells, want.cells, sizeof got.cells), 0);
    for (int i = 0; i < kColourRegisters; ++i)
        EXPECT_EQ(got.colours[i], want.colours[i]) << "register " << i;
    EXPECT_EQ(got.srubki, want.srubki);
    EXPECT_EQ(got.wzorek, want.wzorek);
}

std::vector<uint8_t> writeSet(const LevelData (&levels)[kLevelSlots], const Pages& pages = Pages())
{
    return writeGameImage(kTemplate.data(), kTemplate.size(), levels, pages.pages);
}

LoadResult read(const std::vector<uint8_t>& image)
{
    return readGameImage(image.data(), image.size());
}

bool sameAsTemplate(const std::vector<uint8_t>& image, size_t from, size_t to)
{
    return std::equal(image.begin() + from, image.begin() + to, kTemplate.begin() + from);
}

} // namespace

TEST(GameImageWrite, EmptySetIsTemplatePagesAndEndMarker)
{
    LevelData levels[kLevelSlots];
    const std::vector<uint8_t> image = writeSet(levels);
    ASSERT_EQ(image.size(), 11428u);
    EXPECT_TRUE(sameAsTemplate(image, 0, kOrderTableOffset + 32)); // order table stays zero
    EXPECT_TRUE(sameAsTemplate(image, 8092, 11168));
    // Blank pages are spaces, stored as 0.
    for (size_t i = 7580; i < 8092; ++i)
        ASSERT_EQ(image[i], 0) << i;
    for (size_t i = 11168; i < image.size(); ++i)
        ASSERT_EQ(image[i], 0) << i;
}

TEST(GameImageWrite, AllLevelsFromSlot31Down)
{
    LevelData levels[kLevelSlots];
    for (int slot = 0; slot < kLevelSlots; ++slot)
        levels[slot] = makeLevel(slot);
    const std::vector<uint8_t> image = writeSet(levels);
    ASSERT_EQ(image.size(), 27684u);
    const uint8_t first[] = {0x00, 0x8E, 0xF7, 0x8F};
    const uint8_t last[] = {0x00, 0x50, 0xF7, 0x51};
    EXPECT_EQ(std::memcmp(&image[11168], first, 4), 0);
    EXPECT_EQ(std::memcmp(&image[11168 + 31 * 508], last, 4), 0);
    for (int k = 0; k < kLevelSlots; ++k)
        EXPECT_EQ(image[kOrderTableOffset + k], 0x80 + k);
    for (size_t i = 27684 - 260; i < image.size(); ++i)
        ASSERT_EQ(image[i], 0) << i;
}

TEST(GameImageWrite, SegmentLayout)
{
    LevelData levels[kLevelSlots];
    levels[5] = makeLevel(0);
    levels[5].wzorek = 3;
    levels[5].srubki = 42;
    levels[5].cells[2][1] = 0xAB;
    levels[5].colours[0] = 0x1C4; // only the low byte is stored
    const std::vector<uint8_t> image = writeSet(levels);
    const uint8_t* segment = &image[11168];
    EXPECT_EQ(segment[0] | segment[1] << 8, 0x5A00);
    EXPECT_EQ(segment[2] | segment[3] << 8, 0x5BF7);
    EXPECT_EQ(segment[22], 0xAB); // column 2 of row 1
    EXPECT_EQ(segment[4 + 16 * 30 + 15], levels[5].cells[15][30]);
    EXPECT_EQ(segment[500], 0x65);
    EXPECT_EQ(segment[501], 0x42);
    const uint8_t colours[] = {0xC4, 1, 2, 3, 4, 5};
    EXPECT_EQ(std::memcmp(segment + 502, colours, 6), 0);
    EXPECT_EQ(image[kOrderTableOffset], 0x85);
}

TEST(GameImageRead, LevelsLoadIntoTheirPositionsInOrder)
{
    LevelData levels[kLevelSlots];
    levels[3] = makeLevel(3);
    levels[7] = makeLevel(7);
    Pages pages;
    std::memcpy(pages.pages[0][0], "ZELBUN 1:", 9);
    pages.pages[0][0][10] = 1; // a with ogonek
    pages.pages[1][7][31] = '@';
    const std::vector<uint8_t> image = writeSet(levels, pages);
    const uint8_t order[] = {0x83, 0x87, 0, 0};
    EXPECT_EQ(std::memcmp(&image[kOrderTableOffset], order, 4), 0);
    EXPECT_EQ(image[7580 + 10], 32);
    EXPECT_EQ(image[7836 + 255], 15);

    const LoadResult loaded = read(image);
    EXPECT_EQ(warning(loaded), "");
    EXPECT_EQ(slotsOn(loaded), std::vector<int>({0, 1}));
    expectSameLevel(loaded.levels[1], levels[7]);
    expectSameLevel(loaded.levels[0], levels[3]);
    EXPECT_EQ(std::memcmp(loaded.pages, pages.pages, sizeof loaded.pages), 0);
}

TEST(GameImageRead, OrderTableDecidesTheTarget)
{
    LevelData levels[kLevelSlots];
    levels[9] = makeLevel(9);
    std::vector<uint8_t> image = writeSet(levels);

    // Listed twice: the later position wins, the earlier stays empty.
    image[kOrderTableOffset] = 0x7F; // outside the table's range: lists nothing
    image[kOrderTableOffset + 2] = 0x89;
    image[kOrderTableOffset + 4] = 0x89;
    LoadResult loaded = read(image);
    EXPECT_EQ(slotsOn(loaded), std::vector<int>({4}));

    // Not listed: read and dropped, and said so.
    for (size_t i = kOrderTableOffset; i < kOrderTableOffset + 32; ++i)
        image[i] = 0xA9; // slot 9 + 32, outside 0x80..0x9F
    loaded = read(image);
    EXPECT_TRUE(slotsOn(loaded).empty());
    EXPECT_EQ(warning(loaded), "segment w bajcie 11168 jest dla mapy 10, ktorej tabela kolejnosci nie wymienia: pominiety");
    EXPECT_EQ(segmentsLeftOut(loaded.issues), 1);
}

TEST(GameImageRead, EveryScreenCodeReadsWithoutNul)
{
    std::vector<uint8_t> image(kTemplate);
    for (int i = 0; i < 256; ++i)
        image[7836 + i] = static_cast<uint8_t>(i);
    const LoadResult loaded = read(image);
    for (int line = 0; line < kPageLines; ++line)
        EXPECT_EQ(std::strlen(loaded.pages[1][line]), 32u) << line;
    EXPECT_EQ(loaded.pages[1][0][0], ' ');
    EXPECT_EQ(loaded.pages[1][2][1], 'A'); // screen code 65
}

TEST(GameImageTest, ExportOfOneSlot)
{
    LevelData level = makeLevel(4);
    level.wzorek = 0;
    const Pages pages;
    const std::vector<uint8_t> image =
        writeTestImage(kTemplate.data(), kTemplate.size(), level, 12, pages.pages);
    ASSERT_EQ(image.size(), 11679u);
    const uint8_t addresses[] = {0x00, 0x68, 0xF7, 0x69};
    EXPECT_EQ(std::memcmp(&image[11168], addresses, 4), 0);
    EXPECT_EQ(image[11168 + 500], 12);
    EXPECT_EQ(image[kOrderTableOffset], 0x8C);
    for (size_t i = kOrderTableOffset + 1; i < kOrderTableOffset + 32; ++i)
        EXPECT_EQ(image[i], 0);
    EXPECT_TRUE(sameAsTemplate(image, 8092, 11168));
    EXPECT_EQ(image[11676] | image[11677] | image[11678], 0);

    // Whatever slot it came from, it loads into slot 0.
    const LoadResult loaded = read(image);
    EXPECT_EQ(slotsOn(loaded), std::vector<int>({0}));
    expectSameLevel(loaded.levels[0], level);
}

TEST(GameImageTest, LevelThatIsOffIsStillExported)
{
    LevelData level; // off
    level.colours[1] = 8;
    const Pages pages;
    const std::vector<uint8_t> image =
        writeTestImage(kTemplate.data(), kTemplate.size(), level, 0, pages.pages);
    ASSERT_EQ(image.size(), 11679u);
    EXPECT_EQ(image[kOrderTableOffset], 0x80);
    EXPECT_EQ(image[11168 + 502 + 1], 8);
    EXPECT_EQ(slotsOn(read(image)).size(), 1u);
}

// Data cut anywhere reads without a crash and keeps what was read whole.
TEST(GameImageRead, TruncatedData)
{
    LevelData levels[kLevelSlots];
    levels[3] = makeLevel(3);
    levels[7] = makeLevel(7);
    Pages pages;
    std::memset(pages.pages[0][0], 'X', 32);
    std::memset(pages.pages[0][1], 'Y', 32);
    std::memset(pages.pages[1][0], 'Z', 32);
    const std::vector<uint8_t> whole = writeSet(levels, pages);
    ASSERT_EQ(whole.size(), 11168u + 2 * 508 + 260);

    struct Cut {
        size_t size;
        size_t levels;
        size_t pageChars;
        const char* where;
    };
    // Slot 7 is written first and loads into slot 1 (shown as 2), slot 3
    // into slot 0 (shown as 1): a level cut short is named by its slot.
    const Cut cuts[] = {
        {0, 0, 0, "przed koncem tablicy kolejnosci"},
        {7549, 0, 0, "przed koncem tablicy kolejnosci"},
        {7580 + 40, 0, 40, "przed koncem stron tekstu"},
        {7836 + 5, 0, 256 + 5, "przed koncem stron tekstu"},
        {11168, 0, 512, "przed koncem listy poziomow"},
        {11169, 0, 512, "przed koncem listy poziomow"},
        {11168 + 300, 0, 512, "w poziomie 2, ktory pominieto"},
        {11676, 1, 512, "przed koncem listy poziomow"},  // right after a segment, no end marker
        {11677, 1, 512, "przed koncem listy poziomow"},
        {11676 + 507, 1, 512, "w poziomie 1, ktory pominieto"},
        {12184, 2, 512, "przed koncem listy poziomow"},
        {12185, 2, 512, "przed koncem listy poziomow"},
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.size);
        // An exact-size copy, so that a read past the end is caught.
        const std::vector<uint8_t> data(whole.begin(), whole.begin() + cut.size);
        const LoadResult loaded = readGameImage(data.data(), data.size());
        EXPECT_EQ(warning(loaded), "plik urwany (" + std::to_string(cut.size) + " bajtow) " + cut.where);
        ASSERT_EQ(slotsOn(loaded).size(), cut.levels);
        if (cut.levels > 0)
            expectSameLevel(loaded.levels[1], levels[7]);
        // Characters read are those saved; the rest of the pages is blank.
        for (size_t i = 0; i < 512; ++i) {
            const char want = i < cut.pageChars ? pages.pages[i / 256][i / 32 % 8][i % 32] : ' ';
            ASSERT_EQ(loaded.pages[i / 256][i / 32 % 8][i % 32], want) << i;
        }
    }
    const LoadResult full = read(whole);
    EXPECT_EQ(warning(full), "");
    EXPECT_EQ(slotsOn(full).size(), 2u);
}

TEST(GameImageWrite, EmbeddedTemplate)
{
    // Entries past the last level keep the template's bytes: they must be zero.
    for (size_t i = kOrderTableOffset; i < kOrderTableOffset + 32; ++i)
        ASSERT_EQ(game[i], 0) << i;
    LevelData levels[kLevelSlots];
    levels[0] = makeLevel(1);
    const Pages pages;
    const std::vector<uint8_t> image = writeGameImage(game, gameSize, levels, pages.pages);
    EXPECT_EQ(image.size(), 11428u + 508);
    EXPECT_EQ(std::memcmp(image.data(), game, 16), 0);
    EXPECT_EQ(slotsOn(read(image)).size(), 1u);
}

// Only the file name's own dots count: a dotted directory still gets ".atr".
TEST(SavePath, AtrExtensionWhenTheFileNameHasNoDot)
{
    EXPECT_TRUE(hasNoDot("levels/zestaw"));
    EXPECT_EQ(withAtrExtension("levels/zestaw"), "levels/zestaw.atr");
    EXPECT_EQ(withAtrExtension("zestaw.atr"), "zestaw.atr");
    EXPECT_EQ(withAtrExtension("/home/jan.kowalski/levels"), "/home/jan.kowalski/levels.atr");
    EXPECT_EQ(withAtrExtension("/home/jan.kowalski/levels.v2"), "/home/jan.kowalski/levels.v2");
}

// A screw count that is not two decimal digits is clamped to 0..99 on
// reading and said so, instead of changing silently at the next save.
TEST(GameImageRead, BadScrewCountsAreClampedAndReported)
{
    LevelData levels[kLevelSlots];
    levels[0] = makeLevel(1);
    std::vector<uint8_t> image = writeSet(levels);
    const size_t screwByte = kLevelListOffset + 501;
    const struct {
        uint8_t stored;
        int read;
    } cases[] = {{0xFF, 99}, {0x9A, 99}, {0x0A, 10}, {0x42, 42}};
    for (const auto& c : cases) {
        image[screwByte] = c.stored;
        const LoadResult loaded = read(image);
        ASSERT_EQ(slotsOn(loaded).size(), 1u);
        EXPECT_EQ(loaded.levels[0].srubki, c.read);
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", c.stored);
        if (c.stored == 0x42)
            EXPECT_EQ(warning(loaded), "");
        else
            EXPECT_EQ(warning(loaded), std::string("poziom 1: zla liczba srubek ") + byte +
                                          ", przyjeto " + std::to_string(c.read));
    }
}

// A full set is 32 levels: a 33rd segment is not read.
TEST(GameImageRead, ReadingStopsAfter32Segments)
{
    LevelData levels[kLevelSlots];
    for (int slot = 0; slot < kLevelSlots; ++slot)
        levels[slot] = makeLevel(slot);
    std::vector<uint8_t> image = writeSet(levels);
    const size_t end = kLevelListOffset + kLevelSlots * kSegmentSize;
    image.insert(image.begin() + end, image.begin() + kLevelListOffset,
                 image.begin() + kLevelListOffset + kSegmentSize);
    const LoadResult loaded = read(image);
    EXPECT_EQ(slotsOn(loaded).size(), 32u);
    EXPECT_EQ(warning(loaded), "wiecej niz 32 poziomy; reszta pominieta");
}
