// The counter: its three press areas, value and label text, picture mode.
#include "widgets/CPMButton.h"

#include "tests/widget_canvas.h"

#include <SDL_gfxPrimitives.h>
#include <gtest/gtest.h>

#include <climits>

namespace {
const std::uint32_t grey = 0xC8C8C8;
const std::uint32_t inverseGrey = 0x373737;
const std::uint32_t white = 0xFFFFFF;

// A sheet of four 16 x 16 pictures, each a flat colour without grey or white.
struct Sheet : Canvas {
    Sheet() : Canvas(64, 16)
    {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 64; ++x)
                put(x, y, 0x100000u * (x / 16 + 1));
    }
};

// Whether the pixels of the given colour inside the body's middle (between
// the children, inside the border) are exactly those of `text` drawn at
// (tx, ty).
bool textInMiddle(const Canvas& canvas, const CPMButton& counter, const char* text,
                  int tx, int ty, std::uint32_t colour)
{
    Canvas reference(canvas.surface->w, canvas.surface->h);
    reference.fill(0x000000);
    stringRGBA(reference.surface, tx, ty, text, 255, 255, 255, 255);
    for (int y = counter.y + 1; y < counter.y + 24; ++y)
        for (int x = counter.x + 16; x < counter.x + 44; ++x)
            if ((canvas.at(x, y) == colour) != (reference.at(x, y) == white))
                return false;
    return true;
}
}

// The body sits 10 pixels below the given point and keeps its size.
TEST(CPMButton, PlacementOfBodyAndChildren)
{
    CPMButton counter;
    EXPECT_EQ(counter.y, 10);
    EXPECT_EQ(counter.plusButton->x, 45);
    EXPECT_STREQ(counter.captionText, "0");

    counter.move(375, 50, 999, 999);
    EXPECT_EQ(counter.x, 375);
    EXPECT_EQ(counter.y, 60);
    EXPECT_EQ(counter.width, 60);
    EXPECT_EQ(counter.height, 25);
    EXPECT_EQ(counter.minusButton->x, 375);
    EXPECT_EQ(counter.minusButton->y, 60);
    EXPECT_EQ(counter.plusButton->x, 420);
    EXPECT_EQ(counter.plusButton->y, 60);
    EXPECT_EQ(counter.plusButton->width, 15);
}

// The screw counter's areas, body at (375, 60).
TEST(CPMButton, PressAreas)
{
    CPMButton counter;
    counter.move(375, 50, 0, 0);
    EXPECT_EQ(counter.push(375, 70), CPMButton::minusHit);
    EXPECT_EQ(counter.push(390, 70), 2);
    EXPECT_EQ(counter.push(391, 70), CPMButton::bodyHit);
    EXPECT_EQ(counter.push(419, 70), 1);
    EXPECT_EQ(counter.push(420, 70), CPMButton::plusHit);
    EXPECT_EQ(counter.push(435, 70), 3);
    EXPECT_EQ(counter.push(436, 70), CPMButton::missed);
    EXPECT_EQ(counter.push(400, 85), 0);
    EXPECT_EQ(counter.push(400, 59), 0);
    EXPECT_EQ(counter.push(400, 84), 1);
}

// The tests after the first hit do not run, so those widgets keep their
// pressed state; a miss runs all three and releases them.
TEST(CPMButton, PressedStatesAfterPress)
{
    CPMButton counter;
    counter.move(375, 50, 0, 0);

    counter.push(400, 70); // body: both children tested and missed
    EXPECT_EQ(counter.isPushed, 1);
    EXPECT_EQ(counter.minusButton->isPushed, 0);
    EXPECT_EQ(counter.plusButton->isPushed, 0);

    counter.push(425, 70); // "+": body not tested, still pressed
    EXPECT_EQ(counter.plusButton->isPushed, 1);
    EXPECT_EQ(counter.isPushed, 1);

    counter.push(380, 70); // "-": nothing else tested
    EXPECT_EQ(counter.minusButton->isPushed, 1);
    EXPECT_EQ(counter.plusButton->isPushed, 1);
    EXPECT_EQ(counter.isPushed, 1);

    counter.push(0, 0);
    EXPECT_EQ(counter.minusButton->isPushed, 0);
    EXPECT_EQ(counter.plusButton->isPushed, 0);
    EXPECT_EQ(counter.isPushed, 0);

    counter.push(380, 70);
    counter.push(400, 70);
    counter.free();
    EXPECT_EQ(counter.minusButton->isPushed, 0);
    EXPECT_EQ(counter.isPushed, 0);

    // An inactive body still lets the children take presses.
    counter.active(0);
    EXPECT_EQ(counter.push(400, 70), 0);
    EXPECT_EQ(counter.push(425, 70), 3);
}

