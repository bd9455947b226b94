; The controls (play.s) under C names for sim65 tests: their inputs and
; state in zero page, and the two routines, whose event bits come back as
; one 16-bit value (EV_ in the low byte, EVX_ in the high byte).

.include "zp.inc"
.include "rules.inc"

.export _in_stick := in_stick, _in_trig := in_trig, _in_keys := in_keys
.export _gliding := gliding, _paused := paused, _lives := lives, _opening := opening
.export _play_start := play_start, _play_frame := play_frame
