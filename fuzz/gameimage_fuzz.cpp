// Feeds any bytes to the game image reader the way the editor opens a file:
// written to disk and read back through the size and type checks, with a
// limit chosen by the first byte so that both sides of it are reached. Then
// saves what it read and reads that again: the second reading must give back
// the same set, each level in its slot. The segment chain walk meets the same bytes, and the game
// part the editor saves with always walks whole.
#include "core/atari.h"
#include "core/fileio.h"
#include "core/game.h"
#include "core/gameimage.h"
#include "core/gametemplate.h"
#include "core/messages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// Names the line of a broken promise before aborting, so that a crash
// report says which one.
void failed(int line)
{
    std::fprintf(stderr, "gameimage_fuzz.cpp:%d: check failed\n", line);
    std::abort();
}
#define check(condition) ((condition) ? void() : failed(__LINE__))

bool sameAsStored(const LevelData& a, const LevelData& b)
{
    // Counts of 160 and more do not fit one BCD byte: compare what is stored.
    return a.on == b.on && std::memcmp(a.cells, b.cells, sizeof a.cells) == 0 &&
           std::memcmp(a.colours, b.colours, sizeof a.colours) == 0 &&
           dec2hex(a.srubki) == dec2hex(b.srubki) && a.wzorek == b.wzorek;
}

} // namespace

namespace {

std::string scratchFile;

void removeScratchFile()
{
    unlink(scratchFile.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char name[] = "/tmp/zelbun-fuzz-XXXXXX";
    const int fd = mkstemp(name);
    check(fd >= 0);
    close(fd);
    scratchFile = name;
    std::atexit(removeScratchFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(scratchFile.c_str(), "wb");
    check(file && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0);
    const size_t limit = size > 0 && data[0] < 0x80 ? size_t(data[0]) * 256 : kGameImageReadLimit;
    std::vector<uint8_t> bytes;
    const Error error = readFile(scratchFile, bytes, limit);
    check(!error == (size <= limit));
    if (error) {
        check(bytes.empty() && error.fault == Fault::tooLarge);
        return 0;
    }
    check(bytes.size() == size && (size == 0 || std::memcmp(bytes.data(), data, size) == 0));

    const ChainBreak chainBreak = gamePartChainBreak(bytes.data(), bytes.size());
    check(chainBreak.fault == ChainFault::none || chainBreak.offset <= bytes.size());
    check(!describe(chainBreak, Language::english).empty() == (chainBreak.fault != ChainFault::none));

    const LoadResult first = readGameImage(bytes.data(), bytes.size());
    for (const LoadIssue& issue : first.issues)
        check(!describe(issue, Language::polish).empty() && !describe(issue, Language::english).empty());
    for (const auto& page : first.pages)
        for (const auto& line : page)
            check(std::strlen(line) == kPageColumns);

    // Saved and read again, the levels come back in their order, packed
    // into the first slots: the saved order table lists them one after
    // another.
    const std::vector<uint8_t> saved = writeGameImage(game, gameSize, first.levels, first.pages);
    check(gamePartChainBreak(saved.data(), saved.size()).fault == ChainFault::none);
    const LoadResult second = readGameImage(saved.data(), saved.size());
    check(second.issues.empty());
    check(std::memcmp(first.pages, second.pages, sizeof first.pages) == 0);
    int count = 0;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        if (first.levels[slot].on)
            check(sameAsStored(first.levels[slot], second.levels[count++]));
    for (int slot = count; slot < kLevelSlots; ++slot)
        check(!second.levels[slot].on);

    // A test image holds one level, which opens in the first slot.
    if (count > 0) {
        const std::vector<uint8_t> test = writeTestImage(game, gameSize, second.levels[0], 7, first.pages);
        const LoadResult third = readGameImage(test.data(), test.size());
        check(third.issues.empty());
        check(sameAsStored(third.levels[0], second.levels[0]));
        for (int slot = 1; slot < kLevelSlots; ++slot)
            check(!third.levels[slot].on);
    }
    return 0;
}
