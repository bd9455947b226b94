// Icon source format: '#' lines and blank lines are comments;
//     colour C R G B      gives the art character C an RGB colour,
//     colour C transparent  makes it see-through;
// then 32 art lines of 32 characters, each a character with a colour.
#include "tools/icon.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

namespace {

bool isByte(int v) { return v >= 0 && v <= 255; }

struct Ink
{
    Rgb colour;
    bool opaque;
};

} // namespace

bool parseIcon(const std::string& text, const std::string& fileName, IconArt& art, std::string& error)
{
    auto fail = [&](int line, const std::string& what) {
        error = fileName + ":" + std::to_string(line) + ": " + what;
        return false;
    };
    std::map<char, Ink> inks;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0, row = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line.compare(0, 7, "colour ") == 0) {
            std::istringstream words(line.substr(7));
            std::string name, rest;
            words >> name;
            if (name.size() != 1)
                return fail(lineNumber, "a colour is named by one character");
            int r = -1, g = -1, b = -1;
            if (words >> r >> g >> b && !(words >> rest) && isByte(r) && isByte(g) && isByte(b)) {
                const Rgb colour{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
                if (colour == icon::transparentKey)
                    return fail(lineNumber, "255 0 255 is the transparent key of the window icon");
                inks[name[0]] = {colour, true};
                continue;
            }
            if (line.substr(7) == name + " transparent") {
                inks[name[0]] = {{}, false};
                continue;
            }
            return fail(lineNumber, "expected \"colour C R G B\" with values 0 to 255, or \"colour C transparent\"");
        }
        if (row == icon::size)
            return fail(lineNumber, "more than " + std::to_string(icon::size) + " art rows");
        if (int(line.size()) != icon::size)
            return fail(lineNumber, "an art row has " + std::to_string(icon::size) + " characters");
        for (int x = 0; x < icon::size; ++x) {
            const auto ink = inks.find(line[x]);
            if (ink == inks.end())
                return fail(lineNumber, std::string("no colour for '") + line[x] + "'");
            art.colours.at(x, row) = ink->second.colour;
            art.opaque[row * icon::size + x] = ink->second.opaque;
        }
        ++row;
    }
    if (row != icon::size)
        return fail(lineNumber, "the art has " + std::to_string(row) + " rows, not " + std::to_string(icon::size));
    return true;
}

Image iconWithKey(const IconArt& art)
{
    Image image = art.colours;
    for (int i = 0; i < icon::size * icon::size; ++i)
        if (!art.opaque[i])
            image.pixels[i] = icon::transparentKey;
    return image;
}

std::vector<std::uint8_t> iconRgba(const IconArt& art, int scale)
{
    const int side = icon::size * scale;
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(side) * side * 4);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int i = y / scale * icon::size + x / scale;
            const Rgb c = art.opaque[i] ? art.colours.pixels[i] : Rgb{};
            rgba.insert(rgba.end(), {c.r, c.g, c.b, std::uint8_t(art.opaque[i] ? 255 : 0)});
        }
    return rgba;
}

std::vector<std::uint8_t> iconRgbaAtSide(const IconArt& art, int side)
{
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t(side) * side * 4);
    const double step = double(icon::size) / side; // art pixels per icon pixel
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            double sum[3] = {0, 0, 0}, alpha = 0;
            const double top = y * step, left = x * step;
            for (int ay = int(top); ay < icon::size && ay < top + step; ++ay)
                for (int ax = int(left); ax < icon::size && ax < left + step; ++ax) {
                    const int i = ay * icon::size + ax;
                    if (!art.opaque[i])
                        continue;
                    const double height = std::min<double>(ay + 1, top + step) - std::max<double>(ay, top);
                    const double width = std::min<double>(ax + 1, left + step) - std::max<double>(ax, left);
                    const double weight = height * width;
                    const Rgb c = art.colours.pixels[i];
                    sum[0] += c.r * weight;
                    sum[1] += c.g * weight;
                    sum[2] += c.b * weight;
                    alpha += weight;
                }
            for (double channel : sum)
                rgba.push_back(alpha > 0 ? std::uint8_t(channel / alpha + 0.5) : 0);
            rgba.push_back(std::uint8_t(alpha / (step * step) * 255 + 0.5));
        }
    return rgba;
}

std::string iconSvg(const IconArt& art)
{
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << icon::size << "\" height=\"" << icon::size
        << "\" viewBox=\"0 0 " << icon::size << ' ' << icon::size << "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < icon::size; ++y)
        for (int x = 0; x < icon::size;) {
            const int i = y * icon::size + x;
            int run = 1;
            while (x + run < icon::size && art.opaque[i + run] == art.opaque[i] &&
                   art.colours.pixels[i + run] == art.colours.pixels[i])
                ++run;
            if (art.opaque[i]) {
                const Rgb c = art.colours.pixels[i];
                char colour[8];
                std::snprintf(colour, sizeof colour, "#%02x%02x%02x", c.r, c.g, c.b);
                svg << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << run << "\" height=\"1\" fill=\""
                    << colour << "\"/>\n";
            }
            x += run;
        }
    svg << "</svg>\n";
    return svg.str();
}
