// info, check and test: plain readers and writers of game images, with no
// SDL, so they run on a server or in CI.
#include "cli/commands.h"

#include "core/atari.h"
#include "core/datafiles.h"
#include "core/fileio.h"
#include "core/game.h"
#include "core/gametemplate.h"
#include "core/levelcheck.h"
#include "core/messages.h"
#include "core/session.h"
#include "core/tilesconfig.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace {

const char* const kPageNames[2] = {"Start", "Koniec"};

int fail(std::ostream& err, const std::string& message)
{
    err << "zelbun-kreator: " << message << '\n';
    return 1;
}

std::string hexByte(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

// The tile configuration the editor would start with, for the screw code.
TilesConfig tilesConfig(const CommandLine& line)
{
    std::string path = findDataFile("tiles.cfg", line.dataDirs.empty() ? defaultDataDirs() : line.dataDirs);
    std::vector<uint8_t> bytes;
    if (path.empty() || readFile(path, bytes, kTilesConfigReadLimit))
        return TilesConfig();
    return parseTilesConfig(std::string(bytes.begin(), bytes.end()), path);
}

void printInfoText(const std::string& path, const SetFile& set, int screwCode, std::ostream& out)
{
    int levelCount = 0;
    for (const LevelData& level : set.image.levels)
        levelCount += level.on;
    out << path << ": " << set.bytes.size() << " bajtow, map: " << levelCount << '\n';
    if (!set.image.issues.empty())
        out << "Uwaga: " << describe(set.image.issues, Language::polish) << '\n';

    out << "Kolejnosc:";
    for (uint8_t entry : orderTable(set.bytes.data(), set.bytes.size()))
        out << ' ' << hexByte(entry);
    out << '\n';

    for (int slot = 0; slot < kLevelSlots; ++slot) {
        const LevelData& level = set.image.levels[slot];
        if (!level.on)
            continue;
        out << "Mapa " << slot + 1 << ": srubki do zebrania " << level.srubki;
        if (screwCode >= 0)
            out << " (na mapie " << countCells(level, screwCode) << ")";
        out << ", murek " << level.wzorek << ", kolory";
        for (int colour : level.colours)
            out << ' ' << hexByte(colour);
        out << '\n';
    }

    for (int page = 0; page < 2; ++page) {
        out << "Tekst " << kPageNames[page] << ":\n";
        for (const auto& pageLine : set.image.pages[page])
            out << "  |" << pageLineUtf8(pageLine) << "|\n";
    }
}

void printInfoJson(const std::string& path, const SetFile& set, int screwCode, std::ostream& out)
{
    nlohmann::ordered_json json;
    json["file"] = path;
    json["size"] = set.bytes.size();
    json["order"] = orderTable(set.bytes.data(), set.bytes.size());
    json["levels"] = nlohmann::ordered_json::array();
    for (int slot = 0; slot < kLevelSlots; ++slot) {
        const LevelData& level = set.image.levels[slot];
        if (!level.on)
            continue;
        nlohmann::ordered_json entry;
        entry["slot"] = slot + 1;
        entry["screws"] = level.srubki;
        entry["screwsDrawn"] = screwCode >= 0 ? nlohmann::ordered_json(countCells(level, screwCode))
                                              : nlohmann::ordered_json(nullptr);
        entry["wallPattern"] = level.wzorek;
        entry["colours"] = std::vector<int>(level.colours, level.colours + kColourRegisters);
        std::vector<std::vector<int>> rows(kLevelRows, std::vector<int>(kLevelColumns));
        for (int row = 0; row < kLevelRows; ++row)
            for (int column = 0; column < kLevelColumns; ++column)
                rows[row][column] = level.cells[column][row];
        entry["rows"] = rows;
        json["levels"].push_back(entry);
    }
    for (int page = 0; page < 2; ++page) {
        std::vector<std::string> lines;
        for (const auto& pageLine : set.image.pages[page])
            lines.push_back(pageLineUtf8(pageLine));
        json["pages"][kPageNames[page]] = lines;
    }
    json["warning"] = set.image.issues.empty() ? nlohmann::ordered_json(nullptr)
                                               : nlohmann::ordered_json(describe(set.image.issues, Language::polish));
    out << json.dump(2) << '\n';
}

} // namespace

Error readSetFile(const std::string& path, SetFile& set)
{
    if (Error error = readFile(path, set.bytes, kGameImageReadLimit))
        return error;
    set.image = readGameImage(set.bytes.data(), set.bytes.size());
    return Error();
}

