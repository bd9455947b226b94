// Reading the tile palette configuration text.
#include "core/tilesconfig.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const keys = "murek:1\ngumka:2\nsruba:3\n";

TilesConfig parse(const std::string& text) { return parseTilesConfig(text, "tiles.cfg"); }

// The records as "column,row:code,image" lines, for compact comparisons.
std::string records(const TilesConfig& c)
{
    std::string out;
    for (const TileRecord& r : c.records)
        out += std::to_string(r.column) + "," + std::to_string(r.row) + ":" +
               std::to_string(r.code) + "," + std::to_string(r.image) + "\n";
    return out;
}

std::string keysOf(const TilesConfig& c)
{
    return std::to_string(c.murek) + " " + std::to_string(c.gumka) + " " + std::to_string(c.sruba);
}

bool startsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

TEST(TilesConfig, WellFormedFile)
{
    const TilesConfig c = parse("murek:4\ngumka:0\nsruba:17\n"
                                "0,0:0,0\n"
                                "3,0:7,12\n"
                                "\n"
                                "2,3:17,40\n"
                                "4,25:255,127\n");
    EXPECT_EQ(keysOf(c), "4 0 17");
    EXPECT_EQ(records(c), "0,0:0,0\n3,0:7,12\n2,3:17,40\n4,25:255,127\n");
    ASSERT_EQ(c.records.size(), 4u);
    EXPECT_EQ(c.records[0].line, 4);
    EXPECT_EQ(c.records[2].line, 7) << "blank lines are counted";
    EXPECT_TRUE(c.warnings.empty());

    const TilesConfig keysOnly = parse(keys);
    EXPECT_EQ(keysOf(keysOnly), "1 2 3");
    EXPECT_TRUE(keysOnly.records.empty());
    EXPECT_TRUE(keysOnly.warnings.empty());

    // Two records for one place are both kept, in order: the later wins.
    const TilesConfig twice = parse(std::string(keys) + "1,1:5,5\n1,1:6,6\n");
    EXPECT_EQ(records(twice), "1,1:5,5\n1,1:6,6\n");
}

// Line ends may be CR LF; any white space may come before a number and
// after a line, but none before a key word, "," or ":".
TEST(TilesConfig, WhiteSpace)
{
    const TilesConfig crlf = parse("murek:1\r\ngumka:2\r\nsruba:3\r\n0,0:5,6\r\n1,0:7,8\r\n");
    EXPECT_EQ(keysOf(crlf), "1 2 3");
    EXPECT_EQ(records(crlf), "0,0:5,6\n1,0:7,8\n");
    EXPECT_TRUE(crlf.warnings.empty());

    const TilesConfig spaced = parse("murek: 1\n\n\ngumka:\t2  \nsruba:\n3\n  0, 1: 2, 3\n1,1:\n4,5\n");
    EXPECT_EQ(keysOf(spaced), "1 2 3");
    EXPECT_EQ(records(spaced), "0,1:2,3\n1,1:4,5\n");

    const TilesConfig beforeComma = parse(std::string(keys) + "0,0:5,6\n1 ,0:7,8\n2,0:9,9\n");
    EXPECT_EQ(records(beforeComma), "0,0:5,6\n");
    ASSERT_EQ(beforeComma.warnings.size(), 1u);
    EXPECT_EQ(beforeComma.warnings[0], "tiles.cfg:5: unreadable record; it and the rest of the file are ignored");

    const TilesConfig beforeColon = parse(std::string(keys) + "0,0 :5,6\n1,0:7,8\n");
    EXPECT_TRUE(beforeColon.records.empty());
}

