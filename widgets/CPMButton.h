// A small counter: a white label line above a 60 x 25 body that shows a
// number (or a picture), with "-" and "+" child buttons over the body's ends.
// The press test tells which area was hit; the caller changes the value.
#pragma once

#include "widgets/CButton.h"

class CPMButton : public CButton
{
public:
    static constexpr int bodyWidth = 60;
    static constexpr int bodyHeight = 25;
    static constexpr int labelHeight = 10;
    static constexpr int sideButtonWidth = 15;

    // Push results.
    static constexpr int missed = 0;
    static constexpr int bodyHit = 1;
    static constexpr int minusHit = 2;
    static constexpr int plusHit = 3;

    CPMButton();
    ~CPMButton() override;
    CPMButton(const CPMButton&) = delete;
    CPMButton& operator=(const CPMButton&) = delete;

    // (x, y) is the label's corner; the body sits labelHeight lower and keeps
    // its size, so w and h are ignored.
    void move(int x, int y, int w, int h) override;
    // Sets the label (at most captionCapacity characters), not the body text.
    void caption(const char* text) override;
    // minusHit, plusHit, bodyHit or missed, tested in that order; the tests
    // after the first hit do not run, so those widgets keep their pressed state.
    int push(int px, int py) override;
    void render(SDL_Surface* target) override;
    // Releases the body and both children.
    void free() override;

    // Stores the value and shows it in decimal on the body.
    virtual void set(int v);
    virtual int get() const;
    // Shows a picture from the sheet on the body instead of the value.
    virtual void image(SDL_Surface* sheet, int sx, int sy, int sw, int sh);

    // The label's colour, white unless the editor needs black for contrast.
    void labelColor(int r, int g, int b);

    char label[captionCapacity + 1];
    int labelRed = 255, labelGreen = 255, labelBlue = 255;
    int value;
    CButton* minusButton;
    CButton* plusButton;
};
