// export: levels drawn into a PNG by the editor's own level renderer, on a
// surface in memory, so the picture is exactly what the canvas shows (the
// same recolouring, wall patterns and hex codes). Needs no display and no
// window.
#include "cli/commands.h"
#include "cli/png.h"
#include "core/messages.h"
#include "render/font.h"
#include "render/levelrenderer.h"

#include <SDL.h>

#include <algorithm>
#include <ostream>

namespace {

const int kSheetColumns = 8;  // levels side by side in an --all sheet
const int kSheetGap = 8;      // pixels between them, in the window's grey

} // namespace

int runExport(const CommandLine& line, Console console)
{
    SetFile set;
    if (Error error = readSetFile(line.file, console.in, set))
        return fail(console, describe(error, Language::english));
    std::vector<int> slots;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        if (set.image.levels[slot].on && (line.all || slot == line.level - 1))
            slots.push_back(slot);
    if (slots.empty())
        return fail(console, inputName(line.file) + ": " +
                                 (line.all ? std::string("no levels") : "level " + std::to_string(line.level) + " is empty"));

    // What the window refuses to start with, export refuses to draw with;
    // without a tiles.cfg both show every code as its number.
    const TileSetup setup = tileSetup(line, console, "every code is drawn as its number");
    if (setup.error && setup.error.fault != Fault::notFound)
        return fail(console, describe(setup.error, Language::english));
    for (const std::string& finding : describeFindings(setup))
        console.err << "zelbun-kreator: warning: " << finding << '\n';
    const TileSheets sheets = loadTileSheets(dataDirsOf(line), setup);
    for (const Error& error : sheets.errors)
        fail(console, describe(error, Language::english));
    if (!sheets.ok())
        return 1;
    installEditorFont();
    TileArt art;
    art.sheet = sheets.tiles.get();
    art.palette = sheets.palette.get();
    art.columns = setup.columns.columns;
    art.murekColumn = setup.columns.murekColumn;

    const int levelWidth = levelPixelWidth(1), levelHeight = levelPixelHeight(1);
    const int across = std::min<int>(kSheetColumns, int(slots.size()));
    const int down = (int(slots.size()) + kSheetColumns - 1) / kSheetColumns;
    const int width = across * levelWidth + (across - 1) * kSheetGap;
    const int height = down * levelHeight + (down - 1) * kSheetGap;
    SurfacePtr picture(SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0));
    if (!picture)
        return fail(console, describe(Error::library(Fault::noSurface, SDL_GetError(), width, height),
                                      Language::english));
    SDL_FillRect(picture.get(), nullptr, SDL_MapRGB(picture->format, 200, 200, 200));
    LevelSheet sheet;
    sheet.attach(art.sheet, art.palette);
    for (size_t i = 0; i < slots.size(); ++i) {
        const LevelData& level = set.image.levels[slots[i]];
        const int x = int(i % kSheetColumns) * (levelWidth + kSheetGap);
        const int y = int(i / kSheetColumns) * (levelHeight + kSheetGap);
        // The canvas shows the level on its background register.
        const SDL_Color background = atariRgb(art.palette, level.colours[4]);
        SDL_Rect area = {Sint16(x), Sint16(y), Uint16(levelWidth), Uint16(levelHeight)};
        SDL_FillRect(picture.get(), &area, SDL_MapRGB(picture->format, background.r, background.g, background.b));
        sheet.follow(level.colours);
        drawLevel(picture.get(), art, sheet.surface(), level, x, y);
    }

    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    SDL_LockSurface(picture.get());
    for (int y = 0; y < height; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(picture->pixels) +
                                                           y * picture->pitch);
        for (int x = 0; x < width; ++x) {
            Uint8* pixel = &rgb[3 * (size_t(y) * width + x)];
            SDL_GetRGB(row[x], picture->format, &pixel[0], &pixel[1], &pixel[2]);
        }
    }
    SDL_UnlockSurface(picture.get());

    std::vector<uint8_t> png;
    if (Error error = encodePng(width, height, rgb, png))
        return fail(console, describe(error, Language::english));
    if (!writeOutput(line, png, console))
        return 1;
    if (line.output != "-")
        console.out << line.output << ": " << width << " x " << height << ", " << slots.size()
                    << (slots.size() == 1 ? " level" : " levels") << '\n';
    return 0;
}
