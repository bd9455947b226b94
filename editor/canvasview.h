// The level canvas, painted by cells. Each cell has a look (the code it
// shows and the marks passing through it: the hovered cell, the selection,
// a part being placed, the eraser's band, the flashing cell), and a paint
// draws again only the cells whose look changed; a change of level,
// colours, wall pattern, grid or background draws them all. The window
// tells it what to show; it keeps only what it drew last.
#pragma once

#include "core/level.h"
#include "render/levelrenderer.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <vector>

class CanvasView {
public:
    // What the canvas shows at one paint. Cells are indexed column by
    // column (column * kLevelRows + row).
    struct Scene {
        TileArt art;
        SDL_Surface* levelSheet = nullptr;
        const LevelData* level = nullptr;  // its colours and wall pattern
        uint64_t levelLook = 0;            // whatever else makes every cell change
        std::array<uint8_t, kLevelCells> codes{};
        std::array<bool, kLevelCells> openExits{};  // cells showing the open exit
        bool grid = false;
        Uint32 background = 0;
        // The marks; none while a level plays.
        Cell pointer{-1, -1};  // the hovered cell; off the grid: none
        bool selection = false;
        Cell selectionStart, selectionEnd;
        bool placing = false;
        Cell placingEnd;  // the part being placed runs from `pointer` to here
        int bandRow = -1;  // the eraser's band's first row; -1 none
        Cell flashed{-1, -1};
        bool flashOn = false;  // the flashing cell's mark shows now
    };

    // Draws what changed, everything with `whole`; adds the areas drawn to
    // `damage` unless `whole`.
    void paint(SDL_Surface* screen, const Scene& scene, bool whole, std::vector<SDL_Rect>& damage);

private:
    uint32_t cellLook(const Scene& scene, Cell cell) const;
    void drawCell(SDL_Surface* screen, const Scene& scene, Cell cell, uint32_t look) const;
    void drawMarks(SDL_Surface* screen, const Scene& scene, uint32_t look) const;
    void paintEdges(SDL_Surface* screen, const Scene& scene, bool all, bool whole, std::vector<SDL_Rect>& damage);

    uint64_t shownLook_ = 0;
    std::array<uint32_t, kLevelCells> shownCells_{};
    int shownBand_ = -1;
};
