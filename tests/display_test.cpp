// The window's picture on the screen: drawn by parts (what a paint changes
// must match a full repaint), shown at 2x and 3x with the mouse following
// the scale, and the places of things in it.
#include "editor/eventloop.h"
#include "editor_fixture.h"
#include "render/scale.h"
#include "sdl_events.h"
#include "core/messages.h"
#include "ui/display.h"

#include <algorithm>
#include <random>

using namespace fixture;

namespace {

// A screen of the test's own size. The window's client area is the video
// surface, at a place kept here; its frame is 2 pixels wide with a 30 pixel
// title bar.
class FakeScreen : public Screen {
public:
    FakeScreen(ScreenRect work, int x, int y) : work(work), x(x), y(y) {}
    bool workArea(ScreenRect& area) const override
    {
        area = work;
        return true;
    }
    bool windowPlace(WindowPlace& place) const override
    {
        const SDL_Surface* window = SDL_GetVideoSurface();
        if (!window)
            return false;
        place.client = {x, y, window->w, window->h};
        place.left = place.right = place.bottom = 2;
        place.top = 30;
        return true;
    }
    void moveWindow(int newX, int newY) override
    {
        x = newX;
        y = newY;
    }
    bool windowWithin() const
    {
        WindowPlace place;
        windowPlace(place);
        const ScreenRect outer = place.outer();
        return outer.x >= work.x && outer.y >= work.y && outer.right() <= work.right() &&
               outer.bottom() <= work.bottom();
    }
    ScreenRect work;
    int x, y;
};

// Two editors on the same files get the same input: one paints only what
// changed, the other everything every time. Their pictures must agree
// after every step of a long random session over the whole window.
TEST(PaintByParts, MatchesAFullRepaintAfterEveryEvent)
{
    SDL_Init(SDL_INIT_VIDEO);
    TempDir dir;
    writeTiles(dir, 32);
    writePalette(dir);
    dir.write("tiles.cfg", defaultConfig);
    struct Side {
        FakePlatform platform;
        SDL_Surface* screen = newSurface(640, 570, 32);
        std::unique_ptr<frame> editor;
        ~Side()
        {
            editor.reset();
            SDL_FreeSurface(screen);
        }
    } parts, whole;
    for (Side* side : {&parts, &whole}) {
        FrameOptions options;
        options.dataDirs = {dir.path};
        options.platform = &side->platform;
        options.runtimeDir = dir.path;
        options.clock = [] { return uint64_t(5000); };
        side->editor = std::make_unique<frame>(side->screen, options);
        ASSERT_TRUE(side->editor->ok());
    }

    std::mt19937 random(1234);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const SDLKey keys[] = {SDLK_d, SDLK_f, SDLK_r, SDLK_l, SDLK_p, SDLK_s, SDLK_g, SDLK_ESCAPE, SDLK_F1, SDLK_F2,
                           SDLK_a, SDLK_UP, SDLK_LEFT};
    int held = 0;
    for (int step = 0; step < 1500; ++step) {
        // Mostly over the canvas, where most parts are.
        const bool onCanvas = pick(3) > 0;
        const int x = onCanvas ? layout::canvas.x + pick(layout::canvas.w) : pick(640);
        const int y = onCanvas ? layout::canvas.y + pick(layout::canvas.h) : pick(570);
        const int what = pick(20);
        const int pressed = 1 + 2 * pick(2), wheel = 4 + pick(2);
        const SDLKey plain = keys[pick(13)], withCtrl = pick(2) ? SDLK_z : SDLK_v;
        for (Side* side : {&parts, &whole}) {
            frame& editor = *side->editor;
            if (what < 10)
                editor.mouse(x, y, held);  // a hover or a drag
            else if (what < 13 && held == 0)
                editor.mouse(x, y, pressed);
            else if (what < 15 && held != 0)
                editor.mouse(x, y, held == 4 ? -3 : -1);
            else if (what == 15)
                editor.mouse(x, y, wheel);
            else if (what < 19)
                editor.keyDown(keysym(plain, 'a'));
            else
                editor.keyDown(keysym(withCtrl, 0, KMOD_LCTRL));
        }
        held = parts.editor->heldButtons;
        ASSERT_EQ(held, whole.editor->heldButtons);

        parts.editor->paint();
        whole.editor->invalidate();
        whole.editor->paint();
        for (int py = 0; py < 570; ++py) {
            const Uint32* a = static_cast<const Uint32*>(parts.screen->pixels) + py * parts.screen->pitch / 4;
            const Uint32* b = static_cast<const Uint32*>(whole.screen->pixels) + py * whole.screen->pitch / 4;
            if (std::equal(a, a + 640, b))
                continue;
            const int px = int(std::mismatch(a, a + 640, b).first - a);
            FAIL() << "at (" << px << ", " << py << ") after step " << step << " (" << what << " at " << x << ", "
                   << y << ")";
        }
    }
}

// At 2x a click at twice a cell's position draws that cell, and the window
// shows it twice as large; Ctrl+plus and Ctrl with the wheel change the
// scale, and the mouse follows. A press on the border round the picture of
// a larger window reaches nothing.
TEST(Zoom, ClicksLandOnTheirCellAtEveryScale)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    TempDir dir;
    writeTiles(dir, 32);
    writePalette(dir);
    dir.write("tiles.cfg", defaultConfig);
    Display display;
    display.setScreen(std::make_unique<FakeScreen>(ScreenRect{0, 0, 4000, 3000}, 10, 10));
    const Error error = display.open(2);
    ASSERT_FALSE(error) << describe(error, Language::english);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1280);
    FakePlatform platform;
    FrameOptions options;
    options.dataDirs = {dir.path};
    options.platform = &platform;
    auto editor = std::make_unique<frame>(display.picture(), options);
    editor->currentTile = 1;  // code 5, sheet column 1

    auto clickCell = [&](int column, int row, int scale) {
        const layout::Rect cell = layout::canvasCellRect(column, row);
        events::click(scale * cell.x + scale * 3, scale * cell.y + scale * 3);
    };
    clickCell(4, 7, 2);
    events::key(SDLK_PLUS, '+', KMOD_LCTRL);
    clickCell(9, 20, 3);
    // Ctrl with the wheel zooms out instead of drawing.
    SDL_SetModState(KMOD_LCTRL);
    events::button(SDL_MOUSEBUTTONDOWN, 3 * 100, 3 * 300, SDL_BUTTON_WHEELDOWN);
    events::quit();
    platform.answerQuestion(1);  // "Nie zapisuj"
    runEventLoop(*editor, display.picture());
    SDL_SetModState(KMOD_NONE);
    // The loop ends on the quit without a paint: the last one, as it would
    // have come.
    editor->paint();
    display.present(editor->damage());

    EXPECT_EQ(editor->levels[0].get(4, 7), 5);
    EXPECT_EQ(editor->levels[0].get(9, 20), 5);
    EXPECT_EQ(editor->levels[0].get((100 - 5) / 16, (300 - 50) / 16), 0);  // the wheel drew nothing
    EXPECT_EQ(display.scale(), 2);
    // The drawn cell, two window pixels to a picture pixel.
    SDL_Surface* window = SDL_GetVideoSurface();
    const layout::Rect cell = layout::canvasCellRect(9, 20);
    EXPECT_EQ(pixel(window, 2 * cell.x + 20, 2 * cell.y + 20), rgb(window, tileColour(1)));
    EXPECT_EQ(pixel(window, 2 * cell.x + 20, 2 * cell.y + 20), pixel(display.picture(), cell.x + 10, cell.y + 10));

    // A window resized larger keeps the largest whole scale, centred.
    SDL_Event resize = {};
    resize.type = SDL_VIDEORESIZE;
    resize.resize.w = 1500;
    resize.resize.h = 1300;
    EXPECT_TRUE(display.handle(resize));
    EXPECT_EQ(display.scale(), 2);
    SDL_Event press = {};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_LEFT;
    press.button.x = 10;  // left of the centred picture
    press.button.y = 600;
    display.handle(press);
    EXPECT_EQ(press.type, SDL_NOEVENT);
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.x = Uint16((1500 - 1280) / 2 + 2 * 100 + 1);
    press.button.y = Uint16((1300 - 1140) / 2 + 2 * 300 + 1);
    display.handle(press);
    EXPECT_EQ(press.button.x, 100);
    EXPECT_EQ(press.button.y, 300);
    editor.reset();
}

