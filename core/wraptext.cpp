#include "core/wraptext.h"

#include "core/pathname.h"

std::vector<std::string> wrapText(const std::string& text, size_t width)
{
    std::vector<std::string> lines;
    if (width == 0)
        return lines;
    for (std::string rest : splitAt(text, '\n')) {
        if (rest.empty())
            lines.push_back("");
        while (!rest.empty()) {
            if (rest.size() <= width) {
                lines.push_back(rest);
                break;
            }
            size_t cut = rest.rfind(' ', width);
            size_t next = cut + 1;
            if (cut == std::string::npos || cut == 0) {
                // A word longer than a line: after its last dash, slash or
                // dot that fits, else where the line ends.
                const size_t mark = rest.find_last_of("-/._", width - 1);
                cut = next = mark != std::string::npos && mark > 0 ? mark + 1 : width;
            }
            lines.push_back(rest.substr(0, cut));
            rest = rest.substr(next);
        }
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}
