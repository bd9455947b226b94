// What the colour picker and the counters set on a level, without a window:
// the counters wrap, their bodies reset or count, and only a change makes an
// empty slot a level.
#include "editor/levelsettings.h"
#include "widgets/CPMButton.h"

#include <gtest/gtest.h>

TEST(LevelSettings, CountersWrapAndOnlyAChangeMakesALevel)
{
    const Target wallMinus{Target::WallCounter, CPMButton::minusHit}, wallBody{Target::WallCounter, CPMButton::bodyHit};
    const Target screwsPlus{Target::ScrewCounter, CPMButton::plusHit};
    const Target screwsBody{Target::ScrewCounter, CPMButton::bodyHit}, picker{Target::ColourPicker, 0};
    map level;
    level.srubkaSet(9);

    // Nothing changed: the picker gave no colour, the wall is already the
    // first pattern, and a slot is no counter.
    setOnLevel(level, picker, 2, -1, true);
    setOnLevel(level, wallBody, 2, -1, true);
    setOnLevel(level, {Target::LevelSlot, 0}, 2, 0x36, true);
    EXPECT_FALSE(level.isOn());

    setOnLevel(level, wallMinus, 2, -1, true);
    EXPECT_EQ(level.wzorekGet(), 7);  // below the first: the last
    EXPECT_TRUE(level.isOn());

    level.srubkiSet(99);
    setOnLevel(level, screwsPlus, 2, -1, true);
    EXPECT_EQ(level.srubkiGet(), 0);  // above 99: none
    level.add(1, 1, 9);
    level.add(2, 1, 9);
    setOnLevel(level, screwsBody, 2, -1, true);
    EXPECT_EQ(level.srubkiGet(), 2);
    setOnLevel(level, screwsBody, 2, -1, false);  // no tile is the screw
    EXPECT_EQ(level.srubkiGet(), 0);

    setOnLevel(level, picker, 2, 0x36, true);
    EXPECT_EQ(level.colorGet(2), 0x36);
}
