// The game's own rules, run on the editor's 6502 core: the engine's rules
// and controls, linked alone into an image at fixed addresses, loaded into
// a 64 KB memory and driven through the routines the engine's build
// exported. What happens here is what happens in the game, so the playtest
// and the solver cannot drift from it. The game flow around a level (the
// level started again after a death or a restart, game over) is the small
// part kept here.
//
// A routine that does not come back (an opcode the processor does not know,
// or a loop past every step's cycles: the program went astray on this
// level) fails the rules: failed() holds, the event says so, and nothing
// runs any more until the next start().
#pragma once

#include "core/cpu6502.h"
#include "core/level.h"

#include <cstdint>
#include <vector>

extern const unsigned char rulesImage[];
extern const unsigned rulesImageSize;

class GameRules {
public:
    // What a step brought, as the engine reports it.
    struct Events {
        unsigned bits = 0;  // moved, screw, door, push, died, exit, life, teleport
        unsigned more = 0;  // key, ammunition, shot, explosion, exit opened, restart
        bool moved() const;
        bool died() const;
        bool exited() const;
        bool restarted() const;
        bool shot() const;
        bool any() const { return bits || more; }
        bool failed = false;  // the rules failed in this call (see failed())
    };
    // The counters the status line shows.
    struct Counters {
        int screws = 0;  // still to collect
        int lives = 0;
        int keys[3] = {};
        int shots = 0;
        bool exitOpen = false;
        bool paused = false;
        Cell robot;
    };
    // The moves of the step by step mode: a direction to walk, a direction
    // to fire, or a step with the stick let go.
    enum class Move : uint8_t { up, right, down, left, fireUp, fireRight, fireDown, fireLeft, wait };
    static constexpr int moveCount = 9;

    static constexpr int startLives = 3;

    // The rules image the build embedded, or another one (a test's copy).
    GameRules();
    explicit GameRules(const std::vector<uint8_t>& image);
    // Where the tick routine begins in the image, and in memory.
    static size_t tickInImage();
    static uint16_t tickAddress();
    GameRules(const GameRules&) = delete;
    GameRules& operator=(const GameRules&) = delete;

    // Begins `level` as the game does. False when it has no robot, or when
    // the rules failed.
    bool start(const LevelData& level, int lives = startLives);

    bool failed() const { return failed_; }
    // Where the processor was when the rules failed.
    uint16_t failedAt() const { return failedAt_; }

    // --- As the game plays: one call per frame (50 a second), a step every
    // eighth frame. A life lost starts the level again while lives remain;
    // the restart key starts it again for free.
    struct Input {
        int stickDx = 0, stickDy = 0;  // -1, 0, 1; one axis at a time
        bool fire = false;
        bool pause = false;    // held
        bool restart = false;  // held
    };
    Events frame(const Input& input);
    bool gameOver() const { return gameOver_; }
    bool levelDone() const { return levelDone_; }

    // --- Step by step, as a solver goes: the move and then the tick of
    // everything that moves by itself, as one game step; the tick is left
    // out when the move lost a life or ended the level.
    Events step(Move move);
    // The two halves of a step, for a caller that looks between them: the
    // move alone (nothing for wait), and the tick.
    Events move(Move move);
    Events tick();

    Counters counters() const;
    Cell robot() const;
    // The cell codes as the game holds them now.
    uint8_t cell(Cell at) const;
    LevelData levelNow() const;

    // The whole state the rules carry from step to step, to save and come
    // back to: the rules' own RAM and the zero page they keep between calls,
    // without the note that cells changed.
    static size_t stateSize();
    void saveState(uint8_t* out) const;
    void loadState(const uint8_t* in);
    // Whether the rules stand where `state` (a saved state) left them.
    bool sameState(const uint8_t* state) const;
    // The shots left in a saved state.
    static int shotsIn(const uint8_t* state);

    // Tile codes a solver's guide looks for.
    static uint8_t wallCode();
    static uint8_t screwCode();
    static uint8_t exitCode();

    // Back to a state saved while playing frame by frame, with `lives`
    // left: the controls start afresh and wait for the first push, as at
    // a level's start (a key held now is no push).
    // False when the rules failed.
    bool resume(const uint8_t* state, int lives);

    uint64_t cycles() const { return cpu_.cycles; }

private:
    bool call(unsigned routine);
    bool restartLevel();

    Cpu6502 cpu_;
    LevelData level_;  // as it began, for a restart
    bool gameOver_ = false;
    bool levelDone_ = false;
    bool failed_ = false;
    uint16_t failedAt_ = 0;
};
