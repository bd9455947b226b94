#include "core/levelcheck.h"

#include "core/tilesconfig.h"


namespace {

void markKnown(LevelRules& rules, int code)
{
    if (code >= 0 && code < 256)
        rules.known[size_t(code)] = true;
}

} // namespace

LevelRules levelRules(const TilesConfig& config)
{
    LevelRules rules;
    rules.screwCode = config.sruba;
    rules.knownCodesGiven = true;
    for (const TileRecord& record : config.records)
        markKnown(rules, record.code);
    markKnown(rules, config.murek);
    markKnown(rules, config.gumka);
    markKnown(rules, config.sruba);
    return rules;
}

std::vector<LevelFinding> checkLevel(const LevelData& level, int slot, const LevelRules& rules)
{
    std::vector<LevelFinding> findings;
    int robots = 0, screws = 0;
    LevelFinding secondRobot{FindingKind::manyRobots, slot};
    LevelFinding unknown[256];
    for (int row = 0; row < kLevelRows; ++row)
        for (int column = 0; column < kLevelColumns; ++column) {
            const int code = level.cells[column][row];
            if (code == rules.robotCode && ++robots == 2) {
                secondRobot.column = column;
                secondRobot.row = row;
            }
            if (code == rules.screwCode)
                ++screws;
            if (rules.knownCodesGiven && !rules.known[size_t(code)]) {
                LevelFinding& found = unknown[code];
                if (found.count++ == 0) {
                    found.column = column;
                    found.row = row;
                }
            }
        }

    if (robots == 0)
        findings.push_back({FindingKind::noRobot, slot});
    if (robots > 1) {
        secondRobot.count = robots;
        findings.push_back(secondRobot);
    }
    if (rules.screwCode >= 0 && level.srubki > screws) {
        LevelFinding short_{FindingKind::screwsShort, slot};
        short_.count = level.srubki;
        short_.drawn = screws;
        findings.push_back(short_);
    }
    for (int code = 0; code < 256; ++code)
        if (unknown[code].count > 0) {
            LevelFinding found = unknown[code];
            found.kind = FindingKind::unknownCode;
            found.slot = slot;
            found.code = code;
            findings.push_back(found);
        }
    return findings;
}

std::vector<LevelFinding> checkLevels(const LevelData levels[kLevelSlots], const LevelRules& rules)
{
    std::vector<LevelFinding> findings;
    for (int slot = 0; slot < kLevelSlots; ++slot) {
        if (!levels[slot].on)
            continue;
        std::vector<LevelFinding> more = checkLevel(levels[slot], slot, rules);
        findings.insert(findings.end(), more.begin(), more.end());
    }
    return findings;
}
