// The words for what the core reports: errors, what reading an image read
// around, the level checks, and the editor's own news. Polish for the
// window, English for the command line; nothing else in the program words
// a failure.
#pragma once

#include "core/error.h"
#include "core/gameimage.h"
#include "core/gametemplate.h"
#include "core/levelcheck.h"
#include "core/pathname.h"
#include "core/solver.h"
#include "core/setcheck.h"

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
