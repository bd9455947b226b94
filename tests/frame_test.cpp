// The editor's construction, its tile palette configuration and painting.
#include "editor_fixture.h"

#include "render/font.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <filesystem>
#include <cstring>

using namespace fixture;

namespace {

class FrameTest : public EditorTest {};

// --- construction ----------------------------------------------------------

// A new editor: slot 1 current, nothing enabled, the first record's entry
// current, register 1 and "Start" current, empty grids of the eraser code.
TEST_F(FrameTest, InitialState)
{
    build();
    ASSERT_TRUE(editor->ok());
    EXPECT_EQ(editor->currentLevel, 0);
    EXPECT_EQ(editor->currentTile, 0);
    EXPECT_EQ(editor->currentColour, 0);
    EXPECT_EQ(editor->currentPage, 0);
    EXPECT_EQ(editor->cursorColumn, 0);
    EXPECT_EQ(editor->cursorRow, 0);
    EXPECT_EQ(editor->hoverRow, -1);
    EXPECT_EQ(editor->swapSource, -1);
    EXPECT_EQ(editor->filePath, "");
    EXPECT_EQ(editor->murekTile, 20);
    EXPECT_EQ(editor->gumkaTile, 0);
    EXPECT_EQ(editor->srubaTile, 3);
    for (int i = 0; i <= 32; ++i) {
        EXPECT_FALSE(editor->levels[i].isOn()) << i;
        EXPECT_EQ(editor->levels[i].get(15, 30), 0);
        EXPECT_EQ(editor->levels[i].colorGet(2), 14);
    }
    for (int page = 0; page < kTextPages; ++page)
        for (int line = 0; line < 8; ++line)
            EXPECT_STREQ(editor->textPages[page][line], "                                ");
}

// The palette shows exactly the configured entries; the others can't be hit.
TEST_F(FrameTest, PaletteHoldsExactlyTheConfiguredEntries)
{
    build();
    const int configured[] = {0, 1, 3, 20, 6};
    for (int e = 0; e < frame::paletteEntries; ++e) {
        bool expected = std::find(std::begin(configured), std::end(configured), e) != std::end(configured);
        CGui* entry = editor->buttons[frame::firstPaletteButton + e];
        EXPECT_EQ(entry->push(272 + 20 * (e % 5), 52 + 20 * (e / 5)), expected ? 1 : 0) << e;
    }
    EXPECT_EQ(editor->tileCodes[20], 9);
    EXPECT_EQ(editor->tileColumns[9], 20);
    EXPECT_EQ(editor->tileColumns[200], -1);
    EXPECT_EQ(editor->tileCodes[2], -1);
}

TEST_F(FrameTest, MissingImagesAreReportedByName)
{
    writePalette(dir);
    buildOnFiles();
    EXPECT_FALSE(editor->ok());
    EXPECT_NE(editor->loadError().find("tiles.bmp: not found"), std::string::npos);
    EXPECT_NE(editor->loadError().find(dir.path), std::string::npos);
    editor->paint();  // does nothing, and doesn't crash
}

TEST_F(FrameTest, UnreadableImageIsReported)
{
    dir.write("tiles.bmp", "BMnot really a bitmap");
    writePalette(dir);
    buildOnFiles();
    EXPECT_FALSE(editor->ok());
    EXPECT_NE(editor->loadError().find("tiles.bmp: cannot load"), std::string::npos);
}

// --- tiles.cfg, as the editor applies it ------------------------------------

// Without a configuration the palette is empty and every index lookup is
// guarded: no entry pressed, eraser code 0, no wall.
TEST_F(FrameTest, MissingConfigurationLeavesEverythingUnset)
{
    writeTiles(dir, 32);
    writePalette(dir);
    buildOnFiles();
    ASSERT_TRUE(editor->ok());
    EXPECT_EQ(editor->currentTile, -1);
    EXPECT_EQ(editor->murekTile, -1);
    EXPECT_EQ(editor->gumkaTile, -1);
    EXPECT_EQ(editor->srubaTile, -1);
    EXPECT_EQ(editor->eraserCode(), 0);
    EXPECT_EQ(editor->screwCode(), -1);
    EXPECT_EQ(editor->levels[0].get(0, 0), 0);
    editor->paint();
    // Code 0 has no picture now: the grid shows " 0" in white.
    bool white = false;
    for (int y = 54; y < 62; ++y)
        for (int x = 13; x < 21; ++x)
            white |= pixel(screen, x, y) == rgb(screen, 255, 255, 255);
    EXPECT_TRUE(white);
}

// A byte order mark is skipped; lines that are skipped are counted in the
// window; a tiles.cfg that is there but cannot be read is not "not found".
TEST_F(FrameTest, ConfigurationProblemsAreShown)
{
    build(std::string("\xEF\xBB\xBF") + defaultConfig);
    EXPECT_EQ(editor->currentTile, 0);
    EXPECT_EQ(editor->murekTile, 20);
    EXPECT_EQ(editor->statusMessage, "");

    build(std::string(defaultConfig) + "7,0:1,1\n0,0:1,200\n0,1:1,300\n2,0:300,1\n1,0:4,4\n");
    EXPECT_EQ(editor->statusMessage, "tiles.cfg: 4 wiersze pominiete");
    EXPECT_EQ(editor->tileCodes[1], 4);  // read on past them

    build("murek:9\ngumka:0\nsruba:8\n0,0:0,0\n0,4:9,20\n1,0:8\n");
    EXPECT_EQ(editor->statusMessage, "tiles.cfg: sruba 8 nie ma obrazka");
    build("murek:9\ngumka:1\nsruba:7\n0,0:0,0\n0,4:9,20\n1,0:7,3\n");
    EXPECT_EQ(editor->statusMessage, "tiles.cfg: gumka 1 nie ma pola w palecie");

#ifndef _WIN32
    // A device in the data's place (Windows has no link to one).
    std::filesystem::remove(dir.file("tiles.cfg"));
    std::filesystem::create_symlink("/dev/zero", dir.file("tiles.cfg"));
    buildOnFiles();
    ASSERT_TRUE(editor->ok());
    EXPECT_EQ(editor->statusMessage, dir.file("tiles.cfg") + ": to nie jest zwykly plik");
    EXPECT_EQ(editor->currentTile, -1);
#endif
}

// The eraser writes, and the screw count counts, the codes tiles.cfg names,
// wherever their entries sit in the palette and whatever their pictures.
TEST_F(FrameTest, RolesFollowTheirCodesNotTheSheetLayout)
{
    build("murek:9\ngumka:0\nsruba:7\n"
          "1,0:0,5\n"   // the eraser at entry 1 with picture 5
          "0,1:9,20\n"  // entry 5 draws the wall
          "2,0:7,1\n"); // the screw at entry 2 with picture 1
    EXPECT_EQ(editor->eraserCode(), 0);
    EXPECT_EQ(editor->screwCode(), 7);
    EXPECT_EQ(editor->levels[3].get(0, 0), 0);

    click(272 + 40, 52);  // the screw entry
    click(5 + 8, 50 + 8);
    click(5 + 24, 50 + 8);
    click(5 + 24, 50 + 8, 3);  // a right click erases one again
    EXPECT_EQ(editor->levels[0].get(1, 0), 0);
    click(375 + 30, 60 + 12);  // the screw counter's value counts them
    EXPECT_EQ(editor->levels[0].srubkiGet(), 1);

    // The hover band belongs to the eraser's entry.
    click(272 + 20, 52);
    editor->mouse(100, 100, 0);
    editor->paint();
    EXPECT_EQ(pixel(screen, 100, 50 + 16 * 3), rgb(screen, 255, 125, 125));
}

// CR LF, spaces after separators, a three-number record and later records
// winning, as one file.
TEST_F(FrameTest, ConfigurationGrammarAsApplied)
{
    build("murek:9\r\ngumka:0\r\nsruba:7\r\n"
          "0,0: 0, 0\r\n"
          "1,0:200\r\n"
          "2,0:5,2\r\n"
          "2,0:6,4\r\n"
          "9,0:1,1\r\n"
          "0,4:9,20\r\n");
    EXPECT_EQ(editor->tileCodes[0], 0);
    EXPECT_EQ(editor->tileCodes[1], 200);
    EXPECT_EQ(editor->tileColumns[200], -1);
    EXPECT_EQ(editor->tileCodes[2], 6);
    EXPECT_EQ(editor->tileColumns[6], 4);
    EXPECT_EQ(editor->tileColumns[1], -1);  // out-of-range record ignored
    EXPECT_EQ(editor->tileCodes[20], 9);    // read on past it
}

// The screw and eraser codes go to every level.
TEST_F(FrameTest, LevelsGetTheEraserAndScrewCodes)
{
    build("murek:9\ngumka:5\nsruba:7\n0,0:0,0\n1,0:5,1\n3,0:7,3\n");
    EXPECT_EQ(editor->eraserCode(), 5);
    EXPECT_EQ(editor->levels[31].get(7, 7), 5);
    editor->levels[31].add(1, 1, 7);
    editor->levels[31].add(2, 1, 7);
    EXPECT_EQ(editor->levels[31].srubkiAutoGet(), 2);
}

// --- painting ----------------------------------------------------------------

// The background is the palette colour of the current level's register 4,
// in the screen's own format.
TEST_F(FrameTest, BackgroundFollowsRegister4)
{
    build();
    editor->paint();
    EXPECT_EQ(pixel(screen, 265, 300), rgb(screen, atariColour(0)));
    editor->levels[0].colorSet(4, 0x94);
    editor->paint();
    EXPECT_EQ(pixel(screen, 265, 300), rgb(screen, atariColour(0x94)));
    editor->currentLevel = 1;
    editor->paint();
    EXPECT_EQ(pixel(screen, 265, 300), rgb(screen, atariColour(0)));
}

// A 16-bit screen gets the palette colours converted, not raw values.
TEST_F(FrameTest, BackgroundConvertedToA16BitScreen)
{
    build();
    SDL_Surface* small = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 570, 16, 0xF800, 0x07E0, 0x001F, 0);
    editor->screen = small;
    editor->levels[0].colorSet(4, 0x94);
    editor->paint();
    Uint16 value = static_cast<Uint16*>(small->pixels)[300 * small->pitch / 2 + 265];
    EXPECT_EQ(value, SDL_MapRGB(small->format, 0x90, 64, 7));
    editor->screen = screen;
    SDL_FreeSurface(small);
}

