#include "tools/atr.h"

std::vector<std::uint8_t> atrHeader(unsigned sectorCount, unsigned sectorSize)
{
    const unsigned long paragraphs = static_cast<unsigned long>(sectorCount) * sectorSize / 16;
    std::vector<std::uint8_t> header(atr::headerSize, 0);
    header[0] = atr::signature[0];
    header[1] = atr::signature[1];
    header[2] = paragraphs & 0xFF;
    header[3] = paragraphs >> 8 & 0xFF;
    header[4] = sectorSize & 0xFF;
    header[5] = sectorSize >> 8 & 0xFF;
    header[6] = paragraphs >> 16 & 0xFF;
    return header;
}

std::vector<std::uint8_t> gameTemplate(const std::vector<std::uint8_t>& program)
{
    using namespace gameimage;
    if (atr::headerSize + program.size() > levelListOffset)
        return {};
    std::vector<std::uint8_t> image = atrHeader(sectorCount, sectorSize);
    image.insert(image.end(), program.begin(), program.end());
    image.resize(templateSize, 0);
    return image;
}
