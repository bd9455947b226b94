// The window's side of the file and test commands: the game images the
// Parts' operations write and read, and the checks before a test. The
// questions and the flow of opening and saving are filecommands.cpp's.
#include "editor/frame.h"

#include "core/gameimage.h"
#include "core/messages.h"
#include "platform/platform.h"
#include "ui/indialog.h"

#include <cassert>
#include <cstring>

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

int frame::saveMap(char* path)
{
    std::string extended = withAtrExtension(path);
    assert(extended.size() < PATH_MAX + 8);
    std::strcpy(path, extended.c_str());
    return files->writeCopy(path) ? 1 : 0;
}

int frame::saveMap(char* path, int slot)
{
    std::string extended = withAtrExtension(path);
    assert(extended.size() < PATH_MAX + 8);
    std::strcpy(path, extended.c_str());
    return files->writeScratch(path, session.testImage(slot)) ? 1 : 0;
}

int frame::loadMap(const char* path)
{
    return files->open(path) ? 1 : 0;
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

bool frame::mayClose()
{
    session.endStep();
    return files->unsavedChangesSettled();
}

// A question may be drawn over the window: all of it is painted again.
int frame::ask(const Question& question)
{
    invalidate();
    return askQuestion(*platform, screen, question);
}

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
