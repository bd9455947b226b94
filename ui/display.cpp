#include "ui/display.h"

#include "render/scale.h"

#include <algorithm>
#include <cstdlib>

namespace {

Display* openDisplay = nullptr;

// GDK_SCALE, then QT_SCALE_FACTOR: the whole factor the desktop asks
// programs to draw at; 0 when neither says.
int desktopScale()
{
    for (const char* name : {"GDK_SCALE", "QT_SCALE_FACTOR"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            const int scale = std::atoi(value);
            if (scale >= 1)
                return scale;
        }
    }
    return 0;
}

} // namespace

Display::~Display()
{
    if (openDisplay == this)
        openDisplay = nullptr;
    if (picture_)
        SDL_FreeSurface(picture_);
}

Display* Display::current()
{
    return openDisplay;
}

int Display::defaultScale(int screenWidth, int screenHeight, int desktop)
{
    if (desktop >= 1)
        return std::min(desktop, maxScale);
    // The largest factor whose window leaves room for the desktop's panels
    // and the window's frame.
    int scale = 1;
    while (scale < maxScale && (scale + 1) * pictureWidth <= screenWidth * 9 / 10 &&
           (scale + 1) * pictureHeight <= screenHeight * 85 / 100)
        ++scale;
    return scale;
}

Error Display::open(int scale)
{
    if (!screen_)
        screen_ = desktopScreen();
    const int requested = scale;
    if (scale < 1) {
        const SDL_VideoInfo* info = SDL_GetVideoInfo();
        scale = info ? defaultScale(info->current_w, info->current_h, desktopScale()) : 1;
    }
    scale_ = std::clamp(std::min(scale, largestFittingScale()), 1, maxScale);
    if (!setMode(pictureWidth * scale_, pictureHeight * scale_))
        return Error::library(Fault::noWindow, SDL_GetError(), pictureWidth * scale_, pictureHeight * scale_);
    // The window's frame is known once it is there.
    if (const int fitting = largestFittingScale(); fitting < scale_)
        setMode(pictureWidth * fitting, pictureHeight * fitting);
    if (requested > scale_) {
        ScreenRect work;
        screen_->workArea(work);
        scaleNote_ = "--scale " + std::to_string(requested) + " does not fit the screen's work area (" +
                     std::to_string(work.w) + " x " + std::to_string(work.h) + "); using " + std::to_string(scale_);
    }
    const SDL_PixelFormat* format = window_->format;
    picture_ = SDL_CreateRGBSurface(SDL_SWSURFACE, pictureWidth, pictureHeight, format->BitsPerPixel, format->Rmask,
                                    format->Gmask, format->Bmask, 0);
    if (!picture_)
        return Error::library(Fault::noSurface, SDL_GetError(), pictureWidth, pictureHeight);
    openDisplay = this;
    return Error();
}

bool Display::setMode(int width, int height)
{
    SDL_Surface* window = SDL_SetVideoMode(width, height, 32, SDL_SWSURFACE | SDL_RESIZABLE);
    if (!window)
        return false;
    window_ = window;
    fitToWindow();
    keepOnScreen();
    return true;
}

int Display::largestFittingScale() const
{
    ScreenRect work;
    if (!screen_ || !screen_->workArea(work))
        return maxScale;
    // The frame round the window as it is now; none before there is one.
    WindowPlace place;
    if (!window_ || !screen_->windowPlace(place))
        place = WindowPlace();
    int scale = maxScale;
    while (scale > 1 && (pictureWidth * scale + place.left + place.right > work.w ||
                         pictureHeight * scale + place.top + place.bottom > work.h))
        --scale;
    return scale;
}

// A window that grew past the work area's edge, or was placed off it, comes
// back whole.
void Display::keepOnScreen()
{
    ScreenRect work;
    WindowPlace place;
    if (!screen_ || !screen_->workArea(work) || !screen_->windowPlace(place))
        return;
    const ScreenRect outer = place.outer(), kept = keptWithin(outer, work);
    if (kept.x != outer.x || kept.y != outer.y)
        screen_->moveWindow(kept.x + place.left, kept.y + place.top);
}

// The largest factor the window holds, the picture centred in it.
void Display::fitToWindow()
{
    scale_ = std::clamp(std::min(window_->w / pictureWidth, window_->h / pictureHeight), 1, maxScale);
    offsetX_ = std::max(0, (window_->w - pictureWidth * scale_) / 2);
    offsetY_ = std::max(0, (window_->h - pictureHeight * scale_) / 2);
}

