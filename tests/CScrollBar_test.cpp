// The scroll bar: line arithmetic of presses and settings, and its thumb.
#include "widgets/CScrollBar.h"

#include "tests/widget_canvas.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
// A vertical bar at (0, 0), 20 x 100, of 10 lines of 10 pixels.
struct VerticalBar : ::testing::Test {
    CScrollBar bar{1};
    void SetUp() override
    {
        bar.move(0, 0, 20, 100);
        bar.setScrollLines(10);
    }
};
}

// Size and line count may come in either order.
TEST(CScrollBar, SizeAfterLineCount)
{
    CScrollBar bar(1);
    bar.setScrollLines(4);
    bar.move(0, 0, 20, 100);
    EXPECT_EQ(bar.thumbSize, 25.0f);
    EXPECT_EQ(bar.thumbPos, 0);
}

TEST_F(VerticalBar, PressPicksLine)
{
    EXPECT_EQ(bar.thumbSize, 10.0f);
    EXPECT_EQ(bar.push(5, 35), 4);
    EXPECT_EQ(bar.thumbPos, 30);
    EXPECT_EQ(bar.isPushed, 1);
    EXPECT_EQ(bar.push(5, 0), 1);
    EXPECT_EQ(bar.thumbPos, 0);
    EXPECT_EQ(bar.push(5, 99), 10);
    EXPECT_EQ(bar.thumbPos, 90);
    EXPECT_EQ(bar.push(20, 50), 6); // right edge column is inside

    // Bottom row is outside: the line stays.
    EXPECT_EQ(bar.push(5, 100), 0);
    EXPECT_EQ(bar.isPushed, 0);
    EXPECT_EQ(bar.line, 6);

    bar.active(0);
    EXPECT_EQ(bar.push(5, 35), 4);
}

TEST_F(VerticalBar, SetLineAndLineCount)
{
    bar.setLine(0);
    EXPECT_EQ(bar.line, 1);
    bar.setLine(-3);
    EXPECT_EQ(bar.line, 1);
    bar.setLine(50); // no upper limit
    EXPECT_EQ(bar.line, 50);
    EXPECT_EQ(bar.thumbPos, 490);

    bar.setLine(1);
    bar.setScrollLines(0);
    EXPECT_EQ(bar.lineCount, 1.0f);
    EXPECT_EQ(bar.thumbSize, 100.0f);

    // A line far past the end saturates instead of overflowing.
    bar.setLine(INT_MAX);
    EXPECT_EQ(bar.thumbPos, INT_MAX);
}

// A line length that is not a whole number of pixels.
TEST_F(VerticalBar, ThreeLinesOfFractionalLength)
{
    bar.setScrollLines(3);
    EXPECT_EQ(bar.thumbSize, 33.333332f);
    EXPECT_EQ(bar.push(5, 33), 1);
    EXPECT_EQ(bar.push(5, 34), 2);
    EXPECT_EQ(bar.thumbPos, 33);
    EXPECT_EQ(bar.push(5, 99), 3);
    EXPECT_EQ(bar.thumbPos, 66);
}

TEST(CScrollBar, HorizontalRightEdgeIsOnePastLastLine)
{
    CScrollBar bar(0);
    bar.move(0, 0, 100, 20);
    bar.setScrollLines(10);
    EXPECT_EQ(bar.push(0, 5), 1);
    EXPECT_EQ(bar.push(35, 19), 4);
    EXPECT_EQ(bar.push(100, 5), 11);
    EXPECT_EQ(bar.thumbPos, 100);
    EXPECT_EQ(bar.push(50, 20), 0);

    // A zero-length bar is hit only at its start.
    bar.move(0, 0, 0, 20);
    EXPECT_EQ(bar.push(0, 5), 1);
    EXPECT_EQ(bar.thumbPos, 0);
}

TEST_F(VerticalBar, DrawsBarAndThumb)
{
    const std::uint32_t grey = 0xC8C8C8, shade = 0x969696, inverse = 0x373737;
    Canvas canvas(30, 110);
    canvas.fill(0x000000);
    bar.caption("\xDB");
    bar.push(5, 35);
    bar.free();
    bar.render(canvas.surface);

    EXPECT_EQ(canvas.at(0, 0), inverse);
    EXPECT_EQ(canvas.at(19, 99), inverse);
    EXPECT_EQ(canvas.at(20, 50), 0x000000u);
    EXPECT_EQ(canvas.at(5, 100), 0x000000u);
    // Released thumb from (1, 31) to (18, 38).
    EXPECT_EQ(canvas.at(1, 31), inverse);
    EXPECT_EQ(canvas.at(18, 38), inverse);
    EXPECT_EQ(canvas.at(2, 32), shade);
    EXPECT_EQ(canvas.at(17, 37), shade);
    EXPECT_EQ(canvas.at(5, 30), grey);
    EXPECT_EQ(canvas.at(5, 39), grey);
    // No caption, even with one set.
    EXPECT_EQ(canvas.at(7, 47), grey);

    bar.push(5, 35);
    bar.render(canvas.surface);
    EXPECT_EQ(canvas.at(1, 31), grey);
    EXPECT_EQ(canvas.at(5, 34), inverse);
}

// The shade subtracts 50 from each channel in 8 bits, wrapping below 0.
TEST(CScrollBar, HorizontalThumbShadeWraps)
{
    Canvas canvas(110, 30);
    canvas.fill(0x000000);
    CScrollBar bar(0);
    bar.move(0, 0, 100, 20);
    bar.setScrollLines(10);
    bar.setLine(3);
    bar.color(30, 100, 255, 255);
    bar.render(canvas.surface);
    EXPECT_EQ(canvas.at(21, 1), 0xE19B00u);  // frame in the inverse
    EXPECT_EQ(canvas.at(28, 18), 0xE19B00u);
    EXPECT_EQ(canvas.at(22, 2), 0xEC32CDu);  // fill in the shade
    EXPECT_EQ(canvas.at(29, 5), 0x1E64FFu);  // bar colour past the thumb
}
