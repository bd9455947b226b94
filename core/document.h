// The document: what the user edits and saves. The 32 level slots, the two
// text pages, the file the set belongs to and the game part it is saved
// with, as plain values with no SDL. The session owns the one being edited;
// its history keeps copies of it.
#pragma once

#include "core/level.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The game part of an image (a template of 11,170 bytes), shared between the
// copies of a document.
using GamePart = std::shared_ptr<const std::vector<uint8_t>>;

struct Document {
    LevelData levels[kLevelSlots];
    TextPage pages[kTextPages];  // "Start" and "Koniec", in editor codes
    std::string path;            // the file it was opened from or last saved to; empty for none
    GamePart game;               // null until the session gives one

    // All levels empty with eraser code 0, both pages blank, no file.
    Document();
    explicit Document(int eraserCode);

    // Levels, pages and game equal; the path does not count.
    bool sameContent(const Document& other) const;
    int levelsOn() const;
};
