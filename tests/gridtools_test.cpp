// The painting tools' cells: lines without gaps, rectangles, flood fill.
#include "core/gridtools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ostream>

void PrintTo(const Cell& cell, std::ostream* out)
{
    *out << "(" << cell.column << ", " << cell.row << ")";
}

namespace {

bool contains(const Cells& cells, Cell cell)
{
    return std::find(cells.begin(), cells.end(), cell) != cells.end();
}

// A shallow line steps one cell at a time from end to end, and so does every
// line across the grid in any direction: a stroke through them has no gaps.
TEST(GridTools, LinesRunFromEndToEndWithoutGaps)
{
    const Cells shallow = lineCells({0, 0}, {6, 2});
    const Cells expected = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}, {6, 2}};
    EXPECT_EQ(shallow, expected);
    EXPECT_EQ(lineCells({7, 9}, {7, 9}), (Cells{Cell{7, 9}}));

    const Cell ends[4] = {{0, 0}, {15, 30}, {15, 0}, {0, 30}};
    for (const Cell& from : ends)
        for (const Cell& to : {Cell{3, 29}, Cell{14, 2}, Cell{0, 0}, Cell{15, 30}}) {
            const Cells line = lineCells(from, to);
            ASSERT_EQ(line.front(), from);
            ASSERT_EQ(line.back(), to);
            for (size_t i = 1; i < line.size(); ++i) {
                const int dx = std::abs(line[i].column - line[i - 1].column);
                const int dy = std::abs(line[i].row - line[i - 1].row);
                ASSERT_EQ(std::max(dx, dy), 1) << "gap in the line at step " << i;
            }
            ASSERT_EQ(line.size(), size_t(std::max(std::abs(to.column - from.column), std::abs(to.row - from.row)) + 1));
        }
}

// Corners in any order; an outline is only the border; corners beyond the
// grid stop at its edge.
TEST(GridTools, RectanglesCoverExactlyTheirCells)
{
    const Cells filled = rectangleCells({5, 4}, {2, 2}, true);
    EXPECT_EQ(filled.size(), 4u * 3u);
    const Cells outline = rectangleCells({2, 2}, {5, 5}, false);
    EXPECT_EQ(outline.size(), 12u);
    EXPECT_TRUE(contains(outline, {2, 5}));
    EXPECT_TRUE(contains(outline, {5, 3}));
    EXPECT_FALSE(contains(outline, {3, 3}));
    for (const Cell& cell : filled)
        EXPECT_TRUE(cell.column >= 2 && cell.column <= 5 && cell.row >= 2 && cell.row <= 4);

    const Cells clipped = rectangleCells({-3, 28}, {1, 40}, true);
    EXPECT_EQ(clipped.size(), 2u * 3u);
    for (const Cell& cell : clipped)
        EXPECT_TRUE(insideGrid(cell));
}

// The fill keeps to the connected area of one code: a diagonal gap does not
// let it through, other codes and the grid's edges stop it.
TEST(GridTools, FillStopsAtOtherCodesAndAtTheEdges)
{
    LevelGrid grid;
    std::memset(grid, 0, sizeof grid);
    // Two walls of code 1 across the grid at rows 10 and 11, each with one
    // opening; the openings (7, 10) and (8, 11) meet only at a corner.
    for (int column = 0; column < kLevelColumns; ++column)
        grid[column][10] = grid[column][11] = 1;
    grid[7][10] = 0;
    grid[8][11] = 0;

    const Cells above = areaCells(grid, {15, 0});
    EXPECT_EQ(above.size(), size_t(16 * 10 + 1));
    EXPECT_TRUE(contains(above, {7, 10}));
    EXPECT_FALSE(contains(above, {8, 11}));
    EXPECT_EQ(areaCells(grid, {0, 30}).size(), size_t(16 * 19 + 1));
    // The openings cut the walls in two halves that touch only at a corner.
    EXPECT_EQ(areaCells(grid, {3, 11}).size(), size_t(7 + 8));
    EXPECT_TRUE(areaCells(grid, {16, 0}).empty());

    setCells(grid, above, 5);
    EXPECT_EQ(grid[0][0], 5);
    EXPECT_EQ(grid[7][10], 5);
    EXPECT_EQ(grid[6][10], 1);
    EXPECT_EQ(grid[8][11], 0);
}

} // namespace
