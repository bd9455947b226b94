#include "core/solver.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cstring>
#include <memory>
#include <queue>
#include <thread>

namespace {

using Move = GameRules::Move;

// Every state a search has seen, each kept as its differences from the
// level's first state (most cells never change): per changed byte its
// distance from the last one and its value, in one byte where the value
// is 0 (a cell left as floor) and the distance below 64, else in two or
// three; with the length in front, in blocks of a megabyte. A hash table of the
// states' numbers finds a state again; the numbers are also the order the
// states were found in, which is the breadth-first queue.
class StateStore {
public:
    enum class Added { yes, seen, full };

    // A search keeps its memory below this, whatever its limit in states:
    // two at once stay under 200 MB with all else they hold.
    static constexpr size_t kMostBytes = size_t(72) << 20;

    explicit StateStore(std::vector<uint8_t> base)
        : base_(std::move(base)), table_(1 << 10), packed_(3 * base_.size() + 2)
    {
    }

    uint32_t size() const { return uint32_t(starts_.size()); }

    // Room for `states` without moving what is kept (the memory is taken
    // as it is used), up to a default search's.
    void reserve(uint64_t states)
    {
        states = std::min<uint64_t>(states, SolveLimits::defaultStates);
        starts_.reserve(size_t(states));
        links_.reserve(size_t(states));
    }

    // The memory it holds, near enough: the packed states, where each one
    // starts and its parent, and the hash table.
    size_t bytes() const { return blocks_.size() * kBlockSize + starts_.size() * 8 + table_.size() * 4; }

    // Adds `state`, reached from `parent` by `move`, unless it was seen
    // before, or the store already holds `most` states or kMostBytes.
    Added insert(const uint8_t* state, uint32_t parent, Move move, uint64_t most)
    {
        const size_t length = pack(state);
        const uint32_t hash = hashOf(packed_.data(), length);
        const uint32_t tag = hash & kTagBits;
        size_t at = hash & (table_.size() - 1);
        for (; table_[at]; at = (at + 1) & (table_.size() - 1))
            if ((table_[at] & kTagBits) == tag && equals((table_[at] & kIndexBits) - 1, length))
                return Added::seen;
        if (size() >= most || size() >= kIndexBits - 1 || bytes() >= kMostBytes || !append(length))
            return Added::full;
        table_[at] = tag | size();  // the number + 1 of the state just appended
        links_.push_back(parent << 4 | uint32_t(move));
        if (uint64_t(size()) * 10 > uint64_t(table_.size()) * 7)
            grow();
        return Added::yes;
    }

    // The whole state number `index`.
    void unpack(uint32_t index, uint8_t* state) const
    {
        std::memcpy(state, base_.data(), base_.size());
        const uint8_t* in = at(starts_[index]);
        const size_t length = lengthAt(in);
        const uint8_t* end = in + length;
        size_t position = 0;
        while (in < end) {
            const uint8_t first = *in++;
            if (first & kLongGap) {
                position += size_t(first & ~kLongGap) << 8 | *in++;
            } else if (first & kZeroValue) {
                state[position + (first & ~kZeroValue)] = 0;
                position += (first & ~kZeroValue) + 1;
                continue;
            } else {
                position += first;
            }
            state[position++] = *in++;
        }
    }

    // The moves from the first state to state `index`.
    std::vector<Move> movesTo(uint32_t index) const
    {
        std::vector<Move> moves;
        for (; index != 0; index = links_[index] >> 4)
            moves.push_back(Move(links_[index] & 15));
        std::reverse(moves.begin(), moves.end());
        return moves;
    }

private:
    static constexpr size_t kBlockSize = 1 << 20;
    static constexpr size_t kMostBlocks = 4096;       // offsets fit in 32 bits
    static constexpr uint32_t kIndexBits = (1u << 28) - 1;
    static constexpr uint32_t kTagBits = ~kIndexBits;  // hash bits kept in a slot
    // The first byte of a change: 00gggggg a gap, the value next;
    // 01gggggg a gap and the value 0; 1ggggggg gggggggg a long gap, the
    // value next.
    static constexpr uint8_t kShortGap = 0x40, kZeroValue = 0x40, kLongGap = 0x80;

