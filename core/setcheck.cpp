#include "core/setcheck.h"

#include "core/atari.h"
#include "core/gameimage.h"
#include "core/gametemplate.h"
#include "core/level.h"

namespace {

constexpr int kListedFirst = 0x80;
constexpr unsigned kSlotStride = 0x200;

bool listsSlot(int byte)
{
    return byte >= kListedFirst && byte < kListedFirst + kLevelSlots;
}

unsigned word(const uint8_t* bytes)
{
    return bytes[0] | bytes[1] << 8;
}

// Walks the level list as the game's loader does: start and end address,
// then the bytes, until a start of zero. Marks the slots whose level memory
// a whole segment fills, and reports segments that load outside it. False
// when the list is cut short: what it would have filled is unknown.
bool checkSegments(const uint8_t* data, size_t size, bool filled[kLevelSlots], std::vector<SetFinding>& findings)
{
    size_t at = kLevelListOffset;
    while (size - at >= 2) {
        const unsigned start = word(data + at);
        if (start == 0)
            return true;
        if (start == 0xFFFF) {  // a load-file header word, skipped by the loader
            at += 2;
            continue;
        }
        if (size - at < 4)
            return false;
        const unsigned end = word(data + at + 2);
        if (end < start)
            return true;  // the loader stops there
        const size_t length = end - start + 1;
        if (size - at - 4 < length)
            return false;
        if (start < kLevelMemoryFirst || end > kLevelMemoryLast) {
            SetFinding finding{SetFindingKind::segmentOverGame};
            finding.offset = at;
            finding.start = start;
            finding.end = end;
            findings.push_back(finding);
        }
        for (int slot = 0; slot < kLevelSlots; ++slot) {
            const unsigned base = kLevelMemoryFirst + kSlotStride * unsigned(slot);
            filled[slot] = filled[slot] || (start <= base && base <= end);
        }
        at += 4 + length;
    }
    return false;
}

// `filled` is null when the level list is cut short.
void checkOrder(const std::vector<uint8_t>& order, const bool* filled, std::vector<SetFinding>& findings)
{
    int played = 0;
    while (played < kLevelSlots && listsSlot(order[played]))
        ++played;

    if (played == 0) {
        SetFinding finding{SetFindingKind::nothingToPlay};
        finding.entry = 0;
        finding.byte = order[0];
        findings.push_back(finding);
    } else if (played < kLevelSlots && order[played] != 0) {
        SetFinding finding{SetFindingKind::orderEndsEarly};
        finding.entry = played;
        finding.byte = order[played];
        findings.push_back(finding);
    }

    SetFinding gap{SetFindingKind::orderGap};
    gap.entry = played;
    for (int entry = played + 1; entry < kLevelSlots; ++entry)
        if (listsSlot(order[entry]) && gap.count++ == 0)
            gap.next = entry;
    if (gap.count > 0)
        findings.push_back(gap);

    for (int entry = 0; entry < played && filled; ++entry) {
        const int slot = order[entry] - kListedFirst;
        if (filled[slot])
            continue;
        SetFinding finding{SetFindingKind::emptySlotListed};
        finding.entry = entry;
        finding.slot = slot;
        finding.byte = order[entry];
        finding.start = kLevelMemoryFirst + kSlotStride * unsigned(slot);
        findings.push_back(finding);
    }
}

void checkPages(const uint8_t* data, size_t size, std::vector<SetFinding>& findings)
{
    for (int page = 0; page < kTextPages; ++page) {
        SetFinding finding{SetFindingKind::unshowableText};
        finding.page = page;
        for (size_t i = 0; i < kPageSize && kPageOffsets[page] + i < size; ++i) {
            const int code = data[kPageOffsets[page] + i];
            if (isShowableScreenCode(code))
                continue;
            if (finding.count++ == 0) {
                finding.byte = code;
                finding.line = int(i) / kPageColumns;
                finding.column = int(i) % kPageColumns;
            }
        }
        if (finding.count > 0)
            findings.push_back(finding);
    }
}

} // namespace

std::vector<SetFinding> checkSetImage(const uint8_t* data, size_t size)
{
    std::vector<SetFinding> findings;
    if (size < kLevelListOffset)
        return findings;

    if (hasOurEngine(data, size)) {
        SetFinding finding{SetFindingKind::brokenGamePart};
        finding.chain = gamePartChainBreak(data, size);
        if (finding.chain.fault != ChainFault::none)
            findings.push_back(finding);
    }

    bool filled[kLevelSlots] = {};
    std::vector<SetFinding> segments;
    const bool whole = checkSegments(data, size, filled, segments);
    checkOrder(orderTable(data, size), whole ? filled : nullptr, findings);
    findings.insert(findings.end(), segments.begin(), segments.end());
    checkPages(data, size, findings);
    return findings;
}
