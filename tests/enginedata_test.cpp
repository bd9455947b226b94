// The game's character sets and tile tables made by `zelbun-gendata engine`:
// decoded back, they must show what the editor shows.
#include "core/atari.h"
#include "core/game.h"
#include "core/gameimage.h"
#include "core/glyphs.h"
#include "core/tilesconfig.h"
#include "tests/portable.h"

#include <SDL.h>
#include <SDL_gfxPrimitives_font.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path dataDir = fs::path(ZELBUN_SOURCE_DIR) / "data";
const fs::path generator = fs::u8path(portable::programPath(ZELBUN_BINARY_DIR, "zelbun-gendata"));

Bytes readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

struct TempDir
{
    fs::path path;
    TempDir() : path(fs::u8path(portable::makeTempDir("zelbun-engine"))) {}
    ~TempDir() { fs::remove_all(path); }
};

int runEngineGenerator(const fs::path& data, const fs::path& out, std::string& errors)
{
    const fs::path errorFile = fs::u8path(out.u8string() + ".err");
    const int status =
        portable::runProgram({generator.u8string(), "engine", data.u8string(), out.u8string()}, errorFile.u8string());
    const Bytes text = readFile(errorFile);
    errors.assign(text.begin(), text.end());
    fs::remove(errorFile);
    return status;
}

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// Marker colours of the sheet; the game's two-bit value of each (marker 3
// is marker 2's value shown through the inverse bit).
const SDL_Color markers[6] = {{44, 46, 44, 0}, {156, 158, 156, 0}, {244, 242, 244, 0},
                              {76, 74, 76, 0}, {0, 0, 0, 0},       {100, 102, 100, 0}};
const int markerBits[6] = {1, 2, 3, 3, 0, 3};

int markerAt(SDL_Surface* sheet, int x, int y)
{
    const auto* p = static_cast<const std::uint8_t*>(sheet->pixels) + y * sheet->pitch + x * 3;
    Uint8 r, g, b;
    SDL_GetRGB(p[0] | p[1] << 8 | p[2] << 16, sheet->format, &r, &g, &b);
    for (int k = 0; k < 6; ++k)
        if (markers[k].r == r && markers[k].g == g && markers[k].b == b)
            return k;
    return -1;
}

// Two-bit pixel (x, y) of the 8 x 8 picture whose left half is character ch.
int charPixel(const Bytes& charset, int ch, int x, int y)
{
    const std::uint8_t row = charset[(ch + x / 4) * 8 + y];
    return row >> (6 - 2 * (x % 4)) & 3;
}

// NAME = VALUE lines of a ca65 include ($hex or decimal), comments skipped.
std::map<std::string, int> includeValues(const Bytes& text)
{
    std::map<std::string, int> values;
    std::istringstream in(std::string(text.begin(), text.end()));
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find(';'));
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::istringstream name(line.substr(0, equals));
        std::string symbol, number;
        name >> symbol;
        std::istringstream(line.substr(equals + 1)) >> number;
        values[symbol] = number[0] == '$' ? std::stoi(number.substr(1), nullptr, 16) : std::stoi(number);
    }
    return values;
}

} // namespace

