// Never losing work: undo and redo, the modified mark, the question before
// work is thrown away, refusing files that are not game images, save names,
// keyboard shortcuts and what the top bar says.
#include "editor_fixture.h"

#include "core/game.h"
#include "core/gameimage.h"

#include "core/fileio.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace fixture;
namespace fs = std::filesystem;

namespace {

layout::Point at(const layout::Rect& r) { return r.centre(); }
layout::Point cell(int column, int row) { return layout::canvasCellRect(column, row).centre(); }

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const int saveAnswer = 0, dontSaveAnswer = 1, cancelAnswer = 2;

class CommandsTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        build();
        click(at(layout::paletteEntry(1)));  // code 5
    }
    using EditorTest::click;
    void click(layout::Point p) { EditorTest::click(p.x, p.y); }
    void key(SDLKey sym, Uint16 unicode, int mod = KMOD_NONE) { editor->keyDown(keysym(sym, unicode, mod)); }
    // A stroke of the left button across the canvas, from one cell to another.
    void stroke(layout::Point from, layout::Point to)
    {
        press(from.x, from.y, 1);
        editor->mouse(to.x, to.y, 1);
        release(to.x, to.y);
    }
    bool same(const Document& a, const Document& b) { return a.sameContent(b) && a.path == b.path; }
    std::string save(const std::string& name)
    {
        platform.answerDialog(dir.file(name));
        click(at(layout::saveAsButton));
        return dir.file(name);
    }
};

// Each kind of step comes back exactly with undo and goes again with redo;
// Cofnij and Ponow grey out at the ends of the history.
TEST_F(CommandsTest, UndoAndRedoRestoreTheDocumentExactly)
{
    ASSERT_FALSE(editor->session.save(dir.file("set.atr")));
    editor->paint();
    EXPECT_FALSE(editor->undoButton->isActive);
    EXPECT_FALSE(editor->redoButton->isActive);

    std::vector<Document> states = {editor->session.document()};
    stroke(cell(1, 1), cell(2, 1));  // one stroke, two cells
    states.push_back(editor->session.document());
    click(at(layout::counterPlus(layout::screwCounter)));
    states.push_back(editor->session.document());
    click(at(layout::swapButton));
    click(at(layout::levelSlot(4)));  // slot 0 and 4 exchange
    states.push_back(editor->session.document());
    click(at(layout::textPage));
    for (char c : std::string("Abc"))
        editor->keyDown(keysym(SDLKey(c), Uint16(c)));
    key(SDLK_ESCAPE, 27);
    states.push_back(editor->session.document());
    platform.answerQuestion(dontSaveAnswer);
    click(at(layout::newButton));
    states.push_back(editor->session.document());
    ASSERT_EQ(states.size(), 6u);
    EXPECT_TRUE(states[1].levels[0].cells[2][1] == 5 && states[4].levels[4].on && states[4].pages[0][4][18] == 'c');
    EXPECT_EQ(states[5].path, "");

    for (int i = 4; i >= 0; --i) {
        editor->undo();
        EXPECT_TRUE(same(editor->session.document(), states[i])) << "undo to state " << i;
    }
    editor->paint();
    EXPECT_FALSE(editor->undoButton->isActive);
    EXPECT_TRUE(editor->redoButton->isActive);
    EXPECT_TRUE(editor->levels[0].sheet() != nullptr);
    for (int i = 1; i <= 5; ++i) {
        click(at(layout::redoButton));
        EXPECT_TRUE(same(editor->session.document(), states[i])) << "redo to state " << i;
    }
    // Shortcuts do the same without the text page's focus.
    key(SDLK_z, 26, KMOD_LCTRL);
    EXPECT_TRUE(same(editor->session.document(), states[4]));
    key(SDLK_y, 25, KMOD_LCTRL);
    EXPECT_TRUE(same(editor->session.document(), states[5]));
    key(SDLK_z, 26, KMOD_LCTRL);
    key(SDLK_z, 26, KMOD_LCTRL | KMOD_LSHIFT);
    EXPECT_TRUE(same(editor->session.document(), states[5]));
}

