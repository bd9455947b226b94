// The tool bar beside the canvas and the window's side of the painting
// tools: the tool buttons with their icons, the tools' keys, and
// a press on the canvas handed to them as a cell. What each tool does to
// the grid is CanvasTools' (canvastools.cpp).
#include "editor/frame.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>

namespace {

const int gridSwitch = int(Tool::count);

// The icon of tool button `i` in the button's lettering colour.
void drawToolIcon(SDL_Surface* screen, int i, const CButton* button, bool on)
{
    const Uint8 ink = on ? 200 : 0;
    const Sint16 left = Sint16(button->x + 6), top = Sint16(button->y + 4);
    const Sint16 right = Sint16(left + 11), bottom = Sint16(top + 11);
    switch (i) {
    case int(Tool::draw):
        thickLineRGBA(screen, left, bottom, right - 2, top + 2, 2, ink, ink, ink, 255);
        boxRGBA(screen, right - 2, top, right, top + 2, ink, ink, ink, 255);
        break;
    case int(Tool::fill):
        rectangleRGBA(screen, left, top, right, bottom, ink, ink, ink, 255);
        boxRGBA(screen, left, top + 6, right, bottom, ink, ink, ink, 255);
        break;
    case int(Tool::rectangle):
        boxRGBA(screen, left, top + 2, right, bottom - 2, ink, ink, ink, 255);
        break;
    case int(Tool::outline):
        rectangleRGBA(screen, left, top + 2, right, bottom - 2, ink, ink, ink, 255);
        break;
    case int(Tool::line):
        lineRGBA(screen, left, bottom, right, top, ink, ink, ink, 255);
        break;
    case int(Tool::pick):
        lineRGBA(screen, left, bottom, right - 4, top + 4, ink, ink, ink, 255);
        filledCircleRGBA(screen, right - 2, top + 2, 2, ink, ink, ink, 255);
        break;
    case int(Tool::select):
        for (int d = 0; d <= 11; d += 2) {
            pixelRGBA(screen, left + d, top + 2, ink, ink, ink, 255);
            pixelRGBA(screen, left + d, bottom - 2, ink, ink, ink, 255);
            if (d <= 7) {
                pixelRGBA(screen, left, top + 2 + d, ink, ink, ink, 255);
                pixelRGBA(screen, right, top + 2 + d, ink, ink, ink, 255);
            }
        }
        break;
    default:  // the grid switch
        for (int d = 0; d <= 11; d += 4) {
            vlineRGBA(screen, left + d, top, bottom, ink, ink, ink, 255);
            hlineRGBA(screen, left, right, top + d, ink, ink, ink, 255);
        }
        break;
    }
}

} // namespace

// The cell under a point, also beyond the grid's edges, where a drag that
// left the canvas is.
Cell frame::cellAt(int x, int y) const
{
    Cell cell;
    if (layout::canvasCellAt(x, y, cell))
        return cell;
    const int dx = x - layout::canvas.x, dy = y - layout::canvas.y;
    auto cells = [](int d) { return d < 0 ? -1 - (-1 - d) / layout::cellSize : d / layout::cellSize; };
    return {cells(dx), cells(dy)};
}

void frame::createToolButtons()
{
    static_assert(toolButtonCount == layout::toolButtons, "one button per tool and the grid switch");
    for (int i = 0; i < toolButtonCount; ++i) {
        const layout::Rect r = layout::toolButton(i);
        toolButtons[i] = new CButton("");
        toolButtons[i]->move(r.x, r.y, r.w, r.h);
    }
}

// The palette entry that draws the code becomes current.
void frame::pickTile(int code)
{
    for (int entry = 0; entry < paletteEntries; ++entry)
        if (tileCodes[entry] == code && buttons[firstPaletteButton + entry]->isActive) {
            currentTile = entry;
            return;
        }
}

// A press on the canvas begins a stroke. A right press (3) or wheel-up step
// (4) uses the eraser's code.
void frame::toolPress(int x, int y, int button)
{
    const bool erase = button == 3 || button == 4;
    const int code = currentTile < 0 ? -1 : tileCodes[currentTile];
    const CanvasTools::PressResult result = tools.press(currentLevel, cellAt(x, y), erase, code, eraserCode());
    if (result.pickedCode >= 0)
        pickTile(result.pickedCode);
}

// --- drawing -------------------------------------------------------------------

void frame::drawToolButton(int i)
{
    const bool on = i == gridSwitch ? showGrid : tools.tool() == Tool(i);
    toolButtons[i]->pushed(on);
    toolButtons[i]->render(screen);
    drawToolIcon(screen, i, toolButtons[i], on);
}
