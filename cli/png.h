// Encoding an RGB picture as PNG, through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width x height pixels, three bytes each, row after row. On
// failure returns false with libpng's reason in `error`.
bool encodePng(int width, int height, const std::vector<uint8_t>& rgb, std::vector<uint8_t>& png,
               std::string& error);
