// The editor: owns the level set, the text pages, the tile and palette
// images, every widget of the window and the editing state, and carries out
// painting and every command. Handlers only change state; everything shows
// at the next paint().
#pragma once

#include "core/gameimage.h"
#include "core/gridtools.h"
#include "core/levelcheck.h"
#include "core/fileio.h"
#include "core/document.h"
#include "editor/layout.h"
#include "editor/map.h"
#include "widgets/CButton.h"
#include "widgets/CButtonColor.h"
#include "widgets/CGui.h"
#include "widgets/CPMButton.h"
#include "render/sheet.h"

#include <SDL.h>

#include <array>
#include <climits>
#ifndef PATH_MAX
#define PATH_MAX 4096
#endif
#include <memory>
#include <string>
#include <vector>

class Platform;
struct Question;

// A message as one line of at most `width` characters, or two: the first
// broken at a space, the second keeping its end (the reason) behind "...".
std::vector<std::string> fitMessage(const std::string& message, size_t width);
// A path of at most `width` characters, keeping its end behind "...".
std::string fitPathTail(const std::string& path, size_t width);

// What a press on the canvas does.
enum class Tool { draw, fill, rectangle, outline, line, pick, select, count };

// Where the editor finds its files and how it reaches the desktop. The
// defaults suit the program; tests point them at their own directories.
struct FrameOptions {
    // Searched in order for tiles.bmp, paleta.bmp and tiles.cfg; empty means
    // the working directory, then the data directory the program was built
    // with.
    std::vector<std::string> dataDirs;
    // Dialogs and "open with"; null means the system's own.
    Platform* platform = nullptr;
    // Where the private directory for test images is made; empty means
    // $XDG_RUNTIME_DIR, else the system's temporary directory.
    std::string runtimeDir;
    // The game template new documents are saved with; empty means
    // ZELBUN_TEMPLATE, then game.atr in the data directories, then the
    // built-in game.
    std::string templatePath;
    // The command line that runs test images (--emulator); empty means
    // ZELBUN_EMULATOR, then the desktop's choice.
    std::string emulatorCommand;
};

class frame {
public:
    static const int levelCount = 32;
    static const int scratchLevel = 32;
    static const int buttonCount = 175;
    static const int paletteEntries = 130;
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
    void paint();
    void drawMap(int level);
    // The event loop's one entry for the mouse: button 0 is motion with no
    // button held; 1 or more a press (the button number: 1 left, 2 middle,
    // 3 right, 4 and 5 the wheel) or a drag (the mask of held buttons: 1
    // left, 2 middle, 4 right); a negative value the release of button
    // -button (-1 the left one). Presses and drags go to pressAt and dragAt,
    // told apart by the buttons known to be held.
    int mouse(int x, int y, int button);
    // Keys from the event loop: Escape leaves the text page; with the text
    // page focused a key types (inputText), otherwise Ctrl shortcuts run
    // commands.
    void keyDown(const SDL_keysym& key);
    // Types one key into the current text page (see text.cpp).
    void inputText(unsigned key);
    // The window's close button: asks about unsaved changes; true when the
    // editor may end.
    bool mayClose();
    int drawText(int x, int y, int page);
    int saveMap(char* path);
    int saveMap(char* path, int slot);
    int loadMap(const char* path);
    int ascii2atascii(int code) const;
    int atascii2ascii(int code) const;

    // The tile code a right click writes and empty levels are filled with.
    int eraserCode() const;
    // The tile code counted as a screw, or -1 when none is configured.
    int screwCode() const;
    // Whether palette entry `entry` draws the eraser's code.
    bool drawsEraser(int entry) const;
    // Collects ended emulator starts, showing any that failed; true while
    // one is still running.
    bool checkLaunches();
    // Shown in place of the document path until the next command: an error
    // in red on a dark band, news in the labels' colour.
    void showError(const std::string& message);
    void showMessage(const std::string& message);
    // The lines the top bar shows: the message fitted to the free width (a
    // second line, its tail kept behind "..."), else the document path
    // with its tail kept, else nothing.
    std::vector<std::string> statusLines() const;

