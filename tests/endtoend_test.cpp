// A whole session through the real event loop: SDL events go onto the
// queue, the editor with the default data handles them, and the saved file
// is opened again.
#include "editor/eventloop.h"
#include "editor/frame.h"
#include "tests/fake_platform.h"
#include "tests/portable.h"
#include "sdl_events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

using namespace events;

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

int cellX(int column) { return 5 + 16 * column + 8; }
int cellY(int row) { return 50 + 16 * row + 8; }

TEST(EndToEnd, DrawSaveStartAfreshOpen)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Surface* screen = SDL_SetVideoMode(640, 570, 32, SDL_SWSURFACE);
    ASSERT_NE(screen, nullptr);
    SDL_EnableUNICODE(1);
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {
    }

    std::string dir = portable::makeTempDir("zelbun-e2e");
    FakePlatform platform;
    platform.directory = dir;
    platform.answerDialog(dir + "/session");   // "Zapisz": no dot, gets ".atr"
    platform.answerDialog(dir + "/session.atr");  // "Otworz"
    FrameOptions options;
    options.dataDirs = {ZELBUN_SOURCE_DIR "/data"};
    options.platform = &platform;
    auto editor = std::make_unique<frame>(screen, options);
    ASSERT_TRUE(editor->ok());
    const int box = 0x30, eraser = 0;
    ASSERT_EQ(editor->tileCodes[6], box);

    click(270 + 20 * 1 + 9, 50 + 20 * 1 + 9);  // palette entry 6: the box
    button(SDL_MOUSEBUTTONDOWN, cellX(2), cellY(3), SDL_BUTTON_LEFT);
    motion(cellX(3), cellY(3), SDL_BUTTON(1));
    motion(cellX(4), cellY(3), SDL_BUTTON(1));
    button(SDL_MOUSEBUTTONUP, cellX(4), cellY(3), SDL_BUTTON_LEFT);
    click(cellX(3), cellY(3), SDL_BUTTON_RIGHT);  // erase the middle one
    click(425 + 20 * 2 + 10, 165);                 // colour register 3
    click(375 + 16 * 4 + 8, 176 + 16 * 5 + 8);     // hue 4, luminance 10
    for (int i = 0; i < 3; ++i)
        click(428, 70);  // screws +
    for (int i = 0; i < 2; ++i)
        click(428, 120);  // wall pattern +
    click(376 + 8 * 2, 356 + 10);  // text cursor to column 2, line 1
    key(SDLK_h, 'H', KMOD_LSHIFT);
    key(SDLK_i, 'i');
    key(SDLK_l, 'l', KMOD_LCTRL);
    click(150, 12);  // "Zapisz"
    click(30, 12);   // "Nowy"
    click(90, 12);   // "Otworz"
    quit();

    runEventLoop(*editor, screen);

    EXPECT_EQ(editor->filePath, (dir + "/session.atr").c_str());
    EXPECT_EQ(editor->statusMessage, "Otwarto: session.atr (1 poziom)");
    map& level = editor->levels[0];
    ASSERT_TRUE(level.isOn());
    EXPECT_EQ(level.get(2, 3), box);
    EXPECT_EQ(level.get(3, 3), eraser);
    EXPECT_EQ(level.get(4, 3), box);
    EXPECT_EQ(level.colorGet(2), 0x4A);
    EXPECT_EQ(level.srubkiGet(), 3);
    EXPECT_EQ(level.wzorekGet(), 2);
    EXPECT_EQ(std::string(editor->textPages[0][1], 6), "  Hi\x0C ");
    for (int i = 1; i < 32; ++i)
        EXPECT_FALSE(editor->levels[i].isOn()) << i;

    // Saving what was opened gives the same bytes.
    std::string again = dir + "/again.atr";
    char path[PATH_MAX + 8];
    std::strcpy(path, again.c_str());
    ASSERT_EQ(editor->saveMap(path), 1);
    std::string first = readAll(dir + "/session.atr");
    EXPECT_EQ(first.size(), 11428u + 508u);
    EXPECT_TRUE(first == readAll(again));

    editor.reset();
    std::system(("rm -rf '" + dir + "'").c_str());
    SDL_Quit();
}

} // namespace
