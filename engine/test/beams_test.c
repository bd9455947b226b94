/* The beams as the game draws them (beams.s): each gun's beam marks the
 * floor it crosses, up to the first thing in its way (a wall, a box, the
 * robot) or any of the level's edges; crossing beams mark both ways. As a box is
 * pushed into a beam, the beam found again ends at the box. */
#include <string.h>
#include "sim_engine.h"

extern unsigned char beam_map[496];
void beams_start(void);
void beams_find(void);

enum { V = 1, H = 2 };

static unsigned char beam(unsigned char x, unsigned char y)
{
    return beam_map[y * 16 + x];
}

int main(void)
{
    unsigned char x;
    load(".v......|"
         "........|"
         ">...R.b.|"
         "........|"
         "...^....|"
         "........#");
    rules_init(0x00);
    beams_start();
    for (x = 1; x < 4; ++x)
        expect(beam(x, 2), x == 2 ? H : (V | H), "the beam across row 2 up to the robot, crossing two");
    expect(beam(4, 2), 0, "not under the robot");
    expect(beam(5, 2), 0, "nor past it");
    expect(beam(0, 2), 0, "nor on the gun");
    expect(beam(1, 5), V, "the gun at the top fires down to the edge");
    expect(beam(1, 0), 0, "from below itself");
    expect(beam(3, 3), V, "the gun in row 4 fires up");
    expect(beam(3, 0), V, "to the edge");
    expect(beam(3, 5), 0, "and not down");
    expect(beam(2, 0), 0, "floor no beam crosses");

    /* The robot pushes the box left into row 2's beam... after walking
     * round it: put it right of the box and push. */
    robot_x = 7;
    robot_y = 2;
    rules_step(LEFT);
    expect(cell(5, 2), code_of('b'), "the box pushed left");
    beams_find();
    expect(beam(4, 2), H, "the beam reaches the box now the robot is gone");
    expect(beam(5, 2), 0, "and stops there");
    expect(beam(6, 2), 0, "nothing past it");

    /* Over open floor to the level's right and bottom edges. */
    memset(level_buf, 0, sizeof level_buf);
    level_buf[2] = code_of('v');
    level_buf[5 * 16] = code_of('>');
    level_buf[10 * 16 + 10] = code_of('R');
    rules_init(0x00);
    beams_start();
    expect(beam(2, 30), V, "down to the last row");
    expect(beam(15, 5), H, "right to the last column");
    expect(beam(1, 30), 0, "and only there");
    expect(beam(2, 5), V | H, "crossing the other");

    /* A level without guns has no beams, whatever the last one had. */
    memset(level_buf, 0, sizeof level_buf);
    level_buf[0] = code_of('R');
    rules_init(0x00);
    beams_start();
    expect(beam(2, 30), 0, "no beam in a level without guns");

    /* A level of more guns than the list holds is followed whole. */
    memset(level_buf, 0, sizeof level_buf);
    for (x = 0; x < 40; ++x)
        level_buf[(x / 8) * 32 + 16 + (x % 8) * 2] = code_of('v');
    level_buf[30 * 16 + 15] = code_of('R');
    rules_init(0x00);
    beams_start();
    expect(beam(14, 30), V, "the last gun's beam");
    level_buf[30 * 16 + 14] = code_of('b');
    beams_find();
    expect(beam(14, 30), 0, "found again");
    expect(beam(14, 29), V, "up to a box");
    return result();
}
