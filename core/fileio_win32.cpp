// Windows side of fileio.h. Every name goes to the wide calls in its
// extended form (winpath.h), so any name in any script and of any length
// works. A save writes the new content beside the file, flushes it, and
// renames it over the file in one step (MoveFileExW), so the name shows
// the old file or the new one at every moment; the file's attributes and
// creation time go with the new content. Nothing is ever rewritten in
// place, so no save leaves a copy to find.
#ifdef _WIN32

#include "core/fileio.h"

#include "core/winpath.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <random>

namespace {

// The new content on its way to its name, beside the user's file:
// ".zkn", the writer's process id in hex, a dot and six random letters.
// The id tells a leftover of a save that died from one still running.
const wchar_t kTemporaryPrefix[] = L".zkn";

// The attributes a program may give a file; the rest are the file system's.
const DWORD kSettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                  FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_TEMPORARY;

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    bool close()
    {
        const bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

Error lastError(const std::string& path, Step step = Step::none)
{
    return Error::windows(path, GetLastError(), step);
}

Error tooBig(const std::string& path, unsigned long long size, size_t maxSize)
{
    Error error = Error::of(Fault::tooLarge, path);
    error.size = size;
    error.limit = maxSize;
    return error;
}

// "\\.\NUL", "\\.\COM1": a device, never a file of ours to read or write.
bool isDevice(const std::wstring& name)
{
    return name.compare(0, 4, L"\\\\.\\") == 0;
}

// An existing file or directory, shared with every other program.
HANDLE openExisting(const std::wstring& name, DWORD access)
{
    return CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

FileIdentity identityFrom(const BY_HANDLE_FILE_INFORMATION& info)
{
    FileIdentity identity;
    identity.exists = true;
    identity.device = info.dwVolumeSerialNumber;
    identity.inode = uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    identity.size = uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    // Counted in 100 ns steps.
    const uint64_t ticks = uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime;
    identity.modifiedSeconds = int64_t(ticks / 10000000);
    identity.modifiedNanoseconds = int64_t(ticks % 10000000) * 100;
    return identity;
}

bool writeAll(HANDLE file, const uint8_t* bytes, size_t size)
{
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? DWORD(1u << 30) : DWORD(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr))
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool processRunning(DWORD id)
{
    Handle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    // One we may not look at is someone's, and running.
    if (!process.valid())
        return GetLastError() == ERROR_ACCESS_DENIED;
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// Temporary files that saves cut short left in `dir` (which ends in "\"):
// those whose writer has ended.
void removeTemporariesOfEndedWriters(const std::wstring& dir)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((dir + kTemporaryPrefix + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> leftovers;
    do {
        const std::wstring name = found.cFileName;
        const size_t dot = name.find(L'.', 4);
        if (dot == std::wstring::npos || dot == 4 || name.size() != dot + 7 ||
            (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const DWORD writer = DWORD(std::wcstoul(name.substr(4, dot - 4).c_str(), nullptr, 16));
        if (writer != GetCurrentProcessId() && !processRunning(writer))
            leftovers.push_back(dir + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& path : leftovers)
        DeleteFileW(path.c_str());
}

std::wstring temporaryName()
{
    static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}() ^ GetCurrentProcessId() ^ DWORD(GetTickCount64())};
    std::uniform_int_distribution<int> pick(0, int(sizeof letters / sizeof letters[0]) - 2);
    wchar_t id[16];
    swprintf(id, sizeof id / sizeof id[0], L"%lx.", static_cast<unsigned long>(GetCurrentProcessId()));
    std::wstring name = std::wstring(kTemporaryPrefix) + id;
    for (int i = 0; i < 6; ++i)
        name += letters[pick(generator)];
    return name;
}

} // namespace

int (*syncDirectory)(const std::string& dir) = [](const std::string&) { return 0; };
void (*saveStepReached)(SaveStep step) = [](SaveStep) {};

Error readFile(const std::string& path, std::vector<uint8_t>& out, size_t maxSize)
{
    const std::wstring name = extendedPath(path);
    if (name.empty())
        return lastError(path);
    // Opening a device can block or have effects of its own.
    if (isDevice(name))
        return Error::of(Fault::notRegularFile, path);
    Handle file(openExisting(name, GENERIC_READ));
    if (!file.valid())
        return lastError(path);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info))
        return lastError(path);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return Error::of(Fault::isDirectory, path);
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return Error::of(Fault::notRegularFile, path);
    const uint64_t size = uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    if (size > maxSize)
        return tooBig(path, size, maxSize);
    // One byte over the limit tells a file that grew since.
    const size_t limit = maxSize < SIZE_MAX ? maxSize + 1 : maxSize;
    std::vector<uint8_t> bytes(size_t(size) + 1 < limit ? size_t(size) + 1 : limit);
    size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() == limit)
                break;
            bytes.resize(bytes.size() * 2 < limit ? bytes.size() * 2 : limit);
        }
        const size_t room = bytes.size() - got;
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + got, room > (1u << 30) ? DWORD(1u << 30) : DWORD(room), &read,
                      nullptr))
            return lastError(path);
        if (read == 0)
            break;
        got += read;
    }
    if (got > maxSize)
        return tooBig(path, got, maxSize);
    bytes.resize(got);
    out.swap(bytes);
    return Error();
}

