// The game built into the program: the template of data/game.atr (or the
// engine's fresh build), embedded at build time. A library of its own
// beside the core, because the engine's build needs the data generator,
// which links the core: programs that start sessions link it.
#pragma once

#include "core/document.h"
#include "core/gametemplate.h"

#include <string>
#include <vector>

extern const unsigned char game[];
extern const unsigned gameSize;

// The built-in template, and the same shared between documents.
const std::vector<uint8_t>& embeddedTemplate();
GamePart embeddedGame();

// The session's template: the command line's --template, else
// ZELBUN_TEMPLATE, else game.atr in the data directories, else the built-in
// game.
ChosenTemplate chooseSessionTemplate(const std::string& optionPath, const std::vector<std::string>& dataDirs);
