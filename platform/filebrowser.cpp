// State of the in-window file dialog; see filebrowser.h.
#include "platform/filebrowser.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

PathKind DiskFileSystem::kindOf(const std::string& path)
{
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        return PathKind::Missing;
    if (fs::is_directory(status))
        return PathKind::Directory;
    return fs::is_regular_file(status) ? PathKind::File : PathKind::Other;
}

bool DiskFileSystem::list(const std::string& dir, std::vector<RawEntry>& entries)
{
    std::error_code error;
    fs::directory_iterator it(dir, error);
    if (error)
        return false;
    entries.clear();
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            return false;
        std::error_code statError;
        bool isDirectory = it->is_directory(statError);  // follows links
        entries.push_back({it->path().filename().string(), isDirectory && !statError});
    }
    return true;
}

std::string normalizePath(const std::string& path, const std::string& base)
{
    std::string whole = !path.empty() && path[0] == '/' ? path : base + "/" + path;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= whole.size()) {
        size_t end = whole.find('/', start);
        if (end == std::string::npos)
            end = whole.size();
        std::string part = whole.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

std::string parentDirectory(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return path.substr(0, slash);
}

namespace {

std::string joinPath(const std::string& dir, const std::string& name)
{
    return dir == "/" ? "/" + name : dir + "/" + name;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// What follows the last "/": the file name part of a path line.
std::string namePart(const std::string& text)
{
    size_t slash = text.rfind('/');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

void appendUtf8(std::string& text, unsigned codePoint)
{
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | codePoint >> 6);
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | codePoint >> 12);
        text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | codePoint >> 18);
        text += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

bool isAtrName(const std::string& name)
{
    return name.size() >= 4 && lowerCase(name.substr(name.size() - 4)) == ".atr";
}

std::vector<BrowserEntry> arrangeEntries(const std::vector<RawEntry>& raw, bool atRoot, bool showAllFiles)
{
    std::vector<BrowserEntry> entries;
    for (const RawEntry& entry : raw) {
        if (entry.name.empty() || entry.name[0] == '.')
            continue;
        EntryKind kind = entry.isDirectory ? EntryKind::Directory
                         : isAtrName(entry.name) ? EntryKind::AtrFile
                                                 : EntryKind::OtherFile;
        if (kind != EntryKind::OtherFile || showAllFiles)
            entries.push_back({entry.name, kind});
    }
    // Case only breaks ties, so the order never depends on the disk's.
    std::sort(entries.begin(), entries.end(), [](const BrowserEntry& a, const BrowserEntry& b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        std::string lowerA = lowerCase(a.name), lowerB = lowerCase(b.name);
        return lowerA != lowerB ? lowerA < lowerB : a.name < b.name;
    });
    if (!atRoot)
        entries.insert(entries.begin(), {"..", EntryKind::Parent});
    return entries;
}

FileBrowser::FileBrowser(FileSystemView& fileSystem, const DialogRequest& request,
                         const std::string& workingDir, int visibleRows)
    : fileSystem_(fileSystem), save_(request.save), visibleRows_(std::max(1, visibleRows))
{
    std::string base = normalizePath(workingDir, "/");
    std::string start, text;
    if (!request.currentPath.empty()) {
        text = normalizePath(request.currentPath, base);
        start = parentDirectory(text);
    } else {
        start = normalizePath(request.startDir, base);
        text = joinPath(start, "");
    }
    if (enterDirectory(start))
        pathText_ = text;
    else if (!enterDirectory(base))
        enterDirectory("/");
    status_.clear();
}

bool FileBrowser::enterDirectory(const std::string& dir)
{
    std::vector<RawEntry> listing;
    if (!fileSystem_.list(dir, listing)) {
        status_ = "Nie mozna odczytac katalogu " + dir;
        if (directory_.empty())
            directory_ = dir;
        return false;
    }
    // A name typed for saving stays when moving to another directory.
    std::string keptName = save_ ? namePart(pathText_) : "";
    directory_ = dir;
    rawEntries_ = std::move(listing);
    entries_ = arrangeEntries(rawEntries_, dir == "/", showAllFiles_);
    pathText_ = joinPath(dir, keptName);
    selected_ = -1;
    topRow_ = 0;
    status_.clear();
    overwriteAsked_.clear();
    return true;
}

int FileBrowser::scrollPositions() const
{
    return std::max(1, static_cast<int>(entries_.size()) - visibleRows_ + 1);
}

void FileBrowser::setShowAllFiles(bool on)
{
    if (on == showAllFiles_)
        return;
    std::string selectedName = selected_ >= 0 ? entries_[selected_].name : "";
    showAllFiles_ = on;
    entries_ = arrangeEntries(rawEntries_, directory_ == "/", showAllFiles_);
    selected_ = -1;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].kind != EntryKind::Parent && entries_[i].name == selectedName)
            selected_ = static_cast<int>(i);
    scrollTo(topRow_);
    hasLastClick_ = false;
}

