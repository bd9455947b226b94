// The program's command line: the window with an optional game image, or one
// of the commands that work on a level set without a display.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct CommandLine {
    enum class Command { Window, Info, Check, Export, Test, Exit };
    Command command = Command::Window;
    int exitStatus = 0;        // for Exit: help and version 0, a usage error 2

    std::string file;          // the game image; may be empty for the window
    std::string templatePath;  // --template: the game image template to build on
    std::string emulator;      // --emulator: the command line that runs test images
    int scale = 0;             // --scale: the window's zoom, 1..3; 0 chooses by the screen
    std::string output;        // -o of export and test
    int level = 0;             // --level, 1..32 as the slot buttons count
    bool all = false;          // export --all
    bool json = false;         // info --json
    // Where tiles.bmp, paleta.bmp and tiles.cfg are looked for; empty means
    // the editor's usual places. Tests point it at their own files.
    std::vector<std::string> dataDirs;
};

// The version the program reports.
const char* programVersion();

// Parses the arguments. Help and the version go to `out`, usage errors (a
// short usage line and a hint) to `err`; both leave Command::Exit.
CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
