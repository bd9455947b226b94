// Painting the window by parts. Each part (a button, the counters, the
// text page, the message area, each cell of the canvas) has a look: a hash
// of everything it shows. A paint draws again only the parts whose look
// changed, each on its own background and clipped to its area, so a hover
// or a stroke step redraws a few cells; damage() lists what was drawn for
// the screen. A new background colour, or invalidate(), repaints it all.
#include "editor/frame.h"

#include "render/font.h"
#include "render/funkcje.h"
#include "render/levelrenderer.h"

#include <SDL_gfxPrimitives.h>

#include <cmath>
#include <functional>
#include <string_view>
#include <cstdio>

namespace {

const Uint8 white[4] = {255, 255, 255, 255};
const Uint8 black[4] = {0, 0, 0, 255};

void text(SDL_Surface* target, int x, int y, const char* s, const Uint8 colour[4] = white)
{
    drawString(target, x, y, s, colour[0], colour[1], colour[2]);
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

// A hash of what a part shows, a word at a time.
class Look {
public:
    Look& operator<<(uint64_t value)
    {
        hash_ = (hash_ ^ value) * 0x100000001b3ull;
        hash_ ^= hash_ >> 29;
        return *this;
    }
    Look& operator<<(const std::string& text) { return *this << uint64_t(std::hash<std::string>()(text)); }
    Look& operator<<(const void* pointer) { return *this << uint64_t(reinterpret_cast<uintptr_t>(pointer)); }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 0xcbf29ce484222325ull;
};

Look& operator<<(Look&& look, const CGui& widget);
Look& operator<<(Look& look, const CGui& widget)
{
    return look << uint64_t(widget.x) << uint64_t(widget.y) << uint64_t(widget.width) << uint64_t(widget.height)
                << uint64_t(widget.red) << uint64_t(widget.green) << uint64_t(widget.blue) << uint64_t(widget.alpha)
                << uint64_t(widget.isVisible) << uint64_t(widget.isActive) << uint64_t(widget.isPushed)
                << uint64_t(std::hash<std::string_view>()(std::string_view(widget.captionText)));
}

Look& operator<<(Look&& look, const CGui& widget)
{
    return look << widget;
}

uint64_t lookOf(const CButton& button)
{
    Look look;
    look << static_cast<const CGui&>(button) << uint64_t(button.hasImage) << button.imageSheet
         << uint64_t(button.imageSource.x) << uint64_t(button.imageSource.w);
    return look.value();
}

SDL_Rect sdlRect(const layout::Rect& r)
{
    return {Sint16(r.x), Sint16(r.y), Uint16(r.w), Uint16(r.h)};
}

bool intersects(const layout::Rect& a, const layout::Rect& b)
{
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

// What a cell's look holds besides its code (the low 8 bits): which edges
// of each outline pass through it, four bits (left, top, right, bottom) an
// outline, and the marks of the cell alone.
const int selectionEdges = 8, placingEdges = 12, bandEdges = 16;
const uint32_t hovered = 1u << 20;
const uint32_t flashed = 1u << 21;

bool has(uint32_t look, int edges)
{
    return (look >> edges & 0xF) != 0;
}

// The edges of the rectangle from `a` to `b` that lie in `cell`, as four
// bits at `shift`.
uint32_t edgesIn(Cell cell, Cell a, Cell b, int shift)
{
    const int left = std::min(a.column, b.column), right = std::max(a.column, b.column);
    const int top = std::min(a.row, b.row), bottom = std::max(a.row, b.row);
    if (cell.column < left || cell.column > right || cell.row < top || cell.row > bottom)
        return 0;
    const uint32_t edges = (cell.column == left ? 1u : 0u) | (cell.row == top ? 2u : 0u) |
                           (cell.column == right ? 4u : 0u) | (cell.row == bottom ? 8u : 0u);
    return edges << shift;
}

} // namespace

std::string fitPathTail(const std::string& path, size_t width)
{
    if (path.size() <= width)
        return path;
    return "..." + path.substr(path.size() - (width - 3));
}

std::string frame::pathLine() const
{
    return fitPathTail(filePath, layout::pathLineChars);
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

void frame::paintPart(const layout::Rect& area, uint64_t look, const std::function<void()>& draw)
{
    const size_t index = partIndex++;
    if (index >= shownLooks.size())
        shownLooks.resize(index + 1, 0);
    if (overlay_ != Overlay::none && intersects(area, layout::overlay))
        return;  // under the page; all of it comes back when the page closes
    if (setView->isOpen() && SetView::covers(area))
        return;  // likewise under the set view
    if (!wholePaint && shownLooks[index] == look)
        return;
    shownLooks[index] = look;
    if (wholePaint) {
        draw();
        return;
    }
    SDL_Rect r = sdlRect(area);
    SDL_SetClipRect(screen, &r);
    fillArea(screen, r, background);
    draw();
    SDL_SetClipRect(screen, nullptr);
    damage_.push_back(r);
}

void frame::paint()
{
    damage_.clear();
    if (!ok())
        return;
    map& level = levels[currentLevel];

    std::string title = windowTitle();
    if (title != shownTitle) {
        SDL_WM_SetCaption(title.c_str(), nullptr);
        shownTitle = title;
    }

    // The current choices show pressed, the others not.
    buttons[currentLevel]->pushed(1);
    for (int i = 0; i < paletteEntries; ++i)
        buttons[firstPaletteButton + i]->pushed(i == currentTile);
    for (int r = 0; r < 6; ++r)
        buttons[firstColourButton + r]->pushed(r == currentColour);
    buttons[startPageButton]->pushed(currentPage == 0);
    buttons[endPageButton]->pushed(currentPage == 1);
    // Undo and redo grey out when there is nothing to take back or redo;
    // so does the dismiss button without a message.
    auto greyUnless = [](CButton* button, bool on) {
        button->active(on);
        const int grey = on ? 200 : 110;
        button->color(grey, grey, grey, 255);
    };
    greyUnless(undoButton, session.canUndo());
    greyUnless(redoButton, session.canRedo());
    greyUnless(dismissButton, !notices.empty());
    for (int i = 0; i < levelCount; ++i) {
        if (levels[i].isOn())
            buttons[i]->color(0, 255, 0, 255);
        else
            buttons[i]->color(200, 200, 200, 255);
    }
    screwCounter.set(level.srubkiGet());
    // Without a wall tile the counter shows the pattern as a number.
    if (murekTile >= 0) {
        wallCounter.moveImage(16 * (murekTile + level.wzorekGet()), 0, 16, 16);
    } else {
        wallCounter.moveImage(-16, 0, 16, 16);
        wallCounter.set(level.wzorekGet());
    }
    colourPicker->set(level.colorGet(currentColour));

    const Uint32 newBackground = screenColour(level.colorGet(4));
    wholePaint = wholeInvalid || newBackground != background || setView->isOpen() != setViewShown;
    setViewShown = setView->isOpen();
    wholeInvalid = false;
    background = newBackground;
    partIndex = 0;
    const Uint8* labelColour = labelsInBlack() ? black : white;
    if (wholePaint && setViewShown) {
        SDL_FillRect(screen, nullptr, background);
    } else if (wholePaint) {
        SDL_FillRect(screen, nullptr, background);
        text(screen, layout::colourLabel.x, layout::colourLabel.y, "Kolor:", labelColour);
        text(screen, layout::textLabel.x, layout::textLabel.y, "Tekst:", labelColour);
        const layout::Rect& c = layout::canvas;
        rectangleRGBA(screen, Sint16(c.x - 1), Sint16(c.y - 1), Sint16(c.right()), Sint16(c.bottom()), 160, 160,
                      160, 255);
    }

    const std::string path = pathLine();
    paintPart({layout::pathLine.x - 4, 0, layout::deleteButton.x - layout::pathLine.x + 4, 25},
              (Look() << path << labelColour[0]).value(),
              [&] { text(screen, layout::pathLine.x, layout::pathLine.y, path.c_str(), labelColour); });

    if (playing())
        playButton->pushed(1);
    for (CGui* widget : commandButtons()) {
        CButton* button = static_cast<CButton*>(widget);
        paintPart({button->x, button->y, button->width, button->height}, lookOf(*button),
                  [&] { button->render(screen); });
    }
    // A level the checks find fault with, or that cannot be finished, has
    // a red corner beside its number.
    for (int i = 0; i < levelCount; ++i) {
        const bool marked = setView->slotMarked(i);
        paintPart(layout::levelSlot(i), (Look() << lookOf(*static_cast<CButton*>(buttons[i])) << uint64_t(marked)).value(),
                  [&] {
                      buttons[i]->render(screen);
                      const layout::Rect r = layout::levelSlot(i);
                      if (marked)
                          filledTrigonRGBA(screen, Sint16(r.right() - 6), Sint16(r.y + 1), Sint16(r.right() - 2),
                                           Sint16(r.y + 1), Sint16(r.right() - 2), Sint16(r.y + 5), 255, 40, 40, 255);
                  });
    }
    for (int i = 0; i < paletteEntries; ++i)
        paintPart(layout::paletteEntry(i), lookOf(*paletteEntry(i)), [&] { paletteEntry(i)->render(screen); });

    const int* colours = level.data().colours;
    for (int r = 0; r < kColourRegisters; ++r) {
        CButton* button = static_cast<CButton*>(buttons[firstColourButton + r]);
        paintPart(layout::colourRegister(r), (Look() << lookOf(*button) << uint64_t(colours[r])).value(), [&] {
            button->render(screen);
            drawRegisterSamples();
        });
    }
    int hoveredRegister = -1;
    for (int r = 0; r < kColourRegisters; ++r)
        if (layout::colourRegister(r).contains(pointerX, pointerY))
            hoveredRegister = r;
    paintPart({layout::registerValue.x - 2, layout::registerValue.y - 2, 40, 12},
              (Look() << uint64_t(hoveredRegister) << uint64_t(hoveredRegister < 0 ? 0 : colours[hoveredRegister]))
                  .value(),
              [&] { drawRegisterValue(); });
    for (int page : {startPageButton, endPageButton}) {
        CButton* button = static_cast<CButton*>(buttons[page]);
        paintPart({button->x, button->y, button->width, button->height}, lookOf(*button),
                  [&] { button->render(screen); });
    }

    screwCounter.labelColor(labelColour[0], labelColour[1], labelColour[2]);
    paintPart({layout::screwCounter.x, layout::screwCounter.y, 160, 35},
              (Look() << screwCounter << uint64_t(screwCounter.minusButton->isPushed)
                      << uint64_t(screwCounter.plusButton->isPushed))
                  .value(),
              [&] { screwCounter.render(screen); });
    wallCounter.labelColor(labelColour[0], labelColour[1], labelColour[2]);
    paintPart({layout::wallCounter.x, layout::wallCounter.y, 80, 35},
              (Look() << wallCounter << uint64_t(wallCounter.minusButton->isPushed)
                      << uint64_t(wallCounter.plusButton->isPushed) << uint64_t(wallCounter.imageSource.x))
                  .value(),
              [&] {
                  wallCounter.render(screen);
                  if (murekTile >= 0) {
                      char number[12];
                      std::snprintf(number, sizeof number, "%d", level.wzorekGet());
                      text(screen, layout::wallPatternNumber.x, layout::wallPatternNumber.y, number, labelColour);
                  }
              });
    paintPart({layout::colourPicker.x, layout::colourPicker.y, layout::colourPicker.w + 1, 137},
              (Look() << *colourPicker << uint64_t(colourPicker->markX) << uint64_t(colourPicker->markY)).value(),
              [&] { colourPicker->render(screen); });

    Look page;
    page << uint64_t(currentPage) << uint64_t(textFocus) << uint64_t(cursorColumn) << uint64_t(cursorRow);
    for (const char* line : textPages[currentPage])
        page << std::string(line);
    paintPart({layout::textBox.x, layout::textBox.y, layout::textBox.w, layout::textBox.h + 2}, page.value(),
              [&] { drawText(layout::textPage.x, layout::textPage.y, currentPage); });

    for (int i = 0; i < toolButtonCount; ++i) {
        Look tool;
        tool << uint64_t(i == int(Tool::count) ? showGrid : tools.tool() == Tool(i));
        paintPart(layout::toolButton(i), tool.value(), [&] { drawToolButton(i); });
    }

    bool whole = true;
    Look messages;
    for (const TextLine& line : messageLines(whole))
        messages << line.text << uint64_t(line.error);
    paintPart(layout::messageArea, (messages << uint64_t(labelColour[0])).value(), [&] { drawMessageArea(); });
    paintPart(layout::statusLine, (Look() << statusText() << uint64_t(labelColour[0])).value(),
              [&] { drawStatusLine(); });

    paintCanvas();
    if (overlay_ == Overlay::none)
        setView->paint(screen, wholePaint, damage_);

    if (overlay_ != Overlay::none) {
        Look page;
        page << uint64_t(overlay_) << uint64_t(overlayTop);
        for (const TextLine& line : overlayLines())
            page << line.text;
        if (wholePaint || shownOverlayLook != page.value()) {
            shownOverlayLook = page.value();
            drawOverlay();
            if (!wholePaint)
                damage_.push_back(sdlRect(layout::overlay));
        }
    }

    if (wholePaint) {
        damage_.clear();
        damage_.push_back(sdlRect(layout::window));
    }
    hoverRow = -1;
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
// pattern.
void frame::drawCell(const map& level, int column, int row, int code)
{
    const layout::Rect cell = layout::canvasCellRect(column, row);
    ::drawCell(screen, tileArt(), level.sheet(), level.wzorekGet(), code, cell.x, cell.y);
}

// The look of one cell: the code it shows (what a shape being drawn or a
// part being placed would put there, else the level's) and the outlines
// passing through it.
uint32_t frame::cellLook(Cell cell, const std::vector<uint8_t>& shownCodes) const
{
    uint32_t look = shownCodes[size_t(cell.column * kLevelRows + cell.row)];
    if (playing())
        return look;  // the game alone, no marks of editing
    Cell pointer;
    if (layout::canvasCellAt(pointerX, pointerY, pointer)) {
        if (pointer == cell)
            look |= hovered;
        if (tools.placing()) {
            const GridPatch& patch = tools.patch();
            const Cell end{std::min(pointer.column + patch.columns, kLevelColumns) - 1,
                           std::min(pointer.row + patch.rows, kLevelRows) - 1};
            look |= edgesIn(cell, pointer, end, placingEdges);
        }
    }
    if (tools.hasSelection())
        look |= edgesIn(cell, tools.selectionStart(), tools.selectionEnd(), selectionEdges);
    if (hoverRow >= 0 && drawsEraser(currentTile))
        look |= edgesIn(cell, {0, hoverRow}, {kLevelColumns - 1, hoverRow + 9}, bandEdges);
    if (flashing() && flashSlot == currentLevel && cell == flashedCell &&
        (clock() - flashStart) / 200 % 2 == 0)
        look |= flashed;
    return look;
}

// The outlines of a cell's look, drawn whole; the clip keeps them to the
// cells being drawn.
void frame::drawCanvasOverlays(uint32_t look)
{
    auto outline = [&](Cell a, Cell b, Uint8 r, Uint8 g, Uint8 bl) {
        const int left = std::min(a.column, b.column), right = std::max(a.column, b.column);
        const int top = std::min(a.row, b.row), bottom = std::max(a.row, b.row);
        rectangleRGBA(screen, Sint16(mapX + 16 * left), Sint16(mapY + 16 * top), Sint16(mapX + 16 * right + 15),
                      Sint16(mapY + 16 * bottom + 15), r, g, bl, 255);
    };
    if (has(look, selectionEdges))
        outline(tools.selectionStart(), tools.selectionEnd(), 0, 255, 255);
    Cell pointer;
    const bool overCanvas = layout::canvasCellAt(pointerX, pointerY, pointer);
    if (has(look, placingEdges) && overCanvas) {
        const GridPatch& patch = tools.patch();
        outline(pointer,
                {std::min(pointer.column + patch.columns, kLevelColumns) - 1,
                 std::min(pointer.row + patch.rows, kLevelRows) - 1},
                0, 255, 255);
    }
    if ((look & hovered) && overCanvas)
        outline(pointer, pointer, 255, 255, 0);
    // The eraser's band lies over the hovered cell's outline.
    if (has(look, bandEdges))
        outline({0, hoverRow}, {kLevelColumns - 1, hoverRow + 9}, 255, 125, 125);
    if (look & flashed) {
        const layout::Rect r = layout::canvasCellRect(flashedCell.column, flashedCell.row);
        rectangleRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), 255, 0, 0,
                      255);
        rectangleRGBA(screen, Sint16(r.x + 1), Sint16(r.y + 1), Sint16(r.right() - 2), Sint16(r.bottom() - 2), 255,
                      255, 255, 255);
    }
}

void frame::drawCanvasCell(Cell cell, uint32_t look)
{
    const layout::Rect r = layout::canvasCellRect(cell.column, cell.row);
    SDL_Rect clip = sdlRect(r);
    SDL_SetClipRect(screen, &clip);
    fillArea(screen, clip, background);
    drawCell(levels[currentLevel], cell.column, cell.row, int(look & 0xFF));
    if (showGrid) {
        if (cell.column > 0)
            vlineRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.bottom() - 1), 128, 128, 128, 110);
        if (cell.row > 0)
            hlineRGBA(screen, Sint16(r.x), Sint16(r.right() - 1), Sint16(r.y), 128, 128, 128, 110);
    }
    drawCanvasOverlays(look);
    SDL_SetClipRect(screen, nullptr);
}

