/* The engine as C tests see it (sim_engine.s), and level fixtures. */
#ifndef SIM_ENGINE_H
#define SIM_ENGINE_H

extern unsigned char level_buf[496];
extern unsigned char robot_x, robot_y, screws_left, exit_open, shots, dirty;
extern unsigned char keys[3];
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
