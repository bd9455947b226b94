// Whole-file reads and atomic writes, on a scratch directory. Saves are
// killed at each of their steps in a child process, through the
// saveStepReached seam.
#include "core/fileio.h"
#include "core/messages.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FileIo : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/zelbun-fileio.XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override { fs::remove_all(dir); }

    size_t entriesIn(const fs::path& where) const
    {
        return std::distance(fs::directory_iterator(where), fs::directory_iterator());
    }

    fs::path dir;
};

std::vector<uint8_t> bytesOf(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 13);
    return bytes;
}

// What failed, with the path as given and the window's reason; empty on
// success.
std::string said(const Error& error)
{
    return error ? error.path + ": " + reason(error, Language::polish) : "";
}

} // namespace

TEST_F(FileIo, RoundTripReplacesTheTarget)
{
    const std::string path = (dir / "zestaw.atr").string();
    ASSERT_EQ(said(writeFileAtomically(path, bytesOf(20000, 1))), "");
    // A shorter file over a longer one leaves no tail of the old one.
    ASSERT_EQ(said(writeFileAtomically(path, bytesOf(11428, 2))), "");
    std::vector<uint8_t> back;
    ASSERT_EQ(said(readFile(path, back, 1 << 20)), "");
    EXPECT_EQ(back, bytesOf(11428, 2));
    EXPECT_EQ(entriesIn(dir), 1u); // no temporary file left behind
    // The same permissions as a plain create would give.
    const fs::path plain = dir / "plain";
    std::ofstream(plain).put('x');
    EXPECT_EQ(fs::status(path).permissions(), fs::status(plain).permissions());
}

TEST_F(FileIo, MissingDirectoryFailsAndCreatesNothing)
{
    const std::string path = (dir / "brak" / "zestaw.atr").string();
    std::string error = said(writeFileAtomically(path, bytesOf(10, 0)));
    EXPECT_NE(error, "");
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_NE(error.find("nie ma takiego pliku"), std::string::npos);
    EXPECT_EQ(entriesIn(dir), 0u);

    std::vector<uint8_t> out = {1, 2, 3};
    error = said(readFile(path, out, 1 << 20));
    EXPECT_NE(error, "");
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_EQ(out.size(), 3u);
}

TEST_F(FileIo, FailedRenameLeavesTargetAndNoTemporary)
{
    // A non-empty directory cannot be replaced by a file.
    const fs::path target = dir / "zestaw.atr";
    fs::create_directory(target);
    std::ofstream(target / "inside") << "kept";
    std::string error = said(writeFileAtomically(target.string(), bytesOf(100, 0)));
    EXPECT_NE(error, "");
    EXPECT_NE(error.find(target.string()), std::string::npos);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(entriesIn(target), 1u);
    EXPECT_EQ(entriesIn(dir), 1u);
}

TEST_F(FileIo, FailedWriteLeavesTargetByteForByte)
{
    const std::string path = (dir / "zestaw.atr").string();
    const std::vector<uint8_t> old = bytesOf(3000, 7);
    std::string error;
    ASSERT_EQ(said(writeFileAtomically(path, old)), "");

    // A file size limit makes the write itself fail (tests run as root, so
    // permissions would not).
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    error = said(writeFileAtomically(path, bytesOf(11428, 9)));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_NE(error.find("plik za duzy"), std::string::npos);
    std::vector<uint8_t> back;
    ASSERT_EQ(said(readFile(path, back, 1 << 20)), "");
    EXPECT_EQ(back, old);
    EXPECT_EQ(entriesIn(dir), 1u);
}

// Only regular files are read, and only up to the limit: nothing here may
// block, run out of memory or change what the caller holds.
TEST_F(FileIo, ReadsOnlyRegularFilesWithinTheLimit)
{
    const fs::path fifo = dir / "potok.atr";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path big = dir / "duzy.atr";
    std::ofstream(big, std::ios::binary) << std::string(4097, 'x');
    const fs::path zeroLink = dir / "zera.atr";
    fs::create_symlink("/dev/zero", zeroLink);

    const struct {
        std::string path;
        const char* reason;
    } refused[] = {
        {fifo.string(), "to nie jest zwykly plik"},
        {"/dev/zero", "to nie jest zwykly plik"},
        {zeroLink.string(), "to nie jest zwykly plik"},
        {dir.string(), "to jest katalog"},
        {big.string(), "plik za duzy (4097 bajtow, najwiecej 4096)"},
    };
    for (const auto& c : refused) {
        std::vector<uint8_t> out = {1, 2, 3};
        EXPECT_EQ(said(readFile(c.path, out, 4096)), c.path + ": " + c.reason);
        EXPECT_EQ(out.size(), 3u);
    }
    std::vector<uint8_t> out;
    fs::resize_file(big, 4096);
    EXPECT_EQ(said(readFile(big.string(), out, 4096)), "");
    EXPECT_EQ(out.size(), 4096u);
}

