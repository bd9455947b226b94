// The keyboard: shortcuts for the commands and the canvas tools (X, Y and Z
// flip and turn a selection), keys for the pages over the window, and the
// game's keys while a level plays on the canvas (Backspace takes a move
// back). Typing on the text page is text.cpp's.
#include "editor/frame.h"

#include "core/messages.h"
#include "editor/eventloop.h"
#include "ui/display.h"

namespace {

Notices::PageKey pageKey(SDLKey key)
{
    switch (key) {
    case SDLK_UP: return Notices::PageKey::up;
    case SDLK_DOWN: return Notices::PageKey::down;
    case SDLK_PAGEUP: return Notices::PageKey::pageUp;
    case SDLK_PAGEDOWN: return Notices::PageKey::pageDown;
    case SDLK_F1: return Notices::PageKey::help;
    case SDLK_F2: return Notices::PageKey::log;
    default: return Notices::PageKey::other;
    }
}

// The game's keys: the arrows or the keypad are the stick, Ctrl (or the
// keypad's 0) the trigger, space START (pause), R OPTION (start again).
bool gameKey(SDLKey key, Playtest::Key& which)
{
    switch (key) {
    case SDLK_UP: case SDLK_KP8: which = Playtest::Key::up; return true;
    case SDLK_RIGHT: case SDLK_KP6: which = Playtest::Key::right; return true;
    case SDLK_DOWN: case SDLK_KP2: which = Playtest::Key::down; return true;
    case SDLK_LEFT: case SDLK_KP4: which = Playtest::Key::left; return true;
    case SDLK_LCTRL: case SDLK_RCTRL: case SDLK_KP0: which = Playtest::Key::fire; return true;
    case SDLK_SPACE: which = Playtest::Key::pause; return true;
    case SDLK_r: which = Playtest::Key::restart; return true;
    default: return false;
    }
}

// The tool a key chooses (R the rectangle; a second R its outline, as the
// tools have it).
bool toolKey(SDLKey key, Tool& tool)
{
    switch (key) {
    case SDLK_d: tool = Tool::draw; return true;
    case SDLK_f: tool = Tool::fill; return true;
    case SDLK_r: tool = Tool::rectangle; return true;
    case SDLK_l: tool = Tool::line; return true;
    case SDLK_s: tool = Tool::select; return true;
    default: return false;
    }
}

// X and Y flip, Z turns clockwise and Shift+Z back.
bool turnKey(SDLKey key, bool shift, GridTurn& turn)
{
    switch (key) {
    case SDLK_x: turn = GridTurn::flipLeftRight; return true;
    case SDLK_y: turn = GridTurn::flipTopBottom; return true;
    case SDLK_z: turn = shift ? GridTurn::counterClockwise : GridTurn::clockwise; return true;
    default: return false;
    }
}

// The command of a Ctrl shortcut; Command::None for none.
Command commandKey(SDLKey key, bool shift)
{
    switch (key) {
    case SDLK_z: return shift ? Command::Redo : Command::Undo;
    case SDLK_y: return Command::Redo;
    case SDLK_s: return shift ? Command::SaveAs : Command::Save;
    case SDLK_o: return Command::Open;
    case SDLK_n: return Command::New;
    default: return Command::None;
    }
}

} // namespace

