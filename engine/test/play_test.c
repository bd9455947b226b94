/* The controls (play.s) fed the joystick and keys frame by frame, as the
 * game feeds them from the hardware: nothing moves before the first push
 * (and the look over the level), no push is lost, a tap is one cell and a
 * held stick walks and stops the step after it is let go, one press of
 * the trigger fires once; the free restart, a death's life, and pause.
 * A step is 8 frames. */
#include "sim_engine.h"

#define STEP 8
#define FIRE_REPEAT 4
#define TAP 15 /* frames a push may be held and still be one step */

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

/* The level of `rows` starts with the stick as given, fire and the keys
 * let go, 3 lives: the controls wait for the first push. */
static void start(const char *rows, unsigned char stick)
{
    load(rows);
    rules_init(0x01);
    in_stick = stick;
    in_trig = 1;
    in_keys = 0;
    gliding = 0;
    lives = 3;
    play_start();
    moves = 0;
}

/* An open row for the robot at column 0, nothing held, 3 lives; a press
 * of fire ends the wait for the first push, and a step (only the tick)
 * follows at once: the next step is STEP frames on. */
static void begin(const char *rows)
{
    start(rows, STICK_NONE);
    in_trig = 0;
    play_frame();
    in_trig = 1;
    play_frame();
    moves = 0;
}

/* n pushes of the stick to the right, each held `on` frames and let go
 * `off` frames. */
static void pushes(unsigned char n, unsigned char on, unsigned char off)
{
    while (n--) {
        in_stick = STICK_RIGHT;
        frames(on);
        in_stick = STICK_NONE;
        frames(off);
    }
}

#define ROW "R..............."

/* A tap of 1 to TAP frames (250 ms at 60 frames a second), whenever it
 * falls between two steps, moves the robot exactly one cell, and nothing
 * more comes of it. */
static void taps(void)
{
    unsigned char phase, length;
    for (phase = 0; phase < STEP; ++phase)
        for (length = 1; length <= TAP; ++length) {
            begin(ROW);
            frames(phase);
            pushes(1, length, 4 * STEP);
            expect(moves, 1, "a tap moves one cell");
            expect(robot_x, 1, "one cell to the right");
        }
}

/* Pushes made while a step is under way wait for steps of their own, three
 * at most: two pushes within one step are two cells, four quick pushes
 * four, and a fifth while three wait is dropped. */
static void queued(void)
{
    unsigned char phase;
    for (phase = 0; phase < STEP; ++phase) {
        begin(ROW);
        frames(phase);
        pushes(2, 2, 1);
        frames(4 * STEP);
        expect(moves, 2, "two pushes in one step: two cells");

        begin(ROW);
        frames(phase);
        pushes(4, 2, 2); /* 320 ms */
        frames(6 * STEP);
        expect(moves, 4, "four quick pushes: four cells");
    }

    /* The first push meets a step at once; three more wait; the fifth,
     * still before the next step, finds no room. */
    begin(ROW);
    frames(STEP - 1);
    pushes(5, 1, 1);
    frames(6 * STEP);
    expect(moves, 4, "a fifth push while three wait is dropped");
    expect(robot_x, 4, "four cells");

    /* A tap ahead through a corner: right, right, down, all in one step. */
    begin("R..|...|...");
    frames(1);
    pushes(2, 1, 1);
    in_stick = STICK_DOWN;
    frames(1);
    in_stick = STICK_NONE;
    frames(4 * STEP);
    check(robot_x == 2 && robot_y == 1, "right, right, down");
}

/* Held longer than a tap, the stick walks a cell a step from the first step
 * after TAP frames, and the robot stops at the step after it is let go:
 * pushing on for another cell would be a step the player did not ask for.
 * A new direction while held is taken. */
