; Gives C tests the engine's routines and zero-page state under C names:
; cc65 calls with the last argument in A and expects results in A/X.

.include "zp.inc"
.include "rules.inc"

.export _level_buf := level_buf
.export _robot_x := robot_x, _robot_y := robot_y
.export _screws_left := screws_left, _exit_open := exit_open
.export _keys := keys, _shots := shots, _dirty := dirty
.export _r_more := r_more
.export _rules_init, _rules_step, _rules_tick, _rules_fire

; Returns 1 when the level has no robot.
_rules_init:
        jsr     rules_init
        lda     #0
        rol     a
        ldx     #0
        rts

; The first byte of event bits; the second stays in r_more.
_rules_step:
        jsr     rules_step
        ldx     #0
        rts

_rules_tick:
        jsr     rules_tick
        ldx     #0
        rts

_rules_fire:
        jsr     rules_fire
        ldx     #0
        rts
