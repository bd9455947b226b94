// The two text pages: typing into them and drawing the one being edited.
#include "editor/frame.h"

#include "core/atari.h"

#include <SDL_gfxPrimitives.h>

namespace {

const unsigned keyArrowUp = 273;
const unsigned keyArrowDown = 274;
const unsigned keyRight = 275;
const unsigned keyLeft = 276;
const unsigned keyBackspace = 8;
const unsigned keyReturn = 13;

} // namespace

void frame::inputText(unsigned key)
{
    auto type = [&](char code) { session.setPageCharacter(currentPage, cursorRow, cursorColumn, code); };
    switch (key) {
    case keyBackspace:
        type(' ');
        --cursorColumn;
        break;
    case keyReturn:
        ++cursorRow;
        cursorColumn = 0;
        break;
    case keyLeft:
        --cursorColumn;
        break;
    case keyRight:
        ++cursorColumn;
        break;
    case keyArrowUp:
        --cursorRow;
        break;
    case keyArrowDown:
        ++cursorRow;
        break;
    default:
        if (!isPageCharacter(int(key)))
            return;
        type(char(key));
        ++cursorColumn;
    }
    // Reading order, wrapping from the last cell to the first and back.
    if (cursorColumn >= kPageColumns) {
        cursorColumn = 0;
        ++cursorRow;
    }
    if (cursorRow >= kPageLines)
        cursorRow = 0;
    if (cursorColumn < 0) {
        cursorColumn = kPageColumns - 1;
        --cursorRow;
    }
    if (cursorRow < 0)
        cursorRow = kPageLines - 1;
}

int frame::drawText(int x, int y, int page)
{
    boxRGBA(screen, Sint16(x - 1), Sint16(y - 1), Sint16(x + 256), Sint16(y + 78), 100, 100, 200, 255);
    for (int line = 0; line < 8; ++line)
        stringRGBA(screen, Sint16(x), Sint16(y + 10 * line), textPages[page][line], 255, 255, 255, 255);
    // The cursor shows only while the page has the keyboard.
    if (!textFocus)
        return 0;
    int left = x + 8 * cursorColumn;
    int top = y + 10 * cursorRow;
    rectangleRGBA(screen, Sint16(left - 1), Sint16(top - 1), Sint16(left + 8), Sint16(top + 8), 255, 0, 0, 255);
    return 0;
}
