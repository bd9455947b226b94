// What a program's start needs from the system: the command line's words
// in UTF-8, and standard streams that carry bytes as they are.
#pragma once

#include "core/error.h"

#include <string>
#include <vector>

// The command line's words in UTF-8. On Windows they come from the wide
// command line: the narrow argv holds only what the ANSI code page can
// spell, so "zażółć.atr" would arrive as "zazolc.atr" on a Western system.
class ProgramArguments {
public:
    ProgramArguments(int argc, char** argv);
    ProgramArguments(const ProgramArguments&) = delete;
    ProgramArguments& operator=(const ProgramArguments&) = delete;
    int count() const { return int(pointers_.size()); }
    const char* const* words() const { return pointers_.data(); }

private:
    std::vector<std::string> words_;
    std::vector<const char*> pointers_;
};

// Standard input and output take an image ("-", "-o -") byte for byte, no
// line end rewritten, and a console shows the UTF-8 the program prints.
// The console's own code page comes back when the program ends. A standard
// stream closed at start keeps its number taken, so no file opened later
// lands on it and receives what is printed; writes to it fail as they
// would have, and are reported. Called first thing.
void prepareStandardStreams();

// Why standard input holds no image to read: it was closed when the
// program started, or it is a directory. A false Error when it may be read.
Error standardInputProblem();
