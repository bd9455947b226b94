// The small drawings beside the window's widgets: the labels, the colour
// registers' samples and value, a level slot's mark, the wall pattern's
// number. Each takes just what it shows.
#pragma once

#include "editor/layout.h"

#include <SDL.h>

// Labels are black on a light background, white on a dark one: whichever
// has the higher contrast ratio.
bool labelsInBlack(SDL_Color background);
// `text` at `x`, `y` in `colour` (red, green, blue).
void drawLabel(SDL_Surface* screen, int x, int y, const char* text, const Uint8* colour);
// Each register button carries a strip of its colour (`registers`, Atari
// colour values read from `palette`) under its number; `current` is the
// pressed one.
void drawRegisterSamples(SDL_Surface* screen, SDL_Surface* palette, const int* registers, int current);
// A register's value, in hex beside the row of registers.
void drawRegisterValue(SDL_Surface* screen, int value, const Uint8* colour);
// A red corner beside a level slot's number: the checks find fault with the
// level, or it cannot be finished.
void drawSlotMark(SDL_Surface* screen, const layout::Rect& slot);
// The wall pattern's number beside the wall counter.
void drawWallPatternNumber(SDL_Surface* screen, int pattern, const Uint8* colour);
