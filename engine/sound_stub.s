; Stand-in sound until the real module lands.
.export sound_play, sound_tick
.segment "CODE"
sound_play:
sound_tick:
        rts
