// The editor with files that are not what they claim to be, and with an
// emulator start that fails. A FIFO and a symbolic link are POSIX's; on
// Windows a device name stands for what is not a file.
#include "editor_fixture.h"

#include "editor/eventloop.h"
#include "core/game.h"
#include "core/gameimage.h"
#include "sdl_events.h"

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

using namespace fixture;
namespace fs = std::filesystem;

namespace {

const int openX = 90, fileY = 12;

class DocumentFiles : public EditorTest {};

// Nothing is read from what is not a regular file of a game image's size:
// each is refused at once with the path and the reason, and the document
// stays as it was. A set of more than 32 levels loads its first 32.
TEST_F(DocumentFiles, OpenRefusesWhatIsNotAGameImage)
{
    build();
    ASSERT_FALSE(editor->session.save(dir.file("przed.atr")));
    editor->levels[4].add(0, 0, 5);
    const std::string big = dir.file("duzy.atr");
    dir.write("duzy.atr", std::string(kGameImageReadLimit + 1, '\0'));
    fs::create_directory(dir.file("katalog.atr"));
#ifdef _WIN32
    const std::string device = "NUL", deviceMessage = "Nie mozna otworzyc NUL: to nie jest zwykly plik";
    const std::string console = "CON", consoleMessage = "Nie mozna otworzyc CON: to nie jest zwykly plik";
#else
    const std::string device = dir.file("potok.atr");
    ASSERT_EQ(mkfifo(device.c_str(), 0600), 0);
    const std::string deviceMessage = "Nie mozna otworzyc potok.atr: to nie jest zwykly plik";
    const std::string console = "/dev/zero", consoleMessage = "Nie mozna otworzyc zero: to nie jest zwykly plik";
#endif

    const struct {
        std::string path, message;
    } refused[] = {
        {device, deviceMessage},
        {console, consoleMessage},
        {dir.file("katalog.atr"), "Nie otwarto katalog.atr: to jest katalog"},
        {big, "Nie mozna otworzyc duzy.atr: plik za duzy (65537 bajtow, najwiecej 65536)"},
    };
    for (const auto& c : refused) {
        platform.answerQuestion(1);  // "Nie zapisuj"
        platform.answerDialog(c.path);
        click(openX, fileY);
        EXPECT_EQ(editor->statusMessage, c.message);
        EXPECT_TRUE(editor->levels[4].isOn());
        EXPECT_EQ(editor->filePath, dir.file("przed.atr"));
        EXPECT_EQ(editor->loadMap(c.path.c_str()), 0);  // as from the command line
        EXPECT_EQ(editor->filePath, dir.file("przed.atr"));
    }

    LevelData levels[kLevelSlots];
    for (LevelData& level : levels)
        level.on = true;
    TextPage pages[2];
    std::memcpy(pages, editor->textPages, sizeof pages);
    std::vector<uint8_t> image = writeGameImage(game, gameSize, levels, pages);
    const size_t end = kLevelListOffset + kLevelSlots * kSegmentSize;
    image.insert(image.begin() + end, image.begin() + kLevelListOffset,
                 image.begin() + kLevelListOffset + kSegmentSize);
    dir.write("33.atr", std::string(image.begin(), image.end()));
    platform.answerQuestion(1);
    platform.answerDialog(dir.file("33.atr"));
    click(openX, fileY);
    EXPECT_EQ(editor->statusMessage, "Otwarto: 33.atr (32 poziomy); wiecej niz 32 poziomy; reszta pominieta");
    for (int slot = 0; slot < kLevelSlots; ++slot)
        EXPECT_TRUE(editor->levels[slot].isOn()) << slot;
}

// The program that opens test.atr exits with 3: the running loop collects
// it by itself and shows how it ended, with no further input.
TEST(EmulatorStart, FailureIsShownOnceTheOpenerEnds)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Surface* screen = SDL_SetVideoMode(640, 570, 32, SDL_SWSURFACE);
    ASSERT_NE(screen, nullptr);
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {
    }
    TempDir dir;
    fs::create_directory(dir.file("bin"));
    FrameOptions options;
#ifdef _WIN32
    // The emulator named on the command line, found on the search path.
    fs::copy_file(ZELBUN_BINARY_DIR "/zelbun_standin.exe", dir.file("bin/emulator.exe"));
    portable::setEnv("ZELBUN_STANDIN_STATUS", "3");
    options.emulatorCommand = "emulator";
    const std::string expected = "Nie udalo sie uruchomic emulatora (emulator.exe: kod 3)";
#else
    dir.write("bin/xdg-open", "#!/bin/sh\nexit 3\n");
    dir.write("bin/open", "#!/bin/sh\nexit 3\n");
    // The desktop's default for test images is an emulator, so the opener runs.
    dir.write("bin/xdg-mime", "#!/bin/sh\necho emulator.desktop\n");
    fs::permissions(dir.file("bin/xdg-open"), fs::perms::owner_all);
    fs::permissions(dir.file("bin/open"), fs::perms::owner_all);
    fs::permissions(dir.file("bin/xdg-mime"), fs::perms::owner_all);
#ifdef __APPLE__
    const std::string expected = "Nie udalo sie uruchomic emulatora (open: kod 3)";
#else
    const std::string expected = "Nie udalo sie uruchomic emulatora (xdg-open: kod 3)";
#endif
#endif
    std::unique_ptr<Platform> system = makeSystemPlatform(0, dir.file("bin"));
    options.dataDirs = {ZELBUN_SOURCE_DIR "/data"};
    options.platform = system.get();
    auto owner = std::make_unique<frame>(screen, options);
    frame& editor = *owner;
    ASSERT_TRUE(editor.ok()) << editor.loadError();
    std::strcpy(editor.workDir, dir.path.c_str());
    editor.levels[0].add(0, 0, kRobotCode);  // playable: no warning comes before the test
    editor.levels[0].add(1, 0, 3);           // the exit, a step away

