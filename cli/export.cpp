// export: levels drawn into a PNG by the editor itself, on a surface in
// memory, so the picture is exactly what the window shows on the canvas
// (the same recolouring, wall patterns and hex codes). Needs no display.
#include "cli/commands.h"
#include "cli/png.h"
#include "editor/frame.h"
#include "platform/platform.h"

#include <SDL.h>

#include <memory>
#include <ostream>

namespace {

// The export opens no dialog and starts no program.
class NoDesktop : public Platform {
public:
    DialogResult fileDialog(const DialogRequest&, std::string&) override { return DialogResult::Unavailable; }
    bool openWithDefaultProgram(const std::string&, const std::string&, std::string& error) override
    {
        error = "no desktop";
        return false;
    }
    std::string currentDirectory() override { return "."; }
};

const int kCanvasWidth = 16 * 16;
const int kCanvasHeight = 31 * 16;
const int kSheetColumns = 8;  // levels side by side in an --all sheet
const int kSheetGap = 8;      // pixels between them, in the window's grey

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

// Copies the canvas of level `slot` as the editor paints it into `rgb`, a
// picture `width` pixels wide, at (left, top).
void drawLevel(frame& editor, SDL_Surface* screen, int slot, std::vector<uint8_t>& rgb, int width, int left,
               int top)
{
    editor.currentLevel = slot;
    editor.paint();
    SDL_LockSurface(screen);
    for (int y = 0; y < kCanvasHeight; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(screen->pixels) +
                                                           (editor.mapY + y) * screen->pitch);
        for (int x = 0; x < kCanvasWidth; ++x) {
            Uint8* out = &rgb[3 * (size_t(top + y) * width + left + x)];
            SDL_GetRGB(row[editor.mapX + x], screen->format, &out[0], &out[1], &out[2]);
        }
    }
    SDL_UnlockSurface(screen);
}

} // namespace

int runExport(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    LevelSet set;
    std::string error;
    if (!loadLevelSet(line.file, set, error)) {
        err << "zelbun-kreator: " << error << '\n';
        return 1;
    }
    std::vector<int> slots;
    for (int slot = 0; slot < kLevelSlots; ++slot)
        if (set.levels[slot].on && (line.all || slot == line.level - 1))
            slots.push_back(slot);
    if (slots.empty()) {
        err << "zelbun-kreator: " << line.file << ": "
            << (line.all ? std::string("no levels") : "level " + std::to_string(line.level) + " is empty") << '\n';
        return 1;
    }

    std::unique_ptr<SDL_Surface, SurfaceFree> screen(
        SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 570, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0));
    if (!screen) {
        err << "zelbun-kreator: cannot make a surface to draw on: " << SDL_GetError() << '\n';
        return 1;
    }
    NoDesktop desktop;
    FrameOptions options;
    options.platform = &desktop;
    options.dataDirs = line.dataDirs;
    frame editor(screen.get(), options);
    if (!editor.ok()) {
        err << "zelbun-kreator: " << editor.loadError();
        return 1;
    }
    if (!editor.loadMap(line.file.c_str()))
        return 1;

    const int columns = std::min<int>(kSheetColumns, int(slots.size()));
    const int rows = (int(slots.size()) + kSheetColumns - 1) / kSheetColumns;
    const int width = columns * kCanvasWidth + (columns - 1) * kSheetGap;
    const int height = rows * kCanvasHeight + (rows - 1) * kSheetGap;
    std::vector<uint8_t> rgb(size_t(width) * height * 3, 200);
    for (size_t i = 0; i < slots.size(); ++i)
        drawLevel(editor, screen.get(), slots[i], rgb, width, int(i % kSheetColumns) * (kCanvasWidth + kSheetGap),
                  int(i / kSheetColumns) * (kCanvasHeight + kSheetGap));

    if (!writePng(line.output, width, height, rgb, error)) {
        err << "zelbun-kreator: " << error << '\n';
        return 1;
    }
    out << line.output << ": " << width << " x " << height << ", map: " << slots.size() << '\n';
    return 0;
}
