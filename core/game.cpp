#include "core/game.h"

#include "core/datafiles.h"
#include "core/environment.h"

#include <memory>

const std::vector<uint8_t>& embeddedTemplate()
{
    static const std::vector<uint8_t> bytes(game, game + gameSize);
    return bytes;
}

GamePart embeddedGame()
{
    static const GamePart shared = std::make_shared<const std::vector<uint8_t>>(embeddedTemplate());
    return shared;
}

ChosenTemplate chooseSessionTemplate(const std::string& optionPath, const std::vector<std::string>& dataDirs)
{
    TemplateSources sources;
    sources.optionPath = optionPath;
    if (const auto environment = environmentVariable("ZELBUN_TEMPLATE"))
        sources.environmentPath = *environment;
    sources.dataDirPath = findDataFile("game.atr", dataDirs);
    return chooseTemplate(sources, embeddedTemplate());
}
