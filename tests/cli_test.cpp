// The command line: parsing and exit statuses, and info, export and test on
// a level set built here, checked against what the editor itself does with
// the same file.
#include "cli/commands.h"
#include "cli/options.h"
#include "editor/frame.h"
#include "core/game.h"
#include "core/gameimage.h"
#include "tests/fake_platform.h"
#include "tests/portable.h"
#include "render/funkcje.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <sys/stat.h>

namespace {

const std::string dataDir = ZELBUN_SOURCE_DIR "/data";

struct Parsed {
    CommandLine line;
    std::string out, err;
};

Parsed parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "zelbun-kreator");
    std::ostringstream out, err;
    Parsed run;
    run.line = parseCommandLine(int(args.size()), args.data(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class TempDir {
public:
    TempDir() : path(portable::makeTempDir("zelbun-cli")) {}
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

// Levels in slots 3 and 8 of the editor (saved, they load into 1 and 2):
// robot, screws, walls, a box, a code with no picture, own colours.
std::string writeSet(const TempDir& dir, bool withUnknownCode = true)
{
    LevelData levels[kLevelSlots];
    for (int slot : {2, 7}) {
        LevelData& level = levels[slot];
        level.on = true;
        level.cells[1][1] = 4;                      // robot
        level.cells[2][1] = level.cells[3][1] = 16;  // screws
        for (int row = 0; row < kLevelRows; ++row)
            level.cells[0][row] = 1;  // walls
        level.cells[5][9] = 0x30;     // box
        if (withUnknownCode)
            level.cells[6][9] = 0xEE;  // no picture: drawn as "EE"
        const int colours[kColourRegisters] = {0x94, 0x36, 0x0E, 0xC8, 0x10 + slot, 0x48};
        std::copy(colours, colours + kColourRegisters, level.colours);
        level.srubki = 1 + slot % 2;
        level.wzorek = slot % 8;
    }
    TextPage pages[2];
    for (auto& page : pages)
        for (auto& line : page) {
            std::memset(line, ' ', kPageColumns);
            line[kPageColumns] = '\0';
        }
    std::memcpy(pages[0][0], "ZA\x01\x13 1", 6);  // "ZAąś 1"
    const std::vector<uint8_t> image = writeGameImage(game, gameSize, levels, pages);
    const std::string path = dir.file("set.atr");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
    return path;
}

// An editor on the default data with `path` loaded, as the window opens it.
struct LoadedEditor {
    explicit LoadedEditor(const std::string& path)
    {
        SDL_Init(SDL_INIT_VIDEO);
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 570, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        FrameOptions options;
        options.dataDirs = {dataDir};
        options.platform = &platform;
        editor = std::make_unique<frame>(screen, options);
        editor->loadMap(path.c_str());
    }
    ~LoadedEditor()
    {
        editor.reset();
        SDL_FreeSurface(screen);
    }
    FakePlatform platform;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<frame> editor;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

Picture decodePng(const std::string& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return picture;
    image.format = PNG_FORMAT_RGB;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        picture.width = int(image.width);
        picture.height = int(image.height);
    }
    png_image_free(&image);
    return picture;
}

// An output that takes nothing, as a full disk does.
class FullStream : public std::ostream {
public:
    FullStream() : std::ostream(&buffer_) {}

private:
    struct Refusing : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
        std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
    } buffer_;
};

struct Ran {
    int status = -1;
    std::string out, err;
};

// The whole command line in-process, as main runs it, with `input` as
// standard input.
Ran run(std::vector<const char*> args, const std::string& input = "")
{
    Parsed parsed = parse(std::move(args));
    Ran result;
    if (parsed.line.command == CommandLine::Command::Exit) {
        result.status = parsed.line.exitStatus;
        result.out = parsed.out;
        result.err = parsed.err;
        return result;
    }
    parsed.line.dataDirs = {dataDir};
    std::istringstream in(input);
    std::ostringstream out, err;
    result.status = runCommand(parsed.line, {in, out, err});
    result.out = out.str();
    result.err = err.str();
    return result;
}

TEST(CommandLine, ParsingAndExitStatuses)
{
    Parsed help = parse({"--help"});
    EXPECT_EQ(help.line.command, CommandLine::Command::Exit);
    EXPECT_EQ(help.line.exitStatus, 0);
    for (const char* part : {"\n  info ", "\n  check ", "\n  export ", "\n  test ", "ZELBUN_EMULATOR", "ZELBUN_TEMPLATE",
                             "Exit status:", "zelbun-kreator check levels.atr"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    EXPECT_EQ(help.err, "");
    // "help" is the help, not a file to open; "help COMMAND" and
    // "COMMAND --help" that command's options only.
    EXPECT_EQ(parse({"help"}).out, help.out);
    const Parsed exportHelp = parse({"help", "export"});
    EXPECT_EQ(exportHelp.line.exitStatus, 0);
    EXPECT_NE(exportHelp.out.find("Usage: zelbun-kreator export"), std::string::npos) << exportHelp.out;
    EXPECT_NE(exportHelp.out.find("--force"), std::string::npos);
    EXPECT_EQ(exportHelp.out.find("--json"), std::string::npos);
    EXPECT_EQ(parse({"export", "--help"}).out, exportHelp.out);

    Parsed version = parse({"--version"});
    EXPECT_EQ(version.line.exitStatus, 0);
    EXPECT_EQ(version.out, std::string("zelbun-kreator ") + programVersion() + "\n");

    // Usage errors: a short usage on stderr, status 2, nothing on stdout.
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--bogus"}, {"info"}, {"export", "a.atr", "-o", "x.png"}, {"export", "a.atr", "--level", "1", "--all", "-o", "x.png"},
             {"test", "a.atr", "--level", "33"}, {"check", "a.atr", "b.atr"}, {"help", "bogus"}}) {
        Parsed run = parse(bad);
        EXPECT_EQ(run.line.command, CommandLine::Command::Exit) << bad[0];
        EXPECT_EQ(run.line.exitStatus, 2) << bad[0];
        EXPECT_EQ(run.err.rfind("zelbun-kreator: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage:"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }

    // The solver's limits: decimal, above zero, finite, said in one line;
    // the default counts states only.
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--max-states", "0"}, {"--max-states", "abc"}, {"--max-states", "0x10"}, {"--max-states", "-3"},
             {"--max-states", "100000001"}, {"--max-seconds", "nan"}, {"--max-seconds", "inf"},
             {"--max-seconds", "1e400"}, {"--max-seconds", "0"}, {"--max-seconds", "-1"}}) {
        Parsed run = parse({"check", "a.atr", "--solve", bad[0], bad[1]});
        EXPECT_EQ(run.line.exitStatus, 2) << bad[1];
        const std::string first = run.err.substr(0, run.err.find('\n'));
        EXPECT_EQ(first.find("zelbun-kreator: " + std::string(bad[0]) + ": "), 0u) << first;
        EXPECT_NE(first.find(std::string("'") + bad[1] + "'"), std::string::npos) << first;
        EXPECT_LT(first.size(), 100u) << first;
    }
    const Parsed solve = parse({"check", "a.atr", "--solve"});
    EXPECT_EQ(solve.line.maxStates, SolveLimits::defaultStates);
    EXPECT_EQ(solve.line.maxSeconds, 0);
    const Parsed limited = parse({"check", "a.atr", "--solve", "--max-states", "0100", "--max-seconds", "2.5"});
    EXPECT_EQ(limited.line.maxStates, 100u);
    EXPECT_EQ(limited.line.maxSeconds, 2.5);

    // A mistyped command is not taken for a file to open.
    Parsed typo = parse({"chek", "set.atr"});
    EXPECT_EQ(typo.line.exitStatus, 2);
    EXPECT_NE(typo.err.find("did you mean 'check'?"), std::string::npos) << typo.err;
    EXPECT_EQ(nearestCommand("exprot"), "export");
    EXPECT_EQ(nearestCommand("inf"), "info");
    EXPECT_EQ(nearestCommand("levels"), "");
    EXPECT_EQ(nearestCommand("cheese"), "");
    TempDir dir;
    const std::string named = dir.file("chek");
    writeBytes(named, "");
    EXPECT_EQ(parse({named.c_str()}).line.command, CommandLine::Command::Window);

    Parsed window = parse({"--template", "t.atr", "--emulator", "emu -x %f", "levels.atr"});
    EXPECT_EQ(window.line.command, CommandLine::Command::Window);
    EXPECT_EQ(window.line.file, "levels.atr");
    EXPECT_EQ(window.line.templatePath, "t.atr");
    EXPECT_EQ(window.line.emulator, "emu -x %f");
    EXPECT_EQ(parse({}).line.command, CommandLine::Command::Window);
    EXPECT_EQ(parse({"first.atr", "ignored.atr"}).line.file, "first.atr");

    // The global options count after a command too.
    Parsed test = parse({"test", "-", "--level", "3", "--template", "t.atr", "--force"});
    EXPECT_EQ(test.line.command, CommandLine::Command::Test);
    EXPECT_EQ(test.line.file, "-");
    EXPECT_EQ(test.line.level, 3);
    EXPECT_EQ(test.line.output, "test.atr");
    EXPECT_EQ(test.line.templatePath, "t.atr");
    EXPECT_TRUE(test.line.force);
    EXPECT_EQ(parse({"--version", "info", "x.atr"}).out, version.out);
    EXPECT_EQ(parse({"info", "x.atr", "--version"}).out, version.out);

    // A file that cannot be read, or that the editor would refuse (for
    // check that is a finding): status 1, "zelbun-kreator: FILE: reason",
    // nothing on stdout.
    writeBytes(dir.file("notes.txt"), "hello");
    for (const char* command : {"info", "check", "test", "export"})
        for (const std::string& file : {std::string("/nonexistent/levels.atr"), dir.file("notes.txt")}) {
            if (command[0] == 'c' && file.back() == 't')
                continue;
            std::vector<const char*> args = {command, file.c_str()};
            if (command[0] == 't' || command[0] == 'e')
                args.insert(args.end(), {"--level", "1", "-o", "/nonexistent/out"});
            const Ran result = run(args);
            EXPECT_EQ(result.status, 1) << command;
            EXPECT_EQ(result.err.rfind("zelbun-kreator: " + file + ": ", 0), 0u) << result.err;
            EXPECT_EQ(result.out, "") << command;
        }
    const Ran refused = run({"info", dir.file("notes.txt").c_str()});
    EXPECT_NE(refused.err.find("not an ATR disk image"), std::string::npos) << refused.err;
    EXPECT_EQ(run({"info", "-"}, "hello").err, "zelbun-kreator: standard input: not an ATR disk image (no 96 02 signature)\n");
    EXPECT_EQ(run({"info", "-"}, std::string(kGameImageReadLimit + 1, '\x96')).err,
              "zelbun-kreator: standard input: too large (over 65536 bytes)\n");
}

TEST(CommandLine, InfoAsTextAndJson)
{
    TempDir dir;
    const std::string path = writeSet(dir);
    Ran text = run({"info", path.c_str()});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(text.out.rfind(path + ": 12444 bytes, 2 levels\norder: 82 87 00", 0), 0u) << text.out;
    EXPECT_NE(text.out.find("\nlevel 1: screws to collect 1 (drawn 2), wall pattern 2, colours 94 36 0E C8 12 48\n"),
              std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\nlevel 2: screws to collect 2 (drawn 2), wall pattern 7"), std::string::npos);
    EXPECT_NE(text.out.find("\npage Start:\n  |ZAąś 1 "), std::string::npos);

    // The same set from standard input, with a screw count the game cannot
    // show: the JSON carries it as a warning, and so does stderr.
    std::string bytes = readAll(path);
    bytes[kLevelListOffset + 501] = char(0xAB);
    Ran json = run({"info", "--json", "-"}, bytes);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.err, "zelbun-kreator: standard input: warning: level 2: screw count 0xAB is not two decimal digits, "
                        "read as 99\n");
    const nlohmann::json info = nlohmann::json::parse(json.out);
    EXPECT_EQ(info["format"], 1);
    EXPECT_EQ(info["file"], "-");
    EXPECT_EQ(info["size"], 11428 + 2 * 508);
    EXPECT_EQ(info["order"][0], 0x82);
    ASSERT_EQ(info["levels"].size(), 2u);
    const nlohmann::json& second = info["levels"][1];
    EXPECT_EQ(second["slot"], 2);
    EXPECT_EQ(second["screws"], 99);
    EXPECT_EQ(second["screwsDrawn"], 2);
    EXPECT_EQ(second["wallPattern"], 7);
    EXPECT_EQ(second["colours"], nlohmann::json({0x94, 0x36, 0x0E, 0xC8, 0x17, 0x48}));
    EXPECT_EQ(second["rows"][9][6], 0xEE);
    EXPECT_EQ(info["pages"]["start"][0], "ZAąś 1                          ");
    EXPECT_EQ(info["pages"]["end"].size(), 8u);
    EXPECT_EQ(info["warnings"], nlohmann::json({"level 2: screw count 0xAB is not two decimal digits, read as 99"}));

#ifndef _WIN32
    // A file name that is no UTF-8 is replaced, not the end of the output.
    // (Windows names are UTF-16, always UTF-8 once converted.)
    const std::string odd = dir.file("set\xff\xfe.atr");
    writeBytes(odd, readAll(path));
    json = run({"info", "--json", odd.c_str()});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(nlohmann::json::parse(json.out)["file"], dir.file("set\uFFFD\uFFFD.atr").c_str());
    EXPECT_TRUE(nlohmann::json::parse(json.out)["warnings"].empty());
#endif
}

// Output that cannot be written fails the command, whatever it printed.
TEST(CommandLine, FailedOutputIsAFailure)
{
    TempDir dir;
    CommandLine line;
    line.command = CommandLine::Command::Info;
    line.file = writeSet(dir);
    line.dataDirs = {dataDir};
    std::istringstream in;
    FullStream full;
    std::ostringstream err;
    EXPECT_EQ(runCommand(line, {in, full, err}), 1);
    EXPECT_EQ(err.str().rfind("zelbun-kreator: standard output: ", 0), 0u) << err.str();

    line.command = CommandLine::Command::Test;
    line.level = 1;
    line.output = "-";
    FullStream fullAgain;
    EXPECT_EQ(runCommand(line, {in, fullAgain, err}), 1);
}

TEST(CommandLine, TestImageIsTheEditorsTestExport)
{
    TempDir dir;
    const std::string set = writeSet(dir), output = dir.file("cli.atr");
    const Ran written = run({"test", set.c_str(), "--level", "2", "-o", output.c_str()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, output + ": 11679 bytes, level 2\n");

    LoadedEditor loaded(set);
    char path[PATH_MAX] = "";
    std::strcpy(path, dir.file("editor.atr").c_str());
    ASSERT_EQ(loaded.editor->saveMap(path, 1), 1);
    const std::string image = readAll(output);
    EXPECT_EQ(image.size(), 11679u);
    EXPECT_EQ(image, readAll(path));

    // From standard input to standard output: the image and nothing else.
    const Ran piped = run({"test", "-", "--level", "2", "-o", "-"}, readAll(set));
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, image);

    // A read-only file is replaced only when asked to.
    chmod(output.c_str(), 0444);
    const Ran refused = run({"test", set.c_str(), "--level", "1", "-o", output.c_str()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "zelbun-kreator: " + output + ": the file is read-only; --force replaces it\n");
    EXPECT_EQ(readAll(output), image);
    EXPECT_EQ(run({"test", set.c_str(), "--level", "1", "-o", output.c_str(), "--force"}).status, 0);
    EXPECT_NE(readAll(output), image);

    // An empty slot is an error, not an empty test level.
    const Ran empty = run({"test", set.c_str(), "--level", "5"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "zelbun-kreator: " + set + ": level 5 is empty\n");
}

TEST(CommandLine, ExportDrawsWhatTheEditorShows)
{
    TempDir dir;
    CommandLine line;
    line.file = writeSet(dir);
    line.dataDirs = {dataDir};
    line.level = 2;
    line.output = dir.file("level.png");
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(runExport(line, {in, out, err}), 0) << err.str();
    EXPECT_EQ(out.str(), line.output + ": 256 x 496, 1 level\n");
    const Picture level = decodePng(line.output);
    ASSERT_EQ(level.width, 256);
    ASSERT_EQ(level.height, 496);

    // The editor's own canvas, level 2 current.
    LoadedEditor loaded(line.file);
    frame& editor = *loaded.editor;
    editor.currentLevel = 1;
    editor.paint();
    int differences = 0;
    for (int y = 0; y < 496; ++y)
        for (int x = 0; x < 256; ++x) {
            Uint32 pixel = static_cast<Uint32*>(loaded.screen->pixels)[(editor.mapY + y) * loaded.screen->pitch / 4 + editor.mapX + x];
            const uint8_t* png = &level.rgb[3 * (y * 256 + x)];
            differences += png[0] != ((pixel >> 16) & 0xFF) || png[1] != ((pixel >> 8) & 0xFF) || png[2] != (pixel & 0xFF);
        }
    EXPECT_EQ(differences, 0);
    // Its own colours: the level's register 4 (0x17) is the empty floor's
    // black, not the first level's (0x12).
    std::vector<uint8_t> floor(level.rgb.begin() + 3 * (20 * 256 + 200), level.rgb.begin() + 3 * (20 * 256 + 201));
    const Uint32 expected = getpixel(editor.paletteSheet.get(), 0x10, 7 * 8);
    Uint8 r, g, b;
    SDL_GetRGB(expected, editor.paletteSheet->format, &r, &g, &b);
    EXPECT_EQ(floor, (std::vector<uint8_t>{r, g, b}));

    // --all: both levels side by side, the second as the single export;
    // written to standard output, it is the same picture.
    const std::string sheetPath = dir.file("sheet.png");
    const Ran all = run({"export", line.file.c_str(), "--all", "-o", "-"});
    ASSERT_EQ(all.status, 0) << all.err;
    writeBytes(sheetPath, all.out);
    const Picture sheet = decodePng(sheetPath);
    ASSERT_EQ(sheet.width, 2 * 256 + 8);
    ASSERT_EQ(sheet.height, 496);
    for (int y = 0; y < 496; ++y)
        ASSERT_EQ(std::memcmp(&sheet.rgb[3 * (y * sheet.width + 264)], &level.rgb[3 * y * 256], 3 * 256), 0) << y;
}

// Every kind of mistake, each said once by what it is, with its level,
// entry, page or byte; a good set passes silently.
TEST(CommandLine, CheckFindsEachMistake)
{
    TempDir dir;
    const std::string good = writeSet(dir, false);
    EXPECT_EQ(run({"check", good.c_str()}).out, "");
    EXPECT_EQ(run({"check", good.c_str()}).status, 0);

    // Level 1 loses its robot and gets a screw count that is no number, and
    // a code the tile set does not know; level 2 gets a second robot and
    // more screws to collect than drawn; "Koniec" a screen code the game
    // shows as no typable character.
    std::string bytes = readAll(good);
    const size_t level2 = kLevelListOffset, level1 = kLevelListOffset + kSegmentSize;  // saved from the top slot down
    bytes[level1 + 4 + 1 * 16 + 1] = 0;
    bytes[level1 + 501] = char(0xAB);
    bytes[level1 + 4 + 9 * 16 + 6] = char(0xEE);
    bytes[level2 + 4 + 20 * 16 + 10] = 4;
    bytes[level2 + 501] = 0x05;
    bytes[kPageOffsets[1] + 2 * kPageColumns + 3] = 65;
    const std::string bad = dir.file("bad.atr");
    writeBytes(bad, bytes);
    Ran found = run({"check", bad.c_str()});
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.out, bad + ": level 1: screw count 0xAB is not two decimal digits, read as 99\n" +
                             bad + ": page Koniec: 1 character the game cannot show (the first, 41: line 3, column 4)\n" +
                             bad + ": level 1: no robot\n" +
                             bad + ": level 1: 99 screws to collect, 2 drawn\n" +
                             bad + ": level 1: unknown code EE in 1 cell (the first: column 7, row 10)\n" +
                             bad + ": level 2: 2 robots (the second: column 11, row 21)\n" +
                             bad + ": level 2: 5 screws to collect, 2 drawn\n");
    EXPECT_EQ(found.err, "");

    // Without a tiles.cfg, codes and screws cannot be judged: said once.
    CommandLine line;
    line.command = CommandLine::Command::Check;
    line.file = bad;
    line.dataDirs = {dir.path};
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(runCommand(line, {in, out, err}), 1);
    EXPECT_EQ(err.str(), "zelbun-kreator: no tiles.cfg found (looked in " + dir.path +
                             "); tile codes and screws are not checked\n");
    EXPECT_NE(out.str().find("level 1: no robot"), std::string::npos);
    EXPECT_EQ(out.str().find("unknown code"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("screws to collect"), std::string::npos) << out.str();

    // The game part's first segment ends before it starts, so the disk
    // does not boot. The game plays entries 82 and 85 and stops at A7, so
    // 87 after the zero is never played, and slot 5 holds no level. The
    // segment of slot 7 is moved to load over the game.
    bytes = readAll(good);
    bytes[402] = char(0xFF);
    bytes[403] = char(0x1F);
    const uint8_t order[5] = {0x82, 0x85, 0xA7, 0x00, 0x87};
    std::copy(order, order + 5, bytes.begin() + kOrderTableOffset);
    const unsigned start = 0x8E10, end = start + 0x1F7;
    const uint8_t addresses[4] = {start & 0xFF, start >> 8, end & 0xFF, end >> 8};
    std::copy(addresses, addresses + 4, bytes.begin() + level2);
    const std::string played = dir.file("order.atr");
    writeBytes(played, bytes);
    found = run({"check", played.c_str()});
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.out,
              played + ": segment at byte 11168 loads to $8E10 but its slot byte names slot 8: read as slot 8\n" +
              played + ": the game part does not boot, its segment chain breaks: segment at byte 400 ends "
                       "($1FFF) before it starts ($2000)\n" +
              played + ": order table entry 3 is $A7, not a slot ($80-$9F): the game ends the set there\n" +
              played + ": order table entry 3 ends the set, so the level listed at entry 5 is never played\n" +
              played + ": order table entry 2 ($85) names a level that no segment loads (at $5A00)\n" +
              played + ": segment at byte 11168 loads to $8E10-$9007, outside the levels' memory ($5000-$8FFF): "
                       "over the game\n");

    // An order table that lists nothing, in a file that breaks off: the
    // levels the missing part held are not guessed at.
    bytes = readAll(good);
    std::fill(bytes.begin() + kOrderTableOffset, bytes.begin() + kOrderTableOffset + 32, '\0');
    bytes.resize(kLevelListOffset + 100);
    found = run({"check", "-"}, bytes);
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.out, "standard input: file cut short (11268 bytes) in a level, which was left out\n"
                         "standard input: the order table lists no level (its first entry is $00): the game has "
                         "nothing to play\n");

    writeBytes(dir.file("text.txt"), "hello");
    found = run({"check", dir.file("text.txt").c_str()});
    EXPECT_EQ(found.out, dir.file("text.txt") + ": not an ATR disk image (no 96 02 signature)\n");
    EXPECT_EQ(found.status, 1);
}

} // namespace

namespace {

// check --solve plays every level through: a shortest solution for the one
// that can be finished, "unsolvable" and exit status 1 for the one whose
// exit is walled in; --json gives the same with the moves as a list.
TEST(CommandLine, CheckSolvesEachLevel)
{
    TempDir dir;
    LevelData levels[kLevelSlots];
    for (int slot : {0, 1}) {
        LevelData& level = levels[slot];
        level = emptyLevel(0x01);
        level.on = true;
        level.cells[1][1] = 0x04;  // robot
        for (int column = 2; column < 6; ++column)
            level.cells[column][1] = 0x00;
        level.cells[3][1] = 0x10;  // screw
        level.srubki = 1;
        level.cells[6][1] = slot == 0 ? 0x03 : 0x01;  // the exit, or a wall
    }
    levels[1].cells[6][2] = 0x03;
    TextPage pages[2];
    blankPage(pages[0]);
    blankPage(pages[1]);
    const std::vector<uint8_t> image = writeGameImage(game, gameSize, levels, pages);
    writeBytes(dir.file("solve.atr"), std::string(image.begin(), image.end()));

    CommandLine line;
    line.command = CommandLine::Command::Check;
    line.file = dir.file("solve.atr");
    line.dataDirs = {dataDir};
    line.solve = true;
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(runCheck(line, Console{in, out, err}), 1);
    const std::string text = out.str();
    const size_t first = text.find("level 1: solvable in 5 moves (");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find(" states, ", first), std::string::npos) << text;
    EXPECT_NE(text.find(" s): R R R R R\n", first), std::string::npos) << text;
    EXPECT_NE(text.find("level 2: unsolvable: none of the reachable states leads into the open exit ("), std::string::npos)
        << text;
    EXPECT_LT(first, text.find("level 2: ")) << "the levels in their order";

    line.json = true;
    std::ostringstream json;
    EXPECT_EQ(runCheck(line, Console{in, json, err}), 1);
    const nlohmann::json parsed = nlohmann::json::parse(json.str());
    EXPECT_EQ(parsed["format"], 1);
    EXPECT_EQ(parsed["levels"][0]["level"], 1);
    EXPECT_EQ(parsed["levels"][0]["verdict"], "solvable");
    EXPECT_EQ(parsed["levels"][0]["shortest"], true);
    EXPECT_EQ(parsed["levels"][0]["moves"], nlohmann::json({"R", "R", "R", "R", "R"}));
    EXPECT_EQ(parsed["levels"][1]["verdict"], "unsolvable");
    for (const nlohmann::json& level : parsed["levels"]) {
        EXPECT_GT(level["states"], 0);
        EXPECT_GE(level["seconds"], 0);
        EXPECT_FALSE(level.contains("gave_up"));
    }

    // Too few states to settle either: both unknown, the count within the
    // limit, the reason given; unknown is no mistake.
    line.json = false;
    line.maxStates = 5;
    std::ostringstream small;
    EXPECT_EQ(runCheck(line, Console{in, small, err}), 0);
    EXPECT_NE(small.str().find("level 1: unknown: gave up after 5 states ("), std::string::npos) << small.str();
    EXPECT_NE(small.str().find("level 2: unknown: gave up after 5 states ("), std::string::npos) << small.str();
}

} // namespace

