// Zelbun Kreator: opens the window, builds the editor on it, loads a game
// image named on the command line and runs the event loop.
#include "editor/eventloop.h"
#include "editor/frame.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef ZELBUN_DATA_DIR
#define ZELBUN_DATA_DIR "data"
#endif

namespace {

// The window icon: the working directory's, else the built-in data's.
void setWindowIcon()
{
    for (const char* path : {"icon.bmp", ZELBUN_DATA_DIR "/icon.bmp"}) {
        SDL_Surface* icon = SDL_LoadBMP(path);
        if (!icon)
            continue;
        SDL_SetColorKey(icon, SDL_SRCCOLORKEY, SDL_MapRGB(icon->format, 255, 0, 255));
        SDL_WM_SetIcon(icon, nullptr);
        SDL_FreeSurface(icon);
        return;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "zelbun-kreator: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    std::atexit(SDL_Quit);
    setWindowIcon();
    SDL_Surface* screen = SDL_SetVideoMode(640, 570, 0, SDL_SWSURFACE | SDL_ANYFORMAT);
    if (!screen) {
        std::fprintf(stderr, "zelbun-kreator: cannot open the 640 x 570 window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_WM_SetCaption("Zelbun Kreator 1.0 - by. Tavrin", nullptr);
    SDL_EnableKeyRepeat(200, 50);
    SDL_EnableUNICODE(1);

    frame editor(screen);
    if (!editor.ok()) {
        std::fprintf(stderr, "zelbun-kreator: %s", editor.loadError().c_str());
        return 1;
    }
    if (argc > 1)
        editor.loadMap(argv[1]);

    runEventLoop(editor, screen);
    return 0;
}
