// The in-window file dialog, driven by events pushed onto SDL's queue over
// a small directory tree on disk.
#include "tests/portable.h"
#include "ui/indialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class InWindowDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(640, 570, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
        screen = SDL_GetVideoSurface();
        SDL_Event stale;
        while (SDL_PollEvent(&stale)) {
        }
        // As the browser writes it: with "/" also on Windows.
        dir = fs::canonical(fs::u8path(portable::makeTempDir("zelbun-indialog"))).generic_u8string();
        fs::create_directory(dir + "/sub");
        touch("a.atr");
        touch("b.atr");
        touch("notes.txt");
    }
    void TearDown() override
    {
        fs::remove_all(dir);
        SDL_Quit();
    }

    void touch(const std::string& name) { std::ofstream(dir + "/" + name) << "x"; }

    static void pushKey(SDLKey sym, Uint16 unicode = 0)
    {
        SDL_Event event = {};
        event.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = sym;
        event.key.keysym.unicode = unicode;
        SDL_PushEvent(&event);
    }
    static void pushText(const std::string& text)
    {
        for (char c : text)
            pushKey(static_cast<SDLKey>(c), static_cast<Uint16>(c));
    }
    static void pushButton(Uint8 type, Uint8 button, int x, int y)
    {
        SDL_Event event = {};
        event.type = type;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
        SDL_PushEvent(&event);
    }
    static void pushClick(int x, int y)
    {
        pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y);
        pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, x, y);
    }
    static void pushClick(const CButton& button) { pushClick(button.x + button.width / 2, button.y + button.height / 2); }

    // Centre of a list row; the layout depends only on the screen.
    int rowX() { return layout().listX + 20; }
    int rowY(int row) { return layout().listY + row * InWindowDialog::rowHeight + InWindowDialog::rowHeight / 2; }
    InWindowDialog& layout()
    {
        if (!probe)
            probe = std::make_unique<InWindowDialog>(screen, openRequest(), disk, dir);
        return *probe;
    }

    DialogRequest openRequest() { return {"Otworz", dir, "", false, "", {}}; }
    DialogRequest saveRequest() { return {"Zapisz", dir, "", true, "", {}}; }

    static Uint8 nextEventType()
    {
        SDL_Event event;
        return SDL_PollEvent(&event) ? event.type : static_cast<Uint8>(SDL_NOEVENT);
    }

    SDL_Surface* screen = nullptr;
    std::string dir;
    DiskFileSystem disk;
    std::unique_ptr<InWindowDialog> probe;
};

TEST_F(InWindowDialogTest, TypingAPathThenEnter)
{
    // The path line starts with the directory; a typed name completes it.
    pushText("a.atr");
    pushKey(SDLK_RETURN, '\r');
    std::string chosen;
    EXPECT_EQ(runInWindowDialog(screen, openRequest(), chosen), DialogResult::Chosen);
    EXPECT_EQ(chosen, dir + "/a.atr");

    // Backspace mends a typo; saving takes a new name.
    pushText("nowz");
    pushKey(SDLK_BACKSPACE, '\b');
    pushText("a");
    pushKey(SDLK_KP_ENTER, '\r');
    EXPECT_EQ(runInWindowDialog(screen, saveRequest(), chosen), DialogResult::Chosen);
    EXPECT_EQ(chosen, dir + "/nowa");
    EXPECT_EQ(nextEventType(), SDL_NOEVENT);
}

TEST_F(InWindowDialogTest, EnterOnAMissingFileKeepsTheDialogOpen)
{
    pushText("brak.atr");
    pushKey(SDLK_RETURN, '\r');
    pushKey(SDLK_ESCAPE);
    std::string chosen = "before";
    EXPECT_EQ(runInWindowDialog(screen, openRequest(), chosen), DialogResult::Cancelled);
    EXPECT_EQ(chosen, "before");
}

TEST_F(InWindowDialogTest, ClickingAListedFileThenOk)
{
    // Rows: "..", "sub", "a.atr", "b.atr".
    pushClick(rowX(), rowY(3));
    pushClick(layout().okButton);
    std::string chosen;
    EXPECT_EQ(runInWindowDialog(screen, openRequest(), chosen), DialogResult::Chosen);
    EXPECT_EQ(chosen, dir + "/b.atr");

    // A click on a directory enters it; "Anuluj" then cancels.
    touch("sub/c.atr");
    pushClick(rowX(), rowY(1));
    pushClick(rowX(), rowY(1) + 1000);  // below the list: nothing
    pushClick(layout().cancelButton);
    EXPECT_EQ(runInWindowDialog(screen, openRequest(), chosen), DialogResult::Cancelled);
    EXPECT_EQ(chosen, dir + "/b.atr");
}

TEST_F(InWindowDialogTest, DoubleClickChoosesAndKeepsItsReleaseFromTheEditor)
{
    pushClick(rowX(), rowY(2));
    pushClick(rowX(), rowY(2));
    SDL_Event marker = {};
    marker.type = SDL_USEREVENT;
    SDL_PushEvent(&marker);
    std::string chosen;
    EXPECT_EQ(runInWindowDialog(screen, openRequest(), chosen), DialogResult::Chosen);
    EXPECT_EQ(chosen, dir + "/a.atr");
    // The second release was the dialog's; what came after it is left.
    EXPECT_EQ(nextEventType(), SDL_USEREVENT);
    EXPECT_EQ(nextEventType(), SDL_NOEVENT);
}

