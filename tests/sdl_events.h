// Putting made-up input events onto SDL's queue, for tests that drive the
// event loop.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

namespace events {

inline void push(SDL_Event event)
{
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

inline void quit()
{
    SDL_Event e = {};
    e.type = SDL_QUIT;
    push(e);
}

inline void key(SDLKey sym, Uint16 unicode, SDLMod mod = KMOD_NONE)
{
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    e.key.keysym.unicode = unicode;
    e.key.keysym.mod = mod;
    push(e);
}

inline void motion(int x, int y, Uint8 state)
{
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = Uint16(x);
    e.motion.y = Uint16(y);
    e.motion.state = state;
    push(e);
}

// type is SDL_MOUSEBUTTONDOWN or SDL_MOUSEBUTTONUP.
inline void button(Uint8 type, int x, int y, Uint8 which)
{
    SDL_Event e = {};
    e.type = type;
    e.button.x = Uint16(x);
    e.button.y = Uint16(y);
    e.button.button = which;
    push(e);
}

inline void click(int x, int y, Uint8 which = SDL_BUTTON_LEFT)
{
    button(SDL_MOUSEBUTTONDOWN, x, y, which);
    button(SDL_MOUSEBUTTONUP, x, y, which);
}

} // namespace events