void frame::keyDown(const SDL_keysym& key)
{
    tooltip.dismiss();
    if (play.active()) {
        playKey(key, true);
        return;
    }
    if (notices.overlay() != Notices::Overlay::none) {
        notices.overlayKey(pageKey(key.sym));
        return;
    }
    if (key.sym == SDLK_F3) {
        showSetView(!setView->isOpen());
        return;
    }
    if (setView->key(key))
        return;
    if (key.sym == SDLK_F5) {
        setTextFocus(false);
        startPlay((key.mod & KMOD_SHIFT) != 0);
        return;
    }
    if (key.sym == SDLK_F6) {
        // From the cell under the pointer, as Alt+click.
        setTextFocus(false);
        Cell cell;
        if (!setView->isOpen() && layout::canvasCellAt(pointerX, pointerY, cell))
            startPlay(false, cell);
        return;
    }
    if (key.sym == SDLK_F1 || key.sym == SDLK_F2) {
        setTextFocus(false);
        notices.showOverlay(key.sym == SDLK_F1 ? Notices::Overlay::help : Notices::Overlay::log);
        return;
    }
    if (key.sym == SDLK_ESCAPE) {
        setTextFocus(false);
        canvasKey(key.sym, false);  // and drops a selection or a part being placed
        swapSource = -1;            // and an armed "Zamien mapy"
        showPressedLook(-1, -1);
        return;
    }
    if (textFocus) {
        inputText(textKey(key));
        return;
    }
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    const bool alt = (key.mod & (KMOD_ALT | KMOD_MODE)) != 0;
    if (!ctrl && !alt) {
        GridTurn turn;
        if (turnKey(key.sym, shift, turn))
            turnSelection(turn);
        else
            canvasKey(key.sym, false);
        return;
    }
    if (!ctrl || alt)
        return;
    switch (key.sym) {
    case SDLK_PLUS:
    case SDLK_EQUALS:  // plus without Shift on most layouts
    case SDLK_KP_PLUS:
        zoomBy(1);
        break;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
        zoomBy(-1);
        break;
    case SDLK_1: case SDLK_2: case SDLK_3: case SDLK_4: case SDLK_5:
    case SDLK_6: case SDLK_7: case SDLK_8: case SDLK_9:
        openRecent(size_t(key.sym - SDLK_1));
        break;
    case SDLK_c:
    case SDLK_v:
        canvasKey(key.sym, true);
        session.endStep();  // a pasted level is one step
        break;
    case SDLK_i:
        showSetView(true);
        setView->startImport();
        break;
    default:
        runCommand(commandKey(key.sym, shift));
        break;
    }
    showPressedLook(-1, -1);
}

void frame::keyUp(const SDL_keysym& key)
{
    if (play.active())
        playKey(key, false);
}

// While a level plays or a solution is searched for: Escape (or F5 again)
// goes back to editing; the game's keys go to the game.
void frame::playKey(const SDL_keysym& key, bool down)
{
    if (key.sym == SDLK_ESCAPE || key.sym == SDLK_F5) {
        if (down)
            stopPlay(true);
        return;
    }
    if (key.sym == SDLK_BACKSPACE) {
        if (down)
            play.takeBack();
        return;
    }
    Playtest::Key which;
    if (gameKey(key.sym, which))
        play.key(which, down);
}

void frame::zoomBy(int steps)
{
    if (Display* display = Display::current()) {
        display->setScale(display->scale() + steps);
        invalidate();
    }
}

void frame::turnSelection(GridTurn turn)
{
    switch (tools.turn(currentLevel, turn)) {
    case CanvasTools::TurnOutcome::turned:
        break;
    case CanvasTools::TurnOutcome::nothingSelected:
        showMessage(canvasNews(CanvasNews::nothingToTurn, Language::polish));
        break;
    case CanvasTools::TurnOutcome::doesNotFit:
        showMessage(canvasNews(CanvasNews::turnDoesNotFit, Language::polish));
        break;
    }
    session.endStep();
}

bool frame::canvasKey(SDLKey key, bool ctrl)
{
    if (ctrl) {
        if (key == SDLK_c) {
            tools.copy(currentLevel);
        } else if (key == SDLK_v) {
            if (tools.paste(currentLevel, levelRules.robotCode))
                showMessage("Wklejony fragment ma robota: na mapie beda dwa");
        } else {
            return false;
        }
        return true;
    }
    Tool tool;
    if (toolKey(key, tool)) {
        chooseTool(tool);
        return true;
    }
    switch (key) {
    case SDLK_g:
        showGrid = !showGrid;
        return true;
    case SDLK_p: {
        // Over the canvas P picks at once; elsewhere it chooses the tool.
        const Cell cell = cellAt(pointerX, pointerY);
        if (insideGrid(cell))
            pickTile(session.level(currentLevel).at(cell));
        else
            chooseTool(Tool::pick);
        return true;
    }
    case SDLK_ESCAPE:
        return tools.cancel();
    default:
        return false;
    }
}
