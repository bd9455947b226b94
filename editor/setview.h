// The set at a glance: every place of the set with its level's picture in
// its own colours, in the order the game plays them after a save, with the
// number saving gives it, what the checks find and the solver's verdict,
// and the set's difficulty curve below. Levels move by dragging (several
// with Shift or Ctrl) and by keys; whole levels are inserted, duplicated,
// deleted, cut, copied and pasted, and imported from another set. While
// open it lies over the canvas, the palette and the counters, and the
// window hands it the mouse, the keys and the painting of its area.
#pragma once

#include "core/levelcheck.h"
#include "core/messages.h"
#include "core/session.h"
#include "core/setcommands.h"
#include "core/verdict.h"
#include "editor/layout.h"
#include "editor/levelclipboard.h"
#include "editor/verdicts.h"
#include "render/levelrenderer.h"
#include "render/sheet.h"
#include "widgets/CButton.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Where the set view draws, named once.
namespace setlayout {

using layout::Rect;

// Four rows of eight places over the canvas, the palette, the counters,
// the colours, the text page and the commands on the right.
constexpr int columns = 8;
constexpr int placeWidth = 80;
constexpr int placeHeight = 99;
constexpr Rect grid{0, 45, columns * placeWidth, 4 * placeHeight};
constexpr Rect place(int i)
{
    return {grid.x + placeWidth * (i % columns), grid.y + placeHeight * (i / columns), placeWidth, placeHeight};
}
// The level's picture: each 8 x 8 square of the level as one pixel.
constexpr int pictureDivisor = 8;
constexpr Rect picture(int i)
{
    return {place(i).x + 4, place(i).y + 12, levelPixelWidth(1) / pictureDivisor, levelPixelHeight(1) / pictureDivisor};
}
// The badges of the checks beside the picture, the verdict under it.
constexpr Rect badge(int i, int k) { return {place(i).x + 40, place(i).y + 12 + 12 * k, 36, 11}; }
constexpr int badgesShown = 4;
constexpr int verdictChars = placeWidth / layout::fontWidth - 1;

// Under the places, left of undo and the messages: the difficulty curve and
// two rows of the view's buttons.
constexpr Rect lower{0, grid.bottom(), 372, layout::window.h - grid.bottom()};
constexpr Rect curve{0, lower.y, lower.w, 88};
constexpr int curveTop = curve.y + 16;
constexpr int curveBaseline = curve.bottom() - 4;
constexpr int barWidth = 9;
constexpr int barX(int k) { return 8 + 11 * k; }
constexpr int buttonCount = 8;
constexpr Rect button(int i) { return {4 + 92 * (i % 4), curve.bottom() + 1 + 19 * (i / 4), 88, 18}; }

} // namespace setlayout

class SetView {
public:
    // What it takes from the window.
    struct Hooks {
        // A message for the message area and the log.
        std::function<void(const std::string& text, bool error)> say;
        // The dialogs "Otworz" uses; false when cancelled.
        std::function<bool(std::string& path)> chooseFile;
        // Enter: the level of this place on the canvas (the view has closed).
        std::function<void(int slot)> edit;
        // Levels changed places: per place before, where its level is now (-1: gone).
        std::function<void(const std::array<int, kLevelSlots>& movedTo)> moved;
        // Milliseconds from any fixed start.
        std::function<uint64_t()> clock;
        // A verdict came in: called on the worker's thread, to wake the window.
        std::function<void()> wake;
    };
    struct Options {
        std::string clipboardFile;  // cut and copied levels for other windows; empty: none
        VerdictSolver solve;        // empty: the game's solver within its budget
    };

    SetView(Session& session, const TileArt& art, const LevelRules& rules, Hooks hooks, Options options);
    SetView(const SetView&) = delete;
    SetView& operator=(const SetView&) = delete;

    // The language of its buttons, hints and news; its buttons reworded.
    void setLanguage(Language language);

    bool isOpen() const { return open_; }
    // Opens with the level of `slot` chosen.
    void open(int slot);
    // A slot chosen outside the view (its button above it): chosen in the
    // view too, unless the view shows a set being imported.
    void chooseSlot(int slot)
    {
        if (open_ && !importing_)
            chooseOnly(std::clamp(slot, 0, kLevelSlots - 1));
    }
    void close();
    // True for a part of the window the open view lies over.
    static bool covers(const layout::Rect& area);

