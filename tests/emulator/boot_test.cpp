// The game boots in a real Atari emulator: the editor's own "Testuj mape"
// writes the test image of a known level, the emulator boots it, and the
// screenshots must show the Start page, then the level in its colours with
// the robot where the joystick moved it and the status line counting the
// screws, POZIOM UKONCZONY at the exit and after the last level the Koniec
// page. One push of the stick moves the robot one cell, and one press of
// the trigger fires one shot. A level opens with a look from its top down
// to the robot; a laser's beam shows; after the last life, fire continues.
//
// The checks find things by their colours and glyph shapes rather than by
// fixed screen positions, so they hold however the game lays out its screen.
#include "editor/frame.h"
#include "core/gameimage.h"
#include "core/glyphs.h"
#include "tests/fake_platform.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Where the emulator's scripts live (its build.sh): beside the project
// root, unless the environment says otherwise.
fs::path emulatorDir()
{
    if (const char* dir = std::getenv("ZELBUN_EMULATOR_SCRIPTS"))
        return dir;
    return fs::path(ZELBUN_SOURCE_DIR).parent_path() / "shared" / "emulator";
}

// Screenshots are kept here for a person to look at.
const fs::path shotDir = fs::path(ZELBUN_BINARY_DIR) / "emulator-shots";
// Boots a disk, plays input and takes screenshots on the way.
const std::string kSessionScript = ZELBUN_SOURCE_DIR "/tests/emulator/session.sh";

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

struct Shot {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

std::optional<Shot> readPng(const fs::path& path)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.string().c_str()))
        return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> buffer(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    Shot shot;
    shot.width = int(image.width);
    shot.height = int(image.height);
    for (size_t i = 0; i + 2 < buffer.size(); i += 3)
        shot.pixels.push_back({buffer[i], buffer[i + 1], buffer[i + 2]});
    return shot;
}

