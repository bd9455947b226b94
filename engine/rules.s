; The rules of the game, as routines over level_buf: the game copies a
; level's cells there, calls rules_init, then rules_step for each joystick
; move and rules_tick once per game step (after the move, so a robot that
; walks into a beam or beside a beetle meets it in the same step), and
; draws what the routines report. No hardware is touched here, so sim65
; tests drive it directly.
;
; The tile codes come from the editor's tile set (tiles.inc is generated);
; the asserts below hold what these routines take for granted about them.

.macpack longbranch            ; jeq etc.: branches that reach far

RULES_MODULE    = 1
.include "zp.inc"
.include "tiles.inc"
.include "level.inc"
.include "rules.inc"

.assert T_FLOOR = 0, error, "the floor must be code 0"
.assert T_KEY2 = T_KEY + 1 && T_KEY3 = T_KEY + 2, error, "keys 1-3 in a row"
.assert T_DOOR2 = T_DOOR + 1 && T_DOOR3 = T_DOOR + 2, error, "doors 1-3 in a row"
.assert T_LASER_LEFT = T_LASER + DIR_LEFT && T_LASER & 3 = 0, error, "lasers by direction"
.assert T_MAGNET = T_LASER + 4 && T_MAGNET_LEFT = T_MAGNET + DIR_LEFT, error, "magnets by direction"
.assert T_TELEPORT1 = T_MAGNET + 4 && T_TELEPORT2 = T_TELEPORT1 + 1, error, "teleports after magnets"
.assert T_ONEWAY_LEFT = T_ONEWAY + DIR_LEFT && T_ONEWAY > T_TELEPORT2, error, "one-ways by direction"
.assert T_BEETLE_V = T_BEETLE_H + 1 && T_EYE = T_BEETLE_H + 2 && T_SPARK = T_BEETLE_H + 3, error, "enemies in a row"
.assert T_BEETLE_H > T_ONEWAY_LEFT && T_BEETLE_H & 1 = 0, error, "enemies after the machines"
.assert T_EXIT < T_ONEWAY && T_PIT < T_ONEWAY && T_WALL < T_ONEWAY && T_RUBBLE < T_ONEWAY, error, "blockers below the one-ways"

.export level_buf, rules_init, rules_step, rules_tick, rules_fire
.export state_buf, actors_lo, actors_hi

AMMO_SHOTS      = 5             ; shots in one ammunition box
MAX_SHOTS       = 99

.segment "BSS"
level_buf:      .res LEVEL_CELLS
; What each moving thing remembers, at its cell's index: bit 0 reverses a
; beetle or rests the eye, bits 0 and 1 turn a spark's dx and dy negative.
; Bit 7, set only within a tick, marks a thing that moved ahead of the
; tick's scan (right or down), so that the scan meets it once more without
; moving it again. Zero wherever nothing moves. Follows level_buf so one
; row pointer serves.
state_buf:      .res LEVEL_CELLS
; Which cells hold a thing that acts in a tick (a laser, a magnet, an
; enemy): per row, bit c of actors_lo for column c (0-7) and of actors_hi
; for column c + 8. The tick visits these cells only. Kept up to date by
; every routine that moves or removes such a thing.
actors_lo:      .res LEVEL_H
actors_hi:      .res LEVEL_H

.segment "RODATA"
dir_dx:         .byte 0, 1, 0, $FF
dir_dy:         .byte $FF, 0, 1, 0
; Where each row of level_buf starts: the lines of shots, beams and
; magnets look up a row for every cell they pass.
row_lo:
.repeat LEVEL_H, row
        .byte   <(level_buf + row * LEVEL_W)
.endrepeat
row_hi:
.repeat LEVEL_H, row
        .byte   >(level_buf + row * LEVEL_W)
.endrepeat
; Each column's bit in actors_lo or actors_hi, and which of the two it is
; in (its offset from actors_lo).
col_bit:
.repeat LEVEL_W, column
        .byte   1 << (column & 7)
.endrepeat
col_half:
.repeat LEVEL_W, column
        .byte   (column >> 3) * LEVEL_H
