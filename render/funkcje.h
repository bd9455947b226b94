// Raw pixel access, integer up-scaling and the recolouring of the tile sheet
// with one level's colour registers.
#pragma once

#include <SDL.h>

// Raw pixel value in the surface's own format (1 to 4 bytes per pixel; 0 for
// any other size). No bounds check and no locking: the caller stays inside
// the surface and locks it where SDL requires.
Uint32 getpixel(SDL_Surface* surface, int x, int y);

// Stores the low bytes of `pixel` that fit the surface's pixel size.
void putpixel(SDL_Surface* surface, int x, int y, Uint32 pixel);

// Blits the whole of `src` onto the top-left corner of `dst` and returns
// `dst`. With a null `dst`, a new 32-bit surface of `src`'s size and masks is
// made; the caller owns and frees it. Returns null when `src` is null or the
// copy cannot be made (a given `dst` is then left to the caller).
SDL_Surface* bmpCopy(SDL_Surface* src, SDL_Surface* dst);

// A new 32-bit surface with `src`'s masks, `factor` times as wide and high,
// each source pixel becoming a factor x factor block of the same raw value.
// `dst` is not used. Returns null for a null `src`, a factor below 1 or a
// surface that cannot be made. The caller owns the result.
SDL_Surface* resize(SDL_Surface* src, SDL_Surface* dst, int factor);

// Every pixel of `src` in one of the six marker colours gets, at the same
// place in `dst`, the palette sheet's colour for the matching register of
// `colours` (six Atari colour values). Other pixels of `dst` are left alone,
// so `dst` should start as a copy of `src`. Does nothing if a surface is null.
void recolor(SDL_Surface* src, SDL_Surface* dst, const int* colours, SDL_Surface* palette);

// The marker (0 to 5) of a pixel of the tile sheet; -1 for another colour.
// The caller locks the sheet where SDL requires.
int markerAt(SDL_Surface* sheet, int x, int y);

// How many times `recolor` has been called since the program started, null
// surfaces included; lets tests see exactly which operations recolour.
unsigned long recolorCount();

// SDL_FillRect and SDL_UpperBlit, straight into the pixels where both
// surfaces are plain 32-bit ones of one format (the SDL 1.2 layer spends
// microseconds on each call, more than a cell's pixels cost); SDL's own
// otherwise. Both keep to the target's clip rectangle. copyArea leaves
// `place` as SDL_UpperBlit would not: it is taken by value.
void fillArea(SDL_Surface* target, SDL_Rect area, Uint32 colour);
void copyArea(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, int x, int y);
