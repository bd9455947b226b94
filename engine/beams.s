; The laser beams as the player sees them: the floor cells each gun's beam
; crosses, found with the rules' own line (rules_line), so the picture
; follows the rules as boxes and bombs move. The game draws them over the
; floor (draw.s); they change no rule. No hardware is touched here.

.include "zp.inc"
.include "tiles.inc"
.include "level.inc"
.include "rules.inc"

.export beams_find, beam_map
.exportzp BEAM_V, BEAM_H

BEAM_V          = 1             ; a beam up or down crosses the cell
BEAM_H          = 2             ; a beam left or right

.segment "BSS"
; Per cell of level_buf (the same order): BEAM_V, BEAM_H, both or 0.
beam_map:       .res LEVEL_CELLS
beam_row:       .res 1          ; the cell the scan is at
beam_col:       .res 1
beam_dir:       .res 1          ; the gun's direction
beam_count:     .res 1          ; cells of its beam still to mark

.segment "RODATA"
; From a cell to the next in each direction: -16, +1, +16, -1.
step_lo:        .byte <-LEVEL_W, 1, LEVEL_W, <-1
step_hi:        .byte >-LEVEL_W, 0, 0, >-1
beam_bits:      .byte BEAM_V, BEAM_H, BEAM_V, BEAM_H

.segment "CODE"

; Fills beam_map from the level in level_buf.
beams_find:
        lda     #0
        ldx     #LEVEL_CELLS / 2
@clear: sta     beam_map - 1,x
        sta     beam_map + LEVEL_CELLS / 2 - 1,x
        dex
        bne     @clear
        stx     beam_row
@row:   jsr     level_row
        ldy     #0
@cell:  lda     (beam_ptr),y
        and     #<~3
        cmp     #T_LASER        ; a gun, whichever way it points
        bne     @next
        sty     beam_col
        jsr     mark_beam
        jsr     level_row
        ldy     beam_col
@next:  iny
        cpy     #LEVEL_W
        bcc     @cell
        inc     beam_row
        lda     beam_row
        cmp     #LEVEL_H
        bcc     @row
        rts

; beam_ptr = the start of row beam_row of level_buf.
level_row:
        lda     beam_row
        lsr     a
        lsr     a
        lsr     a
        lsr     a
        sta     beam_ptr+1      ; row * 16: its high byte
        lda     beam_row
        asl     a
        asl     a
        asl     a
        asl     a
        clc
        adc     #<level_buf
        sta     beam_ptr
        lda     beam_ptr+1
        adc     #>level_buf
        sta     beam_ptr+1
        rts

; Marks the beam of the gun at Y in the row at beam_ptr (Y = beam_col).
mark_beam:
        lda     (beam_ptr),y
        and     #3
        sta     beam_dir
        ldx     beam_col
        ldy     beam_row
        jsr     rules_line
        sta     beam_count
        tax                     ; (no other flag than the carry comes back)
        beq     @done
        lda     beam_ptr        ; from the gun's cell, in the map
        clc
        adc     beam_col
        tax
        lda     beam_ptr+1
        adc     #0
        tay
        txa
        clc
        adc     #<(beam_map - level_buf)
        sta     beam_ptr
        tya
        adc     #>(beam_map - level_buf)
        sta     beam_ptr+1
        ldx     beam_dir
@mark:  lda     beam_ptr
        clc
        adc     step_lo,x
        sta     beam_ptr
        lda     beam_ptr+1
        adc     step_hi,x
        sta     beam_ptr+1
        ldy     #0
        lda     (beam_ptr),y
        ora     beam_bits,x
        sta     (beam_ptr),y
        dec     beam_count
        bne     @mark
@done:  rts