// Cells are blitted from the level's recoloured copy; a code without a
// picture shows as two hex digits, 4 pixels below the cell's top.
TEST_F(FrameTest, GridCells)
{
    build();
    map& level = editor->levels[0];
    level.add(2, 1, 5);      // column 1 of the sheet
    level.add(3, 1, 200);    // no picture
    editor->paint();
    int x = 5 + 16 * 2, y = 50 + 16;
    EXPECT_EQ(pixel(screen, x + 8, y + 8), rgb(screen, tileColour(1)));
    // The marker corner took register 1's colour (8).
    EXPECT_EQ(pixel(screen, x, y), rgb(screen, atariColour(8)));
    // "C8" in white, rows y+4 .. y+11, nothing in the first 4 rows.
    int whiteTop = -1;
    for (int row = y; row < y + 16 && whiteTop < 0; ++row)
        for (int column = x + 16; column < x + 32; ++column)
            if (pixel(screen, column, row) == rgb(screen, 255, 255, 255)) {
                whiteTop = row;
                break;
            }
    EXPECT_GE(whiteTop, y + 4);
    EXPECT_LE(whiteTop, y + 6);
}

// A wall cell shows the wall pattern's column; so does the wall counter.
TEST_F(FrameTest, WallPattern)
{
    build();
    map& level = editor->levels[0];
    level.add(0, 0, 9);
    level.wzorekSet(3);
    editor->paint();
    EXPECT_EQ(pixel(screen, 5 + 8, 50 + 8), rgb(screen, tileColour(23)));
    // The wall counter's picture sits at body (375, 110) + (22, 4).
    EXPECT_EQ(pixel(screen, 375 + 22 + 8, 110 + 4 + 8), rgb(screen, tileColour(23)));
}

