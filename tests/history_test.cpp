// The document's undo history: steps, the saved point, the depth limit.
#include "core/history.h"

#include <gtest/gtest.h>

namespace {

Document withCell(int value)
{
    Document doc;
    doc.levels[3].on = true;
    doc.levels[3].cells[1][2] = static_cast<uint8_t>(value);
    return doc;
}

// Only real changes are steps; undo and redo walk them; a new change drops
// what could have been redone; the modified state follows the saved step.
TEST(History, StepsAndTheSavedPoint)
{
    History history(withCell(0));
    EXPECT_FALSE(history.modified());
    EXPECT_FALSE(history.record(withCell(0)));  // nothing changed
    EXPECT_TRUE(history.record(withCell(1)));
    EXPECT_TRUE(history.record(withCell(2)));
    EXPECT_TRUE(history.modified());

    history.markSaved("/x/set.atr");
    EXPECT_FALSE(history.modified());
    EXPECT_EQ(history.undo().levels[3].cells[1][2], 1);
    EXPECT_TRUE(history.modified());
    EXPECT_EQ(history.current().path, "/x/set.atr");  // every step belongs to the saved file
    EXPECT_EQ(history.redo().levels[3].cells[1][2], 2);
    EXPECT_FALSE(history.modified());

    history.undo();
    history.undo();
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(history.record(withCell(7)));  // the saved step can no longer be reached
    EXPECT_FALSE(history.canRedo());
    EXPECT_TRUE(history.modified());
    EXPECT_EQ(history.size(), 2u);

    // Same content with another path: no step, the path is taken over.
    Document renamed = withCell(7);
    renamed.path = "/y.atr";
    EXPECT_FALSE(history.record(renamed));
    EXPECT_EQ(history.current().path, "/y.atr");
}

// The oldest steps go once the depth is reached; the saved content stays
// known when its step is dropped.
TEST(History, KeepsItsDepth)
{
    History history(withCell(0));
    for (int i = 1; i <= int(History::depth) + 50; ++i)
        history.record(withCell(i % 256));
    EXPECT_EQ(history.size(), History::depth + 1);
    int undone = 0;
    while (history.canUndo()) {
        history.undo();
        ++undone;
    }
    EXPECT_EQ(undone, int(History::depth));
    EXPECT_EQ(history.current().levels[3].cells[1][2], 50);
    EXPECT_TRUE(history.modified());
}

// The saved point is a content, not a place in the history: coming back to
// what the file holds by any way (undoing "Nowy", redrawing a cell as it
// was) clears the mark, and the empty set "Nowy" made needs no saving.
TEST(History, TheSavedPointIsAContent)
{
    Document opened = withCell(0);
    opened.path = "/x/set.atr";
    History history(opened);
    Document changed = withCell(1);
    changed.path = opened.path;
    EXPECT_TRUE(history.record(changed));
    EXPECT_TRUE(history.modified());
    EXPECT_TRUE(history.record(opened));  // drawn back as it was: a step, and nothing to save
    EXPECT_FALSE(history.modified());

    history.record(changed);
    EXPECT_TRUE(history.record(Document()));  // "Nowy"
    history.markClean();
    EXPECT_FALSE(history.modified());
    history.undo();
    EXPECT_TRUE(history.modified());
    EXPECT_EQ(history.undo().path, "/x/set.atr");
    EXPECT_FALSE(history.modified());  // the file's own content again
    history.redo();
    EXPECT_FALSE(history.redo().path.size());
    EXPECT_FALSE(history.modified());  // the empty set again

    // The same content under another file's name is not that file's.
    Document elsewhere = opened;
    elsewhere.path = "/y.atr";
    History other(elsewhere);
    other.markSaved("/y.atr");
    other.record(withCell(5));
    Document back = opened;
    back.path = "/z.atr";
    other.record(back);
    EXPECT_TRUE(other.modified());

    // A saved step dropped past the depth is still the file's content.
    for (int i = 1; i <= int(History::depth) + 10; ++i)
        history.record(withCell(i % 200 + 1));
    history.record(opened);
    EXPECT_FALSE(history.modified());
}

} // namespace
