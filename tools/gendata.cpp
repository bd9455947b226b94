// zelbun-gendata SOURCE_DIR OUT_DIR: builds the editor's default data from
// the reviewable sources in SOURCE_DIR (tiles.txt, icon.txt) and writes
// paleta.bmp, tiles.bmp, tiles.cfg, TILES.md, icon.bmp and icon.png into
// OUT_DIR; the game disk data/game.atr is built from engine/.
//
// zelbun-gendata engine DATA_DIR OUT_DIR: builds the game's character sets
// and tile tables (tiles.fnt, tilemap.bin, robot.bin, font.fnt) from
// DATA_DIR/tiles.bmp, DATA_DIR/tiles.cfg and the editor's font, and its
// include files tiles.inc (tile codes, from DATA_DIR/src/tiles.txt) and
// level.inc (the level's layout, from the editor's constants). Files whose
// content is already right are left untouched, so a build that depends on
// them does not redo its work.
//
// zelbun-gendata icons ICON_TXT OUT_DIR and zelbun-gendata ico ICON_TXT
// OUT.ico draw the program's icon for the Linux desktops and for Windows.
//
// Everything is made in memory first; nothing is written unless every
// source is sound, and each file is written to a temporary name and renamed
// over the target only when complete.
#include "core/glyphs.h"
#include "core/tilesconfig.h"
#include "tools/bmp.h"
#include "tools/bmpread.h"
#include "tools/enginedata.h"
#include "tools/ico.h"
#include "tools/icon.h"
#include "tools/palette.h"
#include "tools/png.h"
#include "tools/tileset.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int pngIconScale = 2; // 64 x 64 for the desktop

bool readText(const fs::path& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "zelbun-gendata: cannot read %s\n", path.string().c_str());
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

// A picture as PNG; empty, with the reason said, when libpng failed.
Bytes pngOf(int width, int height, const Bytes& rgba)
{
    std::string error;
    Bytes bytes = encodePngRgba(width, height, rgba, error);
    if (bytes.empty())
        std::fprintf(stderr, "zelbun-gendata: %s\n", error.c_str());
    return bytes;
}

bool writeFile(const fs::path& path, const Bytes& bytes)
{
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "zelbun-gendata: cannot write %s\n", temporary.string().c_str());
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        std::fprintf(stderr, "zelbun-gendata: cannot rename %s to %s: %s\n", temporary.string().c_str(),
                     path.string().c_str(), error.message().c_str());
        return false;
    }
    return true;
}

Bytes textBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

bool createDirectory(const fs::path& dir)
{
    std::error_code error;
    fs::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "zelbun-gendata: cannot create %s: %s\n", dir.string().c_str(),
                     error.message().c_str());
        return false;
    }
    return true;
}

int engineMain(const fs::path& dataDir, const fs::path& outDir)
{
    std::string bmpText, cfgText, error;
    const fs::path sheetPath = dataDir / "tiles.bmp", configPath = dataDir / "tiles.cfg";
    if (!readText(sheetPath, bmpText) || !readText(configPath, cfgText))
        return 1;
    Image sheet(0, 0);
    if (!decodeBmp(textBytes(bmpText), sheetPath.string(), sheet, error)) {
        std::fprintf(stderr, "zelbun-gendata: %s\n", error.c_str());
        return 1;
    }
    const TilesConfig config = parseTilesConfig(cfgText, configPath.string());
    for (const std::string& warning : config.warnings)
        std::fprintf(stderr, "zelbun-gendata: %s\n", warning.c_str());
    EngineData data;
    if (!buildEngineData(sheet, sheetPath.string(), config, editorFontData(), data, error)) {
        std::fprintf(stderr, "zelbun-gendata: %s\n", error.c_str());
        return 1;
    }
    const fs::path tileSource = dataDir / "src" / "tiles.txt";
    std::string tileText, tilesInc;
    TileSet tileSet;
    if (!readText(tileSource, tileText))
        return 1;
    if (!parseTileSet(tileText, tileSource.string(), tileSet, error) ||
        !engineTilesInclude(tileSet, data, tilesInc, error)) {
        std::fprintf(stderr, "zelbun-gendata: %s\n", error.c_str());
        return 1;
    }
    if (!createDirectory(outDir))
        return 1;
    const Bytes tilesIncBytes = textBytes(tilesInc), levelIncBytes = textBytes(engineLevelInclude());
    const std::pair<const char*, const Bytes*> outputs[] = {
        {"tiles.fnt", &data.tiles}, {"tilemap.bin", &data.tileMap}, {"robot.bin", &data.robot},
        {"font.fnt", &data.font},   {"tiles.inc", &tilesIncBytes},  {"level.inc", &levelIncBytes}};
    for (const auto& [name, bytes] : outputs) {
        std::ifstream in(outDir / name, std::ios::binary);
        if (in && Bytes(std::istreambuf_iterator<char>(in), {}) == *bytes)
            continue;
        if (!writeFile(outDir / name, *bytes))
            return 1;
    }
    return 0;
}

