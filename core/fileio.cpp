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

Error tooBig(const std::string& path, unsigned long long size, size_t maxSize)
{
    Error error = Error::of(Fault::tooLarge, path);
    error.size = size;
    error.limit = maxSize;
    return error;
}

} // namespace

#ifdef _WIN32

Error readFile(const std::string& path, std::vector<uint8_t>& out, size_t maxSize)
{
    struct _stat64 info;
    if (_stat64(path.c_str(), &info) != 0)
        return Error::system(path, errno);
    if ((info.st_mode & _S_IFMT) == _S_IFDIR)
        return Error::of(Fault::isDirectory, path);
    if ((info.st_mode & _S_IFMT) != _S_IFREG)
        return Error::of(Fault::notRegularFile, path);
    if (static_cast<unsigned long long>(info.st_size) > maxSize)
        return tooBig(path, info.st_size, maxSize);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return Error::system(path, errno);
    // One byte over the limit tells a file that grew since.
    std::vector<uint8_t> bytes(maxSize < SIZE_MAX ? maxSize + 1 : maxSize);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool readError = std::ferror(file);
    const int code = errno;
    std::fclose(file);
    if (readError)
        return Error::system(path, code);
    if (got > maxSize)
        return tooBig(path, got, maxSize);
    bytes.resize(got);
    out.swap(bytes);
    return Error();
}

// MoveFileEx replaces the name given, a link included, with the new file.
Error writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, const WriteOptions&)
{
    // A short unique name beside the target, whatever the target's length.
    const size_t slash = path.find_last_of("/\\");
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    char name[MAX_PATH];
    if (GetTempFileNameA(dir.c_str(), "zk", 0, name) == 0) {
        return Error::system(path, int(GetLastError()), Step::temporaryFile);
    }
    const std::string temporary = name;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        std::remove(temporary.c_str());
        return Error::system(path, errno, Step::temporaryFile);
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = _commit(_fileno(file)) == 0 && ok;
    const int code = errno;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::remove(temporary.c_str());
        return Error::system(path, code);
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        std::remove(temporary.c_str());
        return Error::system(path, int(GetLastError()), Step::replace);
    }
    return Error();
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

Error notAFile(const std::string& path, mode_t mode)
{
    return Error::of(S_ISDIR(mode) ? Fault::isDirectory : Fault::notRegularFile, path);
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
Error resolveLinks(const std::string& path, std::string& target)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = current;
            return Error();
        }
        std::vector<char> buffer(256);
        for (;;) {
            const ssize_t length = readlink(current.c_str(), buffer.data(), buffer.size());
            if (length < 0)
                return Error::system(path, errno, Step::resolveLink);
            if (static_cast<size_t>(length) < buffer.size()) {
                const std::string link(buffer.data(), static_cast<size_t>(length));
                current = link[0] == '/' ? link : directoryOf(current) + "/" + link;
                break;
            }
            buffer.resize(buffer.size() * 2);
        }
    }
    return Error::system(path, ELOOP);
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
Error writeInPlace(const std::string& target, const struct stat& old, const std::vector<uint8_t>& bytes)
{
    const int fd = open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Error::system(target, errno);
    std::vector<uint8_t> oldContent;
    if (!readAll(fd, oldContent, static_cast<size_t>(-1))) {
        const int code = errno;
        close(fd);
        return Error::system(target, code, Step::readOldContent);
    }

    const std::string dir = directoryOf(target);
    std::string backup;
    const int backupFd = createTemporary(dir, backup);
    if (backupFd < 0) {
        const int code = errno;
        close(fd);
        return Error::system(target, code, Step::backup);
    }
    bool backedUp = fchmod(backupFd, old.st_mode & 0777) == 0 &&
                    writeAll(backupFd, oldContent.data(), oldContent.size()) &&
                    fsync(backupFd) == 0;
    int code = errno;
    backedUp = close(backupFd) == 0 && backedUp;
    if (!backedUp) {
        unlink(backup.c_str());
        close(fd);
        return Error::system(target, code, Step::backup);
    }
    syncDirectory(dir);

    bool written = overwrite(fd, bytes);
    code = errno;
    if (!written) {
        const bool restored = overwrite(fd, oldContent);
        close(fd);
        if (restored)
            unlink(backup.c_str());
        Error error = Error::system(target, code);
        if (!restored)
            error.keptIn = backup;
        return error;
    }
    if (close(fd) != 0)
        return Error::system(target, errno);
    unlink(backup.c_str());
    syncDirectory(dir);
    return Error();
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

Error readFile(const std::string& path, std::vector<uint8_t>& out, size_t maxSize)
{
    // Looked at before opening: opening a device or a FIFO can block or
    // have effects of its own.
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return Error::system(path, errno);
    if (!S_ISREG(info.st_mode))
        return notAFile(path, info.st_mode);

    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Error::system(path, errno);
    // The name may have been swapped for something else in between.
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return notAFile(path, info.st_mode);
    }
    if (static_cast<unsigned long long>(info.st_size) > maxSize) {
        close(fd);
        return tooBig(path, static_cast<unsigned long long>(info.st_size), maxSize);
    }
    // One byte over the limit tells a file that grew since.
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    const bool ok = readAll(fd, bytes, maxSize < SIZE_MAX ? maxSize + 1 : maxSize);
    const int code = errno;
    close(fd);
    if (!ok)
        return Error::system(path, code);
    if (bytes.size() > maxSize)
        return tooBig(path, bytes.size(), maxSize);
    out.swap(bytes);
    return Error();
}

Error writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                          const WriteOptions& options)
{
    std::string target = path;
    if (options.keepFile)
        if (Error error = resolveLinks(path, target))
            return error;

    struct stat old;
    const bool exists = lstat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return Error::system(path, errno);
    if (exists && S_ISDIR(old.st_mode))
        return notAFile(path, old.st_mode);
    const bool keep = exists && options.keepFile;
    if (keep && !S_ISREG(old.st_mode))
        return notAFile(path, old.st_mode);

    // Replacing the file would split it from its other names or give it to
    // us: rewrite it where it is instead, if we may.
    const bool ownerKept = old.st_uid == geteuid() || geteuid() == 0;
    if (keep && (old.st_nlink > 1 || !ownerKept) && access(target.c_str(), W_OK) == 0)
        return writeInPlace(target, old, bytes);

    const std::string dir = directoryOf(target);
    std::string temporary;
    const int fd = createTemporary(dir, temporary);
    if (fd < 0)
        return Error::system(path, errno);

    if (keep)
        keepOwnerAndGroup(fd, old);
    // After the chown, which may clear set-id bits; none are wanted anyway.
    const mode_t mode = keep ? old.st_mode & 0777 : defaultMode();

    // Each step runs only when all before it succeeded; `context` names the
    // steps whose failure needs saying which.
    bool ok = true;
    Step step = Step::none;
    if (fchmod(fd, mode) != 0) {
        ok = false;
        step = Step::permissions;
    }
    ok = ok && writeAll(fd, bytes.data(), bytes.size()) && fsync(fd) == 0;
    int code = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        step = Step::replace;
        code = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Error::system(path, code, step);
    }
    // The new name is in place; a file system that cannot flush a directory
    // does not undo that.
    syncDirectory(dir);
    return Error();
}

bool isReadOnlyFile(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

#endif
