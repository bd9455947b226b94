// The file and test commands: saving and opening game images, starting
// afresh, asking before work is lost, and writing test images where no file
// of the user's can be hit. The session reads and writes; this file asks
// the user and says what happened.
#include "editor/frame.h"

#include "core/fileio.h"
#include "core/gameimage.h"
#include "core/levelcheck.h"
#include "core/messages.h"
#include "platform/platform.h"
#include "ui/indialog.h"

#include <cassert>
#include <cctype>
#include <cstring>
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

// --- The document and its history -------------------------------------------

void frame::undo()
{
    session.undo();
}

void frame::redo()
{
    session.redo();
}

std::string frame::windowTitle() const
{
    return ::windowTitle(filePath, session.modified(), language);
}

// --- Saving ------------------------------------------------------------------

int frame::saveMap(char* path)
{
    std::string extended = withAtrExtension(path);
    assert(extended.size() < PATH_MAX + 8);
    std::strcpy(path, extended.c_str());
    if (isReadOnlyFile(path) && !confirmReplacing(path))
        return 0;
    if (Error error = writeFileAtomically(path, session.setImage())) {
        showError(saveFailed(error, language));
        return 0;
    }
    return 1;
}

int frame::saveMap(char* path, int slot)
{
    std::string extended = withAtrExtension(path);
    assert(extended.size() < PATH_MAX + 8);
    std::strcpy(path, extended.c_str());
    return writeScratch(path, session.testImage(slot)) ? 1 : 0;
}

// The whole set to the user's file, which becomes the document's.
bool frame::saveTo(const std::string& path)
{
    if (path == session.path() && session.fileChangedOnDisk()) {
        Question question{word(WindowText::saveTitle), say(Saying::replaceChanged, path, language),
                          {word(WindowText::replaceAnswer), word(WindowText::cancelAnswer)}, language};
        if (ask(question) != 0) {
            showError(say(Saying::notSavedChanged, path, language));
            return false;
        }
    }
    const int leftOut = path == session.path() ? session.segmentsLeftOut() : 0;
    if (leftOut > 0) {
        // The first answer, which Enter gives, is the one that loses nothing.
        Question question{word(WindowText::saveTitle), leftOutQuestion(leftOut, language),
                          {word(WindowText::cancelAnswer), word(WindowText::saveAnswer)}, language};
        if (ask(question) != 1) {
            showError(say(Saying::notSavedLeftOut, path, language));
            return false;
        }
    }
    if (isReadOnlyFile(path) && !confirmReplacing(path))
        return false;
    if (Error error = session.save(path)) {
        showError(saveFailed(error, language));
        return false;
    }
    // The file keeps the order, not the places: gaps close when it opens.
    const std::string renumbered = renumberingNote(session.document().levels, language);
    showMessage(say(Saying::saved, path, language) + (renumbered.empty() ? "" : "; " + renumbered));
    autosave->drop();
    recent.add(path);
    return true;
}

// Our own scratch file: whatever lies under its name is replaced, and
// nothing a link there points at is touched.
bool frame::writeScratch(const std::string& path, const std::vector<uint8_t>& bytes)
{
    WriteOptions scratch;
    scratch.keepFile = false;
    if (Error error = writeFileAtomically(path, bytes, scratch)) {
        showError(saveFailed(error, language));
        return false;
    }
    return true;
}

// A file the user may not write is replaced only when the user says so.
bool frame::confirmReplacing(const std::string& path)
{
    Question question{word(WindowText::saveTitle), say(Saying::replaceReadOnly, path, language),
                      {word(WindowText::replaceAnswer), word(WindowText::cancelAnswer)}, language};
    if (ask(question) == 0)
        return true;
    showError(say(Saying::notSavedReadOnly, path, language));
    return false;
}

bool frame::saveDocument()
{
    session.endStep();
    if (filePath.empty())
        return saveDocumentAs();
    return saveTo(withAtrExtension(filePath));
}

bool frame::saveDocumentAs()
{
    session.endStep();
    std::string chosen;
    if (!askForPath(true, chosen))
        return false;
    std::string settled = chosen;
    if (!settleExtension(settled))
        return false;
    // The dialog asked about the name as typed; ".atr" may make it another.
    const std::string final = withAtrExtension(settled);
    if (final != chosen && exists(final)) {
        Question question{word(WindowText::saveTitle), say(Saying::replaceExisting, final, language),
                          {word(WindowText::replaceAnswer), word(WindowText::cancelAnswer)}, language};
        if (ask(question) != 0)
            return false;
    }
    return saveTo(final);
}

