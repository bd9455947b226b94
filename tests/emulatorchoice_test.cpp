// Which program gets the test image: the editor knows itself among the
// desktop's entries by the program an entry runs, not by the entry's file
// name; and a path put into a shell's command string stays one word. The
// programs here are stand-ins on a private search path, the desktop entries
// in private data directories.
#ifndef _WIN32
#include "core/messages.h"
#include "platform/emulator.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// What a program prints, run without a shell.
std::string outputOf(const std::vector<std::string>& argv)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "(no pipe)";
    const pid_t child = fork();
    if (child == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    std::string output;
    char chunk[256];
    for (ssize_t got; (got = read(fds[0], chunk, sizeof chunk)) > 0;)
        output.append(chunk, size_t(got));
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return output;
}

EmulatorLookup onlyByName()
{
    EmulatorLookup lookup;
    lookup.findProgram = [](const std::string& name) { return "/usr/bin/" + name; };
    return lookup;
}

} // namespace

// A path with a space, quotes, a dollar, a command substitution and a
// semicolon reaches the program as one word, as it is: in a word of its own
// or beside an option, and in a shell's command string (behind a wrapper
// too, and whatever quotes stand around %f there) as a positional
// parameter, so that no byte of it is read as shell code.
TEST(EmulatorCommand, ThePathNeverReachesAShellAsCode)
{
    char pattern[] = "/tmp/zelbun-shell-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string root = pattern;
    const std::string planted = root + "/PWN";
    const std::string image = root + "/r $(touch " + planted + ")/a b/it's \"$HOME\";`touch " + planted + "`.atr";

    TestCommand command = chooseTestCommand("/bin/sh -c 'printf \"<%s>\" %f' sh", "", image, onlyByName());
    ASSERT_EQ(command.argv, (std::vector<std::string>{"/bin/sh", "-c", "printf \"<%s>\" \"${1}\"", "sh", image}));
    EXPECT_EQ(outputOf(command.argv), "<" + image + ">");

    // Behind a wrapper, with no $0 given, and %f within each kind of quote.
    const char* const scripts[] = {
        "printf \"<%s>\" %f",
        "printf \"<%s>\" '%f'",
        "printf \"<%s>\" \"%f\"",
        "printf \"<%s>\" \"$(printf %s %f)\"",
        "printf \"<%s>\" \"$(printf %s \"%f\")\"",
        "x=`printf %s %f`; printf \"<%s>\" \"$x\"",
    };
    for (const char* script : scripts) {
        std::string quoted;
        for (const char* c = script; *c; ++c)
            quoted += std::string(std::strchr("\"\\$`", *c) ? "\\" : "") + *c;
        const std::string line = "env LANG=C /bin/sh -ec \"" + quoted + "\"";
        std::vector<std::string> words;
        ASSERT_FALSE(splitCommandLine(line, words));
        command = chooseTestCommand(line, "", image, onlyByName());
        ASSERT_EQ(command.argv.size(), words.size() + 2) << script;
        EXPECT_EQ(command.argv[words.size()], "sh");
        EXPECT_EQ(command.argv.back(), image);
        EXPECT_EQ(command.argv[words.size() - 1].find(root), std::string::npos) << command.argv[words.size() - 1];
        EXPECT_EQ(outputOf(command.argv), "<" + image + ">") << script;
    }
    EXPECT_FALSE(fs::exists(planted));

    // Parameters given already: the path comes after them.
    command = chooseTestCommand("", "/bin/sh -c 'printf \"<%s|%s>\" \"$1\" %f' zero one", image, onlyByName());
    EXPECT_EQ(command.argv[2], "printf \"<%s|%s>\" \"$1\" \"${2}\"");
    EXPECT_EQ(outputOf(command.argv), "<one|" + image + ">");
    command = chooseTestCommand("", "/bin/sh -ec 'printf \"<%s>\" \"$1\"' sh %f", image, onlyByName());
    EXPECT_EQ(command.argv.back(), image);
    EXPECT_EQ(outputOf(command.argv), "<" + image + ">");

    command = chooseTestCommand("emu --disk=%f -x", "", image, onlyByName());
    EXPECT_EQ(command.argv, (std::vector<std::string>{"/usr/bin/emu", "--disk=" + image, "-x"}));
    command = chooseTestCommand("bash %f", "", image, onlyByName());  // a script file, no -c
    EXPECT_EQ(command.argv, (std::vector<std::string>{"/usr/bin/bash", image}));
    EXPECT_FALSE(fs::exists(planted));
    fs::remove_all(root);
}