// Hue families of the Atari colours the levels below use.
bool isBlue(Rgb c) { return c.b > c.r + 40 && c.b > c.g + 10; }
bool isGreen(Rgb c) { return c.g > c.r + 40 && c.g > c.b + 20; }
bool isRed(Rgb c) { return c.r > c.g + 60 && c.r > c.b + 40; }

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1; // inclusive
    bool empty() const { return right < 0; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

template <class Test>
Box boxOf(const Shot& shot, Test test)
{
    Box box;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (test(shot.at(x, y))) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Squares of `side` pixels all of whose pixels pass `test`, by their
// top-left corner; overlapping finds of one square collapse to the first.
template <class Test>
std::vector<Box> solidSquares(const Shot& shot, int side, Test test)
{
    std::vector<Box> found;
    for (int y = 0; y + side <= shot.height; ++y)
        for (int x = 0; x + side <= shot.width; ++x) {
            bool solid = true;
            for (int dy = 0; dy < side && solid; ++dy)
                for (int dx = 0; dx < side && solid; ++dx)
                    solid = test(shot.at(x + dx, y + dy));
            bool known = false;
            for (const Box& b : found)
                known = known || (std::abs(b.left - x) < side && std::abs(b.top - y) < side);
            if (solid && !known)
                found.push_back({x, y, x + side - 1, y + side - 1});
        }
    return found;
}

// Where `text` (editor codes) stands on the screen in the editor's glyphs,
// each glyph pixel `sx` by `sy` screen pixels, in any two colours.
std::optional<std::pair<int, int>> findText(const Shot& shot, const std::string& text, int sx, int sy)
{
    const unsigned char* font = editorFontData();
    const int cellW = 8 * sx, cellH = 8 * sy;
    const int width = cellW * int(text.size());
    for (int y = 0; y + cellH <= shot.height; ++y)
        for (int x = 0; x + width <= shot.width; ++x) {
            std::optional<Rgb> ink, paper;
            bool match = true;
            for (int i = 0; i < int(text.size()) && match; ++i) {
                const unsigned char* glyph = font + static_cast<unsigned char>(text[i]) * 8;
                for (int py = 0; py < cellH && match; ++py)
                    for (int px = 0; px < cellW && match; ++px) {
                        const bool set = glyph[py / sy] >> (7 - px / sx) & 1;
                        std::optional<Rgb>& want = set ? ink : paper;
                        const Rgb c = shot.at(x + i * cellW + px, y + py);
                        if (!want)
                            want = c;
                        match = *want == c;
                    }
            }
            if (match && ink && paper && *ink != *paper)
                return std::make_pair(x, y);
        }
    return std::nullopt;
}

// Text in the game's text modes: one screen pixel a glyph pixel (the text
// pages and a status line in the small font), or twice as wide.
bool showsText(const Shot& shot, const std::string& text)
{
    return findText(shot, text, 1, 1) || findText(shot, text, 2, 1) || findText(shot, text, 2, 2);
}

std::string run(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Tile codes and screen places of the known levels.
constexpr int kFloor = 0x00, kWall = 0x01, kExit = 0x03, kRobot = 0x04, kScrew = 0x10, kAmmo = 0x11;
constexpr int kLaserDown = 0x42;
constexpr int kTile = 16; // screen pixels a tile is wide in the narrow playfield

// a-ogonek, c-acute, e-ogonek, l-stroke, n-acute, o-acute, s-acute, z-dot,
// the two-cell pictures, the bar, the sign typed with '*' and '@'.
const std::string kStartText = "START \x01\x03\x05\x0C\x0E\x0F\x13\x1A \x12\x14 \x06\x07 \x11*@";
// Not the game's own "KONIEC GRY", shown when the lives run out.
const std::string kEndText = "KONIEC ZESTAWU 1.";

class EmulatorBoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(emulatorDir() / "build.sh"))
            GTEST_SKIP() << "no emulator scripts in " << emulatorDir()
                         << " (the shared folder beside the project); the boot test needs them";
        SDL_Init(SDL_INIT_VIDEO);
        char pattern[] = "/tmp/zelbun-boot-XXXXXX";
        dir = mkdtemp(pattern);
        fs::create_directories(shotDir);
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 570, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        platform.directory = dir.string();
        FrameOptions options;
        options.dataDirs = {ZELBUN_SOURCE_DIR "/data"};
        options.platform = &platform;
        editor = std::make_unique<frame>(screen, options);
        ASSERT_TRUE(editor->ok()) << editor->loadError();
        // Text pages: something to recognise on each, with the Polish
        // letters and picture signs of the editor's font.
        setLine(0, 1, kStartText);
        setLine(1, 6, kEndText);
    }
    void TearDown() override
    {
        editor.reset();
        if (screen)
            SDL_FreeSurface(screen);
        if (!dir.empty())
            fs::remove_all(dir);
    }

    void setLine(int page, int line, const std::string& text)
    {
        std::memcpy(editor->session.editPage(page)[line], text.data(), text.size());
    }

    // A level on open floor: the robot at `robot`, the given tiles, and
    // colours that tell the parts apart: playfield registers 0..2 green,
    // marker 3 grey, a blue background and a red robot.
    void makeLevel(std::pair<int, int> robot, const std::vector<std::pair<std::pair<int, int>, int>>& tiles,
                   int screws, int slot = 0)
    {
        map& level = editor->levels[slot];
        level.reset();
        level.create();
        for (int row = 0; row < 31; ++row)
            for (int column = 0; column < 16; ++column)
                level.add(column, row, kFloor);
        level.add(robot.first, robot.second, kRobot);
        for (const auto& [cell, code] : tiles)
            level.add(cell.first, cell.second, code);
        level.srubkiSet(screws);
        level.wzorekSet(0);
        level.colorSet(0x36, 0x84, 0x06, 0xC6, 0xC6, 0xC6); // registers 5 down to 0
    }

    // "Testuj mape" through the editor's own command; the image it asks the
    // system to open.
    fs::path testImage()
    {
        // The level asks for more screws than it holds on purpose (the
        // status line counts them down): test it anyway.
        platform.answerQuestion(0);
        editor->mouse(590, 80, 1);
        editor->mouse(590, 80, -1);
        EXPECT_EQ(platform.openRequests.size(), 1u);
        if (platform.openRequests.empty())
            return {};
        fs::path image = platform.openRequests.back().file;
        if (image.is_relative())
            image = fs::path(platform.openRequests.back().dir) / image;
        platform.openRequests.clear();
        return image;
    }

    // Boots the image, plays the steps and returns the screenshot, kept as
    // emulator-shots/NAME.png in the build folder.
    std::optional<Shot> boot(const fs::path& image, const std::string& name, std::vector<std::string> steps)
    {
        steps.push_back("shot " + name);
        std::map<std::string, Shot> shots = session(image, steps);
        if (!shots.count(name))
            return std::nullopt;
        return shots[name];
    }

    // Boots the image and plays the steps, where "shot NAME" saves the
    // screen as emulator-shots/NAME.png (see session.sh); returns the
    // screenshots by name.
    std::map<std::string, Shot> session(const fs::path& image, const std::vector<std::string>& steps)
    {
        std::vector<std::string> names;
        for (const std::string& step : steps)
            if (step.rfind("shot ", 0) == 0) {
                names.push_back(step.substr(5));
                fs::remove(shotDir / (names.back() + ".png"));
            }
        // The emulator needs a real (virtual) display, not the tests' dummy.
        std::string command = "env -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER " + quoted(kSessionScript) + " " +
                              quoted(emulatorDir().string()) + " " + quoted(image.string()) + " " +
                              quoted(shotDir.string()) + " 5";
        for (const std::string& step : steps)
            command += " " + quoted(step);
        int status = 0;
        std::string output = run(command + " 2>&1", status);
        if (status != 0) // once more: another X server may have taken the display it chose
            output = run(command + " 2>&1", status);
        EXPECT_EQ(status, 0) << command << "\n" << output;
        std::map<std::string, Shot> shots;
        for (const std::string& name : names) {
            std::optional<Shot> shot = readPng(shotDir / (name + ".png"));
            EXPECT_TRUE(shot) << "no screenshot " << name << "\n" << output;
            if (shot)
                shots[name] = *shot;
        }
        return shots;
    }

    fs::path dir;
    FakePlatform platform;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<frame> editor;
};

