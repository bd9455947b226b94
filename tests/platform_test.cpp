// The system platform against small fake zenity, kdialog and xdg-open
// scripts placed on a private search path. Each script records its argv
// (NUL-separated, so arguments with newlines survive) and answers as told.
#ifndef _WIN32

#include "core/messages.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> splitNul(const std::string& text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    return parts;
}

// Blocks until a child of this process has ended, leaving it for its owner
// to collect; false when there is no child to wait for.
bool childHasEnded()
{
    siginfo_t info = {};
    while (waitid(P_ALL, 0, &info, WEXITED | WNOWAIT) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

bool hasNoChildren()
{
    siginfo_t info = {};
    return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
}

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Ended children must stay until collected, whatever the parent of
        // this process left ignored.
        signal(SIGCHLD, SIG_DFL);
        char pattern[] = "/tmp/zelbun-platform-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        bin = root / "bin";
        fs::create_directory(bin);
    }
    // A started program may still run when its test ends: it must end
    // before its files go, and must not count as a child of the next test
    // in this process.
    void TearDown() override
    {
        while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
        }
        fs::remove_all(root);
    }

    // Waits for the one started program to end and lets the platform
    // collect it.
    bool finished(Platform& system)
    {
        const bool ended = childHasEnded();
        system.reapChildren();
        return ended;
    }

    void writeExecutable(const std::string& name, const std::string& content)
    {
        fs::path path = bin / name;
        writeFile(path, content);
        chmod(path.c_str(), 0755);
    }
    void writeScript(const std::string& name, const std::string& body)
    {
        writeExecutable(name, "#!/bin/sh\n" + body);
    }

    // A dialog program that records its arguments, prints the text of the
    // file <name>.answer and exits with the given status.
    void fakeDialog(const std::string& name, const std::string& answer, int exitStatus)
    {
        std::string base = (root / name).string();
        writeFile(base + ".answer", answer);
        writeScript(name, "printf '%s\\0' \"$@\" > '" + base + ".args'\ncat '" + base + ".answer'\nexit " +
                              std::to_string(exitStatus) + "\n");
    }

    std::vector<std::string> recordedArgs(const std::string& name)
    {
        return splitNul(readFile(root / (name + ".args")));
    }

    // Records its working directory and arguments, then (on Linux) its
    // process group and standard input.
    void fakeOpener()
    {
        std::string base = (root / "opener").string();
        writeScript("xdg-open", "pwd -P > '" + base + ".pwd'\n"
                                "printf '%s\\0' \"$@\" > '" + base + ".args'\n"
                                "[ -d /proc/$$ ] && cut -d' ' -f5 /proc/$$/stat > '" + base + ".pgid'\n"
                                "[ -d /proc/$$ ] && echo $$ > '" + base + ".pid'\n"
                                "[ -d /proc/$$ ] && readlink /proc/$$/fd/0 > '" + base + ".stdin'\n");
        writeScript("open", "exec '" + (bin / "xdg-open").string() + "' \"$@\"\n");
    }

    std::unique_ptr<Platform> platform(unsigned long windowId = 0)
    {
        return makeSystemPlatform(windowId, bin.string());
    }

    fs::path root;
    fs::path bin;
};

// An awkward path: spaces, both quote kinds, a shell metacharacter.
const std::string oddPath = "/tmp/moje mapy/it's \"nowa\" $gra.atr";

TEST_F(PlatformTest, ZenityOpenDialogArgumentsAndChosenPath)
{
    fakeDialog("zenity", oddPath + "\n", 0);
    std::string chosen;
    DialogRequest request{"Otworz", "/data/levels", "", false, ""};
    EXPECT_EQ(platform(4242)->fileDialog(request, chosen), DialogResult::Chosen);
    EXPECT_EQ(chosen, oddPath);  // trailing newline gone, the rest intact

    std::vector<std::string> expected = {"--file-selection", "--title=Otworz", "--filename=/data/levels/",
                                         "--attach=4242", "--modal",
                                         "--file-filter=Obrazy ATR | *.atr *.ATR",
                                         "--file-filter=Wszystkie pliki | *"};
    EXPECT_EQ(recordedArgs("zenity"), expected);
}

