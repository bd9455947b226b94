#include "render/sheet.h"

#include "core/datafiles.h"
#include "core/fileio.h"
#include "render/funkcje.h"

#include <cstdlib>

namespace {

uint32_t le32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

unsigned le16(const uint8_t* p)
{
    return p[0] | p[1] << 8;
}

// Width and height as the BMP header gives them, read as the decoder reads
// them: 16-bit in the oldest header, 32-bit in every other. Bytes that are
// not a BMP are left to the decoder, which reports them in its own words.
enum class Header { notBmp, truncated, read };

Header headerSize(const uint8_t* data, size_t size, long long& width, long long& height)
{
    const size_t infoAt = 14;
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return Header::notBmp;
    if (size < infoAt + 4)
        return Header::truncated;
    const uint32_t infoSize = le32(data + infoAt);
    if (infoSize == 12) { // the oldest header: 16-bit sizes
        if (size < infoAt + 8)
            return Header::truncated;
        width = le16(data + 18);
        height = le16(data + 20);
        return Header::read;
    }
    if (size < infoAt + 12)
        return Header::truncated;
    width = static_cast<int32_t>(le32(data + 18));
    height = static_cast<int32_t>(le32(data + 22));
    if (height < 0) // top-down
        height = -height;
    return Header::read;
}

} // namespace

SurfacePtr newSheetSurface(int width, int height)
{
    return SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0xFF0000, 0xFF00, 0xFF, 0));
}

Error loadSheet(const uint8_t* data, size_t size, const std::string& name, const SheetLimits& limits,
                SurfacePtr& sheet)
{
    // A size the decoder would allocate for is checked first; a header cut
    // short would make it guess one.
    long long width = 0, height = 0;
    const Header header = headerSize(data, size, width, height);
    if (header == Header::truncated)
        return Error::of(Fault::undecodable, name, "the header is cut short");
    if (header == Header::read)
        if (Error error = checkSheetSize(name, width, height, limits))
            return error;

    if (size > kSheetReadLimit) {
        Error error = Error::of(Fault::tooLarge, name);
        error.size = size;
        error.limit = kSheetReadLimit;
        return error;
    }
    SDL_RWops* bytes = SDL_RWFromConstMem(data, static_cast<int>(size));
    SurfacePtr loaded(bytes ? SDL_LoadBMP_RW(bytes, 1) : nullptr);
    if (!loaded)
        return Error::of(Fault::undecodable, name, SDL_GetError());
    if (Error error = checkSheetSize(name, loaded->w, loaded->h, limits))
        return error;

    const int rows = loaded->h < limits.keptRows ? loaded->h : limits.keptRows;
    SurfacePtr converted = newSheetSurface(loaded->w, rows);
    // Pixels are copied as they are: an alpha channel or a colour key in the
    // file must not make them see-through.
    SDL_SetAlpha(loaded.get(), 0, SDL_ALPHA_OPAQUE);
    SDL_SetColorKey(loaded.get(), 0, 0);
    SDL_Rect whole = {0, 0, static_cast<Uint16>(loaded->w), static_cast<Uint16>(rows)};
    if (!converted || SDL_BlitSurface(loaded.get(), &whole, converted.get(), nullptr) != 0)
        return Error::of(Fault::unconvertible, name, SDL_GetError());
    sheet = std::move(converted);
    return Error();
}

Error loadDataSheet(const char* name, const SheetLimits& limits, const std::vector<std::string>& dataDirs,
                    SurfacePtr& sheet, std::string* foundAt)
{
    const std::string path = findDataFile(name, dataDirs);
    if (path.empty())
        return Error::of(Fault::notFound, name, describeDataDirs(dataDirs));
    if (foundAt)
        *foundAt = path;
    std::vector<uint8_t> bytes;
    if (Error error = readFile(path, bytes, kSheetReadLimit))
        return error;
    return loadSheet(bytes.data(), bytes.size(), path, limits, sheet);
}

TileSheets loadTileSheets(const std::vector<std::string>& dataDirs, const TileSetup& setup)
{
    TileSheets sheets;
    std::string tilesPath;
    if (Error error = loadDataSheet("tiles.bmp", kTileSheetLimits, dataDirs, sheets.tiles, &tilesPath))
        sheets.errors.push_back(error);
    else if (Error narrow = checkSheetWidth(tilesPath, sheets.tiles->w, setup))
        sheets.errors.push_back(narrow);

    SurfacePtr palette;
    if (Error error = loadDataSheet("paleta.bmp", kPaletteLimits, dataDirs, palette)) {
        sheets.errors.push_back(error);
        return sheets;
    }
    // Scaled once; only the scaled sheet is kept.
    const int factor = 16;
    sheets.palette.reset(resize(palette.get(), nullptr, factor));
    if (!sheets.palette)
        sheets.errors.push_back(
            Error::library(Fault::noSurface, SDL_GetError(), palette->w * factor, palette->h * factor));
    return sheets;
}