// Joystick steps: fire to leave the Start page, then right. The game reads
// the stick once a step (8 frames), so the stick is held for several steps;
// the levels stop the robot after the one step they test.
const std::vector<std::string> kFire = {"keydown Control_R", "sleep 0.3", "keyup Control_R", "sleep 1.5"};
const std::vector<std::string> kRight = {"keydown KP_6", "sleep 0.5", "keyup KP_6", "sleep 1"};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST_F(EmulatorBoot, StartPageLevelAndKoniecPage)
{
    // The robot at column 5 of row 3, a screw to its right and a wall right
    // of the screw (so a step too many is stopped); 42 screws to collect.
    makeLevel({5, 3}, {{{6, 3}, kScrew}, {{7, 3}, kWall}}, 42);
    const fs::path image = testImage();
    ASSERT_FALSE(image.empty());

    std::optional<Shot> start = boot(image, "start", {});
    ASSERT_TRUE(start);
    EXPECT_TRUE(showsText(*start, kStartText)) << "the Start page's text";

    std::optional<Shot> level = boot(image, "level", kFire + kRight);
    ASSERT_TRUE(level);
    // The background register's colour fills the floor.
    const Box floor = boxOf(*level, isBlue);
    ASSERT_FALSE(floor.empty()) << "no background colour on the screen";
    EXPECT_GE(floor.width(), 16 * kTile - 1);
    // The wall (green in all its markers) is one solid tile.
    const std::vector<Box> walls = solidSquares(*level, kTile, isGreen);
    ASSERT_EQ(walls.size(), 1u) << "one wall tile";
    // The robot, in its own colour, a tile in size, moved one cell right onto
    // the screw, next to the wall on its row.
    const Box robot = boxOf(*level, isRed);
    ASSERT_FALSE(robot.empty()) << "no robot on the screen";
    EXPECT_EQ(robot.width(), kTile);
    EXPECT_EQ(robot.height(), kTile);
    EXPECT_EQ(walls[0].left - robot.left, kTile) << "robot at x " << robot.left << ", wall at x " << walls[0].left;
    EXPECT_EQ(walls[0].top, robot.top);
    // The screw is collected: 41 still to go.
    EXPECT_TRUE(showsText(*level, "41")) << "the status line counts the screws down";

    // With no screw to collect the exit is open: stepping in ends the only
    // level with POZIOM UKONCZONY for a second, and the Koniec page follows.
    makeLevel({5, 3}, {{{6, 3}, kExit}}, 0);
    const fs::path last = testImage();
    std::map<std::string, Shot> shots =
        session(last, kFire + std::vector<std::string>{"keydown KP_6", "sleep 0.1", "keyup KP_6", "sleep 0.3",
                                                       "shot level-done", "sleep 1.5", "shot koniec"});
    ASSERT_TRUE(shots.count("level-done") && shots.count("koniec"));
    EXPECT_TRUE(showsText(shots["level-done"], "POZIOM UKONCZONY")) << "the level is done";
    EXPECT_TRUE(showsText(shots["koniec"], kEndText)) << "the Koniec page's text";
}

