// The keyboard: shortcuts for the commands and the canvas tools (X, Y and Z
// flip and turn a selection), keys for the pages over the window, and the
// game's keys while a level plays on the canvas (Backspace takes a move
// back). Typing on the text page is text.cpp's.
#include "editor/frame.h"

#include "core/messages.h"
#include "editor/eventloop.h"
#include "editor/shortcuts.h"
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
    const Shortcut shortcut = shortcutFor(key.sym, key.mod);
    // F3 before the set view's own keys, and leaving the text page the
    // keyboard.
    if (shortcut.command == Command::SetView) {
        runCommand(Command::SetView);
        return;
    }
    if (setView->key(key))
        return;
    if (textFocus && !shortcut.overText) {
        inputText(textKey(key));
        return;
    }
    if (shortcut.overText)
        setTextFocus(false);
    runCommand(shortcut.command, shortcut.value);
    showPressedLook(pointerX, pointerY);
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
        showMessage(canvasNews(CanvasNews::nothingToTurn, language));
        break;
    case CanvasTools::TurnOutcome::doesNotFit:
        showMessage(canvasNews(CanvasNews::turnDoesNotFit, language));
        break;
    }
}

bool frame::canvasKey(SDLKey key, bool ctrl)
{
    const Shortcut shortcut = shortcutFor(key, ctrl ? KMOD_LCTRL : KMOD_NONE);
    runCommand(shortcut.command, shortcut.value);
    return shortcut.command != Command::None;
}
