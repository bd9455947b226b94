// What the tests need from the system that POSIX and Windows spell
// differently: a fresh temporary directory, the environment, and running a
// program to its end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace portable {

// A new, empty directory under the system's temporary folder, whose name
// starts with `prefix`; made by this call, so no other test shares it.
inline std::string makeTempDir(const std::string& prefix)
{
    namespace fs = std::filesystem;
    static std::mt19937_64 random{std::random_device{}()};
    const fs::path base = fs::temp_directory_path();
    for (;;) {
        const fs::path candidate = base / (prefix + "-" + std::to_string(random() % 1000000000));
        if (fs::create_directory(candidate))
            return candidate.u8string();
    }
}

// Values in UTF-8; on Windows they reach the wide environment whole.
void setEnv(const char* name, const std::string& value);
void unsetEnv(const char* name);

// A program of this build by its name: "zelbun-gendata", ".exe" added on
// Windows.
inline std::string programPath(const std::string& dir, const std::string& name)
{
#ifdef _WIN32
    return dir + "/" + name + ".exe";
#else
    return dir + "/" + name;
#endif
}

// Runs argv[0] with the other words as its arguments, without a shell, its
// error output into the file `errors`; returns its exit status, -1 when it
// could not be started or did not end normally.
int runProgram(const std::vector<std::string>& argv, const std::string& errors);

} // namespace portable