std::string pageLineUtf8(const char* line)
{
    std::string text;
    for (const char* c = line; *c; ++c) {
        switch (static_cast<unsigned char>(*c)) {
        case 1: text += "ą"; break;
        case 3: text += "ć"; break;
        case 5: text += "ę"; break;
        case 12: text += "ł"; break;
        case 14: text += "ń"; break;
        case 15: text += "ó"; break;
        case 19: text += "ś"; break;
        case 26: text += "ż"; break;
        case 17: case 21: text += "█"; break;
        case 6: case 18: text += "▐"; break;
        case 7: case 20: text += "▌"; break;
        default:
            if (*c >= 32 && *c < 127)
                text += *c;
            else
                text += "?";
        }
    }
    return text;
}

int runInfo(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    SetFile set;
    if (Error error = readSetFile(line.file, set))
        return fail(err, describe(error, Language::english));
    TilesConfig config = tilesConfig(line);
    if (line.json)
        printInfoJson(line.file, set, config.sruba, out);
    else
        printInfoText(line.file, set, config.sruba, out);
    return 0;
}

int runTest(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    SetFile set;
    if (Error error = readSetFile(line.file, set))
        return fail(err, describe(error, Language::english));
    const int slot = line.level - 1;
    if (!set.image.levels[slot].on)
        return fail(err, line.file + ": level " + std::to_string(line.level) + " is empty");

    // The game part as the editor would save this file with.
    const ChosenTemplate chosen =
        chooseSessionTemplate(line.templatePath, line.dataDirs.empty() ? defaultDataDirs() : line.dataDirs);
    if (chosen.error)
        err << "zelbun-kreator: template " << describe(chosen.error, Language::english)
            << "; the built-in game is used\n";
    Session session(0, std::make_shared<const std::vector<uint8_t>>(chosen.bytes), embeddedGame());
    if (Error error = session.openBytes(set.bytes, line.file).error)
        return fail(err, describe(error, Language::english));
    const std::vector<uint8_t> image = session.testImage(slot);
    if (Error error = writeFileAtomically(line.output, image))
        return fail(err, describe(error, Language::english));
    out << line.output << ": " << image.size() << " bajtow, mapa " << line.level << '\n';
    return 0;
}

namespace {

// Mistakes of the set as a whole, which no single level shows: a file that
// is no disk image or breaks off, a game part of our engine whose segment
// chain is broken (the game would not boot), an order table that lists no
// level (the game then has nothing to play), and page characters the game
// cannot show.
std::vector<std::string> checkSet(const SetFile& set)
{
    std::vector<std::string> findings;
    const std::vector<uint8_t>& bytes = set.bytes;
    if (bytes.size() < 2 || bytes[0] != 0x96 || bytes[1] != 0x02)
        findings.push_back("to nie jest obraz dysku ATR (brak naglowka 96 02)");
    for (const LoadIssue& issue : set.image.issues)
        findings.push_back(describe(issue, Language::polish));
    if (hasOurEngine(bytes.data(), bytes.size())) {
        const ChainBreak chainBreak = gamePartChainBreak(bytes.data(), bytes.size());
        if (chainBreak.fault != ChainFault::none)
            findings.push_back("czesc gry nie wystartuje, lancuch segmentow zerwany: " +
                               describe(chainBreak, Language::polish));
    }

    bool listed = false;
    for (uint8_t entry : orderTable(set.bytes.data(), set.bytes.size()))
        listed = listed || (entry >= 0x80 && entry < 0x80 + kLevelSlots);
    if (!listed)
        findings.push_back("tabela kolejnosci map jest pusta: gra nie ma czego uruchomic");

    for (int page = 0; page < 2; ++page) {
        int count = 0, first = -1;
        for (size_t i = 0; i < kPageSize && kPageOffsets[page] + i < bytes.size(); ++i)
            if (!isShowableScreenCode(bytes[kPageOffsets[page] + i])) {
                if (count++ == 0)
                    first = int(i);
            }
        if (count == 0)
            continue;
        const int code = bytes[kPageOffsets[page] + first];
        findings.push_back("Tekst " + std::string(kPageNames[page]) + ": znakow, ktorych gra nie pokaze: " +
                           std::to_string(count) + " (pierwszy " + hexByte(code) + ": wiersz " +
                           std::to_string(first / kPageColumns + 1) + ", kolumna " +
                           std::to_string(first % kPageColumns + 1) + ")");
    }
    return findings;
}

} // namespace

int runCheck(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    SetFile set;
    if (Error error = readSetFile(line.file, set))
        return fail(err, describe(error, Language::english));
    std::vector<std::string> findings = checkSet(set);
    for (const LevelFinding& finding : checkLevels(set.image.levels, levelRules(tilesConfig(line))))
        findings.push_back(describe(finding, Language::polish));
    for (const std::string& finding : findings)
        out << line.file << ": " << finding << '\n';
    return findings.empty() ? 0 : 1;
}
