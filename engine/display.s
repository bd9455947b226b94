; What the player sees: the text pages in mode 2, and the game screen, a
; status line over a narrow mode 5 playfield of 12 tile rows that scrolls
; finely over the level's 31 rows, with the robot as player 0.
;
; Screen rows hold 32 characters, two per tile. ANTIC reads the playfield
; straight from `screen`, so scrolling is only the display list's address
; and VSCROL, set in the vertical blank from vbi_lms and vbi_vscrol.

.include "atari.inc"
.include "zp.inc"
.include "tiles.inc"
.include "level.inc"
.include "text.inc"

.import level_buf
.import tiles_fnt, font_fnt, tilemap, robot_shape
.export display_init, show_text, show_game, draw_level, draw_status
.export set_wall, place_robot, wait_frame, two_digits
.export status_level

; Display list lines (the rest of the names come from atari.inc).
DL_TEXT         = DL_CHR40x8x1  ; status line and text pages
DL_TILES        = DL_CHR40x16x4 ; playfield: four colours, 16 scan lines

VIEW_ROWS       = 12            ; tile rows shown
ROW_LINES       = 8             ; player lines (two scan lines) per tile row
VIEW_MAX        = (LEVEL_H - VIEW_ROWS) * ROW_LINES
PLAYFIELD_PM    = 17            ; player line of the playfield's first scan line
PLAYFIELD_LEFT  = $40           ; colour clock of the narrow playfield's edge
ROBOT_LINES     = 8

; The status line: digits are poked in at these columns.
ST_LEVEL        = 4
ST_SCREWS       = 12
ST_LIVES        = 19
ST_KEYS         = 23
ST_SHOTS        = 30
SC_ZERO         = $10           ; screen code of "0"

; Fixed colours of the text pages and the status line.
TEXT_BACK       = $90
TEXT_INK        = $0E
STATUS_BACK     = $00

.segment "PMG"
        .res    $200            ; unused, and missiles at +$180
player0:
        .res    $80
        .res    $180

.segment "BSS"
; Level rows 0..30 and a blank row 31 that the fine scroll shows a line of.
screen:         .res (LEVEL_H + 1) * 32
status_line:    .res 32
robot_hpos:     .res 1          ; HPOSP0 for the next frame (0: hidden)
robot_line:     .res 1          ; player line the robot is drawn at
wall_char:      .res 1          ; left character of the level's wall pattern

.segment "RODATA"
status_template:
        screen_text "POZ 00 SRUB 00 ZYC 0 K --- AM 00"
        .assert * - status_template = 32, error, "status line is not 32 wide"
pause_template:
        screen_text "  PAUZA - SPACJA LUB START: GRAJ"
        .assert * - pause_template = 32, error, "pause line is not 32 wide"

.segment "DLIST"
; The text pages: eight lines in the middle of the screen, and below them
; what to do, since every page waits for the trigger (and a set's Start
; page may be empty).
dl_text:
        .byte   DL_BLK8, DL_BLK8, DL_BLK8, DL_BLK8, DL_BLK8
        .byte   DL_BLK8, DL_BLK8, DL_BLK8, DL_BLK8, DL_BLK8, DL_BLK8
        .byte   DL_TEXT | DL_LMS
dl_text_page:
        .word   0
        .repeat 7
        .byte   DL_TEXT
        .endrepeat
        .byte   DL_BLK8, DL_BLK8
        .byte   DL_TEXT | DL_LMS
        .word   prompt_line
        .byte   DL_JVB
        .word   dl_text

; The game: the status line, whose interrupt switches to the level's
; colours and tiles, then 13 scrolled tile rows of which 12 show.
dl_game:
        .byte   DL_BLK8, DL_BLK8
        .byte   DL_TEXT | DL_LMS | DL_DLI
        .word   status_line
        .byte   DL_BLK2
        .byte   DL_TILES | DL_LMS | DL_VSCROL
dl_game_lms:
        .word   screen
        .repeat VIEW_ROWS - 1
        .byte   DL_TILES | DL_VSCROL
        .endrepeat
        .byte   DL_TILES
        .byte   DL_JVB
        .word   dl_game
        .assert >dl_text = >*, error, "display lists cross a page"
