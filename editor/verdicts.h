// The solver's verdicts on a set's levels, found on a thread of their own
// so the window never waits for them. A verdict belongs to a level's
// content, not to its place: a level moved, copied or put back by undo
// keeps its verdict. The one place the window's background work calls the
// solver is solveForVerdict().
#pragma once

#include "core/level.h"
#include "core/verdict.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Finds one level's verdict; gives up (unknown) as soon as `stop` is set.
using VerdictSolver = std::function<LevelVerdict(const LevelData& level, const std::atomic<bool>& stop)>;

// The game's solver within a budget of `maxStates` states.
LevelVerdict solveForVerdict(const LevelData& level, const std::atomic<bool>& stop, uint64_t maxStates);
// The budget the window gives each level.
constexpr uint64_t kVerdictStateBudget = 150000;

class VerdictWorker {
public:
    // `solve` empty: solveForVerdict with the window's budget. `found`,
    // when given, is called on the worker's thread after each verdict.
    explicit VerdictWorker(VerdictSolver solve = VerdictSolver(), std::function<void()> found = {});
    ~VerdictWorker();
    VerdictWorker(const VerdictWorker&) = delete;
    VerdictWorker& operator=(const VerdictWorker&) = delete;

    // The verdict found for a level with this content; pending when none is.
    LevelVerdict verdict(const LevelData& level) const;
    // Solves the levels given, one after another, that have no verdict yet
    // (in place of any earlier request).
    void request(const std::vector<LevelData>& levels);
    // Gives up the level being solved and the rest of the request; the
    // verdicts found so far stay.
    void cancel();
    // A request is under way.
    bool busy() const;
    // Counts the verdicts found; changes when one comes in.
    uint64_t found() const;

private:
    void run();

    VerdictSolver solve_;
    std::function<void()> foundHook_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<LevelData> queue_;
    std::map<std::string, LevelVerdict> known_;
    std::atomic<bool> stop_{false};
    bool solving_ = false;
    bool quit_ = false;
    uint64_t generation_ = 0;  // a cancel makes the level being solved another's
    uint64_t found_ = 0;
    std::thread thread_;
};