    // Packs `state` into packed_; returns its length. Most of a state is
    // as it began: 32 bytes at a time are compared, and the bytes that
    // changed found eight at a time where they did not agree.
    size_t pack(const uint8_t* state)
    {
        uint8_t* out = packed_.data();
        const uint8_t* base = base_.data();
        const size_t size = base_.size();
        size_t last = 0;
        auto change = [&](size_t i) {
            const size_t gap = i - last;
            if (gap < kShortGap && state[i] == 0) {
                *out++ = uint8_t(kZeroValue | gap);
            } else {
                if (gap >= kShortGap)
                    *out++ = uint8_t(kLongGap | gap >> 8);
                *out++ = uint8_t(gap);
                *out++ = state[i];
            }
            last = i + 1;
        };
        size_t word = 0;
        for (; word + 32 <= size; word += 32) {
            uint64_t now[4], before[4];
            std::memcpy(now, state + word, 32);
            std::memcpy(before, base + word, 32);
            if (((now[0] ^ before[0]) | (now[1] ^ before[1]) | (now[2] ^ before[2]) | (now[3] ^ before[3])) == 0)
                continue;
            for (size_t part = 0; part < 4; ++part) {
                uint64_t changed = now[part] ^ before[part];
                const size_t at = word + 8 * part;
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
                while (changed) {
                    const unsigned byte = unsigned(__builtin_ctzll(changed)) / 8;
                    change(at + byte);
                    changed &= ~(uint64_t(0xFF) << (8 * byte));
                }
#else
                for (size_t i = at; changed && i < at + 8; ++i)
                    if (state[i] != base[i])
                        change(i);
#endif
            }
        }
        for (; word < size; ++word)
            if (state[word] != base[word])
                change(word);
        return size_t(out - packed_.data());
    }

    // Eight bytes at a time, then what is left.
    static uint32_t hashOf(const uint8_t* bytes, size_t length)
    {
        uint64_t hash = 0x9E3779B97F4A7C15ull ^ length;
        size_t i = 0;
        for (; i + 8 <= length; i += 8) {
            uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            hash = (hash ^ word) * 0xBF58476D1CE4E5B9ull;
            hash ^= hash >> 31;
        }
        for (; i < length; ++i)
            hash = (hash ^ bytes[i]) * 0x100000001B3ull;
        hash *= 0x94D049BB133111EBull;
        return uint32_t(hash ^ (hash >> 32));
    }

    // A stored state begins with its length: a byte below 128, else two.
    static size_t lengthAt(const uint8_t*& in)
    {
        size_t length = *in++;
        if (length & 0x80)
            length = (length & 0x7F) << 8 | *in++;
        return length;
    }

    const uint8_t* at(uint32_t start) const { return blocks_[start / kBlockSize].get() + start % kBlockSize; }

    bool equals(uint32_t index, size_t length) const
    {
        const uint8_t* in = at(starts_[index]);
        return lengthAt(in) == length && std::memcmp(in, packed_.data(), length) == 0;
    }

    // Keeps packed_'s first `length` bytes as a new state; false when
    // there is no room left.
    bool append(size_t length)
    {
        const size_t need = length + 2;
        if (blocks_.empty() || used_ + need > kBlockSize) {
            if (blocks_.size() == kMostBlocks)
                return false;
            blocks_.emplace_back(new uint8_t[kBlockSize]);
            used_ = 0;
        }
        starts_.push_back(uint32_t((blocks_.size() - 1) * kBlockSize + used_));
        uint8_t* out = blocks_.back().get() + used_;
        if (length >= 0x80)
            *out++ = uint8_t(0x80 | length >> 8);
        *out++ = uint8_t(length);
        std::memcpy(out, packed_.data(), length);
        used_ = size_t(out + length - blocks_.back().get());
        return true;
    }

    void grow()
    {
        std::vector<uint32_t> old(table_.size() * 2);
        old.swap(table_);
        for (uint32_t slot : old) {
            if (!slot)
                continue;
            const uint8_t* in = at(starts_[(slot & kIndexBits) - 1]);
            const size_t length = lengthAt(in);
            size_t at = hashOf(in, length) & (table_.size() - 1);
            while (table_[at])
                at = (at + 1) & (table_.size() - 1);
            table_[at] = slot;
        }
    }