// The engine's include files carry the editor's numbers: the level's size
// and its bytes in memory as the editor writes them, the order table's
// entries, the tile codes of the editor's tile set (the wall, the eraser
// and the screw of tiles.cfg among them), the open exit's picture, which
// is the exit's lit up, and the beams' thin lines.
TEST(EngineData, IncludesCarryTheEditorsNumbers)
{
    TempDir temp;
    std::string errors;
    ASSERT_EQ(runEngineGenerator(dataDir, temp.path / "out", errors), 0) << errors;
    std::map<std::string, int> level = includeValues(readFile(temp.path / "out" / "level.inc"));
    std::map<std::string, int> tile = includeValues(readFile(temp.path / "out" / "tiles.inc"));

    EXPECT_EQ(level["LEVEL_W"], kLevelColumns);
    EXPECT_EQ(level["LEVEL_H"], kLevelRows);
    EXPECT_EQ(level["LEVEL_CELLS"], kLevelColumns * kLevelRows);
    EXPECT_EQ(level["LEVELS"], 0x5000);
    EXPECT_EQ(level["LEVEL_STRIDE"], 0x200);
    EXPECT_EQ(level["LV_SLOT"], 496);
    EXPECT_EQ(level["LV_SCREWS"], 497);
    EXPECT_EQ(level["LV_COLORS"], 498);
    EXPECT_EQ(level["LV_BYTES"], int(kSegmentSize) - 4);
    EXPECT_EQ(level["COLOR_REGISTERS"], kColourRegisters);
    EXPECT_EQ(level["ORDER_FIRST"], 0x80);
    EXPECT_EQ(level["ORDER_SLOTS"], kLevelSlots);
    // The level segment of slot 5, as the editor writes it, loads to the
    // engine's address of slot 5, the bytes where the engine reads them.
    LevelData data;
    data.on = true;
    data.srubki = 42;
    data.wzorek = 3;
    data.colours[0] = 0x36;
    const TextPage pages[2] = {};
    const std::vector<uint8_t> image = writeTestImage(embeddedTemplate().data(), kTemplateSize, data, 5, pages);
    const size_t segment = kLevelListOffset;
    EXPECT_EQ(image[segment] | image[segment + 1] << 8, level["LEVELS"] + 5 * level["LEVEL_STRIDE"]);
    EXPECT_EQ((image[segment + 2] | image[segment + 3] << 8) - (image[segment] | image[segment + 1] << 8) + 1,
              level["LV_BYTES"]);
    EXPECT_EQ(image[segment + 4 + level["LV_SLOT"]], 5 + 32 * 3);
    EXPECT_EQ(image[segment + 4 + level["LV_SCREWS"]], 0x42);
    EXPECT_EQ(image[segment + 4 + level["LV_COLORS"]], 0x36);
    EXPECT_EQ(image[kOrderTableOffset], level["ORDER_FIRST"] + 5);

    const Bytes configText = readFile(dataDir / "tiles.cfg");
    const TilesConfig config = parseTilesConfig(std::string(configText.begin(), configText.end()), "tiles.cfg");
    EXPECT_EQ(tile["T_WALL"], config.murek);
    EXPECT_EQ(tile["T_FLOOR"], config.gumka);
    EXPECT_EQ(tile["T_SCREW"], config.sruba);
    EXPECT_EQ(tile["T_ROBOT"], 0x04);
    EXPECT_EQ(tile["T_EXIT"], 0x03);
    EXPECT_EQ(tile["T_KEY"], tile["T_KEY1"]);
    EXPECT_EQ(tile["T_LASER"], tile["T_LASER_UP"]);
    EXPECT_EQ(tile["T_LASER_LEFT"], tile["T_LASER"] + 3);
    for (const TileRecord& record : config.records) {
        bool named = false;
        for (const auto& [symbol, code] : tile)
            named = named || (symbol.rfind("T_", 0) == 0 && code == record.code);
        EXPECT_TRUE(named) << "code " << record.code << " of tiles.cfg has no name";
    }

    const Bytes tiles = readFile(temp.path / "out" / "tiles.fnt");
    const Bytes tileMap = readFile(temp.path / "out" / "tilemap.bin");
    const int open = tile["EXIT_OPEN_MAP"], shut = tileMap[tile["T_EXIT"]];
    ASSERT_NE(open & 0x7F, shut & 0x7F) << "the open exit has its own picture";
    // Lit up: the frame (markers 0 and 1) and the outside stay, the leaf
    // stays bright and the dark inside turns bright too.
    int shutBright = 0, openBright = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int was = charPixel(tiles, shut & 0x7F, x, y), is = charPixel(tiles, open & 0x7F, x, y);
            if (was == 0)
                EXPECT_TRUE(is == 0 || is == 3) << x << "," << y;
            else
                EXPECT_EQ(is, was) << x << "," << y;
            shutBright += was == 3;
            openBright += is == 3;
        }
    EXPECT_EQ(charPixel(tiles, open & 0x7F, 0, 0), 0) << "the outside stays background";
    EXPECT_GT(shutBright, 0) << "the shut exit has a leaf";
    EXPECT_GE(openBright, shutBright + 8) << "the open exit is brighter";

    // The beams: a line of the brightest colour, down the middle, across,
    // or both; nothing else.
    for (const char* name : {"BEAM_V_MAP", "BEAM_H_MAP", "BEAM_X_MAP"}) {
        const int ch = tile[name];
        ASSERT_EQ(ch & 0x80, 0) << name;
        const bool down = name[5] != 'H', across = name[5] != 'V';
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(charPixel(tiles, ch, x, y), (down && x == 3) || (across && y == 3) ? 3 : 0)
                    << name << " " << x << "," << y;
    }
    EXPECT_EQ(tile["BEAM_H_MAP"], tile["BEAM_V_MAP"] + 2) << "the game takes the beams as a row";
    EXPECT_EQ(tile["BEAM_X_MAP"], tile["BEAM_V_MAP"] + 4);
}

