#include "editor/shortcuts.h"

#include "core/gridtools.h"
#include "editor/canvastools.h"

namespace {

// The modifiers a row asks for: any at all, neither Ctrl nor Alt, or Ctrl
// without Alt; and Shift held, not held, or either.
enum class Mods { any, plain, ctrl };
enum class Shift { either, without, with };

struct Row {
    SDLKey key;
    Mods mods;
    Shift shift;
    Command command;
    int value;
};

const Row rows[] = {
    {SDLK_F1, Mods::any, Shift::either, Command::Help, 0},
    {SDLK_F2, Mods::any, Shift::either, Command::Log, 0},
    {SDLK_F3, Mods::any, Shift::either, Command::SetView, 0},
    {SDLK_F5, Mods::any, Shift::without, Command::Play, 0},
    {SDLK_F5, Mods::any, Shift::with, Command::Play, 1},  // a shortest solution, step by step
    {SDLK_F6, Mods::any, Shift::either, Command::PlayHere, 0},
    // Drops a selection, a part being placed and an armed "Zamien mapy".
    {SDLK_ESCAPE, Mods::any, Shift::either, Command::Cancel, 0},

    // R the rectangle; a second R its outline, as the tools have it.
    {SDLK_d, Mods::plain, Shift::either, Command::ChooseTool, int(Tool::draw)},
    {SDLK_f, Mods::plain, Shift::either, Command::ChooseTool, int(Tool::fill)},
    {SDLK_r, Mods::plain, Shift::either, Command::ChooseTool, int(Tool::rectangle)},
    {SDLK_l, Mods::plain, Shift::either, Command::ChooseTool, int(Tool::line)},
    {SDLK_s, Mods::plain, Shift::either, Command::ChooseTool, int(Tool::select)},
    {SDLK_p, Mods::plain, Shift::either, Command::Pick, 0},
    {SDLK_g, Mods::plain, Shift::either, Command::Grid, 0},
    // X and Y flip, Z turns clockwise and Shift+Z back.
    {SDLK_x, Mods::plain, Shift::either, Command::Turn, int(GridTurn::flipLeftRight)},
    {SDLK_y, Mods::plain, Shift::either, Command::Turn, int(GridTurn::flipTopBottom)},
    {SDLK_z, Mods::plain, Shift::without, Command::Turn, int(GridTurn::clockwise)},
    {SDLK_z, Mods::plain, Shift::with, Command::Turn, int(GridTurn::counterClockwise)},

    {SDLK_n, Mods::ctrl, Shift::either, Command::New, 0},
    {SDLK_o, Mods::ctrl, Shift::either, Command::Open, 0},
    {SDLK_s, Mods::ctrl, Shift::without, Command::Save, 0},
    {SDLK_s, Mods::ctrl, Shift::with, Command::SaveAs, 0},
    {SDLK_z, Mods::ctrl, Shift::without, Command::Undo, 0},
    {SDLK_z, Mods::ctrl, Shift::with, Command::Redo, 0},
    {SDLK_y, Mods::ctrl, Shift::either, Command::Redo, 0},
    {SDLK_c, Mods::ctrl, Shift::either, Command::Copy, 0},
    {SDLK_v, Mods::ctrl, Shift::either, Command::Paste, 0},
    {SDLK_i, Mods::ctrl, Shift::either, Command::Import, 0},
    {SDLK_PLUS, Mods::ctrl, Shift::either, Command::Zoom, 1},
    {SDLK_EQUALS, Mods::ctrl, Shift::either, Command::Zoom, 1},  // plus without Shift on most layouts
    {SDLK_KP_PLUS, Mods::ctrl, Shift::either, Command::Zoom, 1},
    {SDLK_MINUS, Mods::ctrl, Shift::either, Command::Zoom, -1},
    {SDLK_KP_MINUS, Mods::ctrl, Shift::either, Command::Zoom, -1},
};

} // namespace

Shortcut shortcutFor(SDLKey key, SDLMod mod)
{
    const bool ctrl = (mod & KMOD_CTRL) != 0;
    const bool alt = (mod & (KMOD_ALT | KMOD_MODE)) != 0;
    const Shift shift = (mod & KMOD_SHIFT) != 0 ? Shift::with : Shift::without;
    // Ctrl+1..9: the files opened or saved last, newest first.
    if (ctrl && !alt && key >= SDLK_1 && key <= SDLK_9)
        return {Command::OpenRecent, int(key - SDLK_1), false};
    for (const Row& row : rows) {
        const bool modsFit = row.mods == Mods::any || (row.mods == Mods::plain && !ctrl && !alt) ||
                             (row.mods == Mods::ctrl && ctrl && !alt);
        if (row.key == key && modsFit && (row.shift == Shift::either || row.shift == shift))
            return {row.command, row.value, row.mods == Mods::any};
    }
    return {};
}

PlayShortcut playShortcutFor(SDLKey key)
{
    using Key = Playtest::Key;
    switch (key) {
    case SDLK_ESCAPE: case SDLK_F5: return {PlayShortcut::stop};
    case SDLK_BACKSPACE: return {PlayShortcut::takeBack};
    case SDLK_UP: case SDLK_KP8: return {PlayShortcut::game, Key::up};
    case SDLK_RIGHT: case SDLK_KP6: return {PlayShortcut::game, Key::right};
    case SDLK_DOWN: case SDLK_KP2: return {PlayShortcut::game, Key::down};
    case SDLK_LEFT: case SDLK_KP4: return {PlayShortcut::game, Key::left};
    case SDLK_LCTRL: case SDLK_RCTRL: case SDLK_KP0: return {PlayShortcut::game, Key::fire};
    case SDLK_SPACE: return {PlayShortcut::game, Key::pause};
    case SDLK_r: return {PlayShortcut::game, Key::restart};
    default: return {};
    }
}
