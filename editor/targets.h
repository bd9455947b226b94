// The widgets of the window as the mouse handler tells them apart, and
// which one lies under a point. A new widget gets its rectangle in layout.h,
// a Kind (or Command) here and a line in targetAt. Pure over the layout.
#pragma once

// The commands of the buttons that act on release (New to SetView), then
// those of keys alone (shortcuts.h); from ChooseTool on they join the undo
// step under way, so a key pressed during a stroke does not cut it.
enum class Command { None, New, Open, Save, SaveAs, Delete, TestLevel, TestGame, Swap, Undo, Redo, Log, Help,
                     Dismiss, Play, SetView, Copy, Paste, Import, OpenRecent, Zoom, Turn, PlayHere,
                     ChooseTool, Grid, Pick, Cancel };

struct Target {
    enum Kind { Nothing, Canvas, Palette, ColourRegister, TextBox, PageButton, LevelSlot, ColourPicker,
                ScrewCounter, WallCounter, CommandButton, ToolButton, MessageArea };
    Kind kind = Nothing;
    int index = 0;  // entry, register, page, slot, counter area (CPMButton codes), Command or tool button
    bool operator==(const Target& other) const { return kind == other.kind && index == other.index; }
    bool operator!=(const Target& other) const { return !(*this == other); }
};

// The widget under a point: one at most. Every widget takes its edge
// column (x + w) and leaves its bottom row (y + h); where two share a
// border column, the order of the tests decides.
Target targetAt(int x, int y);
