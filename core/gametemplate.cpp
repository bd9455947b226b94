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

} // namespace

bool hasOurEngine(const uint8_t* image, size_t size)
{
    const size_t length = sizeof kEngineSignature - 1;
    return size >= kEngineSignatureOffset + length &&
           std::memcmp(image + kEngineSignatureOffset, kEngineSignature, length) == 0;
}

Error templateFrom(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& tmpl)
{
    Error error;
    if (!hasAtrSignature(bytes)) {
        error.fault = Fault::notDiskImage;
    } else if (bytes.size() < kTemplateSize) {
        error.fault = Fault::tooShortForTemplate;
        error.size = bytes.size();
        error.limit = kTemplateSize;
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
