/* The controls (play.s) fed the joystick and keys frame by frame, as the
 * game feeds them from the hardware: one push moves one cell, a held stick
 * one cell a step and nothing after it is let go, one press of the trigger
 * fires once; the restart key and pause. A step is 8 frames. */
#include "sim_engine.h"

#define STEP 8
#define FIRE_REPEAT 4

static unsigned char moves;

/* Runs n frames with the inputs as they are; counts the moves and returns
 * every event bit seen. */
static unsigned int frames(unsigned char n)
{
    unsigned int seen = 0, ev;
    while (n--) {
        ev = play_frame();
        if (ev & EV_MOVED)
            ++moves;
        seen |= ev;
    }
    return seen;
}

/* An open row for the robot at column 0, nothing held, 3 lives. */
static void begin(const char *rows)
{
    load(rows);
    rules_init(0x01);
    in_stick = STICK_NONE;
    in_trig = 1;
    in_keys = 0;
    gliding = 0;
    lives = 3;
    play_start();
    moves = 0;
}

#define ROW "R..............."

/* A tap of 1 to 8 frames, whenever it falls between two steps, moves the
 * robot exactly one cell, and nothing more comes of it. */
static void taps(void)
{
    unsigned char phase, length;
    for (phase = 0; phase < STEP; ++phase)
        for (length = 1; length <= STEP; ++length) {
            begin(ROW);
            frames(phase);
            in_stick = STICK_RIGHT;
            frames(length);
            in_stick = STICK_NONE;
            frames(4 * STEP);
            expect(moves, 1, "a tap moves one cell");
            expect(robot_x, 1, "one cell to the right");
        }
}

/* Held for n steps the stick moves n cells, one a step, and the robot stops
 * at the step after it is let go: pushing on for another cell would be a
 * step the player did not ask for. A new direction while held is taken. */
static void held(void)
{
    unsigned char phase, steps;
    for (phase = 0; phase < STEP; ++phase)
        for (steps = 2; steps <= 5; ++steps) {
            begin(ROW);
            frames(phase);
            in_stick = STICK_RIGHT;
            frames(steps * STEP);
            in_stick = STICK_NONE;
            frames(5 * STEP);
            expect(moves, steps, "one cell a step while held, none after");
        }

    begin("R...|....");
    in_stick = STICK_RIGHT;
    frames(2 * STEP);
    in_stick = STICK_DOWN;
    frames(STEP);
    in_stick = STICK_NONE;
    frames(3 * STEP);
    check(robot_x == 2 && robot_y == 1, "right twice, then down");

    /* No step while the robot's picture is still on its way. */
    begin(ROW);
    gliding = 1;
    in_stick = STICK_RIGHT;
    frames(3 * STEP);
    expect(moves, 0, "no step while gliding");
    gliding = 0;
    frames(1);
    expect(moves, 1, "the step comes once it has arrived");
}

/* Fire with a direction shoots and the robot stays: once a press, again
 * only every FIRE_REPEAT steps while held; a new push shoots at once.
 * Fire alone, or with no shots left, does nothing. */
static void fire(void)
{
    begin("R..#");
    shots = 9;
    in_trig = 0;
    in_stick = STICK_RIGHT;
    frames(3 * STEP);
    in_trig = 1;
    in_stick = STICK_NONE;
    frames(3 * STEP);
    expect(shots, 8, "one press, one shot");
    expect(moves, 0, "the robot stays while it shoots");

    begin("R..#");
    shots = 9;
    in_stick = STICK_RIGHT;
    frames(5);
    in_trig = 0;
    frames(2);
    in_trig = 1;
    frames(3 * STEP);
    in_stick = STICK_NONE;
    expect(shots, 8, "a tap of fire with the stick held");

    begin("R..#");
    shots = 9;
    in_trig = 0;
    in_stick = STICK_RIGHT;
    frames(9 * STEP);
    expect(shots, 9 - 3, "held: a shot at steps 1, 5 and 9");
    in_stick = STICK_NONE;
    frames(2 * STEP);
    in_stick = STICK_RIGHT;
    frames(2);
    expect(shots, 9 - 4, "a new push while fire is held shoots at once");
    in_stick = STICK_NONE;
    frames(STEP);
    in_trig = 1;
    frames(2 * STEP);
    expect(moves, 0, "never a step while fire is held");

    begin("R..#");
    shots = 9;
    in_trig = 0;
    frames(3 * STEP);
    in_trig = 1;
    frames(STEP);
    expect(shots, 9, "fire alone does not shoot");
    expect(moves, 0, "nor walk");
}

/* The restart key reports a lost life once a press, even while paused. */
static void restart(void)
{
    unsigned int ev;
    begin(ROW);
    in_keys = IN_RESTART;
    ev = play_frame();
    expect(ev, EV_DIED | EVX_RESTART << 8, "restart: a life lost");
    ev = frames(3 * STEP);
    check(!(ev & EV_DIED), "once a press");
    in_keys = 0;
    frames(1);

    begin(ROW);
    in_keys = IN_PAUSE;
    frames(1);
    in_keys = 0;
    frames(1);
    in_keys = IN_RESTART;
    check(play_frame() & EV_DIED, "restart from the pause");
    check(!paused, "and the pause is over");
}

/* The pause key toggles once a press; while paused nothing moves or is
 * taken from the stick, so a stick let go during the pause stays let go. */
static void pausing(void)
{
    begin(ROW);
    in_keys = IN_PAUSE;
    frames(3 * STEP);
    check(paused, "paused");
    in_keys = 0;
    in_stick = STICK_RIGHT;
    frames(4 * STEP);
    expect(moves, 0, "nothing moves while paused");
    in_keys = IN_PAUSE;
    frames(1);
    check(!paused, "resumed");
    in_keys = 0;
    frames(2 * STEP);
    /* The step clock stood still: the step that was due comes at once. */
    expect(moves, 3, "the held stick walks on after the pause");

    /* Held into the pause, let go during it: no step after resuming. */
    in_keys = IN_PAUSE;
    frames(1);
    in_keys = 0;
    moves = 0;
    in_stick = STICK_NONE;
    frames(STEP);
    in_keys = IN_PAUSE;
    frames(1);
    in_keys = 0;
    frames(4 * STEP);
    expect(moves, 0, "let go during the pause: no step after it");
}

/* A battery gives a life, nine at most. */
static void batteries(void)
{
    begin("R++");
    in_stick = STICK_RIGHT;
    frames(1);
    expect(lives, 4, "a battery's life");
    lives = 9;
    frames(STEP);
    expect(lives, 9, "nine at most");
}

int main(void)
{
    taps();
    held();
    fire();
    restart();
    pausing();
    batteries();
    return result();
}
