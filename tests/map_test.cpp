// One level: grid, registers, counters and its recoloured sheet.
#include "editor/map.h"
#include "render/funkcje.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

Surface make(int w, int h, int bits)
{
    Surface s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, 0xFF0000, 0xFF00, 0xFF, 0),
              SDL_FreeSurface);
    EXPECT_NE(s, nullptr);
    return s;
}

Uint32 paletteAt(int x, int y) { return 0x010000 | x << 8 | y; }

class Level : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Column 0 of the sheet is black (marker 4), column 1 grey (marker 1),
        // column 2 white, which no register replaces.
        for (int y = 0; y < 16; ++y)
            for (int x = 16; x < 48; ++x)
                putpixel(sheet.get(), x, y, x < 32 ? 0x9C9E9C : 0xFFFFFF);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 256; ++x)
                putpixel(palette.get(), x, y, paletteAt(x, y));
    }

    unsigned long recolourings() const { return recolorCount() - countAtStart; }

    Surface sheet = make(48, 16, 24); // like a loaded 24-bit "tiles.bmp"
    Surface palette = make(256, 128, 32);
    unsigned long countAtStart = recolorCount();
};

} // namespace

// A fresh level is empty and off with the default registers; its reset
// has no sheet to recolour.
TEST_F(Level, ConstructedDefaults)
{
    map level;
    EXPECT_EQ(level.isOn(), 0);
    EXPECT_EQ(level.srubkiGet(), 0);
    EXPECT_EQ(level.wzorekGet(), 0);
    const int defaults[6] = {0, 8, 14, 2, 0, 4};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(level.colorGet(i), defaults[i]) << "register " << i;
    for (int i = 0; i < map::cells; ++i)
        ASSERT_EQ(level.gridBytes()[i], 0) << "cell " << i;
    EXPECT_EQ(level.sheet(), nullptr);

    level.reset();
    EXPECT_EQ(recolourings(), 0u);
}

// Cells are stored column after column: (3, 7) is byte 3 * 31 + 7.
TEST_F(Level, ColumnMajorCells)
{
    map level;
    level.add(3, 7, 0x1A5);
    EXPECT_EQ(level.get(3, 7), 0xA5) << "low byte of the code";
    EXPECT_EQ(level.gridBytes()[100], 0xA5);
    EXPECT_EQ(level.gridBytes()[7 * 16 + 3], 0);

    level.add(15, 30, 9);
    EXPECT_EQ(level.gridBytes()[495], 9);
    level.add(1, 0, 4);
    EXPECT_EQ(level.gridBytes()[31], 4);
}

// Changing the eraser code alone leaves the grid; both resets refill it.
TEST_F(Level, ResetsFillWithTheEraser)
{
    map level;
    level.add(0, 0, 1);
    level.colorSet(4, 0x94);
    level.srubkiSet(12);
    level.wzorekSet(5);
    level.gumkaSet(0x1C3);
    EXPECT_EQ(level.get(5, 5), 0);

    level.resetNoRepaint();
    EXPECT_EQ(level.isOn(), 0);
    EXPECT_EQ(level.srubkiGet(), 0);
    EXPECT_EQ(level.wzorekGet(), 0);
    EXPECT_EQ(level.colorGet(4), 0);
    for (int i = 0; i < map::cells; ++i)
        ASSERT_EQ(level.gridBytes()[i], 0xC3) << "cell " << i;

    level.add(2, 2, 7);
    level.reset();
    EXPECT_EQ(level.get(2, 2), 0xC3);
    EXPECT_EQ(level.isOn(), 0);
}

// Exactly these recolour: repaint, reset with a sheet, the add that turns
// the level on, and each colorSet once.
TEST_F(Level, WhichOperationsRecolour)
{
    map level;
    level.setBmp(sheet.get(), palette.get());
    level.gumkaSet(1);
    level.srubkaSet(2);
    level.resetNoRepaint();
    level.create();
    level.srubkiSet(3);
    level.wzorekSet(4);
    EXPECT_EQ(recolourings(), 0u) << "set-up and setters";

    level.resetNoRepaint();
    level.add(3, 7, 5);
    EXPECT_EQ(recolourings(), 1u) << "the add that turns the level on";
    level.add(4, 7, 5);
    EXPECT_EQ(recolourings(), 1u) << "add on a level already on";

    level.colorSet(2, 0x36);
    EXPECT_EQ(recolourings(), 2u);
    level.colorSet(5, 4, 3, 2, 1, 0);
    EXPECT_EQ(recolourings(), 3u) << "six registers, one recolouring";
    level.repaint();
    EXPECT_EQ(recolourings(), 4u);
    level.reset();
    EXPECT_EQ(recolourings(), 5u);

    map other;
    other.setBmp(sheet.get(), palette.get());
    other.copy(level);
    level.copy(other);
    EXPECT_EQ(recolourings(), 5u) << "copy blits finished pixels";
}

