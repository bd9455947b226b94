// Whole levels moved, inserted, duplicated, deleted, pasted and imported
// through the session: each command one undo step that undo and redo walk,
// the set's 32 places a hard limit that refuses without changing anything,
// and the numbers saving gives the levels said, not left to surprise.
#include "core/game.h"
#include "core/messages.h"
#include "core/setcommands.h"
#include "editor/levelclipboard.h"
#include "tests/portable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const int eraser = 3;

// Level `name` ('A', 'B', ...) holds its letter in its first cell.
LevelData lettered(char name)
{
    LevelData level = emptyLevel(eraser);
    level.on = true;
    level.cells[0][0] = uint8_t(name);
    level.colours[2] = name;
    level.srubki = name % 10;
    level.wzorek = name % 8;
    return level;
}

class SetCommands : public ::testing::Test {
protected:
    // The places as letters, '.' for an empty one, up to the last level.
    std::string row() const
    {
        std::string letters;
        for (int slot = 0; slot < kLevelSlots; ++slot)
            letters += session.level(slot).on ? char(session.level(slot).cells[0][0]) : '.';
        return letters.substr(0, letters.find_last_not_of('.') + 1);
    }
    void fill(const std::string& letters)
    {
        for (size_t slot = 0; slot < letters.size(); ++slot)
            session.setLevel(int(slot), letters[slot] == '.' ? emptyLevel(eraser) : lettered(letters[slot]));
        session.endStep();
    }
    // Undo gives `before`, redo `after` again.
    void undoesAndRedoes(const std::string& before, const std::string& after)
    {
        session.undo();
        EXPECT_EQ(row(), before);
        session.redo();
        EXPECT_EQ(row(), after);
    }

    Session session{eraser, embeddedGame(), embeddedGame()};
};

TEST_F(SetCommands, MovingALevelShiftsTheOnesBetween)
{
    fill("ABCDEFG");
    SetChange change = moveLevels(session, {6}, 0);  // the seventh to the front
    EXPECT_EQ(row(), "GABCDEF");
    EXPECT_EQ(change.placed, std::vector<int>{0});
    EXPECT_EQ(change.movedTo[0], 1);
    EXPECT_EQ(change.movedTo[6], 0);
    EXPECT_EQ(change.movedTo[7], 7);
    undoesAndRedoes("ABCDEFG", "GABCDEF");
    // Back again, after the last: a move, not a swap.
    change = moveLevels(session, {0}, 7);
    EXPECT_EQ(row(), "ABCDEFG");
    EXPECT_EQ(change.placed, std::vector<int>{6});
    // Where it already is: no step at all.
    const uint64_t steps = session.stepsRecorded();
    EXPECT_FALSE(moveLevels(session, {2}, 3).changed);
    EXPECT_EQ(session.stepsRecorded(), steps);
}

TEST_F(SetCommands, SeveralLevelsMoveTogetherInTheirOrder)
{
    fill("ABCD.EF");
    const SetChange change = moveLevels(session, {5, 1, 3}, 7);  // B, D and E after the last
    EXPECT_EQ(row(), "AC.FBDE");
    EXPECT_EQ(change.placed, (std::vector<int>{4, 5, 6}));
    undoesAndRedoes("ABCD.EF", "AC.FBDE");
    moveLevels(session, {4, 5}, 0);
    EXPECT_EQ(row(), "BDAC.FE");
    EXPECT_EQ(session.stepsRecorded(), 3u);
}

// An empty place comes in front of the chosen level; the levels after it
// move on into the free places at the end. A set of 32 levels has none.
TEST_F(SetCommands, InsertingAnEmptyPlaceAndTheLimitOf32)
{
    fill("ABCD");
    SetChange change = insertEmptyLevel(session, 1);
    EXPECT_EQ(row(), "A.BCD");
    EXPECT_EQ(change.placed, std::vector<int>{1});
    undoesAndRedoes("ABCD", "A.BCD");
    insertEmptyLevel(session, 1);
    EXPECT_EQ(row(), "A..BCD") << "a second empty place, not a no-op";

    fill(std::string(32, 'X'));
    const uint64_t revision = session.revision(), steps = session.stepsRecorded();
    change = insertEmptyLevel(session, 5);
    EXPECT_FALSE(change.changed);
    EXPECT_EQ(change.wouldNotFit, 1);
    EXPECT_EQ(session.revision(), revision);
    EXPECT_EQ(session.stepsRecorded(), steps);
    EXPECT_EQ(setNews(SetNews::setFull, change.wouldNotFit, "", 0, Language::polish),
              "Zestaw ma 32 miejsca: nie zmiesci sie 1 mapa; nic nie zmieniono");
}

TEST_F(SetCommands, DuplicatesGoTogetherAfterTheLast)
{
    fill("AB.C");
    const SetChange change = duplicateLevels(session, {0, 3});
    EXPECT_EQ(row(), "AB.CAC");
    EXPECT_EQ(change.placed, (std::vector<int>{4, 5}));
    EXPECT_TRUE(sameLevel(session.level(4), session.level(0))) << "colours, counters and pattern come along";
    undoesAndRedoes("AB.C", "AB.CAC");
    // After B the empty place is taken, not pushed on.
    duplicateLevels(session, {1});
    EXPECT_EQ(row(), "ABBCAC");
}

