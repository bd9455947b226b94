// One level: a 16 x 31 grid of tile codes, six colour registers, the screw
// count and wall pattern, and a private copy of the tile sheet recoloured
// with the level's own registers, from which the editor draws it.
#pragma once

#include "surface/funkcje.h"

#include <SDL.h>

class map {
public:
    static constexpr int columns = 16;
    static constexpr int rows = 31;
    static constexpr int cells = columns * rows;

    map() { reset(); }
    ~map() { freeSheet(); }

    // The editor keeps its levels as plain array members; a copy would
    // share and then double-free the level sheet.
    map(const map&) = delete;
    map& operator=(const map&) = delete;

    // Attaches the shared tile and palette sheets and makes this level's
    // own, not yet recoloured, copy of the tile sheet. If the copy cannot be
    // made the level has no sheet and draws nothing.
    void setBmp(SDL_Surface* sheet, SDL_Surface* palette)
    {
        freeSheet();
        tileSheet = sheet;
        paletteSheet = palette;
        levelSheet = bmpCopy(sheet, nullptr);
    }

    void repaint() { recolor(tileSheet, levelSheet, colours, paletteSheet); }

    void reset()
    {
        setDefaults();
        if (tileSheet)
            repaint();
        fillGrid();
    }

    void resetNoRepaint()
    {
        setDefaults();
        fillGrid();
    }

    void create() { on = 1; }
    int isOn() const { return on; }

    // Painting the first tile into an empty slot creates the level.
    void add(int x, int y, int code)
    {
        grid[cell(x, y)] = static_cast<unsigned char>(code);
        if (!on) {
            on = 1;
            repaint();
        }
    }

    int get(int x, int y) const { return grid[cell(x, y)]; }

    // Takes over everything the player sees, pixels included, but keeps
    // this level's own eraser and screw codes and surfaces.
    void copy(const map& other)
    {
        if (&other == this)
            return;
        srubki = other.srubki;
        on = other.on;
        wzorek = other.wzorek;
        for (int i = 0; i < 6; ++i)
            colours[i] = other.colours[i];
        for (int i = 0; i < cells; ++i)
            grid[i] = other.grid[i];
        if (levelSheet && other.levelSheet)
            SDL_UpperBlit(other.levelSheet, nullptr, levelSheet, nullptr);
        else if (levelSheet)
            repaint(); // no finished pixels to take over: make our own
    }

    int colorGet(int i) const { return colours[i]; }

    void colorSet(int i, int value)
    {
        colours[i] = value;
        repaint();
    }

    void colorSet(int r5, int r4, int r3, int r2, int r1, int r0)
    {
        colours[0] = r0;
        colours[1] = r1;
        colours[2] = r2;
        colours[3] = r3;
        colours[4] = r4;
        colours[5] = r5;
        repaint();
    }

    // The grid keeps its cells; the next reset fills it with the new code.
    void gumkaSet(int code) { gumka = static_cast<unsigned char>(code); }
    int gumkaGet() const { return gumka; }

    void srubkaSet(int code) { srubka = static_cast<unsigned char>(code); }
    int srubkaGet() const { return srubka; }

    // Unbounded: the editor's minus button wraps by testing for a negative.
    int srubkiGet() const { return srubki; }
    void srubkiSet(int n) { srubki = n; }

    int srubkiAutoGet() const
    {
        int count = 0;
        for (int i = 0; i < cells; ++i)
            if (grid[i] == srubka)
                ++count;
        return count;
    }

    int wzorekGet() const { return wzorek; }
    // Keeps the low byte as a signed value, so -1 reads back as -1.
    void wzorekSet(int p)
    {
        const int low = p & 0xFF;
        wzorek = static_cast<signed char>(low < 128 ? low : low - 256);
    }

    // The recoloured copy the editor blits cells from; null when the level
    // has no sheet.
    SDL_Surface* sheet() const { return levelSheet; }

    // The 496 cells as stored: column after column, 31 cells each, so cell
    // (x, y) is byte x * 31 + y.
    const unsigned char* gridBytes() const { return grid; }

private:
    static int cell(int x, int y) { return x * rows + y; }

    void setDefaults()
    {
        on = 0;
        srubki = 0;
        wzorek = 0;
        const int defaults[6] = {0, 8, 14, 2, 0, 4};
        for (int i = 0; i < 6; ++i)
            colours[i] = defaults[i];
    }

    void fillGrid()
    {
        for (int i = 0; i < cells; ++i)
            grid[i] = gumka;
    }

    void freeSheet()
    {
        if (levelSheet)
            SDL_FreeSurface(levelSheet);
        levelSheet = nullptr;
    }

    SDL_Surface* levelSheet = nullptr;
    SDL_Surface* tileSheet = nullptr;
    SDL_Surface* paletteSheet = nullptr;
    unsigned char grid[cells] = {};
    int colours[6] = {};
    int srubki = 0;
    signed char wzorek = 0;
    unsigned char gumka = 0;
    unsigned char srubka = 0;
    unsigned char on = 0;
};