// The eraser's band is a frame 16 cells wide and 10 rows high whose right
// and bottom sides lie one past its cells: on the canvas frame's right line,
// and from the last rows on its bottom line. It lasts one paint, and what
// lay under its sides comes back.
TEST_F(EditorTest, HoverBandReachesItsEdgeColumnAndRow)
{
    build();
    editor->currentTile = 0;  // the eraser's entry
    editor->paint();
    const Uint32 band = rgb(screen, 255, 125, 125), frameGrey = rgb(screen, 160, 160, 160);
    const int x = layout::canvas.x, y = layout::canvas.y;
    for (int row : {4, 29}) {
        const int top = y + 16 * (row - row % 3 > 21 ? 21 : row - row % 3);
        editor->mouse(x + 40, y + 16 * row + 3, 0);
        editor->paint();
        EXPECT_EQ(pixel(screen, x, top), band);
        EXPECT_EQ(pixel(screen, x + 256, top), band);
        EXPECT_EQ(pixel(screen, x + 256, top + 160), band);
        EXPECT_EQ(pixel(screen, x + 100, top + 160), band);
        EXPECT_NE(pixel(screen, x + 100, top + 159), band);
        EXPECT_NE(pixel(screen, x + 257, top + 20), band);
        editor->paint();  // no hover since: gone
        EXPECT_EQ(pixel(screen, x + 256, top + 20), frameGrey);
        EXPECT_NE(pixel(screen, x + 100, top + 160), band);
        EXPECT_NE(pixel(screen, x, top), band);
    }
    EXPECT_EQ(pixel(screen, x + 100, y + 496), frameGrey);
}

