// Surface utilities: raw pixels, up-scaling and tile sheet recolouring.
#include "render/funkcje.h"

#include "render/scale.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Marker colours of the tile sheet, tested in this order; marker k takes
// the colour of register k. Marker 4 is pure black.
const Uint8 markerRgb[6][3] = {
    {44, 46, 44}, {156, 158, 156}, {244, 242, 244},
    {76, 74, 76}, {0, 0, 0},       {100, 102, 100},
};

unsigned long recolorCalls = 0;

Uint8* pixelAddress(SDL_Surface* surface, int x, int y)
{
    return static_cast<Uint8*>(surface->pixels) + y * surface->pitch
           + x * surface->format->BytesPerPixel;
}

// Locks for the lifetime of the object; unlocks only what it locked.
class SurfaceLock {
public:
    explicit SurfaceLock(SDL_Surface* surface)
        : surface_(surface), locked_(SDL_LockSurface(surface) == 0) {}
    ~SurfaceLock() { if (locked_) SDL_UnlockSurface(surface_); }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;
    bool locked() const { return locked_; }

private:
    SDL_Surface* surface_;
    bool locked_;
};

SDL_Surface* newSurfaceLike(SDL_Surface* src, int width, int height)
{
    const SDL_PixelFormat* f = src->format;
    return SDL_CreateRGBSurface(SDL_ANYFORMAT, width, height, 32,
                                f->Rmask, f->Gmask, f->Bmask, f->Amask);
}

// Bits that carry colour; the spare byte of a 32-bit pixel without alpha
// may hold anything and must not hide a marker.
Uint32 colourBits(const SDL_PixelFormat* f)
{
    if (f->BytesPerPixel < 2)
        return 0xFFFFFFFFu;
    return f->Rmask | f->Gmask | f->Bmask | f->Amask;
}

} // namespace

Uint32 getpixel(SDL_Surface* surface, int x, int y)
{
    const Uint8* p = pixelAddress(surface, x, y);
    switch (surface->format->BytesPerPixel) {
    case 1:
        return *p;
    case 2: {
        Uint16 word;
        std::memcpy(&word, p, sizeof word);
        return word;
    }
    case 3:
        return p[0] | p[1] << 8 | static_cast<Uint32>(p[2]) << 16;
    case 4: {
        Uint32 word;
        std::memcpy(&word, p, sizeof word);
        return word;
    }
    default:
        return 0;
    }
}

void putpixel(SDL_Surface* surface, int x, int y, Uint32 pixel)
{
    Uint8* p = pixelAddress(surface, x, y);
    switch (surface->format->BytesPerPixel) {
    case 1:
        *p = static_cast<Uint8>(pixel);
        break;
    case 2: {
        const Uint16 word = static_cast<Uint16>(pixel);
        std::memcpy(p, &word, sizeof word);
        break;
    }
    case 3:
        p[0] = static_cast<Uint8>(pixel);
        p[1] = static_cast<Uint8>(pixel >> 8);
        p[2] = static_cast<Uint8>(pixel >> 16);
        break;
    case 4:
        std::memcpy(p, &pixel, sizeof pixel);
        break;
    default:
        break;
    }
}

SDL_Surface* bmpCopy(SDL_Surface* src, SDL_Surface* dst)
{
    if (!src)
        return nullptr;
    const bool created = !dst;
    if (created)
        dst = newSurfaceLike(src, src->w, src->h);
    if (!dst)
        return nullptr;

    SDL_Rect from = {0, 0, static_cast<Uint16>(src->w), static_cast<Uint16>(src->h)};
    SDL_Rect to = from;
    if (SDL_UpperBlit(src, &from, dst, &to) != 0) {
        if (created)
            SDL_FreeSurface(dst);
        return nullptr;
    }
    return dst;
}

SDL_Surface* resize(SDL_Surface* src, SDL_Surface* /*dst*/, int factor)
{
    if (!src || factor < 1 || src->w > INT_MAX / factor || src->h > INT_MAX / factor ||
        src->w > 0xFFFF || src->h > 0xFFFF)
        return nullptr;
    SDL_Surface* scaled = newSurfaceLike(src, src->w * factor, src->h * factor);
    if (!scaled)
        return nullptr;
    bool done = false;
    {
        SurfaceLock srcLock(src);
        SurfaceLock scaledLock(scaled);
        if (srcLock.locked() && scaledLock.locked()) {
            scaleArea(src, {0, 0, Uint16(src->w), Uint16(src->h)}, scaled, factor, 0, 0);
            done = true;
        }
    }
    if (!done) {
        SDL_FreeSurface(scaled);
        return nullptr;
    }
    return scaled;
}

