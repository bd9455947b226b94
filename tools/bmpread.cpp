#include "tools/bmpread.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t pixelOffsetAt = 10;
constexpr std::size_t infoSizeAt = 14;
constexpr std::size_t widthAt = 18;
constexpr std::size_t heightAt = 22;
constexpr std::size_t bitsAt = 28;
constexpr std::size_t compressionAt = 30;
constexpr std::size_t coloursUsedAt = 46;
constexpr std::size_t minInfoSize = 40;
constexpr std::uint32_t compressionNone = 0;
constexpr std::uint32_t compressionBitfields = 3; // 32-bit files often say this with the usual masks
constexpr int maxSide = 1 << 14;

std::uint32_t get16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t get32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return get16(b, at) | get16(b, at + 2) << 16;
}

} // namespace

bool decodeBmp(const std::vector<std::uint8_t>& bytes, const std::string& fileName, Image& image, std::string& error)
{
    auto fail = [&](const std::string& what) {
        error = fileName + ": " + what;
        return false;
    };
    if (bytes.size() < fileHeaderSize + minInfoSize || bytes[0] != 'B' || bytes[1] != 'M')
        return fail("not a BMP file");
    const std::uint32_t infoSize = get32(bytes, infoSizeAt);
    const std::int32_t width = std::int32_t(get32(bytes, widthAt));
    const std::int32_t rawHeight = std::int32_t(get32(bytes, heightAt));
    const std::uint32_t bits = get16(bytes, bitsAt);
    const std::uint32_t compression = get32(bytes, compressionAt);
    if (infoSize < minInfoSize)
        return fail("unsupported BMP header");
    if (width <= 0 || width > maxSide || rawHeight == 0 || std::abs(rawHeight) > maxSide)
        return fail("bad picture size");
    if (bits != 8 && bits != 24 && bits != 32)
        return fail("only 8-, 24- and 32-bit BMP files are read, this one has " + std::to_string(bits) + " bits");
    if (compression != compressionNone && !(bits == 32 && compression == compressionBitfields))
        return fail("compressed BMP files are not read");
    const bool bottomUp = rawHeight > 0;
    const int height = std::abs(rawHeight);

    std::vector<Rgb> colours;
    if (bits == 8) {
        std::uint32_t count = get32(bytes, coloursUsedAt);
        if (count == 0 || count > 256)
            count = 256;
        const std::size_t tableAt = fileHeaderSize + infoSize;
        if (tableAt + std::size_t(count) * 4 > bytes.size())
            return fail("colour table cut short");
        for (std::uint32_t i = 0; i < count; ++i)
            colours.push_back({bytes[tableAt + i * 4 + 2], bytes[tableAt + i * 4 + 1], bytes[tableAt + i * 4]});
    }

    const std::size_t pixelOffset = get32(bytes, pixelOffsetAt);
    const std::size_t bytesPerPixel = bits / 8;
    const std::size_t rowSize = (std::size_t(width) * bytesPerPixel + 3) & ~std::size_t(3);
    if (pixelOffset > bytes.size() || (bytes.size() - pixelOffset) / rowSize < std::size_t(height))
        return fail("pixel data cut short");

    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = pixelOffset + rowSize * std::size_t(bottomUp ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            const std::size_t at = row + std::size_t(x) * bytesPerPixel;
            if (bits == 8) {
                if (bytes[at] >= colours.size())
                    return fail("pixel " + std::to_string(x) + "," + std::to_string(y) + " names no colour");
                out.at(x, y) = colours[bytes[at]];
            } else {
                out.at(x, y) = {bytes[at + 2], bytes[at + 1], bytes[at]};
            }
        }
    }
    image = std::move(out);
    return true;
}
