// The key table: what representative keys mean with and without their
// modifiers and while a level plays, and that every key the help page and the buttons' hints name
// runs something.
#include "core/gridtools.h"
#include "core/messages.h"
#include "editor/canvastools.h"
#include "editor/shortcuts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <utility>

namespace {

Shortcut lookUp(SDLKey key, int mod = KMOD_NONE) { return shortcutFor(key, SDLMod(mod)); }

} // namespace

TEST(Shortcuts, KeysWithTheirModifiers)
{
    struct Case {
        SDLKey key;
        int mod;
        Command command;
        int value;
    };
    const Case cases[] = {
        {SDLK_z, KMOD_LCTRL, Command::Undo, 0},
        {SDLK_z, KMOD_RCTRL | KMOD_LSHIFT, Command::Redo, 0},
        {SDLK_y, KMOD_LCTRL, Command::Redo, 0},
        {SDLK_s, KMOD_LCTRL | KMOD_RSHIFT, Command::SaveAs, 0},
        {SDLK_s, KMOD_LCTRL, Command::Save, 0},
        {SDLK_s, KMOD_NONE, Command::ChooseTool, int(Tool::select)},
        {SDLK_s, KMOD_LSHIFT, Command::ChooseTool, int(Tool::select)},
        {SDLK_r, KMOD_NONE, Command::ChooseTool, int(Tool::rectangle)},
        {SDLK_z, KMOD_NONE, Command::Turn, int(GridTurn::clockwise)},
        {SDLK_z, KMOD_LSHIFT, Command::Turn, int(GridTurn::counterClockwise)},
        {SDLK_x, KMOD_NONE, Command::Turn, int(GridTurn::flipLeftRight)},
        {SDLK_c, KMOD_LCTRL, Command::Copy, 0},
        {SDLK_v, KMOD_RCTRL, Command::Paste, 0},
        {SDLK_i, KMOD_LCTRL, Command::Import, 0},
        {SDLK_1, KMOD_LCTRL, Command::OpenRecent, 0},
        {SDLK_9, KMOD_LCTRL | KMOD_LSHIFT, Command::OpenRecent, 8},
        {SDLK_EQUALS, KMOD_LCTRL, Command::Zoom, 1},
        {SDLK_KP_MINUS, KMOD_LCTRL, Command::Zoom, -1},
        {SDLK_F5, KMOD_NONE, Command::Play, 0},
        {SDLK_F5, KMOD_LSHIFT, Command::Play, 1},
        {SDLK_F6, KMOD_NONE, Command::PlayHere, 0},
        {SDLK_ESCAPE, KMOD_LCTRL, Command::Cancel, 0},
        // Alt takes the letters from both the canvas and the window; Ctrl
        // takes the canvas's.
        {SDLK_z, KMOD_LCTRL | KMOD_LALT, Command::None, 0},
        {SDLK_d, KMOD_LALT, Command::None, 0},
        {SDLK_d, KMOD_LCTRL, Command::None, 0},
        {SDLK_1, KMOD_NONE, Command::None, 0},
        {SDLK_PLUS, KMOD_NONE, Command::None, 0},
        {SDLK_a, KMOD_NONE, Command::None, 0},
    };
    for (const Case& c : cases) {
        const Shortcut shortcut = lookUp(c.key, c.mod);
        EXPECT_EQ(shortcut.command, c.command) << "key " << c.key << " mod " << c.mod;
        EXPECT_EQ(shortcut.value, c.value) << "key " << c.key << " mod " << c.mod;
    }
    // Only the function keys and Escape reach past the text page.
    EXPECT_TRUE(lookUp(SDLK_F1).overText);
    EXPECT_TRUE(lookUp(SDLK_ESCAPE).overText);
    EXPECT_FALSE(lookUp(SDLK_g).overText);
    EXPECT_FALSE(lookUp(SDLK_n, KMOD_LCTRL).overText);

    // While a level plays R is the game's, and Escape and F5 go back.
    EXPECT_EQ(playShortcutFor(SDLK_r).kind, PlayShortcut::game);
    EXPECT_EQ(playShortcutFor(SDLK_r).key, Playtest::Key::restart);
    EXPECT_EQ(playShortcutFor(SDLK_KP0).key, Playtest::Key::fire);
    EXPECT_EQ(playShortcutFor(SDLK_F5).kind, PlayShortcut::stop);
    EXPECT_EQ(playShortcutFor(SDLK_BACKSPACE).kind, PlayShortcut::takeBack);
    EXPECT_EQ(playShortcutFor(SDLK_d).kind, PlayShortcut::none);
}

TEST(Shortcuts, EveryKeyTheWindowNamesRunsSomething)
{
    std::string named;
    for (Language language : {Language::polish, Language::english}) {
        for (WindowText text : {WindowText::helpCanvas, WindowText::helpSet})
            named += std::string(windowText(text, language)) + "\n";
        for (WidgetText widget : {WidgetText::newSet, WidgetText::open, WidgetText::save, WidgetText::saveAs,
                                  WidgetText::undo, WidgetText::redo, WidgetText::log, WidgetText::help,
                                  WidgetText::play, WidgetText::drawTool, WidgetText::fillTool,
                                  WidgetText::rectangleTool, WidgetText::lineTool, WidgetText::pickTool,
                                  WidgetText::selectTool, WidgetText::gridSwitch})
            named += widgetText(widget, language) + "\n";
    }
    // Words such as "Ctrl+Shift+S", "Ctrl+1..9", "Shift+F5", "(F1)" and a
    // tool's letter; plain numbers are slots and registers.
    int checked = 0;
    std::string word;
    for (char c : named + " ") {
        if (!std::strchr(" ,.()\n", c)) {
            word += c;
            continue;
        }
        std::string name = word;
        word.clear();
        int mod = KMOD_NONE;
        for (const auto& [prefix, bit] : {std::pair{"Ctrl+", KMOD_LCTRL}, std::pair{"Shift+", KMOD_LSHIFT}})
            if (name.rfind(prefix, 0) == 0) {
                name.erase(0, std::strlen(prefix));
                mod |= bit;
            }
        const bool functionKey = name.size() == 2 && name[0] == 'F' && std::isdigit(name[1]);
        const bool letter = name.size() == 1 && (std::isupper(name[0]) || (mod != KMOD_NONE && std::isdigit(name[0])));
        if (!functionKey && !letter)
            continue;
        const SDLKey sym = functionKey ? SDLKey(SDLK_F1 + (name[1] - '1')) : SDLKey(std::tolower(name[0]));
        EXPECT_NE(lookUp(sym, mod).command, Command::None) << name << " mod " << mod;
        ++checked;
    }
    EXPECT_GT(checked, 30);
}
