#include "editor/testchecks.h"

#include "core/messages.h"

#include <algorithm>
#include <climits>

TestChecks::TestChecks(const Session& session, const LevelRules& rules) : session_(session), rules_(rules)
{
}

std::vector<LevelFinding> TestChecks::run(int slot) const
{
    std::vector<LevelFinding> findings = slot >= 0 ? checkLevel(session_.level(slot), slot, rules_)
                                                   : checkLevels(session_.document().levels, rules_);
    // The solver only where the checks found nothing: a level without its
    // robot, or with screws it lacks, has its finding already.
    std::vector<int> clean;
    for (int s = 0; s < kLevelSlots; ++s) {
        const bool tested = slot >= 0 ? s == slot : session_.level(s).on;
        const bool found = std::any_of(findings.begin(), findings.end(),
                                       [s](const LevelFinding& finding) { return finding.slot == s; });
        const bool known = knownVerdict && knownVerdict(s).kind == LevelVerdict::solvable;
        if (tested && !found && !known)
            clean.push_back(s);
    }
    if (clean.empty() || statesPerLevel == 0)
        return findings;
    std::vector<LevelData> levels;
    for (int s : clean)
        levels.push_back(session_.level(s));
    SolveLimits limits;
    limits.maxStates = statesPerLevel;
    const std::vector<SolveResult> results = solveLevels(levels, limits);
    for (size_t i = 0; i < clean.size(); ++i) {
        const SolveResult& result = results[i];
        LevelFinding finding{FindingKind::unsolvable, clean[i]};
        finding.count = int(std::min<uint64_t>(result.states, INT_MAX));
        switch (result.verdict) {
        case SolveResult::solvable:
        case SolveResult::noRobot:  // the checks say so already
            continue;
        case SolveResult::unsolvable: break;
        case SolveResult::unknown: finding.kind = FindingKind::unsettled; break;
        case SolveResult::rulesFailed:
            finding.kind = FindingKind::rulesFailed;
            finding.code = result.failedAt;
            break;
        }
        findings.push_back(finding);
    }
    // Level by level, as the message area lists them.
    std::stable_sort(findings.begin(), findings.end(),
                     [](const LevelFinding& a, const LevelFinding& b) { return a.slot < b.slot; });
    return findings;
}

std::string TestChecks::question(const std::vector<LevelFinding>& findings, Language language)
{
    std::string text;
    for (size_t i = 0; i < findings.size() && i < listedFindings; ++i)
        text += describe(findings[i], language) + "\n";
    if (findings.size() > listedFindings)
        text += andMore(findings.size() - listedFindings, language) + "\n";
    return text + say(Saying::testAnyway, "", language);
}
