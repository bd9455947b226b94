// Playing a level on the canvas by the game's own rules: the keys drive the
// robot one cell per push, the canvas and the status line show the game,
// and Escape returns to editing with the level as it was and no undo step.
// A found solution plays itself to the exit; a level that cannot be
// finished is a finding of the checks before a test. Play may begin from a
// chosen cell, and moves are taken back.
#include "editor_fixture.h"

#include "core/game.h"
#include "core/levelcheck.h"
#include "editor/playcontrol.h"

#include <algorithm>
#include <string>
#include <vector>
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

// Rows from the top, every cell not given wall. R robot, . floor, * screw,
// E exit, # wall, A ammunition, B a beetle walking left and right.
LevelData levelOfRows(const std::vector<std::string>& rows, int screws)
{
    LevelData level = emptyLevel(0);
    level.on = true;
    level.srubki = screws;
    for (int column = 0; column < kLevelColumns; ++column)
        for (int r = 0; r < kLevelRows; ++r)
            level.cells[column][r] = 1;
    int r = 0;
    for (const std::string& row : rows) {
        for (size_t column = 0; column < row.size(); ++column) {
            const char c = row[column];
            level.cells[column][r] = c == 'R' ? 4 : c == '.' ? 0 : c == '*' ? 16 : c == 'E' ? 3 : c == 'A' ? 0x11
                                     : c == 'B' ? 0x50 : 1;
        }
        ++r;
    }
    return level;
}

// Row 0 holds `row`, every other cell is wall.
LevelData levelWith(const char* row, int screws)
{
    return levelOfRows({row}, screws);
}

class PlaytestTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        build(gameCodesConfig);
        editor->testChecks.statesPerLevel = SolveLimits::beforeTestStates;
    }
    void key(SDLKey sym, int mod = KMOD_NONE) { editor->keyDown(keysym(sym, 0, mod)); }
    void letGo(SDLKey sym) { editor->keyUp(keysym(sym)); }
    // Time passes in game frames; the editor's loop wakes every 20 ms.
    void play(int milliseconds)
    {
        for (int t = 0; t < milliseconds; t += 20) {
            now += 20;
            editor->tick();
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
    ASSERT_TRUE(editor->play.playing());
    EXPECT_EQ(editor->statusText(), "Srubki 1  Zycia 3  Amunicja 0\nKlucze 0 0 0  Ruchy 0");

    // A tap is one step, however long the game takes to come to it.
    key(SDLK_RIGHT);
    letGo(SDLK_RIGHT);
    play(400);
    EXPECT_EQ(editor->play.playtest()->counters().robot.column, 1);
    // Held longer than a tap (a third of a second), the robot walks a cell
    // a step and stops when let go.
    key(SDLK_KP6);
    play(4 * 160);
    letGo(SDLK_KP6);
    play(400);
    const int column = editor->play.playtest()->counters().robot.column;
    EXPECT_GE(column, 4);
    EXPECT_LE(column, 5);
    EXPECT_EQ(editor->statusText().substr(0, 8), "Srubki 0");
    editor->paint();
    EXPECT_EQ(cellPixel(column, 0), robot);
    EXPECT_EQ(cellPixel(0, 0), floor);

    // A click stops playing and draws nothing; so does Escape.
    click(layout::canvasCellRect(8, 8).centre().x, layout::canvasCellRect(8, 8).centre().y);
    EXPECT_FALSE(editor->play.playing());
    key(SDLK_F5);
    key(SDLK_LEFT);
    play(400);
    key(SDLK_ESCAPE);
    EXPECT_FALSE(editor->play.playing());
    EXPECT_TRUE(sameLevel(editor->session.level(0), corridor));
    EXPECT_EQ(editor->session.stepsRecorded(), steps);
    editor->paint();
    EXPECT_EQ(cellPixel(0, 0), robot);
    EXPECT_EQ(cellPixel(column, 0), floor);

    // Shift+F5 finds the way, with the window live meanwhile, and walks it
    // to the exit.
    key(SDLK_F5, KMOD_SHIFT);
    ASSERT_TRUE(editor->play.search());
    while (!editor->play.search()->done())
        std::this_thread::yield();
    play(20);
    ASSERT_TRUE(editor->play.playing());
    EXPECT_EQ(editor->play.playtest()->replayLength(), 6u);
    play(7 * 160);
    EXPECT_FALSE(editor->play.playing());
    EXPECT_EQ(editor->notices.shown().back().text, "Robot doszedl do wyjscia: mapa ukonczona");
    EXPECT_TRUE(sameLevel(editor->session.level(0), corridor));

    // Escape gives a search up.
    key(SDLK_F5, KMOD_SHIFT);
    key(SDLK_ESCAPE);
    EXPECT_FALSE(editor->play.search());
    EXPECT_FALSE(editor->play.playing());
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
    EXPECT_FALSE(editor->play.playing());
    EXPECT_TRUE(editor->notices.shown().back().error);
}

// A level the solver could not settle within the checks' budget, in states,
// is a finding of its own before a test, beside one it settles: the window
// never passes a level in silence when nothing is known of it.
TEST_F(PlaytestTest, AnUnsettledLevelIsAFindingBeforeTesting)
{
    editor->session.setLevel(0, levelWith("R..*..E", 1));
    // An open room of screws, its exit walled in: far more states than
    // the budget.
    const std::string open = "..............#E";
    editor->session.setLevel(1, levelOfRows({"R.*...*...*...#E", open, open, open, open, open, open}, 3));
    editor->session.endStep();
    editor->testChecks.statesPerLevel = 300;
    platform.answerQuestion(1);  // "Anuluj"
    editor->runCommand(frame::Command::TestGame);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, "Mapa 2: nie rozstrzygnieto (300 stanow)\nTestowac mimo to?");
    EXPECT_TRUE(platform.openRequests.empty());
    ASSERT_EQ(editor->notices.shown().size(), 1u);
    EXPECT_EQ(editor->notices.shown()[0].text, "Mapa 2: nie rozstrzygnieto (300 stanow)");
    EXPECT_EQ(editor->notices.shown()[0].slot, 1);

    // Tested anyway, the test goes on.
    platform.answerQuestion(0);
    editor->runCommand(frame::Command::TestGame);
    EXPECT_EQ(platform.openRequests.size(), 1u);

    // What the set view proved in the background is not asked about again.
    const LevelData unsettled = editor->session.level(1);
    verdictSolver = [](const LevelData&, const std::atomic<bool>&) { return LevelVerdict{LevelVerdict::solvable, 40}; };
    build(gameCodesConfig);
    editor->testChecks.statesPerLevel = 300;
    editor->session.setLevel(0, unsettled);
    editor->session.endStep();
    key(SDLK_F3);
    editor->tick();
    now += SetView::idleDelay;
    editor->tick();
    for (int i = 0; i < 10000 && editor->setView->solving(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(editor->setView->verdict(0).kind, LevelVerdict::solvable);
    key(SDLK_F3);
    editor->runCommand(frame::Command::TestGame);
    EXPECT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(platform.openRequests.size(), 2u);
}

// Shift+F5: while it searches, the status line counts the states; the
// moves found are listed in the message area and the log as they play, a
// step the rules turn into standing still as "czekaj"; a long list is cut
// short in the message area and kept whole in the log.
TEST_F(PlaytestTest, TheFoundSolutionIsListedAsItPlays)
{
    // The beetle must pass before the robot can go down.
    editor->session.setLevel(0, levelOfRows({"##R##", ".B...", "##.##", "##E##"}, 0));
    editor->session.endStep();
    key(SDLK_F5, KMOD_SHIFT);
    ASSERT_TRUE(editor->play.search());
    EXPECT_EQ(editor->statusText().substr(0, 26), "Szukam rozwiazania mapy 1\n");
    while (!editor->play.search()->done())
        std::this_thread::yield();
    const std::string counted = "\n" + std::to_string(editor->play.search()->result().states) + " stan";
    EXPECT_NE(editor->statusText().find(counted), std::string::npos) << editor->statusText();
    play(20);
    ASSERT_TRUE(editor->play.playing());
    const std::string listed = "Mapa 1: rozwiazanie w 5 ruchach; Escape wraca do edycji: czekaj czekaj D D D";
    EXPECT_EQ(editor->notices.shown().back().text, listed);
    EXPECT_EQ(editor->notices.log().back().text, listed);
    play(6 * 160);
    EXPECT_EQ(editor->notices.shown().back().text, "Robot doszedl do wyjscia: mapa ukonczona");

    // A winding corridor: more moves than the message area holds.
    std::vector<std::string> rows;
    for (int r = 0; r < 9; ++r)
        rows.push_back(r % 2 == 0 ? "................" : r % 4 == 1 ? "###############." : ".###############");
    rows[0][0] = 'R';
    rows[8][15] = 'E';
    editor->session.setLevel(0, levelOfRows(rows, 0));
    key(SDLK_F5, KMOD_SHIFT);
    while (!editor->play.search()->done())
        std::this_thread::yield();
    play(20);
    ASSERT_TRUE(editor->play.playing());
    const size_t moves = editor->play.playtest()->replayLength();
    EXPECT_EQ(moves, 5 * 15 + 4 * 2u);
    bool whole = true;
    const std::vector<Notices::TextLine> lines = editor->notices.messageLines(whole);
    EXPECT_FALSE(whole);
    EXPECT_EQ(lines.size(), size_t(layout::messageLineCount));
    std::string area;
    for (const Notices::TextLine& line : lines)
        area += line.text + "|";
    EXPECT_EQ(area.substr(0, 62), "Mapa 1: rozwiazanie w 83|ruchach; Escape wraca do edycji:|P P ") << area;
    EXPECT_EQ(area.substr(area.size() - 5), " ...|") << area;
    const std::string& logged = editor->notices.log().back().text;
    const std::string list = logged.substr(logged.find(": P P ") + 2);
    EXPECT_EQ(size_t(std::count(list.begin(), list.end(), ' ')) + 1, moves) << logged;
    key(SDLK_ESCAPE);
}

// The game's keys: Ctrl is the trigger and fires only with a direction,
// towards it, instead of walking; space pauses as START does; R starts the
// level again as OPTION does, once a press however long it is held (the
// keyboard's repeats are no new presses) and without taking a life. A death
// is said; "Graj" stands up again however play ends.
TEST_F(PlaytestTest, TheGamesKeys)
{
    editor->session.setLevel(0, levelWith("RA...", 0));
    editor->session.endStep();
    key(SDLK_F5);
    ASSERT_TRUE(editor->play.playing());
    editor->paint();
    EXPECT_TRUE(editor->playButton->isPushed);
    auto robotColumn = [&] { return editor->play.playtest()->counters().robot.column; };
    auto tap = [&](SDLKey sym, int held) {
        key(sym);
        play(held);
        letGo(sym);
        play(400);
    };

    tap(SDLK_RIGHT, 40);  // onto the ammunition: five shots
    ASSERT_EQ(robotColumn(), 1);
    EXPECT_EQ(editor->play.playtest()->counters().shots, 5);
    tap(SDLK_LCTRL, 100);  // the trigger alone: nothing
    EXPECT_EQ(robotColumn(), 1);
    EXPECT_EQ(editor->play.playtest()->counters().shots, 5);
    key(SDLK_LCTRL);  // with a direction: a shot to the right, no step
    tap(SDLK_RIGHT, 40);
    letGo(SDLK_LCTRL);
    EXPECT_EQ(robotColumn(), 1);
    EXPECT_EQ(editor->play.playtest()->counters().shots, 4);

    tap(SDLK_SPACE, 40);  // pause: nothing moves
    EXPECT_NE(editor->statusText().find("PAUZA"), std::string::npos);
    tap(SDLK_RIGHT, 40);
    EXPECT_EQ(robotColumn(), 1);
    tap(SDLK_SPACE, 40);
    tap(SDLK_RIGHT, 40);
    EXPECT_EQ(robotColumn(), 2);

    // A 30 ms press of R and a 150 ms one: one restart each, no life lost.
    for (int held : {30, 150}) {
        tap(SDLK_r, held);
        EXPECT_EQ(robotColumn(), 0) << held;
        EXPECT_EQ(editor->play.playtest()->counters().lives, 3) << held;
        EXPECT_TRUE(editor->play.playing()) << held;
        tap(SDLK_RIGHT, 40);
    }
    // Held with the keyboard repeating it: the robot walks off while R is
    // still down, and stays where it walked.
    key(SDLK_r);
    play(100);
    tap(SDLK_RIGHT, 40);
    for (int repeat = 0; repeat < 10; ++repeat) {
        key(SDLK_r);
        play(50);
    }
    letGo(SDLK_r);
    play(200);
    EXPECT_EQ(robotColumn(), 1);
    EXPECT_EQ(editor->play.playtest()->counters().lives, 3);

    key(SDLK_ESCAPE);
    EXPECT_FALSE(editor->play.active());
    EXPECT_FALSE(editor->playButton->isPushed);

    // A beetle walks into the robot (once a push has begun the level, as
    // in the game): said, with the lives left; the third death ends the
    // game, and "Graj" stands up with it.
    editor->session.setLevel(0, levelWith("R.B", 0));
    const layout::Point graj = layout::playButton.centre();
    click(graj.x, graj.y);
    ASSERT_TRUE(editor->play.playing());
    EXPECT_TRUE(editor->playButton->isPushed);
    auto pushOn = [&] {
        key(SDLK_RIGHT);
        play(40);
        letGo(SDLK_RIGHT);
        play(160);
    };
    for (int t = 0; t < 5000 && editor->play.playtest()->counters().lives == 3; t += 200)
        pushOn();
    EXPECT_EQ(editor->notices.shown().back().text, "Robot zginal - zostalo zyc: 2");
    for (int t = 0; t < 10000 && editor->play.playing(); t += 200)
        pushOn();
    EXPECT_EQ(editor->notices.shown().back().text, "Koniec gry: robot stracil wszystkie zycia");
    EXPECT_FALSE(editor->playButton->isPushed);
    editor->paint();
    const Uint32 grey = rgb(screen, 200, 200, 200);
    EXPECT_EQ(pixel(screen, layout::playButton.x + 3, layout::playButton.y + 3), grey);
}

// Alt+click (or F6) on a cell plays from there, the level itself left as it
// was; Backspace takes moves back one by one, screws, the open exit and a
// life lost with them, and the status line counts the moves.
TEST_F(PlaytestTest, PlayFromAChosenCellAndTakeMovesBack)
{
    const LevelData corridor = levelWith("R..*..E", 1);
    editor->session.setLevel(0, corridor);
    editor->session.endStep();
    const uint64_t steps = editor->session.stepsRecorded();
    auto altClick = [&](int column, int row) {
        const layout::Point p = layout::canvasCellRect(column, row).centre();
        SDL_SetModState(KMOD_LALT);
        click(p.x, p.y);
        SDL_SetModState(KMOD_NONE);
    };
    auto robotColumn = [&] { return editor->play.playtest()->counters().robot.column; };
    auto tap = [&](SDLKey sym) {
        key(sym);
        play(40);
        letGo(sym);
        play(300);
    };
    auto moves = [&] {
        const std::string status = editor->statusText();
        return status.substr(status.find("Ruchy"));
    };

    altClick(1, 1);  // a wall: the robot cannot begin there
    EXPECT_FALSE(editor->play.active());
    EXPECT_TRUE(editor->notices.shown().back().error);

    altClick(4, 0);
    ASSERT_TRUE(editor->play.playing());
    EXPECT_EQ(editor->notices.shown().back().text,
              "Mapa 1 od kolumny 5, wiersza 1: Backspace cofa ruch, Escape wraca do edycji");
    EXPECT_EQ(robotColumn(), 4);
    EXPECT_EQ(moves(), "Ruchy 0");
    play(400);  // the rest of the click, and time, start nothing
    EXPECT_TRUE(editor->play.playing());

    tap(SDLK_LEFT);  // onto the screw: the exit opens
    tap(SDLK_RIGHT);
    tap(SDLK_RIGHT);
    EXPECT_EQ(robotColumn(), 5);
    EXPECT_TRUE(editor->play.playtest()->counters().exitOpen);
    EXPECT_EQ(moves(), "Ruchy 3");

    key(SDLK_BACKSPACE);
    EXPECT_EQ(robotColumn(), 4);
    EXPECT_EQ(moves(), "Ruchy 2");
    key(SDLK_BACKSPACE);
    key(SDLK_BACKSPACE);
    EXPECT_EQ(robotColumn(), 4);
    EXPECT_EQ(moves(), "Ruchy 0");
    EXPECT_EQ(editor->play.playtest()->cell({3, 0}), 16);  // the screw is back
    EXPECT_FALSE(editor->play.playtest()->counters().exitOpen);
    play(1000);  // and the game waits for the next push
    EXPECT_EQ(robotColumn(), 4);
    key(SDLK_BACKSPACE);
    EXPECT_EQ(editor->notices.shown().back().text, "Nie ma ruchu do cofniecia");
    tap(SDLK_RIGHT);
    EXPECT_EQ(robotColumn(), 5);
    EXPECT_EQ(moves(), "Ruchy 1");

    key(SDLK_ESCAPE);
    EXPECT_TRUE(sameLevel(editor->session.level(0), corridor));
    EXPECT_EQ(editor->session.stepsRecorded(), steps);

    // F6 plays from the cell under the pointer. Walking into the beetle
    // costs a life; taking that move back gives it back.
    editor->session.setLevel(0, levelWith("R.B", 0));
    editor->session.endStep();
    const layout::Point second = layout::canvasCellRect(1, 0).centre();
    editor->mouse(second.x, second.y, 0);
    key(SDLK_F6);
    ASSERT_TRUE(editor->play.playing());
    EXPECT_EQ(robotColumn(), 1);
    key(SDLK_RIGHT);  // let go within the frame: held on, it would walk in again
    letGo(SDLK_RIGHT);
    play(300);
    EXPECT_EQ(editor->play.playtest()->counters().lives, 2);
    EXPECT_EQ(moves(), "Ruchy 0");  // the level began again
    key(SDLK_BACKSPACE);
    EXPECT_EQ(editor->play.playtest()->counters().lives, 3);
    EXPECT_EQ(robotColumn(), 1);
    EXPECT_EQ(moves(), "Ruchy 0");
    key(SDLK_ESCAPE);
}

// The exit opens on the canvas when the last screw is in, lit up as the
// game shows it: the background its frame encloses takes the brightest
// marker's colour (register 2); the frame and the background outside it
// stay.
TEST_F(PlaytestTest, TheOpenExitShowsOnTheCanvas)
{
    // The exit's picture (sheet column 3): a frame of marker 1 round a
    // background inside, on background.
    SDL_Surface* sheet = SDL_LoadBMP(dir.file("tiles.bmp").c_str());
    ASSERT_TRUE(sheet);
    fill(sheet, 16 * 3, 0, 16, 16, SDL_MapRGB(sheet->format, 0, 0, 0));
    fill(sheet, 16 * 3 + 2, 2, 12, 12, SDL_MapRGB(sheet->format, 156, 158, 156));
    fill(sheet, 16 * 3 + 4, 4, 8, 8, SDL_MapRGB(sheet->format, 0, 0, 0));
    SDL_SaveBMP(sheet, dir.file("tiles.bmp").c_str());
    SDL_FreeSurface(sheet);
    buildOnFiles();
    LevelData level = levelWith("R*E", 1);
    level.colours[1] = 0x24;
    level.colours[2] = 0x46;
    level.colours[4] = 0x00;
    editor->session.setLevel(0, level);
    editor->session.endStep();
    const layout::Rect exit = layout::canvasCellRect(2, 0);
    const Uint32 frameColour = rgb(screen, atariColour(0x24)), lit = rgb(screen, atariColour(0x46)),
                 background = rgb(screen, atariColour(0x00));

    key(SDLK_F5);
    editor->paint();
    EXPECT_EQ(pixel(screen, exit.x + 8, exit.y + 8), background);
    key(SDLK_RIGHT);
    letGo(SDLK_RIGHT);
    play(400);
    ASSERT_TRUE(editor->play.playtest()->counters().exitOpen);
    editor->paint();
    EXPECT_EQ(pixel(screen, exit.x + 8, exit.y + 8), lit);
    EXPECT_EQ(pixel(screen, exit.x + 2, exit.y + 2), frameColour);
    EXPECT_EQ(pixel(screen, exit.x, exit.y), background);
    editor->invalidate();
    editor->paint();
    EXPECT_EQ(pixel(screen, exit.x + 8, exit.y + 8), lit);
    key(SDLK_ESCAPE);
    editor->paint();
    EXPECT_EQ(pixel(screen, exit.x + 8, exit.y + 8), background);
}

// The playtest's control alone, on a session and a clock of the test's:
// nothing happens while the clock stands still; each death is said with
// the lives left, then the end of the game; a level without a robot does
// not start.
TEST(PlaytestControlPart, PlaysByItsClockAndSaysWhatHappens)
{
    Session session{0, embeddedGame(), embeddedGame()};
    session.setLevel(2, levelWith("R.B", 0));
    session.endStep();
    uint64_t now = 0;
    std::vector<std::string> said;
    PlaytestControl play(session, [&] { return now; },
                         [&](const std::string& text, bool error) { said.push_back((error ? "! " : "") + text); });
    play.start(0, false);
    EXPECT_FALSE(play.active());
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0], "! Mapa 1: brak robota, nie ma kim grac");

    play.start(2, false);
    ASSERT_TRUE(play.playing());
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(play.tick());
    EXPECT_EQ(play.playtest()->counters().lives, 3);
    // Each start waits for a push, as the game does.
    for (int t = 0; play.tick() && t < 60000; t += 20) {
        now += 20;
        play.key(Playtest::Key::right, t % 200 == 0);
    }
    EXPECT_FALSE(play.active());
    const std::vector<std::string> expected = {"Gra na planszy: Escape wraca do edycji", "Robot zginal - zostalo zyc: 2",
                                               "Robot zginal - zostalo zyc: 1",
                                               "Koniec gry: robot stracil wszystkie zycia"};
    EXPECT_EQ(std::vector<std::string>(said.begin() + 1, said.end()), expected);
    EXPECT_EQ(play.status(), "");
}

} // namespace
