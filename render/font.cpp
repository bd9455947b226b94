#include "render/font.h"

#include "core/glyphs.h"

#include <SDL_gfxPrimitives.h>

void installEditorFont()
{
    // Setting a font empties the library's glyph cache: do it only once.
    static bool installed = false;
    if (installed)
        return;
    gfxPrimitivesSetFont(editorFontData(), 8, 8);
    installed = true;
}
