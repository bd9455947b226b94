// The real program. In a real X server (Xvfb), driven by real key presses
// and clicks through xdotool: Ctrl with a letter must reach the text page as
// its control code, a game image named on the command line is opened at
// start, a stray drag runs no command, shortcuts undo and save, and closing
// with unsaved work asks first (skipped where Xvfb or xdotool is missing).
// Without a display it must fail cleanly.
#include "core/game.h"
#include "core/gameimage.h"
#include "tests/xvfb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Polls until the condition holds or about twenty seconds pass (a loaded
// machine starts programs slowly).
template <class Condition>
bool waitFor(Condition condition, int polls = 400)
{
    for (int i = 0; i < polls; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Standard output goes to `output`; "" leaves it closed. Standard input
// comes from `input`; "" leaves it closed, null the test's own.
pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& dir,
            const std::string& errors = "/dev/null", const std::string& output = "/dev/null",
            const char* input = nullptr)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output.empty())
        posix_spawn_file_actions_addclose(&actions, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (input && !*input)
        posix_spawn_file_actions_addclose(&actions, 0);
    else if (input)
        posix_spawn_file_actions_addopen(&actions, 0, input, O_RDONLY, 0);
    if (!dir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!XServer::toolsPresent())
            GTEST_SKIP() << "Xvfb or xdotool missing";
        char pattern[] = "/tmp/zelbun-x11-XXXXXX";
        dir = mkdtemp(pattern);
        // A stand-in for the emulator, so no real program starts.
        mkdir((dir + "/bin").c_str(), 0755);
        mkdir((dir + "/run").c_str(), 0700);
        std::ofstream(dir + "/bin/xdg-open") << "#!/bin/sh\nexit 0\n";
        chmod((dir + "/bin/xdg-open").c_str(), 0755);

        server.start("800x700x24", dir + "/xvfb.log");
        display = server.display;
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    }

    void TearDown() override
    {
        if (program > 0) {
            kill(program, SIGKILL);
            waitpid(program, nullptr, 0);
        }
        server.stop();
        if (!dir.empty())
            std::system(("rm -rf '" + dir + "'").c_str());
    }

    void start(const std::vector<std::string>& arguments = {})
    {
        // The search path holds the stand-ins alone: the questions come up
        // in the window whatever dialog programs the machine has. SDL draws
        // on the X server or fails, never elsewhere.
        // The SDL runtime's own leak at exit is not this test's concern.
        std::vector<std::string> args = {ZELBUN_BINARY_DIR "/zelbun-kreator"};
        args.insert(args.end(), arguments.begin(), arguments.end());
        program = spawn(args,
                        {"DISPLAY=" + display, "SDL_VIDEODRIVER=x11", "PATH=" + dir + "/bin",
                         "XDG_RUNTIME_DIR=" + dir + "/run",
                         "ZELBUN_EMULATOR=" + dir + "/bin/xdg-open", "ASAN_OPTIONS=detect_leaks=0"},
                        dir, dir + "/stderr");
        ASSERT_GT(program, 0);
        ASSERT_TRUE(waitFor([&] { return xdotool("search --name 'Zelbun Kreator'"); }))
            << "no window; the program said: " << readAll(dir + "/stderr");
        ASSERT_TRUE(xdotool("search --name 'Zelbun Kreator' windowfocus --sync"));
    }

    bool xdotool(const std::string& args)
    {
        std::string command = "DISPLAY=" + display + " xdotool " + args + " >/dev/null 2>&1";
        return std::system(command.c_str()) == 0;
    }

    // Clicks at a point of the editor's window.
    bool click(int x, int y)
    {
        return xdotool("search --name 'Zelbun Kreator' mousemove --window %1 " + std::to_string(x) + " " +
                       std::to_string(y) + " click 1");
    }

    // Presses the left button at one point and lets it go at another.
    bool drag(int fromX, int fromY, int toX, int toY)
    {
        std::string window = "search --name 'Zelbun Kreator' ";
        return xdotool(window + "mousemove --window %1 " + std::to_string(fromX) + " " + std::to_string(fromY) +
                       " mousedown 1") &&
               xdotool(window + "mousemove --window %1 " + std::to_string(toX) + " " + std::to_string(toY)) &&
               xdotool(window + "mousemove --window %1 " + std::to_string(toX) + " " + std::to_string(toY) +
                       " mouseup 1");
    }

    // The test image, which goes to a private directory under
    // $XDG_RUNTIME_DIR, never the working directory.
    std::string testImage()
    {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dir + "/run", error))
            if (exists(entry.path().string() + "/test.atr"))
                return entry.path().string() + "/test.atr";
        return "";
    }

    // Closes the window (SDL turns SIGTERM into the same quit event).
    void closeWindow() { kill(program, SIGTERM); }

    bool running() { return waitpid(program, nullptr, WNOHANG) == 0; }

    // The in-window "Zapisac zmiany?" question's "Nie zapisuj" button.
    bool answerDontSave() { return click(340, 312); }

    // Closes the window and answers "Nie zapisuj" until the program ends: a
    // loaded machine may show the question after the first click (which
    // then lands harmlessly on an empty palette cell). Returns the exit
    // status, -1 when it did not end.
    int closeAnsweringDontSave()
    {
        for (int attempt = 0; attempt < 40; ++attempt) {
            int status = -1;
            if (waitpid(program, &status, WNOHANG) == program) {
                program = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (attempt % 10 == 0)
                closeWindow();
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            answerDontSave();
        }
        return -1;
    }

    std::string dir;
    std::string display;
    XServer server;
    pid_t program = -1;
};