namespace {

// A file five segments long whose order table lists one (another tool's, or
// a damaged one): nothing tells so quietly. `info` warns of each segment
// left out, in text and JSON; `check` reports them; the window says how
// many and where when it opens the file, and its first save over the file
// asks before dropping them. The same for a segment whose slot byte says
// another slot than its address.
TEST(CommandLine, LevelsOutsideTheOrderTableAreNeverDroppedUnseen)
{
    TempDir dir;
    LevelData levels[kLevelSlots];
    for (int slot = 0; slot < 5; ++slot) {
        levels[slot].on = true;
        levels[slot].cells[slot][0] = 4;
    }
    TextPage pages[2];
    for (auto& page : pages)
        blankPage(page);
    std::vector<uint8_t> image = writeGameImage(game, gameSize, levels, pages);
    std::fill(image.begin() + kOrderTableOffset + 1, image.begin() + kOrderTableOffset + 5, 0);
    const std::string path = dir.file("u.atr");
    writeBytes(path, std::string(image.begin(), image.end()));
    ASSERT_EQ(image.size(), 13968u);

    const Ran info = run({"info", path.c_str()});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("1 level\n"), std::string::npos) << info.out;
    for (int offset : {11168, 11676, 12184, 12692})
        EXPECT_NE(info.err.find(path + ": warning: segment at byte " + std::to_string(offset) + " is for slot "),
                  std::string::npos)
            << info.err;
    const Ran json = run({"info", "--json", path.c_str()});
    const nlohmann::json parsed = nlohmann::json::parse(json.out);
    ASSERT_EQ(parsed["warnings"].size(), 4u);
    EXPECT_EQ(parsed["warnings"][0], "segment at byte 11168 is for slot 5, which the order table does not list: "
                                     "left out");
    const Ran check = run({"check", path.c_str()});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find(path + ": segment at byte 12692 is for slot 2, which the order table does not list"),
              std::string::npos)
        << check.out;

    LoadedEditor loaded(path);
    frame& editor = *loaded.editor;
    EXPECT_EQ(editor.statusMessage, "Otwarto: u.atr (1 poziom); 4 segmenty spoza tabeli kolejnosci pominiete (w "
                                    "bajtach 11168, 11676, 12184, 12692)");
    editor.levels[0].add(9, 9, 0x30);
    loaded.platform.answerQuestion(0);  // "Anuluj"
    editor.runCommand(frame::Command::Save);
    ASSERT_EQ(loaded.platform.questions.size(), 1u);
    EXPECT_EQ(loaded.platform.questions[0].text,
              "Plik zawiera 4 mapy spoza tabeli kolejnosci; zapis je usunie. Zapisac mimo to?");
    EXPECT_EQ(readAll(path).size(), 13968u);
    loaded.platform.answerQuestion(1);  // "Zapisz"
    editor.runCommand(frame::Command::Save);
    EXPECT_EQ(readAll(path).size(), 11936u);
    editor.levels[0].add(9, 10, 0x30);
    editor.runCommand(frame::Command::Save);  // nothing left to lose: no question
    EXPECT_EQ(loaded.platform.questions.size(), 2u);

    // Slot 4's segment moved to slot 2's address: the game loads it there,
    // the editor by its slot byte.
    image[kOrderTableOffset + 3] = 0x83;
    image[kLevelListOffset + kSegmentSize + 1] = 0x54;
    writeBytes(path, std::string(image.begin(), image.end()));
    const Ran moved = run({"check", path.c_str()});
    EXPECT_EQ(moved.status, 1);
    EXPECT_NE(moved.out.find(path + ": segment at byte 11676 loads to $5400 but its slot byte names slot 4: read "
                                    "as slot 4\n"),
              std::string::npos)
        << moved.out;
}

// A template whose segment chain holds alone but breaks once the order
// table and the pages are written over it: `test` writes no image that
// would not boot, and fails.
TEST(CommandLine, TestWritesNoImageThatWouldNotBoot)
{
    TempDir dir;
    const std::string set = writeSet(dir), output = dir.file("out.atr");
    std::string broken = readAll(dataDir + "/game.atr");
    std::fill(broken.begin() + 7544, broken.begin() + 8092, char(0xFF));
    const std::string tmpl = dir.file("broken.atr");
    writeBytes(tmpl, broken);
    const Ran written = run({"test", set.c_str(), "--level", "1", "--template", tmpl.c_str(), "-o", output.c_str()});
    EXPECT_EQ(written.status, 1);
    EXPECT_EQ(written.err.find("template"), std::string::npos) << written.err;  // the template itself was taken
    EXPECT_NE(written.err.find("zelbun-kreator: " + output + ": not written: the game part does not boot, its "
                               "segment chain breaks: "),
              std::string::npos)
        << written.err;
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(run({"test", set.c_str(), "--level", "1", "-o", output.c_str()}).status, 0);
}

} // namespace
