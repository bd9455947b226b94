// Encoding an RGB picture as PNG, through libpng.
#pragma once

#include "core/error.h"

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width x height pixels, three bytes each, row after row. On
// failure the error holds libpng's reason.
Error encodePng(int width, int height, const std::vector<uint8_t>& rgb, std::vector<uint8_t>& png);
