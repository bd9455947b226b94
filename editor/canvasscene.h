// What the canvas shows (canvasview.h), built from what the window holds:
// the level's cells, or what a shape being drawn or a part being placed
// would put there; while a level plays, the game alone.
#pragma once

#include "editor/canvastools.h"
#include "editor/canvasview.h"
#include "editor/map.h"
#include "editor/playtest.h"

// Level `slot` as it stands, with the picture data it is drawn with.
CanvasView::Scene levelScene(const map& level, int slot, const TileArt& art);
// The game's cells in place of the level's.
void showPlaytest(CanvasView::Scene& scene, const Playtest& playtest);
// What the tools put over the level: the shape being drawn, the part being
// placed at the `pointer`'s cell ({-1, -1}: off the canvas) and the
// selection.
void showTools(CanvasView::Scene& scene, const CanvasTools& tools, Cell pointer);