.endrepeat
; The bits of a byte from bit n up, and the lowest bit set in each byte.
bits_from:      .byte $FF, $FE, $FC, $F8, $F0, $E0, $C0, $80
lowest_bit:
.repeat 256, b
        .byte   (b & 1 = 0) + (b & 3 = 0) + (b & 7 = 0) + (b & 15 = 0) + (b & 31 = 0) + (b & 63 = 0) + (b & 127 = 0)
.endrepeat
; The eight cells around one, for a bomb going off.
around_dx:      .byte $FF, 0, 1, $FF, 1, $FF, 0, 1
around_dy:      .byte $FF, $FF, $FF, 0, 0, 1, 1, 1

.segment "CODE"

; ---------------------------------------------------------------- cells

; Points r_ptr at row r_y of level_buf and loads Y with r_x, so that
; (r_ptr),y is the cell at r_x, r_y. Uses X.
row_ptr:
        ldx     r_y
        lda     row_lo,x
        sta     r_ptr
        lda     row_hi,x
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
        jsr     screw_count
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
        txa                     ; nothing has moved yet
        ldx     #LEVEL_CELLS/2
@clear: sta     state_buf-1,x
        sta     state_buf+LEVEL_CELLS/2-1,x
        dex
        bne     @clear
        jsr     find_actors     ; the tick runs even on a level without a robot
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

; Fills actors_lo and actors_hi from the cells.
find_actors:
        lda     #0
        ldx     #2*LEVEL_H-1
@clear: sta     actors_lo,x
        dex
        bpl     @clear
        sta     r_y
@row:   lda     #0
        sta     r_x
@cell:  jsr     get_cell
        jsr     is_actor
        bcc     @next
        jsr     add_actor
@next:  inc     r_x
        lda     r_x
        cmp     #LEVEL_W
        bcc     @cell
        inc     r_y
        lda     r_y
        cmp     #LEVEL_H
        bcc     @row
        rts

; A thing that acts is now at r_x, r_y (add_actor), or gone from there
; (remove_actor). Keep Y.
add_actor:
        jsr     actor_bit
        ora     actors_lo,x
        sta     actors_lo,x
        rts
remove_actor:
        jsr     actor_bit
        eor     #$FF
        and     actors_lo,x
        sta     actors_lo,x
        rts

; A = the bit of the cell r_x, r_y, and X its byte's offset from actors_lo.
; Keeps Y.
actor_bit:
        ldx     r_x
        lda     col_bit,x
        sta     r_bit
        lda     col_half,x
        clc
        adc     r_y
        tax
        lda     r_bit
        rts

; Carry set when code A acts in a tick by itself: a laser, a magnet or an
; enemy. Keeps A, X and Y.
is_actor:
        cmp     #T_LASER
        bcc     @no
        cmp     #T_TELEPORT1
        bcc     @yes
        cmp     #T_BEETLE_H
        bcc     @no
        cmp     #T_SPARK+1
        bcc     @yes
@no:    clc
        rts
@yes:   sec
        rts

; A byte that is not packed BCD counts as the editor reads it: each digit
; by its value (a digit $A..$F as 10..15), at most 99. Returns that count
; in BCD. Uses X, r_tmp and r_code.
screw_count:
        pha
        and     #$0F
        sta     r_tmp           ; units
        pla
        lsr     a
        lsr     a
        lsr     a
        lsr     a
        asl     a
        sta     r_code          ; tens * 2
        asl     a
        asl     a
        adc     r_code          ; tens * 10 (no carry: at most 150)
        adc     r_tmp
        cmp     #100
        bcc     @bcd
        lda     #99
@bcd:   ldx     #0
@tens:  cmp     #10
        bcc     @pack
        sbc     #10
        inx
        bne     @tens
@pack:  sta     r_tmp
        txa
        asl     a
        asl     a
        asl     a
        asl     a
        ora     r_tmp
        rts

; ---------------------------------------------------------------- step

; A = direction (0 up, 1 right, 2 down, 3 left). Moves the robot one cell
; if the cell it moves into lets it; returns the event bits in A and X.
rules_step:
        jsr     begin
        jsr     step
finish: ldx     r_more
        lda     r_events
        rts

; A = a direction: kept in r_dir; no events yet.
begin:  and     #3
        sta     r_dir
        lda     #0
        sta     r_events
        sta     r_more
        rts

; Adds the bits in A to r_more.
more:   ora     r_more
        sta     r_more
        rts

step:
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
        lda     #EVX_OPENED     ; this screw opens it
        jsr     more
