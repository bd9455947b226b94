// Painting the whole window, and drawing a level's grid.
#include "editor/frame.h"

#include "render/funkcje.h"
#include "render/levelrenderer.h"

#include <SDL_gfxPrimitives.h>

#include <cmath>
#include <cstdio>

namespace {

const Uint8 white[4] = {255, 255, 255, 255};
const Uint8 black[4] = {0, 0, 0, 255};
const Uint8 errorRed[4] = {255, 80, 80, 255};

void text(SDL_Surface* target, int x, int y, const char* s, const Uint8 colour[4] = white)
{
    stringRGBA(target, Sint16(x), Sint16(y), s, colour[0], colour[1], colour[2], colour[3]);
}

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double luminance(Uint8 r, Uint8 g, Uint8 b)
{
    auto linear = [](Uint8 c) {
        double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

} // namespace

std::vector<std::string> fitMessage(const std::string& message, size_t width)
{
    if (message.size() <= width)
        return {message};
    size_t cut = message.rfind(' ', width);
    if (cut == std::string::npos || cut == 0)
        cut = width;
    size_t restStart = message.find_first_not_of(' ', cut);
    if (restStart != std::string::npos && message.size() - restStart > width)
        cut = restStart = width;  // cut short anyway: fill the first line
    std::string first = message.substr(0, cut);
    std::string rest = restStart == std::string::npos ? "" : message.substr(restStart);
    if (rest.size() > width)
        rest = "..." + rest.substr(rest.size() - (width - 3));
    return {first, rest};
}

std::string fitPathTail(const std::string& path, size_t width)
{
    if (path.size() <= width)
        return path;
    return "..." + path.substr(path.size() - (width - 3));
}

std::vector<std::string> frame::statusLines() const
{
    if (!statusMessage.empty())
        return fitMessage(statusMessage, layout::pathLineChars);
    if (const char* hint = toolHint())
        return {hint};
    if (filePath.empty())
        return {};
    return {fitPathTail(filePath, layout::pathLineChars)};
}

bool frame::labelsInBlack() const
{
    SDL_Color c = atariRgb(paletteSheet.get(), levels[currentLevel].colorGet(4));
    double l = luminance(c.r, c.g, c.b);
    // Whichever of black and white has the higher contrast ratio.
    return (l + 0.05) / 0.05 > 1.05 / (l + 0.05);
}

// Atari colour values are read from the palette sheet, whose format need not
// be the screen's.
Uint32 frame::screenColour(int atariColour) const
{
    SDL_Color c = atariRgb(paletteSheet.get(), atariColour);
    return SDL_MapRGB(screen->format, c.r, c.g, c.b);
}

void frame::paint()
{
    if (!ok())
        return;
    map& level = levels[currentLevel];
    SDL_FillRect(screen, nullptr, screenColour(level.colorGet(4)));

    std::string title = titleFor(session.modified());
    if (title != shownTitle) {
        SDL_WM_SetCaption(title.c_str(), nullptr);
        shownTitle = title;
    }

    const Uint8* labelColour = labelsInBlack() ? black : white;
    std::vector<std::string> lines = statusLines();
    for (size_t i = 0; i < lines.size(); ++i) {
        layout::Point at = lines.size() == 1 ? layout::pathLine : layout::messageLines[i];
        if (!statusMessage.empty() && statusIsError) {
            // Red on a dark band reads on any background.
            boxRGBA(screen, Sint16(at.x - 2), Sint16(at.y - 1), Sint16(at.x + 8 * int(lines[i].size()) + 1),
                    Sint16(at.y + 8), 0, 0, 0, 255);
            text(screen, at.x, at.y, lines[i].c_str(), errorRed);
        } else {
            text(screen, at.x, at.y, lines[i].c_str(), labelColour);
        }
    }

    // The current choices show pressed, the others not.
    buttons[currentLevel]->pushed(1);
    for (int i = 0; i < paletteEntries; ++i)
        buttons[firstPaletteButton + i]->pushed(i == currentTile);
    for (int r = 0; r < 6; ++r)
        buttons[firstColourButton + r]->pushed(r == currentColour);
    buttons[startPageButton]->pushed(currentPage == 0);
    buttons[endPageButton]->pushed(currentPage == 1);

    // Undo and redo grey out when there is nothing to take back or redo.
    const bool canUndo = session.canUndo();
    const bool canRedo = session.canRedo();
    undoButton->active(canUndo);
    undoButton->color(canUndo ? 200 : 110, canUndo ? 200 : 110, canUndo ? 200 : 110, 255);
    redoButton->active(canRedo);
    redoButton->color(canRedo ? 200 : 110, canRedo ? 200 : 110, canRedo ? 200 : 110, 255);

    for (CGui* button : commandButtons())
        button->render(screen);

    for (int i = 0; i < levelCount; ++i) {
        if (levels[i].isOn())
            buttons[i]->color(0, 255, 0, 255);
        else
            buttons[i]->color(200, 200, 200, 255);
        buttons[i]->render(screen);
    }

    for (int i = 0; i < paletteEntries; ++i)
        buttons[firstPaletteButton + i]->render(screen);
    for (int r = 0; r < 6; ++r)
        buttons[firstColourButton + r]->render(screen);
    drawRegisterSamples();
    buttons[startPageButton]->render(screen);
    buttons[endPageButton]->render(screen);

    drawMap(currentLevel);
    drawCanvasFrame();
    drawToolPreview();
    drawToolButtons();
    drawHoveredCell();  // under the eraser's band

    if (hoverRow >= 0 && drawsEraser(currentTile))
        rectangleRGBA(screen, Sint16(mapX), Sint16(mapY + 16 * hoverRow), Sint16(mapX + 256),
                      Sint16(mapY + 16 * hoverRow + 160), 255, 125, 125, 255);
    hoverRow = -1;

    screwCounter.set(level.srubkiGet());
    screwCounter.labelColor(labelColour[0], labelColour[1], labelColour[2]);
    screwCounter.render(screen);

    // Without a wall tile the counter shows the pattern as a number.
    if (murekTile >= 0) {
        wallCounter.moveImage(16 * (murekTile + level.wzorekGet()), 0, 16, 16);
    } else {
        wallCounter.moveImage(-16, 0, 16, 16);
        wallCounter.set(level.wzorekGet());
    }
    wallCounter.labelColor(labelColour[0], labelColour[1], labelColour[2]);
    wallCounter.render(screen);
    if (murekTile >= 0) {
        char number[12];
        std::snprintf(number, sizeof number, "%d", level.wzorekGet());
        text(screen, layout::wallPatternNumber.x, layout::wallPatternNumber.y, number, labelColour);
    }

    colourPicker->set(level.colorGet(currentColour));
    colourPicker->render(screen);

    text(screen, layout::colourLabel.x, layout::colourLabel.y, "Kolor:", labelColour);
    text(screen, layout::textLabel.x, layout::textLabel.y, "Tekst:", labelColour);

    drawText(layout::textPage.x, layout::textPage.y, currentPage);
}

TileArt frame::tileArt() const
{
    TileArt art;
    art.sheet = tileSheet.get();
    art.palette = paletteSheet.get();
    art.columns = tileColumns;
    art.murekColumn = murekTile;
    return art;
}

void frame::drawMap(int levelIndex)
{
    const map& level = levels[levelIndex];
    drawLevel(screen, tileArt(), level.sheet(), level.data(), mapX, mapY);
}

// One cell of the canvas showing `code` in the level's colours and wall
// pattern, for the tools' previews.
void frame::drawCell(const map& level, int column, int row, int code)
{
    const layout::Rect cell = layout::canvasCellRect(column, row);
    ::drawCell(screen, tileArt(), level.sheet(), level.wzorekGet(), code, cell.x, cell.y);
}

// The canvas is framed so an empty level still shows its extent; the grid
// lines, when on, are drawn over the tiles, half transparent.
void frame::drawCanvasFrame()
{
    const layout::Rect& c = layout::canvas;
    rectangleRGBA(screen, Sint16(c.x - 1), Sint16(c.y - 1), Sint16(c.right()), Sint16(c.bottom()), 160, 160, 160,
                  255);
    if (!showGrid)
        return;
    for (int column = 1; column < layout::canvasColumns; ++column)
        vlineRGBA(screen, Sint16(c.x + layout::cellSize * column), Sint16(c.y), Sint16(c.bottom() - 1), 128, 128,
                  128, 110);
    for (int row = 1; row < layout::canvasRows; ++row)
        hlineRGBA(screen, Sint16(c.x), Sint16(c.right() - 1), Sint16(c.y + layout::cellSize * row), 128, 128, 128,
                  110);
}

void frame::drawHoveredCell()
{
    Cell at;
    if (!layout::canvasCellAt(pointerX, pointerY, at))
        return;
    const layout::Rect cell = layout::canvasCellRect(at.column, at.row);
    rectangleRGBA(screen, Sint16(cell.x), Sint16(cell.y), Sint16(cell.right() - 1), Sint16(cell.bottom() - 1), 255,
                  255, 0, 255);
}

// Each register button carries a strip of its colour under its number; the
// one under the pointer also gives the value in hex beside the row.
void frame::drawRegisterSamples()
{
    const map& level = levels[currentLevel];
    for (int r = 0; r < kColourRegisters; ++r) {
        const layout::Rect button = layout::colourRegister(r);
        const SDL_Color colour = atariRgb(paletteSheet.get(), level.colorGet(r));
        // Framed in the button's lettering, so a dark sample shows on a
        // dark (current) button too.
        const Uint8 edge = r == currentColour ? 200 : 55;
        const int top = button.bottom() - 6;
        rectangleRGBA(screen, Sint16(button.x + 2), Sint16(top), Sint16(button.right() - 3), Sint16(top + 4), edge,
                      edge, edge, 255);
        boxRGBA(screen, Sint16(button.x + 3), Sint16(top + 1), Sint16(button.right() - 4), Sint16(top + 3),
                colour.r, colour.g, colour.b, 255);
        if (button.contains(pointerX, pointerY)) {
            char value[8];
            std::snprintf(value, sizeof value, "$%02X", level.colorGet(r) & 0xFF);
            text(screen, layout::registerValue.x, layout::registerValue.y, value, labelsInBlack() ? black : white);
        }
    }
}
