// The file and test commands: saving and opening game images, starting
// afresh, asking before work is lost, and writing test images where no file
// of the user's can be hit.
#include "editor/frame.h"

#include "core/fileio.h"
#include "core/gameimage.h"
#include "core/levelcheck.h"
#include "core/gametemplate.h"
#include "ui/indialog.h"
#include "platform/platform.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char testFileName[] = "test.atr";

// Gives a path buffer its ".atr" when its file name has no dot. The buffer
// must have room for four more characters.
void extendPath(char* path)
{
    std::string extended = withAtrExtension(path);
    assert(extended.size() < PATH_MAX + 8);
    std::strcpy(path, extended.c_str());
}

std::string fileName(const std::string& path)
{
#ifdef _WIN32
    size_t slash = path.find_last_of("/\\");
#else
    size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool exists(const std::string& path)
{
    std::error_code error;
    return fs::exists(fs::path(path), error);
}

// The reason at the end of a file error ("path: cannot open: No such file
// or directory"), in Polish where we know it.
std::string reasonOf(const std::string& error)
{
    static const std::pair<const char*, const char*> known[] = {
        {"No such file or directory", "nie ma takiego pliku lub katalogu"},
        {"Permission denied", "brak uprawnien"},
        {"Is a directory", "to jest katalog"},
        {"Not a directory", "to nie jest katalog"},
        {"No space left on device", "brak miejsca na dysku"},
        {"Read-only file system", "system plikow tylko do odczytu"},
        {"File name too long", "za dluga nazwa pliku"},
        {"Disk quota exceeded", "przekroczony limit dysku"},
        {"Input/output error", "blad wejscia/wyjscia"},
    };
    size_t colon = error.rfind(": ");
    std::string reason = colon == std::string::npos ? error : error.substr(colon + 2);
    for (const auto& entry : known)
        if (reason == entry.first)
            return entry.second;
    return reason;
}

std::string levelsWord(int n)
{
    if (n == 1)
        return "poziom";
    int tens = n % 100, units = n % 10;
    if (units >= 2 && units <= 4 && (tens < 12 || tens > 14))
        return "poziomy";
    return "poziomow";
}

// A directory only this user can enter, with a name no one else has taken.
std::string makePrivateDirectory(const std::string& base, std::string& error)
{
    std::random_device random;
    std::error_code code;
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path dir = fs::path(base) / ("zelbun-kreator-" + std::to_string(random() % 100000000u));
        if (fs::create_directory(dir, code)) {
            fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace, code);
            return dir.string();
        }
        if (code)
            break;
    }
    error = "Nie mozna utworzyc katalogu na obraz testowy w " + base +
            (code ? ": " + reasonOf(code.message()) : "");
    return "";
}

} // namespace

// --- The document and its history -------------------------------------------

Document frame::document() const
{
    Document doc(eraserCode());
    for (int i = 0; i < levelCount; ++i)
        doc.levels[i] = levels[i].data();
    std::memcpy(doc.pages, textPages, sizeof doc.pages);
    doc.path = filePath;
    doc.game = documentTemplate;
    return doc;
}

void frame::showDocument(const Document& doc)
{
    for (int i = 0; i < levelCount; ++i)
        levels[i].setData(doc.levels[i]);
    blankTextPages();
    std::memcpy(textPages, doc.pages, sizeof doc.pages);
    if (doc.path.size() < sizeof filePath)
        std::strcpy(filePath, doc.path.c_str());
    if (doc.game)
        documentTemplate = doc.game;
}

void frame::commitStep()
{
    history.record(document());
}

void frame::undo()
{
    commitStep();
    if (history.canUndo())
        showDocument(history.undo());
}

void frame::redo()
{
    commitStep();
    if (history.canRedo())
        showDocument(history.redo());
}

bool frame::unrecordedChanges() const
{
    return !history.current().sameContent(document());
}

bool frame::isModified() const
{
    // Typing not yet recorded counts too.
    return history.modified() || unrecordedChanges();
}

const char* const frame::appTitle = "Zelbun Kreator 1.0 - by. Tavrin";

std::string frame::windowTitle() const
{
    return titleFor(isModified());
}

std::string frame::titleFor(bool modified) const
{
    if (!filePath[0] && !modified)
        return appTitle;
    std::string name = filePath[0] ? fileName(filePath) : "bez nazwy";
    return name + (modified ? " *" : "") + " - " + appTitle;
}

// --- Saving ------------------------------------------------------------------

std::vector<unsigned char> frame::setImage() const
{
    LevelData data[levelCount];
    for (int i = 0; i < levelCount; ++i)
        data[i] = levels[i].data();
    return writeGameImage(documentTemplate->data(), documentTemplate->size(), data, textPages);
}

