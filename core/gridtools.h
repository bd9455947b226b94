// The painting tools' geometry over a level's 16 x 31 grid of tile codes:
// the cells a stroke segment, a line, a rectangle or a flood fill covers,
// and pieces of the grid copied, flipped and turned. Each tool first lists
// its cells, so the editor can draw the same list as a preview while
// dragging and write it into the level on release.
#pragma once

#include "core/level.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using Cells = std::vector<Cell>;
using LevelGrid = uint8_t[kLevelColumns][kLevelRows]; // [column][row], as LevelData::cells

// Every cell on the straight line from `from` to `to`, both ends included,
// in order from `from`, each one a step of one cell (sideways or diagonal)
// from the one before: a drag drawn through it has no gaps.
Cells lineCells(Cell from, Cell to);

// The rectangle with the two corners given in any order: every cell inside
// it when `filled`, else only its border. Corners outside the grid are
// brought to its edge.
Cells rectangleCells(Cell corner, Cell opposite, bool filled);

// The connected area of cells holding the same code as `start`, reaching
// across sides but not across corners, bounded by other codes and by the
// grid's edges. Empty when `start` is outside the grid.
Cells areaCells(const LevelGrid& grid, Cell start);

// Writes `code` into each listed cell inside the grid.
void setCells(LevelGrid& grid, const Cells& cells, uint8_t code);

// A rectangular piece of a level's grid, for copying and pasting a selection.
struct GridPatch {
    int columns = 0;
    int rows = 0;
    std::vector<uint8_t> codes; // row after row
    bool empty() const { return codes.empty(); }
    uint8_t at(int column, int row) const { return codes[size_t(row * columns + column)]; }
};

// The rectangle between two corners, given in any order and brought to the
// grid's edge.
GridPatch copyPatch(const LevelGrid& grid, Cell corner, Cell opposite);

// Writes the patch with its top left cell at `at`; what falls outside the
// grid is left out.
void pastePatch(LevelGrid& grid, const GridPatch& patch, Cell at);

// A flip or a quarter turn of a piece of a level.
enum class GridTurn { flipLeftRight, flipTopBottom, clockwise, counterClockwise };

// The code of the same tile facing where `code` faces after `turn` (the
// game's directed tiles, core/tiledirections.h): a laser firing right fires
// left after a left-right flip and down after a clockwise turn, a beetle
// walking across walks along after a turn. Other codes stay as they are.
uint8_t turnedCode(uint8_t code, GridTurn turn);

// The patch flipped or turned, every code turned with it; a turn swaps its
// columns and rows.
GridPatch turnedPatch(const GridPatch& patch, GridTurn turn);
