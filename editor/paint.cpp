// Painting the window by parts (partpainter.h): what each part (a button,
// the counters, the text page, the message area) shows and its look, a hash
// of everything it shows; the canvas paints its cells likewise
// (canvasview.h). So a hover or a stroke step redraws a few cells.
#include "editor/frame.h"

#include "editor/canvasscene.h"
#include "editor/look.h"
#include "editor/panels.h"
#include "editor/textroom.h"

#include "render/levelrenderer.h"

#include <SDL_gfxPrimitives.h>

#include <functional>
#include <string_view>

namespace {

const Uint8 white[4] = {255, 255, 255, 255};
const Uint8 black[4] = {0, 0, 0, 255};

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

void greyUnless(CButton* button, bool on)
{
    button->active(on);
    const int grey = on ? 200 : 110;
    button->color(grey, grey, grey, 255);
}

bool intersects(const layout::Rect& a, const layout::Rect& b)
{
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
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

// Atari colour values are read from the palette sheet, whose format need not
// be the screen's.
Uint32 frame::screenColour(int atariColour) const
{
    SDL_Color c = atariRgb(paletteSheet.get(), atariColour);
    return SDL_MapRGB(screen->format, c.r, c.g, c.b);
}

bool frame::partCovered(const layout::Rect& area) const
{
    return (notices.overlay() != Notices::Overlay::none && intersects(area, layout::overlay)) ||
           (setView->isOpen() && SetView::covers(area));
}

// The widgets take on the state they show: the current choices pressed,
// the others not.
void frame::syncWidgets()
{
    const map& level = levels[currentLevel];
    buttons[currentLevel]->pushed(1);
    for (int i = 0; i < paletteEntries; ++i)
        buttons[firstPaletteButton + i]->pushed(i == currentTile);
    for (int r = 0; r < 6; ++r)
        buttons[firstColourButton + r]->pushed(r == currentColour);
    buttons[startPageButton]->pushed(currentPage == 0);
    buttons[endPageButton]->pushed(currentPage == 1);
    // Undo and redo grey out when there is nothing to take back or redo;
    // so does the dismiss button without a message.
    greyUnless(undoButton, session.canUndo());
    greyUnless(redoButton, session.canRedo());
    greyUnless(dismissButton, !notices.shown().empty());
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
}

void frame::paint()
{
    if (!ok())
        return;
    map& level = levels[currentLevel];

    std::string title = windowTitle();
    if (title != shownTitle) {
        SDL_WM_SetCaption(title.c_str(), nullptr);
        shownTitle = title;
    }
    syncWidgets();

    // New words for a tooltip on the screen bring back what it covered.
    tooltip.setText(tooltip.due() ? tooltipText() : "");
    const bool wholePaint = painter.begin(screen, screenColour(level.colorGet(4)), setView->isOpen());
    const bool blackLabels = labelsInBlack(atariRgb(paletteSheet.get(), level.colorGet(4)));
    const Uint8* labelColour = blackLabels ? black : white;
    if (wholePaint && !setView->isOpen()) {
        drawLabel(screen, layout::colourLabel.x, layout::colourLabel.y,
                  shownLabel(WindowText::colourLabel, language).c_str(), labelColour);
        drawLabel(screen, layout::textLabel.x, layout::textLabel.y, shownLabel(WindowText::textLabel, language).c_str(),
                  labelColour);
        const layout::Rect& f = layout::canvasFrame;
        rectangleRGBA(screen, Sint16(f.x), Sint16(f.y), Sint16(f.right() - 1), Sint16(f.bottom() - 1), 160, 160,
                      160, 255);
    }

    const std::string path = pathLine();
    painter.part(layout::pathArea,
              (Look() << path << labelColour[0]).value(),
              [&] { drawLabel(screen, layout::pathLine.x, layout::pathLine.y, path.c_str(), labelColour); });

    for (CGui* widget : commandButtons()) {
        CButton* button = static_cast<CButton*>(widget);
        painter.part({button->x, button->y, button->width, button->height}, lookOf(*button),
                  [&] { button->render(screen); });
    }
    // A level the checks find fault with, or that cannot be finished, has
    // a red corner beside its number.
    for (int i = 0; i < levelCount; ++i) {
        const bool marked = setView->slotMarked(i);
        painter.part(layout::levelSlot(i), (Look() << lookOf(*static_cast<CButton*>(buttons[i])) << uint64_t(marked)).value(),
                  [&] {
                      buttons[i]->render(screen);
                      if (marked)
                          drawSlotMark(screen, layout::levelSlot(i));
                  });
    }
    for (int i = 0; i < paletteEntries; ++i)
        painter.part(layout::paletteEntry(i), lookOf(*paletteEntry(i)), [&] { paletteEntry(i)->render(screen); });

    const int* colours = level.data().colours;
    for (int r = 0; r < kColourRegisters; ++r) {
        CButton* button = static_cast<CButton*>(buttons[firstColourButton + r]);
        painter.part(layout::colourRegister(r), (Look() << lookOf(*button) << uint64_t(colours[r])).value(), [&] {
            button->render(screen);
            drawRegisterSamples(screen, paletteSheet.get(), colours, currentColour);
        });
    }
    const Target hovered = targetAt(pointerX, pointerY);
    const int hoveredRegister = hovered.kind == Target::ColourRegister ? hovered.index : -1;
    painter.part(layout::registerValueArea,
              (Look() << uint64_t(hoveredRegister) << uint64_t(hoveredRegister < 0 ? 0 : colours[hoveredRegister]))
                  .value(),
              [&] {
                  if (hoveredRegister >= 0)
                      drawRegisterValue(screen, colours[hoveredRegister], labelColour);
              });
    for (int page : {startPageButton, endPageButton}) {
        CButton* button = static_cast<CButton*>(buttons[page]);
        painter.part({button->x, button->y, button->width, button->height}, lookOf(*button),
                  [&] { button->render(screen); });
    }

    screwCounter.labelColor(labelColour[0], labelColour[1], labelColour[2]);
    painter.part(layout::screwCounterArea,
              (Look() << screwCounter << uint64_t(screwCounter.minusButton->isPushed)
                      << uint64_t(screwCounter.plusButton->isPushed))
                  .value(),
              [&] { screwCounter.render(screen); });
    wallCounter.labelColor(labelColour[0], labelColour[1], labelColour[2]);
    painter.part(layout::wallCounterArea,
              (Look() << wallCounter << uint64_t(wallCounter.minusButton->isPushed)
                      << uint64_t(wallCounter.plusButton->isPushed) << uint64_t(wallCounter.imageSource.x))
                  .value(),
              [&] {
                  wallCounter.render(screen);
                  if (murekTile >= 0)
                      drawWallPatternNumber(screen, level.wzorekGet(), labelColour);
              });
    painter.part(layout::colourPickerArea,
              (Look() << *colourPicker << uint64_t(colourPicker->markX) << uint64_t(colourPicker->markY)).value(),
              [&] { colourPicker->render(screen); });

    Look page;
    page << uint64_t(currentPage) << uint64_t(textFocus) << uint64_t(cursorColumn) << uint64_t(cursorRow);
    for (const char* line : textPages[currentPage])
        page << std::string(line);
    painter.part(layout::textPageArea, page.value(),
              [&] { drawText(layout::textPage.x, layout::textPage.y, currentPage); });

    for (int i = 0; i < toolButtonCount; ++i) {
        Look tool;
        tool << uint64_t(i == int(Tool::count) ? showGrid : tools.tool() == Tool(i));
        painter.part(layout::toolButton(i), tool.value(), [&] { drawToolButton(i); });
    }

    bool whole = true;
    Look messages;
    for (const Notices::TextLine& line : notices.messageLines(whole))
        messages << line.text << uint64_t(line.error);
    painter.part(layout::messageArea, (messages << uint64_t(labelColour[0])).value(),
              [&] { notices.drawMessageArea(screen, blackLabels); });
    const std::string status = statusText();
    painter.part(layout::statusLine, (Look() << status << uint64_t(labelColour[0])).value(),
              [&] { Notices::drawStatusLine(screen, status, blackLabels); });

    if (notices.overlay() == Notices::Overlay::none && !setView->isOpen())
        canvas.paint(screen, canvasScene(), wholePaint, painter.damage());
    if (notices.overlay() == Notices::Overlay::none)
        setView->paint(screen, wholePaint, painter.damage());
    painter.cover(notices.overlay() != Notices::Overlay::none, layout::overlay, notices.overlayLook(),
                  [&] { notices.drawOverlay(screen); });
    tooltip.paint(screen, painter.damage());
    painter.end();
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

// What the canvas shows (canvasscene.h); while a level plays, none of the
// marks.
CanvasView::Scene frame::canvasScene() const
{
    CanvasView::Scene scene = levelScene(levels[currentLevel], currentLevel, tileArt());
    scene.grid = showGrid;
    scene.background = painter.background();
    if (play.playing()) {
        showPlaytest(scene, *play.playtest());
        return scene;
    }
    Cell pointer{-1, -1};
    layout::canvasCellAt(pointerX, pointerY, pointer);
    showTools(scene, tools, pointer);
    // The eraser's band: in the paint after a hover over the canvas while
    // the eraser is the current tile.
    scene.bandRow = hoverRow >= 0 && drawsEraser(currentTile) ? hoverRow : -1;
    scene.flashed = notices.flashedCell();
    scene.flashOn = notices.flashMarkOn(currentLevel, scene.flashed);
    return scene;
}
