#include "editor/playcontrol.h"

#include "core/messages.h"

#include <cstdio>
#include <utility>

std::string PlaytestControl::levelName(int slot) const
{
    return windowText(WindowText::levelName, language_, {std::to_string(slot + 1)});
}

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
        show_(searchNews(SearchNews::started, slot, language_), false);
        return;
    }
    play(level, slot, windowText(WindowText::playing, language_));
}

void PlaytestControl::startFrom(int slot, Cell cell)
{
    if (active())
        return;
    LevelData placed;
    if (!placeRobot(session_.level(slot), cell, placed)) {
        show_(canvasNews(CanvasNews::startNeedsFloor, language_), true);
        return;
    }
    play(placed, slot, playFromCellNews(slot, cell, language_));
}

void PlaytestControl::play(const LevelData& level, int slot, const std::string& news)
{
    playtest_.reset(new Playtest(level, clock_()));
    deathsShown_ = 0;
    if (!playtest_->started()) {
        const bool failed = playtest_->outcome() == Playtest::Outcome::rulesFailed;
        show_(levelName(slot) + ": " +
                  (failed ? describeRulesFailure(playtest_->failedAt(), language_)
                         : std::string(windowText(WindowText::noRobotToPlay, language_))),
              true);
        playtest_.reset();
        return;
    }
    show_(news, false);
}

void PlaytestControl::takeBack()
{
    if (playtest_ && !playtest_->replaying() && !playtest_->takeBack())
        show_(canvasNews(CanvasNews::nothingToTakeBack, language_), false);
}

// The search ended: its moves are listed and play on the canvas, or its
// verdict shows.
void PlaytestControl::playFoundSolution()
{
    const SolveResult result = search_->result();
    const int slot = search_->slot();
    search_.reset();
    if (result.verdict != SolveResult::solvable || result.moves.empty()) {
        show_(levelName(slot) + ": " + describe(result, language_), false);
        return;
    }
    playtest_.reset(new Playtest(session_.level(slot), clock_(), result.moves));
    deathsShown_ = 0;
    show_(solutionFound(slot, result, language_), false);
}

void PlaytestControl::stop()
{
    if (search_) {
        show_(searchNews(SearchNews::stopped, search_->slot(), language_), false);
        search_.reset();
    }
    playtest_.reset();
}

void PlaytestControl::leave()
{
    const bool wasPlaying = playing();
    stop();
    if (wasPlaying)
        show_(windowText(WindowText::playEnded, language_), false);
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
        show_(windowText(WindowText::robotDied, language_, {std::to_string(playtest_->counters().lives)}), false);
    }
    switch (playtest_->outcome()) {
    case Playtest::Outcome::playing:
        return true;
    case Playtest::Outcome::levelDone:
        end(windowText(WindowText::levelFinished, language_));
        break;
    case Playtest::Outcome::gameOver:
        end(windowText(WindowText::gameOver, language_));
        break;
    case Playtest::Outcome::replayDone:
        end(windowText(WindowText::solutionShown, language_));
        break;
    case Playtest::Outcome::rulesFailed:
        end(describeRulesFailure(playtest_->failedAt(), language_));
        break;
    }
    return false;
}

std::string PlaytestControl::status() const
{
    if (search_)
        return searchProgress(search_->slot(), search_->states(), language_);
    if (!playtest_)
        return "";
    const GameRules::Counters c = playtest_->counters();
    using std::to_string;
    // The open exit shows on the canvas, and the line has no room left for
    // saying it: the moves come first.
    std::string text =
        windowText(WindowText::playCounters, language_, {to_string(c.screws), to_string(c.lives), to_string(c.shots)}) +
        "\n" +
        windowText(WindowText::playKeys, language_, {to_string(c.keys[0]), to_string(c.keys[1]), to_string(c.keys[2])});
    if (playtest_->replaying())
        text += windowText(WindowText::replayStep, language_,
                           {to_string(playtest_->replayed()), to_string(playtest_->replayLength())});
    else
        text += movesMade(playtest_->moves(), language_);
    return c.paused ? text + windowText(WindowText::paused, language_) : text;
}