// The hover band shows while the eraser is current, for one repaint.
TEST_F(FrameTest, HoverBandLastsOneRepaint)
{
    build();
    Uint32 band = rgb(screen, 255, 125, 125);
    editor->hoverRow = 3;
    editor->paint();
    EXPECT_EQ(pixel(screen, 5, 50 + 48 + 80), band);
    EXPECT_EQ(pixel(screen, 261, 50 + 48 + 160), band);
    EXPECT_EQ(editor->hoverRow, -1);
    editor->paint();
    EXPECT_NE(pixel(screen, 261, 50 + 48 + 160), band);

    editor->currentTile = 1;  // not the eraser: no band
    editor->hoverRow = 3;
    editor->paint();
    EXPECT_NE(pixel(screen, 261, 50 + 48 + 160), band);
    EXPECT_EQ(editor->hoverRow, -1);
}

// Slot buttons: green when enabled, grey when not, inverted when current.
TEST_F(FrameTest, SlotButtonLooks)
{
    build();
    editor->levels[1].add(0, 0, 5);
    editor->paint();
    EXPECT_EQ(pixel(screen, 1, 27), rgb(screen, 55, 55, 55));    // slot 1, current
    EXPECT_EQ(pixel(screen, 21, 27), rgb(screen, 0, 255, 0));    // slot 2, on
    EXPECT_EQ(pixel(screen, 41, 27), rgb(screen, 200, 200, 200)); // slot 3, off
}