@open:  lda     #1
        sta     exit_open
@count: lda     #EV_SCREW
        bne     event_move

take_ammo:
        jsr     clear_cell
        lda     #EVX_AMMO
        jsr     more
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
        lda     #EVX_KEY
        jsr     more
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
        jne     blocked
        jmp     move_in

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

; ---------------------------------------------------------------- lines

SEEN_ROBOT      = $FF           ; no tile has this code

; Z set when r_x, r_y is the robot's cell.
at_robot:
        lda     r_x
        cmp     robot_x
        bne     @no
        lda     r_y
        cmp     robot_y
@no:    rts

; Follows a line from r_x, r_y in direction r_dir over floor to the first
; cell that is not floor or holds the robot. Carry set when the line
; leaves the level first; else r_x, r_y at that cell and A its code, or
; SEEN_ROBOT.
trace:
        ldx     r_dir
        jsr     advance
        bcs     @end
        jsr     at_robot
        beq     @robot
        jsr     get_cell
        beq     trace
        clc
@end:   rts
@robot: lda     #SEEN_ROBOT
        clc
        rts

; A shot (r_what non-zero) or a laser beam (r_what zero) ends at r_x, r_y
; on A: the robot dies, enemies go, a bomb goes off, and a shot also
; clears rubble.
hit:
        cmp     #SEEN_ROBOT
        beq     died
        cmp     #T_BOMB
        beq     explode
        cmp     #T_RUBBLE
        bne     @enemy
        ldx     r_what
        bne     @clear
        rts
@enemy: cmp     #T_BEETLE_H
        bcc     @none
        cmp     #T_SPARK+1
        bcc     kill
        rts
@clear: jmp     clear_cell
@none:  rts

; The enemy at r_x, r_y is gone: its cell becomes floor, what it
; remembered goes with it and its row has one thing less that acts.
kill:
        jsr     state_row
        lda     #0
        sta     (r_sptr),y
        jsr     remove_actor
        jmp     clear_cell

died:   lda     #EV_DIED
        ora     r_events
        sta     r_events
        rts

; The bomb at r_x, r_y goes off: it clears rubble, boxes and enemies in
; the eight cells around it. Other bombs, walls and the robot are spared.
explode:
        lda     #EVX_BOOM
        jsr     more
        jsr     clear_cell
        lda     r_x
        sta     r_ox
        lda     r_y
        sta     r_oy
        ldx     #7
@next:  stx     r_tmp
        lda     r_ox
        clc
        adc     around_dx,x
        cmp     #LEVEL_W
        bcs     @skip
        sta     r_x
        lda     r_oy
        clc
        adc     around_dy,x
        cmp     #LEVEL_H
        bcs     @skip
        sta     r_y
        jsr     get_cell
        cmp     #T_RUBBLE
        beq     @blast
        cmp     #T_BOX
        beq     @blast
        cmp     #T_BEETLE_H
        bcc     @skip
        cmp     #T_SPARK+1
        bcs     @skip
        jsr     kill
        jmp     @skip
@blast: jsr     clear_cell
@skip:  ldx     r_tmp
        dex
        bpl     @next
        rts

; ---------------------------------------------------------------- fire

; A = direction. With a shot left, fires it from the robot along floor to
; the first thing in the way (see hit). Returns event bits in A and X.
rules_fire:
        jsr     begin
        jsr     fire
        jmp     finish

fire:   lda     shots
        beq     @done
        dec     shots
        lda     #EVX_SHOT
        jsr     more
        lda     robot_x
        sta     r_x
        lda     robot_y
        sta     r_y
        jsr     trace
        bcs     @done
        ldx     #1
        stx     r_what
        jsr     hit
@done:  lda     r_events
        rts

; ---------------------------------------------------------------- tick

.segment "RODATA"
; Beetles' directions by (code & 1) * 2 + reversed: across right, left;
; up and down: down, up.
beetle_dirs:    .byte DIR_RIGHT, DIR_LEFT, DIR_DOWN, DIR_UP
.segment "CODE"

; Once per game step: lasers fire, magnets pull, beetles, sparks and eyes
; move, each when a scan over the level row by row, each row from the
; left, comes to it (rows where nothing acts are passed over). Returns
; event bits in A (EV_DIED when the robot is hit, EV_MOVED when a magnet
; pulled it) and X (EVX_BOOM when a beam set off a bomb).
rules_tick:
        jsr     begin
        jsr     tick
        jmp     finish

