; Stand-in rules until the real module lands: walk on floor, collect
; screws, leave by the open exit. Same interface as rules.s.

.include "zp.inc"
.include "tiles.inc"

EV_MOVED        = $01
EV_SCREW        = $02
EV_EXIT         = $20

.export level_buf, rules_init, rules_step, rules_tick, rules_fire

.segment "BSS"
level_buf:      .res LEVEL_CELLS

.segment "RODATA"
dir_dx:         .byte 0, 1, 0, $FF
dir_dy:         .byte $FF, 0, 1, 0

.segment "CODE"

; r_ptr = row r_y, Y = r_x.
row_ptr:
        lda     #0
        sta     r_ptr+1
        lda     r_y
        asl     a
        asl     a
        asl     a
        asl     a
        rol     r_ptr+1
        clc
        adc     #<level_buf
        sta     r_ptr
        lda     r_ptr+1
        adc     #>level_buf
        sta     r_ptr+1
        ldy     r_x
        rts

rules_init:
        sta     screws_left
        lda     #0
        sta     keys
        sta     keys+1
        sta     keys+2
        sta     shots
        sta     exit_open
        lda     screws_left
        bne     @closed
        inc     exit_open
@closed:
        lda     #0
        sta     r_y
@row:
        lda     #0
        sta     r_x
        jsr     row_ptr
@cell:
        lda     (r_ptr),y
        cmp     #T_ROBOT
        beq     @found
        iny
        cpy     #LEVEL_W
        bne     @cell
        inc     r_y
        lda     r_y
        cmp     #LEVEL_H
        bne     @row
        sec
        rts
@found:
        sty     robot_x
        lda     r_y
        sta     robot_y
        lda     #T_FLOOR
        sta     (r_ptr),y
        clc
        rts

rules_step:
        tax
        lda     #0
        sta     r_events
        lda     robot_x
        clc
        adc     dir_dx,x
        cmp     #LEVEL_W
        bcs     @done
        sta     r_x
        lda     robot_y
        clc
        adc     dir_dy,x
        cmp     #LEVEL_H
        bcs     @done
        sta     r_y
        jsr     row_ptr
        lda     (r_ptr),y
        beq     @move
        cmp     #T_SCREW
        beq     @screw
        cmp     #T_EXIT
        bne     @done
        lda     exit_open
        beq     @done
        lda     #EV_EXIT
        sta     r_events
        bne     @move
@screw:
        lda     #T_FLOOR
        sta     (r_ptr),y
        sta     dirty
        inc     dirty
        lda     #EV_SCREW
        sta     r_events
        lda     screws_left
        beq     @move
        sed
        sec
        sbc     #1
        cld
        sta     screws_left
        bne     @move
        inc     exit_open
@move:
        lda     r_x
        sta     robot_x
        lda     r_y
        sta     robot_y
        lda     r_events
        ora     #EV_MOVED
        sta     r_events
@done:
        lda     r_events
        rts

rules_tick:
rules_fire:
        lda     #0
        rts
