// The in-window file dialog's model over an in-memory disk.
#include "core/environment.h"
#include "tests/portable.h"
#include "ui/filebrowser.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

namespace {

class MemoryFileSystem : public FileSystemView {
public:
    MemoryFileSystem() { paths["/"] = PathKind::Directory; }

    void addDirectory(const std::string& path)
    {
        if (parentDirectory(path) != path)  // not a root
            addDirectory(parentDirectory(path));
        paths[path] = PathKind::Directory;
    }
    void addFile(const std::string& path, PathKind kind = PathKind::File)
    {
        addDirectory(parentDirectory(path));
        paths[path] = kind;
    }

    PathKind kindOf(const std::string& path) override
    {
        auto it = paths.find(path);
        return it == paths.end() ? PathKind::Missing : it->second;
    }
    bool list(const std::string& dir, std::vector<RawEntry>& entries) override
    {
        if (kindOf(dir) != PathKind::Directory || unreadable.count(dir))
            return false;
        entries.clear();
        for (const auto& [path, kind] : paths)
            if (parentDirectory(path) != path && parentDirectory(path) == dir)
                entries.push_back({path.substr(path.rfind('/') + 1), kind == PathKind::Directory});
        return true;
    }

    std::map<std::string, PathKind> paths;
    std::set<std::string> unreadable;
};

std::vector<std::string> names(const std::vector<BrowserEntry>& entries)
{
    std::vector<std::string> result;
    for (const BrowserEntry& entry : entries)
        result.push_back(entry.name);
    return result;
}

int indexOf(const FileBrowser& browser, const std::string& name)
{
    const std::vector<BrowserEntry>& entries = browser.entries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].name == name)
            return static_cast<int>(i);
    ADD_FAILURE() << name << " is not listed";
    return -1;
}

DialogRequest openIn(const std::string& dir) { return {"Otworz", dir, "", false, ""}; }
DialogRequest saveIn(const std::string& dir, const std::string& current = "") { return {"Zapisz", dir, current, true, ""}; }

class FileBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        disk.addDirectory("/home/ola/gry");
        disk.addDirectory("/home/ola/Archiwum");
        disk.addFile("/home/ola/level1.atr");
        disk.addFile("/home/ola/notes.txt");
        disk.addFile("/home/ola/gry/stara.atr");
    }
    MemoryFileSystem disk;
};

TEST(PathNames, NormalisedAgainstABase)
{
    EXPECT_EQ(normalizePath("gry/a.atr", "/home/ola"), "/home/ola/gry/a.atr");
    EXPECT_EQ(normalizePath("../x", "/home/ola"), "/home/x");
    EXPECT_EQ(normalizePath("/a//b/./c/", "/ignored"), "/a/b/c");
    EXPECT_EQ(normalizePath("../../../..", "/home/ola"), "/");  // never above the root
    EXPECT_EQ(normalizePath("", "/home/ola"), "/home/ola");
    EXPECT_EQ(parentDirectory("/home/ola"), "/home");
    EXPECT_EQ(parentDirectory("/home"), "/");
    EXPECT_EQ(parentDirectory("/"), "/");
}

TEST(PathNames, EntriesArrangedByKindThenName)
{
    std::vector<RawEntry> raw = {{"zeta.atr", false}, {"b", true}, {"notes.txt", false}, {"A", true},
                                 {".hidden", true},   {"GAME.ATR", false}, {"alfa.atr", false}, {"a", true},
                                 {".x.atr", false},   {"dir.atr", true}};
    EXPECT_EQ(names(arrangeEntries(raw, false, false)),
              (std::vector<std::string>{"..", "A", "a", "b", "dir.atr", "alfa.atr", "GAME.ATR", "zeta.atr"}));
    // Every other file after the images; no ".." at the root.
    std::vector<BrowserEntry> all = arrangeEntries(raw, true, true);
    EXPECT_EQ(names(all), (std::vector<std::string>{"A", "a", "b", "dir.atr", "alfa.atr", "GAME.ATR", "zeta.atr",
                                                    "notes.txt"}));
    EXPECT_EQ(all.back().kind, EntryKind::OtherFile);
    EXPECT_EQ(all[3].kind, EntryKind::Directory);
    EXPECT_TRUE(isAtrName("x.Atr"));
    EXPECT_FALSE(isAtrName("atr"));
}

