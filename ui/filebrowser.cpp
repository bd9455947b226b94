// State of the in-window file dialog; see filebrowser.h.
#include "ui/filebrowser.h"

#include "core/environment.h"
#include "core/pathname.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

PathKind DiskFileSystem::kindOf(const std::string& path)
{
    std::error_code error;
    fs::file_status status = fs::status(fs::u8path(path), error);
    if (error || !fs::exists(status))
        return PathKind::Missing;
    if (fs::is_directory(status))
        return PathKind::Directory;
    return fs::is_regular_file(status) ? PathKind::File : PathKind::Other;
}

bool DiskFileSystem::list(const std::string& dir, std::vector<RawEntry>& entries)
{
    std::error_code error;
    fs::directory_iterator it(fs::u8path(dir), error);
    if (error)
        return false;
    entries.clear();
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            return false;
        std::error_code statError;
        bool isDirectory = it->is_directory(statError);  // follows links
        entries.push_back({it->path().filename().u8string(), isDirectory && !statError});
    }
    return true;
}

namespace {

#ifdef _WIN32
const char* const separators = "/\\";
#else
const char* const separators = "/";
#endif

// Windows takes "\" and "/" alike; the browser writes "/".
std::string forwardSlashes(std::string path)
{
#ifdef _WIN32
    for (char& c : path)
        if (c == '\\')
            c = '/';
#endif
    return path;
}

// The root an absolute path (with forward slashes) starts with, and in
// `length` how much of the path it takes: "/"; on Windows also a drive,
// "C:/" (from "C:/", "c:" or "C:"), and a share, "//server/share/". Empty
// for a relative path.
std::string rootOf(const std::string& path, size_t& length)
{
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        length = 2;
        return std::string(1, char(std::toupper(static_cast<unsigned char>(path[0])))) + ":/";
    }
    if (path.compare(0, 2, "//") == 0) {
        const size_t server = path.find('/', 2);
        length = server == std::string::npos ? path.size() : path.find('/', server + 1);
        if (length == std::string::npos)
            length = path.size();
        return path.substr(0, length) + "/";
    }
#endif
    length = !path.empty() && path[0] == '/' ? 1 : 0;
    return length ? "/" : "";
}

std::string rootOf(const std::string& path)
{
    size_t length;
    return rootOf(path, length);
}

bool isRoot(const std::string& dir)
{
    return !dir.empty() && rootOf(dir) == dir;
}

} // namespace

std::string normalizePath(const std::string& path, const std::string& base)
{
    const std::string typed = forwardSlashes(path), from = forwardSlashes(base);
    size_t length;
    std::string root = rootOf(typed, length);
    std::string whole = typed.substr(length);
    if (root.empty()) {
        root = rootOf(from, length);
        whole = from.substr(length) + "/" + typed;
        if (root.empty())
            root = "/";
    } else if (root == "/" && !rootOf(from).empty()) {
        // On Windows, the root of the base's drive.
        root = rootOf(from);
    }
    std::vector<std::string> parts;
    for (const std::string& part : splitAt(whole, '/')) {
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
    }
    std::string result = root;
    for (const std::string& part : parts)
        result += (result.back() == '/' ? "" : "/") + part;
    return result;
}

std::string expandHome(const std::string& path)
{
    if (path != "~" && path.rfind("~/", 0) != 0)
        return path;
    std::optional<std::string> home = environmentVariable("HOME");
#ifdef _WIN32
    if (!home)
        home = environmentVariable("USERPROFILE");
#endif
    if (!home || rootOf(forwardSlashes(*home)).empty())
        return path;
    return forwardSlashes(*home) + path.substr(1);
}

std::string displayName(const std::string& name)
{
    std::string shown;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
            continue;
        }
        shown += '?';
        if (c >= 0xC0)  // a lead byte: its continuation bytes go with it
            while (i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80)
                ++i;
    }
    return shown;
}

std::string parentDirectory(const std::string& path)
{
    const std::string root = rootOf(path);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash < root.size())
        return root.empty() ? "/" : root;
    return path.substr(0, slash);
}

