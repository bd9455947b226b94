// Playing a level on the canvas by the game's own rules: the keys drive the
// robot one cell per push, the canvas and the status line show the game,
// and Escape returns to editing with the level as it was and no undo step.
// A found solution plays itself to the exit; a level that cannot be
// finished is a finding of the checks before a test.
#include "editor_fixture.h"

#include "core/levelcheck.h"

#include <thread>

using namespace fixture;

namespace {

// The game's own codes: wall, floor, robot, exit and screw, each with a
// picture of its own.
const char gameCodesConfig[] =
    "murek:1\n"
    "gumka:0\n"
    "sruba:16\n"
    "0,0:0,0\n"
    "1,0:4,2\n"
    "2,0:3,3\n"
    "3,0:16,4\n"
    "0,4:1,20\n";

// Row 0 holds `row`, every other cell is wall. R robot, . floor, * screw,
// E exit, # wall.
LevelData levelWith(const char* row, int screws)
{
    LevelData level = emptyLevel(0);
    level.on = true;
    level.srubki = screws;
    for (int column = 0; column < kLevelColumns; ++column)
        for (int r = 0; r < kLevelRows; ++r)
            level.cells[column][r] = 1;
    for (int column = 0; row[column]; ++column) {
        const char c = row[column];
        level.cells[column][0] = c == 'R' ? 4 : c == '.' ? 0 : c == '*' ? 16 : c == 'E' ? 3 : 1;
    }
    return level;
}

class PlaytestTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        build(gameCodesConfig);
        editor->solveSecondsBeforeTest = 2.0;
    }
    void key(SDLKey sym, int mod = KMOD_NONE) { editor->keyDown(keysym(sym, 0, mod)); }
    void letGo(SDLKey sym) { editor->keyUp(keysym(sym)); }
    // Time passes in game frames; the editor's loop wakes every 20 ms.
    void play(int milliseconds)
    {
        for (int t = 0; t < milliseconds; t += 20) {
            now += 20;
            editor->checkLaunches();
        }
    }
    Uint32 cellPixel(int column, int row)
    {
        const layout::Point p = layout::canvasCellRect(column, row).centre();
        return pixel(screen, p.x, p.y);
    }
};

TEST_F(PlaytestTest, KeysDriveTheRobotAndEscapeLeavesTheLevelAsItWas)
{
    const LevelData corridor = levelWith("R..*..E", 1);
    editor->session.setLevel(0, corridor);
    editor->session.endStep();
    const uint64_t steps = editor->session.stepsRecorded();
    editor->paint();
    const Uint32 robot = cellPixel(0, 0), floor = cellPixel(1, 0);
    ASSERT_NE(robot, floor);

    key(SDLK_F5);
    ASSERT_TRUE(editor->playing());
    EXPECT_EQ(editor->statusText(), "Srubki 1  Zycia 3  Amunicja 0\nKlucze 0 0 0");

    // A tap is one step, however long the game takes to come to it.
    key(SDLK_RIGHT);
    letGo(SDLK_RIGHT);
    play(400);
    EXPECT_EQ(editor->playtest->counters().robot.column, 1);
    // Held longer than a tap (a third of a second), the robot walks a cell
    // a step and stops when let go.
    key(SDLK_KP6);
    play(4 * 160);
    letGo(SDLK_KP6);
    play(400);
    const int column = editor->playtest->counters().robot.column;
    EXPECT_GE(column, 4);
    EXPECT_LE(column, 5);
    EXPECT_EQ(editor->statusText().substr(0, 8), "Srubki 0");
    editor->paint();
    EXPECT_EQ(cellPixel(column, 0), robot);
    EXPECT_EQ(cellPixel(0, 0), floor);

    // A click stops playing and draws nothing; so does Escape.
    click(layout::canvasCellRect(8, 8).centre().x, layout::canvasCellRect(8, 8).centre().y);
    EXPECT_FALSE(editor->playing());
    key(SDLK_F5);
    key(SDLK_LEFT);
    play(400);
    key(SDLK_ESCAPE);
    EXPECT_FALSE(editor->playing());
    EXPECT_TRUE(sameLevel(editor->session.level(0), corridor));
    EXPECT_EQ(editor->session.stepsRecorded(), steps);
    editor->paint();
    EXPECT_EQ(cellPixel(0, 0), robot);
    EXPECT_EQ(cellPixel(column, 0), floor);

    // Shift+F5 finds the way, with the window live meanwhile, and walks it
    // to the exit.
    key(SDLK_F5, KMOD_SHIFT);
    ASSERT_TRUE(editor->search);
    while (!editor->search->done())
        std::this_thread::yield();
    play(20);
    ASSERT_TRUE(editor->playing());
    EXPECT_EQ(editor->playtest->replayLength(), 6u);
    play(7 * 160);
    EXPECT_FALSE(editor->playing());
    EXPECT_EQ(editor->notices.back().text, "Robot doszedl do wyjscia: mapa ukonczona");
    EXPECT_TRUE(sameLevel(editor->session.level(0), corridor));

    // Escape gives a search up.
    key(SDLK_F5, KMOD_SHIFT);
    key(SDLK_ESCAPE);
    EXPECT_FALSE(editor->search);
    EXPECT_FALSE(editor->playing());
}

TEST_F(PlaytestTest, AnUnfinishableLevelIsMarkedBeforeTesting)
{
    editor->session.setLevel(0, levelWith("R.#.E", 0));
    editor->session.endStep();
    platform.answerQuestion(1);  // "Anuluj"
    editor->runCommand(frame::Command::TestLevel);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].text.find("Mapa 1: nie do przejscia"), std::string::npos)
        << platform.questions[0].text;
    EXPECT_TRUE(platform.openRequests.empty());

    // Nobody to play: said so, and nothing starts.
    editor->session.setLevel(0, levelWith("..E", 0));
    key(SDLK_F5);
    EXPECT_FALSE(editor->playing());
    EXPECT_TRUE(editor->notices.back().error);
}

} // namespace
