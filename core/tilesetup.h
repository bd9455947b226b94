// The tile setup the window and every command start from: tiles.cfg found
// in the data folders, read and checked, and the sizes of tiles.bmp and
// paleta.bmp checked against what it uses. The checks are pure functions
// over the configuration and pixel sizes; loading the pictures themselves
// is render/'s (render/sheet.h), on top of these.
#pragma once

#include "core/error.h"
#include "core/levelcheck.h"
#include "core/tilesconfig.h"

#include <cstddef>
#include <string>
#include <vector>

// A picture of the tile sheet is 16 x 16 pixels; sheet column k starts at x = 16k.
constexpr int kTileSheetCell = 16;

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

// Error() when a picture of `width` x `height` pixels fits `limits`; else
// the error naming `path`, the size found and the size allowed.
Error checkSheetSize(const std::string& path, long long width, long long height, const SheetLimits& limits);

// A key of tiles.cfg (the wall, the eraser, the screw) whose code the
// palette cannot draw. The editor still uses the code.
struct RoleProblem {
    const char* key;  // "murek", "gumka" or "sruba"
    int code;
    bool inPalette;   // an entry draws the code, but it has no picture
};

struct TileSetup {
    std::string path;  // the tiles.cfg read; "" when none was
    // Why nothing was read: Fault::notFound when no data folder holds a
    // tiles.cfg (`detail` names the folders), else why it could not be read.
    Error error;
    TilesConfig config;                // empty when nothing was read
    TileColumns columns;               // per tile code, the sheet column of its picture
    int entryCodes[kPaletteEntries];   // per palette entry, the code it draws; -1 none
    std::vector<RoleProblem> roles;

    // What the level checks know of the tile set; without a tiles.cfg,
    // nothing: every code counts as known and screws are not counted.
    LevelRules rules() const { return error ? LevelRules() : levelRules(config); }
    // The width of tile sheet that holds every column named, the wall's
    // eight patterns included; 0 when none is named.
    int sheetWidthNeeded() const;
};

// The setup that the text of a tiles.cfg read from `path` gives. Pure.
TileSetup tileSetupOf(const std::string& text, const std::string& path);
// The tiles.cfg at `path`, read and checked.
TileSetup readTileSetup(const std::string& path);
// The first tiles.cfg the data folders hold, read and checked.
TileSetup findTileSetup(const std::vector<std::string>& dataDirs);

// Error() when a tile sheet `width` pixels wide holds every column the
// setup names; else the error naming `path`.
Error checkSheetWidth(const std::string& path, int width, const TileSetup& setup);
