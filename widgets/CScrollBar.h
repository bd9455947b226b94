// A vertical or horizontal bar divided into equal lines, with a thumb one
// line long. A press jumps the thumb to the line under it and returns that
// line, counted from 1.
#pragma once

#include "widgets/CGui.h"

class CScrollBar : public CGui
{
public:
    // Non-zero: lines run from top to bottom; zero: from left to right.
    explicit CScrollBar(int vertical);
    ~CScrollBar() override = default;

    void move(int x, int y, int w, int h) override;
    // The line pressed (1 or more), or 0 on a miss. Presses are taken even
    // when the bar is inactive.
    int push(int px, int py) override;
    // The bar shows no caption.
    void renderCaption(SDL_Surface* target) override;
    void renderGraph(SDL_Surface* target) override;

    // Fewer than one line counts as one; the current line is kept as is.
    virtual void setScrollLines(int n);
    // Lines below 1 become 1; there is no upper limit.
    virtual void setLine(int n);

    int vertical;
    int line;
    // Thumb offset from the bar's top (or left) end, in pixels.
    int thumbPos;
    float lineCount;
    // Length of one line, and so of the thumb, in pixels.
    float thumbSize;

private:
    void placeThumb();
};
