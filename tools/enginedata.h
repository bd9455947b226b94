// The game's character sets and tile tables, made from the very pictures and
// glyphs the editor shows (tiles.bmp, tiles.cfg and the editor's font), so
// that nothing is drawn twice by hand.
#pragma once

#include "core/tilesconfig.h"
#include "tools/tileset.h"
#include "tools/image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace enginedata {
constexpr int charBytes = 8;
constexpr int charsetSize = 1024; // 128 characters
constexpr int maxColumns = 64; // two characters per sheet column
constexpr int tileMapSize = 256; // one byte per tile code
constexpr int robotCode = 0x04;
constexpr int exitCode = 0x03;
// Pictures the game makes beside the sheet's take its last columns: the
// laser beams (up and down, across, both) and the open exit, made from the
// exit's. The sheet's own columns must leave them free.
constexpr int beamColumn = maxColumns - 4;
constexpr int openExitColumn = maxColumns - 1;
constexpr int firstGameColumn = beamColumn;
constexpr int beamLine = 3; // picture row and column of a beam's line
constexpr std::uint8_t usesMarker3 = 0x80; // the inverse bit: PF3 in place of PF2
} // namespace enginedata

struct EngineData
{
    // ANTIC mode 5 characters: sheet column c is characters 2c (left half)
    // and 2c + 1 (right half), two bits a pixel: 00 background, 01 marker 0,
    // 10 marker 1, 11 marker 2 or 3 (and the robot's own marker 5).
    std::vector<std::uint8_t> tiles;
    // For each tile code the character of its left half, with the inverse
    // bit when its picture uses marker 3; 0 (the floor) for codes with no
    // picture. The wall maps to its first pattern.
    std::vector<std::uint8_t> tileMap;
    // The robot's picture as 8 rows of 8 bits, bit 7 leftmost, a bit for
    // every pixel that is not background.
    std::vector<std::uint8_t> robot;
    // ANTIC mode 2 characters by screen code 0..127: the editor's glyph of
    // the editor code each screen code is read back as.
    std::vector<std::uint8_t> font;
    // Tile map byte of the open exit, at openExitColumn: the exit's picture
    // lit up, every background pixel it encloses and every marker 3 pixel
    // turned to marker 2, its brightest (or, when that changes nothing,
    // every pixel that is not background).
    std::uint8_t openExit = 0;
    // Tile map bytes of the beams' pictures: a line of marker 2 pixels down
    // picture column beamLine, across picture row beamLine, and both.
    std::uint8_t beamV = 0, beamH = 0, beamX = 0;
};

// `sheet` is tiles.bmp (16 x 16 pictures side by side, every picture pixel a
// 2 x 2 block in the marker colours), `config` its palette configuration and
// `glyphs` the editor's 256 glyphs. On failure returns false and sets
// `error`, naming `sheetName` and the pixel or tile at fault.
bool buildEngineData(const Image& sheet, const std::string& sheetName, const TilesConfig& config,
                     const unsigned char* glyphs, EngineData& data, std::string& error);

// The engine's include files, so that its numbers come from the sources the
// editor uses. tiles.inc: T_NAME = code for every tile of `set` (NAME its
// name in capitals, "-" dropped before a digit and "_" elsewhere; the first
// of a numbered or directed group, "-1" or "-up", also gives the group's
// name alone), EXIT_OPEN_MAP, the tile map byte of the open exit, and
// BEAM_V_MAP, BEAM_H_MAP, BEAM_X_MAP, those of the beams.
// Returns false with `error` set when the set's robot or exit codes are not
// the ones the pictures are made for.
bool engineTilesInclude(const TileSet& set, const EngineData& data, std::string& text, std::string& error);
// level.inc: the level's size and its bytes in the game's memory, from the
// editor's own constants (core/gameimage.h).
std::string engineLevelInclude();
