// Linux and macOS side of the platform layer: file dialogs through zenity or
// kdialog, "open with" through xdg-open (open on macOS). Programs are started
// without a shell, so paths reach them byte for byte whatever they contain.
#ifndef _WIN32

#include "platform/platform.h"

#include "platform/emulator.h"

#include "core/fileio.h"
#include "core/pathname.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The variables setOwnEnvironmentDefault set, "NAME=".
std::vector<std::string>& ownDefaults()
{
    static std::vector<std::string> names;
    return names;
}

// The environment without what this program set for itself.
std::vector<char*> userEnvironment()
{
    std::vector<char*> entries;
    for (char** entry = environ; *entry; ++entry) {
        bool own = false;
        for (const std::string& prefix : ownDefaults())
            own = own || std::strncmp(*entry, prefix.c_str(), prefix.size()) == 0;
        if (!own)
            entries.push_back(*entry);
    }
    entries.push_back(nullptr);
    return entries;
}

} // namespace

void setOwnEnvironmentDefault(const std::string& name, const std::string& value)
{
    if (std::getenv(name.c_str()) || setenv(name.c_str(), value.c_str(), 0) != 0)
        return;
    ownDefaults().push_back(name + "=");
}

void yieldToOtherThreads()
{
#ifdef __linux__
    // Linux gives each thread its own nice value; a failure leaves it as it was.
    setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10);
#endif
}

namespace {

#ifdef __APPLE__
const char* const openerProgram = "open";
#else
const char* const openerProgram = "xdg-open";
#endif

// Upper and lower case, as images copied from other systems are often "GAME.ATR".
const char* const zenityAtrFilter = "Obrazy ATR | *.atr *.ATR";
const char* const zenityAllFilter = "Wszystkie pliki | *";
const char* const kdialogFilter = "*.atr *.ATR|Obrazy ATR\n*|Wszystkie pliki";

std::string findProgram(const std::string& name, const std::string& searchPath)
{
    for (const std::string& dir : splitAt(searchPath, ':')) {
        // An empty entry would mean the working directory, which holds the
        // user's files, not programs we mean to run.
        if (dir.empty())
            continue;
        const std::string candidate = dir + "/" + name;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return "";
}

// Relative paths are taken from base; the result never starts with "-", so
// no program can mistake it for an option.
std::string absolutePath(const std::string& path, const std::string& base)
{
    if (!path.empty() && path[0] == '/')
        return path;
    std::string root = base.empty() ? "." : base;
    if (root.back() != '/')
        root += '/';
    return root + path;
}

std::string withTrailingSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

// The paths an installed desktop entry may have under `dir`: its id is its
// path below applications/, each "/" turned into "-".
void entryPaths(const std::string& dir, const std::string& id, std::vector<std::string>& paths)
{
    paths.push_back(dir + "/" + id);
    for (size_t dash = id.find('-'); dash != std::string::npos; dash = id.find('-', dash + 1))
        if (dash > 0)
            entryPaths(dir + "/" + id.substr(0, dash), id.substr(dash + 1), paths);
}

// The text of the desktop entry `id` where the desktop looks for it: the
// user's data directory first, then the system's. "" when none is found.
std::string desktopEntryText(const std::string& id)
{
    if (id.empty() || id.find('/') != std::string::npos)
        return "";
    std::vector<std::string> roots;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome)
        roots.push_back(dataHome);
    else if (home && *home)
        roots.push_back(std::string(home) + "/.local/share");
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    const std::string systemDirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    for (const std::string& dir : splitAt(systemDirs, ':'))
        if (!dir.empty())
            roots.push_back(dir);
    for (const std::string& root : roots) {
        std::vector<std::string> paths;
        entryPaths(root + "/applications", id, paths);
        for (const std::string& path : paths) {
            std::vector<uint8_t> text;
            if (!readFile(path, text, 1 << 20))
                return std::string(text.begin(), text.end());
        }
    }
    return "";
}

// The running program's path, where the system tells it.
std::string ownProgram()
{
#ifdef __linux__
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return "";
        if (static_cast<size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
#else
    return "";
#endif
}

// posix_spawn takes char* const argv[]; the strings outlive the call.
std::vector<char*> argvOf(std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    return argv;
}

// Owns the two posix_spawn helper records for one spawn.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;

    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
        // The child starts with nothing blocked, whatever the editor blocks.
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// Runs a program to its end and collects what it prints. Returns false when
// it could not be started or waited for; exitStatus is -1 when a signal ended it.
bool runAndCapture(const std::string& program, std::vector<std::string> args, int& exitStatus,
                   std::string& output)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    // Only the dup2 below may carry the pipe into the child.
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);

