/* The whole game (game.s) played frame by frame, as a player plays it, with
 * the display's hardware side stood in for (sim_game.s): each frame the
 * game waits for, on_frame below sets the joystick, the trigger and the
 * console keys, and looks at what the game drew in memory (the status
 * line, the level's screen rows, the message page) and at its state.
 *
 * Two levels: the first opens with POZIOM 1 and a look from the top of
 * the level down to the robot, then GOTOWY?, with nothing moving until the
 * first push; a laser's beam is drawn over the floor it crosses and is cut
 * where a box is pushed into it; OPTION restarts the level for free; a
 * shot flies a cell a frame; two quick taps walk into the exit, POZIOM
 * UKONCZONY shows for a second. On
 * the second, three deaths end the game; fire continues there with three
 * lives; three deaths more, START goes to the Start page, where SELECT
 * steps through the levels reached and fire starts the one chosen. The
 * Start page plays its tune; the game is quiet of it. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "sim_engine.h"

/* The game's inputs, read from the OS's copies and the console keys. */
#define STICK0 (*(volatile unsigned char *)0x0278)
#define STRIG0 (*(volatile unsigned char *)0x0284)
#define CONSOL (*(volatile unsigned char *)0xD01F)
#define SKSTAT (*(volatile unsigned char *)0xD20F)
#define AUDC2 (*(volatile unsigned char *)0xD203)
#define AUDC3 (*(volatile unsigned char *)0xD205)
#define AUDC4 (*(volatile unsigned char *)0xD207)
#define CONSOL_NONE 0x07
#define CONSOL_START 0x06
#define CONSOL_SELECT 0x05
#define CONSOL_OPTION 0x03

#define LEVELS ((unsigned char *)0x5000)
#define STEP 8

extern unsigned char order_table[32], text_start[256], message[256], level_reached;
extern unsigned char status_line[32], hint_line[32], screen[32 * 32], tilemap[256];
extern unsigned char *shown_page;
extern unsigned char showing_game;
extern unsigned char beam_chars[3]; /* up or down, across, both */
extern unsigned char lv_index, view_y;
#pragma zpsym("lv_index")
#pragma zpsym("view_y")
extern unsigned char shot_on, shot_px;
void game_main(void);

#pragma bss-name (push, "TESTBSS")
static unsigned int pt;       /* where the script goes on at the next frame */
static unsigned int n;        /* frames counted by the script's loops */
static unsigned char last_view, music, beetle, lives_before, deaths, round;
#pragma bss-name (pop)

/* Level rows from row 0, one character a cell (fixture.c's legend); the
 * rest of the level is floor. */
static void put_level(unsigned char slot, const char *rows)
{
    unsigned char *level = LEVELS + 0x200 * slot;
    unsigned char x = 0, y = 0;
    memset(level, 0, 504);
    for (; *rows; ++rows) {
        if (*rows == '|') {
            ++y;
            x = 0;
        } else {
            level[y * 16 + x++] = code_of(*rows);
        }
    }
    level[496] = slot;
    level[497] = 0x00;                       /* no screws: the exit is open */
    memcpy(level + 498, "\xC6\x0E\xC6\x06\x84\x36", 6); /* colour registers 0..5 */
}

/* Whether `text` stands somewhere in the `size` screen codes at `line`. */
static unsigned char shows(const unsigned char *line, unsigned int size, const char *text)
{
    unsigned int at, i, length = strlen(text);
    for (at = 0; at + length <= size; ++at) {
        for (i = 0; i < length && line[at + i] == (unsigned char)(text[i] - 32); ++i)
            ;
        if (i == length)
            return 1;
    }
    return 0;
}

#define STATUS(text) shows(status_line, 32, text)
#define CELL_CHAR(x, y) screen[(y) * 32 + 2 * (x)]

static void give_up(const char *what)
{
    printf("FAILED: %s never came\n", what);
    check(0, what);
    exit(result());
}

