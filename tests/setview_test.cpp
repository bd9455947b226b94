// The set view in the editor, without a window: F3 opens it over the canvas
// and closing gives the window back as it was; keys and the mouse choose and
// move levels; each level's picture is the renderer's; verdicts come from
// the background at idle, keep to their levels and give way to an edit;
// import, the clipboard, the limit of 32 and the numbers a save gives.
#include "editor_fixture.h"

#include "core/game.h"
#include "core/gameimage.h"
#include "core/messages.h"

#include <SDL_gfxPrimitives.h>

#include <chrono>
#include <thread>

using namespace fixture;

namespace {

class SetViewTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        build(std::string(defaultConfig) + "2,0:4,2\n");  // a robot, so a level can be without findings
    }

    SetView& view() { return *editor->setView; }
    void key(SDLKey sym, int mod = KMOD_NONE) { editor->keyDown(keysym(sym, 0, mod)); }
    void clickAt(layout::Point p) { click(p.x, p.y); }

    // Level `name` ('A', 'B', ...): a robot, and its letter in colour
    // register 1, which names it in row().
    static LevelData lettered(char name)
    {
        LevelData level = emptyLevel(0);
        level.on = true;
        level.cells[2][3] = kRobotCode;
        level.cells[name % 16][10] = 5;
        level.colours[1] = name;
        return level;
    }
    void setRow(const std::string& letters)
    {
        for (size_t slot = 0; slot < letters.size(); ++slot)
            editor->session.setLevel(int(slot), letters[slot] == '.' ? emptyLevel(0) : lettered(letters[slot]));
        editor->session.endStep();
    }
    std::string row() const
    {
        std::string letters;
        for (int slot = 0; slot < kLevelSlots; ++slot)
            letters += editor->session.level(slot).on ? char(editor->session.level(slot).colours[1]) : '.';
        return letters.substr(0, letters.find_last_not_of('.') + 1);
    }
    // Until the background work is done; false if it never is.
    bool verdictsSettle()
    {
        editor->tick();
        now += SetView::idleDelay;
        editor->tick();
        for (int i = 0; i < 10000 && view().solving(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return !view().solving();
    }
};

// The view lies over the canvas, the palette and the counters; closed, the
// window is what it was, pixel for pixel.
TEST_F(SetViewTest, OpensOverTheCanvasAndClosesToTheSameWindow)
{
    setRow("ABCD");
    editor->currentLevel = 2;
    editor->paint();
    const std::vector<Uint32> before(static_cast<Uint32*>(screen->pixels),
                                     static_cast<Uint32*>(screen->pixels) + screen->w * screen->h);
    key(SDLK_F3);
    ASSERT_TRUE(view().isOpen());
    EXPECT_EQ(view().chosen(), 2);
    editor->paint();
    const layout::Rect empty = setlayout::place(20);
    EXPECT_EQ(pixel(screen, empty.x + 70, empty.y + 50), rgb(screen, 28, 28, 36));
    EXPECT_EQ(editor->statusText(), "");

    key(SDLK_ESCAPE);
    EXPECT_FALSE(view().isOpen());
    editor->paint();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), static_cast<Uint32*>(screen->pixels)));

    // The button opens it, its own "Zamknij" closes it.
    clickAt(layout::setViewButton.centre());
    ASSERT_TRUE(view().isOpen());
    editor->paint();
    clickAt(setlayout::button(7).centre());
    EXPECT_FALSE(view().isOpen());
    editor->paint();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), static_cast<Uint32*>(screen->pixels)));
}

