// The editor window: the tile and palette images, every widget, the editing
// state, and painting and every command. The document itself lives in the
// session; the levels and text pages here are views of it, and every change
// goes through it. Handlers only change state; everything shows at the next
// paint(), which draws only the parts whose look changed.
#pragma once

#include "core/levelcheck.h"
#include "core/session.h"
#include "core/wraptext.h"
#include "editor/autosave.h"
#include "editor/canvastools.h"
#include "editor/canvasview.h"
#include "editor/clicks.h"
#include "editor/filecommands.h"
#include "editor/frameoptions.h"
#include "editor/launches.h"
#include "editor/layout.h"
#include "editor/map.h"
#include "editor/notices.h"
#include "editor/partpainter.h"
#include "editor/playcontrol.h"
#include "editor/recovery.h"
#include "editor/setview.h"
#include "editor/targets.h"
#include "editor/testchecks.h"
#include "editor/tooltip.h"
#include "render/levelrenderer.h"
#include "render/sheet.h"
#include "widgets/CButton.h"
#include "widgets/CButtonColor.h"
#include "widgets/CGui.h"
#include "widgets/CPMButton.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Platform;
struct Question;

// A path of at most `width` characters, keeping its end behind "...".
std::string fitPathTail(const std::string& path, size_t width);

class frame {
public:
    static const int levelCount = kLevelSlots;
    static const int scratchLevel = kLevelSlots;
    static const int buttonCount = 175;
    static const int paletteEntries = layout::paletteEntries;
    // Indices into `buttons`.
    static const int firstPaletteButton = 32;
    static const int canvasButton = 162;
    static const int deleteButton = 163;
    static const int firstColourButton = 164;
    static const int testLevelButton = 170;
    static const int testGameButton = 171;
    static const int swapButton = 172;
    static const int startPageButton = 173;
    static const int endPageButton = 174;

    explicit frame(SDL_Surface* screen, const FrameOptions& options = FrameOptions());
    virtual ~frame();
    frame(const frame&) = delete;
    frame& operator=(const frame&) = delete;

    // False when tiles.bmp or paleta.bmp could not be loaded; loadError()
    // then says which file and where it was looked for.
    bool ok() const { return tileSheet && paletteSheet && startupError.empty(); }
    const std::string& loadError() const { return startupError; }

    int loadUI(const char* path);
    // Draws what changed since the last paint (everything the first time,
    // after invalidate(), or when the background colour changes); damage()
    // then lists the rectangles drawn.
    void paint();
    void invalidate() { painter.invalidate(); }
    const std::vector<SDL_Rect>& damage() const { return painter.damage(); }
    void drawMap(int level);
    // The event loop's one entry for the mouse: button 0 is motion with no
    // button held; 1 or more a press (the button number: 1 left, 2 middle,
    // 3 right, 4 and 5 the wheel) or a drag (the mask of held buttons: 1
    // left, 2 middle, 4 right); a negative value the release of button
    // -button (-1 the left one). Presses and drags go to pressAt and dragAt,
    // told apart by the buttons known to be held.
    int mouse(int x, int y, int button);
    // Keys from the event loop: with the text page focused a key types
    // (inputText), otherwise a shortcut (shortcuts.h) runs its command; the
    // function keys and Escape also leave the text page.
    void keyDown(const SDL_keysym& key);
    // Key releases: while a level plays, letting go of a key lets go of
    // the stick.
    void keyUp(const SDL_keysym& key);
    // Types one key into the current text page (see text.cpp).
    void inputText(unsigned key);
    // The window's close button: asks about unsaved changes; true when the
    // editor may end.
    bool mayClose();
    int drawText(int x, int y, int page);
    // The whole set, or the test image of one level, written to `path`
    // (".atr" added to a name without a dot, in place: the buffer needs four
    // more bytes). 1 when written.
    int saveMap(char* path);
    int saveMap(char* path, int slot);
    // Opens the game image at `path`; 0 when it cannot be read or is none.
    int loadMap(const char* path);
    int ascii2atascii(int code) const;
    int atascii2ascii(int code) const;

    // The tile code a right click writes and empty levels are filled with.
    int eraserCode() const;
    // The tile code counted as a screw, or -1 when none is configured.
    int screwCode() const;
    // Whether palette entry `entry` draws the eraser's code.
    bool drawsEraser(int entry) const;
    // What waits for time, when the event loop wakes: ended emulator
    // starts collected (a failed one shown), the autosave, the game's
    // frames while a level plays. True while the loop should wake now and
    // then: a program runs, a cell flashes, a level plays or an autosave is
    // due.
    bool tick();
    // How often the event loop wakes while tick() asks it to: often enough
    // for a tooltip to come on time.
    Uint32 wakeInterval() const
    {
        return tooltip.waiting() ? std::min(play.wakeInterval(), 100u) : play.wakeInterval();
    }
    // Said in the message area and the log (notices.h).
    void showError(const std::string& message) { notices.showError(message); }
    void showMessage(const std::string& message) { notices.showMessage(message); }
    void note(const std::string& message) { notices.note(message); }
    // The path the top bar shows: its tail, when long.
    std::string pathLine() const;

