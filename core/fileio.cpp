#include "core/fileio.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The reasons a user meets most often, in the window's language; anything
// rarer keeps the system's own words.
std::string reason(int code)
{
    switch (code) {
    case ENOENT: return "nie ma takiego pliku lub katalogu";
    case EACCES:
    case EPERM: return "brak uprawnien";
    case EISDIR: return "to jest katalog";
    case ENOTDIR: return "to nie jest katalog";
    case ENOSPC: return "brak miejsca na dysku";
    case EROFS: return "system plikow tylko do odczytu";
    case ENAMETOOLONG: return "za dluga nazwa pliku";
    case EFBIG: return "plik za duzy";
    case ELOOP: return "petla dowiazan symbolicznych";
    case EIO: return "blad wejscia/wyjscia";
#ifdef EDQUOT
    case EDQUOT: return "przekroczony limit dysku";
#endif
    default: return std::strerror(code);
    }
}

// "path: reason", the reason last so that callers can take it apart at the
// last ": "; `context` says which step, where that helps.
bool fail(std::string& error, const std::string& path, const char* context, int code)
{
    error = path + ": " + reason(code);
    if (context)
        error += std::string(" (") + context + ")";
    return false;
}

bool refuse(std::string& error, const std::string& path, const std::string& why)
{
    error = path + ": " + why;
    return false;
}

std::string tooBig(unsigned long long size, size_t maxSize)
{
    return "plik za duzy (" + std::to_string(size) + " bajtow, najwiecej " +
           std::to_string(maxSize) + ")";
}

} // namespace

#ifdef _WIN32

bool readFile(const std::string& path, std::vector<uint8_t>& out, std::string& error,
              size_t maxSize)
{
    struct _stat64 info;
    if (_stat64(path.c_str(), &info) != 0)
        return fail(error, path, nullptr, errno);
    if ((info.st_mode & _S_IFMT) == _S_IFDIR)
        return refuse(error, path, "to jest katalog");
    if ((info.st_mode & _S_IFMT) != _S_IFREG)
        return refuse(error, path, "to nie jest zwykly plik");
    if (static_cast<unsigned long long>(info.st_size) > maxSize)
        return refuse(error, path, tooBig(info.st_size, maxSize));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return fail(error, path, nullptr, errno);
    // One byte over the limit tells a file that grew since.
    std::vector<uint8_t> bytes(maxSize < SIZE_MAX ? maxSize + 1 : maxSize);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool readError = std::ferror(file);
    const int code = errno;
    std::fclose(file);
    if (readError)
        return fail(error, path, nullptr, code);
    if (got > maxSize)
        return refuse(error, path, tooBig(got, maxSize));
    bytes.resize(got);
    out.swap(bytes);
    return true;
}

