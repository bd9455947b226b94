// Bounded whole-file reads and careful whole-file writes: the only code of
// the editor's documents that touches the disk. Free of SDL, so the command
// line and the tests use it as they are.
// Failures come back as values naming the file, the step and the system's
// reason; core/messages.h words them.
#pragma once

#include "core/error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Reads the whole of a regular file of at most `maxSize` bytes into `out`.
// Anything else (a directory, a device, a FIFO, a file over the limit) is
// refused without blocking and without reading it. On failure `out` is left
// as it was.
Error readFile(const std::string& path, std::vector<uint8_t>& out, size_t maxSize);

// What tells a file apart from the one it was: the same name may later
// hold another file (a new inode) or new content (size, modification time).
struct FileIdentity {
    bool exists = false;
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;

    bool operator==(const FileIdentity& other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
               modifiedSeconds == other.modifiedSeconds && modifiedNanoseconds == other.modifiedNanoseconds;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the file `path` names (through symbolic links); one that
// does not exist when it cannot be looked at.
FileIdentity identityOf(const std::string& path);

struct WriteOptions {
    // A document: a symbolic link is followed to the file it names, which is
    // replaced while the link stays; the file keeps its mode (without set-id
    // bits), owner, group, access control lists and extended attributes; a
    // file with other hard links, or whose owner or attributes could not be
    // kept, is rewritten in place after a backup copy beside it, so every
    // name sees the new content. Off for scratch files the program owns (the
    // test image): whatever the name is becomes a new plain file with the
    // default mode, and nothing it pointed at is touched.
    bool keepFile = true;
};

// Writes `bytes` to `path` so that the name shows either the old file or the
// new one at every moment, a crash included. Where the file must be
// rewritten in place, a complete copy of the old content waits beside it
// until the new content is on disk: should the program die in between,
// findInterruptedSave() finds that copy. A failure leaves the old file as it
// was (or, when writing in place fails and cannot be undone, its content in
// the backup the error names in `keptIn`). On success the data and the
// directory entry are on disk, and `written` (when given) is the identity
// of the file as written.
Error writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                          const WriteOptions& options = WriteOptions(), FileIdentity* written = nullptr);

// A copy of the old content that an in-place save left beside the file
// when it was cut short. The copy records the name and the identity of the
// file it was made from: an unrelated file that later gets the same inode
// (named after it) is told apart.
struct InterruptedSave {
    std::string copy;      // its path; "" when there is none
    std::string madeFrom;  // the name of the file it was made from (one of its names, for a file with several)
};

// The copy an interrupted in-place save of `path` left, if there is one
// and no save of it runs right now. A copy holding just what the file
// holds is of no more use, nor one made from a file that is gone (its
// inode now another file's): such copies are removed. A copy without a
// record (an older program's) is not offered, and stays.
InterruptedSave findInterruptedSave(const std::string& path);

// The old content a copy holds, without its record; any other file whole.
Error readSavedCopy(const std::string& path, std::vector<uint8_t>& out, size_t maxSize);

// Removes what saves into `dir` that were cut short (a kill, a crash) left
// there: temporary files (".zkn...") whose writers no longer run. The
// temporaries of saves still running stay.
void removeLeftoverTemporaries(const std::string& dir);

// A lock that one running program holds at a time, on a file made for it;
// the system lets go of it when its holder ends, however it ends, so a
// lock nobody holds is the leftover of a program that is gone.
class FileLock {
public:
    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    // Hands a held lock over.
    void swap(FileLock& other) noexcept
    {
        path_.swap(other.path_);
        std::swap(handle_, other.handle_);
    }

    // Takes the lock at `path`, making its file, unless another holder
    // (another program, or another FileLock of this one) has it. False
    // also when the file cannot be made; `error` (when given) then says why.
    bool take(const std::string& path, Error* error = nullptr);
    // Lets go and removes the file.
    void release();
    bool held() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;  // empty while nothing is held
    intptr_t handle_ = -1;
};

// Whether a running program (this one included) holds the lock at `path`.
bool lockIsHeld(const std::string& path);

// True when `path` is an existing file the user may not write: no write
// permission bit at all (even for the superuser), or no access for this user.
// Saving over it should be confirmed first.
bool isReadOnlyFile(const std::string& path);

// Test seams. How a directory is flushed after a file in it was renamed or
// created; returns 0 on success, like fsync.
extern int (*syncDirectory)(const std::string& dir);

// The points a save passes, in order; a test stops the program at each to
// see what a crash there leaves.
enum class SaveStep {
    temporaryWritten,  // the new content is on disk, under no name yet or a temporary one
    temporaryNamed,    // it has a temporary name beside the file, about to replace it
    replaced,          // the file's name shows the new content
    backupNamed,       // in place: the copy of the old content is beside the file
    contentWritten,    // in place: the new content is written over the old, not yet cut to length
    contentTruncated,  // in place: cut to length, not yet flushed
    contentSynced,     // in place: on disk; the copy is about to go
    backupRemoved,
};
extern void (*saveStepReached)(SaveStep step);
