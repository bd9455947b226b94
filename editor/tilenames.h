// The names of the default tile set's codes, from data/src/tiles.txt: what
// the status line calls the tile under the pointer.
#pragma once

// "screw" for 0x10 and so on; null for a code the default set leaves unnamed.
const char* tileName(int code);
