#include "core/fileio.h"

#include "core/pathname.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
#endif

// The POSIX side; core/fileio_win32.cpp is the Windows one.
#ifndef _WIN32

namespace {

Error tooBig(const std::string& path, unsigned long long size, size_t maxSize)
{
    Error error = Error::of(Fault::tooLarge, path);
    error.size = size;
    error.limit = maxSize;
    return error;
}

// Our names beside the user's file: new content on its way to its name
// (".zkn" and six random characters), and the copy of the old content that
// an in-place save keeps (".zkb" and the file's inode number). Short, so a
// name at the length limit still has room beside them.
const char kTemporaryPrefix[] = ".zkn";
const size_t kTemporaryNameLength = sizeof kTemporaryPrefix - 1 + 6;
const char kBackupPrefix[] = ".zkb";

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

FileIdentity identityFrom(const struct stat& info)
{
    FileIdentity identity;
    identity.exists = true;
    identity.device = static_cast<uint64_t>(info.st_dev);
    identity.inode = static_cast<uint64_t>(info.st_ino);
    identity.size = static_cast<uint64_t>(info.st_size);
#ifdef __APPLE__
    identity.modifiedSeconds = info.st_mtimespec.tv_sec;
    identity.modifiedNanoseconds = info.st_mtimespec.tv_nsec;
#else
    identity.modifiedSeconds = info.st_mtim.tv_sec;
    identity.modifiedNanoseconds = info.st_mtim.tv_nsec;
#endif
    return identity;
}

std::string randomTemporaryName()
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, sizeof letters - 2);
    std::string name = kTemporaryPrefix;
    while (name.size() < kTemporaryNameLength)
        name += letters[pick(generator)];
    return name;
}

std::string backupPathFor(const std::string& dir, ino_t inode)
{
    char hex[24];
    std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(inode));
    return dir + "/" + kBackupPrefix + hex;
}