    pid_t pid;
    int spawnError;
    {
        SpawnSetup setup;
        posix_spawn_file_actions_adddup2(&setup.actions, fds[1], STDOUT_FILENO);
        args.insert(args.begin(), program);
        std::vector<char*> argv = argvOf(args);
        spawnError = posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes,
                                 argv.data(), environ);
    }
    close(fds[1]);
    if (spawnError != 0) {
        close(fds[0]);
        return false;
    }

    char buffer[4096];
    for (;;) {
        ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got > 0)
            output.append(buffer, static_cast<size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(fds[0]);

    int status;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

// Exit status 0 with a path: chosen; 1, or 0 with nothing printed: cancelled.
// Anything else means the program did not work (no display, an option it
// does not know), so the caller may try another.
DialogResult interpretDialog(int exitStatus, std::string output, std::string& chosenPath)
{
    if (exitStatus == 1)
        return DialogResult::Cancelled;
    if (exitStatus != 0)
        return DialogResult::Unavailable;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    if (output.empty())
        return DialogResult::Cancelled;
    chosenPath = output;
    return DialogResult::Chosen;
}

class PosixPlatform : public Platform {
public:
    PosixPlatform(unsigned long windowId, std::string searchPath)
        : windowId_(windowId), searchPath_(std::move(searchPath))
    {
    }

    ~PosixPlatform() override { reapChildren(); }

    DialogResult fileDialog(const DialogRequest& request, std::string& chosenPath) override
    {
        std::string start = startPath(request);
        std::string zenity = findProgram("zenity", searchPath_);
        std::string kdialog = findProgram("kdialog", searchPath_);
        // The files used last come first, in a short list of their own.
        if (!request.save && !request.recentFiles.empty() && (!zenity.empty() || !kdialog.empty())) {
            DialogResult result = chooseRecent(zenity, kdialog, request, chosenPath);
            if (result != DialogResult::Unavailable)
                return result;
        }
        if (!zenity.empty()) {
            DialogResult result = runDialog(zenity, zenityArguments(request, start), chosenPath);
            if (result != DialogResult::Unavailable)
                return result;
        }
        if (!kdialog.empty())
            return runDialog(kdialog, kdialogArguments(request, start), chosenPath);
        return DialogResult::Unavailable;
    }

    // Chosen with one of the recent files; Unavailable to go on to the
    // file dialog ("Inny plik..."); Cancelled when the list was closed.
    DialogResult chooseRecent(const std::string& zenity, const std::string& kdialog, const DialogRequest& request,
                              std::string& chosenPath)
    {
        const std::string other = "Inny plik...";
        std::vector<std::string> args;
        std::string program = zenity.empty() ? kdialog : zenity;
        if (!zenity.empty()) {
            args = {"--list", "--title=" + request.title, "--text=Ostatnio otwarte", "--column=Plik",
                    "--width=600", "--height=360"};
            if (windowId_ != 0) {
                args.push_back("--attach=" + std::to_string(windowId_));
                args.push_back("--modal");
            }
            args.insert(args.end(), request.recentFiles.begin(), request.recentFiles.end());
            args.push_back(other);
        } else {
            args = {"--title", request.title, "--menu", "Ostatnio otwarte"};
            for (const std::string& path : request.recentFiles) {
                args.push_back(path);
                args.push_back(path);
            }
            args.push_back(other);
            args.push_back(other);
        }
        int exitStatus;
        std::string output;
        if (!runAndCapture(program, args, exitStatus, output))
            return DialogResult::Unavailable;
        std::string picked;
        DialogResult result = interpretDialog(exitStatus, output, picked);
        if (result == DialogResult::Chosen && picked != other) {
            chosenPath = picked;
            return result;
        }
        return result == DialogResult::Cancelled && exitStatus == 1 ? DialogResult::Cancelled
                                                                    : DialogResult::Unavailable;
    }

    int ask(const Question& question) override
    {
        if (question.answers.size() < 2)
            return questionUnavailable;
        std::string zenity = findProgram("zenity", searchPath_);
        if (!zenity.empty()) {
            int exitStatus;
            std::string output;
            if (runAndCapture(zenity, zenityQuestion(question), exitStatus, output)) {
                int answer = interpretZenityAnswer(question, exitStatus, output);
                if (answer != questionUnavailable)
                    return answer;
            }
        }
        std::string kdialog = findProgram("kdialog", searchPath_);
        if (!kdialog.empty()) {
            int exitStatus;
            std::string output;
            if (runAndCapture(kdialog, kdialogQuestion(question), exitStatus, output) && exitStatus >= 0 &&
                exitStatus <= 2) {
                // Yes, no, cancel; with two answers "no" is the cancel.
                int last = static_cast<int>(question.answers.size()) - 1;
                return std::min(exitStatus, last);
            }
        }
        return questionUnavailable;
    }

    Error openWithDefaultProgram(const std::string& file, const std::string& dir) override
    {
        std::string opener = findProgram(openerProgram, searchPath_);
        if (opener.empty())
            return Error::of(Fault::programNotFound, openerProgram);
        return launch({opener, absolutePath(file, dir.empty() ? currentDirectory() : dir)}, dir);
    }

    Error openTestImage(const std::string& file, const std::string& dir, const std::string& emulatorCommand) override
    {
        EmulatorLookup lookup;
        lookup.findProgram = [this](const std::string& name) { return findProgram(name, searchPath_); };
        lookup.desktopDefault = [this] { return desktopDefault(); };
        lookup.desktopEntryText = desktopEntryText;
        lookup.ownProgram = ownProgram();
        lookup.opener = openerProgram;
        const char* environment = std::getenv("ZELBUN_EMULATOR");
        TestCommand command = chooseTestCommand(emulatorCommand, environment ? environment : "",
                                                absolutePath(file, dir.empty() ? currentDirectory() : dir), lookup);
        if (command.argv.empty())
            return command.error;
        return launch(command.argv, dir);
    }

    std::string currentDirectory() override
    {
        std::vector<char> buffer(256);
        for (;;) {
            if (getcwd(buffer.data(), buffer.size()) != nullptr)
                return buffer.data();
            if (errno != ERANGE)
                return "";
            buffer.resize(buffer.size() * 2);
        }
    }

    std::vector<Error> reapChildren() override
    {
        std::vector<Error> failures;
        std::vector<Child> running;
        for (const Child& child : children_) {
            int status;
            const pid_t result = waitpid(child.pid, &status, WNOHANG);
            if (result == 0 || (result < 0 && errno == EINTR)) {
                running.push_back(child);
                continue;
            }
            if (result < 0)
                continue;  // not ours to wait for any more
            Error failure;
            if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
                failure = Error::of(Fault::programFailed, child.program);
                failure.code = WEXITSTATUS(status);
            } else if (WIFSIGNALED(status)) {
                failure = Error::of(Fault::programKilled, child.program);
                failure.code = WTERMSIG(status);
            }
            if (failure)
                failures.push_back(failure);
        }
        children_.swap(running);
        return failures;
    }

    bool childrenRunning() const override { return !children_.empty(); }

private:
    // Starts args[0] (a full path) detached in `dir`, to be collected later.
    Error launch(std::vector<std::string> args, const std::string& dir)
    {
        std::vector<char*> argv = argvOf(args);
        pid_t pid;
        int spawnError;
        {
            SpawnSetup setup;
            // Its own process group: a Ctrl+C meant for the editor leaves the
            // emulator running, and the emulator's output stays out of ours.
            posix_spawnattr_setpgroup(&setup.attributes, 0);
            posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29))
            if (!dir.empty())
                posix_spawn_file_actions_addchdir_np(&setup.actions, dir.c_str());
#endif
            std::vector<char*> environment = userEnvironment();
            spawnError = posix_spawn(&pid, args[0].c_str(), &setup.actions, &setup.attributes,
                                     argv.data(), environment.data());
        }
        if (spawnError != 0)
            return Error::system(args[0], spawnError, Step::start);
        children_.push_back({pid, fileNameOf(args[0])});
        return Error();
    }

    // The desktop entry xdg-mime names for ATR images; "" when none is set
    // or xdg-mime cannot be run.
    std::string desktopDefault()
    {
        std::string xdgMime = findProgram("xdg-mime", searchPath_);
        int exitStatus = -1;
        std::string output;
        if (xdgMime.empty() || !runAndCapture(xdgMime, {"query", "default", kAtrMimeType}, exitStatus, output) ||
            exitStatus != 0)
            return "";
        while (!output.empty() && std::isspace(static_cast<unsigned char>(output.back())))
            output.pop_back();
        return output;
    }

    // The document's own file when there is one (the dialog then starts in
    // its directory with its name filled in), else the start directory.
    std::string startPath(const DialogRequest& request)
    {
        std::string cwd = currentDirectory();
        if (!request.currentPath.empty())
            return absolutePath(request.currentPath, cwd);
        if (request.startDir.empty())
            return withTrailingSlash(cwd.empty() ? "." : cwd);
        return withTrailingSlash(absolutePath(request.startDir, cwd));
    }

    std::vector<std::string> zenityArguments(const DialogRequest& request, const std::string& start) const
    {
        std::vector<std::string> args = {"--file-selection", "--title=" + request.title,
                                         "--filename=" + start};
        if (request.save) {
            args.push_back("--save");
            args.push_back("--confirm-overwrite");
        }
        if (windowId_ != 0) {
            args.push_back("--attach=" + std::to_string(windowId_));
            args.push_back("--modal");
        }
        args.push_back(std::string("--file-filter=") + zenityAtrFilter);
        args.push_back(std::string("--file-filter=") + zenityAllFilter);
        return args;
    }

    // kdialog's save dialog asks before overwriting by itself, and its open
    // dialog offers existing files only.
    std::vector<std::string> kdialogArguments(const DialogRequest& request, const std::string& start) const
    {
        std::vector<std::string> args = {"--title", request.title};
        if (windowId_ != 0) {
            args.push_back("--attach");
            args.push_back(std::to_string(windowId_));
        }
        args.push_back(request.save ? "--getsavefilename" : "--getopenfilename");
        args.push_back(start);
        args.push_back(kdialogFilter);
        return args;
    }

    // OK is the first answer, Cancel the last, an extra button the middle one.
    std::vector<std::string> zenityQuestion(const Question& question) const
    {
        std::vector<std::string> args = {"--question", "--title=" + question.title, "--text=" + question.text,
                                         "--ok-label=" + question.answers.front(),
                                         "--cancel-label=" + question.answers.back()};
        if (question.answers.size() > 2)
            args.push_back("--extra-button=" + question.answers[1]);
        if (windowId_ != 0) {
            args.push_back("--attach=" + std::to_string(windowId_));
            args.push_back("--modal");
        }
        return args;
    }

    // 0 for OK; 1 is Cancel or the extra button, which prints its label.
    static int interpretZenityAnswer(const Question& question, int exitStatus, std::string output)
    {
        while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
            output.pop_back();
        if (exitStatus == 0)
            return 0;
        if (exitStatus != 1)
            return questionUnavailable;
        if (question.answers.size() > 2 && output == question.answers[1])
            return 1;
        return static_cast<int>(question.answers.size()) - 1;
    }

    std::vector<std::string> kdialogQuestion(const Question& question) const
    {
        std::vector<std::string> args = {"--title", question.title};
        if (windowId_ != 0) {
            args.push_back("--attach");
            args.push_back(std::to_string(windowId_));
        }
        args.push_back(question.answers.size() > 2 ? "--warningyesnocancel" : "--yesno");
        args.push_back(question.text);
        args.push_back("--yes-label");
        args.push_back(question.answers[0]);
        args.push_back("--no-label");
        args.push_back(question.answers[1]);
        if (question.answers.size() > 2) {
            args.push_back("--cancel-label");
            args.push_back(question.answers[2]);
        }
        return args;
    }

    static DialogResult runDialog(const std::string& program, const std::vector<std::string>& args,
                                  std::string& chosenPath)
    {
        int exitStatus;
        std::string output;
        if (!runAndCapture(program, args, exitStatus, output))
            return DialogResult::Unavailable;
        return interpretDialog(exitStatus, output, chosenPath);
    }

    unsigned long windowId_;
    std::string searchPath_;
    struct Child {
        pid_t pid;
        std::string program;
    };
    std::vector<Child> children_;  // started openers not yet collected
};

std::string environmentSearchPath()
{
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
}

}  // namespace

std::unique_ptr<Platform> makeSystemPlatform(unsigned long windowId)
{
    return makeSystemPlatform(windowId, environmentSearchPath());
}

std::unique_ptr<Platform> makeSystemPlatform(unsigned long windowId, const std::string& searchPath)
{
    return std::make_unique<PosixPlatform>(windowId, searchPath);
}

#endif
