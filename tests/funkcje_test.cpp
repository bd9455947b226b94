// Raw pixel access, scaling, copying and recolouring of surfaces.
#include "render/funkcje.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

Surface make(int w, int h, int bits, Uint32 r, Uint32 g, Uint32 b)
{
    Surface s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, r, g, b, 0), SDL_FreeSurface);
    EXPECT_NE(s, nullptr);
    return s;
}

// Like the bitmaps the editor loads: 24-bit, red high, blue low.
Surface make24(int w, int h) { return make(w, h, 24, 0xFF0000, 0xFF00, 0xFF); }
Surface make32(int w, int h) { return make(w, h, 32, 0xFF0000, 0xFF00, 0xFF); }

Uint32 rgb(int r, int g, int b) { return r << 16 | g << 8 | b; }

// A 256 x 128 palette sheet whose every pixel tells where it was read from.
Surface makePalette()
{
    Surface palette = make32(256, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x)
            putpixel(palette.get(), x, y, 0x010000 | x << 8 | y);
    return palette;
}

Uint32 paletteAt(int x, int y) { return 0x010000 | x << 8 | y; }

std::vector<Uint32> pixelsOf(SDL_Surface* s)
{
    std::vector<Uint32> all;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            all.push_back(getpixel(s, x, y));
    return all;
}

const Uint8* bytesAt(SDL_Surface* s, int x, int y)
{
    return static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
}

} // namespace

// Three-byte pixels are stored least significant byte first; the top byte
// of the value is dropped and the neighbours are not touched.
TEST(Pixels, ThreeBytesLeastSignificantFirst)
{
    Surface s = make24(4, 2);
    putpixel(s.get(), 1, 1, 0xAA112233);
    const Uint8* p = bytesAt(s.get(), 1, 1);
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(p[3], 0x00) << "next pixel overwritten";
    EXPECT_EQ(p[-1], 0x00) << "previous pixel overwritten";
    EXPECT_EQ(getpixel(s.get(), 1, 1), 0x112233u);

    Uint8* q = const_cast<Uint8*>(bytesAt(s.get(), 2, 0));
    q[0] = 0x01;
    q[1] = 0x02;
    q[2] = 0x03;
    EXPECT_EQ(getpixel(s.get(), 2, 0), 0x030201u);
}

// Narrower pixels keep only the low bits; four bytes keep the whole value.
TEST(Pixels, LowBitsForNarrowFormats)
{
    Surface two = make(3, 1, 16, 0xF800, 0x7E0, 0x1F);
    putpixel(two.get(), 1, 0, 0x12345678);
    EXPECT_EQ(getpixel(two.get(), 1, 0), 0x5678u);
    EXPECT_EQ(getpixel(two.get(), 0, 0), 0u);
    EXPECT_EQ(getpixel(two.get(), 2, 0), 0u);

    Surface one = make(3, 1, 8, 0, 0, 0);
    putpixel(one.get(), 1, 0, 0x1234);
    EXPECT_EQ(getpixel(one.get(), 1, 0), 0x34u);
    EXPECT_EQ(getpixel(one.get(), 2, 0), 0u);

    Surface four = make32(2, 1);
    putpixel(four.get(), 1, 0, 0xDEADBEEF);
    EXPECT_EQ(getpixel(four.get(), 1, 0), 0xDEADBEEFu);
}

// The palette bitmap is scaled by 16: every source pixel becomes a
// 16 x 16 block of its raw value.
TEST(Resize, BlocksOfTheFactor)
{
    Surface src = make24(16, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            putpixel(src.get(), x, y, rgb(x, y, 0x80));

    Surface big(resize(src.get(), nullptr, 16), SDL_FreeSurface);
    ASSERT_NE(big, nullptr);
    ASSERT_EQ(big->w, 256);
    ASSERT_EQ(big->h, 128);
    EXPECT_EQ(big->format->BytesPerPixel, 4);
    EXPECT_EQ(big->format->Rmask, 0xFF0000u);
    EXPECT_EQ(big->format->Bmask, 0xFFu);

    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(getpixel(big.get(), x, y), rgb(x / 16, y / 16, 0x80)) << x << "," << y;

    // Source (3, 2) is columns 48..63 of rows 32..47, and no further.
    EXPECT_EQ(getpixel(big.get(), 48, 32), rgb(3, 2, 0x80));
    EXPECT_EQ(getpixel(big.get(), 63, 47), rgb(3, 2, 0x80));
    EXPECT_NE(getpixel(big.get(), 64, 47), rgb(3, 2, 0x80));
    EXPECT_NE(getpixel(big.get(), 63, 48), rgb(3, 2, 0x80));
}

// By 1 it is a fresh 32-bit copy; the second argument is never written.
TEST(Resize, FactorOneCopiesAndIgnoresDst)
{
    Surface src = make24(5, 3);
    putpixel(src.get(), 4, 2, rgb(1, 2, 3));
    Surface unused = make32(5, 3);

    Surface copy(resize(src.get(), unused.get(), 1), SDL_FreeSurface);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy.get(), unused.get());
    EXPECT_EQ(copy->w, 5);
    EXPECT_EQ(copy->h, 3);
    EXPECT_EQ(copy->format->BitsPerPixel, 32);
    EXPECT_EQ(getpixel(copy.get(), 4, 2), rgb(1, 2, 3));
    EXPECT_EQ(getpixel(unused.get(), 4, 2), 0u);
}

