#include "editor/recovery.h"

#include "core/fileio.h"
#ifdef _WIN32
#include "core/winpath.h"
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>

// Names are UTF-8 strings; on Windows the plain conversions of a path
// would take them in the ANSI code page, hence u8path and u8string.
namespace fs = std::filesystem;

namespace {

// Equal for two names of one file: on Windows, whatever their case.
std::string comparedName(const std::string& wholePath)
{
#ifdef _WIN32
    return foldedName(wholePath);
#else
    return wholePath;
#endif
}

} // namespace

std::string absoluteFilePath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code error;
    const fs::path given = fs::u8path(path);
    fs::path absolute = fs::absolute(given, error);
    return (error ? given : absolute).lexically_normal().u8string();
}

namespace {

const char kUnnamedStem[] = "bez nazwy";

// The autosave names of a document without their slot and extension.
std::string autosaveStem(const std::string& documentPath)
{
    if (documentPath.empty())
        return kUnnamedStem;
    const std::string whole = absoluteFilePath(documentPath);
    // FNV-1a: the same name for the same file in every run.
    uint32_t hash = 2166136261u;
    for (unsigned char c : comparedName(whole)) {
        hash ^= c;
        hash *= 16777619u;
    }
    std::string name = fs::u8path(whole).filename().u8string();
    if (name.size() > 4 && (name.compare(name.size() - 4, 4, ".atr") == 0 || name.compare(name.size() - 4, 4, ".ATR") == 0))
        name.resize(name.size() - 4);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%08x", hash);
    return name + suffix;
}

// Whether `name` is one of the names made of `stem` and `extension`:
// "STEM.atr", or "STEM-N.atr" with N a number from 2.
bool autosaveNameOf(const std::string& name, const std::string& stem, const std::string& extension)
{
    const std::string compared = comparedName(name);
    const std::string start = comparedName(stem), end = comparedName(extension);
    if (compared.size() < start.size() + end.size() || compared.compare(0, start.size(), start) != 0 ||
        compared.compare(compared.size() - end.size(), end.size(), end) != 0)
        return false;
    const std::string slot = compared.substr(start.size(), compared.size() - start.size() - end.size());
    if (slot.empty())
        return true;
    return slot.size() >= 2 && slot.size() <= 6 && slot[0] == '-' && slot[1] != '0' &&
           slot.find_first_not_of("0123456789", 1) == std::string::npos;
}

} // namespace

std::string autosavePath(const std::string& stateDir, const std::string& documentPath, int slot)
{
    const std::string name = autosaveStem(documentPath) + (slot > 1 ? "-" + std::to_string(slot) : "") + ".atr";
    return (fs::u8path(stateDir) / fs::u8path(name)).u8string();
}

std::string claimPathOf(const std::string& autosave)
{
    return autosave.substr(0, autosave.size() - 4) + ".lock";
}

std::vector<std::string> autosaveFilesOf(const std::string& stateDir, const std::string& documentPath,
                                         const std::string& extension)
{
    const std::string stem = autosaveStem(documentPath);
    std::vector<std::string> found;
    std::error_code error;
    for (fs::directory_iterator entry(fs::u8path(stateDir), error), end; !error && entry != end;
         entry.increment(error))
        if (autosaveNameOf(entry->path().filename().u8string(), stem, extension))
            found.push_back(entry->path().u8string());
    std::sort(found.begin(), found.end());
    return found;
}

bool autosaveIsNewer(const std::string& autosave, const std::string& document)
{
    std::error_code error;
    const auto saved = fs::last_write_time(fs::u8path(autosave), error);
    if (error)
        return false;
    if (document.empty())
        return true;
    const auto written = fs::last_write_time(fs::u8path(document), error);
    return error || saved > written;
}

Error makeStateDirectory(const std::string& dir)
{
    std::error_code error;
    fs::create_directories(fs::u8path(dir), error);
    if (!error)
        return Error();
#ifdef _WIN32
    if (error.category() == std::system_category())
        return Error::windows(dir, static_cast<unsigned long>(error.value()));
#endif
    return Error::system(dir, error.value());
}

Error writeStateFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (Error error = makeStateDirectory(fs::u8path(path).parent_path().u8string()))
        return error;
    WriteOptions scratch;
    scratch.keepFile = false;
    return writeFileAtomically(path, bytes, scratch);
}

void removeStateFile(const std::string& path)
{
    std::error_code ignored;
    fs::remove(fs::u8path(path), ignored);
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
        if (!line.empty() && paths_.size() < limit && !listed(line))
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
    const std::string compared = comparedName(whole);
    paths_.erase(std::remove_if(paths_.begin(), paths_.end(),
                                [&](const std::string& entry) { return comparedName(entry) == compared; }),
                 paths_.end());
    paths_.insert(paths_.begin(), whole);
    if (paths_.size() > limit)
        paths_.resize(limit);
    std::string text;
    for (const std::string& entry : paths_)
        text += entry + "\n";
    // Losing the list is no reason to bother the user.
    static_cast<void>(writeStateFile(file_, std::vector<uint8_t>(text.begin(), text.end())));
}

bool RecentFiles::listed(const std::string& path) const
{
    const std::string compared = comparedName(path);
    return std::any_of(paths_.begin(), paths_.end(),
                       [&](const std::string& entry) { return comparedName(entry) == compared; });
}
