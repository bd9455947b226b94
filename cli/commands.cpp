// info, check and test: plain readers and writers of game images that need
// no display, so they run on a server or in CI. check reads the tile
// bitmaps too, with SDL's BMP reader, to say what the window would.
#include "cli/commands.h"

#include "core/datafiles.h"
#include "core/fileio.h"
#include "core/game.h"
#include "core/gametemplate.h"
#include "core/levelcheck.h"
#include "core/messages.h"
#include "core/session.h"
#include "core/setcheck.h"
#include "core/solver.h"
#include "core/tilesetup.h"
#include "platform/startup.h"
#include "render/sheet.h"

#include <nlohmann/json.hpp>

#include <cassert>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <istream>
#include <ostream>
#include <sstream>

namespace {

// The version of the JSON that info prints; it changes only when a key
// changes meaning or goes away.
const int kInfoJsonFormat = 1;

// The same for check --json.
const int kCheckJsonFormat = 1;

const char* const kPageKeys[kTextPages] = {"start", "end"};

// A level's verdict for check --json: its number, the verdict, whether the
// moves are a shortest solution, what cut the search short, the states
// and seconds it took, and the moves.
nlohmann::ordered_json verdictJson(int slot, const SolveResult& result)
{
    static const char* const verdicts[] = {"solvable", "unsolvable", "unknown", "no robot", "rules failed"};
    static const char* const limits[] = {"", "states", "seconds", "stopped"};
    nlohmann::ordered_json entry;
    entry["level"] = slot + 1;
    entry["verdict"] = verdicts[result.verdict];
    if (result.verdict == SolveResult::solvable)
        entry["shortest"] = result.shortest;
    if (result.limit != SolveResult::Limit::none)
        entry["gave_up"] = limits[int(result.limit)];
    if (result.verdict == SolveResult::rulesFailed)
        entry["stopped_at"] = result.failedAt;
    entry["states"] = result.states;
    entry["seconds"] = std::round(result.seconds * 1000) / 1000;
    entry["moves"] = nlohmann::ordered_json::array();
    for (GameRules::Move move : result.moves)
        entry["moves"].push_back(moveName(move));
    return entry;
}

std::string hexByte(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

// Reads a stream to its end; more than `limit` bytes is an error.
Error readStream(std::istream& in, std::vector<uint8_t>& out, size_t limit)
{
    std::vector<uint8_t> bytes;
    char chunk[16384];
    errno = 0;
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > limit) {
            // The rest is not read: the stream may never end.
            Error error = Error::of(Fault::tooLarge, inputName("-"));
            error.limit = limit;
            return error;
        }
    }
    if (in.bad())
        return Error::system(inputName("-"), errno != 0 ? errno : EIO);
    out.swap(bytes);
    return Error();
}

void warnAboutWhatWasReadAround(const CommandLine& line, const SetFile& set, Console console)
{
    for (const LoadIssue& issue : set.image.issues)
        console.err << "zelbun-kreator: " << inputName(line.file) << ": warning: "
                    << describe(issue, Language::english) << '\n';
}

void printInfoText(const std::string& name, const SetFile& set, int screwCode, std::ostream& out)
{
    int levelCount = 0;
    for (const LevelData& level : set.image.levels)
        levelCount += level.on;
    out << name << ": " << set.bytes.size() << " bytes, " << levelCount << (levelCount == 1 ? " level" : " levels")
        << '\n';

    out << "order:";
    for (uint8_t entry : orderTable(set.bytes.data(), set.bytes.size()))
        out << ' ' << hexByte(entry);
    out << '\n';

    for (int slot = 0; slot < kLevelSlots; ++slot) {
        const LevelData& level = set.image.levels[slot];
        if (!level.on)
            continue;
        out << "level " << slot + 1 << ": screws to collect " << level.srubki;
        if (screwCode >= 0)
            out << " (drawn " << countCells(level, screwCode) << ")";
        out << ", wall pattern " << level.wzorek << ", colours";
        for (int colour : level.colours)
            out << ' ' << hexByte(colour);
        out << '\n';
    }

    for (int page = 0; page < kTextPages; ++page) {
        out << "page " << pageName(page) << ":\n";
        for (const auto& pageLine : set.image.pages[page])
            out << "  |" << pageLineUtf8(pageLine) << "|\n";
    }
}