TEST_F(PlatformTest, ZenitySaveDialogOffersCurrentFileAndConfirmsOverwrite)
{
    fakeDialog("zenity", "/x/nowa.atr\n", 0);
    std::string chosen;
    DialogRequest request{"Zapisz", "/data", oddPath, true, ""};
    EXPECT_EQ(platform()->fileDialog(request, chosen), DialogResult::Chosen);

    std::vector<std::string> args = recordedArgs("zenity");
    auto has = [&](const std::string& arg) { return std::find(args.begin(), args.end(), arg) != args.end(); };
    EXPECT_TRUE(has("--filename=" + oddPath));  // one argument, no shell in between
    EXPECT_TRUE(has("--save"));
    EXPECT_TRUE(has("--confirm-overwrite"));
    // No window to attach to.
    for (const std::string& arg : args)
        EXPECT_EQ(arg.rfind("--attach", 0), std::string::npos) << arg;
}

TEST_F(PlatformTest, RelativeStartPathsAreTakenFromTheWorkingDirectory)
{
    fakeDialog("zenity", "", 1);
    std::unique_ptr<Platform> system = platform();
    std::string cwd = system->currentDirectory();
    std::string chosen;

    system->fileDialog({"Otworz", "levels", "", false, ""}, chosen);
    EXPECT_EQ(recordedArgs("zenity").at(2), "--filename=" + cwd + "/levels/");

    // A name starting with "-" must not become an option for the program.
    system->fileDialog({"Zapisz", "", "-gra.atr", true, ""}, chosen);
    EXPECT_EQ(recordedArgs("zenity").at(2), "--filename=" + cwd + "/-gra.atr");

    system->fileDialog({"Otworz", "", "", false, ""}, chosen);
    EXPECT_EQ(recordedArgs("zenity").at(2), "--filename=" + cwd + "/");
}

TEST_F(PlatformTest, CancelledDialogLeavesThePathAlone)
{
    std::string chosen = "before";
    fakeDialog("zenity", "", 1);
    EXPECT_EQ(platform()->fileDialog({"Otworz", "/", "", false, ""}, chosen), DialogResult::Cancelled);
    // Success with nothing printed chooses nothing either.
    fakeDialog("zenity", "\n", 0);
    EXPECT_EQ(platform()->fileDialog({"Otworz", "/", "", false, ""}, chosen), DialogResult::Cancelled);
    EXPECT_EQ(chosen, "before");
}

TEST_F(PlatformTest, KdialogArgumentsForOpenAndSave)
{
    fakeDialog("kdialog", "/x/gra.atr\n", 0);
    std::string chosen;
    EXPECT_EQ(platform(77)->fileDialog({"Otworz", "/data", "", false, ""}, chosen), DialogResult::Chosen);
    EXPECT_EQ(chosen, "/x/gra.atr");
    std::vector<std::string> expected = {"--title", "Otworz", "--attach", "77", "--getopenfilename",
                                         "/data/", "*.atr *.ATR|Obrazy ATR\n*|Wszystkie pliki"};
    EXPECT_EQ(recordedArgs("kdialog"), expected);

    EXPECT_EQ(platform()->fileDialog({"Zapisz", "/data", oddPath, true, ""}, chosen), DialogResult::Chosen);
    expected = {"--title", "Zapisz", "--getsavefilename", oddPath, "*.atr *.ATR|Obrazy ATR\n*|Wszystkie pliki"};
    EXPECT_EQ(recordedArgs("kdialog"), expected);
}

// Questions: zenity's OK, its extra button (which prints its label) and
// Cancel; kdialog's yes, no and cancel; nothing to ask with.
TEST_F(PlatformTest, QuestionsThroughZenityAndKdialog)
{
    const Question question{"Zelbun Kreator", "Zapisac zmiany?", {"Zapisz", "Nie zapisuj", "Anuluj"}};
    fakeDialog("zenity", "", 0);
    EXPECT_EQ(platform(9)->ask(question), 0);
    std::vector<std::string> expected = {"--question",         "--title=Zelbun Kreator",     "--text=Zapisac zmiany?",
                                         "--ok-label=Zapisz",  "--cancel-label=Anuluj",      "--extra-button=Nie zapisuj",
                                         "--attach=9",         "--modal"};
    EXPECT_EQ(recordedArgs("zenity"), expected);
    fakeDialog("zenity", "Nie zapisuj\n", 1);
    EXPECT_EQ(platform()->ask(question), 1);
    fakeDialog("zenity", "", 1);
    EXPECT_EQ(platform()->ask(question), 2);

    fs::remove(bin / "zenity");
    fakeDialog("kdialog", "", 1);
    EXPECT_EQ(platform()->ask(question), 1);
    expected = {"--title", "Zelbun Kreator", "--warningyesnocancel", "Zapisac zmiany?", "--yes-label", "Zapisz",
                "--no-label", "Nie zapisuj", "--cancel-label", "Anuluj"};
    EXPECT_EQ(recordedArgs("kdialog"), expected);
    fakeDialog("kdialog", "", 1);
    EXPECT_EQ(platform()->ask({"Zapisz mape", "Zastapic?", {"Zastap", "Anuluj"}}), 1);
    EXPECT_EQ(recordedArgs("kdialog").at(2), "--yesno");

    fs::remove(bin / "kdialog");
    EXPECT_EQ(platform()->ask(question), Platform::questionUnavailable);
}

