#include "editor/eventloop.h"

unsigned textKey(const SDL_keysym& key)
{
    switch (key.sym) {
    case SDLK_UP:
    case SDLK_DOWN:
    case SDLK_RIGHT:
    case SDLK_LEFT:
        return unsigned(key.sym);
    default:
        break;
    }
    bool ctrl = (key.mod & KMOD_CTRL) != 0;
    bool alt = (key.mod & (KMOD_ALT | KMOD_MODE)) != 0;  // AltGr types real letters
    if (ctrl && !alt && key.sym >= SDLK_a && key.sym <= SDLK_z)
        return unsigned(key.sym - SDLK_a + 1);
    return key.unicode;
}

namespace {

// Runs on SDL's timer thread: pushing an event is safe from there.
Uint32 pushWakeEvent(Uint32 interval, void*)
{
    SDL_Event event = {};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
    return interval;
}

} // namespace

void WakeTimer::set(bool on)
{
    if (on == this->on())
        return;
    if (!on) {
        SDL_RemoveTimer(id_);
        id_ = nullptr;
        return;
    }
    if (!SDL_WasInit(SDL_INIT_TIMER) && SDL_InitSubSystem(SDL_INIT_TIMER) != 0)
        return;
    id_ = SDL_AddTimer(interval, pushWakeEvent, nullptr);
}
