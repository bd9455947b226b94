// The mouse and the commands. A press chooses (palette entry, colour
// register, text cell) and draws on the canvas; a drag continues what its
// press began; a left release runs a command, only over the widget on which
// that left press began (clicks.h). Every release ends an undo step.
#include "editor/frame.h"

#include "editor/eventloop.h"
#include "editor/levelsettings.h"
#include "platform/platform.h"

#include <algorithm>
#include <cassert>
#include <iterator>

namespace {

const int leftButton = 1;

} // namespace

int frame::mouse(int x, int y, int button)
{
    pointerX = x;
    pointerY = y;
    if (button == 0)
        tooltip.pointerAt(x, y);
    else
        tooltip.dismiss();
    if (play.active()) {
        // A press goes back to editing and does nothing else: a click meant
        // to stop the game must not draw on the level.
        if (button > 0 && clicks.held() == 0)
            stopPlay(false);
        if (button > 0)
            clicks.take(button);
        else
            clicks.reset();
        return 0;
    }
    // Ctrl with the wheel zooms instead of drawing.
    if ((button == 4 || button == 5) && (SDL_GetModState() & KMOD_CTRL)) {
        zoomBy(button == 4 ? 1 : -1);
        return 0;
    }
    if (notices.overlay() != Notices::Overlay::none && button > 0 && !clicks.isDrag(button)) {
        // A press on a page over the window is the page's (on a finding it
        // shows the finding's place); what it lands on after the page
        // closes gets nothing of it.
        const Notices::Place place = notices.overlayPress(y, button);
        if (place.otherLanguage)
            chooseLanguage(language == Language::polish ? Language::english : Language::polish);
        if (place.slot >= 0)
            showCell(place.slot, place.cell);
        clicks.take(button);
        return 0;
    }
    if (setView->isOpen() && (clicks.held() == 0 || setView->holding()) && setView->mouse(x, y, button))
        return 0;
    if (button == leftButton && clicks.held() == 0 && (SDL_GetModState() & KMOD_ALT) &&
        targetAt(x, y).kind == Target::Canvas) {
        // Alt+click plays from the cell; the rest of the click is the game's.
        clicks.take(button);
        setTextFocus(false);
        startPlay(false, cellAt(x, y));
        return 0;
    }
    if (button == 0) {
        clicks.reset();
        if (tools.stroking()) {
            tools.release();
            session.endStep();
        }
        hoverAt(x, y);
    } else if (button > 0) {
        if (clicks.isDrag(button))
            dragAt(x, y, button);
        else
            pressAt(x, y, button);
    } else {
        releaseAt(x, y, -button);
    }
    return 0;
}

CGui* frame::commandWidget(Command command) const
{
    // In the order of the commands, from New to SetView.
    CGui* const widgets[] = {newButton, openButton, saveButton, saveAsButton, buttons[deleteButton],
                             buttons[testLevelButton], buttons[testGameButton], buttons[swapButton], undoButton,
                             redoButton, logButton, helpButton, dismissButton, playButton, setViewButton};
    const int index = int(command) - int(Command::New);
    assert(index >= 0 && index < int(std::size(widgets)));
    return widgets[index];
}

// The eraser's band follows the pointer over the canvas in steps of three rows.
void frame::hoverAt(int x, int y)
{
    Cell cell;
    if (!layout::canvasCellAt(x, y, cell))
        return;
    hoverRow = std::min(cell.row - cell.row % 3, 21);
}

void frame::pressAt(int x, int y, int button)
{
    Target target = targetAt(x, y);
    clicks.press(button, target);
    // Any press outside the text page and its buttons takes the keyboard
    // from the page.
    if (target.kind != Target::TextBox && target.kind != Target::PageButton && textFocus)
        setTextFocus(false);
    if (button == leftButton && target.kind == Target::TextBox)
        setTextFocus(true);
    actOnPress(target, x, y, button);
    showPressedLook(x, y);
}

void frame::dragAt(int x, int y, int buttonMask)
{
    // A drag only goes on with what its press began: a stroke that started
    // on the canvas draws, one that started on the palette chooses.
    Target target = targetAt(x, y);
    if (clicks.origin().kind == Target::Canvas)
        tools.drag(cellAt(x, y));  // off the canvas too: a shape reaches its edge
    else if (target.kind == clicks.origin().kind)
        actOnPress(target, x, y, buttonMask);
    showPressedLook(x, y);
}

void frame::actOnPress(const Target& target, int x, int y, int button)
{
    switch (target.kind) {
    case Target::Palette:
        if (buttons[firstPaletteButton + target.index]->isActive)
            currentTile = target.index;
        break;
    case Target::ColourRegister:
        currentColour = target.index;
        break;
    case Target::PageButton:
        currentPage = target.index;
        setTextFocus(true);
        break;
    case Target::TextBox: {
        Cell cell;
        if (layout::textCellAt(x, y, cell)) {
            cursorColumn = cell.column;
            cursorRow = cell.row;
        }
        break;
    }
    case Target::Canvas:
        if (tools.stroking())
            tools.drag(cellAt(x, y));  // another button joins the stroke under way
        else
            toolPress(x, y, button);
        break;
    default:
        break;
    }
}