prompt_line:
        screen_text "         NACISNIJ FIRE          "
        .assert * - prompt_line = 32, error, "prompt line is not 32 wide"
        .assert >prompt_line >> 4 = >(* - 1) >> 4, error, "a text line crosses 4 KB"

.segment "CODE"

display_init:
        lda     #0
        sta     robot_line
        sta     robot_hpos
        sta     vbi_vscrol
        lda     #<screen
        sta     vbi_lms
        lda     #>screen
        sta     vbi_lms+1

        lda     #>(player0 - $200)  ; double-line players sit at base + $200
        sta     PMBASE
        lda     #2              ; players on
        sta     GRACTL
        lda     #0
        sta     SIZEP0
        lda     #1              ; players in front of the playfield
        sta     GPRIOR
        lda     #$29            ; narrow playfield, players, double lines
        sta     SDMCTL

        lda     #<dli
        sta     VDSLST
        lda     #>dli
        sta     VDSLST+1
        lda     #$C0            ; vertical blank and display list interrupts
        sta     NMIEN
        lda     #7              ; deferred vertical blank
        ldx     #>vbi
        ldy     #<vbi
        jmp     SETVBV

; Everything that must change between two frames, never during one.
vbi:
        lda     vbi_vscrol
        sta     VSCROL
        lda     vbi_lms
        sta     dl_game_lms
        lda     vbi_lms+1
        sta     dl_game_lms+1
        lda     robot_hpos
        sta     HPOSP0
        jmp     XITVBV

; At the end of the status line: the level's colours and tiles below it.
dli:
        pha
        txa
        pha
        tya
        pha
        lda     pf_colors+4
        ldx     pf_colors+0
        ldy     pf_colors+1
        sta     WSYNC
        sta     COLBK
        stx     COLPF0
        sty     COLPF1
        lda     pf_colors+2
        sta     COLPF2
        lda     pf_colors+3
        sta     COLPF3
        lda     #>tiles_fnt
        sta     CHBASE
        pla
        tay
        pla
        tax
        pla
        rti

; Waits for the next vertical blank.
wait_frame:
        lda     RTCLOK+2
@wait:
        cmp     RTCLOK+2
        beq     @wait
        rts

; Shows the 256 screen codes at A (low), X (high) as a text page.
show_text:
        sta     dl_text_page
        stx     dl_text_page+1
        lda     #0
        sta     robot_hpos
        lda     #TEXT_BACK
        ldx     #<dl_text
        ldy     #>dl_text
        jmp     show_screen

; The game screen; the level's colours must be in pf_colors.
show_game:
        lda     #STATUS_BACK
        ldx     #<dl_game
        ldy     #>dl_game
        ; fall through

; Shows the display list at X (low), Y (high) with background A.
show_screen:
        sta     COLOR2
        sta     COLOR4
        lda     #TEXT_INK
        sta     COLOR1
        lda     #>font_fnt
        sta     CHBAS
        stx     SDLSTL
        sty     SDLSTH
        rts

; Draws the wall of the level in pattern A (0..7): pattern p lies p tiles
; to the right of the first in the character set.
set_wall:
        asl     a
        clc
        adc     tilemap + T_WALL
        sta     wall_char
        rts

; Fills the screen from level_buf, two characters per cell.
draw_level:
        lda     #<level_buf
        sta     src_ptr
        lda     #>level_buf
        sta     src_ptr+1
        lda     #<screen
        sta     scr_ptr
        lda     #>screen
        sta     scr_ptr+1
        lda     #LEVEL_H
        sta     rows
@row:
        ldy     #0
@cell:
        sty     tmp
        lda     (src_ptr),y
        tax
        tya
        asl     a
        tay
        cpx     #T_WALL
        beq     @wall
        cpx     #T_EXIT
        bne     @map
        lda     exit_open       ; the open exit has its own picture
        beq     @map
        lda     #EXIT_OPEN_MAP
        bne     @store
@wall:  lda     wall_char
        bne     @store          ; never character 0, the floor's