    std::vector<uint8_t> base_;
    std::vector<uint32_t> table_;  // a hash tag and the state's number + 1; 0 is empty
    std::vector<uint8_t> packed_;  // the state being added
    std::vector<std::unique_ptr<uint8_t[]>> blocks_;
    size_t used_ = 0;              // bytes used of the last block
    std::vector<uint32_t> starts_; // where each state begins in the blocks
    std::vector<uint32_t> links_;  // each state's parent << 4 | the move that reached it
};

// Walking distances over every cell that is not wall, from each screw and
// each exit of the level as it begins: the best-first search's guide. It
// only orders the search; the rules alone say what a move does.
class Guide {
public:
    explicit Guide(const LevelData& level)
    {
        for (int row = 0; row < kLevelRows; ++row)
            for (int column = 0; column < kLevelColumns; ++column) {
                const uint8_t code = level.cells[column][row];
                if (code == GameRules::screwCode())
                    screws_.push_back(distancesFrom(level, {column, row}));
                else if (code == GameRules::exitCode())
                    exits_.push_back(distancesFrom(level, {column, row}));
            }
    }

    // Lower is nearer to the end: the screws still to collect first, then
    // the way to the nearest screw still there, or to the exit once none
    // is needed.
    uint32_t estimate(const GameRules& rules) const
    {
        const GameRules::Counters counters = rules.counters();
        const int robot = counters.robot.row * kLevelColumns + counters.robot.column;
        uint32_t nearest = kFar;
        if (counters.screws > 0) {
            for (const Target& screw : screws_)
                if (rules.cell(screw.cell) == GameRules::screwCode())
                    nearest = std::min<uint32_t>(nearest, screw.distance[robot]);
        } else {
            for (const Target& exit : exits_)
                nearest = std::min<uint32_t>(nearest, exit.distance[robot]);
        }
        return uint32_t(counters.screws) * 2 * kFar + nearest;
    }

private:
    static constexpr uint16_t kFar = kLevelColumns * kLevelRows;
    struct Target {
        Cell cell;
        std::vector<uint16_t> distance;  // per cell, row by row; kFar where no way leads
    };

    static Target distancesFrom(const LevelData& level, Cell from)
    {
        Target target{from, std::vector<uint16_t>(kLevelColumns * kLevelRows, kFar)};
        std::vector<Cell> queue = {from};
        target.distance[from.row * kLevelColumns + from.column] = 0;
        for (size_t next = 0; next < queue.size(); ++next) {
            const Cell cell = queue[next];
            const uint16_t distance = target.distance[cell.row * kLevelColumns + cell.column];
            const Cell around[4] = {{cell.column, cell.row - 1},
                                    {cell.column + 1, cell.row},
                                    {cell.column, cell.row + 1},
                                    {cell.column - 1, cell.row}};
            for (const Cell& to : around) {
                if (to.column < 0 || to.column >= kLevelColumns || to.row < 0 || to.row >= kLevelRows ||
                    level.cells[to.column][to.row] == GameRules::wallCode())
                    continue;
                uint16_t& known = target.distance[to.row * kLevelColumns + to.column];
                if (known == kFar) {
                    known = uint16_t(distance + 1);
                    queue.push_back(to);
                }
            }
        }
        return target;
    }

    std::vector<Target> screws_;
    std::vector<Target> exits_;
};

class Search {
public:
    Search(GameRules& rules, const SolveLimits& limits) : rules_(rules), limits_(limits) {}

    SolveResult run(const LevelData& level)
    {
        SolveResult result;
        if (!rules_.start(level)) {
            result.verdict = rules_.failed() ? SolveResult::rulesFailed : SolveResult::noRobot;
            return finish(result);
        }
        start_.resize(GameRules::stateSize());
        state_.resize(start_.size());
        next_.resize(start_.size());
        rules_.saveState(start_.data());

        // Most of the states go to proving; 30 % is kept for finding some
        // solution when they do not settle it (and at the default limit the
        // proof's hash table stays at 2 M slots).
        const uint64_t total = std::min<uint64_t>(std::max<uint64_t>(limits_.maxStates, 1), kMostStates);
        breadthFirst(total - total * 3 / 10, result);
        if (result.verdict == SolveResult::unknown && result.limit == SolveResult::Limit::states &&
            total > result.states)
            bestFirst(level, total - result.states, result);
        return finish(result);
    }

private:
    // A state's parent is kept in 28 bits.
    static constexpr uint64_t kMostStates = (1u << 28) - 1;
    // The states before the tick kept at most.
    static constexpr uint32_t kBeforeTickStates = 1 << 16;
    static constexpr size_t kBeforeTickBytes = size_t(8) << 20;

