// The event loop: paint, wait, dispatch a whole batch of events, repeat.
// A template over the editor so tests can watch it with a recording editor.
#pragma once

#include "ui/display.h"

#include <SDL.h>

#include <vector>

// What inputText gets for a key press: the arrow keys as their symbols,
// Ctrl with a letter as its control code (1 to 26, which the text pages use
// for the Polish letters; today's runtime reports the plain letter), any
// other key as its character, 0 when it makes none.
unsigned textKey(const SDL_keysym& key);

// Key releases go to an editor that takes them.
template <class Editor>
auto keyReleased(Editor& editor, const SDL_keysym& key, int) -> decltype(editor.keyUp(key))
{
    return editor.keyUp(key);
}
template <class Editor>
void keyReleased(Editor&, const SDL_keysym&, long)
{
}

// How often to wake the loop, where the editor says so.
template <class Editor>
auto wakeIntervalOf(const Editor& editor, int) -> decltype(Uint32(editor.wakeInterval()))
{
    return editor.wakeInterval();
}
template <class Editor>
Uint32 wakeIntervalOf(const Editor&, long)
{
    return 250;
}

// Hands one event to the editor; clears `running` on a quit event the
// editor agrees to (it may ask about unsaved work first). A release goes to
// the editor as the negated button number, so it knows which one went up.
template <class Editor>
void dispatchEvent(Editor& editor, const SDL_Event& event, bool& running)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        editor.keyDown(event.key.keysym);
        break;
    case SDL_KEYUP:
        keyReleased(editor, event.key.keysym, 0);
        break;
    case SDL_MOUSEMOTION:
        editor.mouse(int(event.motion.x), int(event.motion.y), int(event.motion.state));
        break;
    case SDL_MOUSEBUTTONDOWN:
        editor.mouse(int(event.button.x), int(event.button.y), int(event.button.button));
        break;
    case SDL_MOUSEBUTTONUP:
        editor.mouse(int(event.button.x), int(event.button.y), -int(event.button.button));
        break;
    case SDL_QUIT:
        if (editor.mayClose())
            running = false;
        break;
    default:
        break;
    }
}

// Drops a key press that repeats a held key when that key's release is
// already queued behind it: a tap then moves the text cursor once however
// long the editor was busy before it read the queue. SDL makes the repeats
// up itself (the windowing system's own are dropped) at the rate given to
// SDL_EnableKeyRepeat, timed by when it reads the queue.
class KeyRepeatFilter {
public:
    bool accept(const SDL_Event& event);

private:
    bool releaseQueued(SDLKey key) const;
    bool held[SDLK_LAST] = {};
};

// Wakes a waiting event loop once; any thread may call it.
void wakeEventLoop();

// While on, wakes a waiting event loop now and then with a user event, so
// that it notices what happens outside the window (a started program
// ending) without any input.
class WakeTimer {
public:
    WakeTimer() = default;
    ~WakeTimer() { set(false); }
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;

    // Every `interval` milliseconds while on.
    void set(bool on, Uint32 interval = 250);
    bool on() const { return id_ != nullptr; }

private:
    SDL_TimerID id_ = nullptr;
    Uint32 interval_ = 0;
};

// What an editor repainted, where it keeps count (`damage()`: the parts of
// the picture its last paint changed); else the whole picture.
template <class Editor>
auto paintedAreas(const Editor& editor, int) -> decltype(editor.damage())
{
    return editor.damage();
}
template <class Editor>
std::vector<SDL_Rect> paintedAreas(const Editor&, long)
{
    return {SDL_Rect{0, 0, Uint16(Display::pictureWidth), Uint16(Display::pictureHeight)}};
}

// Runs until the window is closed. One repaint per batch of events: a burst
// of mouse motion is handled event by event but drawn once, and only what
// the repaint changed goes to the screen. A quit event does not cut its
// batch short, and no repaint follows it. Before each repaint the editor
// collects the programs it started and does what waits for time; while it
// asks for it, a timer wakes the loop.
template <class Editor>
void runEventLoop(Editor& editor, SDL_Surface* screen)
{
    WakeTimer wakeTimer;
    KeyRepeatFilter repeats;
    bool running = true;
    bool whole = true;
    while (running) {
        const bool wake = editor.tick();
        wakeTimer.set(wake, wakeIntervalOf(editor, 0));
        editor.paint();
        Display* display = Display::current();
        if (display && display->picture() == screen) {
            if (whole)
                display->presentAll();
            else if (const auto& areas = paintedAreas(editor, 0); !areas.empty())
                display->present(areas);
        } else {
            SDL_Flip(screen);
        }
        whole = false;
        SDL_Event event;
        if (!SDL_WaitEvent(&event))
            break;
        do {
            if (pictureEvent(event))
                whole = true;
            if (repeats.accept(event))
                dispatchEvent(editor, event, running);
        } while (SDL_PollEvent(&event));
    }
}