TEST_F(SetCommands, DeletingMovesTheLaterLevelsUp)
{
    fill("ABCDE");
    const SetChange change = deleteLevels(session, {1, 3});
    EXPECT_EQ(row(), "ACE");
    EXPECT_EQ(change.placed, std::vector<int>{1});
    EXPECT_EQ(change.movedTo[1], -1);
    EXPECT_EQ(change.movedTo[4], 2);
    EXPECT_FALSE(session.level(31).on);
    undoesAndRedoes("ABCDE", "ACE");
}

// Cut takes the levels out, paste puts them in front of the chosen level
// or onto the chosen empty place; the clipboard carries them to another
// window through its file.
TEST_F(SetCommands, CutCopyAndPasteWithinAndBetweenSets)
{
    fill("ABC.DE");
    std::vector<LevelData> copied = levelsAt(session, {3, 1, 2});  // the empty place is no level
    ASSERT_EQ(copied.size(), 2u);
    deleteLevels(session, {1, 2, 3});
    EXPECT_EQ(row(), "ADE");
    insertLevels(session, 2, copied);
    EXPECT_EQ(row(), "ADBCE");
    undoesAndRedoes("ADE", "ADBCE");
    insertEmptyLevel(session, 1);
    const SetChange onto = insertLevels(session, 1, {lettered('Z')});
    EXPECT_EQ(row(), "AZDBCE") << "onto the empty place";
    EXPECT_EQ(onto.placed, std::vector<int>{1});

    const std::filesystem::path dir = portable::makeTempDir("zelbun-clipboard");
    const std::string file = (dir / "state" / "levels.clipboard").string();
    LevelClipboard here(file), there(file), alone;
    ASSERT_FALSE(here.put(levelsAt(session, {1, 3}), session.document().game));
    ASSERT_FALSE(alone.put(copied, session.document().game));
    Session other(eraser, embeddedGame(), embeddedGame());
    const std::vector<LevelData> pasted = there.levels(eraser);
    ASSERT_EQ(pasted.size(), 2u);
    insertLevels(other, 0, pasted);
    EXPECT_TRUE(sameLevel(other.level(0), session.level(1)));
    EXPECT_TRUE(sameLevel(other.level(1), session.level(3)));
    EXPECT_EQ(alone.levels(eraser).size(), 2u) << "without a file, this window's own";
    std::filesystem::remove_all(dir);
}

// Levels of another set come in with their colours, screws and wall
// pattern; the text pages stay.
TEST_F(SetCommands, ImportedLevelsKeepTheirColoursAndCounters)
{
    fill("ABC");
    session.setPageCharacter(0, 0, 0, 'Q');
    session.endStep();
    LevelData imported = lettered('Y');
    imported.colours[4] = 0x34;
    imported.srubki = 42;
    imported.wzorek = 6;

    insertLevels(session, 1, {imported, lettered('W')});
    EXPECT_EQ(row(), "AYWBC");
    EXPECT_EQ(session.level(1).colours[4], 0x34);
    EXPECT_EQ(session.level(1).srubki, 42);
    EXPECT_EQ(session.level(1).wzorek, 6);
    EXPECT_EQ(session.page(0)[0][0], 'Q');
    undoesAndRedoes("ABC", "AYWBC");

    // 27 more do not fit beside 6: refused, whatever empty places lie between.
    fill("AYWBC....D");
    const std::vector<LevelData> many(27, lettered('M'));
    const SetChange full = insertLevels(session, 2, many);
    EXPECT_EQ(full.wouldNotFit, 1);
    EXPECT_EQ(row(), "AYWBC....D");
    const std::vector<LevelData> fitting(26, lettered('M'));
    insertLevels(session, 2, fitting);
    EXPECT_EQ(row(), "AY" + std::string(26, 'M') + "WBCD") << "the empty places were given up";
}

// A save keeps the order, not the places; which levels get which numbers
// is said.
TEST(Renumbering, SavingSaysWhichLevelsGetWhichNumbers)
{
    LevelData levels[kLevelSlots];
    levels[0].on = true;
    for (int slot = 2; slot <= 6; ++slot)
        levels[slot].on = true;
    levels[9].on = true;
    EXPECT_EQ(playNumbers(levels)[6], 6);
    EXPECT_EQ(playNumbers(levels)[1], 0);
    EXPECT_EQ(renumberingNote(levels, Language::polish),
              "mapy 3-7 beda mapami 2-6, mapa 10 bedzie mapa 7 po otwarciu");
    EXPECT_EQ(renumberingNote(levels, Language::english),
              "levels 3-7 will be levels 2-6, level 10 will be level 7 when opened");
    levels[1].on = true;
    levels[7].on = levels[8].on = true;
    EXPECT_EQ(renumberingNote(levels, Language::polish), "");
}

} // namespace
