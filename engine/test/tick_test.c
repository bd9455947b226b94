/* Scenarios of what happens by itself (rules_tick) and of shooting
 * (rules_fire), over small level fixtures (see fixture.c). */
#include "sim_engine.h"

static unsigned char ticks(unsigned char n)
{
    unsigned char ev = 0;
    while (n--)
        ev |= rules_tick();
    return ev;
}

/* Loads the rows as a level with one screw to collect. */
static void start(const char *rows)
{
    load(rows);
    rules_init(0x01);
}

/* Runs n ticks, then checks the cell at x, y. */
static void after(unsigned char n, unsigned char x, unsigned char y,
                  unsigned char code, const char *what)
{
    ticks(n);
    expect(cell(x, y), code, what);
}

/* Shots fly over floor to the first thing: rubble and enemies go, a bomb
 * goes off and clears rubble, boxes and enemies around it, not walls or
 * other bombs. Without shots nothing happens. */
static void shooting(void)
{
    start("..%...|"
          "..#.q.|"
          "..R..H|"
          "..#%b.|"
          "...$..");
    expect(rules_fire(UP), 0, "no shots, no shot");
    expect(r_more, 0, "nothing fired");
    expect(cell(2, 0), 0x02, "the rubble stays");
    shots = 3;
    rules_fire(RIGHT);
    expect(r_more, EVX_SHOT, "a shot fired");
    expect(cell(5, 2), 0x00, "a shot kills a beetle");
    expect(shots, 2, "a shot is used");
    rules_fire(LEFT);
    expect(shots, 1, "a shot into nothing is used too");
    rules_fire(DOWN);
    expect(cell(2, 3), 0x01, "walls stop shots");
    robot_x = 4; robot_y = 4;
    shots = 1;
    level_buf[4 * 16 + 4] = 0;
    expect(rules_fire(UP), 0, "a shot at a box");
    expect(cell(4, 3), 0x30, "does nothing to it");

    start("..%...|"
          ".qb%..|"
          "H.q#..|"
          ".$.q..|"
          "..R...");
    shots = 1;
    rules_fire(UP);
    expect(r_more, EVX_SHOT | EVX_BOOM, "a shot sets a bomb off");
    check(cell(2, 2) == 0 && cell(2, 1) == 0 && cell(3, 1) == 0, "box and rubble blown away");
    check(cell(1, 3) == 0, "the spark below is blown away");
    check(cell(3, 2) == 0x01, "the wall stays");
    check(cell(1, 1) == 0x31 && cell(3, 3) == 0x31, "other bombs stay");
    check(cell(0, 2) == 0x50 && cell(2, 0) == 0x02, "cells two away stay");
}

/* A laser's beam runs over floor: it kills the robot in it, blows up
 * bombs and enemies, stops at a box and leaves rubble. */
static void lasers(void)
{
    start(">...R|"
          "v.%<.|"
          ".....|"
          "q....|"
          ".....|"
          "H#...");
    expect(ticks(1) & EV_DIED, EV_DIED, "the robot in a beam dies");
    expect(r_more, EVX_BOOM, "a beam sets a bomb off");
    check(cell(0, 3) == 0 && cell(0, 2) == 0, "the beam sets the bomb off");
    check(cell(0, 5) == 0x50, "the bomb's beam stopped at the bomb");
    check(cell(2, 1) == 0x02, "a beam leaves rubble");

    start(">b..R|.....|..^..|...V.");
    expect(ticks(1), 0, "a box blocks the beam");
    robot_x = 2; robot_y = 1;
    expect(ticks(1), EV_DIED, "stepping into a beam upwards");
}

/* Beetles walk one cell a tick along their line and turn back at anything
 * in their way; a beetle moving into the robot kills it. */
static void beetles(void)
{
    start("H...#|"
          "V....|"
          ".....|"
          "#....|"
          "....R");
    ticks(1);
    check(cell(1, 0) == 0x50 && cell(0, 0) == 0, "one cell right, not two");
    check(cell(0, 2) == 0x51, "the other beetle one cell down");
    after(2, 3, 0, 0x50, "walks to the wall");
    check(cell(0, 1) == 0x51, "turned at the wall below and back");
    after(1, 3, 0, 0x50, "turns at the wall");
    after(1, 2, 0, 0x50, "and walks back");

    start("H.R");
    expect(ticks(1), 0, "one cell from the robot");
    expect(ticks(1), EV_DIED, "a beetle walking into the robot");
}

/* A spark flies diagonally and bounces off what is in its way. */
static void sparks(void)
{
    start("$...|"
          "....|"
          "....");
    robot_x = 15; robot_y = 30;
    after(1, 1, 1, 0x53, "down and right");
    after(1, 2, 2, 0x53, "again");
    after(1, 3, 1, 0x53, "bounced off the wall below");
    after(1, 2, 0, 0x53, "bounced off the wall to the right");

    start("$#|##");
    robot_x = 15; robot_y = 30;
    after(2, 0, 0, 0x53, "a boxed-in spark waits");
}

/* The eye floats towards the robot every second tick while it sees it. */
static void eye(void)
{
    start("@....R|"
          "......|"
          "@.b...|"
          "......");
    robot_x = 5; robot_y = 0;
    after(1, 1, 0, 0x52, "towards the robot");
    after(1, 1, 0, 0x52, "resting every second tick");
    robot_y = 2;
    after(4, 1, 0, 0x52, "the robot out of sight");
    expect(cell(0, 2), 0x52, "a box hides the robot");
    robot_x = 4; robot_y = 0;
    expect(ticks(4), 0, "closing in");
    expect(ticks(2), EV_DIED, "the eye reaches the robot");
}

/* A magnet pulls the robot and boxes in front of it one cell a tick, to
 * its side; other things block its pull. */
static void magnets(void)
{
    start("e..b|"
          "....|"
          "..R.|"
          "....|"
          "n...|"
          "....");
    ticks(2);
    check(cell(1, 0) == 0x30 && cell(3, 0) == 0, "the box pulled to the magnet");
    after(1, 1, 0, 0x30, "and no further");
    robot_x = 0; robot_y = 1;
    expect(ticks(1), EV_MOVED, "the robot is pulled");
    check(robot_x == 0 && robot_y == 2, "one cell down");
    ticks(3);
    check(robot_x == 0 && robot_y == 3, "to the magnet's side");

    start("s...|"
          "q...|"
          "R...");
    expect(ticks(2), 0, "a bomb is not pulled and hides the robot");
}

int main(void)
{
    shooting();
    lasers();
    beetles();
    sparks();
    eye();
    magnets();
    return result();
}
