#include "render/sheet.h"

#include "core/datafiles.h"
#include "core/fileio.h"
#include "core/messages.h"
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

// Width and height as the BMP header gives them; false when the bytes are
// too short or not a BMP, which the decoder then reports in its own words.
bool headerSize(const uint8_t* data, size_t size, long long& width, long long& height)
{
    const size_t infoAt = 14;
    if (size < infoAt + 4 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint32_t infoSize = le32(data + infoAt);
    if (infoSize == 12 && size >= infoAt + 12) { // the oldest header: 16-bit sizes
        width = le16(data + 18);
        height = le16(data + 20);
        return true;
    }
    if (infoSize >= 16 && size >= infoAt + 12) {
        width = static_cast<int32_t>(le32(data + 18));
        height = static_cast<int32_t>(le32(data + 22));
        if (height < 0) // top-down
            height = -height;
        return true;
    }
    return false;
}

std::string sizeText(long long width, long long height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

bool withinLimits(long long width, long long height, const std::string& name,
                  const SheetLimits& limits, std::string& error)
{
    const bool exact = limits.minWidth == limits.maxWidth && limits.minHeight == limits.maxHeight;
    std::string allowed;
    if (exact)
        allowed = "it must be " + sizeText(limits.minWidth, limits.minHeight);
    else if (width < limits.minWidth || height < limits.minHeight)
        allowed = "at least " + sizeText(limits.minWidth, limits.minHeight) + " is needed";
    else
        allowed = "at most " + sizeText(limits.maxWidth, limits.maxHeight) + " is allowed";
    if (width < limits.minWidth || height < limits.minHeight || width > limits.maxWidth ||
        height > limits.maxHeight) {
        error = name + ": " + sizeText(width, height) + " pixels; " + allowed;
        return false;
    }
    return true;
}

} // namespace

SurfacePtr newSheetSurface(int width, int height)
{
    return SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0xFF0000, 0xFF00, 0xFF, 0));
}

SurfacePtr loadSheet(const uint8_t* data, size_t size, const std::string& name,
                     const SheetLimits& limits, std::string& error)
{
    long long width, height;
    if (headerSize(data, size, width, height) && !withinLimits(width, height, name, limits, error))
        return nullptr;

    if (size > kSheetReadLimit) {
        error = name + ": " + std::to_string(size) + " bytes; at most " +
                std::to_string(kSheetReadLimit) + " is allowed";
        return nullptr;
    }
    SDL_RWops* bytes = SDL_RWFromConstMem(data, static_cast<int>(size));
    SurfacePtr loaded(bytes ? SDL_LoadBMP_RW(bytes, 1) : nullptr);
    if (!loaded) {
        error = name + ": cannot load: " + SDL_GetError();
        return nullptr;
    }
    if (!withinLimits(loaded->w, loaded->h, name, limits, error))
        return nullptr;

    const int rows = loaded->h < limits.keptRows ? loaded->h : limits.keptRows;
    SurfacePtr sheet = newSheetSurface(loaded->w, rows);
    // Pixels are copied as they are: an alpha channel or a colour key in the
    // file must not make them see-through.
    SDL_SetAlpha(loaded.get(), 0, SDL_ALPHA_OPAQUE);
    SDL_SetColorKey(loaded.get(), 0, 0);
    SDL_Rect whole = {0, 0, static_cast<Uint16>(loaded->w), static_cast<Uint16>(rows)};
    if (!sheet || SDL_BlitSurface(loaded.get(), &whole, sheet.get(), nullptr) != 0) {
        error = name + ": cannot convert: " + SDL_GetError();
        return nullptr;
    }
    return sheet;
}

SurfacePtr loadDataSheet(const char* name, const SheetLimits& limits, const std::vector<std::string>& dataDirs,
                         std::string& errors)
{
    const std::string path = findDataFile(name, dataDirs);
    if (path.empty()) {
        errors += std::string(name) + " not found (looked in " + describeDataDirs(dataDirs) + ")\n";
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (Error error = readFile(path, bytes, kSheetReadLimit)) {
        errors += describe(error, Language::english) + "\n";
        return nullptr;
    }
    std::string error;
    SurfacePtr sheet = loadSheet(bytes.data(), bytes.size(), path, limits, error);
    if (!sheet)
        errors += error + "\n";
    return sheet;
}

SurfacePtr loadPaletteSheet(const std::vector<std::string>& dataDirs, std::string& errors)
{
    // Scaled once; only the scaled sheet is kept.
    return SurfacePtr(resize(loadDataSheet("paleta.bmp", kPaletteLimits, dataDirs, errors).get(), nullptr, 16));
}
