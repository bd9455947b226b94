#include "core/gameimage.h"

#include "core/atari.h"
#include "core/pathname.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

constexpr unsigned kSegmentLastByte = kLevelBytes - 1; // end address minus start address

// Offsets inside a segment, counted from its start address.
constexpr size_t kCellsAt = kSegmentHeaderSize;
constexpr size_t kSlotByteAt = kSegmentHeaderSize + kLevelSlotByte;
constexpr size_t kScrewsAt = kSegmentHeaderSize + kLevelScrews;
constexpr size_t kColoursAt = kSegmentHeaderSize + kLevelColours;

constexpr size_t kOrderTableEnd = kOrderTableOffset + kLevelSlots;
constexpr size_t kPagesEnd = kPageOffsets[1] + kPageSize;

// The template up to the level list, with the text pages written in.
std::vector<uint8_t> imageHead(const uint8_t* tmpl, size_t tmplSize, const TextPage pages[2])
{
    assert(tmplSize == kTemplateSize);
    (void)tmplSize;
    std::vector<uint8_t> out(tmpl, tmpl + kLevelListOffset);
    for (int page = 0; page < 2; ++page)
        for (int line = 0; line < kPageLines; ++line)
            for (int column = 0; column < kPageColumns; ++column) {
                const int code = static_cast<unsigned char>(pages[page][line][column]);
                out[kPageOffsets[page] + line * kPageColumns + column] =
                    static_cast<uint8_t>(ascii2atascii(code));
            }
    return out;
}

void appendSegment(std::vector<uint8_t>& out, const LevelData& level, int slot)
{
    assert(slot >= 0 && slot < kLevelSlots);
    const unsigned start = kLevelsAddress + kLevelStride * slot;
    const unsigned end = start + kSegmentLastByte;
    out.push_back(start & 0xFF);
    out.push_back(start >> 8 & 0xFF);
    out.push_back(end & 0xFF);
    out.push_back(end >> 8 & 0xFF);
    // The game keeps the grid row after row.
    for (int row = 0; row < kLevelRows; ++row)
        for (int column = 0; column < kLevelColumns; ++column)
            out.push_back(level.cells[column][row]);
    // The wall pattern rides in the top three bits of the slot byte.
    out.push_back(static_cast<uint8_t>(slot + 32u * static_cast<unsigned>(level.wzorek)));
    out.push_back(static_cast<uint8_t>(dec2hex(level.srubki)));
    for (int colour : level.colours)
        out.push_back(static_cast<uint8_t>(colour));
}

LevelData levelFromSegment(const uint8_t* segment)
{
    LevelData level;
    level.on = true;
    for (int i = 0; i < kLevelColumns * kLevelRows; ++i)
        level.cells[i % kLevelColumns][i / kLevelColumns] = segment[kCellsAt + i];
    level.wzorek = segment[kSlotByteAt] / 32;
    level.srubki = hex2dec(segment[kScrewsAt]);
    for (int i = 0; i < kColourRegisters; ++i)
        level.colours[i] = segment[kColoursAt + i];
    return level;
}

LoadIssue cutShort(size_t size, CutShortAt where, int slot = -1)
{
    LoadIssue issue;
    issue.kind = LoadIssue::cutShort;
    issue.size = size;
    issue.where = where;
    issue.slot = slot;
    return issue;
}

LoadIssue segmentIssue(LoadIssue::Kind kind, size_t offset, int slotByte)
{
    LoadIssue issue;
    issue.kind = kind;
    issue.offset = offset;
    issue.byte = slotByte;
    return issue;
}

constexpr uint8_t kAtrSignature[2] = {0x96, 0x02};

} // namespace

int segmentsLeftOut(const std::vector<LoadIssue>& issues)
{
    return int(std::count_if(issues.begin(), issues.end(), [](const LoadIssue& issue) {
        return issue.kind == LoadIssue::segmentUnlisted || issue.kind == LoadIssue::segmentReplaced;
    }));
}

std::vector<uint8_t> writeGameImage(const uint8_t* tmpl, size_t tmplSize,
                                    const LevelData levels[kLevelSlots],
                                    const TextPage pages[2])
{
    std::vector<uint8_t> out = imageHead(tmpl, tmplSize, pages);
    // Entries past the last level keep the template's bytes.
    size_t entry = kOrderTableOffset;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        if (levels[slot].on)
            out[entry++] = static_cast<uint8_t>(kOrderListed + slot);
    out.reserve(out.size() + kLevelSlots * kSegmentSize + kSetEndMarkerSize);
    for (int slot = kLevelSlots - 1; slot >= 0; --slot)
        if (levels[slot].on)
            appendSegment(out, levels[slot], slot);
    out.resize(out.size() + kSetEndMarkerSize, 0);
    return out;
}

std::vector<uint8_t> writeTestImage(const uint8_t* tmpl, size_t tmplSize,
                                    const LevelData& level, int slot,
                                    const TextPage pages[2])
{
    std::vector<uint8_t> out = imageHead(tmpl, tmplSize, pages);
    out[kOrderTableOffset] = static_cast<uint8_t>(kOrderListed + slot);
    appendSegment(out, level, slot);
    out.resize(out.size() + kTestEndMarkerSize, 0);
    return out;
}

