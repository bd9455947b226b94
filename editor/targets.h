// The widgets of the window as the mouse handler tells them apart, and
// which one lies under a point. A new widget gets its rectangle in layout.h,
// a Kind (or Command) here and a line in targetAt. Pure over the layout.
#pragma once

// The commands of the buttons that act on release, and of their shortcuts.
enum class Command { None, New, Open, Save, SaveAs, Delete, TestLevel, TestGame, Swap, Undo, Redo, Log, Help,
                     Dismiss, Play, SetView };

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
