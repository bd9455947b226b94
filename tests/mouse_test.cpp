// The mouse: drawing, choosing, counters, the swap, and every command.
#include "editor_fixture.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

using namespace fixture;

namespace {

// Centres of the window's widgets.
const int newX = 30, openX = 90, saveX = 150, saveAsX = 210, fileY = 12;
const int deleteX = 595, deleteY = 12;
const int swapX = 595, swapY = 57;
const int testLevelX = 595, testLevelY = 82;
const int testGameX = 595, testGameY = 107;
int cellX(int column) { return 5 + 16 * column + 8; }
int cellY(int row) { return 50 + 16 * row + 8; }
int slotX(int slot) { return 20 * slot + 9; }
const int slotY = 35;
int entryX(int entry) { return 270 + 20 * (entry % 5) + 9; }
int entryY(int entry) { return 50 + 20 * (entry / 5) + 9; }
int registerX(int r) { return 425 + 20 * r + 10; }
const int registerY = 165;

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

class MouseTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        build();
    }
    map& level(int i) { return editor->levels[i]; }
    map& current() { return editor->levels[editor->currentLevel]; }
};

// --- drawing -----------------------------------------------------------------

// Which button values draw the current tile and which erase.
TEST_F(MouseTest, ButtonValuesOverTheCanvas)
{
    click(entryX(1), entryY(1));  // code 5
    ASSERT_EQ(editor->currentTile, 1);
    const int drawn[8] = {0, 5, 5, 0, 0, 5, 5, 5};
    for (int button = 1; button <= 7; ++button) {
        level(0).add(button, 0, 7);
        press(cellX(button), cellY(0), button);
        editor->mouse(cellX(button), cellY(0), -button);
        EXPECT_EQ(level(0).get(button, 0), drawn[button]) << "button " << button;
    }
}

// Erasing on an empty slot still creates the level.
TEST_F(MouseTest, ErasingSwitchesAnOffLevelOn)
{
    ASSERT_FALSE(level(0).isOn());
    press(cellX(3), cellY(3), 3);
    EXPECT_TRUE(level(0).isOn());
    EXPECT_EQ(level(0).get(3, 3), 0);
}

// A fast drag leaves no gaps: every cell between two motion events is drawn,
// with the right button too. The hit area's right edge column lies past the
// grid, and leaving the grid breaks the line instead of drawing along it.
TEST_F(MouseTest, FastDragDrawsEveryCellBetween)
{
    click(entryX(1), entryY(1));
    press(cellX(0), cellY(0), 1);
    press(cellX(9), cellY(3), 1);  // one motion event far away
    release(cellX(9), cellY(3));
    for (const Cell& cell : lineCells({0, 0}, {9, 3}))
        EXPECT_EQ(level(0).get(cell.column, cell.row), 5) << cell.column << "," << cell.row;
    EXPECT_EQ(level(0).get(0, 1), 0);

    press(cellX(0), cellY(0), 3);
    press(cellX(9), cellY(3), 4);
    editor->mouse(cellX(9), cellY(3), -3);
    for (const Cell& cell : lineCells({0, 0}, {9, 3}))
        EXPECT_EQ(level(0).get(cell.column, cell.row), 0);

    press(cellX(14), cellY(10), 1);
    press(262, cellY(10), 1);  // off the grid
    press(cellX(14), cellY(20), 1);
    release(cellX(14), cellY(20));
    EXPECT_EQ(level(0).get(15, 10), 0);
    EXPECT_EQ(level(0).get(14, 15), 0);
    EXPECT_EQ(level(0).get(14, 20), 5);
    // The canvas's edge column is its last column of cells.
    click(261, cellY(12));
    EXPECT_EQ(level(0).get(15, 12), 5);

    // A drag that began off the canvas draws nothing.
    press(300, 300, 1);
    press(cellX(3), cellY(25), 1);
    release(cellX(3), cellY(25));
    EXPECT_EQ(level(0).get(3, 25), 0);
}

// With no palette entry there is nothing to draw, but erasing still works.
TEST_F(MouseTest, NoPaletteEntryDrawsNothing)
{
    editor.reset();
    dir.write("tiles.cfg", "murek:9\ngumka:0\nsruba:7\n");
    buildOnFiles();
    ASSERT_EQ(editor->currentTile, -1);
    click(cellX(1), cellY(1), 1);
    EXPECT_FALSE(level(0).isOn());
    click(cellX(1), cellY(1), 3);
    EXPECT_TRUE(level(0).isOn());
    EXPECT_EQ(level(0).get(1, 1), 0);
}

