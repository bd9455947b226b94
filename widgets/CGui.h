// The root of the editor's widget toolkit: a rectangle with a colour, a
// caption and three switches (visible, active, pressed) that hit-tests mouse
// positions and draws itself straight onto an SDL surface. A bare CGui also
// serves as an invisible hit area.
#pragma once

#include <SDL.h>

class CGui
{
public:
    static constexpr int captionCapacity = 27;

    // How captions and labels are drawn: the drawing library's string
    // drawing, unless the program puts a faster one with the same result
    // here.
    using TextDrawer = void (*)(SDL_Surface* target, int x, int y, const char* text, Uint8 r, Uint8 g, Uint8 b);
    static TextDrawer drawText;

    CGui();
    virtual ~CGui() = default;

    virtual void move(int x, int y, int w, int h);
    virtual void color(int r, int g, int b, int a);
    // Copies at most captionCapacity characters; longer text is cut.
    virtual void caption(const char* text);
    // Hit test that also sets the pressed state: 1 on a hit, else 0. The
    // right edge column counts as inside, the bottom edge row does not.
    virtual int push(int px, int py);
    // The rectangle the hit test takes, whatever the switches say.
    bool covers(int px, int py) const { return x <= px && px <= x + width && y <= py && py < y + height; }
    // Stored as given: any non-zero value draws the pressed look.
    virtual void pushed(int state);
    virtual void visible(int on);
    virtual void active(int on);
    virtual void render(SDL_Surface* target);
    virtual void free();
    virtual void renderCaption(SDL_Surface* target);
    virtual void renderGraph(SDL_Surface* target);

    int x;
    int y;
    int width;
    int height;
    int red;
    int green;
    int blue;
    int alpha;
    int isVisible;
    int isActive;
    int isPushed;
    int captionLength;
    char captionText[captionCapacity + 1];

protected:
    // The visible, active, released grey look every derived widget starts in.
    void setStandardState();
    // Copies at most captionCapacity characters of text into a buffer of
    // captionCapacity + 1, always terminated; returns the length copied.
    static int copyText(char* buffer, const char* text);
    // Colours are ints but only their low 8 bits are ever drawn.
    static Uint8 low8(int channel) { return static_cast<Uint8>(channel & 0xFF); }
    static Uint8 inverse8(int channel) { return static_cast<Uint8>(255 - low8(channel)); }
    static Uint8 shade8(int channel) { return static_cast<Uint8>(low8(channel) - 50); }
    // A filled rectangle in an opaque colour (corners inclusive).
    static void fill(SDL_Surface* target, int left, int top, int right, int bottom, Uint8 r, Uint8 g, Uint8 b);
    // Drawing takes 16-bit coordinates; wider values keep their low 16 bits.
    static Sint16 coord(long long value) { return static_cast<Sint16>(value); }
};
