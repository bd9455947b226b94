#include "core/openexit.h"

#include <cstddef>

std::vector<int> litExitPicture(std::vector<int> picture, int size, int background)
{
    const int n = size;
    // Background pixels reached from the picture's edge are outside it.
    std::vector<bool> outside(picture.size(), false);
    std::vector<int> todo;
    for (int i = 0; i < n; ++i)
        for (int at : {i, (n - 1) * n + i, i * n, i * n + n - 1})
            if (picture[std::size_t(at)] == background && !outside[std::size_t(at)]) {
                outside[std::size_t(at)] = true;
                todo.push_back(at);
            }
    while (!todo.empty()) {
        const int at = todo.back();
        todo.pop_back();
        const int x = at % n, y = at / n;
        for (int next : {x > 0 ? at - 1 : -1, x < n - 1 ? at + 1 : -1, y > 0 ? at - n : -1, y < n - 1 ? at + n : -1})
            if (next >= 0 && picture[std::size_t(next)] == background && !outside[std::size_t(next)]) {
                outside[std::size_t(next)] = true;
                todo.push_back(next);
            }
    }
    const int bright = 2;
    std::vector<int> lit = picture;
    for (std::size_t i = 0; i < lit.size(); ++i)
        if ((lit[i] == background && !outside[i]) || lit[i] == 3)
            lit[i] = bright;
    if (lit == picture)
        for (int& marker : lit)
            if (marker != background)
                marker = bright;
    return lit;
}