// --- choosing ------------------------------------------------------------------

TEST_F(MouseTest, PaletteRegisterPageAndUnlistedEntries)
{
    click(entryX(3), entryY(3));
    EXPECT_EQ(editor->currentTile, 3);
    click(entryX(2), entryY(2));  // not in tiles.cfg
    EXPECT_EQ(editor->currentTile, 3);
    click(registerX(4), registerY);
    EXPECT_EQ(editor->currentColour, 4);
    click(445, registerY);  // the shared edge column goes to the higher register
    EXPECT_EQ(editor->currentColour, 1);
    click(500, 340);
    EXPECT_EQ(editor->currentPage, 1);
    click(450, 340);
    EXPECT_EQ(editor->currentPage, 0);
}

// The text cursor's hit area leaves out the box's first column and row.
TEST_F(MouseTest, TextCursorEdges)
{
    press(375, 400);
    EXPECT_EQ(editor->cursorColumn, 0);
    EXPECT_EQ(editor->cursorRow, 0);
    press(400, 355);
    EXPECT_EQ(editor->cursorColumn, 0);
    press(376, 400);
    EXPECT_EQ(editor->cursorColumn, 0);
    EXPECT_EQ(editor->cursorRow, 4);
    press(630, 434);
    EXPECT_EQ(editor->cursorColumn, 31);
    EXPECT_EQ(editor->cursorRow, 7);
}

TEST_F(MouseTest, HoverRounding)
{
    const int rows[][2] = {{0, 0}, {2, 0}, {4, 3}, {20, 18}, {21, 21}, {29, 21}, {30, 21}};
    for (const auto& row : rows) {
        editor->mouse(100, cellY(row[0]), 0);
        EXPECT_EQ(editor->hoverRow, row[1]) << "row " << row[0];
    }
    editor->hoverRow = -1;
    editor->mouse(300, 300, 0);  // off the canvas: unchanged
    EXPECT_EQ(editor->hoverRow, -1);
}

// --- level slots and the swap ----------------------------------------------------

// A press on a slot only marks it; the release chooses it.
TEST_F(MouseTest, SlotsChooseOnRelease)
{
    press(slotX(5), slotY);
    EXPECT_EQ(editor->currentLevel, 0);
    EXPECT_TRUE(editor->buttons[5]->isPushed);
    release(slotX(5), slotY);
    EXPECT_EQ(editor->currentLevel, 5);
}

TEST_F(MouseTest, SwapStateMachine)
{
    level(3).add(0, 0, 5);
    level(3).wzorekSet(2);
    level(7).add(1, 1, 7);
    level(7).srubkiSet(4);

    click(slotX(3), slotY);
    click(swapX, swapY);  // arm on slot 3
    EXPECT_EQ(editor->swapSource, 3);
    EXPECT_TRUE(editor->buttons[frame::swapButton]->isPushed);
    click(deleteX + 100, 300);  // an unrelated release keeps it armed and pressed
    EXPECT_TRUE(editor->buttons[frame::swapButton]->isPushed);
    click(slotX(7), slotY);
    EXPECT_EQ(editor->currentLevel, 7);
    EXPECT_EQ(editor->swapSource, -1);
    EXPECT_FALSE(editor->buttons[frame::swapButton]->isPushed);
    EXPECT_EQ(level(7).get(0, 0), 5);
    EXPECT_EQ(level(7).wzorekGet(), 2);
    EXPECT_EQ(level(3).get(1, 1), 7);
    EXPECT_EQ(level(3).srubkiGet(), 4);

    // Arm and disarm with the button itself.
    click(swapX, swapY);
    click(swapX, swapY);
    EXPECT_EQ(editor->swapSource, -1);

    // Releasing on the armed slot itself changes nothing and disarms.
    click(swapX, swapY);
    click(slotX(7), slotY);
    EXPECT_EQ(editor->swapSource, -1);
    EXPECT_EQ(level(7).get(0, 0), 5);
    EXPECT_EQ(level(3).get(1, 1), 7);
}

// --- colour picker and counters -------------------------------------------------