// The shape is documented in the manual page; kInfoJsonFormat versions it.
void printInfoJson(const std::string& path, const SetFile& set, int screwCode, std::ostream& out)
{
    using Json = nlohmann::ordered_json;
    Json json;
    json["format"] = kInfoJsonFormat;
    json["file"] = path;
    json["size"] = set.bytes.size();
    json["order"] = orderTable(set.bytes.data(), set.bytes.size());
    json["levels"] = Json::array();
    for (int slot = 0; slot < kLevelSlots; ++slot) {
        const LevelData& level = set.image.levels[slot];
        if (!level.on)
            continue;
        Json entry;
        entry["slot"] = slot + 1;
        entry["screws"] = level.srubki;
        entry["screwsDrawn"] = screwCode >= 0 ? Json(countCells(level, screwCode)) : Json(nullptr);
        entry["wallPattern"] = level.wzorek;
        entry["colours"] = std::vector<int>(level.colours, level.colours + kColourRegisters);
        std::vector<std::vector<int>> rows(kLevelRows, std::vector<int>(kLevelColumns));
        for (int row = 0; row < kLevelRows; ++row)
            for (int column = 0; column < kLevelColumns; ++column)
                rows[row][column] = level.cells[column][row];
        entry["rows"] = rows;
        json["levels"].push_back(entry);
    }
    for (int page = 0; page < kTextPages; ++page) {
        std::vector<std::string> lines;
        for (const auto& pageLine : set.image.pages[page])
            lines.push_back(pageLineUtf8(pageLine));
        json["pages"][kPageKeys[page]] = lines;
    }
    json["warnings"] = Json::array();
    for (const LoadIssue& issue : set.image.issues)
        json["warnings"].push_back(describe(issue, Language::english));
    // A file name is whatever bytes the system allows: those that are no
    // UTF-8 become U+FFFD rather than stop the output.
    out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

// The bytes of the input, from standard input for "-".
Error readInput(const std::string& path, std::istream& in, std::vector<uint8_t>& bytes)
{
    if (path != "-")
        return readFile(path, bytes, kGameImageReadLimit);
    // The program's own standard input may be closed or a directory,
    // which reads as nothing at all.
    if (&in == &std::cin)
        if (Error problem = standardInputProblem())
            return problem;
    return readStream(in, bytes, kGameImageReadLimit);
}

} // namespace

std::vector<std::string> dataDirsOf(const CommandLine& line)
{
    return line.dataDirs.empty() ? defaultDataDirs() : line.dataDirs;
}

TileSetup tileSetup(const CommandLine& line, Console console, const char* missed)
{
    const TileSetup setup = findTileSetup(dataDirsOf(line));
    if (setup.error.fault == Fault::notFound)
        console.err << "zelbun-kreator: no tiles.cfg found (looked in " << setup.error.detail << "); " << missed
                    << '\n';
    return setup;
}

std::string inputName(const std::string& path)
{
    return path == "-" ? "standard input" : path;
}

int fail(Console console, const std::string& message)
{
    console.err << "zelbun-kreator: " << message << '\n';
    return 1;
}

bool writeOutput(const CommandLine& line, const std::vector<uint8_t>& bytes, Console console)
{
    if (line.output == "-") {
        console.out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return true;
    }
    if (!line.force && isReadOnlyFile(line.output)) {
        fail(console, line.output + ": the file is read-only; --force replaces it");
        return false;
    }
    if (Error error = writeFileAtomically(line.output, bytes)) {
        fail(console, describe(error, Language::english));
        return false;
    }
    return true;
}

int emit(Console console, const std::string& text, int status)
{
    errno = 0;
    if (console.out.write(text.data(), std::streamsize(text.size())).flush())
        return status;
    const int code = errno;
    return fail(console, "standard output: " + (code != 0 ? systemReason(code, Language::english)
                                                          : std::string("the output could not be written")));
}

