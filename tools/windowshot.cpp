// The guide's screenshots: one X window's picture as a PNG, optionally with
// numbered frames round its areas, cut to a part and enlarged.
//
//   zelbun-windowshot WINDOW OUT.png [--mark X,Y,W,H]... [--crop X,Y,W,H] [--zoom N]
//
// WINDOW is the window's id as xdotool prints it, on the display DISPLAY
// names. Marks and the cut are in the window's pixels; each mark gets a
// frame and, at its top left corner, its number in the editor's own font.
#include "core/glyphs.h"
#include "tools/png.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    void set(int x, int y, const unsigned char colour[3])
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        unsigned char* p = &rgb[3 * (static_cast<size_t>(y) * width + x)];
        p[0] = colour[0], p[1] = colour[1], p[2] = colour[2];
    }
    void fill(Box b, const unsigned char colour[3])
    {
        for (int y = b.y; y < b.y + b.h; ++y)
            for (int x = b.x; x < b.x + b.w; ++x)
                set(x, y, colour);
    }
};

bool parseBox(const char* text, Box& box)
{
    return std::sscanf(text, "%d,%d,%d,%d", &box.x, &box.y, &box.w, &box.h) == 4 && box.w > 0 && box.h > 0;
}

// One colour channel of an X pixel as 0 to 255, whatever the visual's masks.
unsigned char channel(unsigned long pixel, unsigned long mask)
{
    if (!mask)
        return 0;
    while (!(mask & 1))
        mask >>= 1, pixel >>= 1;
    return static_cast<unsigned char>((pixel & mask) * 255 / mask);
}

int usage()
{
    std::fprintf(stderr, "usage: zelbun-windowshot WINDOW OUT.png [--mark X,Y,W,H]... [--crop X,Y,W,H] [--zoom N]\n");
    return 2;
}

// A yellow frame two pixels wide on a dark one, so it shows on any colour,
// and the number in dark letters on a yellow tag at twice the font's size.
void drawMark(Picture& picture, Box b, int number)
{
    static const unsigned char yellow[3] = {255, 220, 0}, dark[3] = {20, 20, 20};
    picture.fill({b.x - 3, b.y - 3, b.w + 6, 4}, dark);
    picture.fill({b.x - 3, b.y + b.h - 1, b.w + 6, 4}, dark);
    picture.fill({b.x - 3, b.y - 3, 4, b.h + 6}, dark);
    picture.fill({b.x + b.w - 1, b.y - 3, 4, b.h + 6}, dark);
    picture.fill({b.x - 2, b.y - 2, b.w + 4, 2}, yellow);
    picture.fill({b.x - 2, b.y + b.h, b.w + 4, 2}, yellow);
    picture.fill({b.x - 2, b.y - 2, 2, b.h + 4}, yellow);
    picture.fill({b.x + b.w, b.y - 2, 2, b.h + 4}, yellow);
    const std::string digits = std::to_string(number);
    const Box tag{b.x, b.y, 16 * static_cast<int>(digits.size()) + 4, 20};
    picture.fill(tag, yellow);
    const unsigned char* font = editorFontData();
    for (size_t d = 0; d < digits.size(); ++d)
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column)
                if (font[8 * static_cast<unsigned char>(digits[d]) + row] & (0x80 >> column))
                    picture.fill({tag.x + 2 + 16 * static_cast<int>(d) + 2 * column, tag.y + 2 + 2 * row, 2, 2}, dark);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const std::string out = argv[2];
    std::vector<Box> marks;
    Box crop;
    bool cropped = false;
    int zoom = 1;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return usage();
        const char* value = argv[++i];
        Box box;
        if (option == "--mark" && parseBox(value, box))
            marks.push_back(box);
        else if (option == "--crop" && parseBox(value, crop))
            cropped = true;
        else if (option == "--zoom" && (zoom = std::atoi(value)) >= 1 && zoom <= 8)
            continue;
        else
            return usage();
    }

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "zelbun-windowshot: cannot open the display\n");
        return 1;
    }
    XWindowAttributes attributes;
    if (!window || !XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "zelbun-windowshot: no window %s\n", argv[1]);
        return 1;
    }
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) {
        std::fprintf(stderr, "zelbun-windowshot: cannot read window %s\n", argv[1]);
        return 1;
    }
    Picture whole{attributes.width, attributes.height, {}};
    whole.rgb.resize(3 * static_cast<size_t>(whole.width) * whole.height);
    for (int y = 0; y < whole.height; ++y)
        for (int x = 0; x < whole.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned char colour[3] = {channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                                             channel(pixel, image->blue_mask)};
            whole.set(x, y, colour);
        }
    XDestroyImage(image);
    XCloseDisplay(display);

    for (size_t i = 0; i < marks.size(); ++i)
        drawMark(whole, marks[i], static_cast<int>(i + 1));
    if (!cropped)
        crop = {0, 0, whole.width, whole.height};
    if (crop.x < 0 || crop.y < 0 || crop.x + crop.w > whole.width || crop.y + crop.h > whole.height) {
        std::fprintf(stderr, "zelbun-windowshot: the cut lies outside the %dx%d window\n", whole.width, whole.height);
        return 2;
    }
    Picture part{crop.w * zoom, crop.h * zoom, {}};
    part.rgb.resize(3 * static_cast<size_t>(part.width) * part.height);
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
            part.set(x, y, &whole.rgb[3 * (static_cast<size_t>(crop.y + y / zoom) * whole.width + crop.x + x / zoom)]);

    std::string error;
    const std::vector<std::uint8_t> png = encodePngRgb(part.width, part.height, part.rgb, error);
    std::ofstream file(out, std::ios::binary);
    if (png.empty() || !file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size())) ||
        !file.flush()) {
        std::fprintf(stderr, "zelbun-windowshot: %s: %s\n", out.c_str(), png.empty() ? error.c_str() : "cannot write");
        return 1;
    }
    return 0;
}
