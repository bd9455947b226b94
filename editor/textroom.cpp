#include "editor/textroom.h"

#include "core/messages.h"
#include "editor/layout.h"
#include "ui/indialog.h"

int textRoom(WindowText text)
{
    using namespace layout;
    const int statusRoom = statusLine.w - 2, pageRoom = overlayChars * fontWidth;
    switch (text) {
    case WindowText::newButton: return newButton.w;
    case WindowText::openButton: return openButton.w;
    case WindowText::saveButton: return saveButton.w;
    case WindowText::saveAsButton: return saveAsButton.w;
    case WindowText::deleteButton: return deleteButton.w;
    case WindowText::testLevelButton: return testLevelButton.w;
    case WindowText::testGameButton: return testGameButton.w;
    case WindowText::swapButton: return swapButton.w;
    case WindowText::playButton: return playButton.w;
    case WindowText::undoButton: return undoButton.w;
    case WindowText::redoButton: return redoButton.w;
    case WindowText::logButton: return logButton.w;
    case WindowText::dismissButton: return dismissButton.w;
    case WindowText::startPageButton: return startPageButton.w;
    case WindowText::endPageButton: return endPageButton.w;
    case WindowText::screwCounterLabel: return screwCounterArea.w;
    case WindowText::wallCounterLabel: return wallCounterArea.w;
    case WindowText::colourLabel: return colourLabelWidth;
    case WindowText::textLabel: return textLabelWidth;
    case WindowText::findingAreaStatus:
    case WindowText::wholeMessageStatus: case WindowText::playCounters: case WindowText::playKeys:
    case WindowText::replayStep: case WindowText::paused:
        return statusRoom;
    case WindowText::moreMessages:
        return messageArea.w - 4;
    case WindowText::noMessages: case WindowText::helpLanguage: case WindowText::helpCanvas:
    case WindowText::helpSet: case WindowText::helpCounters: case WindowText::helpText:
        return pageRoom;
    case WindowText::helpTitle: case WindowText::logTitle: case WindowText::messageTitle:
    case WindowText::pageClosing:
        return pageRoom / 2;  // the title at the left, the closing words at the right
    case WindowText::saveTitle: case WindowText::openTitle: case WindowText::autosaveTitle:
    case WindowText::testTitle:
        return InWindowQuestion::panelWidth - 20;
    case WindowText::okAnswer: case WindowText::cancelAnswer:  // also the file dialog's
        return InWindowDialog::answerWidth;
    case WindowText::replaceAnswer: case WindowText::addAtrAnswer: case WindowText::saveAsTypedAnswer:
    case WindowText::openCopyAnswer: case WindowText::openFileAnswer: case WindowText::saveAnswer:
    case WindowText::dontSaveAnswer: case WindowText::testAnswer: case WindowText::restoreAnswer:
    case WindowText::deleteAutosaveAnswer: case WindowText::notNowAnswer: case WindowText::yesAnswer:
    case WindowText::noAnswer:
        return InWindowQuestion::buttonWidth;
    case WindowText::allFilesButton:
        return InWindowDialog::allFilesWidth;
    case WindowText::fileLine:
        return InWindowDialog::fieldLabelWidth;
    case WindowText::helpButtons: case WindowText::pastedRobot: case WindowText::templateRefused:
    case WindowText::emulatorFailed: case WindowText::testImageWontBoot: case WindowText::cannotWrite:
    case WindowText::emulatorNotStarted: case WindowText::emulatorStarted: case WindowText::testDirectoryFailed:
    case WindowText::autosaveFailed: case WindowText::autosaveOff: case WindowText::autosaveRestoreFailed:
    case WindowText::autosaveRestored: case WindowText::autosaveOf: case WindowText::autosaveNewer:
    case WindowText::autosaveOlder: case WindowText::autosaveWork: case WindowText::autosaveWritten:
    case WindowText::autosaveBroken: case WindowText::autosaveDamaged: case WindowText::autosaveRestore:
    case WindowText::autosaveOfNewSet: case WindowText::playing:
    case WindowText::levelName: case WindowText::noRobotToPlay:
    case WindowText::playEnded:
    case WindowText::robotDied: case WindowText::levelFinished: case WindowText::gameOver:
    case WindowText::solutionShown: case WindowText::folderLine: case WindowText::folderUnreadable:
    case WindowText::noSuchFolder: case WindowText::notAPlainFile: case WindowText::noSuchFile:
    case WindowText::fileExists: case WindowText::atrImages: case WindowText::allFiles:
    case WindowText::openedLast: case WindowText::fileColumn: case WindowText::anotherFile:
    case WindowText::count:
        return 0;
    }
    return 0;
}

bool isShortenedLabel(WindowText text)
{
    return text >= WindowText::newButton && text <= WindowText::textLabel;
}

std::string shownLabel(WindowText text, Language language)
{
    const std::string words = windowText(text, language);
    return isShortenedLabel(text) ? fitLabel(words, size_t(textRoom(text) / layout::fontWidth)) : words;
}