TEST_F(MouseTest, PickerWritesTheCurrentRegister)
{
    click(registerX(2), registerY);
    click(392, 209);
    EXPECT_EQ(current().colorGet(2), 0x14);
    // The edge column right of the last hue is that hue's.
    click(631, 176 + 16 * 3);
    EXPECT_EQ(current().colorGet(2), 0xF6);
}

TEST_F(MouseTest, WallCounterWraps)
{
    click(380, 120);  // minus
    EXPECT_EQ(current().wzorekGet(), 7);
    click(430, 120);  // plus
    EXPECT_EQ(current().wzorekGet(), 0);
    current().wzorekSet(5);
    click(400, 120);  // the value
    EXPECT_EQ(current().wzorekGet(), 0);
}

TEST_F(MouseTest, ScrewCounterWrapsAndCounts)
{
    click(380, 70);
    EXPECT_EQ(current().srubkiGet(), 99);
    click(430, 70);
    EXPECT_EQ(current().srubkiGet(), 0);
    for (int i = 0; i < 120; ++i)
        current().add(i % 16, i / 16, 7);
    click(400, 70);
    EXPECT_EQ(current().srubkiGet(), 99);
    current().reset();
    current().add(4, 4, 7);
    click(400, 70);
    EXPECT_EQ(current().srubkiGet(), 1);
}

// Every widget answers on its edge column (x + w) but not on its bottom
// row (y + h), as the widgets' own hit test does; where two share a border
// column the order of the tests decides: the later colour register and
// "Koniec", as each sets the choice after the one before.
TEST_F(MouseTest, EdgeColumnsBelongToTheirWidgets)
{
    click(39, 30);  // the last column of slot 2
    EXPECT_EQ(editor->currentLevel, 1);
    click(19, 30);  // of slot 1
    EXPECT_EQ(editor->currentLevel, 0);
    click(19, 45);  // the row under the slots
    EXPECT_EQ(editor->currentLevel, 0);

    click(545, 160);  // the last column of register 6
    EXPECT_EQ(editor->currentColour, 5);
    click(445, 160);  // the border of registers 1 and 2
    EXPECT_EQ(editor->currentColour, 1);

    // The screw counter's body is at (375, 60): "-" is 375..390, "+" 420..435.
    current().srubkiSet(5);
    click(390, 70);
    EXPECT_EQ(current().srubkiGet(), 4);
    click(435, 70);
    EXPECT_EQ(current().srubkiGet(), 5);
    click(420, 70);
    EXPECT_EQ(current().srubkiGet(), 6);
    click(391, 70);  // the value: the level has no screws
    EXPECT_EQ(current().srubkiGet(), 0);
    click(400, 85);  // the row under the body
    EXPECT_EQ(current().srubkiGet(), 0);
    // The same on the wall counter, at (375, 110).
    current().wzorekSet(3);
    click(390, 120);
    EXPECT_EQ(current().wzorekGet(), 2);
    click(435, 120);
    EXPECT_EQ(current().wzorekGet(), 3);

    // "Start" 425..475, "Koniec" 475..535: they share 475. A page button
    // switches the page on the press, before any release.
    press(475, 340);
    EXPECT_EQ(editor->currentPage, 1);
    release(475, 340);
    press(425, 340);
    EXPECT_EQ(editor->currentPage, 0);
    EXPECT_TRUE(editor->textFocus);
    release(425, 340);
    press(535, 340);
    EXPECT_EQ(editor->currentPage, 1);
    release(535, 340);

    // The last column of a palette entry chooses it; the row under it not.
    const layout::Rect entry = layout::paletteEntry(1);
    click(entry.right(), entry.y + 5);
    EXPECT_EQ(editor->currentTile, 1);
    click(layout::paletteEntry(0).right(), entry.bottom());
    EXPECT_EQ(editor->currentTile, 1);

    // The last column of "Cofnij" and of a tool button.
    current().add(1, 1, 5);
    editor->session.endStep();
    click(layout::undoButton.right(), layout::undoButton.y + 5);
    EXPECT_EQ(current().get(1, 1), 0);
    click(layout::toolButton(7).right(), layout::toolButton(7).y + 5);
    EXPECT_TRUE(editor->showGrid);
}

