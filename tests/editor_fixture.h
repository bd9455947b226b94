// Shared set-up for the editor's tests: a temporary directory holding small
// tiles.bmp, paleta.bmp and tiles.cfg made by the test itself, a 32-bit
// screen surface, and an editor built on them with a scripted platform.
#pragma once

#include "editor/frame.h"
#include "tests/fake_platform.h"
#include "tests/portable.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace fixture {

// Tile sheet of the tests: column k is filled with (10 + k, 20, 30) and
// has a 4 x 4 block of marker 1 (156, 158, 156) at its top-left corner.
inline SDL_Color tileColour(int column) { return SDL_Color{Uint8(10 + column), 20, 30, 0}; }
// Palette of the tests: the pixel of Atari value 16h + 2r is (16h, 32r, 7).
inline SDL_Color atariColour(int value)
{
    return SDL_Color{Uint8(value & 0xF0), Uint8(((value & 0x0F) / 2) * 32), 7, 0};
}

inline Uint32 rgb(SDL_Surface* s, SDL_Color c) { return SDL_MapRGB(s->format, c.r, c.g, c.b); }
inline Uint32 rgb(SDL_Surface* s, int r, int g, int b) { return SDL_MapRGB(s->format, Uint8(r), Uint8(g), Uint8(b)); }

inline Uint32 pixel(SDL_Surface* s, int x, int y)
{
    return static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x];
}

inline SDL_keysym keysym(SDLKey sym, Uint16 unicode = 0, int mod = KMOD_NONE)
{
    SDL_keysym key = {};
    key.sym = sym;
    key.unicode = unicode;
    key.mod = SDLMod(mod);
    return key;
}

inline SDL_Surface* newSurface(int w, int h, int bits)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, 0xFF0000, 0xFF00, 0xFF, 0);
}

inline void fill(SDL_Surface* s, int x, int y, int w, int h, Uint32 colour)
{
    SDL_Rect r = {Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_FillRect(s, &r, colour);
}

class TempDir {
public:
    TempDir() : path(portable::makeTempDir("zelbun-test")) {}
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    std::string path;
};

inline void writeTiles(const TempDir& dir, int columns)
{
    SDL_Surface* sheet = newSurface(16 * columns, 16, 24);
    for (int k = 0; k < columns; ++k) {
        fill(sheet, 16 * k, 0, 16, 16, rgb(sheet, tileColour(k)));
        fill(sheet, 16 * k, 0, 4, 4, rgb(sheet, 156, 158, 156));
    }
    SDL_SaveBMP(sheet, dir.file("tiles.bmp").c_str());
    SDL_FreeSurface(sheet);
}

inline void writePalette(const TempDir& dir)
{
    SDL_Surface* palette = newSurface(16, 8, 24);
    for (int h = 0; h < 16; ++h)
        for (int r = 0; r < 8; ++r)
            fill(palette, h, r, 1, 1, rgb(palette, atariColour(16 * h + 2 * r)));
    SDL_SaveBMP(palette, dir.file("paleta.bmp").c_str());
    SDL_FreeSurface(palette);
}

// Wall code 9 at column 20 (patterns at 20..27), eraser code 0 at column 0,
// screw code 7 at column 3; code 200 has no picture.
const char defaultConfig[] =
    "murek:9\n"
    "gumka:0\n"
    "sruba:7\n"
    "0,0:0,0\n"
    "1,0:5,1\n"
    "3,0:7,3\n"
    "0,4:9,20\n"
    "1,1:200,-1\n";

// An editor on its own data directory and screen, with a fake platform.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { SDL_Init(SDL_INIT_VIDEO); }
    void TearDown() override
    {
        editor.reset();
        if (screen)
            SDL_FreeSurface(screen);
    }

    void build(const std::string& config = defaultConfig, int columns = 32)
    {
        writeTiles(dir, columns);
        writePalette(dir);
        dir.write("tiles.cfg", config);
        buildOnFiles();
    }

    void buildOnFiles()
    {
        editor.reset();
        if (screen)
            SDL_FreeSurface(screen);
        screen = newSurface(640, 570, 32);
        FrameOptions options;
        options.dataDirs = {dir.path};
        options.platform = &platform;
        options.runtimeDir = runtimeDir.empty() ? dir.path : runtimeDir;
        options.emulatorCommand = emulatorCommand;
        options.stateDir = stateDir;
        options.clock = [this] { return now; };
        options.verdictSolver = verdictSolver;
        platform.directory = dir.path;
        editor = std::make_unique<frame>(screen, options);
        // The fixture's tiles are not the game's: the solver's verdicts on
        // them would only add questions.
        editor->testChecks.statesPerLevel = 0;
    }

    void press(int x, int y, int button = 1) { editor->mouse(x, y, button); }
    void release(int x, int y) { editor->mouse(x, y, -1); }
    void click(int x, int y, int button = 1) { press(x, y, button); release(x, y); }

    TempDir dir;
    std::string runtimeDir;  // where test images go; empty: dir
    FakePlatform platform;
    std::string emulatorCommand;
    std::string stateDir;  // autosaves and recent files; empty: none
    uint64_t now = 1000;   // the editor's clock, in milliseconds
    // The verdicts the set view finds in the background: none by default,
    // for the same reason.
    VerdictSolver verdictSolver = [](const LevelData&, const std::atomic<bool>&) {
        return LevelVerdict{LevelVerdict::unknown, 0};
    };
    SDL_Surface* screen = nullptr;
    std::unique_ptr<frame> editor;
};

} // namespace fixture
