#include "editor/recovery.h"

#include "core/fileio.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

std::string absoluteFilePath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    return (error ? fs::path(path) : absolute).lexically_normal().string();
}

std::string autosavePath(const std::string& stateDir, const std::string& documentPath)
{
    if (documentPath.empty())
        return stateDir + "/bez nazwy.atr";
    const std::string whole = absoluteFilePath(documentPath);
    // FNV-1a: the same name for the same path in every run.
    uint32_t hash = 2166136261u;
    for (unsigned char c : whole) {
        hash ^= c;
        hash *= 16777619u;
    }
    std::string name = fs::path(whole).filename().string();
    if (name.size() > 4 && (name.compare(name.size() - 4, 4, ".atr") == 0 || name.compare(name.size() - 4, 4, ".ATR") == 0))
        name.resize(name.size() - 4);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%08x.atr", hash);
    return stateDir + "/" + name + suffix;
}

bool autosaveIsNewer(const std::string& autosave, const std::string& document)
{
    std::error_code error;
    const auto saved = fs::last_write_time(autosave, error);
    if (error)
        return false;
    if (document.empty())
        return true;
    const auto written = fs::last_write_time(document, error);
    return error || saved > written;
}

Error writeStateFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    WriteOptions scratch;
    scratch.keepFile = false;
    return writeFileAtomically(path, bytes, scratch);
}

RecentFiles::RecentFiles(std::string file) : file_(std::move(file))
{
    load();
}

void RecentFiles::load()
{
    paths_.clear();
    std::vector<uint8_t> bytes;
    if (file_.empty() || readFile(file_, bytes, 64 * 1024))
        return;
    std::string line;
    for (uint8_t byte : bytes) {
        if (byte != '\n') {
            line += char(byte);
            continue;
        }
        if (!line.empty() && paths_.size() < limit && std::find(paths_.begin(), paths_.end(), line) == paths_.end())
            paths_.push_back(line);
        line.clear();
    }
}

void RecentFiles::add(const std::string& path)
{
    const std::string whole = absoluteFilePath(path);
    if (file_.empty() || whole.empty() || whole.find('\n') != std::string::npos)
        return;
    load();
    paths_.erase(std::remove(paths_.begin(), paths_.end(), whole), paths_.end());
    paths_.insert(paths_.begin(), whole);
    if (paths_.size() > limit)
        paths_.resize(limit);
    std::string text;
    for (const std::string& entry : paths_)
        text += entry + "\n";
    // Losing the list is no reason to bother the user.
    writeStateFile(file_, std::vector<uint8_t>(text.begin(), text.end()));
}
