// The program's command line: the window with an optional game image, or one
// of the commands that work on a level set without a display.
#pragma once

#include "core/solver.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct CommandLine {
    enum class Command { Window, Info, Check, Export, Test, Exit };
    Command command = Command::Window;
    int exitStatus = 0;        // for Exit: help and version 0, a usage error 2

    // The game image; may be empty for the window. "-" is standard input
    // for the commands.
    std::string file;
    std::string templatePath;  // --template: the game image template to build on
    std::string emulator;      // --emulator: the command line that runs test images
    int scale = 0;             // --scale: the window's zoom, 1..3; 0 chooses by the screen
    std::string output;        // -o of export and test; "-" is standard output
    int level = 0;             // --level, 1..32 as the slot buttons count
    bool all = false;          // export --all
    bool json = false;         // info --json
    bool force = false;        // --force: replace a read-only output file
    bool solve = false;        // check --solve: prove each level can be finished
    uint64_t maxStates = SolveLimits::defaultStates;  // --max-states: the solver's work per level
    double maxSeconds = 0;     // --max-seconds: a cap in time as well; 0 for none
    // Where tiles.bmp, paleta.bmp and tiles.cfg are looked for; empty means
    // the editor's usual places. Tests point it at their own files.
    std::vector<std::string> dataDirs;
};

// The version the program reports.
const char* programVersion();

// Parses the arguments. Help and the version go to `out`, usage errors (a
// short usage line and a hint) to `err`; both leave Command::Exit. A first
// argument that names no file but is a near miss of a command ("chek") is a
// usage error that names the command.
CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The command `word` most likely stands for: one within two edits (a
// swap of neighbours counts as one) and closer than half its length; ""
// when none is.
std::string nearestCommand(const std::string& word);