// The current palette entry, register and page are drawn pressed.
TEST_F(FrameTest, CurrentChoicesArePressed)
{
    build();
    editor->currentTile = 1;
    editor->currentColour = 2;
    editor->currentPage = 1;
    editor->paint();
    EXPECT_EQ(pixel(screen, 290, 50), rgb(screen, 0, 255, 255));   // entry 1: cyan frame
    EXPECT_EQ(pixel(screen, 270, 50), rgb(screen, 255, 0, 0));     // entry 0: red frame
    EXPECT_EQ(pixel(screen, 466, 157), rgb(screen, 55, 55, 55));   // register 3 pressed
    EXPECT_EQ(pixel(screen, 446, 157), rgb(screen, 200, 200, 200));
    EXPECT_EQ(pixel(screen, 477, 335), rgb(screen, 55, 55, 55));   // "Koniec"
}

// The text box, its lines and the red cursor frame, which shows only while
// the page has the keyboard.
TEST_F(FrameTest, TextPage)
{
    build();
    editor->cursorColumn = 2;
    editor->cursorRow = 1;
    editor->paint();
    EXPECT_EQ(pixel(screen, 375 + 16 - 1, 355 + 10 - 1), rgb(screen, 100, 100, 200));
    editor->textFocus = true;
    editor->paint();
    EXPECT_EQ(pixel(screen, 374, 354), rgb(screen, 100, 100, 200));
    EXPECT_EQ(pixel(screen, 631, 433), rgb(screen, 100, 100, 200));
    EXPECT_NE(pixel(screen, 632, 433), rgb(screen, 100, 100, 200));
    int left = 375 + 16 - 1, top = 355 + 10 - 1;
    EXPECT_EQ(pixel(screen, left, top), rgb(screen, 255, 0, 0));
    EXPECT_EQ(pixel(screen, left + 9, top + 9), rgb(screen, 255, 0, 0));
    EXPECT_EQ(pixel(screen, left + 4, top + 4), rgb(screen, 100, 100, 200));
}

// Text is drawn in the editor's font: code 1 is the small a with ogonek.
TEST_F(FrameTest, ReplacedGlyphOnThePage)
{
    build();
    editor->cursorRow = 5;
    editor->inputText(1);
    editor->paint();
    const unsigned char rows[8] = {0x00, 0x00, 0x78, 0x0C, 0x7C, 0xCC, 0x76, 0x06};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            bool ink = rows[r] & (0x80 >> c);
            EXPECT_EQ(pixel(screen, 375 + c, 355 + 50 + r) == rgb(screen, 255, 255, 255), ink)
                << "row " << r << " column " << c;
        }
}

