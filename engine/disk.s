; The parts of the disk file that are not code: the ATR header and the
; address pairs in front of each loaded area. The areas themselves are
; laid out by engine.cfg; these headers follow them wherever they move.

.import __MAIN_START__, __MAIN_SIZE__
.import __GAMEDATA_START__, __GAMEDATA_SIZE__
.import __CHARS_START__, __CHARS_SIZE__

; 1,040 sectors of 128 bytes: the editor never changes it, so a set with
; all 32 levels still fits inside the declared size.
.segment "ATRHDR"
        .word   $0296                   ; signature
        .word   $2080                   ; size in 16-byte paragraphs, low word
        .word   128                     ; sector size
        .byte   0                       ; paragraphs, high byte

.macro  seg_header area_start, area_size
        .word   area_start, area_start + area_size - 1
.endmacro

.segment "HDR1"
        seg_header __MAIN_START__, __MAIN_SIZE__
.segment "HDR2"
        seg_header __GAMEDATA_START__, __GAMEDATA_SIZE__
.segment "HDR3"
        seg_header __CHARS_START__, __CHARS_SIZE__

; An empty level list: a start address of zero. The editor writes its
; level segments from here on, over these two bytes.
.segment "TAIL"
        .word   0
