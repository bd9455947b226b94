// The default data in data/: that the generator reproduces it, and that the
// files keep the rules the editor and the game depend on.
#include "tools/bmp.h"
#include "tools/ico.h"
#include "tools/png.h"
#include "tests/portable.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path dataDir = fs::path(ZELBUN_SOURCE_DIR) / "data";
const fs::path generator = fs::u8path(portable::programPath(ZELBUN_BINARY_DIR, "zelbun-gendata"));
const char* const outputs[] = {"paleta.bmp", "tiles.bmp", "tiles.cfg", "TILES.md", "icon.bmp", "icon.png"};

// Codes stored in saved levels: renumbering them would break every game
// image already made.
constexpr int floorCode = 0x00, wallCode = 0x01, robotCode = 0x04, screwCode = 0x10;

const Rgb markers[6] = {{44, 46, 44}, {156, 158, 156}, {244, 242, 244}, {76, 74, 76}, {0, 0, 0}, {100, 102, 100}};

Bytes readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string readText(const fs::path& path)
{
    const Bytes bytes = readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

struct TempDir
{
    fs::path path;
    TempDir() : path(fs::u8path(portable::makeTempDir("zelbun-data"))) {}
    ~TempDir() { fs::remove_all(path); }
};

// Runs the generator; returns its exit status and leaves its error output
// in `errors`.
int runGenerator(const fs::path& source, const fs::path& out, std::string& errors)
{
    const fs::path errorFile = out.parent_path() / (out.filename().u8string() + ".err");
    const int status = portable::runProgram({generator.u8string(), source.u8string(), out.u8string()},
                                            errorFile.u8string());
    errors = readText(errorFile);
    fs::remove(errorFile);
    return status;
}

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePtr loadBmp(const fs::path& path) { return SurfacePtr(SDL_LoadBMP(path.string().c_str()), SDL_FreeSurface); }

SurfacePtr loadBmp(const Bytes& bytes)
{
    return SurfacePtr(SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1), SDL_FreeSurface);
}

Rgb pixelAt(SDL_Surface* surface, int x, int y)
{
    const auto* p = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 3;
    Rgb c;
    SDL_GetRGB(p[0] | p[1] << 8 | p[2] << 16, surface->format, &c.r, &c.g, &c.b);
    return c;
}

int markerOf(Rgb c)
{
    for (int k = 0; k < 6; ++k)
        if (c == markers[k])
            return k;
    return -1;
}

struct Record
{
    int column, row, code, image;
};

struct Config
{
    int murek = -1, gumka = -1, sruba = -1;
    std::vector<Record> records;
};

Config readConfig()
{
    Config config;
    std::istringstream in(readText(dataDir / "tiles.cfg"));
    std::string line;
    std::getline(in, line);
    std::sscanf(line.c_str(), "murek:%d", &config.murek);
    std::getline(in, line);
    std::sscanf(line.c_str(), "gumka:%d", &config.gumka);
    std::getline(in, line);
    std::sscanf(line.c_str(), "sruba:%d", &config.sruba);
    while (std::getline(in, line)) {
        Record r{};
        EXPECT_EQ(std::sscanf(line.c_str(), "%d,%d:%d,%d", &r.column, &r.row, &r.code, &r.image), 4) << line;
        config.records.push_back(r);
    }
    return config;
}

int imageOfCode(const Config& config, int code)
{
    for (const Record& r : config.records)
        if (r.code == code)
            return r.image;
    return -1;
}

struct Png
{
    std::uint32_t width = 0, height = 0;
    Bytes rgba;
};

