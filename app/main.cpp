// Zelbun Kreator: opens the window, builds the editor on it, loads a game
// image named on the command line and runs the event loop; or runs one of
// the commands that need no display.
#include "cli/commands.h"
#include "cli/options.h"
#include "core/datafiles.h"
#include "core/environment.h"
#include "editor/eventloop.h"
#include "core/fileio.h"
#include "core/messages.h"
#include "editor/frame.h"
#include "platform/platform.h"
#include "ui/display.h"
#include "platform/startup.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>
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

// $XDG_STATE_HOME/zelbun-kreator, else ~/.local/state/zelbun-kreator; on
// Windows %LOCALAPPDATA%\Zelbun Kreator, the user's own folder on this
// computer (autosaves have no business roaming to other computers with
// the profile). Empty when none can be named.
std::string stateDirectory()
{
#ifdef _WIN32
    const std::optional<std::string> local = environmentVariable("LOCALAPPDATA");
    if (local && !local->empty())
        return *local + "\\Zelbun Kreator";
#else
    const std::optional<std::string> state = environmentVariable("XDG_STATE_HOME");
    if (state && state->rfind('/', 0) == 0)
        return *state + "/zelbun-kreator";
    const std::optional<std::string> home = environmentVariable("HOME");
    if (home && !home->empty())
        return *home + "/.local/state/zelbun-kreator";
#endif
    return "";
}

const char kNoDisplay[] =
    "cannot open a window: no display; the commands info, check, export and test work without one";

// The window needs a screen. Without an X11 or Wayland display SDL goes on
// to drivers that show nothing (SDL 2's offscreen) or draw the window as
// text into the terminal (the classic library's aalib), and the editor
// would wait for input that never comes. An SDL_VIDEODRIVER set by hand
// is tried, and its driver checked below.
bool displayExpected()
{
#if defined(_WIN32) || defined(__APPLE__)
    return true;
#else
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("SDL_VIDEODRIVER");
#endif
}

// Drivers that show no window on a screen: text in the terminal (the
// classic library's aalib and caca), or nothing at all (dummy, and SDL 2's
// offscreen and its dummy with console input, evdev).
bool showsNoWindow(const char* driver)
{
    for (const char* name : {"aalib", "caca", "dummy", "offscreen", "evdev"})
        if (std::strcmp(driver, name) == 0)
            return true;
    return false;
}

int runWindow(const CommandLine& line)
{
    presentWithoutOpenGl();
    if (!displayExpected()) {
        std::fprintf(stderr, "zelbun-kreator: %s\n", kNoDisplay);
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "zelbun-kreator: cannot open a window: %s\n", SDL_GetError());
        return 1;
    }
    char driver[32] = "";
    if (SDL_VideoDriverName(driver, sizeof driver) && showsNoWindow(driver)) {
        SDL_Quit();
        std::fprintf(stderr, "zelbun-kreator: %s (SDL's %s driver shows none)\n", kNoDisplay, driver);
        return 1;
    }
    std::atexit(SDL_Quit);
    setWindowIcon();
    Display display;
    if (Error error = display.open(line.scale)) {
        std::fprintf(stderr, "zelbun-kreator: %s\n", describe(error, Language::english).c_str());
        return 1;
    }
    if (!display.scaleNote().empty())
        std::fprintf(stderr, "zelbun-kreator: %s\n", display.scaleNote().c_str());
    SDL_Surface* screen = display.picture();
    SDL_WM_SetCaption(kAppTitle, nullptr);
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
    if (options.stateDir.empty())
#ifdef _WIN32
        editor.note("Autozapis wylaczony: brak LOCALAPPDATA, nie ma gdzie go trzymac");
#else
        editor.note("Autozapis wylaczony: brak HOME i XDG_STATE_HOME, nie ma gdzie go trzymac");
#endif
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
    prepareStandardStreams();
    const ProgramArguments arguments(argc, argv);
    std::ostringstream help;
    CommandLine line = parseCommandLine(arguments.count(), arguments.words(), help, std::cerr);
    const Console console{std::cin, std::cout, std::cerr};
    if (line.command == CommandLine::Command::Exit)
        return emit(console, help.str(), line.exitStatus);
    if (line.command != CommandLine::Command::Window)
        return runCommand(line, console);
    return runWindow(line);
}
