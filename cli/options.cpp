#include "cli/options.h"

#include "core/fileio.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

#ifndef ZELBUN_VERSION
#define ZELBUN_VERSION "0"
#endif

const char* programVersion()
{
    return ZELBUN_VERSION;
}

namespace {

const char* const kCommands[] = {"info", "check", "export", "test", "help"};

// The most --max-states takes: far more than memory holds anyway.
constexpr uint64_t kMostStates = 100000000;

// A whole number in decimal digits, from 1 to kMostStates.
bool parseStates(const std::string& text, uint64_t& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoull(text);
    return value >= 1 && value <= kMostStates;
}

// Decimal digits with at most one point among them, above zero; read
// whatever the locale's point.
bool parseSeconds(const std::string& text, double& value)
{
    value = 0;
    double scale = 1;
    bool point = false, digits = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (point)
                value += (c - '0') * (scale /= 10);
            else
                value = value * 10 + (c - '0');
        } else {
            return false;
        }
    }
    return digits && value > 0 && value < 1e9;
}

const char usage[] =
    "Usage: zelbun-kreator [--template FILE] [--emulator CMD] [--scale N] [FILE]\n"
    "       zelbun-kreator info FILE [--json]\n"
    "       zelbun-kreator check FILE [--solve [--max-states N] [--max-seconds S]] [--json]\n"
    "       zelbun-kreator export FILE (--level N | --all) -o FILE.png [--force]\n"
    "       zelbun-kreator test FILE --level N [-o FILE.atr] [--force]\n"
    "       zelbun-kreator help [COMMAND]\n";

const char footer[] =
    "A FILE of - is standard input; -o - writes to standard output.\n"
    "Levels are counted 1 to 32, as the editor's slot buttons show them.\n"
    "\n"
    "Environment:\n"
    "  ZELBUN_EMULATOR  command that runs test images when --emulator is not given\n"
    "  ZELBUN_TEMPLATE  game image template when --template is not given\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  a file could not be read or written, check found a mistake, or no display\n"
    "  2  a usage error\n"
    "\n"
    "Examples:\n"
    "  zelbun-kreator levels.atr\n"
    "  zelbun-kreator check levels.atr\n"
    "  zelbun-kreator check --solve levels.atr\n"
    "  zelbun-kreator export levels.atr --all -o levels.png\n"
    "  zelbun-kreator info --json - < levels.atr\n";

// The main help starts with every form of the command line; a command's
// help with its own.
class Formatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* app, std::string name) const override
    {
        return app->get_parent() == nullptr ? usage : CLI::Formatter::make_usage(app, std::move(name));
    }
};

// Edits that turn `a` into `b`: insertions, deletions, substitutions and
// swaps of neighbours, each letter edited once at most.
size_t editDistance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t substitution = d[i - 1][j - 1] + (a[i - 1] != b[j - 1]);
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, substitution});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

CommandLine exitWith(int status)
{
    CommandLine line;
    line.command = CommandLine::Command::Exit;
    line.exitStatus = status;
    return line;
}

} // namespace

