// Where the window may lie on the screen and where it lies: the desktop's
// work area (the screen less its panels) and the window's place with its
// frame, so that the window can be kept whole on the screen when it grows.
// The SDL 1.2 layer has no calls for either; the SDL 2 runtime under it
// has, and desktopScreen() asks it. The tests give a screen of their own.
#pragma once

#include <memory>

struct ScreenRect {
    int x = 0, y = 0, w = 0, h = 0;
    int right() const { return x + w; }
    int bottom() const { return y + h; }
};

// The window's client area on the screen and the widths of the frame the
// desktop draws round it.
struct WindowPlace {
    ScreenRect client;
    int left = 0, top = 0, right = 0, bottom = 0;
    ScreenRect outer() const { return {client.x - left, client.y - top, client.w + left + right, client.h + top + bottom}; }
};

class Screen {
public:
    virtual ~Screen() = default;
    // False when the desktop does not tell.
    virtual bool workArea(ScreenRect& area) const = 0;
    virtual bool windowPlace(WindowPlace& place) const = 0;
    // Moves the window's client area's corner to (x, y).
    virtual void moveWindow(int x, int y) = 0;
};

// The desktop's screen; its answers are false where the runtime under the
// SDL 1.2 layer cannot be reached.
std::unique_ptr<Screen> desktopScreen();

// Where a window whose outer rectangle is `outer` goes to lie within
// `work`: moved as little as may be; its top left corner stays on the
// screen when the window is larger than the work area.
ScreenRect keptWithin(const ScreenRect& outer, const ScreenRect& work);
