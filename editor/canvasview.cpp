#include "editor/canvasview.h"

#include "editor/layout.h"
#include "editor/look.h"
#include "render/funkcje.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>

namespace {

// What a cell's look holds besides its code (the low 8 bits): which edges
// of each outline pass through it, four bits (left, top, right, bottom) an
// outline, and the marks of the cell alone.
const int selectionEdges = 8, placingEdges = 12, bandEdges = 16;
const uint32_t hovered = 1u << 20;
const uint32_t flashed = 1u << 21;
const uint32_t openExit = 1u << 22;

bool has(uint32_t look, int edges)
{
    return (look >> edges & 0xF) != 0;
}

// The edges of the rectangle from `a` to `b` that lie in `cell`, as four
// bits at `shift`.
uint32_t edgesIn(Cell cell, Cell a, Cell b, int shift)
{
    const int left = std::min(a.column, b.column), right = std::max(a.column, b.column);
    const int top = std::min(a.row, b.row), bottom = std::max(a.row, b.row);
    if (cell.column < left || cell.column > right || cell.row < top || cell.row > bottom)
        return 0;
    const uint32_t edges = (cell.column == left ? 1u : 0u) | (cell.row == top ? 2u : 0u) |
                           (cell.column == right ? 4u : 0u) | (cell.row == bottom ? 8u : 0u);
    return edges << shift;
}

size_t indexOf(Cell cell)
{
    return size_t(cell.column * kLevelRows + cell.row);
}

SDL_Rect sdlRect(const layout::Rect& r)
{
    return {Sint16(r.x), Sint16(r.y), Uint16(r.w), Uint16(r.h)};
}

// The eraser's band: ten rows from its row, from the canvas's left column
// to its edge column and down to the first row after them.
void drawBand(SDL_Surface* screen, int row)
{
    const layout::Rect b = layout::band(row);
    rectangleRGBA(screen, Sint16(b.x), Sint16(b.y), Sint16(b.right()), Sint16(b.bottom()), 255, 125, 125, 255);
}

} // namespace

uint32_t CanvasView::cellLook(const Scene& scene, Cell cell) const
{
    uint32_t look = scene.codes[indexOf(cell)];
    if (scene.openExits[indexOf(cell)])
        look |= openExit;
    if (scene.pointer == cell)
        look |= hovered;
    if (scene.placing)
        look |= edgesIn(cell, scene.pointer, scene.placingEnd, placingEdges);
    if (scene.selection)
        look |= edgesIn(cell, scene.selectionStart, scene.selectionEnd, selectionEdges);
    if (scene.bandRow >= 0)
        look |= edgesIn(cell, {0, scene.bandRow},
                        {kLevelColumns - 1, std::min(scene.bandRow + layout::bandRows, kLevelRows - 1)}, bandEdges);
    if (scene.flashOn && cell == scene.flashed)
        look |= flashed;
    return look;
}

// One cell showing the code of its look in the level's colours and wall
// pattern, the open exit as the game shows it.
void CanvasView::drawCell(SDL_Surface* screen, const Scene& scene, Cell cell, uint32_t look) const
{
    const layout::Rect r = layout::canvasCellRect(cell.column, cell.row);
    if (look & openExit)
        drawOpenExit(screen, scene.art, scene.levelSheet, scene.level->colours, int(look & 0xFF), r.x, r.y);
    else
        ::drawCell(screen, scene.art, scene.levelSheet, scene.level->wzorek, int(look & 0xFF), r.x, r.y);
}

// The outlines of a look, drawn whole; the clip keeps them to the cells
// being drawn.
void CanvasView::drawMarks(SDL_Surface* screen, const Scene& scene, uint32_t look) const
{
    auto outline = [&](Cell a, Cell b, Uint8 r, Uint8 g, Uint8 bl) {
        const layout::Rect first = layout::canvasCellRect(std::min(a.column, b.column), std::min(a.row, b.row));
        const layout::Rect last = layout::canvasCellRect(std::max(a.column, b.column), std::max(a.row, b.row));
        rectangleRGBA(screen, Sint16(first.x), Sint16(first.y), Sint16(last.right() - 1), Sint16(last.bottom() - 1),
                      r, g, bl, 255);
    };
    if (has(look, selectionEdges))
        outline(scene.selectionStart, scene.selectionEnd, 0, 255, 255);
    if (has(look, placingEdges))
        outline(scene.pointer, scene.placingEnd, 0, 255, 255);
    if (look & hovered)
        outline(scene.pointer, scene.pointer, 255, 255, 0);
    // The eraser's band lies over the hovered cell's outline.
    if (has(look, bandEdges))
        drawBand(screen, scene.bandRow);
    if (look & flashed) {
        const layout::Rect r = layout::canvasCellRect(scene.flashed.column, scene.flashed.row);
        rectangleRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), 255, 0, 0,
                      255);
        rectangleRGBA(screen, Sint16(r.x + 1), Sint16(r.y + 1), Sint16(r.right() - 2), Sint16(r.bottom() - 2), 255,
                      255, 255, 255);
    }
}

