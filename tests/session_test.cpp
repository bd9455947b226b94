// The session: every change goes through it, undo and redo walk whole
// steps, the modified mark follows the saved point, and files open and save
// through it without a window.
#include "core/fileio.h"
#include "core/game.h"
#include "core/messages.h"
#include "core/session.h"
#include "tests/portable.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = portable::makeTempDir("zelbun-session");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string file(const std::string& name) const { return (dir / name).string(); }
    std::string read(const std::string& path) const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path dir;
    Session session{3, embeddedGame(), embeddedGame()};
};

// A stroke, a page edit and a swap are one step each; a change that changes
// nothing is no step; undo and redo bring each state back, and the
// revision tells views that something changed.
TEST_F(SessionTest, StepsUndoRedoAndTheModifiedMark)
{
    EXPECT_FALSE(session.modified());
    EXPECT_EQ(session.level(5).cells[0][0], 3) << "empty levels hold the eraser code";

    uint64_t seen = session.revision();
    session.setCell(0, {1, 1}, 7);
    session.setCell(0, {2, 1}, 7);
    EXPECT_TRUE(session.level(0).on);
    EXPECT_TRUE(session.modified());
    EXPECT_NE(session.revision(), seen);
    session.endStep();

    seen = session.revision();
    session.setCell(0, {1, 1}, 7);  // already so
    EXPECT_EQ(session.revision(), seen);
    session.endStep();

    session.setPageCharacter(1, 2, 3, 'Q');
    session.endStep();
    session.swapLevels(0, 9);
    session.endStep();
    EXPECT_TRUE(session.level(9).on);
    EXPECT_FALSE(session.level(0).on);

    session.undo();
    EXPECT_TRUE(session.level(0).on);
    session.undo();
    EXPECT_EQ(session.page(1)[2][3], ' ');
    session.undo();
    EXPECT_FALSE(session.level(0).on);
    EXPECT_FALSE(session.canUndo());
    EXPECT_FALSE(session.modified());
    session.redo();
    session.redo();
    session.redo();
    EXPECT_TRUE(session.level(9).on);
    EXPECT_EQ(session.page(1)[2][3], 'Q');
    EXPECT_FALSE(session.canRedo());

    // A new set is one more step, with nothing to save; undo brings the work back.
    session.newSet();
    EXPECT_FALSE(session.modified());
    EXPECT_FALSE(session.level(9).on);
    session.undo();
    EXPECT_TRUE(session.level(9).on);
    EXPECT_TRUE(session.modified());
}

// Saving makes the file the document's and clears the mark; opening it
// again gives the same content. A file that is no game image changes
// nothing; one cut short opens what is whole and names the slot lost.
TEST_F(SessionTest, FilesOpenAndSaveThroughTheSession)
{
    session.setCell(3, {0, 0}, 4);
    session.editLevel(3).srubki = 12;
    session.setCell(7, {5, 5}, 4);
    session.setPageCharacter(0, 0, 0, 'Z');
    ASSERT_FALSE(session.save(file("set.atr")));
    EXPECT_EQ(session.path(), file("set.atr"));
    EXPECT_FALSE(session.modified());

    Session again(3, embeddedGame(), embeddedGame());
    Session::Opened opened = again.open(file("set.atr"));
    ASSERT_FALSE(opened.error);
    EXPECT_TRUE(opened.issues.empty());
    // Saved in slot order, so levels 3 and 7 open in slots 0 and 1.
    EXPECT_TRUE(sameLevel(again.level(0), session.level(3)));
    EXPECT_TRUE(sameLevel(again.level(1), session.level(7)));
    EXPECT_EQ(again.page(0)[0][0], 'Z');
    EXPECT_FALSE(again.modified());
    EXPECT_FALSE(again.canUndo());

    std::ofstream(file("notes.txt")) << "hello";
    const uint64_t before = again.revision();
    opened = again.open(file("notes.txt"));
    ASSERT_TRUE(opened.error);
    EXPECT_EQ(describe(opened.error, Language::english), file("notes.txt") + ": not an ATR disk image (no 96 02 signature)");
    EXPECT_EQ(again.revision(), before);
    EXPECT_EQ(again.path(), file("set.atr"));

    // Slot 7 is written first; cutting inside the second segment loses slot 3's level, shown as 1.
    const std::string whole = read(file("set.atr"));
    std::ofstream(file("cut.atr"), std::ios::binary) << whole.substr(0, kLevelListOffset + kSegmentSize + 40);
    opened = again.open(file("cut.atr"));
    ASSERT_FALSE(opened.error);
    EXPECT_EQ(describe(opened.issues, Language::polish),
              "plik urwany (" + std::to_string(kLevelListOffset + kSegmentSize + 40) +
                  " bajtow) w poziomie 1, ktory pominieto");
    EXPECT_FALSE(again.level(0).on);
    EXPECT_TRUE(again.level(1).on);

    const Error failed = session.save(file("missing/set.atr"));
#ifdef _WIN32
    EXPECT_EQ(failed.fault, Fault::windows);
#else
    EXPECT_EQ(failed.fault, Fault::system);
#endif
    EXPECT_EQ(session.path(), file("set.atr"));
}

// A kill between naming a save's temporary and putting it in place leaves
// it beside the set: opening the set removes it. A temporary whose save
// still runs (its writer holds it) stays.
TEST_F(SessionTest, OpeningRemovesTemporariesOfSavesThatDied)
{
    ASSERT_FALSE(session.save(file("set.atr")));
#ifdef _WIN32
    // Named after the writer's process: one that is no more, and this one.
    const std::string dead = ".zknfffffff0.AbCdEf", live = ".zkn" + [] {
        char id[16];
        std::snprintf(id, sizeof id, "%lx", static_cast<unsigned long>(GetCurrentProcessId()));
        return std::string(id);
    }() + ".GhIjKl";
    std::ofstream(file(live)) << "new content on its way";
#else
    const std::string dead = ".zknAbCdEf", live = ".zknGhIjKl";
    FileLock writer;  // as a running save holds its temporary
    ASSERT_TRUE(writer.take(file(live)));
#endif
    std::ofstream(file(dead)) << "new content, cut short";
    Session other(3, embeddedGame(), embeddedGame());
    ASSERT_FALSE(other.open(file("set.atr")).error);
    EXPECT_FALSE(fs::exists(file(dead)));
    EXPECT_TRUE(fs::exists(file(live)));
}

TEST(Messages, PolishCountsAndBothLanguages)
{
    EXPECT_EQ(polishCount(1, "poziom", "poziomy", "poziomow"), "1 poziom");
    EXPECT_EQ(polishCount(3, "poziom", "poziomy", "poziomow"), "3 poziomy");
    EXPECT_EQ(polishCount(12, "poziom", "poziomy", "poziomow"), "12 poziomow");
    EXPECT_EQ(polishCount(22, "poziom", "poziomy", "poziomow"), "22 poziomy");
    EXPECT_EQ(polishCount(25, "poziom", "poziomy", "poziomow"), "25 poziomow");

    Error error = Error::system("/home/jan/set.atr", ENOSPC, Step::replace);
    EXPECT_EQ(describe(error, Language::polish), "set.atr: brak miejsca na dysku (zastapienie pliku)");
    EXPECT_EQ(describe(error, Language::english), "/home/jan/set.atr: " + systemReason(ENOSPC, Language::english) +
                                                      " (replacing the file)");
}

} // namespace
