// zelbun-gendata SOURCE_DIR OUT_DIR: builds the editor's default data from
// the reviewable sources in SOURCE_DIR (tiles.txt, icon.txt) and writes
// paleta.bmp, tiles.bmp, tiles.cfg, TILES.md, icon.bmp and icon.png into
// OUT_DIR; the game disk data/game.atr is built from engine/. Everything is
// made in memory first; nothing is written unless every source is sound,
// and each file is written to a temporary name and renamed over the target
// only when complete.
#include "tools/atr.h"
#include "tools/bmp.h"
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelbun-gendata SOURCE_DIR OUT_DIR\n");
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
        {"icon.png", encodePngRgba(icon::size * pngIconScale, icon::size * pngIconScale,
                                   iconRgba(iconArt, pngIconScale))},
    };

    std::error_code dirError;
    fs::create_directories(outDir, dirError);
    if (dirError) {
        std::fprintf(stderr, "zelbun-gendata: cannot create %s: %s\n", outDir.string().c_str(),
                     dirError.message().c_str());
        return 1;
    }
    for (const auto& [name, bytes] : outputs)
        if (!writeFile(outDir / name, bytes))
            return 1;
    return 0;
}
