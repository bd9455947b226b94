#include "editor/playcontrol.h"

#include "core/messages.h"

#include <cstdio>
#include <utility>

namespace {

std::string levelName(int slot)
{
    return "Mapa " + std::to_string(slot + 1);
}

} // namespace

PlaytestControl::PlaytestControl(const Session& session, Clock clock, Show show)
    : session_(session), clock_(std::move(clock)), show_(std::move(show))
{
}

void PlaytestControl::start(int slot, bool showSolution)
{
    if (active())
        return;
    const LevelData& level = session_.level(slot);
    if (showSolution) {
        search_.reset(new SolutionSearch(level, slot, searchLimits));
        show_(searchNews(SearchNews::started, slot, Language::polish), false);
        return;
    }
    play(level, slot, "Gra na planszy: Escape wraca do edycji");
}

void PlaytestControl::startFrom(int slot, Cell cell)
{
    if (active())
        return;
    LevelData placed;
    if (!placeRobot(session_.level(slot), cell, placed)) {
        show_(canvasNews(CanvasNews::startNeedsFloor, Language::polish), true);
        return;
    }
    play(placed, slot, playFromCellNews(slot, cell, Language::polish));
}

void PlaytestControl::play(const LevelData& level, int slot, const std::string& news)
{
    playtest_.reset(new Playtest(level, clock_()));
    deathsShown_ = 0;
    if (!playtest_->started()) {
        const bool failed = playtest_->outcome() == Playtest::Outcome::rulesFailed;
        show_(levelName(slot) + ": " +
                  (failed ? describeRulesFailure(playtest_->failedAt(), Language::polish) : "brak robota, nie ma kim grac"),
              true);
        playtest_.reset();
        return;
    }
    show_(news, false);
}

void PlaytestControl::takeBack()
{
    if (playtest_ && !playtest_->replaying() && !playtest_->takeBack())
        show_(canvasNews(CanvasNews::nothingToTakeBack, Language::polish), false);
}

// The search ended: its moves are listed and play on the canvas, or its
// verdict shows.
void PlaytestControl::playFoundSolution()
{
    const SolveResult result = search_->result();
    const int slot = search_->slot();
    search_.reset();
    if (result.verdict != SolveResult::solvable || result.moves.empty()) {
        show_(levelName(slot) + ": " + describe(result, Language::polish), false);
        return;
    }
    playtest_.reset(new Playtest(session_.level(slot), clock_(), result.moves));
    deathsShown_ = 0;
    show_(solutionFound(slot, result, Language::polish), false);
}

void PlaytestControl::stop()
{
    if (search_) {
        show_(searchNews(SearchNews::stopped, search_->slot(), Language::polish), false);
        search_.reset();
    }
    playtest_.reset();
}

void PlaytestControl::leave()
{
    const bool wasPlaying = playing();
    stop();
    if (wasPlaying)
        show_("Koniec gry na planszy: mapa jak przed gra", false);
}

void PlaytestControl::end(const std::string& message)
{
    playtest_.reset();
    show_(message, false);
}

void PlaytestControl::key(Playtest::Key key, bool down)
{
    if (!playtest_)
        return;
    if (down)
        playtest_->press(key);
    else
        playtest_->release(key);
}

bool PlaytestControl::tick()
{
    if (search_ && search_->done())
        playFoundSolution();
    if (!playtest_)
        return active();
    playtest_->advanceTo(clock_());
    if (playtest_->deaths() > deathsShown_) {
        deathsShown_ = playtest_->deaths();
        show_("Robot zginal - zostalo zyc: " + std::to_string(playtest_->counters().lives), false);
    }
    switch (playtest_->outcome()) {
    case Playtest::Outcome::playing:
        return true;
    case Playtest::Outcome::levelDone:
        end("Robot doszedl do wyjscia: mapa ukonczona");
        break;
    case Playtest::Outcome::gameOver:
        end("Koniec gry: robot stracil wszystkie zycia");
        break;
    case Playtest::Outcome::replayDone:
        end("Rozwiazanie pokazane do konca");
        break;
    case Playtest::Outcome::rulesFailed:
        end(describeRulesFailure(playtest_->failedAt(), Language::polish));
        break;
    }
    return false;
}

std::string PlaytestControl::status() const
{
    if (search_)
        return searchProgress(search_->slot(), search_->states(), Language::polish);
    if (!playtest_)
        return "";
    const GameRules::Counters c = playtest_->counters();
    char line[96];
    std::snprintf(line, sizeof line, "Srubki %d  Zycia %d  Amunicja %d\nKlucze %d %d %d  ", c.screws, c.lives,
                  c.shots, c.keys[0], c.keys[1], c.keys[2]);
    // The open exit shows on the canvas, and the line has no room left for
    // saying it: the moves come first.
    std::string text = line;
    if (playtest_->replaying())
        text += "ruch " + std::to_string(playtest_->replayed()) + "/" + std::to_string(playtest_->replayLength());
    else
        text += movesMade(playtest_->moves(), Language::polish);
    return c.paused ? text + "  PAUZA" : text;
}
