// What the window tells: the status line about the point under the pointer,
// the findings of the checks as places to go to, the help page and the log.
#include "editor_fixture.h"

using namespace fixture;

namespace {

layout::Point centre(const layout::Rect& r)
{
    return r.centre();
}

class NoticesTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        build();
    }
    void hover(layout::Point p) { editor->mouse(p.x, p.y, 0); }
    void key(SDLKey sym) { editor->keyDown(keysym(sym)); }
    map& current() { return editor->levels[editor->currentLevel]; }
    // Whether any pixel of `area` has `colour`.
    bool shows(const layout::Rect& area, Uint32 colour)
    {
        for (int y = area.y; y < area.bottom(); ++y)
            for (int x = area.x; x < area.right(); ++x)
                if (pixel(screen, x, y) == colour)
                    return true;
        return false;
    }
};

// Over a cell: its column and row counted from 1 and its tile by name and
// code; the selection's size while there is one; over a button, its use
// and key; over the colour grid, the colour's value. Each shows in the
// status line's pixels.
TEST_F(NoticesTest, StatusLineTellsWhatIsUnderThePointer)
{
    editor->levels[0].add(2, 4, 5);  // the fixture's entry 1: code 5, named "pit" by the default set
    hover(centre(layout::canvasCellRect(2, 4)));
    EXPECT_EQ(editor->statusText(), "Kolumna 3, wiersz 5\nKafel $05 pit");
    editor->paint();
    EXPECT_TRUE(shows(layout::statusLine, rgb(screen, 255, 255, 255)));

    // A code the default set does not name shows its code alone.
    editor->levels[0].add(0, 0, 200);
    hover(centre(layout::canvasCellRect(0, 0)));
    EXPECT_EQ(editor->statusText(), "Kolumna 1, wiersz 1\nKafel $C8");

    editor->chooseTool(Tool::select);
    const layout::Point from = centre(layout::canvasCellRect(1, 1)), to = centre(layout::canvasCellRect(4, 2));
    editor->mouse(from.x, from.y, 1);
    editor->mouse(to.x, to.y, 1);
    EXPECT_EQ(editor->statusText(), "Kolumna 5, wiersz 3\nZaznaczenie 4 x 2");
    editor->mouse(to.x, to.y, -1);

    hover(centre(layout::saveButton));
    EXPECT_EQ(editor->statusText(), "Zapisz zestaw (Ctrl+S)");
    hover(centre(layout::toolButton(2)));
    EXPECT_EQ(editor->statusText(), "Prostokat (R)");
    hover({layout::colourPicker.x + 16 * 4 + 3, layout::colourPicker.y + 16 * 3 + 3});
    EXPECT_EQ(editor->statusText().substr(0, 9), "Kolor $46");
    editor->paint();
    // Nothing is left over from the cell's longer text.
    hover({layout::statusLine.x, layout::statusLine.y});
    EXPECT_EQ(editor->statusText(), "");
    editor->paint();
    EXPECT_FALSE(shows(layout::statusLine, rgb(screen, 255, 255, 255)));
}

// What the status line names over the colour grid is what a click there
// stores, at every column, the edge column right of the last hue too.
TEST_F(NoticesTest, StatusLineNamesTheColourAClickStores)
{
    const layout::Rect& picker = layout::colourPicker;
    for (int x = picker.x - 1; x <= picker.right() + 1; ++x)
        for (int y : {picker.y, picker.y + 15, picker.y + 16, picker.bottom() - 1}) {
            hover({x, y});
            const std::string status = editor->statusText();
            current().colorSet(1, 1);
            editor->currentColour = 1;
            click(x, y);
            const int stored = editor->levels[0].colorGet(1);
            if (x < picker.x || x > picker.right()) {
                EXPECT_EQ(stored, 1) << x;
                continue;
            }
            char named[8];
            std::snprintf(named, sizeof named, "$%02X", stored);
            EXPECT_EQ(status.substr(0, 9), std::string("Kolor ") + named) << x << "," << y;
        }
}