    // What one move from a state brought.
    enum class Outcome { fresh, known, full, lost, exited, failed };

    // Runs `move` from `state`; the state it leads to is added to `store`
    // while it holds fewer than `most`. A move that changes nothing is
    // the same as a wait, which is tried on its own. Where the move leads
    // before the tick is kept for a while: the tick from there was run
    // already, from another state, when it is found again (a wait beside a
    // step that comes to the same cell), so it can bring nothing new.
    Outcome tryMove(const std::vector<uint8_t>& state, uint32_t from, Move move, StateStore& store, uint64_t most)
    {
        rules_.loadState(state.data());
        GameRules::Events events = rules_.move(move);
        if (!events.failed && !events.died() && !events.exited()) {
            if (move != Move::wait && rules_.sameState(state.data()))
                return Outcome::known;
            rules_.saveState(next_.data());
            if (beforeTick_->insert(next_.data(), 0, move, kMostStates) == StateStore::Added::seen)
                return Outcome::known;
            events = rules_.tick();
        }
        if (events.failed)
            return Outcome::failed;
        if (events.died())
            return Outcome::lost;
        if (events.exited())
            return Outcome::exited;
        rules_.saveState(next_.data());
        switch (store.insert(next_.data(), from, move, most)) {
        case StateStore::Added::yes: return Outcome::fresh;
        case StateStore::Added::seen: return Outcome::known;
        case StateStore::Added::full: break;
        }
        return Outcome::full;
    }

    // Tries every move worth trying from state `node`, waiting first (of
    // two solutions as short, the one that waits), firing only with a shot
    // left, until `each` says enough; false then.
    template <class Each>
    bool expand(StateStore& store, uint32_t node, uint64_t most, Each each)
    {
        static const Move order[] = {Move::wait,   Move::up,        Move::right,    Move::down,
                                     Move::left,   Move::fireUp,    Move::fireRight, Move::fireDown,
                                     Move::fireLeft};
        store.unpack(node, state_.data());
        const bool canShoot = GameRules::shotsIn(state_.data()) > 0;
        for (Move move : order) {
            if (!canShoot && move >= Move::fireUp && move <= Move::fireLeft)
                continue;
            if (!each(move, tryMove(state_, node, move, store, most)))
                return false;
        }
        return true;
    }

    // What ends a search at once, whatever it was: the solution, the rules
    // failing. True when `outcome` was one of them.
    bool settles(Outcome outcome, const StateStore& store, uint32_t node, Move move, SolveResult& result)
    {
        if (outcome == Outcome::exited) {
            result.verdict = SolveResult::solvable;
            result.moves = store.movesTo(node);
            result.moves.push_back(move);
            return true;
        }
        if (outcome == Outcome::failed) {
            result.verdict = SolveResult::rulesFailed;
            result.failedAt = rules_.failedAt();
            return true;
        }
        return false;
    }

    // Whether the time or a stop ends the search; looked at now and then.
    bool outOfTime(SolveResult& result, uint64_t statesSoFar)
    {
        if (++sinceCheck_ < 64)
            return false;
        sinceCheck_ = 0;
        if (limits_.progress)
            limits_.progress->store(statesSoFar, std::memory_order_relaxed);
        if (limits_.stop && limits_.stop->load(std::memory_order_relaxed)) {
            result.limit = SolveResult::Limit::stopped;
            return true;
        }
        if (limits_.maxSeconds > 0 && elapsed() > limits_.maxSeconds) {
            result.limit = SolveResult::Limit::seconds;
            return true;
        }
        return false;
    }

    // The states before the tick are kept while they are few, and then
    // afresh.
    void forgetBeforeTick(bool always)
    {
        if (always || !beforeTick_ || beforeTick_->size() >= kBeforeTickStates ||
            beforeTick_->bytes() >= kBeforeTickBytes)
            beforeTick_.reset(new StateStore(start_));
    }

