// The initial window with the default data, pixel for pixel against a
// reviewed picture. After a deliberate change of the look, rewrite the
// picture with ZELBUN_UPDATE_GOLDEN=1 and look at it before committing.
#include "editor/frame.h"
#include "tests/fake_platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

const char goldenPath[] = ZELBUN_SOURCE_DIR "/tests/golden/initial.bmp";

TEST(Golden, InitialWindow)
{
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 570, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    FakePlatform platform;
    FrameOptions options;
    options.dataDirs = {ZELBUN_SOURCE_DIR "/data"};
    options.platform = &platform;
    auto editor = std::make_unique<frame>(screen, options);
    ASSERT_TRUE(editor->ok()) << editor->loadError();
    editor->paint();

    if (std::getenv("ZELBUN_UPDATE_GOLDEN")) {
        SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 570, 24, 0xFF0000, 0xFF00, 0xFF, 0);
        SDL_BlitSurface(screen, nullptr, picture, nullptr);
        SDL_SaveBMP(picture, goldenPath);
        SDL_FreeSurface(picture);
    }

    SDL_Surface* golden = SDL_LoadBMP(goldenPath);
    ASSERT_NE(golden, nullptr) << goldenPath;
    ASSERT_EQ(golden->w, 640);
    ASSERT_EQ(golden->h, 570);
    SDL_Surface* expected = SDL_ConvertSurface(golden, screen->format, SDL_SWSURFACE);
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < 570; ++y)
        for (int x = 0; x < 640; ++x) {
            Uint32 got = static_cast<Uint32*>(screen->pixels)[y * screen->pitch / 4 + x];
            Uint32 want = static_cast<Uint32*>(expected->pixels)[y * expected->pitch / 4 + x];
            if ((got & 0xFFFFFF) != (want & 0xFFFFFF) && differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    EXPECT_EQ(differing, 0) << "first difference at (" << firstX << ", " << firstY << ")";

    SDL_FreeSurface(expected);
    SDL_FreeSurface(golden);
    editor.reset();
    SDL_FreeSurface(screen);
}

} // namespace
