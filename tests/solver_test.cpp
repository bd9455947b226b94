// The solver, on the game's own rules: puzzles worked out by hand, each
// with its verdict and the length of its shortest solution; the same
// answer whatever the time cap; a maze of the size designers draw, proven;
// a room too big to prove, still solved; a rules image that goes astray.
#include "core/solver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

namespace {

// Rows from the top; every cell not given is wall. One character a cell:
//   . floor  # wall  % rubble  E exit  R robot  _ pit  * screw  a ammo
//   + battery  x y z keys 1-3  X Y Z doors 1-3  b box  q bomb
//   ^ > v < lasers  n e s w magnets (up right down left)  T U teleports 1-2
//   8 6 2 4 one-way up right down left  H V beetles (across, up and down)
//   @ eye  $ spark
LevelData levelOf(std::initializer_list<const char*> rows, int screws = 0)
{
    static const char legend[] = ".#%ER_*a+xyzXYZbq^>v<nesw" "TU8624HV@$";
    static const uint8_t codes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x10, 0x11, 0x12, 0x20, 0x21, 0x22,
                                    0x28, 0x29, 0x2A, 0x30, 0x31, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46,
                                    0x47, 0x48, 0x49, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53};
    LevelData level = emptyLevel(0x01);
    level.on = true;
    level.srubki = screws;
    int row = 0;
    for (const char* text : rows) {
        for (int column = 0; text[column]; ++column) {
            const char* at = std::strchr(legend, text[column]);
            EXPECT_TRUE(at) << "no cell '" << text[column] << "'";
            level.cells[column][row] = at ? codes[at - legend] : 0x01;
        }
        ++row;
    }
    return level;
}

std::string movesOf(const SolveResult& result)
{
    std::string text;
    for (GameRules::Move move : result.moves)
        text += std::string(text.empty() ? "" : " ") + moveName(move);
    return text;
}

// The moves found, played again step by step on the embedded engine, end
// the level, and not before the last one.
bool replayEnds(const LevelData& level, const SolveResult& result)
{
    GameRules rules;
    if (!rules.start(level))
        return false;
    for (size_t i = 0; i < result.moves.size(); ++i) {
        const GameRules::Events events = rules.step(result.moves[i]);
        if (events.exited())
            return i + 1 == result.moves.size();
        if (events.died() || events.failed)
            return false;
    }
    return false;
}

struct Puzzle {
    const char* name;
    std::initializer_list<const char*> rows;
    int screws;
    SolveResult::Verdict verdict;
    int moves;   // the shortest solution's length, counted by hand
    int states;  // for a level that cannot be finished: every state it reaches
};

// Each counted by hand from the rules as the tile set tells them.
const Puzzle kPuzzles[] = {
    // The box fills the pit, then three steps to the exit.
    {"box into a pit", {"Rb_.E"}, 0, SolveResult::solvable, 4, 0},
    // Key 2 two cells back (2), key 1 down a side way (5), then past both
    // doors to the exit (7).
    {"keys and doors", {"y.R.X.Y.E", "###.#####", "###x#####"}, 0, SolveResult::solvable, 14, 0},
    // Two steps into the teleport, two from the other one; the way round
    // below takes thirteen.
    {"teleport shortcut", {"R.T######T.E", "............"}, 0, SolveResult::solvable, 4, 0},
    // The beetle walks into the cell below the robot at once, then away:
    // two waits, then three steps down.
    {"beetle to time", {"##R##", ".H...", "##.##", "##E##"}, 0, SolveResult::solvable, 5, 0},
    // The bomb pushed up into the beam goes off and clears the rubble.
    {"bomb set off by a laser", {"#>...#", "##.q%E", "##.R##"}, 0, SolveResult::solvable, 3, 0},
    // The magnet pulls the box out of the way in the first tick.
    {"magnet", {"R.b.E", "##.##", "##n##"}, 0, SolveResult::solvable, 4, 0},
    // The one-way cell lets the robot in only going left: round below.
    {"one-way cells", {"R4.E", "...."}, 0, SolveResult::solvable, 5, 0},
    // The box in the corner can never move, so the pit stays: three cells
    // to stand on.
    {"box stuck in a corner", {"b..#", "#R_E"}, 0, SolveResult::unsolvable, 0, 3},
    // The ammunition first (the eye sees the robot then and comes one cell
    // nearer), a shot, seven steps to the exit.
    {"eye shot down", {"E....@.aR"}, 0, SolveResult::solvable, 9, 0},
    // The box pushed into the beam shields the way up: one push, nine steps.
    {"laser blocked by a box", {"####E", ">....", "#b##.", "#R##.", "#...."}, 0, SolveResult::solvable, 10, 0},
    // Two boxes in a row cannot be pushed: two cells to stand on.
    {"two boxes in a row", {"R.bb.E"}, 0, SolveResult::unsolvable, 0, 2},
    // The exit opens only with the screw below it.
    {"screw before the exit", {"R...E", "....*"}, 1, SolveResult::solvable, 6, 0},
};

