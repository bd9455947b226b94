#include "tools/enginedata.h"

#include "core/atari.h"
#include "core/gameimage.h"
#include "core/openexit.h"
#include "tools/tileset.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

namespace {

using namespace enginedata;
using Bytes = std::vector<std::uint8_t>;

constexpr int pixelsPerChar = 4; // mode 5: four two-bit pixels a byte

// The two-bit value of each marker in a mode 5 character; -1 for none.
int markerBits(int marker)
{
    switch (marker) {
    case 4: return 0; // background
    case 0: return 1;
    case 1: return 2;
    case 2:
    case 3:
    case 5: return 3; // marker 3 differs from 2 only by the inverse bit
    }
    return -1;
}

int markerAt(const Image& sheet, int x, int y)
{
    const Rgb c = sheet.at(x, y);
    for (int k = 0; k < tiles::markerCount; ++k)
        if (tiles::markers[k] == c)
            return k;
    return -1;
}

// Marker of every picture pixel of sheet column `column`, row after row.
bool readPicture(const Image& sheet, const std::string& sheetName, int column, std::vector<int>& markers,
                 std::string& error)
{
    markers.assign(tiles::pictureSize * tiles::pictureSize, 0);
    for (int y = 0; y < tiles::pictureSize; ++y)
        for (int x = 0; x < tiles::pictureSize; ++x) {
            const int sx = column * tiles::tileSize + x * tiles::scale, sy = y * tiles::scale;
            const int marker = markerAt(sheet, sx, sy);
            if (marker < 0) {
                const Rgb c = sheet.at(sx, sy);
                error = sheetName + ": pixel " + std::to_string(sx) + "," + std::to_string(sy) + " (" +
                        std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) +
                        ") is not one of the marker colours";
                return false;
            }
            markers[y * tiles::pictureSize + x] = marker;
        }
    return true;
}

// Writes the picture (markers row by row) as the two characters of sheet
// column `column`; true when it uses marker 3.
bool drawPicture(Bytes& charset, int column, const std::vector<int>& picture)
{
    bool marker3 = false;
    for (int y = 0; y < tiles::pictureSize; ++y)
        for (int x = 0; x < tiles::pictureSize; ++x) {
            const int marker = picture[y * tiles::pictureSize + x];
            marker3 = marker3 || marker == 3;
            const int ch = 2 * column + x / pixelsPerChar;
            const int shift = 2 * (pixelsPerChar - 1 - x % pixelsPerChar);
            charset[ch * charBytes + y] |= std::uint8_t(markerBits(marker) << shift);
        }
    return marker3;
}

std::string hexByte(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "$%02X", value & 0xFF);
    return text;
}

