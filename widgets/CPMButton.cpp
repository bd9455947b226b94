#include "widgets/CPMButton.h"

#include <SDL_gfxPrimitives.h>

#include <cstdio>

CPMButton::CPMButton()
    : label{}, value(0), minusButton(nullptr), plusButton(nullptr)
{
    hasImage = 0;
    setStandardState();
    CGui::move(0, labelHeight, bodyWidth, bodyHeight);
    CGui::caption("0");
    minusButton = new CButton("-");
    plusButton = new CButton("+");
    minusButton->move(x, y, sideButtonWidth, bodyHeight);
    plusButton->move(x + bodyWidth - sideButtonWidth, y, sideButtonWidth, bodyHeight);
}

CPMButton::~CPMButton()
{
    delete minusButton;
    delete plusButton;
}

void CPMButton::move(int newX, int newY, int, int)
{
    CGui::move(newX, newY + labelHeight, width, height);
    minusButton->move(x, y, sideButtonWidth, bodyHeight);
    plusButton->move(x + bodyWidth - sideButtonWidth, y, sideButtonWidth, bodyHeight);
}

void CPMButton::caption(const char* text)
{
    copyText(label, text);
}

int CPMButton::push(int px, int py)
{
    if (minusButton->push(px, py))
        return minusHit;
    if (plusButton->push(px, py))
        return plusHit;
    if (CGui::push(px, py))
        return bodyHit;
    return missed;
}

void CPMButton::free()
{
    CGui::free();
    minusButton->free();
    plusButton->free();
}

void CPMButton::set(int v)
{
    value = v;
    char text[12]; // room for any int, sign included
    std::snprintf(text, sizeof text, "%d", v);
    CGui::caption(text);
}

int CPMButton::get() const
{
    return value;
}

void CPMButton::image(SDL_Surface* sheet, int sx, int sy, int sw, int sh)
{
    setImage(sheet, sx, sy, sw, sh);
}

void CPMButton::render(SDL_Surface* target)
{
    CButton::render(target);
    minusButton->render(target);
    plusButton->render(target);
    // The label stays even when the body is hidden.
    drawText(target, coord(x), coord(y - labelHeight), label, low8(labelRed), low8(labelGreen), low8(labelBlue));
}

void CPMButton::labelColor(int r, int g, int b)
{
    labelRed = r;
    labelGreen = g;
    labelBlue = b;
}
