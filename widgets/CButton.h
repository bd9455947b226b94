// The editor's push button: either a caption button (filled, framed, centred
// text) or an image button (filled, with a picture cut from a shared sheet
// centred in it). An image button whose source x is negative shows its
// caption instead, which is how tiles without a picture show their code.
#pragma once

#include "widgets/CGui.h"

class CButton : public CGui
{
public:
    // Bare CGui state (hidden, active, no colour); for derived constructors.
    CButton();
    explicit CButton(const char* text);
    // The sheet is borrowed, never freed by the button.
    CButton(SDL_Surface* sheet, int sx, int sy, int sw, int sh);
    ~CButton() override = default;

    void render(SDL_Surface* target) override;
    void renderGraph(SDL_Surface* target) override;

    // Turns the button into an image button; there is no way back.
    virtual void setImage(SDL_Surface* sheet, int sx, int sy, int sw, int sh);
    // Picks another picture from the same sheet.
    virtual void moveImage(int sx, int sy, int sw, int sh);

    int hasImage;
    SDL_Surface* imageSheet;
    SDL_Rect imageSource;
    // Size of the picture on screen; its position is worked out at every draw.
    SDL_Rect imagePlace;

protected:
    bool showsPicture() const { return hasImage && imageSource.x >= 0; }
};
