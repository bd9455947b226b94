// Feeds arbitrary text to the tile palette configuration parser and checks
// that whatever it accepts is inside the palette, the codes and the sheet.
#include "core/tilesconfig.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool keyValid(int code) { return code >= -1 && code <= 255; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TilesConfig c = parseTilesConfig(text, "fuzz.cfg");

    require(keyValid(c.murek) && keyValid(c.gumka) && keyValid(c.sruba));
    int previousLine = 1;
    for (const TileRecord& r : c.records) {
        require(r.column >= 0 && r.column <= 4);
        require(r.row >= 0 && r.row <= 25);
        require(r.code >= 0 && r.code <= 255);
        require(r.image >= -1 && r.image <= 127);
        require(r.line >= previousLine);
        previousLine = r.line;
    }
    for (const std::string& w : c.warnings)
        require(w.compare(0, 9, "fuzz.cfg:") == 0);
    return 0;
}
