// Which key, with which modifiers, runs which command: one table for the
// whole window (the set view's own keys, typing on the text page and the
// game's keys while a level plays are their parts'). Pure: it looks keys
// up and runs nothing.
#pragma once

#include "editor/playtest.h"
#include "editor/targets.h"

#include <SDL_keysym.h>

struct Shortcut {
    Command command = Command::None;
    // The tool (Tool), the turn (GridTurn), the recent file (0 the newest),
    // the zoom step, or for Play 1 when it shows a solution.
    int value = 0;
    // The function keys and Escape act even while the text page has the
    // keyboard.
    bool overText = false;
};

// Command::None for a key that is no shortcut. Letters act without Ctrl
// and Alt (the canvas's keys) or with Ctrl alone (the window's); Shift
// tells apart only Z, Ctrl+Z, Ctrl+S and F5.
Shortcut shortcutFor(SDLKey key, SDLMod mod);

// While a level plays: the game's keys, Escape or F5 (back to editing) and
// Backspace (a move taken back). The arrows or the keypad are the stick,
// Ctrl (or the keypad's 0) the trigger, space START (pause), R OPTION
// (start again).
struct PlayShortcut {
    enum Kind { none, game, stop, takeBack };
    Kind kind = none;
    Playtest::Key key = Playtest::Key::up;  // for a game key
};
PlayShortcut playShortcutFor(SDLKey key);