// A whole set saved by the editor (levels in slots 3 and 7, the long end
// marker) plays its levels in order: leaving the first by its exit starts
// the second, in its own background colour, as level 2.
TEST_F(EmulatorBoot, SavedSetPlaysItsLevelsInOrder)
{
    makeLevel({5, 3}, {{{6, 3}, kExit}}, 0, 3);
    makeLevel({5, 3}, {{{9, 3}, kWall}}, 7, 7);
    editor->levels[7].colorSet(4, 0xC4); // a green background tells it apart
    const fs::path set = dir / "set.atr";
    char path[PATH_MAX + 8];
    std::snprintf(path, sizeof path, "%s", set.string().c_str());
    ASSERT_EQ(editor->saveMap(path), 1);

    // Fire skips the second level's look over it, fire again ends the wait
    // for the first push: the status line counts.
    const std::vector<std::string> fire = {"keydown Control_R", "sleep 0.1", "keyup Control_R", "sleep 0.2"};
    std::optional<Shot> second =
        boot(set, "second-level", kFire + kRight + std::vector<std::string>{"sleep 1.2"} + fire + fire);
    ASSERT_TRUE(second);
    EXPECT_TRUE(showsText(*second, "POZ 02")) << "the status line names the second level";
    EXPECT_TRUE(showsText(*second, "SRUB 07"));
    const Box background = boxOf(*second, isGreen);
    EXPECT_GE(background.width(), 16 * kTile - 1) << "the second level's background";
    EXPECT_TRUE(boxOf(*second, isBlue).empty()) << "nothing left of the first level's colours";
}

// One push, one step, as a player taps and holds the stick: a short tap
// moves the robot exactly one cell, onto five shots of ammunition. A held
// stick moves it on; held into a pause (the status line says PAUZA) and
// let go there, the robot stands where the pause found it once the game
// goes on, as it would at the step after a release. Then the trigger
// pressed once with a direction, against a wall, spends one shot and
// moves nothing. Every check compares places after the robot has stopped
// gliding.
TEST_F(EmulatorBoot, OnePushOneStep)
{
    // Row 2: the robot at column 3, ammunition at 4, floor to the wall at 12.
    makeLevel({3, 2}, {{{4, 2}, kAmmo}, {{12, 2}, kWall}}, 0);
    const fs::path image = testImage();
    ASSERT_FALSE(image.empty());

    auto keyPress = [](const std::string& key, const char* hold) {
        return std::vector<std::string>{"keydown " + key, std::string("sleep ") + hold, "keyup " + key, "sleep 0.6"};
    };
    const std::vector<std::string> steps =
        kFire + std::vector<std::string>{"shot push-start"} + keyPress("KP_6", "0.1") +
        std::vector<std::string>{"shot push-tap", "keydown KP_6", "sleep 0.5"} + keyPress("space", "0.1") +
        std::vector<std::string>{"shot push-paused", "keyup KP_6", "sleep 0.3"} + keyPress("space", "0.1") +
        std::vector<std::string>{"sleep 1"} + keyPress("space", "0.1") + std::vector<std::string>{"shot push-released"} +
        keyPress("space", "0.1") +
        std::vector<std::string>{"keydown Control_R", "keydown KP_6", "sleep 0.2", "keyup KP_6", "keyup Control_R", "sleep 1",
                                 "shot push-fired"};
    std::map<std::string, Shot> shots = session(image, steps);
    for (const char* name : {"push-start", "push-tap", "push-paused", "push-released", "push-fired"})
        ASSERT_TRUE(shots.count(name)) << name;
    auto robot = [&](const char* name) { return boxOf(shots[name], isRed); };
    const Box start = robot("push-start"), tapped = robot("push-tap");
    ASSERT_FALSE(start.empty());
    ASSERT_FALSE(tapped.empty());
    EXPECT_EQ(tapped.left - start.left, kTile) << "a tap moves one cell";
    EXPECT_EQ(tapped.top, start.top);
    EXPECT_TRUE(showsText(shots["push-tap"], "AM 05")) << "the tap took the ammunition";

    const Box paused = robot("push-paused"), released = robot("push-released");
    EXPECT_TRUE(showsText(shots["push-paused"], "PAUZA")) << "the status line says the game is paused";
    EXPECT_GT(paused.left, tapped.left) << "the held stick walks";
    EXPECT_EQ((paused.left - start.left) % kTile, 0) << "the robot stands on a cell in the pause";
    EXPECT_EQ(released.left, paused.left) << "no step after the stick was let go";
    EXPECT_EQ(released.top, paused.top);

    const Box fired = robot("push-fired");
    EXPECT_EQ(fired.left, released.left) << "shooting moves nothing";
    EXPECT_TRUE(showsText(shots["push-fired"], "AM 04")) << "one press, one shot";
}

