// Opening and saving without a window: a session, a voice that records what
// is said and answers questions from a script, and a file dialog that
// returns the names a test gives it.
#include "core/game.h"
#include "core/session.h"
#include "editor/autosave.h"
#include "editor/filecommands.h"
#include "editor/recovery.h"
#include "tests/portable.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct Files : ::testing::Test {
    void SetUp() override
    {
        dir = portable::makeTempDir("zelbun-files");
        recent = RecentFiles(dir + "/recent");
        Voice voice;
        voice.say = [this](const std::string& text) { said.push_back(text); };
        voice.warn = [this](const std::string& text) { said.push_back("! " + text); };
        voice.note = [](const std::string&) {};
        voice.ask = [this](const Question& question) {
            asked.push_back(question.text);
            const int answer = answers.empty() ? int(question.answers.size()) - 1 : answers.front();
            if (!answers.empty())
                answers.pop_front();
            return answer;
        };
        autosave = std::make_unique<Autosave>(session, "", [] { return uint64_t(0); }, voice);
        files = std::make_unique<FileCommands>(
            session, recent, *autosave, voice,
            [this](const DialogRequest& request, std::string& path) {
                requests.push_back(request);
                if (names.empty())
                    return false;
                path = names.front();
                names.pop_front();
                return true;
            },
            [this] { ++openedCount; });
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(fs::u8path(dir), ignored);
    }

    std::string dir;
    Session session{0, embeddedGame(), embeddedGame()};
    RecentFiles recent;
    std::unique_ptr<Autosave> autosave;
    std::unique_ptr<FileCommands> files;
    std::vector<std::string> said, asked;
    std::deque<int> answers;
    std::deque<std::string> names;
    std::vector<DialogRequest> requests;
    int openedCount = 0;
};

// A set saved under a mistyped extension, then left for a recent file:
// each question comes where work or a file is at stake, its answers are
// honoured, and a cancel anywhere changes nothing.
TEST_F(Files, SaveAndOpenAskWhereWorkIsAtStake)
{
    session.setCell(0, {1, 1}, 5);
    session.endStep();
    const std::string typed = dir + "/zestaw.txt";
    names = {typed};
    answers = {0};  // ".atr" added
    ASSERT_TRUE(files->save());  // no file yet: "Zapisz jako"
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].save);
    EXPECT_EQ(requests[0].extension, ".atr");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("zestaw.txt"), std::string::npos) << asked[0];
    EXPECT_EQ(session.path(), typed + ".atr");
    EXPECT_FALSE(session.modified());
    ASSERT_FALSE(recent.paths().empty());
    EXPECT_EQ(fs::path(recent.paths()[0]).filename(), "zestaw.txt.atr");

    // Unsaved work, then the recent file: "Anuluj" keeps the work.
    session.setCell(0, {2, 2}, 5);
    session.endStep();
    answers = {2};
    files->openRecent(0);
    EXPECT_TRUE(session.modified());
    EXPECT_EQ(openedCount, 0);
    // "Nie zapisuj" throws it away and opens the file as it was saved.
    answers = {1};
    files->openRecent(0);
    EXPECT_FALSE(session.modified());
    EXPECT_EQ(openedCount, 1);
    EXPECT_EQ(session.level(0).at({1, 1}), 5);
    EXPECT_NE(session.level(0).at({2, 2}), 5);
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.back().rfind("! ", 0), std::string::npos) << said.back();

    // A recent file that is no more: said, and the document stays.
    fs::remove(fs::u8path(typed + ".atr"));
    const std::string opened = session.path();
    files->openRecent(0);
    EXPECT_EQ(said.back().rfind("! ", 0), 0u) << said.back();
    EXPECT_EQ(session.path(), opened);
    EXPECT_EQ(openedCount, 1);
}

} // namespace
