#include "ui/screen.h"

#include <SDL.h>

#include <algorithm>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the header's macros
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

// The SDL 2 calls the desktop screen needs, found in the runtime the SDL
// 1.2 layer loaded; the window from the layer's own export.
struct Sdl2Rect {
    int x, y, w, h;
};
struct Sdl2 {
    void* window = nullptr;
    int (*windowDisplayIndex)(void*) = nullptr;
    int (*usableBounds)(int, Sdl2Rect*) = nullptr;
    void (*windowPosition)(void*, int*, int*) = nullptr;
    void (*windowSize)(void*, int*, int*) = nullptr;
    int (*bordersSize)(void*, int*, int*, int*, int*) = nullptr;
    void (*setWindowPosition)(void*, int, int) = nullptr;
};

void* sdl2Symbol(const char* name)
{
#ifdef _WIN32
    HMODULE runtime = GetModuleHandleA("SDL2.dll");
    return runtime ? reinterpret_cast<void*>(GetProcAddress(runtime, name)) : nullptr;
#else
    static void* runtime = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    return runtime ? dlsym(runtime, name) : nullptr;
#endif
}

template <class Function>
bool find(Function& function, const char* name)
{
    function = reinterpret_cast<Function>(sdl2Symbol(name));
    return function != nullptr;
}

bool reach(Sdl2& sdl)
{
    using GetWindow = void* (*)();
    const GetWindow getWindow = reinterpret_cast<GetWindow>(SDL_GL_GetProcAddress("SDL12COMPAT_GetWindow"));
    sdl.window = getWindow ? getWindow() : nullptr;
    find(sdl.bordersSize, "SDL_GetWindowBordersSize");  // newer runtimes only: the frame then counts as none
    return sdl.window && find(sdl.windowDisplayIndex, "SDL_GetWindowDisplayIndex") &&
           find(sdl.usableBounds, "SDL_GetDisplayUsableBounds") && find(sdl.windowPosition, "SDL_GetWindowPosition") &&
           find(sdl.windowSize, "SDL_GetWindowSize") && find(sdl.setWindowPosition, "SDL_SetWindowPosition");
}

class DesktopScreen : public Screen {
public:
    bool workArea(ScreenRect& area) const override
    {
        Sdl2 sdl;
        Sdl2Rect bounds;
        if (!reach(sdl) || sdl.usableBounds(std::max(sdl.windowDisplayIndex(sdl.window), 0), &bounds) != 0)
            return false;
        area = {bounds.x, bounds.y, bounds.w, bounds.h};
        return area.w > 0 && area.h > 0;
    }
    bool windowPlace(WindowPlace& place) const override
    {
        Sdl2 sdl;
        if (!reach(sdl))
            return false;
        sdl.windowPosition(sdl.window, &place.client.x, &place.client.y);
        sdl.windowSize(sdl.window, &place.client.w, &place.client.h);
        if (!sdl.bordersSize || sdl.bordersSize(sdl.window, &place.top, &place.left, &place.bottom, &place.right) != 0)
            place.top = place.left = place.bottom = place.right = 0;
        return true;
    }
    void moveWindow(int x, int y) override
    {
        Sdl2 sdl;
        if (reach(sdl))
            sdl.setWindowPosition(sdl.window, x, y);
    }
};

} // namespace

std::unique_ptr<Screen> desktopScreen()
{
    return std::make_unique<DesktopScreen>();
}

ScreenRect keptWithin(const ScreenRect& outer, const ScreenRect& work)
{
    ScreenRect kept = outer;
    kept.x = std::max(std::min(outer.x, work.right() - outer.w), work.x);
    kept.y = std::max(std::min(outer.y, work.bottom() - outer.h), work.y);
    return kept;
}
