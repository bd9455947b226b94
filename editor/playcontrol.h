// Playing the current level on the canvas, and replaying a found solution:
// what starts them, the game's keys, the game's frames as time passes, and
// what the window says about them. It takes only the session's levels, a
// clock and a way to show a message, so the tests drive it without a
// window. Play changes nothing in the document.
#pragma once

#include "core/messages.h"

#include "core/session.h"
#include "editor/playtest.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class PlaytestControl {
public:
    using Clock = std::function<uint64_t()>;
    // A message for the window; `error` shows it in red.
    using Show = std::function<void(const std::string& text, bool error)>;

    PlaytestControl(const Session& session, Clock clock, Show show);

    // The language of what it says and of its status line.
    void setLanguage(Language language) { language_ = language; }

    // A level plays, or a solution is being searched for.
    bool active() const { return playtest_ || search_; }
    bool playing() const { return playtest_ != nullptr; }
    const Playtest* playtest() const { return playtest_.get(); }
    const SolutionSearch* search() const { return search_.get(); }
    // The same budget as the command line's, so the window finds the same
    // moves; Escape gives up sooner.
    SolveLimits searchLimits;

    // Plays `slot`; with `showSolution`, searches for its shortest solution
    // first and then plays that.
    void start(int slot, bool showSolution);
    // Plays `slot` with the robot beginning at `cell` (Alt+click, F6); the
    // level itself stays as it is. Refused, and said, on a cell the robot
    // cannot begin on.
    void startFrom(int slot, Cell cell);
    // Backspace: the last move taken back (playtest.h); said when there is
    // none.
    void takeBack();
    // Back to editing at the user's word (Escape): said so, and a search
    // given up too.
    void leave();
    // Back to editing without a word of its own: a click on the window.
    void stop();
    // A key of the game: the stick's directions, fire (with a direction it
    // shoots), pause, restart.
    void key(Playtest::Key key, bool down);

    // Runs what time brought: the game's frames due, a search that ended,
    // the end of play. True while play goes on.
    bool tick();
    // How often the window should wake to tick, in milliseconds: every game
    // frame while a level plays.
    uint32_t wakeInterval() const { return playing() ? 20 : search_ ? 100 : 250; }

    // The status line's two lines while a level plays, or while a solution
    // is searched for (the states seen so far).
    std::string status() const;

private:
    std::string levelName(int slot) const;
    Language language_ = Language::polish;
    void playFoundSolution();
    void play(const LevelData& level, int slot, const std::string& news);
    void end(const std::string& message);

    const Session& session_;
    Clock clock_;
    Show show_;
    std::unique_ptr<Playtest> playtest_;
    std::unique_ptr<SolutionSearch> search_;
    int deathsShown_ = 0;
};
