// Checks of a game image as the game plays it, which no single level shows:
// the order table the game walks, the level segments its loader places in
// memory, and the text pages. Pure functions over the image's bytes; the
// command line's `check` prints them beside the level checks.
#pragma once

#include "core/gametemplate.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Level segments must load into the levels' memory; anything outside it
// overwrites the game itself.
constexpr unsigned kLevelMemoryFirst = 0x5000;
constexpr unsigned kLevelMemoryLast = 0x8FFF;

enum class SetFindingKind {
    // Our engine's game part whose segment chain breaks (`chain`): the
    // disk does not boot.
    brokenGamePart,
    // The game plays order table entries from the first until one holds a
    // byte outside $80..$9F (a slot); a zero there is the usual end.
    nothingToPlay,    // the first `entry` holds `byte`: the game has no level to play
    orderEndsEarly,   // `entry` holds `byte`, neither 0 nor a slot: the set ends there
    orderGap,         // the set ends at `entry`; `count` later entries list levels, the first at `next`
    emptySlotListed,  // `entry` names slot `slot`, at `start`, where no segment loads a level
    // A segment at file `offset` loads `start`..`end`, outside the levels'
    // memory: over the game.
    segmentOverGame,
    // `count` characters of page `page` the game cannot show; the first,
    // `byte`, at `line` and `column`.
    unshowableText,
};

struct SetFinding {
    SetFindingKind kind = SetFindingKind::nothingToPlay;
    int entry = -1;  // order table entry, 0..31
    int next = -1;
    int slot = -1;   // 0..31
    int byte = 0;
    int count = 0;
    int page = -1;
    int line = -1;   // 0-based, as `column`
    int column = -1;
    size_t offset = 0;
    unsigned start = 0, end = 0;
    ChainBreak chain = ChainBreak();
};

// The findings for an image the editor opens (gameImageProblem says none),
// in the order of the kinds above. A level list cut short is left to what
// reading the image reports (LoadIssue): its slots are not looked at.
std::vector<SetFinding> checkSetImage(const uint8_t* data, size_t size);