// A save through a chain of symbolic links replaces the file at its end and
// leaves the links; a file with a second hard link is rewritten in place, so
// both names see the new content and no backup copy stays behind.
TEST_F(FileIo, SaveKeepsLinks)
{
    fs::create_directory(dir / "zbiory");
    const fs::path real = dir / "zbiory" / "gra.atr";
    ASSERT_EQ(said(writeFileAtomically(real.string(), bytesOf(100, 1))), "");
    fs::create_symlink("zbiory/gra.atr", dir / "posredni.atr");
    fs::create_symlink(dir / "posredni.atr", dir / "gra.atr");

    ASSERT_EQ(said(writeFileAtomically((dir / "gra.atr").string(), bytesOf(200, 2))), "");
    EXPECT_TRUE(fs::is_symlink(dir / "gra.atr"));
    EXPECT_TRUE(fs::is_symlink(dir / "posredni.atr"));
    std::vector<uint8_t> back;
    ASSERT_EQ(said(readFile(real.string(), back, 1 << 20)), "");
    EXPECT_EQ(back, bytesOf(200, 2));
    EXPECT_EQ(entriesIn(dir / "zbiory"), 1u);

    fs::create_hard_link(real, dir / "kopia.atr");
    ASSERT_EQ(said(writeFileAtomically(real.string(), bytesOf(50, 3))), "");
    ASSERT_EQ(said(readFile((dir / "kopia.atr").string(), back, 1 << 20)), "");
    EXPECT_EQ(back, bytesOf(50, 3));
    EXPECT_EQ(fs::hard_link_count(real), 2u);
    EXPECT_EQ(entriesIn(dir / "zbiory"), 1u);
}

