// Playing the current level on the canvas (playcontrol.h plays it), and
// showing a place.
#include "editor/frame.h"

void frame::startPlay(bool showSolution, Cell from)
{
    if (play.active())
        return;
    session.endStep();
    tools.cancel();
    swapSource = -1;
    if (insideGrid(from))
        play.startFrom(currentLevel, from);
    else
        play.start(currentLevel, showSolution);
    showPressedLook(pointerX, pointerY);
}

// Back to editing: said so at the user's word (`announce`, Escape), and
// without a word on a click.
void frame::stopPlay(bool announce)
{
    if (announce)
        play.leave();
    else
        play.stop();
    clicks.reset();
    showPressedLook(pointerX, pointerY);
}

void frame::showCell(int slot, Cell cell)
{
    if (slot < 0 || slot >= levelCount)
        return;
    showSetView(false);  // the place is on the canvas
    chooseLevel(slot);
    notices.flash(slot, cell);
}
