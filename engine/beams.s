; The laser beams as the player sees them: the floor cells each gun's beam
; crosses, found with the rules' own line (rules_line), so the picture
; follows the rules as boxes and bombs move. The game draws them over the
; floor (draw.s); they change no rule. No hardware is touched here.
;
; Guns never move nor go (nothing the rules do clears one), so the guns of
; a level are listed once as it starts (beams_start) and only their beams
; are followed again when cells change (beams_find); a level with more
; than MAX_GUNS guns is scanned whole each time instead.

.include "zp.inc"
.include "tiles.inc"
.include "level.inc"
.include "rules.inc"

.export beams_start, beams_find, beam_map
.exportzp BEAM_V, BEAM_H

BEAM_V          = 1             ; a beam up or down crosses the cell
BEAM_H          = 2             ; a beam left or right
MAX_GUNS        = 32
TOO_MANY        = $FF           ; gun_count of a level scanned whole

.segment "BSS"
; Per cell of level_buf (the same order): BEAM_V, BEAM_H, both or 0.
beam_map:       .res LEVEL_CELLS
gun_row:        .res MAX_GUNS   ; the guns of the level
gun_col:        .res MAX_GUNS
gun_count:      .res 1          ; how many, or TOO_MANY
gun_left:       .res 1          ; guns beams_find has still to follow
listing:        .res 1          ; non-zero while beams_start lists them
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

; As a level starts: lists its guns, then finds their beams.
beams_start:
        lda     #0
        sta     gun_count
        lda     #1
        sta     listing
        jsr     scan
        lda     #0
        sta     listing
        jsr     clear_map
        jmp     follow

; Fills beam_map again from the level in level_buf.
beams_find:
        lda     gun_count
        beq     no_guns         ; the map stays clear
        jsr     clear_map
follow: lda     gun_count
        cmp     #TOO_MANY
        beq     scan
        sta     gun_left
@gun:   ldx     gun_left
        beq     no_guns
        dex
        stx     gun_left
        lda     gun_row,x
        sta     beam_row
        lda     gun_col,x
        sta     beam_col
        jsr     level_row
        ldy     beam_col
        jsr     mark_beam
        jmp     @gun
no_guns:
        rts

clear_map:
        lda     #0
        ldx     #LEVEL_CELLS / 2
@clear: sta     beam_map - 1,x
        sta     beam_map + LEVEL_CELLS / 2 - 1,x
        dex
        bne     @clear
        rts

; Every cell of the level: each gun is listed (while `listing`) or its beam
; marked.
scan:
        lda     #0
        sta     beam_row
@row:   jsr     level_row
        ldy     #0
@cell:  lda     (beam_ptr),y
        and     #<~3
        cmp     #T_LASER        ; a gun, whichever way it points
        bne     @next
        sty     beam_col
        lda     listing
        beq     @mark
        jsr     list_gun
        jmp     @next
@mark:  jsr     mark_beam
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

; The gun at beam_row, beam_col goes on the list, if it has room. Y kept.
list_gun:
        ldx     gun_count
        cpx     #MAX_GUNS
        bcs     @full
        lda     beam_row
        sta     gun_row,x
        lda     beam_col
        sta     gun_col,x
        inc     gun_count
        rts
@full:  lda     #TOO_MANY
        sta     gun_count
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
