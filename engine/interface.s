; What a 6502 outside the machine needs to run the rules image (rules.cfg):
; the zero-page cells and the constants of the rules and the controls,
; exported so that ld65's label file, and the export table the build makes
; from it, names them with the routines. Nothing here is code or data.

.include "zp.inc"
.include "tiles.inc"
.include "level.inc"
.include "rules.inc"

; The rules' state and what the routines report.
.exportzp robot_x, robot_y, screws_left, exit_open, keys, shots, dirty
.exportzp r_events, r_more
; The controls' inputs and state.
.exportzp in_stick, in_trig, in_keys, gliding, paused, lives
.exportzp events, events_more, step_wait, opening

.export LEVEL_W, LEVEL_H, LEVEL_CELLS
.export DIR_UP, DIR_RIGHT, DIR_DOWN, DIR_LEFT
.export EV_MOVED, EV_SCREW, EV_DOOR, EV_PUSH, EV_DIED, EV_EXIT, EV_LIFE, EV_TELEPORT
.export EVX_KEY, EVX_AMMO, EVX_SHOT, EVX_BOOM, EVX_OPENED, EVX_RESTART
.export STICK_NONE, STICK_UP, STICK_DOWN, STICK_LEFT, STICK_RIGHT
.export IN_PAUSE, IN_RESTART, OPENING_READY
.export T_FLOOR, T_WALL, T_ROBOT, T_EXIT, T_SCREW
