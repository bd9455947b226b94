#include "editor/launches.h"

#include "core/messages.h"
#include "core/setcheck.h"
#include "platform/platform.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char kFolderPrefix[] = "zelbun-kreator-";
// The lock in a private folder, held while its editor runs.
const char kRunningLock[] = "running.lock";

} // namespace

TestLaunches::TestLaunches(Platform& platform, std::string runtimeDir, std::string emulatorCommand, Voice voice)
    : platform_(platform), runtimeDir_(std::move(runtimeDir)), emulatorCommand_(std::move(emulatorCommand)),
      voice_(std::move(voice))
{
    removeLeftoverTestFolders(base());
}

TestLaunches::~TestLaunches()
{
    if (folder_.empty())
        return;
    running_.release();
    std::error_code ignored;
    fs::remove_all(fs::u8path(folder_), ignored);
}

std::string TestLaunches::base() const
{
    if (!runtimeDir_.empty())
        return runtimeDir_;
    std::error_code code;
    // A Linux desktop's folder of the user's session. On Windows the name
    // means nothing (Wine passes Linux's value on), and %TEMP% is the
    // user's own.
#ifndef _WIN32
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && fs::is_directory(runtime, code))
        return runtime;
#endif
    const std::string temporary = fs::temp_directory_path(code).u8string();
    return temporary.empty() ? "/tmp" : temporary;
}

// A folder only this user can enter, with a name no one else has taken,
// and this editor's lock in it.
bool TestLaunches::makeFolder()
{
    if (!folder_.empty())
        return true;
    const std::string where = base();
    std::random_device random;
    std::error_code code;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path dir = fs::u8path(where) / (kFolderPrefix + std::to_string(random() % 100000000u));
        if (!fs::create_directory(dir, code)) {
            if (code)
                break;
            continue;
        }
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace, code);
        Error error;
        if (!running_.take((dir / kRunningLock).u8string(), &error)) {
            fs::remove_all(dir, code);
            voice_.warn("Nie mozna utworzyc katalogu na obraz testowy w " + where + ": " +
                        reason(error, Language::polish));
            return false;
        }
        folder_ = dir.u8string();
        return true;
    }
    voice_.warn("Nie mozna utworzyc katalogu na obraz testowy w " + where +
                (code ? ": " + systemReason(code.value(), Language::polish) : ""));
    return false;
}

bool TestLaunches::start(const std::vector<uint8_t>& image)
{
    // As the command line's `check` would: a game part that breaks once
    // the levels and pages are in does not boot.
    for (const SetFinding& finding : checkSetImage(image.data(), image.size()))
        if (finding.kind == SetFindingKind::brokenGamePart) {
            voice_.warn("Obraz testowy nie wystartuje: " + describe(finding, Language::polish));
            return false;
        }
    if (!makeFolder())
        return false;
    const std::string name = started_ == 0 ? "test.atr" : "test-" + std::to_string(started_ + 1) + ".atr";
    const std::string target = folder_ + "/" + name;
    // Our own scratch file: whatever lies under its name is replaced, and
    // nothing a link there points at is touched.
    WriteOptions scratch;
    scratch.keepFile = false;
    if (Error error = writeFileAtomically(target, image, scratch)) {
        voice_.warn("Nie mozna zapisac " + describe(error, Language::polish));
        return false;
    }
    ++started_;
    if (Error error = platform_.openTestImage(target, folder_, emulatorCommand_)) {
        voice_.warn("Nie mozna uruchomic emulatora: " + describe(error, Language::polish));
        return false;
    }
    voice_.say("Uruchomiono emulator: " + name);
    return true;
}

bool TestLaunches::collect()
{
    for (const Error& failure : platform_.reapChildren())
        voice_.warn("Nie udalo sie uruchomic emulatora (" + describe(failure, Language::polish) + ")");
    return platform_.childrenRunning();
}

void removeLeftoverTestFolders(const std::string& base)
{
    std::vector<fs::path> leftovers;
    std::error_code error;
    for (fs::directory_iterator entry(fs::u8path(base), error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().u8string();
        std::error_code kind;
        // A folder without the lock may be an older editor's, running.
        if (name.rfind(kFolderPrefix, 0) == 0 && entry->is_directory(kind) && !entry->is_symlink(kind) &&
            fs::exists(entry->path() / kRunningLock, kind))
            leftovers.push_back(entry->path());
    }
    for (const fs::path& dir : leftovers) {
        FileLock lock;
        if (!lock.take((dir / kRunningLock).u8string()))
            continue;  // its editor runs
        lock.release();
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
}
