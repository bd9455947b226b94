// Writing the generated pictures (the desktop icons) as PNG, through libpng
// at its strongest compression: the icons ship in every package.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgba` holds width x height pixels, row after row from the top, four
// bytes each (red, green, blue, alpha). Returns the file's bytes; empty,
// with `error` set, when libpng fails.
std::vector<std::uint8_t> encodePngRgba(int width, int height, const std::vector<std::uint8_t>& rgba,
                                        std::string& error);