std::string symbolOf(const std::string& name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '-') {
            if (i + 1 < name.size() && std::isdigit(static_cast<unsigned char>(name[i + 1])))
                continue;
            out += '_';
        } else {
            out += char(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

} // namespace

bool buildEngineData(const Image& sheet, const std::string& sheetName, const TilesConfig& config,
                     const unsigned char* glyphs, EngineData& data, std::string& error)
{
    if (sheet.height < tiles::tileSize || sheet.width < tiles::tileSize) {
        error = sheetName + ": smaller than one 16 x 16 picture";
        return false;
    }
    const int columns = std::min(sheet.width / tiles::tileSize, maxColumns);
    EngineData out;
    out.tiles.assign(charsetSize, 0);
    if (columns > firstGameColumn) {
        error = sheetName + ": more than " + std::to_string(firstGameColumn) +
                " pictures; the game keeps its last characters for the beams and the open exit";
        return false;
    }
    std::vector<bool> marker3(columns, false);
    std::vector<std::vector<int>> pictures(columns);
    for (int column = 0; column < columns; ++column) {
        if (!readPicture(sheet, sheetName, column, pictures[column], error))
            return false;
        marker3[column] = drawPicture(out.tiles, column, pictures[column]);
    }

    // Codes take their sheet column from the configuration, later records
    // winning as in the editor.
    std::vector<int> columnOf(tileMapSize, -1);
    for (const TileRecord& record : config.records)
        if (record.code >= 0 && record.code < tileMapSize)
            columnOf[record.code] = record.image;
    out.tileMap.assign(tileMapSize, 0);
    for (int code = 0; code < tileMapSize; ++code) {
        const int column = columnOf[code];
        if (column < 0 || column >= columns)
            continue;
        out.tileMap[code] = std::uint8_t(2 * column | (marker3[column] ? usesMarker3 : 0));
    }
    if (config.murek >= 0 && config.murek < tileMapSize) {
        const int column = columnOf[config.murek];
        if (column < 0 || column + tiles::wallPatterns > columns) {
            error = sheetName + ": the wall's " + std::to_string(tiles::wallPatterns) +
                    " patterns do not fit the sheet";
            return false;
        }
        // Patterns of one level share the inverse bit: none of them may use marker 3.
        for (int p = 0; p < tiles::wallPatterns; ++p)
            if (marker3[column + p]) {
                error = sheetName + ": wall pattern " + std::to_string(p) + " uses marker 3";
                return false;
            }
    }

    const int robotColumn = columnOf[robotCode];
    if (robotColumn < 0 || robotColumn >= columns) {
        error = sheetName + ": the robot (code 4) has no picture";
        return false;
    }
    const int exitColumn = columnOf[exitCode];
    if (exitColumn < 0 || exitColumn >= columns) {
        error = sheetName + ": the exit (code 3) has no picture";
        return false;
    }
    drawPicture(out.tiles, openExitColumn,
                litExitPicture(pictures[exitColumn], tiles::pictureSize, tiles::backgroundMarker));
    out.openExit = std::uint8_t(2 * openExitColumn);
    const int beamMarker = 2;
    for (int k = 0; k < 3; ++k) {
        std::vector<int> beam(tiles::pictureSize * tiles::pictureSize, tiles::backgroundMarker);
        for (int i = 0; i < tiles::pictureSize; ++i) {
            if (k != 1)
                beam[i * tiles::pictureSize + beamLine] = beamMarker;
            if (k != 0)
                beam[beamLine * tiles::pictureSize + i] = beamMarker;
        }
        drawPicture(out.tiles, beamColumn + k, beam);
    }
    out.beamV = std::uint8_t(2 * beamColumn);
    out.beamH = std::uint8_t(2 * (beamColumn + 1));
    out.beamX = std::uint8_t(2 * (beamColumn + 2));

    out.robot.assign(tiles::pictureSize, 0);
    for (int y = 0; y < tiles::pictureSize; ++y)
        for (int x = 0; x < tiles::pictureSize; ++x)
            if (pictures[robotColumn][y * tiles::pictureSize + x] != tiles::backgroundMarker)
                out.robot[y] |= std::uint8_t(0x80 >> x);

    out.font.assign(charsetSize, 0);
    for (int screen = 0; screen < charsetSize / charBytes; ++screen) {
        const int editor = atascii2ascii(screen);
        for (int row = 0; row < charBytes; ++row)
            out.font[screen * charBytes + row] = glyphs[editor * charBytes + row];
    }
    data = std::move(out);
    return true;
}

bool engineTilesInclude(const TileSet& set, const EngineData& data, std::string& text, std::string& error)
{
    std::string out = "; Tile codes of a level cell, made by zelbun-gendata from data/src/tiles.txt:\n"
                      "; change the codes there, never here.\n\n";
    bool robot = false, exit = false;
    for (const Tile& tile : set.tiles) {
        robot = robot || (tile.name == "robot" && tile.code == robotCode);
        exit = exit || (tile.name == "exit" && tile.code == exitCode);
        const std::string symbol = symbolOf(tile.name);
        out += "T_" + symbol + " = " + hexByte(tile.code) + "\n";
        for (const char* first : {"-1", "-up"}) {
            const std::string suffix = first;
            if (tile.name.size() > suffix.size() &&
                tile.name.compare(tile.name.size() - suffix.size(), suffix.size(), suffix) == 0)
                out += "T_" + symbolOf(tile.name.substr(0, tile.name.size() - suffix.size())) + " = " +
                       hexByte(tile.code) + "\n";
        }
    }
    if (!robot || !exit) {
        error = std::string("the tile set needs \"robot\" as code ") + std::to_string(robotCode) +
                " and \"exit\" as code " + std::to_string(exitCode) + ", which the game's pictures are made for";
        return false;
    }
    out += "\n; Tile map bytes of the pictures the game makes: the open exit, the beams.\n";
    out += "EXIT_OPEN_MAP = " + hexByte(data.openExit) + "\n";
    out += "BEAM_V_MAP = " + hexByte(data.beamV) + "\n";
    out += "BEAM_H_MAP = " + hexByte(data.beamH) + "\n";
    out += "BEAM_X_MAP = " + hexByte(data.beamX) + "\n";
    text = out;
    return true;
}

std::string engineLevelInclude()
{
    // Addresses and byte values in hex, counts in decimal.
    auto line = [](const char* name, unsigned value, bool hex, const char* why) {
        char number[16], text[160];
        std::snprintf(number, sizeof number, hex ? "$%X" : "%u", value);
        std::snprintf(text, sizeof text, *why ? "%-15s = %-6s ; %s\n" : "%-15s = %s\n", name, number, why);
        return std::string(text);
    };
    std::string out = "; The level as the game keeps it, made by zelbun-gendata from the editor's\n"
                      "; constants (core/gameimage.h): change them there, never here.\n\n";
    out += line("LEVEL_W", kLevelColumns, false, "cells a row");
    out += line("LEVEL_H", kLevelRows, false, "rows");
    out += line("LEVEL_CELLS", unsigned(kLevelCells), false, "cells row by row, column fastest");
    out += line("LEVELS", kLevelsAddress, true, "slot s is loaded at LEVELS + LEVEL_STRIDE * s");
    out += line("LEVEL_STRIDE", kLevelStride, true, "");
    out += line("LV_SLOT", unsigned(kLevelSlotByte), false, "slot number, wall pattern in bits 5..7");
    out += line("LV_SCREWS", unsigned(kLevelScrews), false, "screws to collect, packed BCD");
    out += line("LV_COLORS", unsigned(kLevelColours), false, "colour registers 0..5");
    out += line("LV_BYTES", unsigned(kLevelBytes), false, "bytes of a level");
    out += line("COLOR_REGISTERS", kColourRegisters, false, "");
    out += line("ORDER_FIRST", kOrderListed, true, "order table byte of slot 0");
    out += line("ORDER_SLOTS", kLevelSlots, false, "entries of the order table, and slots");
    return out;
}