// The level opens with POZIOM 1 and a look from its top (the robot, far
// below, not in view yet) down to the robot, then GOTOWY?. A laser gun at
// the top fires down column 6 past the robot, and its beam shows as a thin
// line over every floor cell of that column in view. A tap into the beam
// costs a life; after the third, KONIEC GRY offers to go on, and fire
// continues at the level with three lives.
TEST_F(EmulatorBoot, LookBeamAndContinue)
{
    makeLevel({5, 20}, {{{6, 0}, kLaserDown}}, 0);
    const fs::path image = testImage();
    ASSERT_FALSE(image.empty());
    const std::vector<std::string> death = {"keydown KP_6", "sleep 0.1", "keyup KP_6", "sleep 1.6"};
    const std::vector<std::string> steps =
        std::vector<std::string>{"keydown Control_R", "sleep 0.2", "keyup Control_R", "sleep 0.3", "shot look",
                                 "sleep 2.2", "shot beam"} +
        death + death + death +
        std::vector<std::string>{"shot game-over", "keydown Control_R", "sleep 0.2", "keyup Control_R", "sleep 0.4",
                                 "shot continue", "keydown KP_4", "sleep 0.1", "keyup KP_4", "sleep 0.5",
                                 "shot continued"};
    std::map<std::string, Shot> shots = session(image, steps);
    for (const char* name : {"look", "beam", "game-over", "continue", "continued"})
        ASSERT_TRUE(shots.count(name)) << name;

    const Shot& look = shots["look"];
    EXPECT_TRUE(showsText(look, "POZIOM 1")) << "the level opens with its number";
    EXPECT_TRUE(boxOf(look, isRed).empty()) << "the look starts at the top, far from the robot";
    EXPECT_GE(boxOf(look, isBlue).width(), 16 * kTile - 1) << "the level shows";

    const Shot& ready = shots["beam"];
    EXPECT_TRUE(showsText(ready, "GOTOWY?")) << "waiting for the first push";
    const Box robot = boxOf(ready, isRed);
    ASSERT_FALSE(robot.empty()) << "the look ends at the robot";
    // The beam: column 3 of the 8 picture pixels of the next tile to the
    // right, two screen pixels wide, over the five rows above the robot's
    // and the five below, all in view.
    const int beamX = robot.left + kTile + 6, top = robot.top - 5 * kTile, bottom = robot.bottom + 5 * kTile;
    int lit = 0;
    for (int y = top; y <= bottom; ++y)
        lit += isGreen(ready.at(beamX, y)) && isGreen(ready.at(beamX + 1, y)) && isBlue(ready.at(beamX - 1, y)) &&
               isBlue(ready.at(beamX + 2, y));
    EXPECT_EQ(lit, bottom - top + 1) << "a thin line down the beam's column, x " << beamX;

    EXPECT_TRUE(showsText(shots["game-over"], "KONIEC GRY")) << "three deaths";
    EXPECT_TRUE(showsText(shots["game-over"], "FIRE: DALEJ OD POZIOMU 01")) << "the continue offered";
    EXPECT_TRUE(showsText(shots["continue"], "POZIOM 1")) << "fire continues at the level";
    EXPECT_TRUE(showsText(shots["continued"], "ZYC 3")) << "with three lives";
    EXPECT_FALSE(boxOf(shots["continued"], isRed).empty()) << "and the robot to play";
}

// A disk whose segment chain breaks fails the boot the way Atari boots
// fail (the OS says BOOT ERROR and tries again) instead of starting a game
// that was not wholly loaded: the level's segment here ends before it
// starts, so the Start page never comes.
TEST_F(EmulatorBoot, BrokenSegmentChainFailsTheBoot)
{
    makeLevel({5, 3}, {}, 0);
    const fs::path image = testImage();
    ASSERT_FALSE(image.empty());
    std::optional<Shot> intact = boot(image, "chain-intact", {});
    ASSERT_TRUE(intact);
    EXPECT_TRUE(showsText(*intact, kStartText));

    FILE* file = std::fopen(image.string().c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    const unsigned char backwards[2] = {0xFF, 0x4F}; // the level's end address: $4FFF
    std::fseek(file, long(kLevelListOffset) + 2, SEEK_SET);
    std::fwrite(backwards, 1, 2, file);
    std::fclose(file);
    std::optional<Shot> broken = boot(image, "chain-broken", {});
    ASSERT_TRUE(broken);
    EXPECT_FALSE(showsText(*broken, kStartText)) << "the game started from a broken disk";
}