TEST_F(RealWindow, CtrlLettersTypePolishCharactersAndClosingEndsTheProgram)
{
    start();
    ASSERT_TRUE(click(380, 360));  // the first cell of the text page
    ASSERT_TRUE(xdotool("key --delay 50 ctrl+l ctrl+a shift+b c"));
    ASSERT_TRUE(click(595, 107));  // "Testuj gre" writes test.atr
    std::string image;
    ASSERT_TRUE(waitFor([&] { return !(image = testImage()).empty(); }));
    EXPECT_FALSE(exists(dir + "/test.atr"));
    std::string bytes = readAll(image);
    ASSERT_GE(bytes.size(), 7584u);
    // l with stroke, a with ogonek, B, c in the game's screen codes.
    EXPECT_EQ(static_cast<unsigned char>(bytes[7580]), 61);
    EXPECT_EQ(static_cast<unsigned char>(bytes[7581]), 32);
    EXPECT_EQ(static_cast<unsigned char>(bytes[7582]), 34);
    EXPECT_EQ(static_cast<unsigned char>(bytes[7583]), 'c');

    // The typing is unsaved: closing asks, and "Nie zapisuj" ends the
    // program, taking the private directory with it.
    EXPECT_EQ(closeAnsweringDontSave(), 0);
    EXPECT_FALSE(exists(image));
}

// A set of two levels named on the command line comes back unchanged from
// "Testuj gre".
TEST_F(RealWindow, OpensTheImageNamedOnTheCommandLine)
{
    LevelData levels[kLevelSlots];
    for (int slot = 0; slot < 2; ++slot) {
        levels[slot].on = true;
        levels[slot].cells[slot + 3][7] = 0x30;
        // Playable, so no warning comes before the test: a robot (4), the
        // two screws (0x10) it must collect and the exit (3) after them,
        // a way the solver finds at once.
        levels[slot].cells[0][0] = 4;
        levels[slot].cells[10][10] = levels[slot].cells[11][10] = 0x10;
        levels[slot].cells[12][10] = 3;
        const int colours[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
        std::copy(colours, colours + 6, levels[slot].colours);
        levels[slot].srubki = 2;
        levels[slot].wzorek = 5;
    }
    TextPage pages[2];
    for (auto& page : pages)
        for (auto& line : page) {
            std::fill(line, line + 32, 'x');
            line[32] = '\0';
        }
    std::vector<uint8_t> set = writeGameImage(game, gameSize, levels, pages);
    std::string path = dir + "/two levels.atr";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(set.data()), std::streamsize(set.size()));

    start({path, "ignored.atr"});
    ASSERT_TRUE(click(595, 107));  // "Testuj gre"
    std::string image;
    ASSERT_TRUE(waitFor([&] { return !(image = testImage()).empty() && readAll(image).size() == set.size(); }));
    EXPECT_TRUE(readAll(image) == std::string(set.begin(), set.end()));
    // With neither HOME nor XDG_STATE_HOME there is no place for autosaves:
    // said once, in the log (and so on the error stream).
    const std::string said = readAll(dir + "/stderr");
    const std::string off = "Autozapis wylaczony: brak HOME i XDG_STATE_HOME";
    ASSERT_NE(said.find(off), std::string::npos) << said;
    EXPECT_EQ(said.find(off, said.find(off) + 1), std::string::npos) << said;
}

