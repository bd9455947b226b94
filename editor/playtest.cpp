#include "editor/playtest.h"

#include "core/levelcheck.h"

#include <algorithm>

namespace {

const int directionKeys = 4;
const int stickDx[directionKeys] = {0, 1, 0, -1};
const int stickDy[directionKeys] = {-1, 0, 1, 0};

} // namespace

Playtest::Playtest(const LevelData& level, uint64_t now, std::vector<GameRules::Move> replay)
    : level_(level), moves_(std::move(replay)), replaying_(!moves_.empty()), lastTime_(now)
{
    started_ = rules_.start(level);
    if (!started_)
        outcome_ = rules_.failed() ? Outcome::rulesFailed : Outcome::gameOver;
}

uint8_t Playtest::cell(Cell at) const
{
    return at == rules_.robot() ? uint8_t(kRobotCode) : rules_.cell(at);
}

bool Playtest::openExitAt(Cell at) const
{
    return rules_.cell(at) == kExitCode && at != rules_.robot() && rules_.counters().exitOpen;
}

void Playtest::press(Key key)
{
    const int index = int(key);
    if (held_[index])
        return;  // the keyboard repeating a held key
    held_[index] = tapped_[index] = true;
    if (index < directionKeys)
        lastDirection_ = index;
    if (key == Key::restart)
        restartWaiting_ = true;
}

void Playtest::release(Key key)
{
    held_[int(key)] = false;
}

GameRules::Input Playtest::input() const
{
    GameRules::Input in;
    // The stick points one way: the direction pressed last while it
    // lasts, else any other still held.
    int direction = -1;
    if (lastDirection_ >= 0 && (held_[lastDirection_] || tapped_[lastDirection_]))
        direction = lastDirection_;
    for (int d = 0; d < directionKeys && direction < 0; ++d)
        if (held_[d] || tapped_[d])
            direction = d;
    if (direction >= 0) {
        in.stickDx = stickDx[direction];
        in.stickDy = stickDy[direction];
    }
    auto on = [&](Key key) { return held_[int(key)] || tapped_[int(key)]; };
    in.fire = on(Key::fire);
    in.pause = on(Key::pause);
    return in;
}

void Playtest::runFrame()
{
    ++frames_;
    if (replaying_) {
        if (frames_ % framesPerStep != 0)
            return;
        const GameRules::Events events = rules_.step(moves_[nextMove_++]);
        if (events.failed)
            outcome_ = Outcome::rulesFailed;
        else if (events.exited())
            outcome_ = Outcome::levelDone;
        else if (events.died())
            outcome_ = Outcome::gameOver;
        else if (nextMove_ == moves_.size())
            outcome_ = Outcome::replayDone;
        return;
    }
    if (restartWaiting_) {
        // Started afresh here rather than by the rules, which would take a
        // life for it and see the key again in every frame it is held.
        restartWaiting_ = false;
        rules_.start(level_, rules_.counters().lives);
    } else if (rules_.frame(input()).died() && !rules_.gameOver()) {
        ++deaths_;
    }
    std::fill(std::begin(tapped_), std::end(tapped_), false);
    if (rules_.failed())
        outcome_ = Outcome::rulesFailed;
    else if (rules_.levelDone())
        outcome_ = Outcome::levelDone;
    else if (rules_.gameOver())
        outcome_ = Outcome::gameOver;
}

void Playtest::advanceTo(uint64_t now)
{
    if (now <= lastTime_)
        return;
    const uint64_t most = 1000 / 4;
    frameTime_ += std::min(now - lastTime_, most) * framesPerSecond;
    lastTime_ = now;
    while (frameTime_ >= 1000 && outcome_ == Outcome::playing) {
        frameTime_ -= 1000;
        runFrame();
    }
}

SolutionSearch::SolutionSearch(const LevelData& level, int slot, const SolveLimits& limits) : slot_(slot)
{
    SolveLimits ours = limits;
    ours.stop = &stop_;
    thread_ = std::thread([this, level, ours] {
        result_ = solveLevel(level, ours);
        done_ = true;
    });
}

SolutionSearch::~SolutionSearch()
{
    stop_ = true;
    thread_.join();
}
