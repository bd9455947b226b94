// State of the in-window file dialog, kept apart from SDL so it can be tested
// alone: the listed directory, its entries, the scroll position, the
// selection and the editable path line, and what a click, a key or OK means.
#pragma once

#include "platform/platform.h"

#include <string>
#include <vector>

enum class PathKind { Missing, File, Directory, Other };

// A recent file stands first, named by its whole path.
enum class EntryKind { Recent, Parent, Directory, AtrFile, OtherFile };

struct BrowserEntry {
    std::string name;
    EntryKind kind;
};

// A directory entry as read from the disk.
struct RawEntry {
    std::string name;
    bool isDirectory;
};

// What the browser needs to know of the disk; tests give it an in-memory one.
class FileSystemView {
public:
    virtual ~FileSystemView() = default;
    // Follows symbolic links.
    virtual PathKind kindOf(const std::string& path) = 0;
    // The names in dir without "." and ".."; false when dir cannot be read.
    virtual bool list(const std::string& dir, std::vector<RawEntry>& entries) = 0;
};

class DiskFileSystem : public FileSystemView {
public:
    PathKind kindOf(const std::string& path) override;
    bool list(const std::string& dir, std::vector<RawEntry>& entries) override;
};

// path made absolute against base (itself absolute), with ".", ".." and
// repeated slashes resolved by name; never ends with "/" except the root.
// On Windows "\\" separates as "/" does and comes back as "/", a drive
// ("C:/", typed "c:\\" or "c:") or a share ("//server/share/") is a root,
// and "/..." starts at the root of the base's drive.
std::string normalizePath(const std::string& path, const std::string& base);
// "~" and "~/..." in the user's home directory (from $HOME, on Windows
// else %USERPROFILE%); other paths as they are.
std::string expandHome(const std::string& path);
// What the font can show: each byte outside printable ASCII (a whole UTF-8
// sequence at a time) becomes one "?".
std::string displayName(const std::string& name);
// The directory holding an absolute, normalised path; the root's is itself.
std::string parentDirectory(const std::string& path);
bool isAtrName(const std::string& name);
// ".." on top (except at the root), then directories, then ATR images, then
// other files when showAllFiles; hidden names left out; each group in name
// order, ignoring case.
std::vector<BrowserEntry> arrangeEntries(const std::vector<RawEntry>& raw, bool atRoot, bool showAllFiles);

class FileBrowser {
public:
    enum class Outcome {
        None,
        EnteredDirectory,
        SelectedFile,
        Chosen,        // chosenPath() holds the answer
        AskOverwrite,  // the file exists; confirming once more takes it
        Rejected       // status() says why
    };

    static constexpr unsigned doubleClickMs = 400;
    static constexpr size_t maxPathLength = 4095;

    FileBrowser(FileSystemView& fileSystem, const DialogRequest& request, const std::string& workingDir,
                int visibleRows);

    const std::string& directory() const { return directory_; }
    const std::vector<BrowserEntry>& entries() const { return entries_; }
    const std::string& pathText() const { return pathText_; }
    const std::string& status() const { return status_; }
    const std::string& chosenPath() const { return chosen_; }
    int selected() const { return selected_; }
    int topRow() const { return topRow_; }
    int visibleRows() const { return visibleRows_; }
    // How many first rows the list can be scrolled to; at least 1.
    int scrollPositions() const;
    bool showAllFiles() const { return showAllFiles_; }

    void setShowAllFiles(bool on);
    void scrollBy(int rows);
    void scrollTo(int top);

    // A click on entries()[index] at time nowMs (any running millisecond
    // clock): a directory is entered, a file goes into the path line, and a
    // second click on the same file within doubleClickMs confirms it.
    Outcome click(int index, unsigned nowMs);

    // The arrow keys: moves the selection by `rows`, keeping it in view. A
    // file's name goes into the name line; Enter then opens a selected
    // directory.
    void moveSelection(int rows);

    // Name line editing; characters arrive as Unicode code points. The line
    // holds a name in the listed directory, a relative path from it, an
    // absolute path or one starting with "~/". A name the dialog put there
    // (the document's, or a file chosen in the list) starts out selected:
    // typing replaces it and Backspace clears it, as in desktop dialogs;
    // keepName() takes the selection away so that typing adds to it.
    void typeCharacter(unsigned codePoint);
    void eraseCharacter();
    void setPathText(const std::string& text);
    bool nameSelected() const { return nameSelected_ && !pathText_.empty(); }
    void keepName() { nameSelected_ = false; }

    // Enter or OK: a directory is entered, a file is checked and chosen.
    // Saving adds the request's extension to a name without a dot first.
    Outcome confirm();

private:
    bool enterDirectory(const std::string& dir);
    // The directory's entries after the recent files.
    std::vector<BrowserEntry> listing() const;
    void pathEdited();

    FileSystemView& fileSystem_;
    bool save_;
    Language language_;
    std::string extension_;
    std::string directory_;
    std::vector<std::string> recentFiles_;
    std::vector<RawEntry> rawEntries_;
    std::vector<BrowserEntry> entries_;
    std::string pathText_;
    std::string status_;
    std::string chosen_;
    std::string overwriteAsked_;  // the existing file the user was warned about
    int selected_ = -1;
    bool nameSelected_ = false;
    int topRow_ = 0;
    int visibleRows_;
    bool showAllFiles_ = false;

    // The previous click, to tell a double click.
    bool hasLastClick_ = false;
    unsigned lastClickMs_ = 0;
    int lastClickIndex_ = -1;
    bool lastClickEntered_ = false;
};
