// The editor's hot paths with the default data: a full repaint, and saving
// and loading a set of 32 levels through the editor.
#include "editor/frame.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

struct Editor {
    Editor()
    {
        SDL_Init(SDL_INIT_VIDEO);
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 570, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        FrameOptions options;
        options.dataDirs = {ZELBUN_SOURCE_DIR "/data"};
        editor = std::make_unique<frame>(screen, options);
    }
    ~Editor()
    {
        editor.reset();
        SDL_FreeSurface(screen);
    }
    // Every slot on, with a varied grid.
    void fill()
    {
        for (int slot = 0; slot < 32; ++slot) {
            map& level = editor->levels[slot];
            for (int column = 0; column < 16; ++column)
                for (int row = 0; row < 31; ++row) {
                    int entry = (slot + column * 31 + row) % 40;
                    int code = editor->tileCodes[entry];
                    level.add(column, row, code < 0 ? 0 : code);
                }
            level.srubkiSet(slot);
        }
    }
    SDL_Surface* screen;
    std::unique_ptr<frame> editor;
};

void BM_Paint(benchmark::State& state)
{
    Editor e;
    e.fill();
    for (auto _ : state) {
        e.editor->paint();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Paint)->Unit(benchmark::kMicrosecond);

std::string benchPath()
{
    return "/tmp/zelbun-bench-" + std::to_string(getpid()) + ".atr";
}

void BM_SaveFullSet(benchmark::State& state)
{
    Editor e;
    e.fill();
    std::string path = benchPath();
    char buffer[PATH_MAX + 8];
    for (auto _ : state) {
        std::strcpy(buffer, path.c_str());
        benchmark::DoNotOptimize(e.editor->saveMap(buffer));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveFullSet)->Unit(benchmark::kMicrosecond);

// Loading recolours each of the 32 levels once.
void BM_LoadFullSet(benchmark::State& state)
{
    Editor e;
    e.fill();
    std::string path = benchPath();
    char buffer[PATH_MAX + 8];
    std::strcpy(buffer, path.c_str());
    e.editor->saveMap(buffer);
    for (auto _ : state)
        benchmark::DoNotOptimize(e.editor->loadMap(path.c_str()));
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadFullSet)->Unit(benchmark::kMicrosecond);

} // namespace
