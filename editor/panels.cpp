#include "editor/panels.h"

#include "core/level.h"
#include "render/font.h"
#include "render/levelrenderer.h"

#include <SDL_gfxPrimitives.h>

#include <cmath>
#include <cstdio>

namespace {

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double luminance(Uint8 r, Uint8 g, Uint8 b)
{
    auto linear = [](Uint8 c) {
        double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

} // namespace

bool labelsInBlack(SDL_Color background)
{
    const double l = luminance(background.r, background.g, background.b);
    return (l + 0.05) / 0.05 > 1.05 / (l + 0.05);
}

void drawLabel(SDL_Surface* screen, int x, int y, const char* text, const Uint8* colour)
{
    drawString(screen, x, y, text, colour[0], colour[1], colour[2]);
}

void drawRegisterSamples(SDL_Surface* screen, SDL_Surface* palette, const int* registers, int current)
{
    for (int r = 0; r < kColourRegisters; ++r) {
        const layout::Rect button = layout::colourRegister(r);
        const SDL_Color colour = atariRgb(palette, registers[r]);
        // Framed in the button's lettering, so a dark sample shows on a
        // dark (current) button too.
        const Uint8 edge = r == current ? 200 : 55;
        const int top = button.bottom() - 6;
        rectangleRGBA(screen, Sint16(button.x + 2), Sint16(top), Sint16(button.right() - 3), Sint16(top + 4), edge,
                      edge, edge, 255);
        boxRGBA(screen, Sint16(button.x + 3), Sint16(top + 1), Sint16(button.right() - 4), Sint16(top + 3),
                colour.r, colour.g, colour.b, 255);
    }
}

void drawRegisterValue(SDL_Surface* screen, int value, const Uint8* colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "$%02X", value & 0xFF);
    drawLabel(screen, layout::registerValue.x, layout::registerValue.y, text, colour);
}

void drawSlotMark(SDL_Surface* screen, const layout::Rect& slot)
{
    filledTrigonRGBA(screen, Sint16(slot.right() - 6), Sint16(slot.y + 1), Sint16(slot.right() - 2), Sint16(slot.y + 1),
                     Sint16(slot.right() - 2), Sint16(slot.y + 5), 255, 40, 40, 255);
}

void drawWallPatternNumber(SDL_Surface* screen, int pattern, const Uint8* colour)
{
    char number[12];
    std::snprintf(number, sizeof number, "%d", pattern);
    drawLabel(screen, layout::wallPatternNumber.x, layout::wallPatternNumber.y, number, colour);
}