// The title names the file and marks unsaved work; undoing back to the
// saved point clears the mark, redoing sets it again.
TEST_F(CommandsTest, ModifiedMarkFollowsTheSavedPoint)
{
    EXPECT_EQ(editor->windowTitle(), "Zelbun Kreator 1.0 - by. Tavrin");
    stroke(cell(3, 3), cell(3, 3));
    EXPECT_EQ(editor->windowTitle(), "bez nazwy * - Zelbun Kreator 1.0 - by. Tavrin");
    save("levels");
    EXPECT_EQ(editor->windowTitle(), "levels.atr - Zelbun Kreator 1.0 - by. Tavrin");
    EXPECT_EQ(editor->statusMessage, "Zapisano: levels.atr");
    stroke(cell(4, 4), cell(4, 4));
    EXPECT_TRUE(editor->isModified());
    click(at(layout::undoButton));
    EXPECT_FALSE(editor->isModified());
    click(at(layout::undoButton));  // past the saved point
    EXPECT_EQ(editor->windowTitle(), "levels.atr * - Zelbun Kreator 1.0 - by. Tavrin");
    click(at(layout::redoButton));
    EXPECT_FALSE(editor->isModified());
    // Typing counts before its run is over.
    click(at(layout::textPage));
    editor->keyDown(keysym(SDLK_x, 'x'));
    EXPECT_TRUE(editor->isModified());
    editor->keyDown(keysym(SDLK_ESCAPE));

    // The saved point is the file's content, wherever it lies in the
    // history: "Nowy" undone is the saved set again, with nothing to ask;
    // a cell drawn back as it was clears the mark too.
    click(at(layout::undoButton));
    ASSERT_FALSE(editor->isModified());
    click(at(layout::newButton));
    EXPECT_EQ(editor->windowTitle(), "Zelbun Kreator 1.0 - by. Tavrin");
    click(at(layout::undoButton));
    EXPECT_EQ(editor->windowTitle(), "levels.atr - Zelbun Kreator 1.0 - by. Tavrin");
    const size_t dialogs = platform.dialogRequests.size();
    platform.cancelDialog();
    click(at(layout::openButton));
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_EQ(platform.dialogRequests.size(), dialogs + 1);
    click(at(layout::redoButton));
    EXPECT_FALSE(editor->isModified());  // the empty set needs no saving either
    click(at(layout::undoButton));
    const uint8_t was = editor->session.level(0).cells[4][4];
    stroke(cell(4, 4), cell(4, 4));
    ASSERT_NE(editor->session.level(0).cells[4][4], was);
    editor->session.setCell(0, {4, 4}, was);
    editor->session.endStep();
    EXPECT_FALSE(editor->isModified());
}

