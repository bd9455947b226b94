// The in-window file dialog: drawing and its modal event loop. What the
// clicks and keys mean lives in FileBrowser.
#include "ui/indialog.h"

#include "core/wraptext.h"
#include "ui/display.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <filesystem>

namespace {

const int fontWidth = 8;

struct Colour {
    Uint8 r, g, b;
};
const Colour panelColour = {40, 40, 70};
const Colour frameColour = {200, 200, 200};
const Colour textColour = {255, 255, 255};
const Colour dimColour = {170, 170, 170};
const Colour directoryColour = {255, 255, 120};
const Colour selectionColour = {90, 90, 170};
const Colour fieldColour = {0, 0, 0};
const Colour statusColour = {255, 200, 80};
const Colour recentColour = {160, 230, 255};

void box(SDL_Surface* target, int x1, int y1, int x2, int y2, Colour c)
{
    boxRGBA(target, static_cast<Sint16>(x1), static_cast<Sint16>(y1), static_cast<Sint16>(x2),
            static_cast<Sint16>(y2), c.r, c.g, c.b, 255);
}

void outline(SDL_Surface* target, int x1, int y1, int x2, int y2, Colour c)
{
    rectangleRGBA(target, static_cast<Sint16>(x1), static_cast<Sint16>(y1), static_cast<Sint16>(x2),
                  static_cast<Sint16>(y2), c.r, c.g, c.b, 255);
}

void text(SDL_Surface* target, int x, int y, const std::string& s, Colour c)
{
    stringRGBA(target, static_cast<Sint16>(x), static_cast<Sint16>(y), s.c_str(), c.r, c.g, c.b, 255);
}

// The end of a long path matters most: keep it, mark the cut.
std::string fitTail(const std::string& s, int width)
{
    size_t room = static_cast<size_t>(width / fontWidth);
    if (s.size() <= room)
        return s;
    return room <= 3 ? s.substr(s.size() - room) : "..." + s.substr(s.size() - (room - 3));
}

std::string fitHead(const std::string& s, int width)
{
    size_t room = static_cast<size_t>(width / fontWidth);
    if (s.size() <= room)
        return s;
    return room <= 3 ? s.substr(0, room) : s.substr(0, room - 3) + "...";
}

std::string workingDirectory()
{
    std::error_code error;
    std::filesystem::path cwd = std::filesystem::current_path(error);
    return error ? "/" : cwd.u8string();
}

}  // namespace

InWindowDialog::InWindowDialog(SDL_Surface* screen, const DialogRequest& request, FileSystemView& fileSystem,
                               const std::string& workingDir)
    : panelX(screen->w > panelWidth ? (screen->w - panelWidth) / 2 : 0),
      panelY(screen->h > panelHeight ? (screen->h - panelHeight) / 2 : 0),
      listX(panelX + 10),
      listY(panelY + 40),
      listWidth(560),
      scrollBar(1),
      allFilesButton("Wszystkie pliki"),
      okButton("OK"),
      cancelButton("Anuluj"),
      screen_(screen),
      title_(request.title),
      browser_(fileSystem, request, workingDir, visibleRows)
{
    scrollBar.move(listX + listWidth + 2, listY, 18, visibleRows * rowHeight);
    allFilesButton.move(panelX + 10, panelY + 496, 130, 25);
    okButton.move(panelX + 400, panelY + 496, 90, 25);
    cancelButton.move(panelX + 500, panelY + 496, 90, 25);
}

int InWindowDialog::rowAt(int px, int py) const
{
    bool inside = px >= listX && px < listX + listWidth && py >= listY && py < listY + visibleRows * rowHeight;
    return inside ? (py - listY) / rowHeight : -1;
}

void InWindowDialog::finish(DialogResult result)
{
    result_ = result;
    finished_ = true;
}

void InWindowDialog::confirm()
{
    if (browser_.confirm() == FileBrowser::Outcome::Chosen)
        finish(DialogResult::Chosen);
}

