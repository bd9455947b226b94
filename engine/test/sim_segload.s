; Gives the C test of the segment parser its entry and the stream it reads:
; next_byte asks the C fixture for each byte.

.import load_segments
.import _stream_next
.export next_byte, _parse := load_segments

next_byte := _stream_next
