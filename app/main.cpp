// Zelbun Kreator: opens the window, builds the editor on it, loads a game
// image named on the command line and runs the event loop; or runs one of
// the commands that need no display.
#include "cli/commands.h"
#include "cli/options.h"
#include "core/datafiles.h"
#include "editor/eventloop.h"
#include "core/fileio.h"
#include "editor/frame.h"
#include "platform/platform.h"
#include "ui/display.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The window icon, found like the editor's other data files.
void setWindowIcon()
{
    // Read like every other data file: a pipe or a device in its place must
    // not hold up the start.
    std::string path = findDataFile("icon.bmp", defaultDataDirs());
    std::vector<uint8_t> bytes;
    if (path.empty() || readFile(path, bytes, 1 << 20))
        return;
    SDL_RWops* data = bytes.empty() ? nullptr : SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    SDL_Surface* icon = data ? SDL_LoadBMP_RW(data, 1) : nullptr;
    if (!icon)
        return;
    SDL_SetColorKey(icon, SDL_SRCCOLORKEY, SDL_MapRGB(icon->format, 255, 0, 255));
    SDL_WM_SetIcon(icon, nullptr);
    SDL_FreeSurface(icon);
}

// The window shows a picture the processor draws; bringing up OpenGL just
// to present it costs about 250 ms and 90 MB. Only the three together turn
// it off in the SDL 1.2 layer; a value the user set still wins.
void presentWithoutOpenGl()
{
    setOwnEnvironmentDefault("SDL12COMPAT_OPENGL_SCALING", "0");
    setOwnEnvironmentDefault("SDL_FRAMEBUFFER_ACCELERATION", "0");
    setOwnEnvironmentDefault("SDL_RENDER_DRIVER", "software");
}

// $XDG_STATE_HOME/zelbun-kreator, else ~/.local/state/zelbun-kreator; empty
// when neither can be named.
std::string stateDirectory()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/')
        return std::string(state) + "/zelbun-kreator";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.local/state/zelbun-kreator";
    return "";
}

int runWindow(const CommandLine& line)
{
    presentWithoutOpenGl();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "zelbun-kreator: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    std::atexit(SDL_Quit);
    setWindowIcon();
    Display display;
    std::string error;
    if (!display.open(line.scale, error)) {
        std::fprintf(stderr, "zelbun-kreator: cannot open the 640 x 570 window: %s\n", error.c_str());
        return 1;
    }
    SDL_Surface* screen = display.picture();
    SDL_WM_SetCaption("Zelbun Kreator 1.0 - by. Tavrin", nullptr);
    SDL_EnableKeyRepeat(200, 50);
    SDL_EnableUNICODE(1);

    FrameOptions options;
    options.templatePath = line.templatePath;
    options.emulatorCommand = line.emulator;
    options.stateDir = stateDirectory();
    frame editor(screen, options);
    if (!editor.ok()) {
        std::fprintf(stderr, "zelbun-kreator: %s", editor.loadError().c_str());
        return 1;
    }
    if (!line.file.empty())
        editor.loadMap(line.file.c_str());
    // Work a crash left in the autosave comes back first.
    editor.offerRecovery(line.file);

    runEventLoop(editor, screen);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    CommandLine line = parseCommandLine(argc, argv, std::cout, std::cerr);
    switch (line.command) {
    case CommandLine::Command::Exit:
        return line.exitStatus;
    case CommandLine::Command::Info:
        return runInfo(line, std::cout, std::cerr);
    case CommandLine::Command::Check:
        return runCheck(line, std::cout, std::cerr);
    case CommandLine::Command::Export:
        return runExport(line, std::cout, std::cerr);
    case CommandLine::Command::Test:
        return runTest(line, std::cout, std::cerr);
    case CommandLine::Command::Window:
        break;
    }
    return runWindow(line);
}
