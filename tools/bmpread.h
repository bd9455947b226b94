// Reading uncompressed BMP files (8-bit indexed, 24-bit and 32-bit) into an
// Image: a pure function over the bytes of the file.
#pragma once

#include "tools/image.h"

#include <cstdint>
#include <string>
#include <vector>

// On failure returns false and sets `error` to what is wrong, naming
// `fileName`.
bool decodeBmp(const std::vector<std::uint8_t>& bytes, const std::string& fileName, Image& image, std::string& error);
