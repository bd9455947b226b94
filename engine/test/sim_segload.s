; Gives the C test of the segment parser its entry and the stream it reads:
; next_byte asks the C fixture for each byte.

.import load_segments
.import _stream_next
.export next_byte, _parse

next_byte := _stream_next

; Returns the carry as 0 or 1.
_parse:
        jsr     load_segments
        lda     #0
        rol     a
        ldx     #0
        rts
