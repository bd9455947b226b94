// The editor's hot paths with the default data: repainting (all of it, a
// hover, a stroke step; at 1x and shown at 2x), opening the set view and
// stepping through it (with the solver at work in the background and
// without), and saving and loading a set of 32 levels through the editor.
// The paints also report their cost in full-screen fills of the same size
// ("fills"), the yardstick of the goals: a hover or a stroke step at most
// one fill, a whole repaint at 2x under five fills at 2x.
#include "editor/frame.h"
#include "render/scale.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <memory>
#include <vector>
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
        options.clock = [this] { return now; };
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
    uint64_t now = 0;  // the editor's clock
};

SDL_Surface* surfaceAt(int scale)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, 640 * scale, 570 * scale, 32, 0xFF0000, 0xFF00, 0xFF, 0);
}

// Seconds one fill of a whole surface at `scale` takes, the median of a few
// runs of many.
double fillSeconds(int scale)
{
    SDL_Surface* surface = surfaceAt(scale);
    std::vector<double> runs;
    for (int run = 0; run < 7; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 200; ++i) {
            SDL_FillRect(surface, nullptr, Uint32(i));
            benchmark::ClobberMemory();
        }
        runs.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 200);
    }
    SDL_FreeSurface(surface);
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

// The time per iteration since `start`, in fills at `scale`.
void countFills(benchmark::State& state, std::chrono::steady_clock::time_point start, int scale)
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["fills"] = seconds / double(state.iterations()) / fillSeconds(scale);
}

void BM_FillScreen(benchmark::State& state)
{
    SDL_Surface* surface = surfaceAt(int(state.range(0)));
    Uint32 colour = 0;
    for (auto _ : state) {
        SDL_FillRect(surface, nullptr, ++colour);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(surface);
}
BENCHMARK(BM_FillScreen)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Everything, as after a dialog or a change of background.
void BM_Paint(benchmark::State& state)
{
    Editor e;
    e.fill();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        e.editor->invalidate();
        e.editor->paint();
        benchmark::ClobberMemory();
    }
    countFills(state, start, 1);
}
BENCHMARK(BM_Paint)->Unit(benchmark::kMicrosecond);

// The pointer moving from cell to cell over the canvas.
void BM_PaintHover(benchmark::State& state)
{
    Editor e;
    e.fill();
    e.editor->paint();
    int step = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const layout::Rect cell = layout::canvasCellRect(step % 16, (step / 16) % 31);
        e.editor->mouse(cell.x + 3, cell.y + 3, 0);
        e.editor->paint();
        ++step;
        benchmark::ClobberMemory();
    }
    countFills(state, start, 1);
}
BENCHMARK(BM_PaintHover)->Unit(benchmark::kMicrosecond);

// A drawing stroke going on cell by cell.
void BM_PaintStrokeStep(benchmark::State& state)
{
    Editor e;
    e.fill();
    e.editor->currentTile = 6;
    e.editor->mouse(10, 60, 1);
    e.editor->paint();
    int step = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const layout::Rect cell = layout::canvasCellRect(step % 16, (step / 16) % 31);
        e.editor->mouse(cell.x + 3, cell.y + 3, 1);
        e.editor->paint();
        ++step;
        benchmark::ClobberMemory();
    }
    e.editor->mouse(10, 60, -1);
    countFills(state, start, 1);
}
BENCHMARK(BM_PaintStrokeStep)->Unit(benchmark::kMicrosecond);

// A whole repaint shown at 2x: drawn at 1x, then enlarged into the window.
void BM_PaintWhole2x(benchmark::State& state)
{
    Editor e;
    e.fill();
    SDL_Surface* window = surfaceAt(2);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        e.editor->invalidate();
        e.editor->paint();
        scaleArea(e.screen, {0, 0, 640, 570}, window, 2, 0, 0);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(window);
    countFills(state, start, 2);
}
BENCHMARK(BM_PaintWhole2x)->Unit(benchmark::kMicrosecond);

// A hover shown at 2x: the changed parts alone are enlarged.
void BM_PaintHover2x(benchmark::State& state)
{
    Editor e;
    e.fill();
    SDL_Surface* window = surfaceAt(2);
    e.editor->paint();
    int step = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const layout::Rect cell = layout::canvasCellRect(step % 16, (step / 16) % 31);
        e.editor->mouse(cell.x + 3, cell.y + 3, 0);
        e.editor->paint();
        for (const SDL_Rect& area : e.editor->damage())
            scaleArea(e.screen, area, window, 2, 0, 0);
        ++step;
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(window);
    countFills(state, start, 2);
}
BENCHMARK(BM_PaintHover2x)->Unit(benchmark::kMicrosecond);

// Opening the set view of 32 levels, none of whose pictures is made yet:
// each level recoloured, drawn and reduced, and the view painted whole.
// The goal: under 50 ms.
void BM_OpenSetView(benchmark::State& state)
{
    Editor e;
    e.fill();
    e.editor->paint();
    int round = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        e.editor->showSetView(false);
        e.editor->paint();
        ++round;
        for (int slot = 0; slot < 32; ++slot) {
            LevelData level = e.editor->session.level(slot);
            level.colours[0] = (round * 2) & 0xFE;
            level.colours[2] = (round / 128 * 2 + slot * 16) & 0xFE;
            e.editor->session.setLevel(slot, level);
        }
        e.editor->session.endStep();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        e.editor->showSetView(true);
        e.editor->paint();
        benchmark::ClobberMemory();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["fills"] = seconds / double(state.iterations()) / fillSeconds(1);
}
BENCHMARK(BM_OpenSetView)->Unit(benchmark::kMillisecond);

// A step through the open view (the chosen level moves on, two places and
// the curve are drawn again), while the solver looks for the 32 levels'
// verdicts on its thread (1) and while it does not (0): the window's frames
// must not wait for it.
void BM_SetViewStep(benchmark::State& state)
{
    Editor e;
    for (int slot = 0; slot < 32; ++slot) {
        // Open floor with the exit walled in: every search runs to its budget.
        LevelData level = emptyLevel(0);
        level.on = true;
        for (int column = 0; column < 16; ++column)
            level.cells[column][0] = level.cells[column][30] = 1;
        for (int row = 0; row < 31; ++row)
            level.cells[0][row] = level.cells[15][row] = 1;
        level.cells[1 + slot % 14][1 + slot % 29] = 4;
        level.cells[3 + slot % 10][5 + slot % 20] = 0x30;
        e.editor->session.setLevel(slot, level);
    }
    e.editor->session.endStep();
    e.editor->showSetView(true);
    e.editor->paint();
    if (state.range(0)) {
        e.editor->tick();
        e.now += 10000;
        e.editor->tick();
    }
    SDL_keysym right = {};
    right.sym = SDLK_RIGHT;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        e.editor->keyDown(right);
        e.editor->paint();
        benchmark::ClobberMemory();
    }
    countFills(state, start, 1);
    state.counters["solving"] = e.editor->setView->solving() ? 1 : 0;
}
BENCHMARK(BM_SetViewStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
