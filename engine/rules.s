; The rules of the game, as routines over level_buf: the game copies a
; level's cells there, calls rules_init, then rules_step for each joystick
; move and rules_tick once per game step, and draws what the routines
; report. No hardware is touched here, so sim65 tests drive it directly.

.macpack longbranch            ; jeq etc.: branches that reach far

.include "zp.inc"
.include "tiles.inc"

.export level_buf, rules_init, rules_step, rules_tick, rules_fire

EV_MOVED        = $01
EV_SCREW        = $02
EV_DOOR         = $04
EV_PUSH         = $08
EV_DIED         = $10
EV_EXIT         = $20
EV_LIFE         = $40
EV_TELEPORT     = $80

AMMO_SHOTS      = 5             ; shots in one ammunition box
MAX_SHOTS       = 99

.segment "BSS"
level_buf:      .res LEVEL_CELLS

.segment "RODATA"
dir_dx:         .byte 0, 1, 0, $FF
dir_dy:         .byte $FF, 0, 1, 0

.segment "CODE"

; ---------------------------------------------------------------- cells

; Points r_ptr at row r_y of level_buf and loads Y with r_x, so that
; (r_ptr),y is the cell at r_x, r_y.
row_ptr:
        lda     #0
        sta     r_ptr+1
        lda     r_y
        asl     a
        asl     a
        asl     a
        asl     a               ; rows past 15 carry into the high byte
        rol     r_ptr+1
        clc
        adc     #<level_buf
        sta     r_ptr
        lda     r_ptr+1
        adc     #>level_buf
        sta     r_ptr+1
        ldy     r_x
        rts

; A = r_code = the cell at r_x, r_y; flags follow A.
get_cell:
        jsr     row_ptr
        lda     (r_ptr),y
        sta     r_code
        rts

; Stores A in the cell at r_x, r_y and marks the buffer dirty.
put_cell:
        pha
        jsr     row_ptr
        pla
        sta     (r_ptr),y
        lda     #1
        sta     dirty
        rts

; Moves r_x, r_y one cell in direction X. Carry set when that leaves the
; level (r_x, r_y are then not to be used).
advance:
        lda     r_x
        clc
        adc     dir_dx,x
        cmp     #LEVEL_W        ; -1 wraps to $FF, so one compare does both ends
        bcs     @out
        sta     r_x
        lda     r_y
        clc
        adc     dir_dy,x
        cmp     #LEVEL_H
        bcs     @out
        sta     r_y
@out:   rts

; Finds the first cell holding r_code, leaving out the cell r_ox, r_oy
; (set r_ox to $FF to leave out none). Carry clear and r_x, r_y at it
; when found, carry set when not.
find_code:
        lda     #0
        sta     r_y
@row:   lda     #0
        sta     r_x
        jsr     row_ptr
@cell:  lda     (r_ptr),y
        cmp     r_code
        bne     @next
        cpy     r_ox
        bne     @found
        lda     r_y
        cmp     r_oy
        bne     @found
@next:  iny
        cpy     #LEVEL_W
        bcc     @cell
        inc     r_y
        lda     r_y
        cmp     #LEVEL_H
        bcc     @row
        rts                     ; carry set from the compare
@found: sty     r_x
        clc
        rts

; ---------------------------------------------------------------- init

; A = the level's screw count (BCD). Takes the robot off its start cell
; and resets what the robot carries. Carry set when the level has no
; robot.
rules_init:
        sta     screws_left
        ldx     #0
        stx     keys
        stx     keys+1
        stx     keys+2
        stx     shots
        stx     exit_open
        cmp     #0
        bne     @shut
        inc     exit_open       ; a level asking for no screws starts open
@shut:  lda     #1
        sta     dirty
        lda     #T_ROBOT
        sta     r_code
        lda     #$FF
        sta     r_ox
        jsr     find_code
        bcs     @none
        lda     r_x
        sta     robot_x
        lda     r_y
        sta     robot_y
        lda     #T_FLOOR        ; the robot is drawn apart from the cells
        jsr     put_cell
        clc
@none:  rts

; ---------------------------------------------------------------- step

