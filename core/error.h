// Why an operation failed, as a value. The core says what happened (which
// file, which step, the system's error number, the sizes involved); the
// messages module words it for the window or the command line.
#pragma once

#include <cstdint>
#include <string>

enum class Fault {
    none,
    system,          // the system refused: `code` is its error number (errno)
    windows,         // Windows refused: `code` is its error number (GetLastError)
    notRegularFile,  // a device, a FIFO or a socket where a file should be
    isDirectory,
    tooLarge,        // `size` bytes, at most `limit`
    pathTooLong,
    notFound,        // a data file that none of the places searched holds
    emptyFile,
    streamClosed,    // a standard stream the program was started without
    notDiskImage,    // no ATR signature at the start
    tooShortForGame, // `size` bytes: not even the game part and the pages
    tooShortForTemplate,
    brokenGamePart,  // the game's segment chain breaks at `offset`
    saveInProgress,  // another save of the same file is running
    // Starting a program (the emulator, the desktop's opener). `setting`
    // names where a command came from ("--emulator"), if the user gave it.
    unfinishedQuote, // the command line leaves quote `code` (' or ") open
    emptyCommand,
    programNotFound, // `path`, looked for on the search path
    noEmulator,      // none set and none found; `code` 1: associating .atr files would do too
    programFailed,   // `path` ended with exit status `code`
    programKilled,   // `path` ended by signal `code`
    // Pictures, and the libraries that read, convert, show and write them;
    // `detail` holds a library's own words where it gives no number.
    undecodable,      // the picture reader refused the file
    unconvertible,    // the picture could not be converted to the program's format
    pictureTooSmall,  // `width` x `height` pixels, at least `needWidth` x `needHeight` needed
    pictureTooLarge,  // `width` x `height` pixels, at most `needWidth` x `needHeight` allowed
    pictureWrongSize, // `width` x `height` pixels, exactly `needWidth` x `needHeight` needed
    sheetTooNarrow,   // a tile sheet `width` pixels wide, `needWidth` needed for the columns used
    noWindow,         // no window of `width` x `height` could be opened
    noSurface,        // no picture of `width` x `height` could be made to draw on
    pngEncoding,      // the PNG encoder failed
};

// The step of a save or a read that failed, where it is not the obvious one.
enum class Step {
    none,
    resolveLink,     // following a symbolic link to its file
    temporaryFile,   // making the new file beside the old one
    permissions,     // giving the new file the old one's mode
    replace,         // putting the new file in the old one's place
    readOldContent,  // reading the content to keep a copy of
    backup,          // writing that copy
    start,           // starting a program
};

struct [[nodiscard]] Error {
    Fault fault = Fault::none;
    std::string path;
    int code = 0;  // the system's error number, for Fault::system and Fault::windows
    Step step = Step::none;
    uint64_t size = 0, limit = 0;
    uint64_t offset = 0;
    std::string keptIn;  // a failed in-place write left the old content here
    std::string setting;  // the option or variable a faulty command came from
    int width = 0, height = 0;          // a picture's size in pixels
    int needWidth = 0, needHeight = 0;  // the size it needs (at least, at most or exactly)
    std::string detail;  // a library's own words; for Fault::notFound, the places searched

    explicit operator bool() const { return fault != Fault::none; }

    static Error system(const std::string& path, int code, Step step = Step::none)
    {
        Error error;
        error.fault = Fault::system;
        error.path = path;
        error.code = code;
        error.step = step;
        return error;
    }
    static Error windows(const std::string& path, unsigned long code, Step step = Step::none)
    {
        Error error = system(path, static_cast<int>(code), step);
        error.fault = Fault::windows;
        return error;
    }
    static Error of(Fault fault, const std::string& path, const std::string& detail = "")
    {
        Error error;
        error.fault = fault;
        error.path = path;
        error.detail = detail;
        return error;
    }
    // A library (SDL, libpng) could not do its part, for a picture of
    // `width` x `height` pixels where that matters; `detail` holds its words.
    static Error library(Fault fault, const std::string& detail, int width = 0, int height = 0)
    {
        Error error = of(fault, "", detail);
        error.width = width;
        error.height = height;
        return error;
    }
    // A picture of `width` x `height` pixels refused for its size.
    static Error picture(Fault fault, const std::string& path, int width, int height, int needWidth,
                         int needHeight)
    {
        Error error = of(fault, path);
        error.width = width;
        error.height = height;
        error.needWidth = needWidth;
        error.needHeight = needHeight;
        return error;
    }
};
