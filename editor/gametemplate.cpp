#include "editor/gametemplate.h"

#include "editor/fileio.h"
#include "editor/game.h"
#include "editor/gameimage.h"

#include <algorithm>
#include <cstdio>
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

std::string hexWord(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "$%04X", value & 0xFFFF);
    return text;
}

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

std::string describeChainBreak(const ChainBreak& b)
{
    const std::string at = std::to_string(b.offset);
    const std::string range = hexWord(b.start) + "-" + hexWord(b.end);
    const std::string levels = std::to_string(kLevelListOffset);
    switch (b.fault) {
    case ChainFault::none: return "";
    case ChainFault::noAtrHeader: return "no ATR header (96 02) at byte 0";
    case ChainFault::sectorSize: return "sectors of " + std::to_string(b.start) + " bytes (byte 4), the loader reads 128";
    case ChainFault::noBootSectors: return "the boot record at byte 16 names no boot sectors";
    case ChainFault::bootCut: return "the file ends at byte " + at + ", inside the boot sectors";
    case ChainFault::headerCut: return "the file ends inside the segment header at byte " + at;
    case ChainFault::backwards: return "segment at byte " + at + " ends (" + hexWord(b.end) + ") before it starts (" + hexWord(b.start) + ")";
    case ChainFault::outside: return "segment at byte " + at + " loads to " + range + ", outside $2000-$8FFF";
    case ChainFault::segmentCut: return "segment at byte " + at + " (" + range + ") runs past the end of the file";
    case ChainFault::endsEarly: return "the segments end at byte " + at + ", before the level list at byte " + levels;
    case ChainFault::overLevelList: return "segment at byte " + at + " runs over the level list at byte " + levels;
    }
    return "";
}

std::string describeChainBreakPolish(const ChainBreak& b)
{
    const std::string at = std::to_string(b.offset);
    const std::string range = hexWord(b.start) + "-" + hexWord(b.end);
    const std::string levels = std::to_string(kLevelListOffset);
    switch (b.fault) {
    case ChainFault::none: return "";
    case ChainFault::noAtrHeader: return "brak naglowka ATR (96 02) w bajcie 0";
    case ChainFault::sectorSize: return "sektory po " + std::to_string(b.start) + " bajtow (bajt 4), gra czyta po 128";
    case ChainFault::noBootSectors: return "rekord startowy w bajcie 16 nie ma sektorow startowych";
    case ChainFault::bootCut: return "plik konczy sie w bajcie " + at + ", w sektorach startowych";
    case ChainFault::headerCut: return "plik konczy sie w naglowku segmentu w bajcie " + at;
    case ChainFault::backwards: return "segment w bajcie " + at + " konczy sie (" + hexWord(b.end) + ") przed poczatkiem (" + hexWord(b.start) + ")";
    case ChainFault::outside: return "segment w bajcie " + at + " laduje sie do " + range + ", poza $2000-$8FFF";
    case ChainFault::segmentCut: return "segment w bajcie " + at + " (" + range + ") siega za koniec pliku";
    case ChainFault::endsEarly: return "segmenty koncza sie w bajcie " + at + ", przed lista poziomow w bajcie " + levels;
    case ChainFault::overLevelList: return "segment w bajcie " + at + " zachodzi na liste poziomow w bajcie " + levels;
    }
    return "";
}

const std::vector<uint8_t>& embeddedTemplate()
{
    static const std::vector<uint8_t> bytes(game, game + gameSize);
    return bytes;
}

bool hasOurEngine(const uint8_t* image, size_t size)
{
    const size_t length = sizeof kEngineSignature - 1;
    return size >= kEngineSignatureOffset + length &&
           std::memcmp(image + kEngineSignatureOffset, kEngineSignature, length) == 0;
}

bool templateFrom(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& tmpl, std::string& error)
{
    if (!hasAtrSignature(bytes)) {
        error = "not an ATR disk image (no 96 02 signature)";
        return false;
    }
    if (bytes.size() < kTemplateSize) {
        error = "too short for a game template (" + std::to_string(bytes.size()) + " bytes, at least " +
                std::to_string(kTemplateSize) + " needed)";
        return false;
    }
    if (hasOurEngine(bytes.data(), bytes.size())) {
        const ChainBreak chainBreak = gamePartChainBreak(bytes.data(), bytes.size());
        if (chainBreak.fault != ChainFault::none) {
            error = "our engine's segment chain is broken, the game would not boot: " + describeChainBreak(chainBreak);
            return false;
        }
    }
    tmpl = gamePart(bytes);
    return true;
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
        std::string error;
        if (!readFile(*path, bytes, error, kGameImageReadLimit))
            chosen.error = "template refused, the built-in game is used: " + error;
        else if (!templateFrom(bytes, tmpl, error))
            chosen.error = "template " + *path + " refused, the built-in game is used: " + error;
        else {
            chosen.bytes = std::move(tmpl);
            chosen.path = *path;
        }
        break;
    }
    return chosen;
}