// Counters or colours set on an empty slot make it a level that the save
// keeps; a click that changes nothing leaves the slot off.
TEST_F(MouseTest, ChangedEmptySlotIsSaved)
{
    click(400, 120);                     // wall pattern 0 again: no change
    EXPECT_FALSE(level(0).isOn());
    click(slotX(4), slotY);
    click(430, 70);                      // one screw to collect
    EXPECT_TRUE(level(4).isOn());
    click(slotX(6), slotY);
    click(392, 209);                     // a colour
    EXPECT_TRUE(level(6).isOn());

    std::string path = dir.file("kept.atr");
    platform.answerDialog(path);
    click(saveAsX, fileY);
    EXPECT_EQ(readAll(path).size(), 11428u + 2 * 508u);
}

// The release look: counters and command buttons let go.
TEST_F(MouseTest, ReleaseLetsCommandButtonsGo)
{
    press(deleteX, deleteY);
    EXPECT_TRUE(editor->buttons[frame::deleteButton]->isPushed);
    release(300, 300);
    EXPECT_FALSE(editor->buttons[frame::deleteButton]->isPushed);
}

// --- commands --------------------------------------------------------------------

// A command runs only on a left release over the widget its left press
// began on: a stroke that ends over a button, a right click, a wheel tick or
// a press that slides off runs nothing. Where two buttons share a border
// column, a click there runs one of them.
TEST_F(MouseTest, CommandsNeedPressAndLeftReleaseOnTheSameWidget)
{
    click(entryX(1), entryY(1));
    ASSERT_FALSE(editor->session.save(dir.file("x.atr")));
    editor->session.editPage(1)[2][3] = 'Q';
    level(12).add(0, 0, 5);
    editor->currentLevel = 12;
    editor->session.endStep();
    const Document before = editor->session.document();

    const int targets[][2] = {{newX, fileY}, {deleteX, deleteY}, {slotX(3), slotY}, {392, 209}, {430, 70}};
    for (const auto& target : targets) {
        press(cellX(1), cellY(1), 1);  // a stroke on the canvas ...
        editor->mouse(target[0], target[1], 1);
        release(target[0], target[1]);  // ... released over a command
        EXPECT_EQ(editor->currentLevel, 12);
    }
    for (int button : {2, 3, 4, 5}) {  // other buttons and the wheel over "Usun mape"
        press(deleteX, deleteY, button);
        editor->mouse(deleteX, deleteY, -button);
    }
    press(newX, fileY);  // pressed on "Nowy", released on "Otworz"
    release(openX, fileY);
    EXPECT_TRUE(platform.dialogRequests.empty());
    Document after = editor->session.document();
    after.levels[12].cells[1][1] = 0;  // all the strokes drew was this cell
    EXPECT_TRUE(after.sameContent(before));
    EXPECT_EQ(after.levels[12].colours[0], before.levels[12].colours[0]);
    EXPECT_EQ(level(12).srubkiGet(), 0);
    EXPECT_EQ(editor->filePath, dir.file("x.atr"));

    // x = 60 is the border of "Nowy" and "Otworz": the earlier one tested,
    // "Nowy", takes it alone (one question, no dialog); x = 61 is
    // "Otworz"'s.
    EXPECT_TRUE(platform.questions.empty());
    platform.answerQuestion(2);  // "Anuluj"
    click(60, fileY);
    EXPECT_EQ(platform.questions.size(), 1u);
    EXPECT_TRUE(platform.dialogRequests.empty());
    platform.answerQuestion(1);
    platform.cancelDialog();
    click(61, fileY);
    EXPECT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(platform.dialogRequests.size(), 1u);
    EXPECT_TRUE(level(12).isOn());
}

TEST_F(MouseTest, DeleteResetsTheCurrentLevel)
{
    level(2).add(0, 0, 5);
    level(3).add(0, 0, 5);
    click(slotX(2), slotY);
    click(deleteX, deleteY);
    EXPECT_FALSE(level(2).isOn());
    EXPECT_TRUE(level(3).isOn());
}

