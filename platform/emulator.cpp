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

Error unfinishedQuote(char quote)
{
    Error error = Error::of(Fault::unfinishedQuote, "");
    error.code = quote;
    return error;
}

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

bool isShell(const std::string& program)
{
    static const char* const shells[] = {"sh", "bash", "dash", "ksh", "mksh", "zsh", "ash", "busybox"};
    const std::string name = fileNameOf(program);
    for (const char* shell : shells)
        if (name == shell)
            return true;
    return false;
}

// Where a shell's command string stands among the words: the first word
// naming a shell (after `nice`, `env X=1` or any other wrapper) whose short
// options include -c (alone or bundled, -ec), and the string after them.
struct ShellCall {
    size_t shell = 0, script = 0;  // script 0: no such call
};

ShellCall shellCall(const std::vector<std::string>& words)
{
    for (size_t shell = 0; shell < words.size(); ++shell) {
        if (!isShell(words[shell]))
            continue;
        for (size_t i = shell + 1; i < words.size() && words[i].size() > 1 &&
                                   (words[i][0] == '-' || words[i][0] == '+') && words[i][1] != '-';
             ++i)
            if (words[i][0] == '-' && words[i].find('c') != std::string::npos && i + 1 < words.size())
                return {shell, i + 1};
    }
    return {};
}

// A shell's command string with each %f a reference to positional
// parameter `n`, never the path itself: no byte of the path is ever read as
// shell code. The reference is quoted for where it stands: "${n}" where the
// shell splits words (also within $(...) and `...`), ${n} within double
// quotes, and within single quotes '"${n}"', which closes and reopens them.
std::string withParameter(const std::string& script, size_t n, bool& replaced)
{
    enum Context { words, doubleQuoted, singleQuoted, backquoted };
    std::vector<Context> open{words};
    const std::string reference = "${" + std::to_string(n) + "}";
    std::string out;
    for (size_t i = 0; i < script.size(); ++i) {
        const Context at = open.back();
        if (script.compare(i, 2, "%f") == 0) {
            replaced = true;
            ++i;
            out += at == singleQuoted ? "'\"" + reference + "\"'" : at == doubleQuoted ? reference : "\"" + reference + "\"";
            continue;
        }
        const char c = script[i];
        out += c;
        const bool commandSubstitution = c == '$' && i + 1 < script.size() && script[i + 1] == '(';
        switch (at) {
        case singleQuoted:
            if (c == '\'')
                open.pop_back();
            break;
        case doubleQuoted:
            if (c == '\\' && i + 1 < script.size())
                out += script[++i];
            else if (c == '"')
                open.pop_back();
            else if (c == '`')
                open.push_back(backquoted);
            else if (commandSubstitution)
                open.push_back(words);
            break;
        case words:
        case backquoted:
            if (c == '\\' && i + 1 < script.size())
                out += script[++i];
            else if (c == '\'')
                open.push_back(singleQuoted);
            else if (c == '"')
                open.push_back(doubleQuoted);
            else if (c == '`' && at == backquoted)
                open.pop_back();
            else if (c == '`')
                open.push_back(backquoted);
            else if (c == '(' && !commandSubstitution)
                open.push_back(words);  // a subshell, or the "(" of "$(" itself
            else if (c == ')' && open.size() > 1)
                open.pop_back();
            break;
        }
    }
    return out;
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
    command.error = windows ? splitWindowsCommandLine(line, words) : splitCommandLine(line, words);
    if (command.error) {
        command.error.setting = source;
        return command;
    }
    // The path goes into words of their own making, never into text a
    // shell reads: a shell's command string refers to it as a parameter.
    bool replaced = false;
    const ShellCall call = windows ? ShellCall() : shellCall(words);
    if (call.script > 0) {
        const size_t parameters = words.size() - call.script - 1;  // $0 and on
        std::string script = withParameter(words[call.script], parameters == 0 ? 1 : parameters, replaced);
        if (replaced) {
            words[call.script] = script;
            if (parameters == 0)
                words.push_back(fileNameOf(words[call.shell]));
            words.push_back("%f");
        }
    }
    for (size_t i = 0; i < words.size(); ++i)
        if (i != call.script || call.script == 0)
            replaceAll(words[i], "%f", image, replaced);
    if (!replaced)
        words.push_back(image);
    if (!namesDirectory(words[0], lookup.syntax)) {
        std::string path = lookup.findProgram(words[0]);
        if (path.empty()) {
            command.error = Error::of(Fault::programNotFound, words[0]);
            command.error.setting = source;
            return command;
        }
        words[0] = path;
    }
    command.argv = words;
    return command;
}

} // namespace

Error splitCommandLine(const std::string& line, std::vector<std::string>& words)
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
            if (end == std::string::npos)
                return unfinishedQuote('\'');
            word += line.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() && std::string("\"\\$`").find(line[i + 1]) != std::string::npos)
                    ++i;
                word += line[i];
            }
            if (i >= line.size())
                return unfinishedQuote('"');
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(word);
    if (words.empty())
        return Error::of(Fault::emptyCommand, "");
    return Error();
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
    command.error = Error::of(Fault::noEmulator, "");
    // Windows opens .atr files with the program they are associated with.
    command.error.code = lookup.syntax == CommandSyntax::windows;
    return command;
}

Error splitWindowsCommandLine(const std::string& line, std::vector<std::string>& words)
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
    if (quoted)
        return unfinishedQuote('"');
    if (inWord)
        words.push_back(word);
    if (words.empty())
        return Error::of(Fault::emptyCommand, "");
    return Error();
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
    if (splitCommandLine(exec, words))
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