// "Nowy", "Otworz" and closing ask about unsaved work, and each answer does
// what it says; a save that is cancelled cancels the action too.
TEST_F(CommandsTest, AskingBeforeWorkIsLost)
{
    const std::string other = dir.file("other.atr");
    {
        LevelData levels[kLevelSlots];
        TextPage pages[2];
        for (TextPage& page : pages)
            blankPage(page);
        std::vector<uint8_t> bytes = writeGameImage(game, gameSize, levels, pages);
        std::ofstream(other, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    }
    stroke(cell(1, 1), cell(1, 1));

    // Anuluj, and Zapisz whose dialog is cancelled: nothing happens.
    platform.answerQuestion(cancelAnswer);
    click(at(layout::newButton));
    platform.answerQuestion(saveAnswer);
    platform.cancelDialog();
    click(at(layout::openButton));
    platform.answerQuestion(cancelAnswer);
    EXPECT_FALSE(editor->mayClose());
    EXPECT_EQ(platform.questions.size(), 3u);
    EXPECT_EQ(platform.questions[0].text, "Zapisac zmiany?");
    EXPECT_EQ(platform.questions[0].answers, (std::vector<std::string>{"Zapisz", "Nie zapisuj", "Anuluj"}));
    EXPECT_EQ(editor->levels[0].get(1, 1), 5);
    EXPECT_EQ(platform.dialogRequests.size(), 1u);

    // Zapisz saves first, then opens.
    platform.answerQuestion(saveAnswer);
    platform.answerDialog(dir.file("kept.atr"));
    platform.answerDialog(other);
    click(at(layout::openButton));
    EXPECT_EQ(readAll(dir.file("kept.atr")).size(), 11428u + 508u);
    EXPECT_EQ(editor->filePath, other.c_str());
    EXPECT_FALSE(editor->levels[0].isOn());
    EXPECT_FALSE(editor->session.canUndo());  // a fresh history
    EXPECT_EQ(editor->statusMessage, "Otwarto: other.atr (0 poziomow)");

    // Nothing to lose: no question. Then Nie zapisuj lets Nowy and closing go.
    EXPECT_TRUE(editor->mayClose());
    stroke(cell(2, 2), cell(2, 2));
    platform.answerQuestion(dontSaveAnswer);
    click(at(layout::newButton));
    EXPECT_FALSE(editor->levels[0].isOn());
    EXPECT_FALSE(editor->isModified());
    stroke(cell(2, 2), cell(2, 2));
    platform.answerQuestion(dontSaveAnswer);
    EXPECT_TRUE(editor->mayClose());
    EXPECT_EQ(platform.questions.size(), 6u);
}

// A text file, an empty file, a directory, random bytes and a file too short
// for a game image are refused; nothing of the document changes. An image
// cut short in its level list loads what is whole, with a warning.
TEST_F(CommandsTest, OpeningWhatIsNotAGameImageChangesNothing)
{
    const std::string saved = save("mine.atr");
    stroke(cell(5, 5), cell(5, 5));
    const Document before = editor->session.document();
    const size_t steps = editor->session.revision();

    std::string random(20000, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    std::string shortImage = std::string("\x96\x02", 2) + std::string(5000, '\0');
    dir.write("notes.txt", "levels: 1, 2, 3\n");
    dir.write("empty.atr", "");
    dir.write("noise.atr", random);
    dir.write("short.atr", shortImage);
    std::filesystem::create_directory(dir.file("folder.atr"));
    for (const char* name : {"notes.txt", "empty.atr", "folder.atr", "noise.atr", "short.atr"}) {
        platform.answerQuestion(dontSaveAnswer);
        platform.answerDialog(dir.file(name));
        click(at(layout::openButton));
        EXPECT_TRUE(same(editor->session.document(), before)) << name;
        EXPECT_EQ(editor->session.revision(), steps) << name;
        EXPECT_TRUE(editor->statusIsError) << name;
        EXPECT_NE(editor->statusMessage.find(name), std::string::npos) << editor->statusMessage;
    }
    EXPECT_EQ(readAll(dir.file("notes.txt")), "levels: 1, 2, 3\n");

    // Two levels, the one written second (slot 0) cut short: slot 9's
    // level loads, at its place in the order, 1.
    editor->levels[9].add(0, 0, 5);
    char path[PATH_MAX + 8];
    std::strcpy(path, saved.c_str());
    ASSERT_EQ(editor->saveMap(path), 1);
    dir.write("cut.atr", readAll(saved).substr(0, kLevelListOffset + 508 + 100));
    platform.answerQuestion(dontSaveAnswer);
    platform.answerDialog(dir.file("cut.atr"));
    click(at(layout::openButton));
    EXPECT_FALSE(editor->levels[0].isOn());
    EXPECT_TRUE(editor->levels[1].isOn());
    EXPECT_TRUE(editor->statusIsError);
    EXPECT_EQ(editor->statusMessage.rfind("Otwarto: cut.atr (1 poziom); plik urwany", 0), 0u) << editor->statusMessage;
}

// ".atr" goes on a name without a dot even in a dotted directory, and when
// that makes the name of an existing file, the editor asks first.
TEST_F(CommandsTest, SaveNamesAndTheOverwriteQuestion)
{
    std::filesystem::create_directory(dir.file("jan.kowalski"));
    save("jan.kowalski/levels");
    EXPECT_EQ(editor->filePath, dir.file("jan.kowalski/levels.atr").c_str());
    EXPECT_TRUE(platform.questions.empty());

    dir.write("name.atr", "precious");
    stroke(cell(6, 6), cell(6, 6));
    platform.answerQuestion(1);  // Anuluj
    save("name");
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].text.find("name.atr"), std::string::npos);
    EXPECT_EQ(readAll(dir.file("name.atr")), "precious");
    EXPECT_EQ(editor->filePath, dir.file("jan.kowalski/levels.atr").c_str());
    EXPECT_TRUE(editor->isModified());

    platform.answerQuestion(0);  // Zastap
    save("name");
    EXPECT_EQ(readAll(dir.file("name.atr")).size(), 11428u + 508u);
    EXPECT_EQ(editor->filePath, dir.file("name.atr").c_str());

    // Another extension, typed by mistake after ".atr", is asked about:
    // "Anuluj" saves nothing, "Dodaj .atr" adds it, "Zapisz tak" keeps it.
    platform.answerQuestion(2);
    save("name.atrgap");
    EXPECT_FALSE(std::filesystem::exists(dir.file("name.atrgap")));
    EXPECT_NE(platform.questions.back().text.find("name.atrgap"), std::string::npos);
    platform.answerQuestion(0);
    save("name.atrgap");
    EXPECT_EQ(editor->filePath, dir.file("name.atrgap.atr").c_str());
    platform.answerQuestion(1);
    save("notes.txt");
    EXPECT_EQ(editor->filePath, dir.file("notes.txt").c_str());
    EXPECT_EQ(platform.questions.size(), 5u);
}

