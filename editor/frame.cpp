// The editor's construction and destruction, its data files and the tile
// palette configuration.
#include "editor/frame.h"

#include "editor/atari.h"
#include "editor/datafiles.h"
#include "editor/font.h"
#include "editor/gametemplate.h"
#include "editor/tilesconfig.h"
#include "platform/platform.h"
#include "surface/funkcje.h"

#include <SDL_syswm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const int sheetCell = 16;

// The X11 id of our window, for dialogs that should stay above it.
unsigned long currentWindowId()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0)
        return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11)
        return info.info.x11.window;
#endif
    return 0;
}

// Widgets take their place from the layout table.
void place(CGui* widget, const layout::Rect& r)
{
    widget->move(r.x, r.y, r.w, r.h);
}

} // namespace

frame::frame(SDL_Surface* screenSurface, const FrameOptions& options)
    : dataDirs(options.dataDirs), runtimeBase(options.runtimeDir)
{
    if (dataDirs.empty())
        dataDirs = defaultDataDirs();
    installEditorFont();

    blankTextPages();

    tileSheet = loadImage("tiles.bmp");
    SDL_Surface* palette = loadImage("paleta.bmp");
    paletteSheet = resize(palette, nullptr, 16);
    SDL_FreeSurface(palette);

    windowId = currentWindowId();
    platform = options.platform;
    if (!platform) {
        ownPlatform = makeSystemPlatform(windowId);
        platform = ownPlatform.get();
    }
    std::string cwd = platform->currentDirectory();
    if (cwd.size() < sizeof workDir)
        std::strcpy(workDir, cwd.c_str());

    screen = screenSurface;

    buttons[canvasButton] = new CGui();
    buttons[canvasButton]->move(layout::canvas.x, layout::canvas.y, layout::canvas.w, layout::canvas.h);

    newButton = new CButton("Nowy");
    openButton = new CButton("Otworz");
    saveButton = new CButton("Zapisz");
    saveAsButton = new CButton("...jako");
    buttons[deleteButton] = new CButton("Usun mape");
    buttons[testLevelButton] = new CButton("Testuj mape");
    buttons[testGameButton] = new CButton("Testuj gre");
    colourPicker = new CButtonColor(paletteSheet, 0, 0, 256, 128);
    buttons[swapButton] = new CButton("Zamien mapy");
    undoButton = new CButton("Cofnij");
    redoButton = new CButton("Ponow");

    std::fill(std::begin(tileColumns), std::end(tileColumns), -1);
    std::fill(std::begin(tileCodes), std::end(tileCodes), -1);

    for (map& level : levels)
        level.setBmp(tileSheet, paletteSheet);
    for (int i = 0; i < levelCount; ++i) {
        char number[4];
        std::snprintf(number, sizeof number, "%d", i + 1);
        buttons[i] = new CButton(number);
        place(buttons[i], layout::levelSlot(i));
    }
    for (int i = 0; i < paletteEntries; ++i) {
        CButton* entry = new CButton(tileSheet, 0, 0, sheetCell, sheetCell);
        place(entry, layout::paletteEntry(i));
        entry->color(255, 0, 0, 255);
        entry->active(0);
        entry->visible(0);
        buttons[firstPaletteButton + i] = entry;
    }
    for (int r = 0; r < 6; ++r) {
        char number[2] = {char('1' + r), '\0'};
        buttons[firstColourButton + r] = new CButton(number);
        place(buttons[firstColourButton + r], layout::colourRegister(r));
    }
    buttons[startPageButton] = new CButton("Start");
    place(buttons[startPageButton], layout::startPageButton);
    buttons[endPageButton] = new CButton("Koniec");
    place(buttons[endPageButton], layout::endPageButton);

    chooseSessionTemplate(options.templatePath);

    std::string config = findDataFile("tiles.cfg", dataDirs);
    if (config.empty() || !loadUI(config.c_str()))
        std::fprintf(stderr, "zelbun-kreator: tiles.cfg not found (looked in %s); the tile palette is empty\n",
                     describeDataDirs(dataDirs).c_str());

    for (map& level : levels) {
        level.srubkaSet(screwCode() < 0 ? 0 : screwCode());
        level.gumkaSet(eraserCode());
        level.resetNoRepaint();
    }

    place(newButton, layout::newButton);
    place(openButton, layout::openButton);
    place(saveButton, layout::saveButton);
    place(saveAsButton, layout::saveAsButton);
    place(buttons[deleteButton], layout::deleteButton);

    screwCounter.caption("Srubki do zebrania:");
    screwCounter.move(layout::screwCounter.x, layout::screwCounter.y, 0, 0);
    wallCounter.caption("Murek:");
    wallCounter.move(layout::wallCounter.x, layout::wallCounter.y, 0, 0);
    wallCounter.image(tileSheet, sheetCell * murekTile, 0, sheetCell, sheetCell);
    place(colourPicker, layout::colourPicker);
    place(buttons[swapButton], layout::swapButton);
    place(buttons[testLevelButton], layout::testLevelButton);
    place(buttons[testGameButton], layout::testGameButton);
    place(undoButton, layout::undoButton);
    place(redoButton, layout::redoButton);

    history.reset(document());
}

