#include "widgets/CGui.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <cassert>

CGui::CGui()
    : x(0), y(0), width(0), height(0),
      red(0), green(0), blue(0), alpha(0),
      isVisible(0), isActive(1), isPushed(0),
      captionLength(0), captionText{}
{
}

void CGui::setStandardState()
{
    CGui::caption("");
    isPushed = 0;
    CGui::move(0, 0, 0, 0);
    CGui::color(200, 200, 200, 255);
    isActive = 1;
    isVisible = 1;
}

void CGui::move(int newX, int newY, int w, int h)
{
    x = newX;
    y = newY;
    width = w;
    height = h;
}

void CGui::color(int r, int g, int b, int a)
{
    red = r;
    green = g;
    blue = b;
    alpha = a;
}

int CGui::copyText(char* buffer, const char* text)
{
    assert(text);
    int length = 0;
    while (length < captionCapacity && text[length] != '\0') {
        buffer[length] = text[length];
        ++length;
    }
    buffer[length] = '\0';
    return length;
}

void CGui::caption(const char* text)
{
    captionLength = copyText(captionText, text);
}

int CGui::push(int px, int py)
{
    isPushed = isActive && covers(px, py);
    return isPushed;
}

void CGui::pushed(int state)
{
    isPushed = state;
}

void CGui::visible(int on)
{
    isVisible = on != 0;
}

void CGui::active(int on)
{
    isActive = on != 0;
}

void CGui::free()
{
    isPushed = 0;
}

void CGui::render(SDL_Surface* target)
{
    if (!isVisible)
        return;
    renderGraph(target);
    renderCaption(target);
}

namespace {

void libraryText(SDL_Surface* target, int x, int y, const char* text, Uint8 r, Uint8 g, Uint8 b)
{
    stringRGBA(target, Sint16(x), Sint16(y), text, r, g, b, 255);
}

} // namespace

CGui::TextDrawer CGui::drawText = libraryText;

void CGui::fill(SDL_Surface* target, int left, int top, int right, int bottom, Uint8 r, Uint8 g, Uint8 b)
{
    // The same pixels as the library's box, without its per-pixel loop.
    if (right < left || bottom < top)
        return;
    const Uint32 colour = SDL_MapRGB(target->format, r, g, b);
    if (target->format->BytesPerPixel != 4 || SDL_MUSTLOCK(target)) {
        SDL_Rect area = {coord(left), coord(top), Uint16(right - left + 1), Uint16(bottom - top + 1)};
        SDL_FillRect(target, &area, colour);
        return;
    }
    // Straight into the pixels: the SDL 1.2 layer's fill costs microseconds
    // a call, more than a button's pixels.
    const SDL_Rect& clip = target->clip_rect;
    left = std::max(left, int(clip.x));
    top = std::max(top, int(clip.y));
    right = std::min(right, clip.x + clip.w - 1);
    bottom = std::min(bottom, clip.y + clip.h - 1);
    for (int row = top; row <= bottom; ++row) {
        Uint32* pixels = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + row * target->pitch);
        std::fill(pixels + left, pixels + right + 1, colour);
    }
}

void CGui::renderCaption(SDL_Surface* target)
{
    // Pressed widgets swap fill and lettering, so pressed text takes the colour.
    const bool pressed = isPushed != 0;
    drawText(target, coord(x + width / 2 - captionLength * 4), coord(y + height / 2 - 4), captionText,
             pressed ? low8(red) : inverse8(red), pressed ? low8(green) : inverse8(green),
             pressed ? low8(blue) : inverse8(blue));
}

void CGui::renderGraph(SDL_Surface* target)
{
    // A placeholder body: a diagonal whose red channel shows the pressed state.
    const Uint8 r = isPushed ? low8(red) : 0;
    lineRGBA(target, coord(x), coord(y), coord(x + width), coord(y + height),
             r, low8(green), low8(blue), low8(alpha));
    lineRGBA(target, coord(x + width), coord(y + height), coord(x), coord(y),
             r, low8(green), low8(blue), low8(alpha));
}
