// The keyboard: keys looked up in the table of shortcuts.h and run by
// runCommand, keys for the pages over the window, and the game's keys while
// a level plays on the canvas. Typing on the text page is text.cpp's.
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

// While a level plays or a solution is searched for.
void frame::playKey(const SDL_keysym& key, bool down)
{
    const PlayShortcut shortcut = playShortcutFor(key.sym);
    if (shortcut.kind == PlayShortcut::game)
        play.key(shortcut.key, down);
    else if (down && shortcut.kind == PlayShortcut::stop)
        stopPlay(true);
    else if (down && shortcut.kind == PlayShortcut::takeBack)
        play.takeBack();
}

void frame::zoomBy(int steps)
{
    if (Display* display = Display::current()) {
        display->setScale(display->scale() + steps);
        invalidate();
    }
}

bool frame::canvasKey(SDLKey key, bool ctrl)
{
    const Shortcut shortcut = shortcutFor(key, ctrl ? KMOD_LCTRL : KMOD_NONE);
    runCommand(shortcut.command, shortcut.value);
    return shortcut.command != Command::None;
}