TEST_F(InWindowDialogTest, EscapeCancels)
{
    pushText("a.atr");
    pushKey(SDLK_ESCAPE);
    std::string chosen = "before";
    EXPECT_EQ(runInWindowDialog(screen, openRequest(), chosen), DialogResult::Cancelled);
    EXPECT_EQ(chosen, "before");
}

TEST_F(InWindowDialogTest, ClosingTheWindowCancelsAndReachesTheEditor)
{
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    std::string chosen;
    EXPECT_EQ(runInWindowDialog(screen, openRequest(), chosen), DialogResult::Cancelled);
    EXPECT_EQ(nextEventType(), SDL_QUIT);
}

TEST_F(InWindowDialogTest, WheelScrollsTheList)
{
    for (int i = 0; i < 60; ++i)
        touch("f" + std::to_string(100 + i) + ".atr");
    // Rows: "..", "sub", "a.atr", "b.atr", then f100.atr onwards.
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN, rowX(), rowY(5));
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELDOWN, rowX(), rowY(5));
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN, rowX(), rowY(5));
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN, rowX(), rowY(5));
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP, rowX(), rowY(5));
    pushClick(rowX(), rowY(0));  // row 0 now shows entry 6
    pushClick(layout().okButton);
    std::string chosen;
    EXPECT_EQ(runInWindowDialog(screen, openRequest(), chosen), DialogResult::Chosen);
    EXPECT_EQ(chosen, dir + "/f102.atr");
}

TEST_F(InWindowDialogTest, ScrollBarPressAndDrag)
{
    for (int i = 0; i < 60; ++i)
        touch("f" + std::to_string(100 + i) + ".atr");
    InWindowDialog dialog(screen, openRequest(), disk, dir);
    ASSERT_EQ(dialog.browser().scrollPositions(), 64 - InWindowDialog::visibleRows + 1);
    const CScrollBar& bar = dialog.scrollBar;

    SDL_Event event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = static_cast<Uint16>(bar.x + 5);
    event.button.y = static_cast<Uint16>(bar.y + bar.height - 1);
    dialog.handle(event);
    EXPECT_EQ(dialog.browser().topRow(), dialog.browser().scrollPositions() - 1);

    // Dragging back up with the button held follows the pointer.
    event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.state = SDL_BUTTON(SDL_BUTTON_LEFT);
    event.motion.x = static_cast<Uint16>(bar.x + 5);
    event.motion.y = static_cast<Uint16>(bar.y);
    dialog.handle(event);
    EXPECT_EQ(dialog.browser().topRow(), 0);
    EXPECT_FALSE(dialog.finished());
}

TEST_F(InWindowDialogTest, DrawsTheSelectionAndTheAllFilesSwitch)
{
    InWindowDialog dialog(screen, openRequest(), disk, dir);
    SDL_Event event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = static_cast<Uint16>(rowX());
    event.button.y = static_cast<Uint16>(rowY(3));
    dialog.handle(event);
    event.type = SDL_MOUSEBUTTONUP;
    dialog.handle(event);
    ASSERT_EQ(dialog.browser().selected(), 3);

    dialog.draw();
    auto colourAt = [&](int x, int y) {
        Uint8 r, g, b;
        Uint32 pixel = static_cast<Uint32*>(screen->pixels)[y * screen->pitch / 4 + x];
        SDL_GetRGB(pixel, screen->format, &r, &g, &b);
        return r << 16 | g << 8 | b;
    };
    // The chosen row is highlighted at its left end, its neighbours are not.
    int left = dialog.listX + 2;
    EXPECT_EQ(colourAt(left, rowY(3)), 0x5A5AAA);
    EXPECT_EQ(colourAt(left, rowY(2)), 0x000000);
    EXPECT_EQ(colourAt(left, rowY(4)), 0x000000);

    // The switch lists every file and stays pressed while on.
    const CButton& all = dialog.allFilesButton;
    event.button.x = static_cast<Uint16>(all.x + 5);
    event.button.y = static_cast<Uint16>(all.y + 5);
    event.type = SDL_MOUSEBUTTONDOWN;
    dialog.handle(event);
    event.type = SDL_MOUSEBUTTONUP;
    dialog.handle(event);
    ASSERT_EQ(dialog.browser().entries().size(), 5u);
    EXPECT_EQ(dialog.browser().entries().back().name, "notes.txt");
    dialog.draw();
    EXPECT_EQ(colourAt(all.x + 2, all.y + 2), 0x373737);  // the inverse of the grey fill
}

// The in-window question: a button answers when pressed and released on
// it (a press that slides off to another answers nothing), Enter takes the
// first answer, Escape and closing the window the last.
TEST_F(InWindowDialogTest, QuestionAnswers)
{
    const Question question{"Zelbun Kreator", "Zapisac zmiany?", {"Zapisz", "Nie zapisuj", "Anuluj"}};
    InWindowQuestion probe(screen, question);
    const CButton& dontSave = *probe.answerButtons[1];
    const CButton& save = *probe.answerButtons[0];
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, save.x + 5, save.y + 5);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, dontSave.x + 5, dontSave.y + 5);
    pushClick(dontSave);
    EXPECT_EQ(runInWindowQuestion(screen, question), 1);
    pushKey(SDLK_RETURN);
    EXPECT_EQ(runInWindowQuestion(screen, question), 0);
    pushKey(SDLK_ESCAPE);
    EXPECT_EQ(runInWindowQuestion(screen, question), 2);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(runInWindowQuestion(screen, question), 2);
    EXPECT_EQ(nextEventType(), SDL_NOEVENT);  // the close was the answer, not passed on
}

}  // namespace
