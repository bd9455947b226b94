// Loading the editor's two bitmaps: any BMP that SDL's loader reads (1, 4,
// 8, 16, 24 or 32 bits, top-down or bottom-up) becomes one known 32-bit
// format, checked against the sizes the editor can use before anything large
// is decoded.
#pragma once

#include "core/error.h"
#include "core/tilesetup.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
// The one owner of a surface: freed once, when it goes.
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A new surface in the sheets' format: 32 bits, red in bits 16..23, green
// in 8..15, blue in 0..7, no alpha. Null when it cannot be made.
SurfacePtr newSheetSurface(int width, int height);

// Decodes the BMP in `data` into `sheet`, converted to the sheets' format,
// copying pixels as they are (no alpha blending, no colour key). A picture
// outside `limits` is refused by the size its header gives, before
// decoding. The error names `name`.
Error loadSheet(const uint8_t* data, size_t size, const std::string& name, const SheetLimits& limits,
                SurfacePtr& sheet);

// The sheet `name` from the first of `dataDirs` that holds it, read and
// decoded as loadSheet does; `foundAt`, when given, is where it was found.
Error loadDataSheet(const char* name, const SheetLimits& limits, const std::vector<std::string>& dataDirs,
                    SurfacePtr& sheet, std::string* foundAt = nullptr);

// The two bitmaps as the window and export draw with them: tiles.bmp as
// loaded, and paleta.bmp scaled 16 times, so that the Atari colour v lies
// at (v & 0xF0, (v & 0x0F) * 8).
struct TileSheets {
    SurfacePtr tiles, palette;
    // Each file refused, and a tile sheet too narrow for the columns the
    // tile setup names: the window does not start with any of them.
    std::vector<Error> errors;
    bool ok() const { return tiles && palette && errors.empty(); }
};
TileSheets loadTileSheets(const std::vector<std::string>& dataDirs, const TileSetup& setup);