    // --- What the window tells, and playing on the canvas -------------------
    // Messages, findings, help and the log (notices.h).
    Notices notices;
    // The last message, as the message area showed it; "" once put away.
    const std::string& statusMessage;
    const bool& statusIsError;
    // What the status line says about the point under the pointer: the
    // cell (counted from 1) with its tile's name and code, the selection's
    // size, a button's use and key, a colour's value; while a level plays,
    // the game's counters.
    std::string statusText() const;
    // The box beside a resting pointer (tooltip.h), and its words: the
    // status line's, over a button, a tool, a palette entry, a counter, a
    // colour register or a level slot.
    Tooltip tooltip{[this] { return clock(); }, [this] { invalidate(); }};
    std::string tooltipText() const;
    // Shows `slot` and makes its cell flash for a while.
    void showCell(int slot, Cell cell);

    // --- Work kept safe ---------------------------------------------------
    // The autosave of this window's document (editor/autosave.h).
    std::unique_ptr<Autosave> autosave;
    // At start: what windows that ended left in autosaves of the document
    // at `path` ("" for a new set) is offered back. True when it was
    // restored: the document then belongs to `path` and is modified.
    bool offerRecovery(const std::string& path);
    // Test images and the emulators started on them (editor/launches.h).
    std::unique_ptr<TestLaunches> launches;
    // The files opened or saved last, newest first; Ctrl+1..9 open them.
    RecentFiles recent;
    void openRecent(size_t index) { files->openRecent(index); }
    // Opening and saving the set, and asking before work is lost.
    std::unique_ptr<FileCommands> files;

    // The language of every word the window shows, handed to its parts;
    // setLanguage() rewords the window at once, chooseLanguage() also keeps
    // the choice for the next start (the help page's first line).
    Language language = Language::polish;
    void setLanguage(Language chosen);
    void chooseLanguage(Language chosen);

    // The document differs from what was last saved or opened.
    bool isModified() const { return session.modified(); }
    void undo();
    void redo();
    // "name.atr * - Zelbun Kreator 1.0 - by. Tavrin" and the like.
    std::string windowTitle() const;

    // --- What the mouse is doing ------------------------------------------
    // The widgets as the mouse handler tells them apart (targets.h). What a
    // press and each drag of its stroke do goes in actOnPress (a drag
    // reaches it only while it stays on the kind of widget the press began
    // on), a command in runReleaseCommand. Whatever a stroke changes
    // becomes one undo step at its release.
    using Command = ::Command;
    using Target = ::Target;
    Target targetAt(int x, int y) const { return ::targetAt(x, y); }
    // Runs one command as its button or shortcut does; `value` as a
    // Shortcut has it (shortcuts.h).
    void runCommand(Command command, int value = 0);

    // The document, its history and its file; declared before the views of it.
    Session session;
    // F5 or "Graj" plays the current level by the game's own rules, with
    // the game's keys: the arrows or the keypad move, Ctrl with a direction
    // fires, space pauses, R starts again (for free), Backspace takes a
    // move back. Alt+click or F6 on the canvas plays from that cell.
    // Shift+F5 finds a shortest solution and plays it step by step. Escape,
    // a click, or the level's end returns to editing with the level as it
    // was.
    PlaytestControl play;

    // The document's file, as the session holds it; empty for none.
    const std::string& filePath;
    char workDir[PATH_MAX + 8] = "";

    CButton* newButton = nullptr;
    CButton* openButton = nullptr;
    CButton* saveButton = nullptr;
    CButton* saveAsButton = nullptr;
    CGui* buttons[buttonCount] = {};  // all CButtons but the bare canvas
    CPMButton screwCounter;
    CPMButton wallCounter;
    CButtonColor* colourPicker = nullptr;
    SDL_Surface* screen = nullptr;
    map levels[levelCount + 1];
    SurfacePtr tileSheet;
    SurfacePtr paletteSheet;
    int tileColumns[256];  // per tile code: sheet column, -1 none
    int tileCodes[256];    // per palette entry: tile code, -1 none
    // "Start" and "Koniec", as the session's document holds them.
    const TextPage (&textPages)[kTextPages];
    int currentLevel = 0;
    int currentTile = -1;
    int currentColour = 0;
    int currentPage = 0;
    int cursorColumn = 0;
    int cursorRow = 0;
    int gumkaTile = -1;
    int murekTile = -1;
    int srubaTile = -1;
    int mapX = layout::canvas.x;
    int mapY = layout::canvas.y;
    int hoverRow = -1;
    int swapSource = -1;
    bool showGrid = false;
    // What the checks before a test know of the tile set (from tiles.cfg).
    LevelRules levelRules;
    // The checks before a test, the solver's budget among them.
    TestChecks testChecks;

