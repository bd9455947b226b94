// Feeds any bytes to the sheet loader (SDL's BMP reader, then our size
// checks and conversion) as tiles.bmp and as paleta.bmp, and uses what it
// accepts the way the editor does: a palette scaled by 16 and read by the
// colour rule, a tile sheet copied and recoloured.
#include "render/funkcje.h"
#include "render/sheet.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool inLimits(const SDL_Surface* sheet, const SheetLimits& limits)
{
    return sheet->w >= limits.minWidth && sheet->w <= limits.maxWidth &&
           sheet->h >= 1 && sheet->h <= limits.keptRows && sheet->h <= limits.maxHeight;
}

bool sheetFormat(const SDL_Surface* sheet)
{
    const SDL_PixelFormat* f = sheet->format;
    return f->BytesPerPixel == 4 && f->Rmask == 0xFF0000 && f->Gmask == 0xFF00 &&
           f->Bmask == 0xFF && f->Amask == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SurfacePtr palette;
    Error error = loadSheet(data, size, "paleta.bmp", kPaletteLimits, palette);
    check(!palette != !error);
    if (palette) {
        check(inLimits(palette.get(), kPaletteLimits) && sheetFormat(palette.get()));
        SurfacePtr scaled(resize(palette.get(), nullptr, 16));
        check(scaled && scaled->w == 256 && scaled->h == 128);
        for (int v = 0; v < 256; ++v)
            check(getpixel(scaled.get(), v & 0xF0, (v & 0x0F) * 8) ==
                  getpixel(palette.get(), v >> 4, (v & 0x0F) / 2));
    }

    SurfacePtr tiles;
    error = loadSheet(data, size, "tiles.bmp", kTileSheetLimits, tiles);
    check(!tiles != !error);
    if (tiles) {
        check(inLimits(tiles.get(), kTileSheetLimits) && sheetFormat(tiles.get()));
        SurfacePtr colours = newSheetSurface(256, 128);
        SurfacePtr copy(bmpCopy(tiles.get(), nullptr));
        check(colours && copy);
        const int registers[6] = {0x46, 0x94, 0x0F, 0x28, 0xC6, 0x3A};
        recolor(tiles.get(), copy.get(), registers, colours.get());
    }
    return 0;
}
