#include "editor/fileio.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool fail(std::string& error, const std::string& path, const char* what, int code)
{
    error = path + ": " + what + ": " + std::strerror(code);
    return false;
}

} // namespace

bool readFile(const std::string& path, std::vector<uint8_t>& out, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return fail(error, path, "cannot open", errno);
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool readError = std::ferror(file);
    const int code = errno;
    std::fclose(file);
    if (readError)
        return fail(error, path, "cannot read", code);
    out.swap(bytes);
    return true;
}

#ifdef _WIN32

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error)
{
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return fail(error, temporary, "cannot create", errno);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = _commit(_fileno(file)) == 0 && ok;
    const int code = errno;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::remove(temporary.c_str());
        return fail(error, temporary, "cannot write", code);
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        std::remove(temporary.c_str());
        error = path + ": cannot replace the file (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

#else

namespace {

// mkstemp creates its file readable by the owner alone: give the new file
// the mode the target has, or what a plain create would give it.
bool setFinalMode(int fd, const std::string& path)
{
    struct stat target;
    if (stat(path.c_str(), &target) == 0)
        return fchmod(fd, target.st_mode & 07777) == 0;
    const mode_t mask = umask(0);
    umask(mask);
    return fchmod(fd, 0666 & ~mask) == 0;
}

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

} // namespace

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string& error)
{
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0)
        return fail(error, path, "cannot create a temporary file beside it", errno);

    const char* step = nullptr;
    if (!setFinalMode(fd, path))
        step = "cannot set the mode of the temporary file";
    else if (!writeAll(fd, bytes.data(), bytes.size()))
        step = "cannot write";
    else if (fsync(fd) != 0)
        step = "cannot flush to disk";
    int code = errno;
    if (close(fd) != 0 && !step) {
        step = "cannot close";
        code = errno;
    }
    if (!step && rename(temporary.c_str(), path.c_str()) != 0) {
        step = "cannot replace the file";
        code = errno;
    }
    if (step) {
        unlink(temporary.c_str());
        return fail(error, path, step, code);
    }
    return true;
}

#endif
