#include "editor/partpainter.h"

#include "render/funkcje.h"

namespace {

SDL_Rect sdlRect(const layout::Rect& r)
{
    return {Sint16(r.x), Sint16(r.y), Uint16(r.w), Uint16(r.h)};
}

} // namespace

bool PartPainter::begin(SDL_Surface* screen, Uint32 background, uint64_t arrangement)
{
    damage_.clear();
    screen_ = screen;
    whole_ = wholeInvalid_ || background != background_ || arrangement != arrangement_;
    wholeInvalid_ = false;
    background_ = background;
    arrangement_ = arrangement;
    partIndex_ = 0;
    if (whole_)
        SDL_FillRect(screen_, nullptr, background_);
    return whole_;
}

void PartPainter::part(const layout::Rect& area, uint64_t look, const std::function<void()>& draw)
{
    const size_t index = partIndex_++;
    if (index >= shownLooks_.size())
        shownLooks_.resize(index + 1, 0);
    if (covered_(area))
        return;  // all of it comes back when the cover goes
    if (!whole_ && shownLooks_[index] == look)
        return;
    shownLooks_[index] = look;
    if (whole_) {
        draw();
        return;
    }
    SDL_Rect r = sdlRect(area);
    SDL_SetClipRect(screen_, &r);
    fillArea(screen_, r, background_);
    draw();
    SDL_SetClipRect(screen_, nullptr);
    damage_.push_back(r);
}

void PartPainter::cover(bool shown, const layout::Rect& area, uint64_t look, const std::function<void()>& draw)
{
    if (!shown) {
        shownCover_ = 0;
        return;
    }
    if (!whole_ && shownCover_ == look)
        return;
    shownCover_ = look;
    draw();
    if (!whole_)
        damage_.push_back(sdlRect(area));
}

void PartPainter::end()
{
    if (whole_)
        damage_.assign(1, sdlRect(layout::window));
}
