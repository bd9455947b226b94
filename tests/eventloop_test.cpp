// The event loop's batching and dispatch, with a recording editor.
#include "editor/eventloop.h"

#include "sdl_events.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace events;

struct RecordingEditor {
    std::vector<std::string> calls;
    int paints = 0;
    std::function<void(int)> onPaint;  // pushes the next batch

    void paint()
    {
        ++paints;
        calls.push_back("paint");
        if (onPaint)
            onPaint(paints);
    }
    int mouse(int x, int y, int button)
    {
        calls.push_back("mouse " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(button));
        return 0;
    }
    // Records the text key the editor would type with its text page focused.
    void keyDown(const SDL_keysym& key) { calls.push_back("key " + std::to_string(textKey(key))); }
    int closeRefusals = 0;  // how many quit events to refuse, as a user's "Anuluj" does
    bool mayClose()
    {
        calls.push_back("close?");
        return closeRefusals-- <= 0;
    }

    bool programRunning = false;
    int checks = 0;
    bool tick()
    {
        ++checks;
        return programRunning;
    }
};

class EventLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        screen = SDL_SetVideoMode(640, 570, 32, SDL_SWSURFACE);
        ASSERT_NE(screen, nullptr);
        SDL_EnableUNICODE(1);
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
    }
    void TearDown() override { SDL_Quit(); }

    SDL_Surface* screen = nullptr;
    RecordingEditor editor;
};

// A quit in mid-batch: later events are still dispatched, and no repaint
// follows.
TEST_F(EventLoopTest, QuitFinishesItsBatch)
{
    motion(10, 20, 0);
    quit();
    key(SDLK_a, 'a');
    runEventLoop(editor, screen);
    std::vector<std::string> expected = {"paint", "mouse 10,20 0", "close?", "key 97"};
    EXPECT_EQ(editor.calls, expected);
}

// Arrow keys pass their symbols, other keys their characters; Ctrl with a
// letter passes the control code.
TEST_F(EventLoopTest, KeysAsSymbolsOrCharacters)
{
    key(SDLK_UP, 0);
    key(SDLK_LEFT, 0);
    key(SDLK_a, 'A', KMOD_LSHIFT);
    key(SDLK_LSHIFT, 0);
    key(SDLK_l, 'l', KMOD_LCTRL);
    key(SDLK_a, 'a', KMOD_RCTRL);
    key(SDLK_z, 26, KMOD_LCTRL);
    key(SDLK_e, 0x119, SDLMod(KMOD_RALT | KMOD_LCTRL));  // AltGr types a real letter
    key(SDLK_1, '1', KMOD_LCTRL);
    quit();
    runEventLoop(editor, screen);
    std::vector<std::string> expected = {"paint", "key 273", "key 276", "key 65", "key 0", "key 12",
                                         "key 1", "key 26", "key 281", "key 49", "close?"};
    EXPECT_EQ(editor.calls, expected);
}

// Motion passes the button mask; a press its button number; a release the
// negated number of the button that went up.
TEST_F(EventLoopTest, MouseValues)
{
    motion(1, 2, 0);
    motion(1, 2, SDL_BUTTON(1));
    motion(1, 2, SDL_BUTTON(3));
    motion(1, 2, SDL_BUTTON(1) | SDL_BUTTON(3));
    button(SDL_MOUSEBUTTONDOWN, 300, 400, SDL_BUTTON_WHEELUP);
    button(SDL_MOUSEBUTTONUP, 300, 400, SDL_BUTTON_WHEELUP);
    button(SDL_MOUSEBUTTONDOWN, 639, 569, SDL_BUTTON_RIGHT);
    button(SDL_MOUSEBUTTONUP, 639, 569, SDL_BUTTON_MIDDLE);
    quit();
    runEventLoop(editor, screen);
    std::vector<std::string> expected = {"paint", "mouse 1,2 0", "mouse 1,2 1", "mouse 1,2 4", "mouse 1,2 5",
                                         "mouse 300,400 4", "mouse 300,400 -4", "mouse 639,569 3",
                                         "mouse 639,569 -2", "close?"};
    EXPECT_EQ(editor.calls, expected);
}

// An event of an ignored type still ends the wait and brings a repaint.
TEST_F(EventLoopTest, IgnoredEventsAreFollowedByARepaint)
{
    SDL_Event keyUp = {};
    keyUp.type = SDL_KEYUP;
    keyUp.key.keysym.sym = SDLK_a;
    events::push(keyUp);
    editor.onPaint = [](int paints) {
        if (paints == 2)
            quit();
    };
    runEventLoop(editor, screen);
    std::vector<std::string> expected = {"paint", "paint", "close?"};
    EXPECT_EQ(editor.calls, expected);
}

// One repaint per batch, however many events it holds.
TEST_F(EventLoopTest, OneRepaintPerBatch)
{
    for (int i = 0; i < 50; ++i)
        motion(i, i, 0);
    editor.onPaint = [](int paints) {
        if (paints == 2)
            quit();
    };
    runEventLoop(editor, screen);
    EXPECT_EQ(editor.paints, 2);
    EXPECT_EQ(editor.calls.size(), 53u);
}

// A close the editor refuses (the user cancelled the save question) keeps
// the loop running; the next one ends it.
TEST_F(EventLoopTest, RefusedCloseKeepsRunning)
{
    editor.closeRefusals = 1;
    quit();
    editor.onPaint = [](int paints) {
        if (paints == 2)
            quit();
    };
    runEventLoop(editor, screen);
    std::vector<std::string> expected = {"paint", "close?", "paint", "close?"};
    EXPECT_EQ(editor.calls, expected);
}

// While a started program runs, the loop wakes by itself to collect it,
// with no input at all, and checks before every repaint.
TEST_F(EventLoopTest, ARunningProgramWakesTheLoop)
{
    editor.programRunning = true;
    editor.onPaint = [this](int paints) {
        if (paints == 2)
            editor.programRunning = false;
        if (paints == 3)
            quit();
    };
    runEventLoop(editor, screen);
    EXPECT_EQ(editor.checks, 3);
    const std::vector<std::string> expected = {"paint", "paint", "paint", "close?"};
    EXPECT_EQ(editor.calls, expected);
}

// A tap read late, after SDL made up a repeat, moves the cursor once; a key
// still held keeps repeating.
TEST_F(EventLoopTest, ARepeatBeforeAQueuedReleaseIsDropped)
{
    SDL_Event up = {};
    up.type = SDL_KEYUP;
    up.key.keysym.sym = SDLK_LEFT;
    key(SDLK_LEFT, 0);
    key(SDLK_LEFT, 0);  // the made-up repeat
    events::push(up);
    key(SDLK_RIGHT, 0);
    key(SDLK_RIGHT, 0);
    quit();
    runEventLoop(editor, screen);
    std::vector<std::string> expected = {"paint", "key 276", "key 275", "key 275", "close?"};
    EXPECT_EQ(editor.calls, expected);
}

} // namespace
