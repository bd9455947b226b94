// The tile set: pictures, codes and meanings read from text art, and what
// the editor is given from it (the sheet, its configuration and a table).
#pragma once

#include "tools/image.h"

#include <string>
#include <vector>

namespace tiles {

constexpr int pictureSize = 8; // picture pixels per side
constexpr int scale = 2; // sheet pixels per picture pixel
constexpr int tileSize = pictureSize * scale;
constexpr int maxSheetColumns = 64;
constexpr int paletteWidth = 5; // entries per palette row
constexpr int maxPaletteEntries = 130;
constexpr int wallPatterns = 8;

// The fixed RGB colours the editor replaces by a level's colour registers:
// marker k takes register k.
constexpr int markerCount = 6;
constexpr Rgb markers[markerCount] = {
    {44, 46, 44}, {156, 158, 156}, {244, 242, 244}, {76, 74, 76}, {0, 0, 0}, {100, 102, 100}};
constexpr int backgroundMarker = 4;
constexpr int playerMarker = 5;

} // namespace tiles

enum class TileRole { none, wall, eraser, screw, player };

struct Tile
{
    int code = -1;
    std::string name;
    TileRole role = TileRole::none;
    std::string meaning;
    int line = 0; // of the header in the source, for messages
    // Each picture is pictureSize rows of pictureSize art characters, row
    // after row: '.' is the background, '0' to '5' the markers.
    std::vector<std::string> pictures;
};

// Tiles in sheet order. Every tile's palette entry equals its sheet column,
// which equals its place in the list; the wall comes last so that its
// further patterns follow it without leaving holes in the palette.
struct TileSet
{
    std::vector<Tile> tiles;

    int sheetColumns() const;
    const Tile& withRole(TileRole role) const;
};

// Reads and checks the text art. On failure returns false and sets `error`
// to "FILE:LINE: what is wrong".
bool parseTileSet(const std::string& text, const std::string& fileName, TileSet& set, std::string& error);

Image renderSheet(const TileSet& set);
std::string tilesConfig(const TileSet& set);
std::string tilesTable(const TileSet& set);