TEST(CPMButton, ValueAndLabelText)
{
    CPMButton counter;
    counter.set(42);
    EXPECT_EQ(counter.get(), 42);
    EXPECT_STREQ(counter.captionText, "42");
    EXPECT_STREQ(counter.label, "");

    counter.caption("Murek:");
    EXPECT_STREQ(counter.label, "Murek:");
    EXPECT_STREQ(counter.captionText, "42");

    counter.caption("A label far longer than twenty-seven characters");
    EXPECT_STREQ(counter.label, "A label far longer than twe");

    // Any int forms its full text.
    counter.set(INT_MIN);
    EXPECT_STREQ(counter.captionText, "-2147483648");
    EXPECT_EQ(counter.captionLength, 11);
    counter.set(1000);
    EXPECT_STREQ(counter.captionText, "1000");
}

TEST(CPMButton, DrawsValueChildrenAndLabel)
{
    Canvas canvas(100, 60);
    canvas.fill(0x000000);
    CPMButton counter;
    counter.move(20, 10, 0, 0); // body at (20, 20)
    counter.set(42);
    counter.caption("\xDB");
    counter.render(canvas.surface);

    // Two characters start at (X + 22, Y + 8), in inverse grey on grey.
    EXPECT_TRUE(textInMiddle(canvas, counter, "42", 42, 28, inverseGrey));
    EXPECT_EQ(canvas.at(40, 21), grey);

    // Children framed over the body's ends.
    EXPECT_EQ(canvas.at(20, 20), inverseGrey);
    EXPECT_EQ(canvas.at(34, 30), inverseGrey);
    EXPECT_EQ(canvas.at(65, 30), inverseGrey);
    // Label in white at (x, y - 10).
    EXPECT_EQ(canvas.at(20, 10), white);
    EXPECT_EQ(canvas.at(27, 17), white);
    EXPECT_EQ(canvas.count(white), 64);
}

// Hiding the counter hides only the body.
TEST(CPMButton, HiddenKeepsLabelAndChildren)
{
    Canvas canvas(100, 60);
    canvas.fill(0x000000);
    CPMButton counter;
    counter.move(20, 10, 0, 0);
    counter.caption("\xDB");
    counter.visible(0);
    counter.render(canvas.surface);
    EXPECT_EQ(canvas.count(white), 64);
    EXPECT_EQ(canvas.at(20, 20), inverseGrey); // "-" border
    EXPECT_EQ(canvas.at(50, 30), 0x000000u);   // no body
}

TEST(CPMButton, PictureModeAndBack)
{
    Sheet sheet;
    Canvas canvas(100, 60);
    CPMButton counter;
    counter.move(20, 10, 0, 0);
    counter.set(8);

    canvas.fill(0x000000);
    counter.image(sheet.surface, 48, 0, 16, 16);
    counter.render(canvas.surface);
    // The picture at (X + 22, Y + 4), no value text, no border.
    EXPECT_EQ(canvas.at(42, 24), 0x400000u);
    EXPECT_EQ(canvas.at(57, 39), 0x400000u);
    EXPECT_EQ(canvas.at(41, 24), grey);
    EXPECT_EQ(canvas.at(40, 44), grey);
    EXPECT_EQ(canvas.count(0x400000), 256);
    EXPECT_TRUE(textInMiddle(canvas, counter, "", 0, 0, inverseGrey));

    // A negative source brings the value text back, still without a border.
    canvas.fill(0x000000);
    counter.moveImage(-16, 0, 16, 16);
    counter.render(canvas.surface);
    EXPECT_EQ(canvas.count(0x400000), 0);
    EXPECT_EQ(canvas.at(40, 44), grey);
    EXPECT_TRUE(textInMiddle(canvas, counter, "8", 46, 28, inverseGrey));
}
