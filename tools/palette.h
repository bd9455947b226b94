// The Atari colour palette as RGB, computed from a small colour model of
// the PAL machine as the emulator shows it.
#pragma once

#include "tools/image.h"

// Colour of an Atari colour value: hue in the high nibble, luminance in
// the low nibble.
Rgb atariColour(int value);

// The editor's palette picture, 16 x 8: column h, row r is value 16h + 2r.
Image paletteImage();
