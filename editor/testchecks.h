// The checks before a test in the emulator ("Testuj mape", "Testuj gre"):
// the level checks, then the game's solver on each tested level they found
// nothing wrong with, within a budget of its own, in states, so a level gets
// the same answer on any machine. A level the solver proves cannot be
// finished is a finding, and so is one it could not settle: when nothing is
// known of a level, the window says so. It takes only the session's levels
// and the tile set's rules, so the tests run it without a window.
#pragma once

#include "core/levelcheck.h"
#include "core/session.h"
#include "core/solver.h"
#include "core/verdict.h"
#include "core/windowtexts.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TestChecks {
public:
    TestChecks(const Session& session, const LevelRules& rules);

    // The states the solver may take on each level, whatever the number of
    // levels tested; 0 keeps it out of the checks.
    uint64_t statesPerLevel = SolveLimits::beforeTestStates;
    // What is known already of the level in a slot (the verdicts found in
    // the background); a level known to be solvable is not solved again.
    // Empty: nothing is known.
    std::function<LevelVerdict(int slot)> knownVerdict;

    // The findings for level `slot`, or for every level that is on when
    // `slot` is -1; levels are solved two at a time, and the findings come
    // level by level.
    std::vector<LevelFinding> run(int slot) const;

    // The question before a test on findings: the first of them, one a line,
    // then whether to test anyway.
    static std::string question(const std::vector<LevelFinding>& findings, Language language);
    // How many findings the question lists.
    static const size_t listedFindings = 8;

private:
    const Session& session_;
    const LevelRules& rules_;
};