// A failed command's message replaces the document path, in red.
TEST_F(FrameTest, StatusMessageInPlaceOfThePath)
{
    build();
    ASSERT_FALSE(editor->session.save(dir.file("x.atr")));
    editor->showError("cannot write");
    editor->paint();
    // The path keeps its place in the top bar; the error stands in red
    // in the message area.
    auto shows = [&](const layout::Rect& area, Uint32 colour) {
        for (int y = area.y; y < area.bottom(); ++y)
            for (int x = area.x; x < area.right(); ++x)
                if (pixel(screen, x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(shows({245, 8, 300, 8}, rgb(screen, 255, 255, 255)));
    EXPECT_FALSE(shows({245, 8, 300, 8}, rgb(screen, 255, 80, 80)));
    EXPECT_TRUE(shows(layout::messageArea, rgb(screen, 255, 80, 80)));
}

// Whether the white text at (x, y) is exactly `expected` in the editor's
// font: the white pixels match those of the string drawn on its own.
bool showsText(SDL_Surface* screen, int x, int y, const char* expected)
{
    const int width = 8 * int(std::strlen(expected)) + 8;
    SDL_Surface* alone = newSurface(width, 8, 32);
    stringRGBA(alone, 0, 0, expected, 255, 255, 255, 255);
    bool same = true;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < width; ++column)
            same &= (pixel(screen, x + column, y + row) == rgb(screen, 255, 255, 255)) ==
                    (pixel(alone, column, row) == rgb(alone, 255, 255, 255));
    SDL_FreeSurface(alone);
    return same;
}

// Each register button carries a sample of its colour; the one under the
// pointer gives its value in hex. The wall counter gives its pattern number.
TEST_F(FrameTest, RegisterSamplesAndWallNumber)
{
    build();
    map& level = editor->levels[0];
    level.colorSet(2, 0x44);
    level.wzorekSet(3);
    editor->mouse(425 + 40 + 10, 160, 0);  // over register 3
    editor->paint();
    EXPECT_EQ(pixel(screen, 425 + 40 + 9, 171), rgb(screen, atariColour(0x44)));
    EXPECT_EQ(pixel(screen, 425 + 20 + 9, 171), rgb(screen, atariColour(8)));
    EXPECT_TRUE(showsText(screen, 548, 161, "$44"));
    EXPECT_TRUE(showsText(screen, 440, 119, "3"));

    editor->mouse(300, 500, 0);  // away: no value
    editor->paint();
    EXPECT_TRUE(showsText(screen, 548, 161, ""));
}

// The canvas is framed, the grid shows when on, and the cell under the
// pointer is outlined.
TEST_F(FrameTest, CanvasFrameGridAndHoveredCell)
{
    build();
    editor->currentTile = 1;  // not the eraser, whose band would cover the outline
    editor->mouse(5 + 16 * 4 + 3, 50 + 16 * 6 + 3, 0);
    editor->paint();
    const Uint32 background = rgb(screen, atariColour(0));
    EXPECT_NE(pixel(screen, 4, 300), background);    // frame, left
    EXPECT_NE(pixel(screen, 261, 546), background);  // frame, bottom right
    EXPECT_EQ(pixel(screen, 5 + 16 * 4, 50 + 16 * 6), rgb(screen, 255, 255, 0));
    EXPECT_EQ(pixel(screen, 5 + 16 * 4 + 15, 50 + 16 * 6 + 15), rgb(screen, 255, 255, 0));
    EXPECT_EQ(pixel(screen, 5 + 16 * 8, 300), pixel(screen, 5 + 16 * 8 + 1, 300));  // no grid
    editor->showGrid = true;
    editor->paint();
    EXPECT_NE(pixel(screen, 5 + 16 * 8, 300), pixel(screen, 5 + 16 * 8 + 1, 300));
}

} // namespace
