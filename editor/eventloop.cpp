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
