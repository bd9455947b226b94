#include "editor/filecommands.h"

#include "core/fileio.h"
#include "core/gameimage.h"
#include "core/session.h"
#include "core/windowtexts.h"
#include "editor/autosave.h"
#include "editor/recovery.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool exists(const std::string& path)
{
    std::error_code error;
    return fs::exists(fs::u8path(path), error);
}

} // namespace

FileCommands::FileCommands(Session& session, RecentFiles& recent, Autosave& autosave, Voice voice,
                           ChooseFile chooseFile, std::function<void()> opened)
    : session_(session), recent_(recent), autosave_(autosave), voice_(std::move(voice)),
      chooseFile_(std::move(chooseFile)), opened_(std::move(opened))
{
}

int FileCommands::ask(WindowText title, const std::string& text, std::initializer_list<WindowText> answers)
{
    Question question{windowText(title, language_, {}), text, {}, language_};
    for (WindowText answer : answers)
        question.answers.push_back(windowText(answer, language_, {}));
    return voice_.ask(question);
}

// --- Saving ------------------------------------------------------------------

bool FileCommands::writeCopy(const std::string& path)
{
    if (isReadOnlyFile(path) && !confirmReplacing(path))
        return false;
    if (Error error = writeFileAtomically(path, session_.setImage())) {
        voice_.warn(saveFailed(error, language_));
        return false;
    }
    return true;
}

// The whole set to the user's file, which becomes the document's.
bool FileCommands::saveTo(const std::string& path)
{
    if (path == session_.path() && session_.fileChangedOnDisk() &&
        ask(WindowText::saveTitle, say(Saying::replaceChanged, path, language_),
            {WindowText::replaceAnswer, WindowText::cancelAnswer}) != 0) {
        voice_.warn(say(Saying::notSavedChanged, path, language_));
        return false;
    }
    const int leftOut = path == session_.path() ? session_.segmentsLeftOut() : 0;
    // The first answer, which Enter gives, is the one that loses nothing.
    if (leftOut > 0 && ask(WindowText::saveTitle, leftOutQuestion(leftOut, language_),
                           {WindowText::cancelAnswer, WindowText::saveAnswer}) != 1) {
        voice_.warn(say(Saying::notSavedLeftOut, path, language_));
        return false;
    }
    if (isReadOnlyFile(path) && !confirmReplacing(path))
        return false;
    if (Error error = session_.save(path)) {
        voice_.warn(saveFailed(error, language_));
        return false;
    }
    // The file keeps the order, not the places: gaps close when it opens.
    const std::string renumbered = renumberingNote(session_.document().levels, language_);
    voice_.say(say(Saying::saved, path, language_) + (renumbered.empty() ? "" : "; " + renumbered));
    autosave_.drop();
    recent_.add(path);
    return true;
}

bool FileCommands::writeScratch(const std::string& path, const std::vector<uint8_t>& bytes)
{
    WriteOptions scratch;
    scratch.keepFile = false;
    if (Error error = writeFileAtomically(path, bytes, scratch)) {
        voice_.warn(saveFailed(error, language_));
        return false;
    }
    return true;
}

// A file the user may not write is replaced only when the user says so.
bool FileCommands::confirmReplacing(const std::string& path)
{
    if (ask(WindowText::saveTitle, say(Saying::replaceReadOnly, path, language_),
            {WindowText::replaceAnswer, WindowText::cancelAnswer}) == 0)
        return true;
    voice_.warn(say(Saying::notSavedReadOnly, path, language_));
    return false;
}

bool FileCommands::save()
{
    session_.endStep();
    if (session_.path().empty())
        return saveAs();
    return saveTo(withAtrExtension(session_.path()));
}

bool FileCommands::saveAs()
{
    session_.endStep();
    std::string chosen;
    if (!askForPath(true, chosen))
        return false;
    std::string settled = chosen;
    if (!settleExtension(settled))
        return false;
    // The dialog asked about the name as typed; ".atr" may make it another.
    const std::string final = withAtrExtension(settled);
    if (final != chosen && exists(final) &&
        ask(WindowText::saveTitle, say(Saying::replaceExisting, final, language_),
            {WindowText::replaceAnswer, WindowText::cancelAnswer}) != 0)
        return false;
    return saveTo(final);
}

