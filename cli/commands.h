// The commands that work on a level set without a display: info, check,
// export and test. Each prints to `out`, reports errors to `err` as
// "zelbun-kreator: FILE: reason" and returns the exit status.
#pragma once

#include "cli/options.h"
#include "core/error.h"
#include "core/gameimage.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// A game image read as the editor reads it, with its raw bytes kept for the
// checks that need what the conversions hide.
struct SetFile {
    std::vector<uint8_t> bytes;
    LoadResult image;
};

// Reads and decodes a game image; a file that cannot be read is an error.
Error readSetFile(const std::string& path, SetFile& set);

// A line of a text page (editor codes) as UTF-8: the Polish letters as
// themselves, the bar and picture halves as block characters.
std::string pageLineUtf8(const char* line);

int runInfo(const CommandLine& line, std::ostream& out, std::ostream& err);
int runCheck(const CommandLine& line, std::ostream& out, std::ostream& err);
int runTest(const CommandLine& line, std::ostream& out, std::ostream& err);
// Draws with the editor's own code, so it needs SDL surfaces (no display).
int runExport(const CommandLine& line, std::ostream& out, std::ostream& err);
