#include "editor/clicks.h"

void Clicks::press(int button, const Target& target)
{
    if (held_ == 0)
        origin_ = target;
    held_ |= bit(button);
    if (button == left)
        leftOrigin_ = target;
}

bool Clicks::release(int button, const Target& target)
{
    held_ &= ~bit(button);
    const bool runs = button == left && target == leftOrigin_;
    if (button == left)
        leftOrigin_ = Target();
    if (held_ == 0)
        origin_ = Target();
    return runs;
}

void Clicks::take(int button)
{
    held_ |= bit(button);
    origin_ = leftOrigin_ = Target();
}
