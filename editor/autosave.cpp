// Never losing work: the autosave written while the document is modified,
// offered back at the next start after a crash, and the files used last.
#include "editor/frame.h"

#include "core/fileio.h"
#include "core/gameimage.h"
#include "core/messages.h"
#include "platform/platform.h"

bool frame::autosaveDue() const
{
    return !stateDir.empty() && session.modified() && session.revision() != autosavedRevision;
}

void frame::autosaveIfDue()
{
    if (stateDir.empty())
        return;
    if (!session.modified()) {
        // The file holds all of it again: saved, or undone back to it.
        if (!autosaveFile.empty())
            dropAutosave();
        changeWaiting = false;
        return;
    }
    if (session.revision() == autosavedRevision)
        return;
    const uint64_t now = clock();
    if (!changeWaiting) {
        changeWaiting = true;
        changeSeenAt = now;
    }
    const bool timeUp = now - changeSeenAt >= autosaveInterval;
    const bool manySteps = session.stepsRecorded() - autosavedSteps >= uint64_t(autosaveSteps);
    if (!timeUp && !manySteps)
        return;

    const std::string target = autosavePath(stateDir, filePath);
    if (!autosaveFile.empty() && autosaveFile != target)
        removeStateFile(autosaveFile);  // the document has another name now
    // Tried once per change: a failing disk is said once, not every second.
    autosaveCaughtUp();
    if (Error error = writeStateFile(target, session.setImage())) {
        showError(windowText(WindowText::autosaveFailed, language, {describe(error, language)}));
        return;
    }
    autosaveFile = target;
}

// The document as it is now counts as autosaved: the next autosave waits
// for the next change.
void frame::autosaveCaughtUp()
{
    autosavedRevision = session.revision();
    autosavedSteps = session.stepsRecorded();
    changeWaiting = false;
}

void frame::dropAutosave()
{
    if (stateDir.empty())
        return;
    if (!autosaveFile.empty())
        removeStateFile(autosaveFile);
    removeStateFile(autosavePath(stateDir, filePath));
    autosaveFile.clear();
    autosaveCaughtUp();
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
    if (stateDir.empty())
        return false;
    const std::string autosave = autosavePath(stateDir, path);
    if (!autosaveIsNewer(autosave, path))
        return false;
    const std::string name = path.empty() ? windowText(WindowText::autosaveOfNewSet, language) : fileNameOf(path);
    Question question{windowText(WindowText::autosaveTitle, language),
                      windowText(WindowText::autosaveQuestion, language, {name}),
                      {windowText(WindowText::restoreAnswer, language),
                       windowText(WindowText::deleteAutosaveAnswer, language),
                       windowText(WindowText::notNowAnswer, language)},
                      language};
    switch (ask(question)) {
    case 0:
        break;
    case 1:
        removeStateFile(autosave);
        return false;
    default:
        return false;
    }
    Error error = session.openRecovered(path, autosave).error;
    if (error) {
        error.path = autosave;
        showError(windowText(WindowText::autosaveRestoreFailed, language, {describe(error, language)}));
        return false;
    }
    showOpenedSet();
    autosaveFile = autosave;
    autosaveCaughtUp();
    showMessage(windowText(WindowText::autosaveRestored, language, {documentName(path, language)}));
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
