// One tile setup for the window and the commands: the same tiles.cfg,
// tiles.bmp and paleta.bmp give the same findings in the window and in
// `check`, and what the window refuses to start with `export` refuses too.
#include "editor_fixture.h"

#include "cli/commands.h"

#include <sstream>

using namespace fixture;

namespace {

struct Ran {
    int status = -1;
    std::string out, err;
};

class TileSetupTest : public EditorTest {
protected:
    Ran command(CommandLine::Command which, const std::string& file)
    {
        CommandLine line;
        line.command = which;
        line.file = file;
        line.dataDirs = {dir.path};
        line.level = 1;
        line.output = dir.file("level.png");
        std::istringstream in;
        std::ostringstream out, err;
        Ran ran;
        ran.status = runCommand(line, {in, out, err});
        ran.out = out.str();
        ran.err = err.str();
        return ran;
    }
};

TEST_F(TileSetupTest, TheWindowAndTheCommandsJudgeTheTilesAlike)
{
    build();
    editor->levels[0].add(2, 3, 5);
    const std::string set = dir.file("set.atr");
    ASSERT_FALSE(editor->session.save(set));

    // A screw code no palette entry draws, and a line that is no record.
    dir.write("tiles.cfg", "murek:9\ngumka:0\nsruba:200\n0,0:0,0\n1,0:5,1\n0,4:9,20\nnot a record\n");
    const std::string config = dir.file("tiles.cfg");
    const std::string findings = config + ":7: unreadable record; it and the rest of the file are ignored\n" +
                                 config + ": sruba code 200: no palette entry draws it\n";
    buildOnFiles();
    ASSERT_TRUE(editor->ok()) << editor->loadError();
    EXPECT_EQ(editor->statusMessage, "tiles.cfg: 1 wiersz pominiety, sruba 200 nie ma pola w palecie");
    Ran check = command(CommandLine::Command::Check, set);
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.out.substr(0, findings.size()), findings) << check.out;
    // The window starts with it, and export draws, saying the same.
    Ran exported = command(CommandLine::Command::Export, set);
    EXPECT_EQ(exported.status, 0) << exported.err;
    std::string warnings;
    for (std::istringstream lines(findings); std::getline(lines, warnings);)
        EXPECT_NE(exported.err.find("zelbun-kreator: warning: " + warnings + "\n"), std::string::npos)
            << exported.err;

    // A sheet of one picture, where the wall's patterns need 28: the window
    // does not start, check says why, and export draws nothing.
    dir.write("tiles.cfg", defaultConfig);
    writeTiles(dir, 1);
    std::filesystem::remove(dir.file("level.png"));
    const std::string narrow = "tiles.bmp: 16 pixels wide; tiles.cfg uses sheet columns up to 27, which need 448";
    buildOnFiles();
    EXPECT_FALSE(editor->ok());
    EXPECT_NE(editor->loadError().find(narrow), std::string::npos) << editor->loadError();
    check = command(CommandLine::Command::Check, set);
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find(dir.path + "/" + narrow + "\n"), std::string::npos) << check.out;
    exported = command(CommandLine::Command::Export, set);
    EXPECT_EQ(exported.status, 1);
    EXPECT_EQ(exported.err, "zelbun-kreator: " + dir.path + "/" + narrow + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("level.png")));
}

} // namespace
