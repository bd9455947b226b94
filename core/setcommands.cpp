#include "core/setcommands.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

namespace {

// A row being built names its levels: 0..31 the level of that place before
// the change, kLevelSlots + k the k-th new one.
using Row = std::vector<int>;

bool isNew(int item) { return item >= kLevelSlots; }

std::vector<int> sortedSlots(std::vector<int> slots)
{
    std::sort(slots.begin(), slots.end());
    slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
    assert(slots.empty() || (slots.front() >= 0 && slots.back() < kLevelSlots));
    return slots;
}

// Makes the 32 places hold the row, as one undo step.
SetChange apply(Session& session, const Row& row, const std::vector<LevelData>& fresh)
{
    assert(row.size() == size_t(kLevelSlots));
    SetChange change;
    change.movedTo.fill(-1);
    const Document before = session.document();
    for (int slot = 0; slot < kLevelSlots; ++slot) {
        const int item = row[size_t(slot)];
        if (isNew(item))
            change.placed.push_back(slot);
        else
            change.movedTo[size_t(item)] = slot;
        const LevelData& level = isNew(item) ? fresh[size_t(item - kLevelSlots)] : before.levels[item];
        if (!sameLevel(level, before.levels[slot])) {
            session.setLevel(slot, level);
            change.changed = true;
        }
    }
    session.endStep();
    return change;
}

// `fresh` in front of the level at `place`, making room by giving up empty
// places: the one at `place` first when `fill`, then from the end back.
SetChange insertItems(Session& session, int place, const std::vector<LevelData>& fresh, bool fill)
{
    assert(place >= 0 && place <= kLevelSlots);
    session.endStep();
    const Document& doc = session.document();
    Row row;
    for (int slot = 0; slot < place; ++slot)
        row.push_back(slot);
    for (size_t k = 0; k < fresh.size(); ++k)
        row.push_back(kLevelSlots + int(k));
    for (int slot = place; slot < kLevelSlots; ++slot)
        row.push_back(slot);
    auto emptyPlace = [&](int item) { return !isNew(item) && !doc.levels[item].on; };
    size_t excess = fresh.size();
    if (fill && excess > 0 && place < kLevelSlots && emptyPlace(place)) {
        row.erase(std::find(row.begin(), row.end(), place));
        --excess;
    }
    for (size_t i = row.size(); i-- > 0 && excess > 0;)
        if (emptyPlace(row[i])) {
            row.erase(row.begin() + long(i));
            --excess;
        }
    if (excess > 0) {
        SetChange refused;
        refused.wouldNotFit = int(excess);
        return refused;
    }
    return apply(session, row, fresh);
}

bool anyOn(const std::vector<LevelData>& levels)
{
    return std::any_of(levels.begin(), levels.end(), [](const LevelData& level) { return level.on; });
}

} // namespace

SetChange moveLevels(Session& session, const std::vector<int>& slots, int place)
{
    assert(place >= 0 && place <= kLevelSlots);
    session.endStep();
    const std::vector<int> moved = sortedSlots(slots);
    Row rest;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        if (!std::binary_search(moved.begin(), moved.end(), slot))
            rest.push_back(slot);
    const long before = std::count_if(rest.begin(), rest.end(), [&](int slot) { return slot < place; });
    Row row(rest.begin(), rest.begin() + before);
    row.insert(row.end(), moved.begin(), moved.end());
    row.insert(row.end(), rest.begin() + before, rest.end());
    SetChange change = apply(session, row, {});
    for (int slot : moved)
        change.placed.push_back(change.movedTo[size_t(slot)]);
    return change;
}

SetChange insertEmptyLevel(Session& session, int place)
{
    return insertItems(session, place, {emptyLevel(session.eraserCode())}, false);
}

SetChange duplicateLevels(Session& session, const std::vector<int>& slots)
{
    const std::vector<int> sorted = sortedSlots(slots);
    if (sorted.empty())
        return SetChange();
    std::vector<LevelData> copies;
    for (int slot : sorted)
        copies.push_back(session.level(slot));
    return insertItems(session, sorted.back() + 1, copies, anyOn(copies));
}

SetChange deleteLevels(Session& session, const std::vector<int>& slots)
{
    session.endStep();
    const std::vector<int> deleted = sortedSlots(slots);
    if (deleted.empty())
        return SetChange();
    Row row;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        if (!std::binary_search(deleted.begin(), deleted.end(), slot))
            row.push_back(slot);
    std::vector<LevelData> empty(deleted.size(), emptyLevel(session.eraserCode()));
    for (size_t k = 0; k < empty.size(); ++k)
        row.push_back(kLevelSlots + int(k));
    SetChange change = apply(session, row, empty);
    change.placed = {deleted.front()};
    return change;
}

SetChange insertLevels(Session& session, int place, const std::vector<LevelData>& levels)
{
    if (levels.empty())
        return SetChange();
    return insertItems(session, place, levels, anyOn(levels));
}

std::vector<LevelData> levelsAt(const Session& session, std::vector<int> slots)
{
    std::vector<LevelData> levels;
    for (int slot : sortedSlots(std::move(slots)))
        if (session.level(slot).on)
            levels.push_back(session.level(slot));
    return levels;
}

std::array<int, kLevelSlots> playNumbers(const LevelData levels[kLevelSlots])
{
    std::array<int, kLevelSlots> numbers{};
    int played = 0;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        numbers[size_t(slot)] = levels[slot].on ? ++played : 0;
    return numbers;
}
