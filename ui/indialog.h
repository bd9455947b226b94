// The file dialog drawn inside the editor's own window, for machines with no
// dialog program: a directory list with a scroll bar, a path line to type
// into, an "all files" switch, and "OK" and "Anuluj". It runs its own modal
// event loop, as the system dialogs block the editor's.
#pragma once

#include "ui/filebrowser.h"
#include "platform/platform.h"
#include "widgets/CButton.h"
#include "widgets/CScrollBar.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

class InWindowDialog {
public:
    static constexpr int panelWidth = 600;
    static constexpr int panelHeight = 530;
    static constexpr int rowHeight = 12;
    static constexpr int visibleRows = 34;
    static constexpr int wheelRows = 3;
    // The room of the words on the buttons and before the path line.
    static constexpr int answerWidth = 90;
    static constexpr int allFilesWidth = 130;
    static constexpr int fieldLabelWidth = 44;

    InWindowDialog(SDL_Surface* screen, const DialogRequest& request, FileSystemView& fileSystem,
                   const std::string& workingDir);

    void handle(const SDL_Event& event);
    void draw();

    bool finished() const { return finished_; }
    DialogResult result() const { return result_; }
    const FileBrowser& browser() const { return browser_; }

    // Layout, in screen pixels; the panel is centred on the screen.
    int panelX, panelY;
    int listX, listY, listWidth;
    CScrollBar scrollBar;
    CButton allFilesButton;
    CButton okButton;
    CButton cancelButton;

private:
    void press(int px, int py);
    void release(int px, int py);
    void key(const SDL_keysym& keysym);
    void confirm();
    // A press or drag on the scroll bar; false when it missed.
    bool scrollTo(int px, int py);
    void finish(DialogResult result);
    int rowAt(int px, int py) const;

    SDL_Surface* screen_;
    std::string title_;
    Language language_;
    FileBrowser browser_;
    bool draggingBar_ = false;
    bool finishOnRelease_ = false;  // chosen by a press: its release must not reach the editor
    bool finished_ = false;
    DialogResult result_ = DialogResult::Cancelled;
};

// Shows the dialog over the window until OK, "Anuluj", Escape or the window
// being closed (which cancels and leaves the quit event queued for the
// editor). Returns Chosen with the absolute path, or Cancelled. The caller
// repaints its window afterwards.
DialogResult runInWindowDialog(SDL_Surface* screen, const DialogRequest& request, std::string& chosen);

// The platform's dialog, or the in-window one where the platform has none.
DialogResult chooseFile(Platform& platform, SDL_Surface* screen, const DialogRequest& request,
                        std::string& chosen);

// A question asked inside the window: its text and one button per answer.
// Enter takes the first answer, Escape or closing the window the last; a
// button answers when the left button is pressed and released on it.
class InWindowQuestion {
public:
    static constexpr int panelWidth = 440;
    static constexpr int panelHeight = 100;  // for one line of text; each more adds a line's height
    static constexpr int lineHeight = 10;
    static constexpr int buttonWidth = 120;

    InWindowQuestion(SDL_Surface* screen, const Question& question);

    void handle(const SDL_Event& event);
    void draw();
    bool finished() const { return answer_ >= 0; }
    int answer() const { return answer_; }

    int panelX, panelY;
    std::vector<std::unique_ptr<CButton>> answerButtons;

private:
    SDL_Surface* screen_;
    Question question_;
    std::vector<std::string> lines_;
    int height_ = panelHeight;
    int pressed_ = -1;
    int answer_ = -1;
};

int runInWindowQuestion(SDL_Surface* screen, const Question& question);

// The platform's question, or the in-window one where the platform has none.
int askQuestion(Platform& platform, SDL_Surface* screen, const Question& question);