tick:   ldx     #0
@row:   lda     actors_lo,x
        ora     actors_hi,x
        bne     @scan
@down:  inx
        cpx     #LEVEL_H
        bcc     @row
        rts
@scan:  stx     r_sy
        jsr     @point
; Y = the first column of row X not looked at yet; on to the first cell
; from there that holds a thing that acts.
@find:  cpy     #8
        bcs     @high
        lda     actors_lo,x
        and     bits_from,y
        beq     @half
        tay
        lda     lowest_bit,y
        tay
        bcc     @found          ; always: carry clear from the compare
@half:  ldy     #8
@high:  cpy     #LEVEL_W
        bcs     @end
        lda     actors_hi,x
        and     bits_from-8,y
        beq     @end
        tay
        lda     lowest_bit,y
        ora     #8
        tay
@found: lda     (r_ptr),y
        jsr     is_actor
        bcc     @next
        sty     r_sx
        sty     r_x
        stx     r_y
        jsr     act
        ldx     r_sy            ; act moved r_ptr
        jsr     @point
        ldy     r_sx
@next:  iny
        bne     @find           ; always
@end:   ldx     r_sy
        jmp     @down
; Points r_ptr at row X, Y at its first cell.
@point: lda     row_lo,x
        sta     r_ptr
        lda     row_hi,x
        sta     r_ptr+1
        ldy     #0
        rts

; The laser, magnet or mover at r_x, r_y with code A does its part.
act:
        cmp     #T_MAGNET
        bcc     laser
        cmp     #T_TELEPORT1
        bcc     magnet
        jmp     mover

; Fires the beam of a laser gun (see hit).
laser:
        and     #3
        sta     r_dir
        lda     #0
        sta     r_what
        jsr     trace
        bcs     @none
        jmp     hit
@none:  rts

; Pulls the robot or a box first met in front of the magnet, past floor
; only, one cell nearer.
magnet:
        and     #3
        sta     r_dir
        lda     r_x
        sta     r_ox
        lda     r_y
        sta     r_oy
        jsr     trace
        bcs     @none
        sta     r_what
        cmp     #SEEN_ROBOT
        beq     @pull
        cmp     #T_BOX
        bne     @none
@pull:  lda     r_x
        sta     r_tmp
        lda     r_y
        sta     r_state
        lda     r_dir
        eor     #2              ; back towards the magnet, over floor
        tax
        jsr     advance
        lda     r_x
        cmp     r_ox
        bne     @move
        lda     r_y
        cmp     r_oy
        beq     @none           ; already beside it
@move:  lda     r_what
        cmp     #T_BOX
        beq     @box
        jmp     move_in         ; the robot is pulled like a step
@none:  rts
@box:   jsr     put_cell
        lda     r_tmp
        sta     r_x
        lda     r_state
        sta     r_y
        jmp     clear_cell

; Points r_sptr at the state of the cell r_x, r_y as (r_sptr),y.
state_row:
        jsr     row_ptr
; The same for the row r_ptr points at already. Keeps X and Y.
state_here:
        lda     r_ptr
        clc
        adc     #<LEVEL_CELLS
        sta     r_sptr
        lda     r_ptr+1
        adc     #>LEVEL_CELLS
        sta     r_sptr+1
        rts

; A beetle, the eye or a spark at r_x, r_y (code in A; r_ptr and Y at its
; cell) takes its move, once per tick however the scan meets it. r_sptr
; stays at the states of its row.
mover:
        sta     r_what
        jsr     state_here
        lda     (r_sptr),y
        bpl     @due
        and     #$7F            ; moved here ahead of the scan: done for this tick
        sta     (r_sptr),y
        rts
@due:   sta     r_state
        lda     r_x
        sta     r_ox
        lda     r_y
        sta     r_oy
        lda     r_what
        cmp     #T_EYE
        beq     eye
        cmp     #T_SPARK
        beq     spark
        jmp     beetle

; The eye moves every second tick (its first tick a move), one cell
; towards the robot when it sees it along its row or column over floor.
eye:
        lda     r_state
        eor     #1
        sta     r_state
        sta     (r_sptr),y      ; rests the next tick after a move, and back
        lsr     a
        bcc     @rest
        ldx     #DIR_LEFT
