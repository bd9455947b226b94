// Editor codes against screen codes, and the packed BCD of screw counts.
#include "core/atari.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// Every pair the text pages rely on, written out by hand.
static std::vector<std::pair<int, int>> namedCodes()
{
    std::vector<std::pair<int, int>> codes = {
        {' ', 0},  {'!', 1},  {',', 12}, {'-', 13}, {'.', 14}, {'@', 15}, {':', 26},
        {'?', 31}, {1, 32},   {3, 59},   {5, 60},   {12, 61},  {14, 62},  {15, 63},
        {42, 64},  {18, 73},  {20, 74},  {6, 75},   {7, 76},   {17, 90},  {19, 123},
        {26, 124}};
    for (int digit = 0; digit <= 9; ++digit)
        codes.push_back({'0' + digit, 16 + digit});
    for (int letter = 0; letter < 26; ++letter)
        codes.push_back({'A' + letter, 33 + letter});
    return codes;
}

TEST(AtariCodes, EveryNamedCodeConvertsBothWays)
{
    for (auto [editor, screen] : namedCodes()) {
        EXPECT_EQ(ascii2atascii(editor), screen) << "editor code " << editor;
        EXPECT_EQ(atascii2ascii(screen), editor) << "screen code " << screen;
    }
}

TEST(AtariCodes, UnnamedCodesPassUnchanged)
{
    // Small letters are stored as themselves and read back as themselves.
    for (int code = 'a'; code <= 'z'; ++code) {
        EXPECT_EQ(ascii2atascii(code), code);
        EXPECT_EQ(atascii2ascii(code), code);
    }
    for (int code : {-1, 127, 128, 255, 256, 1000}) {
        EXPECT_EQ(ascii2atascii(code), code);
        EXPECT_EQ(atascii2ascii(code), code);
    }
    // A screen code no row names reads unchanged: 65 is "A", which saves as 33.
    EXPECT_EQ(atascii2ascii(65), 'A');
    EXPECT_EQ(ascii2atascii(atascii2ascii(65)), 33);
}

TEST(AtariCodes, PackedBcd)
{
    EXPECT_EQ(dec2hex(0), 0x00);
    EXPECT_EQ(dec2hex(9), 0x09);
    EXPECT_EQ(dec2hex(10), 0x10);
    EXPECT_EQ(dec2hex(42), 0x42);
    EXPECT_EQ(dec2hex(99), 0x99);
    EXPECT_EQ(hex2dec(0x99), 99);
    EXPECT_EQ(hex2dec(0x0A), 10);
    EXPECT_EQ(hex2dec(0xFF), 165);
    // Up to 159 the tens still fit in the high nibble.
    for (int n = 0; n <= 159; ++n)
        EXPECT_EQ(hex2dec(dec2hex(n)), n) << n;
    EXPECT_EQ(dec2hex(160), 0x00);
}
