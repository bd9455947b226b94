// The commands that work on a level set without a display: info, check,
// export and test. Each prints to `out`, reports errors to `err` as
// "zelbun-kreator: FILE: reason" and returns the exit status.
#pragma once

#include "cli/options.h"
#include "core/gameimage.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// A game image as the editor would open it, with the raw bytes kept for the
// checks that need what the conversions hide.
struct LevelSet {
    std::vector<uint8_t> bytes;
    LevelData levels[kLevelSlots];  // by editor slot; a later segment for a slot wins
    TextPage pages[2];
    std::string warning;            // where the data broke off; empty when whole
};

// Reads and decodes a game image; on failure `error` names the file and why.
bool loadLevelSet(const std::string& path, LevelSet& set, std::string& error);

// The 32 bytes of the order table, zeros where the file is too short.
std::vector<uint8_t> orderTable(const LevelSet& set);

// A line of a text page (editor codes) as UTF-8: the Polish letters as
// themselves, the bar and picture halves as block characters.
std::string pageLineUtf8(const char* line);

int runInfo(const CommandLine& line, std::ostream& out, std::ostream& err);
int runCheck(const CommandLine& line, std::ostream& out, std::ostream& err);
int runTest(const CommandLine& line, std::ostream& out, std::ostream& err);
// Draws with the editor's own code, so it needs SDL surfaces (no display).
int runExport(const CommandLine& line, std::ostream& out, std::ostream& err);