// The six-argument form lists the registers from 5 down to 0.
TEST_F(Level, ColourRegistersAndPixels)
{
    map level;
    level.setBmp(sheet.get(), palette.get());
    EXPECT_EQ(getpixel(level.sheet(), 20, 3), 0x9C9E9Cu) << "setBmp does not recolour";

    level.colorSet(5, 4, 3, 2, 1, 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(level.colorGet(i), i);

    level.colorSet(1, 0x94);
    EXPECT_EQ(getpixel(level.sheet(), 20, 3), paletteAt(144, 32));
    level.colorSet(4, 0x26);
    EXPECT_EQ(getpixel(level.sheet(), 0, 0), paletteAt(32, 48));
    EXPECT_EQ(getpixel(level.sheet(), 40, 0), 0xFFFFFFu);

    // reset recolours before it fills the grid, with the default registers.
    level.reset();
    EXPECT_EQ(getpixel(level.sheet(), 20, 3), paletteAt(0, 64));
    EXPECT_EQ(getpixel(level.sheet(), 0, 0), paletteAt(0, 0));
}

// The minus buttons wrap by testing for a negative value.
TEST_F(Level, CountersKeepTheirSign)
{
    map level;
    level.wzorekSet(-1);
    EXPECT_EQ(level.wzorekGet(), -1);
    level.wzorekSet(0x107);
    EXPECT_EQ(level.wzorekGet(), 7) << "low byte";
    level.wzorekSet(200);
    EXPECT_EQ(level.wzorekGet(), -56);
    level.srubkiSet(-1);
    EXPECT_EQ(level.srubkiGet(), -1);
    level.srubkiSet(1000);
    EXPECT_EQ(level.srubkiGet(), 1000);
}

// Screws are counted as unsigned bytes, so a code of 128 or more counts.
TEST_F(Level, CountsScrews)
{
    map level;
    level.srubkaSet(200);
    level.gumkaSet(200);
    level.resetNoRepaint();
    EXPECT_EQ(level.srubkiAutoGet(), 496);

    level.add(0, 0, 1);
    level.add(15, 30, 1);
    EXPECT_EQ(level.srubkiAutoGet(), 494);
    EXPECT_EQ(level.srubkiGet(), 0) << "counting stores nothing";
}

// A copy takes what the player sees, pixels included, and keeps its own
// eraser, screw code and surfaces.
TEST_F(Level, CopyTakesContentKeepsOwnCodes)
{
    map from;
    from.setBmp(sheet.get(), palette.get());
    from.srubkaSet(9);
    from.add(3, 7, 9);
    from.add(0, 30, 200);
    from.colorSet(5, 0x44, 3, 2, 0x94, 0);
    from.srubkiSet(42);
    from.wzorekSet(6);

    map to;
    to.setBmp(sheet.get(), palette.get());
    to.gumkaSet(77);
    to.srubkaSet(200);
    SDL_Surface* ownSheet = to.sheet();
    to.copy(from);

    EXPECT_EQ(to.isOn(), 1);
    EXPECT_EQ(to.srubkiGet(), 42);
    EXPECT_EQ(to.wzorekGet(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(to.colorGet(i), from.colorGet(i)) << "register " << i;
    for (int i = 0; i < map::cells; ++i)
        ASSERT_EQ(to.gridBytes()[i], from.gridBytes()[i]) << "cell " << i;
    EXPECT_EQ(to.gumkaGet(), 77);
    EXPECT_EQ(to.srubkaGet(), 200);
    EXPECT_EQ(to.srubkiAutoGet(), 1) << "counted with its own screw code";
    EXPECT_EQ(to.sheet(), ownSheet);
    EXPECT_NE(to.sheet(), from.sheet());
    for (int x = 0; x < 48; x += 4)
        EXPECT_EQ(getpixel(to.sheet(), x, 5), getpixel(from.sheet(), x, 5)) << "x " << x;
    EXPECT_EQ(getpixel(to.sheet(), 20, 5), paletteAt(144, 32));

    // Copying an empty slot empties the destination.
    map empty;
    to.copy(empty);
    EXPECT_EQ(to.isOn(), 0);
    EXPECT_EQ(to.get(3, 7), 0);

    to.copy(to); // onto itself: nothing changes, nothing breaks
    EXPECT_EQ(to.isOn(), 0);
}

// A second setBmp replaces the copy (leaks show under the sanitizers) with
// a fresh, not recoloured one.
TEST_F(Level, SetBmpTwiceReplacesTheCopy)
{
    map level;
    level.setBmp(sheet.get(), palette.get());
    level.colorSet(1, 0x94);
    level.setBmp(sheet.get(), palette.get());
    ASSERT_NE(level.sheet(), nullptr);
    EXPECT_EQ(level.sheet()->w, 48);
    EXPECT_EQ(getpixel(level.sheet(), 20, 3), 0x9C9E9Cu);
}

// Without a sheet copy the level still works; it just draws nothing.
TEST_F(Level, NoSheetIsHarmless)
{
    map level;
    level.setBmp(sheet.get(), palette.get());
    level.setBmp(nullptr, palette.get());
    EXPECT_EQ(level.sheet(), nullptr);
    level.repaint();
    level.reset();
    level.add(1, 1, 5);
    level.colorSet(0, 0x22);
    EXPECT_EQ(level.get(1, 1), 5);

    map drawn;
    drawn.setBmp(sheet.get(), palette.get());
    drawn.copy(level);
    EXPECT_EQ(drawn.colorGet(0), 0x22);
    level.copy(drawn);
    EXPECT_EQ(level.sheet(), nullptr);
}

// A level copied from one without a sheet has no finished pixels to take,
// so it recolours its own sheet to match the registers it took.
TEST_F(Level, CopyFromSheetlessLevelRecoloursOwnSheet)
{
    map sheetless;
    sheetless.colorSet(1, 0x94);
    map drawn;
    drawn.setBmp(sheet.get(), palette.get());
    drawn.copy(sheetless);
    EXPECT_EQ(getpixel(drawn.sheet(), 20, 3), paletteAt(144, 32));
}