TEST_F(FileBrowserTest, StartsInTheStartDirectoryOrBesideTheCurrentFile)
{
    FileBrowser plain(disk, openIn("/home/ola"), "/", 10);
    EXPECT_EQ(plain.directory(), "/home/ola");
    EXPECT_EQ(plain.pathText(), "");  // the name line holds a name only
    EXPECT_EQ(names(plain.entries()), (std::vector<std::string>{"..", "Archiwum", "gry", "level1.atr"}));

    FileBrowser beside(disk, saveIn("/home/ola", "gry/stara.atr"), "/home/ola", 10);
    EXPECT_EQ(beside.directory(), "/home/ola/gry");
    EXPECT_EQ(beside.pathText(), "stara.atr");

    // A start directory that cannot be listed gives way to the working one.
    disk.unreadable.insert("/home/ola/gry");
    FileBrowser fallback(disk, openIn("gry"), "/home/ola", 10);
    EXPECT_EQ(fallback.directory(), "/home/ola");
    EXPECT_EQ(fallback.pathText(), "");
    EXPECT_EQ(fallback.status(), "");
}

TEST_F(FileBrowserTest, ClicksEnterDirectoriesAndPickFiles)
{
    FileBrowser browser(disk, openIn("/home/ola"), "/", 10);
    EXPECT_EQ(browser.click(indexOf(browser, "level1.atr"), 1000), FileBrowser::Outcome::SelectedFile);
    EXPECT_EQ(browser.pathText(), "level1.atr");
    EXPECT_EQ(browser.selected(), indexOf(browser, "level1.atr"));

    EXPECT_EQ(browser.click(indexOf(browser, "gry"), 2000), FileBrowser::Outcome::EnteredDirectory);
    EXPECT_EQ(browser.directory(), "/home/ola/gry");
    EXPECT_EQ(browser.pathText(), "");  // opening: the old pick is dropped
    EXPECT_EQ(browser.selected(), -1);

    EXPECT_EQ(browser.click(indexOf(browser, ".."), 3000), FileBrowser::Outcome::EnteredDirectory);
    EXPECT_EQ(browser.directory(), "/home/ola");
    EXPECT_EQ(browser.click(99, 4000), FileBrowser::Outcome::None);

    // Unreadable directory: stay, and say so.
    disk.unreadable.insert("/home/ola/Archiwum");
    EXPECT_EQ(browser.click(indexOf(browser, "Archiwum"), 5000), FileBrowser::Outcome::Rejected);
    EXPECT_EQ(browser.directory(), "/home/ola");
    EXPECT_NE(browser.status().find("/home/ola/Archiwum"), std::string::npos);
}

TEST_F(FileBrowserTest, SavingKeepsTheTypedNameAcrossDirectories)
{
    FileBrowser browser(disk, saveIn("/home/ola"), "/", 10);
    for (char c : std::string("nowa.atr"))
        browser.typeCharacter(static_cast<unsigned char>(c));
    EXPECT_EQ(browser.pathText(), "nowa.atr");
    browser.click(indexOf(browser, "gry"), 1000);
    EXPECT_EQ(browser.pathText(), "nowa.atr");
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(browser.chosenPath(), "/home/ola/gry/nowa.atr");
}

