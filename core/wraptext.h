// Breaking text into lines for a fixed-width font: the message area, the
// status line, the pages over the window and the in-window questions all
// wrap their text the same way.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Text broken into lines of at most `width` characters at spaces (and at
// newlines); a word longer than a line is broken after a dash, a slash, a
// dot or an underscore, or where the line ends. Blank lines at the end are
// left out; a width of 0 gives no lines.
std::vector<std::string> wrapText(const std::string& text, size_t width);
