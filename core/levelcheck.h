// Checks a level set for mistakes that make a level unplayable: no robot or
// more than one, more screws to collect than the level holds, and tile codes
// the tile set gives no meaning. Pure functions over LevelData; the editor
// warns with them before testing, and the command line's `check` prints them.
#pragma once

#include "core/level.h"

#include <array>
#include <vector>

// The robot's tile code: the game places the player where the level holds it.
constexpr int kRobotCode = 4;
// The floor's tile code: what the game leaves under the robot as a level begins.
constexpr int kFloorCode = 0;
// The exit's tile code: it opens once the level's screws are collected.
constexpr int kExitCode = 3;

// What the checks need to know about the tile set.
struct LevelRules {
    int robotCode = kRobotCode;
    int screwCode = -1;               // tiles.cfg's "sruba"; -1: screws are not counted
    std::array<bool, 256> known = {}; // per code: the tile set gives it a meaning
    bool knownCodesGiven = false;     // false: every code counts as known
};

// Rules from a tile configuration: the screw code and every code it lists
// (the palette records and the wall, eraser and screw codes).
struct TilesConfig;
LevelRules levelRules(const TilesConfig& config);

enum class FindingKind {
    noRobot,      // the level holds no robot
    manyRobots,   // `count` robots; the cell is the second one's
    screwsShort,  // `count` screws to collect but only `drawn` on the level
    unknownCode,  // `code` appears `count` times; the cell is its first
    unsolvable,   // no way to the open exit among `count` reachable states (the solver's finding)
    rulesFailed,  // the game's rules went astray on the level, the processor stopped at `code`
    unsettled,    // the solver gave up after `count` states: neither a way out nor its absence is known
};

struct LevelFinding {
    FindingKind kind = FindingKind::noRobot;
    int slot = 0;     // 0..31
    int column = -1;  // the cell the finding points at; -1 when it is the whole level
    int row = -1;
    int count = 0;
    int drawn = 0;
    int code = 0;
};

// The findings for one level, in the order of the kinds above; an unknown
// code is reported once per level with its first cell in reading order
// (row by row). The level is checked whether or not it is on.
std::vector<LevelFinding> checkLevel(const LevelData& level, int slot, const LevelRules& rules);

// The findings for every level that is on, slot by slot.
std::vector<LevelFinding> checkLevels(const LevelData levels[kLevelSlots], const LevelRules& rules);
