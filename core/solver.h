// Proving a level: a breadth-first search over the game's states, each
// step run by the game's own rules (core/gamerules.h) with every stick
// direction, every direction to fire and a step with the stick let go. The
// first state that reaches the open exit gives a shortest solution; when
// every reachable state has been seen without one, the level cannot be
// finished; a limit on states or time gives up without a verdict. A move
// that loses a life is never worth making: the level starts again.
#pragma once

#include "core/gamerules.h"
#include "core/level.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct SolveLimits {
    uint64_t maxStates = 1000000;
    double maxSeconds = 5.0;
    // Set by another thread to give up (the verdict is then unknown).
    const std::atomic<bool>* stop = nullptr;
};

struct SolveResult {
    enum Verdict { solvable, unsolvable, unknown, noRobot } verdict = unknown;
    std::vector<GameRules::Move> moves;  // a shortest solution, when solvable
    uint64_t states = 0;                 // distinct states seen
    double seconds = 0;
};

SolveResult solveLevel(const LevelData& level, const SolveLimits& limits = SolveLimits());

// A move as a short token: "U", "R", "D", "L", "fire-U"..., "wait".
inline const char* moveName(GameRules::Move move)
{
    static const char* const names[GameRules::moveCount] = {"U",      "R",      "D",      "L",   "fire-U",
                                                            "fire-R", "fire-D", "fire-L", "wait"};
    return names[int(move)];
}
