#include "editor/levelsettings.h"

#include "widgets/CPMButton.h"

#include <algorithm>

namespace {

const int maxScrews = 99;
const int wallPatterns = 8;

// The counters wrap in both directions.
int stepCounter(int value, int area, int count)
{
    if (area == CPMButton::minusHit)
        return value - 1 < 0 ? count - 1 : value - 1;
    if (area == CPMButton::plusHit)
        return value + 1 >= count ? 0 : value + 1;
    return value;
}

} // namespace

void setOnLevel(map& level, const Target& target, int colourRegister, int picked, bool screwKnown)
{
    const int colourBefore = level.colorGet(colourRegister);
    const int wallBefore = level.wzorekGet();
    const int screwsBefore = level.srubkiGet();
    switch (target.kind) {
    case Target::ColourPicker:
        if (picked >= 0)
            level.colorSet(colourRegister, picked);
        break;
    case Target::WallCounter:
        if (target.index == CPMButton::bodyHit)
            level.wzorekSet(0);
        else
            level.wzorekSet(stepCounter(level.wzorekGet(), target.index, wallPatterns));
        break;
    case Target::ScrewCounter:
        if (target.index == CPMButton::bodyHit)
            level.srubkiSet(screwKnown ? std::min(level.srubkiAutoGet(), maxScrews) : 0);
        else
            level.srubkiSet(stepCounter(level.srubkiGet(), target.index, maxScrews + 1));
        break;
    default:
        return;
    }
    if (!level.isOn() && (level.colorGet(colourRegister) != colourBefore || level.wzorekGet() != wallBefore ||
                          level.srubkiGet() != screwsBefore)) {
        level.create();
        level.repaint();
    }
}
