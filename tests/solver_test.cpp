// The solver, on the game's own rules: the shortest solution of levels
// counted by hand, a level that cannot be finished, one that needs a box
// pushed into a pit, one that needs waiting for a beetle, and a search
// that gives up at its limit.
#include "core/solver.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

// Rows from the top; every cell not given is wall. One character a cell:
// . floor  # wall  R robot  * screw  E exit  _ pit  b box  V beetle (up and down)
LevelData levelOf(std::initializer_list<const char*> rows, int screws = 0)
{
    LevelData level = emptyLevel(0x01);
    level.on = true;
    level.srubki = screws;
    int row = 0;
    for (const char* text : rows) {
        for (int column = 0; text[column]; ++column) {
            uint8_t code = 0x01;
            switch (text[column]) {
            case '.': code = 0x00; break;
            case 'R': code = 0x04; break;
            case '*': code = 0x10; break;
            case 'E': code = 0x03; break;
            case '_': code = 0x05; break;
            case 'b': code = 0x30; break;
            case 'V': code = 0x51; break;
            }
            level.cells[column][row] = code;
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

// The moves found, played again step by step, end the level.
bool replayEnds(const LevelData& level, const SolveResult& result)
{
    GameRules rules;
    if (!rules.start(level))
        return false;
    for (GameRules::Move move : result.moves)
        if (rules.step(move).exited())
            return true;
    return false;
}

TEST(Solver, ShortestSolutionsAndVerdicts)
{
    // Six steps right, the screw on the way opening the exit.
    const LevelData corridor = levelOf({"R..*..E"}, 1);
    SolveResult result = solveLevel(corridor);
    ASSERT_EQ(result.verdict, SolveResult::solvable);
    EXPECT_EQ(movesOf(result), "R R R R R R");

    // Two screws asked and one on the level: the exit never opens.
    result = solveLevel(levelOf({"R.....E", "###.###", "###*###"}, 2));
    EXPECT_EQ(result.verdict, SolveResult::unsolvable);
    EXPECT_GT(result.states, 1u);

    // Only the box pushed into the pit makes a way.
    const LevelData pit = levelOf({"Rb_.E"});
    result = solveLevel(pit);
    ASSERT_EQ(result.verdict, SolveResult::solvable);
    EXPECT_EQ(movesOf(result), "R R R R");
    EXPECT_TRUE(replayEnds(pit, result));

    // A beetle walks up and down across the way: the robot must cross its
    // column when it is elsewhere, and the solution holds when played again.
    const LevelData beetle = levelOf({"###V###", "R.....E", "###.###", "###.###"});
    result = solveLevel(beetle);
    ASSERT_EQ(result.verdict, SolveResult::solvable) << movesOf(result);
    EXPECT_GE(result.moves.size(), 6u);
    EXPECT_TRUE(replayEnds(beetle, result)) << movesOf(result);

    EXPECT_EQ(solveLevel(levelOf({"..E"})).verdict, SolveResult::noRobot);

    // An open room has more states than the limit allows.
    LevelData room = levelOf({"R...............", "................", "................", "...............E"});
    room.cells[15][3] = 0x01;  // the exit walled in
    SolveLimits limits;
    limits.maxStates = 20;
    result = solveLevel(room, limits);
    EXPECT_EQ(result.verdict, SolveResult::unknown);
    EXPECT_GE(result.states, 20u);
}

} // namespace