// "Zapisz" with no document path asks for one; a path without a dot gets
// ".atr", which the document path keeps.
TEST_F(MouseTest, SaveAsksForANameAndAddsTheExtension)
{
    level(0).add(0, 0, 5);
    std::string chosen = dir.file("levels");
    platform.answerDialog(chosen);
    click(saveX, fileY);
    ASSERT_EQ(platform.dialogRequests.size(), 1u);
    EXPECT_TRUE(platform.dialogRequests[0].save);
    EXPECT_EQ(platform.dialogRequests[0].startDir, dir.path);
    EXPECT_EQ(editor->filePath, (chosen + ".atr").c_str());
    EXPECT_EQ(readAll(chosen + ".atr").size(), 11428u + 508u);

    // A second "Zapisz" writes without asking.
    level(1).add(0, 0, 5);
    click(saveX, fileY);
    EXPECT_EQ(platform.dialogRequests.size(), 1u);
    EXPECT_EQ(readAll(chosen + ".atr").size(), 11428u + 2 * 508u);

    // After "Nowy" it asks again.
    click(newX, fileY);
    platform.cancelDialog();
    click(saveX, fileY);
    EXPECT_EQ(platform.dialogRequests.size(), 2u);
    EXPECT_EQ(editor->filePath, "");
}

// "...jako" offers the current path; a failed save shows why and keeps it.
TEST_F(MouseTest, SaveAsFailureKeepsThePath)
{
    ASSERT_FALSE(editor->session.save(dir.file("old.atr")));
    platform.answerDialog(dir.file("missing-dir/new.atr"));
    click(saveAsX, fileY);
    ASSERT_EQ(platform.dialogRequests.size(), 1u);
    EXPECT_EQ(platform.dialogRequests[0].currentPath, dir.file("old.atr"));
    EXPECT_EQ(editor->filePath, dir.file("old.atr").c_str());
    EXPECT_FALSE(editor->statusMessage.empty());
    EXPECT_FALSE(exists(dir.file("missing-dir")));
    // The message stays until put away.
    click(300, 300);
    EXPECT_FALSE(editor->statusMessage.empty());
    click(layout::dismissButton.centre().x, layout::dismissButton.centre().y);
    EXPECT_TRUE(editor->statusMessage.empty());
}

TEST_F(MouseTest, CancelledDialogsChangeNothing)
{
    level(4).add(0, 0, 5);
    platform.cancelDialog();
    click(openX, fileY);
    EXPECT_TRUE(level(4).isOn());
    platform.cancelDialog();
    click(saveAsX, fileY);
    EXPECT_EQ(editor->filePath, "");
    EXPECT_TRUE(editor->statusMessage.empty());
}

// "Otworz" on a file that can't be read keeps the levels, pages and path.
TEST_F(MouseTest, OpenFailureKeepsTheDocument)
{
    ASSERT_FALSE(editor->session.save(dir.file("before.atr")));
    level(4).add(0, 0, 5);
    editor->session.editPage(0)[0][0] = 'Z';
    platform.answerQuestion(1);  // "Nie zapisuj"
    platform.answerDialog(dir.file("nope.atr"));
    click(openX, fileY);
    EXPECT_TRUE(level(4).isOn());
    EXPECT_EQ(editor->textPages[0][0][0], 'Z');
    EXPECT_EQ(editor->filePath, dir.file("before.atr"));
    EXPECT_NE(editor->statusMessage.find("nope.atr"), std::string::npos);
}

// Save, start afresh, open: the set comes back in slot order from 0.
TEST_F(MouseTest, OpenReplacesTheLevels)
{
    level(3).add(0, 0, 5);
    level(3).colorSet(1, 0x44);
    level(3).wzorekSet(6);
    level(3).srubkiSet(12);
    level(7).add(15, 30, 7);
    editor->session.editPage(0)[1][1] = 'H';
    editor->session.editPage(1)[7][31] = 1;
    std::string path = dir.file("set.atr");
    platform.answerDialog(path);
    click(saveAsX, fileY);
    ASSERT_TRUE(exists(path));

    level(20).add(0, 0, 5);
    click(slotX(20), slotY);
    platform.answerQuestion(1);  // "Nie zapisuj"
    platform.answerDialog(path);
    click(openX, fileY);
    EXPECT_EQ(editor->currentLevel, 0);  // the view goes to the set's first level
    EXPECT_FALSE(level(20).isOn());
    EXPECT_FALSE(level(3).isOn());
    ASSERT_TRUE(level(0).isOn());
    EXPECT_EQ(level(0).get(0, 0), 5);
    EXPECT_EQ(level(0).colorGet(1), 0x44);
    EXPECT_EQ(level(0).wzorekGet(), 6);
    EXPECT_EQ(level(0).srubkiGet(), 12);
    ASSERT_TRUE(level(1).isOn());
    EXPECT_EQ(level(1).get(15, 30), 7);
    EXPECT_EQ(editor->textPages[0][1][1], 'H');
    EXPECT_EQ(editor->textPages[1][7][31], 1);
    EXPECT_EQ(editor->filePath, path.c_str());
}

