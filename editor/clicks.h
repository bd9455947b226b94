// The mouse buttons held and where their presses began, as the window's
// mouse handler tells a press from a drag from a release: a drag goes on
// only with what its press began, and a left release runs a command only
// over the widget on which that left press began, so a stroke that strays
// over a button, a right click or a wheel tick never runs one. Pure.
#pragma once

#include "editor/targets.h"

class Clicks {
public:
    // The buttons held, as SDL masks them (1 left, 2 middle, 4 right).
    const int& held() const { return held_; }
    // Whether a mouse value of 1 or more (frame::mouse) is a drag of the
    // buttons held rather than a press of button `button`.
    bool isDrag(int button) const { return held_ != 0 && button == held_; }
    // The widget the first of the buttons held was pressed on.
    const Target& origin() const { return origin_; }
    // The widget that looks pressed: the left button is held and its press
    // began on `here`.
    bool armed(const Target& here) const { return (held_ & bit(left)) != 0 && here == leftOrigin_; }

    void press(int button, const Target& target);
    // True when the release of `button` over `target` runs a command.
    bool release(int button, const Target& target);
    // A press taken by something else (a page over the window, the game):
    // the widgets it then lands on get nothing of it.
    void take(int button);
    // No button is down, whatever we thought: a release may have happened
    // outside the window.
    void reset() { *this = Clicks(); }

private:
    static const int left = 1;
    // The mask bit of a button that can be held (1 to 3); wheel steps are
    // never held.
    static int bit(int button) { return button >= 1 && button <= 3 ? 1 << (button - 1) : 0; }

    int held_ = 0;
    Target origin_;
    Target leftOrigin_;
};