// The desktop icons in the hicolor theme's layout under outDir: PNG at the
// usual sizes and a scalable SVG.
int iconsMain(const fs::path& iconSource, const fs::path& outDir)
{
    std::string text, error;
    IconArt art;
    if (!readText(iconSource, text))
        return 1;
    if (!parseIcon(text, iconSource.string(), art, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<std::pair<fs::path, Bytes>> outputs;
    for (int side : {16, 32, 48, 64, 128, 256})
        outputs.push_back({outDir / "hicolor" / (std::to_string(side) + "x" + std::to_string(side)) / "apps",
                           pngOf(side, side, iconRgbaAtSide(art, side))});
    outputs.push_back({outDir / "hicolor" / "scalable" / "apps", textBytes(iconSvg(art))});
    for (const auto& output : outputs)
        if (output.second.empty())
            return 1;  // a picture libpng could not make, which it said
    for (const auto& [dir, bytes] : outputs) {
        const char* extension = dir.parent_path().filename() == "scalable" ? ".svg" : ".png";
        std::error_code failed;
        fs::create_directories(dir, failed);
        if (failed) {
            std::fprintf(stderr, "zelbun-gendata: cannot create %s: %s\n", dir.string().c_str(),
                         failed.message().c_str());
            return 1;
        }
        if (!writeFile(dir / (std::string("zelbun-kreator") + extension), bytes))
            return 1;
    }
    return 0;
}

// The Windows program icon: the sizes Explorer, the taskbar and the title
// bar ask for, in one .ico file.
int icoMain(const fs::path& iconSource, const fs::path& outFile)
{
    std::string text, error;
    IconArt art;
    if (!readText(iconSource, text))
        return 1;
    if (!parseIcon(text, iconSource.string(), art, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<IcoImage> images;
    for (int side : {16, 32, 48, 256}) {
        Bytes png = pngOf(side, side, iconRgbaAtSide(art, side));
        if (png.empty())
            return 1;
        images.push_back({side, std::move(png)});
    }
    if (outFile.has_parent_path() && !createDirectory(outFile.parent_path()))
        return 1;
    return writeFile(outFile, encodeIco(images)) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "engine")
        return engineMain(argv[2], argv[3]);
    if (argc == 4 && std::string(argv[1]) == "icons")
        return iconsMain(argv[2], argv[3]);
    if (argc == 4 && std::string(argv[1]) == "ico")
        return icoMain(argv[2], argv[3]);
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelbun-gendata SOURCE_DIR OUT_DIR\n"
                             "       zelbun-gendata engine DATA_DIR OUT_DIR\n"
                             "       zelbun-gendata icons ICON_TXT OUT_DIR\n"
                             "       zelbun-gendata ico ICON_TXT OUT.ico\n");
        return 2;
    }
    const fs::path sourceDir = argv[1];
    const fs::path outDir = argv[2];

    std::string tileText, iconText, error;
    if (!readText(sourceDir / "tiles.txt", tileText) || !readText(sourceDir / "icon.txt", iconText))
        return 1;
    TileSet tileSet;
    if (!parseTileSet(tileText, (sourceDir / "tiles.txt").string(), tileSet, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    IconArt iconArt;
    if (!parseIcon(iconText, (sourceDir / "icon.txt").string(), iconArt, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }

    const std::vector<std::pair<const char*, Bytes>> outputs = {
        {"paleta.bmp", encodeBmp24(paletteImage())},
        {"tiles.bmp", encodeBmp24(renderSheet(tileSet))},
        {"tiles.cfg", textBytes(tilesConfig(tileSet))},
        {"TILES.md", textBytes(tilesTable(tileSet))},
        {"icon.bmp", encodeBmp24(iconWithKey(iconArt))},
        {"icon.png", pngOf(icon::size * pngIconScale, icon::size * pngIconScale, iconRgba(iconArt, pngIconScale))},
    };

    for (const auto& output : outputs)
        if (output.second.empty())
            return 1;  // a picture libpng could not make, which it said
    if (!createDirectory(outDir))
        return 1;
    for (const auto& [name, bytes] : outputs)
        if (!writeFile(outDir / name, bytes))
            return 1;
    return 0;
}
