#include "editor/tooltip.h"

#include "core/wraptext.h"
#include "render/font.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>

namespace {

const int lineHeight = 10;
const int padding = 3;

// The box's lines: as the status line wraps the same words.
std::vector<std::string> linesOf(const std::string& text)
{
    return wrapText(text, layout::statusChars);
}

} // namespace

Tooltip::Tooltip(std::function<uint64_t()> clock, std::function<void()> repaintAll)
    : clock_(std::move(clock)), repaintAll_(std::move(repaintAll))
{
}

void Tooltip::pointerAt(int x, int y)
{
    // No move: the rest goes on, or the box stays away after a click.
    if (x == x_ && y == y_)
        return;
    hide();
    x_ = x;
    y_ = y;
    armed_ = true;
    restStart_ = clock_();
}

void Tooltip::dismiss()
{
    hide();
    armed_ = false;
}

void Tooltip::hide()
{
    if (drawn_)
        repaintAll_();
    drawn_ = false;
    text_.clear();
}

bool Tooltip::waiting() const
{
    return armed_ && clock_() - restStart_ < restTime;
}

bool Tooltip::due() const
{
    return armed_ && clock_() - restStart_ >= restTime;
}

void Tooltip::setText(const std::string& text)
{
    if (text == text_)
        return;
    if (drawn_)
        repaintAll_();
    drawn_ = false;
    text_ = text;
}

layout::Rect Tooltip::box() const
{
    if (!due() || text_.empty())
        return {0, 0, 0, 0};
    const std::vector<std::string> lines = linesOf(text_);
    size_t chars = 0;
    for (const std::string& line : lines)
        chars = std::max(chars, line.size());
    return place(x_, y_, int(chars), int(lines.size()));
}

void Tooltip::paint(SDL_Surface* screen, std::vector<SDL_Rect>& damage)
{
    const layout::Rect r = box();
    if (r.w == 0)
        return;
    boxRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), 255, 255, 225, 255);
    rectangleRGBA(screen, Sint16(r.x), Sint16(r.y), Sint16(r.right() - 1), Sint16(r.bottom() - 1), 0, 0, 0, 255);
    const std::vector<std::string> lines = linesOf(text_);
    for (size_t i = 0; i < lines.size(); ++i)
        drawString(screen, r.x + padding, r.y + padding + lineHeight * int(i), lines[i].c_str(), 0, 0, 0);
    damage.push_back({Sint16(r.x), Sint16(r.y), Uint16(r.w), Uint16(r.h)});
    drawn_ = true;
}

layout::Rect Tooltip::place(int x, int y, int chars, int lines)
{
    const layout::Rect& window = layout::window;
    const int w = std::min(layout::fontWidth * chars + 2 * padding, window.w);
    const int h = std::min(lineHeight * lines + 2 * padding - 2, window.h);
    int left = x + offsetX, top = y + offsetY;
    if (left + w > window.right())
        left = std::max(window.x, window.right() - w);
    if (top + h > window.bottom())
        top = std::max(window.y, y - h - 4);
    return {left, top, w, h};
}
