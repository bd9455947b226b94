#include "platform/startup.h"

#ifdef _WIN32
#include "core/winpath.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

ProgramArguments::ProgramArguments(int argc, char** argv)
{
#ifdef _WIN32
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            words_.push_back(toUtf8(wide[i]));
        LocalFree(wide);
    }
    if (words_.empty())
#endif
        words_.assign(argv, argv + argc);
    for (const std::string& word : words_)
        pointers_.push_back(word.c_str());
}

#ifdef _WIN32

namespace {

UINT consoleCodePage = 0;

void restoreConsole()
{
    SetConsoleOutputCP(consoleCodePage);
}

} // namespace

void prepareStandardStreams()
{
    for (FILE* stream : {stdin, stdout, stderr})
        _setmode(_fileno(stream), _O_BINARY);
    consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage != 0 && consoleCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        std::atexit(restoreConsole);
}

Error standardInputProblem()
{
    return Error();
}

#else

namespace {

bool inputClosedAtStart = false;

} // namespace

void prepareStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        inputClosedAtStart = inputClosedAtStart || fd == 0;
        if (open("/dev/null", O_RDONLY) != fd)
            return;
    }
}

Error standardInputProblem()
{
    const char* const name = "standard input";
    if (inputClosedAtStart)
        return Error::of(Fault::streamClosed, name);
    struct stat info;
    if (fstat(0, &info) == 0 && S_ISDIR(info.st_mode))
        return Error::of(Fault::isDirectory, name);
    return Error();
}

#endif