bool InWindowDialog::scrollTo(int px, int py)
{
    // The listing may have changed since the last draw.
    scrollBar.setScrollLines(browser_.scrollPositions());
    int line = scrollBar.push(px, py);
    if (line > 0)
        browser_.scrollTo(line - 1);
    return line > 0;
}

void InWindowDialog::press(int px, int py)
{
    int row = rowAt(px, py);
    if (row >= 0) {
        FileBrowser::Outcome outcome = browser_.click(browser_.topRow() + row, SDL_GetTicks());
        if (outcome == FileBrowser::Outcome::Chosen) {
            result_ = DialogResult::Chosen;
            finishOnRelease_ = true;
        }
        return;
    }
    if (scrollTo(px, py))
        draggingBar_ = true;
    allFilesButton.push(px, py);
    okButton.push(px, py);
    cancelButton.push(px, py);
}

void InWindowDialog::release(int px, int py)
{
    draggingBar_ = false;
    scrollBar.free();
    if (finishOnRelease_) {
        finish(result_);
        return;
    }
    if (allFilesButton.push(px, py))
        browser_.setShowAllFiles(!browser_.showAllFiles());
    if (okButton.push(px, py))
        confirm();
    if (cancelButton.push(px, py))
        finish(DialogResult::Cancelled);
    allFilesButton.free();
    okButton.free();
    cancelButton.free();
}

void InWindowDialog::key(const SDL_keysym& keysym)
{
    switch (keysym.sym) {
    case SDLK_ESCAPE:
        finish(DialogResult::Cancelled);
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        confirm();
        break;
    case SDLK_BACKSPACE:
        browser_.eraseCharacter();
        break;
    case SDLK_UP:
        browser_.moveSelection(-1);
        break;
    case SDLK_DOWN:
        browser_.moveSelection(1);
        break;
    case SDLK_PAGEUP:
        browser_.scrollBy(-visibleRows);
        break;
    case SDLK_PAGEDOWN:
        browser_.scrollBy(visibleRows);
        break;
    case SDLK_LEFT:
    case SDLK_RIGHT:
    case SDLK_HOME:
    case SDLK_END:
        // The cursor goes to the name's end: typing adds to it.
        browser_.keepName();
        break;
    default:
        if (keysym.unicode != 0)
            browser_.typeCharacter(keysym.unicode);
        break;
    }
}

void InWindowDialog::handle(const SDL_Event& event)
{
    if (finished_)
        return;
    switch (event.type) {
    case SDL_QUIT: {
        // The editor must still see it and end.
        SDL_Event quit = event;
        SDL_PushEvent(&quit);
        finish(DialogResult::Cancelled);
        break;
    }
    case SDL_KEYDOWN:
        if (!finishOnRelease_)
            key(event.key.keysym);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (finishOnRelease_)
            break;
        if (event.button.button == SDL_BUTTON_WHEELUP)
            browser_.scrollBy(-wheelRows);
        else if (event.button.button == SDL_BUTTON_WHEELDOWN)
            browser_.scrollBy(wheelRows);
        else if (event.button.button == SDL_BUTTON_LEFT)
            press(event.button.x, event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT)
            release(event.button.x, event.button.y);
        break;
    case SDL_MOUSEMOTION:
        if (draggingBar_ && (event.motion.state & SDL_BUTTON(SDL_BUTTON_LEFT)))
            scrollTo(event.motion.x, event.motion.y);
        break;
    default:
        break;
    }
}

