// The solver's speed: states expanded a second on open floor with a few
// boxes, and with things that move by themselves. Each expansion runs a
// game step of the engine on the 6502 core for every move.
#include "core/solver.h"

#include <benchmark/benchmark.h>

namespace {

// Open floor, the robot in a corner, the exit walled in so the search runs
// to its limit; `boxes` boxes and `beetles` beetles spread over the floor.
LevelData openFloor(int boxes, int beetles)
{
    LevelData level = emptyLevel(0x00);
    level.on = true;
    for (int column = 0; column < kLevelColumns; ++column) {
        level.cells[column][0] = level.cells[column][kLevelRows - 1] = 0x01;
    }
    for (int row = 0; row < kLevelRows; ++row)
        level.cells[0][row] = level.cells[kLevelColumns - 1][row] = 0x01;
    level.cells[1][1] = 0x04;
    for (int i = 0; i < boxes; ++i)
        level.cells[3 + (i * 5) % 10][4 + (i * 7) % 22] = 0x30;
    for (int i = 0; i < beetles; ++i)
        level.cells[2 + (i * 3) % 11][10 + (i * 5) % 18] = i % 2 ? 0x50 : 0x51;
    return level;
}

void BM_SolverStates(benchmark::State& state)
{
    const LevelData level = openFloor(int(state.range(0)), int(state.range(1)));
    SolveLimits limits;
    limits.maxStates = 20000;
    limits.maxSeconds = 60;
    uint64_t states = 0;
    for (auto _ : state) {
        const SolveResult result = solveLevel(level, limits);
        states += result.states;
        benchmark::DoNotOptimize(result.verdict);
    }
    state.counters["states/s"] = benchmark::Counter(double(states), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SolverStates)
    ->ArgsProduct({{1, 3, 6}, {0}})
    ->Args({3, 2})
    ->Args({3, 6})
    ->Unit(benchmark::kMillisecond);

} // namespace
