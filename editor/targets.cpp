#include "editor/targets.h"

#include "editor/layout.h"
#include "widgets/CPMButton.h"

#include <utility>

namespace {

int counterArea(layout::Point counter, int x, int y)
{
    if (layout::counterMinus(counter).contains(x, y))
        return CPMButton::minusHit;
    if (layout::counterPlus(counter).contains(x, y))
        return CPMButton::plusHit;
    return layout::counterBody(counter).contains(x, y) ? CPMButton::bodyHit : CPMButton::missed;
}

} // namespace

Target targetAt(int x, int y)
{
    using namespace layout;
    // Widgets that share a border column: of the file buttons the earlier
    // one takes it; of the colour registers the later one, and of the two
    // page buttons "Koniec", as each sets the choice after the other.
    const std::pair<Rect, Command> commands[] = {
        {layout::newButton, Command::New},         {layout::openButton, Command::Open},
        {layout::saveButton, Command::Save},       {layout::saveAsButton, Command::SaveAs},
        {layout::deleteButton, Command::Delete},   {layout::testLevelButton, Command::TestLevel},
        {layout::testGameButton, Command::TestGame}, {layout::swapButton, Command::Swap},
        {layout::undoButton, Command::Undo},       {layout::redoButton, Command::Redo},
        {layout::logButton, Command::Log},         {layout::helpButton, Command::Help},
        {layout::dismissButton, Command::Dismiss}, {layout::playButton, Command::Play},
        {layout::setViewButton, Command::SetView},
    };
    for (const auto& command : commands)
        if (command.first.contains(x, y))
            return {Target::CommandButton, int(command.second)};
    for (int slot = 0; slot < levelSlots; ++slot)
        if (levelSlot(slot).contains(x, y))
            return {Target::LevelSlot, slot};
    if (canvas.contains(x, y))
        return {Target::Canvas, 0};
    for (int i = 0; i < layout::toolButtons; ++i)
        if (toolButton(i).contains(x, y))
            return {Target::ToolButton, i};
    int entry = paletteEntryAt(x, y);
    if (entry >= 0)
        return {Target::Palette, entry};
    if (int area = counterArea(layout::screwCounter, x, y))
        return {Target::ScrewCounter, area};
    if (int area = counterArea(layout::wallCounter, x, y))
        return {Target::WallCounter, area};
    for (int r = kColourRegisters - 1; r >= 0; --r)
        if (colourRegister(r).contains(x, y))
            return {Target::ColourRegister, r};
    if (layout::colourPicker.contains(x, y))
        return {Target::ColourPicker, 0};
    if (layout::endPageButton.contains(x, y))
        return {Target::PageButton, 1};
    if (layout::startPageButton.contains(x, y))
        return {Target::PageButton, 0};
    Cell cell;
    if (textBox.contains(x, y) || textCellAt(x, y, cell))
        return {Target::TextBox, 0};
    if (messageArea.contains(x, y))
        return {Target::MessageArea, 0};
    return {};
}

