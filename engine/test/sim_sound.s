; The sound module under C names for sim65 tests (POKEY is plain memory
; there, so a test reads back what was written).
.include "rules.inc"
.export _sound_play := sound_play, _sound_tick := sound_tick