namespace {

std::string joinPath(const std::string& dir, const std::string& name)
{
    return !dir.empty() && dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// What follows the last "/" (or "\\" on Windows): the file name part of a
// path line.
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
    : fileSystem_(fileSystem), save_(request.save), extension_(request.extension),
      recentFiles_(request.save ? std::vector<std::string>() : request.recentFiles),
      visibleRows_(std::max(1, visibleRows))
{
    std::string base = normalizePath(workingDir, "/");
    std::string start, text;
    if (!request.currentPath.empty()) {
        std::string current = normalizePath(request.currentPath, base);
        start = parentDirectory(current);
        text = fileNameOf(current);
    } else {
        start = normalizePath(request.startDir, base);
    }
    if (enterDirectory(start)) {
        pathText_ = text;
        nameSelected_ = true;
    } else if (!enterDirectory(base))
        enterDirectory("/");
    status_.clear();
}

bool FileBrowser::enterDirectory(const std::string& dir)
{
    std::vector<RawEntry> found;
    if (!fileSystem_.list(dir, found)) {
        status_ = "Nie mozna odczytac katalogu " + dir;
        if (directory_.empty())
            directory_ = dir;
        return false;
    }
    // A name typed for saving stays when moving to another directory.
    std::string keptName = save_ ? fileNameOf(pathText_) : "";
    directory_ = dir;
    rawEntries_ = std::move(found);
    entries_ = listing();
    pathText_ = keptName;
    selected_ = -1;
    topRow_ = 0;
    status_.clear();
    overwriteAsked_.clear();
    return true;
}

std::vector<BrowserEntry> FileBrowser::listing() const
{
    std::vector<BrowserEntry> entries;
    for (const std::string& path : recentFiles_)
        entries.push_back({path, EntryKind::Recent});
    const std::vector<BrowserEntry> here = arrangeEntries(rawEntries_, isRoot(directory_), showAllFiles_);
    entries.insert(entries.end(), here.begin(), here.end());
    return entries;
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
    entries_ = listing();
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
    pathText_ = entry.name;
    nameSelected_ = true;
    status_.clear();
    if (doubleClick) {
        hasLastClick_ = false;
        return confirm();
    }
    return Outcome::SelectedFile;
}

void FileBrowser::pathEdited()
{
    nameSelected_ = false;
    selected_ = -1;
    status_.clear();
    overwriteAsked_.clear();
}

void FileBrowser::typeCharacter(unsigned codePoint)
{
    bool control = codePoint < 0x20 || codePoint == 0x7F;
    bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (control || surrogate || codePoint > 0x10FFFF)
        return;
    if (nameSelected_)
        pathText_.clear();
    if (pathText_.size() + 4 > maxPathLength)
        return;
    appendUtf8(pathText_, codePoint);
    pathEdited();
}

void FileBrowser::eraseCharacter()
{
    if (nameSelected_) {
        pathText_.clear();
        pathEdited();
        return;
    }
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

void FileBrowser::moveSelection(int rows)
{
    if (entries_.empty())
        return;
    int last = static_cast<int>(entries_.size()) - 1;
    int from = selected_ < 0 ? (rows > 0 ? -1 : last + 1) : selected_;
    selected_ = std::clamp(from + rows, 0, last);
    if (selected_ < topRow_)
        scrollTo(selected_);
    else if (selected_ >= topRow_ + visibleRows_)
        scrollTo(selected_ - visibleRows_ + 1);
    const BrowserEntry& entry = entries_[selected_];
    if (entry.kind == EntryKind::AtrFile || entry.kind == EntryKind::OtherFile || entry.kind == EntryKind::Recent) {
        pathText_ = entry.name;
        nameSelected_ = true;
    }
    status_.clear();
    overwriteAsked_.clear();
    hasLastClick_ = false;
}

FileBrowser::Outcome FileBrowser::confirm()
{
    // A directory chosen with the arrow keys opens.
    if (selected_ >= 0 && selected_ < static_cast<int>(entries_.size())) {
        const BrowserEntry& entry = entries_[selected_];
        if (entry.kind == EntryKind::Parent)
            return enterDirectory(parentDirectory(directory_)) ? Outcome::EnteredDirectory : Outcome::Rejected;
        if (entry.kind == EntryKind::Directory)
            return enterDirectory(joinPath(directory_, entry.name)) ? Outcome::EnteredDirectory : Outcome::Rejected;
    }
    std::string typed = expandHome(pathText_);
    std::string path = normalizePath(typed, directory_);
    PathKind kind = fileSystem_.kindOf(path);
    if (kind == PathKind::Directory)
        return enterDirectory(path) ? Outcome::EnteredDirectory : Outcome::Rejected;

    bool namesDirectory = !typed.empty() && std::string(separators).find(typed.back()) != std::string::npos;
    if (save_ && !namesDirectory && !extension_.empty() && fileNameOf(path).find('.') == std::string::npos) {
        path += extension_;
        kind = fileSystem_.kindOf(path);
    }
    if (namesDirectory || fileSystem_.kindOf(parentDirectory(path)) != PathKind::Directory) {
        status_ = "Nie ma takiego katalogu";
        return Outcome::Rejected;
    }
    if (kind == PathKind::Other || kind == PathKind::Directory) {
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
