// One level as the editor shows it: the level's data (a 16 x 31 grid of tile
// codes, six colour registers, the screw count, the wall pattern and the
// on/off flag, the same LevelData the document and the game image hold), the
// eraser and screw codes, and a private copy of the tile sheet recoloured
// with the level's own registers, from which the editor draws it. That copy
// is a cache: it follows from the registers and is remade when they change.
#pragma once

#include "core/document.h"
#include "render/funkcje.h"
#include "render/sheet.h"

#include <SDL.h>

class map {
public:
    static constexpr int columns = 16;
    static constexpr int rows = 31;
    static constexpr int cells = columns * rows;

    map() { reset(); }

    // The editor keeps its levels as plain array members; the level sheet
    // is this level's own.
    map(const map&) = delete;
    map& operator=(const map&) = delete;

    // Attaches the shared tile and palette sheets and makes this level's
    // own, not yet recoloured, copy of the tile sheet. If the copy cannot be
    // made the level has no sheet and draws nothing.
    void setBmp(SDL_Surface* sheet, SDL_Surface* palette)
    {
        tileSheet = sheet;
        paletteSheet = palette;
        levelSheet.reset(bmpCopy(sheet, nullptr));
    }

    void repaint() { recolor(tileSheet, levelSheet.get(), data_.colours, paletteSheet); }

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

    void create() { data_.on = true; }
    int isOn() const { return data_.on ? 1 : 0; }

    // Painting the first tile into an empty slot creates the level.
    void add(int x, int y, int code)
    {
        data_.cells[x][y] = static_cast<unsigned char>(code);
        if (!data_.on) {
            data_.on = true;
            repaint();
        }
    }

    int get(int x, int y) const { return data_.cells[x][y]; }

    const LevelData& data() const { return data_; }
    // Takes over a whole level, as undo and opening a file do; the picture
    // is recoloured when the registers change or the level comes on.
    void setData(const LevelData& level)
    {
        bool recolour = level.on && !data_.on;
        for (int i = 0; i < 6; ++i)
            recolour = recolour || level.colours[i] != data_.colours[i];
        data_ = level;
        if (recolour && tileSheet)
            repaint();
    }

    // Takes over everything the player sees, pixels included, but keeps
    // this level's own eraser and screw codes and surfaces.
    void copy(const map& other)
    {
        if (&other == this)
            return;
        data_ = other.data_;
        if (levelSheet && other.levelSheet)
            SDL_UpperBlit(other.levelSheet.get(), nullptr, levelSheet.get(), nullptr);
        else if (levelSheet)
            repaint(); // no finished pixels to take over: make our own
    }

    int colorGet(int i) const { return data_.colours[i]; }

    void colorSet(int i, int value)
    {
        data_.colours[i] = value;
        repaint();
    }

    void colorSet(int r5, int r4, int r3, int r2, int r1, int r0)
    {
        int* colours = data_.colours;
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
    int srubkiGet() const { return data_.srubki; }
    void srubkiSet(int n) { data_.srubki = n; }

    int srubkiAutoGet() const
    {
        int count = 0;
        for (int i = 0; i < cells; ++i)
            if (gridBytes()[i] == srubka)
                ++count;
        return count;
    }

    int wzorekGet() const { return data_.wzorek; }
    // Keeps the low byte as a signed value, so -1 reads back as -1.
    void wzorekSet(int p)
    {
        const int low = p & 0xFF;
        data_.wzorek = low < 128 ? low : low - 256;
    }

    // The recoloured copy the editor blits cells from; null when the level
    // has no sheet.
    SDL_Surface* sheet() const { return levelSheet.get(); }

    // The 496 cells as stored: column after column, 31 cells each, so cell
    // (x, y) is byte x * 31 + y.
    const unsigned char* gridBytes() const { return &data_.cells[0][0]; }

private:
    void setDefaults()
    {
        data_.on = false;
        data_.srubki = 0;
        data_.wzorek = 0;
        for (int i = 0; i < 6; ++i)
            data_.colours[i] = kDefaultColours[i];
    }

    void fillGrid()
    {
        for (auto& column : data_.cells)
            for (unsigned char& cell : column)
                cell = gumka;
    }

    SurfacePtr levelSheet;
    SDL_Surface* tileSheet = nullptr;
    SDL_Surface* paletteSheet = nullptr;
    LevelData data_;
    unsigned char gumka = 0;
    unsigned char srubka = 0;
};
