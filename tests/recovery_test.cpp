// Work kept safe: the autosave written while the document is modified and
// offered back after a crash, and the files used last.
#include "editor_fixture.h"

#include "core/fileio.h"
#include "core/game.h"
#include "core/gameimage.h"
#include "ui/filebrowser.h"

#include <filesystem>
#ifdef _WIN32
#include "core/winpath.h"
#endif

using namespace fixture;
namespace fs = std::filesystem;

namespace {

// Names are UTF-8, whatever the system's code page.
bool there(const std::string& path)
{
    return fs::exists(fs::u8path(path));
}

class RecoveryTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        stateDir = dir.file("stan ż/zelbun-kreator");
        build();
    }
    // One undo step: a click on a cell with the current tile.
    void stroke(int column, int row)
    {
        const layout::Point at = layout::canvasCellRect(column, row).centre();
        click(at.x, at.y);
    }
};

// Nothing is written while the document is as saved. A change is written
// 30 s after it (not before), and 20 steps are written at once; the
// autosave is named after the document, Polish letters and all. A crash
// leaves it: the next start asks, and restoring gives the set back,
// modified and with its path. Saving removes it.
TEST_F(RecoveryTest, AutosaveIsWrittenAndOfferedAfterACrash)
{
    const std::string document = dir.file("zażółć.atr");
    ASSERT_FALSE(editor->session.save(document));
    const std::string autosave = autosavePath(stateDir, document);
    EXPECT_EQ(fs::u8path(autosave).filename().u8string().rfind("zażółć-", 0), 0u) << autosave;
    editor->tick();
    EXPECT_FALSE(there(autosave));

    editor->currentTile = 1;  // code 5
    stroke(3, 4);
    EXPECT_TRUE(editor->tick());  // an autosave is due: keep waking
    now += Autosave::interval - 1;
    editor->tick();
    EXPECT_FALSE(there(autosave));
    now += 1;
    editor->tick();
    ASSERT_TRUE(there(autosave));
    EXPECT_FALSE(editor->tick());  // nothing new to write

    for (int i = 0; i < Autosave::steps - 1; ++i)
        stroke(i % 16, 10 + i / 16);
    editor->tick();
    EXPECT_EQ(fs::file_size(fs::u8path(autosave)), 11428u + 508u);  // still the one level of the first stroke's set
    stroke(15, 20);
    editor->tick();  // the twentieth step: written at once
    std::vector<uint8_t> bytes;
    ASSERT_FALSE(readFile(autosave, bytes, 1 << 20));
    LoadResult written = readGameImage(bytes.data(), bytes.size(), 0);
    EXPECT_EQ(written.levels[0].cells[15][20], 5);

    // The crash: the editor goes without being asked to close. The file
    // on disk is older than the autosave.
    editor.reset();
    fs::last_write_time(fs::u8path(document), fs::last_write_time(fs::u8path(autosave)) - std::chrono::seconds(5));
    buildOnFiles();
    platform.answerQuestion(0);  // "Przywroc"
    ASSERT_TRUE(editor->offerRecovery(document));
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].text.find("zażółć.atr"), std::string::npos);
    EXPECT_EQ(editor->filePath, document);
    EXPECT_TRUE(editor->isModified());
    EXPECT_EQ(editor->levels[0].get(15, 20), 5);
    EXPECT_EQ(editor->levels[0].get(3, 4), 5);
    EXPECT_NE(editor->windowTitle().find("zażółć.atr *"), std::string::npos);

    editor->runCommand(frame::Command::Save);
    EXPECT_FALSE(editor->isModified());
    EXPECT_FALSE(there(autosave));
    // An autosave older than its document is not offered.
    buildOnFiles();
    EXPECT_FALSE(editor->offerRecovery(document));
    EXPECT_EQ(platform.questions.size(), 1u);
}

// Without a file the autosave is "bez nazwy"; "Nie zapisuj" on closing
// throws it away with the work.
TEST_F(RecoveryTest, DiscardingRemovesTheAutosave)
{
    stroke(1, 1);
    editor->tick();
    now += Autosave::interval;
    editor->tick();
    const std::string autosave = autosavePath(stateDir, "");
    EXPECT_EQ(fs::u8path(autosave).filename(), "bez nazwy.atr");
    ASSERT_TRUE(there(autosave));
    platform.answerQuestion(1);  // "Nie zapisuj"
    EXPECT_TRUE(editor->mayClose());
    EXPECT_FALSE(there(autosave));
}

