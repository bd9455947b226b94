// Painting the whole window, and drawing a level's grid.
#include "editor/frame.h"

#include "surface/funkcje.h"

#include <SDL_gfxPrimitives.h>

#include <cstdio>

namespace {

const Uint8 white[4] = {255, 255, 255, 255};

void text(SDL_Surface* target, int x, int y, const char* s, const Uint8 colour[4] = white)
{
    stringRGBA(target, Sint16(x), Sint16(y), s, colour[0], colour[1], colour[2], colour[3]);
}

} // namespace

// Atari colour values are read from the palette sheet, whose format need not
// be the screen's.
SDL_Color frame::atariRGB(int atariColour) const
{
    Uint32 pixel = getpixel(paletteSheet, atariColour & 0xF0, (atariColour & 0x0F) * 8);
    SDL_Color colour = {0, 0, 0, 0};
    SDL_GetRGB(pixel, paletteSheet->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

Uint32 frame::screenColour(int atariColour) const
{
    SDL_Color colour = atariRGB(atariColour);
    return SDL_MapRGB(screen->format, colour.r, colour.g, colour.b);
}

void frame::paint()
{
    if (!ok())
        return;
    map& level = levels[currentLevel];
    SDL_FillRect(screen, nullptr, screenColour(level.colorGet(4)));

    if (!statusMessage.empty()) {
        const Uint8 red[4] = {255, 80, 80, 255};
        text(screen, 245, 8, statusMessage.c_str(), red);
    } else if (const char* hint = toolHint()) {
        text(screen, 245, 8, hint);
    } else {
        text(screen, 245, 8, filePath);
    }

    buttons[currentLevel]->pushed(1);
    if (currentTile >= 0)
        buttons[firstPaletteButton + currentTile]->pushed(1);
    buttons[firstColourButton + currentColour]->pushed(1);
    buttons[startPageButton + currentPage]->pushed(1);

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

    if (hoverRow >= 0 && currentTile == gumkaTile)
        rectangleRGBA(screen, Sint16(mapX), Sint16(mapY + 16 * hoverRow), Sint16(mapX + 256),
                      Sint16(mapY + 16 * hoverRow + 160), 255, 125, 125, 255);
    hoverRow = -1;
    drawHoveredCell();

    screwCounter.set(level.srubkiGet());
    screwCounter.render(screen);

    // Without a wall tile the counter shows the pattern as a number.
    if (murekTile >= 0) {
        wallCounter.moveImage(16 * (murekTile + level.wzorekGet()), 0, 16, 16);
    } else {
        wallCounter.moveImage(-16, 0, 16, 16);
        wallCounter.set(level.wzorekGet());
    }
    wallCounter.render(screen);
    if (murekTile >= 0) {
        char number[12];
        std::snprintf(number, sizeof number, "%d", level.wzorekGet());
        text(screen, 440, 119, number);
    }

    colourPicker->set(level.colorGet(currentColour));
    colourPicker->render(screen);

    text(screen, 375, 160, "Kolor:");
    text(screen, 375, 338, "Tekst:");

    drawText(375, 355, currentPage);
}

void frame::drawMap(int levelIndex)
{
    const map& level = levels[levelIndex];
    for (int row = 0; row < 31; ++row)
        for (int column = 0; column < 16; ++column)
            drawCell(level, column, row, level.get(column, row));
}

// One cell of the canvas showing `code` in the level's colours and wall
// pattern; a code without a picture shows as its hex value.
void frame::drawCell(const map& level, int column, int row, int code)
{
    SDL_Rect source = {0, 0, 16, 16};
    int sheetColumn = tileColumns[code];
    if (murekTile >= 0 && sheetColumn == murekTile) {
        source.x = Sint16(16 * (murekTile + level.wzorekGet()));
    } else if (sheetColumn < 0) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%2X", code);
        text(screen, mapX + 16 * column, mapY + 16 * row + 4, hex);
        return;
    } else {
        source.x = Sint16(16 * sheetColumn);
    }
    SDL_Rect place = {Sint16(mapX + 16 * column), Sint16(mapY + 16 * row), 16, 16};
    if (level.sheet())
        SDL_UpperBlit(level.sheet(), &source, screen, &place);
}

// The canvas is framed so an empty level still shows its extent; the grid
// lines, when on, are drawn over the tiles, half transparent.
void frame::drawCanvasFrame()
{
    const int right = mapX + 16 * map::columns;
    const int bottom = mapY + 16 * map::rows;
    rectangleRGBA(screen, Sint16(mapX - 1), Sint16(mapY - 1), Sint16(right), Sint16(bottom), 160, 160, 160, 255);
    if (showGrid) {
        for (int column = 1; column < map::columns; ++column)
            vlineRGBA(screen, Sint16(mapX + 16 * column), Sint16(mapY), Sint16(bottom - 1), 128, 128, 128, 110);
        for (int row = 1; row < map::rows; ++row)
            hlineRGBA(screen, Sint16(mapX), Sint16(right - 1), Sint16(mapY + 16 * row), 128, 128, 128, 110);
    }
}

void frame::drawHoveredCell()
{
    const int right = mapX + 16 * map::columns;
    const int bottom = mapY + 16 * map::rows;
    if (pointerX >= mapX && pointerX < right && pointerY >= mapY && pointerY < bottom) {
        const int left = mapX + (pointerX - mapX) / 16 * 16;
        const int top = mapY + (pointerY - mapY) / 16 * 16;
        rectangleRGBA(screen, Sint16(left), Sint16(top), Sint16(left + 15), Sint16(top + 15), 255, 255, 0, 255);
    }
}

// Each register button carries a strip of its colour under its number; the
// one under the pointer also gives the value in hex beside the row.
void frame::drawRegisterSamples()
{
    const map& level = levels[currentLevel];
    for (int r = 0; r < 6; ++r) {
        const int left = 425 + 20 * r;
        const SDL_Color colour = atariRGB(level.colorGet(r));
        // Framed in the button's lettering, so a dark sample shows on a
        // dark (current) button too.
        const Uint8 edge = r == currentColour ? 200 : 55;
        rectangleRGBA(screen, Sint16(left + 2), 169, Sint16(left + 17), 173, edge, edge, edge, 255);
        boxRGBA(screen, Sint16(left + 3), 170, Sint16(left + 16), 172, colour.r, colour.g, colour.b, 255);
        if (pointerX >= left && pointerX < left + 20 && pointerY >= 155 && pointerY < 175) {
            char value[8];
            std::snprintf(value, sizeof value, "$%02X", level.colorGet(r) & 0xFF);
            text(screen, 548, 161, value);
        }
    }
}