// The wall line must begin at the very first character of the file.
TEST(TilesConfig, NothingBeforeTheFirstKey)
{
    for (const std::string lead : {"\n", " ", "\xEF\xBB\xBF\n"}) {
        const TilesConfig c = parse(lead + keys + "0,0:1,2\n");
        EXPECT_EQ(keysOf(c), "-1 -1 -1") << "lead " << lead.size();
        EXPECT_TRUE(c.records.empty());
        ASSERT_FALSE(c.warnings.empty());
        EXPECT_TRUE(startsWith(c.warnings[0], "tiles.cfg:1: ")) << c.warnings[0];
    }
}

// A key word that breaks off leaves the reading stuck there: later keys and
// all records fail. A key line left out only loses its own key.
TEST(TilesConfig, BrokenOrMissingKeys)
{
    const TilesConfig misspelt = parse("murek:1\ngumak:2\nsruba:3\n0,0:1,2\n");
    EXPECT_EQ(keysOf(misspelt), "1 -1 -1");
    EXPECT_TRUE(misspelt.records.empty());
    ASSERT_GE(misspelt.warnings.size(), 2u);
    EXPECT_TRUE(startsWith(misspelt.warnings[0], "tiles.cfg:2: ")) << misspelt.warnings[0];

    const TilesConfig spaceBeforeColon = parse("murek :1\ngumka:2\nsruba:3\n0,0:1,2\n");
    EXPECT_EQ(keysOf(spaceBeforeColon), "-1 -1 -1");
    EXPECT_TRUE(spaceBeforeColon.records.empty());

    const TilesConfig leftOut = parse("murek:1\nsruba:3\n0,0:1,2\n");
    EXPECT_EQ(keysOf(leftOut), "1 -1 3");
    EXPECT_EQ(records(leftOut), "0,0:1,2\n");
    ASSERT_EQ(leftOut.warnings.size(), 1u);
    EXPECT_TRUE(startsWith(leftOut.warnings[0], "tiles.cfg:2: ")) << leftOut.warnings[0];

    // No number: the next key word is where the number was looked for.
    EXPECT_EQ(keysOf(parse("murek:\ngumka:2\nsruba:3\n")), "-1 2 3");

    // A lone sign is taken and the number fails after it, before the line end.
    EXPECT_EQ(keysOf(parse("murek:-\ngumka:2\nsruba:3\n")), "-1 -1 -1");
    EXPECT_EQ(keysOf(parse("murek:-gumka:2\nsruba:3\n")), "-1 2 3");

    const TilesConfig empty = parse("");
    EXPECT_EQ(keysOf(empty), "-1 -1 -1");
    EXPECT_TRUE(empty.records.empty());
}

// A key naming no tile code is dropped with a warning; reading goes on.
TEST(TilesConfig, KeyCodesOutOfRange)
{
    const TilesConfig c = parse("murek:256\ngumka:-1\nsruba:+255\n0,0:1,2\n");
    EXPECT_EQ(keysOf(c), "-1 -1 255");
    EXPECT_EQ(records(c), "0,0:1,2\n");
    ASSERT_EQ(c.warnings.size(), 2u);
    EXPECT_EQ(c.warnings[0], "tiles.cfg:1: \"murek:\" code 256 is outside 0..255; ignored");
    EXPECT_TRUE(startsWith(c.warnings[1], "tiles.cfg:2: ")) << c.warnings[1];

    // Far beyond int: simply out of range, not wrapped into a valid code.
    EXPECT_EQ(keysOf(parse("murek:4294967297\ngumka:99999999999999999999999\nsruba:3\n")),
              "-1 -1 3");
}