std::vector<unsigned char> frame::testImage(int slot) const
{
    return writeTestImage(documentTemplate->data(), documentTemplate->size(), levels[slot].data(), slot, textPages);
}

int frame::saveMap(char* path)
{
    extendPath(path);
    return writeDocument(path, setImage(), WriteOptions()) ? 1 : 0;
}

int frame::saveMap(char* path, int slot)
{
    extendPath(path);
    return writeDocument(path, testImage(slot), WriteOptions()) ? 1 : 0;
}

bool frame::writeDocument(const char* path, const std::vector<unsigned char>& bytes,
                          const WriteOptions& options)
{
    if (options.keepFile && isReadOnlyFile(path) && !confirmReplacing(path))
        return false;
    std::string error;
    if (writeFileAtomically(path, bytes, error, options))
        return true;
    showError("Nie mozna zapisac " + fileName(path) + ": " + reasonOf(error));
    return false;
}

// A file the user may not write is replaced only when the user says so.
bool frame::confirmReplacing(const char* path)
{
    Question question{"Zapisz mape",
                      "Plik " + fileName(path) + " jest tylko do odczytu. Zastapic go?",
                      {"Zastap", "Anuluj"}};
    if (ask(question) == 0)
        return true;
    showError("Nie zapisano " + fileName(path) + ": plik tylko do odczytu");
    return false;
}

bool frame::saveDocument()
{
    commitStep();
    if (!filePath[0])
        return saveDocumentAs();
    char path[PATH_MAX + 8];
    std::strcpy(path, filePath);
    if (!saveMap(path))
        return false;
    std::strcpy(filePath, path);
    history.markSaved(filePath);
    showMessage(std::string("Zapisano: ") + fileName(filePath));
    return true;
}

bool frame::saveDocumentAs()
{
    commitStep();
    char chosen[PATH_MAX + 8];
    if (!askForPath(true, chosen))
        return false;
    // The dialog asked about the name as typed; ".atr" may make it another.
    std::string final = withAtrExtension(chosen);
    if (final != chosen && exists(final)) {
        Question question{"Zapisz mape", "Plik " + fileName(final) + " juz istnieje. Zastapic go?",
                          {"Zastap", "Anuluj"}};
        if (ask(question) != 0)
            return false;
    }
    if (!saveMap(chosen))
        return false;
    std::strcpy(filePath, chosen);
    history.markSaved(filePath);
    showMessage(std::string("Zapisano: ") + fileName(filePath));
    return true;
}

// --- Opening -------------------------------------------------------------------

int frame::loadMap(const char* path)
{
    std::vector<unsigned char> bytes;
    if (!readDocument(path, bytes))
        return 0;
    std::string problem = gameImageProblem(bytes.data(), bytes.size());
    if (!problem.empty()) {
        showError("Nie otwarto " + fileName(path) + ": " + problem);
        return 0;
    }
    applyGameImage(bytes, path);
    return 1;
}

bool frame::readDocument(const char* path, std::vector<unsigned char>& bytes)
{
    if (std::strlen(path) >= PATH_MAX) {
        showError(std::string("Za dluga sciezka: ") + path);
        return false;
    }
    std::error_code code;
    if (fs::is_directory(fs::path(path), code)) {
        showError("Nie otwarto " + fileName(path) + ": to jest katalog");
        return false;
    }
    std::string error;
    if (readFile(path, bytes, error, kGameImageReadLimit))
        return true;
    showError("Nie mozna otworzyc " + fileName(path) + ": " + reasonOf(error));
    return false;
}

// Levels land at their place in the order table; each is recoloured once.
// The opened file is the saved state of a fresh history.
void frame::applyGameImage(const std::vector<unsigned char>& bytes, const char* path)
{
    LoadResult image = readGameImage(bytes.data(), bytes.size());
    documentTemplate = std::make_shared<const std::vector<unsigned char>>(
        templateForOpened(bytes, *sessionTemplate, embeddedTemplate()));
    blankTextPages();
    std::memcpy(textPages[0], image.pages[0], sizeof textPages[0]);
    std::memcpy(textPages[1], image.pages[1], sizeof textPages[1]);
    for (const LoadedLevel& segment : image.levels)
        if (segment.target < levelCount)
            levels[segment.target].setData(segment.level);
    // The view goes to the set's first level, not a slot left empty.
    for (int i = levelCount - 1; i >= 0; --i)
        if (levels[i].isOn())
            currentLevel = i;
    if (path != filePath)
        std::strcpy(filePath, path);
    history.reset(document());

    int count = 0;
    for (int i = 0; i < levelCount; ++i)
        count += levels[i].isOn();
    std::string opened = "Otwarto: " + fileName(path) + " (" + std::to_string(count) + " " + levelsWord(count) + ")";
    if (image.warning.empty())
        showMessage(opened);
    else
        showError(opened + "; " + image.warning);
}