TEST(EmulatorCommand, AnEntryRunsTheEditorByItsProgram)
{
    EXPECT_EQ(desktopEntryExec("[Desktop Entry]\nName=A\nExec = emu -f %f\r\n[Desktop Action x]\nExec=b\n"),
              "emu -f %f");
    EXPECT_EQ(desktopEntryExec("[Desktop Action x]\nExec=b\n[Desktop Entry]\nTryExec=c\n"), "");
    EXPECT_TRUE(execRunsThisEditor("zelbun-kreator %f", ""));
    EXPECT_TRUE(execRunsThisEditor("\"/opt/my tools/zelbun-kreator\" %f", ""));
    EXPECT_TRUE(execRunsThisEditor("env -i LANG=pl_PL.UTF-8 /usr/bin/zelbun-kreator %f", ""));
    EXPECT_TRUE(execRunsThisEditor("/home/jan/build/kreator-dev %F", "/home/jan/build/kreator-dev"));
    EXPECT_FALSE(execRunsThisEditor("atari800 %f", "/usr/bin/zelbun-kreator"));
    EXPECT_FALSE(execRunsThisEditor("emu --editor=zelbun-kreator %f", ""));
    EXPECT_FALSE(execRunsThisEditor("env LANG=C", ""));
}

class EmulatorChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zelbun-choice-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "ZELBUN_EMULATOR"}) {
            const char* value = std::getenv(name);
            saved.push_back({name, value ? value : "", value != nullptr});
        }
        setenv("XDG_DATA_HOME", (root / "home").c_str(), 1);
        setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
        unsetenv("ZELBUN_EMULATOR");
        for (const char* name : {"xdg-open", "atari800"})
            script(name, "printf '%s %s\\n' \"${0##*/}\" \"$*\" >> '" + (root / "ran").string() + "'\n");
        script("xdg-mime", "[ \"$*\" = 'query default application/x-atari-atr' ] && cat '" +
                               (root / "default").string() + "'\n");
    }
    void TearDown() override
    {
        for (const Saved& variable : saved)
            if (variable.set)
                setenv(variable.name, variable.value.c_str(), 1);
            else
                unsetenv(variable.name);
        fs::remove_all(root);
    }

    void script(const std::string& name, const std::string& body)
    {
        writeFile(root / "bin" / name, "#!/bin/sh\n" + body);
        fs::permissions(root / "bin" / name, fs::perms::owner_all);
    }

    // The program the editor starts for a test image, and its arguments,
    // once it has run.
    std::string testImageGoesTo(const std::string& defaultEntry)
    {
        writeFile(root / "default", defaultEntry + "\n");
        std::unique_ptr<Platform> system = makeSystemPlatform(0, (root / "bin").string());
        if (Error error = system->openTestImage("test.atr", root.string(), ""))
            return describe(error, Language::english);
        siginfo_t ended = {};
        waitid(P_ALL, 0, &ended, WEXITED | WNOWAIT);
        system->reapChildren();
        const std::string ran = readFile(root / "ran");
        fs::remove(root / "ran");
        return ran;
    }

    struct Saved {
        const char* name;
        std::string value;
        bool set;
    };
    std::vector<Saved> saved;
    fs::path root;
};

TEST_F(EmulatorChoice, TheEditorIsKnownByWhatItsEntryRuns)
{
    const std::string image = (root / "test.atr").string();
    // Another name, in a vendor's subdirectory of the system's entries,
    // that runs the editor: the image goes to the emulator instead.
    writeFile(root / "system/applications/vendor/kreator.desktop",
              "[Desktop Entry]\nType=Application\nName=K\nExec=env LANG=pl_PL.UTF-8 /opt/zk/zelbun-kreator %f\n");
    EXPECT_EQ(testImageGoesTo("vendor-kreator.desktop"), "atari800 " + image + "\n");

    // The editor's entry name, which the user's own entry takes over to run
    // an emulator: the desktop's choice is followed.
    writeFile(root / "home/applications/zelbun-kreator.desktop",
              "[Desktop Entry]\nType=Application\nName=Emu\nExec=myemu %f\n"
              "[Desktop Action edit]\nExec=zelbun-kreator %f\n");
    EXPECT_EQ(testImageGoesTo("zelbun-kreator.desktop"), "xdg-open " + image + "\n");

    // An entry no data directory holds: only its name can tell.
    fs::remove(root / "home/applications/zelbun-kreator.desktop");
    EXPECT_EQ(testImageGoesTo("zelbun-kreator.desktop"), "atari800 " + image + "\n");
    EXPECT_EQ(testImageGoesTo("gone.desktop"), "xdg-open " + image + "\n");
}

#endif