TEST(Resize, RefusesWhatItCannotScale)
{
    Surface src = make24(2, 2);
    EXPECT_EQ(resize(nullptr, nullptr, 16), nullptr);
    EXPECT_EQ(resize(src.get(), nullptr, 0), nullptr);
    EXPECT_EQ(resize(src.get(), nullptr, -3), nullptr);
    EXPECT_EQ(resize(src.get(), nullptr, 0x7FFFFFFF), nullptr) << "size overflows";
}

// Into a given surface: the top-left corner only, and that surface is
// returned. Without one: a new 32-bit surface of the source's size.
TEST(BmpCopy, IntoGivenOrNewSurface)
{
    Surface src = make24(3, 2);
    putpixel(src.get(), 2, 1, rgb(9, 8, 7));

    Surface bigger = make32(5, 4);
    putpixel(bigger.get(), 4, 3, rgb(1, 1, 1));
    EXPECT_EQ(bmpCopy(src.get(), bigger.get()), bigger.get());
    EXPECT_EQ(getpixel(bigger.get(), 2, 1), rgb(9, 8, 7));
    EXPECT_EQ(getpixel(bigger.get(), 4, 3), rgb(1, 1, 1));

    Surface made(bmpCopy(src.get(), nullptr), SDL_FreeSurface);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->w, 3);
    EXPECT_EQ(made->h, 2);
    EXPECT_EQ(made->format->BitsPerPixel, 32);
    EXPECT_EQ(made->format->Gmask, 0xFF00u);
    EXPECT_EQ(getpixel(made.get(), 2, 1), rgb(9, 8, 7));
    EXPECT_EQ(getpixel(made.get(), 0, 0), 0u);
}

TEST(BmpCopy, NullSourceGivesNull)
{
    Surface dst = make32(2, 2);
    EXPECT_EQ(bmpCopy(nullptr, nullptr), nullptr);
    EXPECT_EQ(bmpCopy(nullptr, dst.get()), nullptr);
}

class Recolor : public ::testing::Test {
protected:
    // One pixel of each marker colour in row 0, then two near-markers.
    void SetUp() override
    {
        const int markers[6][3] = {{44, 46, 44}, {156, 158, 156}, {244, 242, 244},
                                   {76, 74, 76},  {0, 0, 0},       {100, 102, 100}};
        for (int k = 0; k < 6; ++k)
            putpixel(sheet.get(), k, 0, rgb(markers[k][0], markers[k][1], markers[k][2]));
        putpixel(sheet.get(), 6, 0, rgb(45, 46, 44));
        putpixel(sheet.get(), 7, 0, rgb(255, 255, 255));
        for (int x = 0; x < 8; ++x)
            putpixel(sheet.get(), x, 1, rgb(200, 10, 10));
        putpixel(sheet.get(), 3, 1, 0); // black, marker 4

        level.reset(bmpCopy(sheet.get(), nullptr));
        ASSERT_NE(level, nullptr);
    }

    Surface sheet = make24(8, 2);
    Surface level{nullptr, SDL_FreeSurface};
    Surface palette = makePalette();
};

// Marker k takes register k; other pixels keep what the copy holds.
TEST_F(Recolor, MarkersTakeTheirRegisters)
{
    int colours[6] = {0, 8, 14, 2, 0, 4};
    putpixel(level.get(), 6, 0, 0x00ABCDEF); // near-marker (45,46,44)
    recolor(sheet.get(), level.get(), colours, palette.get());

    EXPECT_EQ(getpixel(level.get(), 0, 0), paletteAt(0, 0));
    EXPECT_EQ(getpixel(level.get(), 1, 0), paletteAt(0, 64)) << "register 1 holds 8";
    EXPECT_EQ(getpixel(level.get(), 2, 0), paletteAt(0, 112));
    EXPECT_EQ(getpixel(level.get(), 3, 0), paletteAt(0, 16));
    EXPECT_EQ(getpixel(level.get(), 4, 0), paletteAt(0, 0)) << "black takes register 4";
    EXPECT_EQ(getpixel(level.get(), 5, 0), paletteAt(0, 32)) << "register 5 holds 4";
    EXPECT_EQ(getpixel(level.get(), 6, 0), 0x00ABCDEFu) << "non-marker written";
    EXPECT_EQ(getpixel(level.get(), 7, 0), rgb(255, 255, 255));
    EXPECT_EQ(getpixel(level.get(), 0, 1), rgb(200, 10, 10));
    EXPECT_EQ(getpixel(level.get(), 3, 1), paletteAt(0, 0));
    EXPECT_EQ(getpixel(sheet.get(), 3, 1), 0u) << "the source changed";
}

