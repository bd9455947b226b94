// Test launching without a window: the private folder and the images in
// it, the folders editors that died left, the emulator's start and end
// told in the window's language, and an image whose game part would not
// boot.
#include "core/fileio.h"
#include "core/game.h"
#include "core/gameimage.h"
#include "core/messages.h"
#include "core/session.h"
#include "editor/launches.h"
#include "tests/fake_platform.h"
#include "tests/portable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class LaunchesTest : public ::testing::Test {
protected:
    void SetUp() override { base = portable::makeTempDir("zelbun-launches"); }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(fs::u8path(base), ignored);
    }
    std::unique_ptr<TestLaunches> launcher(const std::string& command = "emu %f")
    {
        Voice voice;
        voice.say = [this](const std::string& text) { said.push_back(text); };
        voice.warn = [this](const std::string& text) { said.push_back("! " + text); };
        voice.note = voice.say;
        voice.ask = [](const Question&) { return 0; };
        return std::make_unique<TestLaunches>(platform, base, command, voice);
    }
    std::vector<std::string> folders()
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::u8path(base)))
            names.push_back(entry.path().filename().u8string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string base;
    FakePlatform platform;
    std::vector<std::string> said;
    Session session{0, embeddedGame(), embeddedGame()};
};

// Each test gets its own image in the private folder; the folder goes
// with its launcher. At the start of another, the folders of launchers
// that no longer run go (their lock is free), while a running one's stays,
// and so does a folder without a lock, which an older editor may be using.
TEST_F(LaunchesTest, FoldersOfEditorsThatEndedGoAtTheNextStart)
{
    std::unique_ptr<TestLaunches> running = launcher();
    ASSERT_TRUE(running->start(session.testImage(0)));
    ASSERT_TRUE(running->start(session.setImage()));
    const std::string folder = running->folder();
    ASSERT_EQ(platform.openRequests.size(), 2u);
    EXPECT_EQ(platform.openRequests[0].file, folder + "/test.atr");
    EXPECT_EQ(platform.openRequests[1].file, folder + "/test-2.atr");
    EXPECT_EQ(platform.openRequests[1].emulatorCommand, "emu %f");
    EXPECT_EQ(said.back(), "Uruchomiono emulator: test-2.atr");

    const std::string dead = "zelbun-kreator-17", older = "zelbun-kreator-18";
    fs::create_directories(fs::u8path(base + "/" + dead));
    fs::create_directories(fs::u8path(base + "/" + older));
    std::ofstream(fs::u8path(base + "/" + dead + "/running.lock"));
    std::ofstream(fs::u8path(base + "/" + dead + "/test.atr")) << "image";
    std::ofstream(fs::u8path(base + "/" + older + "/test.atr")) << "image";

    std::unique_ptr<TestLaunches> next = launcher();
    std::vector<std::string> left = {fs::u8path(folder).filename().u8string(), older};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(folders(), left);
    running.reset();
    EXPECT_EQ(folders(), std::vector<std::string>{older});
}

// What goes wrong is said in Polish: no emulator can start, one ended
// badly, the folder cannot be made. A test image whose game part would not
// boot is not started at all.
TEST_F(LaunchesTest, FailuresAreToldInTheWindowsLanguage)
{
    std::unique_ptr<TestLaunches> launches = launcher("nosuchemulator %f");
    platform.openSucceeds = false;
    platform.openError = Error::of(Fault::programNotFound, "nosuchemulator");
    platform.openError.setting = "--emulator";
    EXPECT_FALSE(launches->start(session.testImage(0)));
    EXPECT_EQ(said.back(), "! Nie mozna uruchomic emulatora: --emulator: nosuchemulator: nie znaleziono programu");
    platform.openError = Error::of(Fault::unfinishedQuote, "");
    platform.openError.code = '\'';
    platform.openError.setting = "ZELBUN_EMULATOR";
    EXPECT_FALSE(launches->start(session.testImage(0)));
    EXPECT_EQ(said.back(), "! Nie mozna uruchomic emulatora: ZELBUN_EMULATOR: niezamkniety cudzyslow '");

    Error ended = Error::of(Fault::programKilled, "atari800");
    ended.code = 9;
    platform.endedBadly = {ended};
    platform.running = true;
    EXPECT_TRUE(launches->collect());
    EXPECT_EQ(said.back(), "! Nie udalo sie uruchomic emulatora (atari800: sygnal 9)");

    // A boot record that asks for no boot sectors: the game never loads.
    std::vector<uint8_t> image = session.testImage(0);
    const size_t before = platform.openRequests.size();
    image[17] = 0;
    platform.openSucceeds = true;
    EXPECT_FALSE(launches->start(image));
    EXPECT_EQ(said.back().rfind("! Obraz testowy nie wystartuje: czesc gry nie wystartuje", 0), 0u) << said.back();
    EXPECT_EQ(platform.openRequests.size(), before);

    std::ofstream(fs::u8path(base + "/plik")) << "x";
    base += "/plik";
    std::unique_ptr<TestLaunches> nowhere = launcher();
    EXPECT_FALSE(nowhere->start(session.testImage(0)));
    EXPECT_EQ(said.back().rfind("! Nie mozna utworzyc katalogu na obraz testowy w " + base + ": ", 0), 0u)
        << said.back();
}

} // namespace