// Reads a PNG through libpng; it must be 8-bit RGBA, as the generator writes.
::testing::AssertionResult decodePng(const Bytes& file, Png& image)
{
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size()))
        return ::testing::AssertionFailure() << "libpng: " << png.message;
    if (png.format != PNG_FORMAT_RGBA) {
        png_image_free(&png);
        return ::testing::AssertionFailure() << "not 8-bit RGBA (format " << png.format << ")";
    }
    image.width = png.width;
    image.height = png.height;
    image.rgba.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr))
        return ::testing::AssertionFailure() << "libpng: " << png.message;
    return ::testing::AssertionSuccess();
}

} // namespace

// Regenerating from data/src must give back exactly what is checked in, and
// leave no temporary files behind.
TEST(GeneratedData, MatchesTheCheckedInFiles)
{
    TempDir temp;
    std::string errors;
    ASSERT_EQ(runGenerator(dataDir / "src", temp.path / "out", errors), 0) << errors;
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(temp.path / "out"))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, std::set<std::string>(std::begin(outputs), std::end(outputs)));
    for (const char* name : outputs) {
        const Bytes fresh = readFile(temp.path / "out" / name), checkedIn = readFile(dataDir / name);
        // Another zlib may pack the same picture differently; the picture
        // itself must not change.
        if (fs::path(name).extension() == ".png") {
            Png made, kept;
            ASSERT_TRUE(decodePng(fresh, made));
            ASSERT_TRUE(decodePng(checkedIn, kept)) << name;
            EXPECT_TRUE(made.width == kept.width && made.height == kept.height && made.rgba == kept.rgba)
                << name << " differs from a fresh build; run zelbun-gendata data/src data";
            continue;
        }
        EXPECT_TRUE(fresh == checkedIn) << name << " differs from a fresh build; run zelbun-gendata data/src data";
    }
}

// A fault in a source is reported with its file and line, and nothing is
// written.
TEST(GeneratedData, RejectsFaultySourcesWithoutWriting)
{
    const std::string tiles = readText(dataDir / "src" / "tiles.txt");
    const int tileLines = int(std::count(tiles.begin(), tiles.end(), '\n')) + (tiles.back() == '\n' ? 0 : 1);
    const auto wallAt = tiles.find("\ntile 0x01 wall");
    ASSERT_NE(wallAt, std::string::npos);
    const int wallLine = int(std::count(tiles.begin(), tiles.begin() + wallAt, '\n')) + 2;
    auto rows = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += "........\n";
        return text;
    };
    struct Case
    {
        const char* fault;
        std::string appended; // after a blank line, so the header is line 2
        int line; // of the message after the good file's end; 0: the wall's header
        const char* message;
    };
    const Case cases[] = {
        {"unknown art character", "tile 0x60 bad: B.\n" + rows(4) + "...7....\n" + rows(3), 7, "is not '.' or a marker"},
        {"marker 5 outside the player", "tile 0x60 bad: B.\n" + rows(4) + "...5....\n" + rows(3), 2, "only the player"},
        {"markers 2 and 3 together", "tile 0x60 bad: B.\n" + rows(4) + "..2..3..\n" + rows(3), 2, "2 and 3"},
        {"a code used twice", "tile 0x10 twin: B.\n" + rows(8), 2, "used twice"},
        {"art cut short", "tile 0x60 short: B.\n" + rows(4), 6, "ends before"},
        {"code out of range", "tile 0x100 big: B.\n" + rows(8), 2, "0 to 255"},
        {"a tile after the wall", "tile 0x60 late: B.\n" + rows(8), 0, "must be the last"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        TempDir temp;
        fs::create_directory(temp.path / "src");
        fs::copy_file(dataDir / "src" / "icon.txt", temp.path / "src" / "icon.txt");
        std::string text = tiles;
        if (text.back() != '\n')
            text += '\n';
        std::ofstream(temp.path / "src" / "tiles.txt", std::ios::binary) << text + "\n" + c.appended;
        std::string errors;
        EXPECT_EQ(runGenerator(temp.path / "src", temp.path / "out", errors), 1);
        const int line = c.line ? tileLines + c.line : wallLine;
        EXPECT_NE(errors.find("tiles.txt:" + std::to_string(line) + ":"), std::string::npos) << errors;
        EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
        EXPECT_FALSE(fs::exists(temp.path / "out"));
    }
}

