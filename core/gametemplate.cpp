#include "core/gametemplate.h"

#include "core/fileio.h"
#include "core/gameimage.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kAtrSignature[2] = {0x96, 0x02};

bool hasAtrSignature(const std::vector<uint8_t>& bytes)
{
    return bytes.size() >= 2 && bytes[0] == kAtrSignature[0] && bytes[1] == kAtrSignature[1];
}

// The game part of `bytes` and an empty level list. The order table is
// emptied too: saving lists only the levels it writes and leaves the rest of
// the table as the template has it, so an entry left from the file would
// send the game to a level that is no longer there.
std::vector<uint8_t> gamePart(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> tmpl(bytes.begin(), bytes.begin() + kLevelListOffset);
    std::fill_n(tmpl.begin() + kOrderTableOffset, kLevelSlots, 0);
    tmpl.resize(kTemplateSize, 0);
    return tmpl;
}

// The loader's view of the disk file.
constexpr size_t kAtrHeaderSize = 16;
constexpr size_t kSectorSizeAt = 4;
constexpr size_t kLoaderSectorSize = 128;
constexpr size_t kBootSectorCountAt = kAtrHeaderSize + 1;
constexpr unsigned kLoadFirst = 0x2000;
constexpr unsigned kLoadLast = 0x8FFF;

unsigned wordAt(const uint8_t* image, size_t at) { return image[at] | image[at + 1] << 8; }

} // namespace

ChainBreak gamePartChainBreak(const uint8_t* image, size_t size)
{
    auto fault = [](ChainFault kind, size_t offset, unsigned start = 0, unsigned end = 0) {
        return ChainBreak{kind, offset, start, end};
    };
    if (size < kAtrHeaderSize || image[0] != kAtrSignature[0] || image[1] != kAtrSignature[1])
        return fault(ChainFault::noAtrHeader, 0);
    if (wordAt(image, kSectorSizeAt) != kLoaderSectorSize)
        return fault(ChainFault::sectorSize, kSectorSizeAt, wordAt(image, kSectorSizeAt));
    if (size <= kBootSectorCountAt)
        return fault(ChainFault::bootCut, size);
    const unsigned bootSectors = image[kBootSectorCountAt];
    if (bootSectors == 0)
        return fault(ChainFault::noBootSectors, kBootSectorCountAt);
    size_t at = kAtrHeaderSize + bootSectors * kLoaderSectorSize;
    if (at > size)
        return fault(ChainFault::bootCut, size);
    while (at != kLevelListOffset) {
        if (at > kLevelListOffset)
            return fault(ChainFault::overLevelList, at);
        if (size - at < 2)
            return fault(ChainFault::headerCut, at);
        const unsigned start = wordAt(image, at);
        if (start == 0)
            return fault(ChainFault::endsEarly, at);
        if (start == 0xFFFF) {
            at += 2;
            continue;
        }
        if (size - at < 4)
            return fault(ChainFault::headerCut, at);
        const unsigned end = wordAt(image, at + 2);
        if (end < start)
            return fault(ChainFault::backwards, at, start, end);
        if (start < kLoadFirst || end > kLoadLast)
            return fault(ChainFault::outside, at, start, end);
        const size_t next = at + 4 + (end - start + 1);
        if (next > size)
            return fault(ChainFault::segmentCut, at, start, end);
        if (next > kLevelListOffset)
            return fault(ChainFault::overLevelList, at, start, end);
        at = next;
    }
    return {};
}

bool hasOurEngine(const uint8_t* image, size_t size)
{
    const size_t length = sizeof kEngineSignature - 1;
    return size >= kEngineSignatureOffset + length &&
           std::memcmp(image + kEngineSignatureOffset, kEngineSignature, length) == 0;
}

Error templateFrom(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& tmpl)
{
    Error error;
    const ChainBreak chainBreak = hasOurEngine(bytes.data(), bytes.size())
                                      ? gamePartChainBreak(bytes.data(), bytes.size())
                                      : ChainBreak{};
    if (!hasAtrSignature(bytes)) {
        error.fault = Fault::notDiskImage;
    } else if (bytes.size() < kTemplateSize) {
        error.fault = Fault::tooShortForTemplate;
        error.size = bytes.size();
        error.limit = kTemplateSize;
    } else if (chainBreak.fault != ChainFault::none) {
        error.fault = Fault::brokenGamePart;
        error.offset = chainBreak.offset;
    } else {
        tmpl = gamePart(bytes);
    }
    return error;
}

std::vector<uint8_t> templateForOpened(const std::vector<uint8_t>& image, const std::vector<uint8_t>& session,
                                       const std::vector<uint8_t>& embedded)
{
    if (!hasAtrSignature(image) || image.size() < kLevelListOffset)
        return session;
    if (hasOurEngine(image.data(), image.size()))
        return hasOurEngine(session.data(), session.size()) ? session : embedded;
    return gamePart(image);
}

ChosenTemplate chooseTemplate(const TemplateSources& sources, const std::vector<uint8_t>& embedded)
{
    ChosenTemplate chosen;
    chosen.bytes = embedded;
    for (const std::string* path : {&sources.optionPath, &sources.environmentPath, &sources.dataDirPath}) {
        if (path->empty())
            continue;
        std::vector<uint8_t> bytes, tmpl;
        chosen.error = readFile(*path, bytes, kGameImageReadLimit);
        if (!chosen.error)
            chosen.error = templateFrom(bytes, tmpl);
        if (chosen.error) {
            chosen.error.path = *path;
        } else {
            chosen.bytes = std::move(tmpl);
            chosen.path = *path;
        }
        break;
    }
    return chosen;
}