TEST_F(FileBrowserTest, DoubleClicks)
{
    FileBrowser browser(disk, openIn("/home/ola"), "/", 10);
    int level = indexOf(browser, "level1.atr");
    // Too slow for a double click: two single picks.
    browser.click(level, 1000);
    EXPECT_EQ(browser.click(level, 1000 + FileBrowser::doubleClickMs + 1), FileBrowser::Outcome::SelectedFile);
    // Quick, on the same file: chosen.
    EXPECT_EQ(browser.click(level, 2000 + FileBrowser::doubleClickMs), FileBrowser::Outcome::SelectedFile);
    EXPECT_EQ(browser.click(level, 2000 + 2 * FileBrowser::doubleClickMs), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(browser.chosenPath(), "/home/ola/level1.atr");

    // Quick clicks on two different files are two picks; the clock may wrap.
    disk.addFile("/home/ola/level2.atr");
    FileBrowser wrapped(disk, openIn("/home/ola"), "/", 10);
    wrapped.click(indexOf(wrapped, "level1.atr"), 0xFFFFFFF0u);
    EXPECT_EQ(wrapped.click(indexOf(wrapped, "level2.atr"), 5), FileBrowser::Outcome::SelectedFile);
    EXPECT_EQ(wrapped.click(indexOf(wrapped, "level2.atr"), 20), FileBrowser::Outcome::Chosen);

    // A double click on a directory enters it once; its second click must
    // not act on whatever the new listing shows in that row.
    FileBrowser deep(disk, openIn("/home/ola"), "/", 10);
    int gry = indexOf(deep, "gry");
    EXPECT_EQ(deep.click(gry, 1000), FileBrowser::Outcome::EnteredDirectory);
    EXPECT_EQ(deep.click(gry, 1100), FileBrowser::Outcome::None);
    EXPECT_EQ(deep.directory(), "/home/ola/gry");
    EXPECT_EQ(deep.pathText(), "");
}

TEST_F(FileBrowserTest, ConfirmingAnOpen)
{
    FileBrowser browser(disk, openIn("/home/ola"), "/", 10);
    browser.setPathText("gry");  // relative to the listed directory
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::EnteredDirectory);
    EXPECT_EQ(browser.directory(), "/home/ola/gry");

    browser.setPathText("brak.atr");
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Rejected);
    EXPECT_EQ(browser.status(), "Nie ma takiego pliku");
    browser.typeCharacter('x');
    EXPECT_EQ(browser.status(), "");  // editing clears the complaint

    disk.addFile("/home/ola/fifo", PathKind::Other);
    browser.setPathText("../fifo");
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Rejected);

    browser.setPathText("../level1.atr");
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(browser.chosenPath(), "/home/ola/level1.atr");
}

TEST_F(FileBrowserTest, ConfirmingASaveAsksBeforeOverwriting)
{
    FileBrowser browser(disk, saveIn("/home/ola", "/home/ola/level1.atr"), "/", 10);
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::AskOverwrite);
    EXPECT_FALSE(browser.status().empty());
    // Editing the name, even back to the same one, asks again.
    browser.keepName();
    browser.eraseCharacter();
    browser.typeCharacter('r');
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::AskOverwrite);
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(browser.chosenPath(), "/home/ola/level1.atr");

    // A double click on an existing file still asks.
    FileBrowser clicked(disk, saveIn("/home/ola"), "/", 10);
    int level = indexOf(clicked, "level1.atr");
    clicked.click(level, 100);
    EXPECT_EQ(clicked.click(level, 200), FileBrowser::Outcome::AskOverwrite);

    // A new name is fine; a missing directory or a bare directory is not.
    clicked.setPathText("/home/ola/nowa");
    EXPECT_EQ(clicked.confirm(), FileBrowser::Outcome::Chosen);
    clicked.setPathText("/home/nikt/nowa.atr");
    EXPECT_EQ(clicked.confirm(), FileBrowser::Outcome::Rejected);
    EXPECT_EQ(clicked.status(), "Nie ma takiego katalogu");
    clicked.setPathText("/home/ola/nowy/");
    EXPECT_EQ(clicked.confirm(), FileBrowser::Outcome::Rejected);
}

