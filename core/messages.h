// The words for what the core reports: errors, what reading an image read
// around, the level checks, and the editor's own news and words (the
// window's fixed words are in windowtexts.h). Polish for the window unless
// English is asked for, English for the command line; nothing else in the
// program words a failure.
#pragma once

#include "core/error.h"
#include "core/gameimage.h"
#include "core/gametemplate.h"
#include "core/levelcheck.h"
#include "core/pathname.h"
#include "core/solver.h"
#include "core/setcheck.h"
#include "core/tilesetup.h"
#include "core/verdict.h"
#include "core/windowtexts.h"

#include <string>

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

// What the checks of a tile setup found, one line each naming its file: a
// tiles.cfg that could not be read, each line its reader skipped
// ("tiles.cfg:7: unreadable record; ..."), each key the palette cannot draw
// ("tiles.cfg: sruba code 200: no palette entry draws it"). The reader words
// its lines in English only: these are the command line's and the
// terminal's. A tiles.cfg that is nowhere is no finding here.
std::vector<std::string> describeFindings(const TileSetup& setup);
// All of it in one line for the window, "" when there is nothing to say:
// "tiles.cfg: 1 wiersz pominiety, sruba 200 nie ma pola w palecie", or that
// no tiles.cfg was found and the palette is empty.
std::string summarize(const TileSetup& setup, Language language);

// The names of the text pages, as the game calls them.
const char* pageName(int page);

// Where and why a game part's segment chain breaks: "segment at byte 7544
// ends ($3BFF) before it starts ($3C00)".
std::string describe(const ChainBreak& chainBreak, Language language);

// A move as it is written: in English the command line's tokens (moveName:
// "U", "R", "D", "L", "fire-U"..., "wait"); in Polish "G", "P", "D", "L"
// (gora, prawo, dol, lewo), "strzal-G"..., "czekaj".
const char* moveWord(GameRules::Move move, Language language);
// The moves, a word each, separated by spaces.
std::string movesList(const std::vector<GameRules::Move>& moves, Language language);

// A level's verdict with the states and the time it took: "solvable in 14
// moves (1,234 states, 0.2 s): R R D ...", "... (not proven shortest; ...)",
// "unsolvable: ...", "unknown: gave up after 2,000,000 states (21.3 s)",
// "... after 60 s (...)", "unknown: stopped (...)"; Polish "rozwiazywalny w
// 14 ruchach (1 234 stany, 0,2 s): P P D ..." etc.
std::string describe(const SolveResult& result, Language language);

// The search for a level's solution in the window (Shift+F5), level `slot`
// counted from 0. As it begins: "Mapa 3: szukam rozwiazania (Escape
// przerywa)"; given up: "Szukanie rozwiazania przerwane".
enum class SearchNews { started, stopped };
std::string searchNews(SearchNews news, int slot, Language language);
// While it searches, the status line's two lines: "Szukam rozwiazania mapy
// 3\n120 000 stanow (Escape przerywa)".
std::string searchProgress(int slot, uint64_t states, Language language);
// A solution found, as its replay begins, every move listed: "Mapa 3:
// rozwiazanie w 14 ruchach; Escape wraca do edycji: P P czekaj D ...", with
// "(bez dowodu, ze najkrotsze)" after the count when a shorter one may exist.
std::string solutionFound(int slot, const SolveResult& result, Language language);

// The game's rules did not come back from a routine on a level: the
// processor stopped at `at`.
std::string describeRulesFailure(uint16_t at, Language language);

// --- The set view ------------------------------------------------------

// Which levels a save gives other numbers than their places, as the game
// will number them: "mapy 3-7 beda mapami 2-6, mapa 9 bedzie mapa 7 po
// otwarciu"; "" when every level keeps its number.
std::string renumberingNote(const LevelData levels[kLevelSlots], Language language);

// A level's verdict under its picture: "11 ruchow", "nie do przejscia",
// "?" (given up), "..." (not known yet), "" (no robot: its badge says so).
std::string verdictLabel(const LevelVerdict& verdict, Language language);
// A finding as a badge on a level's picture: "R0" (no robot), "R2" (two
// robots), "S<" (screws short), "?C8" (code C8 unknown), "!" (the rules
// went astray).
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

// --- Flipping and turning on the canvas, playing from a cell -------------

enum class CanvasNews {
    nothingToTurn,      // X, Y or Z with nothing selected
    turnDoesNotFit,     // the turned selection would reach past the level's edge
    startNeedsFloor,    // play from a cell the robot cannot begin on
    nothingToTakeBack,  // Backspace in play before any move
};
std::string canvasNews(CanvasNews news, Language language);
// Play from a chosen cell begins: "Mapa 3 od kolumny 5, wiersza 7:
// Backspace cofa ruch, Escape wraca do edycji"; counted from 1.
std::string playFromCellNews(int slot, Cell cell, Language language);
// The moves made in play, on the status line: "Ruchy 12".
std::string movesMade(size_t moves, Language language);
// The help page's lines on them.
enum class HelpLine { turning, playFromCell };
const char* helpLine(HelpLine line, Language language);

