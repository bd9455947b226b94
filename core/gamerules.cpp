#include "core/gamerules.h"

#include "core/atari.h"
#include "rules_image.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace ri = rules_image;

namespace {

// A routine that runs longer than this is in a loop it will not leave.
constexpr uint64_t kCallLimit = 2000000;

// The zero page the rules keep from step to step: from robot_x to shots.
// The cells after it are the note that cells changed (for the game's
// drawing), the routines' working variables, the sound and the controls,
// none of which a step depends on.
constexpr unsigned kZeroPageFirst = ri::robot_x, kZeroPageEnd = ri::shots + 1;

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

static_assert(ri::robot_x < ri::shots && ri::shots - ri::robot_x < 16 && ri::dirty == ri::shots + 1,
              "the rules' lasting zero page is in one piece");
static_assert(ri::LEVEL_W == kLevelColumns && ri::LEVEL_H == kLevelRows, "the engine's level is the editor's");

} // namespace

bool GameRules::Events::moved() const { return bits & ri::EV_MOVED; }
bool GameRules::Events::died() const { return bits & ri::EV_DIED; }
bool GameRules::Events::exited() const { return bits & ri::EV_EXIT; }
bool GameRules::Events::restarted() const { return more & ri::EVX_RESTART; }
bool GameRules::Events::shot() const { return more & ri::EVX_SHOT; }

GameRules::GameRules()
{
    assert(rulesImageSize == ri::size);
    cpu_.load(rulesImage, rulesImageSize, uint16_t(ri::origin));
}

GameRules::GameRules(const std::vector<uint8_t>& image)
{
    cpu_.load(image.data(), std::min<size_t>(image.size(), ri::ram - ri::origin), uint16_t(ri::origin));
}

size_t GameRules::tickInImage()
{
    return ri::rules_tick - ri::origin;
}

uint16_t GameRules::tickAddress()
{
    return uint16_t(ri::rules_tick);
}

bool GameRules::call(unsigned routine)
{
    if (failed_)
        return false;
    if (cpu_.call(uint16_t(routine), kCallLimit))
        return true;
    failed_ = true;
    failedAt_ = cpu_.pc;
    return false;
}

bool GameRules::start(const LevelData& level, int lives)
{
    level_ = level;
    gameOver_ = levelDone_ = failed_ = false;
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
    if (!call(ri::rules_init) || (cpu_.p & Cpu6502::kCarry))
        return false;  // failed, or no robot
    memory[ri::in_stick] = uint8_t(ri::STICK_NONE);
    memory[ri::in_trig] = 1;
    memory[ri::in_keys] = 0;
    memory[ri::gliding] = 0;
    return call(ri::play_start);
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
    if (!call(ri::play_frame)) {
        events.failed = true;
        return events;
    }
    events.bits = cpu_.a;
    events.more = cpu_.x;
    if (events.exited()) {
        levelDone_ = true;
    } else if (events.died()) {
        // The controls took the life (a restart takes none); the game starts
        // the level again while lives remain.
        if (memory[ri::lives] == 0)
            gameOver_ = true;
        else if (!restartLevel())
            events.failed = failed_;
    }
    return events;
}

GameRules::Events GameRules::step(Move move)
{
    Events events = this->move(move);
    if (events.failed || events.died() || events.exited())
        return events;
    const Events ticked = tick();
    events.bits |= ticked.bits;
    events.more |= ticked.more;
    events.failed = ticked.failed;
    return events;
}

GameRules::Events GameRules::move(Move move)
{
    Events events;
    if (move == Move::wait)
        return events;
    const int index = int(move);
    cpu_.a = uint8_t(index % 4);  // DIR_UP, DIR_RIGHT, DIR_DOWN, DIR_LEFT
    if (!call(index < 4 ? ri::rules_step : ri::rules_fire)) {
        events.failed = true;
        return events;
    }
    events.bits = cpu_.a;
    events.more = cpu_.x;
    return events;
}

GameRules::Events GameRules::tick()
{
    Events events;
    if (!call(ri::rules_tick)) {
        events.failed = true;
        return events;
    }
    events.bits = cpu_.a;
    events.more = cpu_.x;
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

// The zero page first: the robot's cell changes at almost every step.
void GameRules::saveState(uint8_t* out) const
{
    const uint8_t* memory = cpu_.memory();
    std::memcpy(out, memory + kZeroPageFirst, kZeroPageEnd - kZeroPageFirst);
    std::memcpy(out + (kZeroPageEnd - kZeroPageFirst), memory + ri::ram, ri::ram_size);
}

void GameRules::loadState(const uint8_t* in)
{
    uint8_t* memory = cpu_.memory();
    std::memcpy(memory + kZeroPageFirst, in, kZeroPageEnd - kZeroPageFirst);
    std::memcpy(memory + ri::ram, in + (kZeroPageEnd - kZeroPageFirst), ri::ram_size);
}

bool GameRules::sameState(const uint8_t* state) const
{
    const uint8_t* memory = cpu_.memory();
    return std::memcmp(memory + kZeroPageFirst, state, kZeroPageEnd - kZeroPageFirst) == 0 &&
           std::memcmp(memory + ri::ram, state + (kZeroPageEnd - kZeroPageFirst), ri::ram_size) == 0;
}

int GameRules::shotsIn(const uint8_t* state)
{
    return state[ri::shots - kZeroPageFirst];
}

uint8_t GameRules::wallCode() { return uint8_t(ri::T_WALL); }
uint8_t GameRules::screwCode() { return uint8_t(ri::T_SCREW); }
uint8_t GameRules::exitCode() { return uint8_t(ri::T_EXIT); }

bool GameRules::resume(const uint8_t* state, int lives)
{
    loadState(state);
    uint8_t* memory = cpu_.memory();
    memory[ri::lives] = uint8_t(lives);
    memory[ri::gliding] = 0;
    gameOver_ = levelDone_ = false;
    // The inputs stay as the last frame left them: what is held now is no
    // new push.
    return call(ri::play_start);
}