// The editor blits from the tile sheet into copies made with the palette's
// masks, so both must be 24-bit with the same masks.
TEST(DataFiles, BitmapsAre24BitWithTheSameMasks)
{
    SurfacePtr tiles = loadBmp(dataDir / "tiles.bmp");
    SurfacePtr palette = loadBmp(dataDir / "paleta.bmp");
    ASSERT_TRUE(tiles && palette) << SDL_GetError();
    EXPECT_EQ(tiles->format->BitsPerPixel, 24);
    EXPECT_EQ(palette->format->BitsPerPixel, 24);
    EXPECT_EQ(tiles->format->Rmask, palette->format->Rmask);
    EXPECT_EQ(tiles->format->Gmask, palette->format->Gmask);
    EXPECT_EQ(tiles->format->Bmask, palette->format->Bmask);
    EXPECT_EQ(palette->w, 16);
    EXPECT_EQ(palette->h, 8);
    EXPECT_EQ(tiles->h, 16);
    EXPECT_EQ(tiles->w % 16, 0);
    EXPECT_GE(tiles->w / 16, 30);
    EXPECT_LE(tiles->w / 16, 64);
}

// Every tile is an 8 x 8 picture at double size in at most four marker
// colours: the background with markers 0, 1 and 2, or 3 in place of 2;
// marker 5 belongs to the robot alone. No two sheet columns are alike.
TEST(DataFiles, TilesKeepTheColourRules)
{
    SurfacePtr sheet = loadBmp(dataDir / "tiles.bmp");
    ASSERT_TRUE(sheet);
    const int robotColumn = imageOfCode(readConfig(), robotCode);
    ASSERT_GE(robotColumn, 0);
    std::set<std::vector<int>> pictures;
    for (int column = 0; column < sheet->w / 16; ++column) {
        SCOPED_TRACE("sheet column " + std::to_string(column));
        std::set<int> used;
        std::vector<int> picture;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const Rgb c = pixelAt(sheet.get(), 16 * column + x, y);
                const int marker = markerOf(c);
                ASSERT_GE(marker, 0) << "pixel " << x << "," << y << " is not a marker colour";
                ASSERT_TRUE(c == pixelAt(sheet.get(), 16 * column + (x & ~1), y & ~1))
                    << "2 x 2 block at " << x / 2 << "," << y / 2 << " is not one colour";
                used.insert(marker);
                picture.push_back(marker);
            }
        EXPECT_LE(used.size(), 4u);
        EXPECT_FALSE(used.count(2) && used.count(3));
        EXPECT_EQ(used.count(5) != 0, column == robotColumn);
        EXPECT_TRUE(pictures.insert(picture).second) << "same picture as an earlier column";
    }
}

// The editor uses the eraser's and the screw's sheet columns as palette
// entry indices, and draws walls from eight columns starting at the wall's.
TEST(DataFiles, ConfigFollowsTheEditorsRules)
{
    const Config config = readConfig();
    SurfacePtr sheet = loadBmp(dataDir / "tiles.bmp");
    ASSERT_TRUE(sheet);
    const int sheetColumns = sheet->w / 16;

    EXPECT_EQ(config.murek, wallCode);
    EXPECT_EQ(config.gumka, floorCode);
    EXPECT_EQ(config.sruba, screwCode);
    ASSERT_FALSE(config.records.empty());
    std::set<int> codes;
    for (std::size_t i = 0; i < config.records.size(); ++i) {
        const Record& r = config.records[i];
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_TRUE(r.column >= 0 && r.column < 5 && r.row >= 0 && r.row < 26);
        EXPECT_TRUE(r.code >= 0 && r.code < 256);
        EXPECT_TRUE(codes.insert(r.code).second) << "code " << r.code << " twice";
        // Entries in order without holes, each showing its own sheet column.
        EXPECT_EQ(5 * r.row + r.column, int(i));
        EXPECT_EQ(r.image, int(i));
    }
    const int wallColumn = imageOfCode(config, config.murek);
    EXPECT_EQ(wallColumn, int(config.records.size()) - 1) << "the wall's patterns must follow every entry";
    EXPECT_EQ(wallColumn + 8, sheetColumns);
    EXPECT_GE(imageOfCode(config, config.gumka), 0);
    EXPECT_GE(imageOfCode(config, config.sruba), 0);
}