// MoveFileEx replaces the name given, a link included, with the new file.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error, const WriteOptions&)
{
    // A short unique name beside the target, whatever the target's length.
    const size_t slash = path.find_last_of("/\\");
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    char name[MAX_PATH];
    if (GetTempFileNameA(dir.c_str(), "zk", 0, name) == 0) {
        error = path + ": nie mozna utworzyc pliku tymczasowego obok (blad " +
                std::to_string(GetLastError()) + ")";
        return false;
    }
    const std::string temporary = name;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        std::remove(temporary.c_str());
        return fail(error, temporary, nullptr, errno);
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = _commit(_fileno(file)) == 0 && ok;
    const int code = errno;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::remove(temporary.c_str());
        return fail(error, path, nullptr, code);
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        std::remove(temporary.c_str());
        error = path + ": nie mozna zastapic pliku (blad " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

bool isReadOnlyFile(const std::string& path)
{
    return _access(path.c_str(), 0) == 0 && _access(path.c_str(), 2) != 0;
}

int (*syncDirectory)(const std::string& dir) = [](const std::string&) { return 0; };

#else

namespace {

bool writeAll(int fd, const uint8_t* bytes, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Reads to the end, or until more than `limit` bytes have come.
bool readAll(int fd, std::vector<uint8_t>& bytes, size_t limit)
{
    uint8_t chunk[16384];
    for (;;) {
        const size_t room = limit - bytes.size();
        if (room == 0)
            return true;
        const ssize_t got = read(fd, chunk, room < sizeof chunk ? room : sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

std::string notAFile(mode_t mode)
{
    return S_ISDIR(mode) ? "to jest katalog" : "to nie jest zwykly plik";
}

std::string directoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Follows a chain of symbolic links to the name of the file at its end,
// which need not exist yet.
bool resolveLinks(const std::string& path, std::string& target, std::string& error)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = current;
            return true;
        }
        std::vector<char> buffer(256);
        for (;;) {
            const ssize_t length = readlink(current.c_str(), buffer.data(), buffer.size());
            if (length < 0)
                return fail(error, path, "dowiazanie symboliczne", errno);
            if (static_cast<size_t>(length) < buffer.size()) {
                const std::string link(buffer.data(), static_cast<size_t>(length));
                current = link[0] == '/' ? link : directoryOf(current) + "/" + link;
                break;
            }
            buffer.resize(buffer.size() * 2);
        }
    }
    return fail(error, path, nullptr, ELOOP);
}

// A file beside the target, named short so that even a name at the length
// limit still has room: ".zk" and six random characters.
int createTemporary(const std::string& dir, std::string& temporary)
{
    temporary = dir + "/.zkXXXXXX";
    return mkstemp(&temporary[0]);
}

mode_t defaultMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes the whole of `bytes` to an open file from its start and cuts off
// whatever was longer.
bool overwrite(int fd, const std::vector<uint8_t>& bytes)
{
    return lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes.data(), bytes.size()) &&
           ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
}

// For a file whose other names or owner must stay: a backup copy of the old
// content goes beside it first, then the file itself is rewritten. The
// backup is removed once the new content is safely on disk, or used to put
// the old content back when writing fails.
bool writeInPlace(const std::string& target, const struct stat& old,
                  const std::vector<uint8_t>& bytes, std::string& error)
{
    const int fd = open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, target, nullptr, errno);
    std::vector<uint8_t> oldContent;
    if (!readAll(fd, oldContent, static_cast<size_t>(-1))) {
        const int code = errno;
        close(fd);
        return fail(error, target, "odczyt starej zawartosci", code);
    }

    const std::string dir = directoryOf(target);
    std::string backup;
    const int backupFd = createTemporary(dir, backup);
    if (backupFd < 0) {
        const int code = errno;
        close(fd);
        return fail(error, target, "kopia zapasowa obok pliku", code);
    }
    bool backedUp = fchmod(backupFd, old.st_mode & 0777) == 0 &&
                    writeAll(backupFd, oldContent.data(), oldContent.size()) &&
                    fsync(backupFd) == 0;
    int code = errno;
    backedUp = close(backupFd) == 0 && backedUp;
    if (!backedUp) {
        unlink(backup.c_str());
        close(fd);
        return fail(error, target, "kopia zapasowa obok pliku", code);
    }
    syncDirectory(dir);

    bool written = overwrite(fd, bytes);
    code = errno;
    if (!written) {
        const bool restored = overwrite(fd, oldContent);
        close(fd);
        if (restored)
            unlink(backup.c_str());
        fail(error, target, nullptr, code);
        if (!restored)
            error += "; stara zawartosc jest w " + backup;
        return false;
    }
    if (close(fd) != 0)
        return fail(error, target, nullptr, errno);
    unlink(backup.c_str());
    syncDirectory(dir);
    return true;
}

// The owner where we may give the file away; else at least the group,
// where we are one of its members; else the file stays ours.
void keepOwnerAndGroup(int fd, const struct stat& old)
{
    if (fchown(fd, old.st_uid, old.st_gid) != 0 &&
        fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
        return;
}

int fsyncDirectory(const std::string& dir)
{
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int result = fsync(fd);
    close(fd);
    return result;
}

} // namespace

int (*syncDirectory)(const std::string& dir) = fsyncDirectory;

bool readFile(const std::string& path, std::vector<uint8_t>& out, std::string& error,
              size_t maxSize)
{
    // Looked at before opening: opening a device or a FIFO can block or
    // have effects of its own.
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return fail(error, path, nullptr, errno);
    if (!S_ISREG(info.st_mode))
        return refuse(error, path, notAFile(info.st_mode));

    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, path, nullptr, errno);
    // The name may have been swapped for something else in between.
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return refuse(error, path, notAFile(info.st_mode));
    }
    if (static_cast<unsigned long long>(info.st_size) > maxSize) {
        close(fd);
        return refuse(error, path, tooBig(static_cast<unsigned long long>(info.st_size), maxSize));
    }
    // One byte over the limit tells a file that grew since.
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    const bool ok = readAll(fd, bytes, maxSize < SIZE_MAX ? maxSize + 1 : maxSize);
    const int code = errno;
    close(fd);
    if (!ok)
        return fail(error, path, nullptr, code);
    if (bytes.size() > maxSize)
        return refuse(error, path, tooBig(bytes.size(), maxSize));
    out.swap(bytes);
    return true;
}

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error, const WriteOptions& options)
{
    std::string target = path;
    if (options.keepFile && !resolveLinks(path, target, error))
        return false;

    struct stat old;
    const bool exists = lstat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return fail(error, path, nullptr, errno);
    if (exists && S_ISDIR(old.st_mode))
        return refuse(error, path, notAFile(old.st_mode));
    const bool keep = exists && options.keepFile;
    if (keep && !S_ISREG(old.st_mode))
        return refuse(error, path, notAFile(old.st_mode));

    // Replacing the file would split it from its other names or give it to
    // us: rewrite it where it is instead, if we may.
    const bool ownerKept = old.st_uid == geteuid() || geteuid() == 0;
    if (keep && (old.st_nlink > 1 || !ownerKept) && access(target.c_str(), W_OK) == 0)
        return writeInPlace(target, old, bytes, error);

    const std::string dir = directoryOf(target);
    std::string temporary;
    const int fd = createTemporary(dir, temporary);
    if (fd < 0)
        return fail(error, path, nullptr, errno);

    if (keep)
        keepOwnerAndGroup(fd, old);
    // After the chown, which may clear set-id bits; none are wanted anyway.
    const mode_t mode = keep ? old.st_mode & 0777 : defaultMode();

    // Each step runs only when all before it succeeded; `context` names the
    // steps whose failure needs saying which.
    bool ok = true;
    const char* context = nullptr;
    if (fchmod(fd, mode) != 0) {
        ok = false;
        context = "uprawnienia pliku";
    }
    ok = ok && writeAll(fd, bytes.data(), bytes.size()) && fsync(fd) == 0;
    int code = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        context = "zastapienie pliku";
        code = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return fail(error, path, context, code);
    }
    // The new name is in place; a file system that cannot flush a directory
    // does not undo that.
    syncDirectory(dir);
    return true;
}

bool isReadOnlyFile(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

#endif
