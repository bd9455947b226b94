#include "editor/autosave.h"

#include "core/gameimage.h"
#include "core/messages.h"
#include "core/session.h"
#include "editor/recovery.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool exists(const std::string& path)
{
    std::error_code error;
    return fs::exists(fs::u8path(path), error);
}

// When a file was last written, as the window shows times: "14:03 05.06.2025".
std::string writtenAt(const std::string& path)
{
    std::error_code error;
    const fs::file_time_type written = fs::last_write_time(fs::u8path(path), error);
    if (error)
        return "";
    const auto sinceNow = written - fs::file_time_type::clock::now();
    const std::time_t at = std::chrono::system_clock::to_time_t(
        std::chrono::system_clock::now() + std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceNow));
    const std::tm* local = std::localtime(&at);
    char text[32] = "";
    if (local)
        std::strftime(text, sizeof text, "%H:%M %d.%m.%Y", local);
    return text;
}

// The autosaves newest first.
void newestFirst(std::vector<std::string>& paths)
{
    std::vector<std::pair<fs::file_time_type, std::string>> dated;
    for (const std::string& path : paths) {
        std::error_code error;
        dated.emplace_back(fs::last_write_time(fs::u8path(path), error), path);
    }
    std::sort(dated.begin(), dated.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    paths.clear();
    for (const auto& entry : dated)
        paths.push_back(entry.second);
}

} // namespace

Autosave::Autosave(Session& session, std::string stateDir, std::function<uint64_t()> clock, Voice voice)
    : session_(session), stateDir_(std::move(stateDir)), clock_(std::move(clock)), voice_(std::move(voice))
{
    if (stateDir_.empty())
        return;
    // Autosaves are written through temporaries, which a kill may leave.
    removeLeftoverTemporaries(stateDir_);
}

bool Autosave::due() const
{
    return !stateDir_.empty() && session_.modified() && session_.revision() != savedRevision_;
}

void Autosave::tick()
{
    if (stateDir_.empty())
        return;
    follow();
    if (!session_.modified()) {
        // The file holds all of it again: saved, or undone back to it.
        if (!file_.empty())
            drop();
        changeWaiting_ = false;
        return;
    }
    if (session_.revision() == savedRevision_)
        return;
    const uint64_t now = clock_();
    if (!changeWaiting_) {
        changeWaiting_ = true;
        changeSeenAt_ = now;
    }
    const bool timeUp = now - changeSeenAt_ >= interval;
    const bool manySteps = session_.stepsRecorded() - savedSteps_ >= uint64_t(steps);
    if (timeUp || manySteps)
        write();
}

void Autosave::write()
{
    // Tried once per change: a failing disk is said once, not every second.
    caughtUp();
    if (!claim())
        return;
    const std::string target = claim_.path().substr(0, claim_.path().size() - 5) + ".atr";
    if (Error error = writeStateFile(target, session_.setImage())) {
        voice_.warn("Nie mozna zapisac autozapisu w " + stateDir_ + ": " + reason(error, Language::polish));
        return;
    }
    file_ = target;
}

// The document as it is now counts as autosaved: the next autosave waits
// for the next change.
void Autosave::caughtUp()
{
    savedRevision_ = session_.revision();
    savedSteps_ = session_.stepsRecorded();
    changeWaiting_ = false;
}

void Autosave::drop()
{
    if (stateDir_.empty())
        return;
    if (!file_.empty())
        removeStateFile(file_);
    file_.clear();
    caughtUp();
}

void Autosave::follow()
{
    if (stateDir_.empty() || (following_ && claimedFor_ == session_.path()))
        return;
    // Another document now: what this window autosaved of the last one
    // (settled before it went) goes with its name.
    if (!file_.empty())
        removeStateFile(file_);
    file_.clear();
    claim_.release();
    claimedFor_ = session_.path();
    following_ = true;
    // A set with no name is open nowhere else; its name is claimed when
    // there is something to write.
    if (!claimedFor_.empty())
        claim();
}

