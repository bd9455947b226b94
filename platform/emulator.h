// Which program runs a test image. The editor's own file type is declared
// for ".atr", so the desktop's "open" may well start a second editor; the
// choice goes, in order: the command the user gave (--emulator, then
// ZELBUN_EMULATOR); the desktop's default program for Atari disk images
// unless that is this editor; a known emulator on the search path. Pure:
// the system is reached only through the lookups given.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The MIME type of ATR disk images and this editor's desktop entry.
extern const char* const kAtrMimeType;
extern const char* const kOwnDesktopEntry;

// Splits a command line into words as a shell does for plain words, with
// '...', "..." and backslash quoting but no expansion of any kind. False,
// with `error` set, for an unfinished quote or an empty line.
bool splitCommandLine(const std::string& line, std::vector<std::string>& words, std::string& error);

struct EmulatorLookup {
    // The full path of a program found on the search path, or "".
    std::function<std::string(const std::string& name)> findProgram;
    // The desktop entry the desktop opens ATR images with, or "".
    std::function<std::string()> desktopDefault;
    // The program that opens a file with the desktop's default ("xdg-open").
    std::string opener;
};

struct TestCommand {
    std::vector<std::string> argv;  // argv[0] a full path; empty when none was found
    std::string source;             // where the choice came from, for messages
    std::string error;              // set when argv is empty: what to do about it
};

// `option` is --emulator, `environment` ZELBUN_EMULATOR ("" when unset);
// either is a command line in which %f stands for the image, which is
// appended when no word holds %f.
TestCommand chooseTestCommand(const std::string& option, const std::string& environment, const std::string& image,
                              const EmulatorLookup& lookup);