    // States in the order found are the queue: the first that reaches the
    // exit is a shortest solution. The states before the tick are kept
    // for one number of moves at a time: those of states as far as this
    // one from the start meet again most.
    void breadthFirst(uint64_t most, SolveResult& result)
    {
        StateStore store(start_);
        store.reserve(most);
        store.insert(start_.data(), 0, Move::wait, most);
        uint32_t nextDepth = 1;  // the first state one move further on
        for (uint32_t node = 0; node < store.size(); ++node) {
            if (outOfTime(result, store.size()))
                break;
            forgetBeforeTick(node == nextDepth);
            if (node == nextDepth)
                nextDepth = store.size();
            const bool settled = !expand(store, node, most, [&](Move move, Outcome outcome) {
                if (outcome == Outcome::full) {
                    result.limit = SolveResult::Limit::states;
                    return false;
                }
                return !settles(outcome, store, node, move, result);
            });
            if (settled)
                break;
        }
        result.shortest = result.verdict == SolveResult::solvable;
        if (result.verdict == SolveResult::unknown && result.limit == SolveResult::Limit::none)
            result.verdict = SolveResult::unsolvable;
        result.states = store.size();
    }

    // Always on from the state nearest the end by the guide, the fewer
    // moves first, then the first found.
    void bestFirst(const LevelData& level, uint64_t most, SolveResult& result)
    {
        const Guide guide(level);
        const uint64_t proving = result.states;
        StateStore store(start_);
        store.reserve(most);
        store.insert(start_.data(), 0, Move::wait, most);
        std::vector<uint16_t> moves = {0};  // per state, the moves that reached it
        // 2 x the estimate + the moves, then the state's number.
        std::priority_queue<uint64_t, std::vector<uint64_t>, std::greater<uint64_t>> open;
        rules_.loadState(start_.data());
        open.push(uint64_t(guide.estimate(rules_)) << 33);
        forgetBeforeTick(true);
        while (!open.empty() && result.verdict == SolveResult::unknown) {
            const uint32_t node = uint32_t(open.top());
            open.pop();
            if (outOfTime(result, proving + store.size()))
                break;
            forgetBeforeTick(false);
            bool full = false;
            expand(store, node, most, [&](Move move, Outcome outcome) {
                if (outcome == Outcome::full) {
                    full = true;
                    return false;
                }
                if (settles(outcome, store, node, move, result))
                    return false;
                if (outcome == Outcome::fresh) {
                    moves.push_back(uint16_t(std::min(moves[node] + 1, 0xFFFF)));
                    const uint64_t order = uint64_t(guide.estimate(rules_)) * 2 + moves.back();
                    open.push(order << 32 | (store.size() - 1));
                }
                return true;
            });
            if (full)
                break;
        }
        result.states = proving + store.size();
    }

    double elapsed() const { return std::chrono::duration<double>(Clock::now() - began_).count(); }

    SolveResult finish(SolveResult& result)
    {
        result.seconds = elapsed();
        // A limit is told only where it left the answer short.
        if (result.verdict != SolveResult::unknown && (result.verdict != SolveResult::solvable || result.shortest))
            result.limit = SolveResult::Limit::none;
        if (limits_.progress)
            limits_.progress->store(result.states, std::memory_order_relaxed);
        return result;
    }

    using Clock = std::chrono::steady_clock;
    GameRules& rules_;
    const SolveLimits& limits_;
    const Clock::time_point began_ = Clock::now();
    std::vector<uint8_t> start_;  // the level's first state
    std::vector<uint8_t> state_;  // the state being expanded
    std::vector<uint8_t> next_;   // the state a move led to
    std::unique_ptr<StateStore> beforeTick_;
    unsigned sinceCheck_ = 0;
};

} // namespace

SolveResult solveLevel(GameRules& rules, const LevelData& level, const SolveLimits& limits)
{
    return Search(rules, limits).run(level);
}

SolveResult solveLevel(const LevelData& level, const SolveLimits& limits)
{
    GameRules rules;
    return solveLevel(rules, level, limits);
}

std::vector<SolveResult> solveLevels(const std::vector<LevelData>& levels, const SolveLimits& limits,
                                     unsigned threads)
{
    std::vector<SolveResult> results(levels.size());
    SolveLimits each = limits;
    each.progress = nullptr;
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t level; (level = next++) < levels.size();)
            results[level] = solveLevel(levels[level], each);
    };
    std::vector<std::thread> helpers;
    for (unsigned helper = 1; helper < std::min<size_t>(threads, levels.size()); ++helper)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return results;
}
