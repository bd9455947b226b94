// The widget base: press protocol, switches, caption storage and lettering.
#include "widgets/CGui.h"

#include "tests/widget_canvas.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Full-block glyphs light every pixel of their 8 x 8 cell, so the text's
// bounding box is exact.
const char* blocks(int n)
{
    static const std::string full(27, '\xDB');
    return full.c_str() + full.size() - n;
}
}

TEST(CGui, NewWidgetIsHiddenActiveAndNeverHit)
{
    CGui gui;
    EXPECT_EQ(gui.isVisible, 0);
    EXPECT_EQ(gui.isActive, 1);
    // Zero height: no row passes the vertical test.
    EXPECT_EQ(gui.push(0, 0), 0);
    EXPECT_EQ(gui.isPushed, 0);

    Canvas canvas(20, 20);
    canvas.fill(0x123456);
    gui.move(0, 0, 10, 10);
    gui.color(255, 255, 255, 255);
    gui.caption(blocks(1));
    gui.render(canvas.surface);
    EXPECT_EQ(canvas.count(0x123456), 20 * 20);
}

// The level canvas geometry: right edge column in, bottom edge row out.
TEST(CGui, HitTestEdges)
{
    CGui gui;
    gui.move(5, 50, 256, 496);
    EXPECT_EQ(gui.push(5, 50), 1);
    EXPECT_EQ(gui.push(261, 50), 1);
    EXPECT_EQ(gui.isPushed, 1);
    EXPECT_EQ(gui.push(261, 545), 1);
    EXPECT_EQ(gui.push(262, 50), 0);
    EXPECT_EQ(gui.isPushed, 0);
    EXPECT_EQ(gui.push(5, 546), 0);
    EXPECT_EQ(gui.push(4, 100), 0);
    EXPECT_EQ(gui.push(100, 49), 0);
}

TEST(CGui, InactiveMissesAndReleasesHiddenStillHits)
{
    CGui gui;
    gui.move(0, 0, 10, 10);
    gui.visible(0);
    EXPECT_EQ(gui.push(5, 5), 1);

    gui.active(0);
    EXPECT_EQ(gui.push(5, 5), 0);
    EXPECT_EQ(gui.isPushed, 0);
}

TEST(CGui, PressedStateAndSwitches)
{
    CGui gui;
    gui.move(0, 0, 10, 10);
    gui.pushed(5);
    EXPECT_EQ(gui.isPushed, 5);
    gui.free();
    EXPECT_EQ(gui.isPushed, 0);
    gui.pushed(5);
    gui.push(50, 50);
    EXPECT_EQ(gui.isPushed, 0);

    gui.visible(7);
    EXPECT_EQ(gui.isVisible, 1);
    gui.active(-1);
    EXPECT_EQ(gui.isActive, 1);
    gui.visible(0);
    EXPECT_EQ(gui.isVisible, 0);
}

TEST(CGui, CaptionIsCutAt27Characters)
{
    CGui gui;
    gui.caption("0123456789012345678901234567890123456789");
    EXPECT_EQ(gui.captionLength, 27);
    EXPECT_STREQ(gui.captionText, "012345678901234567890123456");

    gui.caption("Srubki do zebrania:");
    EXPECT_EQ(gui.captionLength, 19);
    EXPECT_STREQ(gui.captionText, "Srubki do zebrania:");

    gui.caption("");
    EXPECT_EQ(gui.captionLength, 0);
    EXPECT_STREQ(gui.captionText, "");
}

// Text is centred with truncating halves, in the inverse colour when
// released and in the colour when pressed, always opaque, and only the low
// 8 bits of each channel count.
TEST(CGui, CaptionPlacementAndColours)
{
    Canvas canvas(40, 30);
    canvas.fill(0x000000);
    CGui gui;
    gui.move(0, 0, 19, 20);
    gui.color(0x110, 0x220, -0xD0, 0);
    gui.caption(blocks(2));
    gui.renderCaption(canvas.surface);

    int left, top;
    canvas.firstOf(0xEFDFCF, left, top);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(top, 6);
    EXPECT_EQ(canvas.count(0xEFDFCF), 2 * 64);

    canvas.fill(0x000000);
    gui.pushed(1);
    gui.renderCaption(canvas.surface);
    EXPECT_EQ(canvas.count(0x102030), 2 * 64);
}

// The placeholder body is a diagonal whose red follows the pressed state.
TEST(CGui, DiagonalBody)
{
    Canvas canvas(20, 20);
    canvas.fill(0x000000);
    CGui gui;
    gui.visible(1);
    gui.move(2, 2, 10, 10);
    gui.color(0xFF, 0x40, 0x80, 255);
    gui.render(canvas.surface);
    EXPECT_EQ(canvas.at(2, 2), 0x004080u);
    EXPECT_EQ(canvas.at(12, 12), 0x004080u);
    EXPECT_EQ(canvas.at(12, 2), 0x000000u);

    gui.pushed(1);
    gui.render(canvas.surface);
    EXPECT_EQ(canvas.at(7, 7), 0xFF4080u);
}