// Draw, a stroke that strays onto "Nowy", Ctrl+Z, Ctrl+S; then more
// drawing and a close: the question appears, Escape keeps the editor, and a
// second close answered "Nie zapisuj" ends it with the file as saved.
TEST_F(RealWindow, StrayDragUndoSaveAndCloseWhileModified)
{
    LevelData levels[kLevelSlots];
    levels[0].on = true;
    TextPage pages[2];
    for (auto& page : pages)
        for (auto& line : page) {
            std::fill(line, line + 32, ' ');
            line[32] = '\0';
        }
    std::vector<uint8_t> set = writeGameImage(game, gameSize, levels, pages);
    std::string path = dir + "/set.atr";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(set.data()), std::streamsize(set.size()));
    auto cell = [](int column, int row) { return std::make_pair(5 + 16 * column + 8, 50 + 16 * row + 8); };
    const size_t cellsAt = kLevelListOffset + 4;  // row after row, 16 cells each

    start({path});
    ASSERT_TRUE(click(270 + 20 * 1 + 9, 50 + 20 * 1 + 9));  // palette entry 6: the box
    ASSERT_TRUE(click(cell(2, 3).first, cell(2, 3).second));
    ASSERT_TRUE(drag(cell(5, 6).first, cell(5, 6).second, 30, 12));  // released on "Nowy"
    ASSERT_TRUE(xdotool("key --delay 50 ctrl+z ctrl+s"));
    ASSERT_TRUE(waitFor([&] { return readAll(path) != std::string(set.begin(), set.end()); }));
    std::string saved = readAll(path);
    ASSERT_EQ(saved.size(), set.size());
    EXPECT_EQ(static_cast<unsigned char>(saved[cellsAt + 3 * 16 + 2]), 0x30);  // the drawn box
    EXPECT_EQ(static_cast<unsigned char>(saved[cellsAt + 6 * 16 + 5]), 0);     // the stray stroke, undone

    ASSERT_TRUE(click(cell(7, 7).first, cell(7, 7).second));
    closeWindow();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(xdotool("key Escape"));  // "Anuluj": the editor stays
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(running());
    EXPECT_EQ(closeAnsweringDontSave(), 0);
    EXPECT_TRUE(readAll(path) == saved);
}

struct Ended {
    int status = -1;  // the exit status; -1 when a signal ended it
    std::string out, err;
};

// The real program run to its end, with no display in its environment
// unless `env` names one; standard output goes to `output` ("" closes it).
Ended runProgram(const std::vector<std::string>& arguments, std::vector<std::string> env = {},
                 const char* output = nullptr, const char* input = nullptr)
{
    char pattern[] = "/tmp/zelbun-app-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    std::vector<std::string> args = {ZELBUN_BINARY_DIR "/zelbun-kreator"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    env.insert(env.end(), {"PATH=" + dir, "ASAN_OPTIONS=detect_leaks=0"});
    const pid_t program = spawn(args, env, dir, dir + "/stderr", output ? output : dir + "/stdout", input);
    // One that waits for a window that never shows is killed, so the test
    // fails instead of holding up the suite.
    Ended ended;
    int status = 0;
    if (program > 0 && !waitFor([&] { return waitpid(program, &status, WNOHANG) == program; }, 1200)) {
        kill(program, SIGKILL);
        waitpid(program, &status, 0);
    }
    if (WIFEXITED(status))
        ended.status = WEXITSTATUS(status);
    ended.out = readAll(dir + "/stdout");
    ended.err = readAll(dir + "/stderr");
    std::system(("rm -rf '" + dir + "'").c_str());
    return ended;
}

