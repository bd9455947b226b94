// The Windows side of files and programs (run under Wine or on Windows):
// names in any script and of any length, saves that keep the file's
// attributes and leave it whole when they fail, reasons worded for the
// window, and the emulator started with its words intact, chosen by the
// command given, by the program .atr files open with, or on the search
// path. The reasons' words are checked on every system.
#include "core/error.h"
#include "core/messages.h"
#include "platform/emulator.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "core/fileio.h"
#include "core/winpath.h"
#include "platform/platform.h"
#include "tests/portable.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#endif

namespace {

// The reasons a Windows user meets most, in the window's Polish; anything
// rarer in Windows' own words, or by its number.
TEST(WindowsErrors, CommonReasonsAreWordedForTheWindow)
{
    const struct {
        unsigned long code;
        const char* text;
    } common[] = {
        {2, "nie ma takiego pliku lub katalogu"}, {3, "nie ma takiego pliku lub katalogu"},
        {5, "brak uprawnien"},                    {32, "plik jest otwarty w innym programie"},
        {39, "brak miejsca na dysku"},            {112, "brak miejsca na dysku"},
    };
    for (const auto& c : common)
        EXPECT_EQ(describe(Error::windows("C:/Gry/poziomy.atr", c.code, Step::replace), Language::polish),
                  std::string("poziomy.atr: ") + c.text + " (zastapienie pliku)");

    const std::string rare = reason(Error::windows("x.atr", 0x20001234), Language::english);
#ifdef _WIN32
    const std::string denied = reason(Error::windows("x.atr", 5), Language::english);
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), '.');
    EXPECT_EQ(denied.find('\n'), std::string::npos);
    // The window's font has ASCII only: no system words in another script.
    const std::string corrupt = reason(Error::windows("x.atr", 1392), Language::polish);
    EXPECT_TRUE(std::all_of(corrupt.begin(), corrupt.end(), [](char c) { return c > 0 && c < 0x7F; })) << corrupt;
#endif
    EXPECT_EQ(rare, "Windows error 536875572");
    EXPECT_EQ(reason(Error::windows("x.atr", 0x20001234), Language::polish), "blad systemu Windows 536875572");
}

// A command line in Windows' syntax: backslashes stay (but before a
// quote), quotes group; joining the words again for CreateProcess gives a
// line that splits back into the same words, whatever they hold.
TEST(WindowsCommandLine, SplitAndJoinAgree)
{
    std::vector<std::string> words;
    ASSERT_FALSE(splitWindowsCommandLine("\"C:\\Program Files\\Emu\\emu.exe\" -run\t%f C:\\dir\\ "
                                         "\"a \\\"b\\\\\" \"x\"\"y\"", words));
    EXPECT_EQ(words, (std::vector<std::string>{"C:\\Program Files\\Emu\\emu.exe", "-run", "%f", "C:\\dir\\",
                                               "a \"b\\", "x\"y"}));
    EXPECT_EQ(describe(splitWindowsCommandLine("emu \"unfinished", words), Language::english), "unfinished \" quote");
    EXPECT_EQ(splitWindowsCommandLine("  ", words).fault, Fault::emptyCommand);

    const std::vector<std::string> odd = {"C:\\Gry\\zażółć gęślą.exe", "", "end\\", "with space\\", "q\"uo\\\"te",
                                          "\\\\server\\share"};
    ASSERT_FALSE(splitWindowsCommandLine(joinWindowsCommandLine(odd), words));
    EXPECT_EQ(words, odd);
    EXPECT_EQ(joinWindowsCommandLine({"plain", "C:\\dir\\"}), "plain C:\\dir\\");
}

// Chosen with Windows' syntax, a user's command keeps its backslashes,
// names its program by a path with ":" or "\\", and takes %f as one word.
TEST(WindowsCommandLine, TheUsersCommandKeepsItsPaths)
{
    EmulatorLookup lookup;
    lookup.syntax = CommandSyntax::windows;
    lookup.findProgram = [](const std::string& name) { return name == "emu" ? "C:\\Bin\\emu.exe" : ""; };
    const std::string image = "C:\\Temp\\zelbun kreator\\test.atr";
    TestCommand command = chooseTestCommand("D:\\Emu\\run.exe /boot %f", "", image, lookup);
    EXPECT_EQ(command.argv, (std::vector<std::string>{"D:\\Emu\\run.exe", "/boot", image}));
    command = chooseTestCommand("", "emu --disk=\"%f\"", image, lookup);
    EXPECT_EQ(command.argv, (std::vector<std::string>{"C:\\Bin\\emu.exe", "--disk=" + image}));
    command = chooseTestCommand("", "", image, lookup);
    EXPECT_TRUE(command.argv.empty());
    EXPECT_EQ(describe(command.error, Language::polish),
              "nie znaleziono zadnego, ustaw --emulator lub ZELBUN_EMULATOR albo skojarz pliki .atr z emulatorem");
}