    // --- The document and its history ---------------------------------
    // A snapshot of the levels, pages and path as they stand.
    Document document() const;
    // Shows a snapshot: levels (recoloured where their registers changed),
    // pages and path. The history is left alone.
    void showDocument(const Document& document);
    // Ends the current action: records the document as one undo step if it
    // changed. Every mouse release, shortcut and command calls it; typing
    // is recorded when the run of typing ends.
    void commitStep();
    void undo();
    void redo();
    // The document differs from what was last saved or opened.
    bool isModified() const;
    // "name.atr * - Zelbun Kreator 1.0 - by. Tavrin" and the like.
    std::string windowTitle() const;
    static const char* const appTitle;

    // --- What the mouse is doing ------------------------------------------
    // A widget of the window, as the mouse handler tells them apart. A new
    // widget gets its rectangle in layout.h, a Kind (or Command) here and a
    // line in targetAt; what a press and each drag of its stroke do goes in
    // actOnPress (a drag reaches it only while it stays on the kind of
    // widget the press began on), a command in runReleaseCommand. Whatever
    // a stroke changes becomes one undo step at its release.
    enum class Command { None, New, Open, Save, SaveAs, Delete, TestLevel, TestGame, Swap, Undo, Redo };
    struct Target {
        enum Kind { Nothing, Canvas, Palette, ColourRegister, TextBox, PageButton, LevelSlot, ColourPicker,
                    ScrewCounter, WallCounter, CommandButton, ToolButton };
        Kind kind = Nothing;
        int index = 0;  // entry, register, page, slot, counter area (CPMButton codes), Command or tool button
        bool operator==(const Target& other) const { return kind == other.kind && index == other.index; }
        bool operator!=(const Target& other) const { return !(*this == other); }
    };
    // What lies under a point; one widget at most, the layout's rectangles
    // never overlap.
    Target targetAt(int x, int y) const;
    // Runs one command as its button or shortcut does.
    void runCommand(Command command);

    unsigned long windowId = 0;
    char filePath[PATH_MAX + 8] = "";
    char workDir[PATH_MAX + 8] = "";
    std::string statusMessage;

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
    char textPages[3][8][33];
    int currentLevel = 0;
    int currentTile = -1;
    int currentColour = 0;
    int currentPage = 0;
    int cursorColumn = 0;
    int cursorRow = 0;
    int gumkaTile = -1;
    int murekTile = -1;
    int srubaTile = -1;
    int gumkaCode = -1;  // the tile codes of tiles.cfg's keys, -1 none
    int srubaCode = -1;
    int mapX = 5;
    int mapY = 50;
    int hoverRow = -1;
    int swapSource = -1;
    // Where the pointer was at the last mouse event; -1 before any.
    int pointerX = -1;
    int pointerY = -1;
    bool showGrid = false;
    // What the checks before a test know of the tile set (from tiles.cfg).
    LevelRules levelRules;

    CButton* undoButton = nullptr;
    CButton* redoButton = nullptr;
    // Typing goes to the text page only while it has the keyboard.
    bool textFocus = false;
    History history;
    // Mouse state: the buttons held (SDL mask), where the first of them was
    // pressed (what a drag continues) and where the left one was pressed
    // (a left release runs a command only over that same widget).
    int heldButtons = 0;
    Target pressOrigin;
    Target leftOrigin;
    bool statusIsError = false;

    Platform* platform = nullptr;

    // The painting tools. A stroke runs from a press on the canvas to the
    // release; the drawing tool writes as it goes, the shapes on release.
    Tool currentTool = Tool::draw;
    struct Stroke {
        bool active = false;
        uint8_t code = 0;
        Cell start, last;
        bool lastInside = false;  // the pointer was over the grid at the last point
    } stroke;
    bool hasSelection = false;
    Cell selectionStart, selectionEnd;
    // What Ctrl+C took: a whole level with its counters and colours, or the
    // selected part of one, which Ctrl+V then lets the user place.
    enum class Clipboard { none, level, patch } clipboard = Clipboard::none;
    LevelData copiedLevel;
    GridPatch copiedPatch;
    bool placingPatch = false;
    static const int toolButtonCount = int(Tool::count) + 1;  // the tools and the grid switch
    CButton* toolButtons[toolButtonCount] = {};

