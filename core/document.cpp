#include "core/document.h"

#include <cassert>
#include <cstring>

LevelData emptyLevel(int eraserCode)
{
    LevelData level;
    std::memset(level.cells, eraserCode & 0xFF, sizeof level.cells);
    for (int i = 0; i < kColourRegisters; ++i)
        level.colours[i] = kDefaultColours[i];
    return level;
}

bool sameLevel(const LevelData& a, const LevelData& b)
{
    if (a.on != b.on || a.srubki != b.srubki || a.wzorek != b.wzorek)
        return false;
    for (int i = 0; i < kColourRegisters; ++i)
        if (a.colours[i] != b.colours[i])
            return false;
    return std::memcmp(a.cells, b.cells, sizeof a.cells) == 0;
}

void blankPage(TextPage& page)
{
    for (auto& line : page) {
        std::memset(line, ' ', kPageColumns);
        line[kPageColumns] = '\0';
    }
}

Document::Document() : Document(0) {}

Document::Document(int eraserCode)
{
    for (LevelData& level : levels)
        level = emptyLevel(eraserCode);
    for (TextPage& page : pages)
        blankPage(page);
}

bool Document::sameContent(const Document& other) const
{
    for (int i = 0; i < kLevelSlots; ++i)
        if (!sameLevel(levels[i], other.levels[i]))
            return false;
    return std::memcmp(pages, other.pages, sizeof pages) == 0 && game == other.game;
}

void History::reset(const Document& start)
{
    steps_.clear();
    steps_.push_back(start);
    at_ = 0;
    saved_ = 0;
}

bool History::record(const Document& now)
{
    if (now.sameContent(steps_[at_])) {
        steps_[at_].path = now.path;
        return false;
    }
    steps_.erase(steps_.begin() + static_cast<long>(at_) + 1, steps_.end());
    if (saved_ > static_cast<long>(at_))
        saved_ = -1;
    steps_.push_back(now);
    ++at_;
    if (steps_.size() > depth + 1) {
        steps_.pop_front();
        --at_;
        saved_ = saved_ > 0 ? saved_ - 1 : -1;
    }
    return true;
}

const Document& History::undo()
{
    assert(canUndo());
    return steps_[--at_];
}

const Document& History::redo()
{
    assert(canRedo());
    return steps_[++at_];
}

void History::markSaved(const std::string& path)
{
    saved_ = static_cast<long>(at_);
    for (Document& step : steps_)
        step.path = path;
}
