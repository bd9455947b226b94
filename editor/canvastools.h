// The painting tools on a level's grid, apart from the window: the drawing
// stroke without gaps, flood fill, rectangles and their outlines, lines,
// picking a tile, the selection, copying and pasting levels and parts of
// them, and flipping and turning those parts. Presses, drags and releases arrive as cells (a drag's cell may
// lie off the grid); every change goes through the session. No SDL.
#pragma once

#include "core/gridtools.h"
#include "core/session.h"

#include <cstdint>

enum class Tool { draw, fill, rectangle, outline, line, pick, select, count };

class CanvasTools {
public:
    explicit CanvasTools(Session& session) : session_(session) {}

    Tool tool() const { return tool_; }
    // R a second time turns the rectangle into its outline and back. Any
    // other choice drops a selection that is not the select tool's, and a
    // part being placed.
    void choose(Tool tool);

    // What a press asks of the editor beyond the grid.
    struct PressResult {
        int pickedCode = -1;  // the pick tool's answer: the code under the cell
    };
    // A press on `cell` of level `slot`. `erase` for the right button or a
    // wheel-up step; `code` is what the left button draws (-1 none yet),
    // `eraserCode` what erasing writes.
    PressResult press(int slot, Cell cell, bool erase, int code, int eraserCode);
    // Every cell between the last point of the stroke and this one is drawn,
    // however fast the pointer moved; points off the grid break the line,
    // and a shape reaches the grid's edge.
    void drag(Cell cell);
    // Shapes are drawn on release.
    void release();

    bool stroking() const { return stroke_.active; }
    // What the stroke under way would draw now (shapes only), in its code.
    Cells preview() const;
    uint8_t strokeCode() const { return stroke_.code; }

    bool hasSelection() const { return hasSelection_ && tool_ == Tool::select; }
    Cell selectionStart() const { return selectionStart_; }
    Cell selectionEnd() const { return selectionEnd_; }

    // Ctrl+C: the selection when there is one, else the whole level with its
    // counters and colours.
    void copy(int slot);
    // Ctrl+V: a whole level replaces level `slot`; a part follows the pointer
    // until a left press places it. Returns true when the pasted level or
    // part holds the robot (`robotCode`) while `slot` already has one, so the
    // editor can say a second robot came in.
    bool paste(int slot, int robotCode);
    bool placing() const { return placing_; }
    const GridPatch& patch() const { return patch_; }

    // X, Y, Z and Shift+Z: the part being placed, else the selection of
    // level `slot`, flipped or turned with its directed tiles (gridtools.h).
    // A turned selection keeps its middle and stays selected; the cells it
    // leaves get the eraser code. A turn that would reach past the level's
    // edge changes nothing.
    enum class TurnOutcome { turned, nothingSelected, doesNotFit };
    TurnOutcome turn(int slot, GridTurn how);

    // Escape: drops a part being placed, then a selection. False when there
    // was neither.
    bool cancel();
    // The level being edited changed: no selection carries over.
    void levelChanged();

private:
    Cells shape() const;

    Session& session_;
    Tool tool_ = Tool::draw;
    struct Stroke {
        bool active = false;
        int slot = 0;
        uint8_t code = 0;
        Cell start, last;
        bool lastInside = false;  // the pointer was over the grid at the last point
    } stroke_;
    bool hasSelection_ = false;
    Cell selectionStart_, selectionEnd_;
    enum class Clipboard { none, level, patch } clipboard_ = Clipboard::none;
    LevelData copiedLevel_;
    GridPatch patch_;
    bool placing_ = false;
};
