// Reading the tile palette configuration ("tiles.cfg"): the wall, eraser and
// screw codes and the palette records, parsed from text with no side effects.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The palette is 5 entries wide and 26 rows deep; entry e sits at column
// e % 5 of row e / 5.
constexpr int kPaletteColumns = 5;
constexpr int kPaletteRows = 26;
constexpr int kPaletteEntries = kPaletteColumns * kPaletteRows;

// One palette entry: at (column, row) of the 5-wide palette it draws `code`
// and shows sheet column `image` (-1: no picture, shown as its code in hex).
struct TileRecord {
    int column, row, code, image;
    int line; // 1-based line where the record starts
};

struct TilesConfig {
    int murek = -1, gumka = -1, sruba = -1; // tile codes; -1 when missing or invalid
    std::vector<TileRecord> records;        // in file order; later ones win when applied
    std::vector<std::string> warnings;      // "NAME:LINE: ...", one per ignored key or record
};

// Far more than a full palette's worth; a larger file is not a tiles.cfg.
constexpr size_t kTilesConfigReadLimit = 1 << 20;

// The file is read the way formatted input reads "murek:%d\n", "gumka:%d\n",
// "sruba:%d\n" and then "%d,%d:%d,%d\n" repeatedly: key words and separators
// must follow the preceding text directly, numbers may have white space before
// them, and a line may end in any white space. The records end at the first
// one that breaks off or holds -1 as its column, row or code. Records out of
// range are skipped with a warning; `sourceName` names the file in warnings.
// A UTF-8 byte order mark before the first key is skipped.
TilesConfig parseTilesConfig(const std::string& text, const std::string& sourceName);

// What the records make of the tile codes: the sheet column each code shows
// (-1: none; a later record for the same code wins) and the wall's column.
struct TileColumns {
    int columns[256];
    int murekColumn = -1;
};
TileColumns tileColumnsOf(const TilesConfig& config);