void FileBrowser::scrollBy(int rows)
{
    scrollTo(topRow_ + rows);
}

void FileBrowser::scrollTo(int top)
{
    topRow_ = std::clamp(top, 0, scrollPositions() - 1);
}

FileBrowser::Outcome FileBrowser::click(int index, unsigned nowMs)
{
    bool quick = hasLastClick_ && nowMs - lastClickMs_ <= doubleClickMs;
    // The second half of a double click on a directory lands in the new
    // listing, on whatever happens to be there: ignore it.
    if (quick && lastClickEntered_) {
        hasLastClick_ = false;
        return Outcome::None;
    }
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        hasLastClick_ = false;
        return Outcome::None;
    }
    bool doubleClick = quick && index == lastClickIndex_;
    hasLastClick_ = true;
    lastClickMs_ = nowMs;
    lastClickIndex_ = index;
    lastClickEntered_ = false;

    const BrowserEntry entry = entries_[index];
    if (entry.kind == EntryKind::Parent || entry.kind == EntryKind::Directory) {
        std::string target = entry.kind == EntryKind::Parent ? parentDirectory(directory_)
                                                             : joinPath(directory_, entry.name);
        if (!enterDirectory(target))
            return Outcome::Rejected;
        lastClickEntered_ = true;
        return Outcome::EnteredDirectory;
    }
    selected_ = index;
    pathText_ = joinPath(directory_, entry.name);
    status_.clear();
    if (doubleClick) {
        hasLastClick_ = false;
        return confirm();
    }
    return Outcome::SelectedFile;
}

void FileBrowser::pathEdited()
{
    selected_ = -1;
    status_.clear();
    overwriteAsked_.clear();
}

void FileBrowser::typeCharacter(unsigned codePoint)
{
    bool control = codePoint < 0x20 || codePoint == 0x7F;
    bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (control || surrogate || codePoint > 0x10FFFF || pathText_.size() + 4 > maxPathLength)
        return;
    appendUtf8(pathText_, codePoint);
    pathEdited();
}

void FileBrowser::eraseCharacter()
{
    // A whole UTF-8 sequence: its continuation bytes, then its lead byte.
    while (!pathText_.empty() && (static_cast<unsigned char>(pathText_.back()) & 0xC0) == 0x80)
        pathText_.pop_back();
    if (!pathText_.empty())
        pathText_.pop_back();
    pathEdited();
}

void FileBrowser::setPathText(const std::string& text)
{
    pathText_ = text.substr(0, maxPathLength);
    pathEdited();
}

FileBrowser::Outcome FileBrowser::confirm()
{
    std::string path = normalizePath(pathText_, directory_);
    PathKind kind = fileSystem_.kindOf(path);
    if (kind == PathKind::Directory)
        return enterDirectory(path) ? Outcome::EnteredDirectory : Outcome::Rejected;

    bool namesDirectory = pathText_.empty() || pathText_.back() == '/';
    if (namesDirectory || fileSystem_.kindOf(parentDirectory(path)) != PathKind::Directory) {
        status_ = "Nie ma takiego katalogu";
        return Outcome::Rejected;
    }
    if (kind == PathKind::Other) {
        status_ = "To nie jest zwykly plik";
        return Outcome::Rejected;
    }
    if (!save_ && kind == PathKind::Missing) {
        status_ = "Nie ma takiego pliku";
        return Outcome::Rejected;
    }
    if (save_ && kind == PathKind::File && overwriteAsked_ != path) {
        overwriteAsked_ = path;
        status_ = "Plik juz istnieje - OK zapisze go na nowo";
        return Outcome::AskOverwrite;
    }
    chosen_ = path;
    return Outcome::Chosen;
}
