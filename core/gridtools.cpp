#include "core/gridtools.h"

#include "core/tiledirections.h"

#include <algorithm>
#include <cstdlib>

// Bresenham's walk: one step along the longer axis per cell, a step along
// the shorter one whenever the error term says the line has crossed over.
Cells lineCells(Cell from, Cell to)
{
    const int dx = std::abs(to.column - from.column);
    const int dy = -std::abs(to.row - from.row);
    const int sx = from.column < to.column ? 1 : -1;
    const int sy = from.row < to.row ? 1 : -1;
    int error = dx + dy;
    Cells cells;
    cells.reserve(size_t(std::max(dx, -dy)) + 1);
    Cell at = from;
    for (;;) {
        cells.push_back(at);
        if (at == to)
            return cells;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.column += sx;
        }
        if (twice <= dx) {
            error += dx;
            at.row += sy;
        }
    }
}

Cells rectangleCells(Cell corner, Cell opposite, bool filled)
{
    auto clampColumn = [](int c) { return std::clamp(c, 0, kLevelColumns - 1); };
    auto clampRow = [](int r) { return std::clamp(r, 0, kLevelRows - 1); };
    const int left = clampColumn(std::min(corner.column, opposite.column));
    const int right = clampColumn(std::max(corner.column, opposite.column));
    const int top = clampRow(std::min(corner.row, opposite.row));
    const int bottom = clampRow(std::max(corner.row, opposite.row));
    Cells cells;
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            if (filled || row == top || row == bottom || column == left || column == right)
                cells.push_back({column, row});
    return cells;
}

Cells areaCells(const LevelGrid& grid, Cell start)
{
    Cells area;
    if (!insideGrid(start))
        return area;
    const uint8_t code = grid[start.column][start.row];
    bool seen[kLevelColumns][kLevelRows] = {};
    Cells pending{start};
    seen[start.column][start.row] = true;
    while (!pending.empty()) {
        const Cell cell = pending.back();
        pending.pop_back();
        area.push_back(cell);
        const Cell neighbours[4] = {{cell.column - 1, cell.row},
                                    {cell.column + 1, cell.row},
                                    {cell.column, cell.row - 1},
                                    {cell.column, cell.row + 1}};
        for (const Cell& next : neighbours) {
            if (!insideGrid(next) || seen[next.column][next.row] || grid[next.column][next.row] != code)
                continue;
            seen[next.column][next.row] = true;
            pending.push_back(next);
        }
    }
    return area;
}

void setCells(LevelGrid& grid, const Cells& cells, uint8_t code)
{
    for (const Cell& cell : cells)
        if (insideGrid(cell))
            grid[cell.column][cell.row] = code;
}

GridPatch copyPatch(const LevelGrid& grid, Cell corner, Cell opposite)
{
    const Cells cells = rectangleCells(corner, opposite, true);
    GridPatch patch;
    patch.columns = cells.back().column - cells.front().column + 1;
    patch.rows = cells.back().row - cells.front().row + 1;
    for (const Cell& cell : cells) // row after row, like the patch
        patch.codes.push_back(grid[cell.column][cell.row]);
    return patch;
}

void pastePatch(LevelGrid& grid, const GridPatch& patch, Cell at)
{
    for (int row = 0; row < patch.rows; ++row)
        for (int column = 0; column < patch.columns; ++column) {
            const Cell target{at.column + column, at.row + row};
            if (insideGrid(target))
                grid[target.column][target.row] = patch.at(column, row);
        }
}

namespace {

bool turnsQuarter(GridTurn turn) { return turn == GridTurn::clockwise || turn == GridTurn::counterClockwise; }

// Directions as the game numbers them: 0 up, 1 right, 2 down, 3 left.
int turnedDirection(int direction, GridTurn turn)
{
    switch (turn) {
    case GridTurn::flipLeftRight: return direction % 2 ? 4 - direction : direction;
    case GridTurn::flipTopBottom: return direction % 2 ? direction : (direction + 2) % 4;
    case GridTurn::clockwise: return (direction + 1) % 4;
    case GridTurn::counterClockwise: return (direction + 3) % 4;
    }
    return direction;
}

} // namespace

uint8_t turnedCode(uint8_t code, GridTurn turn)
{
    for (int group = 0; group < kDirectedTileGroups; ++group) {
        const uint8_t* codes = kDirectedTiles[group].codes;
        for (int direction = 0; direction < 4; ++direction)
            if (codes[direction] == code)
                return codes[turnedDirection(direction, turn)];
    }
    return code;
}

GridPatch turnedPatch(const GridPatch& patch, GridTurn turn)
{
    GridPatch turned;
    turned.columns = turnsQuarter(turn) ? patch.rows : patch.columns;
    turned.rows = turnsQuarter(turn) ? patch.columns : patch.rows;
    turned.codes.reserve(patch.codes.size());
    // Each cell of the result takes the code of the cell that lands there.
    for (int row = 0; row < turned.rows; ++row)
        for (int column = 0; column < turned.columns; ++column) {
            Cell from{column, row};
            switch (turn) {
            case GridTurn::flipLeftRight: from = {patch.columns - 1 - column, row}; break;
            case GridTurn::flipTopBottom: from = {column, patch.rows - 1 - row}; break;
            case GridTurn::clockwise: from = {row, patch.rows - 1 - column}; break;
            case GridTurn::counterClockwise: from = {patch.columns - 1 - row, column}; break;
            }
            turned.codes.push_back(turnedCode(patch.at(from.column, from.row), turn));
        }
    return turned;
}
