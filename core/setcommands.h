// Whole levels moved, inserted, duplicated, deleted, pasted and imported:
// the set as a row of 32 places, empty ones included. Saving keeps the
// levels that are on in the order of their places, so the row is the order
// the game plays them. Each command is one undo step of the session, or
// changes nothing at all.
//
// Moving is a reordering of the row: the levels between shift by one, the
// empty places move with them. What inserts (an empty level, copies,
// pasted or imported levels) needs free places: the empty place it is put
// on when it brings levels (they fill it), then empty places from the end
// of the row back; the levels in front of the place keep their order. When
// the row has too few, the command is refused and says how many levels
// would not fit.
#pragma once

#include "core/session.h"

#include <array>
#include <vector>

struct SetChange {
    SetChange()
    {
        for (int slot = 0; slot < kLevelSlots; ++slot)
            movedTo[size_t(slot)] = slot;
    }

    bool changed = false;
    // Refused for want of room: how many levels would not fit. Nothing changed.
    int wouldNotFit = 0;
    // The places the moved, inserted or duplicated levels hold now, in order
    // (after a delete: the place the levels after it moved up to).
    std::vector<int> placed;
    // Per place before the change, where its level is now; -1 when it was
    // deleted or given up as free room.
    std::array<int, kLevelSlots> movedTo;
};

// The levels of `slots` (any order, no repeats) taken out and put back
// together, in their order, in front of the level at `place` (0..32; 32
// after the last place).
SetChange moveLevels(Session& session, const std::vector<int>& slots, int place);
// An empty place in front of `place`.
SetChange insertEmptyLevel(Session& session, int place);
// Copies of the levels of `slots`, together after the last of them.
SetChange duplicateLevels(Session& session, const std::vector<int>& slots);
// The places of `slots` taken out; the levels after them move up, and the
// row ends in empty places.
SetChange deleteLevels(Session& session, const std::vector<int>& slots);
// `levels` (pasted or imported, each with its colours, counters and wall
// pattern) in front of the level at `place`, or on it when it is empty.
SetChange insertLevels(Session& session, int place, const std::vector<LevelData>& levels);

// The levels of `slots` that are on, in the order of their places: what
// copying takes.
std::vector<LevelData> levelsAt(const Session& session, std::vector<int> slots);

// The number each place's level has in the game after a save, counted from
// 1 (the levels that are on, in order); 0 for an empty place.
std::array<int, kLevelSlots> playNumbers(const LevelData levels[kLevelSlots]);