    CButton* undoButton = nullptr;
    CButton* redoButton = nullptr;
    CButton* playButton = nullptr;
    // The whole set at a glance (F3, "Zestaw"): while open it has the area
    // of the canvas, the palette and the counters, and the mouse, the keys
    // and the painting there.
    std::unique_ptr<SetView> setView;
    void showSetView(bool open);
    // Typing goes to the text page only while it has the keyboard.
    bool textFocus = false;
    // The buttons held and where they were pressed (clicks.h).
    Clicks clicks;
    const int& heldButtons = clicks.held();

    Platform* platform = nullptr;

    // The painting tools; a stroke runs from a press on the canvas to the release.
    CanvasTools tools;
    static const int toolButtonCount = int(Tool::count) + 1;  // the tools and the grid switch

    void chooseTool(Tool tool) { tools.choose(tool); }
    // A key with Ctrl or without it, run as keyDown runs it outside the text
    // page; false when the key is no shortcut.
    bool canvasKey(SDLKey key, bool ctrl);
    // The picture data the renderer draws levels with.
    TileArt tileArt() const;

private:
    unsigned long windowId = 0;  // the native window, for dialogs above it
    int gumkaCode = -1;  // the tile codes of tiles.cfg's keys, -1 none
    int srubaCode = -1;
    // Where the pointer was at the last mouse event; -1 before any.
    int pointerX = -1;
    int pointerY = -1;
    CButton* logButton = nullptr;
    CButton* helpButton = nullptr;
    CButton* dismissButton = nullptr;
    CButton* setViewButton = nullptr;
    CButton* toolButtons[toolButtonCount] = {};

    // The file buttons, "Usun mape", the two test buttons, undo and redo,
    // the log, help, dismiss, play and set view buttons and, last, "Zamien
    // mapy": the buttons that act on release.
    std::array<CGui*, 15> commandButtons() const
    {
        return {newButton, openButton, saveButton, saveAsButton, buttons[deleteButton],
                buttons[testLevelButton], buttons[testGameButton], undoButton, redoButton,
                logButton, helpButton, dismissButton, playButton, setViewButton, buttons[swapButton]};
    }
    Cell cellAt(int x, int y) const;
    void toolPress(int x, int y, int button);
    void pickTile(int code);
    void createToolButtons();
    void drawToolButton(int i);
    CGui* commandWidget(Command command) const;
    std::string hintAt(const Target& target, int x, int y) const;
    void hoverAt(int x, int y);
    void pressAt(int x, int y, int button);
    void dragAt(int x, int y, int buttonMask);
    void releaseAt(int x, int y, int button);
    // Work the press and drag do where they land: choosing and drawing.
    void actOnPress(const Target& target, int x, int y, int button);
    void showPressedLook(int x, int y);
    void runReleaseCommand(const Target& target, int x, int y);
    void chooseLevel(int slot);
    void createSetView(const FrameOptions& options);
    void setTextFocus(bool on);
    void newDocument() { files->newSet(); }
    void openDocument() { files->openChosen(); }
    void saveDocument() { files->save(); }
    void saveDocumentAs() { files->saveAs(); }
    int ask(const Question& question);
    void testInEmulator(bool currentLevelOnly);
    bool levelsPlayable(bool currentLevelOnly);
    Voice voice();
    CButton* paletteEntry(int entry) { return static_cast<CButton*>(buttons[firstPaletteButton + entry]); }
    void applyTileSetup(const TileSetup& setup);
    Uint32 screenColour(int atariColour) const;
    void syncWidgets();
    // Under the notices' page or the set view: a part waits for it to close.
    bool partCovered(const layout::Rect& area) const;
    CanvasView::Scene canvasScene() const;
    // From `from` when it is a cell of the level, else from the robot's start.
    void startPlay(bool showSolution, Cell from = {-1, -1});
    void stopPlay(bool announce);
    void playKey(const SDL_keysym& key, bool down);
    void zoomBy(int steps);

    std::vector<std::string> dataDirs;
    std::string startupError;
    std::unique_ptr<Platform> ownPlatform;
    std::string shownTitle;

    std::function<uint64_t()> clock;
    // Where the language chosen on the help page is kept; "" nowhere.
    std::string languageFile;
    // A fixed word in the window's language.
    std::string word(WindowText text, std::initializer_list<std::string> values = {}) const
    {
        return windowText(text, language, values);
    }
    void showOpenedSet();

    // What the last paint drew: the look of each part (partpainter.h), and
    // the canvas (canvasview.h).
    PartPainter painter{[this](const layout::Rect& area) { return partCovered(area); }};
    CanvasView canvas;
};