// A file being written beside the user's: without a name while the system
// allows it (a crash then leaves nothing behind), else under a temporary
// name. Locked while its writer lives, so no one takes a live one for a
// leftover. Closing leaves whatever name it has.
class ScratchFile {
public:
    explicit ScratchFile(std::string dir) : dir_(std::move(dir)) {}
    ~ScratchFile() { close(); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // 0, or the system's error number.
    int create()
    {
#ifdef O_TMPFILE
        // An unnamed file gets its name through /proc; without it, it never could.
        if (access("/proc/self/fd", X_OK) == 0) {
            fd_ = open(dir_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
            if (fd_ >= 0) {
                flock(fd_, LOCK_EX);
                return 0;
            }
            // Not on this file system: a named one then says what is wrong, if anything.
        }
#endif
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = dir_ + "/" + randomTemporaryName();
            fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
            if (fd_ >= 0) {
                flock(fd_, LOCK_EX);
                return 0;
            }
            if (errno != EEXIST)
                break;
        }
        const int code = errno;
        path_.clear();
        return code;
    }

    // Gives an unnamed file its temporary name; 0, or the system's error number.
    int giveName()
    {
        if (!path_.empty())
            return 0;
        char self[32];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string candidate = dir_ + "/" + randomTemporaryName();
            if (linkat(AT_FDCWD, self, AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                path_ = candidate;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    // Moves the file to `name`, replacing what was there; 0 or the error number.
    int renameTo(const std::string& name)
    {
        if (int code = giveName())
            return code;
        if (rename(path_.c_str(), name.c_str()) != 0)
            return errno;
        path_ = name;
        return 0;
    }

    void discard()
    {
        if (!path_.empty())
            unlink(path_.c_str());
        path_.clear();
        close();
    }

    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    int fd() const { return fd_; }

private:
    std::string dir_;
    std::string path_;  // empty while it has no name
    int fd_ = -1;
};

} // namespace

// Each temporary is locked while its writer lives, so one nobody holds is
// a leftover.
void removeLeftoverTemporaries(const std::string& dir)
{
    DIR* listing = opendir(dir.c_str());
    if (!listing)
        return;
    std::vector<std::string> leftovers;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.size() == kTemporaryNameLength && name.compare(0, sizeof kTemporaryPrefix - 1, kTemporaryPrefix) == 0)
            leftovers.push_back(dir + "/" + name);
    }
    closedir(listing);
    for (const std::string& path : leftovers) {
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info;
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(path.c_str());
        close(fd);
    }
}

namespace {

#ifdef __linux__
// The extended attributes of the old file, access control lists among them,
// onto the new one, which loses any it got from its directory that the old
// one lacks. False when one that matters could not be copied; security
// labels are the system's to give.
bool copyAttributes(const std::string& from, int to)
{
    std::vector<char> names;
    for (;;) {
        const ssize_t size = listxattr(from.c_str(), nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP;
        names.resize(static_cast<size_t>(size));
        const ssize_t got = listxattr(from.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<size_t>(got));
            break;
        }
        if (errno != ERANGE)
            return false;
    }
    bool hasAccessList = false;
    std::vector<char> value;
    for (size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
        const char* name = &names[at];
        const bool mayFail = std::strncmp(name, "security.", 9) == 0;
        hasAccessList = hasAccessList || std::strcmp(name, "system.posix_acl_access") == 0;
        const ssize_t size = getxattr(from.c_str(), name, nullptr, 0);
        if (size >= 0) {
            value.resize(static_cast<size_t>(size));
            const ssize_t got = getxattr(from.c_str(), name, value.data(), value.size());
            if (got >= 0 && fsetxattr(to, name, value.data(), static_cast<size_t>(got), 0) == 0)
                continue;
        }
        if (!mayFail)
            return false;
    }
    if (!hasAccessList && fremovexattr(to, "system.posix_acl_access") != 0 && errno != ENODATA &&
        errno != ENOTSUP)
        return false;
    return true;
}
#else
bool copyAttributes(const std::string&, int)
{
    return true;
}
#endif

mode_t defaultMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes the whole of `bytes` to an open file from its start, cuts off
// whatever was longer and flushes it; with `reportSteps`, says so at each
// step.
bool overwrite(int fd, const std::vector<uint8_t>& bytes, bool reportSteps)
{
    if (lseek(fd, 0, SEEK_SET) != 0 || !writeAll(fd, bytes.data(), bytes.size()))
        return false;
    if (reportSteps)
        saveStepReached(SaveStep::contentWritten);
    if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        return false;
    if (reportSteps)
        saveStepReached(SaveStep::contentTruncated);
    return fsync(fd) == 0;
}

// The record behind a copy's old content: the file's name, then its device
// and inode, its birth time's seconds (8 bytes each) and nanoseconds (4; both
// 0 where the file system keeps none) and the name's length (4), each low
// byte first, then the marker.
const char kCopyMarker[8] = {'Z', 'K', 'B', 'C', 'O', 'P', 'Y', '1'};
const size_t kRecordDeviceAt = 0, kRecordInodeAt = 8, kRecordBornAt = 16, kRecordBornNanosecondsAt = 24,
             kRecordNameSizeAt = 28;
const size_t kRecordTail = kRecordNameSizeAt + 4 + sizeof kCopyMarker;

// When the file was made, where the file system says: an inode used again
// for another file is born again. {0, 0} when unknown.
struct Birth {
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    bool known() const { return seconds != 0 || nanoseconds != 0; }
    bool operator==(const Birth& other) const { return seconds == other.seconds && nanoseconds == other.nanoseconds; }
};

Birth birthOf(const std::string& path)
{
    Birth birth;
#if defined(__linux__) && defined(STATX_BTIME)
    struct statx info;
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &info) == 0 && (info.stx_mask & STATX_BTIME)) {
        birth.seconds = info.stx_btime.tv_sec;
        birth.nanoseconds = info.stx_btime.tv_nsec;
    }
#else
    (void)path;
#endif
    return birth;
}

void appendNumber(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

uint64_t numberAt(const std::vector<uint8_t>& bytes, size_t at, int size)
{
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + size_t(i)];
    return value;
}

std::vector<uint8_t> copyRecord(const std::string& name, const struct stat& file, Birth birth)
{
    std::vector<uint8_t> record(name.begin(), name.end());
    appendNumber(record, static_cast<uint64_t>(file.st_dev), 8);
    appendNumber(record, static_cast<uint64_t>(file.st_ino), 8);
    appendNumber(record, static_cast<uint64_t>(birth.seconds), 8);
    appendNumber(record, birth.nanoseconds, 4);
    appendNumber(record, name.size(), 4);
    record.insert(record.end(), kCopyMarker, kCopyMarker + sizeof kCopyMarker);
    return record;
}

struct CopyRecord {
    bool present = false;
    std::string name;
    uint64_t device = 0, inode = 0;
    Birth birth;
    size_t contentSize = 0;  // the old content's bytes, before the record
};

