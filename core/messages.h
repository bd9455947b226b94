// The words for what the core reports: errors, what reading an image read
// around, the level checks, and the editor's own news. Polish for the
// window, English for the command line; nothing else in the program words
// a failure.
#pragma once

#include "core/error.h"
#include "core/gameimage.h"
#include "core/gametemplate.h"
#include "core/levelcheck.h"
#include "core/solver.h"
#include "core/setcheck.h"
#include "core/verdict.h"

#include <string>

enum class Language { polish, english };

// Polish counts: polishCount(1, "poziom", "poziomy", "poziomow") is
// "1 poziom"; 3 gives "3 poziomy", 5 and 12 "... poziomow".
std::string polishCount(long n, const char* one, const char* few, const char* many);

// The system's reason for an error number; the common ones in Polish too.
std::string systemReason(int code, Language language);
// The same for a Windows error number (GetLastError).
std::string windowsReason(unsigned long code, Language language);

// The reason alone ("brak uprawnien (zastapienie pliku)"), and the whole
// error with the file's name in front ("levels.atr: brak uprawnien"). The
// window names a file by its name, the command line by the path given.
std::string reason(const Error& error, Language language);
std::string describe(const Error& error, Language language);

std::string describe(const LoadIssue& issue, Language language);
// Every issue, joined by "; ".
std::string describe(const std::vector<LoadIssue>& issues, Language language);

// One line, e.g. "Mapa 3: brak robota"; slots and cells counted from 1 as
// the user sees them.
std::string describe(const LevelFinding& finding, Language language);

// One line, e.g. "order table entry 3 is $A5, not a slot ($80-$9F): the
// game ends the set there"; entries, lines and columns counted from 1.
std::string describe(const SetFinding& finding, Language language);

// The names of the text pages, as the game calls them.
const char* pageName(int page);

// Where and why a game part's segment chain breaks: "segment at byte 7544
// ends ($3BFF) before it starts ($3C00)".
std::string describe(const ChainBreak& chainBreak, Language language);

// A level's verdict: "solvable in 14 moves: R R D ...", "unsolvable: ...",
// "unknown after 1000000 states"; Polish "rozwiazywalny w 14 ruchach" etc.
// The moves are the same tokens in both.
std::string describe(const SolveResult& result, Language language);

// --- The set view ------------------------------------------------------

// Which levels a save gives other numbers than their places, as the game
// will number them: "mapy 3-7 beda mapami 2-6, mapa 9 bedzie mapa 7 po
// otwarciu"; "" when every level keeps its number.
std::string renumberingNote(const LevelData levels[kLevelSlots], Language language);

// A level's verdict under its picture: "11 ruchow", "nie do przejscia",
// "?" (given up), "..." (not known yet), "" (no robot: its badge says so).
std::string verdictLabel(const LevelVerdict& verdict, Language language);
// A finding as a badge on a level's picture: "R0" (no robot), "R2" (two
// robots), "S<" (screws short), "?C8" (code C8 unknown).
std::string findingBadge(const LevelFinding& finding);
// A finding in a few words, without the level: "brak robota".
std::string findingWords(const LevelFinding& finding, Language language);

// The set view's fixed words: its buttons, their hints, its labels.
enum class SetViewText {
    viewButton, viewHint, insertButton, insertHint, duplicateButton, duplicateHint, deleteButton, deleteHint,
    importButton, importHint, cutButton, cutHint, copyButton, copyHint, pasteButton, pasteHint, closeButton,
    closeHint, chooseAllButton, chooseAllHint, insertChosenButton, insertChosenHint, cancelButton, cancelHint,
    curveTitle, importCurveTitle, emptyPlace,
};
const char* setViewText(SetViewText text, Language language);
// Line `line` (0..setViewHelpLines - 1) of the help page's part on the set view.
constexpr int setViewHelpLines = 5;
const char* setViewHelp(int line, Language language);

// What the set view tells of its commands. `count` levels, file `name`,
// place `place` (counted from 0, shown from 1).
enum class SetNews {
    setFull,          // `count` levels would not fit; nothing changed
    deleted,
    cut,
    copied,
    nothingToCopy,    // the places chosen are empty
    clipboardEmpty,
    pasted,
    importing,        // `name` holds `count` levels; they go in front of `place`
    importingOnto,    // the same, onto the empty `place`
    importEmpty,      // `name` holds no level
    imported,
    nothingChosen,
};
std::string setNews(SetNews news, int count, const std::string& name, int place, Language language);
// A hovered level: "Mapa 3, w grze 2: 11 ruchow"; an empty place: "Puste
// miejsce 9: tu upuscisz lub wstawisz mape".
std::string levelSummary(int place, int played, const LevelVerdict& verdict, bool empty, Language language);

// The last component of a path.
std::string fileNameOf(const std::string& path);