TEST_F(SetViewTest, KeysChooseMoveAndOpenALevel)
{
    setRow("ABCDE");
    editor->currentLevel = 2;
    key(SDLK_F3);
    key(SDLK_LEFT, KMOD_LALT);
    EXPECT_EQ(row(), "ACBDE");
    EXPECT_EQ(view().chosen(), 1);
    EXPECT_EQ(editor->currentLevel, 1) << "the canvas keeps to its level";
    key(SDLK_RIGHT, KMOD_LSHIFT);
    EXPECT_EQ(view().selection(), (std::vector<int>{1, 2}));
    key(SDLK_RIGHT, KMOD_LALT);
    EXPECT_EQ(row(), "ADCBE");
    key(SDLK_DOWN, KMOD_LALT);  // a row of eight on
    EXPECT_EQ(row(), "ADE.......CB");
    EXPECT_EQ(view().selection(), (std::vector<int>{10, 11}));
    key(SDLK_z, KMOD_LCTRL);
    EXPECT_EQ(row(), "ADCBE");
    key(SDLK_HOME);
    EXPECT_EQ(view().selection(), std::vector<int>{0});
    key(SDLK_INSERT);
    EXPECT_EQ(row(), ".ADCBE");
    key(SDLK_RIGHT);
    key(SDLK_d, KMOD_LCTRL);
    EXPECT_EQ(row(), ".AADCBE");
    key(SDLK_DELETE);
    EXPECT_EQ(row(), ".ADCBE");
    key(SDLK_RETURN);
    EXPECT_FALSE(view().isOpen());
    EXPECT_EQ(editor->currentLevel, 2);

    // A slot's button above the open view chooses that level there too.
    key(SDLK_F3);
    const layout::Rect fifth = layout::levelSlot(4);
    click(fifth.x + 5, fifth.y + 5);
    EXPECT_EQ(editor->currentLevel, 4);
    EXPECT_EQ(view().selection(), std::vector<int>{4});
}

// A drag moves the chosen levels in front of the place it ends on, or after
// it over its right half; Ctrl adds a level to the choice.
TEST_F(SetViewTest, DraggingMovesTheChosenLevels)
{
    setRow("ABCDEF");
    key(SDLK_F3);
    const layout::Point from = setlayout::picture(4).centre();
    const layout::Rect to = setlayout::place(1);
    press(from.x, from.y);
    editor->mouse(from.x - 10, from.y, 1);
    editor->mouse(to.x + 5, to.y + 40, 1);
    release(to.x + 5, to.y + 40);
    EXPECT_EQ(row(), "AEBCDF");

    click(setlayout::picture(5).centre().x, setlayout::picture(5).centre().y);
    SDL_SetModState(KMOD_LCTRL);
    click(setlayout::picture(0).centre().x, setlayout::picture(0).centre().y);
    SDL_SetModState(KMOD_NONE);
    EXPECT_EQ(view().selection(), (std::vector<int>{0, 5}));
    const layout::Rect after = setlayout::place(2);
    press(setlayout::picture(5).centre().x, setlayout::picture(5).centre().y);
    editor->mouse(after.right() - 5, after.y + 40, 1);
    editor->paint();  // the drop mark
    EXPECT_EQ(pixel(screen, after.right() - 2, after.y + 40), rgb(screen, 0, 230, 255));
    release(after.right() - 5, after.y + 40);
    EXPECT_EQ(row(), "EBAFCD");
    EXPECT_EQ(view().selection(), (std::vector<int>{2, 3}));
    clickAt(layout::undoButton.centre());
    EXPECT_EQ(row(), "AEBCDF");
}