void Display::setScale(int scale)
{
    scale = std::clamp(scale, 1, largestFittingScale());
    if (!window_ || (scale == scale_ && window_->w == pictureWidth * scale && window_->h == pictureHeight * scale))
        return;
    if (setMode(pictureWidth * scale, pictureHeight * scale))
        presentAll();
}

void Display::present(const std::vector<SDL_Rect>& areas)
{
    if (!window_ || !picture_)
        return;
    const bool whole = areas.empty();
    if (SDL_MUSTLOCK(window_) && SDL_LockSurface(window_) != 0)
        return;
    std::vector<SDL_Rect> shown;
    if (whole) {
        // The border round a centred picture.
        const Uint32 black = SDL_MapRGB(window_->format, 0, 0, 0);
        const int w = pictureWidth * scale_, h = pictureHeight * scale_;
        SDL_Rect bands[4] = {{0, 0, Uint16(window_->w), Uint16(offsetY_)},
                             {0, Sint16(offsetY_ + h), Uint16(window_->w), Uint16(std::max(0, window_->h - offsetY_ - h))},
                             {0, Sint16(offsetY_), Uint16(offsetX_), Uint16(h)},
                             {Sint16(offsetX_ + w), Sint16(offsetY_), Uint16(std::max(0, window_->w - offsetX_ - w)), Uint16(h)}};
        if (SDL_MUSTLOCK(window_))
            SDL_UnlockSurface(window_);
        for (SDL_Rect& band : bands)
            if (band.w && band.h)
                SDL_FillRect(window_, &band, black);
        if (SDL_MUSTLOCK(window_))
            SDL_LockSurface(window_);
        scaleArea(picture_, {0, 0, Uint16(pictureWidth), Uint16(pictureHeight)}, window_, scale_, offsetX_, offsetY_);
    } else {
        for (const SDL_Rect& area : areas) {
            SDL_Rect written = scaleArea(picture_, area, window_, scale_, offsetX_, offsetY_);
            if (written.w && written.h)
                shown.push_back(written);
        }
    }
    if (SDL_MUSTLOCK(window_))
        SDL_UnlockSurface(window_);
    if (whole)
        SDL_UpdateRect(window_, 0, 0, 0, 0);
    else if (!shown.empty())
        SDL_UpdateRects(window_, int(shown.size()), shown.data());
}

bool Display::handle(SDL_Event& event)
{
    auto inside = [&](int x, int y) {
        return x >= offsetX_ && y >= offsetY_ && x < offsetX_ + pictureWidth * scale_ &&
               y < offsetY_ + pictureHeight * scale_;
    };
    auto toPicture = [&](Uint16& x, Uint16& y) {
        x = Uint16(std::clamp((int(x) - offsetX_) / scale_, 0, pictureWidth - 1));
        y = Uint16(std::clamp((int(y) - offsetY_) / scale_, 0, pictureHeight - 1));
    };
    switch (event.type) {
    case SDL_MOUSEMOTION:
        toPicture(event.motion.x, event.motion.y);
        event.motion.xrel = Sint16(event.motion.xrel / scale_);
        event.motion.yrel = Sint16(event.motion.yrel / scale_);
        return false;
    case SDL_MOUSEBUTTONDOWN:
        // A press on the border round the picture reaches nothing.
        if (!inside(event.button.x, event.button.y)) {
            event.type = SDL_NOEVENT;
            return false;
        }
        toPicture(event.button.x, event.button.y);
        return false;
    case SDL_MOUSEBUTTONUP:
        toPicture(event.button.x, event.button.y);
        return false;
    case SDL_VIDEORESIZE:
        // SDL 1.2 programs take the new size by setting the mode again.
        if (window_ && (event.resize.w != window_->w || event.resize.h != window_->h))
            setMode(std::max(event.resize.w, 1), std::max(event.resize.h, 1));
        return true;
    case SDL_VIDEOEXPOSE:
        return true;
    default:
        return false;
    }
}

void presentPicture(SDL_Surface* picture)
{
    Display* display = Display::current();
    if (display && display->picture() == picture)
        display->presentAll();
    else
        SDL_Flip(picture);
}

bool pictureEvent(SDL_Event& event)
{
    Display* display = Display::current();
    return display && display->handle(event);
}