// The test commands write test.atr into a private directory of this run,
// never the working directory, open it there with the emulator named on the
// command line, and the directory goes with the editor.
TEST_F(MouseTest, TestCommandsWriteAndOpen)
{
    emulatorCommand = "emu -x %f";
    buildOnFiles();
    level(12).add(0, 0, 5);
    click(slotX(12), slotY);
    platform.answerQuestion(0);  // no robot: "Testuj" anyway
    click(testLevelX, testLevelY);
    ASSERT_EQ(platform.openRequests.size(), 1u);
    const std::string image = platform.openRequests[0].file;
    const std::string privateDir = platform.openRequests[0].dir;
    EXPECT_EQ(image, privateDir + "/test.atr");
    EXPECT_EQ(platform.openRequests[0].emulatorCommand, "emu -x %f");
    EXPECT_EQ(std::filesystem::u8path(privateDir).parent_path(), std::filesystem::u8path(dir.path)) << privateDir;
    EXPECT_EQ(std::filesystem::u8path(privateDir).filename().u8string().rfind("zelbun-kreator-", 0), 0u);
#ifndef _WIN32
    // Windows has no such mode; the folder is private as %TEMP% is the user's.
    struct stat info;
    ASSERT_EQ(stat(privateDir.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
#endif
    std::string bytes = readAll(image);
    ASSERT_EQ(bytes.size(), 11679u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[7548]), 0x8C);
    EXPECT_EQ(editor->filePath, "");
    EXPECT_FALSE(exists(dir.file("test.atr")));

    level(13).add(0, 0, 5);
    platform.answerQuestion(0);
    click(testGameX, testGameY);
    // Each test has its own image: the first emulator keeps its own.
    ASSERT_EQ(platform.openRequests.size(), 2u);
    EXPECT_EQ(platform.openRequests[1].file, privateDir + "/test-2.atr");
    EXPECT_EQ(readAll(privateDir + "/test-2.atr").size(), 11428u + 2 * 508u);
    EXPECT_EQ(readAll(image).size(), 11679u);
    EXPECT_EQ(editor->statusMessage, "Uruchomiono emulator: test-2.atr");

    editor.reset();
    EXPECT_FALSE(exists(privateDir));
}

// Before a test the level checks warn of a level without a robot, with
// too few screws or with codes the tile set does not know; "Anuluj" stops
// the test, "Testuj" goes on, and a playable level is tested without asking.
TEST_F(MouseTest, WarningsBeforeTesting)
{
    level(0).add(0, 0, 200);  // the only known code the fixture has without a picture
    level(0).srubkiSet(2);
    level(0).add(1, 0, 7);    // one screw
    click(testLevelX, testLevelY);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].text.find("Mapa 1: brak robota"), std::string::npos);
    EXPECT_NE(platform.questions[0].text.find("srubek do zebrania 2, na mapie 1"), std::string::npos);
    EXPECT_TRUE(platform.openRequests.empty());  // cancelled

    platform.answerQuestion(0);
    click(testGameX, testGameY);
    EXPECT_EQ(platform.openRequests.size(), 1u);

    // Every code the checks look for is known and right: no question.
    editor->levelRules.known.fill(true);
    level(0).add(5, 5, kRobotCode);
    level(0).srubkiSet(1);
    click(testLevelX, testLevelY);
    EXPECT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(platform.openRequests.size(), 2u);
}

TEST_F(MouseTest, TestCommandFailuresAreShown)
{
    platform.openSucceeds = false;
    platform.answerQuestion(0);
    platform.answerQuestion(0);
    click(testLevelX, testLevelY);
    EXPECT_EQ(editor->statusMessage, "Nie mozna uruchomic emulatora: xdg-open: nie znaleziono programu");

    // No private directory can be made: nothing is written or started.
    runtimeDir = dir.file("missing");
    buildOnFiles();
    platform.openRequests.clear();
    click(testGameX, testGameY);
    EXPECT_TRUE(platform.openRequests.empty());
    EXPECT_NE(editor->statusMessage.find("missing"), std::string::npos);
}

} // namespace
