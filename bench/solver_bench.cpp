// The solver's speed: states a second on open floor with boxes and
// beetles (each state a game step of the engine on the 6502 core for every
// move), and the time to prove a maze as designers draw them.
#include "core/solver.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr uint8_t kFloor = 0x00, kWall = 0x01, kExit = 0x03, kRobot = 0x04, kScrew = 0x10, kKey = 0x20,
                  kDoor = 0x28, kBox = 0x30, kBeetleAcross = 0x50, kBeetleUpDown = 0x51;

// Open floor, the robot in a corner, the exit walled in so the search runs
// to its limit; `boxes` boxes and `beetles` beetles spread over the floor.
LevelData openFloor(int boxes, int beetles)
{
    LevelData level = emptyLevel(kFloor);
    level.on = true;
    for (int column = 0; column < kLevelColumns; ++column) {
        level.cells[column][0] = level.cells[column][kLevelRows - 1] = kWall;
    }
    for (int row = 0; row < kLevelRows; ++row)
        level.cells[0][row] = level.cells[kLevelColumns - 1][row] = kWall;
    level.cells[1][1] = kRobot;
    for (int i = 0; i < boxes; ++i)
        level.cells[3 + (i * 5) % 10][4 + (i * 7) % 22] = kBox;
    for (int i = 0; i < beetles; ++i)
        level.cells[2 + (i * 3) % 11][10 + (i * 5) % 18] = i % 2 ? kBeetleAcross : kBeetleUpDown;
    return level;
}

void BM_SolverStates(benchmark::State& state)
{
    const LevelData level = openFloor(int(state.range(0)), int(state.range(1)));
    SolveLimits limits;
    limits.maxStates = 20000;
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

// A maze of one-cell corridors over the whole 16 x 31 level (a fixed
// random one, some walls knocked through), the robot in one corner and
// the exit in the other, four screws and a key in dead ends, the key's
// door on the way out, a beetle walking a corridor.
LevelData maze()
{
    LevelData level = emptyLevel(kWall);
    level.on = true;
    uint32_t seed = 12345;
    auto random = [&seed](uint32_t below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % below;
    };
    // Rooms at even columns 0-14 and even rows 0-30, carved depth first.
    std::vector<Cell> path = {{0, 0}};
    level.cells[0][0] = kFloor;
    while (!path.empty()) {
        const Cell at = path.back();
        std::vector<Cell> next;
        for (const Cell step : {Cell{2, 0}, Cell{-2, 0}, Cell{0, 2}, Cell{0, -2}}) {
            const Cell to{at.column + step.column, at.row + step.row};
            if (to.column >= 0 && to.column < kLevelColumns - 1 && to.row >= 0 && to.row < kLevelRows &&
                level.cells[to.column][to.row] == kWall)
                next.push_back(to);
        }
        if (next.empty()) {
            path.pop_back();
            continue;
        }
        const Cell to = next[random(uint32_t(next.size()))];
        level.cells[(at.column + to.column) / 2][(at.row + to.row) / 2] = kFloor;
        level.cells[to.column][to.row] = kFloor;
        path.push_back(to);
    }
    for (int loops = 0; loops < 14;) {
        const int column = int(random(kLevelColumns - 1)), row = int(random(kLevelRows));
        if (level.cells[column][row] == kWall && (column % 2 == 1) != (row % 2 == 1)) {
            level.cells[column][row] = kFloor;
            ++loops;
        }
    }
    // Dead ends hold the screws and the key; the door is the one way into
    // the exit's corner.
    std::vector<Cell> deadEnds;
    for (int row = 0; row < kLevelRows; row += 2)
        for (int column = 0; column < kLevelColumns - 1; column += 2) {
            int ways = 0;
            for (const Cell step : {Cell{1, 0}, Cell{-1, 0}, Cell{0, 1}, Cell{0, -1}}) {
                const int c = column + step.column, r = row + step.row;
                ways += c >= 0 && c < kLevelColumns && r >= 0 && r < kLevelRows && level.cells[c][r] == kFloor;
            }
            if (ways == 1 && (column || row) && !(column == kLevelColumns - 2 && row == kLevelRows - 1))
                deadEnds.push_back({column, row});
        }
    for (size_t i = 0; i < 5 && i < deadEnds.size(); ++i) {
        const Cell cell = deadEnds[i * deadEnds.size() / 5];
        level.cells[cell.column][cell.row] = i < 4 ? kScrew : kKey;
    }
    level.srubki = 4;
    level.cells[0][0] = kRobot;
    const Cell exit{kLevelColumns - 2, kLevelRows - 1};
    level.cells[exit.column][exit.row] = kExit;
    uint8_t* beside[] = {&level.cells[exit.column - 1][exit.row], &level.cells[exit.column][exit.row - 1]};
    if (*beside[0] == kFloor)
        *beside[1] = kWall;
    *(*beside[0] == kFloor ? beside[0] : beside[1]) = kDoor;
    for (int row = 1; row < kLevelRows; row += 2)
        if (level.cells[kLevelColumns / 2][row] == kFloor) {
            level.cells[kLevelColumns / 2][row] = kBeetleUpDown;
            break;
        }
    return level;
}

void BM_SolverMaze(benchmark::State& state)
{
    const LevelData level = maze();
    for (auto _ : state) {
        const SolveResult result = solveLevel(level);
        if (result.verdict != SolveResult::solvable || !result.shortest)
            state.SkipWithError("the maze is not proven");
        state.counters["states"] = double(result.states);
        state.counters["moves"] = double(result.moves.size());
    }
}
BENCHMARK(BM_SolverMaze)->Unit(benchmark::kMillisecond);

} // namespace
