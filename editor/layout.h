// Where everything sits in the 640 x 570 window, named once. Construction
// places the widgets from here, painting draws the labels and the grid from
// here, the mouse handler hit-tests with these rectangles, and the tests aim
// their clicks with them. No SDL: plain integers.
#pragma once

#include "core/level.h"

namespace layout {

struct Point {
    int x, y;
};

// A widget's rectangle. Its hit test is the widgets' own: the right edge
// column x + w still counts as inside, the bottom edge row y + h does not.
// Where two widgets share a border column, the order in which the mouse
// handler tests them decides.
struct Rect {
    int x, y, w, h;

    constexpr bool contains(int px, int py) const { return px >= x && px <= x + w && py >= y && py < y + h; }
    constexpr int right() const { return x + w; }   // the edge column, the first the drawing leaves out
    constexpr int bottom() const { return y + h; }  // first row past the rectangle
    constexpr Point centre() const { return {x + w / 2, y + h / 2}; }
};

constexpr Rect window{0, 0, 640, 570};

// The top bar: the file commands, the document path (or a message) and
// "Usun mape".
constexpr Rect newButton{0, 0, 60, 25};
constexpr Rect openButton{60, 0, 60, 25};
constexpr Rect saveButton{120, 0, 60, 25};
constexpr Rect saveAsButton{180, 0, 60, 25};
// The command buttons down the right edge: "Zamien mapy", the longest
// label, is 11 characters of 8 pixels, 88 of the 90 pixels, and sits
// between the two border columns.
constexpr int rightColumnX = 550;
constexpr int rightColumnWidth = 90;
constexpr Rect deleteButton{rightColumnX, 0, rightColumnWidth, 25};
// The document's path between the file buttons and "Usun mape".
constexpr Point pathLine{245, 8};
constexpr int fontWidth = 8;
constexpr int fontHeight = 8;
constexpr int pathLineWidth = deleteButton.x - 3 - pathLine.x;
constexpr int pathLineChars = pathLineWidth / fontWidth;
// The area the path is drawn in: the top bar between the file buttons and
// "Usun mape".
constexpr Rect pathArea{pathLine.x - 4, 0, deleteButton.x - pathLine.x + 4, 25};

// The 32 level slots, a row of buttons under the top bar.
constexpr int levelSlots = 32;
constexpr Rect levelSlot(int slot) { return {20 * slot, 25, 19, 20}; }

// Level commands on the right.
constexpr Rect swapButton{rightColumnX, 45, rightColumnWidth, 25};
constexpr Rect testLevelButton{rightColumnX, 70, rightColumnWidth, 25};
constexpr Rect testGameButton{rightColumnX, 95, rightColumnWidth, 25};
// Playing the level on the canvas, under the emulator tests.
constexpr Rect playButton{rightColumnX, 120, rightColumnWidth, 25};
// The set view, beside it in the free space right of the wall counter.
constexpr Rect setViewButton{458, 120, 88, 25};

// The level canvas: 16 columns by 31 rows of 16-pixel cells.
constexpr int cellSize = 16;
constexpr int canvasColumns = kLevelColumns;
constexpr int canvasRows = kLevelRows;
constexpr Rect canvas{5, 50, canvasColumns * cellSize, canvasRows * cellSize};
constexpr Rect canvasCellRect(int column, int row)
{
    return {canvas.x + cellSize * column, canvas.y + cellSize * row, cellSize, cellSize};
}

// The grey frame one pixel round the canvas. The eraser's band runs over
// ten rows of cells from the canvas's left column to its edge column and
// down to the first row after them, so its right side lies on the frame's
// right line and, from the last rows, its bottom on the frame's bottom.
constexpr Rect canvasFrame{canvas.x - 1, canvas.y - 1, canvas.w + 2, canvas.h + 2};
constexpr Rect canvasRightLine{canvas.x + canvas.w, canvas.y - 1, 1, canvas.h + 2};
constexpr Rect canvasBottomLine{canvas.x - 1, canvas.y + canvas.h, canvas.w + 2, 1};
constexpr int bandRows = 10;
constexpr Rect band(int row) { return {canvas.x, canvas.y + cellSize * row, canvas.w, cellSize * bandRows}; }

// The cell under a point; false off the canvas. The canvas's edge column
// belongs to its last column of cells.
constexpr bool canvasCellAt(int px, int py, Cell& cell)
{
    if (!canvas.contains(px, py))
        return false;
    const int column = (px - canvas.x) / cellSize;
    cell = {column < canvasColumns ? column : canvasColumns - 1, (py - canvas.y) / cellSize};
    return true;
}

// The painting tools in a row under the canvas, the grid switch last; the
// frame drawn around the canvas lies one pixel outside it.
constexpr int toolButtons = 8;
constexpr Rect toolButton(int i) { return {canvas.x + 26 * i, 549, 24, 20}; }

// The wall counter's pattern number beside its picture; the value of the
// colour register under the pointer beside the register row, and the area
// it is drawn in.
constexpr Point wallPatternNumber{440, 119};
constexpr Point registerValue{548, 161};
constexpr Rect registerValueArea{registerValue.x - 2, registerValue.y - 2, 40, 12};

// The tile palette: 5 entries wide, 26 rows deep.
constexpr int paletteEntries = 130;
constexpr int paletteColumns = 5;
constexpr Rect paletteEntry(int entry)
{
    return {270 + 20 * (entry % paletteColumns), 50 + 20 * (entry / paletteColumns), 19, 19};
}
// The entry under a point, or -1, by the widgets' own rule: the column
// right of an entry still counts as the entry, the row under it does not.
constexpr int paletteEntryAt(int px, int py)
{
    if (px < 270 || px >= 270 + 20 * paletteColumns || py < 50 || (py - 50) % 20 == 19)
        return -1;
    int entry = paletteColumns * ((py - 50) / 20) + (px - 270) / 20;
    return entry < paletteEntries ? entry : -1;
}

// The two counters: a label line, then a 60 x 25 body with "-" at its left
// end and "+" at its right end.
constexpr Point screwCounter{375, 50};
constexpr Point wallCounter{375, 100};
constexpr int counterLabelHeight = 10;
constexpr Rect counterBody(Point counter) { return {counter.x, counter.y + counterLabelHeight, 60, 25}; }
constexpr Rect counterMinus(Point counter) { return {counter.x, counter.y + counterLabelHeight, 15, 25}; }
constexpr Rect counterPlus(Point counter) { return {counter.x + 45, counter.y + counterLabelHeight, 15, 25}; }
// What a counter draws: its label over the body, and the edge column the
// "+" takes; the screw counter's label is the longer.
constexpr Rect screwCounterArea{screwCounter.x, screwCounter.y, 160, 35};
constexpr Rect wallCounterArea{wallCounter.x, wallCounter.y, 80, 35};

// Colours: the register buttons and the Atari colour grid (16 hues by 8
// luminances of 16 x 16 pixels).
constexpr Point colourLabel{375, 160};
constexpr Rect colourRegister(int r) { return {425 + 20 * r, 155, 20, 20}; }
constexpr Rect colourPicker{375, 176, 256, 128};
// What the picker draws: its grid, and the red mark round the chosen cell,
// which reaches one column and one row past the cell.
constexpr Rect colourPickerArea{colourPicker.x, colourPicker.y, colourPicker.w + 1, colourPicker.h + 9};

// The text pages: "Start" and "Koniec", and the page of 8 lines by 32
// characters of 8 x 10 pixels, drawn from textPage's corner.
constexpr Point textLabel{375, 338};
constexpr Rect startPageButton{425, 333, 50, 20};
constexpr Rect endPageButton{475, 333, 60, 20};  // room for its six letters
constexpr int textColumns = kPageColumns;
constexpr int textLines = kPageLines;
constexpr int textCellWidth = 8;
constexpr int textCellHeight = 10;
constexpr Rect textPage{375, 355, textColumns * textCellWidth, textLines * textCellHeight};
// The box drawn around the page; a press in it gives the page the keyboard.
constexpr Rect textBox{textPage.x - 1, textPage.y - 1, textPage.w + 2, textPage.h};
// What the page draws: the box and the cursor under the last line.
constexpr Rect textPageArea{textBox.x, textBox.y, textBox.w, textBox.h + 2};
// The cell under a point, or false. The page's own first column and row
// (x = 375, y = 355) don't place the cursor, the row under the box does.
constexpr bool textCellAt(int px, int py, Cell& cell)
{
    if (px <= textPage.x || px > textPage.right() - 1 || py <= textPage.y || py > textPage.bottom() - 1)
        return false;
    cell = {(px - textPage.x) / textCellWidth, (py - textPage.y) / textCellHeight};
    return true;
}

// Undo and redo, in the free area under the text page.
constexpr Rect undoButton{375, 445, 80, 25};
constexpr Rect redoButton{460, 445, 80, 25};

// Under them, the messages: the last one, wrapped over up to five lines (a
// click on one that does not fit shows it whole); the status line, two
// lines telling what lies under the pointer; and in the row of the tool
// buttons, the run's log, help, and the button that puts a message away.
constexpr Rect messageArea{375, 472, 265, 52};
constexpr int messageLineHeight = 10;
constexpr int messageLineCount = 5;
constexpr int messageChars = (messageArea.w - 4) / fontWidth;
constexpr Point messageLine(int line) { return {messageArea.x + 2, messageArea.y + 2 + messageLineHeight * line}; }
// The line of the message area at height `py` (from the row above its
// letters), -1 above the first.
constexpr int messageLineAt(int py)
{
    return py < messageLine(0).y - 1 ? -1 : (py - messageLine(0).y + 1) / messageLineHeight;
}
// The dark band under a line in red of `chars` characters at `at`.
constexpr Rect errorBand(Point at, int chars) { return {at.x - 2, at.y - 1, fontWidth * chars + 4, fontHeight + 2}; }
constexpr Rect statusLine{375, 526, 265, 21};
constexpr int statusChars = (statusLine.w - 2) / fontWidth;
constexpr Point statusText(int line) { return {statusLine.x + 1, statusLine.y + 2 + 10 * line}; }
constexpr Rect logButton{375, 549, 80, 20};
constexpr Rect helpButton{460, 549, 20, 20};
constexpr Rect dismissButton{580, 549, 60, 20};

// Help, the log and a message in full cover everything under the level
// slots while they show.
constexpr Rect overlay{0, 45, 640, 525};
constexpr int overlayChars = (overlay.w - 16) / fontWidth;
constexpr int overlayLineHeight = 10;
constexpr int overlayTextTop = overlay.y + 24;
constexpr int overlayLineCount = (overlay.bottom() - 8 - overlayTextTop) / overlayLineHeight;
constexpr Point overlayTitle{overlay.x + 8, overlay.y + 8};
// "Escape lub klik zamyka", `chars` long, at the title's right end.
constexpr Point overlayClosing(int chars) { return {overlay.right() - 8 - fontWidth * chars, overlayTitle.y}; }
constexpr Point overlayLine(int line) { return {overlay.x + 8, overlayTextTop + overlayLineHeight * line}; }
// The line of the page at height `py`, -1 above the first.
constexpr int overlayLineAt(int py) { return py < overlayTextTop ? -1 : (py - overlayTextTop) / overlayLineHeight; }
// The marks that tell more lines lie above or below.
constexpr Point overlayMoreAbove{overlay.right() - 24, overlayTextTop};
constexpr Point overlayMoreBelow{overlay.right() - 24, overlay.bottom() - 16};

} // namespace layout