// The first name of the document's autosaves with no file (a file is
// another window's work, running or left behind) whose claim is free.
bool Autosave::claim()
{
    if (claim_.held())
        return true;
    if (Error error = makeStateDirectory(stateDir_)) {
        stateFolderFailed(error);
        return false;
    }
    for (int slot = 1; slot < 1000; ++slot) {
        const std::string name = autosavePath(stateDir_, claimedFor_, slot);
        if (exists(name))
            continue;
        Error error;
        if (!claim_.take(claimPathOf(name), &error)) {
            if (error) {
                stateFolderFailed(error);
                return false;
            }
            continue;
        }
        if (!exists(name))  // left there between the look and the claim
            return true;
        claim_.release();
    }
    return false;
}

void Autosave::stateFolderFailed(const Error& error)
{
    if (failedFolder_ == stateDir_)
        return;
    failedFolder_ = stateDir_;
    voice_.warn("Autozapis wylaczony: nie mozna pisac w " + stateDir_ + ": " + reason(error, Language::polish));
}

bool Autosave::openElsewhere(const std::string& path) const
{
    if (stateDir_.empty() || path.empty())
        return false;
    for (const std::string& claim : autosaveFilesOf(stateDir_, path, ".lock"))
        if (claim != claim_.path() && lockIsHeld(claim))
            return true;
    return false;
}

bool Autosave::offer(const std::string& path)
{
    if (stateDir_.empty())
        return false;
    std::vector<std::string> found = autosaveFilesOf(stateDir_, path, ".atr");
    newestFirst(found);
    const std::string name = path.empty() ? "nowego zestawu (bez nazwy)" : fileNameOf(path);
    for (const std::string& autosave : found) {
        // Held while the question waits, so no other window offers it too;
        // a name claimed already is a running window's.
        FileLock lock;
        if (!lock.take(claimPathOf(autosave)) || !exists(autosave))
            continue;
        std::vector<uint8_t> bytes, document;
        Error problem = readFile(autosave, bytes, kGameImageReadLimit);
        if (!problem) {
            problem = gameImageProblem(bytes.data(), bytes.size());
            problem.path = autosave;
        }
        // A copy of what the file holds (a save that ended just before its
        // autosave went) has nothing to give back.
        if (!problem && !path.empty() && !readFile(path, document, kGameImageReadLimit) && document == bytes) {
            removeStateFile(autosave);
            continue;
        }
        const std::vector<LoadIssue> issues =
            problem ? std::vector<LoadIssue>() : readGameImage(bytes.data(), bytes.size()).issues;

        std::string text = "Jest autozapis " + name;
        if (!path.empty())
            text += autosaveIsNewer(autosave, path) ? " nowszy niz plik" : " starszy niz plik";
        const std::string when = writtenAt(autosave);
        text += ": praca sprzed awarii" + (when.empty() ? std::string() : ", zapisana " + when) + ".";
        if (problem)
            text += " Jest uszkodzony (" + reason(problem, Language::polish) + ") i nie da sie go przywrocic.";
        else if (!issues.empty())
            text += " Jest uszkodzony: " + describe(issues, Language::polish) + ".";
        Question question{"Zelbun Kreator - autozapis", text + (problem ? "" : " Przywrocic go?"),
                          {"Przywroc", "Usun autozapis", "Nie teraz"}};
        if (problem)
            question.answers.erase(question.answers.begin());
        const int answer = voice_.ask(question) + (problem ? 1 : 0);
        if (answer == 1)
            removeStateFile(autosave);
        if (answer != 0)
            continue;

        Error error = session_.openRecovered(path, autosave).error;
        if (error) {
            error.path = autosave;
            voice_.warn("Nie mozna przywrocic autozapisu " + describe(error, Language::polish));
            return false;
        }
        // Its work is this window's now: written on under its name, and
        // gone once saved.
        claim_.swap(lock);
        claimedFor_ = path;
        following_ = true;
        file_ = autosave;
        caughtUp();
        const std::string news = "Przywrocono autozapis: " + (path.empty() ? std::string("bez nazwy") : fileNameOf(path));
        if (issues.empty())
            voice_.say(news);
        else
            voice_.warn(news + "; " + describe(issues, Language::polish));
        return true;
    }
    return false;
}