// The canvas redraws the cells whose look changed; a change of level,
// colours, wall pattern or grid redraws them all.
void frame::paintCanvas()
{
    if (overlay_ != Overlay::none || setView->isOpen())
        return;
    const map& level = levels[currentLevel];
    Look whole;
    // An empty level shows the sheet's own colours until it comes on.
    whole << uint64_t(currentLevel) << level.sheet() << uint64_t(level.isOn()) << uint64_t(level.wzorekGet())
          << uint64_t(showGrid) << uint64_t(background);
    for (int r = 0; r < kColourRegisters; ++r)
        whole << uint64_t(level.colorGet(r));
    const bool all = wholePaint || whole.value() != shownCanvasLook;
    shownCanvasLook = whole.value();

    std::vector<uint8_t> codes(level.gridBytes(), level.gridBytes() + kLevelCells);
    for (const Cell& cell : tools.preview())
        if (insideGrid(cell))
            codes[size_t(cell.column * kLevelRows + cell.row)] = tools.strokeCode();
    Cell pointer;
    if (tools.placing() && layout::canvasCellAt(pointerX, pointerY, pointer)) {
        const GridPatch& patch = tools.patch();
        for (int row = 0; row < patch.rows; ++row)
            for (int column = 0; column < patch.columns; ++column) {
                const Cell at{pointer.column + column, pointer.row + row};
                if (insideGrid(at))
                    codes[size_t(at.column * kLevelRows + at.row)] = patch.at(column, row);
            }
    }

    if (playing())
        for (int column = 0; column < kLevelColumns; ++column)
            for (int row = 0; row < kLevelRows; ++row)
                codes[size_t(column * kLevelRows + row)] = playtest->cell({column, row});

    std::array<uint32_t, kLevelCells> looks;
    for (int column = 0; column < kLevelColumns; ++column)
        for (int row = 0; row < kLevelRows; ++row)
            looks[size_t(column * kLevelRows + row)] = cellLook({column, row}, codes);

    if (all) {
        // All at once: the tiles, then the grid, then the outlines, as each
        // cell alone would draw them.
        const layout::Rect& c = layout::canvas;
        SDL_Rect area = sdlRect(c);
        fillArea(screen, area, background);
        LevelData shown = level.data();
        for (int column = 0; column < kLevelColumns; ++column)
            for (int row = 0; row < kLevelRows; ++row)
                shown.cells[column][row] = codes[size_t(column * kLevelRows + row)];
        drawLevel(screen, tileArt(), level.sheet(), shown, mapX, mapY);
        if (showGrid) {
            for (int column = 1; column < layout::canvasColumns; ++column)
                vlineRGBA(screen, Sint16(c.x + layout::cellSize * column), Sint16(c.y), Sint16(c.bottom() - 1), 128,
                          128, 128, 110);
            for (int row = 1; row < layout::canvasRows; ++row)
                hlineRGBA(screen, Sint16(c.x), Sint16(c.right() - 1), Sint16(c.y + layout::cellSize * row), 128,
                          128, 128, 110);
        }
        uint32_t marks = 0;
        for (uint32_t look : looks)
            marks |= look & ~0xFFu;
        SDL_SetClipRect(screen, &area);
        drawCanvasOverlays(marks);
        SDL_SetClipRect(screen, nullptr);
        shownCells = looks;
        if (!wholePaint)
            damage_.push_back(area);
        return;
    }

    for (int row = 0; row < kLevelRows; ++row) {
        int runStart = -1;
        for (int column = 0; column <= kLevelColumns; ++column) {
            const size_t index = size_t(column * kLevelRows + row);
            const bool changed = column < kLevelColumns && looks[index] != shownCells[index];
            if (changed) {
                drawCanvasCell({column, row}, looks[index]);
                shownCells[index] = looks[index];
                if (runStart < 0)
                    runStart = column;
            } else if (runStart >= 0) {
                const layout::Rect first = layout::canvasCellRect(runStart, row);
                damage_.push_back({Sint16(first.x), Sint16(first.y), Uint16(layout::cellSize * (column - runStart)),
                                   Uint16(layout::cellSize)});
                runStart = -1;
            }
        }
    }
}

// Each register button carries a strip of its colour under its number.
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
    }
}

// The value of the register under the pointer, in hex beside the row.
void frame::drawRegisterValue()
{
    const map& level = levels[currentLevel];
    for (int r = 0; r < kColourRegisters; ++r)
        if (layout::colourRegister(r).contains(pointerX, pointerY)) {
            char value[8];
            std::snprintf(value, sizeof value, "$%02X", level.colorGet(r) & 0xFF);
            text(screen, layout::registerValue.x, layout::registerValue.y, value, labelsInBlack() ? black : white);
        }
}
