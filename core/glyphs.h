// The editor's 8 x 8 glyphs with no drawing attached, so that the tools that
// build the game's font read the very glyphs the editor draws with.
#pragma once

// The 256 glyphs, eight row bytes each, top row first, bit 7 leftmost: the
// drawing library's own font with the Polish small letters and the game's
// graphic signs at the codes the text pages use for them.
const unsigned char* editorFontData();
