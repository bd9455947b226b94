// The environment's values in UTF-8, as every other string of the program.
// On Windows they come from the wide environment: the narrow one spells
// only what the ANSI code page can, so a folder "C:\Users\Łukasz" would
// arrive as "C:\Users\Lukasz", a folder that does not exist.
#pragma once

#include <optional>
#include <string>

// nullopt when `name` is not set; an empty value is a value.
std::optional<std::string> environmentVariable(const char* name);
