// The status line: what lies under the pointer, or the game's counters
// while a level plays.
#include "editor/frame.h"

#include "core/messages.h"
#include "editor/tilenames.h"

#include <cstdio>
#include <cstdlib>

namespace {

// By the command's number; the first is no command.
const WindowText commandHints[] = {
    WindowText::count,         WindowText::newHint,      WindowText::openHint,     WindowText::saveHint,
    WindowText::saveAsHint,    WindowText::deleteHint,   WindowText::testLevelHint, WindowText::testGameHint,
    WindowText::swapHint,      WindowText::undoHint,     WindowText::redoHint,     WindowText::logHint,
    WindowText::helpHint,      WindowText::dismissHint,  WindowText::playHint,     WindowText::count,
};

} // namespace

std::string frame::statusText() const
{
    const int x = pointerX, y = pointerY;
    if (notices.overlay() != Notices::Overlay::none)
        return "";
    if (play.playing())
        return play.status();
    if (setView->isOpen() && SetView::covers({x, y, 1, 1}))
        return setView->statusText(x, y);
    const Target target = targetAt(x, y);
    const map& level = levels[currentLevel];
    auto hex = [](int value) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X", value & 0xFF);
        return std::string(digits);
    };
    auto tileText = [&](int code) {
        char described[64];
        const char* name = tileName(code);
        std::snprintf(described, sizeof described, name ? "$%02X %s" : "$%02X", code & 0xFF, name);
        return std::string(described);
    };
    switch (target.kind) {
    case Target::Canvas: {
        Cell cell;
        layout::canvasCellAt(x, y, cell);
        const std::string result =
            word(WindowText::cellStatus, {std::to_string(cell.column + 1), std::to_string(cell.row + 1)}) + "\n";
        if (tools.hasSelection()) {
            const Cell a = tools.selectionStart(), b = tools.selectionEnd();
            return result + word(WindowText::selectionStatus, {std::to_string(std::abs(a.column - b.column) + 1),
                                                               std::to_string(std::abs(a.row - b.row) + 1)});
        }
        return result + word(WindowText::tileStatus, {tileText(level.get(cell.column, cell.row))});
    }
    case Target::Palette: {
        const int code = tileCodes[target.index];
        return code < 0 ? "" : word(WindowText::paletteStatus, {tileText(code)});
    }
    case Target::LevelSlot:
        return word(levels[target.index].isOn() ? WindowText::slotStatus : WindowText::emptySlotStatus,
                    {std::to_string(target.index + 1)}) +
               (swapSource >= 0 ? "\n" + word(WindowText::swapTargetStatus) : "");
    case Target::ColourPicker: {
        return word(WindowText::colourStatus, {hex(colourPicker->colourAt(x, y)), std::to_string(currentColour + 1)});
    }
    case Target::ColourRegister:
        return word(WindowText::registerStatus, {std::to_string(target.index + 1), hex(level.colorGet(target.index))}) +
               (target.index == 4   ? "\n" + word(WindowText::backgroundRegister)
                : target.index == 5 ? "\n" + word(WindowText::robotRegister)
                                    : "");
    case Target::ScrewCounter:
        return word(WindowText::screwCounterStatus);
    case Target::WallCounter:
        return word(WindowText::wallCounterStatus);
    case Target::TextBox:
        return word(WindowText::textBoxStatus);
    case Target::PageButton:
        return word(target.index == 0 ? WindowText::startPageStatus : WindowText::endPageStatus);
    case Target::ToolButton:
        return toolHint() ? toolHint() : "";
    case Target::CommandButton:
        if (target.index == int(Command::SetView))
            return setViewText(SetViewText::viewHint, language);
        return commandHints[target.index] == WindowText::count ? "" : word(commandHints[target.index]);
    case Target::MessageArea:
        return notices.messageAreaHint(y);
    case Target::Nothing:
        break;
    }
    return "";
}
