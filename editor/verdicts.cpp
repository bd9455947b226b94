#include "editor/verdicts.h"

#include "core/solver.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

const size_t maxKnown = 4096;

// What the verdict depends on: the cells and the screws to collect.
std::string contentKey(const LevelData& level)
{
    std::string key(reinterpret_cast<const char*>(&level.cells[0][0]), sizeof level.cells);
    key += char(level.on);
    key += std::to_string(level.srubki);
    return key;
}

} // namespace

LevelVerdict solveForVerdict(const LevelData& level, const std::atomic<bool>& stop, uint64_t maxStates)
{
    SolveLimits limits;
    limits.maxStates = maxStates;
    limits.maxSeconds = 120;  // the budget is the states; this only guards a slow machine
    limits.stop = &stop;
    const SolveResult result = solveLevel(level, limits);
    LevelVerdict verdict;
    switch (result.verdict) {
    case SolveResult::solvable:
        verdict.kind = LevelVerdict::solvable;
        verdict.moves = int(result.moves.size());
        verdict.shortest = result.shortest;
        break;
    case SolveResult::unsolvable: verdict.kind = LevelVerdict::unsolvable; break;
    case SolveResult::unknown: verdict.kind = LevelVerdict::unknown; break;
    case SolveResult::noRobot: verdict.kind = LevelVerdict::noRobot; break;
    case SolveResult::rulesFailed: verdict.kind = LevelVerdict::unknown; break;
    }
    return verdict;
}

VerdictWorker::VerdictWorker(VerdictSolver solve, std::function<void()> found)
    : solve_(std::move(solve)), foundHook_(std::move(found))
{
    if (!solve_)
        solve_ = [](const LevelData& level, const std::atomic<bool>& stop) {
            return solveForVerdict(level, stop, kVerdictStateBudget);
        };
    thread_ = std::thread([this] { run(); });
}

VerdictWorker::~VerdictWorker()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
        queue_.clear();
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

LevelVerdict VerdictWorker::verdict(const LevelData& level) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = known_.find(contentKey(level));
    return found == known_.end() ? LevelVerdict() : found->second;
}

void VerdictWorker::request(const std::vector<LevelData>& levels)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.clear();
        for (const LevelData& level : levels)
            if (!known_.count(contentKey(level)))
                queue_.push_back(level);
    }
    wake_.notify_all();
}

void VerdictWorker::cancel()
{
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
    if (solving_) {
        stop_ = true;
        ++generation_;
    }
}

bool VerdictWorker::busy() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return solving_ || !queue_.empty();
}

uint64_t VerdictWorker::found() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return found_;
}

void VerdictWorker::run()
{
    yieldToOtherThreads();
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_)
            return;
        const LevelData level = queue_.front();
        queue_.erase(queue_.begin());
        const std::string key = contentKey(level);
        if (known_.count(key))
            continue;
        const uint64_t generation = generation_;
        stop_ = false;
        solving_ = true;
        lock.unlock();
        const LevelVerdict verdict = solve_(level, stop_);
        lock.lock();
        solving_ = false;
        // A verdict the search gave up on because it was stopped says
        // nothing of the level.
        if (generation == generation_ && !quit_) {
            if (known_.size() >= maxKnown)
                known_.clear();  // a long session's old drafts; the set's own come back at idle
            known_[key] = verdict;
            ++found_;
            if (foundHook_) {
                lock.unlock();
                foundHook_();
                lock.lock();
            }
        }
    }
}
