// What the window tells the user: messages (kept until the next one or
// until put away, whole, errors in red, every one in the run's log), the
// findings of the checks as places to go to, and the pages over the window
// (help, the log, a message in full). It takes only a clock (for the
// flashing cell) and a way to ask for a whole repaint (when a page goes);
// it knows the window's layout but nothing of the editor, so the tests
// drive it without a window.
#pragma once

#include "core/levelcheck.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SDL_Surface;

// A message in at most `lines` lines of `width`: wrapped whole when it
// fits; else with the directories of its paths left out (".../name"); else
// its first lines, the last ending in "...". `whole` tells whether nothing
// was left out.
std::vector<std::string> fitMessage(const std::string& message, size_t width, size_t lines, bool& whole);

class Notices {
public:
    // A message as the message area and the log keep it. A finding of the
    // checks names its level and cell (slot -1: none): a click shows them.
    struct Notice {
        std::string text;
        bool error = false;
        int slot = -1;
        Cell cell{-1, -1};
    };
    // A line of the message area or of a page, and the notice it belongs to
    // (-1: none).
    struct TextLine {
        std::string text;
        int notice = -1;
        bool error = false;
    };
    // A level and a cell to show; slot -1: none.
    struct Place {
        int slot = -1;
        Cell cell{-1, -1};
    };
    // Pages over the window: the keys and mouse actions (F1, "?"), the log
    // (F2, "Dziennik"), a message in full (a click on one cut short).
    enum class Overlay { none, help, log, message };
    // What a key does while a page shows; any other key closes it.
    enum class PageKey { up, down, pageUp, pageDown, help, log, other };
    static const uint64_t flashDuration = 1600;

    Notices(std::function<uint64_t()> clock, std::function<void()> repaintAll);

    // --- Messages -----------------------------------------------------------
    // The message area shows it until the next message or until the user
    // puts it away; errors in red. Every message also goes to the log, and
    // errors to the standard error stream.
    void showError(const std::string& message);
    void showMessage(const std::string& message);
    // Into the log alone (and the error stream), for what needs no answer.
    void note(const std::string& message);
    // The checks' findings, one notice each, so that a click on one shows it.
    void showFindings(const std::vector<LevelFinding>& findings);
    void dismiss();
    // What the message area shows: one message, or the findings one by one.
    const std::vector<Notice>& shown() const { return shown_; }
    // Every notice of this run, oldest first.
    const std::vector<Notice>& log() const { return log_; }
    // The last message, "" once put away.
    const std::string& latest() const { return latest_; }
    const bool& latestIsError() const { return latestIsError_; }

    // The message area's lines; `whole` is false when something was left
    // out, and a click then shows the message in full.
    std::vector<TextLine> messageLines(bool& whole) const;
    // A press at height `y` of the message area: the place of the finding
    // there, else the page with the message in full when it is cut short.
    Place messageAreaPress(int y);
    // What the status line says over the message area at height `y`.
    std::string messageAreaHint(int y) const;

    // --- Pages over the window ----------------------------------------------
    Overlay overlay() const { return overlay_; }
    void showOverlay(Overlay which);
    std::vector<TextLine> overlayLines() const;
    // A press while a page shows: the wheel (buttons 4 and 5) scrolls; any
    // other press closes the page, and on a finding gives its place.
    Place overlayPress(int y, int button);
    void overlayKey(PageKey key);

    // --- The flashing cell ----------------------------------------------------
    // `cell` of level `slot` flashes for a while.
    void flash(int slot, Cell cell);
    bool flashing() const;
    // The flash's mark shows on `cell` of `slot` at this moment: it blinks.
    bool flashMarkOn(int slot, Cell cell) const;
    Cell flashedCell() const { return flashedCell_; }

    // --- Drawing ----------------------------------------------------------------
    // Labels are black on a light background, white on a dark one.
    void drawMessageArea(SDL_Surface* screen, bool blackLabels) const;
    void drawOverlay(SDL_Surface* screen) const;
    // The two lines of the status line.
    static void drawStatusLine(SDL_Surface* screen, const std::string& text, bool blackLabels);
    // Everything a drawn page shows, as a number that changes when it does.
    uint64_t overlayLook() const;

private:
    void notify(const Notice& notice);
    void scrollTo(size_t top);

    std::function<uint64_t()> clock_;
    std::function<void()> repaintAll_;
    std::vector<Notice> shown_;
    std::vector<Notice> log_;
    std::string latest_;
    bool latestIsError_ = false;
    Overlay overlay_ = Overlay::none;
    size_t overlayTop_ = 0;  // the first line of the page shown
    int flashSlot_ = -1;
    Cell flashedCell_{-1, -1};
    uint64_t flashStart_ = 0;
};
