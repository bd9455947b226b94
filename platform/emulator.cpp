#include "platform/emulator.h"

const char* const kAtrMimeType = "application/x-atari-atr";
const char* const kOwnDesktopEntry = "zelbun-kreator.desktop";

namespace {

// Emulators worth trying when nothing else is set, each taking the image as
// its only argument.
const char* const kKnownEmulators[] = {"atari800"};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

void replaceAll(std::string& word, const std::string& from, const std::string& to, bool& replaced)
{
    for (size_t at = word.find(from); at != std::string::npos; at = word.find(from, at + to.size())) {
        word.replace(at, from.size(), to);
        replaced = true;
    }
}

TestCommand userCommand(const std::string& line, const std::string& source, const std::string& image,
                        const EmulatorLookup& lookup)
{
    TestCommand command;
    command.source = source;
    std::vector<std::string> words;
    if (!splitCommandLine(line, words, command.error)) {
        command.error = source + ": " + command.error;
        return command;
    }
    bool replaced = false;
    for (std::string& word : words)
        replaceAll(word, "%f", image, replaced);
    if (!replaced)
        words.push_back(image);
    if (words[0].find('/') == std::string::npos) {
        std::string path = lookup.findProgram(words[0]);
        if (path.empty()) {
            command.error = source + ": " + words[0] + " not found";
            return command;
        }
        words[0] = path;
    }
    command.argv = words;
    return command;
}

} // namespace

bool splitCommandLine(const std::string& line, std::vector<std::string>& words, std::string& error)
{
    words.clear();
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (isBlank(c)) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else if (c == '\'') {
            const size_t end = line.find('\'', i + 1);
            if (end == std::string::npos) {
                error = "unfinished ' quote";
                return false;
            }
            word += line.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() && std::string("\"\\$`").find(line[i + 1]) != std::string::npos)
                    ++i;
                word += line[i];
            }
            if (i >= line.size()) {
                error = "unfinished \" quote";
                return false;
            }
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(word);
    if (words.empty()) {
        error = "empty command";
        return false;
    }
    return true;
}

TestCommand chooseTestCommand(const std::string& option, const std::string& environment, const std::string& image,
                              const EmulatorLookup& lookup)
{
    if (!option.empty())
        return userCommand(option, "--emulator", image, lookup);
    if (!environment.empty())
        return userCommand(environment, "ZELBUN_EMULATOR", image, lookup);

    TestCommand command;
    const std::string chosen = lookup.desktopDefault ? lookup.desktopDefault() : std::string();
    const std::string opener = lookup.opener.empty() ? std::string() : lookup.findProgram(lookup.opener);
    if (!chosen.empty() && chosen != kOwnDesktopEntry && !opener.empty()) {
        command.argv = {opener, image};
        command.source = chosen;
        return command;
    }
    for (const char* name : kKnownEmulators) {
        std::string path = lookup.findProgram(name);
        if (!path.empty()) {
            command.argv = {path, image};
            command.source = name;
            return command;
        }
    }
    command.error = "nie znaleziono zadnego, ustaw --emulator lub ZELBUN_EMULATOR";
    return command;
}
