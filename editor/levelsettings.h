// What a release over the colour picker or one of the two counters sets on
// a level. Free of the window: it takes the level and what was clicked.
#pragma once

#include "editor/map.h"
#include "editor/targets.h"

// `target` is the picker or a counter (any other target sets nothing): the
// picker puts `picked` (-1 none) into register `colourRegister`; - and +
// step a counter, wrapping both ways; the wall's picture takes the first
// pattern, the screws' number the screws on the level (0 while no tile is
// the screw: `screwKnown` false). Whatever it sets on an empty slot makes
// the slot a level, so the save keeps it; a click that changes nothing
// leaves the slot as it was.
void setOnLevel(map& level, const Target& target, int colourRegister, int picked, bool screwKnown);
