#include "editor/canvasscene.h"

#include "editor/look.h"

#include <algorithm>

namespace {

size_t at(Cell cell)
{
    return size_t(cell.column * kLevelRows + cell.row);
}

} // namespace

CanvasView::Scene levelScene(const map& level, int slot, const TileArt& art)
{
    CanvasView::Scene scene;
    scene.art = art;
    scene.levelSheet = level.sheet();
    scene.level = &level.data();
    Look look;
    // An empty level shows the sheet's own colours until it comes on.
    look << uint64_t(slot) << level.sheet() << uint64_t(level.isOn()) << uint64_t(level.wzorekGet());
    for (int r = 0; r < kColourRegisters; ++r)
        look << uint64_t(level.colorGet(r));
    scene.levelLook = look.value();
    std::copy(level.gridBytes(), level.gridBytes() + kLevelCells, scene.codes.begin());
    return scene;
}

void showPlaytest(CanvasView::Scene& scene, const Playtest& playtest)
{
    for (int column = 0; column < kLevelColumns; ++column)
        for (int row = 0; row < kLevelRows; ++row) {
            scene.codes[at({column, row})] = playtest.cell({column, row});
            scene.openExits[at({column, row})] = playtest.openExitAt({column, row});
        }
}

void showTools(CanvasView::Scene& scene, const CanvasTools& tools, Cell pointer)
{
    for (const Cell& cell : tools.preview())
        if (insideGrid(cell))
            scene.codes[at(cell)] = tools.strokeCode();
    scene.pointer = pointer;
    if (pointer.column >= 0 && tools.placing()) {
        const GridPatch& patch = tools.patch();
        for (int row = 0; row < patch.rows; ++row)
            for (int column = 0; column < patch.columns; ++column)
                if (insideGrid({pointer.column + column, pointer.row + row}))
                    scene.codes[at({pointer.column + column, pointer.row + row})] = patch.at(column, row);
        scene.placing = true;
        scene.placingEnd = {std::min(pointer.column + patch.columns, kLevelColumns) - 1,
                            std::min(pointer.row + patch.rows, kLevelRows) - 1};
    }
    scene.selection = tools.hasSelection();
    if (scene.selection) {
        scene.selectionStart = tools.selectionStart();
        scene.selectionEnd = tools.selectionEnd();
    }
}
