#include "editor/playtest.h"

#include "core/levelcheck.h"

#include <algorithm>

namespace {

const int directionKeys = 4;
const int stickDx[directionKeys] = {0, 1, 0, -1};
const int stickDy[directionKeys] = {-1, 0, 1, 0};

} // namespace

bool placeRobot(const LevelData& level, Cell cell, LevelData& placed)
{
    if (!insideGrid(cell) || (level.at(cell) != kFloorCode && level.at(cell) != kRobotCode))
        return false;
    placed = level;
    for (auto& column : placed.cells)
        std::replace(std::begin(column), std::end(column), uint8_t(kRobotCode), uint8_t(kFloorCode));
    placed.cells[cell.column][cell.row] = uint8_t(kRobotCode);
    return true;
}

Playtest::Playtest(const LevelData& level, uint64_t now, std::vector<GameRules::Move> replay)
    : level_(level), moves_(std::move(replay)), replaying_(!moves_.empty()), lastTime_(now)
{
    started_ = rules_.start(level);
    if (!started_)
        outcome_ = rules_.failed() ? Outcome::rulesFailed : Outcome::gameOver;
    beforeFrame_.state.resize(GameRules::stateSize());
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
        movesMade_ = 0;
    } else {
        // Which frame takes a step only the controls know: the state before
        // every frame is at hand, and kept when the step was a move.
        rules_.saveState(beforeFrame_.state.data());
        beforeFrame_.lives = rules_.counters().lives;
        beforeFrame_.moves = movesMade_;
        const GameRules::Events events = rules_.frame(input());
        const bool died = events.died() && !events.restarted();
        if (events.moved() || events.shot() || died) {
            pastMoves_.push_back(beforeFrame_);
            if (pastMoves_.size() > keptMoves)
                pastMoves_.pop_front();
            movesMade_ = died ? 0 : movesMade_ + 1;  // a death begins the level again
        }
        if (died && !rules_.gameOver())
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

bool Playtest::takeBack()
{
    if (replaying_ || pastMoves_.empty() || outcome_ != Outcome::playing)
        return false;
    const Snapshot& last = pastMoves_.back();
    if (!rules_.resume(last.state.data(), last.lives))
        outcome_ = Outcome::rulesFailed;
    movesMade_ = last.moves;
    pastMoves_.pop_back();
    restartWaiting_ = false;
    std::fill(std::begin(tapped_), std::end(tapped_), false);
    return true;
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
    ours.progress = &progress_;
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
