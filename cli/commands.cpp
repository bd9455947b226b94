// info, check and test: plain readers and writers of game images, with no
// SDL, so they run on a server or in CI.
#include "cli/commands.h"

#include "editor/atari.h"
#include "editor/datafiles.h"
#include "editor/fileio.h"
#include "editor/gametemplate.h"
#include "editor/levelcheck.h"
#include "editor/tilesconfig.h"

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
    std::string error;
    if (path.empty() || !readFile(path, bytes, error, kTilesConfigReadLimit))
        return TilesConfig();
    return parseTilesConfig(std::string(bytes.begin(), bytes.end()), path);
}

int screwsDrawn(const LevelData& level, int screwCode)
{
    int count = 0;
    for (const auto& column : level.cells)
        for (uint8_t cell : column)
            count += cell == screwCode;
    return count;
}

void printInfoText(const std::string& path, const LevelSet& set, int screwCode, std::ostream& out)
{
    int levelCount = 0;
    for (const LevelData& level : set.levels)
        levelCount += level.on;
    out << path << ": " << set.bytes.size() << " bajtow, map: " << levelCount << '\n';
    if (!set.warning.empty())
        out << "Uwaga: " << set.warning << '\n';

    out << "Kolejnosc:";
    for (uint8_t entry : orderTable(set))
        out << ' ' << hexByte(entry);
    out << '\n';

    for (int slot = 0; slot < kLevelSlots; ++slot) {
        const LevelData& level = set.levels[slot];
        if (!level.on)
            continue;
        out << "Mapa " << slot + 1 << ": srubki do zebrania " << level.srubki;
        if (screwCode >= 0)
            out << " (na mapie " << screwsDrawn(level, screwCode) << ")";
        out << ", murek " << level.wzorek << ", kolory";
        for (int colour : level.colours)
            out << ' ' << hexByte(colour);
        out << '\n';
    }

    for (int page = 0; page < 2; ++page) {
        out << "Tekst " << kPageNames[page] << ":\n";
        for (const auto& pageLine : set.pages[page])
            out << "  |" << pageLineUtf8(pageLine) << "|\n";
    }
}

void printInfoJson(const std::string& path, const LevelSet& set, int screwCode, std::ostream& out)
{
    nlohmann::ordered_json json;
    json["file"] = path;
    json["size"] = set.bytes.size();
    json["order"] = orderTable(set);
    json["levels"] = nlohmann::ordered_json::array();
    for (int slot = 0; slot < kLevelSlots; ++slot) {
        const LevelData& level = set.levels[slot];
        if (!level.on)
            continue;
        nlohmann::ordered_json entry;
        entry["slot"] = slot + 1;
        entry["screws"] = level.srubki;
        entry["screwsDrawn"] = screwCode >= 0 ? nlohmann::ordered_json(screwsDrawn(level, screwCode))
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
        for (const auto& pageLine : set.pages[page])
            lines.push_back(pageLineUtf8(pageLine));
        json["pages"][kPageNames[page]] = lines;
    }
    json["warning"] = set.warning.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(set.warning);
    out << json.dump(2) << '\n';
}

} // namespace

bool loadLevelSet(const std::string& path, LevelSet& set, std::string& error)
{
    if (!readFile(path, set.bytes, error, kGameImageReadLimit))
        return false;
    LoadResult image = readGameImage(set.bytes.data(), set.bytes.size());
    for (const LoadedLevel& loaded : image.levels)
        set.levels[loaded.target] = loaded.level;
    static_assert(sizeof set.pages == sizeof image.pages, "two text pages");
    std::copy(&image.pages[0][0][0], &image.pages[0][0][0] + sizeof image.pages, &set.pages[0][0][0]);
    set.warning = image.warning;
    return true;
}

std::vector<uint8_t> orderTable(const LevelSet& set)
{
    std::vector<uint8_t> table(kLevelSlots, 0);
    for (size_t i = 0; i < table.size() && kOrderTableOffset + i < set.bytes.size(); ++i)
        table[i] = set.bytes[kOrderTableOffset + i];
    return table;
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
    LevelSet set;
    std::string error;
    if (!loadLevelSet(line.file, set, error))
        return fail(err, error);
    TilesConfig config = tilesConfig(line);
    if (line.json)
        printInfoJson(line.file, set, config.sruba, out);
    else
        printInfoText(line.file, set, config.sruba, out);
    return 0;
}

int runTest(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    LevelSet set;
    std::string error;
    if (!loadLevelSet(line.file, set, error))
        return fail(err, error);
    const int slot = line.level - 1;
    if (!set.levels[slot].on)
        return fail(err, line.file + ": level " + std::to_string(line.level) + " is empty");

    // The game part as the editor would save this file with.
    const std::vector<std::string> dirs = line.dataDirs.empty() ? defaultDataDirs() : line.dataDirs;
    TemplateSources sources;
    sources.optionPath = line.templatePath;
    if (const char* environment = std::getenv("ZELBUN_TEMPLATE"))
        sources.environmentPath = environment;
    sources.dataDirPath = findDataFile("game.atr", dirs);
    const ChosenTemplate session = chooseTemplate(sources, embeddedTemplate());
    if (!session.error.empty())
        err << "zelbun-kreator: " << session.error << '\n';
    const std::vector<uint8_t> tmpl = templateForOpened(set.bytes, session.bytes, embeddedTemplate());
    std::vector<uint8_t> image = writeTestImage(tmpl.data(), tmpl.size(), set.levels[slot], slot, set.pages);
    if (!writeFileAtomically(line.output, image, error))
        return fail(err, error);
    out << line.output << ": " << image.size() << " bajtow, mapa " << line.level << '\n';
    return 0;
}

namespace {

// Mistakes of the set as a whole, which no single level shows: a file that
// is no disk image or breaks off, a game part of our engine whose segment
// chain is broken (the game would not boot), an order table that lists no
// level (the game then has nothing to play), and page characters the game
// cannot show.
std::vector<std::string> checkSet(const LevelSet& set)
{
    std::vector<std::string> findings;
    const std::vector<uint8_t>& bytes = set.bytes;
    if (bytes.size() < 2 || bytes[0] != 0x96 || bytes[1] != 0x02)
        findings.push_back("to nie jest obraz dysku ATR (brak naglowka 96 02)");
    if (!set.warning.empty())
        findings.push_back("plik urwany: " + set.warning);
    if (hasOurEngine(bytes.data(), bytes.size())) {
        const ChainBreak chainBreak = gamePartChainBreak(bytes.data(), bytes.size());
        if (chainBreak.fault != ChainFault::none)
            findings.push_back("czesc gry nie wystartuje, lancuch segmentow zerwany: " +
                               describeChainBreakPolish(chainBreak));
    }

    bool listed = false;
    for (uint8_t entry : orderTable(set))
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
    LevelSet set;
    std::string error;
    if (!loadLevelSet(line.file, set, error))
        return fail(err, error);
    std::vector<std::string> findings = checkSet(set);
    for (const LevelFinding& finding : checkLevels(set.levels, levelRules(tilesConfig(line))))
        findings.push_back(describeFinding(finding));
    for (const std::string& finding : findings)
        out << line.file << ": " << finding << '\n';
    return findings.empty() ? 0 : 1;
}