// On a 2560 x 1440 screen with a 40 pixel panel the window fits at 2x but
// not at 3x (1710 pixels and its title bar): "--scale 3" gives 2x with a
// word, zoom stops there, and the window, however it grows or is resized,
// is moved back whole onto the work area.
TEST(Zoom, KeepsTheWindowOnTheScreen)
{
    SDL_Init(SDL_INIT_VIDEO);
    Display display;
    auto owned = std::make_unique<FakeScreen>(ScreenRect{0, 40, 2560, 1400}, 1900, 700);
    FakeScreen* screen = owned.get();
    display.setScreen(std::move(owned));
    ASSERT_FALSE(display.open(3));
    EXPECT_EQ(display.scale(), 2);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1280);
    EXPECT_EQ(display.scaleNote(), "--scale 3 does not fit the screen's work area (2560 x 1400); using 2");
    EXPECT_TRUE(screen->windowWithin());

    display.setScale(3);
    EXPECT_EQ(display.scale(), 2);
    display.setScale(1);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
    screen->moveWindow(2200, 1100);  // the user put it near the corner
    display.setScale(2);
    EXPECT_EQ(SDL_GetVideoSurface()->w, 1280);
    EXPECT_TRUE(screen->windowWithin());
    EXPECT_EQ(screen->x + 1280 + 2, 2560);

    screen->moveWindow(-300, -200);
    SDL_Event resize = {};
    resize.type = SDL_VIDEORESIZE;
    resize.resize.w = 1500;
    resize.resize.h = 1200;
    display.handle(resize);
    EXPECT_TRUE(screen->windowWithin());
    EXPECT_EQ(display.scale(), 2);

    // A screen that holds no more than 1x.
    screen->work = {0, 0, 1280, 1000};
    display.setScale(2);
    EXPECT_EQ(display.scale(), 1);
    EXPECT_TRUE(screen->windowWithin());
}

