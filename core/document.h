// The document: what the user edits and saves, apart from how the window
// shows it. The 32 level slots, the two text pages and the file the set
// belongs to, as plain values with no SDL, so undo, the unsaved-changes
// guard and a command line can all work on it. The editor (frame) keeps the
// live copy in its levels and pages and takes and restores snapshots of it.
#pragma once

#include "core/gameimage.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

// Colour registers 0..5 of an empty level.
constexpr int kDefaultColours[kColourRegisters] = {0, 8, 14, 2, 0, 4};

// An empty level: off, every cell the eraser code, default colours, no
// screws, wall pattern 0.
LevelData emptyLevel(int eraserCode);
bool sameLevel(const LevelData& a, const LevelData& b);

// A text page of spaces, each line ended by a NUL.
void blankPage(TextPage& page);

struct Document {
    LevelData levels[kLevelSlots];
    TextPage pages[2];  // "Start" and "Koniec", in editor codes
    std::string path;   // the file it was opened from or last saved to; empty for none
    // The game part it is saved with (a template of 11,170 bytes), shared
    // between the snapshots; null before the editor gives one.
    std::shared_ptr<const std::vector<uint8_t>> game;

    // All levels empty with eraser code 0, both pages blank, no file.
    Document();
    explicit Document(int eraserCode);

    // Levels, pages and game equal; the path does not count.
    bool sameContent(const Document& other) const;
};

// Undo and redo over whole-document snapshots (a document is about 17 KB,
// so even the full depth costs a few megabytes). Each step is the document
// as it stood after one user action; the caller records a step when an
// action ends (a mouse release, a shortcut, a run of typing left). The
// modified state follows from it: the document is modified unless the
// current step is the one last saved or opened.
class History {
public:
    // Steps kept behind the current one; older ones are dropped.
    static constexpr size_t depth = 200;

    explicit History(const Document& start = Document()) { reset(start); }

    // A fresh history holding only `start`, which counts as saved.
    void reset(const Document& start);

    // Makes `now` the current step when its content differs from the
    // current one (dropping what could have been redone) and returns true.
    // Same content: the current step only takes over now's path, and the
    // result is false.
    bool record(const Document& now);

    bool canUndo() const { return at_ > 0; }
    bool canRedo() const { return at_ + 1 < steps_.size(); }
    // Step back or forward and return the document to show; only when
    // canUndo() / canRedo().
    const Document& undo();
    const Document& redo();
    const Document& current() const { return steps_[at_]; }

    // The current step is now what the file at `path` holds; every step
    // belongs to that file from now on, so undoing never points a later
    // save back at an older name.
    void markSaved(const std::string& path);
    // The current step has nothing worth saving (a fresh empty set); the
    // paths stay as they are.
    void markClean() { saved_ = static_cast<long>(at_); }
    bool modified() const { return saved_ != static_cast<long>(at_); }

    size_t size() const { return steps_.size(); }

private:
    std::deque<Document> steps_;
    size_t at_ = 0;
    long saved_ = 0;  // index of the saved step, -1 when it was dropped or overwritten
};