// Hue 0 holds greys from near black up; every column brightens downwards
// and the other hues carry colour. Colours measured in the emulator's PAL
// screenshots (data/src/PALETTE.md) are matched to within a few steps, so a
// level looks the same in the editor and in the game.
TEST(DataFiles, PaletteMatchesTheGameOnScreen)
{
    SurfacePtr palette = loadBmp(dataDir / "paleta.bmp");
    ASSERT_TRUE(palette);
    auto luma = [](Rgb c) { return 299 * c.r + 587 * c.g + 114 * c.b; };
    for (int hue = 0; hue < 16; ++hue) {
        SCOPED_TRACE("hue " + std::to_string(hue));
        for (int row = 0; row < 8; ++row) {
            const Rgb c = pixelAt(palette.get(), hue, row);
            const int spread = std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
            if (hue == 0) {
                EXPECT_EQ(spread, 0) << "row " << row;
            } else if (row >= 2 && row <= 5) {
                EXPECT_GT(spread, 40) << "row " << row;
            }
            if (row > 0) {
                EXPECT_GT(luma(c), luma(pixelAt(palette.get(), hue, row - 1))) << "row " << row;
            }
        }
    }
    const struct {
        int value;
        Rgb onScreen;
    } measured[] = {{0x00, {4, 4, 4}},       {0x0E, {211, 211, 211}}, {0x36, {132, 55, 63}},
                    {0x84, {13, 58, 115}},   {0x98, {55, 122, 136}},  {0xC6, {57, 108, 0}},
                    {0xE8, {126, 110, 13}},  {0x1E, {250, 204, 144}}, {0x74, {30, 45, 136}}};
    for (const auto& [value, onScreen] : measured) {
        const Rgb c = pixelAt(palette.get(), value >> 4, (value & 15) / 2);
        EXPECT_LE(std::max({std::abs(c.r - onScreen.r), std::abs(c.g - onScreen.g), std::abs(c.b - onScreen.b)}), 3)
            << "value " << value << ": " << c.r << "," << c.g << "," << c.b;
    }
}

// The desktop icon is the window icon at twice the size, see-through where
// the window icon shows the key colour.
TEST(DataFiles, IconPngIsSoundAndMatchesTheBmp)
{
    Png png;
    ASSERT_TRUE(decodePng(readFile(dataDir / "icon.png"), png));
    SurfacePtr bmp = loadBmp(dataDir / "icon.bmp");
    ASSERT_TRUE(bmp);
    ASSERT_EQ(bmp->w, 32);
    ASSERT_EQ(bmp->h, 32);
    ASSERT_EQ(png.width, 64u);
    ASSERT_EQ(png.height, 64u);
    int seeThrough = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* p = &png.rgba[(y * 64 + x) * 4];
            const Rgb small = pixelAt(bmp.get(), x / 2, y / 2);
            const bool key = small == Rgb{255, 0, 255};
            ASSERT_EQ(p[3], key ? 0 : 255) << x << "," << y;
            if (key)
                ++seeThrough;
            else
                ASSERT_TRUE((Rgb{p[0], p[1], p[2]}) == small) << x << "," << y;
        }
    EXPECT_GT(seeThrough, 0);
    EXPECT_LT(seeThrough, 64 * 64);
}

