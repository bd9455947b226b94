#include "core/document.h"

#include <cstring>

Document::Document() : Document(0) {}

Document::Document(int eraserCode)
{
    for (LevelData& level : levels)
        level = emptyLevel(eraserCode);
    for (TextPage& page : pages)
        blankPage(page);
}

bool Document::sameContent(const Document& other) const
{
    for (int i = 0; i < kLevelSlots; ++i)
        if (!sameLevel(levels[i], other.levels[i]))
            return false;
    return std::memcmp(pages, other.pages, sizeof pages) == 0 && game == other.game;
}

int Document::levelsOn() const
{
    int count = 0;
    for (const LevelData& level : levels)
        count += level.on;
    return count;
}
