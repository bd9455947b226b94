// Parsing and checking the tile art, and writing the sheet, tiles.cfg and
// the tile table from it.
//
// Source format: '#' lines and blank lines between tiles are comments. A
// tile is a header line
//     tile CODE NAME [ROLE]: MEANING
// (CODE decimal or 0x-hex, ROLE one of murek, gumka, sruba, player and
// optional) followed by 8 art lines. A tile with several pictures (the
// wall) gives them side by side, separated by one space.
#include "tools/tileset.h"

#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>

namespace {

using namespace tiles;

struct Roles
{
    const char* word;
    TileRole role;
};
constexpr Roles roleWords[] = {
    {"murek", TileRole::wall}, {"gumka", TileRole::eraser}, {"sruba", TileRole::screw}, {"player", TileRole::player}};

const char* roleWord(TileRole role)
{
    for (const Roles& r : roleWords)
        if (r.role == role)
            return r.word;
    return "";
}

// '.' is the background; digits name their marker; -1 for anything else.
int markerOf(char c)
{
    if (c == '.')
        return backgroundMarker;
    if (c >= '0' && c < '0' + markerCount && c - '0' != backgroundMarker)
        return c - '0';
    return -1;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool validName(const std::string& name)
{
    if (name.empty())
        return false;
    for (char c : name)
        if (!(std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) || c == '-'))
            return false;
    return true;
}

class Parser
{
public:
    Parser(const std::string& fileName, std::string& error) : fileName(fileName), error(error) {}

    bool fail(int line, const std::string& what)
    {
        error = fileName + ":" + std::to_string(line) + ": " + what;
        return false;
    }

    // "tile CODE NAME [ROLE]: MEANING"
    bool header(const std::string& text, int line, Tile& tile)
    {
        const auto colon = text.find(':');
        if (text.compare(0, 5, "tile ") != 0 || colon == std::string::npos)
            return fail(line, "expected a tile header \"tile CODE NAME [ROLE]: MEANING\"");
        std::istringstream words(text.substr(5, colon - 5));
        std::string code, role;
        words >> code >> tile.name >> role;
        char* end = nullptr;
        const long value = std::strtol(code.c_str(), &end, 0);
        if (code.empty() || *end != '\0' || value < 0 || value > 255)
            return fail(line, "tile code \"" + code + "\" is not a number from 0 to 255");
        tile.code = int(value);
        if (!validName(tile.name))
            return fail(line, "tile name \"" + tile.name + "\" must be lower-case letters, digits and '-'");
        if (!role.empty()) {
            if (role.size() < 3 || role.front() != '[' || role.back() != ']')
                return fail(line, "role \"" + role + "\" must be written in brackets");
            const std::string word = role.substr(1, role.size() - 2);
            for (const Roles& r : roleWords)
                if (word == r.word)
                    tile.role = r.role;
            if (tile.role == TileRole::none)
                return fail(line, "unknown role \"" + word + "\"");
        }
        std::string extra;
        if (words >> extra)
            return fail(line, "unexpected \"" + extra + "\" before the colon");
        tile.meaning = trim(text.substr(colon + 1));
        if (tile.meaning.empty())
            return fail(line, "tile " + tile.name + " has no meaning after the colon");
        tile.line = line;
        return true;
    }

    // One art line adds a row to each of the tile's pictures.
    bool artRow(const std::string& text, int line, int row, Tile& tile)
    {
        const std::size_t width = pictureSize + 1;
        if ((text.size() + 1) % width != 0)
            return fail(line, "art rows are groups of 8 characters separated by one space");
        const std::size_t groups = (text.size() + 1) / width;
        if (row == 0)
            tile.pictures.assign(groups, "");
        else if (groups != tile.pictures.size())
            return fail(line, "every art row of a tile must have the same number of pictures");
        for (std::size_t g = 0; g < groups; ++g) {
            if (g > 0 && text[g * width - 1] != ' ')
                return fail(line, "art rows are groups of 8 characters separated by one space");
            for (int x = 0; x < pictureSize; ++x) {
                const char c = text[g * width + x];
                if (markerOf(c) < 0)
                    return fail(line, std::string("'") + c + "' is not '.' or a marker digit 0, 1, 2, 3 or 5");
                tile.pictures[g] += c;
            }
        }
        return true;
    }

