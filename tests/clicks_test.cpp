// The mouse buttons as the window tells press, drag and release apart: one
// scenario of a stroke, a command click and the clicks that must not run one.
#include "editor/clicks.h"

#include <gtest/gtest.h>

TEST(Clicks, PressDragReleaseAndTheWidgetACommandNeeds)
{
    const Target canvas{Target::Canvas, 0}, save{Target::CommandButton, int(Command::Save)};
    const Target undo{Target::CommandButton, int(Command::Undo)};
    Clicks clicks;

    // A left stroke from the canvas: its drags are the mask 1, its origin
    // the canvas, and its release over a button runs nothing.
    clicks.press(1, canvas);
    EXPECT_TRUE(clicks.isDrag(1));
    EXPECT_FALSE(clicks.isDrag(3));  // a right press joining it
    clicks.press(3, save);
    EXPECT_EQ(clicks.held(), 1 | 4);
    EXPECT_EQ(clicks.origin(), canvas);  // the first button's
    EXPECT_FALSE(clicks.release(3, save));
    EXPECT_FALSE(clicks.armed(save));
    EXPECT_FALSE(clicks.release(1, save));
    EXPECT_EQ(clicks.held(), 0);
    EXPECT_EQ(clicks.origin(), Target());

    // A click on a button: pressed-looking while over it, run on release
    // there; not once it was let go over another.
    clicks.press(1, save);
    EXPECT_TRUE(clicks.armed(save));
    EXPECT_FALSE(clicks.armed(undo));
    EXPECT_TRUE(clicks.release(1, save));
    clicks.press(1, save);
    EXPECT_FALSE(clicks.release(1, undo));
    EXPECT_FALSE(clicks.release(1, save));  // a second release without a press

    // The wheel is never held; a right click runs nothing.
    clicks.press(4, save);
    EXPECT_EQ(clicks.held(), 0);
    EXPECT_FALSE(clicks.release(4, save));
    clicks.press(3, save);
    EXPECT_FALSE(clicks.release(3, save));

    // A press something else took: held, but its release runs nothing.
    clicks.press(1, save);
    clicks.take(3);
    EXPECT_TRUE(clicks.isDrag(1 | 4));
    EXPECT_FALSE(clicks.armed(save));
    EXPECT_FALSE(clicks.release(1, save));

    // Motion without buttons forgets them all.
    clicks.press(1, save);
    clicks.reset();
    EXPECT_EQ(clicks.held(), 0);
    EXPECT_FALSE(clicks.release(1, save));
}
