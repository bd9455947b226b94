// The window on the screen. The editor and its dialogs draw a picture of
// 640 x 570 pixels; the window shows it enlarged by a whole factor (1x, 2x
// or 3x), centred when the window is larger than that, and mouse positions
// go back to the picture's pixels, so nothing else knows about the scale.
// The window can be resized; the largest factor that fits is taken. No
// factor takes the window past the screen's work area, and a window that
// grows or is resized is moved back onto the screen.
#pragma once

#include "core/error.h"
#include "ui/screen.h"

#include <SDL.h>

#include <memory>

#include <string>
#include <vector>

class Display {
public:
    static constexpr int pictureWidth = 640;
    static constexpr int pictureHeight = 570;
    static constexpr int maxScale = 3;

    Display() = default;
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // Opens the window at `scale` (1 to 3; 0 picks one from the desktop's
    // scale and the screen's size); the error says why SDL could not. A
    // scale whose window would not fit the screen's work area is lowered,
    // and scaleNote() says so.
    Error open(int scale);
    const std::string& scaleNote() const { return scaleNote_; }
    // The screen the window lies on; the desktop's unless set before open().
    void setScreen(std::unique_ptr<Screen> screen) { screen_ = std::move(screen); }

    SDL_Surface* picture() const { return picture_; }
    int scale() const { return scale_; }
    // Resizes the window to show the picture at `scale`, kept within 1 and
    // the largest scale that fits the screen's work area.
    void setScale(int scale);
    // The largest scale whose window fits the work area, 1 at least; the
    // most there is when the screen does not tell.
    int largestFittingScale() const;
    // Shows the parts of the picture that changed; all of it when `areas`
    // is empty.
    void present(const std::vector<SDL_Rect>& areas);
    void presentAll() { present({}); }

    // Takes a window event in: mouse positions become picture positions
    // (motion and releases beyond it land on its edge, so a drag that
    // leaves still ends; a press on the border round it becomes no event);
    // a resize or an exposure is handled here, and true tells the caller to
    // repaint everything and present it.
    bool handle(SDL_Event& event);

    // The open display the dialogs present through; null when none is open
    // (the tests draw on a plain surface).
    static Display* current();

    // The factor for a screen of `screenWidth` x `screenHeight` pixels and
    // the desktop's own scale (0 when unknown): never tiny on a large screen.
    static int defaultScale(int screenWidth, int screenHeight, int desktopScale);

private:
    bool setMode(int width, int height);
    void fitToWindow();
    void keepOnScreen();

    std::unique_ptr<Screen> screen_;
    std::string scaleNote_;
    SDL_Surface* window_ = nullptr;
    SDL_Surface* picture_ = nullptr;
    int scale_ = 1;
    int offsetX_ = 0;
    int offsetY_ = 0;
};

// Shows a picture a modal loop drew on: through the open display when it is
// that display's picture, else as the video surface itself.
void presentPicture(SDL_Surface* picture);
// The same translation for modal loops: true when the event was the
// display's own (a resize), after which the loop redraws.
bool pictureEvent(SDL_Event& event);