@look:  stx     r_dir
        lda     r_ox
        sta     r_x
        lda     r_oy
        sta     r_y
        jsr     trace
        bcs     @no
        cmp     #SEEN_ROBOT
        beq     @seen
@no:    ldx     r_dir
        dex
        bpl     @look
@rest:  rts
@seen:  lda     r_ox
        sta     r_x
        lda     r_oy
        sta     r_y
        ldx     r_dir
        jsr     advance
        jsr     at_robot
        beq     died2
        jsr     row_ptr         ; floor: the eye saw the robot over it
        jmp     move_mover

died2:  jmp     died

; A spark flies diagonally; when the way is shut it bounces, trying with
; dx turned, then dy turned, then both.
spark:
        ldx     #0
@try:   stx     r_tmp
        txa
        eor     r_state
        sta     r_dir           ; the state it would fly on with
        lda     r_ox
        sta     r_x
        lda     r_oy
        sta     r_y
        lda     r_dir
        and     #1              ; 0 right, 1 left
        asl     a
        ora     #DIR_RIGHT
        tax
        jsr     advance
        bcs     @shut
        lda     r_dir
        and     #2              ; 0 down, 2 up
        eor     #DIR_DOWN
        tax
        jsr     advance
        bcs     @shut
        jsr     at_robot
        beq     died2
        jsr     get_cell
        bne     @shut
        lda     r_dir
        sta     r_state
        jmp     move_mover
@shut:  ldx     r_tmp
        inx
        cpx     #4
        bcc     @try
        rts                     ; boxed in: it waits

; A beetle walks on along its line, and turns back at anything in its way.
beetle:
        lda     r_what
        and     #1
        asl     a
        sta     r_tmp
        lda     r_state
        and     #1
        ora     r_tmp
        tax
        lda     beetle_dirs,x
        tax
        jsr     advance
        bcs     @turn
        jsr     at_robot
        beq     died2
        jsr     get_cell
        beq     move_mover
@turn:  lda     r_state
        eor     #1
        ldy     r_ox            ; r_sptr is still at its row
        sta     (r_sptr),y
        rts

; Moves the mover r_what with its state r_state from r_ox, r_oy to the
; floor cell r_x, r_y (r_ptr and Y at it), marked when that is ahead of the
; tick's scan, and counts it in its new row.
move_mover:
        lda     r_what
        sta     (r_ptr),y
        jsr     state_here
        lda     r_state
        ldx     r_y
        cpx     r_oy
        bcc     @keep           ; a row up: behind the scan
        bne     @mark           ; a row down: ahead
        ldx     r_x
        cpx     r_ox
        bcc     @keep           ; to the left
@mark:  ora     #$80
@keep:  sta     (r_sptr),y
        jsr     add_actor
        lda     r_ox
        sta     r_x
        lda     r_oy
        sta     r_y
        jsr     remove_actor
        jsr     state_row
        lda     #0              ; nothing to remember, and floor
        sta     (r_sptr),y
        sta     (r_ptr),y
        lda     #1
        sta     dirty
        rts

; ---------------------------------------------------------------- lines seen

.export rules_line

; X = column, Y = row of a cell, A = a direction: the line a laser's beam
; or a shot from that cell takes, as `trace` follows it (over floor to the
; first cell that is not floor, the robot's, or the level's edge). Returns
; in A the number of floor cells it crosses, for the game to draw, and
; carry set when it leaves the level (clear when a cell stops it); changes
; no cell and no state.
rules_line:
        and     #3
        sta     r_dir
        stx     r_x
        stx     r_ox
        sty     r_y
        sty     r_oy
        jsr     trace
        php                     ; carry set: it left the level
        lda     r_x             ; the distance covered, along one axis
        sec
        sbc     r_ox
        bcs     @dx
        eor     #$FF
        adc     #1
@dx:    sta     r_tmp
        lda     r_y
        sec
        sbc     r_oy
        bcs     @dy
        eor     #$FF
        adc     #1
@dy:    clc
        adc     r_tmp
        plp
        bcs     @edge           ; its last cell was floor
        sbc     #0              ; (carry clear) not the cell that stopped it
        clc
@edge:  rts
