// The colour picker: an image button showing the Atari palette as 16 hues
// (columns of 16 pixels) by 8 luminances (rows of 16 pixels). A press returns
// the colour value under it, and the chosen cell is framed in red.
#pragma once

#include "widgets/CButton.h"

class CButtonColor : public CButton
{
public:
    // The sheet is borrowed, never freed by the picker.
    CButtonColor(SDL_Surface* sheet, int sx, int sy, int sw, int sh);
    ~CButtonColor() override = default;

    // The Atari colour value under the point, or -1 on a miss (the mark stays).
    int push(int px, int py) override;
    // What a press at the point would pick, changing nothing: the colour of
    // the cell under it (the edge column right of the last hue belongs to
    // that hue), or -1 off the picker.
    int colourAt(int px, int py) const;
    void render(SDL_Surface* target) override;

    // Moves the mark to the cell of the colour; only its low 8 bits count.
    virtual void set(int colour);

    // Offsets of the mark from the widget's corner; negative means no mark.
    int markX;
    int markY;
    int markWidth;
    int markHeight;
};