    // Ends the loop once the message shows, or after some 20 s of waking.
    struct Watch {
        frame& editor;
        int paints = 0;
        void paint()
        {
            editor.paint();
            if (editor.statusMessage.find("kod") != std::string::npos || ++paints > 80)
                events::quit();
        }
        int mouse(int x, int y, int button) { return editor.mouse(x, y, button); }
        void keyDown(const SDL_keysym& key) { editor.keyDown(key); }
        bool mayClose() { return true; }
        bool tick() { return editor.tick(); }
    } watch{editor};
    events::click(560, 80);  // "Testuj mape"
    runEventLoop(watch, screen);

    EXPECT_EQ(editor.statusMessage, expected);
    EXPECT_FALSE(system->childrenRunning());
    owner.reset();
    SDL_Quit();
#ifdef _WIN32
    portable::unsetEnv("ZELBUN_STANDIN_STATUS");
#endif
}

} // namespace

namespace {

// A file the user may not write is replaced only after asking; it keeps
// its mode when replaced.
TEST_F(DocumentFiles, ReadOnlyFileIsReplacedOnlyWhenConfirmed)
{
    build();
    const std::string path = dir.file("zestaw.atr");
    ASSERT_FALSE(editor->session.save(path));
    const auto emptySet = fs::file_size(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    editor->levels[2].add(1, 1, 5);

    platform.answerQuestion(1);  // "Anuluj"
    editor->runCommand(frame::Command::Save);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, "Plik zestaw.atr jest tylko do odczytu. Zastapic go?");
    EXPECT_EQ(editor->statusMessage, "Nie zapisano zestaw.atr: plik tylko do odczytu");
    EXPECT_EQ(fs::file_size(path), emptySet);
    EXPECT_TRUE(editor->isModified());

    platform.answerQuestion(0);  // "Zastap"
    editor->runCommand(frame::Command::Save);
    EXPECT_EQ(fs::file_size(path), 11428u + 508u);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0444));
    EXPECT_FALSE(editor->isModified());
}

#ifndef _WIN32
// Test images are the editor's own scratch files: a link planted under
// the next one's name is replaced, and the file it pointed at stays as it
// was.
TEST_F(DocumentFiles, TestImageNeverWritesThroughALink)
{
    build();
    platform.answerQuestion(0);  // test the empty level anyway
    platform.answerQuestion(0);
    click(560, 80);  // "Testuj mape"
    ASSERT_EQ(platform.openRequests.size(), 1u);
    const std::string image = platform.openRequests[0].dir + "/test-2.atr";
    dir.write("program", "keep");
    ASSERT_EQ(chmod(dir.file("program").c_str(), 04755), 0);
    fs::create_symlink(dir.file("program"), image);
    click(560, 80);
    EXPECT_EQ(editor->statusMessage, "Uruchomiono emulator: test-2.atr");
    EXPECT_FALSE(fs::is_symlink(image));
    EXPECT_EQ(fs::file_size(image), 11679u);
    EXPECT_EQ(fs::file_size(dir.file("program")), 4u);
}
#endif

} // namespace
