#include "core/atari.h"

namespace {

struct CodePair {
    int editor;
    int screen;
};

// Single codes; digits and capital letters are shifted ranges, see below.
const CodePair kSingleCodes[] = {
    {32, 0},   // space
    {33, 1},   // !
    {44, 12},  // ,
    {45, 13},  // -
    {46, 14},  // .
    {64, 15},  // @
    {58, 26},  // :
    {63, 31},  // ?
    {1, 32},   // a with ogonek
    {3, 59},   // c with acute
    {5, 60},   // e with ogonek
    {12, 61},  // l with stroke
    {14, 62},  // n with acute
    {15, 63},  // o with acute
    {42, 64},  // graphic sign typed with '*'
    {18, 73},  // left half of a two-cell picture
    {20, 74},  // its right half
    {6, 75},   // left half of another picture
    {7, 76},   // its right half
    {17, 90},  // full-height bar
    {19, 123}, // s with acute
    {26, 124}, // z with dot above
};

// Digits and capital letters sit 32 lower in the screen codes.
constexpr int kRangeShift = 32;

bool isShiftedEditorCode(int code)
{
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z');
}

bool isShiftedScreenCode(int code)
{
    return (code >= '0' - kRangeShift && code <= '9' - kRangeShift) ||
           (code >= 'A' - kRangeShift && code <= 'Z' - kRangeShift);
}

} // namespace

int ascii2atascii(int code)
{
    if (isShiftedEditorCode(code))
        return code - kRangeShift;
    for (const CodePair& pair : kSingleCodes)
        if (pair.editor == code)
            return pair.screen;
    return code;
}

int atascii2ascii(int code)
{
    if (isShiftedScreenCode(code))
        return code + kRangeShift;
    for (const CodePair& pair : kSingleCodes)
        if (pair.screen == code)
            return pair.editor;
    return code;
}

int dec2hex(int n)
{
    // Unsigned arithmetic: any int is accepted without overflow.
    return static_cast<int>((static_cast<unsigned>(n / 10) * 16u + static_cast<unsigned>(n % 10 & 0x0F)) & 0xFFu);
}

int hex2dec(int b)
{
    return (b >> 4) * 10 + (b & 0x0F);
}

bool isPageCharacter(int code)
{
    if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return true;
    switch (code) {
    case ' ': case '!': case '*': case ',': case '-': case '.': case ':': case '?': case '@':
    case 1: case 3: case 5: case 6: case 7: case 12: case 14: case 15:
    case 17: case 18: case 19: case 20: case 26:
        return true;
    default:
        return false;
    }
}

bool isShowableScreenCode(int code)
{
    const int editorCode = atascii2ascii(code);
    return isPageCharacter(editorCode) && ascii2atascii(editorCode) == code;
}
