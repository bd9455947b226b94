// Saving and loading a full set of 32 levels, without the disk.
#include "core/game.h"
#include "core/gameimage.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

struct FullSet {
    LevelData levels[kLevelSlots];
    TextPage pages[2];
    FullSet()
    {
        for (int slot = 0; slot < kLevelSlots; ++slot) {
            levels[slot].on = true;
            std::memset(levels[slot].cells, slot, sizeof levels[slot].cells);
            levels[slot].srubki = slot;
        }
        for (auto& page : pages)
            for (auto& line : page) {
                std::memset(line, 'A', kPageColumns);
                line[kPageColumns] = '\0';
            }
    }
};

void BM_WriteFullSet(benchmark::State& state)
{
    const FullSet set;
    for (auto _ : state)
        benchmark::DoNotOptimize(writeGameImage(game, gameSize, set.levels, set.pages));
}
BENCHMARK(BM_WriteFullSet);

void BM_ReadFullSet(benchmark::State& state)
{
    const FullSet set;
    const std::vector<uint8_t> image = writeGameImage(game, gameSize, set.levels, set.pages);
    for (auto _ : state)
        benchmark::DoNotOptimize(readGameImage(image.data(), image.size()));
}
BENCHMARK(BM_ReadFullSet);

} // namespace