static void held(void)
{
    static const unsigned char holds[] = {TAP + 1, 20, 24, 33, 60, 100};
    unsigned char phase, h, k, first, walked;
    for (phase = 0; phase < STEP; ++phase)
        for (h = 0; h < sizeof holds; ++h) {
            begin(ROW);
            frames(phase);
            pushes(1, holds[h], 5 * STEP);
            /* The push's own step comes `first` frames after it; at the
             * steps after it the stick has been held k + 1 frames. */
            first = STEP - 1 - phase;
            walked = 0;
            for (k = first + STEP; k < holds[h]; k += STEP)
                if (k + 1 > TAP)
                    ++walked;
            expect(moves, 1 + walked, "one cell a step while held, none after");
            check(holds[h] < 60 || moves >= holds[h] / STEP - 2, "a long hold walks on");
        }

    begin("R...|....");
    in_stick = STICK_RIGHT;
    frames(4 * STEP);
    in_stick = STICK_DOWN;
    frames(STEP);
    in_stick = STICK_NONE;
    frames(3 * STEP);
    check(robot_x == 3 && robot_y == 1, "right, on to the right, then down");

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
    frames(STEP);
    expect(shots, 9 - 4, "a new push while fire is held shoots at its step");
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

/* The restart key reports a restart, once a press, even while paused, and
 * takes no life; a death takes one, and none is left to take at 0. */
static void restart(void)
{
    unsigned int ev;
    begin(ROW);
    in_keys = IN_RESTART;
    ev = play_frame();
    expect(ev, EV_DIED | EVX_RESTART << 8, "restart");
    expect(lives, 3, "a restart is free");
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
    expect(lives, 3, "still free");
    in_keys = 0;

    begin("RH#");
    pushes(1, 1, STEP);
    expect(lives, 2, "walking into a beetle costs a life");
    begin("RH#");
    lives = 0;
    pushes(1, 1, STEP);
    expect(lives, 0, "no life below none");
}

/* The pause key toggles once a press; while paused nothing moves or is
 * taken from the stick (which scrolls the view then), so a stick held in
 * the pause pushes nothing when it ends: held on, it walks once it has
 * been held longer than a tap. */
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
    frames(TAP - 1);
    expect(moves, 0, "the stick held in the pause is no push");
    frames(3 * STEP);
    check(moves >= 2, "held on, it walks");

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

/* Before the first push or fire press nothing moves: not the robot, not a
 * beetle. A look over the level (`opening` above 1) comes first; fire
 * skips it to the wait, a push ends both and is the first step. A stick
 * held from before the level is no push, and the press of fire that ends
 * the wait shoots nothing. */
static void opening_(void)
{
    unsigned int seen;
    start("R.......H.......", STICK_RIGHT); /* held from before */
    shots = 5;
    opening = 1 + 40;
    seen = frames(30);
    expect(opening, 11, "the look counts down a frame at a time");
    in_trig = 0;
    seen |= frames(1);
    expect(opening, 1, "fire skips the look to the wait");
    in_trig = 1;
    in_stick = STICK_NONE;
    seen |= frames(200);
    expect(seen, 0, "nothing happens in the look and the wait");
    expect(cell(8, 0), code_of('H'), "the beetle waits too");
    expect(robot_x, 0, "and the robot");
    in_trig = 0;
    frames(1);
    in_trig = 1;
    expect(opening, 0, "a fire press ends the wait");
    frames(STEP);
    expect(shots, 5, "and shoots nothing");
    check(cell(8, 0) != code_of('H'), "then the beetle walks");

    start("R.......H.......", STICK_NONE);
    opening = 1 + 40;
    frames(5);
    in_stick = STICK_RIGHT;
    seen = frames(1);
    expect(opening, 0, "a push ends the look");
    expect(moves, 1, "and is the first step, at once");
    check(seen & EV_MOVED, "moved");
    expect(cell(9, 0), code_of('H'), "the beetle's first step with it");
    in_stick = STICK_NONE;
}

/* A battery gives a life, nine at most. */
static void batteries(void)
{
    begin("R++");
    in_stick = STICK_RIGHT;
    frames(STEP);
    expect(lives, 4, "a battery's life");
    lives = 9;
    frames(2 * STEP);
    expect(lives, 9, "nine at most");
}

int main(void)
{
    opening_();
    taps();
    queued();
    held();
    fire();
    restart();
    pausing();
    batteries();
    return result();
}