void CanvasView::paint(SDL_Surface* screen, const Scene& scene, bool whole, std::vector<SDL_Rect>& damage)
{
    Look canvas;
    canvas << scene.levelLook << uint64_t(scene.grid) << uint64_t(scene.background);
    const bool all = whole || canvas.value() != shownLook_;
    shownLook_ = canvas.value();

    std::array<uint32_t, kLevelCells> looks;
    for (int column = 0; column < kLevelColumns; ++column)
        for (int row = 0; row < kLevelRows; ++row)
            looks[indexOf({column, row})] = cellLook(scene, {column, row});

    const layout::Rect& c = layout::canvas;
    if (all) {
        // All at once: the tiles, then the grid, then the outlines, as each
        // cell alone would draw them.
        SDL_Rect area = sdlRect(c);
        fillArea(screen, area, scene.background);
        LevelData shown = *scene.level;
        for (int column = 0; column < kLevelColumns; ++column)
            for (int row = 0; row < kLevelRows; ++row)
                shown.cells[column][row] = scene.codes[indexOf({column, row})];
        drawLevel(screen, scene.art, scene.levelSheet, shown, c.x, c.y);
        for (int column = 0; column < kLevelColumns; ++column)
            for (int row = 0; row < kLevelRows; ++row)
                if (looks[indexOf({column, row})] & openExit)
                    drawCell(screen, scene, {column, row}, looks[indexOf({column, row})]);
        if (scene.grid) {
            for (int column = 1; column < layout::canvasColumns; ++column)
                vlineRGBA(screen, Sint16(c.x + layout::cellSize * column), Sint16(c.y), Sint16(c.bottom() - 1), 128,
                          128, 128, 110);
            for (int row = 1; row < layout::canvasRows; ++row)
                hlineRGBA(screen, Sint16(c.x), Sint16(c.right() - 1), Sint16(c.y + layout::cellSize * row), 128,
                          128, 128, 110);
        }
        uint32_t marks = 0;
        for (uint32_t look : looks)
            marks |= look & ~0xFFu;
        SDL_SetClipRect(screen, &area);
        drawMarks(screen, scene, marks);
        SDL_SetClipRect(screen, nullptr);
        shownCells_ = looks;
        if (!whole)
            damage.push_back(area);
        paintEdges(screen, scene, true, whole, damage);
        return;
    }

    for (int row = 0; row < kLevelRows; ++row) {
        int runStart = -1;
        for (int column = 0; column <= kLevelColumns; ++column) {
            const size_t index = indexOf({column, row});
            if (column < kLevelColumns && looks[index] != shownCells_[index]) {
                const layout::Rect r = layout::canvasCellRect(column, row);
                SDL_Rect clip = sdlRect(r);
                SDL_SetClipRect(screen, &clip);
                fillArea(screen, clip, scene.background);
                drawCell(screen, scene, {column, row}, looks[index]);
                if (scene.grid) {
                    if (column > 0)
                        vlineRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.bottom() - 1), 128, 128, 128, 110);
                    if (row > 0)
                        hlineRGBA(screen, Sint16(r.x), Sint16(r.right() - 1), Sint16(r.y), 128, 128, 128, 110);
                }
                drawMarks(screen, scene, looks[index]);
                SDL_SetClipRect(screen, nullptr);
                shownCells_[index] = looks[index];
                if (runStart < 0)
                    runStart = column;
            } else if (runStart >= 0) {
                const layout::Rect first = layout::canvasCellRect(runStart, row);
                damage.push_back({Sint16(first.x), Sint16(first.y), Uint16(layout::cellSize * (column - runStart)),
                                  Uint16(layout::cellSize)});
                runStart = -1;
            }
        }
    }
    paintEdges(screen, scene, false, whole, damage);
}

// The frame's right and bottom lines, where the band's edges lie.
void CanvasView::paintEdges(SDL_Surface* screen, const Scene& scene, bool all, bool whole,
                            std::vector<SDL_Rect>& damage)
{
    if (!all && scene.bandRow == shownBand_)
        return;
    shownBand_ = scene.bandRow;
    const layout::Rect& f = layout::canvasFrame;
    for (const layout::Rect& line : {layout::canvasRightLine, layout::canvasBottomLine}) {
        SDL_Rect clip = sdlRect(line);
        SDL_SetClipRect(screen, &clip);
        rectangleRGBA(screen, Sint16(f.x), Sint16(f.y), Sint16(f.right() - 1), Sint16(f.bottom() - 1), 160, 160,
                      160, 255);
        if (scene.bandRow >= 0)
            drawBand(screen, scene.bandRow);
        SDL_SetClipRect(screen, nullptr);
        if (!whole)
            damage.push_back(clip);
    }
}
