/* Each effect sounds on POKEY channel 1, fades and falls silent; a new
 * effect replaces the one playing; unknown effects are ignored. No two
 * effects sound alike. */
#include <stdio.h>

void __fastcall__ sound_play(unsigned char effect);
void sound_tick(void);

#define AUDF1 (*(volatile unsigned char *)0xD200)
#define AUDC1 (*(volatile unsigned char *)0xD201)

#define EFFECTS 11 /* SND_SCREW .. SND_AMMO */

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
    unsigned char effect, frames, pitch, other;
    static unsigned char first[EFFECTS + 1], second[EFFECTS + 1], tone[EFFECTS + 1], length[EFFECTS + 1];
    for (effect = 1; effect <= EFFECTS; ++effect) {
        AUDC1 = 0;
        sound_play(effect);
        check((AUDC1 & 0x0F) == 15, "starts loud", effect);
        pitch = AUDF1;
        first[effect] = pitch;
        tone[effect] = AUDC1 & 0xF0;
        sound_tick();
        second[effect] = AUDF1;
        check(AUDC1 & 0x0F, "still sounding a frame later", effect);
        if (effect == 1)
            check(AUDF1 < pitch, "the screw's note rises", effect);
        if (effect == 4)
            check(AUDF1 > pitch, "the lost life's note falls", effect);
        if (effect == 5)
            check(AUDF1 < pitch, "the opened exit's note rises", effect);
        for (frames = 1; AUDC1 != 0 && frames < 100; ++frames)
            sound_tick();
        check(frames < 40, "falls silent within a moment", effect);
        length[effect] = frames;
        AUDC1 = 0x55;
        sound_tick();
        check(AUDC1 == 0x55, "leaves POKEY alone once over", effect);
    }

    for (effect = 1; effect <= EFFECTS; ++effect)
        for (other = 1; other < effect; ++other)
            check(first[effect] != first[other] || second[effect] != second[other] ||
                      tone[effect] != tone[other] || length[effect] != length[other],
                  "sounds like an earlier effect", effect);

    sound_play(4);
    sound_tick();
    sound_play(3);
    check(AUDC1 >> 4 == 0x8, "a push replaces a lost life", 3);
    AUDC1 = 0x55;
    sound_play(0);
    sound_play(EFFECTS + 1);
    check(AUDC1 == 0x55, "unknown effects are ignored", 0);
    return failures != 0;
}