void InWindowDialog::draw()
{
    SDL_Surface* s = screen_;
    box(s, panelX, panelY, panelX + panelWidth - 1, panelY + panelHeight - 1, panelColour);
    outline(s, panelX, panelY, panelX + panelWidth - 1, panelY + panelHeight - 1, frameColour);
    text(s, panelX + 10, panelY + 8, fitHead(title_, panelWidth - 20), textColour);
    text(s, panelX + 10, panelY + 24, "Katalog: " + fitTail(displayName(browser_.directory()), panelWidth - 92),
         dimColour);

    // The list.
    int listBottom = listY + visibleRows * rowHeight - 1;
    box(s, listX, listY, listX + listWidth - 1, listBottom, fieldColour);
    outline(s, listX, listY, listX + listWidth - 1, listBottom, frameColour);
    const std::vector<BrowserEntry>& entries = browser_.entries();
    for (int row = 0; row < visibleRows; ++row) {
        int index = browser_.topRow() + row;
        if (index >= static_cast<int>(entries.size()))
            break;
        const BrowserEntry& entry = entries[index];
        int rowY = listY + row * rowHeight;
        if (index == browser_.selected())
            box(s, listX + 1, rowY + 1, listX + listWidth - 2, rowY + rowHeight - 1, selectionColour);
        bool isDirectory = entry.kind == EntryKind::Parent || entry.kind == EntryKind::Directory;
        if (entry.kind == EntryKind::Recent) {
            // Its whole path, the end in view.
            text(s, listX + 4, rowY + 3, "* " + fitTail(displayName(entry.name), listWidth - 24), recentColour);
            continue;
        }
        std::string label = displayName(entry.name) + (isDirectory ? "/" : "");
        Colour colour = isDirectory                           ? directoryColour
                        : entry.kind == EntryKind::AtrFile ? textColour
                                                              : dimColour;
        text(s, listX + 4, rowY + 3, fitHead(label, listWidth - 8), colour);
    }
    scrollBar.setScrollLines(browser_.scrollPositions());
    scrollBar.setLine(browser_.topRow() + 1);
    scrollBar.render(s);

    // The path line, its end always in view, with a cursor.
    int fieldX = panelX + 54, fieldY = panelY + 456;
    text(s, panelX + 10, fieldY + 4, "Plik:", textColour);
    box(s, fieldX, fieldY, panelX + panelWidth - 11, fieldY + 15, fieldColour);
    outline(s, fieldX, fieldY, panelX + panelWidth - 11, fieldY + 15, frameColour);
    // A selected name shows on the selection's colour, with no cursor:
    // typing replaces it.
    const bool selectedName = browser_.nameSelected();
    const std::string shown = fitTail(displayName(browser_.pathText()) + (selectedName ? "" : "_"), panelWidth - 74);
    if (selectedName)
        box(s, fieldX + 3, fieldY + 3, fieldX + 4 + fontWidth * int(shown.size()), fieldY + 12, selectionColour);
    text(s, fieldX + 4, fieldY + 4, shown, textColour);
    text(s, panelX + 10, panelY + 478, fitHead(browser_.status(), panelWidth - 20), statusColour);

    // The switch shows pressed while it is on.
    allFilesButton.pushed(browser_.showAllFiles() || allFilesButton.isPushed ? 1 : 0);
    allFilesButton.render(s);
    okButton.render(s);
    cancelButton.render(s);
}

DialogResult runInWindowDialog(SDL_Surface* screen, const DialogRequest& request, std::string& chosen)
{
    DiskFileSystem disk;
    InWindowDialog dialog(screen, request, disk, workingDirectory());
    // Typed characters need Unicode key translation; the editor's setting
    // comes back afterwards.
    int unicodeWas = SDL_EnableUNICODE(1);

    while (!dialog.finished()) {
        dialog.draw();
        presentPicture(screen);
        SDL_Event event;
        if (!SDL_WaitEvent(&event))
            break;
        pictureEvent(event);
        dialog.handle(event);
        while (!dialog.finished() && SDL_PollEvent(&event)) {
            pictureEvent(event);
            dialog.handle(event);
        }
    }

    SDL_EnableUNICODE(unicodeWas);
    if (!dialog.finished() || dialog.result() != DialogResult::Chosen)
        return DialogResult::Cancelled;
    chosen = dialog.browser().chosenPath();
    return DialogResult::Chosen;
}