// Typed absolute and "~/" paths replace the listed directory; the arrow
// keys select, Enter opens a selected directory; saving adds the extension
// before asking about an existing file.
TEST_F(FileBrowserTest, TypedPathsArrowKeysAndTheExtension)
{
    portable::setEnv("HOME", "/home/ola");
    FileBrowser browser(disk, openIn("/home/ola/gry"), "/", 10);
    browser.setPathText("/home/ola/level1.atr");
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(browser.chosenPath(), "/home/ola/level1.atr");
    browser.setPathText("~/level1.atr");
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(browser.chosenPath(), "/home/ola/level1.atr");

    FileBrowser keys(disk, openIn("/home/ola"), "/", 10);  // .., Archiwum, gry, level1.atr
    for (int i = 0; i < 5; ++i)  // past the end stays on the last
        keys.moveSelection(1);
    EXPECT_EQ(keys.pathText(), "level1.atr");
    keys.moveSelection(-1);
    EXPECT_EQ(keys.selected(), indexOf(keys, "gry"));
    EXPECT_EQ(keys.confirm(), FileBrowser::Outcome::EnteredDirectory);
    EXPECT_EQ(keys.directory(), "/home/ola/gry");

    DialogRequest save = saveIn("/home/ola");
    save.extension = ".atr";
    FileBrowser saving(disk, save, "/", 10);
    saving.setPathText("level1");
    EXPECT_EQ(saving.confirm(), FileBrowser::Outcome::AskOverwrite);
    EXPECT_EQ(saving.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(saving.chosenPath(), "/home/ola/level1.atr");
    EXPECT_EQ(displayName("gry\xC5\xBC.atr"), "gry?.atr");
}

TEST_F(FileBrowserTest, ScrollingStaysWithinTheList)
{
    for (int i = 0; i < 50; ++i)
        disk.addFile("/many/f" + std::to_string(100 + i) + ".atr");
    FileBrowser browser(disk, openIn("/many"), "/", 10);
    ASSERT_EQ(browser.entries().size(), 51u);  // with ".."
    EXPECT_EQ(browser.scrollPositions(), 42);
    browser.scrollBy(-3);
    EXPECT_EQ(browser.topRow(), 0);
    browser.scrollBy(100);
    EXPECT_EQ(browser.topRow(), 41);
    browser.scrollTo(7);
    EXPECT_EQ(browser.topRow(), 7);

    // Fewer entries than rows: nothing to scroll.
    FileBrowser small(disk, openIn("/home/ola"), "/", 10);
    EXPECT_EQ(small.scrollPositions(), 1);
    small.scrollBy(5);
    EXPECT_EQ(small.topRow(), 0);
}

TEST_F(FileBrowserTest, AllFilesToggleKeepsTheSelection)
{
    FileBrowser browser(disk, openIn("/home/ola"), "/", 10);
    EXPECT_EQ(indexOf(browser, "level1.atr"), 3);
    browser.click(3, 1000);
    browser.setShowAllFiles(true);
    EXPECT_EQ(names(browser.entries()), (std::vector<std::string>{"..", "Archiwum", "gry", "level1.atr", "notes.txt"}));
    EXPECT_EQ(browser.selected(), 3);
    // The rearranged list breaks a double click in progress.
    browser.setShowAllFiles(false);
    EXPECT_EQ(browser.click(3, 1100), FileBrowser::Outcome::SelectedFile);
}

TEST_F(FileBrowserTest, PathLineTakesUnicodeAsUtf8)
{
    FileBrowser browser(disk, saveIn("/home/ola"), "/", 10);
    browser.setPathText("");
    browser.typeCharacter(0x17C);  // z with a dot
    browser.typeCharacter(0x20AC);  // euro sign
    browser.typeCharacter('a');
    browser.typeCharacter('\r');   // control characters are ignored
    browser.typeCharacter(0xD800);  // a lone surrogate too
    EXPECT_EQ(browser.pathText(), "\xC5\xBC\xE2\x82\xAC" "a");
    browser.eraseCharacter();
    browser.eraseCharacter();
    EXPECT_EQ(browser.pathText(), "\xC5\xBC");
    browser.eraseCharacter();
    browser.eraseCharacter();  // erasing an empty line is harmless
    EXPECT_EQ(browser.pathText(), "");

    browser.setPathText(std::string(5000, 'a'));
    EXPECT_EQ(browser.pathText().size(), FileBrowser::maxPathLength);
    browser.typeCharacter('b');
    EXPECT_EQ(browser.pathText().size(), FileBrowser::maxPathLength);
}

#ifdef _WIN32
// Windows paths: backslashes separate as slashes do, a drive letter or a
// share is a root with nothing above it, "/" alone starts at the root of
// the drive the browser is on; the answer is written with "/".
TEST(PathNames, DrivesSharesAndBackslashes)
{
    EXPECT_EQ(normalizePath("gry\\a.atr", "C:/Users/ola"), "C:/Users/ola/gry/a.atr");
    EXPECT_EQ(normalizePath("d:\\Gry\\..\\x.atr", "C:/Users/ola"), "D:/x.atr");
    EXPECT_EQ(normalizePath("D:", "C:/Users/ola"), "D:/");
    EXPECT_EQ(normalizePath("..\\..\\..\\..", "C:\\Users\\ola"), "C:/");
    EXPECT_EQ(normalizePath("\\Windows", "E:/gry"), "E:/Windows");
    EXPECT_EQ(normalizePath("\\\\serwer\\dysk\\..\\..\\a.atr", "C:/"), "//serwer/dysk/a.atr");
    EXPECT_EQ(parentDirectory("C:/Users"), "C:/");
    EXPECT_EQ(parentDirectory("C:/"), "C:/");
    EXPECT_EQ(parentDirectory("//serwer/dysk/a"), "//serwer/dysk/");
}

TEST(FileBrowserOnWindows, TypedDrivesAndBackslashes)
{
    MemoryFileSystem disk;
    disk.addFile("C:/Users/ola/gry/stara.atr");
    disk.addFile("D:/Zapas/kopia.atr");
    FileBrowser browser(disk, openIn(""), "C:\\Users\\ola", 10);
    EXPECT_EQ(browser.directory(), "C:/Users/ola");
    browser.setPathText("d:\\");
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::EnteredDirectory);
    EXPECT_EQ(browser.directory(), "D:/");
    EXPECT_EQ(names(browser.entries()), std::vector<std::string>{"Zapas"});  // no ".." above a drive
    browser.click(0, 0);
    EXPECT_EQ(browser.directory(), "D:/Zapas");
    browser.click(0, 1000);  // ".."
    EXPECT_EQ(browser.directory(), "D:/");
    browser.setPathText("C:\\Users\\ola\\gry\\stara.atr");
    EXPECT_EQ(browser.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(browser.chosenPath(), "C:/Users/ola/gry/stara.atr");

    DialogRequest save = saveIn("C:/Users/ola/gry");
    save.extension = ".atr";
    FileBrowser saving(disk, save, "C:/", 10);
    saving.setPathText("..\\nowa");
    EXPECT_EQ(saving.confirm(), FileBrowser::Outcome::Chosen);
    EXPECT_EQ(saving.chosenPath(), "C:/Users/ola/nowa.atr");
    saving.setPathText("C:\\Users\\nowy\\");
    EXPECT_EQ(saving.confirm(), FileBrowser::Outcome::Rejected);
}

// Without HOME, "~" is %USERPROFILE%, whose name may lie outside the ANSI
// code page.
TEST(FileBrowserOnWindows, HomeIsTheUsersProfile)
{
    const std::optional<std::string> home = environmentVariable("HOME"),
                                     profile = environmentVariable("USERPROFILE");
    portable::unsetEnv("HOME");
    portable::setEnv("USERPROFILE", "C:\\Users\\Łukasz");
    EXPECT_EQ(expandHome("~/gry/a.atr"), "C:/Users/Łukasz/gry/a.atr");
    if (home)
        portable::setEnv("HOME", *home);
    if (profile)
        portable::setEnv("USERPROFILE", *profile);
}
#endif

}  // namespace
