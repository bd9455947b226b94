#include "render/levelrenderer.h"

#include "core/openexit.h"
#include "render/funkcje.h"
#include "render/scale.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

void LevelSheet::attach(SDL_Surface* sheet, SDL_Surface* palette)
{
    sheet_ = sheet;
    palette_ = palette;
    copy_.reset(bmpCopy(sheet, nullptr));
    coloured_ = false;
}

void LevelSheet::recolour(const int colours[kColourRegisters])
{
    recolor(sheet_, copy_.get(), colours, palette_);
    std::copy(colours, colours + kColourRegisters, colours_);
    coloured_ = true;
}

void LevelSheet::follow(const int colours[kColourRegisters])
{
    if (!shows(colours))
        recolour(colours);
}

bool LevelSheet::shows(const int colours[kColourRegisters]) const
{
    return coloured_ && std::equal(colours, colours + kColourRegisters, colours_);
}

void LevelSheet::copyPixels(const LevelSheet& other)
{
    if (&other == this || !copy_ || !other.copy_)
        return;
    SDL_UpperBlit(other.copy_.get(), nullptr, copy_.get(), nullptr);
    std::copy(other.colours_, other.colours_ + kColourRegisters, colours_);
    coloured_ = other.coloured_;
}

void LevelSheet::swap(LevelSheet& other)
{
    std::swap(copy_, other.copy_);
    std::swap(sheet_, other.sheet_);
    std::swap(palette_, other.palette_);
    std::swap(colours_, other.colours_);
    std::swap(coloured_, other.coloured_);
}

void drawCell(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet, int wzorek, int code, int x, int y)
{
    const int column = art.columns ? art.columns[code & 0xFF] : -1;
    SDL_Rect source = {0, 0, kCellPixels, kCellPixels};
    if (art.murekColumn >= 0 && column == art.murekColumn) {
        source.x = Sint16(kCellPixels * (art.murekColumn + wzorek));
    } else if (column < 0) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%2X", code & 0xFF);
        stringRGBA(target, Sint16(x), Sint16(y + 4), hex, 255, 255, 255, 255);
        return;
    } else {
        source.x = Sint16(kCellPixels * column);
    }
    if (levelSheet)
        copyArea(levelSheet, source, target, x, y);
}

void drawOpenExit(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet,
                  const int colours[kColourRegisters], int code, int x, int y)
{
    drawCell(target, art, levelSheet, 0, code, x, y);
    const int column = art.columns ? art.columns[code & 0xFF] : -1;
    if (column < 0 || !art.sheet || kCellPixels * (column + 1) > art.sheet->w || art.sheet->h < kCellPixels)
        return;
    // The sheet shows each picture pixel as a 2 x 2 block of sheet pixels.
    const int size = kCellPixels / 2, background = 4;
    std::vector<int> picture(size_t(size * size));
    if (SDL_LockSurface(art.sheet) != 0)
        return;
    for (int row = 0; row < size; ++row)
        for (int px = 0; px < size; ++px) {
            picture[size_t(row * size + px)] = markerAt(art.sheet, kCellPixels * column + 2 * px, 2 * row);
        }
    SDL_UnlockSurface(art.sheet);
    const std::vector<int> lit = litExitPicture(picture, size, background);
    const SDL_Color bright = atariRgb(art.palette, colours[2]);
    const Uint32 colour = SDL_MapRGB(target->format, bright.r, bright.g, bright.b);
    for (int row = 0; row < size; ++row)
        for (int px = 0; px < size; ++px)
            if (lit[size_t(row * size + px)] != picture[size_t(row * size + px)])
                fillArea(target, {Sint16(x + 2 * px), Sint16(y + 2 * row), 2, 2}, colour);
}

namespace {

void drawCells(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet, const LevelData& level, int x, int y)
{
    for (int row = 0; row < kLevelRows; ++row)
        for (int column = 0; column < kLevelColumns; ++column)
            drawCell(target, art, levelSheet, level.wzorek, level.cells[column][row], x + kCellPixels * column,
                     y + kCellPixels * row);
}

} // namespace

void drawLevel(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet, const LevelData& level, int x,
               int y, int scale)
{
    if (scale <= 1) {
        drawCells(target, art, levelSheet, level, x, y);
        return;
    }
    // Drawn once at its own size over what lies there, then every pixel
    // becomes a scale x scale square.
    const int width = levelPixelWidth(1), height = levelPixelHeight(1);
    SurfacePtr unscaled(SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, target->format->BitsPerPixel,
                                             target->format->Rmask, target->format->Gmask, target->format->Bmask,
                                             target->format->Amask));
    if (!unscaled)
        return;
    // What lies at (x, y) shows between the digits of cells without a picture.
    SDL_Rect under = {Sint16(x), Sint16(y), Uint16(width), Uint16(height)};
    SDL_UpperBlit(target, &under, unscaled.get(), nullptr);
    drawCells(unscaled.get(), art, levelSheet, level, 0, 0);
    const bool lockTarget = SDL_MUSTLOCK(target);
    if (lockTarget && SDL_LockSurface(target) != 0)
        return;
    scaleArea(unscaled.get(), {0, 0, Uint16(width), Uint16(height)}, target, scale, x, y);
    if (lockTarget)
        SDL_UnlockSurface(target);
}

void drawLevelReduced(SDL_Surface* target, const TileArt& art, SDL_Surface* levelSheet, const LevelData& level,
                      int x, int y, int divisor)
{
    const int width = levelPixelWidth(1), height = levelPixelHeight(1);
    SurfacePtr whole = newSheetSurface(width, height);
    if (!whole || divisor < 1)
        return;
    const SDL_Color under = atariRgb(art.palette, level.colours[4]);
    fillArea(whole.get(), {0, 0, Uint16(width), Uint16(height)}, SDL_MapRGB(whole->format, under.r, under.g, under.b));
    drawLevel(whole.get(), art, levelSheet, level, 0, 0);
    SDL_LockSurface(whole.get());
    if (SDL_MUSTLOCK(target))
        SDL_LockSurface(target);
    const SDL_Rect& clip = target->clip_rect;
    const int area = divisor * divisor;
    for (int row = 0; row < height / divisor; ++row)
        for (int column = 0; column < width / divisor; ++column) {
            const int px = x + column, py = y + row;
            if (px < clip.x || py < clip.y || px >= clip.x + clip.w || py >= clip.y + clip.h)
                continue;
            int r = 0, g = 0, b = 0;
            for (int dy = 0; dy < divisor; ++dy) {
                const Uint32* line = static_cast<const Uint32*>(whole->pixels) +
                                     (row * divisor + dy) * whole->pitch / 4 + column * divisor;
                for (int dx = 0; dx < divisor; ++dx) {
                    r += line[dx] >> 16 & 0xFF;
                    g += line[dx] >> 8 & 0xFF;
                    b += line[dx] & 0xFF;
                }
            }
            putpixel(target, px, py,
                     SDL_MapRGB(target->format, Uint8(r / area), Uint8(g / area), Uint8(b / area)));
        }
    if (SDL_MUSTLOCK(target))
        SDL_UnlockSurface(target);
    SDL_UnlockSurface(whole.get());
}

SDL_Color atariRgb(SDL_Surface* palette, int atariColour)
{
    SDL_Color c = {0, 0, 0, 0};
    const int x = atariColour & 0xF0;
    const int y = (atariColour & 0x0F) * 8;
    if (!palette || x >= palette->w || y >= palette->h)
        return c;
    SDL_GetRGB(getpixel(palette, x, y), palette->format, &c.r, &c.g, &c.b);
    return c;
}