// Hue picks the column, luminance the row (8 rows per step); odd
// luminances land between the cells.
TEST_F(Recolor, AtariValueAddressesThePalette)
{
    int colours[6] = {0x94, 0x0F, 0xF0, -1, 0x100, 0x35};
    recolor(sheet.get(), level.get(), colours, palette.get());
    EXPECT_EQ(getpixel(level.get(), 0, 0), paletteAt(144, 32));
    EXPECT_EQ(getpixel(level.get(), 1, 0), paletteAt(0, 120));
    EXPECT_EQ(getpixel(level.get(), 2, 0), paletteAt(240, 0));
    EXPECT_EQ(getpixel(level.get(), 3, 0), paletteAt(240, 120)) << "any int stays inside";
    EXPECT_EQ(getpixel(level.get(), 4, 0), paletteAt(0, 0));
    EXPECT_EQ(getpixel(level.get(), 5, 0), paletteAt(48, 40));
}

// The markers are always looked up in the unchanged sheet, so recolouring
// again replaces earlier colours and repeating it changes nothing.
TEST_F(Recolor, RepeatableAndReplacesEarlierColours)
{
    int first[6] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    int second[6] = {0x12, 0x22, 0x32, 0x42, 0x52, 0x62};
    recolor(sheet.get(), level.get(), first, palette.get());
    recolor(sheet.get(), level.get(), second, palette.get());
    const std::vector<Uint32> once = pixelsOf(level.get());
    EXPECT_EQ(once[0], paletteAt(0x10, 16));

    recolor(sheet.get(), level.get(), second, palette.get());
    EXPECT_EQ(pixelsOf(level.get()), once);
}

// A 32-bit sheet without alpha may carry anything in its spare byte.
TEST(RecolorFormats, SpareByteDoesNotHideMarkers)
{
    Surface sheet = make32(2, 1);
    putpixel(sheet.get(), 0, 0, 0xFF000000 | rgb(156, 158, 156));
    putpixel(sheet.get(), 1, 0, 0xFF000000);
    Surface level = make32(2, 1);
    Surface palette = makePalette();
    int colours[6] = {0, 8, 14, 2, 0, 4};
    recolor(sheet.get(), level.get(), colours, palette.get());
    EXPECT_EQ(getpixel(level.get(), 0, 0), paletteAt(0, 64));
    EXPECT_EQ(getpixel(level.get(), 1, 0), paletteAt(0, 0));
}

// Bad surfaces from bad files must not make it read or write outside them:
// a palette too small for a register leaves that register's markers alone,
// and a small destination takes only what fits.
TEST(RecolorFormats, StaysInsideSmallSurfaces)
{
    Surface sheet = make24(8, 8); // all black: marker 4
    Surface small = make32(4, 4);
    Surface tinyPalette = make32(16, 8);
    putpixel(tinyPalette.get(), 0, 0, 0x123456);
    int colours[6] = {0, 0, 0, 0, 0x00, 0};
    recolor(sheet.get(), small.get(), colours, tinyPalette.get());
    EXPECT_EQ(getpixel(small.get(), 3, 3), 0x123456u);

    colours[4] = 0x94; // (144, 32): outside a 16 x 8 palette
    putpixel(small.get(), 0, 0, 0x777777);
    recolor(sheet.get(), small.get(), colours, tinyPalette.get());
    EXPECT_EQ(getpixel(small.get(), 0, 0), 0x777777u);
}

// Every call is counted, even one that has nothing to work on.
TEST(RecolorFormats, NullSurfacesAreCountedNoOps)
{
    Surface sheet = make24(2, 2);
    Surface level = make32(2, 2);
    putpixel(level.get(), 0, 0, 0x424242);
    Surface palette = makePalette();
    int colours[6] = {0, 8, 14, 2, 0, 4};

    const unsigned long before = recolorCount();
    recolor(nullptr, level.get(), colours, palette.get());
    recolor(sheet.get(), nullptr, colours, palette.get());
    recolor(sheet.get(), level.get(), colours, nullptr);
    recolor(sheet.get(), level.get(), nullptr, palette.get());
    EXPECT_EQ(recolorCount() - before, 4u);
    EXPECT_EQ(getpixel(level.get(), 0, 0), 0x424242u);

    recolor(sheet.get(), level.get(), colours, palette.get());
    EXPECT_EQ(recolorCount() - before, 5u);
}