@map:   lda     tilemap,x
@store:
        sta     (scr_ptr),y
        iny
        clc                     ; the right half is the next character
        adc     #1
        sta     (scr_ptr),y
        ldy     tmp
        iny
        cpy     #LEVEL_W
        bne     @cell
        lda     src_ptr
        clc
        adc     #LEVEL_W
        sta     src_ptr
        bcc     @src_done
        inc     src_ptr+1
@src_done:
        lda     scr_ptr
        clc
        adc     #LEVEL_W * 2
        sta     scr_ptr
        bcc     @scr_done
        inc     scr_ptr+1
@scr_done:
        dec     rows
        bne     @row
        rts

; Status line: level number (binary 1..32 in status_level), screws left,
; lives, the keys held and the shots; while the game is paused, that it is.
.segment "BSS"
status_level:   .res 1
.segment "CODE"
draw_status:
        lda     paused
        beq     @counters
        ldx     #31
@pause: lda     pause_template,x
        sta     status_line,x
        dex
        bpl     @pause
        rts
@counters:
        ldx     #31
@copy:
        lda     status_template,x
        sta     status_line,x
        dex
        bpl     @copy
        lda     status_level
        ldx     #ST_LEVEL
        jsr     put_number
        lda     screws_left
        ldx     #ST_SCREWS
        jsr     put_bcd
        lda     lives
        cmp     #10
        bcc     @lives
        lda     #9
@lives:
        ora     #SC_ZERO
        sta     status_line + ST_LIVES
        ldx     #0
@key:
        lda     keys,x
        beq     @no_key
        txa
        clc
        adc     #SC_ZERO + 1
        sta     status_line + ST_KEYS,x
@no_key:
        inx
        cpx     #3
        bne     @key
        lda     shots
        ldx     #ST_SHOTS
        ; fall through

; Writes A (binary 0..99) as two digits at column X of the status line.
put_number:
        jsr     two_digits
        sta     status_line+1,x
        tya
        sta     status_line,x
        rts

; The screen codes of A (binary 0..99) as two digits: tens in Y, units
; in A. X is kept.
two_digits:
        ldy     #SC_ZERO
@tens:
        cmp     #10
        bcc     @units
        sbc     #10
        iny
        cpy     #SC_ZERO + 9
        bcc     @tens
@units:
        cmp     #10             ; over 99: show 99
        bcc     @store
        lda     #9
@store:
        ora     #SC_ZERO
        rts

; Writes the packed BCD byte A as two digits at column X.
put_bcd:
        pha
        lsr     a
        lsr     a
        lsr     a
        lsr     a
        ora     #SC_ZERO
        sta     status_line,x
        pla
        and     #$0F
        ora     #SC_ZERO
        sta     status_line+1,x
        rts

; Shows the robot at robot_px (colour clocks) and robot_py (player lines)
; from the level's top left corner, and scrolls to keep it mid-screen.
place_robot:
        lda     robot_py
        sec
        sbc     #(VIEW_ROWS / 2 - 1) * ROW_LINES + ROW_LINES / 2
        bcs     @not_top
        lda     #0
@not_top:
        cmp     #VIEW_MAX
        bcc     @not_bottom
        lda     #VIEW_MAX
@not_bottom:
        sta     view_y
        and     #ROW_LINES - 1
        asl     a               ; scan lines
        sta     vbi_vscrol
        lda     view_y          ; the first row: (view_y / 8) * 32 bytes
        and     #$F8
        sta     tmp
        lda     #0
        asl     tmp
        rol     a
        asl     tmp
        rol     a
        tax
        lda     tmp
        clc
        adc     #<screen
        sta     vbi_lms
        txa
        adc     #>screen
        sta     vbi_lms+1

        ldx     robot_line      ; erase the old picture
        ldy     #ROBOT_LINES
        lda     #0
@erase:
        sta     player0,x
        inx
        dey
        bne     @erase
        lda     robot_py
        sec
        sbc     view_y
        clc
        adc     #PLAYFIELD_PM
        sta     robot_line
        tax
        ldy     #0
@draw:
        lda     robot_shape,y
        sta     player0,x
        inx
        iny
        cpy     #ROBOT_LINES
        bne     @draw
        lda     robot_px
        clc
        adc     #PLAYFIELD_LEFT
        sta     robot_hpos
        rts
