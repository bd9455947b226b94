// Level checks: robots, screws and codes without meaning, with slot and cell.
#include "core/levelcheck.h"
#include "core/messages.h"

#include "core/tilesconfig.h"

#include <gtest/gtest.h>

namespace {

const int screw = 16;

// Robot code 4 and screw code 16 are known; so are the eraser 0 and wall 1.
LevelRules rules()
{
    return levelRules(parseTilesConfig("murek:1\ngumka:0\nsruba:16\n0,0:0,0\n1,0:4,1\n2,0:16,2\n", "tiles.cfg"));
}

LevelData level(int srubki = 0)
{
    LevelData data;
    data.on = true;
    data.srubki = srubki;
    data.cells[2][3] = kRobotCode;
    data.cells[5][5] = data.cells[6][5] = screw;
    data.cells[0][0] = 1;
    return data;
}

TEST(LevelCheck, GoodLevelsGiveNothing)
{
    LevelData levels[kLevelSlots];
    levels[0] = level(2);
    levels[7] = level(0);
    EXPECT_TRUE(checkLevels(levels, rules()).empty());
}

// Each mistake is found in its slot, pointing at the cell to look at; only
// levels that are on count.
TEST(LevelCheck, FindsEachMistakeWithItsSlotAndCell)
{
    LevelData levels[kLevelSlots];
    levels[1] = level(3);             // asks for 3 screws, holds 2
    levels[2] = level();
    levels[2].cells[2][3] = 0;        // no robot
    levels[3] = level();
    levels[3].cells[9][1] = kRobotCode;
    levels[3].cells[4][20] = kRobotCode;
    levels[4] = level();
    levels[4].cells[8][2] = levels[4].cells[3][9] = levels[4].cells[1][9] = 0xC8;
    levels[5].cells[0][0] = 0xC8;     // off: not checked

    const std::vector<LevelFinding> found = checkLevels(levels, rules());
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].kind, FindingKind::screwsShort);
    EXPECT_EQ(found[0].slot, 1);
    EXPECT_EQ(describe(found[0], Language::polish), "Mapa 2: srubek do zebrania 3, na mapie 2");
    EXPECT_EQ(found[1].kind, FindingKind::noRobot);
    EXPECT_EQ(describe(found[1], Language::polish), "Mapa 3: brak robota");
    // Row by row: (9, 1) comes first, then (2, 3), the second robot.
    EXPECT_EQ(found[2].kind, FindingKind::manyRobots);
    EXPECT_EQ(found[2].count, 3);
    EXPECT_EQ(describe(found[2], Language::polish), "Mapa 4: 3 roboty (drugi: kolumna 3, wiersz 4)");
    EXPECT_EQ(found[3].kind, FindingKind::unknownCode);
    EXPECT_EQ(describe(found[3], Language::polish), "Mapa 5: nieznany kod C8 x3 (kolumna 9, wiersz 3)");
    // The command line says the same in English.
    EXPECT_EQ(describe(found[2], Language::english), "level 4: 3 robots (the second: column 3, row 4)");

    // Without a tile set every code is known and screws are not counted.
    EXPECT_EQ(checkLevel(levels[4], 4, LevelRules()).size(), 0u);
    EXPECT_EQ(checkLevel(levels[1], 1, LevelRules()).size(), 0u);
}

} // namespace

// What the window and the command line say of a level the solver could not
// settle and of the moves it found: a wait is "czekaj" in the window.
TEST(LevelCheck, TheSolversWordsInBothLanguages)
{
    LevelFinding unsettled{FindingKind::unsettled, 2};
    unsettled.count = 2000000;
    EXPECT_EQ(describe(unsettled, Language::polish), "Mapa 3: nie rozstrzygnieto (2 000 000 stanow)");
    EXPECT_EQ(describe(unsettled, Language::english), "level 3: not settled (2,000,000 states)");
    EXPECT_EQ(findingBadge(unsettled), "?");

    SolveResult found;
    found.verdict = SolveResult::solvable;
    found.moves = {GameRules::Move::up, GameRules::Move::wait, GameRules::Move::fireLeft};
    EXPECT_EQ(solutionFound(0, found, Language::polish),
              "Mapa 1: rozwiazanie w 3 ruchach (bez dowodu, ze najkrotsze); Escape wraca do edycji: G czekaj strzal-L");
    EXPECT_EQ(solutionFound(0, found, Language::english),
              "Level 1: a solution in 3 moves (not proven shortest); Escape returns to editing: U wait fire-L");
}
