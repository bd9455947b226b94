// The painting tools: fill, rectangles, lines, picking, the preview while
// dragging, copying levels and parts of them, and flipping and turning them.
#include "editor_fixture.h"

using namespace fixture;

namespace {

int cellX(int column) { return 5 + 16 * column + 8; }
int cellY(int row) { return 50 + 16 * row + 8; }
int slotX(int slot) { return 20 * slot + 9; }
const int slotY = 35;
int toolX(Tool tool) { return 5 + 26 * int(tool) + 12; }
const int toolY = 559;

class ToolsTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        build();
        editor->currentTile = 1;  // code 5
    }
    map& level(int i) { return editor->levels[i]; }
    void drag(Cell from, Cell to, int button = 1)
    {
        press(cellX(from.column), cellY(from.row), button);
        press(cellX(to.column), cellY(to.row), button == 3 ? 4 : button);  // the drag's button mask
        editor->mouse(cellX(to.column), cellY(to.row), -button);
    }
    int count(int slot, int code)
    {
        int n = 0;
        for (int column = 0; column < 16; ++column)
            for (int row = 0; row < 31; ++row)
                n += level(slot).get(column, row) == code;
        return n;
    }
};

// Each shape shows while dragging, is written on release and covers exactly
// its cells; the right button uses the eraser's code.
TEST_F(ToolsTest, ShapesPreviewThenCoverExactlyTheirCells)
{
    editor->canvasKey(SDLK_r, false);
    press(cellX(2), cellY(3));
    press(cellX(5), cellY(6));
    editor->paint();
    EXPECT_EQ(pixel(screen, cellX(4) + 4, cellY(5) + 4), rgb(screen, tileColour(1)));  // the preview
    EXPECT_EQ(level(0).get(4, 5), 0);
    release(cellX(5), cellY(6));
    EXPECT_EQ(count(0, 5), 16);
    EXPECT_EQ(level(0).get(2, 3), 5);
    EXPECT_EQ(level(0).get(5, 6), 5);

    editor->canvasKey(SDLK_r, false);  // a second R: the outline
    ASSERT_EQ(editor->tools.tool(), Tool::outline);
    drag({3, 4}, {4, 5}, 3);
    EXPECT_EQ(count(0, 5), 12);

    click(toolX(Tool::line), toolY);
    ASSERT_EQ(editor->tools.tool(), Tool::line);
    drag({0, 10}, {15, 14});
    EXPECT_EQ(count(0, 5), 12 + 16);
    for (const Cell& cell : lineCells({0, 10}, {15, 14}))
        EXPECT_EQ(level(0).get(cell.column, cell.row), 5);
}

// The fill takes the connected area of the code under the press and stops
// at other codes and at the edges of the grid.
TEST_F(ToolsTest, FillStopsAtOtherCodesAndTheEdges)
{
    for (int column = 0; column < 16; ++column)
        level(0).add(column, 20, 7);
    editor->canvasKey(SDLK_f, false);
    click(cellX(8), cellY(25));
    EXPECT_EQ(count(0, 5), 16 * 10);
    EXPECT_EQ(level(0).get(0, 30), 5);
    EXPECT_EQ(level(0).get(0, 19), 0);
    EXPECT_EQ(count(0, 7), 16);
}

// P over the canvas makes the palette entry of the tile there current.
TEST_F(ToolsTest, PickTakesTheTileUnderThePointer)
{
    level(0).add(6, 6, 7);  // entry 3
    editor->mouse(cellX(6), cellY(6), 0);
    editor->canvasKey(SDLK_p, false);
    EXPECT_EQ(editor->currentTile, 3);
    EXPECT_EQ(editor->tools.tool(), Tool::draw);
}