TEST_F(PlatformTest, BrokenZenityFallsBackToKdialog)
{
    fakeDialog("zenity", "", 255);  // e.g. an option this zenity does not know
    fakeDialog("kdialog", "/x/z-kdialog.atr\n", 0);
    std::string chosen;
    EXPECT_EQ(platform(5)->fileDialog({"Otworz", "/", "", false, ""}, chosen), DialogResult::Chosen);
    EXPECT_EQ(chosen, "/x/z-kdialog.atr");

    fs::remove(bin / "kdialog");
    chosen.clear();
    EXPECT_EQ(platform(5)->fileDialog({"Otworz", "/", "", false, ""}, chosen), DialogResult::Unavailable);
    EXPECT_EQ(chosen, "");
}

TEST_F(PlatformTest, DialogUnavailableWithoutUsablePrograms)
{
    std::string chosen;
    EXPECT_EQ(platform()->fileDialog({"Otworz", "/", "", false, ""}, chosen), DialogResult::Unavailable);

    // Not executable, a directory, and a script whose interpreter is missing.
    writeFile(bin / "zenity", "#!/bin/sh\necho /x.atr\n");
    fs::create_directory(bin / "kdialog");
    EXPECT_EQ(platform()->fileDialog({"Otworz", "/", "", false, ""}, chosen), DialogResult::Unavailable);
    writeExecutable("zenity", "#!/nonexistent/sh\necho /x.atr\n");
    EXPECT_EQ(platform()->fileDialog({"Otworz", "/", "", false, ""}, chosen), DialogResult::Unavailable);

    // Empty entries in the search path do not mean the working directory.
    fakeDialog("zenity", "/x.atr\n", 0);
    fs::path saved = fs::current_path();
    fs::current_path(bin);
    EXPECT_EQ(makeSystemPlatform(0, "::/nonexistent:")->fileDialog({"Otworz", "/", "", false, ""}, chosen),
              DialogResult::Unavailable);
    fs::current_path(saved);
    EXPECT_EQ(chosen, "");
}

TEST_F(PlatformTest, OpenWithStartsTheOpenerDetachedInTheDirectory)
{
    fakeOpener();
    fs::path dir = root / "it's a \"test\" dir";
    fs::create_directory(dir);
    Error error;
    std::unique_ptr<Platform> system = platform();
    ASSERT_FALSE(error = system->openWithDefaultProgram("test.atr", dir.string())) << describe(error, Language::english);
    ASSERT_TRUE(finished(*system));

    std::string realDir = fs::canonical(dir).string();
    EXPECT_EQ(recordedArgs("opener"), std::vector<std::string>{realDir + "/test.atr"});
    EXPECT_EQ(readFile(root / "opener.pwd"), realDir + "\n");
#ifdef __linux__
    EXPECT_EQ(readFile(root / "opener.pgid"), readFile(root / "opener.pid"));
    EXPECT_EQ(readFile(root / "opener.stdin"), "/dev/null\n");
#endif

    // An absolute file is passed as it stands.
    ASSERT_FALSE(error = system->openWithDefaultProgram(oddPath, dir.string())) << describe(error, Language::english);
    ASSERT_TRUE(finished(*system));
    EXPECT_EQ(recordedArgs("opener"), std::vector<std::string>{oddPath});
}

TEST_F(PlatformTest, OpenWithReportsAMissingOrBrokenOpener)
{
    Error error = platform()->openWithDefaultProgram("test.atr", root.string());
    EXPECT_EQ(error.fault, Fault::programNotFound);
    EXPECT_NE(describe(error, Language::english).find("not found"), std::string::npos);

    writeExecutable("xdg-open", "#!/nonexistent/sh\n");
    writeExecutable("open", "#!/nonexistent/sh\n");
    error = platform()->openWithDefaultProgram("test.atr", root.string());
    EXPECT_EQ(error.step, Step::start);
    EXPECT_NE(describe(error, Language::english).find("starting it"), std::string::npos);
    EXPECT_TRUE(hasNoChildren());
}

