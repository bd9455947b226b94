// The editor's 8 x 8 font: the drawing library's own font with the Polish
// small letters and the game's graphic signs drawn at the codes the text
// pages use for them.
#pragma once

#include "core/glyphs.h"

// Makes every later text drawing use the editor font. Installs it once.
void installEditorFont();
