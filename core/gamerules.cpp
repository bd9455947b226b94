#include "core/gamerules.h"

#include "core/atari.h"
#include "rules_image.h"

#include <cassert>

#include <cstring>

namespace ri = rules_image;

namespace {

// A routine that runs longer than this is in a loop it will not leave.
constexpr uint64_t kCallLimit = 2000000;

// The zero page the rules keep from step to step: from robot_x to the tick's
// parity. The cells after it are the routines' working variables, the
// sound and the controls, none of which a step depends on.
constexpr unsigned kZeroPageFirst = ri::robot_x, kZeroPageEnd = ri::r_parity + 1;

uint8_t stickBits(int dx, int dy)
{
    if (dy < 0)
        return uint8_t(ri::STICK_UP);
    if (dy > 0)
        return uint8_t(ri::STICK_DOWN);
    if (dx < 0)
        return uint8_t(ri::STICK_LEFT);
    if (dx > 0)
        return uint8_t(ri::STICK_RIGHT);
    return uint8_t(ri::STICK_NONE);
}

static_assert(ri::robot_x < ri::dirty && ri::dirty < ri::r_parity && ri::r_parity - ri::robot_x < 16,
              "the rules' lasting zero page is in one piece");
static_assert(ri::LEVEL_W == kLevelColumns && ri::LEVEL_H == kLevelRows, "the engine's level is the editor's");

} // namespace

bool GameRules::Events::moved() const { return bits & ri::EV_MOVED; }
bool GameRules::Events::died() const { return bits & ri::EV_DIED; }
bool GameRules::Events::exited() const { return bits & ri::EV_EXIT; }
bool GameRules::Events::restarted() const { return more & ri::EVX_RESTART; }

GameRules::GameRules()
{
    assert(rulesImageSize == ri::size);
    cpu_.load(rulesImage, rulesImageSize, uint16_t(ri::origin));
}

bool GameRules::call(unsigned routine)
{
    const bool returned = cpu_.call(uint16_t(routine), kCallLimit);
    assert(returned && "a rules routine did not return");
    return returned;
}

bool GameRules::start(const LevelData& level, int lives)
{
    level_ = level;
    gameOver_ = levelDone_ = false;
    cpu_.memory()[ri::lives] = uint8_t(lives);
    return restartLevel();
}

bool GameRules::restartLevel()
{
    uint8_t* memory = cpu_.memory();
    std::memset(memory + ri::ram, 0, ri::ram_size);
    for (int row = 0; row < kLevelRows; ++row)
        for (int column = 0; column < kLevelColumns; ++column)
            memory[ri::level_buf + row * kLevelColumns + column] = level_.cells[column][row];
    cpu_.a = uint8_t(dec2hex(level_.srubki));
    call(ri::rules_init);
    if (cpu_.p & Cpu6502::kCarry)
        return false;  // no robot
    memory[ri::in_stick] = uint8_t(ri::STICK_NONE);
    memory[ri::in_trig] = 1;
    memory[ri::in_keys] = 0;
    memory[ri::gliding] = 0;
    call(ri::play_start);
    return true;
}

GameRules::Events GameRules::frame(const Input& input)
{
    Events events;
    if (gameOver_ || levelDone_)
        return events;
    uint8_t* memory = cpu_.memory();
    memory[ri::in_stick] = stickBits(input.stickDx, input.stickDy);
    memory[ri::in_trig] = input.fire ? 0 : 1;
    memory[ri::in_keys] = uint8_t((input.pause ? ri::IN_PAUSE : 0) | (input.restart ? ri::IN_RESTART : 0));
    memory[ri::gliding] = 0;  // the canvas shows the robot in its cell at once
    call(ri::play_frame);
    events.bits = cpu_.a;
    events.more = cpu_.x;
    if (events.exited()) {
        levelDone_ = true;
    } else if (events.died()) {
        // The controls took the life (a restart takes none); the game starts
        // the level again while lives remain.
        if (memory[ri::lives] == 0)
            gameOver_ = true;
        else
            restartLevel();
    }
    return events;
}

GameRules::Events GameRules::step(Move move)
{
    Events events;
    if (move != Move::wait) {
        const int index = int(move);
        cpu_.a = uint8_t(index % 4);  // DIR_UP, DIR_RIGHT, DIR_DOWN, DIR_LEFT
        call(index < 4 ? ri::rules_step : ri::rules_fire);
        events.bits = cpu_.a;
        events.more = cpu_.x;
        if (events.died() || events.exited())
            return events;
    }
    call(ri::rules_tick);
    events.bits |= cpu_.a;
    events.more |= cpu_.x;
    return events;
}

GameRules::Counters GameRules::counters() const
{
    const uint8_t* memory = cpu_.memory();
    Counters c;
    c.screws = hex2dec(memory[ri::screws_left]);
    c.lives = memory[ri::lives];
    for (int k = 0; k < 3; ++k)
        c.keys[k] = memory[ri::keys + k];
    c.shots = memory[ri::shots];
    c.exitOpen = memory[ri::exit_open] != 0;
    c.paused = memory[ri::paused] != 0;
    c.robot = robot();
    return c;
}

Cell GameRules::robot() const
{
    const uint8_t* memory = cpu_.memory();
    return {memory[ri::robot_x], memory[ri::robot_y]};
}

uint8_t GameRules::cell(Cell at) const
{
    return cpu_.memory()[ri::level_buf + at.row * kLevelColumns + at.column];
}

LevelData GameRules::levelNow() const
{
    LevelData now = level_;
    for (int row = 0; row < kLevelRows; ++row)
        for (int column = 0; column < kLevelColumns; ++column)
            now.cells[column][row] = cell({column, row});
    return now;
}

size_t GameRules::stateSize()
{
    return ri::ram_size + (kZeroPageEnd - kZeroPageFirst);
}

void GameRules::saveState(uint8_t* out) const
{
    const uint8_t* memory = cpu_.memory();
    std::memcpy(out, memory + ri::ram, ri::ram_size);
    std::memcpy(out + ri::ram_size, memory + kZeroPageFirst, kZeroPageEnd - kZeroPageFirst);
    // Whether cells changed tells the game to redraw; it is no part of where
    // the game stands.
    out[ri::ram_size + ri::dirty - kZeroPageFirst] = 0;
}

void GameRules::loadState(const uint8_t* in)
{
    uint8_t* memory = cpu_.memory();
    std::memcpy(memory + ri::ram, in, ri::ram_size);
    std::memcpy(memory + kZeroPageFirst, in + ri::ram_size, kZeroPageEnd - kZeroPageFirst);
}
