#include "platform/emulator.h"

#include "core/pathname.h"

const char* const kAtrMimeType = "application/x-atari-atr";
const char* const kOwnDesktopEntry = "zelbun-kreator.desktop";
const char* const kOwnProgramName = "zelbun-kreator";

namespace {

// Emulators worth trying when nothing else is set, each taking the image as
// its only argument.
#ifdef _WIN32
const char* const kKnownEmulators[] = {"Altirra64", "Altirra", "atari800"};
#else
const char* const kKnownEmulators[] = {"atari800"};
#endif

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

// A program named with a directory is taken as it is; a bare name is
// looked for on the search path.
bool namesDirectory(const std::string& program, CommandSyntax syntax)
{
    return program.find_first_of(syntax == CommandSyntax::windows ? "/\\:" : "/") != std::string::npos;
}

// A word in single quotes for a POSIX shell, which takes everything between
// them literally; a quote itself ends the quoting, is escaped and reopens it.
std::string shellQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool isShell(const std::string& program)
{
    static const char* const shells[] = {"sh", "bash", "dash", "ksh", "mksh", "zsh", "ash", "busybox"};
    const std::string name = fileNameOf(program);
    for (const char* shell : shells)
        if (name == shell)
            return true;
    return false;
}

// The index of the command string of `sh [options] -c STRING [args]`, or 0
// when the words are no such call.
size_t shellCommandString(const std::vector<std::string>& words)
{
    if (!isShell(words[0]))
        return 0;
    // Short options only: -c may come bundled (-ec), and is the last of them.
    for (size_t i = 1; i < words.size() && words[i].size() > 1 && (words[i][0] == '-' || words[i][0] == '+') &&
                       words[i][1] != '-';
         ++i)
        if (words[i][0] == '-' && words[i].find('c') != std::string::npos)
            return i + 1 < words.size() ? i + 1 : 0;
    return 0;
}

// Whether the desktop's default for ATR images would start this editor
// again: judged by what its entry runs, or by its id when the entry's text
// cannot be found.
bool defaultIsThisEditor(const std::string& entry, const EmulatorLookup& lookup)
{
    const std::string text = lookup.desktopEntryText ? lookup.desktopEntryText(entry) : std::string();
    const std::string exec = desktopEntryExec(text);
    if (exec.empty())
        return entry == kOwnDesktopEntry;
    return execRunsThisEditor(exec, lookup.ownProgram);
}

TestCommand userCommand(const std::string& line, const std::string& source, const std::string& image,
                        const EmulatorLookup& lookup)
{
    TestCommand command;
    command.source = source;
    std::vector<std::string> words;
    const bool windows = lookup.syntax == CommandSyntax::windows;
    const bool split = windows ? splitWindowsCommandLine(line, words, command.error)
                               : splitCommandLine(line, words, command.error);
    if (!split) {
        command.error = source + ": " + command.error;
        return command;
    }
    bool replaced = false;
    const size_t script = windows ? 0 : shellCommandString(words);
    for (size_t i = 0; i < words.size(); ++i)
        replaceAll(words[i], "%f", i == script && script > 0 ? shellQuoted(image) : image, replaced);
    if (!replaced)
        words.push_back(image);
    if (!namesDirectory(words[0], lookup.syntax)) {
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
    if (!chosen.empty() && !opener.empty() && !defaultIsThisEditor(chosen, lookup)) {
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
    if (lookup.syntax == CommandSyntax::windows)
        command.error += " albo skojarz pliki .atr z emulatorem";
    return command;
}

bool splitWindowsCommandLine(const std::string& line, std::vector<std::string>& words, std::string& error)
{
    words.clear();
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                word.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1)
                    word += '"';
                else
                    quoted = !quoted;
            } else {
                word.append(backslashes, '\\');
                --i;
            }
        } else if (c == '"') {
            // Within quotes, "" is a quote itself.
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                word += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else {
            word += c;
        }
    }
    if (quoted) {
        error = "unfinished \" quote";
        return false;
    }
    if (inWord)
        words.push_back(word);
    if (words.empty()) {
        error = "empty command";
        return false;
    }
    return true;
}

std::string joinWindowsCommandLine(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty())
            line += ' ';
        if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) {
            line += word;
            continue;
        }
        line += '"';
        size_t backslashes = 0;
        for (char c : word) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            // Backslashes before a quote are doubled, and the quote escaped.
            line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        // And so are those before the closing quote.
        line.append(backslashes * 2, '\\');
        line += '"';
    }
    return line;
}

std::string desktopEntryExec(const std::string& entryText)
{
    bool inMainGroup = false;
    size_t start = 0;
    while (start < entryText.size()) {
        size_t end = entryText.find('\n', start);
        if (end == std::string::npos)
            end = entryText.size();
        std::string line = entryText.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const size_t equals = line.find('=');
        if (!inMainGroup || equals == std::string::npos)
            continue;
        size_t keyEnd = equals;
        while (keyEnd > 0 && isBlank(line[keyEnd - 1]))
            --keyEnd;
        if (line.compare(0, keyEnd, "Exec") != 0 || keyEnd != 4)
            continue;
        size_t valueStart = equals + 1;
        while (valueStart < line.size() && isBlank(line[valueStart]))
            ++valueStart;
        return line.substr(valueStart);
    }
    return "";
}

bool execRunsThisEditor(const std::string& exec, const std::string& ownProgram)
{
    std::vector<std::string> words;
    std::string error;
    if (!splitCommandLine(exec, words, error))
        return false;
    size_t program = 0;
    if (fileNameOf(words[0]) == "env")
        for (program = 1; program < words.size(); ++program)
            if (words[program][0] != '-' && words[program].find('=') == std::string::npos)
                break;
    if (program >= words.size())
        return false;
    const std::string name = fileNameOf(words[program]);
    return name == kOwnProgramName || (!ownProgram.empty() && name == fileNameOf(ownProgram));
}
