// Proving a level: a breadth-first search over the game's states, each
// step run by the game's own rules (core/gamerules.h) with every stick
// direction, every direction to fire and a step with the stick let go. The
// first state that reaches the open exit gives a shortest solution; when
// every reachable state has been seen without one, the level cannot be
// finished. A move that loses a life is never worth making: the level
// starts again. A move the rules turn into standing still (a push into a
// wall) is the same as waiting, and is written so.
//
// The work is counted in states, so a level gets the same verdict and the
// same moves on any machine; seconds are only an extra cap. When the
// breadth-first search spends its share of the states without a verdict, a
// best-first search (towards the screws still to collect, then the exit)
// looks for some solution with the rest; only when that fails too is the
// verdict unknown.
#pragma once

#include "core/gamerules.h"
#include "core/level.h"

#include <atomic>
#include <cstdint>
#include <vector>

struct SolveLimits {
    // The states a level may take: on the command line and for a solution
    // asked for in the window, and in the checks before a test.
    static constexpr uint64_t defaultStates = 2000000;
    static constexpr uint64_t beforeTestStates = 200000;
    // The most states both searches together look at.
    uint64_t maxStates = defaultStates;
    // An extra cap in seconds, 0 for none. A verdict it cuts short depends
    // on the machine's speed.
    double maxSeconds = 0;
    // Set by another thread to give up (the verdict is then unknown).
    const std::atomic<bool>* stop = nullptr;
    // When given, kept at the number of states seen so far, for another
    // thread to show.
    std::atomic<uint64_t>* progress = nullptr;
};

struct SolveResult {
    enum Verdict { solvable, unsolvable, unknown, noRobot, rulesFailed } verdict = unknown;
    // What ended the search for a shortest solution before it had one:
    // the states, the seconds, or a stop asked for.
    enum class Limit { none, states, seconds, stopped } limit = Limit::none;
    bool shortest = false;               // solvable: the moves are a shortest solution
    std::vector<GameRules::Move> moves;  // the solution, when solvable
    uint64_t states = 0;                 // distinct states seen, both searches together
    double seconds = 0;
    uint16_t failedAt = 0;               // rulesFailed: where the rules' processor stopped
};

SolveResult solveLevel(const LevelData& level, const SolveLimits& limits = SolveLimits());
// The same on rules of the caller's (a test's broken copy of the image).
SolveResult solveLevel(GameRules& rules, const LevelData& level, const SolveLimits& limits = SolveLimits());

// Each of `levels` with the same limits, `threads` of them at a time; the
// verdicts in the levels' order. A progress counter in the limits is left
// out: each level would count over the others.
std::vector<SolveResult> solveLevels(const std::vector<LevelData>& levels, const SolveLimits& limits,
                                     unsigned threads = 2);

// A move as a short token: "U", "R", "D", "L", "fire-U"..., "wait".
inline const char* moveName(GameRules::Move move)
{
    static const char* const names[GameRules::moveCount] = {"U",      "R",      "D",      "L",   "fire-U",
                                                            "fire-R", "fire-D", "fire-L", "wait"};
    return names[int(move)];
}
