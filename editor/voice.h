// How a part of the editor speaks to the user, without knowing the window:
// news and errors in the message area, notes kept in the log alone, and
// questions. The window hands each part its own; tests hand in recorders.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <string>

struct Voice {
    std::function<void(const std::string&)> say;   // news
    std::function<void(const std::string&)> warn;  // an error, in red
    std::function<void(const std::string&)> note;  // the log only
    // The index of the answer (Question's order: the first goes ahead, the
    // last cancels).
    std::function<int(const Question&)> ask;
};