// The mode, owner and group stay; set-id bits never survive a save.
TEST_F(FileIo, SaveKeepsModeOwnerAndGroupButNoSetIdBits)
{
    const std::string shared = (dir / "wspolny.atr").string();
    const std::string setuid = (dir / "program.atr").string();
    ASSERT_EQ(said(writeFileAtomically(shared, bytesOf(10, 0))), "");
    ASSERT_EQ(said(writeFileAtomically(setuid, bytesOf(10, 0))), "");
    ASSERT_EQ(chmod(shared.c_str(), 0664), 0);
    ASSERT_EQ(chmod(setuid.c_str(), 06755), 0);
    // Only the superuser may hand a file to someone else.
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(shared.c_str(), 1234, 2345), 0);
    }

    ASSERT_EQ(said(writeFileAtomically(shared, bytesOf(20, 1))), "");
    ASSERT_EQ(said(writeFileAtomically(setuid, bytesOf(20, 1))), "");
    struct stat info;
    ASSERT_EQ(stat(shared.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    if (root) {
        EXPECT_EQ(info.st_uid, 1234u);
        EXPECT_EQ(info.st_gid, 2345u);
    }
    ASSERT_EQ(stat(setuid.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u);
}

// The test image is our own scratch file: a link planted under its name is
// replaced by a plain file, and what it pointed at stays as it was.
TEST_F(FileIo, ScratchSaveReplacesOnlyTheName)
{
    const fs::path victim = dir / "program";
    std::ofstream(victim) << "keep";
    ASSERT_EQ(chmod(victim.c_str(), 04755), 0);
    fs::create_symlink(victim, dir / "test.atr");
    fs::create_hard_link(victim, dir / "test2.atr");
    WriteOptions scratch;
    scratch.keepFile = false;
    for (const char* name : {"test.atr", "test2.atr"})
        ASSERT_EQ(said(writeFileAtomically((dir / name).string(), bytesOf(30, 4), scratch)), "");
    EXPECT_FALSE(fs::is_symlink(dir / "test.atr"));
    EXPECT_EQ(fs::file_size(dir / "test.atr"), 30u);
    EXPECT_EQ(fs::file_size(victim), 4u);
    EXPECT_EQ(fs::hard_link_count(victim), 1u);
    EXPECT_EQ(fs::status(victim).permissions(), fs::perms(04755));
    EXPECT_EQ(fs::status(dir / "test2.atr").permissions() & fs::perms::set_uid, fs::perms::none);
}

// A name at the length limit still saves (the temporary name is short), and
// the directory is flushed once the new file is in place.
TEST_F(FileIo, LongNameSavesAndTheDirectoryIsFlushed)
{
    static std::vector<std::string> synced;
    synced.clear();
    auto realSync = syncDirectory;
    syncDirectory = [](const std::string& where) {
        synced.push_back(where);
        return 0;
    };
    const std::string path = (dir / (std::string(250, 'z') + ".atr")).string();
    const std::string first = said(writeFileAtomically(path, bytesOf(10, 0)));
    const std::string second = said(writeFileAtomically(path, bytesOf(20, 0)));
    syncDirectory = realSync;
    ASSERT_EQ(first + second, "");
    EXPECT_EQ(fs::file_size(path), 20u);
    EXPECT_EQ(synced, std::vector<std::string>(2, dir.string()));
}

// A save killed half way leaves the old file, and whatever else it left
// does not stand in the next save's way.
TEST_F(FileIo, KilledSaveLeavesTheOldFileAndNoObstacle)
{
    const std::string path = (dir / "zestaw.atr").string();
    ASSERT_EQ(said(writeFileAtomically(path, bytesOf(1000, 5))), "");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The file size limit kills the writer in the middle of its write.
        rlimit small = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        static_cast<void>(writeFileAtomically(path, bytesOf(30000, 6)));
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::vector<uint8_t> back;
    ASSERT_EQ(said(readFile(path, back, 1 << 20)), "");
    EXPECT_EQ(back, bytesOf(1000, 5));
    ASSERT_EQ(said(writeFileAtomically(path, bytesOf(30000, 7))), "");
    ASSERT_EQ(said(readFile(path, back, 1 << 20)), "");
    EXPECT_EQ(back, bytesOf(30000, 7));
}

TEST_F(FileIo, ReadOnlyFilesAreToldApart)
{
    const fs::path file = dir / "plik.atr";
    std::ofstream(file) << "x";
    EXPECT_FALSE(isReadOnlyFile(file.string()));
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    EXPECT_TRUE(isReadOnlyFile(file.string())); // even for the superuser
    EXPECT_FALSE(isReadOnlyFile((dir / "brak.atr").string()));
}

namespace {

SaveStep killAt;

std::set<std::string> namesIn(const fs::path& where)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(where))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace

// A save killed at any point leaves the name showing the old content or the
// new, whole. Only a file rewritten in place can be caught half way, and
// then the copy of its old content waits beside it for the next opening.
// Whatever else a killed save leaves, the next save clears away.
TEST_F(FileIo, SaveKilledAtAnyStepLeavesOldOrNewOrAFoundCopy)
{
    const std::string path = (dir / "zestaw.atr").string();
    // Shorter than the old content: a rewrite cut short before the cut to
    // length is neither.
    const std::vector<uint8_t> oldBytes = bytesOf(6000, 1), newBytes = bytesOf(2500, 2);
    int caughtHalfWay = 0;
    for (const bool hardLinked : {false, true}) {
        for (int step = 0; step <= int(SaveStep::backupRemoved); ++step) {
            SCOPED_TRACE((hardLinked ? "in place, step " : "replaced, step ") + std::to_string(step));
            for (const auto& entry : fs::directory_iterator(dir))
                fs::remove(entry.path());
            ASSERT_EQ(said(writeFileAtomically(path, oldBytes)), "");
            std::set<std::string> names = {"zestaw.atr"};
            if (hardLinked) {
                fs::create_hard_link(path, dir / "drugi.atr");
                names.insert("drugi.atr");
            }
            killAt = SaveStep(step);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                saveStepReached = [](SaveStep reached) {
                    if (reached == killAt)
                        raise(SIGKILL);
                };
                static_cast<void>(writeFileAtomically(path, newBytes));
                _exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);

            std::vector<uint8_t> now;
            ASSERT_EQ(said(readFile(path, now, 1 << 20)), "");
            const std::string copy = findInterruptedSave(path).copy;
            if (now != oldBytes && now != newBytes) {
                ++caughtHalfWay;
                ASSERT_NE(copy, "") << "a torn file and no copy of the old content";
            }
            std::set<std::string> allowed = names;
            if (!copy.empty()) {
                std::vector<uint8_t> kept;
                ASSERT_EQ(said(readSavedCopy(copy, kept, 1 << 20)), "");
                EXPECT_EQ(kept, oldBytes);
                allowed.insert(fileNameOf(copy));
            }
            for (const std::string& name : namesIn(dir)) {
                if (!allowed.count(name)) {
                    EXPECT_EQ(name.compare(0, 4, ".zkn"), 0) << name << " is not ours";
                }
            }

            ASSERT_EQ(said(writeFileAtomically(path, newBytes)), "");
            EXPECT_EQ(namesIn(dir), names);
            EXPECT_EQ(findInterruptedSave(path).copy, "");
        }
    }
    EXPECT_EQ(caughtHalfWay, 1);  // in place, killed between the write and the cut to length
}

// Two steps in place at once would each take the other's half-written file
// for the old content: a save finds the copy another one holds and stops.
TEST_F(FileIo, SecondSaveInPlaceWaitsForTheFirst)
{
    const std::string path = (dir / "zestaw.atr").string();
    ASSERT_EQ(said(writeFileAtomically(path, bytesOf(3000, 1))), "");
    fs::create_hard_link(path, dir / "drugi.atr");
    int ready[2], proceed[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(proceed), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        static int readyFd, proceedFd;
        readyFd = ready[1];
        proceedFd = proceed[0];
        saveStepReached = [](SaveStep reached) {
            if (reached != SaveStep::backupNamed)
                return;
            char byte = 1;
            if (write(readyFd, &byte, 1) != 1 || read(proceedFd, &byte, 1) != 1)
                _exit(3);
        };
        _exit(writeFileAtomically(path, bytesOf(2000, 2)) ? 1 : 0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    const Error second = writeFileAtomically(path, bytesOf(1000, 3));
    EXPECT_EQ(findInterruptedSave(path).copy, "") << "the copy of a running save is no leftover";
    ASSERT_EQ(write(proceed[1], &byte, 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    for (int fd : {ready[0], ready[1], proceed[0], proceed[1]})
        close(fd);
    EXPECT_EQ(second.fault, Fault::saveInProgress);
    EXPECT_EQ(reason(second, Language::polish), "plik jest wlasnie zapisywany przez inny program");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::vector<uint8_t> now;
    ASSERT_EQ(said(readFile(path, now, 1 << 20)), "");
    EXPECT_EQ(now, bytesOf(2000, 2));
    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"drugi.atr", "zestaw.atr"}));
}

namespace {

// A POSIX access list as the kernel stores it in system.posix_acl_access:
// a version, then (tag, permissions, id) entries sorted by tag.
std::string accessList(std::initializer_list<std::array<uint32_t, 3>> entries)
{
    std::string bytes;
    auto put = [&](uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += char(value >> (8 * i) & 0xFF);
    };
    put(2, 4);
    for (const auto& entry : entries) {
        put(entry[0], 2);
        put(entry[1], 2);
        put(entry[2], 4);
    }
    return bytes;
}

const uint32_t owner = 0x01, namedUser = 0x02, group = 0x04, mask = 0x10, others = 0x20, noId = 0xFFFFFFFF;

std::string attribute(const std::string& path, const char* name)
{
    char value[256];
    const ssize_t size = getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? "(none)" : std::string(value, size_t(size));
}

} // namespace

// A file's access list and extended attributes survive a save, whichever
// way the save goes; a new file does not take an access list from its
// directory that the old one did not have.
TEST_F(FileIo, SaveKeepsAccessListsAndExtendedAttributes)
{
    const std::string plain = (dir / "zestaw.atr").string(), linked = (dir / "drugi.atr").string();
    const std::string list = accessList(
        {{owner, 6, noId}, {namedUser, 4, 4321}, {group, 4, noId}, {mask, 4, noId}, {others, 0, noId}});
    for (const std::string& path : {plain, linked}) {
        ASSERT_EQ(said(writeFileAtomically(path, bytesOf(100, 1))), "");
        if (setxattr(path.c_str(), "user.zrodlo", "plansze", 7, 0) != 0)
            GTEST_SKIP() << dir << " takes no extended attributes: " << std::strerror(errno);
        if (setxattr(path.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0)
            GTEST_SKIP() << dir << " takes no access lists: " << std::strerror(errno);
    }
    fs::create_hard_link(linked, dir / "trzeci.atr");
    for (const std::string& path : {plain, linked}) {
        SCOPED_TRACE(path);
        ASSERT_EQ(said(writeFileAtomically(path, bytesOf(200, 2))), "");
        EXPECT_EQ(attribute(path, "user.zrodlo"), "plansze");
        EXPECT_EQ(attribute(path, "system.posix_acl_access"), list);
        EXPECT_EQ(fs::file_size(path), 200u);
    }

    // The directory hands every new file an access list by default.
    const std::string inherited = accessList({{owner, 7, noId}, {namedUser, 7, 4321}, {group, 5, noId},
                                              {mask, 7, noId}, {others, 5, noId}});
    const std::string bare = (dir / "bez.atr").string();
    ASSERT_EQ(said(writeFileAtomically(bare, bytesOf(10, 3))), "");
    const fs::perms mode = fs::status(bare).permissions();
    ASSERT_EQ(setxattr(dir.c_str(), "system.posix_acl_default", inherited.data(), inherited.size(), 0), 0);
    ASSERT_EQ(said(writeFileAtomically(bare, bytesOf(20, 3))), "");
    EXPECT_EQ(attribute(bare, "system.posix_acl_access"), "(none)");
    EXPECT_EQ(fs::status(bare).permissions(), mode);
}
