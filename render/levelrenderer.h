// Drawing a level: its cells from a copy of the tile sheet in the level's
// own colours, walls in the level's pattern, codes without a picture as two
// hex digits. One renderer for the editor's canvas and for export, onto
// any surface, at any place and whole-number scale. No widgets, no window.
#pragma once

#include "core/level.h"
#include "render/sheet.h"

#include <SDL.h>

// The tile pictures and what each code shows: everything drawing a level
// needs besides the level itself.
struct TileArt {
    SDL_Surface* sheet = nullptr;    // tiles.bmp as loaded, in its own colours
    SDL_Surface* palette = nullptr;  // paleta.bmp scaled 16 times: Atari colour v at (v & 0xF0, (v & 0x0F) * 8)
    const int* columns = nullptr;    // per tile code 0..255: the sheet column of its picture, -1 none
    int murekColumn = -1;            // the wall's first pattern, patterns follow it; -1 no wall
};

// A level's copy of the tile sheet, its marker colours replaced by the
// level's colour registers. It is a cache: recoloured only when asked to,
// and the caller asks when the registers change.
class LevelSheet {
public:
    // Makes a fresh copy of `sheet` in its own colours; `palette` gives the
    // colours later recolourings use.
    void attach(SDL_Surface* sheet, SDL_Surface* palette);
    bool attached() const { return copy_ != nullptr; }
    // Recolours the copy for `colours` (six Atari colour values).
    void recolour(const int colours[kColourRegisters]);
    // Recolours unless the copy already shows exactly these colours.
    void follow(const int colours[kColourRegisters]);
    // Has the copy been recoloured since it was made, and for which colours.
    bool coloured() const { return coloured_; }
    bool shows(const int colours[kColourRegisters]) const;
    // Takes over the other copy's finished pixels without recolouring.
    void copyPixels(const LevelSheet& other);
    void swap(LevelSheet& other);
    SDL_Surface* surface() const { return copy_.get(); }

private:
    SurfacePtr copy_;
    SDL_Surface* sheet_ = nullptr;
    SDL_Surface* palette_ = nullptr;
    int colours_[kColourRegisters] = {};
    bool coloured_ = false;
};

// The size of a drawn level at `scale`.
constexpr int kCellPixels = 16;
constexpr int levelPixelWidth(int scale) { return kLevelColumns * kCellPixels * scale; }
constexpr int levelPixelHeight(int scale) { return kLevelRows * kCellPixels * scale; }

// One cell showing `code` with its top left corner at (x, y), from
// `levelSheet`, the wall in pattern `wzorek`. Scale 1.
void drawCell(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet, int wzorek, int code, int x, int y);

// The exit as the game shows it once open: its picture lit up
// (core/openexit.h), the lit pixels in the level's register 2 of
// `colours`. Scale 1.
void drawOpenExit(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet,
                  const int colours[kColourRegisters], int code, int x, int y);

// The whole level with its top left corner at (x, y), every cell a square of
// 16 * scale pixels. What lies under cells without a picture shows through
// around their digits, as on the canvas.
void drawLevel(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet, const LevelData& level, int x,
               int y, int scale = 1);

// The whole level drawn at its own size over the level's colour register 4
// (the background the canvas shows it on), then reduced: every divisor x
// divisor square becomes one pixel of its average colour, with the top left
// corner at (x, y). A picture of the whole level at a glance.
void drawLevelReduced(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet, const LevelData& level,
                      int x, int y, int divisor);

// The RGB colour of an Atari colour value in the palette sheet; black for a
// palette too small to hold it.
SDL_Color atariRgb(SDL_Surface* palette, int atariColour);
