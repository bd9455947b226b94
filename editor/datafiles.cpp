#include "editor/datafiles.h"

#include <filesystem>

#ifndef ZELBUN_DATA_DIR
#define ZELBUN_DATA_DIR "data"
#endif

std::vector<std::string> defaultDataDirs()
{
    return {"", ZELBUN_DATA_DIR};
}

std::string findDataFile(const std::string& name, const std::vector<std::string>& dirs)
{
    for (const std::string& dir : dirs) {
        std::string path = dir.empty() ? name : dir + "/" + name;
        // A file that is there but cannot be read is still the one meant:
        // reading it then says why, instead of "not found".
        std::error_code error;
        if (std::filesystem::exists(path, error))
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
            std::filesystem::path cwd = std::filesystem::current_path(error);
            text += error ? std::string(".") : cwd.string();
        } else {
            text += dir;
        }
    }
    return text;
}
