// Writing an RGB picture as a PNG file, through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width x height pixels, three bytes each, row after row. The
// file is written atomically; on failure `error` names the file and why.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
              std::string& error);