Error readSetFile(const std::string& path, std::istream& in, SetFile& set)
{
    if (Error error = readInput(path, in, set.bytes))
        return error;
    if (Error problem = gameImageProblem(set.bytes.data(), set.bytes.size())) {
        problem.path = inputName(path);
        return problem;
    }
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

int runInfo(const CommandLine& line, Console console)
{
    SetFile set;
    if (Error error = readSetFile(line.file, console.in, set))
        return fail(console, describe(error, Language::english));
    warnAboutWhatWasReadAround(line, set, console);
    const TileSetup tiles = tileSetup(line, console, "the screws drawn are not counted");
    if (tiles.error && tiles.error.fault != Fault::notFound)
        console.err << "zelbun-kreator: " << describe(tiles.error, Language::english)
                    << "; the screws drawn are not counted\n";
    const int screwCode = tiles.rules().screwCode;
    if (line.json)
        printInfoJson(line.file, set, screwCode, console.out);
    else
        printInfoText(inputName(line.file), set, screwCode, console.out);
    return 0;
}

int runTest(const CommandLine& line, Console console)
{
    std::vector<uint8_t> bytes;
    if (Error error = readInput(line.file, console.in, bytes))
        return fail(console, describe(error, Language::english));

    // The game part as the editor would save this file with.
    const ChosenTemplate chosen = chooseSessionTemplate(line.templatePath, dataDirsOf(line));
    if (chosen.error)
        console.err << "zelbun-kreator: template " << describe(chosen.error, Language::english)
                    << "; the built-in game is used\n";
    Session session(0, std::make_shared<const std::vector<uint8_t>>(chosen.bytes), embeddedGame());
    if (Error error = session.openBytes(bytes, inputName(line.file)).error)
        return fail(console, describe(error, Language::english));
    const int slot = line.level - 1;
    if (!session.level(slot).on)
        return fail(console, inputName(line.file) + ": level " + std::to_string(line.level) + " is empty");

    const std::vector<uint8_t> image = session.testImage(slot);
    // Checked as `check` checks a set: the game part may break only once
    // the order table and the pages are written into it.
    for (const SetFinding& finding : checkSetImage(image.data(), image.size()))
        if (finding.kind == SetFindingKind::brokenGamePart)
            return fail(console, (line.output == "-" ? std::string("the test image") : line.output) +
                                     ": not written: " + describe(finding, Language::english));
    if (!writeOutput(line, image, console))
        return 1;
    if (line.output != "-")
        console.out << line.output << ": " << image.size() << " bytes, level " << line.level << '\n';
    return 0;
}

int runCheck(const CommandLine& line, Console console)
{
    std::vector<uint8_t> bytes;
    if (Error error = readInput(line.file, console.in, bytes))
        return fail(console, describe(error, Language::english));
    const std::string name = inputName(line.file);
    nlohmann::ordered_json json;
    json["format"] = kCheckJsonFormat;
    json["file"] = name;
    json["findings"] = nlohmann::ordered_json::array();
    // The set's findings are about the set; the tile setup's name their own files.
    auto report = [&](const std::vector<std::string>& findings, bool aboutTheSet) {
        for (const std::string& finding : findings)
            if (line.json)
                json["findings"].push_back(finding);
            else
                console.out << (aboutTheSet ? name + ": " : "") << finding << '\n';
    };
    auto finish = [&](int status) {
        if (line.json)
            console.out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
        return status;
    };
    // What the window would say about the tile setup it starts with.
    // Without a tiles.cfg, only what needs none: the robots.
    const TileSetup tiles = tileSetup(line, console, "tile codes and screws are not checked");
    std::vector<std::string> tileFindings = describeFindings(tiles);
    for (const Error& error : loadTileSheets(dataDirsOf(line), tiles).errors)
        tileFindings.push_back(describe(error, Language::english));
    report(tileFindings, false);

    // A file the editor refuses is the one finding there is about it.
    if (Error problem = gameImageProblem(bytes.data(), bytes.size())) {
        problem.path = "";
        report({describe(problem, Language::english)}, true);
        return finish(1);
    }

    const LoadResult image = readGameImage(bytes.data(), bytes.size());
    std::vector<std::string> findings;
    for (const LoadIssue& issue : image.issues)
        findings.push_back(describe(issue, Language::english));
    for (const SetFinding& finding : checkSetImage(bytes.data(), bytes.size()))
        findings.push_back(describe(finding, Language::english));
    for (const LevelFinding& finding : checkLevels(image.levels, tiles.rules()))
        findings.push_back(describe(finding, Language::english));
    report(findings, true);

    bool unsolvable = false;
    if (line.solve) {
        SolveLimits limits;
        limits.maxStates = line.maxStates;
        limits.maxSeconds = line.maxSeconds;
        std::vector<int> slots;
        std::vector<LevelData> levels;
        for (int slot = 0; slot < kLevelSlots; ++slot)
            if (image.levels[slot].on) {
                slots.push_back(slot);
                levels.push_back(image.levels[slot]);
            }
        const std::vector<SolveResult> results = solveLevels(levels, limits);
        json["levels"] = nlohmann::ordered_json::array();
        for (size_t i = 0; i < results.size(); ++i) {
            const SolveResult& result = results[i];
            unsolvable = unsolvable || result.verdict == SolveResult::unsolvable ||
                         result.verdict == SolveResult::rulesFailed;
            if (line.json)
                json["levels"].push_back(verdictJson(slots[i], result));
            else
                console.out << name << ": level " << slots[i] + 1 << ": " << describe(result, Language::english)
                            << '\n';
        }
    }
    return finish(tileFindings.empty() && findings.empty() && !unsolvable ? 0 : 1);
}

int runCommand(const CommandLine& line, Console console)
{
    // The output is written in one piece at the end, so a failure to write
    // it is seen with its reason.
    std::ostringstream buffer;
    const Console buffered{console.in, buffer, console.err};
    int status = 1;
    switch (line.command) {
    case CommandLine::Command::Info: status = runInfo(line, buffered); break;
    case CommandLine::Command::Check: status = runCheck(line, buffered); break;
    case CommandLine::Command::Export: status = runExport(line, buffered); break;
    case CommandLine::Command::Test: status = runTest(line, buffered); break;
    case CommandLine::Command::Exit: status = line.exitStatus; break;
    case CommandLine::Command::Window: assert(!"the window is no command"); break;
    }
    return emit(console, buffer.str(), status);
}