// A name with another extension than ".atr" (a slip of the keyboard,
// often) makes a file the open dialogs hide: the user decides.
bool frame::settleExtension(std::string& path)
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
    Question question{word(WindowText::saveTitle), say(Saying::notAtrName, path, language),
                      {word(WindowText::addAtrAnswer), word(WindowText::saveAsTypedAnswer),
                       word(WindowText::cancelAnswer)},
                      language};
    switch (ask(question)) {
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

int frame::loadMap(const char* path)
{
    return openFile(path) ? 1 : 0;
}

// The opened file is the saved state of a fresh history; the view goes to
// the set's first level, not a slot left empty.
bool frame::openFile(const std::string& path)
{
    if (path.size() >= PATH_MAX) {
        showError(say(Saying::pathTooLong, path, language));
        return false;
    }
    // A save cut short while rewriting this file in place left the old
    // content beside it: the file itself may be half old, half new.
    const InterruptedSave backup = findInterruptedSave(path);
    bool recover = false;
    if (!backup.copy.empty()) {
        // The first answer, which Return gives, changes nothing.
        Question question{word(WindowText::openTitle),
                          interruptedSaveQuestion(path, backup.copy, backup.madeFrom, language),
                          {word(WindowText::openFileAnswer), word(WindowText::openCopyAnswer),
                           word(WindowText::cancelAnswer)},
                          language};
        const int answer = ask(question);
        if (answer != 0 && answer != 1)
            return false;
        recover = answer == 1;
    }
    const Session::Opened opened = recover ? session.openRecovered(path, backup.copy) : session.open(path);
    if (opened.error) {
        showError(openFailed(opened.error, language));
        return false;
    }
    showOpenedSet();
    recent.add(path);
    const bool elsewhere = autosave->openElsewhere(path);
    autosave->follow();
    const int count = session.document().levelsOn();
    const std::string news = openedSet(path, count, recover, language);
    if (opened.issues.empty() && !elsewhere)
        showMessage(news);
    else
        showError(news + (opened.issues.empty() ? "" : "; " + describe(opened.issues, language)) +
                  (elsewhere ? ". " + say(Saying::openElsewhere, path, language) : ""));
    return true;
}

// The view of a set just read: its first level, nothing carried over.
void frame::showOpenedSet()
{
    for (int i = levelCount - 1; i >= 0; --i)
        if (session.level(i).on)
            currentLevel = i;
    tools.levelChanged();
    invalidate();
}

bool frame::offerRecovery(const std::string& path)
{
    if (!autosave->offer(path))
        return false;
    showOpenedSet();
    return true;
}

void frame::openRecent(size_t index)
{
    recent.load();
    if (index >= recent.paths().size())
        return;
    const std::string path = recent.paths()[index];
    if (unsavedChangesSettled())
        openFile(path);
}

void frame::openDocument()
{
    if (!unsavedChangesSettled())
        return;
    std::string chosen;
    if (askForPath(false, chosen))
        openFile(chosen);
}

// --- Starting afresh and closing -------------------------------------------------

// An undoable step; the empty set it leaves has nothing to save.
void frame::newDocument()
{
    if (!unsavedChangesSettled())
        return;
    session.newSet();
}

bool frame::mayClose()
{
    session.endStep();
    return unsavedChangesSettled();
}

bool frame::unsavedChangesSettled()
{
    if (!session.modified())
        return true;
    Question question{std::string("Zelbun Kreator - ") + documentName(filePath, language),
                      say(Saying::saveChanges, "", language),
                      {word(WindowText::saveAnswer), word(WindowText::dontSaveAnswer), word(WindowText::cancelAnswer)},
                      language};
    switch (ask(question)) {
    case 0:
        return saveDocument();
    case 1:
        autosave->drop();  // thrown away by choice
        return true;
    default:
        return false;
    }
}

// A question may be drawn over the window: all of it is painted again.
int frame::ask(const Question& question)
{
    invalidate();
    return askQuestion(*platform, screen, question);
}

// --- Testing in the emulator -------------------------------------------------------

// The checks before a test (testchecks.h), with the choice to test anyway.
// True when the test may go on.
bool frame::levelsPlayable(bool currentLevelOnly)
{
    const std::vector<LevelFinding> findings = testChecks.run(currentLevelOnly ? currentLevel : -1);
    if (findings.empty())
        return true;
    if (ask({word(WindowText::testTitle), TestChecks::question(findings, language),
             {word(WindowText::testAnswer), word(WindowText::cancelAnswer)}, language}) == 0)
        return true;
    // Left to mend: each finding stays in the message area, and a click on
    // it shows its place.
    notices.showFindings(findings);
    return false;
}

void frame::testInEmulator(bool currentLevelOnly)
{
    if (levelsPlayable(currentLevelOnly))
        launches->start(currentLevelOnly ? session.testImage(currentLevel) : session.setImage());
}

bool frame::askForPath(bool save, std::string& chosen)
{
    DialogRequest request;
    request.save = save;
    if (save)
        request.extension = ".atr";
    request.title = word(save ? WindowText::saveTitle : WindowText::openTitle);
    request.language = language;
    request.startDir = workDir;
    request.currentPath = filePath;
    if (!save) {
        recent.load();
        request.recentFiles = recent.paths();
    }
    std::string path;
    invalidate();  // the dialog may be drawn over the window
    if (chooseFile(*platform, screen, request, path) != DialogResult::Chosen || path.empty())
        return false;
    if (path.size() >= PATH_MAX) {
        showError(say(Saying::pathTooLong, path, language));
        return false;
    }
    chosen = path;
    return true;
}
