#include "render/font.h"

#include "core/glyphs.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>

void installEditorFont()
{
    // Setting a font empties the library's glyph cache: do it only once.
    static bool installed = false;
    if (installed)
        return;
    gfxPrimitivesSetFont(editorFontData(), 8, 8);
    installed = true;
}

void drawString(SDL_Surface* target, int x, int y, const char* text, Uint8 r, Uint8 g, Uint8 b)
{
    if (target->format->BytesPerPixel != 4 || SDL_MUSTLOCK(target)) {
        stringRGBA(target, Sint16(x), Sint16(y), text, r, g, b, 255);
        return;
    }
    const SDL_Rect& clip = target->clip_rect;
    const int top = std::max<int>(y, clip.y), bottom = std::min<int>(y + 8, clip.y + clip.h);
    if (top >= bottom)
        return;
    const Uint32 colour = SDL_MapRGB(target->format, r, g, b);
    const unsigned char* font = editorFontData();
    for (; *text; ++text, x += 8) {
        if (x + 8 <= clip.x || x >= clip.x + clip.w)
            continue;
        const unsigned char* glyph = font + 8 * static_cast<unsigned char>(*text);
        for (int row = top; row < bottom; ++row) {
            const unsigned char bits = glyph[row - y];
            if (!bits)
                continue;
            Uint32* pixels = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + row * target->pitch);
            for (int column = 0; column < 8; ++column)
                if ((bits & (0x80 >> column)) && x + column >= clip.x && x + column < clip.x + clip.w)
                    pixels[x + column] = colour;
        }
    }
}
