// Typing into the text pages: accepted keys, wrapping, Backspace.
#include "editor_fixture.h"

using namespace fixture;

namespace {

class TextTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        build();
    }
    void at(int column, int row)
    {
        editor->cursorColumn = column;
        editor->cursorRow = row;
    }
    void expectCursor(int column, int row)
    {
        EXPECT_EQ(editor->cursorColumn, column);
        EXPECT_EQ(editor->cursorRow, row);
    }
    char cell(int column, int row, int page = 0) { return editor->textPages[page][row][column]; }
};

TEST_F(TextTest, AcceptedKeysAreStoredAndAdvance)
{
    const unsigned accepted[] = {'a', 'z', 'A', 'Z', '0', '9', ' ', '!', '*', ',', '-', '.', ':', '?', '@',
                                 1, 3, 5, 6, 7, 12, 14, 15, 17, 18, 19, 20, 26};
    int column = 0;
    for (unsigned key : accepted) {
        at(column % 32, column / 32);
        editor->inputText(key);
        EXPECT_EQ(cell(column % 32, column / 32), char(key)) << key;
        ++column;
        expectCursor(column % 32, column / 32);
    }
}

// Keys outside the set change neither the text nor the cursor.
TEST_F(TextTest, IgnoredKeysChangeNothing)
{
    at(4, 2);
    const unsigned ignored[] = {0, 2, 9, 27, 127, '#', '/', ';', '(', '+', '"', 128, 261, 272, 277, 0x105};
    for (unsigned key : ignored) {
        editor->inputText(key);
        expectCursor(4, 2);
    }
    for (int line = 0; line < 8; ++line)
        EXPECT_STREQ(editor->textPages[0][line], "                                ");
}

TEST_F(TextTest, TypingWrapsFromTheLastCellToTheFirst)
{
    at(31, 7);
    editor->inputText('A');
    EXPECT_EQ(cell(31, 7), 'A');
    expectCursor(0, 0);
    // The line is still exactly 32 characters.
    EXPECT_EQ(std::string(editor->textPages[0][7]).size(), 32u);
}

// Backspace blanks the cell under the cursor, not the one before it.
TEST_F(TextTest, Backspace)
{
    editor->session.editPage(0)[2][5] = 'x';
    editor->session.editPage(0)[2][4] = 'y';
    at(5, 2);
    editor->inputText(8);
    EXPECT_EQ(cell(5, 2), ' ');
    EXPECT_EQ(cell(4, 2), 'y');
    expectCursor(4, 2);

    editor->session.editPage(0)[0][0] = 'q';
    at(0, 0);
    editor->inputText(8);
    EXPECT_EQ(cell(0, 0), ' ');
    expectCursor(31, 7);
}

TEST_F(TextTest, CursorKeysWrapInAllFourDirections)
{
    at(5, 7);
    editor->inputText(13);  // Return
    expectCursor(0, 0);
    at(0, 3);
    editor->inputText(276);  // left
    expectCursor(31, 2);
    at(31, 3);
    editor->inputText(275);  // right
    expectCursor(0, 4);
    at(6, 0);
    editor->inputText(273);  // up
    expectCursor(6, 7);
    editor->inputText(274);  // down
    expectCursor(6, 0);
    at(0, 0);
    editor->inputText(276);
    expectCursor(31, 7);
}

// One cursor for both pages; typing on one leaves the other alone.
TEST_F(TextTest, PagesAreSeparate)
{
    editor->currentPage = 1;
    at(3, 3);
    editor->inputText('K');
    EXPECT_EQ(cell(3, 3, 1), 'K');
    EXPECT_EQ(cell(3, 3, 0), ' ');
    editor->currentPage = 0;
    expectCursor(4, 3);
}

} // namespace
