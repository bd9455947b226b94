// The mouse: hover, press and drag, release. Presses choose and draw;
// every command acts on release, at the point of release.
#include "editor/frame.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstring>

namespace {

const int maxScrews = 99;
const int wallPatterns = 8;

enum CounterArea { counterMiss = 0, counterValue = 1, counterMinus = 2, counterPlus = 3 };

// The counters wrap in both directions.
int stepCounter(int value, int area, int count)
{
    if (area == counterMinus)
        return value - 1 < 0 ? count - 1 : value - 1;
    if (area == counterPlus)
        return value + 1 >= count ? 0 : value + 1;
    return value;
}

} // namespace

int frame::mouse(int x, int y, int button)
{
    if (button == 0)
        hoverAt(x, y);
    else if (button > 0)
        pressAt(x, y, button);
    else
        releaseAt(x, y);
    return 0;
}

// The eraser's band follows the pointer over the canvas in steps of three rows.
void frame::hoverAt(int x, int y)
{
    if (!buttons[canvasButton]->push(x, y))
        return;
    int row = (y - mapY) / 16;
    hoverRow = std::min(row - row % 3, 21);
}

void frame::pressAt(int x, int y, int button)
{
    // The text cursor goes to the cell under the pointer; the box's own
    // first column and row don't count.
    if (x >= 376 && x <= 630 && y >= 356 && y <= 434) {
        cursorColumn = (x - 375) / 8;
        cursorRow = (y - 355) / 10;
    }

    // Pressed looks only: these act on release.
    screwCounter.push(x, y);
    wallCounter.push(x, y);
    for (CGui* widget : commandButtons())
        widget->push(x, y);
    for (int i = 0; i < levelCount; ++i)
        buttons[i]->push(x, y);

    for (int i = 0; i < paletteEntries; ++i)
        if (buttons[firstPaletteButton + i]->push(x, y))
            currentTile = i;
    for (int r = 0; r < 6; ++r)
        if (buttons[firstColourButton + r]->push(x, y))
            currentColour = r;
    if (buttons[startPageButton]->push(x, y))
        currentPage = 0;
    if (buttons[endPageButton]->push(x, y))
        currentPage = 1;

    if (buttons[canvasButton]->push(x, y)) {
        int column = (x - mapX) / 16;
        int row = (y - mapY) / 16;
        if (column > 15)  // the hit area's right edge column lies past the grid
            return;
        // Button 3 is a right press or a left+middle drag; 4 is a wheel-up
        // step or a right drag. Both erase.
        if (button == 3 || button == 4)
            levels[currentLevel].add(column, row, eraserCode());
        else if (currentTile >= 0)
            levels[currentLevel].add(column, row, tileCodes[currentTile]);
    }
}

void frame::releaseAt(int x, int y)
{
    statusMessage.clear();

    for (int i = 0; i < levelCount; ++i) {
        if (!buttons[i]->push(x, y))
            continue;
        currentLevel = i;
        if (swapSource >= 0) {
            levels[scratchLevel].copy(levels[swapSource]);
            levels[swapSource].copy(levels[currentLevel]);
            levels[currentLevel].copy(levels[scratchLevel]);
        }
        swapSource = -1;
    }
    map& current = levels[currentLevel];

    // The picker's right edge column answers 256 and up; a register holds a byte.
    int colour = colourPicker->push(x, y);
    if (colour >= 0)
        current.colorSet(currentColour, colour & 0xFF);

    int wallArea = wallCounter.push(x, y);
    if (wallArea == counterValue)
        current.wzorekSet(0);
    else if (wallArea != counterMiss)
        current.wzorekSet(stepCounter(current.wzorekGet(), wallArea, wallPatterns));

    int screwArea = screwCounter.push(x, y);
    if (screwArea == counterValue)
        current.srubkiSet(screwCode() < 0 ? 0 : std::min(current.srubkiAutoGet(), maxScrews));
    else if (screwArea != counterMiss)
        current.srubkiSet(stepCounter(current.srubkiGet(), screwArea, maxScrews + 1));

    if (newButton->push(x, y))
        newDocument();
    if (openButton->push(x, y))
        openDocument();
    if (saveButton->push(x, y)) {
        if (filePath[0])
            saveMap(filePath);
        else
            saveDocumentAs();
    }
    if (saveAsButton->push(x, y))
        saveDocumentAs();
    if (buttons[deleteButton]->push(x, y))
        levels[currentLevel].reset();
    if (buttons[testLevelButton]->push(x, y))
        testInEmulator(true);
    if (buttons[testGameButton]->push(x, y))
        testInEmulator(false);
    if (buttons[swapButton]->push(x, y))
        swapSource = swapSource == -1 ? currentLevel : -1;

    screwCounter.free();
    wallCounter.free();
    // "Zamien mapy" stays pressed while a swap is armed.
    for (CGui* widget : commandButtons())
        if (widget != buttons[swapButton])
            widget->free();
    if (swapSource != -1)
        buttons[swapButton]->pushed(1);
    else
        buttons[swapButton]->free();
}

void frame::newDocument()
{
    for (int i = 0; i < levelCount; ++i)
        levels[i].reset();
    filePath[0] = '\0';
    blankTextPages();
    documentTemplate = sessionTemplate;
}
