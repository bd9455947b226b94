// Feeds any bytes to the game image reader the way the editor opens a file:
// written to disk and read back through the size and type checks, with a
// limit chosen by the first byte so that both sides of it are reached. Then
// saves what it read and reads that again: the second reading must give back
// the same set. The segment chain walk meets the same bytes, and the game
// part the editor saves with always walks whole.
#include "core/atari.h"
#include "core/fileio.h"
#include "core/game.h"
#include "core/gameimage.h"
#include "core/gametemplate.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameLevel(const LevelData& a, const LevelData& b)
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
    std::string error;
    const bool accepted = readFile(scratchFile, bytes, error, limit);
    check(accepted == (size <= limit));
    if (!accepted) {
        check(bytes.empty() && !error.empty());
        return 0;
    }
    check(bytes.size() == size && (size == 0 || std::memcmp(bytes.data(), data, size) == 0));

    const ChainBreak chainBreak = gamePartChainBreak(bytes.data(), bytes.size());
    check(chainBreak.fault == ChainFault::none || chainBreak.offset <= bytes.size());
    check(!describeChainBreak(chainBreak).empty() == (chainBreak.fault != ChainFault::none));

    const LoadResult first = readGameImage(bytes.data(), bytes.size());
    check(first.levels.size() <= size_t(kLevelSlots));

    // What the editor does with it: a later level for the same slot wins.
    LevelData levels[kLevelSlots];
    for (const LoadedLevel& loaded : first.levels) {
        check(loaded.target >= 0 && loaded.target < kLevelSlots);
        levels[loaded.target] = loaded.level;
    }
    for (const auto& page : first.pages)
        for (const auto& line : page)
            check(std::strlen(line) == kPageColumns);

    const std::vector<uint8_t> saved = writeGameImage(game, gameSize, levels, first.pages);
    check(gamePartChainBreak(saved.data(), saved.size()).fault == ChainFault::none);
    const LoadResult second = readGameImage(saved.data(), saved.size());
    check(second.warning.empty());
    check(std::memcmp(first.pages, second.pages, sizeof first.pages) == 0);

    // Saved from slot 31 down, listed in ascending order: the levels come
    // back packed into slots 0..n-1.
    int slotsOn[kLevelSlots];
    int count = 0;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        if (levels[slot].on)
            slotsOn[count++] = slot;
    check(second.levels.size() == static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const LoadedLevel& back = second.levels[i];
        check(back.target == count - 1 - i);
        check(sameLevel(back.level, levels[slotsOn[back.target]]));
    }

    if (count > 0) {
        const std::vector<uint8_t> test =
            writeTestImage(game, gameSize, levels[slotsOn[0]], slotsOn[0], first.pages);
        const LoadResult third = readGameImage(test.data(), test.size());
        check(third.levels.size() == 1 && third.levels[0].target == 0);
        check(sameLevel(third.levels[0].level, levels[slotsOn[0]]));
    }
    return 0;
}
