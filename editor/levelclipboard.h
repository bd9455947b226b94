// Whole levels cut or copied, for pasting in this window or in another
// editor window. They stay here and, where the window has a state folder,
// in a file there: a game image holding just those levels, which every
// window reads when it pastes, so a copy in one window pastes in the next.
#pragma once

#include "core/document.h"
#include "core/error.h"
#include "core/fileio.h"

#include <string>
#include <vector>

class LevelClipboard {
public:
    // `file` empty: this window alone.
    explicit LevelClipboard(std::string file = "") : file_(std::move(file)) {}

    // Keeps `levels`, written into the file with the game part `game`;
    // the error of writing it (false when written, or with no file).
    Error put(const std::vector<LevelData>& levels, const GamePart& game);
    // What was cut or copied last, in any window; empty when nothing was.
    std::vector<LevelData> levels(int eraserCode) const;

private:
    std::string file_;
    std::vector<LevelData> levels_;
    // The last put could not be written: the file holds an older copy.
    bool fileBehind_ = false;
};
