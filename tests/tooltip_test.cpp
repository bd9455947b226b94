// The box beside a resting pointer: after the rest time it names the widget
// and its key in the status line's words, stays inside the window at its
// edges, and goes with the next move or click. The clock is the test's.
#include "editor_fixture.h"

using namespace fixture;

namespace {

int count(SDL_Surface* s, const layout::Rect& area, Uint32 colour)
{
    int found = 0;
    for (int y = area.y; y < area.bottom(); ++y)
        for (int x = area.x; x < area.right(); ++x)
            found += pixel(s, x, y) == colour;
    return found;
}

bool inside(const layout::Rect& box, const layout::Rect& window)
{
    return box.x >= window.x && box.y >= window.y && box.right() <= window.right() &&
           box.bottom() <= window.bottom();
}

TEST_F(EditorTest, TooltipNamesTheToolAfterARestStaysInsideAndGoes)
{
    build();
    const Uint32 boxFill = rgb(screen, 255, 255, 225), ink = rgb(screen, 0, 0, 0);
    editor->paint();

    const layout::Point fill = layout::toolButton(int(Tool::fill)).centre();
    editor->mouse(fill.x, fill.y, 0);
    EXPECT_TRUE(editor->tick());  // the loop wakes to show it
    EXPECT_LE(editor->wakeInterval(), 100u);
    now += Tooltip::restTime - 1;
    editor->paint();
    EXPECT_EQ(editor->tooltip.box().w, 0);
    now += 1;
    EXPECT_FALSE(editor->tick());
    editor->paint();
    EXPECT_EQ(editor->tooltip.text(), "Wypelnij (F)");
    EXPECT_EQ(editor->tooltip.text(), editor->statusText());
    const layout::Rect box = editor->tooltip.box();
    EXPECT_TRUE(inside(box, layout::window));
    EXPECT_GT(box.w, 12 * layout::fontWidth);
    // Beside the pointer, and drawn: its fill, its words in black.
    EXPECT_LE(std::abs(box.x - fill.x), 16);
    EXPECT_LE(std::abs(box.y - fill.y), 24);
    EXPECT_GT(count(screen, box, boxFill), box.w * box.h / 2);
    EXPECT_GT(count(screen, {box.x + 2, box.y + 2, box.w - 4, box.h - 4}, ink), 20);

    // On the button in the window's bottom right corner it moves in, above
    // the pointer.
    const layout::Point corner{layout::dismissButton.right() - 1, layout::dismissButton.bottom() - 1};
    editor->mouse(corner.x, corner.y, 0);
    editor->paint();
    EXPECT_EQ(count(screen, box, boxFill), 0);  // the first box has gone
    now += Tooltip::restTime;
    editor->tick();
    editor->paint();
    const layout::Rect cornerBox = editor->tooltip.box();
    EXPECT_EQ(editor->tooltip.text(), "Ukryj komunikat");
    EXPECT_TRUE(inside(cornerBox, layout::window));
    EXPECT_LT(cornerBox.bottom(), corner.y);
    EXPECT_GT(count(screen, cornerBox, boxFill), cornerBox.w * cornerBox.h / 2);

    // A click puts it away, and it stays away while the pointer rests there.
    editor->mouse(corner.x, corner.y, 1);
    editor->mouse(corner.x, corner.y, -1);
    editor->mouse(corner.x, corner.y, 0);
    now += 2 * Tooltip::restTime;
    editor->paint();
    EXPECT_EQ(editor->tooltip.box().w, 0);
    EXPECT_EQ(count(screen, cornerBox, boxFill), 0);

    // A level slot: its number and what the set knows of it.
    const layout::Point slot = layout::levelSlot(6).centre();
    editor->mouse(slot.x, slot.y, 0);
    now += Tooltip::restTime;
    editor->paint();
    EXPECT_EQ(editor->tooltip.text(), "Mapa 7 (pusta)");
    // Nothing on the canvas: the status line tells of its cells.
    const layout::Point cell = layout::canvasCellRect(3, 3).centre();
    editor->mouse(cell.x, cell.y, 0);
    now += Tooltip::restTime;
    editor->paint();
    EXPECT_EQ(editor->tooltip.box().w, 0);
    EXPECT_FALSE(editor->statusText().empty());
}

// The part alone: a box asks for the window back only when it was drawn,
// and the loop is woken only while a rest is being timed.
TEST(Tooltip, RepaintsOnlyWhatItCoveredAndWakesOnlyWhileTiming)
{
    uint64_t now = 0;
    int repaints = 0;
    Tooltip tip([&] { return now; }, [&] { ++repaints; });
    EXPECT_FALSE(tip.waiting());
    tip.pointerAt(100, 100);
    EXPECT_TRUE(tip.waiting());
    now += Tooltip::restTime;
    EXPECT_FALSE(tip.waiting());
    EXPECT_TRUE(tip.due());
    tip.setText("");        // over nothing: no box, nothing to repaint
    tip.pointerAt(101, 100);
    EXPECT_EQ(repaints, 0);

    SDL_Surface* screen = newSurface(640, 570, 32);
    std::vector<SDL_Rect> damage;
    now += Tooltip::restTime;
    tip.setText("Olowek (D)");
    tip.paint(screen, damage);
    ASSERT_EQ(damage.size(), 1u);
    EXPECT_EQ(damage[0].x, 101 + Tooltip::offsetX);
    tip.setText("Olowek (D)");  // the same words: the box stays
    EXPECT_EQ(repaints, 0);
    tip.dismiss();  // a key
    EXPECT_EQ(repaints, 1);
    tip.pointerAt(101, 100);  // not moved: it stays away
    now += Tooltip::restTime;
    EXPECT_FALSE(tip.due());
    SDL_FreeSurface(screen);
}

} // namespace
