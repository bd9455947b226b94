/* The engine as C tests see it (sim_engine.s), and level fixtures. */
#ifndef SIM_ENGINE_H
#define SIM_ENGINE_H

extern unsigned char level_buf[496];
extern unsigned char robot_x, robot_y, screws_left, exit_open, shots, dirty;
extern unsigned char keys[3];
extern unsigned char r_more; /* the second byte of event bits (EVX_) */
#pragma zpsym("r_more")
#pragma zpsym("robot_x")
#pragma zpsym("robot_y")
#pragma zpsym("screws_left")
#pragma zpsym("exit_open")
#pragma zpsym("shots")
#pragma zpsym("dirty")
#pragma zpsym("keys")

unsigned char __fastcall__ rules_init(unsigned char screws_bcd);
unsigned char __fastcall__ rules_step(unsigned char dir);
unsigned char rules_tick(void);
unsigned char __fastcall__ rules_fire(unsigned char dir);

enum { UP, RIGHT, DOWN, LEFT };
enum {
    EV_MOVED = 0x01, EV_SCREW = 0x02, EV_DOOR = 0x04, EV_PUSH = 0x08,
    EV_DIED = 0x10, EV_EXIT = 0x20, EV_LIFE = 0x40, EV_TELEPORT = 0x80
};
enum {
    EVX_KEY = 0x01, EVX_AMMO = 0x02, EVX_SHOT = 0x04, EVX_BOOM = 0x08,
    EVX_OPENED = 0x10, EVX_RESTART = 0x20
};

/* The controls (play.s, through sim_play.s). */
extern unsigned char in_stick, in_trig, in_keys, gliding, paused, lives, opening;
#pragma zpsym("in_stick")
#pragma zpsym("in_trig")
#pragma zpsym("in_keys")
#pragma zpsym("gliding")
#pragma zpsym("paused")
#pragma zpsym("lives")
#pragma zpsym("opening")
void play_start(void);
/* Event bits of the frame: EV_ in the low byte, EVX_ in the high byte. */
unsigned int play_frame(void);
/* in_stick values (STICK0: a 0 bit is pushed) and in_keys bits. */
enum { STICK_UP = 0x0E, STICK_DOWN = 0x0D, STICK_LEFT = 0x0B, STICK_RIGHT = 0x07, STICK_NONE = 0x0F };
enum { IN_PAUSE = 0x01, IN_RESTART = 0x02 };

#endif

/* Fixtures (fixture.c). load() fills level_buf from rows of characters
 * separated by '|', one character a cell; every cell not given is a wall:
 *   . floor   # wall    % rubble  E exit    R robot   _ pit
 *   * screw   a ammo    + battery x y z keys 1-3    X Y Z doors 1-3
 *   b box     q bomb    ^ > v < lasers    n e s w magnets (up right down left)
 *   T U teleports 1-2   8 6 2 4 one-way up right down left
 *   H V beetles (across, up and down)     @ eye     $ spark */
void load(const char *rows);
unsigned char cell(unsigned char x, unsigned char y);
unsigned char code_of(char c);
/* Counts a failure and names it on the output when ok is 0. */
void check(unsigned char ok, const char *what);
/* Checks that A equals B, naming the check and both values when not. */
void expect(unsigned int a, unsigned int b, const char *what);
/* The exit code: 0 when every check passed. */
int result(void);
