// Never losing work: the autosave a window writes while its document is
// modified, and the offer of what a window that died left behind.
//
// An autosave belongs to the window that writes it. Each window holds a
// claim (a lock, core/fileio.h) on the autosave name it writes for its
// document, from the moment the document has a name: the first free one of
// "zestaw-1f2e3d4c.atr", "zestaw-1f2e3d4c-2.atr", ... A name whose file is
// there but whose claim nobody holds is the work of a window that ended
// without saving: it is offered at the next start, until it is restored or
// thrown away, and nothing else writes over it or removes it. A claim held
// by another window marks its document as open there. No SDL: the tests
// drive it with a fake clock.
#pragma once

#include "core/fileio.h"
#include "editor/voice.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Session;

class Autosave {
public:
    // While the document is modified: every 30 s and after every 20 undo steps.
    static const uint64_t interval = 30000;
    static const int steps = 20;

    // `stateDir` empty: nothing is written or offered. `clock` gives
    // milliseconds from any fixed start.
    Autosave(Session& session, std::string stateDir, std::function<uint64_t()> clock, Voice voice);
    // The claim goes; an autosave of unsaved work stays for the next start.
    ~Autosave() = default;
    Autosave(const Autosave&) = delete;
    Autosave& operator=(const Autosave&) = delete;

    // Writes the autosave when one is due: the document is modified, and 30
    // s have passed since its first change not autosaved yet, or 20 undo
    // steps were recorded since the last autosave. When the document is
    // unmodified again, its autosave goes.
    void tick();
    // An autosave waits for its time: the loop should wake for it.
    bool due() const;
    // The work is saved or thrown away by choice: this window's autosave goes.
    void drop();

    // Takes the document's name, as the session has it now, for this
    // window's autosaves. A window opening a document calls it at once, so
    // others see the document open; tick() does it as well.
    void follow();
    // Another running window has the document at `path` open.
    bool openElsewhere(const std::string& path) const;

    // At start: the autosaves that windows which ended left of the
    // document at `path` ("" for a new set), newest first, each when newer
    // than the document, read with the checks of any set and offered
    // with what they found. "Przywroc" makes the document that work,
    // belonging to `path` and modified (true); "Usun autozapis" removes it;
    // "Nie teraz" keeps it for the next start. The next is offered after
    // either of the last two.
    bool offer(const std::string& path);

    // The autosave this window writes, when it has written one; "" else.
    const std::string& file() const { return file_; }

private:
    bool claim();
    void write();
    void caughtUp();
    // Says once about a state folder that cannot be written.
    void stateFolderFailed(const Error& error);

    Session& session_;
    std::string stateDir_;
    std::function<uint64_t()> clock_;
    Voice voice_;

    FileLock claim_;              // the name this window writes under
    std::string claimedFor_;      // the document's path when claimed
    bool following_ = false;      // claimedFor_ is the document's path
    std::string file_;            // the autosave written; "" none
    uint64_t savedRevision_ = 0;  // the session's revision and steps then
    uint64_t savedSteps_ = 0;
    bool changeWaiting_ = false;  // a change not autosaved yet, seen at changeSeenAt_
    uint64_t changeSeenAt_ = 0;
    std::string failedFolder_;    // a folder said to fail, not said again
};
