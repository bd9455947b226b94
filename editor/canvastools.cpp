#include "editor/canvastools.h"

#include <algorithm>

namespace {

bool isShape(Tool tool)
{
    return tool == Tool::fill || tool == Tool::rectangle || tool == Tool::outline || tool == Tool::line;
}

bool holds(const GridPatch& patch, int code)
{
    return std::find(patch.codes.begin(), patch.codes.end(), code) != patch.codes.end();
}

} // namespace

void CanvasTools::choose(Tool tool)
{
    if (tool == Tool::rectangle && tool_ == Tool::rectangle)
        tool = Tool::outline;
    else if (tool == Tool::rectangle && tool_ == Tool::outline)
        tool = Tool::rectangle;
    tool_ = tool;
    if (tool != Tool::select)
        hasSelection_ = false;
    placing_ = false;
}

CanvasTools::PressResult CanvasTools::press(int slot, Cell cell, bool erase, int code, int eraserCode)
{
    PressResult result;
    if (!insideGrid(cell))
        return result;
    if (placing_) {
        if (!erase) {
            LevelData& level = session_.editLevel(slot);
            pastePatch(level.cells, patch_, cell);
            level.on = true;
        }
        placing_ = false;
        return result;
    }
    if (tool_ == Tool::pick) {
        result.pickedCode = session_.level(slot).at(cell);
        return result;
    }
    if (tool_ == Tool::select) {
        hasSelection_ = !erase;
        selectionStart_ = selectionEnd_ = cell;
        stroke_.active = hasSelection_;
        stroke_.slot = slot;
        return result;
    }
    if (!erase && code < 0)
        return result;  // nothing to draw with before the palette has an entry
    stroke_.active = true;
    stroke_.slot = slot;
    stroke_.code = uint8_t(erase ? eraserCode : code);
    stroke_.start = stroke_.last = cell;
    stroke_.lastInside = true;
    if (tool_ == Tool::draw)
        session_.setCell(slot, cell, stroke_.code);
    return result;
}

void CanvasTools::drag(Cell cell)
{
    if (!stroke_.active)
        return;
    const bool inside = insideGrid(cell);
    const Cell clamped{std::clamp(cell.column, 0, kLevelColumns - 1), std::clamp(cell.row, 0, kLevelRows - 1)};
    if (tool_ == Tool::select) {
        selectionEnd_ = clamped;
        return;
    }
    if (tool_ != Tool::draw) {
        stroke_.last = clamped;
        return;
    }
    if (!inside) {
        stroke_.lastInside = false;
        return;
    }
    for (const Cell& step : lineCells(stroke_.lastInside ? stroke_.last : cell, cell))
        session_.setCell(stroke_.slot, step, stroke_.code);
    stroke_.last = cell;
    stroke_.lastInside = true;
}

void CanvasTools::release()
{
    if (!stroke_.active)
        return;
    const Cells cells = isShape(tool_) ? shape() : Cells();
    stroke_.active = false;
    for (const Cell& cell : cells)
        session_.setCell(stroke_.slot, cell, stroke_.code);
}

Cells CanvasTools::preview() const
{
    return stroke_.active && isShape(tool_) ? shape() : Cells();
}

Cells CanvasTools::shape() const
{
    switch (tool_) {
    case Tool::fill:
        return areaCells(session_.level(stroke_.slot).cells, stroke_.start);
    case Tool::rectangle:
        return rectangleCells(stroke_.start, stroke_.last, true);
    case Tool::outline:
        return rectangleCells(stroke_.start, stroke_.last, false);
    case Tool::line:
        return lineCells(stroke_.start, stroke_.last);
    default:
        return {};
    }
}

void CanvasTools::copy(int slot)
{
    if (hasSelection()) {
        patch_ = copyPatch(session_.level(slot).cells, selectionStart_, selectionEnd_);
        clipboard_ = Clipboard::patch;
    } else {
        copiedLevel_ = session_.level(slot);
        clipboard_ = Clipboard::level;
    }
}

bool CanvasTools::paste(int slot, int robotCode)
{
    const bool robotThere = countCells(session_.level(slot), robotCode) > 0;
    if (clipboard_ == Clipboard::level) {
        session_.setLevel(slot, copiedLevel_);
        return false;  // the whole level is replaced, its robots with it
    }
    if (clipboard_ == Clipboard::patch) {
        placing_ = true;
        return robotThere && holds(patch_, robotCode);
    }
    return false;
}

CanvasTools::TurnOutcome CanvasTools::turn(int slot, GridTurn how)
{
    if (placing_) {
        GridPatch turned = turnedPatch(patch_, how);
        if (turned.columns > kLevelColumns || turned.rows > kLevelRows)
            return TurnOutcome::doesNotFit;
        patch_ = std::move(turned);
        return TurnOutcome::turned;
    }
    if (!hasSelection() || stroke_.active)
        return TurnOutcome::nothingSelected;
    const Cells area = rectangleCells(selectionStart_, selectionEnd_, true);
    const GridPatch before = copyPatch(session_.level(slot).cells, area.front(), area.back());
    const GridPatch turned = turnedPatch(before, how);
    // Halves round towards zero both ways, so a turn and its way back
    // meet where they began.
    const Cell at{area.front().column + (before.columns - turned.columns) / 2,
                  area.front().row + (before.rows - turned.rows) / 2};
    const Cell end{at.column + turned.columns - 1, at.row + turned.rows - 1};
    if (!insideGrid(at) || !insideGrid(end))
        return TurnOutcome::doesNotFit;
    LevelData& level = session_.editLevel(slot);
    setCells(level.cells, area, uint8_t(session_.eraserCode()));
    pastePatch(level.cells, turned, at);
    selectionStart_ = at;
    selectionEnd_ = end;
    return TurnOutcome::turned;
}

bool CanvasTools::cancel()
{
    if (!placing_ && !hasSelection_)
        return false;
    placing_ = false;
    hasSelection_ = false;
    return true;
}

void CanvasTools::levelChanged()
{
    hasSelection_ = false;
    if (stroke_.active && tool_ == Tool::select)
        stroke_.active = false;
}
