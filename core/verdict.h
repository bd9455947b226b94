// A level's verdict as the window shows it: how many moves its shortest
// solution takes, or that it cannot be finished, whatever form the solver's
// own report takes.
#pragma once

struct LevelVerdict {
    enum Kind {
        pending,     // not known yet
        solvable,    // in `moves` moves; `shortest` false when no proof says none is shorter
        unsolvable,  // every reachable state seen, none at the open exit
        unknown,     // the search gave up within its budget
        noRobot,     // nothing to play: the checks say so already
    } kind = pending;
    int moves = 0;
    bool shortest = true;
};
