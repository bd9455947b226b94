// The editor's 8 x 8 font: the drawing library's own font with the Polish
// small letters and the game's graphic signs drawn at the codes the text
// pages use for them.
#pragma once

#include "core/glyphs.h"

// Makes every later text drawing use the editor font. Installs it once.
void installEditorFont();

#include <SDL.h>

// Draws `text` in the editor font at (x, y) in an opaque colour, as the
// drawing library's string drawing does, but straight into the pixels of a
// 32-bit surface (other depths go through the library): text that is drawn
// on every paint stays cheap. Keeps to the surface's clip rectangle.
void drawString(SDL_Surface* target, int x, int y, const char* text, Uint8 r, Uint8 g, Uint8 b);