// Ctrl+C and Ctrl+V take a whole level with its counters and colours to
// another slot; with a selection, a part of one, placed with the pointer.
TEST_F(ToolsTest, CopyAndPasteALevelAndASelection)
{
    level(0).add(1, 1, 7);
    level(0).add(2, 1, 5);
    level(0).srubkiSet(3);
    level(0).wzorekSet(4);
    level(0).colorSet(2, 0x36);
    editor->canvasKey(SDLK_c, true);
    click(slotX(9), slotY);
    editor->canvasKey(SDLK_v, true);
    EXPECT_TRUE(level(9).isOn());
    EXPECT_EQ(level(9).get(1, 1), 7);
    EXPECT_EQ(level(9).srubkiGet(), 3);
    EXPECT_EQ(level(9).wzorekGet(), 4);
    EXPECT_EQ(level(9).colorGet(2), 0x36);

    editor->canvasKey(SDLK_s, false);
    drag({1, 1}, {2, 1});
    editor->canvasKey(SDLK_c, true);
    click(slotX(4), slotY);
    editor->canvasKey(SDLK_v, true);
    editor->mouse(cellX(15), cellY(30), 0);
    editor->paint();  // the part follows the pointer
    EXPECT_EQ(pixel(screen, cellX(15) + 4, cellY(30) + 4), rgb(screen, tileColour(3)));
    EXPECT_FALSE(level(4).isOn());
    click(cellX(15), cellY(30));
    EXPECT_EQ(level(4).get(15, 30), 7);
    EXPECT_EQ(count(4, 0), 16 * 31 - 1);  // its second cell fell outside the grid
    EXPECT_EQ(level(4).srubkiGet(), 0);
}

