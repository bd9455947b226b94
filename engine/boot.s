; Boot sectors: the OS reads them to $0700 and calls boot_start. They read
; the rest of the disk sector by sector through the OS disk handler and
; hand the bytes to the segment parser, then leave the game's entry in
; DOSVEC, where the OS goes once the boot is over (and again after RESET).
; A disk that cannot be read, a broken segment stream or one that ends
; before the game is loaded fails the boot as the OS expects: carry set on
; return, so it shows BOOT ERROR and tries again, never running code that
; was not loaded.

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
TAG             = $A5           ; found in each tag once its area is loaded

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
        tsx                     ; a failure returns to the OS from any depth
        stx     boot_sp
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
        sta     code_tag        ; anything but TAG, until loaded
        sta     chars_tag
        jsr     load_segments
        bcs     boot_failed
        lda     code_tag
        cmp     #TAG
        bne     boot_failed
        lda     chars_tag
        cmp     #TAG
        bne     boot_failed

        lda     #<main
        sta     DOSVEC
        lda     #>main
        sta     DOSVEC+1
        clc                     ; boot succeeded
boot_init:
        rts

boot_failed:
        ldx     boot_sp
        txs
        sec
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
        jmp     boot_failed
@done:
        inc     ld_sector
        bne     @same_page
        inc     ld_sector+1
@same_page:
        rts

boot_sp:        .byte   0       ; the stack as the OS called boot_start

; One byte in the code and one in the character sets, the first and the
; last area of the game on the disk.
.segment "RODATA"
code_tag:       .byte   TAG
.segment "DLIST"
chars_tag:      .byte   TAG
