// The painting tools on a session, without a window: a fast drag leaves no
// gaps, shapes are written on release, the selection is copied and placed,
// and a pasted part that brings a second robot is reported.
#include "core/game.h"
#include "editor/canvastools.h"

#include <gtest/gtest.h>

namespace {

const int eraser = 0, wall = 9, robot = 4;

TEST(CanvasTools, StrokesShapesSelectionAndPaste)
{
    Session session(eraser, embeddedGame(), embeddedGame());
    CanvasTools tools(session);

    // A drag from one corner to the far one in a single step still draws a line.
    tools.press(0, {0, 0}, false, wall, eraser);
    tools.drag({15, 30});
    tools.release();
    EXPECT_EQ(countCells(session.level(0), wall), 31);
    // Off the grid breaks the line: coming back in does not draw along the edge.
    tools.press(0, {0, 5}, false, robot, eraser);
    tools.drag({-3, 5});
    tools.drag({0, 9});
    tools.release();
    EXPECT_EQ(session.level(0).at({0, 7}), eraser);
    EXPECT_EQ(session.level(0).at({0, 9}), robot);

    // A rectangle previews while dragging and is written on release only.
    tools.choose(Tool::rectangle);
    tools.press(1, {2, 2}, false, wall, eraser);
    tools.drag({4, 3});
    EXPECT_EQ(tools.preview().size(), 6u);
    EXPECT_FALSE(session.level(1).on);
    tools.release();
    EXPECT_EQ(countCells(session.level(1), wall), 6);
    EXPECT_TRUE(tools.preview().empty());

    // A selection holding the robot, pasted where a robot stands, is reported.
    tools.choose(Tool::select);
    tools.press(0, {0, 8}, false, wall, eraser);
    tools.drag({1, 9});
    tools.release();
    ASSERT_TRUE(tools.hasSelection());
    tools.copy(0);
    EXPECT_EQ(tools.patch().columns, 2);
    EXPECT_TRUE(tools.paste(0, robot));
    EXPECT_FALSE(tools.paste(1, robot)) << "no robot there yet";
    tools.press(1, {10, 20}, false, wall, eraser);
    EXPECT_FALSE(tools.placing());
    EXPECT_EQ(session.level(1).at({10, 21}), robot);

    // Changing level leaves no selection behind; Escape drops one.
    tools.press(0, {3, 3}, false, wall, eraser);
    tools.release();
    EXPECT_TRUE(tools.hasSelection());
    tools.levelChanged();
    EXPECT_FALSE(tools.hasSelection());
    EXPECT_FALSE(tools.cancel());
}

} // namespace