void recolor(SDL_Surface* src, SDL_Surface* dst, const int* colours, SDL_Surface* palette)
{
    ++recolorCalls;
    if (!src || !dst || !colours || !palette)
        return;

    // Markers and their replacements are worked out once per call, not per
    // pixel. A register whose palette cell lies outside a small palette
    // sheet leaves its marker pixels as they are.
    const Uint32 used = colourBits(src->format);
    Uint32 marker[6];
    Uint32 replacement[6];
    bool replaceable[6];

    SurfaceLock srcLock(src);
    SurfaceLock dstLock(dst);
    SurfaceLock paletteLock(palette);
    if (!srcLock.locked() || !dstLock.locked() || !paletteLock.locked())
        return;

    for (int k = 0; k < 6; ++k) {
        marker[k] = SDL_MapRGB(src->format, markerRgb[k][0], markerRgb[k][1], markerRgb[k][2]) & used;
        const int x = colours[k] & 0xF0;
        const int y = (colours[k] & 0x0F) * 8;
        replaceable[k] = x < palette->w && y < palette->h;
        replacement[k] = replaceable[k] ? getpixel(palette, x, y) : 0;
    }

    // A destination smaller than the sheet only takes the part that fits.
    const int height = src->h < dst->h ? src->h : dst->h;
    const int width = src->w < dst->w ? src->w : dst->w;
    for (int i = 0; i < height; ++i)
        for (int j = 0; j < width; ++j) {
            const Uint32 pixel = getpixel(src, j, i) & used;
            for (int k = 0; k < 6; ++k)
                if (pixel == marker[k]) {
                    if (replaceable[k])
                        putpixel(dst, j, i, replacement[k]);
                    break;
                }
        }
}

int markerAt(SDL_Surface* sheet, int x, int y)
{
    const Uint32 used = colourBits(sheet->format);
    const Uint32 pixel = getpixel(sheet, x, y) & used;
    for (int k = 0; k < 6; ++k)
        if (pixel == (SDL_MapRGB(sheet->format, markerRgb[k][0], markerRgb[k][1], markerRgb[k][2]) & used))
            return k;
    return -1;
}

unsigned long recolorCount()
{
    return recolorCalls;
}

namespace {

bool plain32(const SDL_Surface* surface)
{
    return surface->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(surface);
}

// `area` cut to the target's clip rectangle; false when nothing is left.
bool clipTo(const SDL_Surface* target, int& x, int& y, int& w, int& h)
{
    const SDL_Rect& clip = target->clip_rect;
    const int left = std::max(x, int(clip.x)), top = std::max(y, int(clip.y));
    const int right = std::min(x + w, clip.x + clip.w), bottom = std::min(y + h, clip.y + clip.h);
    if (left >= right || top >= bottom)
        return false;
    x = left;
    y = top;
    w = right - left;
    h = bottom - top;
    return true;
}

} // namespace

void fillArea(SDL_Surface* target, SDL_Rect area, Uint32 colour)
{
    if (!plain32(target)) {
        SDL_FillRect(target, &area, colour);
        return;
    }
    int x = area.x, y = area.y, w = area.w, h = area.h;
    if (!clipTo(target, x, y, w, h))
        return;
    for (int row = y; row < y + h; ++row) {
        Uint32* pixels = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + row * target->pitch) + x;
        std::fill(pixels, pixels + w, colour);
    }
}

void copyArea(SDL_Surface* source, SDL_Rect from, SDL_Surface* target, int x, int y)
{
    const SDL_PixelFormat* a = source->format;
    const SDL_PixelFormat* b = target->format;
    const bool same = plain32(source) && plain32(target) && a->Rmask == b->Rmask && a->Gmask == b->Gmask &&
                      a->Bmask == b->Bmask && !(source->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA));
    if (!same) {
        SDL_Rect place = {Sint16(x), Sint16(y), 0, 0};
        SDL_UpperBlit(source, &from, target, &place);
        return;
    }
    // The source rectangle within the source, then the target's clip.
    int sx = from.x, sy = from.y, w = from.w, h = from.h;
    if (sx < 0) { x -= sx; w += sx; sx = 0; }
    if (sy < 0) { y -= sy; h += sy; sy = 0; }
    w = std::min(w, source->w - sx);
    h = std::min(h, source->h - sy);
    if (w <= 0 || h <= 0)
        return;
    int cx = x, cy = y, cw = w, ch = h;
    if (!clipTo(target, cx, cy, cw, ch))
        return;
    sx += cx - x;
    sy += cy - y;
    for (int row = 0; row < ch; ++row) {
        const Uint32* in = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(source->pixels) +
                                                           (sy + row) * source->pitch) + sx;
        Uint32* out = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + (cy + row) * target->pitch) + cx;
        std::copy(in, in + cw, out);
    }
}
