// Cost of one level recolouring, which runs on every colour change.
#include "editor/map.h"
#include "render/funkcje.h"

#include <benchmark/benchmark.h>

namespace {

// A sheet of 64 tile columns (1024 x 16) in which about half the pixels
// are marker colours, like real tile art, and a 256 x 128 palette sheet.
void recolourLevel(benchmark::State& state)
{
    const int bits = static_cast<int>(state.range(0));
    SDL_Surface* sheet = SDL_CreateRGBSurface(SDL_SWSURFACE, 1024, 16, bits, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_Surface* palette = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 128, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    const Uint32 colours[12] = {0x2C2E2C, 0x9C9E9C, 0xF4F2F4, 0x4C4A4C, 0x000000, 0x646664,
                                0xC02020, 0x20C020, 0x2020C0, 0xFFFFFF, 0x808000, 0x008080};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 1024; ++x)
            putpixel(sheet, x, y, colours[(x * 7 + y * 3) % 12]);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x)
            putpixel(palette, x, y, static_cast<Uint32>(x << 8 | y));

    map level;
    level.setBmp(sheet, palette);
    int value = 0;
    for (auto _ : state) {
        level.colorSet(value % 6, value & 0xFF);
        ++value;
        benchmark::DoNotOptimize(level.sheet()->pixels);
    }
    state.SetItemsProcessed(state.iterations() * 1024 * 16);

    level.setBmp(nullptr, nullptr);
    SDL_FreeSurface(palette);
    SDL_FreeSurface(sheet);
}

} // namespace

BENCHMARK(recolourLevel)->Arg(32)->Arg(24)->ArgName("sheetBits")->Unit(benchmark::kMicrosecond);
