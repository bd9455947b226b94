// Whole-file reads and atomic writes, on a scratch directory.
#include "core/fileio.h"
#include "core/messages.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
        writeFileAtomically(path, bytesOf(30000, 6));
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
