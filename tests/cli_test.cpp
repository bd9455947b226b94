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

TEST(CommandLine, ParsingAndExitStatuses)
{
    Parsed help = parse({"--help"});
    EXPECT_EQ(help.line.command, CommandLine::Command::Exit);
    EXPECT_EQ(help.line.exitStatus, 0);
    EXPECT_NE(help.out.find("export"), std::string::npos);
    EXPECT_EQ(help.err, "");

    Parsed version = parse({"--version"});
    EXPECT_EQ(version.line.exitStatus, 0);
    EXPECT_EQ(version.out, std::string("zelbun-kreator ") + programVersion() + "\n");

    // Usage errors: a short usage on stderr, status 2, nothing on stdout.
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--bogus"}, {"info"}, {"export", "a.atr", "-o", "x.png"}, {"export", "a.atr", "--level", "1", "--all", "-o", "x.png"},
             {"test", "a.atr", "--level", "33"}}) {
        Parsed run = parse(bad);
        EXPECT_EQ(run.line.command, CommandLine::Command::Exit) << bad[0];
        EXPECT_EQ(run.line.exitStatus, 2) << bad[0];
        EXPECT_EQ(run.err.rfind("zelbun-kreator: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage:"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }

    Parsed window = parse({"--template", "t.atr", "--emulator", "emu -x %f", "levels.atr"});
    EXPECT_EQ(window.line.command, CommandLine::Command::Window);
    EXPECT_EQ(window.line.file, "levels.atr");
    EXPECT_EQ(window.line.templatePath, "t.atr");
    EXPECT_EQ(window.line.emulator, "emu -x %f");
    EXPECT_EQ(parse({}).line.command, CommandLine::Command::Window);
    EXPECT_EQ(parse({"first.atr", "ignored.atr"}).line.file, "first.atr");

    Parsed test = parse({"test", "levels.atr", "--level", "3"});
    EXPECT_EQ(test.line.command, CommandLine::Command::Test);
    EXPECT_EQ(test.line.level, 3);
    EXPECT_EQ(test.line.output, "test.atr");

    // A file that cannot be read: status 1, "zelbun-kreator: FILE: reason".
    for (auto command : {runInfo, runCheck, runTest, runExport}) {
        CommandLine line;
        line.file = "/nonexistent/levels.atr";
        line.level = 1;
        line.output = "/nonexistent/out";
        std::ostringstream out, err;
        EXPECT_EQ(command(line, out, err), 1);
        EXPECT_EQ(err.str().rfind("zelbun-kreator: /nonexistent/levels.atr: ", 0), 0u) << err.str();
    }
}

TEST(CommandLine, InfoAsTextAndJson)
{
    TempDir dir;
    CommandLine line;
    line.file = writeSet(dir);
    line.dataDirs = {dataDir};
    std::ostringstream out, err;
    ASSERT_EQ(runInfo(line, out, err), 0) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("Kolejnosc: 82 87 00"), std::string::npos) << text;
    EXPECT_NE(text.find("Mapa 1: srubki do zebrania 1 (na mapie 2), murek 2, kolory 94 36 0E C8 12 48"),
              std::string::npos) << text;
    EXPECT_NE(text.find("Mapa 2: srubki do zebrania 2 (na mapie 2), murek 7"), std::string::npos);
    EXPECT_NE(text.find("|ZAąś 1 "), std::string::npos);

    line.json = true;
    std::ostringstream json;
    ASSERT_EQ(runInfo(line, json, err), 0);
    const nlohmann::json info = nlohmann::json::parse(json.str());
    EXPECT_EQ(info["size"], 11428 + 2 * 508);
    EXPECT_EQ(info["order"][0], 0x82);
    ASSERT_EQ(info["levels"].size(), 2u);
    const nlohmann::json& second = info["levels"][1];
    EXPECT_EQ(second["slot"], 2);
    EXPECT_EQ(second["screws"], 2);
    EXPECT_EQ(second["screwsDrawn"], 2);
    EXPECT_EQ(second["wallPattern"], 7);
    EXPECT_EQ(second["colours"], nlohmann::json({0x94, 0x36, 0x0E, 0xC8, 0x17, 0x48}));
    EXPECT_EQ(second["rows"][9][6], 0xEE);
    EXPECT_EQ(info["pages"]["Start"][0], "ZAąś 1                          ");
    EXPECT_EQ(info["pages"]["Koniec"].size(), 8u);
    EXPECT_TRUE(info["warning"].is_null());
}

