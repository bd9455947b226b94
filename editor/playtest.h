// A level played on the canvas by the game's own rules (core/gamerules.h):
// the keys stand for the joystick and the console keys (pause as START,
// restart as OPTION), and the game's frames run at its own pace, 50 a
// second with a step every eighth, by the clock the editor gives. Or a
// found solution replayed, one move per step. It works on its own copy of
// the level: the document never sees what happens in play. It keeps the
// game's state before each move, so moves can be taken back.
#pragma once

#include "core/gamerules.h"
#include "core/level.h"
#include "core/solver.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <thread>
#include <vector>

// `level` as played from `cell`: the robot begins there instead of at its
// own start, which becomes floor (as do any other robots). False, with
// nothing made, when the robot cannot begin there: the cell holds neither
// floor nor the robot.
bool placeRobot(const LevelData& level, Cell cell, LevelData& placed);

class Playtest {
public:
    enum class Key { up, right, down, left, fire, pause, restart };
    enum class Outcome { playing, levelDone, gameOver, replayDone, rulesFailed };
    static const int framesPerSecond = 50;
    static const int framesPerStep = 8;

    // Plays `level` from time `now` (milliseconds); `replay`, when given,
    // is played instead of the keys.
    Playtest(const LevelData& level, uint64_t now, std::vector<GameRules::Move> replay = {});
    Playtest(const Playtest&) = delete;
    Playtest& operator=(const Playtest&) = delete;

    // False when the level cannot begin: it has no robot, or the rules
    // failed on it (outcome() says which).
    bool started() const { return started_; }

    // A press of a key already held (the keyboard's repeat) is no new
    // press. A restart begins the level again with the lives left: only
    // dying costs a life.
    void press(Key key);
    void release(Key key);

    // Runs the game's frames due by `now`. After a stall (a dialog, a busy
    // machine) at most a quarter of a second's worth run at once: the
    // robot does not race to catch up.
    void advanceTo(uint64_t now);

    Outcome outcome() const { return outcome_; }
    // Where the rules' processor stopped, when they failed.
    uint16_t failedAt() const { return rules_.failedAt(); }
    GameRules::Counters counters() const { return rules_.counters(); }
    // Lives lost so far that left the game going.
    int deaths() const { return deaths_; }
    // The code the canvas draws: the game keeps the robot apart from the
    // level's cells, and the canvas shows it in its cell.
    uint8_t cell(Cell at) const;
    // The exit stands open at the cell: the canvas shows it so.
    bool openExitAt(Cell at) const;
    // Moves made since the level last began: the steps in which the robot
    // moved (a magnet's pull too), shot or died, less those taken back.
    size_t moves() const { return movesMade_; }
    // Backspace: the game goes back to where it stood before the last move,
    // with the life that move cost, and waits for the next push as at a
    // level's start. False when there is none, or a solution plays.
    bool takeBack();
    // The game's states kept for taking moves back; older ones are dropped.
    static const size_t keptMoves = 5000;

    bool replaying() const { return replaying_; }
    // Moves of the replay made so far, and how many it has.
    size_t replayed() const { return nextMove_; }
    size_t replayLength() const { return moves_.size(); }

private:
    void runFrame();
    GameRules::Input input() const;

    GameRules rules_;
    LevelData level_;  // as it began, for a restart
    std::vector<GameRules::Move> moves_;
    size_t nextMove_ = 0;
    bool replaying_ = false;
    bool started_ = false;
    Outcome outcome_ = Outcome::playing;
    int deaths_ = 0;
    bool restartWaiting_ = false;
    uint64_t lastTime_ = 0;
    uint64_t frameTime_ = 0;  // milliseconds times framesPerSecond not yet run as a frame
    uint64_t frames_ = 0;
    // Held now, and pressed since the last frame: a tap shorter than a
    // frame is still seen by the game.
    bool held_[7] = {};
    bool tapped_[7] = {};
    int lastDirection_ = -1;
    // Where the game stood before a frame, and before each move kept.
    struct Snapshot {
        std::vector<uint8_t> state;
        int lives = 0;
        size_t moves = 0;
    };
    Snapshot beforeFrame_;
    std::deque<Snapshot> pastMoves_;
    size_t movesMade_ = 0;
};

// A search for a level's shortest solution on a thread of its own, so that
// the window stays live while it runs and can show how far it got. Dropping
// it gives up the search.
class SolutionSearch {
public:
    SolutionSearch(const LevelData& level, int slot, const SolveLimits& limits);
    ~SolutionSearch();
    SolutionSearch(const SolutionSearch&) = delete;
    SolutionSearch& operator=(const SolutionSearch&) = delete;

    bool done() const { return done_; }
    // The verdict, once done().
    const SolveResult& result() const { return result_; }
    int slot() const { return slot_; }
    // The states seen so far.
    uint64_t states() const { return progress_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> progress_{0};
    std::atomic<bool> done_{false};
    SolveResult result_;
    int slot_;
    std::thread thread_;
};
