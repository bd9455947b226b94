// Whole-file reads and atomic writes, on a scratch directory.
#include "editor/fileio.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

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

} // namespace

TEST_F(FileIo, RoundTripReplacesTheTarget)
{
    const std::string path = (dir / "zestaw.atr").string();
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, bytesOf(20000, 1), error)) << error;
    // A shorter file over a longer one leaves no tail of the old one.
    ASSERT_TRUE(writeFileAtomically(path, bytesOf(11428, 2), error)) << error;
    std::vector<uint8_t> back;
    ASSERT_TRUE(readFile(path, back, error)) << error;
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
    std::string error;
    EXPECT_FALSE(writeFileAtomically(path, bytesOf(10, 0), error));
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos);
    EXPECT_EQ(entriesIn(dir), 0u);

    std::vector<uint8_t> out = {1, 2, 3};
    EXPECT_FALSE(readFile(path, out, error));
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_EQ(out.size(), 3u);
}

TEST_F(FileIo, FailedRenameLeavesTargetAndNoTemporary)
{
    // A non-empty directory cannot be replaced by a file.
    const fs::path target = dir / "zestaw.atr";
    fs::create_directory(target);
    std::ofstream(target / "inside") << "kept";
    std::string error;
    EXPECT_FALSE(writeFileAtomically(target.string(), bytesOf(100, 0), error));
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
    ASSERT_TRUE(writeFileAtomically(path, old, error)) << error;

    // A file size limit makes the write itself fail (tests run as root, so
    // permissions would not).
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writeFileAtomically(path, bytesOf(11428, 9), error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_NE(error.find(std::strerror(EFBIG)), std::string::npos);
    std::vector<uint8_t> back;
    ASSERT_TRUE(readFile(path, back, error)) << error;
    EXPECT_EQ(back, old);
    EXPECT_EQ(entriesIn(dir), 1u);
}