// Each picture is the renderer's own picture of its level, in the level's
// colours and wall pattern, every 8 x 8 square averaged into a pixel.
TEST_F(SetViewTest, PicturesAreTheRenderersPictureOfEachLevel)
{
    setRow("AB.C");
    LevelData walled = lettered('D');
    walled.cells[4][4] = 9;  // wall, in pattern 3
    walled.cells[5][5] = 200;  // no picture: its code in hex
    walled.wzorek = 3;
    walled.colours[4] = 0x46;
    editor->session.setLevel(4, walled);
    editor->session.endStep();
    key(SDLK_F3);
    editor->paint();
    const TileArt art = editor->tileArt();
    for (int slot : {0, 1, 3, 4}) {
        const LevelData& level = editor->session.level(slot);
        LevelSheet sheet;
        sheet.attach(art.sheet, art.palette);
        sheet.recolour(level.colours);
        SurfacePtr whole(newSurface(levelPixelWidth(1), levelPixelHeight(1), 32));
        fixture::fill(whole.get(), 0, 0, whole->w, whole->h, rgb(whole.get(), atariColour(level.colours[4])));
        drawLevel(whole.get(), art, sheet.surface(), level, 0, 0);
        const layout::Rect picture = setlayout::picture(slot);
        int differing = 0;
        for (int y = 0; y < picture.h; ++y)
            for (int x = 0; x < picture.w; ++x) {
                int sum[3] = {};
                for (int dy = 0; dy < 8; ++dy)
                    for (int dx = 0; dx < 8; ++dx) {
                        const Uint32 p = pixel(whole.get(), 8 * x + dx, 8 * y + dy);
                        sum[0] += p >> 16 & 0xFF, sum[1] += p >> 8 & 0xFF, sum[2] += p & 0xFF;
                    }
                differing += pixel(screen, picture.x + x, picture.y + y) !=
                             rgb(screen, sum[0] / 64, sum[1] / 64, sum[2] / 64);
            }
        EXPECT_EQ(differing, 0) << "place " << slot + 1;
    }
    // The empty place shows none.
    const layout::Rect none = setlayout::picture(2);
    EXPECT_EQ(pixel(screen, none.x + 5, none.y + 5), rgb(screen, 28, 28, 36));
}

