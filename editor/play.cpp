// Playing the current level on the canvas, and the solver in the checks
// before a test.
#include "core/messages.h"
#include "core/solver.h"
#include "editor/frame.h"

#include <cstdio>

namespace {

std::string levelName(int slot)
{
    return "Mapa " + std::to_string(slot + 1);
}

} // namespace

void frame::startPlaytest(bool showSolution)
{
    if (playing() || search)
        return;
    session.endStep();
    tools.cancel();
    swapSource = -1;
    const LevelData& level = session.level(currentLevel);
    if (showSolution) {
        search.reset(new SolutionSearch(level, currentLevel, searchLimits));
        showMessage(levelName(currentLevel) + ": szukam rozwiazania (Escape przerywa)");
        return;
    }
    playtest.reset(new Playtest(level, clock()));
    if (!playtest->started()) {
        const bool failed = playtest->outcome() == Playtest::Outcome::rulesFailed;
        showError(levelName(currentLevel) + ": " +
                  (failed ? describeRulesFailure(playtest->failedAt(), Language::polish) : "brak robota, nie ma kim grac"));
        playtest.reset();
        return;
    }
    showMessage("Gra na planszy: Escape wraca do edycji");
}

// The search ended: its moves play on the canvas, or its verdict shows.
void frame::playFoundSolution()
{
    const SolveResult result = search->result();
    const int slot = search->slot();
    search.reset();
    if (result.verdict != SolveResult::solvable || result.moves.empty() || slot != currentLevel) {
        showMessage(levelName(slot) + ": " + describe(result, Language::polish));
        return;
    }
    playtest.reset(new Playtest(session.level(slot), clock(), result.moves));
    showMessage("Rozwiazanie, " + polishCount(long(result.moves.size()), "ruch", "ruchy", "ruchow") +
                ": Escape wraca do edycji");
}

void frame::stopPlaytest()
{
    if (search) {
        search.reset();
        showMessage("Szukanie rozwiazania przerwane");
    }
    playtest.reset();
    heldButtons = 0;
}

void frame::advancePlaytest()
{
    if (search && search->done())
        playFoundSolution();
    if (!playing())
        return;
    playtest->advanceTo(clock());
    switch (playtest->outcome()) {
    case Playtest::Outcome::playing:
        return;
    case Playtest::Outcome::levelDone:
        showMessage("Robot doszedl do wyjscia: mapa ukonczona");
        break;
    case Playtest::Outcome::gameOver:
        showMessage("Koniec gry: robot stracil wszystkie zycia");
        break;
    case Playtest::Outcome::replayDone:
        showMessage("Rozwiazanie pokazane do konca");
        break;
    case Playtest::Outcome::rulesFailed:
        showError(levelName(currentLevel) + ": " + describeRulesFailure(playtest->failedAt(), Language::polish));
        break;
    }
    stopPlaytest();
}

void frame::playtestKey(const SDL_keysym& key, bool down)
{
    if (search) {
        if (down && key.sym == SDLK_ESCAPE)
            stopPlaytest();
        return;
    }
    using Key = Playtest::Key;
    Key which;
    switch (key.sym) {
    case SDLK_UP: case SDLK_KP8: which = Key::up; break;
    case SDLK_RIGHT: case SDLK_KP6: which = Key::right; break;
    case SDLK_DOWN: case SDLK_KP2: which = Key::down; break;
    case SDLK_LEFT: case SDLK_KP4: which = Key::left; break;
    case SDLK_LCTRL: case SDLK_RCTRL: case SDLK_SPACE: case SDLK_KP0: which = Key::fire; break;
    case SDLK_p: which = Key::pause; break;
    case SDLK_r: which = Key::restart; break;
    case SDLK_ESCAPE:
    case SDLK_F5:
        if (down) {
            stopPlaytest();
            showMessage("Koniec gry na planszy: mapa jak przed gra");
        }
        return;
    default:
        return;
    }
    if (down)
        playtest->press(which);
    else
        playtest->release(which);
}

void frame::keyUp(const SDL_keysym& key)
{
    if (playing() || search)
        playtestKey(key, false);
}

std::string frame::playtestStatus() const
{
    const GameRules::Counters c = playtest->counters();
    char line[96];
    std::snprintf(line, sizeof line, "Srubki %d  Zycia %d  Amunicja %d\nKlucze %d %d %d%s", c.screws, c.lives,
                  c.shots, c.keys[0], c.keys[1], c.keys[2],
                  c.paused ? "  PAUZA" : c.exitOpen ? "  wyjscie otwarte" : "");
    std::string text = line;
    if (playtest->replaying())
        text += "  ruch " + std::to_string(playtest->replayed()) + "/" + std::to_string(playtest->replayLength());
    return text;
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