// Ctrl letters are shortcuts without the text page's focus and Polish
// letters with it; a click into the page or on "Koniec" gives it the keys,
// Escape or a press elsewhere takes them back.
TEST_F(CommandsTest, ShortcutsAndTextFocus)
{
    const std::string path = save("keys.atr");
    stroke(cell(7, 7), cell(7, 7));
    key(SDLK_a, 'a');  // no focus: typing does nothing
    EXPECT_EQ(editor->textPages[0][0][0], ' ');
    key(SDLK_s, 19, KMOD_LCTRL);
    EXPECT_FALSE(editor->isModified());
    EXPECT_EQ(readAll(path).size(), 11428u + 508u);

    click(at(layout::endPageButton));
    EXPECT_TRUE(editor->textFocus);
    EXPECT_EQ(editor->currentPage, 1);
    key(SDLK_s, 19, KMOD_LCTRL);
    EXPECT_EQ(editor->textPages[1][0][0], 19);  // s with an acute accent
    key(SDLK_ESCAPE, 27);
    EXPECT_FALSE(editor->textFocus);
    click(at(layout::textPage));
    EXPECT_TRUE(editor->textFocus);
    press(cell(0, 0).x, cell(0, 0).y, 3);
    EXPECT_FALSE(editor->textFocus);
    release(cell(0, 0).x, cell(0, 0).y);

    // Ctrl+N and Ctrl+O ask first; Ctrl+Shift+S always asks for a name.
    key(SDLK_n, 14, KMOD_LCTRL);
    key(SDLK_o, 15, KMOD_LCTRL);
    EXPECT_EQ(platform.questions.size(), 2u);
    platform.cancelDialog();
    key(SDLK_s, 19, KMOD_LCTRL | KMOD_LSHIFT);
    EXPECT_EQ(platform.dialogRequests.size(), 2u);
    EXPECT_TRUE(platform.dialogRequests[1].save);
}

