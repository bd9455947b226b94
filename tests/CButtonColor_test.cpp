// The colour picker: values under presses, the mark, and its red frame.
#include "widgets/CButtonColor.h"

#include "tests/widget_canvas.h"

#include <gtest/gtest.h>

namespace {
const std::uint32_t red = 0xFF0000;

// A 256 x 128 stand-in for the scaled palette: dark blue-green cells, no red.
struct Palette : Canvas {
    Palette() : Canvas(256, 128)
    {
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 256; ++x)
                put(x, y, (x / 16) << 8 | (y / 16) << 4);
    }
};

struct PickerAt : ::testing::Test {
    Palette palette;
    CButtonColor picker{palette.surface, 0, 0, 256, 128};
    void SetUp() override { picker.move(375, 176, 256, 128); }
};
}

TEST_F(PickerAt, ValuesAndMarkFollowPresses)
{
    EXPECT_EQ(picker.markX, -1);
    EXPECT_EQ(picker.markY, -1);

    EXPECT_EQ(picker.push(375, 176), 0);
    EXPECT_EQ(picker.markX, 0);
    EXPECT_EQ(picker.markY, 0);

    // Column 1, row 2: hue 1, luminance 4.
    EXPECT_EQ(picker.push(392, 209), 0x14);
    EXPECT_EQ(picker.markX, 16);
    EXPECT_EQ(picker.markY, 32);
    EXPECT_EQ(picker.push(392, 209), 0x14);

    EXPECT_EQ(picker.push(630, 303), 0xFE);
    EXPECT_EQ(picker.markX, 240);
    EXPECT_EQ(picker.markY, 112);

    // The right edge column is inside and belongs to the last hue: what it
    // picks is what the mark then frames, never a colour of the first hue.
    EXPECT_EQ(picker.colourAt(631, 200), 0xF2);
    EXPECT_EQ(picker.push(631, 200), 0xF2);
    EXPECT_EQ(picker.isPushed, 1);
    EXPECT_EQ(picker.markX, 240);
    EXPECT_EQ(picker.markY, 16);
    EXPECT_EQ(picker.colourAt(632, 200), -1);
    EXPECT_EQ(picker.colourAt(500, 304), -1);

    // A miss on the bottom row leaves the mark.
    picker.push(392, 209);
    EXPECT_EQ(picker.push(500, 304), -1);
    EXPECT_EQ(picker.isPushed, 0);
    EXPECT_EQ(picker.markX, 16);
    EXPECT_EQ(picker.markY, 32);

    picker.active(0);
    EXPECT_EQ(picker.push(400, 200), -1);
}

// Odd luminances sit half a cell lower; only the low 8 bits count.
TEST_F(PickerAt, SetPlacesMark)
{
    picker.pushed(1);
    picker.set(0x35);
    EXPECT_EQ(picker.markX, 48);
    EXPECT_EQ(picker.markY, 40);
    EXPECT_EQ(picker.isPushed, 1);
    picker.set(0x7135);
    EXPECT_EQ(picker.markX, 48);
    EXPECT_EQ(picker.markY, 40);
}

TEST(CButtonColor, DrawsPaletteAndMarkFrame)
{
    Palette palette;
    Canvas canvas(300, 160);
    canvas.fill(0x000000);
    CButtonColor picker(palette.surface, 0, 0, 256, 128);
    picker.move(10, 20, 256, 128);
    picker.render(canvas.surface);
    // The picture covers the box; no mark yet.
    EXPECT_EQ(canvas.at(10 + 17, 20 + 33), 0x000120u);
    EXPECT_EQ(canvas.count(red), 0);

    // A 17 x 17 frame: the cell and the first column and row of its
    // neighbours.
    picker.set(0x35);
    picker.render(canvas.surface);
    EXPECT_EQ(canvas.count(red), 4 * 16);
    EXPECT_EQ(canvas.at(10 + 48, 20 + 40), red);
    EXPECT_EQ(canvas.at(10 + 64, 20 + 56), red);
    EXPECT_EQ(canvas.at(10 + 64, 20 + 40), red);
    EXPECT_EQ(canvas.at(10 + 48, 20 + 56), red);
    EXPECT_NE(canvas.at(10 + 49, 20 + 41), red);

    // Hidden, the picture goes but the frame stays.
    canvas.fill(0x000000);
    picker.visible(0);
    picker.render(canvas.surface);
    EXPECT_EQ(canvas.count(red), 4 * 16);
    EXPECT_EQ(canvas.count(0x000000), 300 * 160 - 4 * 16);
}
