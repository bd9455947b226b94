#include "tests/portable.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace portable {

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], length);
    return text;
}

// A word quoted by the rules programs split their command line with.
std::wstring quoted(const std::string& word)
{
    std::wstring text = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : wide(word)) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

} // namespace

void setEnv(const char* name, const std::string& value)
{
    _wputenv_s(wide(name).c_str(), wide(value).c_str());
}

void unsetEnv(const char* name)
{
    _wputenv_s(wide(name).c_str(), L""); // an empty value removes the variable
}

int runProgram(const std::vector<std::string>& argv, const std::string& errors)
{
    std::wstring line;
    for (const std::string& word : argv)
        line += (line.empty() ? L"" : L" ") + quoted(word);
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    const HANDLE errorFile = CreateFileW(wide(errors).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (errorFile == INVALID_HANDLE_VALUE)
        return -1;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = errorFile;
    PROCESS_INFORMATION started = {};
    const bool ran = CreateProcessW(wide(argv[0]).c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                    &startup, &started);
    CloseHandle(errorFile);
    if (!ran)
        return -1;
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD status = DWORD(-1);
    GetExitCodeProcess(started.hProcess, &status);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return int(status);
}

#else

void setEnv(const char* name, const std::string& value)
{
    setenv(name, value.c_str(), 1);
}

void unsetEnv(const char* name)
{
    unsetenv(name);
}

int runProgram(const std::vector<std::string>& argv, const std::string& errors)
{
    std::vector<char*> args;
    for (const std::string& word : argv)
        args.push_back(const_cast<char*>(word.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const bool ran = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (!ran || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

} // namespace portable
