#include "core/datafiles.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

// The source tree's data, for a program run from its build directory.
#ifndef ZELBUN_DATA_DIR
#define ZELBUN_DATA_DIR "data"
#endif
#ifndef ZELBUN_BUILD_DIR
#define ZELBUN_BUILD_DIR ""
#endif
// The installed data, relative to the installed program's directory.
#ifndef ZELBUN_INSTALLED_DATA
#define ZELBUN_INSTALLED_DATA "../share/zelbun-kreator"
#endif

// Names are UTF-8 strings; a path made from one, or turned into one,
// says so (u8path, u8string): the plain conversions use the ANSI code page
// on Windows.
namespace fs = std::filesystem;

namespace {

// The directory of the running program; empty where the system does not say.
fs::path programDirectory()
{
#ifdef __linux__
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        return program.parent_path();
#elif defined(_WIN32)
    // The wide form: the folder's name may lie outside the ANSI code page.
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), DWORD(program.size()));
        if (length == 0)
            return fs::path();
        if (length < program.size()) {
            program.resize(length);
            return fs::path(program).parent_path();
        }
        program.resize(program.size() * 2);
    }
#endif
    return fs::path();
}

} // namespace

std::vector<std::string> defaultDataDirs()
{
    std::vector<std::string> dirs = {""};
    const fs::path programDir = programDirectory();
    if (programDir.empty())
        return {"", ZELBUN_DATA_DIR};
#ifdef _WIN32
    // Installed, the data lie beside the program: one folder holds it all.
    dirs.push_back(programDir.u8string());
#endif
    dirs.push_back((programDir / ZELBUN_INSTALLED_DATA).lexically_normal().u8string());
    // Only the build tree's own program falls back on the sources: an
    // installed copy that lacks its data must say so, not lean on a build
    // directory that happens to be on this machine.
    std::error_code error;
    if (fs::equivalent(programDir, fs::u8path(ZELBUN_BUILD_DIR), error))
        dirs.push_back(ZELBUN_DATA_DIR);
    return dirs;
}

std::string findDataFile(const std::string& name, const std::vector<std::string>& dirs)
{
    for (const std::string& dir : dirs) {
        std::string path = dir.empty() ? name : dir + "/" + name;
        // Whatever stands under the name is the one meant, even when it
        // cannot be read (a link that leads nowhere or round in a loop, a
        // directory, no permission): reading it then says why, instead of
        // quietly taking the next directory's.
        std::error_code error;
        if (fs::exists(fs::symlink_status(fs::u8path(path), error)))
            return path;
    }
    return std::string();
}

std::string describeDataDirs(const std::vector<std::string>& dirs)
{
    std::string text;
    for (const std::string& dir : dirs) {
        if (!text.empty())
            text += ", ";
        if (dir.empty()) {
            std::error_code error;
            fs::path cwd = fs::current_path(error);
            text += error ? std::string(".") : cwd.u8string();
        } else {
            text += dir;
        }
    }
    return text;
}