TEST_F(PlatformTest, EndedOpenerIsCollectedByReapOrByTheDestructor)
{
    fakeOpener();
    Error error;
    std::unique_ptr<Platform> system = platform();
    ASSERT_FALSE(error = system->openWithDefaultProgram("test.atr", root.string())) << describe(error, Language::english);
    ASSERT_TRUE(childHasEnded());
    system->reapChildren();
    EXPECT_TRUE(hasNoChildren());

    ASSERT_FALSE(error = system->openWithDefaultProgram("test.atr", root.string())) << describe(error, Language::english);
    ASSERT_TRUE(childHasEnded());
    system.reset();
    EXPECT_TRUE(hasNoChildren());
}

TEST_F(PlatformTest, CurrentDirectoryOfAnyLength)
{
    // Deep enough to outgrow a first guess at the buffer size.
    fs::path deep = root;
    for (int i = 0; i < 12; ++i)
        deep /= std::string(60, static_cast<char>('a' + i));
    fs::create_directories(deep);
    fs::path saved = fs::current_path();
    fs::current_path(deep);
    std::string reported = platform()->currentDirectory();
    fs::current_path(saved);
    EXPECT_EQ(reported, fs::canonical(deep).string());
    EXPECT_GT(reported.size(), 700u);
}

// Test images go to an emulator, never to a second editor: the user's
// command first (--emulator, then ZELBUN_EMULATOR), then the desktop's
// default unless it is this editor, then a known emulator on the path, and
// else a message saying how to set one. Each program here is a stand-in.
TEST_F(PlatformTest, TestImagesReachAnEmulatorNeverTheEditor)
{
    unsetenv("ZELBUN_EMULATOR");
    std::unique_ptr<Platform> system = platform();
    Error error = system->openTestImage("test.atr", root.string(), "");
    EXPECT_EQ(error.fault, Fault::noEmulator);
    EXPECT_NE(describe(error, Language::english).find("ZELBUN_EMULATOR"), std::string::npos);

    // Records its arguments under its own name.
    auto standIn = [&](const std::string& name) {
        std::string base = (root / name).string();
        writeScript(name, "printf '%s\\0' \"$@\" > '" + base + ".args'\ntouch '" + base + ".done'\n");
    };
    auto ran = [&](const std::string& name) {
        const bool done = finished(*system) && fs::remove(root / (name + ".done"));
        return done ? recordedArgs(name) : std::vector<std::string>{"(did not run)"};
    };
    const std::string image = root.string() + "/test.atr";
    standIn("xdg-open");
    standIn("atari800");
    standIn("myemu");
    writeScript("xdg-mime", "[ \"$*\" = 'query default application/x-atari-atr' ] && cat '" + (root / "default").string() + "'\n");

    writeFile(root / "default", "zelbun-kreator.desktop\n");
    ASSERT_FALSE(error = system->openTestImage("test.atr", root.string(), "")) << describe(error, Language::english);
    EXPECT_EQ(ran("atari800"), std::vector<std::string>{image});

    writeFile(root / "default", "emulator.desktop\n");
    ASSERT_FALSE(error = system->openTestImage("test.atr", root.string(), "")) << describe(error, Language::english);
    EXPECT_EQ(ran("xdg-open"), std::vector<std::string>{image});

    setenv("ZELBUN_EMULATOR", "myemu -x '%f' \"--name=a b\"", 1);
    ASSERT_FALSE(error = system->openTestImage("test.atr", root.string(), "")) << describe(error, Language::english);
    EXPECT_EQ(ran("myemu"), (std::vector<std::string>{"-x", image, "--name=a b"}));

    ASSERT_FALSE(error = system->openTestImage("test.atr", root.string(), (bin / "atari800").string() + " -fast")) << describe(error, Language::english);
    EXPECT_EQ(ran("atari800"), (std::vector<std::string>{"-fast", image}));

    error = system->openTestImage("test.atr", root.string(), "noemu %f");
    EXPECT_EQ(describe(error, Language::english), "--emulator: noemu: not found");
    EXPECT_EQ(describe(error, Language::polish), "--emulator: noemu: nie znaleziono programu");
    error = system->openTestImage("test.atr", root.string(), "myemu 'x");
    EXPECT_EQ(describe(error, Language::english), "--emulator: unfinished ' quote");
    unsetenv("ZELBUN_EMULATOR");
}

}  // namespace

#endif
