// One level and one text page as plain data: the sizes of a level set, the
// cells, colours and counters of a level, and the grid coordinates every
// tool, check and drawing uses. The one place these numbers are written.
#pragma once

#include <cstdint>

constexpr int kLevelColumns = 16;
constexpr int kLevelRows = 31;
constexpr int kLevelCells = kLevelColumns * kLevelRows;
constexpr int kLevelSlots = 32;
constexpr int kColourRegisters = 6;
constexpr int kWallPatterns = 8;
constexpr int kMaxScrews = 99;  // the game shows two BCD digits
constexpr int kPageLines = 8;
constexpr int kPageColumns = 32;
constexpr int kTextPages = 2;  // "Start" and "Koniec"

// Colour registers 0..5 of an empty level.
constexpr int kDefaultColours[kColourRegisters] = {0, 8, 14, 2, 0, 4};

// A cell of a level's grid: column 0..15, row 0..30 when inside it.
struct Cell {
    int column = 0;
    int row = 0;
    bool operator==(const Cell& other) const { return column == other.column && row == other.row; }
    bool operator!=(const Cell& other) const { return !(*this == other); }
};

inline bool insideGrid(Cell cell)
{
    return cell.column >= 0 && cell.column < kLevelColumns && cell.row >= 0 && cell.row < kLevelRows;
}

// One level as the editor and the game image hold it.
struct LevelData {
    bool on = false;
    uint8_t cells[kLevelColumns][kLevelRows] = {};  // [column][row]
    int colours[kColourRegisters] = {};             // registers 0..5, low byte stored
    int srubki = 0;                                 // screw count, stored as packed BCD
    int wzorek = 0;                                 // wall pattern 0..7

    uint8_t at(Cell cell) const { return cells[cell.column][cell.row]; }
};

// An empty level: off, every cell the eraser code, default colours, no
// screws, wall pattern 0.
LevelData emptyLevel(int eraserCode);
bool sameLevel(const LevelData& a, const LevelData& b);
// How many cells hold `code` (the screws drawn, for the screw code); 0 for
// a code outside 0..255.
int countCells(const LevelData& level, int code);

// A text page in editor codes: 8 lines of 32 characters, each ended by a NUL.
using TextPage = char[kPageLines][kPageColumns + 1];

// A page of spaces, each line ended by a NUL.
void blankPage(TextPage& page);