TEST(Solver, HandSolvedPuzzles)
{
    for (const Puzzle& puzzle : kPuzzles) {
        SCOPED_TRACE(puzzle.name);
        const LevelData level = levelOf(puzzle.rows, puzzle.screws);
        const SolveResult result = solveLevel(level);
        ASSERT_EQ(result.verdict, puzzle.verdict) << movesOf(result);
        if (puzzle.verdict == SolveResult::solvable) {
            EXPECT_TRUE(result.shortest);
            EXPECT_EQ(int(result.moves.size()), puzzle.moves) << movesOf(result);
            EXPECT_TRUE(replayEnds(level, result)) << movesOf(result);
        } else {
            EXPECT_EQ(int(result.states), puzzle.states);
        }
        EXPECT_EQ(result.limit, SolveResult::Limit::none);
    }

    // A step the rules turn into standing still is a wait, and so named.
    const SolveResult beetle = solveLevel(levelOf({"##R##", ".H...", "##.##", "##E##"}));
    EXPECT_EQ(movesOf(beetle), "wait wait D D D");
    EXPECT_EQ(solveLevel(levelOf({"..E"})).verdict, SolveResult::noRobot);
}

// A maze as designers draw it, 16 x 31: corridors, four screws in dead
// ends, a key and its door, a beetle to get past.
const std::initializer_list<const char*> kMaze = {
    "R....#.........#", "####.#.#######.#", "...#.#.#.......#", ".#.#.#.#.#####.#", ".#...#*#.....#V#",
    ".#######.###.#.#", ".#.....#.#...#.#", ".###.#.###.###.#", "...............#", "####.#######.###",
    "*#.....#...#...#", ".#.###.#.#.#.#.#", "...#...#.#.#...#", ".###.###.#.#.###", "...#.#...#.#.#.#",
    "##.#.#.###.#.#.#", "*..#.#.#.#...#.#", "####.#.#.#####.#", ".....#...#.....#", ".###.###.#.#.#.#",
    ".......#.#*#.#.#", ".#.#####.###.#.#", ".#.....#.#...#.#", "######.#.#.###.#", ".....#.#.#.#.#.#",
    ".###.#.#.#.#.#.#", ".#.....#...#...#", ".###########.###", ".....#.......#x#", ".###X#.###.###.#",
    "...#..........E#",
};

TEST(Solver, ProvesAMazeWithinTheDefaultLimit)
{
    const LevelData maze = levelOf(kMaze, 4);
    const SolveResult result = solveLevel(maze);
    ASSERT_EQ(result.verdict, SolveResult::solvable);
    EXPECT_TRUE(result.shortest);
    EXPECT_EQ(result.moves.size(), 209u);
    EXPECT_LT(result.states, SolveLimits::defaultStates);
    EXPECT_TRUE(replayEnds(maze, result));
}

