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
#include <vector>

// Reads the whole of a regular file of at most `maxSize` bytes into `out`.
// Anything else (a directory, a device, a FIFO, a file over the limit) is
// refused without blocking and without reading it. On failure `out` is left
// as it was.
Error readFile(const std::string& path, std::vector<uint8_t>& out, size_t maxSize);

struct WriteOptions {
    // A document: a symbolic link is followed to the file it names, which is
    // replaced while the link stays; the file keeps its mode (without set-id
    // bits), owner and group; a file with other hard links, or whose owner
    // could not be kept, is rewritten in place after a backup copy beside it,
    // so every name sees the new content. Off for scratch files the program
    // owns (the test image): whatever the name is becomes a new plain file
    // with the default mode, and nothing it pointed at is touched.
    bool keepFile = true;
};

// Writes `bytes` to `path` so that a failure at any step leaves the old file
// as it was (or, when writing in place fails, its content in a backup that
// the error names in `keptIn`). On success the data and the directory entry
// are on disk.
Error writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                          const WriteOptions& options = WriteOptions());

// True when `path` is an existing file the user may not write: no write
// permission bit at all (even for the superuser), or no access for this user.
// Saving over it should be confirmed first.
bool isReadOnlyFile(const std::string& path);

// Test seam: how a directory is flushed after a file in it was renamed or
// created. Returns 0 on success, like fsync.
extern int (*syncDirectory)(const std::string& dir);
