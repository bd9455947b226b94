// Push buttons: caption and image looks, picture placement and switching.
#include "widgets/CButton.h"

#include "tests/widget_canvas.h"

#include <gtest/gtest.h>

namespace {
const std::uint32_t grey = 0xC8C8C8;
const std::uint32_t inverseGrey = 0x373737;

// A 64 x 16 sheet of four 16 x 16 pictures; each pixel encodes its own
// position so a blit's source and destination can be read back.
struct Sheet : Canvas {
    Sheet() : Canvas(64, 16)
    {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 64; ++x)
                put(x, y, 0x010000u | x << 8 | y);
    }
    static std::uint32_t source(int x, int y) { return 0x010000u | x << 8 | y; }
};
}

TEST(CButton, CaptionButtonLook)
{
    Canvas canvas(80, 40);
    canvas.fill(0x000000);
    CButton button("\xDB\xDB\xDB\xDB\xDB");
    button.move(0, 0, 60, 25);
    button.render(canvas.surface);

    // Fill and border cover columns 0..59 and rows 0..24 only.
    EXPECT_EQ(canvas.at(0, 0), inverseGrey);
    EXPECT_EQ(canvas.at(59, 24), inverseGrey);
    EXPECT_EQ(canvas.at(59, 10), inverseGrey);
    EXPECT_EQ(canvas.at(30, 24), inverseGrey);
    EXPECT_EQ(canvas.at(1, 1), grey);
    EXPECT_EQ(canvas.at(58, 23), grey);
    EXPECT_EQ(canvas.at(60, 10), 0x000000u);
    EXPECT_EQ(canvas.at(30, 25), 0x000000u);
    // ... yet the press test reaches one column further.
    EXPECT_EQ(button.push(60, 10), 1);

    // Five characters centred: (30 - 20, 12 - 4).
    canvas.fill(0x000000);
    button.free();
    button.render(canvas.surface);
    EXPECT_EQ(canvas.at(9, 8), grey);
    EXPECT_EQ(canvas.at(10, 7), grey);
    EXPECT_EQ(canvas.at(10, 8), inverseGrey);
    EXPECT_EQ(canvas.at(49, 15), inverseGrey);
    EXPECT_EQ(canvas.at(50, 15), grey);
    EXPECT_EQ(canvas.at(49, 16), grey);
}

TEST(CButton, PressedLookIsInverted)
{
    Canvas canvas(80, 40);
    canvas.fill(0x000000);
    CButton button("\xDB");
    button.move(0, 0, 60, 25);
    button.pushed(1);
    button.render(canvas.surface);
    EXPECT_EQ(canvas.at(0, 0), inverseGrey); // border stays inverse
    EXPECT_EQ(canvas.at(5, 5), inverseGrey); // fill
    EXPECT_EQ(canvas.at(26, 8), grey);       // text in the colour
}

TEST(CButton, ImageButtonCentresAndBlitsPicture)
{
    Sheet sheet;
    Canvas canvas(300, 80);
    canvas.fill(0x000000);
    CButton entry(sheet.surface, 16, 0, 16, 16);
    entry.caption("\xDB");
    entry.move(270, 50, 19, 19);
    entry.color(255, 0, 0, 255);
    entry.render(canvas.surface);

    EXPECT_EQ(canvas.at(271, 51), Sheet::source(16, 0));
    EXPECT_EQ(canvas.at(286, 66), Sheet::source(31, 15));
    // Fill shows as a frame, 1 pixel left and top, 2 right and bottom; no
    // border and no caption.
    EXPECT_EQ(canvas.at(270, 50), 0xFF0000u);
    EXPECT_EQ(canvas.at(287, 67), 0xFF0000u);
    EXPECT_EQ(canvas.at(288, 68), 0xFF0000u);
    EXPECT_EQ(canvas.at(289, 60), 0x000000u);
    EXPECT_EQ(canvas.count(0x00FFFF), 0);

    entry.pushed(1);
    entry.render(canvas.surface);
    EXPECT_EQ(canvas.at(270, 50), 0x00FFFFu);
    EXPECT_EQ(canvas.at(271, 51), Sheet::source(16, 0));
}

// A picture larger than the button goes to (-3, -3) and is clipped; drawing
// again must not drift, as the clipping must not shrink the stored size.
TEST(CButton, ClippedPictureStaysCentred)
{
    Sheet sheet;
    Canvas canvas(20, 20);
    CButton button(sheet.surface, 0, 0, 16, 16);
    button.move(0, 0, 10, 10);
    for (int frame = 0; frame < 2; ++frame) {
        canvas.fill(0x000000);
        button.render(canvas.surface);
        EXPECT_EQ(canvas.at(0, 0), Sheet::source(3, 3)) << "frame " << frame;
        EXPECT_EQ(canvas.at(12, 12), Sheet::source(15, 15)) << "frame " << frame;
        EXPECT_EQ(button.imagePlace.w, 16);
    }
}

TEST(CButton, NegativeSourceShowsCaptionWithoutBorder)
{
    Sheet sheet;
    Canvas canvas(40, 40);
    canvas.fill(0x000000);
    CButton entry("\xDB\xDB");
    entry.move(0, 0, 19, 19);
    entry.color(255, 0, 0, 255);
    entry.setImage(sheet.surface, -16, 0, 16, 16);
    entry.render(canvas.surface);

    EXPECT_EQ(canvas.at(0, 0), 0xFF0000u);  // fill, no border
    EXPECT_EQ(canvas.at(18, 18), 0xFF0000u);
    EXPECT_EQ(canvas.at(1, 5), 0x00FFFFu);  // caption at (9 - 8, 9 - 4)
    EXPECT_EQ(canvas.count(0x00FFFF), 2 * 64);
    // Nothing but fill and text: no picture.
    EXPECT_EQ(canvas.count(0xFF0000) + canvas.count(0x00FFFF), 19 * 19);
}

TEST(CButton, MoveImageSwitchesPictureButNotMode)
{
    Sheet sheet;
    Canvas canvas(40, 40);
    CButton caption("\xDB");
    caption.move(0, 0, 20, 20);
    caption.moveImage(16, 0, 16, 16);
    EXPECT_EQ(caption.imageSource.x, 16);
    EXPECT_EQ(caption.hasImage, 0);
    canvas.fill(0x000000);
    caption.render(canvas.surface);
    EXPECT_EQ(canvas.at(0, 0), inverseGrey); // still a framed caption button

    CButton entry(sheet.surface, 0, 0, 16, 16);
    entry.move(0, 0, 16, 16);
    entry.moveImage(48, 0, 16, 16);
    canvas.fill(0x000000);
    entry.render(canvas.surface);
    EXPECT_EQ(canvas.at(0, 0), Sheet::source(48, 0));
}

// Destroying a button leaves the shared sheet to its owner.
TEST(CButton, SheetOutlivesButtons)
{
    Sheet sheet;
    {
        CButton first(sheet.surface, 0, 0, 16, 16);
        CButton second(sheet.surface, 16, 0, 16, 16);
    }
    Canvas canvas(16, 16);
    CButton third(sheet.surface, 32, 0, 16, 16);
    third.move(0, 0, 16, 16);
    third.render(canvas.surface);
    EXPECT_EQ(canvas.at(0, 0), Sheet::source(32, 0));
}
