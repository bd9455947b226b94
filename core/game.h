// The game image template, embedded at build time from data/game.atr.
#pragma once

extern const unsigned char game[];
extern const unsigned gameSize;