CopyRecord copyRecordOf(const std::vector<uint8_t>& bytes)
{
    CopyRecord record;
    if (bytes.size() < kRecordTail ||
        !std::equal(kCopyMarker, kCopyMarker + sizeof kCopyMarker, bytes.end() - sizeof kCopyMarker))
        return record;
    const size_t tail = bytes.size() - kRecordTail;
    const uint64_t nameSize = numberAt(bytes, tail + kRecordNameSizeAt, 4);
    if (nameSize > tail)
        return record;
    record.present = true;
    record.contentSize = tail - size_t(nameSize);
    record.name.assign(bytes.begin() + long(record.contentSize), bytes.begin() + long(tail));
    record.device = numberAt(bytes, tail + kRecordDeviceAt, 8);
    record.inode = numberAt(bytes, tail + kRecordInodeAt, 8);
    record.birth.seconds = int64_t(numberAt(bytes, tail + kRecordBornAt, 8));
    record.birth.nanoseconds = uint32_t(numberAt(bytes, tail + kRecordBornNanosecondsAt, 4));
    return record;
}

// For a file whose other names or owner must stay: a complete copy of the
// old content goes beside it first, under a name findInterruptedSave() finds
// from the file itself, then the file is rewritten. The copy goes once the
// new content is safely on disk, or is used to put the old content back when
// writing fails.
Error writeInPlace(const std::string& target, const struct stat& old, const std::vector<uint8_t>& bytes,
                   FileIdentity* written)
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
    const std::string backup = backupPathFor(dir, old.st_ino);
    if (lockIsHeld(backup)) {
        close(fd);
        return Error::of(Fault::saveInProgress, target);
    }
    // Named only once complete: a copy found later is always a whole one.
    ScratchFile copy(dir);
    int code = copy.create();
    bool backedUp = code == 0;
    const std::vector<uint8_t> record = copyRecord(fileNameOf(target), old, birthOf(target));
    if (backedUp && !(fchmod(copy.fd(), old.st_mode & 0777) == 0 &&
                      writeAll(copy.fd(), oldContent.data(), oldContent.size()) &&
                      writeAll(copy.fd(), record.data(), record.size()) && fsync(copy.fd()) == 0)) {
        backedUp = false;
        code = errno;
    }
    if (backedUp && (code = copy.renameTo(backup)) != 0)
        backedUp = false;
    if (!backedUp) {
        copy.discard();
        close(fd);
        return Error::system(target, code, Step::backup);
    }
    syncDirectory(dir);
    saveStepReached(SaveStep::backupNamed);

    if (!overwrite(fd, bytes, true)) {
        code = errno;
        const bool restored = overwrite(fd, oldContent, false);
        close(fd);
        Error error = Error::system(target, code);
        if (restored)
            copy.discard();
        else
            error.keptIn = backup;
        return error;
    }
    struct stat info;
    const bool known = fstat(fd, &info) == 0;
    if (close(fd) != 0)
        return Error::system(target, errno);
    saveStepReached(SaveStep::contentSynced);
    copy.discard();
    syncDirectory(dir);
    saveStepReached(SaveStep::backupRemoved);
    if (written && known)
        *written = identityFrom(info);
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
void (*saveStepReached)(SaveStep step) = [](SaveStep) {};