// Three numbers make a record without a picture; the list ends at a record
// that breaks off earlier or holds -1 as its column, row or code.
TEST(TilesConfig, WhereTheRecordsEnd)
{
    const TilesConfig three = parse(std::string(keys) + "1,0:200\n0,0:5,-1\n2,0:9,3");
    EXPECT_EQ(records(three), "1,0:200,-1\n0,0:5,-1\n2,0:9,3\n");
    EXPECT_TRUE(three.warnings.empty());

    EXPECT_EQ(records(parse(std::string(keys) + "0,0:5,6\n-1,0:7,8\n1,0:2,3\n")), "0,0:5,6\n");
    EXPECT_EQ(records(parse(std::string(keys) + "0,0:5,6\n1,-1:7,8\n1,0:2,3\n")), "0,0:5,6\n");
    EXPECT_EQ(records(parse(std::string(keys) + "0,0:5,6\n1,0:-1,8\n1,0:2,3\n")), "0,0:5,6\n");
    EXPECT_EQ(records(parse(std::string(keys) + "0,0:5,6\n1,0\n1,0:2,3\n")), "0,0:5,6\n");
    EXPECT_EQ(records(parse(std::string(keys) + "0,0:x,6\n")), "");
    EXPECT_EQ(records(parse(std::string(keys) + "0,0:-,6\n1,0:2,3\n")), "");

    // A -1 at the very end stops quietly; one with text after it warns.
    EXPECT_TRUE(parse(std::string(keys) + "0,0:5,6\n-1,-1:-1,-1\n").warnings.empty());
    const TilesConfig after = parse(std::string(keys) + "-1,0:0,0\n0,0:5,6\n");
    ASSERT_EQ(after.warnings.size(), 1u);
    EXPECT_TRUE(startsWith(after.warnings[0], "tiles.cfg:4: ")) << after.warnings[0];

    // The picture number skips line ends like any number, so a trailing
    // comma swallows the next line's column.
    const TilesConfig comma = parse(std::string(keys) + "0,0:1,\n2,0:3,4\n");
    EXPECT_EQ(records(comma), "0,0:1,2\n");
    EXPECT_EQ(comma.warnings.size(), 1u);
}

// Records outside the palette, the codes or the sheet are skipped with a
// warning naming the line, and reading goes on with the next one.
TEST(TilesConfig, RecordsOutOfRange)
{
    const TilesConfig c = parse(std::string(keys) +
                                "5,0:1,1\n"                    // 4
                                "0,26:1,1\n"                   // 5
                                "0,0:256,1\n"                  // 6
                                "0,0:1,128\n"                  // 7
                                "0,0:1,-2\n"                   // 8
                                "-3,0:1,1\n"                   // 9
                                "0,0:4294967295,1\n"           // 10
                                "0,-99999999999999999999:1,1\n" // 11
                                "4,25:9,9\n");
    EXPECT_EQ(records(c), "4,25:9,9\n");
    EXPECT_EQ(c.records[0].line, 12);
    ASSERT_EQ(c.warnings.size(), 8u);
    EXPECT_EQ(c.warnings[0], "tiles.cfg:4: record ignored: column 5 is outside 0..4");
    EXPECT_EQ(c.warnings[1], "tiles.cfg:5: record ignored: row 26 is outside 0..25");
    EXPECT_EQ(c.warnings[2], "tiles.cfg:6: record ignored: code 256 is outside 0..255");
    EXPECT_EQ(c.warnings[3], "tiles.cfg:7: record ignored: image 128 is outside -1..127");
    EXPECT_EQ(c.warnings[4], "tiles.cfg:8: record ignored: image -2 is outside -1..127");
    EXPECT_EQ(c.warnings[5], "tiles.cfg:9: record ignored: column -3 is outside 0..4");
    EXPECT_EQ(c.warnings[6], "tiles.cfg:10: record ignored: code 4294967295 is outside 0..255");
    EXPECT_EQ(c.warnings[7], "tiles.cfg:11: record ignored: row -99999999999999999999 is outside 0..25");
}

// Warnings name the source they were given.
TEST(TilesConfig, WarningsNameTheSource)
{
    const TilesConfig c = parseTilesConfig(std::string(keys) + "9,0:1,1\n", "/data/mine.cfg");
    ASSERT_EQ(c.warnings.size(), 1u);
    EXPECT_TRUE(startsWith(c.warnings[0], "/data/mine.cfg:4: ")) << c.warnings[0];
}
