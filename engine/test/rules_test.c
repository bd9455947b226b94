/* Scenarios of the robot's moves: rules_init and rules_step over small
 * level fixtures (see fixture.c for the characters). */
#include "sim_engine.h"

/* The start cell becomes floor; a level without a robot is refused. The
 * robot is found past the first 256 cells too. */
static void start(void)
{
    load("##########|##########|##########|##########|##########|##########|"
         "##########|##########|##########|##########|##########|##########|"
         "##########|##########|##########|##########|##########|##########|"
         "##########|##########|##########|##########|##########|##########|"
         "#########R");
    expect(rules_init(0x12), 0, "a level with a robot starts");
    expect(robot_x, 9, "robot column");
    expect(robot_y, 24, "robot row");
    expect(cell(9, 24), 0x00, "start cell left as floor");
    expect(screws_left, 0x12, "screw count kept as BCD");
    check(!exit_open, "the exit starts shut when screws are asked");

    load("..E");
    expect(rules_init(0x00), 1, "a level with no robot is refused");

    /* A count that is not packed BCD counts as the editor reads it: each
     * digit by its value, at most 99. */
    load("R");
    rules_init(0x1A);
    expect(screws_left, 0x20, "$1A is 1 * 10 + 10");
    rules_init(0x0F);
    expect(screws_left, 0x15, "$0F is 15");
    rules_init(0x9F);
    expect(screws_left, 0x99, "$9F is 105: 99 at most");
    rules_init(0xFF);
    expect(screws_left, 0x99, "$FF is 165: 99 at most");
    rules_init(0x99);
    expect(screws_left, 0x99, "99 stays");
}

/* Walls, rubble, shut doors, pits, machines and the level's edges stop
 * the robot without changing anything. */
static void blockers(void)
{
    static const char *const around[] = {
        "#R", "%R", "XR", "_R", ">R", "eR", "ER", "6R"
    };
    unsigned char i;
    for (i = 0; i < sizeof around / sizeof around[0]; ++i) {
        load(around[i]);
        rules_init(0x01);
        dirty = 0;
        expect(rules_step(LEFT), 0, around[i]);
        check(robot_x == 1 && robot_y == 0 && !dirty, around[i]);
    }
    /* Row 0 and column 0 are the level's own edges; so are column 15 and
     * row 30. */
    load("R...............");
    rules_init(0x01);
    expect(rules_step(UP), 0, "the top edge stops the robot");
    expect(rules_step(LEFT), 0, "the left edge stops the robot");
    level_buf[495] = 0x04;
    level_buf[0] = 0x01;
    level_buf[479] = 0x00;
    rules_init(0x01);
    expect(rules_step(DOWN), 0, "the bottom edge stops the robot");
    expect(rules_step(RIGHT), 0, "the right edge stops the robot");
    expect(rules_step(UP), EV_MOVED, "the robot walks on floor");
    check(robot_x == 15 && robot_y == 29, "one cell up");
}

/* Screws count down in BCD; the exit opens at zero and entering it ends
 * the level. Screws past the count are still picked up. */
static void screws_and_exit(void)
{
    load("E.R***");
    rules_init(0x02);
    expect(rules_step(LEFT), EV_MOVED, "towards the exit");
    expect(rules_step(LEFT), 0, "the shut exit blocks");
    rules_step(RIGHT);
    dirty = 0;
    expect(exit_open, 0, "shut before");
    expect(rules_step(RIGHT), EV_MOVED | EV_SCREW, "first screw");
    expect(r_more, 0, "no news of the exit yet");
    expect(exit_open, 0, "shut after");
    check(dirty && cell(3, 0) == 0x00, "the screw is taken off the level");
    expect(screws_left, 0x01, "one screw still needed");
    check(!exit_open, "the exit stays shut with a screw to go");
    expect(rules_step(RIGHT), EV_MOVED | EV_SCREW, "second screw");
    expect(r_more, EVX_OPENED, "the last screw needed opens the exit");
    check(exit_open && screws_left == 0, "the exit opens at zero");
    expect(rules_step(RIGHT), EV_MOVED | EV_SCREW, "a screw too many");
    expect(r_more, 0, "the exit was open already");
    expect(screws_left, 0x00, "the count stays at zero");
    rules_step(LEFT);
    rules_step(LEFT);
    rules_step(LEFT);
    rules_step(LEFT);
    expect(rules_step(LEFT), EV_MOVED | EV_EXIT, "into the open exit");
    expect(robot_x, 0, "the robot stands in the exit");

    load("R*");
    rules_init(0x10);
    rules_step(RIGHT);
    expect(screws_left, 0x09, "ten less one is nine in BCD");

    load("RE");
    rules_init(0x00);
    expect(rules_step(RIGHT), EV_MOVED | EV_EXIT, "no screws asked: open at once");
}

