// Painting the window by parts. Each part (a button, the counters, the text
// page, the message area) has a look: a hash of everything it shows. A paint
// draws again only the parts whose look changed, each on the window's
// background and clipped to its area, and lists the rectangles it drew (the
// damage) for the screen. After invalidate(), or with a new background or
// arrangement, a paint draws it all.
#pragma once

#include "editor/layout.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

class PartPainter {
public:
    // Whether a part's area is covered now (by a page or the set view): a
    // covered part is left as it is, and its look as last drawn.
    using Covered = std::function<bool(const layout::Rect& area)>;
    explicit PartPainter(Covered covered) : covered_(std::move(covered)) {}

    void invalidate() { wholeInvalid_ = true; }
    // Starts a paint on `screen`. `arrangement` tells which parts the window
    // shows (the set view or the canvas). True when the paint is whole: the
    // screen is then filled with `background` and every part drawn.
    bool begin(SDL_Surface* screen, Uint32 background, uint64_t arrangement);
    // One part; the parts come in the same order at every paint.
    void part(const layout::Rect& area, uint64_t look, const std::function<void()>& draw);
    // A part drawn over the others, all of its area by itself; while not
    // `shown` its look is forgotten, so it is drawn when it comes back.
    void cover(bool shown, const layout::Rect& area, uint64_t look, const std::function<void()>& draw);
    // Ends the paint: a whole one lists the window as drawn.
    void end();

    bool whole() const { return whole_; }
    Uint32 background() const { return background_; }
    // What this paint drew; the canvas, the set view and the tooltip add
    // theirs between begin() and end().
    std::vector<SDL_Rect>& damage() { return damage_; }
    const std::vector<SDL_Rect>& damage() const { return damage_; }

private:
    Covered covered_;
    SDL_Surface* screen_ = nullptr;
    bool wholeInvalid_ = true;
    bool whole_ = false;
    uint64_t arrangement_ = 0;
    Uint32 background_ = 0;
    size_t partIndex_ = 0;
    std::vector<uint64_t> shownLooks_;  // in paint order
    uint64_t shownCover_ = 0;           // 0 also when the cover has just come or gone
    std::vector<SDL_Rect> damage_;
};
