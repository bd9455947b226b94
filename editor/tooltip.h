// The small box of words beside a resting pointer. Once the pointer has
// rested restTime on one spot the box shows what the window says of the
// widget there; the next move, click or key puts it away, and after a
// click or a key it stays away until the pointer moves. It takes only a
// clock and a way to ask for a whole repaint (what the box covered comes
// back); the words are the window's, so the tests drive it without one.
#pragma once

#include "editor/layout.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Tooltip {
public:
    static const uint64_t restTime = 600;
    // How far from the pointer's tip the box starts, right and down: clear
    // of the arrow.
    static const int offsetX = 12;
    static const int offsetY = 18;

    Tooltip(std::function<uint64_t()> clock, std::function<void()> repaintAll);

    // The pointer is at (x, y) with no button held. A move puts the box
    // away and times the rest anew.
    void pointerAt(int x, int y);
    // A click or a key: the box goes until the pointer moves.
    void dismiss();
    // The rest is being timed: the window should wake to show the box.
    bool waiting() const;
    // The pointer has rested long enough for the box.
    bool due() const;

    // The words for the widget under the pointer, "" for none; given before
    // each paint. New words for a box already drawn repaint the window.
    void setText(const std::string& text);
    const std::string& text() const { return text_; }
    // Where the box for the words stands: beside the pointer, moved in
    // to stay inside the window; empty when none shows.
    layout::Rect box() const;
    // Draws the box when it is due and has words, and adds its rectangle
    // to `damage`.
    void paint(SDL_Surface* screen, std::vector<SDL_Rect>& damage);

    // The box for `lines` lines of at most `chars` characters for a pointer
    // at (x, y): right of and below it, moved left against the window's
    // edge and above the pointer where it would not fit.
    static layout::Rect place(int x, int y, int chars, int lines);

private:
    void hide();

    std::function<uint64_t()> clock_;
    std::function<void()> repaintAll_;
    bool armed_ = false;  // the pointer moved since the last click or key
    uint64_t restStart_ = 0;
    int x_ = -1, y_ = -1;
    std::string text_;
    bool drawn_ = false;  // the box is on the screen
};
