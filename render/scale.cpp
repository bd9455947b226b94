#include "render/scale.h"

#include "render/funkcje.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// One source row widened into a destination row, for each pixel size.
void widenRow(const Uint8* from, Uint8* to, int pixels, int bytes, int scale)
{
    if (bytes == 4) {
        const Uint32* in = reinterpret_cast<const Uint32*>(from);
        Uint32* out = reinterpret_cast<Uint32*>(to);
        if (scale == 2) {
            for (int i = 0; i < pixels; ++i) {
                out[0] = out[1] = in[i];
                out += 2;
            }
            return;
        }
        for (int i = 0; i < pixels; ++i)
            for (int k = 0; k < scale; ++k)
                *out++ = in[i];
        return;
    }
    for (int i = 0; i < pixels; ++i)
        for (int k = 0; k < scale; ++k) {
            std::memcpy(to, from + i * bytes, size_t(bytes));
            to += bytes;
        }
}

// The same between surfaces of different pixel sizes: each raw value is
// read in the source's size and stored in the destination's low bytes.
void widenRowAcross(SDL_Surface* src, int row, int left, int pixels, SDL_Surface* dst, int x, int y, int scale)
{
    for (int i = 0; i < pixels; ++i) {
        const Uint32 pixel = getpixel(src, left + i, row);
        for (int k = 0; k < scale; ++k)
            putpixel(dst, x + i * scale + k, y, pixel);
    }
}

} // namespace

SDL_Rect scaleArea(SDL_Surface* src, SDL_Rect area, SDL_Surface* dst, int scale, int dx, int dy)
{
    SDL_Rect written = {0, 0, 0, 0};
    if (!src || !dst || scale < 1)
        return written;
    // Clip the area to the source, then to what lands inside the
    // destination's clip rectangle.
    const SDL_Rect& clip = dst->clip_rect;
    int left = std::max<int>(area.x, 0), top = std::max<int>(area.y, 0);
    int right = std::min<int>(area.x + area.w, src->w), bottom = std::min<int>(area.y + area.h, src->h);
    left = std::max(left, (clip.x - dx + scale - 1) / scale);
    top = std::max(top, (clip.y - dy + scale - 1) / scale);
    right = std::min(right, (clip.x + clip.w - dx) / scale);
    bottom = std::min(bottom, (clip.y + clip.h - dy) / scale);
    if (left >= right || top >= bottom)
        return written;

    const int bytes = dst->format->BytesPerPixel;
    const bool sameSize = src->format->BytesPerPixel == bytes;
    const int width = right - left;
    const size_t rowBytes = size_t(width) * size_t(scale) * size_t(bytes);
    const Uint8* from = static_cast<const Uint8*>(src->pixels) + top * src->pitch + left * src->format->BytesPerPixel;
    Uint8* to = static_cast<Uint8*>(dst->pixels) + (dy + top * scale) * dst->pitch + (dx + left * scale) * bytes;
    for (int row = top; row < bottom; ++row) {
        if (!sameSize)
            widenRowAcross(src, row, left, width, dst, dx + left * scale, dy + row * scale, scale);
        else if (scale == 1)
            std::memcpy(to, from, rowBytes);
        else
            widenRow(from, to, width, bytes, scale);
        for (int k = 1; k < scale; ++k)
            std::memcpy(to + k * dst->pitch, to, rowBytes);
        from += src->pitch;
        to += scale * dst->pitch;
    }
    written.x = Sint16(dx + left * scale);
    written.y = Sint16(dy + top * scale);
    written.w = Uint16(width * scale);
    written.h = Uint16((bottom - top) * scale);
    return written;
}
