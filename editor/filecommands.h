// The file commands: opening and saving the set, starting afresh, and the
// questions asked before work is lost or a file is replaced. The session
// reads and writes; this part asks the user and says what happened. No
// SDL: the file dialog and the questions come in as functions, so tests
// answer them.
#pragma once

#include "core/messages.h"
#include "editor/voice.h"

#include <climits>
#include <cstdint>
#include <functional>
// The longest path the editor takes. Windows' PATH_MAX (260) binds only
// calls without the extended "\\?\" form, which the file calls use.
#if defined(_WIN32) || !defined(PATH_MAX)
#undef PATH_MAX
#define PATH_MAX 4096
#endif
#include <string>
#include <vector>

class Autosave;
class RecentFiles;
class Session;

class FileCommands {
public:
    // Shows the file dialog for `request`; true with `path` set when a file
    // was chosen.
    using ChooseFile = std::function<bool(const DialogRequest& request, std::string& path)>;

    // `opened` is called when the document has become another set, for the
    // window to show it from its start.
    FileCommands(Session& session, RecentFiles& recent, Autosave& autosave, Voice voice, ChooseFile chooseFile,
                 std::function<void()> opened);
    void setLanguage(Language language) { language_ = language; }

    // "Nowy", "Otworz", "Zapisz", "Zapisz jako": each asks what it must
    // first; save() and saveAs() are false when nothing was saved.
    void newSet();
    void openChosen();
    bool save();
    bool saveAs();
    // The recent file at `index` (Ctrl+1..9), after asking about unsaved work.
    void openRecent(size_t index);
    // Opens `path` as the document; false (and said) when it cannot be.
    bool open(const std::string& path);
    // Before work is thrown away: "Zapisac zmiany?". True when the caller
    // may go on (saved, or the user said not to save).
    bool unsavedChangesSettled();

    // The whole set written to `path` without making it the document's file.
    bool writeCopy(const std::string& path);
    // Our own scratch file: whatever lies under its name is replaced, and
    // nothing a link there points at is touched.
    bool writeScratch(const std::string& path, const std::vector<uint8_t>& bytes);
    // The file dialog for opening (save false) or saving; false when no
    // usable path was chosen.
    bool askForPath(bool save, std::string& chosen);

private:
    bool saveTo(const std::string& path);
    bool confirmReplacing(const std::string& path);
    bool settleExtension(std::string& path);
    // A question with the title `title` and the answers in `answers`.
    int ask(WindowText title, const std::string& text, std::initializer_list<WindowText> answers);

    Session& session_;
    RecentFiles& recent_;
    Autosave& autosave_;
    Voice voice_;
    ChooseFile chooseFile_;
    std::function<void()> opened_;
    Language language_ = Language::polish;
};