    void chooseTool(Tool tool);
    // A key meant for the canvas (tools, grid, copy and paste); false when
    // the key is not one of them.
    bool canvasKey(SDLKey key, bool ctrl);
    void copyToClipboard();
    void pasteFromClipboard();
    LevelData levelDataOf(int slot) const;
    void setLevelData(int slot, const LevelData& data);

private:
    // The file buttons, "Usun mape", the two test buttons, undo and redo
    // and, last, "Zamien mapy": the buttons that act on release.
    std::array<CGui*, 10> commandButtons() const
    {
        return {newButton, openButton, saveButton, saveAsButton, buttons[deleteButton],
                buttons[testLevelButton], buttons[testGameButton], undoButton, redoButton,
                buttons[swapButton]};
    }
    Cell cellAt(int x, int y) const;
    void toolPress(int x, int y, int button);
    void toolDrag(int x, int y);
    void toolRelease();
    Cells strokeShape() const;
    void pickTile(Cell cell);
    void createToolButtons();
    void drawToolButtons();
    void drawToolPreview();
    const char* toolHint() const;
    void drawCell(const map& level, int column, int row, int code);
    CGui* commandWidget(Command command) const;
    void hoverAt(int x, int y);
    void pressAt(int x, int y, int button);
    void dragAt(int x, int y, int buttonMask);
    void releaseAt(int x, int y, int button);
    // Work the press and drag do where they land: choosing and drawing.
    void actOnPress(const Target& target, int x, int y, int button);
    void showPressedLook(int x, int y);
    void runReleaseCommand(const Target& target, int x, int y);
    void setTextFocus(bool on);
    void newDocument();
    void openDocument();
    bool saveDocument();
    bool saveDocumentAs();
    // Before work is thrown away: "Zapisac zmiany?". True when the caller
    // may go on (saved, or the user said not to save).
    bool unsavedChangesSettled();
    int ask(const Question& question);
    void testInEmulator(bool currentLevelOnly);
    bool levelsPlayable(bool currentLevelOnly);
    bool askForPath(bool save, char* chosen);
    bool readDocument(const char* path, std::vector<unsigned char>& bytes);
    void applyGameImage(const std::vector<unsigned char>& bytes, const char* path);
    std::vector<unsigned char> setImage() const;
    std::vector<unsigned char> testImage(int slot) const;
    bool writeDocument(const char* path, const std::vector<unsigned char>& bytes,
                       const WriteOptions& options);
    bool confirmReplacing(const char* path);
    std::string testImageDirectory();
    // The document differs from the current undo step (a run of typing).
    bool unrecordedChanges() const;
    std::string titleFor(bool modified) const;
    CButton* paletteEntry(int entry) { return static_cast<CButton*>(buttons[firstPaletteButton + entry]); }
    SurfacePtr loadImage(const char* name, const SheetLimits& limits);
    void checkSheetWidth();
    void chooseSessionTemplate(const std::string& optionPath);
    void blankTextPages();
    Uint32 screenColour(int atariColour) const;
    void drawCanvasFrame();
    void drawHoveredCell();
    void drawRegisterSamples();
    void switchOn(map& level);
    SDL_Color atariRgb(int atariColour) const;
    // Labels are black on a light background register, white on a dark one.
    bool labelsInBlack() const;

    std::vector<std::string> dataDirs;
    std::string emulatorCommand;
    // The game part new documents get, and the one the open document is
    // saved with (an opened image's own game, unless it is our engine).
    std::shared_ptr<const std::vector<unsigned char>> sessionTemplate;
    std::shared_ptr<const std::vector<unsigned char>> documentTemplate;
    std::string startupError;
    bool mouseHeld = false;
    std::unique_ptr<Platform> ownPlatform;
    std::string runtimeBase;
    std::string testDir;  // made at the first test, removed with the editor
    std::string shownTitle;
};