std::string nearestCommand(const std::string& word)
{
    std::string nearest;
    size_t best = 3;
    for (const char* command : kCommands) {
        const size_t distance = editDistance(word, command);
        if (distance < best && 2 * distance < std::string(command).size()) {
            best = distance;
            nearest = command;
        }
    }
    return nearest;
}

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    CLI::App app("Zelbun Kreator: level editor for the Atari game Zelbun.\n"
                 "Without a command it opens the editor window, with FILE loaded.",
                 "zelbun-kreator");
    app.formatter(std::make_shared<Formatter>());
    // CLI11 takes "/name" for an option on Windows by default, which would
    // swallow paths written with forward slashes; the options are the same
    // "--" ones everywhere. Subcommands added below inherit this.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string("zelbun-kreator ") + programVersion());
    app.require_subcommand(0, 1);
    // The options below count after a command too: "check FILE --template T".
    app.fallthrough();
    // Only the first file is opened; further ones are ignored, as they
    // always were.
    std::vector<std::string> files;
    app.add_option("FILE", files, "Game image (.atr) to open in the window")->type_name("");
    app.add_option("--template", line.templatePath, "Game image template to build saved sets and test images on")
        ->type_name("FILE");

    app.add_option("--emulator", line.emulator,
                   "Command that runs test images; the image path replaces %f or is appended")
        ->type_name("CMD");
    app.add_option("--scale", line.scale, "Window zoom, 1 to 3 (default: by the screen's size)")
        ->check(CLI::Range(1, 3))
        ->type_name("N");

    // An empty name names no file: said as such, not as a file not found.
    const CLI::Validator named([](std::string& name) { return name.empty() ? "the file name is empty" : ""; }, "");
    CLI::App* info = app.add_subcommand("info", "Print a level set: order, levels, counters, colours, text pages");
    info->add_option("FILE", line.file, "Game image, - for standard input")->required()->check(named)->type_name("");
    info->add_flag("--json", line.json, "JSON for scripts (its keys: the manual page)");

    CLI::App* check = app.add_subcommand("check", "Look for mistakes in a level set; exit status 1 when any");
    check->add_option("FILE", line.file, "Game image, - for standard input")->required()->check(named)->type_name("");
    check->add_flag("--solve", line.solve, "Also play each level through with the game's own rules");
    // Decimal numbers only (CLI11 would take 0x10 for 16), limits above
    // zero and finite, the complaint short.
    std::string maxStates = std::to_string(line.maxStates), maxSeconds;
    check->add_option("--max-states", maxStates, "States the solver looks at per level before it gives up")
        ->capture_default_str()
        ->check(CLI::Validator(
            [](std::string& text) {
                uint64_t value;
                return parseStates(text, value) ? std::string()
                                                : "a whole number from 1 to " + std::to_string(kMostStates) +
                                                      " expected, not '" + text + "'";
            },
            ""))
        ->type_name("N");
    check->add_option("--max-seconds", maxSeconds, "Seconds the solver may spend per level as well (no limit by default)")
        ->check(CLI::Validator(
            [](std::string& text) {
                double value;
                return parseSeconds(text, value) ? std::string()
                                                 : "a number of seconds above 0 expected, not '" + text + "'";
            },
            ""))
        ->type_name("S");
    check->add_flag("--json", line.json, "JSON for scripts: the findings and each level's verdict");

    CLI::App* exportCommand = app.add_subcommand("export", "Draw levels into a PNG image as the editor shows them");
    exportCommand->add_option("FILE", line.file, "Game image, - for standard input")->required()->check(named)->type_name("");
    CLI::Option* exportLevel =
        exportCommand->add_option("--level", line.level, "Level to draw, 1 to 32")
            ->check(CLI::Range(1, 32).description(""))
            ->type_name("N");
    CLI::Option* exportAll = exportCommand->add_flag("--all", line.all, "Every level, eight side by side");
    exportLevel->excludes(exportAll);
    exportCommand->add_option("-o,--output", line.output, "PNG file to write, - for standard output")
        ->required()
        ->check(named)
        ->type_name("FILE");
    exportCommand->add_flag("--force", line.force, "Replace the output file even when it is read-only");

    CLI::App* test = app.add_subcommand("test", "Write the test image of one level, as the editor's \"Testuj mape\"");
    test->add_option("FILE", line.file, "Game image, - for standard input")->required()->check(named)->type_name("");
    test->add_option("--level", line.level, "Level to test, 1 to 32")
        ->required()
        ->check(CLI::Range(1, 32).description(""))
        ->type_name("N");
    line.output = "test.atr";
    test->add_option("-o,--output", line.output, "Test image to write, - for standard output")
        ->capture_default_str()
        ->check(named)
        ->type_name("FILE");
    test->add_flag("--force", line.force, "Replace the output file even when it is read-only");

    test->footer("The game part comes from --template FILE (which may follow the command), else\n"
                 "ZELBUN_TEMPLATE, else game.atr beside the data files, else the built-in game.");
    check->footer("One line per mistake, each saying what it is and where: the file's own\n"
                  "problems, the order table and level segments as the game reads them, the\n"
                  "text pages, then each level's robot, screws and tile codes.\n"
                  "With --solve, a line per level, with the states and the time it took:\n"
                  "\"solvable in N moves (...): R R D fire-L ...\" (the shortest solution, or one\n"
                  "\"not proven shortest\" when the proof is out of reach), \"unsolvable\" (exit\n"
                  "status 1) or \"unknown: gave up after 2,000,000 states\". Two levels are\n"
                  "searched at a time.");

    std::string helpTopic;
    CLI::App* help = app.add_subcommand("help", "Print this help, or a command's");
    help->add_option("COMMAND", helpTopic, "The command to describe")
        ->check(CLI::IsMember({"info", "check", "export", "test"}).description(""))
        ->type_name("");

    app.footer(footer);

    try {
        app.parse(argc, argv);
        parseStates(maxStates, line.maxStates);
        if (!maxSeconds.empty())
            parseSeconds(maxSeconds, line.maxSeconds);
        if (exportCommand->parsed() && !line.all && line.level == 0)
            throw CLI::ValidationError("export", "needs --level N or --all");
        if (app.get_subcommands().size() == 1 && !files.empty())
            throw CLI::ExtrasError({files.front()});
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return exitWith(0);
    } catch (const CLI::CallForVersion&) {
        out << app.version() << '\n';
        return exitWith(0);
    } catch (const CLI::ParseError& error) {
        err << "zelbun-kreator: " << error.what() << '\n' << usage << "Try 'zelbun-kreator --help'.\n";
        return exitWith(2);
    }

    if (help->parsed()) {
        // app.help() would describe the help command itself.
        out << (helpTopic.empty() ? app.get_formatter()->make_help(&app, "zelbun-kreator", CLI::AppFormatMode::Normal)
                                  : app.get_subcommand(helpTopic)->help("zelbun-kreator"));
        return exitWith(0);
    }
    if (info->parsed())
        line.command = CommandLine::Command::Info;
    else if (check->parsed())
        line.command = CommandLine::Command::Check;
    else if (exportCommand->parsed())
        line.command = CommandLine::Command::Export;
    else if (test->parsed())
        line.command = CommandLine::Command::Test;
    else if (!files.empty()) {
        line.file = files.front();
        const std::string nearest = nearestCommand(line.file);
        if (!nearest.empty() && !identityOf(line.file).exists) {
            err << "zelbun-kreator: '" << line.file << "' is neither a file nor a command; did you mean '"
                << nearest << "'?\nTry 'zelbun-kreator --help'.\n";
            return exitWith(2);
        }
    }
    return line;
}