FileIdentity identityOf(const std::string& path)
{
    const std::wstring name = extendedPath(path);
    if (name.empty() || isDevice(name))
        return FileIdentity();
    Handle file(openExisting(name, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info))
        return FileIdentity();
    return identityFrom(info);
}

Error writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, const WriteOptions& options,
                          FileIdentity* written)
{
    const std::wstring target = extendedPath(path);
    if (target.empty())
        return lastError(path);
    if (isDevice(target))
        return Error::of(Fault::notRegularFile, path);
    WIN32_FILE_ATTRIBUTE_DATA old;
    const bool exists = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &old);
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return lastError(path);
    if (exists && (old.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Error::of(Fault::isDirectory, path);
    const bool keep = exists && options.keepFile;

    const std::wstring dir = target.substr(0, target.rfind(L'\\') + 1);
    removeTemporariesOfEndedWriters(dir);

    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = dir + temporaryName();
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (created == INVALID_HANDLE_VALUE)
        return lastError(path);
    Handle file(created);
    auto discard = [&] {
        const DWORD code = GetLastError();
        file.close();
        DeleteFileW(temporary.c_str());
        SetLastError(code);
    };

    bool ok = writeAll(file.get(), bytes.data(), bytes.size()) && FlushFileBuffers(file.get());
    Step step = Step::none;
    // The old file's creation time and attributes, but for read-only: a
    // read-only name can be neither replaced nor, when a save dies here,
    // cleaned away. It comes back once the file is in place.
    const DWORD attributes = keep ? (old.dwFileAttributes & kSettableAttributes) | FILE_ATTRIBUTE_ARCHIVE
                                  : FILE_ATTRIBUTE_ARCHIVE;
    if (ok && keep) {
        FILE_BASIC_INFO basic = {};
        basic.CreationTime.LowPart = old.ftCreationTime.dwLowDateTime;
        basic.CreationTime.HighPart = LONG(old.ftCreationTime.dwHighDateTime);
        basic.FileAttributes = attributes & ~FILE_ATTRIBUTE_READONLY;
        if (!SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic)) {
            ok = false;
            step = Step::permissions;
        }
    }
    if (!ok) {
        discard();
        return lastError(path, step);
    }
    if (!file.close()) {
        discard();
        return lastError(path);
    }
    saveStepReached(SaveStep::temporaryWritten);
    saveStepReached(SaveStep::temporaryNamed);

    const bool readOnly = exists && (old.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetFileAttributesW(target.c_str(), old.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY)) {
        discard();
        return lastError(path, Step::replace);
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Error error = lastError(path, Step::replace);
        discard();
        if (readOnly)
            SetFileAttributesW(target.c_str(), old.dwFileAttributes & kSettableAttributes);
        return error;
    }
    saveStepReached(SaveStep::replaced);
    if (keep && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), attributes);
    if (written)
        *written = identityOf(path);
    return Error();
}

void removeLeftoverTemporaries(const std::string& dir)
{
    std::wstring folder = extendedPath(dir);
    if (folder.empty())
        return;
    if (folder.back() != L'\\')
        folder += L'\\';
    removeTemporariesOfEndedWriters(folder);
}

// Held as a handle that shares the file with no one; the system closes it
// when the holder ends, and the file stays, free, as the POSIX side's does.
bool FileLock::take(const std::string& path, Error* error)
{
    release();
    const std::wstring name = extendedPath(path);
    if (name.empty() || isDevice(name)) {
        if (error)
            *error = Error::of(Fault::notRegularFile, path);
        return false;
    }
    const HANDLE handle =
        CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // Another holder's file, or one being deleted (which refuses every
        // opener).
        const bool held = code == ERROR_SHARING_VIOLATION ||
                          (code == ERROR_ACCESS_DENIED && GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (error && !held)
            *error = Error::windows(path, code);
        return false;
    }
    path_ = path;
    handle_ = reinterpret_cast<intptr_t>(handle);
    return true;
}

void FileLock::release()
{
    if (path_.empty())
        return;
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    // Another holder may have taken it in between: its file stays then.
    const std::wstring name = extendedPath(path_);
    if (!name.empty())
        DeleteFileW(name.c_str());
    path_.clear();
    handle_ = -1;
}

bool lockIsHeld(const std::string& path)
{
    const std::wstring name = extendedPath(path);
    if (name.empty() || isDevice(name))
        return false;
    Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

InterruptedSave findInterruptedSave(const std::string&)
{
    return {};
}

Error readSavedCopy(const std::string& path, std::vector<uint8_t>& out, size_t maxSize)
{
    return readFile(path, out, maxSize);
}

bool isReadOnlyFile(const std::string& path)
{
    const std::wstring name = extendedPath(path);
    if (name.empty() || isDevice(name))
        return false;
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return true;
    // The access list may refuse this user what the attributes allow.
    Handle file(openExisting(name, FILE_WRITE_DATA));
    return !file.valid() && GetLastError() == ERROR_ACCESS_DENIED;
}

#endif