    // Background plus markers 0, 1 and 2, or 3 in place of 2: the colours
    // of a character cell on the machine. Marker 5 is the robot's own.
    bool colours(const Tile& tile)
    {
        for (std::size_t p = 0; p < tile.pictures.size(); ++p) {
            std::set<char> used(tile.pictures[p].begin(), tile.pictures[p].end());
            const std::string where = "tile " + tile.name + ", picture " + std::to_string(p);
            if (used.count('2') && used.count('3'))
                return fail(tile.line, where + " uses markers 2 and 3 together");
            if (used.count('5') && tile.role != TileRole::player)
                return fail(tile.line, where + " uses marker 5, which only the player may use");
            used.insert('.');
            if (used.size() > 4)
                return fail(tile.line, where + " uses more than four colours");
        }
        return true;
    }

    bool whole(const TileSet& set, int lastLine)
    {
        if (set.tiles.empty())
            return fail(lastLine, "no tiles");
        std::set<int> codes;
        std::set<std::string> names;
        int roleCount[5] = {};
        for (const Tile& tile : set.tiles) {
            if (!codes.insert(tile.code).second)
                return fail(tile.line, "code " + std::to_string(tile.code) + " is used twice");
            if (!names.insert(tile.name).second)
                return fail(tile.line, "name " + tile.name + " is used twice");
            if (tile.role != TileRole::none && ++roleCount[int(tile.role)] > 1)
                return fail(tile.line, std::string("a second tile with role ") + roleWord(tile.role));
            const std::size_t wanted = tile.role == TileRole::wall ? wallPatterns : 1;
            if (tile.pictures.size() != wanted)
                return fail(tile.line, "tile " + tile.name + " needs " + std::to_string(wanted) + " picture(s)");
            if (!colours(tile))
                return false;
        }
        for (TileRole role : {TileRole::wall, TileRole::eraser, TileRole::screw})
            if (roleCount[int(role)] == 0)
                return fail(lastLine, std::string("no tile has the role ") + roleWord(role));
        if (set.tiles.back().role != TileRole::wall)
            return fail(set.withRole(TileRole::wall).line, "the wall must be the last tile");
        if (set.sheetColumns() > maxSheetColumns)
            return fail(lastLine, "more than " + std::to_string(maxSheetColumns) + " sheet columns");
        if (int(set.tiles.size()) > maxPaletteEntries)
            return fail(lastLine, "more tiles than palette entries");
        return true;
    }

private:
    const std::string& fileName;
    std::string& error;
};

std::string hex2(int code)
{
    const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[code >> 4 & 15] + digits[code & 15];
}

std::string cell(int entry)
{
    return std::to_string(entry % paletteWidth) + "," + std::to_string(entry / paletteWidth);
}

} // namespace

int TileSet::sheetColumns() const
{
    int columns = 0;
    for (const Tile& tile : tiles)
        columns += int(tile.pictures.size());
    return columns;
}

const Tile& TileSet::withRole(TileRole role) const
{
    for (const Tile& tile : tiles)
        if (tile.role == role)
            return tile;
    static const Tile none;
    return none;
}

bool parseTileSet(const std::string& text, const std::string& fileName, TileSet& set, std::string& error)
{
    Parser parser(fileName, error);
    const std::vector<std::string> lines = splitLines(text);
    set.tiles.clear();
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::string& line = lines[i];
        if (trim(line).empty() || line[0] == '#') {
            ++i;
            continue;
        }
        Tile tile;
        if (!parser.header(line, int(i) + 1, tile))
            return false;
        ++i;
        for (int row = 0; row < pictureSize; ++row, ++i) {
            if (i == lines.size())
                return parser.fail(int(i), "tile " + tile.name + " ends before its 8 art rows");
            if (!parser.artRow(lines[i], int(i) + 1, row, tile))
                return false;
        }
        set.tiles.push_back(tile);
    }
    return parser.whole(set, int(lines.size()));
}

