#include "tools/enginedata.h"

#include "core/atari.h"
#include "tools/tileset.h"

#include <algorithm>
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
    std::vector<bool> marker3(columns, false);
    std::vector<std::vector<int>> pictures(columns);
    for (int column = 0; column < columns; ++column) {
        if (!readPicture(sheet, sheetName, column, pictures[column], error))
            return false;
        for (int y = 0; y < tiles::pictureSize; ++y)
            for (int x = 0; x < tiles::pictureSize; ++x) {
                const int marker = pictures[column][y * tiles::pictureSize + x];
                marker3[column] = marker3[column] || marker == 3;
                const int ch = 2 * column + x / pixelsPerChar;
                const int shift = 2 * (pixelsPerChar - 1 - x % pixelsPerChar);
                out.tiles[ch * charBytes + y] |= std::uint8_t(markerBits(marker) << shift);
            }
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