TEST(CommandLine, TestImageIsTheEditorsTestExport)
{
    TempDir dir;
    CommandLine line;
    line.file = writeSet(dir);
    line.level = 2;
    line.output = dir.file("cli.atr");
    std::ostringstream out, err;
    ASSERT_EQ(runTest(line, out, err), 0) << err.str();

    LoadedEditor loaded(line.file);
    char path[PATH_MAX] = "";
    std::strcpy(path, dir.file("editor.atr").c_str());
    ASSERT_EQ(loaded.editor->saveMap(path, 1), 1);
    const std::string written = readAll(line.output);
    EXPECT_EQ(written.size(), 11679u);
    EXPECT_EQ(written, readAll(path));

    // An empty slot is an error, not an empty test level.
    line.level = 5;
    std::ostringstream err5;
    EXPECT_EQ(runTest(line, out, err5), 1);
    EXPECT_NE(err5.str().find("level 5 is empty"), std::string::npos);
}

TEST(CommandLine, ExportDrawsWhatTheEditorShows)
{
    TempDir dir;
    CommandLine line;
    line.file = writeSet(dir);
    line.dataDirs = {dataDir};
    line.level = 2;
    line.output = dir.file("level.png");
    std::ostringstream out, err;
    ASSERT_EQ(runExport(line, out, err), 0) << err.str();
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

    // --all: both levels side by side, the second as the single export.
    line.all = true;
    line.level = 0;
    line.output = dir.file("sheet.png");
    ASSERT_EQ(runExport(line, out, err), 0) << err.str();
    const Picture sheet = decodePng(line.output);
    ASSERT_EQ(sheet.width, 2 * 256 + 8);
    ASSERT_EQ(sheet.height, 496);
    for (int y = 0; y < 496; ++y)
        ASSERT_EQ(std::memcmp(&sheet.rgb[3 * (y * sheet.width + 264)], &level.rgb[3 * y * 256], 3 * 256), 0) << y;
}

} // namespace

namespace {

std::string check(const std::string& path, int& status)
{
    CommandLine line;
    line.file = path;
    line.dataDirs = {dataDir};
    std::ostringstream out, err;
    status = runCheck(line, out, err);
    return out.str() + err.str();
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every kind of mistake, each named with its level or page and its place;
// a good set passes silently.
TEST(CommandLine, CheckFindsEachMistake)
{
    TempDir dir;
    const std::string good = writeSet(dir, false);
    int status = -1;
    EXPECT_EQ(check(good, status), "");
    EXPECT_EQ(status, 0);

    // Level 1 loses its robot, level 2 gets a second one, more screws to
    // collect than drawn, and a code the tile set does not know.
    std::string bytes = readAll(good);
    const size_t level2 = kLevelListOffset, level1 = kLevelListOffset + kSegmentSize;  // saved from the top slot down
    bytes[level1 + 4 + 1 * 16 + 1] = 0;
    bytes[level2 + 4 + 20 * 16 + 10] = 4;
    bytes[level2 + 501] = 0x05;
    bytes[level1 + 4 + 9 * 16 + 6] = char(0xEE);
    // A screen code the game shows as no typable character, on "Koniec".
    bytes[kPageOffsets[1] + 2 * kPageColumns + 3] = 65;
    writeBytes(dir.file("bad.atr"), bytes);
    std::string found = check(dir.file("bad.atr"), status);
    EXPECT_EQ(status, 1);
    for (const char* finding : {"bad.atr: Mapa 1: brak robota\n", "bad.atr: Mapa 2: 2 roboty (drugi: kolumna 11, wiersz 21)\n",
                                "bad.atr: Mapa 2: srubek do zebrania 5, na mapie 2\n",
                                "bad.atr: Mapa 1: nieznany kod EE x1 (kolumna 7, wiersz 10)\n",
                                "bad.atr: Tekst Koniec: znakow, ktorych gra nie pokaze: 1 (pierwszy 41: wiersz 3, kolumna 4)\n"})
        EXPECT_NE(found.find(finding), std::string::npos) << finding << "\nin:\n" << found;

    // An order table that lists nothing, in a file that breaks off.
    bytes = readAll(good);
    std::fill(bytes.begin() + kOrderTableOffset, bytes.begin() + kOrderTableOffset + 32, '\0');
    bytes.resize(kLevelListOffset + 100);
    writeBytes(dir.file("cut.atr"), bytes);
    found = check(dir.file("cut.atr"), status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(found.find("cut.atr: tabela kolejnosci map jest pusta"), std::string::npos) << found;
    // Said once, by what it is.
    const size_t cut = found.find("cut.atr: plik urwany (");
    EXPECT_NE(cut, std::string::npos) << found;
    EXPECT_EQ(found.find("plik urwany", cut + 20), std::string::npos) << found;

    writeBytes(dir.file("text.txt"), "hello");
    EXPECT_NE(check(dir.file("text.txt"), status).find("to nie jest obraz dysku ATR"), std::string::npos);
    EXPECT_EQ(status, 1);
}

} // namespace