Image renderSheet(const TileSet& set)
{
    Image sheet(set.sheetColumns() * tileSize, tileSize);
    int column = 0;
    for (const Tile& tile : set.tiles)
        for (const std::string& picture : tile.pictures) {
            for (int y = 0; y < tileSize; ++y)
                for (int x = 0; x < tileSize; ++x)
                    sheet.at(column * tileSize + x, y) = markers[markerOf(picture[y / scale * pictureSize + x / scale])];
            ++column;
        }
    return sheet;
}

// Palette entry e sits at column e mod 5, row e div 5 and shows sheet column
// e: the entry of every tile is its sheet column, which the editor relies on
// for the eraser and the screw.
std::string tilesConfig(const TileSet& set)
{
    std::string out;
    out += "murek:" + std::to_string(set.withRole(TileRole::wall).code) + "\n";
    out += "gumka:" + std::to_string(set.withRole(TileRole::eraser).code) + "\n";
    out += "sruba:" + std::to_string(set.withRole(TileRole::screw).code) + "\n";
    for (std::size_t entry = 0; entry < set.tiles.size(); ++entry)
        out += cell(int(entry)) + ":" + std::to_string(set.tiles[entry].code) + "," + std::to_string(entry) + "\n";
    return out;
}

std::string tilesTable(const TileSet& set)
{
    const Tile& wall = set.withRole(TileRole::wall);
    const int wallColumn = int(set.tiles.size()) - 1;
    std::ostringstream out;
    out << "# Default tiles\n\n"
        << "Generated by `zelbun-gendata` from `data/src/tiles.txt`; edit that file, not this one.\n\n"
        << "Palette entry *e* stands at column *e* mod 5, row *e* div 5 of the editor's palette and\n"
        << "shows sheet column *e* of `tiles.bmp`, the 16 x 16 picture at x = 16 *e*. The wall's\n"
        << "eight patterns fill sheet columns " << wallColumn << " to " << wallColumn + wallPatterns - 1
        << "; only the first is a palette entry.\n\n"
        << "Keys in `tiles.cfg`: murek (wall) = " << wall.code << ", gumka (eraser) = "
        << set.withRole(TileRole::eraser).code << ", sruba (screw) = " << set.withRole(TileRole::screw).code << ".\n\n"
        << "| Code | Hex | Name | Column | Cell | Meaning in the game |\n"
        << "|---:|---|---|---:|---|---|\n";
    for (std::size_t entry = 0; entry < set.tiles.size(); ++entry) {
        const Tile& tile = set.tiles[entry];
        out << "| " << tile.code << " | " << hex2(tile.code) << " | " << tile.name;
        if (tile.role != TileRole::none && tile.role != TileRole::player)
            out << " (" << roleWord(tile.role) << ")";
        out << " | ";
        if (tile.role == TileRole::wall)
            out << entry << "-" << entry + wallPatterns - 1;
        else
            out << entry;
        out << " | " << cell(int(entry)) << " | " << tile.meaning << " |\n";
    }
    out << "\n## Colours\n\n"
        << "Each tile is an 8 x 8 picture drawn at double size, every picture pixel a 2 x 2 block.\n"
        << "Parts that take a level's colours are painted in six fixed marker colours; the editor\n"
        << "replaces marker *k* by the level's colour register *k* (an Atari colour value looked up\n"
        << "in `paleta.bmp`). Register 4 is the background: every black pixel takes it, and so does\n"
        << "the editor's window behind the current level.\n\n"
        << "| Marker | RGB | Art | Default register value | Used for |\n"
        << "|---:|---|---|---:|---|\n";
    const int defaults[markerCount] = {0, 8, 14, 2, 0, 4};
    const char* uses[markerCount] = {
        "shading and detail (black in the default colours)", "main body", "highlights",
        "dark parts, in place of marker 2", "background", "the robot only"};
    for (int k = 0; k < markerCount; ++k)
        out << "| " << k << " | " << int(markers[k].r) << ", " << int(markers[k].g) << ", " << int(markers[k].b)
            << " | `" << (k == backgroundMarker ? '.' : char('0' + k)) << "` | " << defaults[k] << " | " << uses[k]
            << " |\n";
    out << "\nA picture uses at most four colours: the background and markers 0, 1 and 2, or marker 3\n"
        << "in place of marker 2, as a character cell does on the machine. Marker 5 is the colour\n"
        << "of the robot, which the game draws apart from the playfield.\n";
    return out.str();
}
