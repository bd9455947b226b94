#include "core/level.h"

#include <cstring>

LevelData emptyLevel(int eraserCode)
{
    LevelData level;
    std::memset(level.cells, eraserCode & 0xFF, sizeof level.cells);
    for (int i = 0; i < kColourRegisters; ++i)
        level.colours[i] = kDefaultColours[i];
    return level;
}

bool sameLevel(const LevelData& a, const LevelData& b)
{
    if (a.on != b.on || a.srubki != b.srubki || a.wzorek != b.wzorek)
        return false;
    for (int i = 0; i < kColourRegisters; ++i)
        if (a.colours[i] != b.colours[i])
            return false;
    return std::memcmp(a.cells, b.cells, sizeof a.cells) == 0;
}

int countCells(const LevelData& level, int code)
{
    int count = 0;
    for (const auto& column : level.cells)
        for (uint8_t cell : column)
            count += cell == code;
    return count;
}

void blankPage(TextPage& page)
{
    for (auto& line : page) {
        std::memset(line, ' ', kPageColumns);
        line[kPageColumns] = '\0';
    }
}