    // Draws what changed of its area since the last paint (all of it when
    // `whole`), adding the rectangles drawn to `damage` unless whole.
    void paint(SDL_Surface* screen, bool whole, std::vector<SDL_Rect>& damage);
    // The mouse, as the window gets it (button 0 motion, above 0 a press or
    // the mask of a drag, below 0 a release). True when it was the view's:
    // it happened over the view, or continues a press that began there.
    bool mouse(int x, int y, int button);
    // Buttons of a press the view took are still held.
    bool holding() const { return held_ != 0; }
    // True when the key was the view's.
    bool key(const SDL_keysym& key);
    // What the status line says about a point over the view.
    std::string statusText(int x, int y) const;
    // A point on one of its buttons.
    static bool overButton(int x, int y);

    // "Importuj": another game image through the open dialog; its levels
    // show in place of the set's until the chosen ones are inserted.
    void startImport();
    bool importing() const { return importing_; }

    // Background work: an edit gives up the verdict being found; a while
    // after the last edit the verdicts still missing are looked for. True
    // while waiting for that while to pass; each verdict found then calls
    // the wake hook.
    bool tick();
    // Verdicts are being looked for.
    bool solving() const { return verdicts_.busy(); }
    // Slot buttons get a mark: a finding of the checks, or no way to finish.
    bool slotMarked(int slot);
    LevelVerdict verdict(int slot) const;

    int chosen() const { return chosen_; }
    const std::vector<int>& selection() const { return selection_; }
    // How long after the last edit the verdicts are looked for.
    static const uint64_t idleDelay = 400;

private:
    struct Shown;  // what a place shows, for painting and the status line
    Shown shownAt(int i) const;
    int placeCount() const;
    int placeAt(int x, int y) const;
    void refresh();
    void choose(int i, bool extend, bool toggle);
    void chooseOnly(int i);
    void chooseAll();
    void pressPlace(int i, int x, int y);
    void dragTo(int x, int y);
    void drop();
    void runButton(int i);
    void say(const std::string& text, bool error = false) const;
    void follow(const SetChange& change);
    bool refused(const SetChange& change);
    bool inserted(int place, const std::vector<LevelData>& levels, SetNews none, SetChange& change);
    // The commands, on the chosen levels.
    void moveTo(int place);
    void moveBy(int places);
    void insertEmpty();
    void duplicate();
    void remove();
    void copy(bool cut);
    void paste();
    void insertImported();
    void cancelImport();

    SDL_Surface* pictureOf(const LevelData& level);
    void drawPlace(SDL_Surface* screen, int i);
    void drawLower(SDL_Surface* screen);
    uint64_t placeLook(int i) const;
    uint64_t lowerLook() const;

    Language language_ = Language::polish;
    Session& session_;
    TileArt art_;
    const LevelRules& rules_;
    Hooks hooks_;
    LevelClipboard clipboard_;
    VerdictWorker verdicts_;

    bool open_ = false;
    int chosen_ = 0;
    int anchor_ = 0;
    std::vector<int> selection_;  // sorted

    // The mouse: buttons held since a press the view took; a left press on
    // a place that may become a drag; the drag's drop point.
    int held_ = 0;
    int pressedPlace_ = -1;
    int pressedButton_ = -1;
    int pressX_ = 0, pressY_ = 0;
    bool dragging_ = false;
    int dropAt_ = -1;        // the place the dragged levels go in front of, 0..32
    bool dropRight_ = false;  // its mark stands right of place dropAt_ - 1
    int pointerX_ = -1, pointerY_ = -1;

    // Import: the other set's levels that are on, in order, and where they go.
    bool importing_ = false;
    std::vector<LevelData> imported_;
    std::vector<std::vector<LevelFinding>> importFindings_;
    std::string importName_;
    int importPlace_ = 0;
    std::vector<int> setSelection_;  // the set's choice, back after the import
    int setChosen_ = 0;

    // The document as last seen: its checks and the numbers saving gives.
    uint64_t seenRevision_ = ~0ull;
    std::array<std::vector<LevelFinding>, kLevelSlots> findings_;
    std::array<int, kLevelSlots> played_{};
    // Background verdicts: the revision the work follows and since when.
    uint64_t workRevision_ = ~0ull;
    uint64_t changedAt_ = 0;
    bool requested_ = false;

    // Pictures by level content; the level sheet recoloured for each.
    std::map<std::string, SurfacePtr> pictures_;
    LevelSheet sheet_;
    std::vector<std::unique_ptr<CButton>> buttons_;
    std::vector<std::unique_ptr<CButton>> importButtons_;
    std::array<uint64_t, kLevelSlots> shownLooks_{};
    uint64_t shownLowerLook_ = 0;
};