/* Boxes and bombs go one cell on, onto floor only; a box fills a pit. */
static void pushing(void)
{
    load("Rb.#|Rbb.|Rq_.|R*b.|Rb*.|Rb_.");
    rules_init(0x01);
    expect(rules_step(RIGHT), EV_MOVED | EV_PUSH, "push a box");
    check(cell(1, 0) == 0x00 && cell(2, 0) == 0x30, "the box moved one cell");
    expect(rules_step(RIGHT), 0, "a box against a wall stays");
    expect(robot_x, 1, "and so does the robot");

    robot_x = 0; robot_y = 1;
    expect(rules_step(RIGHT), 0, "two boxes are never pushed at once");
    check(cell(1, 1) == 0x30 && cell(2, 1) == 0x30, "both boxes stay");

    robot_x = 0; robot_y = 2;
    expect(rules_step(RIGHT), 0, "a bomb does not go into a pit");
    check(cell(1, 2) == 0x31 && cell(2, 2) == 0x05, "bomb and pit stay");

    robot_x = 0; robot_y = 4;
    expect(rules_step(RIGHT), 0, "a box is not pushed onto a screw");

    robot_x = 0; robot_y = 5;
    expect(rules_step(RIGHT), EV_MOVED | EV_PUSH, "push a box into a pit");
    check(cell(2, 5) == 0x00 && cell(1, 5) == 0x00, "the pit is filled");
    expect(rules_step(RIGHT), EV_MOVED, "walk over the filled pit");
    expect(rules_step(RIGHT), EV_MOVED, "and on");

    load("...............b|...............R");
    rules_init(0x01);
    expect(rules_step(UP), 0, "no pushing off the top edge");

    load("...q.|...R|...");
    rules_init(0x01);
    rules_step(LEFT);
    rules_step(UP);
    expect(rules_step(RIGHT), EV_MOVED | EV_PUSH, "a bomb pushed sideways");
    check(cell(4, 0) == 0x31 && cell(3, 0) == 0x00, "the bomb moved");
    check(robot_x == 3 && robot_y == 0, "the robot follows");
}

/* A key opens one door of its number and is used up by it. */
static void keys_and_doors(void)
{
    load("RyxXX|##Y");
    rules_init(0x01);
    expect(rules_step(RIGHT), EV_MOVED, "take key 2");
    expect(r_more, EVX_KEY, "a key was picked up");
    expect(rules_step(RIGHT), EV_MOVED, "take key 1");
    check(keys[0] == 1 && keys[1] == 1 && keys[2] == 0, "keys held");
    check(cell(1, 0) == 0 && cell(2, 0) == 0, "keys taken off the level");
    expect(rules_step(RIGHT), EV_MOVED | EV_DOOR, "door 1 opens");
    expect(r_more, 0, "no key picked up");
    check(cell(3, 0) == 0x00 && keys[0] == 0, "the key is used up");
    expect(rules_step(RIGHT), 0, "the second door 1 stays shut");
    rules_step(LEFT);
    expect(rules_step(DOWN), EV_MOVED | EV_DOOR, "door 2 opens for key 2");

    load("RZ");
    rules_init(0x01);
    keys[0] = 2; keys[1] = 2;
    expect(rules_step(RIGHT), 0, "door 3 wants key 3");
}