// A failure is shown whole under undo and redo, wrapped at spaces, in red;
// one too long for the area keeps its reason and names its file by name
// alone, and a click shows it in full. The top bar keeps a long path's end.
TEST_F(CommandsTest, ALongErrorIsShownWhole)
{
    std::string longDir = dir.file(std::string(60, 'd'));
    platform.answerDialog(longDir + "/a-rather-long-file-name-for-levels.atr");
    click(at(layout::saveAsButton));
    bool whole = false;
    std::vector<Notices::TextLine> lines = editor->notices.messageLines(whole);
    EXPECT_TRUE(whole);
    ASSERT_GE(lines.size(), 2u);
    // Every character of the message, in order: lines break at spaces, and
    // a name longer than a line after one of its dashes.
    auto withoutSpaces = [](std::string text) {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        return text;
    };
    std::string joined;
    for (const Notices::TextLine& line : lines) {
        EXPECT_LE(line.text.size(), size_t(layout::messageChars));
        EXPECT_TRUE(line.error);
        joined += line.text;
    }
    EXPECT_EQ(withoutSpaces(joined), withoutSpaces(editor->statusMessage));
    EXPECT_EQ(lines[1].text.rfind("a-rather-long-file-name-for-", 0), 0u) << lines[1].text;

    // The reason's pixels: red on the dark band, and it stays after clicks
    // elsewhere.
    click(at(layout::levelSlot(3)));
    editor->paint();
    bool red = false;
    for (int y = layout::messageArea.y; y < layout::messageArea.bottom(); ++y)
        for (int x = layout::messageArea.x; x < layout::messageArea.right(); ++x)
            red |= pixel(screen, x, y) == rgb(screen, 255, 80, 80);
    EXPECT_TRUE(red);

    const std::string path = dir.path + "/" + std::string(150, 'p') + "/game.atr";
    editor->showError("Odrzucono szablon " + path + ": to nie jest obraz dyskietki ATR; uzyto wbudowanej gry");
    lines = editor->notices.messageLines(whole);
    EXPECT_FALSE(whole);
    EXPECT_LE(lines.size(), size_t(layout::messageLineCount));
    EXPECT_EQ(lines[0].text, "Odrzucono szablon .../game.atr:");
    EXPECT_EQ(lines.back().text.substr(lines.back().text.size() - 4), " gry");
    click(layout::messageLine(0).x + 4, layout::messageLine(0).y + 2);
    ASSERT_EQ(editor->notices.overlay(), Notices::Overlay::message);
    std::string shown;
    for (const Notices::TextLine& line : editor->notices.overlayLines())
        shown += line.text;
    EXPECT_NE(shown.find(std::string(70, 'p')), std::string::npos);
    key(SDLK_ESCAPE, 27);
    EXPECT_EQ(editor->notices.overlay(), Notices::Overlay::none);
    click(at(layout::dismissButton));
    EXPECT_TRUE(editor->notices.shown().empty());

    std::filesystem::create_directories(longDir);
    ASSERT_FALSE(editor->session.save(longDir + "/set.atr"));
    const std::string top = editor->pathLine();
    EXPECT_LE(top.size(), size_t(layout::pathLineChars));
    EXPECT_EQ(top.substr(0, 3), "...");
    EXPECT_EQ(top.substr(top.size() - 8), "/set.atr");
}