frame::~frame()
{
    delete newButton;
    delete openButton;
    delete saveButton;
    delete saveAsButton;
    delete undoButton;
    delete redoButton;
    for (CGui*& widget : buttons) {
        delete widget;
        widget = nullptr;
    }
    delete colourPicker;
    // The levels free their own copies when they go, after this body.
    SDL_FreeSurface(tileSheet);
    SDL_FreeSurface(paletteSheet);
    if (!testDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(testDir, ignored);
    }
}

void frame::chooseSessionTemplate(const std::string& optionPath)
{
    TemplateSources sources;
    sources.optionPath = optionPath;
    if (const char* environment = std::getenv("ZELBUN_TEMPLATE"))
        sources.environmentPath = environment;
    sources.dataDirPath = findDataFile("game.atr", dataDirs);
    ChosenTemplate chosen = chooseTemplate(sources, embeddedTemplate());
    if (!chosen.error.empty())
        showError(chosen.error);
    sessionTemplate = std::make_shared<const std::vector<unsigned char>>(std::move(chosen.bytes));
    documentTemplate = sessionTemplate;
}

SDL_Surface* frame::loadImage(const char* name)
{
    std::string path = findDataFile(name, dataDirs);
    if (path.empty()) {
        startupError += std::string(name) + " not found (looked in " + describeDataDirs(dataDirs) + ")\n";
        return nullptr;
    }
    SDL_Surface* image = SDL_LoadBMP_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
    if (!image)
        startupError += path + ": cannot load: " + SDL_GetError() + "\n";
    return image;
}

void frame::blankTextPages()
{
    for (auto& page : textPages)
        for (auto& line : page) {
            std::memset(line, ' ', 32);
            line[32] = '\0';
        }
}

int frame::loadUI(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return 0;
    std::stringstream text;
    text << file.rdbuf();
    TilesConfig config = parseTilesConfig(text.str(), path);
    for (const std::string& warning : config.warnings)
        std::fprintf(stderr, "%s\n", warning.c_str());

    for (const TileRecord& record : config.records) {
        int entry = 5 * record.row + record.column;
        if (currentTile < 0)
            currentTile = entry;
        tileCodes[entry] = record.code;
        tileColumns[record.code] = record.image;
        CButton* button = paletteEntry(entry);
        button->setImage(tileSheet, sheetCell * record.image, 0, sheetCell, sheetCell);
        if (record.image < 0) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%2X", record.code);
            button->caption(hex);
        }
        button->active(1);
        button->visible(1);
    }
    murekTile = config.murek < 0 ? -1 : tileColumns[config.murek];
    gumkaTile = config.gumka < 0 ? -1 : tileColumns[config.gumka];
    srubaTile = config.sruba < 0 ? -1 : tileColumns[config.sruba];
    return 1;
}

int frame::eraserCode() const
{
    if (gumkaTile < 0 || gumkaTile >= paletteEntries || tileCodes[gumkaTile] < 0)
        return 0;
    return tileCodes[gumkaTile];
}

int frame::screwCode() const
{
    if (srubaTile < 0 || srubaTile >= paletteEntries)
        return -1;
    return tileCodes[srubaTile];
}

void frame::showError(const std::string& message)
{
    statusMessage = message;
    statusIsError = true;
    std::fprintf(stderr, "zelbun-kreator: %s\n", message.c_str());
}

void frame::showMessage(const std::string& message)
{
    statusMessage = message;
    statusIsError = false;
}

int frame::ascii2atascii(int code) const
{
    return ::ascii2atascii(code);
}

int frame::atascii2ascii(int code) const
{
    return ::atascii2ascii(code);
}
