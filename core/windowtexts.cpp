#include "core/windowtexts.h"

#include "core/messages.h"

#include <cctype>

namespace {

struct Words {
    const char* name;
    const char* polish;
    const char* english;
};

const Words words[] = {
#define ZELBUN_TEXT_WORDS(name, polish, english) {#name, polish, english},
    ZELBUN_WINDOW_TEXTS(ZELBUN_TEXT_WORDS)
#undef ZELBUN_TEXT_WORDS
};
static_assert(sizeof words / sizeof words[0] == size_t(windowTextCount), "one entry per text");

bool isVowel(char c)
{
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'a': case 'e': case 'i': case 'o': case 'u':
        return true;
    default:
        return false;
    }
}

} // namespace

const char* windowText(WindowText text, Language language)
{
    const Words& entry = words[size_t(text)];
    return language == Language::english ? entry.english : entry.polish;
}

std::string windowText(WindowText text, Language language, std::initializer_list<std::string> values)
{
    const std::string pattern = windowText(text, language);
    std::string result;
    auto value = values.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "{}") == 0 && value != values.end()) {
            result += *value++;
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

const char* windowTextName(WindowText text)
{
    return words[size_t(text)].name;
}

std::string fitLabel(const std::string& label, size_t chars)
{
    std::string fitted = label;
    for (size_t i = fitted.size(); fitted.size() > chars && i-- > 1;)
        if (isVowel(fitted[i]) && std::isalpha(static_cast<unsigned char>(fitted[i - 1])))
            fitted.erase(i, 1);
    if (fitted.size() > chars)
        fitted = chars == 0 ? "" : fitted.substr(0, chars - 1) + ".";
    return fitted;
}

std::optional<Language> languageNamed(const std::string& code)
{
    std::string lower;
    for (char c : code)
        lower += char(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "pl")
        return Language::polish;
    if (lower == "en")
        return Language::english;
    return std::nullopt;
}

const char* languageCode(Language language)
{
    return language == Language::english ? "en" : "pl";
}

std::optional<Language> askedLanguage(const std::string& option, const std::optional<std::string>& environment)
{
    if (std::optional<Language> asked = languageNamed(option))
        return asked;
    return environment ? languageNamed(*environment) : std::nullopt;
}
