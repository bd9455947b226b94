// The editor's construction and destruction, its data files and the tile
// palette configuration.
#include "editor/frame.h"

#include "core/atari.h"
#include "core/datafiles.h"
#include "core/fileio.h"
#include "core/game.h"
#include "core/messages.h"
#include "core/tilesetup.h"
#include "editor/textroom.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/funkcje.h"
#include "ui/indialog.h"

#include <SDL_syswm.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The native handle of our window, for dialogs that should stay above it:
// the window id under X11, the HWND on Windows (whose handles fit in 32
// bits, also on 64-bit Windows); 0 where there is none.
unsigned long currentWindowId()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0)
        return 0;
#if defined(__WIN32__)  // the test SDL_syswm.h makes for its Windows record
    return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(info.window));
#elif defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11)
        return info.info.x11.window;
    return 0;
#else
    return 0;
#endif
}

// Widgets take their place from the layout table.
void place(CGui* widget, const layout::Rect& r)
{
    widget->move(r.x, r.y, r.w, r.h);
}

} // namespace

frame::frame(SDL_Surface* screenSurface, const FrameOptions& options)
    : notices([this] { return clock(); }, [this] { invalidate(); }), statusMessage(notices.latest()),
      statusIsError(notices.latestIsError()),
      play(session, [this] { return clock(); },
           [this](const std::string& text, bool error) { error ? showError(text) : showMessage(text); }),
      filePath(session.path()), textPages(session.document().pages), testChecks(session, levelRules),
      tools(session), dataDirs(options.dataDirs), clock(options.clock)
{
    if (!options.stateDir.empty()) {
        recent = RecentFiles(options.stateDir + "/recent");
        languageFile = options.stateDir + "/language";
    }
    if (!clock)
        clock = [] { return uint64_t(SDL_GetTicks()); };
    autosave = std::make_unique<Autosave>(session, options.stateDir, clock, voice());
    if (dataDirs.empty())
        dataDirs = defaultDataDirs();
    installEditorFont();
    CGui::drawText = drawString;

    const TileSetup tileSetup = findTileSetup(dataDirs);
    TileSheets sheets = loadTileSheets(dataDirs, tileSetup);
    tileSheet = std::move(sheets.tiles);
    paletteSheet = std::move(sheets.palette);
    for (const Error& error : sheets.errors)
        startupError += describe(error, Language::english) + "\n";

    windowId = currentWindowId();
    platform = options.platform;
    if (!platform) {
        ownPlatform = makeSystemPlatform(windowId);
        platform = ownPlatform.get();
    }
    launches = std::make_unique<TestLaunches>(*platform, options.runtimeDir, options.emulatorCommand, voice());
    std::string cwd = platform->currentDirectory();
    if (cwd.size() < sizeof workDir)
        std::strcpy(workDir, cwd.c_str());
    files = std::make_unique<FileCommands>(
        session, recent, *autosave, voice(),
        [this](DialogRequest request, std::string& path) {
            request.startDir = workDir;
            invalidate();  // the dialog may be drawn over the window
            return chooseFile(*platform, screen, request, path) == DialogResult::Chosen;
        },
        [this] { showOpenedSet(); });

    screen = screenSurface;

    buttons[canvasButton] = new CGui();
    buttons[canvasButton]->move(layout::canvas.x, layout::canvas.y, layout::canvas.w, layout::canvas.h);

    // The captions come with the language, at the end.
    newButton = new CButton("");
    openButton = new CButton("");
    saveButton = new CButton("");
    saveAsButton = new CButton("");
    buttons[deleteButton] = new CButton("");
    buttons[testLevelButton] = new CButton("");
    buttons[testGameButton] = new CButton("");
    colourPicker = new CButtonColor(paletteSheet.get(), 0, 0, 256, 128);
    buttons[swapButton] = new CButton("");
    undoButton = new CButton("");
    redoButton = new CButton("");
    logButton = new CButton("");
    helpButton = new CButton("?");
    dismissButton = new CButton("");
    playButton = new CButton("");
    setViewButton = new CButton("");

    std::fill(std::begin(tileColumns), std::end(tileColumns), -1);
    std::fill(std::begin(tileCodes), std::end(tileCodes), -1);

    for (map& level : levels)
        level.setBmp(tileSheet.get(), paletteSheet.get());
    for (int i = 0; i < levelCount; ++i) {
        char number[4];
        std::snprintf(number, sizeof number, "%d", i + 1);
        buttons[i] = new CButton(number);
        place(buttons[i], layout::levelSlot(i));
    }
    for (int i = 0; i < paletteEntries; ++i) {
        CButton* entry = new CButton(tileSheet.get(), 0, 0, kTileSheetCell, kTileSheetCell);
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
    buttons[startPageButton] = new CButton("");
    place(buttons[startPageButton], layout::startPageButton);
    buttons[endPageButton] = new CButton("");
    place(buttons[endPageButton], layout::endPageButton);
    createToolButtons();

    language = options.language ? *options.language
                                : rememberedLanguage(languageFile).value_or(Language::polish);
    notices.setLanguage(language);
    play.setLanguage(language);

    const ChosenTemplate chosen = chooseSessionTemplate(options.templatePath, dataDirs);
    if (chosen.error)
        showError(windowText(WindowText::templateRefused, language,
                             {chosen.error.path, reason(chosen.error, language)}));
    const GamePart game = std::make_shared<const std::vector<uint8_t>>(chosen.bytes);

    applyTileSetup(tileSetup);

    session.restart(eraserCode(), game, embeddedGame());
    for (int i = 0; i <= scratchLevel; ++i) {
        levels[i].srubkaSet(screwCode() < 0 ? 0 : screwCode());
        levels[i].gumkaSet(eraserCode());
        if (i < levelCount)
            levels[i].bind(&session, i);
        else
            levels[i].resetNoRepaint();
    }

    place(newButton, layout::newButton);
    place(openButton, layout::openButton);
    place(saveButton, layout::saveButton);
    place(saveAsButton, layout::saveAsButton);
    place(buttons[deleteButton], layout::deleteButton);

    screwCounter.move(layout::screwCounter.x, layout::screwCounter.y, 0, 0);
    wallCounter.move(layout::wallCounter.x, layout::wallCounter.y, 0, 0);
    wallCounter.image(tileSheet.get(), kTileSheetCell * murekTile, 0, kTileSheetCell, kTileSheetCell);
    place(colourPicker, layout::colourPicker);
    place(buttons[swapButton], layout::swapButton);
    place(buttons[testLevelButton], layout::testLevelButton);
    place(buttons[testGameButton], layout::testGameButton);
    place(undoButton, layout::undoButton);
    place(redoButton, layout::redoButton);
    place(logButton, layout::logButton);
    place(helpButton, layout::helpButton);
    place(dismissButton, layout::dismissButton);
    place(playButton, layout::playButton);
    place(setViewButton, layout::setViewButton);

    createSetView(options);
    setLanguage(language);
}

void frame::setLanguage(Language chosen)
{
    language = chosen;
    notices.setLanguage(language);
    play.setLanguage(language);
    autosave->setLanguage(language);
    launches->setLanguage(language);
    files->setLanguage(language);
    setView->setLanguage(language);
    const std::pair<CGui*, WindowText> labelled[] = {
        {newButton, WindowText::newButton},
        {openButton, WindowText::openButton},
        {saveButton, WindowText::saveButton},
        {saveAsButton, WindowText::saveAsButton},
        {buttons[deleteButton], WindowText::deleteButton},
        {buttons[testLevelButton], WindowText::testLevelButton},
        {buttons[testGameButton], WindowText::testGameButton},
        {buttons[swapButton], WindowText::swapButton},
        {playButton, WindowText::playButton},
        {undoButton, WindowText::undoButton},
        {redoButton, WindowText::redoButton},
        {logButton, WindowText::logButton},
        {dismissButton, WindowText::dismissButton},
        {buttons[startPageButton], WindowText::startPageButton},
        {buttons[endPageButton], WindowText::endPageButton},
        {&screwCounter, WindowText::screwCounterLabel},
        {&wallCounter, WindowText::wallCounterLabel},
    };
    for (const auto& [widget, text] : labelled)
        widget->caption(shownLabel(text, language).c_str());
    setViewButton->caption(
        fitLabel(setViewText(SetViewText::viewButton, language), size_t(layout::setViewButton.w / layout::fontWidth))
            .c_str());
    invalidate();
}

void frame::chooseLanguage(Language chosen)
{
    setLanguage(chosen);
    if (!languageFile.empty())
        if (const Error error = rememberLanguage(languageFile, chosen))
            showError(describe(error, language));
}

frame::~frame()
{
    delete newButton;
    delete openButton;
    delete saveButton;
    delete saveAsButton;
    delete undoButton;
    delete redoButton;
    delete logButton;
    delete helpButton;
    delete dismissButton;
    delete playButton;
    delete setViewButton;
    for (CGui*& widget : buttons) {
        delete widget;
        widget = nullptr;
    }
    delete colourPicker;
    for (CButton*& button : toolButtons) {
        delete button;
        button = nullptr;
    }
    // The sheets and then the levels' own copies go after this body.
}

// How the parts speak through the window.
Voice frame::voice()
{
    return {[this](const std::string& message) { showMessage(message); },
            [this](const std::string& message) { showError(message); },
            [this](const std::string& message) { note(message); },
            [this](const Question& question) { return ask(question); }};
}

// The work that waits for time.
bool frame::tick()
{
    const bool programsRunning = launches->collect();
    autosave->tick();
    if (play.active() && !play.tick())
        showPressedLook(pointerX, pointerY);  // "Graj" comes up as the game ends
    const bool verdictsComing = setView->tick();
    return programsRunning || notices.flashing() || autosave->due() || play.active() || verdictsComing ||
           tooltip.waiting();
}

int frame::loadUI(const char* path)
{
    const TileSetup setup = readTileSetup(path);
    applyTileSetup(setup);
    return setup.error ? 0 : 1;
}

// The palette, the code tables and the keys' roles from the tile setup; what
// its checks found goes to the terminal line by line and to the window in
// one line.
void frame::applyTileSetup(const TileSetup& setup)
{
    const TilesConfig& config = setup.config;
    levelRules = setup.rules();
    std::copy(std::begin(setup.columns.columns), std::end(setup.columns.columns), tileColumns);
    for (const TileRecord& record : config.records) {
        int entry = kPaletteColumns * record.row + record.column;
        if (currentTile < 0)
            currentTile = entry;
        tileCodes[entry] = record.code;
        CButton* button = paletteEntry(entry);
        button->setImage(tileSheet.get(), kTileSheetCell * record.image, 0, kTileSheetCell, kTileSheetCell);
        if (record.image < 0) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%2X", record.code);
            button->caption(hex);
        }
        button->active(1);
        button->visible(1);
    }
    // The codes say what each role writes and counts; the sheet columns
    // only how the wall is drawn.
    murekTile = setup.columns.murekColumn;
    gumkaTile = config.gumka < 0 ? -1 : tileColumns[config.gumka];
    srubaTile = config.sruba < 0 ? -1 : tileColumns[config.sruba];
    gumkaCode = config.gumka;
    srubaCode = config.sruba;

    for (const std::string& finding : describeFindings(setup))
        std::fprintf(stderr, "%s\n", finding.c_str());
    if (setup.error.fault == Fault::notFound)
        std::fprintf(stderr, "zelbun-kreator: %s\n", summarize(setup, Language::english).c_str());
    const std::string summary = summarize(setup, language);
    if (!summary.empty())
        showError(summary);
}

int frame::eraserCode() const
{
    return gumkaCode < 0 ? 0 : gumkaCode;
}

int frame::screwCode() const
{
    return srubaCode;
}

bool frame::drawsEraser(int entry) const
{
    return gumkaCode >= 0 && entry >= 0 && entry < paletteEntries && tileCodes[entry] == gumkaCode;
}

int frame::ascii2atascii(int code) const
{
    return ::ascii2atascii(code);
}

int frame::atascii2ascii(int code) const
{
    return ::atascii2ascii(code);
}
