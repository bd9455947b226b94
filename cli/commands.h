// The commands that work on a level set without a display: info, check,
// export and test. Each reads the file (or standard input), prints to the
// console's output, reports errors to its error stream as
// "zelbun-kreator: FILE: reason" and returns the exit status. Output that
// could not be written is an error too.
#pragma once

#include "cli/options.h"
#include "core/error.h"
#include "core/gameimage.h"
#include "core/tilesetup.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct Console {
    std::istream& in;   // the game image when the file is "-"
    std::ostream& out;  // what the command prints; the output file when -o is "-"
    std::ostream& err;  // errors, warnings and notes
};

// A game image read as the editor reads it, with its raw bytes kept for the
// checks that need what the conversions hide.
struct SetFile {
    std::vector<uint8_t> bytes;
    LoadResult image;
};

// Reads and decodes a game image, from `in` when the path is "-". A file
// that cannot be read, or that the editor would refuse to open, is an
// error naming it.
Error readSetFile(const std::string& path, std::istream& in, SetFile& set);

// A line of a text page (editor codes) as UTF-8: the Polish letters as
// themselves, the bar and picture halves as block characters.
std::string pageLineUtf8(const char* line);

int runInfo(const CommandLine& line, Console console);
int runCheck(const CommandLine& line, Console console);
int runTest(const CommandLine& line, Console console);
// Draws with the editor's own code, so it needs SDL surfaces (no display).
int runExport(const CommandLine& line, Console console);

// The command the line names; the window is not one of them.
int runCommand(const CommandLine& line, Console console);

// --- Shared by the commands
// The data folders the line names, else the default ones.
std::vector<std::string> dataDirsOf(const CommandLine& line);
// The tile setup the window would start with; when no data folder holds a
// tiles.cfg, says so on the error stream with what is `missed` for it.
TileSetup tileSetup(const CommandLine& line, Console console, const char* missed);
// The path as messages name it: "standard input" for "-".
std::string inputName(const std::string& path);
// Writes `bytes` to the -o target: standard output for "-", else the file,
// which a read-only one is only with --force. Returns false after saying why.
bool writeOutput(const CommandLine& line, const std::vector<uint8_t>& bytes, Console console);
// Writes `text` to the output and flushes it; when any of it was lost, says
// so and returns 1, else `status`.
int emit(Console console, const std::string& text, int status);
// "zelbun-kreator: message" on the error stream; returns 1.
int fail(Console console, const std::string& message);
