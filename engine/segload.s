; The segment stream of a load file: start address, end address (both
; inclusive, low byte first), then the bytes for that span, again and again
; until a start address of $0000. Bytes come one at a time from next_byte,
; so the boot loader feeds it disk sectors and the tests feed it fixtures.
; It asks for no byte after the end marker's two zero bytes: a disk image
; may end there, and sectors past the end read back stale data.

.include "zp.inc"

.import next_byte               ; returns the next byte of the stream in A
.export load_segments

; Everything the game loads lies here: code and data from $2000, the levels
; up to $8FFF. A segment anywhere else (over the loader, the OS or the
; hardware) can only come from a broken stream.
LOAD_FIRST      = $2000
LOAD_END        = $9000         ; the first address past it

; In the game the parser runs from the boot sectors; a test links it as
; ordinary code.
.ifdef __SIM6502__
.segment "CODE"
.else
.segment "BOOT"
.endif

; Carry clear when the stream ended at its end marker; carry set when a
; segment's addresses are broken (an end before its start, or outside
; LOAD_FIRST..LOAD_END-1), and then nothing of that segment is written.
load_segments:
@segment:
        jsr     next_byte
        sta     seg_ptr
        jsr     next_byte
        sta     seg_ptr+1
        ora     seg_ptr
        beq     @done
        lda     seg_ptr         ; $FFFF is a load-file header word, not a start
        and     seg_ptr+1
        cmp     #$FF
        beq     @segment
        jsr     next_byte
        sta     seg_end
        jsr     next_byte
        sta     seg_end+1
        lda     seg_end
        cmp     seg_ptr
        lda     seg_end+1
        sbc     seg_ptr+1
        bcc     @broken         ; the end before the start
        lda     seg_ptr+1
        cmp     #>LOAD_FIRST
        bcc     @broken
        lda     seg_end+1
        cmp     #>LOAD_END
        bcs     @broken
@byte:
        jsr     next_byte
        ldy     #0
        sta     (seg_ptr),y
        lda     seg_ptr
        cmp     seg_end
        bne     @advance
        lda     seg_ptr+1
        cmp     seg_end+1
        beq     @segment
@advance:
        inc     seg_ptr
        bne     @byte
        inc     seg_ptr+1
        jmp     @byte
@done:
        clc
        rts
@broken:
        sec
        rts
