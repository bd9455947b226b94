#include "editor/eventloop.h"

#include <algorithm>
#include <iterator>

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

void wakeEventLoop()
{
    SDL_Event event = {};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
}

namespace {

// Runs on SDL's timer thread: pushing an event is safe from there.
Uint32 pushWakeEvent(Uint32 interval, void*)
{
    wakeEventLoop();
    return interval;
}

} // namespace

void WakeTimer::set(bool on, Uint32 interval)
{
    if (on == this->on() && (!on || interval == interval_))
        return;
    if (this->on()) {
        SDL_RemoveTimer(id_);
        id_ = nullptr;
    }
    if (!on)
        return;
    if (!SDL_WasInit(SDL_INIT_TIMER) && SDL_InitSubSystem(SDL_INIT_TIMER) != 0)
        return;
    interval_ = interval;
    id_ = SDL_AddTimer(interval, pushWakeEvent, nullptr);
}

bool KeyRepeatFilter::accept(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN: {
        const SDLKey key = event.key.keysym.sym;
        if (key <= SDLK_UNKNOWN || key >= SDLK_LAST)
            return true;
        if (held[key] && releaseQueued(key))
            return false;
        held[key] = true;
        return true;
    }
    case SDL_KEYUP:
        if (event.key.keysym.sym > SDLK_UNKNOWN && event.key.keysym.sym < SDLK_LAST)
            held[event.key.keysym.sym] = false;
        return true;
    case SDL_ACTIVEEVENT:
        // Releases made in another window never reach us.
        if ((event.active.state & SDL_APPINPUTFOCUS) && !event.active.gain)
            std::fill(std::begin(held), std::end(held), false);
        return true;
    default:
        return true;
    }
}

bool KeyRepeatFilter::releaseQueued(SDLKey key) const
{
    SDL_Event queued[64];
    const int count = SDL_PeepEvents(queued, 64, SDL_PEEKEVENT, SDL_KEYUPMASK);
    for (int i = 0; i < count; ++i)
        if (queued[i].key.keysym.sym == key)
            return true;
    return false;
}