// Without a display (no DISPLAY, WAYLAND_DISPLAY or SDL_VIDEODRIVER) the
// window does not start: the program says why in one line and ends with
// status 1, where SDL would pick a driver that shows nothing and wait
// forever. The same for a driver chosen by hand that shows no window, or
// that cannot start. A mistyped command is not taken for a file to open;
// "help" prints the help.
TEST(Program, WithoutADisplayItSaysSoAndEnds)
{
    const std::string noDisplay = "zelbun-kreator: cannot open a window: no display; the commands info, check, "
                                  "export and test work without one\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"/nonexistent/set.atr"}}) {
        const Ended ended = runProgram(args);
        EXPECT_EQ(ended.status, 1);
        EXPECT_EQ(ended.err, noDisplay);
    }
    Ended ended = runProgram({}, {"SDL_VIDEODRIVER=dummy"});
    EXPECT_EQ(ended.status, 1);
    EXPECT_EQ(ended.err.rfind(noDisplay.substr(0, noDisplay.size() - 1) + " (SDL's dummy driver", 0), 0u) << ended.err;
    ended = runProgram({}, {"SDL_VIDEODRIVER=no-such-driver"});
    EXPECT_EQ(ended.status, 1);
    EXPECT_EQ(ended.err.rfind("zelbun-kreator: cannot open a window: ", 0), 0u) << ended.err;

    ended = runProgram({"chek", "set.atr"});
    EXPECT_EQ(ended.status, 2);
    EXPECT_NE(ended.err.find("did you mean 'check'?"), std::string::npos) << ended.err;
    ended = runProgram({"help"});
    EXPECT_EQ(ended.status, 0);
    EXPECT_NE(ended.out.find("Usage: zelbun-kreator"), std::string::npos) << ended.out;
}

// Every message names what it is about: an empty file name, standard
// input closed or a directory, a directory given as the file.
TEST(Program, MessagesNameTheirSubject)
{
    Ended ended = runProgram({"info", ""});
    EXPECT_EQ(ended.status, 2);
    EXPECT_EQ(ended.err.rfind("zelbun-kreator: FILE: the file name is empty\n", 0), 0u) << ended.err;
    ended = runProgram({"test", "-", "--level", "1", "-o", ""});
    EXPECT_EQ(ended.status, 2);
    EXPECT_EQ(ended.err.rfind("zelbun-kreator: --output: the file name is empty\n", 0), 0u) << ended.err;
    ended = runProgram({"info", "-"}, {}, nullptr, "");
    EXPECT_EQ(ended.status, 1);
    EXPECT_EQ(ended.err, "zelbun-kreator: standard input: closed\n");
    ended = runProgram({"check", "-"}, {}, nullptr, "/");
    EXPECT_EQ(ended.status, 1);
    EXPECT_EQ(ended.err, "zelbun-kreator: standard input: is a directory\n");
    ended = runProgram({"info", "/"});
    EXPECT_EQ(ended.status, 1);
    EXPECT_EQ(ended.err, "zelbun-kreator: /: is a directory\n");
}

// Output that does not reach its place fails the command: a full device,
// a closed standard output.
TEST(Program, LostOutputIsAFailure)
{
    LevelData levels[kLevelSlots];
    levels[0].on = true;
    TextPage pages[2];
    for (auto& page : pages)
        blankPage(page);
    const std::vector<uint8_t> set = writeGameImage(game, gameSize, levels, pages);
    const std::string path = "/tmp/zelbun-app-set-" + std::to_string(getpid()) + ".atr";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(set.data()), std::streamsize(set.size()));

    EXPECT_EQ(runProgram({"info", path}).status, 0);
    Ended ended = runProgram({"info", path}, {}, "/dev/full");
    EXPECT_EQ(ended.status, 1);
    EXPECT_EQ(ended.err, "zelbun-kreator: standard output: No space left on device\n");
    ended = runProgram({"info", "--json", path}, {}, "");
    EXPECT_EQ(ended.status, 1);
    EXPECT_EQ(ended.err, "zelbun-kreator: standard output: Bad file descriptor\n");
    ended = runProgram({"--help"}, {}, "/dev/full");
    EXPECT_EQ(ended.status, 1);
    unlink(path.c_str());
}

} // namespace
