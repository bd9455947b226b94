// Autosave and recovery without a window: sessions standing for editors,
// each with its own autosave, a fake clock and a voice that records what
// it says and answers questions from a script. An editor "killed" is one
// whose autosave goes without being dropped: its claim ends as a dead
// process's would.
#include "core/fileio.h"
#include "core/game.h"
#include "core/gameimage.h"
#include "core/session.h"
#include "editor/autosave.h"
#include "editor/recovery.h"
#include "tests/portable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> bytesOf(const std::string& path)
{
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(readFile(path, bytes, 1 << 20)) << path;
    return bytes;
}

// One editor window, as far as its autosave sees it.
struct Editor {
    Editor(const std::string& stateDir, const uint64_t& now)
    {
        Voice voice;
        voice.say = [this](const std::string& text) { said.push_back(text); };
        voice.warn = [this](const std::string& text) { said.push_back("! " + text); };
        voice.note = [this](const std::string& text) { said.push_back("log: " + text); };
        voice.ask = [this](const Question& question) {
            asked.push_back(question);
            if (answers.empty())
                return int(question.answers.size()) - 1;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        };
        autosave = std::make_unique<Autosave>(session, stateDir, [&now] { return now; }, voice);
    }
    void open(const std::string& path)
    {
        ASSERT_FALSE(session.open(path).error);
        autosave->follow();
    }
    // `count` undo steps, each a tile in level `slot`.
    void strokes(int slot, int count)
    {
        for (int i = 0; i < count; ++i) {
            session.setCell(slot, {i % kLevelColumns, i / kLevelColumns}, 5);
            session.endStep();
        }
    }
    std::string questionText(size_t i) const { return i < asked.size() ? asked[i].text : "(none)"; }

    Session session{0, embeddedGame(), embeddedGame()};
    std::unique_ptr<Autosave> autosave;
    std::vector<std::string> said;
    std::vector<Question> asked;
    std::deque<int> answers;
};

class AutosaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = portable::makeTempDir("zelbun-autosave");
        stateDir = dir + "/stan/zelbun-kreator";
        set = dir + "/set.atr";
        Session empty(0, embeddedGame(), embeddedGame());
        empty.setCell(0, {0, 0}, 1);
        ASSERT_FALSE(empty.save(set));
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(fs::u8path(dir), ignored);
    }
    std::unique_ptr<Editor> start() { return std::make_unique<Editor>(stateDir, now); }
    std::vector<std::string> autosaves() { return autosaveFilesOf(stateDir, set, ".atr"); }

    std::string dir, stateDir, set;
    uint64_t now = 1000;
};

// "Nie teraz" keeps what it offers: the autosave of the editor that died
// stays as it is while the next one writes its own beside it, and the
// next start offers both, newest first. The one restored is the window's
// own from then on: saving removes it, and the other stays for later.
TEST_F(AutosaveTest, NotNowKeepsTheWorkForTheNextStart)
{
    std::unique_ptr<Editor> first = start();
    first->open(set);
    first->strokes(0, Autosave::steps);
    first->autosave->tick();  // twenty steps: written at once
    const std::string twenty = first->autosave->file();
    ASSERT_FALSE(twenty.empty());
    const std::vector<uint8_t> work = bytesOf(twenty);
    first.reset();  // killed
    ASSERT_TRUE(fs::exists(fs::u8path(twenty)));
    // Some file systems keep times too coarse to tell the two apart.
    fs::last_write_time(fs::u8path(set), fs::last_write_time(fs::u8path(twenty)) - std::chrono::seconds(5));

    std::unique_ptr<Editor> second = start();
    second->open(set);
    second->answers = {2};  // "Nie teraz"
    EXPECT_FALSE(second->autosave->offer(set));
    ASSERT_EQ(second->asked.size(), 1u);
    EXPECT_NE(second->questionText(0).find("set.atr nowszy niz plik"), std::string::npos) << second->questionText(0);
    second->strokes(1, 1);
    second->autosave->tick();
    now += Autosave::interval;
    second->autosave->tick();
    const std::string one = second->autosave->file();
    ASSERT_FALSE(one.empty());
    EXPECT_NE(one, twenty);
    EXPECT_EQ(bytesOf(twenty), work);
    second.reset();  // killed again

    std::unique_ptr<Editor> third = start();
    third->open(set);
    third->answers = {2, 0};  // not the newest, the one before it
    ASSERT_TRUE(third->autosave->offer(set));
    ASSERT_EQ(third->asked.size(), 2u);
    EXPECT_EQ(third->session.level(0).cells[(Autosave::steps - 1) % kLevelColumns][1], 5);
    EXPECT_FALSE(third->session.level(1).on);
    EXPECT_TRUE(third->session.modified());
    EXPECT_EQ(third->session.path(), set);
    EXPECT_EQ(third->said.back(), "Przywrocono autozapis: set.atr");
    EXPECT_EQ(third->autosave->file(), twenty);

    // Worked on, it is written on under its own name.
    third->strokes(2, 1);
    third->autosave->tick();
    now += Autosave::interval;
    third->autosave->tick();
    EXPECT_EQ(bytesOf(twenty).size(), 11428u + 2 * 508u);
    EXPECT_EQ(autosaves().size(), 2u);
    ASSERT_FALSE(third->session.save(set));
    third->autosave->drop();
    EXPECT_EQ(autosaves(), std::vector<std::string>{one});
}

