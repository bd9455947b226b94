// Programs the editor started (the emulator, through the desktop's opener):
// collected when they end, and shown when they failed; and the other work
// that waits for time.
#include "editor/frame.h"

#include "platform/platform.h"

bool frame::tick()
{
    for (const LaunchFailure& failure : platform->reapChildren()) {
        const std::string how = failure.signal ? "sygnal " + std::to_string(failure.signal)
                                               : "kod " + std::to_string(failure.exitCode);
        showError("Nie udalo sie uruchomic emulatora (" + failure.program + ": " + how + ")");
    }
    autosaveIfDue();
    if (play.active() && !play.tick())
        showPressedLook(pointerX, pointerY);  // "Graj" comes up as the game ends
    const bool verdictsComing = setView->tick();
    return platform->childrenRunning() || notices.flashing() || autosaveDue() || play.active() || verdictsComing ||
           tooltip.waiting();
}