// Cancelling a test leaves its findings in the message area; a click on
// one shows that level and makes the cell flash for a while (the clock is
// the test's), which keeps the event loop waking until it ends. The log
// keeps them, and its lines lead there too.
TEST_F(NoticesTest, FindingsLeadToTheirCells)
{
    editor->levels[6].add(12, 2, kRobotCode);
    editor->levels[6].add(3, 9, kRobotCode);
    editor->levels[2].add(0, 0, 5);  // no robot at all
    editor->currentLevel = 2;
    editor->runCommand(frame::Command::TestGame);  // the question is cancelled
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_TRUE(platform.openRequests.empty());
    // Level 3 has no robot; level 7 has two, and the robot's code is not
    // one of this tile set's.
    ASSERT_EQ(editor->notices.shown().size(), 3u);
    EXPECT_EQ(editor->notices.shown()[1].slot, 6);

    bool whole = false;
    const std::vector<Notices::TextLine> lines = editor->notices.messageLines(whole);
    int line = 0;
    while (line < int(lines.size()) && lines[size_t(line)].notice != 1)
        ++line;
    ASSERT_LT(line, int(lines.size()));
    const layout::Point at = layout::messageLine(line);
    hover({at.x + 8, at.y + 3});
    EXPECT_EQ(editor->statusText(), "Klik: pokaz to miejsce");
    click(at.x + 8, at.y + 3);
    EXPECT_EQ(editor->currentLevel, 6);
    const Cell second{editor->notices.shown()[1].cell};
    EXPECT_TRUE(insideGrid(second));
    EXPECT_TRUE(editor->notices.flashing());
    EXPECT_TRUE(editor->tick());  // wakes to blink

    // The flash alternates: red on the cell's edge, then the tile alone.
    const layout::Rect cell = layout::canvasCellRect(second.column, second.row);
    editor->paint();
    const bool redFirst = pixel(screen, cell.x, cell.y) == rgb(screen, 255, 0, 0);
    now += 200;
    editor->paint();
    EXPECT_NE(pixel(screen, cell.x, cell.y) == rgb(screen, 255, 0, 0), redFirst);
    now += Notices::flashDuration;
    EXPECT_FALSE(editor->notices.flashing());
    EXPECT_FALSE(editor->tick());
    editor->paint();
    EXPECT_NE(pixel(screen, cell.x, cell.y), rgb(screen, 255, 0, 0));

    // The log lists them, and a click on one there shows its level too.
    editor->currentLevel = 0;
    key(SDLK_F2);
    ASSERT_EQ(editor->notices.overlay(), Notices::Overlay::log);
    const std::vector<Notices::TextLine> logged = editor->notices.overlayLines();
    ASSERT_GE(logged.size(), 2u);
    EXPECT_EQ(logged[0].text, editor->notices.shown()[0].text);
    click(20, layout::overlayTextTop + 3);  // the first, level 3's
    EXPECT_EQ(editor->notices.overlay(), Notices::Overlay::none);
    EXPECT_EQ(editor->currentLevel, 2);
}

// Past the findings the message area has room for, "wszystkie" shows them
// all on a page, and a click on any of them there shows its level and cell.
TEST_F(NoticesTest, EveryFindingOnThePageLeadsToItsCell)
{
    for (int slot = 1; slot <= 5; ++slot) {
        editor->levels[slot].add(3, 3, kRobotCode);
        editor->levels[slot].add(slot, 10 + slot, kRobotCode);  // a second robot there
    }
    editor->runCommand(frame::Command::TestGame);  // the question is cancelled
    // Two robots on each, and the robot's code is not this tile set's.
    const std::vector<Notices::Notice> findings = editor->notices.shown();
    ASSERT_EQ(findings.size(), 10u);
    bool whole = true;
    const std::vector<Notices::TextLine> lines = editor->notices.messageLines(whole);
    ASSERT_FALSE(whole);
    const layout::Point more = layout::messageLine(int(lines.size()) - 1);
    EXPECT_EQ(lines.back().notice, -1);
    click(more.x + 8, more.y + 3);
    ASSERT_EQ(editor->notices.overlay(), Notices::Overlay::message);

    for (int finding = 0; finding < int(findings.size()); ++finding) {
        const std::vector<Notices::TextLine> page = editor->notices.overlayLines();
        int line = 0;
        while (line < int(page.size()) && page[size_t(line)].notice != finding)
            ++line;
        ASSERT_LT(line, int(page.size()));
        const layout::Point at = layout::overlayLine(line);
        editor->currentLevel = 0;
        click(at.x + 8, at.y + 3);
        EXPECT_EQ(editor->notices.overlay(), Notices::Overlay::none);
        EXPECT_EQ(editor->currentLevel, findings[size_t(finding)].slot);
        EXPECT_TRUE(editor->notices.flashing());
        EXPECT_EQ(editor->notices.flashedCell(), findings[size_t(finding)].cell);
        click(more.x + 8, more.y + 3);  // the page again
        ASSERT_EQ(editor->notices.overlay(), Notices::Overlay::message);
    }
}