// Only the widget the left press began on looks pressed, and only while
// the pointer is over it, as a button that will act on release.
void frame::showPressedLook(int x, int y)
{
    const Target here = targetAt(x, y);
    const bool armed = clicks.armed(here);
    for (CGui* widget : commandButtons())
        widget->free();
    screwCounter.free();
    wallCounter.free();
    for (int i = 0; i < levelCount; ++i)
        buttons[i]->free();
    if (armed) {
        switch (here.kind) {
        case Target::CommandButton:
            commandWidget(Command(here.index))->push(x, y);
            break;
        case Target::LevelSlot:
            buttons[here.index]->pushed(1);
            break;
        case Target::ScrewCounter:
            screwCounter.push(x, y);
            break;
        case Target::WallCounter:
            wallCounter.push(x, y);
            break;
        default:
            break;
        }
    }
    if (swapSource != -1)
        buttons[swapButton]->pushed(1);
    if (play.active())
        playButton->pushed(1);
}

void frame::releaseAt(int x, int y, int button)
{
    const Target target = targetAt(x, y);
    const bool runs = clicks.release(button, target);
    tools.release();
    if (runs)
        runReleaseCommand(target, x, y);
    showPressedLook(x, y);
    session.endStep();
}

void frame::runReleaseCommand(const Target& target, int x, int y)
{
    switch (target.kind) {
    case Target::LevelSlot:
        if (swapSource >= 0) {
            session.swapLevels(swapSource, target.index);
            levels[swapSource].swapSheet(levels[target.index]);
        }
        swapSource = -1;
        chooseLevel(target.index);
        break;
    case Target::ColourPicker:
    case Target::WallCounter:
    case Target::ScrewCounter: {
        const int picked = target.kind == Target::ColourPicker ? colourPicker->push(x, y) : -1;
        setOnLevel(levels[currentLevel], target, currentColour, picked, screwCode() >= 0);
        break;
    }
    case Target::CommandButton:
        runCommand(Command(target.index));
        break;
    case Target::MessageArea:
        if (const Notices::Place place = notices.messageAreaPress(y); place.slot >= 0)
            showCell(place.slot, place.cell);
        break;
    case Target::ToolButton:
        if (target.index == int(Tool::count))
            runCommand(Command::Grid);
        else
            runCommand(Command::ChooseTool, target.index);
        break;
    default:
        break;
    }
}

void frame::chooseLevel(int slot)
{
    if (slot != currentLevel)
        tools.levelChanged();
    currentLevel = slot;
    setView->chooseSlot(slot);
}

void frame::runCommand(Command command, int value)
{
    // A command is an undo step of its own; the canvas's keys join the step
    // under way (targets.h).
    const bool ownStep = command != Command::None && command < Command::ChooseTool;
    if (ownStep)
        session.endStep();
    switch (command) {
    case Command::New:
        newDocument();
        break;
    case Command::Open:
        openDocument();
        break;
    case Command::Save:
        saveDocument();
        break;
    case Command::SaveAs:
        saveDocumentAs();
        break;
    case Command::Delete:
        levels[currentLevel].reset();
        break;
    case Command::TestLevel:
        testInEmulator(true);
        break;
    case Command::TestGame:
        testInEmulator(false);
        break;
    case Command::Swap:
        swapSource = swapSource == -1 ? currentLevel : -1;
        break;
    case Command::Undo:
        undo();
        break;
    case Command::Redo:
        redo();
        break;
    case Command::Log:
        notices.showOverlay(Notices::Overlay::log);
        break;
    case Command::Help:
        notices.showOverlay(Notices::Overlay::help);
        break;
    case Command::Dismiss:
        notices.dismiss();
        break;
    case Command::Play:
        startPlay(value != 0);
        break;
    case Command::SetView:
        showSetView(!setView->isOpen());
        break;
    case Command::Copy:
        tools.copy(currentLevel);
        break;
    case Command::Paste:
        if (tools.paste(currentLevel, levelRules.robotCode))
            showMessage(windowText(WindowText::pastedRobot, language));
        break;
    case Command::Import:
        showSetView(true);
        setView->startImport();
        break;
    case Command::OpenRecent:
        openRecent(size_t(value));
        break;
    case Command::Zoom:
        zoomBy(value);
        break;
    case Command::Turn: {
        // The selection or the part being placed; what cannot be done is said.
        using Outcome = CanvasTools::TurnOutcome;
        const Outcome outcome = tools.turn(currentLevel, GridTurn(value));
        if (outcome == Outcome::nothingSelected)
            showMessage(canvasNews(CanvasNews::nothingToTurn, language));
        else if (outcome == Outcome::doesNotFit)
            showMessage(canvasNews(CanvasNews::turnDoesNotFit, language));
        break;
    }
    case Command::PlayHere: {
        // From the cell under the pointer, as Alt+click.
        Cell cell;
        if (!setView->isOpen() && layout::canvasCellAt(pointerX, pointerY, cell))
            startPlay(false, cell);
        break;
    }
    case Command::ChooseTool:
        chooseTool(Tool(value));
        break;
    case Command::Grid:
        showGrid = !showGrid;
        break;
    case Command::Pick: {
        // Over the canvas P picks at once; elsewhere it chooses the tool.
        const Cell cell = cellAt(pointerX, pointerY);
        if (insideGrid(cell))
            pickTile(session.level(currentLevel).at(cell));
        else
            chooseTool(Tool::pick);
        break;
    }
    case Command::Cancel:
        tools.cancel();
        swapSource = -1;
        break;
    case Command::None:
        break;
    }
    if (ownStep)
        session.endStep();
}

void frame::setTextFocus(bool on)
{
    if (textFocus && !on)
        session.endStep();  // the run of typing ends
    textFocus = on;
}

