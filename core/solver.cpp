#include "core/solver.h"

#include <chrono>
#include <cstring>
#include <deque>
#include <unordered_set>

namespace {

// Two independent 64-bit hashes of a state: a false "seen" would need both
// to collide at once.
struct Key {
    uint64_t a, b;
    bool operator==(const Key& other) const { return a == other.a && b == other.b; }
};
struct KeyHash {
    size_t operator()(const Key& key) const { return size_t(key.a ^ (key.b * 0x9E3779B97F4A7C15ull)); }
};

Key keyOf(const uint8_t* state, size_t size)
{
    uint64_t a = 0xCBF29CE484222325ull, b = 0x84222325CBF29CE4ull;
    for (size_t i = 0; i < size; ++i) {
        a = (a ^ state[i]) * 0x100000001B3ull;
        b = (b + state[i] + 1) * 0xC6A4A7935BD1E995ull;
        b ^= b >> 29;
    }
    return {a, b};
}

// A state as its differences from the level's first state: most cells
// never change, so the queue holds a few bytes a state instead of a
// kilobyte.
class Diffs {
public:
    explicit Diffs(std::vector<uint8_t> base) : base_(std::move(base)) {}
    std::vector<uint8_t> pack(const uint8_t* state) const
    {
        std::vector<uint8_t> packed;
        for (size_t i = 0; i < base_.size(); ++i)
            if (state[i] != base_[i]) {
                packed.push_back(uint8_t(i >> 8));
                packed.push_back(uint8_t(i));
                packed.push_back(state[i]);
            }
        return packed;
    }
    void unpack(const std::vector<uint8_t>& packed, uint8_t* state) const
    {
        std::memcpy(state, base_.data(), base_.size());
        for (size_t i = 0; i + 2 < packed.size(); i += 3)
            state[packed[i] << 8 | packed[i + 1]] = packed[i + 2];
    }

private:
    std::vector<uint8_t> base_;
};

// Where each state came from, to read the solution back.
struct Trail {
    uint32_t parent;
    GameRules::Move move;
};

} // namespace

SolveResult solveLevel(const LevelData& level, const SolveLimits& limits)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point began = Clock::now();
    SolveResult result;
    GameRules rules;
    if (!rules.start(level)) {
        result.verdict = SolveResult::noRobot;
        return result;
    }

    const size_t size = GameRules::stateSize();
    std::vector<uint8_t> state(size);
    rules.saveState(state.data());
    const Diffs diffs(state);
    std::unordered_set<Key, KeyHash> seen;
    seen.insert(keyOf(state.data(), size));
    std::vector<Trail> trails = {{0, GameRules::Move::wait}};
    std::deque<std::pair<uint32_t, std::vector<uint8_t>>> queue;
    queue.emplace_back(0, diffs.pack(state.data()));

    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - began).count(); };
    auto finish = [&](SolveResult::Verdict verdict) {
        result.verdict = verdict;
        result.states = seen.size();
        result.seconds = elapsed();
        return result;
    };

    for (uint64_t expanded = 1; !queue.empty(); ++expanded) {
        const uint32_t node = queue.front().first;
        std::vector<uint8_t> packed = std::move(queue.front().second);
        queue.pop_front();
        diffs.unpack(packed, state.data());
        rules.loadState(state.data());
        const bool canShoot = rules.counters().shots > 0;
        for (int m = 0; m < GameRules::moveCount; ++m) {
            const auto move = GameRules::Move(m);
            if (!canShoot && move >= GameRules::Move::fireUp && move <= GameRules::Move::fireLeft)
                continue;
            if (m > 0)
                rules.loadState(state.data());
            const GameRules::Events events = rules.step(move);
            if (events.died())
                continue;
            if (events.exited()) {
                for (uint32_t at = node; at != 0; at = trails[at].parent)
                    result.moves.insert(result.moves.begin(), trails[at].move);
                result.moves.push_back(move);
                return finish(SolveResult::solvable);
            }
            std::vector<uint8_t> next(size);
            rules.saveState(next.data());
            if (!seen.insert(keyOf(next.data(), size)).second)
                continue;
            trails.push_back({node, move});
            queue.emplace_back(uint32_t(trails.size() - 1), diffs.pack(next.data()));
        }
        if (seen.size() >= limits.maxStates || (expanded % 256 == 0 && (elapsed() > limits.maxSeconds || (limits.stop && *limits.stop))))
            return finish(SolveResult::unknown);
    }
    return finish(SolveResult::unsolvable);
}