FileIdentity identityOf(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return FileIdentity();
    return identityFrom(info);
}

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
                          const WriteOptions& options, FileIdentity* written)
{
    std::string target = path;
    if (options.keepFile)
        if (Error error = resolveLinks(path, target))
            return error;

    struct stat old = {};
    const bool exists = lstat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return Error::system(path, errno);
    if (exists && S_ISDIR(old.st_mode))
        return notAFile(path, old.st_mode);
    const bool keep = exists && options.keepFile;
    if (keep && !S_ISREG(old.st_mode))
        return notAFile(path, old.st_mode);

    const std::string dir = directoryOf(target);
    removeLeftoverTemporaries(dir);

    // Replacing the file would split it from its other names or give it to
    // us: rewrite it where it is instead, if we may.
    const bool ownerKept = old.st_uid == geteuid() || geteuid() == 0;
    const bool writable = keep && access(target.c_str(), W_OK) == 0;
    if (writable && (old.st_nlink > 1 || !ownerKept))
        return writeInPlace(target, old, bytes, written);

    ScratchFile file(dir);
    if (int code = file.create())
        return Error::system(path, code);
    if (keep) {
        keepOwnerAndGroup(file.fd(), old);
        // The new file could not carry the old one's access lists or
        // attributes: the old file itself takes the new content instead.
        if (!copyAttributes(target, file.fd()) && writable) {
            file.discard();
            return writeInPlace(target, old, bytes, written);
        }
    }
    // After the chown, which may clear set-id bits; none are wanted anyway.
    const mode_t mode = keep ? old.st_mode & 0777 : defaultMode();

    // Each step runs only when all before it succeeded; `step` names the
    // steps whose failure needs saying which.
    bool ok = true;
    Step step = Step::none;
    if (fchmod(file.fd(), mode) != 0) {
        ok = false;
        step = Step::permissions;
    }
    ok = ok && writeAll(file.fd(), bytes.data(), bytes.size()) && fsync(file.fd()) == 0;
    int code = errno;
    struct stat info;
    ok = ok && fstat(file.fd(), &info) == 0;
    if (ok) {
        saveStepReached(SaveStep::temporaryWritten);
        if ((code = file.giveName()) != 0) {
            ok = false;
            step = Step::temporaryFile;
        }
    }
    if (ok) {
        saveStepReached(SaveStep::temporaryNamed);
        if ((code = file.renameTo(target)) != 0) {
            ok = false;
            step = Step::replace;
        }
    }
    if (!ok) {
        file.discard();
        return Error::system(path, code, step);
    }
    file.close();
    saveStepReached(SaveStep::replaced);
    // The new name is in place; a file system that cannot flush a directory
    // does not undo that.
    syncDirectory(dir);
    // A copy an interrupted save kept of the file this one replaced would
    // otherwise stay unseen: nothing leads to it from the new file.
    if (keep) {
        const std::string backup = backupPathFor(dir, old.st_ino);
        if (!lockIsHeld(backup))
            unlink(backup.c_str());
    }
    if (written)
        *written = identityFrom(info);
    return Error();
}

bool FileLock::take(const std::string& path, Error* error)
{
    release();
    // A holder letting go removes the file; one opened just before that is
    // no longer the file of that name, and is tried again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (error)
                *error = Error::system(path, errno);
            return false;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            return false;
        }
        struct stat opened, named;
        if (fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
            opened.st_ino == named.st_ino) {
            path_ = path;
            handle_ = fd;
            return true;
        }
        close(fd);
    }
    return false;
}

void FileLock::release()
{
    if (path_.empty())
        return;
    unlink(path_.c_str());
    close(int(handle_));
    path_.clear();
    handle_ = -1;
}

bool lockIsHeld(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

Error readSavedCopy(const std::string& path, std::vector<uint8_t>& out, size_t maxSize)
{
    std::vector<uint8_t> bytes;
    if (Error error = readFile(path, bytes, maxSize + kRecordTail + 4096))
        return error;
    const CopyRecord record = copyRecordOf(bytes);
    if (record.present)
        bytes.resize(record.contentSize);
    if (bytes.size() > maxSize)
        return tooBig(path, bytes.size(), maxSize);
    out.swap(bytes);
    return Error();
}

InterruptedSave findInterruptedSave(const std::string& path)
{
    // Game images are small; a copy of anything larger is none of ours to judge.
    const size_t limit = 16 << 20;
    std::string target;
    struct stat info, copy;
    if (resolveLinks(path, target) || stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const std::string dir = directoryOf(target);
    const std::string backup = backupPathFor(dir, info.st_ino);
    std::vector<uint8_t> bytes;
    if (lstat(backup.c_str(), &copy) != 0 || !S_ISREG(copy.st_mode) || lockIsHeld(backup) ||
        readFile(backup, bytes, limit))
        return {};
    const CopyRecord record = copyRecordOf(bytes);
    if (!record.present)
        return {};
    // Made from this file (renamed since, or under another of its names);
    // else from a file that is gone, whose inode this one took. Where the
    // file system keeps no birth times, the name it was made under must
    // still lead to this file.
    const bool sameInode = record.device == uint64_t(info.st_dev) && record.inode == uint64_t(info.st_ino);
    const Birth born = birthOf(target);
    bool fromThisFile = sameInode && born == record.birth;
    if (sameInode && !born.known() && !record.birth.known()) {
        const FileIdentity recorded = identityOf(dir + "/" + record.name);
        fromThisFile = record.name.find('/') == std::string::npos && recorded.exists &&
                       recorded.device == record.device && recorded.inode == record.inode;
    }
    bytes.resize(record.contentSize);
    std::vector<uint8_t> now;
    if (!fromThisFile || (!readFile(target, now, limit) && now == bytes)) {
        unlink(backup.c_str());
        return {};
    }
    return {backup, record.name};
}

bool isReadOnlyFile(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

#endif
