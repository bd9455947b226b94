// The game's directed tiles: machines facing one of four ways, and enemies
// walking across or along. Generated from data/src/tiles.txt (see
// core/tiledirections.cmake), so a tile added there turns with the others.
#pragma once

#include <cstdint>

struct DirectedTiles {
    const char* name;  // the group's name: "laser" for laser-up and the rest
    // The codes facing up, right, down and left, the directions of the
    // game's rules; a tile lying across stands at right and left, one
    // lying along at up and down.
    uint8_t codes[4];
};

extern const DirectedTiles kDirectedTiles[];
extern const int kDirectedTileGroups;
