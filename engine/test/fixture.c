/* Level fixtures and checks for the sim65 tests of the rules. */
#include <stdio.h>
#include <string.h>
#include "sim_engine.h"

static const char legend[] = ".#%ER_*a+xyzXYZbq^>v<nesw" "TU8624HV@$";
static const unsigned char codes[] = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x10, 0x11, 0x12,
    0x20, 0x21, 0x22, 0x28, 0x29, 0x2A, 0x30, 0x31,
    0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47,
    0x48, 0x49, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53
};
static unsigned int failures;

unsigned char code_of(char c)
{
    const char *p = strchr(legend, c);
    if (p == 0 || c == 0) {
        printf("fixture: unknown cell '%c'\n", c);
        ++failures;
        return 1;
    }
    return codes[p - legend];
}

void load(const char *rows)
{
    unsigned char x = 0, y = 0;
    memset(level_buf, 1, sizeof level_buf);
    for (; *rows; ++rows) {
        if (*rows == '|') {
            ++y;
            x = 0;
        } else if (x >= 16 || y >= 31) {
            printf("fixture: cell %u,%u is off the level\n", x, y);
            ++failures;
            return;
        } else {
            level_buf[y * 16 + x++] = code_of(*rows);
        }
    }
}

unsigned char cell(unsigned char x, unsigned char y)
{
    return level_buf[y * 16 + x];
}

void check(unsigned char ok, const char *what)
{
    if (!ok) {
        printf("FAILED: %s\n", what);
        ++failures;
    }
}

void expect(unsigned int a, unsigned int b, const char *what)
{
    if (a != b) {
        printf("FAILED: %s: got $%X, expected $%X\n", what, a, b);
        ++failures;
    }
}

int result(void)
{
    if (failures)
        printf("%u check(s) failed\n", failures);
    return failures != 0;
}
