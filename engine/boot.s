; Boot sectors: the OS reads them to $0700 and calls boot_start. They read
; the rest of the disk sector by sector through the OS disk handler and
; hand the bytes to the segment parser, then leave the game's entry in
; DOSVEC, where the OS goes once the boot is over (and again after RESET).

.include "atari.inc"
.include "zp.inc"
.include "version.inc"

.import load_segments, main
.export next_byte

BOOT_SECTORS    = 3             ; the BOOT area of engine.cfg
SECTOR_SIZE     = 128
READ_TRIES      = 4
sector_buf      = $0600         ; page 6 is left to programs by the OS
LEVELS_FIRST    = $50           ; pages of the level segments, $5000-$8FFF
LEVELS_END      = $90
COLOR_RED       = $34

.segment "BOOT"

boot_record:
        .byte   0               ; flags
        .byte   BOOT_SECTORS
        .word   boot_record     ; load address
        .word   boot_init       ; init address, called on every boot and RESET
        jmp     boot_start
        .res    boot_record + 16 - *, 0
; The editor recognises our own engine by this text at file offset 32.
signature:
        .byte   ENGINE_SIGNATURE
        .assert * - signature = 16, error, "signature is not 16 bytes"

boot_start:
        ; A level named by the order table but missing from the disk must
        ; read as an empty level (no robot), not as stale memory.
        lda     #0
        tay
        sta     seg_ptr
        ldx     #LEVELS_FIRST
@clear:
        stx     seg_ptr+1
@clear_page:
        sta     (seg_ptr),y
        iny
        bne     @clear_page
        inx
        cpx     #LEVELS_END
        bne     @clear

        lda     #BOOT_SECTORS + 1
        sta     ld_sector
        lda     #0
        sta     ld_sector+1
        lda     #SECTOR_SIZE
        sta     ld_pos
        jsr     load_segments

        lda     #<main
        sta     DOSVEC
        lda     #>main
        sta     DOSVEC+1
        clc                     ; boot succeeded
boot_init:
        rts

; The next byte of the disk, reading a sector only when the last one is
; used up, so nothing past the sector of the end marker is ever read.
next_byte:
        ldx     ld_pos
        cpx     #SECTOR_SIZE
        bcc     @have
        jsr     read_sector
        ldx     #0
@have:
        lda     sector_buf,x
        inx
        stx     ld_pos
        rts

read_sector:
        lda     #READ_TRIES
        sta     tmp
@try:
        lda     #$31            ; disk drives
        sta     DDEVIC
        lda     #1
        sta     DUNIT
        lda     #'R'
        sta     DCOMND
        lda     #<sector_buf
        sta     DBUFLO
        lda     #>sector_buf
        sta     DBUFHI
        lda     ld_sector
        sta     DAUX1
        lda     ld_sector+1
        sta     DAUX2
        jsr     DSKINV
        lda     DSTATS
        bpl     @done
        dec     tmp
        bne     @try
        lda     #COLOR_RED      ; unreadable disk: red screen, stop
        sta     COLOR4
@stop:
        jmp     @stop
@done:
        inc     ld_sector
        bne     @same_page
        inc     ld_sector+1
@same_page:
        rts
