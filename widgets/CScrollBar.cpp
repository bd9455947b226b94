#include "widgets/CScrollBar.h"

#include <SDL_gfxPrimitives.h>

#include <climits>
#include <cmath>

namespace {

// Truncates toward zero, saturating where an int cannot hold the value
// (a line far past the end, or a bar of near-zero line length).
int truncated(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

}

CScrollBar::CScrollBar(int isVertical)
    : vertical(isVertical), line(1), thumbPos(1), lineCount(1.0f), thumbSize(0.0f)
{
    setStandardState();
}

void CScrollBar::placeThumb()
{
    const int length = vertical ? height : width;
    thumbSize = static_cast<float>(length) / lineCount;
    thumbPos = truncated(static_cast<float>(line - 1) * thumbSize);
}

void CScrollBar::move(int newX, int newY, int w, int h)
{
    CGui::move(newX, newY, w, h);
    placeThumb();
}

void CScrollBar::setScrollLines(int n)
{
    lineCount = n > 0 ? static_cast<float>(n) : 1.0f;
    placeThumb();
}

void CScrollBar::setLine(int n)
{
    line = n > 0 ? n : 1;
    placeThumb();
}

int CScrollBar::push(int px, int py)
{
    isPushed = x <= px && px <= x + width && y <= py && py < y + height;
    if (!isPushed)
        return 0;
    const int offset = vertical ? py - y : px - x;
    // A zero-length bar is hit only at its start, which is the first line.
    line = thumbSize > 0.0f ? truncated(offset / static_cast<double>(thumbSize) + 1.0) : 1;
    thumbPos = truncated(static_cast<float>(line - 1) * thumbSize);
    return line;
}

void CScrollBar::renderCaption(SDL_Surface*)
{
}

void CScrollBar::renderGraph(SDL_Surface* target)
{
    const Uint8 a = low8(alpha);
    boxRGBA(target, coord(x), coord(y), coord(x + width - 1), coord(y + height - 1),
            low8(red), low8(green), low8(blue), a);
    rectangleRGBA(target, coord(x), coord(y), coord(x + width - 1), coord(y + height - 1),
                  inverse8(red), inverse8(green), inverse8(blue), a);

    // Wide arithmetic: a line far past the end puts the thumb far off the bar.
    const long long thumbLength = truncated(thumbSize);
    const long long start = thumbPos;
    long long left, top, right, bottom;
    if (vertical) {
        left = x + 1;
        top = y + start + 1;
        right = x + width - 2;
        bottom = y + start + thumbLength - 2;
    } else {
        left = x + start + 1;
        top = y + 1;
        right = x + start + thumbLength - 2;
        bottom = y + height - 2;
    }

    // Released, the thumb is a darker shade of the bar framed in the inverse.
    const bool pressed = isPushed != 0;
    boxRGBA(target, coord(left), coord(top), coord(right), coord(bottom),
            pressed ? inverse8(red) : shade8(red),
            pressed ? inverse8(green) : shade8(green),
            pressed ? inverse8(blue) : shade8(blue),
            a);
    rectangleRGBA(target, coord(left), coord(top), coord(right), coord(bottom),
                  pressed ? low8(red) : inverse8(red),
                  pressed ? low8(green) : inverse8(green),
                  pressed ? low8(blue) : inverse8(blue),
                  a);
}