#ifdef _WIN32

std::wstring wide(const std::string& text)
{
    return toUtf16(text);
}

std::string contentOf(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (readFile(path, bytes, 1 << 20))
        return "(unreadable)";
    return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> bytesOf(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

// The names in a folder as Windows lists them.
std::vector<std::wstring> namesIn(const std::string& dir)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((extendedPath(dir) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Removes a folder and all in it, whatever the length of its names.
void removeTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = dir + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(dir.c_str());
}

class WindowsFiles : public ::testing::Test {
protected:
    void SetUp() override { dir = portable::makeTempDir("zelbun-windows"); }
    void TearDown() override { removeTree(extendedPath(dir)); }
    std::string file(const std::string& name) const { return dir + "\\" + name; }
    void write(const std::string& name, const std::string& content) const
    {
        ASSERT_FALSE(writeFileAtomically(file(name), bytesOf(content)));
    }
    DWORD attributesOf(const std::string& name) const { return GetFileAttributesW(extendedPath(file(name)).c_str()); }

    std::string dir;
};

// A Polish name is stored as itself, not as the ANSI code page's guess at
// it, and read back; so is a file three folders of a hundred letters deep,
// far past the 260 characters of MAX_PATH, written over and read again.
TEST_F(WindowsFiles, NamesInAnyScriptAndOfAnyLength)
{
    write("zażółć gęślą.atr", "jazn");
    EXPECT_EQ(namesIn(dir), std::vector<std::wstring>{L"za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105.atr"});
    EXPECT_EQ(contentOf(file("zażółć gęślą.atr")), "jazn");
    EXPECT_TRUE(identityOf(file("zażółć gęślą.atr")).exists);

    std::string deep = dir;
    for (int level = 0; level < 3; ++level) {
        deep += "/" + std::string(100, char('a' + level));
        ASSERT_TRUE(CreateDirectoryW(extendedPath(deep).c_str(), nullptr)) << GetLastError();
    }
    const std::string path = deep + "/długi.atr";
    ASSERT_GT(wide(path).size(), 300u);
    ASSERT_FALSE(writeFileAtomically(path, bytesOf("first")));
    ASSERT_FALSE(writeFileAtomically(path, bytesOf("second")));
    EXPECT_EQ(contentOf(path), "second");
    EXPECT_FALSE(isReadOnlyFile(path));
    EXPECT_EQ(identityOf(path).size, 6u);
    EXPECT_EQ(namesIn(deep), std::vector<std::wstring>{L"d\u0142ugi.atr"});
}

// A save gives the new content the old file's attributes and creation
// time, and marks it for backup; a read-only file stays read-only once
// replaced. The editor's own scratch file is a new plain file each time.
TEST_F(WindowsFiles, SavesKeepTheFilesAttributes)
{
    write("zestaw.atr", "old");
    const std::wstring name = extendedPath(file("zestaw.atr"));
    ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    FILETIME created = {0x12345670, 0x01C00000};  // in 1990
    {
        HANDLE handle = CreateFileW(name.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(handle, &created, nullptr, nullptr));
        CloseHandle(handle);
    }
    // What the file system keeps of them (Wine keeps neither a creation
    // time nor every attribute on a Linux file system).
    WIN32_FILE_ATTRIBUTE_DATA old;
    ASSERT_TRUE(GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &old));
    ASSERT_TRUE(old.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
    const FileIdentity before = identityOf(file("zestaw.atr"));

    FileIdentity written;
    ASSERT_FALSE(writeFileAtomically(file("zestaw.atr"), bytesOf("new content"), WriteOptions(), &written));
    EXPECT_EQ(contentOf(file("zestaw.atr")), "new content");
    WIN32_FILE_ATTRIBUTE_DATA saved;
    ASSERT_TRUE(GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &saved));
    const DWORD settable = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(saved.dwFileAttributes & settable, old.dwFileAttributes & settable);
    EXPECT_TRUE(saved.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE);
    if (CompareFileTime(&old.ftCreationTime, &created) == 0) {
        EXPECT_EQ(CompareFileTime(&saved.ftCreationTime, &created), 0);
    }
    EXPECT_NE(written, before);
    EXPECT_EQ(written, identityOf(file("zestaw.atr")));

    ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(isReadOnlyFile(file("zestaw.atr")));
    ASSERT_FALSE(writeFileAtomically(file("zestaw.atr"), bytesOf("newer")));
    EXPECT_EQ(contentOf(file("zestaw.atr")), "newer");
    EXPECT_TRUE(attributesOf("zestaw.atr") & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(isReadOnlyFile(file("zestaw.atr")));

    write("test.atr", "scratch");
    ASSERT_TRUE(SetFileAttributesW(extendedPath(file("test.atr")).c_str(), FILE_ATTRIBUTE_HIDDEN));
    WriteOptions scratch;
    scratch.keepFile = false;
    ASSERT_FALSE(writeFileAtomically(file("test.atr"), bytesOf("image"), scratch));
    EXPECT_FALSE(attributesOf("test.atr") & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(namesIn(dir), (std::vector<std::wstring>{L"test.atr", L"zestaw.atr"}));
}

// What cannot be saved says why, names the file, and leaves the old file
// and nothing else: not over a file another program holds open, not into
// a missing folder, not over a folder or a device. The temporary files of
// saves that died go with the next save into their folder.
TEST_F(WindowsFiles, FailedSavesLeaveTheOldFileAndNothingElse)
{
    write("zestaw.atr", "old");
    {
        // Open elsewhere, without leave to delete or rename it.
        HANDLE held = CreateFileW(extendedPath(file("zestaw.atr")).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const Error error = writeFileAtomically(file("zestaw.atr"), bytesOf("new"));
        CloseHandle(held);
        ASSERT_EQ(error.fault, Fault::windows);
        const std::string text = describe(error, Language::polish);
        EXPECT_TRUE(text == "zestaw.atr: plik jest otwarty w innym programie (zastapienie pliku)" ||
                    text == "zestaw.atr: brak uprawnien (zastapienie pliku)")
            << text;
    }
    EXPECT_EQ(contentOf(file("zestaw.atr")), "old");

    const Error missing = writeFileAtomically(file("brak\\zestaw.atr"), bytesOf("new"));
    EXPECT_EQ(describe(missing, Language::polish), "zestaw.atr: nie ma takiego pliku lub katalogu");
    ASSERT_TRUE(CreateDirectoryW(extendedPath(file("katalog.atr")).c_str(), nullptr));
    EXPECT_EQ(writeFileAtomically(file("katalog.atr"), bytesOf("new")).fault, Fault::isDirectory);
    EXPECT_EQ(writeFileAtomically("NUL", bytesOf("new")).fault, Fault::notRegularFile);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(readFile("CON", bytes, 100).fault, Fault::notRegularFile);
    EXPECT_EQ(readFile(file("katalog.atr"), bytes, 100).fault, Fault::isDirectory);
    EXPECT_EQ(namesIn(dir), (std::vector<std::wstring>{L"katalog.atr", L"zestaw.atr"}));

    // One of this process, whose save may be running, and one of a writer
    // that has ended (no process has that number).
    const std::string ours = ".zkn" + [] {
        char id[16];
        std::snprintf(id, sizeof id, "%lx", static_cast<unsigned long>(GetCurrentProcessId()));
        return std::string(id);
    }() + ".GhIjKl";
    write(ours, "live");
    write(".zknfffffff1.AbCdEf", "dead");
    EXPECT_EQ(namesIn(dir).size(), 4u);
    write("zestaw.atr", "new");
    EXPECT_EQ(namesIn(dir), (std::vector<std::wstring>{wide(ours), L"katalog.atr", L"zestaw.atr"}));
}

// A write cut short (the file size limit wine-run.sh sets for this case
// when it is asked to, as a full disk would) leaves the old content whole
// and no temporary file.
TEST_F(WindowsFiles, AWriteCutShortLosesNothing)
{
    if (!std::getenv("ZELBUN_FILE_SIZE_LIMIT"))
        GTEST_SKIP() << "runs under a file size limit only";
    write("zestaw.atr", "old");
    const Error error = writeFileAtomically(file("zestaw.atr"), std::vector<uint8_t>(64 * 1024, 0x55));
    ASSERT_TRUE(error);
    EXPECT_EQ(error.fault, Fault::windows);
    EXPECT_EQ(contentOf(file("zestaw.atr")), "old");
    EXPECT_EQ(namesIn(dir), std::vector<std::wstring>{L"zestaw.atr"});
}

// Polls until the started programs have ended, for up to some 20 seconds.
std::vector<Error> waitForPrograms(Platform& platform)
{
    std::vector<Error> failures;
    for (int i = 0; i < 400 && platform.childrenRunning(); ++i) {
        for (const Error& failure : platform.reapChildren())
            failures.push_back(failure);
        if (platform.childrenRunning())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return failures;
}

std::vector<std::string> linesOf(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(std::filesystem::u8path(path));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class WindowsEmulator : public WindowsFiles {
protected:
    void SetUp() override
    {
        WindowsFiles::SetUp();
        ASSERT_TRUE(CreateDirectoryW(extendedPath(file("emu ż")).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(extendedPath(file("obraz ą")).c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(wide(ZELBUN_BINARY_DIR "/zelbun_standin.exe").c_str(),
                              extendedPath(file("emu ż\\stand in.exe")).c_str(), FALSE));
        image = file("obraz ą\\test 1.atr");
        write("obraz ą\\test 1.atr", "image");
        log = file("words.txt");
        portable::setEnv("ZELBUN_STANDIN_LOG", log);
    }
    void TearDown() override
    {
        for (const char* name : {"ZELBUN_STANDIN_LOG", "ZELBUN_STANDIN_STATUS", "ZELBUN_EMULATOR"})
            portable::unsetEnv(name);
        WindowsFiles::TearDown();
    }

    std::string image, log;
};

// Paths with spaces, Polish letters and quotes reach the emulator as the
// words they were: %f is the image's path, whole. --emulator comes before
// ZELBUN_EMULATOR; a bare name is looked for on the search path with the
// extensions of PATHEXT; a program that ends badly is reported by name and
// status once it has ended.
TEST_F(WindowsEmulator, WordsReachTheProgramIntact)
{
    const std::string program = file("emu ż\\stand in.exe");
    portable::setEnv("ZELBUN_EMULATOR", "\"" + program + "\" --boot \"%f\" -x \"a\\\"b\" C:\\dir\\");
    std::unique_ptr<Platform> platform = makeSystemPlatform(0, file("nothing") + ";\"" + file("emu ż") + "\"");
    Error error;
    ASSERT_FALSE(error = platform->openTestImage(image, dir, "")) << describe(error, Language::english);
    EXPECT_TRUE(waitForPrograms(*platform).empty());
    EXPECT_EQ(linesOf(log), (std::vector<std::string>{program, "--boot", image, "-x", "a\"b", "C:\\dir\\"}));

    portable::setEnv("ZELBUN_STANDIN_STATUS", "3");
    ASSERT_FALSE(error = platform->openTestImage(image, dir, "\"stand in\" -run")) << describe(error, Language::english);
    const std::vector<Error> failures = waitForPrograms(*platform);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].fault, Fault::programFailed);
    EXPECT_EQ(failures[0].path, "stand in.exe");
    EXPECT_EQ(failures[0].code, 3);
    EXPECT_EQ(linesOf(log), (std::vector<std::string>{file("emu ż\\stand in.exe"), "-run", image}));

    EXPECT_EQ(describe(platform->openTestImage(image, dir, "nieznany %f"), Language::polish),
              "--emulator: nieznany: nie znaleziono programu");
}

// Registers .atr for this process alone, as a user's file type: the
// predefined key of the classes points at a private key that goes when
// the test does.
class FileTypes {
public:
    FileTypes()
    {
        name_ = L"Software\\ZelbunKreatorTest" + std::to_wstring(GetCurrentProcessId());
        RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &root_, nullptr);
        RegOverridePredefKey(HKEY_CLASSES_ROOT, root_);
    }
    ~FileTypes()
    {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(root_);
        RegDeleteTreeW(HKEY_CURRENT_USER, name_.c_str());
    }
    void openAtrWith(const std::wstring& command)
    {
        set(L".atr", L"Test.atr");
        set(L"Test.atr\\shell\\open\\command", command);
    }

private:
    void set(const std::wstring& key, const std::wstring& value)
    {
        HKEY opened;
        ASSERT_EQ(RegCreateKeyExW(root_, key.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
    }
    std::wstring name_;
    HKEY root_ = nullptr;
};

// Without a command, the program .atr files open with runs the image;
// when that program is this editor, a known emulator on the search path
// would, and without one the message says how to set one up.
TEST_F(WindowsEmulator, TheProgramAtrFilesOpenWithUnlessItIsThisEditor)
{
    FileTypes types;
    types.openAtrWith(L"\"" + wide(file("emu ż\\stand in.exe")) + L"\" /boot \"%1\"");
    std::unique_ptr<Platform> platform = makeSystemPlatform(0, file("nothing"));
    Error error;
    ASSERT_FALSE(error = platform->openTestImage(image, dir, "")) << describe(error, Language::english);
    waitForPrograms(*platform);
    EXPECT_EQ(linesOf(log), (std::vector<std::string>{file("emu ż\\stand in.exe"), "/boot", image}));

    ASSERT_TRUE(CopyFileW(wide(ZELBUN_BINARY_DIR "/zelbun_standin.exe").c_str(),
                          extendedPath(file("zelbun-kreator.exe")).c_str(), FALSE));
    types.openAtrWith(L"\"" + wide(file("zelbun-kreator.exe")) + L"\" \"%1\"");
    EXPECT_EQ(describe(platform->openTestImage(image, dir, ""), Language::polish),
              "nie znaleziono zadnego, ustaw --emulator lub ZELBUN_EMULATOR albo skojarz pliki .atr z emulatorem");
}

#endif

} // namespace
