// Playing the current level on the canvas (playcontrol.h plays it),
// showing a place, and the solver in the checks before a test.
#include "core/solver.h"
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
    heldButtons = 0;
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

// Each tested level without other findings gets its share of the time; a
// level the search exhausts without reaching the exit cannot be finished.
// A level it could not settle in time gets no finding.
void frame::solveBeforeTest(const std::vector<int>& slots, std::vector<LevelFinding>& findings)
{
    std::vector<int> clean;
    for (int slot : slots) {
        bool found = false;
        for (const LevelFinding& finding : findings)
            found = found || finding.slot == slot;
        if (!found)
            clean.push_back(slot);
    }
    if (clean.empty() || solveSecondsBeforeTest <= 0)
        return;
    SolveLimits limits;
    limits.maxSeconds = solveSecondsBeforeTest / double(clean.size());
    for (int slot : clean) {
        const SolveResult result = solveLevel(session.level(slot), limits);
        if (result.verdict == SolveResult::unsolvable) {
            LevelFinding finding{FindingKind::unsolvable, slot};
            finding.count = int(std::min<uint64_t>(result.states, INT32_MAX));
            findings.push_back(finding);
        } else if (result.verdict == SolveResult::rulesFailed) {
            LevelFinding finding{FindingKind::rulesFailed, slot};
            finding.code = result.failedAt;
            findings.push_back(finding);
        }
    }
}
