#include "cli/options.h"

#include <CLI/CLI.hpp>

#include <ostream>

#ifndef ZELBUN_VERSION
#define ZELBUN_VERSION "0"
#endif

const char* programVersion()
{
    return ZELBUN_VERSION;
}

namespace {

const char usage[] =
    "Usage: zelbun-kreator [--template FILE] [--emulator CMD] [--scale N] [FILE]\n"
    "       zelbun-kreator info FILE [--json]\n"
    "       zelbun-kreator check FILE\n"
    "       zelbun-kreator export FILE (--level N | --all) -o FILE.png\n"
    "       zelbun-kreator test FILE --level N [-o FILE.atr]\n";

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    CLI::App app("Zelbun Kreator: level editor for the Atari game Zelbun.\n"
                 "Without a command it opens the editor window, with FILE loaded.",
                 "zelbun-kreator");
    app.set_version_flag("--version", std::string("zelbun-kreator ") + programVersion());
    app.require_subcommand(0, 1);
    // Only the first file is opened; further ones are ignored, as they
    // always were.
    std::vector<std::string> files;
    app.add_option("FILE", files, "Game image (.atr) to open");
    app.add_option("--template", line.templatePath, "Game image template to build saved sets on");
    app.add_option("--emulator", line.emulator,
                   "Command that runs test images; the image path replaces %f or is appended");
    app.add_option("--scale", line.scale, "Window zoom, 1 to 3 (default: by the screen's size)")
        ->check(CLI::Range(1, 3));

    CLI::App* info = app.add_subcommand("info", "Print a level set: levels, order, counters, colours, text pages");
    info->add_option("FILE", line.file, "Game image")->required();
    info->add_flag("--json", line.json, "Machine-readable output");

    CLI::App* check = app.add_subcommand("check", "Look for mistakes in a level set; exit status 1 when any");
    check->add_option("FILE", line.file, "Game image")->required();

    CLI::App* exportCommand = app.add_subcommand("export", "Draw levels into a PNG image");
    exportCommand->add_option("FILE", line.file, "Game image")->required();
    CLI::Option* exportLevel =
        exportCommand->add_option("--level", line.level, "Level to draw, 1 to 32")->check(CLI::Range(1, 32));
    CLI::Option* exportAll = exportCommand->add_flag("--all", line.all, "Every level, side by side");
    exportLevel->excludes(exportAll);
    exportCommand->add_option("-o,--output", line.output, "PNG file to write")->required();

    CLI::App* test = app.add_subcommand("test", "Write the test image of one level, as the editor's \"Testuj mape\"");
    test->add_option("FILE", line.file, "Game image")->required();
    test->add_option("--level", line.level, "Level to test, 1 to 32")->required()->check(CLI::Range(1, 32));
    line.output = "test.atr";
    test->add_option("-o,--output", line.output, "Test image to write")->capture_default_str();
    test->add_option("--template", line.templatePath, "Game image template to build on");

    try {
        app.parse(argc, argv);
        if (exportCommand->parsed() && !line.all && line.level == 0)
            throw CLI::ValidationError("export", "needs --level N or --all");
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        line.command = CommandLine::Command::Exit;
        return line;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << '\n';
        line.command = CommandLine::Command::Exit;
        return line;
    } catch (const CLI::ParseError& error) {
        err << "zelbun-kreator: " << error.what() << '\n' << usage << "Try 'zelbun-kreator --help'.\n";
        line.command = CommandLine::Command::Exit;
        line.exitStatus = 2;
        return line;
    }

    if (!files.empty())
        line.file = files.front();
    if (info->parsed())
        line.command = CommandLine::Command::Info;
    else if (check->parsed())
        line.command = CommandLine::Command::Check;
    else if (exportCommand->parsed())
        line.command = CommandLine::Command::Export;
    else if (test->parsed())
        line.command = CommandLine::Command::Test;
    return line;
}
