#include "core/history.h"

#include <cassert>

void History::reset(const Document& start)
{
    steps_.clear();
    steps_.push_back(start);
    at_ = 0;
    saved_ = {true, start};
    emptySet_ = {};
}

bool History::record(const Document& now)
{
    if (now.sameContent(steps_[at_])) {
        steps_[at_].path = now.path;
        return false;
    }
    steps_.erase(steps_.begin() + static_cast<long>(at_) + 1, steps_.end());
    steps_.push_back(now);
    ++at_;
    if (steps_.size() > depth + 1) {
        steps_.pop_front();
        --at_;
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
    for (Document& step : steps_)
        step.path = path;
    saved_ = {true, current()};
    emptySet_ = {};  // no step has its path any more
}

void History::markClean()
{
    emptySet_ = {true, current()};
}

void History::markUnsaved()
{
    saved_ = {};
    emptySet_ = {};
}

bool History::modified() const
{
    return !saved_.matches(current()) && !emptySet_.matches(current());
}
