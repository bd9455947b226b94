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
Uint32 frame::screenColour(int atariColour) const
{
    const int x = atariColour & 0xF0;
    const int y = (atariColour & 0x0F) * 8;
    if (x >= paletteSheet->w || y >= paletteSheet->h)
        return SDL_MapRGB(screen->format, 0, 0, 0);
    Uint32 pixel = getpixel(paletteSheet.get(), x, y);
    Uint8 r, g, b;
    SDL_GetRGB(pixel, paletteSheet->format, &r, &g, &b);
    return SDL_MapRGB(screen->format, r, g, b);
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
    buttons[startPageButton]->render(screen);
    buttons[endPageButton]->render(screen);

    drawMap(currentLevel);

    if (hoverRow >= 0 && drawsEraser(currentTile))
        rectangleRGBA(screen, Sint16(mapX), Sint16(mapY + 16 * hoverRow), Sint16(mapX + 256),
                      Sint16(mapY + 16 * hoverRow + 160), 255, 125, 125, 255);
    hoverRow = -1;

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

    colourPicker->set(level.colorGet(currentColour));
    colourPicker->render(screen);

    text(screen, 375, 160, "Kolor:");
    text(screen, 375, 338, "Tekst:");

    drawText(375, 355, currentPage);
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
                text(screen, mapX + 16 * column, mapY + 16 * row + 4, hex);
                continue;
            } else {
                source.x = Sint16(16 * sheetColumn);
            }
            SDL_Rect place = {Sint16(mapX + 16 * column), Sint16(mapY + 16 * row), 16, 16};
            if (sheet)
                SDL_UpperBlit(sheet, &source, screen, &place);
        }
    }
}
