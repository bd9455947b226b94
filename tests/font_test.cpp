// The editor font, checked by drawing glyphs and reading the pixels back.
#include "render/font.h"

#include <SDL.h>
#include <SDL_gfxPrimitives.h>
#include <SDL_gfxPrimitives_font.h>

#include <gtest/gtest.h>

#include <array>

namespace {

// Draws one character in white on black and returns its rows, bit 7 leftmost.
std::array<unsigned char, 8> drawnRows(char code)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    EXPECT_NE(surface, nullptr);
    std::array<unsigned char, 8> rows{};
    if (!surface)
        return rows;
    SDL_FillRect(surface, nullptr, 0);
    const char text[] = {code, '\0'};
    stringRGBA(surface, 0, 0, text, 255, 255, 255, 255);
    SDL_LockSurface(surface);
    for (int y = 0; y < 8; ++y) {
        const Uint32* line = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < 8; ++x)
            if (line[x] == 0xFFFFFF)
                rows[y] |= 0x80 >> x;
            else
                EXPECT_EQ(line[x], 0u) << "pixel " << x << "," << y;
    }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return rows;
}

} // namespace

TEST(EditorFont, ReplacedAndLibraryGlyphsAreDrawn)
{
    installEditorFont();
    const std::array<unsigned char, 8> aOgonek = {0x00, 0x00, 0x78, 0x0C, 0x7C, 0xCC, 0x76, 0x06};
    EXPECT_EQ(drawnRows(1), aOgonek);

    std::array<unsigned char, 8> libraryA;
    std::copy_n(gfxPrimitivesFontdata + 'A' * 8, 8, libraryA.begin());
    EXPECT_EQ(drawnRows('A'), libraryA);
    EXPECT_TRUE(std::equal(libraryA.begin(), libraryA.end(), editorFontData() + 'A' * 8));
}
