// Loading the editor's two bitmaps: any BMP that SDL's loader reads (1, 4,
// 8, 16, 24 or 32 bits, top-down or bottom-up) becomes one known 32-bit
// format, checked against the sizes the editor can use before anything large
// is decoded.
#pragma once

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

// Sizes a sheet may have, in pixels; rows below `keptRows` are dropped.
struct SheetLimits {
    int minWidth, minHeight;
    int maxWidth, maxHeight;
    int keptRows;
};

// One row of 16 x 16 pictures, at most 256 of them; only the top 16 rows
// are ever shown.
constexpr SheetLimits kTileSheetLimits = {16, 16, 4096, 256, 16};
// One pixel per Atari colour: 16 hues across, 8 luminances down.
constexpr SheetLimits kPaletteLimits = {16, 8, 16, 8, 8};

// The largest BMP file either sheet may be: the biggest allowed picture at
// 32 bits with room for headers and a colour table.
constexpr size_t kSheetReadLimit = 4096u * 256u * 4u + 65536u;

// A new surface in the sheets' format: 32 bits, red in bits 16..23, green
// in 8..15, blue in 0..7, no alpha. Null when it cannot be made.
SurfacePtr newSheetSurface(int width, int height);

// Decodes the BMP in `data` and converts it to the sheets' format, copying
// pixels as they are (no alpha blending, no colour key). A picture outside
// `limits` is refused by the size its header gives, before decoding. On
// failure returns null and sets `error`, which names `name`, the size found
// and the size allowed.
SurfacePtr loadSheet(const uint8_t* data, size_t size, const std::string& name,
                     const SheetLimits& limits, std::string& error);

// The sheet `name` from the first of `dataDirs` that holds it, read and
// decoded as loadSheet does. On failure returns null and adds a line to
// `errors` naming the file (or the places searched) and why.
SurfacePtr loadDataSheet(const char* name, const SheetLimits& limits, const std::vector<std::string>& dataDirs,
                         std::string& errors);
// paleta.bmp the same way, scaled 16 times: the Atari colour v lies at
// (v & 0xF0, (v & 0x0F) * 8).
SurfacePtr loadPaletteSheet(const std::vector<std::string>& dataDirs, std::string& errors);
