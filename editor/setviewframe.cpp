// The set view's place in the window: what it takes from the editor, and
// opening and closing it.
#include "editor/frame.h"

#include "editor/eventloop.h"

void frame::createSetView(const FrameOptions& options)
{
    SetView::Hooks hooks;
    hooks.say = [this](const std::string& text, bool error) { error ? showError(text) : showMessage(text); };
    hooks.chooseFile = [this](std::string& path) { return files->askForPath(false, path); };
    hooks.edit = [this](int slot) {
        chooseLevel(slot);
        showPressedLook(-1, -1);
    };
    // The canvas goes on with the level it showed, wherever it went.
    hooks.moved = [this](const std::array<int, kLevelSlots>& movedTo) {
        swapSource = -1;
        if (movedTo[size_t(currentLevel)] >= 0)
            chooseLevel(movedTo[size_t(currentLevel)]);
        showPressedLook(-1, -1);
    };
    hooks.clock = clock;
    hooks.wake = wakeEventLoop;
    SetView::Options viewOptions;
    if (!options.stateDir.empty())
        viewOptions.clipboardFile = options.stateDir + "/levels.clipboard";
    viewOptions.solve = options.verdictSolver;
    setView = std::make_unique<SetView>(session, tileArt(), levelRules, hooks, viewOptions);
    // What the set view proved, the checks before a test need not prove again.
    testChecks.knownVerdict = [this](int slot) { return setView->verdict(slot); };
}

void frame::showSetView(bool open)
{
    session.endStep();
    if (open && !setView->isOpen()) {
        setTextFocus(false);
        tools.cancel();
        swapSource = -1;
        setView->open(currentLevel);
    } else if (!open) {
        setView->close();
    }
}