// What the window's file and test commands say and ask. Each names the file
// of `path` by its name (pathTooLong: by the whole path).
enum class Saying {
    saved,             // "Zapisano: levels.atr"
    notSavedChanged,   // "Nie zapisano levels.atr: plik zmienil sie na dysku"
    notSavedReadOnly,  // "Nie zapisano levels.atr: plik tylko do odczytu"
    pathTooLong,       // "Za dluga sciezka: /very/long/..."
    replaceChanged,    // the question "Plik levels.atr zmienil sie na dysku. Zastapic go?"
    replaceReadOnly,   // "Plik levels.atr jest tylko do odczytu. Zastapic go?"
    replaceExisting,   // "Plik levels.atr juz istnieje. Zastapic go?"
    notAtrName,        // "Nazwa levels.txt nie konczy sie na .atr; okno Otworz nie pokaze tego pliku."
    saveChanges,       // "Zapisac zmiany?" (names no file)
    testAnyway,        // "Testowac mimo to?" (names no file), after the findings
    notSavedLeftOut,   // "Nie zapisano levels.atr: zawiera mapy spoza tabeli kolejnosci"
    openElsewhere,     // "Ten zestaw jest juz otwarty w innym oknie" (names no file)
};
std::string say(Saying saying, const std::string& path, Language language);
// "Nie mozna zapisac levels.atr: brak uprawnien".
std::string saveFailed(const Error& error, Language language);
// "Nie mozna otworzyc nope.atr: ..." for a file that could not be read;
// "Nie otwarto notes.txt: to nie jest obraz dyskietki ATR" for one read
// that is no game image.
std::string openFailed(const Error& error, Language language);
// "Otwarto: levels.atr (3 poziomy)"; the copy an interrupted save kept:
// "Otwarto kopie: levels.atr (3 poziomy); zapisz, by naprawic plik".
std::string openedSet(const std::string& path, int levels, bool copy, Language language);
// The question before opening `path`, whose save was cut short, leaving
// the copy `copy` beside it, made from the file then named `madeFrom`.
std::string interruptedSaveQuestion(const std::string& path, const std::string& copy, const std::string& madeFrom,
                                    Language language);
// The question before a save drops `count` levels the order table does
// not list: "Plik zawiera 4 mapy spoza tabeli kolejnosci; zapis je usunie.
// Zapisac mimo to?"
std::string leftOutQuestion(int count, Language language);
// The line after the first findings of a list cut short: "... i 3 wiecej".
std::string andMore(size_t count, Language language);
// The document's name: its file's, or "bez nazwy" before it has one.
std::string documentName(const std::string& path, Language language);

// The program's name as its window shows it.
extern const char* const kAppTitle;
// The window's title: the program's name alone for a new, untouched set;
// else the document's name first, with "*" while it has unsaved changes
// ("levels.atr * - Zelbun Kreator 1.0 - by. Tavrin", "bez nazwy * - ...").
std::string windowTitle(const std::string& path, bool modified, Language language);

// --- The window's widgets ----------------------------------------------
// What the status line says of the widget under the pointer, and the
// tooltip beside a resting pointer with it: a name with its key, and after
// a "\n" what a click does. widgettexts.cpp words them.
enum class WidgetText {
    newSet, open, save, saveAs, deleteLevel, testLevel, testGame, swap, undo, redo, log, help, dismiss, play,
    setView, drawTool, fillTool, rectangleTool, outlineTool, lineTool, pickTool, selectTool, gridSwitch,
    screwCounter, wallCounter, textBox, startPage, endPage,
};
std::string widgetText(WidgetText widget, Language language);
// A tile by its code and its name in the tile set (null: none): "Kafel $05
// pit"; on a palette entry with what the entry does.
std::string tileText(int code, const char* name, Language language);
std::string paletteEntryText(int code, const char* name, Language language);
// A cell and a selection, counted from 1: "Kolumna 3, wiersz 5",
// "Zaznaczenie 4 x 2".
std::string cellText(int column, int row, Language language);
std::string selectionText(int columns, int rows, Language language);
// A level slot with its verdict where one is known: "Mapa 7: 11 ruchow",
// "Mapa 9 (pusta)"; while a swap waits, what a click on it does.
std::string levelSlotText(int slot, bool on, const LevelVerdict& verdict, bool swapWaiting, Language language);
// A colour register with its value and what it colours: "Rejestr 5:
// $46\ntlo okna"; a colour of the grid and where a click puts it.
std::string colourRegisterText(int colourRegister, int value, Language language);
std::string colourPickerText(int value, int colourRegister, Language language);