/* A teleport moves the robot to the other teleport of its number. */
static void teleports(void)
{
    load("RTU.|....|..U.|"
         "|||||||||||||||||"
         "..T.");
    rules_init(0x01);
    expect(rules_step(RIGHT), EV_MOVED | EV_TELEPORT, "into teleport 1");
    check(robot_x == 2 && robot_y == 20, "out at the other teleport 1");
    check(cell(1, 0) == 0x48 && cell(2, 20) == 0x48, "teleports stay");
    expect(rules_step(RIGHT), EV_MOVED, "walk off the teleport");
    expect(rules_step(LEFT), EV_MOVED | EV_TELEPORT, "back through teleport 1");
    check(robot_x == 1 && robot_y == 0, "out at the first one");
    rules_step(DOWN);
    rules_step(RIGHT);
    expect(rules_step(UP), EV_MOVED | EV_TELEPORT, "into teleport 2");
    check(robot_x == 2 && robot_y == 2, "out at the other teleport 2");

    load("RT");
    rules_init(0x01);
    expect(rules_step(RIGHT), EV_MOVED, "a lone teleport is just a cell");
    expect(robot_x, 1, "standing on it");
}

/* One-way cells are entered only in their own direction. */
static void one_way(void)
{
    load(".2..|R6.4|.8..|....");
    rules_init(0x01);
    expect(rules_step(RIGHT), EV_MOVED, "oneway-right entered moving right");
    expect(rules_step(RIGHT), EV_MOVED, "and left the same way");
    expect(rules_step(RIGHT), 0, "oneway-left not entered moving right");
    robot_x = 1; robot_y = 3;
    expect(rules_step(UP), EV_MOVED, "oneway-up entered moving up");
    expect(rules_step(UP), 0, "oneway-right not entered moving up");
    robot_x = 0; robot_y = 0;
    expect(rules_step(RIGHT), 0, "oneway-down not entered moving right");
}

/* Pick-ups and enemies. */
static void pickups_and_enemies(void)
{
    load("R+aaH");
    rules_init(0x01);
    expect(rules_step(RIGHT), EV_MOVED | EV_LIFE, "a battery gives a life");
    expect(rules_step(RIGHT), EV_MOVED, "ammunition");
    expect(r_more, EVX_AMMO, "ammunition picked up");
    expect(shots, 5, "one box of shots");
    rules_step(RIGHT);
    expect(shots, 10, "shots add up");
    check(cell(1, 0) == 0 && cell(2, 0) == 0 && cell(3, 0) == 0, "pick-ups taken");
    expect(rules_step(RIGHT), EV_DIED, "walking into a beetle");
    expect(robot_x, 3, "the robot does not move into it");
}

/* A small level played as the game does, a tick after every move: a
 * screw, a box into a pit, a key for a door, the last screw, a teleport to
 * the exit, while a beetle patrols its own corridor. */
static void played_through(void)
{
    static const unsigned char moves[] = {
        RIGHT, RIGHT, RIGHT, RIGHT, RIGHT, RIGHT, RIGHT, RIGHT, RIGHT, LEFT, LEFT
    };
    static const unsigned char events[] = {
        EV_MOVED | EV_SCREW, EV_MOVED | EV_PUSH, EV_MOVED, EV_MOVED, EV_MOVED,
        EV_MOVED | EV_DOOR, EV_MOVED | EV_SCREW, EV_MOVED | EV_TELEPORT,
        0, EV_MOVED, EV_MOVED | EV_EXIT
    };
    unsigned char i, ev;
    load("R*b_.xX*T#|"
         "##########|"
         "E.T#######|"
         "##########|"
         "#H......#");
    rules_init(0x02);
    for (i = 0; i < sizeof moves; ++i) {
        ev = rules_step(moves[i]);
        ev |= rules_tick();
        expect(ev, events[i], "move of the played level");
    }
    check(robot_x == 0 && robot_y == 2, "the robot ends in the exit");
    check(cell(3, 0) == 0 && cell(6, 0) == 0, "pit filled, door open");
    for (i = 1, ev = 0; i < 8; ++i)
        ev += cell(i, 4) == 0x50;
    expect(ev, 1, "one beetle still on patrol");
}

int main(void)
{
    start();
    blockers();
    screws_and_exit();
    pushing();
    keys_and_doors();
    teleports();
    one_way();
    pickups_and_enemies();
    played_through();
    return result();
}