// Labels take black on a light background register, white on a dark one.
TEST_F(CommandsTest, LabelsContrastWithTheBackground)
{
    auto inkAt = [&](layout::Point label, Uint32 colour) {
        for (int y = label.y; y < label.y + 8; ++y)
            for (int x = label.x; x < label.x + 40; ++x)
                if (pixel(screen, x, y) == colour)
                    return true;
        return false;
    };
    editor->levels[0].colorSet(4, 0x0E);
    editor->paint();
    EXPECT_TRUE(inkAt(layout::colourLabel, rgb(screen, 0, 0, 0)));
    EXPECT_TRUE(inkAt(layout::screwCounter, rgb(screen, 0, 0, 0)));
    EXPECT_FALSE(inkAt(layout::textLabel, rgb(screen, 255, 255, 255)));
    editor->levels[0].colorSet(4, 0x00);
    editor->paint();
    EXPECT_TRUE(inkAt(layout::textLabel, rgb(screen, 255, 255, 255)));
    EXPECT_TRUE(inkAt(layout::wallCounter, rgb(screen, 255, 255, 255)));
}

} // namespace

// Both cases below stage the file behind the editor's back with POSIX
// calls: a forged modification time, a child killed in the middle of a
// save.
#ifndef _WIN32

// Another program, or another window, changed the file since it was opened
// or saved: "Zapisz" asks before writing over it. A file of the same size
// and time put in its place is another file all the same; the editor's own
// saves change nothing to ask about.
TEST_F(CommandsTest, SavingOverAFileChangedOnDiskAsksFirst)
{
    const std::string path = save("wspolny.atr");
    dir.write("wspolny.atr", "their version");
    stroke(cell(2, 2), cell(2, 2));
    platform.answerQuestion(1);  // Anuluj
    click(at(layout::saveButton));
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, "Plik wspolny.atr zmienil sie na dysku. Zastapic go?");
    EXPECT_EQ(readAll(path), "their version");
    EXPECT_EQ(editor->statusMessage, "Nie zapisano wspolny.atr: plik zmienil sie na dysku");
    EXPECT_TRUE(editor->isModified());

    platform.answerQuestion(0);  // Zastap
    click(at(layout::saveButton));
    EXPECT_EQ(readAll(path).size(), 11428u + 508u);
    EXPECT_FALSE(editor->isModified());
    stroke(cell(3, 3), cell(3, 3));
    click(at(layout::saveButton));
    EXPECT_EQ(platform.questions.size(), 2u);

    struct stat saved;
    ASSERT_EQ(stat(path.c_str(), &saved), 0);
    dir.write("podmiana.tmp", readAll(path));
    const timespec times[2] = {saved.st_atim, saved.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.file("podmiana.tmp").c_str(), times, 0), 0);
    ASSERT_EQ(std::rename(dir.file("podmiana.tmp").c_str(), path.c_str()), 0);
    stroke(cell(4, 4), cell(4, 4));
    click(at(layout::saveButton));  // the question goes unanswered: Anuluj
    EXPECT_EQ(platform.questions.size(), 3u);
    EXPECT_TRUE(editor->isModified());

    // Rewritten in place, the same size, its time put back: the same
    // inode, size and time, another content.
    platform.answerQuestion(0);
    click(at(layout::saveButton));
    ASSERT_EQ(stat(path.c_str(), &saved), 0);
    std::string theirs = readAll(path);
    theirs[kLevelListOffset + 4] ^= 1;
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.write(theirs.data(), std::streamsize(theirs.size()));
    }
    const timespec kept[2] = {saved.st_atim, saved.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), kept, 0), 0);
    stroke(cell(5, 5), cell(5, 5));
    click(at(layout::saveButton));
    ASSERT_EQ(platform.questions.size(), 5u);
    EXPECT_EQ(platform.questions[4].text, "Plik wspolny.atr zmienil sie na dysku. Zastapic go?");
    EXPECT_EQ(readAll(path), theirs);
}

