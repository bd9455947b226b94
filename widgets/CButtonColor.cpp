#include "widgets/CButtonColor.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>

namespace {
constexpr int cellSize = 16;
constexpr int pixelsPerLuminance = 8;
}

CButtonColor::CButtonColor(SDL_Surface* sheet, int sx, int sy, int sw, int sh)
    : CButton(sheet, sx, sy, sw, sh),
      markX(-1), markY(-1), markWidth(cellSize), markHeight(cellSize)
{
}

int CButtonColor::colourAt(int px, int py) const
{
    if (!isActive || !covers(px, py))
        return -1;
    const int hues = width / cellSize;
    const int column = std::min((px - x) / cellSize, hues - 1);
    const int row = (py - y) / cellSize;
    // Rows hold the even luminances 0, 2, ..., 14.
    return column * 16 + row * 2;
}

int CButtonColor::push(int px, int py)
{
    if (!CGui::push(px, py))
        return -1;
    const int value = colourAt(px, py);
    CButtonColor::set(value);
    return value;
}

void CButtonColor::set(int colour)
{
    markX = colour & 0xF0;
    markY = (colour & 0x0F) * pixelsPerLuminance;
}

void CButtonColor::render(SDL_Surface* target)
{
    CButton::render(target);
    // The mark shows even when the picture is hidden. Both corners are
    // inclusive, so the frame is one pixel wider and taller than a cell.
    if (markX >= 0 && markY >= 0)
        rectangleRGBA(target,
                      coord(x + markX), coord(y + markY),
                      coord(x + markX + markWidth), coord(y + markY + markHeight),
                      255, 0, 0, 255);
}
