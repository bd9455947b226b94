// What the window says of the widget under the pointer, in one place: the
// status line says it, or the game's counters while a level plays, and the
// tooltip beside a resting pointer shows the same words for the buttons,
// the tools, the palette, the counters, the colour registers and the slots.
#include "editor/frame.h"

#include "core/messages.h"
#include "editor/tilenames.h"

#include <cstdlib>

namespace {

// The words of each command button, by Command from New on.
const WidgetText commandTexts[] = {
    WidgetText::newSet, WidgetText::open,  WidgetText::save, WidgetText::saveAs, WidgetText::deleteLevel,
    WidgetText::testLevel, WidgetText::testGame, WidgetText::swap, WidgetText::undo, WidgetText::redo,
    WidgetText::log,    WidgetText::help,  WidgetText::dismiss, WidgetText::play, WidgetText::setView,
};
static_assert(sizeof commandTexts / sizeof commandTexts[0] == size_t(Command::SetView) - size_t(Command::New) + 1,
              "one text a command");

// The words of each tool button, the grid switch last.
const WidgetText toolTexts[] = {
    WidgetText::drawTool, WidgetText::fillTool, WidgetText::rectangleTool, WidgetText::outlineTool,
    WidgetText::lineTool, WidgetText::pickTool, WidgetText::selectTool,    WidgetText::gridSwitch,
};
static_assert(sizeof toolTexts / sizeof toolTexts[0] == frame::toolButtonCount, "one text a tool button");

} // namespace

std::string frame::statusText() const
{
    const int x = pointerX, y = pointerY;
    if (notices.overlay() != Notices::Overlay::none)
        return "";
    if (play.active())
        return play.status();
    if (setView->isOpen() && SetView::covers({x, y, 1, 1}))
        return setView->statusText(x, y);
    return hintAt(targetAt(x, y), x, y);
}

std::string frame::tooltipText() const
{
    const int x = pointerX, y = pointerY;
    if (notices.overlay() != Notices::Overlay::none || play.active())
        return "";
    if (setView->isOpen() && SetView::covers({x, y, 1, 1}))
        return setView->overButton(x, y) ? setView->statusText(x, y) : "";
    const Target target = targetAt(x, y);
    switch (target.kind) {
    case Target::Canvas:
    case Target::ColourPicker:
    case Target::TextBox:
    case Target::MessageArea:
    case Target::Nothing:
        return "";  // places rather than widgets: the status line tells of them
    default:
        return hintAt(target, x, y);
    }
}

std::string frame::hintAt(const Target& target, int x, int y) const
{
    const map& level = levels[currentLevel];
    switch (target.kind) {
    case Target::Canvas: {
        Cell cell;
        layout::canvasCellAt(x, y, cell);
        const std::string where = cellText(cell.column, cell.row, language) + "\n";
        if (tools.hasSelection()) {
            const Cell a = tools.selectionStart(), b = tools.selectionEnd();
            return where + selectionText(std::abs(a.column - b.column) + 1, std::abs(a.row - b.row) + 1,
                                         language);
        }
        const int code = level.get(cell.column, cell.row);
        return where + tileText(code, tileName(code), language);
    }
    case Target::Palette: {
        const int code = tileCodes[target.index];
        return code < 0 ? "" : paletteEntryText(code, tileName(code), language);
    }
    case Target::LevelSlot:
        return levelSlotText(target.index, levels[target.index].isOn(), setView->verdict(target.index),
                             swapSource >= 0, language);
    case Target::ColourPicker:
        return colourPickerText(colourPicker->colourAt(x, y), currentColour, language);
    case Target::ColourRegister:
        return colourRegisterText(target.index, level.colorGet(target.index), language);
    case Target::ScrewCounter:
        return widgetText(WidgetText::screwCounter, language);
    case Target::WallCounter:
        return widgetText(WidgetText::wallCounter, language);
    case Target::TextBox:
        return widgetText(WidgetText::textBox, language);
    case Target::PageButton:
        return widgetText(target.index == 0 ? WidgetText::startPage : WidgetText::endPage, language);
    case Target::ToolButton:
        return widgetText(toolTexts[target.index], language);
    case Target::CommandButton:
        if (target.index == int(Command::None))
            return "";
        return widgetText(commandTexts[target.index - int(Command::New)], language);
    case Target::MessageArea:
        return notices.messageAreaHint(y);
    case Target::Nothing:
        break;
    }
    return "";
}
