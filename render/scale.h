// Enlarging part of a picture by a whole factor onto another surface of the
// same pixel format, each pixel becoming a square block: how the window
// shows the editor's picture at 2x and 3x.
#pragma once

#include <SDL.h>

// Copies `area` of `src` to `dst` at (dx + scale * area.x, dy + scale *
// area.y), `scale` times as wide and high. The area is clipped to `src`, and
// the result to `dst`. Both surfaces must have the same bytes per pixel and
// be locked where SDL requires it. Returns the rectangle of `dst` written
// (empty when nothing was).
SDL_Rect scaleArea(SDL_Surface* src, SDL_Rect area, SDL_Surface* dst, int scale, int dx, int dy);