// Two windows on one set write an autosave each. The second is told the
// set is open elsewhere; neither offers the other's live autosave, so
// "Usun autozapis" cannot reach it; once the first dies, its work is
// offered to the one still running at its next start, and only then.
TEST_F(AutosaveTest, EachWindowHasItsOwnAutosave)
{
    std::unique_ptr<Editor> first = start();
    EXPECT_FALSE(first->autosave->openElsewhere(set));
    first->open(set);
    EXPECT_FALSE(first->autosave->openElsewhere(set));
    std::unique_ptr<Editor> second = start();
    EXPECT_TRUE(second->autosave->openElsewhere(set));
    second->open(set);
    EXPECT_TRUE(first->autosave->openElsewhere(set));

    first->strokes(0, Autosave::steps);
    second->strokes(1, Autosave::steps);
    first->autosave->tick();
    second->autosave->tick();
    ASSERT_EQ(autosaves().size(), 2u);
    EXPECT_NE(first->autosave->file(), second->autosave->file());
    const LoadResult a = readGameImage(bytesOf(first->autosave->file()).data(), bytesOf(first->autosave->file()).size());
    EXPECT_TRUE(a.levels[0].on);
    EXPECT_FALSE(a.levels[1].on);

    std::unique_ptr<Editor> third = start();
    third->answers = {1, 1};  // "Usun autozapis", were anything offered
    EXPECT_FALSE(third->autosave->offer(set));
    EXPECT_TRUE(third->asked.empty());
    EXPECT_EQ(autosaves().size(), 2u);

    const std::string left = first->autosave->file();
    first.reset();
    third->answers = {1};
    EXPECT_FALSE(third->autosave->offer(set));
    ASSERT_EQ(third->asked.size(), 1u);
    EXPECT_EQ(autosaves(), std::vector<std::string>{second->autosave->file()});
    EXPECT_FALSE(fs::exists(fs::u8path(left)));
}

// A damaged autosave is read with the checks of any set: what they find is
// in the question and in the news after restoring. One that is no set at
// all can only be thrown away or kept. A set with no name has no file to
// be newer than.
TEST_F(AutosaveTest, WhatTheChecksFindIsShown)
{
    std::unique_ptr<Editor> first = start();
    first->open(set);
    first->strokes(0, Autosave::steps);
    first->strokes(3, Autosave::steps);
    first->autosave->tick();
    const std::string autosave = first->autosave->file();
    first.reset();
    fs::resize_file(fs::u8path(autosave), 12000);

    std::unique_ptr<Editor> second = start();
    second->answers = {0};
    ASSERT_TRUE(second->autosave->offer(set));
    EXPECT_NE(second->questionText(0).find("Jest uszkodzony: plik urwany (12000 bajtow)"), std::string::npos)
        << second->questionText(0);
    ASSERT_FALSE(second->said.empty());
    EXPECT_EQ(second->said.back().rfind("! Przywrocono autozapis: set.atr; plik urwany (12000 bajtow)", 0), 0u)
        << second->said.back();
    // Level 4 (written first) came whole, to the second place of the order.
    EXPECT_TRUE(second->session.level(1).on);
    EXPECT_FALSE(second->session.level(0).on);

    second->autosave->drop();
    second.reset();
    std::unique_ptr<Editor> unnamed = start();
    unnamed->strokes(0, Autosave::steps);
    unnamed->autosave->tick();
    const std::string lost = unnamed->autosave->file();
    ASSERT_FALSE(lost.empty());
    unnamed.reset();
    { std::ofstream(fs::u8path(lost), std::ios::binary | std::ios::trunc) << "zepsuty"; }

    std::unique_ptr<Editor> third = start();
    third->answers = {0};  // the first answer of two: "Usun autozapis"
    EXPECT_FALSE(third->autosave->offer(""));
    ASSERT_EQ(third->asked.size(), 1u);
    const Question& question = third->asked[0];
    EXPECT_EQ(question.answers, (std::vector<std::string>{"Usun autozapis", "Nie teraz"}));
    EXPECT_NE(question.text.find("Jest autozapis nowego zestawu (bez nazwy): praca sprzed awarii"), std::string::npos)
        << question.text;
    EXPECT_EQ(question.text.find("niz plik"), std::string::npos);
    EXPECT_NE(question.text.find("to nie jest obraz dyskietki ATR"), std::string::npos) << question.text;
    EXPECT_FALSE(fs::exists(fs::u8path(lost)));
}

// A state folder that cannot be made is named, once.
TEST_F(AutosaveTest, AFolderThatCannotBeWrittenIsNamed)
{
    std::ofstream(fs::u8path(dir + "/plik")) << "x";
    stateDir = dir + "/plik/zelbun-kreator";
    std::unique_ptr<Editor> editor = start();
    editor->open(set);
    editor->strokes(0, Autosave::steps);
    editor->autosave->tick();
    editor->strokes(1, Autosave::steps);
    editor->autosave->tick();
    ASSERT_EQ(editor->said.size(), 1u);
    EXPECT_EQ(editor->said[0].rfind("! Autozapis wylaczony: nie mozna pisac w " + stateDir + ": ", 0), 0u)
        << editor->said[0];
    EXPECT_TRUE(editor->autosave->file().empty());
}

} // namespace
