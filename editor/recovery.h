// Work kept between runs in the editor's state directory
// ($XDG_STATE_HOME/zelbun-kreator; on Windows %LOCALAPPDATA%\Zelbun
// Kreator): the autosave of a document being edited, and the files used
// last. No SDL.
#pragma once

#include "core/error.h"

#include <cstdint>
#include <string>
#include <vector>

// A path made absolute and tidy, so that one file always has one name.
std::string absoluteFilePath(const std::string& path);

// Where an autosave of the document at `documentPath` ("" for one without
// a file) is kept: named after the document ("zestaw-1f2e3d4c.atr", with a
// hash of its whole path, since two directories may hold a "zestaw.atr";
// on Windows the path's case does not count), or "bez nazwy.atr". Each
// window editing the document writes under a name of its own: `slot` 2 and
// on add "-2" and so on to the first name.
std::string autosavePath(const std::string& stateDir, const std::string& documentPath, int slot = 1);
// The file whose lock claims an autosave name for the window writing it:
// the name with ".lock" for ".atr".
std::string claimPathOf(const std::string& autosave);
// The autosave names of the document found in `stateDir` with
// `extension` (".atr" for the autosaves, ".lock" for the claims).
std::vector<std::string> autosaveFilesOf(const std::string& stateDir, const std::string& documentPath,
                                         const std::string& extension);

// Whether `autosave` exists and is newer than `document` (or the document
// is gone): work the document does not hold.
bool autosaveIsNewer(const std::string& autosave, const std::string& document);

// Writes `bytes` to `path` atomically, making its directory first; an
// error in making the directory names the directory.
Error writeStateFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Makes the directory (and those above it) unless it is there.
Error makeStateDirectory(const std::string& dir);
// Removes a file of the state directory, if it is there.
void removeStateFile(const std::string& path);

// The ten files opened or saved last, newest first, kept one path a line.
class RecentFiles {
public:
    static constexpr size_t limit = 10;

    // `file` empty: nothing is read or kept.
    explicit RecentFiles(std::string file = "");

    const std::vector<std::string>& paths() const { return paths_; }
    // Rereads the list (another window may have changed it).
    void load();
    // Puts `path` first (made absolute) and writes the list.
    void add(const std::string& path);

private:
    // Whether the list holds `path` (on Windows, in any case).
    bool listed(const std::string& path) const;

    std::string file_;
    std::vector<std::string> paths_;
};