// X and Y flip a selection, Z turns it a quarter clockwise about its middle
// and Shift+Z back, each one undo step; the game's directed tiles turn with
// it. A turn reaching past the level's edge is refused and said; a part
// being pasted turns before it is placed.
TEST_F(ToolsTest, FlipAndTurnASelectionWithItsDirectedTiles)
{
    // The game's codes: a direction is added to a machine's first code as
    // up 0, right 1, down 2, left 3; the beetles walk across and along.
    const int laserUp = 0x40, magnetUp = 0x44, onewayUp = 0x4C, beetleAcross = 0x50, beetleAlong = 0x51;
    const int right = 1, down = 2, left = 3;
    auto keyDown = [&](SDLKey sym, int mod = KMOD_NONE) { editor->keyDown(keysym(sym, 0, mod)); };
    auto lastSaid = [&] { return editor->notices.shown().back().text; };
    LevelData start = emptyLevel(0);
    start.on = true;
    // Columns 2..5 of rows 3 and 4:   > ^ . <
    //                                 - . . 9
    start.cells[2][3] = uint8_t(laserUp + right);
    start.cells[3][3] = uint8_t(magnetUp);
    start.cells[5][3] = uint8_t(onewayUp + left);
    start.cells[2][4] = uint8_t(beetleAcross);
    start.cells[5][4] = 9;
    editor->session.setLevel(0, start);
    editor->session.endStep();
    const uint64_t steps = editor->session.stepsRecorded();

    keyDown(SDLK_x);  // nothing selected: said how
    EXPECT_NE(lastSaid().find("zaznacz"), std::string::npos) << lastSaid();
    EXPECT_EQ(editor->session.stepsRecorded(), steps);

    editor->canvasKey(SDLK_s, false);
    drag({2, 3}, {5, 4});
    keyDown(SDLK_x);
    EXPECT_EQ(level(0).get(5, 3), laserUp + left);
    EXPECT_EQ(level(0).get(4, 3), magnetUp);
    EXPECT_EQ(level(0).get(2, 3), onewayUp + right);
    EXPECT_EQ(level(0).get(5, 4), beetleAcross);
    EXPECT_EQ(level(0).get(2, 4), 9);
    keyDown(SDLK_y);
    EXPECT_EQ(level(0).get(5, 4), laserUp + left);
    EXPECT_EQ(level(0).get(4, 4), magnetUp + down);
    EXPECT_EQ(level(0).get(2, 4), onewayUp + right);
    EXPECT_EQ(level(0).get(2, 3), 9);
    const LevelData flipped = editor->session.level(0);

    // A clockwise turn: the 4 x 2 part stands 2 x 4 about the same middle,
    // columns 3..4, rows 2..5; what it left is floor.
    keyDown(SDLK_z);
    EXPECT_EQ(editor->tools.selectionStart(), (Cell{3, 2}));
    EXPECT_EQ(editor->tools.selectionEnd(), (Cell{4, 5}));
    EXPECT_EQ(level(0).get(3, 5), laserUp);
    EXPECT_EQ(level(0).get(3, 4), magnetUp + left);
    EXPECT_EQ(level(0).get(3, 2), onewayUp + down);
    EXPECT_EQ(level(0).get(4, 2), 9);
    EXPECT_EQ(level(0).get(4, 5), beetleAlong);
    EXPECT_EQ(level(0).get(2, 3), 0);
    EXPECT_EQ(level(0).get(5, 4), 0);
    editor->mouse(cellX(3), cellY(3), 0);
    EXPECT_NE(editor->statusText().find("Zaznaczenie 2 x 4"), std::string::npos) << editor->statusText();
    keyDown(SDLK_z, KMOD_LSHIFT);  // and back where it was
    EXPECT_TRUE(sameLevel(editor->session.level(0), flipped));
    EXPECT_EQ(editor->tools.selectionStart(), (Cell{2, 3}));
    EXPECT_EQ(editor->session.stepsRecorded(), steps + 4);

    // Each was one step: undone one by one back to the start.
    editor->undo();
    EXPECT_EQ(level(0).get(3, 5), laserUp);
    editor->undo();
    EXPECT_TRUE(sameLevel(editor->session.level(0), flipped));
    editor->undo();
    editor->undo();
    EXPECT_TRUE(sameLevel(editor->session.level(0), start));

    // Along the bottom edge a 4 x 2 part cannot stand up: refused, said,
    // nothing changed.
    drag({8, 29}, {11, 30});
    const uint64_t before = editor->session.stepsRecorded();
    keyDown(SDLK_z);
    EXPECT_NE(lastSaid().find("nie zmiesci sie"), std::string::npos) << lastSaid();
    EXPECT_TRUE(sameLevel(editor->session.level(0), start));
    EXPECT_EQ(editor->session.stepsRecorded(), before);

    // A part being pasted turns as it follows the pointer, and is placed
    // turned in one step.
    drag({2, 3}, {3, 3});
    editor->canvasKey(SDLK_c, true);
    editor->canvasKey(SDLK_v, true);
    keyDown(SDLK_z);
    click(cellX(10), cellY(10));
    EXPECT_EQ(level(0).get(10, 10), laserUp + down);
    EXPECT_EQ(level(0).get(10, 11), magnetUp + right);
    editor->undo();
    EXPECT_TRUE(sameLevel(editor->session.level(0), start));
}

} // namespace

// A stroke, a line and a rectangle are one undo step each, however many
// cells they cover; redo puts the shape back.
TEST_F(ToolsTest, EachToolIsOneUndoStep)
{
    drag({0, 0}, {15, 0});
    editor->canvasKey(SDLK_l, false);
    drag({0, 10}, {15, 14});
    editor->canvasKey(SDLK_r, false);
    drag({2, 3}, {5, 6});
    ASSERT_EQ(count(0, 5), 16 + 16 + 16);

    editor->undo();
    EXPECT_EQ(count(0, 5), 32);
    editor->undo();
    EXPECT_EQ(count(0, 5), 16);
    editor->undo();
    EXPECT_EQ(count(0, 5), 0);
    editor->redo();
    EXPECT_EQ(count(0, 5), 16);
    EXPECT_EQ(level(0).get(15, 0), 5);
}
