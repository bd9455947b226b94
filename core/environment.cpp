#include "core/environment.h"

#include <cstdlib>

#ifdef _WIN32
#include "core/winpath.h"

std::optional<std::string> environmentVariable(const char* name)
{
    const wchar_t* value = _wgetenv(toUtf16(name).c_str());
    if (!value)
        return std::nullopt;
    return toUtf8(value);
}

#else

std::optional<std::string> environmentVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value)
        return std::nullopt;
    return std::string(value);
}

#endif