// Any picture comes back from libpng pixel for pixel; large flat areas, as
// the icons have, pack to a small fraction of their raw size.
TEST(Encoders, PngRoundTripsAndPacksFlatAreas)
{
    Bytes rgba(300 * 100 * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = std::uint8_t(i * 7 + i / 251);
    std::string error;
    Png image;
    ASSERT_TRUE(decodePng(encodePngRgba(300, 100, rgba, error), image)) << error;
    EXPECT_EQ(image.width, 300u);
    EXPECT_EQ(image.height, 100u);
    EXPECT_TRUE(image.rgba == rgba);

    Bytes flat(256 * 256 * 4);
    for (std::size_t i = 0; i < flat.size(); i += 4) {
        const bool inside = (i / 4) % 256 >= 64 && (i / 4) / 256 >= 64;
        flat[i] = inside ? 200 : 0;
        flat[i + 3] = inside ? 255 : 0;
    }
    const Bytes packed = encodePngRgba(256, 256, flat, error);
    ASSERT_TRUE(decodePng(packed, image)) << error;
    EXPECT_TRUE(image.rgba == flat);
    EXPECT_LT(packed.size(), 2048u);
}

// A width of 3 needs a row pad of 3 bytes; rows go bottom-up. SDL reads
// the file back to the same pixels.
TEST(Encoders, BmpPadsRowsAndStoresThemBottomUp)
{
    Image picture(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.at(x, y) = Rgb{std::uint8_t(10 + x), std::uint8_t(20 + y), std::uint8_t(30 + 10 * x + y)};
    const Bytes file = encodeBmp24(picture);
    ASSERT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(file[54], 30 + 0 + 1) << "the first stored row is the bottom one, blue first";
    SurfacePtr surface = loadBmp(file);
    ASSERT_TRUE(surface) << SDL_GetError();
    ASSERT_EQ(surface->format->BitsPerPixel, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(pixelAt(surface.get(), x, y) == picture.at(x, y)) << x << "," << y;
}

// The Windows icon: each directory entry gives the side of its picture (0
// for 256) and the size and place of a PNG that decodes to that side.
TEST(Encoders, IcoEntriesPointAtTheirPngs)
{
    const int sides[] = {16, 48, 256};
    std::vector<IcoImage> images;
    std::string error;
    for (int side : sides)
        images.push_back({side, encodePngRgba(side, side, Bytes(std::size_t(side) * side * 4, std::uint8_t(side)), error)});
    const Bytes file = encodeIco(images);
    auto word = [&](std::size_t at) { return std::uint32_t(file.at(at) | file.at(at + 1) << 8); };
    auto dword = [&](std::size_t at) { return word(at) | word(at + 2) << 16; };
    constexpr std::size_t typeAt = 2, countAt = 4, entriesAt = 6, entrySize = 16;
    constexpr std::size_t widthAt = 0, heightAt = 1, bitsAt = 6, bytesAt = 8, offsetAt = 12;
    EXPECT_EQ(word(0), 0u);
    EXPECT_EQ(word(typeAt), 1u);
    ASSERT_EQ(word(countAt), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t entry = entriesAt + i * entrySize;
        const std::uint32_t side = file[entry + widthAt] == 0 ? 256 : file[entry + widthAt];
        EXPECT_EQ(side, std::uint32_t(sides[i]));
        EXPECT_EQ(file[entry + heightAt], file[entry + widthAt]);
        EXPECT_EQ(word(entry + bitsAt), 32u);
        const std::uint32_t size = dword(entry + bytesAt), offset = dword(entry + offsetAt);
        ASSERT_LE(std::size_t(offset) + size, file.size()) << i;
        Png png;
        ASSERT_TRUE(decodePng(Bytes(file.begin() + offset, file.begin() + offset + size), png)) << i;
        EXPECT_EQ(png.width, side);
        EXPECT_EQ(png.height, side);
    }
}
