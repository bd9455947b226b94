#include "cli/png.h"

#include <png.h>

Error encodePng(int width, int height, const std::vector<uint8_t>& rgb, std::vector<uint8_t>& png)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    // Room for the worst case, so the picture is compressed only once.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr)) {
        const Error error = Error::library(Fault::pngEncoding, image.message);
        png_image_free(&image);
        return error;
    }
    bytes.resize(size);
    png.swap(bytes);
    return Error();
}
