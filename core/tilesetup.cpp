#include "core/tilesetup.h"

#include "core/datafiles.h"
#include "core/fileio.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

int clampToInt(long long value)
{
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// What the records and keys of a configuration make of the palette, and
// which keys it cannot draw.
TileSetup checked(TilesConfig config, const std::string& path)
{
    TileSetup setup;
    setup.path = path;
    setup.config = std::move(config);
    setup.columns = tileColumnsOf(setup.config);
    std::fill(std::begin(setup.entryCodes), std::end(setup.entryCodes), -1);
    for (const TileRecord& record : setup.config.records)
        setup.entryCodes[kPaletteColumns * record.row + record.column] = record.code;
    const struct {
        const char* key;
        int code;
    } roles[] = {{"murek", setup.config.murek}, {"gumka", setup.config.gumka}, {"sruba", setup.config.sruba}};
    for (const auto& role : roles) {
        if (role.code < 0)
            continue;
        const bool inPalette =
            std::find(std::begin(setup.entryCodes), std::end(setup.entryCodes), role.code) != std::end(setup.entryCodes);
        if (!inPalette || setup.columns.columns[role.code] < 0)
            setup.roles.push_back({role.key, role.code, inPalette});
    }
    return setup;
}

} // namespace

Error checkSheetSize(const std::string& path, long long width, long long height, const SheetLimits& limits)
{
    const bool exact = limits.minWidth == limits.maxWidth && limits.minHeight == limits.maxHeight;
    const bool small = width < limits.minWidth || height < limits.minHeight;
    if (!small && width <= limits.maxWidth && height <= limits.maxHeight)
        return Error();
    const Fault fault = exact ? Fault::pictureWrongSize : small ? Fault::pictureTooSmall : Fault::pictureTooLarge;
    const bool needsMore = exact || small;
    return Error::picture(fault, path, clampToInt(width), clampToInt(height),
                          needsMore ? limits.minWidth : limits.maxWidth, needsMore ? limits.minHeight : limits.maxHeight);
}

int TileSetup::sheetWidthNeeded() const
{
    int last = columns.murekColumn >= 0 ? columns.murekColumn + 7 : -1;
    for (int column : columns.columns)
        last = std::max(last, column);
    return kTileSheetCell * (last + 1);
}

TileSetup tileSetupOf(const std::string& text, const std::string& path)
{
    return checked(parseTilesConfig(text, path), path);
}

TileSetup readTileSetup(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (Error error = readFile(path, bytes, kTilesConfigReadLimit)) {
        TileSetup setup = checked(TilesConfig(), path);
        setup.error = error;
        return setup;
    }
    return tileSetupOf(std::string(bytes.begin(), bytes.end()), path);
}

TileSetup findTileSetup(const std::vector<std::string>& dataDirs)
{
    const std::string path = findDataFile("tiles.cfg", dataDirs);
    if (!path.empty())
        return readTileSetup(path);
    TileSetup setup = checked(TilesConfig(), "");
    setup.error = Error::of(Fault::notFound, "tiles.cfg", describeDataDirs(dataDirs));
    return setup;
}

Error checkSheetWidth(const std::string& path, int width, const TileSetup& setup)
{
    const int needed = setup.sheetWidthNeeded();
    if (width >= needed)
        return Error();
    return Error::picture(Fault::sheetTooNarrow, path, width, 0, needed, 0);
}
