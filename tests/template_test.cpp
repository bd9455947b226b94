// The embedded game image template.
#include "core/game.h"

#include <gtest/gtest.h>

// The header declares 1,040 sectors of 128 bytes; the file ends with an
// empty level list (two zero bytes).
TEST(GameTemplate, HeaderAndLength)
{
    ASSERT_EQ(gameSize, 11170u);
    EXPECT_EQ(game[0], 0x96);
    EXPECT_EQ(game[1], 0x02);
    EXPECT_EQ(game[2] | game[3] << 8, 0x2080);
    EXPECT_EQ(game[4] | game[5] << 8, 128);
    for (int i = 6; i < 16; ++i)
        EXPECT_EQ(game[i], 0) << "header byte " << i;
    EXPECT_EQ(game[11168], 0);
    EXPECT_EQ(game[11169], 0);
}
