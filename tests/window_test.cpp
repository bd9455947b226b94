// The real window in an X server of its own (Xvfb), driven through xdotool:
// the in-window file dialog replaces its pre-filled name with what is
// typed, a click at 2x lands on its cell, two quick test clicks give two
// images, and work killed with the program comes back from its autosave.
// The program meets only what the test puts on its private PATH (no dialog
// programs, so the window's own dialogs show, but where a test puts a
// stand-in of its own). Skipped where Xvfb or xdotool is missing.
#include "core/game.h"
#include "core/gameimage.h"
#include "tests/xvfb.h"
#include "core/levelcheck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Polls until the condition holds or about twenty seconds pass.
template <class Condition>
bool waitFor(Condition condition)
{
    for (int i = 0; i < 400; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// A set whose first level is on and empty.
std::vector<uint8_t> emptySet()
{
    LevelData levels[kLevelSlots];
    levels[0].on = true;
    TextPage pages[2];
    for (auto& page : pages)
        for (auto& line : page) {
            std::fill(line, line + 32, ' ');
            line[32] = '\0';
        }
    return writeGameImage(game, gameSize, levels, pages);
}

uint8_t cellOf(const std::string& image, int column, int row)
{
    return static_cast<uint8_t>(image.at(kLevelListOffset + 4 + row * 16 + column));
}

class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!XServer::toolsPresent())
            GTEST_SKIP() << "Xvfb or xdotool missing";
        char pattern[] = "/tmp/zelbun-window-XXXXXX";
        dir = mkdtemp(pattern);
        for (const char* sub : {"/bin", "/run", "/state", "/work"})
            mkdir((dir + sub).c_str(), 0700);
        std::ofstream(dir + "/bin/emulator") << "#!/bin/sh\nexit 0\n";
        chmod((dir + "/bin/emulator").c_str(), 0755);
        server.start("1400x1250x24", dir + "/xvfb.log");
        display = server.display;
        ASSERT_FALSE(display.empty()) << "Xvfb did not start: " << readAll(dir + "/xvfb.log");
    }

    void TearDown() override
    {
        stop();
        server.stop();
        if (!dir.empty())
            fs::remove_all(dir);
    }

    // Starts the editor in the work directory with only the test's programs
    // on its PATH, and waits for its window.
    void start(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> args = {ZELBUN_BINARY_DIR "/zelbun-kreator"};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<std::string> env = {"DISPLAY=" + display, "SDL_VIDEODRIVER=x11", "PATH=" + dir + "/bin",
                                        "HOME=" + dir,
                                        "XDG_RUNTIME_DIR=" + dir + "/run", "XDG_STATE_HOME=" + dir + "/state",
                                        "ZELBUN_EMULATOR=" + dir + "/bin/emulator", "ASAN_OPTIONS=detect_leaks=0"};
        std::vector<char*> argv, envp;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, (dir + "/stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addchdir_np(&actions, (dir + "/work").c_str());
        if (posix_spawn(&program, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            program = -1;
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_GT(program, 0);
        ASSERT_TRUE(waitFor([&] { return xdotool("search --name 'Zelbun Kreator'"); }))
            << "no window; the program said: " << readAll(dir + "/stderr") << "; the X server said: "
            << readAll(dir + "/xvfb.log");
        ASSERT_TRUE(xdotool("search --name 'Zelbun Kreator' windowfocus --sync"));
    }

    void stop()
    {
        if (program > 0) {
            kill(program, SIGKILL);
            waitpid(program, nullptr, 0);
            program = -1;
        }
    }

    bool xdotool(const std::string& args)
    {
        return std::system(("DISPLAY=" + display + " xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
    }

    bool titled(const std::string& name) { return xdotool("search --name '" + name + "'"); }

    // A click at a point of the window's picture, `scale` window pixels to
    // a picture pixel.
    bool click(int x, int y, int scale = 1)
    {
        return xdotool("search --name 'Zelbun Kreator' mousemove --window %1 " + std::to_string(scale * x + 1) + " " +
                       std::to_string(scale * y + 1) + " click 1");
    }
    bool clickCell(int column, int row, int scale = 1) { return click(5 + 16 * column + 7, 50 + 16 * row + 7, scale); }

    std::vector<std::string> testImages()
    {
        std::vector<std::string> found;
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(dir + "/run", error))
            if (entry.path().extension() == ".atr")
                found.push_back(entry.path().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    std::string dir, display;
    XServer server;
    pid_t program = -1;
};

// "...jako" offers the document's name selected: typing "gap" makes the
// name "gap", saved as gap.atr, not "zestaw.atrgap".
TEST_F(Window, TypingReplacesTheOfferedName)
{
    const std::vector<uint8_t> set = emptySet();
    const std::string path = dir + "/work/zestaw.atr";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(set.data()), std::streamsize(set.size()));
    start({"zestaw.atr"});
    ASSERT_TRUE(clickCell(2, 3));  // a change, so the saved file differs
    ASSERT_TRUE(xdotool("key --delay 50 ctrl+shift+s"));
    ASSERT_TRUE(xdotool("type --delay 80 gap"));
    ASSERT_TRUE(xdotool("key Return"));
    ASSERT_TRUE(waitFor([&] { return fs::exists(dir + "/work/gap.atr"); })) << readAll(dir + "/stderr");
    EXPECT_FALSE(fs::exists(dir + "/work/zestaw.atrgap"));
    EXPECT_TRUE(waitFor([&] { return titled("^gap.atr - Zelbun"); }));
}

// At 2x the window is twice as large and a click at twice a cell's place
// draws that cell; two quick test clicks start two emulators on two images.
TEST_F(Window, AtTwiceTheSizeClicksLandOnTheirCellsAndTestsGetTheirOwnImages)
{
    start({"--scale", "2"});
    ASSERT_TRUE(click(270 + 20 * 1 + 9, 50 + 9, 2));  // palette entry 1: the robot
    ASSERT_TRUE(clickCell(6, 9, 2));
    ASSERT_TRUE(click(270 + 20 * 3 + 9, 50 + 9, 2));  // entry 3: the exit, beside it, so the level can be won
    ASSERT_TRUE(clickCell(7, 9, 2));
    ASSERT_TRUE(xdotool("search --name 'Zelbun Kreator' mousemove --window %1 " + std::to_string(2 * 595) + " " +
                        std::to_string(2 * 82) + " click --repeat 2 --delay 60 1"));  // "Testuj mape", twice
    std::vector<std::string> images;
    ASSERT_TRUE(waitFor([&] { return (images = testImages()).size() == 2; })) << readAll(dir + "/stderr");
    EXPECT_EQ(fs::path(images[0]).filename(), "test-2.atr");
    EXPECT_EQ(fs::path(images[1]).filename(), "test.atr");
    for (const std::string& image : images) {
        ASSERT_TRUE(waitFor([&] { return readAll(image).size() > kLevelListOffset + 4 + 16 * 31; }));
        EXPECT_EQ(cellOf(readAll(image), 6, 9), kRobotCode);
    }
}

// A stand-in for zenity's questions: it logs each question's text and
// gives the answers listed in `answers`, one a line, in turn (0 the first,
// 1 the middle one, anything else the last), with shell built-ins only.
void writeQuestionStandIn(const std::string& dir)
{
    std::ofstream(dir + "/bin/zenity") << "#!/bin/sh\n"
                                          "for a in \"$@\"; do case \"$a\" in --text=*) printf '%s\\n' \"${a#--text=}\";; "
                                          "esac; done >> '" << dir << "/questions'\n"
                                          "n=0; read -r n < '" << dir << "/asked'; n=$((n+1)); echo $n > '" << dir << "/asked'\n"
                                          "i=0; answer=2; while read -r line; do i=$((i+1)); "
                                          "[ $i -eq $n ] && answer=$line; done < '" << dir << "/answers'\n"
                                          "case $answer in 0) exit 0;; 1) for a in \"$@\"; do case \"$a\" in "
                                          "--extra-button=*) printf '%s\\n' \"${a#--extra-button=}\";; esac; done; exit 1;; "
                                          "esac\nexit 1\n";
    chmod((dir + "/bin/zenity").c_str(), 0755);
}

// Twenty strokes make an autosave; a test leaves its private folder; the
// program is killed. Started again, it asks; "Nie teraz" keeps that
// autosave as it is while the new run, killed too, writes its own beside
// it, and the kill's test folder is gone. Started a third time (the
// window's own question now), Return ("Przywroc") brings back the newest
// work as unsaved changes of the same file, which Ctrl+S then saves; the
// older autosave stays for the next start.
TEST_F(Window, AutosaveComesBackAfterAKill)
{
    const std::vector<uint8_t> set = emptySet();
    const std::string path = dir + "/work/set.atr";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(set.data()), std::streamsize(set.size()));
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1));
    writeQuestionStandIn(dir);
    std::ofstream(dir + "/answers") << "0\n2\n";  // "Testuj" despite the findings; then "Nie teraz"
    auto autosaves = [&] {
        std::vector<std::string> found;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(dir + "/state/zelbun-kreator", error))
            if (entry.path().extension() == ".atr")
                found.push_back(entry.path().string());
        std::sort(found.begin(), found.end());
        return found;
    };
    auto boxesIn = [&](const std::string& file, int row) {
        const std::string image = readAll(file);
        return image.size() > kLevelListOffset + 4 + 16 * 31 && cellOf(image, 3, row) == 0x30;
    };
    auto twentyStrokes = [&](int row) {
        ASSERT_TRUE(click(270 + 20 * 1 + 9, 50 + 20 * 1 + 9));  // palette entry 6: the box
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(clickCell(i % 16, row + i / 16));
    };

    start({"set.atr"});
    twentyStrokes(2);
    std::vector<std::string> written;
    ASSERT_TRUE(waitFor([&] { return (written = autosaves()).size() == 1 && boxesIn(written[0], 3); }))
        << readAll(dir + "/stderr");
    const std::string first = written[0];
    ASSERT_TRUE(click(595, 82));  // "Testuj mape"
    ASSERT_TRUE(waitFor([&] { return testImages().size() == 1; })) << readAll(dir + "/stderr");
    const fs::path leftover = fs::path(testImages()[0]).parent_path();
    stop();
    ASSERT_TRUE(fs::exists(leftover));
    const std::string work = readAll(first);

    start({"set.atr"});
    ASSERT_TRUE(waitFor([&] { return readAll(dir + "/questions").find("Jest autozapis set.atr") != std::string::npos; }));
    EXPECT_FALSE(fs::exists(leftover));
    twentyStrokes(6);
    ASSERT_TRUE(waitFor([&] { return (written = autosaves()).size() == 2; })) << readAll(dir + "/stderr");
    const std::string second = written[0] == first ? written[1] : written[0];
    ASSERT_TRUE(waitFor([&] { return boxesIn(second, 7); }));
    EXPECT_FALSE(boxesIn(second, 3));
    EXPECT_TRUE(readAll(first) == work);
    stop();

    fs::remove(dir + "/bin/zenity");
    start({"set.atr"});
    // The question comes before anything else; Return takes its first answer.
    ASSERT_TRUE(waitFor([&] { return xdotool("key Return") && titled("set.atr \\* - Zelbun"); }));
    EXPECT_EQ(cellOf(readAll(path), 0, 6), 0);  // not saved yet
    ASSERT_TRUE(xdotool("key ctrl+s"));
    ASSERT_TRUE(waitFor([&] { return cellOf(readAll(path), 3, 7) == 0x30; }));
    EXPECT_EQ(cellOf(readAll(path), 0, 6), 0x30);
    EXPECT_EQ(cellOf(readAll(path), 3, 3), 0);
    EXPECT_TRUE(waitFor([&] { return !fs::exists(second); }));
    EXPECT_TRUE(readAll(first) == work);
}

