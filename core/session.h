// One editing session: the document the user works on, its undo history,
// the file it belongs to and the game part it is saved with. Every change
// of the document goes through here; views read the document and follow
// its revision. No SDL: the command line and the tests drive it as the
// window does.
#pragma once

#include "core/document.h"
#include "core/error.h"
#include "core/fileio.h"
#include "core/gameimage.h"
#include "core/history.h"

#include <cstdint>
#include <string>
#include <vector>

class Session {
public:
    // A new, empty set whose levels are filled with `eraserCode`, saved
    // with `game`. An image of our own engine opened later gets the current
    // engine: `game` when that is ours, else `builtIn` (core/game.h).
    Session(int eraserCode, GamePart game, GamePart builtIn);
    // No game yet: restart() gives one before anything is written.
    Session() = default;

    // Starts afresh as the constructor does, with a fresh history.
    void restart(int eraserCode, GamePart game, GamePart builtIn);

    const Document& document() const { return doc_; }
    const LevelData& level(int slot) const { return doc_.levels[slot]; }
    const TextPage& page(int page) const { return doc_.pages[page]; }
    const std::string& path() const { return doc_.path; }
    int eraserCode() const { return eraserCode_; }
    // Changes with every change of the document, undo and redo included.
    uint64_t revision() const { return revision_; }
    // How many undo steps this session has recorded; undo and redo leave
    // it as it is.
    uint64_t stepsRecorded() const { return steps_; }

    // --- Changes; endStep() makes what changed since the last step one undo step.
    // The level to change in place.
    LevelData& editLevel(int slot);
    // Puts `code` into a cell and switches the level on; no change when the
    // cell already holds it and the level is on.
    void setCell(int slot, Cell cell, uint8_t code);
    void setLevel(int slot, const LevelData& level);
    // Empties a level: off, every cell the eraser code, default colours.
    void clearLevel(int slot);
    void swapLevels(int a, int b);
    void setPageCharacter(int page, int line, int column, char code);
    // A page to change in place; every line keeps its NUL at column 32.
    TextPage& editPage(int page);
    void endStep();

    bool canUndo() const { return history_.canUndo() || unrecorded(); }
    bool canRedo() const { return history_.canRedo() && !unrecorded(); }
    void undo();
    void redo();
    // The document differs from what was last saved or opened.
    bool modified() const { return history_.modified() || unrecorded(); }

    // --- Files
    // An empty set with no file: an undoable step that leaves nothing to save.
    void newSet();

    struct Opened {
        Error error;                    // the file could not be read or is no game image; nothing changed
        std::vector<LoadIssue> issues;  // what was read around in an image that did open
    };
    // Reads the game image at `path` into a fresh document and history.
    // Temporaries that saves into its folder left when killed go first.
    Opened open(const std::string& path);
    // The same from bytes already read (the command line's standard input).
    Opened openBytes(const std::vector<uint8_t>& bytes, const std::string& path);

    // Opens `backup` (the copy findInterruptedSave() found beside `path`, or
    // the window's autosave of it) as the content of `path`: the document
    // belongs to that file and is modified until saved there. The copy goes
    // with the next save.
    Opened openRecovered(const std::string& path, const std::string& backup);

    // Writes the whole set to `path`, which becomes the document's file.
    Error save(const std::string& path, const WriteOptions& options = WriteOptions());

    // The document's file is no longer the one opened or last saved: another
    // program (or another window) wrote or replaced it since, even in place
    // with its size and time put back (its content is compared). False for
    // a file that is gone, or a document with no file.
    bool fileChangedOnDisk() const;

    // How many level segments of the file reading left out (outside the
    // order table, or replaced by a later one): saving over it removes
    // them. 0 once the document is saved.
    int segmentsLeftOut() const { return leftOut_; }

    // The game image of the whole set, and the test image of one level.
    std::vector<uint8_t> setImage() const;
    std::vector<uint8_t> testImage(int slot) const;

private:
    // Edits since the last step may have changed the content.
    bool unrecorded() const { return dirty_ && !history_.current().sameContent(doc_); }
    void changed() { dirty_ = true; ++revision_; }
    void replaced() { dirty_ = false; ++revision_; }

    Document doc_;
    History history_;
    FileIdentity onDisk_;  // the document's file as opened or last saved
    uint64_t contentOnDisk_ = 0;  // a hash of its content then
    int leftOut_ = 0;
    GamePart sessionGame_;  // what new sets are saved with
    GamePart builtIn_;
    int eraserCode_ = 0;
    bool dirty_ = false;
    uint64_t revision_ = 0;
    uint64_t steps_ = 0;
};
