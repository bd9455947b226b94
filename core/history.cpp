#include "core/history.h"

#include <cassert>

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
