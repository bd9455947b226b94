// What a window starts with (frame.h).
#pragma once

#include "core/windowtexts.h"
#include "editor/verdicts.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Platform;

// Where the editor finds its files and how it reaches the desktop. The
// defaults suit the program; tests point them at their own directories.
struct FrameOptions {
    // Searched in order for tiles.bmp, paleta.bmp and tiles.cfg; empty means
    // the working directory, then the data directory the program was built
    // with.
    std::vector<std::string> dataDirs;
    // Dialogs and "open with"; null means the system's own.
    Platform* platform = nullptr;
    // Where the private directory for test images is made; empty means
    // $XDG_RUNTIME_DIR, else the system's temporary directory.
    std::string runtimeDir;
    // The game template new documents are saved with; empty means
    // ZELBUN_TEMPLATE, then game.atr in the data directories, then the
    // built-in game.
    std::string templatePath;
    // The command line that runs test images (--emulator); empty means
    // ZELBUN_EMULATOR, then the desktop's choice.
    std::string emulatorCommand;
    // Where autosaves and the recent files are kept; empty keeps neither
    // (the program passes $XDG_STATE_HOME/zelbun-kreator).
    std::string stateDir;
    // Milliseconds from any fixed start: what autosave and the flashing
    // cell time themselves by. Empty means SDL's tick count.
    std::function<uint64_t()> clock;
    // What finds the levels' verdicts in the background; empty means the
    // game's solver within its budget.
    VerdictSolver verdictSolver;
    // The window's language as asked for (--lang, ZELBUN_LANG); none means
    // the one last chosen on the help page, else Polish.
    std::optional<Language> language;
};
