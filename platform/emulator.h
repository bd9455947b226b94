// Which program runs a test image. The editor's own file type is declared
// for ".atr", so the desktop's "open" may well start a second editor; the
// choice goes, in order: the command the user gave (--emulator, then
// ZELBUN_EMULATOR); the desktop's default program for Atari disk images
// unless that is this editor; a known emulator on the search path. Pure:
// the system is reached only through the lookups given.
#pragma once

#include "core/error.h"

#include <functional>
#include <string>
#include <vector>

// The MIME type of ATR disk images, this editor's desktop entry and program.
extern const char* const kAtrMimeType;
extern const char* const kOwnDesktopEntry;
extern const char* const kOwnProgramName;

// Splits a command line into words as a shell does for plain words, with
// '...', "..." and backslash quoting but no expansion of any kind. Fails
// for an unfinished quote or an empty line.
Error splitCommandLine(const std::string& line, std::vector<std::string>& words);

// The same by the rules Windows programs split their command line with:
// words apart at spaces and tabs, "..." quoting, and backslashes literal
// except before a quote (2n of them and a quote are n and the quote's
// quoting; 2n+1 are n and a literal quote), so C:\path\emu.exe stays whole.
Error splitWindowsCommandLine(const std::string& line, std::vector<std::string>& words);

// The command line CreateProcess gives a program whose words, split by the
// rules above, are `words`: each word with a space, a tab or a quote in it,
// or empty, quoted.
std::string joinWindowsCommandLine(const std::vector<std::string>& words);

enum class CommandSyntax { posix, windows };

// The Exec value of a desktop entry's main group, given the entry's text;
// "" when it has none.
std::string desktopEntryExec(const std::string& entryText);

// Whether a desktop entry's Exec line starts this editor: the program it
// runs (past an `env` and its settings) has this editor's name, or the name
// of `ownProgram`, the running program's path.
bool execRunsThisEditor(const std::string& exec, const std::string& ownProgram);

struct EmulatorLookup {
    // The full path of a program found on the search path, or "".
    std::function<std::string(const std::string& name)> findProgram;
    // The desktop entry the desktop opens ATR images with, or "".
    std::function<std::string()> desktopDefault;
    // The text of an installed desktop entry, given its id; "" when none is
    // found. Without it, or without the entry, only the entry's id tells.
    std::function<std::string(const std::string& entry)> desktopEntryText;
    // The running program's path, "" when unknown.
    std::string ownProgram;
    // The program that opens a file with the desktop's default ("xdg-open").
    std::string opener;
    // How the user's commands split into words, and what marks a word as a
    // path rather than a name to look for.
    CommandSyntax syntax = CommandSyntax::posix;
};

struct TestCommand {
    std::vector<std::string> argv;  // argv[0] a full path; empty when none was found
    std::string source;             // where the choice came from, for messages
    Error error;                    // set when argv is empty: what to do about it
};

// `option` is --emulator, `environment` ZELBUN_EMULATOR ("" when unset);
// either is a command line in which %f stands for the image, which is
// appended when no word holds %f. The line is split into words without a
// shell, and %f replaced within the words, so the path stays one word, or
// part of one, whatever it holds. A shell's command string (sh -c '...',
// also behind a wrapper such as `nice`) never gets the path: its %f becomes
// a quoted reference to a positional parameter, and the path follows as
// that parameter (sh -c 'emu "${1}"' sh PATH). With Windows syntax a word
// goes to the program as one word however it is quoted later
// (joinWindowsCommandLine), and there is no shell.
TestCommand chooseTestCommand(const std::string& option, const std::string& environment, const std::string& image,
                              const EmulatorLookup& lookup);