// At every zoom, what the status line names over the colour grid is what
// a click at that window pixel stores.
TEST(Zoom, PickerNamesWhatItStoresAtEveryScale)
{
    SDL_Init(SDL_INIT_VIDEO);
    TempDir dir;
    writeTiles(dir, 32);
    writePalette(dir);
    dir.write("tiles.cfg", defaultConfig);
    Display display;
    display.setScreen(std::make_unique<FakeScreen>(ScreenRect{0, 0, 4000, 3000}, 0, 0));
    ASSERT_FALSE(display.open(1));
    FakePlatform platform;
    FrameOptions options;
    options.dataDirs = {dir.path};
    options.platform = &platform;
    auto editor = std::make_unique<frame>(display.picture(), options);
    for (int scale = 1; scale <= 3; ++scale) {
        display.setScale(scale);
        ASSERT_EQ(display.scale(), scale);
        const layout::Rect& picker = layout::colourPicker;
        for (int x = scale * picker.x - 1; x < scale * (picker.right() + 2); ++x) {
            SDL_Event motion = {};
            motion.type = SDL_MOUSEMOTION;
            motion.motion.x = Uint16(x);
            motion.motion.y = Uint16(scale * (picker.y + 40));
            display.handle(motion);
            editor->mouse(motion.motion.x, motion.motion.y, 0);
            const std::string status = editor->statusText();
            editor->levels[0].colorSet(0, 1);
            editor->mouse(motion.motion.x, motion.motion.y, 1);
            editor->mouse(motion.motion.x, motion.motion.y, -1);
            const int stored = editor->levels[0].colorGet(0);
            if (stored == 1) {
                EXPECT_EQ(status.rfind("Kolor", 0), std::string::npos) << scale << ": " << x;
                continue;
            }
            char named[12];
            std::snprintf(named, sizeof named, "Kolor $%02X", stored);
            EXPECT_EQ(status.substr(0, 9), named) << scale << ": " << x;
        }
    }
    editor.reset();
}

// The command buttons on the right stand at x = 550, 90 wide, and hold
// their labels whole; the row between two palette rows chooses nothing;
// Escape takes back an armed "Zamien mapy".
TEST_F(EditorTest, RightColumnPaletteGapsAndEscape)
{
    build();
    editor->paint();
    for (const layout::Rect& r : {layout::deleteButton, layout::swapButton, layout::testLevelButton,
                                  layout::testGameButton}) {
        EXPECT_EQ(r.x, 550);
        EXPECT_EQ(r.w, 90);
        // The label's ink (the button's dark lettering) stays inside the
        // border columns.
        const Uint32 ink = rgb(screen, 55, 55, 55);
        int left = 640, right = -1;
        for (int y = r.y + 2; y < r.bottom() - 2; ++y)
            for (int x = r.x + 1; x < r.right() - 1; ++x)
                if (pixel(screen, x, y) == ink) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        EXPECT_GT(left, r.x);
        EXPECT_LT(right, r.right() - 1);
    }

    const layout::Rect entry = layout::paletteEntry(5);  // the first entry of the second row
    editor->currentTile = 0;
    click(entry.x + 5, entry.y - 1);  // the gap row above it, under entry 0
    EXPECT_EQ(layout::paletteEntryAt(entry.x + 5, entry.y - 1), -1);
    EXPECT_EQ(editor->currentTile, 0);
    click(entry.x + 5, entry.y);
    EXPECT_EQ(editor->currentTile, -1 == editor->tileCodes[5] ? 0 : 5);
    // The column right of an entry still counts as the entry.
    EXPECT_EQ(layout::paletteEntryAt(entry.right(), entry.y + 5), 5);
    EXPECT_EQ(layout::paletteEntryAt(entry.right() + 1, entry.y + 5), 6);

    click(layout::swapButton.centre().x, layout::swapButton.centre().y);
    ASSERT_EQ(editor->swapSource, 0);
    editor->keyDown(keysym(SDLK_ESCAPE, 27));
    EXPECT_EQ(editor->swapSource, -1);
    editor->levels[3].add(1, 1, 5);
    click(layout::levelSlot(3).centre().x, layout::levelSlot(3).centre().y);
    EXPECT_EQ(editor->currentLevel, 3);
    EXPECT_FALSE(editor->levels[0].isOn());  // nothing was swapped
}

} // namespace