// The editor killed while it rewrote a file with two names in place leaves
// it half new, half old: the next opening offers the copy of the old
// content kept beside it, and saving that repairs the file under both
// names and clears the copy away.
TEST_F(CommandsTest, CopyOfAnInterruptedSaveIsOffered)
{
    for (int slot = 0; slot < 3; ++slot)
        editor->session.setCell(slot, Cell{1, 1}, 5);
    editor->session.endStep();
    const std::string path = save("gra.atr");
    const std::string whole = readAll(path);
    fs::create_hard_link(path, dir.file("kopia.atr"));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        saveStepReached = [](SaveStep step) {
            if (step == SaveStep::contentWritten)
                raise(SIGKILL);
        };
        editor->session.clearLevel(1);
        editor->session.clearLevel(2);
        static_cast<void>(editor->session.save(path));
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_NE(readAll(path), whole);

    // Return, the first answer, changes nothing; the question names the
    // copy and the file it was made from.
    platform.answerQuestion(2);  // Anuluj
    EXPECT_EQ(editor->loadMap(path.c_str()), 0);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text.rfind("Znaleziono kopie .zkb", 0), 0u) << platform.questions[0].text;
    EXPECT_NE(platform.questions[0].text.find(" z przerwanego zapisu pliku gra.atr; plik moze byc uszkodzony. "
                                              "Otworzyc kopie zamiast pliku?"),
              std::string::npos)
        << platform.questions[0].text;
    EXPECT_EQ(platform.questions[0].answers, (std::vector<std::string>{"Otworz plik", "Otworz kopie", "Anuluj"}));

    // Under the file's other name: the same file, said so.
    platform.answerQuestion(1);  // Otworz kopie
    const std::string other = dir.file("kopia.atr");
    ASSERT_EQ(editor->loadMap(other.c_str()), 1);
    EXPECT_NE(platform.questions[1].text.find("pliku gra.atr (to ten sam plik co kopia.atr)"), std::string::npos)
        << platform.questions[1].text;
    EXPECT_EQ(editor->session.document().levelsOn(), 3);
    EXPECT_EQ(editor->filePath, other);
    EXPECT_TRUE(editor->isModified());
    EXPECT_EQ(editor->statusMessage, "Otwarto kopie: kopia.atr (3 poziomy); zapisz, by naprawic plik");

    click(at(layout::saveButton));
    EXPECT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(readAll(path), whole);
    EXPECT_EQ(readAll(other), whole);
    for (const auto& entry : fs::directory_iterator(dir.path))
        EXPECT_NE(entry.path().filename().string().rfind(".zk", 0), 0u) << entry.path();
    EXPECT_EQ(editor->loadMap(path.c_str()), 1);
    EXPECT_EQ(platform.questions.size(), 2u);
}

// A copy named after an inode that a file made later has taken is not
// offered for it, and goes: its record names a file that is gone (and, where
// the file system keeps birth times, one born at another time). A copy
// without a record, from an older program, is neither offered nor removed.
TEST_F(CommandsTest, CopyOfAnotherFileIsNotOffered)
{
    const std::string path = save("nowa.atr");
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    char hex[24];
    std::snprintf(hex, sizeof hex, ".zkb%llx", static_cast<unsigned long long>(info.st_ino));
    const std::string copy = dir.file(hex);
    // Old content, then the record: the name, device, inode, birth seconds
    // and nanoseconds, the name's length, low byte first, and the marker.
    std::string stale = std::string(28000, '\x55') + "stara.atr";
    auto number = [&](uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            stale += char(value >> (8 * i) & 0xFF);
    };
    number(uint64_t(info.st_dev), 8);
    number(uint64_t(info.st_ino), 8);
    number(1, 8);
    number(0, 4);
    number(9, 4);
    stale += "ZKBCOPY1";
    dir.write(hex, stale);
    EXPECT_EQ(editor->loadMap(path.c_str()), 1);
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(editor->session.document().levelsOn(), 0);

    dir.write(hex, std::string(28000, '\x55'));
    EXPECT_EQ(editor->loadMap(path.c_str()), 1);
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_TRUE(fs::exists(copy));
}

#endif
