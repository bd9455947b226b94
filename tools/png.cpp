#include "tools/png.h"

#include <png.h>

#include <csetjmp>
#include <map>

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// One picture of `bytesPerPixel` bytes a pixel in `pixels`, of libpng's
// `colourType`, at the strongest deflate: the icons and screenshots are
// large flat areas that shrink to almost nothing.
std::vector<std::uint8_t> encode(int width, int height, int colourType, int bytesPerPixel,
                                 const std::vector<std::uint8_t>& pixels, const std::vector<png_color>& palette,
                                 std::string& error)
{
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "libpng: out of memory";
        return {};
    }
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
    std::vector<png_const_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] = pixels.data() + static_cast<size_t>(y) * rowBytes;
    // libpng reports failures by jumping back here; nothing below owns
    // anything that the jump would leak.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "libpng could not encode the picture";
        return {};
    }
    png_set_write_fn(png, &out, appendToVector, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 9);
    // Every row filter tried for true colour; a palette's indices are no
    // amounts to take differences of.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, palette.empty() ? PNG_ALL_FILTERS : PNG_FILTER_NONE);
    png_write_info(png, info);
    png_write_rows(png, const_cast<png_bytepp>(rows.data()), static_cast<png_uint_32>(height));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace

std::vector<std::uint8_t> encodePngRgba(int width, int height, const std::vector<std::uint8_t>& rgba,
                                        std::string& error)
{
    return encode(width, height, PNG_COLOR_TYPE_RGB_ALPHA, 4, rgba, {}, error);
}

std::vector<std::uint8_t> encodePngRgb(int width, int height, const std::vector<std::uint8_t>& rgb,
                                       std::string& error)
{
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    auto colourAt = [&](size_t i) {
        return std::uint32_t(rgb[3 * i]) << 16 | std::uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    };
    std::map<std::uint32_t, std::uint8_t> index;
    for (size_t i = 0; i < pixels && index.size() <= 256; ++i)
        index.emplace(colourAt(i), 0);
    if (index.size() > 256)
        return encode(width, height, PNG_COLOR_TYPE_RGB, 3, rgb, {}, error);
    std::vector<png_color> palette;
    for (auto& [colour, number] : index) {
        number = static_cast<std::uint8_t>(palette.size());
        palette.push_back({static_cast<png_byte>(colour >> 16), static_cast<png_byte>(colour >> 8 & 0xFF),
                           static_cast<png_byte>(colour & 0xFF)});
    }
    std::vector<std::uint8_t> indices(pixels);
    for (size_t i = 0; i < pixels; ++i)
        indices[i] = index[colourAt(i)];
    return encode(width, height, PNG_COLOR_TYPE_PALETTE, 1, indices, palette, error);
}
