// One level as the editor shows it: a view of one slot of the session's
// document (or, for the scratch level and standalone use, of a level of its
// own), with the eraser and screw codes and a copy of the tile sheet in the
// level's colours. Reads come from the document; every change goes through
// the session. The recoloured copy is only a cache of the registers.
#pragma once

#include "core/session.h"
#include "render/levelrenderer.h"

#include <SDL.h>

class map {
public:
    static constexpr int columns = kLevelColumns;
    static constexpr int rows = kLevelRows;
    static constexpr int cells = kLevelCells;

    map() { reset(); }

    // The editor keeps its levels as plain array members; the level sheet
    // is this level's own.
    map(const map&) = delete;
    map& operator=(const map&) = delete;

    // Makes this level show and change slot `slot` of `session`'s document.
    void bind(Session* session, int slot)
    {
        session_ = session;
        slot_ = slot;
    }

    // Attaches the shared tile and palette sheets and makes this level's
    // own, not yet recoloured, copy of the tile sheet. If the copy cannot be
    // made the level has no sheet and draws nothing.
    void setBmp(SDL_Surface* sheet, SDL_Surface* palette) { levelSheet.attach(sheet, palette); }

    void repaint()
    {
        if (levelSheet.attached())
            levelSheet.recolour(data().colours);
    }

    void reset()
    {
        setDefaults();
        repaint();
    }

    void resetNoRepaint() { setDefaults(); }

    void create()
    {
        if (!data().on)
            edit().on = true;
    }
    int isOn() const { return data().on ? 1 : 0; }

    // Painting the first tile into an empty slot creates the level.
    void add(int x, int y, int code)
    {
        const bool wasOn = data().on;
        if (session_)
            session_->setCell(slot_, {x, y}, static_cast<uint8_t>(code));
        else
            own_.cells[x][y] = static_cast<uint8_t>(code), own_.on = true;
        if (!wasOn)
            repaint();
    }

    int get(int x, int y) const { return data().cells[x][y]; }

    const LevelData& data() const { return session_ ? session_->level(slot_) : own_; }
    // Takes over a whole level, as pasting does; the picture follows the
    // new registers.
    void setData(const LevelData& level)
    {
        edit() = level;
        followColours();
    }

    // Takes over everything the player sees, pixels included, but keeps
    // this level's own eraser and screw codes.
    void copy(const map& other)
    {
        if (&other == this)
            return;
        edit() = other.data();
        if (other.levelSheet.attached())
            levelSheet.copyPixels(other.levelSheet);
        else
            repaint();  // no finished pixels to take over: make our own
    }

    // Exchanges the pictures of two levels whose data were swapped.
    void swapSheet(map& other) { levelSheet.swap(other.levelSheet); }

    int colorGet(int i) const { return data().colours[i]; }

    void colorSet(int i, int value)
    {
        edit().colours[i] = value;
        repaint();
    }

    void colorSet(int r5, int r4, int r3, int r2, int r1, int r0)
    {
        int* colours = edit().colours;
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
    int srubkiGet() const { return data().srubki; }
    void srubkiSet(int n)
    {
        if (data().srubki != n)
            edit().srubki = n;
    }

    int srubkiAutoGet() const { return countCells(data(), srubka); }

    int wzorekGet() const { return data().wzorek; }
    // Keeps the low byte as a signed value, so -1 reads back as -1.
    void wzorekSet(int p)
    {
        const int low = p & 0xFF;
        const int pattern = low < 128 ? low : low - 256;
        if (data().wzorek != pattern)
            edit().wzorek = pattern;
    }

    // The recoloured copy the editor draws cells from; null when the level
    // has no sheet. A level that has come on, or had its colours set, shows
    // its colours; until then the sheet's own.
    SDL_Surface* sheet() const
    {
        followColours();
        return levelSheet.surface();
    }

    // The 496 cells as stored: column after column, 31 cells each, so cell
    // (x, y) is byte x * 31 + y.
    const unsigned char* gridBytes() const { return &data().cells[0][0]; }

private:
    LevelData& edit() { return session_ ? session_->editLevel(slot_) : own_; }

    void setDefaults()
    {
        LevelData& level = edit();
        level = emptyLevel(gumka);
    }

    // The copy catches up with registers changed elsewhere (undo, opening
    // a file, pasting); an untouched empty level keeps the sheet's colours.
    void followColours() const
    {
        if (!levelSheet.attached())
            return;
        const LevelData& level = data();
        if (levelSheet.coloured() ? !levelSheet.shows(level.colours) : level.on)
            levelSheet.recolour(level.colours);
    }

    mutable LevelSheet levelSheet;
    Session* session_ = nullptr;
    int slot_ = 0;
    LevelData own_;
    unsigned char gumka = 0;
    unsigned char srubka = 0;
};
