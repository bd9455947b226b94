#include "widgets/CButton.h"

#include <SDL_gfxPrimitives.h>

CButton::CButton()
    : hasImage(0), imageSheet(nullptr), imageSource{}, imagePlace{}
{
}

CButton::CButton(const char* text)
    : CButton()
{
    setStandardState();
    caption(text);
}

CButton::CButton(SDL_Surface* sheet, int sx, int sy, int sw, int sh)
    : CButton()
{
    setStandardState();
    CButton::setImage(sheet, sx, sy, sw, sh);
}

void CButton::setImage(SDL_Surface* sheet, int sx, int sy, int sw, int sh)
{
    hasImage = 1;
    imageSheet = sheet;
    CButton::moveImage(sx, sy, sw, sh);
}

void CButton::moveImage(int sx, int sy, int sw, int sh)
{
    imageSource.x = static_cast<Sint16>(sx);
    imageSource.y = static_cast<Sint16>(sy);
    imageSource.w = static_cast<Uint16>(sw);
    imageSource.h = static_cast<Uint16>(sh);
    imagePlace.w = imageSource.w;
    imagePlace.h = imageSource.h;
}

void CButton::render(SDL_Surface* target)
{
    if (!isVisible)
        return;
    renderGraph(target);
    if (!showsPicture())
        renderCaption(target);
}

void CButton::renderGraph(SDL_Surface* target)
{
    const Sint16 left = coord(x);
    const Sint16 top = coord(y);
    const Sint16 right = coord(x + width - 1);
    const Sint16 bottom = coord(y + height - 1);

    const bool pressed = isPushed != 0;
    const Uint8 r = pressed ? inverse8(red) : low8(red);
    const Uint8 g = pressed ? inverse8(green) : low8(green);
    const Uint8 b = pressed ? inverse8(blue) : low8(blue);
    if (low8(alpha) == 255)
        fill(target, left, top, right, bottom, r, g, b);
    else
        boxRGBA(target, left, top, right, bottom, r, g, b, low8(alpha));

    if (!hasImage) {
        rectangleRGBA(target, left, top, right, bottom,
                      inverse8(red), inverse8(green), inverse8(blue), low8(alpha));
        return;
    }

    imagePlace.x = coord(x + width / 2 - imagePlace.w / 2);
    imagePlace.y = coord(y + height / 2 - imagePlace.h / 2);
    if (!showsPicture() || !imageSheet)
        return;
    // The blit clips its rectangles in place; working on copies keeps the
    // stored size, so a clipped picture stays centred on the next draw.
    SDL_Rect source = imageSource;
    SDL_Rect place = imagePlace;
    SDL_UpperBlit(imageSheet, &source, target, &place);
}
