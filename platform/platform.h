// What the editor needs from the operating system: a file dialog, the
// desktop's "open this file" action and the working directory. The editor
// talks only to this interface, so its tests can hand it a FakePlatform.
#pragma once

#include "core/error.h"

#include <memory>
#include <string>
#include <vector>

struct DialogRequest {
    std::string title;
    std::string startDir;     // where to start when there is no current file
    std::string currentPath;  // the document's file, offered in the dialog; may be empty
    bool save = false;        // save dialog (asks before overwriting) or open dialog (existing files only)
    // Saving: added to a chosen name without a dot (e.g. ".atr"); the
    // in-window dialog adds it before it asks about overwriting.
    std::string extension;
    // Opening: the files used last, newest first, offered before the rest.
    std::vector<std::string> recentFiles{};
};

enum class DialogResult {
    Chosen,
    Cancelled,
    Unavailable  // no dialog program could be run; the editor shows its own in-window dialog
};

// A question with two or three answers, such as "Zapisac zmiany?" with
// "Zapisz", "Nie zapisuj", "Anuluj". The first answer goes ahead, the last
// one cancels; a middle one is the other way of going ahead.
struct Question {
    std::string title;
    std::string text;
    std::vector<std::string> answers;
};

class Platform {
public:
    // What ask() returns when no question program could be shown; the
    // editor then asks inside its own window.
    static constexpr int questionUnavailable = -1;

    virtual ~Platform() = default;

    // Blocks until the user closes the dialog. chosenPath is set only when
    // the result is Chosen.
    virtual DialogResult fileDialog(const DialogRequest& request, std::string& chosenPath) = 0;

    // Starts the program the desktop associates with the file and returns at
    // once; the error says why it could not.
    virtual Error openWithDefaultProgram(const std::string& file, const std::string& dir) = 0;

    // Blocks until the user answers. Returns the index of the answer; closing
    // the dialog is the last answer (cancel). questionUnavailable when there
    // is no program to ask with.
    virtual int ask(const Question& question)
    {
        (void)question;
        return questionUnavailable;
    }

    // Starts a program that runs the test image `file` and returns at once.
    // `emulatorCommand` is the user's command line for it ("" for none), in
    // which %f stands for the file. The error says why it could not (or,
    // with Fault::noEmulator, that an emulator wants setting up).
    virtual Error openTestImage(const std::string& file, const std::string& dir, const std::string& emulatorCommand)
    {
        (void)emulatorCommand;
        return openWithDefaultProgram(file, dir);
    }

    // Empty when the directory cannot be read.
    virtual std::string currentDirectory() = 0;

    // Collects programs started by openWithDefaultProgram that have ended,
    // and returns those that failed (Fault::programFailed or programKilled,
    // naming the program's file). The event loop calls it on every wake.
    virtual std::vector<Error> reapChildren() { return {}; }

    // Whether a started program has not been collected yet: the event loop
    // then wakes now and then to collect it.
    virtual bool childrenRunning() const { return false; }
};

// Sets an environment variable of this program (a setting of a library it
// uses) unless the user's environment has it already. Programs started for
// test images do not inherit a value set here, only the user's own.
void setOwnEnvironmentDefault(const std::string& name, const std::string& value);

// Makes the calling thread give way to the program's others: for work in
// the background, so the window's thread never waits for a core.
void yieldToOtherThreads();

// windowId: the native window the dialogs belong to (the X11 window id, or
// the HWND on Windows); 0 when unknown.
std::unique_ptr<Platform> makeSystemPlatform(unsigned long windowId);

// The same, looking programs up in searchPath (a PATH-style list: ":"
// between folders, ";" on Windows) instead of the environment's PATH.
std::unique_ptr<Platform> makeSystemPlatform(unsigned long windowId, const std::string& searchPath);