; A = direction (0 up, 1 right, 2 down, 3 left). Moves the robot one cell
; if the cell it moves into lets it; returns the event bits in A.
rules_step:
        and     #3
        sta     r_dir
        lda     #0
        sta     r_events
        lda     robot_x
        sta     r_x
        lda     robot_y
        sta     r_y
        ldx     r_dir
        jsr     advance
        bcs     blocked
        jsr     get_cell
        jeq     move_in         ; floor
        cmp     #T_EXIT
        jeq     enter_exit
        cmp     #T_SCREW
        jeq     take_screw
        cmp     #T_AMMO
        jeq     take_ammo
        cmp     #T_BATTERY
        jeq     take_battery
        cmp     #T_KEY3+1
        jcs     @notkey
        cmp     #T_KEY1
        jcs     take_key
@notkey:
        cmp     #T_DOOR3+1
        jcs     @notdoor
        cmp     #T_DOOR1
        jcs     open_door
@notdoor:
        cmp     #T_BOX
        jeq     push
        cmp     #T_BOMB
        jeq     push
        cmp     #T_TELEPORT1
        jeq     teleport
        cmp     #T_TELEPORT2
        jeq     teleport
        cmp     #T_ONEWAY
        jcc     blocked         ; walls, rubble, pits, lasers, magnets
        cmp     #T_ONEWAY_LEFT+1
        jcc     oneway
        cmp     #T_BEETLE_H
        jcc     blocked
        cmp     #T_SPARK+1
        jcs     blocked         ; codes with no meaning block like walls
        lda     #EV_DIED        ; walking into an enemy
        ora     r_events
        sta     r_events
blocked:
        lda     r_events
        rts

; A = event bits to add to a move.
event_move:
        ora     r_events
        sta     r_events
move_in:
        lda     r_x
        sta     robot_x
        lda     r_y
        sta     robot_y
        lda     #EV_MOVED
        ora     r_events
        sta     r_events
        rts

enter_exit:
        lda     exit_open
        beq     blocked
        lda     #EV_EXIT
        bne     event_move

take_screw:
        jsr     clear_cell
        lda     screws_left
        beq     @open           ; more screws than asked: nothing to count
        sed
        sec
        sbc     #1
        cld
        sta     screws_left
        tax                     ; flags after a decimal sbc are not to be trusted
        bne     @count
@open:  lda     #1
        sta     exit_open
@count: lda     #EV_SCREW
        bne     event_move

take_ammo:
        jsr     clear_cell
        lda     shots
        clc
        adc     #AMMO_SHOTS
        cmp     #MAX_SHOTS+1
        bcc     @keep
        lda     #MAX_SHOTS
@keep:  sta     shots
        jmp     move_in

take_battery:
        jsr     clear_cell
        lda     #EV_LIFE
        bne     event_move

take_key:
        sec
        sbc     #T_KEY
        tax
        inc     keys,x
        jsr     clear_cell
        jmp     move_in

open_door:
        sec
        sbc     #T_DOOR
        tax
        lda     keys,x
        beq     blocked
        dec     keys,x          ; a key opens one door only
        jsr     clear_cell
        lda     #EV_DOOR
        bne     event_move

oneway:
        sec
        sbc     #T_ONEWAY
        cmp     r_dir
        bne     blocked
        beq     move_in

; Pushes the box or bomb at r_x, r_y one cell on, onto floor (or a box
; into a pit, which fills it). Never two things at once.
push:
        sta     r_what
        lda     r_x
        sta     r_ox
        lda     r_y
        sta     r_oy
        ldx     r_dir
        jsr     advance
        jcs     blocked
        jsr     get_cell
        beq     @onto
        cmp     #T_PIT
        jne     blocked
        lda     r_what
        cmp     #T_BOX
        jne     blocked         ; only a box fills a pit
        lda     #T_FLOOR
        .byte   $2C             ; bit abs: skips the next load
@onto:  lda     r_what
        jsr     put_cell
        lda     r_ox
        sta     r_x
        lda     r_oy
        sta     r_y
        jsr     clear_cell
        lda     #EV_PUSH
        jmp     event_move

; Moves the robot to the other teleport of the same number; with no other
; one it just stands on this one.
teleport:
        lda     r_x
        sta     r_ox
        lda     r_y
        sta     r_oy
        jsr     find_code
        bcc     @jump
        lda     r_ox
        sta     r_x
        lda     r_oy
        sta     r_y
        jmp     move_in
@jump:  lda     #EV_TELEPORT
        jmp     event_move

clear_cell:
        lda     #T_FLOOR
        jmp     put_cell

; ---------------------------------------------------------------- tick

rules_tick:
        lda     #0
        rts

; ---------------------------------------------------------------- fire

rules_fire:
        lda     #0
        rts