DialogResult chooseFile(Platform& platform, SDL_Surface* screen, const DialogRequest& request,
                        std::string& chosen)
{
    DialogResult result = platform.fileDialog(request, chosen);
    if (result != DialogResult::Unavailable || screen == nullptr)
        return result;
    return runInWindowDialog(screen, request, chosen);
}

InWindowQuestion::InWindowQuestion(SDL_Surface* screen, const Question& question)
    : screen_(screen),
      question_(question),
      lines_(wrapText(question.text, static_cast<size_t>((panelWidth - 20) / fontWidth)))
{
    // The panel grows with the text, as far as the window lets it.
    const int most = std::max(panelHeight, screen->h - 20);
    height_ = std::min(most, panelHeight + lineHeight * std::max(0, static_cast<int>(lines_.size()) - 1));
    panelX = screen->w > panelWidth ? (screen->w - panelWidth) / 2 : 0;
    panelY = screen->h > height_ ? (screen->h - height_) / 2 : 0;
    // Right-aligned, the cancel last, as desktop dialogs have them.
    int count = static_cast<int>(question_.answers.size());
    for (int i = 0; i < count; ++i) {
        auto button = std::make_unique<CButton>(question_.answers[i].c_str());
        int right = panelX + panelWidth - 10 - (count - 1 - i) * (buttonWidth + 10);
        button->move(right - buttonWidth, panelY + height_ - 35, buttonWidth, 25);
        answerButtons.push_back(std::move(button));
    }
}

void InWindowQuestion::handle(const SDL_Event& event)
{
    if (finished() || question_.answers.empty())
        return;
    const int last = static_cast<int>(question_.answers.size()) - 1;
    switch (event.type) {
    case SDL_QUIT:
        answer_ = last;
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE)
            answer_ = last;
        else if (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER)
            answer_ = 0;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT)
            break;
        pressed_ = -1;
        for (int i = 0; i <= last; ++i)
            if (answerButtons[i]->push(event.button.x, event.button.y))
                pressed_ = i;
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT)
            break;
        for (int i = 0; i <= last; ++i)
            if (answerButtons[i]->push(event.button.x, event.button.y) && i == pressed_)
                answer_ = i;
        for (auto& button : answerButtons)
            button->free();
        pressed_ = -1;
        break;
    default:
        break;
    }
}

void InWindowQuestion::draw()
{
    SDL_Surface* s = screen_;
    box(s, panelX, panelY, panelX + panelWidth - 1, panelY + height_ - 1, panelColour);
    outline(s, panelX, panelY, panelX + panelWidth - 1, panelY + height_ - 1, frameColour);
    text(s, panelX + 10, panelY + 10, fitHead(question_.title, panelWidth - 20), dimColour);
    const size_t room = static_cast<size_t>(std::max(1, (height_ - 75) / lineHeight + 1));
    for (size_t i = 0; i < lines_.size() && i < room; ++i)
        text(s, panelX + 10, panelY + 32 + lineHeight * static_cast<int>(i), lines_[i], textColour);
    for (auto& button : answerButtons)
        button->render(s);
}

int runInWindowQuestion(SDL_Surface* screen, const Question& question)
{
    if (question.answers.empty())
        return Platform::questionUnavailable;
    InWindowQuestion dialog(screen, question);
    while (!dialog.finished()) {
        dialog.draw();
        presentPicture(screen);
        SDL_Event event;
        if (!SDL_WaitEvent(&event))
            return static_cast<int>(question.answers.size()) - 1;
        pictureEvent(event);
        dialog.handle(event);
        while (!dialog.finished() && SDL_PollEvent(&event)) {
            pictureEvent(event);
            dialog.handle(event);
        }
    }
    return dialog.answer();
}

int askQuestion(Platform& platform, SDL_Surface* screen, const Question& question)
{
    int answer = platform.ask(question);
    if (answer != Platform::questionUnavailable)
        return answer;
    if (screen == nullptr)
        return static_cast<int>(question.answers.size()) - 1;
    return runInWindowQuestion(screen, question);
}
