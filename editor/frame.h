// The editor: owns the level set, the text pages, the tile and palette
// images, every widget of the window and the editing state, and carries out
// painting and every command. Handlers only change state; everything shows
// at the next paint().
#pragma once

#include "editor/fileio.h"
#include "editor/map.h"
#include "widgets/CButton.h"
#include "widgets/CButtonColor.h"
#include "widgets/CGui.h"
#include "widgets/CPMButton.h"
#include "surface/sheet.h"

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

// Where the editor finds its files and how it reaches the desktop. The
// defaults suit the program; tests point them at their own directories.
struct FrameOptions {
    // Searched in order for tiles.bmp, paleta.bmp and tiles.cfg; empty means
    // the working directory, then the data directory the program was built
    // with.
    std::vector<std::string> dataDirs;
    // Dialogs and "open with"; null means the system's own.
    Platform* platform = nullptr;
    // The game template new documents are saved with; empty means
    // ZELBUN_TEMPLATE, then game.atr in the data directories, then the
    // built-in game.
    std::string templatePath;
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
    int mouse(int x, int y, int button);
    void inputText(unsigned key);
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
    // Shown in red in place of the document path until the next command.
    void showError(const std::string& message);
    // Collects ended emulator starts, showing any that failed; true while
    // one is still running.
    bool checkLaunches();

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

    Platform* platform = nullptr;

private:
    // The file buttons, "Usun mape", the two test buttons and, last,
    // "Zamien mapy": the buttons that act on release.
    std::array<CGui*, 8> commandButtons() const
    {
        return {newButton, openButton, saveButton, saveAsButton, buttons[deleteButton],
                buttons[testLevelButton], buttons[testGameButton], buttons[swapButton]};
    }
    void hoverAt(int x, int y);
    void pressAt(int x, int y, int button);
    void releaseAt(int x, int y);
    void newDocument();
    void openDocument();
    void saveDocumentAs();
    void testInEmulator(bool currentLevelOnly);
    bool askForPath(bool save, char* chosen);
    bool readDocument(const char* path, std::vector<unsigned char>& bytes);
    void applyGameImage(const std::vector<unsigned char>& bytes, const char* path);
    std::vector<unsigned char> setImage() const;
    std::vector<unsigned char> testImage(int slot) const;
    bool writeDocument(const char* path, const std::vector<unsigned char>& bytes,
                       const WriteOptions& options);
    CButton* paletteEntry(int entry) { return static_cast<CButton*>(buttons[firstPaletteButton + entry]); }
    SurfacePtr loadImage(const char* name, const SheetLimits& limits);
    void checkSheetWidth();
    void chooseSessionTemplate(const std::string& optionPath);
    void blankTextPages();
    Uint32 screenColour(int atariColour) const;

    std::vector<std::string> dataDirs;
    // The game part new documents get, and the one the open document is
    // saved with (an opened image's own game, unless it is our engine).
    std::vector<unsigned char> sessionTemplate;
    std::vector<unsigned char> documentTemplate;
    std::string startupError;
    std::unique_ptr<Platform> ownPlatform;
};
