// What the tests need from the system that POSIX and Windows spell
// differently: a fresh temporary directory and the environment.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

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
            return candidate.string();
    }
}

inline void setEnv(const char* name, const std::string& value)
{
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

inline void unsetEnv(const char* name)
{
#ifdef _WIN32
    _putenv_s(name, ""); // an empty value removes the variable
#else
    unsetenv(name);
#endif
}

} // namespace portable
