// The level renderer: a level drawn at scale 2 is the level at scale 1 with
// every pixel doubled, and a level's sheet is recoloured only when its
// colours change.
#include "editor_fixture.h"

#include "render/funkcje.h"
#include "render/levelrenderer.h"

using namespace fixture;

namespace {

TEST_F(EditorTest, RendererScalesByWholeStepsAndCachesColours)
{
    build();
    LevelData level = emptyLevel(0);
    level.on = true;
    level.cells[1][2] = 5;
    level.cells[3][4] = 200;  // no picture: its code in hex
    level.colours[1] = 0x94;
    const TileArt art = editor->tileArt();
    LevelSheet sheet;
    sheet.attach(art.sheet, art.palette);
    const unsigned long before = recolorCount();
    sheet.follow(level.colours);
    sheet.follow(level.colours);
    EXPECT_EQ(recolorCount() - before, 1u);

    SurfacePtr one(newSurface(levelPixelWidth(1), levelPixelHeight(1), 32));
    SurfacePtr two(newSurface(levelPixelWidth(2), levelPixelHeight(2), 32));
    drawLevel(one.get(), art, sheet.surface(), level, 0, 0, 1);
    drawLevel(two.get(), art, sheet.surface(), level, 0, 0, 2);
    int differences = 0;
    for (int y = 0; y < one->h; ++y)
        for (int x = 0; x < one->w; ++x)
            for (int d = 0; d < 4; ++d)
                differences += pixel(two.get(), 2 * x + d % 2, 2 * y + d / 2) != pixel(one.get(), x, y);
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(pixel(one.get(), 16 + 1, 32 + 1), rgb(one.get(), atariColour(0x94)));
}

} // namespace
