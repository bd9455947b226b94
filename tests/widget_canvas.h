// A 32-bit drawing target whose pixels tests read back as 0xRRGGBB.
#pragma once

#include <SDL.h>

#include <cstdint>

class Canvas
{
public:
    Canvas(int w, int h)
        : surface(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0))
    {
    }
    ~Canvas() { SDL_FreeSurface(surface); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void fill(std::uint32_t rgb) { SDL_FillRect(surface, nullptr, rgb); }
    void put(int x, int y, std::uint32_t rgb) { row(y)[x] = rgb; }
    std::uint32_t at(int x, int y) const { return row(y)[x] & 0xFFFFFF; }

    // Corner of the smallest box holding every pixel of the given colour,
    // or (-1, -1) when there is none.
    void firstOf(std::uint32_t rgb, int& left, int& top) const
    {
        left = top = -1;
        for (int y = 0; y < surface->h; ++y)
            for (int x = 0; x < surface->w; ++x)
                if (at(x, y) == rgb) {
                    if (left < 0 || x < left)
                        left = x;
                    if (top < 0)
                        top = y;
                }
    }

    int count(std::uint32_t rgb) const
    {
        int n = 0;
        for (int y = 0; y < surface->h; ++y)
            for (int x = 0; x < surface->w; ++x)
                n += at(x, y) == rgb;
        return n;
    }

    SDL_Surface* surface;

private:
    std::uint32_t* row(int y) const
    {
        return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch);
    }
};
