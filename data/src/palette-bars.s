; Calibration disk for the palette (see PALETTE.md): 64 colour bands, each
; three scan lines of the background colour, hues FIRST_HUE..FIRST_HUE+7
; with their even luminances 0..14. The display is off, so every line shows
; the background colour from edge to edge. Build the two halves with
;   cl65 -t none palette-bars.s -o bars-0.atr
;   cl65 -t none --asm-define FIRST_HUE=8 palette-bars.s -o bars-8.atr

.include "atari.inc"

.ifndef FIRST_HUE
FIRST_HUE = 0
.endif
BANDS   = 64
FIRST_LINE = 10                 ; VCOUNT counts pairs of scan lines

        .word   $0296, $0010, 128       ; ATR header: 2 sectors of 128 bytes
        .byte   0
        .res    9
        .org    $0700
        .byte   0, 2                    ; boot record: 2 sectors to $0700
        .word   $0700, init
        sei                             ; no interrupt may shift a band
        lda     #0
        sta     NMIEN
        sta     DMACTL
frame:  lda     VCOUNT
        cmp     #FIRST_LINE
        bne     frame
        ldx     #0
band:   lda     colours,x
        sta     WSYNC
        sta     COLBK
        sta     WSYNC
        sta     WSYNC
        inx
        cpx     #BANDS
        bne     band
        lda     #0
        sta     WSYNC
        sta     COLBK
        jmp     frame
init:   rts
colours:
.repeat BANDS, i
        .byte   (FIRST_HUE + i / 8) * 16 + (i .mod 8) * 2
.endrepeat
        .res    $0800 - *, 0