// A name with another extension than ".atr" (a slip of the keyboard,
// often) makes a file the open dialogs hide: the user decides.
bool FileCommands::settleExtension(std::string& path)
{
    const std::string name = fileNameOf(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return true;
    std::string extension = name.substr(dot);
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".atr")
        return true;
    switch (ask(WindowText::saveTitle, say(Saying::notAtrName, path, language_),
                {WindowText::addAtrAnswer, WindowText::saveAsTypedAnswer, WindowText::cancelAnswer})) {
    case 0:
        path += ".atr";
        return true;
    case 1:
        return true;
    default:
        return false;
    }
}

// --- Opening -------------------------------------------------------------------

// The opened file is the saved state of a fresh history.
bool FileCommands::open(const std::string& path)
{
    if (path.size() >= PATH_MAX) {
        voice_.warn(say(Saying::pathTooLong, path, language_));
        return false;
    }
    // A save cut short while rewriting this file in place left the old
    // content beside it: the file itself may be half old, half new.
    const InterruptedSave backup = findInterruptedSave(path);
    bool recover = false;
    if (!backup.copy.empty()) {
        // The first answer, which Return gives, changes nothing.
        const int answer = ask(WindowText::openTitle,
                               interruptedSaveQuestion(path, backup.copy, backup.madeFrom, language_),
                               {WindowText::openFileAnswer, WindowText::openCopyAnswer, WindowText::cancelAnswer});
        if (answer != 0 && answer != 1)
            return false;
        recover = answer == 1;
    }
    const Session::Opened opened = recover ? session_.openRecovered(path, backup.copy) : session_.open(path);
    if (opened.error) {
        voice_.warn(openFailed(opened.error, language_));
        return false;
    }
    opened_();
    recent_.add(path);
    const bool elsewhere = autosave_.openElsewhere(path);
    autosave_.follow();
    const std::string news = openedSet(path, session_.document().levelsOn(), recover, language_);
    if (opened.issues.empty() && !elsewhere)
        voice_.say(news);
    else
        voice_.warn(news + (opened.issues.empty() ? "" : "; " + describe(opened.issues, language_)) +
                    (elsewhere ? ". " + say(Saying::openElsewhere, path, language_) : ""));
    return true;
}

void FileCommands::openRecent(size_t index)
{
    recent_.load();
    if (index >= recent_.paths().size())
        return;
    const std::string path = recent_.paths()[index];
    if (unsavedChangesSettled())
        open(path);
}

void FileCommands::openChosen()
{
    if (!unsavedChangesSettled())
        return;
    std::string chosen;
    if (askForPath(false, chosen))
        open(chosen);
}

// --- Starting afresh -------------------------------------------------------------

// An undoable step; the empty set it leaves has nothing to save.
void FileCommands::newSet()
{
    if (unsavedChangesSettled())
        session_.newSet();
}

bool FileCommands::unsavedChangesSettled()
{
    if (!session_.modified())
        return true;
    Question question{std::string("Zelbun Kreator - ") + documentName(session_.path(), language_),
                      say(Saying::saveChanges, "", language_),
                      {windowText(WindowText::saveAnswer, language_, {}),
                       windowText(WindowText::dontSaveAnswer, language_, {}),
                       windowText(WindowText::cancelAnswer, language_, {})},
                      language_};
    switch (voice_.ask(question)) {
    case 0:
        return save();
    case 1:
        autosave_.drop();  // thrown away by choice
        return true;
    default:
        return false;
    }
}

bool FileCommands::askForPath(bool save, std::string& chosen)
{
    DialogRequest request;
    request.save = save;
    if (save)
        request.extension = ".atr";
    request.title = windowText(save ? WindowText::saveTitle : WindowText::openTitle, language_, {});
    request.language = language_;
    request.currentPath = session_.path();
    if (!save) {
        recent_.load();
        request.recentFiles = recent_.paths();
    }
    std::string path;
    if (!chooseFile_(request, path) || path.empty())
        return false;
    if (path.size() >= PATH_MAX) {
        voice_.warn(say(Saying::pathTooLong, path, language_));
        return false;
    }
    chosen = path;
    return true;
}