// F1 puts the help page over the window and Escape takes it away; "?"
// shows it too, and the click that closes it does nothing else.
TEST_F(NoticesTest, HelpShowsAndCloses)
{
    editor->paint();
    const Uint32 before = pixel(screen, 3, 300);
    key(SDLK_F1);
    ASSERT_EQ(editor->notices.overlay(), Notices::Overlay::help);
    bool names = false, keys = false;
    for (const Notices::TextLine& line : editor->notices.overlayLines()) {
        names |= line.text.find("Ctrl+S zapisz") != std::string::npos;
        keys |= line.text.find("Ctrl+A \x01") != std::string::npos;  // the font's a with ogonek
        EXPECT_LE(line.text.size(), size_t(layout::overlayChars)) << line.text;
    }
    EXPECT_TRUE(names);
    EXPECT_TRUE(keys);
    EXPECT_LE(editor->notices.overlayLines().size(), size_t(layout::overlayLineCount));  // one page
    editor->paint();
    EXPECT_EQ(pixel(screen, 3, 300), rgb(screen, 40, 40, 70));
    key(SDLK_ESCAPE);
    EXPECT_EQ(editor->notices.overlay(), Notices::Overlay::none);
    editor->paint();
    EXPECT_EQ(pixel(screen, 3, 300), before);

    click(centre(layout::helpButton).x, centre(layout::helpButton).y);
    ASSERT_EQ(editor->notices.overlay(), Notices::Overlay::help);
    const layout::Point cell = centre(layout::canvasCellRect(5, 5));
    click(cell.x, cell.y);
    EXPECT_EQ(editor->notices.overlay(), Notices::Overlay::none);
    EXPECT_FALSE(editor->levels[0].isOn());
    EXPECT_FALSE(editor->isModified());
}

// The notices alone, on a clock of the test's: the last message and the
// log; the flashing cell blinking and ending by the clock; the log's page
// opening at its newest lines and scrolling; a page closing with a whole
// repaint asked for; a press on a finding on a page giving its place.
TEST(NoticesPart, MessagesFlashAndPagesWithoutAWindow)
{
    uint64_t now = 100;
    int repaints = 0;
    Notices notices([&] { return now; }, [&] { ++repaints; });
    notices.showMessage("Zapisano: a.atr");
    notices.showError("Nie zapisano b.atr");
    EXPECT_EQ(notices.latest(), "Nie zapisano b.atr");
    EXPECT_TRUE(notices.latestIsError());
    notices.dismiss();
    EXPECT_EQ(notices.latest(), "");
    EXPECT_TRUE(notices.shown().empty());
    EXPECT_EQ(notices.log().size(), 2u);

    notices.flash(4, {2, 3});
    EXPECT_TRUE(notices.flashMarkOn(4, {2, 3}));
    EXPECT_FALSE(notices.flashMarkOn(3, {2, 3}));
    now += 200;
    EXPECT_FALSE(notices.flashMarkOn(4, {2, 3}));
    EXPECT_TRUE(notices.flashing());
    now += Notices::flashDuration;
    EXPECT_FALSE(notices.flashing());

    for (int i = 0; i < 100; ++i)
        notices.showMessage("komunikat " + std::to_string(i));
    notices.showOverlay(Notices::Overlay::log);
    const size_t count = notices.overlayLines().size();
    const size_t room = size_t(layout::overlayLineCount);
    ASSERT_GT(count, room);
    const uint64_t atNewest = notices.overlayLook();
    notices.overlayKey(Notices::PageKey::down);  // already at the newest
    EXPECT_EQ(notices.overlayLook(), atNewest);
    notices.overlayKey(Notices::PageKey::pageUp);
    EXPECT_NE(notices.overlayLook(), atNewest);
    notices.overlayKey(Notices::PageKey::pageDown);
    EXPECT_EQ(notices.overlayLook(), atNewest);
    EXPECT_EQ(repaints, 0);
    notices.overlayKey(Notices::PageKey::other);
    EXPECT_EQ(notices.overlay(), Notices::Overlay::none);
    EXPECT_EQ(repaints, 1);

    LevelFinding finding{FindingKind::noRobot, 6};
    LevelFinding twoRobots{FindingKind::manyRobots, 9};
    twoRobots.column = 4;
    twoRobots.row = 10;
    twoRobots.count = 2;
    notices.showFindings({finding, twoRobots});
    notices.showOverlay(Notices::Overlay::message);
    const std::vector<Notices::TextLine> lines = notices.overlayLines();
    int line = 0;
    while (lines[size_t(line)].notice != 1)
        ++line;
    const Notices::Place place = notices.overlayPress(layout::overlayLine(line).y + 3, 1);
    EXPECT_EQ(place.slot, 9);
    EXPECT_EQ(place.cell, (Cell{4, 10}));
    EXPECT_EQ(notices.overlay(), Notices::Overlay::none);
    EXPECT_EQ(repaints, 2);
}

} // namespace
