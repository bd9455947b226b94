// Loading tiles.bmp and paleta.bmp: every bit depth gives the same window,
// and sheets the editor cannot use are refused at start with their sizes.
#include "editor_fixture.h"

#include "core/messages.h"
#include "render/sheet.h"

#include <filesystem>
#include <functional>
#include <map>
#include <sys/stat.h>

using namespace fixture;
namespace fs = std::filesystem;

namespace {

const std::string dataDir = ZELBUN_SOURCE_DIR "/data";

void put16(std::string& out, unsigned v)
{
    out += char(v & 0xFF);
    out += char(v >> 8 & 0xFF);
}

void put32(std::string& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A BMP file of the given depth, which SDL cannot write itself: 1, 4 and 8
// bits with a colour table (8 bits top-down), 16 bits as 5-5-5.
std::string encodeBmp(SDL_Surface* picture, int bits)
{
    std::vector<SDL_Color> table;
    std::map<Uint32, int> index;
    std::string rows;
    const bool topDown = bits == 8;
    for (int i = 0; i < picture->h; ++i) {
        const int y = topDown ? i : picture->h - 1 - i;
        std::string row;
        unsigned acc = 0;
        int filled = 0;
        for (int x = 0; x < picture->w; ++x) {
            Uint8 r, g, b;
            SDL_GetRGB(pixel(picture, x, y), picture->format, &r, &g, &b);
            if (bits == 16) {
                put16(row, (r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
                continue;
            }
            const Uint32 key = r << 16 | g << 8 | b;
            if (!index.count(key)) {
                index[key] = int(table.size());
                table.push_back(SDL_Color{r, g, b, 0});
            }
            acc = acc << bits | unsigned(index[key]);
            filled += bits;
            if (filled == 8) {
                row += char(acc);
                acc = 0;
                filled = 0;
            }
        }
        if (filled > 0)
            row += char(acc << (8 - filled));
        row.resize((row.size() + 3) / 4 * 4, '\0');
        rows += row;
    }
    EXPECT_LE(table.size(), 1u << (bits == 16 ? 0 : bits));
    const size_t tableBytes = bits == 16 ? 0 : 4u << bits;
    std::string out = "BM";
    put32(out, uint32_t(54 + tableBytes + rows.size()));
    put32(out, 0);
    put32(out, uint32_t(54 + tableBytes));
    put32(out, 40);
    put32(out, uint32_t(picture->w));
    put32(out, uint32_t(topDown ? -picture->h : picture->h));
    put16(out, 1);
    put16(out, unsigned(bits));
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (size_t i = 0; i < tableBytes / 4; ++i) {
        const SDL_Color c = i < table.size() ? table[i] : SDL_Color{0, 0, 0, 0};
        out += char(c.b);
        out += char(c.g);
        out += char(c.r);
        out += '\0';
    }
    return out + rows;
}

int colourCount(SDL_Surface* picture)
{
    std::map<Uint32, int> seen;
    for (int y = 0; y < picture->h; ++y)
        for (int x = 0; x < picture->w; ++x)
            seen[pixel(picture, x, y) & 0xFFFFFF] = 1;
    return int(seen.size());
}

// The picture reduced to what a file of that depth holds exactly: black and
// white when its colours don't fit a colour table; for 16 bits, what SDL
// itself makes of 5 bits a channel.
void fitToDepth(SDL_Surface* picture, int bits)
{
    if (bits == 16) {
        SDL_Surface* packed = SDL_CreateRGBSurface(SDL_SWSURFACE, picture->w, picture->h, 16,
                                                   0x7C00, 0x3E0, 0x1F, 0);
        SDL_BlitSurface(picture, nullptr, packed, nullptr);
        SDL_BlitSurface(packed, nullptr, picture, nullptr);
        SDL_FreeSurface(packed);
        return;
    }
    const bool tooMany = bits <= 8 && colourCount(picture) > (1 << bits);
    for (int y = 0; y < picture->h; ++y)
        for (int x = 0; x < picture->w; ++x) {
            Uint8 c[3];
            SDL_GetRGB(pixel(picture, x, y), picture->format, &c[0], &c[1], &c[2]);
            const Uint8 blackOrWhite = (c[0] + c[1] + c[2]) / 3 >= 128 ? 255 : 0;
            if (tooMany)
                c[0] = c[1] = c[2] = blackOrWhite;
            fill(picture, x, y, 1, 1, rgb(picture, c[0], c[1], c[2]));
        }
}

SDL_Surface* load24(const std::string& path)
{
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    SDL_Surface* picture = newSurface(loaded->w, loaded->h, 32);
    SDL_BlitSurface(loaded, nullptr, picture, nullptr);
    SDL_FreeSurface(loaded);
    return picture;
}

void save(SDL_Surface* picture, int bits, const std::string& path)
{
    if (bits == 24) {
        SDL_Surface* flat = newSurface(picture->w, picture->h, 24);
        SDL_BlitSurface(picture, nullptr, flat, nullptr);
        SDL_SaveBMP(flat, path.c_str());
        SDL_FreeSurface(flat);
    } else if (bits == 32) {
        // With an alpha channel, all opaque: the kind that used to draw nothing.
        SDL_Surface* alpha = SDL_CreateRGBSurface(SDL_SWSURFACE, picture->w, picture->h, 32,
                                                  0xFF0000, 0xFF00, 0xFF, 0xFF000000);
        SDL_BlitSurface(picture, nullptr, alpha, nullptr);
        for (int y = 0; y < alpha->h; ++y)
            for (int x = 0; x < alpha->w; ++x)
                static_cast<Uint32*>(alpha->pixels)[y * alpha->pitch / 4 + x] |= 0xFF000000;
        SDL_SaveBMP(alpha, path.c_str());
        SDL_FreeSurface(alpha);
    } else {
        std::ofstream(path, std::ios::binary) << encodeBmp(picture, bits);
    }
}

class SheetTest : public EditorTest {
protected:
    // The window of a level with tiles and colours of its own, drawn from
    // the bitmaps in `dir`, as 32-bit pixels.
    std::vector<Uint32> window()
    {
        buildOnFiles();
        EXPECT_TRUE(editor->ok()) << editor->loadError();
        map& level = editor->levels[0];
        for (int i = 0; i < 40; ++i)
            level.add(i % 16, i / 3, i % 24);
        level.colorSet(0x46, 0x94, 0x0F, 0x28, 0xC6, 0x3A);
        editor->paint();
        std::vector<Uint32> pixels;
        for (int y = 0; y < screen->h; ++y)
            for (int x = 0; x < screen->w; ++x)
                pixels.push_back(pixel(screen, x, y) & 0xFFFFFF);
        return pixels;
    }

    void expectRefused(const std::string& message)
    {
        buildOnFiles();
        EXPECT_FALSE(editor->ok());
        EXPECT_NE(editor->loadError().find(message), std::string::npos) << editor->loadError();
        editor->paint(); // draws nothing, reads nothing
    }
};

// The default data saved at every depth SDL's loader reads gives the window
// of the same pictures saved at 24 bits, pixel for pixel.
TEST_F(SheetTest, EveryBitDepthGivesTheSameWindow)
{
    fs::copy_file(dataDir + "/tiles.cfg", dir.file("tiles.cfg"));
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        SDL_Surface* tiles = load24(dataDir + "/tiles.bmp");
        SDL_Surface* palette = load24(dataDir + "/paleta.bmp");
        fitToDepth(tiles, bits);
        fitToDepth(palette, bits);
        save(tiles, 24, dir.file("tiles.bmp"));
        save(palette, 24, dir.file("paleta.bmp"));
        const std::vector<Uint32> expected = window();
        save(tiles, bits, dir.file("tiles.bmp"));
        save(palette, bits, dir.file("paleta.bmp"));
        const std::vector<Uint32> got = window();
        size_t differing = 0;
        for (size_t i = 0; i < got.size(); ++i)
            differing += got[i] != expected[i];
        EXPECT_EQ(differing, 0u) << bits << " bits";
        SDL_FreeSurface(tiles);
        SDL_FreeSurface(palette);
    }
}

// Too small to read from, too large to be sensible, or narrower than what
// tiles.cfg uses: each is refused at start, naming the file and the sizes.
TEST_F(SheetTest, UnusableSizesAreRefused)
{
    dir.write("tiles.cfg", defaultConfig);
    writeTiles(dir, 32);
    for (int height : {1, 7}) {
        SDL_Surface* palette = newSurface(height == 1 ? 1 : 16, height, 24);
        fill(palette, 0, 0, palette->w, height, rgb(palette, 200, 100, 50));
        SDL_SaveBMP(palette, dir.file("paleta.bmp").c_str());
        SDL_FreeSurface(palette);
        expectRefused(std::string("paleta.bmp: ") + (height == 1 ? "1 x 1" : "16 x 7") +
                      " pixels; it must be 16 x 8");
    }

    // Headers claiming huge pictures are refused before anything is decoded.
    auto header = [](int width, int height, int bits) {
        std::string out = "BM";
        put32(out, 1000);
        put32(out, 0);
        put32(out, 62);
        put32(out, 40);
        put32(out, uint32_t(width));
        put32(out, uint32_t(height));
        put16(out, 1);
        put16(out, unsigned(bits));
        return out + std::string(32, '\0');
    };
    dir.write("paleta.bmp", header(20000, 20000, 24));
    expectRefused("paleta.bmp: 20000 x 20000 pixels; it must be 16 x 8");
    writePalette(dir);
    dir.write("tiles.bmp", header(6000, 6000, 1));
    expectRefused("tiles.bmp: 6000 x 6000 pixels; at most 4096 x 256 is allowed");
    dir.write("tiles.bmp", header(1, 1, 24));
    expectRefused("tiles.bmp: 1 x 1 pixels; at least 16 x 16 is needed");
    // The oldest header cut short after its 16-bit sizes (31232 x 64115): the
    // decoder allocated 2 GB for it.
    const unsigned char cut[] = {0x42, 0x4d, 0x5a, 0, 0, 0, 0, 0, 0, 0x80, 0xc1, 0xff, 0xff,
                                 0xfe, 0x0c, 0, 0, 0, 0, 0x7a, 0x73, 0xfa, 0x0a, 0, 0x04};
    dir.write("tiles.bmp", std::string(reinterpret_cast<const char*>(cut), sizeof cut));
    expectRefused("tiles.bmp: 31232 x 64115 pixels; at most 4096 x 256 is allowed");

    // The wall patterns run from column 20 to 27.
    writeTiles(dir, 27);
    expectRefused("tiles.bmp: 432 pixels wide; tiles.cfg uses sheet columns up to 27, which need 448");
    writeTiles(dir, 28);
    buildOnFiles();
    EXPECT_TRUE(editor->ok()) << editor->loadError();
}

// FIFOs and symbolic link loops are POSIX's.
#ifndef _WIN32
// Whatever stands under a data file's name in the first directory is the
// file meant: a symbolic link going round in a loop, like a directory or a
// FIFO there, is refused with its name, never passed over for the good file
// of the next directory.
TEST_F(SheetTest, AnUnreadableNameIsNotPassedOver)
{
    writeTiles(dir, 32);
    const std::string own = dir.file("own"), name = own + "/tiles.bmp";
    fs::create_directory(own);
    const struct {
        std::function<void()> make;
        std::string reason;
    } cases[] = {
        {[&] { fs::create_symlink("tiles.bmp", name); }, "Too many levels of symbolic links"},
        {[&] { fs::create_directory(name); }, "is a directory"},
        {[&] { mkfifo(name.c_str(), 0600); }, "not a regular file"},
    };
    for (const auto& c : cases) {
        fs::remove(name);
        c.make();
        SurfacePtr sheet;
        const Error error = loadDataSheet("tiles.bmp", kTileSheetLimits, {own, dir.path}, sheet);
        EXPECT_FALSE(sheet);
        EXPECT_EQ(describe(error, Language::english), name + ": " + c.reason);
    }
}

#endif
} // namespace
