#include "editor/levelclipboard.h"

#include "core/gameimage.h"
#include "editor/recovery.h"

Error LevelClipboard::put(const std::vector<LevelData>& levels, const GamePart& game)
{
    levels_ = levels;
    if (file_.empty() || !game)
        return Error();
    LevelData set[kLevelSlots];
    for (size_t i = 0; i < levels.size() && i < size_t(kLevelSlots); ++i) {
        set[i] = levels[i];
        set[i].on = true;
    }
    TextPage pages[kTextPages];
    for (TextPage& page : pages)
        blankPage(page);
    const Error error = writeStateFile(file_, writeGameImage(game->data(), game->size(), set, pages));
    fileBehind_ = bool(error);
    return error;
}

std::vector<LevelData> LevelClipboard::levels(int eraserCode) const
{
    std::vector<uint8_t> bytes;
    if (file_.empty() || fileBehind_ || readFile(file_, bytes, kGameImageReadLimit) ||
        gameImageProblem(bytes.data(), bytes.size()))
        return levels_;
    const LoadResult read = readGameImage(bytes.data(), bytes.size(), eraserCode);
    std::vector<LevelData> levels;
    for (const LevelData& level : read.levels)
        if (level.on)
            levels.push_back(level);
    return levels;
}