// Every tile of the default palette, decoded from the game's character set
// through its tile map, gives back the sheet's picture; the robot's player
// shape covers its picture; the text font carries the editor's glyphs at
// the screen codes the pages are saved in.
TEST(EngineData, AgreesWithTheSheetAndTheEditorFont)
{
    TempDir temp;
    std::string errors;
    ASSERT_EQ(runEngineGenerator(dataDir, temp.path / "out", errors), 0) << errors;
    const Bytes tiles = readFile(temp.path / "out" / "tiles.fnt");
    const Bytes tileMap = readFile(temp.path / "out" / "tilemap.bin");
    const Bytes robot = readFile(temp.path / "out" / "robot.bin");
    const Bytes font = readFile(temp.path / "out" / "font.fnt");
    ASSERT_EQ(tiles.size(), 1024u);
    ASSERT_EQ(tileMap.size(), 256u);
    ASSERT_EQ(robot.size(), 8u);
    ASSERT_EQ(font.size(), 1024u);

    SurfacePtr sheet(SDL_LoadBMP((dataDir / "tiles.bmp").string().c_str()), SDL_FreeSurface);
    ASSERT_TRUE(sheet && sheet->format->BytesPerPixel == 3) << SDL_GetError();
    const Bytes configText = readFile(dataDir / "tiles.cfg");
    const TilesConfig config = parseTilesConfig(std::string(configText.begin(), configText.end()), "tiles.cfg");
    std::vector<int> columnOf(256, -1);
    for (const TileRecord& record : config.records)
        columnOf[record.code] = record.image;

    auto picture = [&](int column, int x, int y) { return markerAt(sheet.get(), column * 16 + 2 * x, 2 * y); };
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE("tile code " + std::to_string(code));
        const int column = columnOf[code];
        if (column < 0) {
            EXPECT_EQ(tileMap[code], 0) << "a code with no picture shows the floor";
            continue;
        }
        EXPECT_EQ(tileMap[code] & 0x7F, 2 * column);
        bool usesMarker3 = false;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int marker = picture(column, x, y);
                ASSERT_GE(marker, 0);
                usesMarker3 = usesMarker3 || marker == 3;
                ASSERT_EQ(charPixel(tiles, tileMap[code] & 0x7F, x, y), markerBits[marker]) << x << "," << y;
            }
        EXPECT_EQ((tileMap[code] & 0x80) != 0, usesMarker3);
    }
    // Known pictures: the screw at column 2 in marker 2, the key 3 in marker 3.
    EXPECT_EQ(tileMap[0x10], 4);
    EXPECT_EQ(tileMap[0x22], 0x80 | 24);
    // The eight wall patterns follow the first one, each its own picture.
    ASSERT_EQ(config.murek, 1);
    for (int p = 0; p < 8; ++p)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(charPixel(tiles, tileMap[1] + 2 * p, x, y), markerBits[picture(columnOf[1] + p, x, y)]);

    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ((robot[y] >> (7 - x) & 1) != 0, picture(columnOf[4], x, y) != 4) << x << "," << y;

    auto glyph = [&](int screenCode) { return Bytes(font.begin() + screenCode * 8, font.begin() + screenCode * 8 + 8); };
    EXPECT_EQ(glyph(0), Bytes(8, 0)) << "space";
    EXPECT_EQ(glyph(33), Bytes(gfxPrimitivesFontdata + 'A' * 8, gfxPrimitivesFontdata + 'A' * 8 + 8));
    EXPECT_EQ(glyph(16), Bytes(gfxPrimitivesFontdata + '0' * 8, gfxPrimitivesFontdata + '0' * 8 + 8));
    EXPECT_EQ(glyph(32), (Bytes{0x00, 0x00, 0x78, 0x0C, 0x7C, 0xCC, 0x76, 0x06})) << "a with ogonek";
    EXPECT_EQ(glyph(124), (Bytes{0x00, 0x18, 0x7E, 0x4C, 0x18, 0x32, 0x7E, 0x00})) << "z with dot above";
    EXPECT_EQ(glyph(90), Bytes(8, 0x7E)) << "bar";
    EXPECT_EQ(glyph(15), (Bytes{0x7C, 0xC6, 0xDE, 0xF6, 0xDE, 0xC6, 0x7C, 0x00})) << "@";
    EXPECT_EQ(glyph(97), Bytes(gfxPrimitivesFontdata + 'a' * 8, gfxPrimitivesFontdata + 'a' * 8 + 8));
}

// A sheet with a colour that is none of the markers is refused with the
// file and the pixel named, and nothing is written.
TEST(EngineData, RefusesASheetOutsideTheMarkers)
{
    TempDir temp;
    fs::create_directory(temp.path / "data");
    fs::copy_file(dataDir / "tiles.cfg", temp.path / "data" / "tiles.cfg");
    Bytes bmp = readFile(dataDir / "tiles.bmp");
    ASSERT_GT(bmp.size(), 54u);
    // The top row is stored last: its first pixel gets a stray colour.
    const std::size_t width = bmp[18] | bmp[19] << 8;
    const std::size_t topRow = bmp.size() - ((width * 3 + 3) & ~std::size_t(3));
    bmp[topRow] = 1;
    std::ofstream(temp.path / "data" / "tiles.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), std::streamsize(bmp.size()));
    std::string errors;
    EXPECT_EQ(runEngineGenerator(temp.path / "data", temp.path / "out", errors), 1);
    EXPECT_NE(errors.find("tiles.bmp: pixel 0,0"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(temp.path / "out"));
}