// A set another window has open is said so on opening; this window's
// autosave goes under a name of its own, beside the other's.
TEST_F(RecoveryTest, ASetOpenInAnotherWindowIsSaidSo)
{
    const std::string document = dir.file("wspolny.atr");
    ASSERT_FALSE(editor->session.save(document));
    Session other(0, embeddedGame(), embeddedGame());
    Voice quiet{[](const std::string&) {}, [](const std::string&) {}, [](const std::string&) {},
                [](const Question&) { return 0; }};
    Autosave otherAutosave(other, stateDir, [this] { return now; }, quiet);
    ASSERT_FALSE(other.open(document).error);
    otherAutosave.follow();

    buildOnFiles();
    ASSERT_EQ(editor->loadMap(document.c_str()), 1);
    EXPECT_EQ(editor->statusMessage, "Otwarto: wspolny.atr (0 poziomow). Ten zestaw jest juz otwarty w innym oknie");
    EXPECT_TRUE(editor->statusIsError);
    editor->currentTile = 1;  // code 5
    for (int i = 0; i < Autosave::steps; ++i)
        stroke(i % 16, 1 + i / 16);
    editor->tick();
    EXPECT_EQ(editor->autosave->file(), autosavePath(stateDir, document, 2));
}

// Opened and saved files are listed newest first, at most ten, by their
// whole names in the system's spelling, kept for the next run; "Otworz"
// hands them to the dialog and Ctrl+1 opens the newest. The in-window
// dialog lists them before the directory.
TEST_F(RecoveryTest, RecentFilesAreListed)
{
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        names.push_back(absoluteFilePath(dir.file("set" + std::to_string(i) + ".atr")));
        platform.answerDialog(names.back());
        editor->runCommand(frame::Command::SaveAs);
    }
    ASSERT_FALSE(editor->isModified());
    editor->runCommand(frame::Command::Open);  // the dialog is cancelled
    ASSERT_FALSE(platform.dialogRequests.empty());
    const std::vector<std::string>& offered = platform.dialogRequests.back().recentFiles;
    ASSERT_EQ(offered.size(), RecentFiles::limit);
    EXPECT_EQ(offered[0], names[11]);
    EXPECT_EQ(offered[9], names[2]);

    // Kept for the next run, and reopening one moves it to the front.
    buildOnFiles();
    editor->runCommand(frame::Command::New);
    SDL_keysym key = {};
    key.sym = SDLK_3;
    key.mod = KMOD_LCTRL;
    editor->keyDown(key);
    EXPECT_EQ(editor->filePath, names[9]);
    EXPECT_EQ(editor->recent.paths()[0], names[9]);
    EXPECT_EQ(editor->recent.paths()[1], names[11]);

    struct Disk : FileSystemView {
        PathKind kindOf(const std::string& path) override
        {
            return isAtrName(path) ? PathKind::File : PathKind::Directory;
        }
        bool list(const std::string&, std::vector<RawEntry>& entries) override
        {
            entries = {{"other.atr", false}, {"sub", true}};
            return true;
        }
    } disk;
    DialogRequest request;
    request.recentFiles = editor->recent.paths();
    FileBrowser browser(disk, request, "/work", 10);
    ASSERT_GE(browser.entries().size(), 3u);
    EXPECT_EQ(browser.entries()[0].kind, EntryKind::Recent);
    EXPECT_EQ(browser.entries()[0].name, names[9]);
    EXPECT_EQ(browser.click(0, 1000), FileBrowser::Outcome::SelectedFile);
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(absoluteFilePath(browser.chosenPath()), names[9]);
}

#ifdef _WIN32
// Windows ignores case in names: "C:\GRY\ZESTAW.ATR" is the file
// "C:\Gry\zestaw.atr", with the same autosave and one place among the
// recent files.
TEST_F(RecoveryTest, OnWindowsCaseMakesNoOtherFile)
{
    const std::string lower = absoluteFilePath(dir.file("zażółć.atr"));
    const std::string upper = foldedName(lower);
    ASSERT_NE(upper, lower);
    EXPECT_EQ(foldedName(autosavePath(stateDir, upper)), foldedName(autosavePath(stateDir, lower)));

    RecentFiles recent(dir.file("recent"));
    recent.add(lower);
    recent.add(dir.file("inny.atr"));
    recent.add(upper);
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{upper, absoluteFilePath(dir.file("inny.atr"))}));
}
#endif

} // namespace