void frame::openDocument()
{
    if (!unsavedChangesSettled())
        return;
    char chosen[PATH_MAX + 8];
    if (!askForPath(false, chosen))
        return;
    std::vector<unsigned char> bytes;
    if (!readDocument(chosen, bytes))
        return;
    std::string problem = gameImageProblem(bytes.data(), bytes.size());
    if (!problem.empty()) {
        showError("Nie otwarto " + fileName(chosen) + ": " + problem);
        return;
    }
    for (int i = 0; i < levelCount; ++i)
        levels[i].reset();
    applyGameImage(bytes, chosen);
}

// --- Starting afresh and closing -------------------------------------------------

// An undoable step; the empty set it leaves has nothing to save.
void frame::newDocument()
{
    if (!unsavedChangesSettled())
        return;
    for (int i = 0; i < levelCount; ++i)
        levels[i].reset();
    filePath[0] = '\0';
    blankTextPages();
    documentTemplate = sessionTemplate;
    commitStep();
    history.markClean();
}

bool frame::mayClose()
{
    commitStep();
    return unsavedChangesSettled();
}

bool frame::unsavedChangesSettled()
{
    if (!isModified())
        return true;
    std::string name = filePath[0] ? fileName(filePath) : "bez nazwy";
    Question question{std::string("Zelbun Kreator - ") + name, "Zapisac zmiany?", {"Zapisz", "Nie zapisuj", "Anuluj"}};
    switch (ask(question)) {
    case 0:
        return saveDocument();
    case 1:
        return true;
    default:
        return false;
    }
}

int frame::ask(const Question& question)
{
    return askQuestion(*platform, screen, question);
}

// --- Testing in the emulator -------------------------------------------------------

std::string frame::testImageDirectory()
{
    if (!testDir.empty())
        return testDir;
    std::string base = runtimeBase;
    std::error_code code;
    if (base.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime && *runtime && fs::is_directory(runtime, code))
            base = runtime;
        else
            base = fs::temp_directory_path(code).string();
    }
    std::string error;
    testDir = makePrivateDirectory(base.empty() ? "/tmp" : base, error);
    if (testDir.empty())
        showError(error);
    return testDir;
}

// The level checks before a test: what would make the level unplayable,
// with the choice to test anyway. True when the test may go on.
bool frame::levelsPlayable(bool currentLevelOnly)
{
    std::vector<LevelFinding> findings;
    if (currentLevelOnly) {
        findings = checkLevel(levels[currentLevel].data(), currentLevel, levelRules);
    } else {
        LevelData all[levelCount];
        for (int i = 0; i < levelCount; ++i)
            all[i] = levels[i].data();
        findings = checkLevels(all, levelRules);
    }
    if (findings.empty())
        return true;
    std::string text;
    for (size_t i = 0; i < findings.size() && i < 8; ++i)
        text += describeFinding(findings[i]) + "\n";
    if (findings.size() > 8)
        text += "... i " + std::to_string(findings.size() - 8) + " wiecej\n";
    Question question{"Zelbun Kreator - test", text + "Testowac mimo to?", {"Testuj", "Anuluj"}};
    return ask(question) == 0;
}

void frame::testInEmulator(bool currentLevelOnly)
{
    if (!levelsPlayable(currentLevelOnly))
        return;
    std::string dir = testImageDirectory();
    if (dir.empty())
        return;
    std::string target = dir + "/" + testFileName;
    if (target.size() >= PATH_MAX) {
        showError("Za dluga sciezka: " + target);
        return;
    }
    // Our own scratch file: whatever lies under its name is replaced, and
    // nothing a link there points at is touched.
    WriteOptions scratch;
    scratch.keepFile = false;
    if (!writeDocument(target.c_str(), currentLevelOnly ? testImage(currentLevel) : setImage(), scratch))
        return;
    std::string error;
    if (!platform->openTestImage(target, dir, emulatorCommand, error))
        showError("Nie mozna uruchomic emulatora: " + error);
}

bool frame::askForPath(bool save, char* chosen)
{
    DialogRequest request;
    request.save = save;
    if (save)
        request.extension = ".atr";
    request.title = save ? "Zapisz mape" : "Otworz mape";
    request.startDir = workDir;
    request.currentPath = filePath;
    std::string path;
    if (chooseFile(*platform, screen, request, path) != DialogResult::Chosen || path.empty())
        return false;
    if (path.size() >= PATH_MAX) {
        showError("Za dluga sciezka: " + path);
        return false;
    }
    std::strcpy(chosen, path.c_str());
    return true;
}
