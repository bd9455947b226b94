// The open exit's picture, made from the exit's own: lit up, so that an
// open exit stands out from a closed one. The game's character set and the
// editor's canvas both draw it from here.
#pragma once

#include <vector>

// `picture` is `size` x `size` marker numbers (0 to 5, `background` for
// the background), row by row. Every background pixel the picture encloses
// (not reached from its edge over background) and every marker 3 pixel
// becomes marker 2, the brightest; when that changes nothing, every pixel
// that is not background does.
std::vector<int> litExitPicture(std::vector<int> picture, int size, int background);