/* The script, a frame at a time: YIELD ends this frame (each on a line of
 * its own), and the next call goes on after it. */
#define YIELD do { pt = __LINE__; return; case __LINE__:; } while (0)
#define FRAMES(k) for (n = 0; n < (k); ++n) YIELD
#define UNTIL(cond, limit, what) for (n = 0; !(cond); ++n) { if (n >= (limit)) give_up(what); YIELD; }

static void script(void)
{
    switch (pt) {
    case 0:
        check(shown_page == text_start, "the Start page first");
        check(!shows(hint_line, 32, "SELECT"), "no level to choose yet");
        music = 0;
        for (n = 0; n < 40; ++n) {
            music |= AUDC2 | AUDC3 | AUDC4;
            YIELD;
        }
        check(music & 0x0F, "the Start page plays its tune");
        STRIG0 = 0;
        FRAMES(2);
        STRIG0 = 1;
        UNTIL(showing_game, 5, "the first level");

        /* POZIOM 1, the view at the top of the level, gliding down to
         * the robot; then GOTOWY?. Nothing moves meanwhile. */
        check(STATUS("POZIOM 1"), "POZIOM 1 as the level opens");
        expect(view_y, 0, "the look starts at the top");
        check((AUDC2 | AUDC3 | AUDC4) == 0, "the tune stops with the Start page");
        beetle = cell(12, 1);
        last_view = 0;
        for (n = 0; n < 90; ++n) {
            check(view_y >= last_view, "the view goes down");
            last_view = view_y;
            YIELD;
        }
        check(STATUS("POZIOM 1"), "POZIOM 1 while it looks");
        UNTIL(STATUS("GOTOWY?"), 10, "GOTOWY? after the look");
        expect(view_y, 18 * 8 - 44, "the look ends at the robot");
        check(STATUS("OPTION: OD NOWA"), "the status line names the restart");
        FRAMES(100);
        expect(cell(12, 1), beetle, "the beetle waits for the first push");
        check(robot_x == 5 && robot_y == 18, "so does the robot");

        /* The beam from the gun at the left of row 20 to the wall. */
        for (n = 1; n <= 14; ++n)
            expect(CELL_CHAR(n, 20), beam_chars[1], "the beam over the floor of row 20");
        expect(CELL_CHAR(5, 19), tilemap[code_of('b')], "the box above it");
        STICK0 = STICK_DOWN;
        FRAMES(1);
        STICK0 = STICK_NONE;
        FRAMES(2 * STEP);
        expect(cell(5, 20), code_of('b'), "the box pushed into the beam");
        expect(CELL_CHAR(5, 20), tilemap[code_of('b')], "and drawn there");
        for (n = 1; n <= 4; ++n)
            expect(CELL_CHAR(n, 20), beam_chars[1], "the beam up to the box");
        for (n = 6; n <= 14; ++n)
            expect(CELL_CHAR(n, 20), tilemap[0], "and no further");
        check(cell(12, 1) != beetle, "the beetle walks once the robot has");

        /* OPTION: the level as it was, the lives as they were. */
        CONSOL = CONSOL_OPTION;
        FRAMES(1);
        CONSOL = CONSOL_NONE;
        FRAMES(3);
        expect(lives, 3, "a restart is free");
        expect(cell(5, 19), code_of('b'), "the box back in its place");
        expect(CELL_CHAR(5, 20), beam_chars[1], "the beam whole again");
        check(STATUS("GOTOWY?"), "GOTOWY? after a restart");
        expect(view_y, 18 * 8 - 44, "with no look from the top");

        /* A step left onto ammunition, a shot right: it flies a cell a
         * frame (as player 1) over the 11 floor cells to the level's
         * edge, and the next step waits for it. */
        STICK0 = STICK_LEFT;
        FRAMES(1);
        STICK0 = STICK_NONE;
        FRAMES(STEP);
        expect(shots, 5, "five shots picked up");
        STRIG0 = 0;
        STICK0 = STICK_RIGHT;
        UNTIL(shot_on, STEP, "a shot");
        STRIG0 = 1;
        STICK0 = STICK_NONE;
        last_view = shot_px;
        for (n = 0; shot_on; ++n) {
            check(shot_px == last_view, "a cell a frame");
            check(n == 0 || gliding, "the step waits for it");
            last_view = shot_px + 8;
            YIELD;
        }
        expect(n, 1 + 11, "from the robot's cell over the floor to the edge");
        expect(last_view - 8, 8 * 15, "into the last column");

        /* Two quick taps left, into the open exit. */
        STICK0 = STICK_LEFT;
        FRAMES(1);
        STICK0 = STICK_NONE;
        FRAMES(1);
        STICK0 = STICK_LEFT;
        FRAMES(1);
        STICK0 = STICK_NONE;
        UNTIL(STATUS("POZIOM UKONCZONY"), 3 * STEP, "POZIOM UKONCZONY");
        UNTIL(STATUS("POZIOM 2"), 60, "the second level");
        check(n >= 45, "POZIOM UKONCZONY for about a second");
        expect(level_reached, 1, "the second level reached");

        /* Three deaths in the beam of the second level: KONIEC GRY. Fire
         * continues there with three lives; after three deaths more START
         * goes to the Start page. */
        for (round = 0; round < 2; ++round) {
            for (deaths = 0; deaths < 3; ++deaths) {
                lives_before = lives;
                STICK0 = STICK_RIGHT;
                FRAMES(1);
                STICK0 = STICK_NONE;
                UNTIL(lives < lives_before, 2 * STEP, "a death in the beam");
                UNTIL(!showing_game || STATUS("GOTOWY?"), 60, "the level again");
            }
            check(shown_page == message, "KONIEC GRY on the message page");
            check(shows(message, 256, "KONIEC GRY"), "KONIEC GRY");
            check(shows(message, 256, "FIRE: DALEJ OD POZIOMU 02"), "the continue offered");
            FRAMES(2);
            if (round == 0) {
                STRIG0 = 0;
                FRAMES(2);
                STRIG0 = 1;
                UNTIL(showing_game, 5, "the continue");
                check(STATUS("POZIOM 2"), "where the game ended");
                expect(lives, 3, "with three lives");
                expect(lv_index, 1, "the second level");
            }
        }
        CONSOL = CONSOL_START;
        FRAMES(1);
        CONSOL = CONSOL_NONE;
        UNTIL(shown_page == text_start, 3, "the Start page after START");

        /* SELECT steps through the levels reached, round to the first. */
        for (round = 0; round < 3; ++round) {
            check(shows(hint_line, 32, round == 1 ? "SELECT: POZIOM 02" : "SELECT: POZIOM 01"),
                  "SELECT steps round the levels reached");
            CONSOL = CONSOL_SELECT;
            FRAMES(1);
            CONSOL = CONSOL_NONE;
            FRAMES(1);
        }
        STRIG0 = 0;
        FRAMES(2);
        STRIG0 = 1;
        UNTIL(showing_game, 5, "the level chosen");
        check(STATUS("POZIOM 2"), "level 2 chosen");
        expect(lives, 3, "a new game's lives");
        exit(result());
    }
}

/* The game's wait for the next frame. */
void on_frame(void)
{
    SKSTAT = 0xFF; /* no key held (the sound writes SKCTL at this address) */
    script();
}

int main(void)
{
    put_level(2, "................|"
                 "............H...|"
                 "||||||||||||||||"
                 "..E.aR..........|"
                 ".....b..........|"
                 ">..............#");
    put_level(5, "....v...........|"
                 "................|"
                 "...R............");
    order_table[0] = 0x82;
    order_table[1] = 0x85;
    order_table[2] = 0xFF;
    STICK0 = STICK_NONE;
    STRIG0 = 1;
    CONSOL = CONSOL_NONE;
    SKSTAT = 0xFF;
    pt = 0; /* TESTBSS is not cleared for us */
    game_main();
    return 1;
}