// The set view under a real pointer: "Zestaw" opens it, the third level
// dragged in front of the first goes there, and Ctrl+S saves the set in
// that order.
TEST_F(Window, DraggingALevelInTheSetViewMovesIt)
{
    LevelData levels[kLevelSlots];
    for (int slot = 0; slot < 3; ++slot) {
        levels[slot].on = true;
        levels[slot].colours[1] = 0x10 * (slot + 1);
    }
    TextPage pages[2];
    for (TextPage& page : pages)
        blankPage(page);
    const std::vector<uint8_t> set = writeGameImage(game, gameSize, levels, pages);
    const std::string path = dir + "/work/set.atr";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(set.data()), std::streamsize(set.size()));
    start({"set.atr"});
    ASSERT_TRUE(click(502, 132));  // "Zestaw", beside "Graj"
    // The third level's picture, a few steps left, then the left half of the first place.
    ASSERT_TRUE(xdotool("search --name 'Zelbun Kreator' mousemove --window %1 180 88 mousedown 1 sleep 0.1 "
                        "mousemove --window %1 160 90 sleep 0.1 mousemove --window %1 10 90 sleep 0.1 mouseup 1"));
    ASSERT_TRUE(xdotool("key ctrl+s"));
    auto firstColours = [&] {
        const std::string saved = readAll(path);
        const LoadResult read = readGameImage(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
        return std::vector<int>{read.levels[0].colours[1], read.levels[1].colours[1], read.levels[2].colours[1]};
    };
    EXPECT_TRUE(waitFor([&] { return firstColours() == std::vector<int>{0x30, 0x10, 0x20}; }))
        << readAll(dir + "/stderr");
}

} // namespace
