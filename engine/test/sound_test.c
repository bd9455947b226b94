/* Each effect sounds on POKEY channel 1, fades and falls silent; a new
 * effect replaces the one playing; unknown effects are ignored. */
#include <stdio.h>

void __fastcall__ sound_play(unsigned char effect);
void sound_tick(void);

#define AUDF1 (*(volatile unsigned char *)0xD200)
#define AUDC1 (*(volatile unsigned char *)0xD201)

static unsigned char failures;

static void check(unsigned char ok, const char *what, unsigned char effect)
{
    if (!ok) {
        printf("FAILED: effect %u: %s\n", effect, what);
        ++failures;
    }
}

int main(void)
{
    unsigned char effect, frames, pitch;
    for (effect = 1; effect <= 4; ++effect) {
        AUDC1 = 0;
        sound_play(effect);
        check((AUDC1 & 0x0F) == 15, "starts loud", effect);
        pitch = AUDF1;
        sound_tick();
        check(AUDC1 & 0x0F, "still sounding a frame later", effect);
        if (effect == 1)
            check(AUDF1 < pitch, "the screw's note rises", effect);
        if (effect == 4)
            check(AUDF1 > pitch, "the lost life's note falls", effect);
        for (frames = 1; AUDC1 != 0 && frames < 100; ++frames)
            sound_tick();
        check(frames < 40, "falls silent within a moment", effect);
        AUDC1 = 0x55;
        sound_tick();
        check(AUDC1 == 0x55, "leaves POKEY alone once over", effect);
    }

    sound_play(4);
    sound_tick();
    sound_play(3);
    check(AUDC1 >> 4 == 0x8, "a push replaces a lost life", 3);
    AUDC1 = 0x55;
    sound_play(0);
    sound_play(9);
    check(AUDC1 == 0x55, "unknown effects are ignored", 0);
    return failures != 0;
}
