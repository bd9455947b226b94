// Tile palette configuration parser.
#include "core/tilesconfig.h"

#include <algorithm>
#include <iterator>

#include <cstddef>
#include <utility>

namespace {

const int codeCount = 256;
const int sheetColumns = 128;

// Magnitudes beyond this are all simply out of range; saturating keeps the
// arithmetic defined for any length of digits.
const long long numberCap = 1LL << 40;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct Number {
    bool read = false;
    long long value = -1;
    std::string text; // as written, for messages
};

// A forward-only reading position that knows its line.
class Cursor {
public:
    explicit Cursor(const std::string& text) : text_(text) {}

    int line() const { return line_; }
    bool atEnd() const { return pos_ >= text_.size(); }

    bool onlySpaceLeft() const
    {
        for (std::size_t i = pos_; i < text_.size(); ++i)
            if (!isSpace(text_[i]))
                return false;
        return true;
    }

    // White space in a format: any amount, none included.
    void skipSpace()
    {
        while (!atEnd() && isSpace(peek()))
            advance();
    }

    // Literal characters in a format: each must come next, with no white
    // space before it; the first one that does not match stays unread.
    bool literal(const char* word)
    {
        for (; *word; ++word) {
            if (atEnd() || peek() != *word)
                return false;
            advance();
        }
        return true;
    }

    // A decimal conversion: white space, an optional sign, digits. A sign
    // without digits is consumed and the conversion fails.
    Number number()
    {
        Number n;
        skipSpace();
        const std::size_t begin = pos_;
        bool negative = false;
        if (!atEnd() && (peek() == '+' || peek() == '-')) {
            negative = peek() == '-';
            advance();
        }
        if (atEnd() || !isDigit(peek()))
            return n;
        long long magnitude = 0;
        while (!atEnd() && isDigit(peek())) {
            if (magnitude < numberCap)
                magnitude = magnitude * 10 + (peek() - '0');
            advance();
        }
        n.read = true;
        n.value = negative ? -magnitude : magnitude;
        n.text = text_.substr(begin, pos_ - begin);
        return n;
    }

private:
    char peek() const { return text_[pos_]; }

    void advance()
    {
        if (text_[pos_] == '\n')
            ++line_;
        ++pos_;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

class Reader {
public:
    Reader(const std::string& text, const std::string& sourceName)
        : in_(text), source_(sourceName) {}

    // "<key>:%d\n": the code, or -1 when the line does not match or names a
    // code outside the tile codes.
    int key(const char* word)
    {
        const std::string keyword = std::string(word) + ":";
        if (!in_.literal(keyword.c_str())) {
            warn(in_.line(), "expected \"" + keyword + "\" and a tile code");
            return -1;
        }
        const Number code = in_.number();
        if (!code.read) {
            warn(in_.line(), "expected a tile code after \"" + keyword + "\"");
            return -1;
        }
        const int line = in_.line();
        in_.skipSpace();
        if (!inRange(code, 0, codeCount - 1)) {
            warn(line, "\"" + keyword + "\" code " + code.text + " is outside 0..255; ignored");
            return -1;
        }
        return static_cast<int>(code.value);
    }

    // "%d,%d:%d,%d\n" until a record breaks off or ends the list with -1.
    void records(std::vector<TileRecord>& out)
    {
        for (;;) {
            in_.skipSpace(); // the first conversion would skip it anyway
            if (in_.atEnd())
                return;
            const int line = in_.line();
            Number field[4];
            const bool complete = record(field);
            if (!complete) {
                warn(line, "unreadable record; it and the rest of the file are ignored");
                return;
            }
            if (field[0].value == -1 || field[1].value == -1 || field[2].value == -1) {
                if (!in_.onlySpaceLeft())
                    warn(line, "a -1 ends the records; the rest of the file is ignored");
                return;
            }
            const std::string problem = rangeProblem(field);
            if (!problem.empty()) {
                warn(line, "record ignored: " + problem);
                continue;
            }
            out.push_back(TileRecord{static_cast<int>(field[0].value),
                                     static_cast<int>(field[1].value),
                                     static_cast<int>(field[2].value),
                                     static_cast<int>(field[3].value), line});
        }
    }

    std::vector<std::string> takeWarnings() { return std::move(warnings_); }

private:
    // Reads one record; true when its first three numbers were read. The
    // image is optional: without it the record ends at the character that
    // did not match, and the line end is not skipped.
    bool record(Number field[4])
    {
        static const char* const separators[3] = {",", ":", ","};
        for (int i = 0; i < 4; ++i) {
            if (i > 0 && !in_.literal(separators[i - 1]))
                return i > 2;
            field[i] = in_.number();
            if (!field[i].read)
                return i > 2;
        }
        in_.skipSpace();
        return true;
    }

    static bool inRange(const Number& n, long long low, long long high)
    {
        return n.value >= low && n.value <= high;
    }

    static std::string rangeProblem(const Number field[4])
    {
        if (!inRange(field[0], 0, kPaletteColumns - 1))
            return "column " + field[0].text + " is outside 0..4";
        if (!inRange(field[1], 0, kPaletteRows - 1))
            return "row " + field[1].text + " is outside 0..25";
        if (!inRange(field[2], 0, codeCount - 1))
            return "code " + field[2].text + " is outside 0..255";
        if (field[3].read && !inRange(field[3], -1, sheetColumns - 1))
            return "image " + field[3].text + " is outside -1..127";
        return "";
    }

    void warn(int line, const std::string& message)
    {
        warnings_.push_back(source_ + ":" + std::to_string(line) + ": " + message);
    }

    Cursor in_;
    const std::string& source_;
    std::vector<std::string> warnings_;
};

} // namespace

TilesConfig parseTilesConfig(const std::string& text, const std::string& sourceName)
{
    TilesConfig config;
    // Editors that save UTF-8 may put a byte order mark first.
    static const std::string byteOrderMark = "\xEF\xBB\xBF";
    const bool marked = text.compare(0, byteOrderMark.size(), byteOrderMark) == 0;
    const std::string body = marked ? text.substr(byteOrderMark.size()) : std::string();
    Reader reader(marked ? body : text, sourceName);
    config.murek = reader.key("murek");
    config.gumka = reader.key("gumka");
    config.sruba = reader.key("sruba");
    reader.records(config.records);
    config.warnings = reader.takeWarnings();
    return config;
}

TileColumns tileColumnsOf(const TilesConfig& config)
{
    TileColumns result;
    std::fill(std::begin(result.columns), std::end(result.columns), -1);
    for (const TileRecord& record : config.records)
        result.columns[record.code] = record.image;
    if (config.murek >= 0)
        result.murekColumn = result.columns[config.murek];
    return result;
}
