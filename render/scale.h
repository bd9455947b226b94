// Enlarging a picture by a whole factor, each pixel becoming a square block
// of its raw value: the one up-scaler of the program. The window shows the
// editor's picture through it at 2x and 3x, the palette sheet is made with
// it (resize), and the level renderer draws large levels with it.
#pragma once

#include <SDL.h>

// Copies `area` of `src` to `dst` at (dx + scale * area.x, dy + scale *
// area.y), `scale` times as wide and high. The area is clipped to `src`, and
// the result to `dst`'s clip rectangle. Pixels keep their raw values, in
// the destination's size when the two sizes differ (so the surfaces should
// share their masks). Both must be locked where SDL requires it. Returns
// the rectangle of `dst` written (empty when nothing was).
SDL_Rect scaleArea(SDL_Surface* src, SDL_Rect area, SDL_Surface* dst, int scale, int dx, int dy);
