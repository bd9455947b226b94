// Painting the whole window, and drawing a level's grid.
#include "editor/frame.h"

#include "surface/funkcje.h"

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
    if (!filePath[0])
        return {};
    return {fitPathTail(filePath, layout::pathLineChars)};
}

bool frame::labelsInBlack() const
{
    SDL_Color c = atariRgb(levels[currentLevel].colorGet(4));
    double l = luminance(c.r, c.g, c.b);
    // Whichever of black and white has the higher contrast ratio.
    return (l + 0.05) / 0.05 > 1.05 / (l + 0.05);
}

SDL_Color frame::atariRgb(int atariColour) const
{
    SDL_Color c = {0, 0, 0, 0};
    const int x = atariColour & 0xF0;
    const int y = (atariColour & 0x0F) * 8;
    if (x >= paletteSheet->w || y >= paletteSheet->h)
        return c;
    SDL_GetRGB(getpixel(paletteSheet.get(), x, y), paletteSheet->format, &c.r, &c.g, &c.b);
    return c;
}

// Atari colour values are read from the palette sheet, whose format need not
// be the screen's.
Uint32 frame::screenColour(int atariColour) const
{
    SDL_Color c = atariRgb(atariColour);
    return SDL_MapRGB(screen->format, c.r, c.g, c.b);
}

void frame::paint()
{
    if (!ok())
        return;
    map& level = levels[currentLevel];
    SDL_FillRect(screen, nullptr, screenColour(level.colorGet(4)));

    // One snapshot a repaint tells the title and the undo button about
    // changes not yet recorded.
    const bool unrecorded = unrecordedChanges();
    std::string title = titleFor(history.modified() || unrecorded);
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
    const bool canUndo = history.canUndo() || unrecorded;
    const bool canRedo = history.canRedo();
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
    buttons[startPageButton]->render(screen);
    buttons[endPageButton]->render(screen);

    drawMap(currentLevel);

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

    colourPicker->set(level.colorGet(currentColour));
    colourPicker->render(screen);

    text(screen, layout::colourLabel.x, layout::colourLabel.y, "Kolor:", labelColour);
    text(screen, layout::textLabel.x, layout::textLabel.y, "Tekst:", labelColour);

    drawText(layout::textPage.x, layout::textPage.y, currentPage);
}

void frame::drawMap(int levelIndex)
{
    map& level = levels[levelIndex];
    SDL_Surface* sheet = level.sheet();
    SDL_Rect source = {0, 0, 16, 16};
    for (int row = 0; row < 31; ++row) {
        for (int column = 0; column < 16; ++column) {
            int code = level.get(column, row);
            int sheetColumn = tileColumns[code];
            if (murekTile >= 0 && sheetColumn == murekTile) {
                source.x = Sint16(16 * (murekTile + level.wzorekGet()));
            } else if (sheetColumn < 0) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%2X", code);
                layout::Rect cell = layout::canvasCellRect(column, row);
                text(screen, cell.x, cell.y + 4, hex);
                continue;
            } else {
                source.x = Sint16(16 * sheetColumn);
            }
            layout::Rect cell = layout::canvasCellRect(column, row);
            SDL_Rect place = {Sint16(cell.x), Sint16(cell.y), 16, 16};
            if (sheet)
                SDL_UpperBlit(sheet, &source, screen, &place);
        }
    }
}