LoadResult readGameImage(const uint8_t* data, size_t size, int eraserCode)
{
    LoadResult result;
    for (auto& page : result.pages)
        blankPage(page);
    for (LevelData& level : result.levels)
        level = emptyLevel(eraserCode);
    // A page cut short keeps what the data holds; the rest stays blank.
    for (int page = 0; page < kTextPages; ++page)
        for (size_t i = 0; i < kPageSize && kPageOffsets[page] + i < size; ++i) {
            const int code = atascii2ascii(data[kPageOffsets[page] + i]);
            // No screen code maps to 0 today, but a NUL would cut the line
            // short: such a cell stays a space.
            if (code != 0)
                result.pages[page][i / kPageColumns][i % kPageColumns] = static_cast<char>(code);
        }

    // positions[slot] is the editor slot the level of that slot loads into;
    // kLevelSlots marks a slot the table does not list.
    int positions[kLevelSlots];
    for (int& position : positions)
        position = kLevelSlots;
    for (int k = 0; k < kLevelSlots && kOrderTableOffset + k < size; ++k) {
        const int slot = data[kOrderTableOffset + k] - kOrderListed;
        if (slot >= 0 && slot < kLevelSlots)
            positions[slot] = k; // a slot listed twice keeps its later position
    }

    if (size < kLevelListOffset) {
        const CutShortAt where = size < kOrderTableEnd ? CutShortAt::orderTable
                                 : size < kPagesEnd    ? CutShortAt::pages
                                                       : CutShortAt::beforeLevelList;
        result.issues.push_back(cutShort(size, where));
        return result;
    }

    size_t segmentAt[kLevelSlots] = {};  // the file offset each place was read from
    for (size_t at = kLevelListOffset, count = 0;; at += kSegmentSize, ++count) {
        if (count == kLevelSlots && size - at >= 2 && (data[at] != 0 || data[at + 1] != 0)) {
            LoadIssue issue;
            issue.kind = LoadIssue::tooManyLevels;
            result.issues.push_back(issue);
            break;
        }
        if (size - at < 2) {
            result.issues.push_back(cutShort(size, CutShortAt::levelList));
            break;
        }
        if (data[at] == 0 && data[at + 1] == 0)
            break;
        if (size - at < kSegmentSize) {
            // The slot byte is lost with the rest; the start address still
            // says whose level this was.
            const unsigned start = data[at] | data[at + 1] << 8;
            const unsigned slot = (start - kLevelsAddress) / kLevelStride;
            const bool known = start >= kLevelsAddress && (start - kLevelsAddress) % kLevelStride == 0 &&
                               slot < unsigned(kLevelSlots) && positions[slot] < kLevelSlots;
            result.issues.push_back(cutShort(size, CutShortAt::level, known ? positions[slot] : -1));
            break;
        }
        const uint8_t* segment = data + at;
        const int slot = segment[kSlotByteAt] % kLevelSlots;
        const unsigned address = segment[0] | segment[1] << 8;
        if (address != kLevelsAddress + kLevelStride * unsigned(slot)) {
            LoadIssue issue = segmentIssue(LoadIssue::slotMismatch, at, slot);
            issue.address = address;
            result.issues.push_back(issue);
        }
        const int target = positions[slot];
        if (target >= kLevelSlots) {
            result.issues.push_back(segmentIssue(LoadIssue::segmentUnlisted, at, slot));
            continue;
        }
        if (segmentAt[target] > 0) {
            LoadIssue issue = segmentIssue(LoadIssue::segmentReplaced, segmentAt[target], slot);
            issue.slot = target;
            result.issues.push_back(issue);
        }
        segmentAt[target] = at;
        LevelData& level = result.levels[target];
        level = levelFromSegment(segment);
        // A count the game could not show would change at the next save:
        // it is clamped now, and said so.
        const uint8_t screws = segment[kScrewsAt];
        if ((screws >> 4) > 9 || (screws & 0x0F) > 9) {
            level.srubki = std::min(level.srubki, kMaxScrews);
            LoadIssue issue;
            issue.kind = LoadIssue::badScrewCount;
            issue.slot = target;
            issue.byte = screws;
            issue.clamped = level.srubki;
            result.issues.push_back(issue);
        }
    }
    return result;
}

Error gameImageProblem(const uint8_t* data, size_t size)
{
    Error error;
    if (size == 0)
        error.fault = Fault::emptyFile;
    else if (size < 2 || data[0] != kAtrSignature[0] || data[1] != kAtrSignature[1])
        error.fault = Fault::notDiskImage;
    else if (size < kLevelListOffset)
        error.fault = Fault::tooShortForGame;
    error.size = size;
    return error;
}

std::vector<uint8_t> orderTable(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> table(kLevelSlots, 0);
    for (size_t i = 0; i < table.size() && kOrderTableOffset + i < size; ++i)
        table[i] = data[kOrderTableOffset + i];
    return table;
}

bool hasNoDot(const std::string& path)
{
    return fileNameOf(path).find('.') == std::string::npos;
}

std::string withAtrExtension(std::string path)
{
    if (hasNoDot(path))
        path += ".atr";
    return path;
}