// Verdicts come in after a while without edits, belong to a level wherever
// it goes, mark the slots of levels that cannot be finished, and give way
// to an edit: the level being solved then gets none.
TEST_F(SetViewTest, VerdictsFillInAtIdleAndAnEditCancelsThem)
{
    std::atomic<int> started{0};
    verdictSolver = [&](const LevelData& level, const std::atomic<bool>& stop) {
        ++started;
        if (level.cells[15][30] == 7) {  // a level that takes its time: until stopped
            for (int i = 0; i < 20000 && !stop; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return LevelVerdict{LevelVerdict::unknown, 0};
        }
        if (level.cells[0][0] == 200)
            return LevelVerdict{LevelVerdict::unsolvable, 0};
        return LevelVerdict{LevelVerdict::solvable, countCells(level, 5)};
    };
    buildOnFiles();
    setRow("ABC");
    for (int column = 0; column < 11; ++column) {  // 6 and 12 moves, with the letter's own
        editor->session.editLevel(2).cells[column][20] = 5;
        if (column < 5)
            editor->session.editLevel(0).cells[column][20] = 5;
    }
    editor->session.editLevel(1).cells[0][0] = 200;
    editor->session.endStep();
    key(SDLK_F3);
    EXPECT_TRUE(editor->tick()) << "waits for the edits to rest";
    EXPECT_EQ(view().verdict(0).kind, LevelVerdict::pending);
    ASSERT_TRUE(verdictsSettle());
    EXPECT_FALSE(editor->tick());
    EXPECT_EQ(view().verdict(0).moves, 6);
    EXPECT_EQ(view().verdict(1).kind, LevelVerdict::unsolvable);
    EXPECT_EQ(view().verdict(2).moves, 12);
    EXPECT_TRUE(view().slotMarked(1));
    EXPECT_FALSE(view().slotMarked(0));

    // The curve: bars as high as the solutions are long, red to the top
    // for the level that cannot be finished; the slot's red corner.
    editor->paint();
    const int tallest = setlayout::curveBaseline - setlayout::curveTop;
    auto barHeight = [&](int k, SDL_Color colour) {
        int height = 0;
        for (int y = setlayout::curveTop; y < setlayout::curveBaseline; ++y)
            height += pixel(screen, setlayout::barX(k) + 4, y) == rgb(screen, colour);
        return height;
    };
    EXPECT_EQ(barHeight(0, {110, 220, 110, 0}), 6 * tallest / 12);
    EXPECT_EQ(barHeight(1, {255, 90, 90, 0}), tallest);
    EXPECT_EQ(barHeight(2, {110, 220, 110, 0}), tallest);
    const layout::Rect slot = layout::levelSlot(1);
    EXPECT_EQ(pixel(screen, slot.right() - 3, slot.y + 2), rgb(screen, 255, 40, 40));
    EXPECT_NE(pixel(screen, layout::levelSlot(0).right() - 3, slot.y + 2), rgb(screen, 255, 40, 40));

    // Moved, a level keeps its verdict: nothing to find again.
    const int solved = started;
    key(SDLK_RIGHT, KMOD_LALT);
    EXPECT_EQ(row(), "BAC");
    EXPECT_EQ(view().verdict(0).kind, LevelVerdict::unsolvable);
    EXPECT_EQ(view().verdict(1).moves, 6);
    ASSERT_TRUE(verdictsSettle());
    EXPECT_EQ(started, solved);

    editor->session.setCell(0, {15, 30}, 7);
    editor->session.endStep();
    editor->tick();
    now += SetView::idleDelay;
    editor->tick();
    for (int i = 0; i < 10000 && started == solved; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(started, solved + 1);
    editor->session.setCell(1, {3, 3}, 5);  // any edit
    editor->session.endStep();
    editor->tick();
    for (int i = 0; i < 10000 && view().solving(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(view().solving());
    EXPECT_EQ(view().verdict(0).kind, LevelVerdict::pending);
}

// A solution that is not proven the shortest shows as "~" before its
// length, on the level's place and on the status line, and as an outline on
// the curve; a level the search gave up on shows "?".
TEST_F(SetViewTest, SolutionsNotProvenShortestAndUnknownsShowSo)
{
    verdictSolver = [](const LevelData& level, const std::atomic<bool>&) {
        return level.colours[1] == 'A' ? LevelVerdict{LevelVerdict::solvable, 40, false}
                                       : LevelVerdict{LevelVerdict::unknown, 0};
    };
    buildOnFiles();
    setRow("AB");
    key(SDLK_F3);
    ASSERT_TRUE(verdictsSettle());
    EXPECT_EQ(verdictLabel(view().verdict(0), Language::polish), "~40 ruchow");
    EXPECT_EQ(verdictLabel(view().verdict(0), Language::english), "~40 moves");
    EXPECT_EQ(verdictLabel(view().verdict(1), Language::polish), "?");
    const layout::Point first = setlayout::picture(0).centre(), second = setlayout::picture(1).centre();
    editor->mouse(first.x, first.y, 0);
    EXPECT_EQ(editor->statusText(), "Mapa 1: ~40 ruchow (bez dowodu, ze najkrotsze)");
    editor->mouse(second.x, second.y, 0);
    EXPECT_EQ(editor->statusText(), "Mapa 2: nie rozstrzygnieto");

    // The bar is the only one, as high as the curve: its edge green, its
    // inside not.
    editor->paint();
    const Uint32 green = rgb(screen, 110, 220, 110);
    const int middle = (setlayout::curveTop + setlayout::curveBaseline) / 2;
    EXPECT_EQ(pixel(screen, setlayout::barX(0), middle), green);
    EXPECT_NE(pixel(screen, setlayout::barX(0) + 4, middle), green);
}

// "Importuj" opens another game image through the dialog "Otworz" uses;
// the chosen levels go in front of the chosen place with their colours,
// counters and pattern; the text pages stay.
TEST_F(SetViewTest, ImportingChosenLevelsOfAnotherSet)
{
    LevelData other[kLevelSlots];
    other[0] = lettered('X');
    other[1] = lettered('Y');
    other[1].srubki = 17;
    other[1].wzorek = 5;
    other[1].colours[4] = 0x24;
    other[2] = lettered('Z');
    TextPage pages[kTextPages];
    for (TextPage& page : pages)
        blankPage(page);
    pages[0][0][0] = 'P';
    const std::vector<uint8_t> image = writeGameImage(game, gameSize, other, pages);
    dir.write("other.atr", std::string(image.begin(), image.end()));

    setRow("ABC");
    editor->currentLevel = 1;
    platform.answerDialog(dir.file("other.atr"));
    key(SDLK_i, KMOD_LCTRL);  // opens the view too
    ASSERT_TRUE(view().isOpen());
    ASSERT_TRUE(view().importing());
    EXPECT_FALSE(platform.dialogRequests.back().save);
    EXPECT_EQ(platform.dialogRequests.back().title, "Otworz mape");
    key(SDLK_RIGHT);
    key(SDLK_RIGHT, KMOD_LSHIFT);
    key(SDLK_RETURN);
    EXPECT_FALSE(view().importing());
    EXPECT_EQ(row(), "AYZBC");
    EXPECT_EQ(view().selection(), (std::vector<int>{1, 2}));
    EXPECT_EQ(editor->session.level(1).srubki, 17);
    EXPECT_EQ(editor->session.level(1).wzorek, 5);
    EXPECT_EQ(editor->session.level(1).colours[4], 0x24);
    EXPECT_EQ(editor->textPages[0][0][0], ' ');
    EXPECT_EQ(editor->statusMessage, "Wstawiono 2 mapy z other.atr");
    key(SDLK_z, KMOD_LCTRL);
    EXPECT_EQ(row(), "ABC");

    // Escape gives the import up.
    platform.answerDialog(dir.file("other.atr"));
    clickAt(setlayout::button(3).centre());
    ASSERT_TRUE(view().importing());
    key(SDLK_ESCAPE);
    EXPECT_FALSE(view().importing());
    EXPECT_TRUE(view().isOpen());
    EXPECT_EQ(row(), "ABC");
}

// Copied levels paste in front of the chosen one; what would push a level
// past the 32nd place is refused with a message and changes nothing.
TEST_F(SetViewTest, ClipboardAndTheLimitOf32)
{
    setRow("ABCD");
    key(SDLK_F3);
    key(SDLK_RIGHT, KMOD_LSHIFT);
    key(SDLK_x, KMOD_LCTRL);
    EXPECT_EQ(row(), "CD");
    EXPECT_EQ(editor->statusMessage, "Wycieto 2 mapy do schowka");
    key(SDLK_HOME);
    key(SDLK_RIGHT);
    key(SDLK_RIGHT);
    key(SDLK_v, KMOD_LCTRL);  // onto the empty place after D
    EXPECT_EQ(row(), "CDAB");

    setRow(std::string(31, 'M'));
    key(SDLK_HOME);
    key(SDLK_v, KMOD_LCTRL);
    EXPECT_EQ(row(), std::string(31, 'M'));
    EXPECT_EQ(editor->statusMessage, "Zestaw ma 32 miejsca: nie zmiesci sie 1 mapa; nic nie zmieniono");
    EXPECT_TRUE(editor->notices.log().back().error);
}

// A save keeps the order of the levels, not their places: which levels
// get which numbers is said, and the reopened set has them so.
TEST_F(SetViewTest, SavingASetWithGapsSaysTheNewNumbers)
{
    setRow("A.BCDEF");
    platform.answerDialog(dir.file("gaps.atr"));
    editor->runCommand(frame::Command::SaveAs);
    EXPECT_EQ(editor->statusMessage, "Zapisano: gaps.atr; mapy 3-7 beda mapami 2-6 po otwarciu");
    EXPECT_EQ(editor->notices.log().back().text, editor->statusMessage);
    ASSERT_TRUE(editor->loadMap(dir.file("gaps.atr").c_str()));
    EXPECT_EQ(row(), "ABCDEF");
}

} // namespace