// An open room with screws, boxes and beetles: far more states than a
// small limit. The proof gives up; the best-first search still finds a
// way, the same whatever the time cap; the count stays within the limit.
TEST(Solver, SolvesWhatItCannotProveTheSameOnAnyMachine)
{
    LevelData room = levelOf({"################", "#R.............#", "#..........*...#", "#....b.........#",
                              "#.*.....V......#", "#........b.....#", "#..............#", "#...H.....*....#",
                              "#.....b........#", "#..............#", "#.*.........b..#", "#..............#",
                              "#.........*...E#", "################"},
                             5);
    SolveLimits limits;
    limits.maxStates = 4000;
    const SolveResult found = solveLevel(room, limits);
    ASSERT_EQ(found.verdict, SolveResult::solvable) << movesOf(found);
    EXPECT_FALSE(found.shortest);
    EXPECT_EQ(found.limit, SolveResult::Limit::states);
    EXPECT_LE(found.states, limits.maxStates);
    EXPECT_TRUE(replayEnds(room, found)) << movesOf(found);

    limits.maxSeconds = 1000;
    const SolveResult capped = solveLevel(room, limits);
    EXPECT_EQ(capped.verdict, found.verdict);
    EXPECT_EQ(movesOf(capped), movesOf(found));
    EXPECT_EQ(capped.states, found.states);

    // The exit walled in: both searches spend the limit, to the state.
    room.cells[14][12] = 0x01;
    limits.maxStates = 5;
    const SolveResult unknown = solveLevel(room, limits);
    EXPECT_EQ(unknown.verdict, SolveResult::unknown);
    EXPECT_EQ(unknown.limit, SolveResult::Limit::states);
    EXPECT_EQ(unknown.states, 5u);

    // A stop asked for from another thread ends the search at once.
    std::atomic<bool> stop{true};
    std::atomic<uint64_t> progress{0};
    limits.maxStates = SolveLimits::defaultStates;
    limits.stop = &stop;
    limits.progress = &progress;
    const SolveResult stopped = solveLevel(room, limits);
    EXPECT_EQ(stopped.verdict, SolveResult::unknown);
    EXPECT_EQ(stopped.limit, SolveResult::Limit::stopped);
    EXPECT_EQ(progress.load(), stopped.states);
}

// Levels of a set side by side, their verdicts in the set's order.
TEST(Solver, SolvesLevelsInParallelInTheirOrder)
{
    const std::vector<LevelData> levels = {levelOf({"R..E"}), levelOf({"R.bb.E"}), levelOf({"..E"}),
                                           levelOf({"R.E"})};
    const std::vector<SolveResult> results = solveLevels(levels, SolveLimits());
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0].moves.size(), 3u);
    EXPECT_EQ(results[1].verdict, SolveResult::unsolvable);
    EXPECT_EQ(results[2].verdict, SolveResult::noRobot);
    EXPECT_EQ(results[3].moves.size(), 2u);
}

// Rules whose tick meets an opcode the processor does not know: the
// solver and the game's step report it; nothing asserts.
TEST(Solver, ReportsRulesThatGoAstray)
{
    std::vector<uint8_t> image(rulesImage, rulesImage + rulesImageSize);
    image[GameRules::tickInImage()] = 0x02;  // undocumented
    const uint16_t tick = GameRules::tickAddress();
    const LevelData level = levelOf({"R..E"});

    GameRules broken(image);
    ASSERT_TRUE(broken.start(level));
    const GameRules::Events events = broken.step(GameRules::Move::right);
    EXPECT_TRUE(events.failed);
    EXPECT_TRUE(broken.failed());
    EXPECT_EQ(broken.failedAt(), tick);

    const SolveResult result = solveLevel(broken, level);
    EXPECT_EQ(result.verdict, SolveResult::rulesFailed);
    EXPECT_EQ(result.failedAt, tick);

    // As the game plays, frame by frame, the stick held right: the first
    // step fails.
    ASSERT_TRUE(broken.start(level));
    EXPECT_FALSE(broken.failed());
    GameRules::Input right;
    right.stickDx = 1;
    bool failed = false;
    for (int frame = 0; frame < 3 * 8 && !failed; ++frame)
        failed = broken.frame(right).failed;
    EXPECT_TRUE(failed);
    EXPECT_TRUE(broken.failed());
    EXPECT_FALSE(broken.frame(right).any()) << "nothing runs after";
}

} // namespace
