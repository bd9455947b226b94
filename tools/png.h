// Writing the generated pictures (the desktop icons, the guide's
// screenshots) as PNG, through libpng at its strongest compression: the
// icons ship in every package, the screenshots in the repository.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgba` holds width x height pixels, row after row from the top, four
// bytes each (red, green, blue, alpha). Returns the file's bytes; empty,
// with `error` set, when libpng fails.
std::vector<std::uint8_t> encodePngRgba(int width, int height, const std::vector<std::uint8_t>& rgba,
                                        std::string& error);

// `rgb` holds width x height pixels, three bytes each, row after row from
// the top. A picture of at most 256 colours is written with a palette (a
// window's screenshot packs to a fraction of its RGB size), any other as
// RGB. Empty, with `error` set, when libpng fails.
std::vector<std::uint8_t> encodePngRgb(int width, int height, const std::vector<std::uint8_t>& rgb,
                                       std::string& error);
