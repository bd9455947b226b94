; What the game shows, drawn into memory only: the level's cells with the
; laser beams over the floor, the status line, the line under a text
; page's prompt, the robot and a flying shot as players 0 and 1, and the
; view over the level (the display list's address and fine scroll, which
; the vertical blank sets). display.s shows it; nothing here touches a
; hardware register, so sim65 tests read what is drawn.
;
; Screen rows hold 32 characters, two per tile.

.include "zp.inc"
.include "tiles.inc"
.include "level.inc"
.include "text.inc"

.import level_buf
.import beam_map
.importzp BEAM_V, BEAM_H
.import tiles_fnt, tilemap, robot_shape
.export draw_level, draw_status, set_wall, set_view, place_players, two_digits
.export beam_flicker, put_hint
.export screen, status_line, hint_line, player0, robot_hpos, shot_hpos
.export status_level, shot_on, shot_px, shot_py, shot_across
.exportzp ST_PLAY, ST_PAUSE, ST_LEVEL, ST_READY, ST_DONE
.exportzp VIEW_MAX

VIEW_ROWS       = 12            ; tile rows shown
ROW_LINES       = 8             ; player lines (two scan lines) per tile row
VIEW_LINES      = VIEW_ROWS * ROW_LINES
VIEW_MAX        = (LEVEL_H - VIEW_ROWS) * ROW_LINES
PLAYFIELD_PM    = 17            ; player line of the playfield's first scan line
PLAYFIELD_LEFT  = $40           ; colour clock of the narrow playfield's edge
PLAYER_LINES    = 8

; What the status line shows (draw_status).
ST_PLAY         = 0             ; the counters
ST_PAUSE        = 1             ; the game is paused
ST_LEVEL        = 2             ; POZIOM n, while the level opens
ST_READY        = 3             ; GOTOWY?, until the first push
ST_DONE         = 4             ; POZIOM UKONCZONY, the exit entered

; The counters' columns in the status line.
ST_LEVEL_COL    = 4
ST_SCREWS       = 12
ST_LIVES        = 19
ST_KEYS         = 23
ST_SHOTS        = 30
ST_NUMBER       = 19            ; POZIOM n: the number
HINT_NUMBER     = 23            ; SELECT: POZIOM nn
SC_ZERO         = $10           ; screen code of "0"
SC_SPACE        = 0

; The beams' characters, made with the tiles (zelbun-gendata).
.assert BEAM_H_MAP = BEAM_V_MAP + 2 && BEAM_X_MAP = BEAM_V_MAP + 4, error, "beam pictures in a row"
BEAM_BYTES      = 6 * 8         ; their three pictures, two characters each

.segment "PMG"
        .res    $200            ; unused, and missiles at +$180
player0:                        ; player 1 follows at player0 + $80
        .res    $200

.segment "BSS"
; Level rows 0..30 and a blank row 31 that the fine scroll shows a line of.
screen:         .res (LEVEL_H + 1) * 32
status_line:    .res 32
hint_line:      .res 32         ; under a text page's prompt
robot_hpos:     .res 1          ; HPOSP0 for the next frame
shot_hpos:      .res 1          ; HPOSP1 for the next frame
player_top:     .res 2          ; player line of each player's picture, 0: none
put_line:       .res 1          ; working variables of put_player
put_base:       .res 1
put_player_no:  .res 1
wall_char:      .res 1          ; left character of the level's wall pattern
status_level:   .res 1          ; the level's number, 1..32
shot_on:        .res 1          ; non-zero: a shot flies at shot_px, shot_py
shot_px:        .res 1          ; in colour clocks and player lines, as the robot
shot_py:        .res 1
shot_across:    .res 1          ; non-zero when it flies left or right

.segment "RODATA"
status_template:
        screen_text "POZ 00 SRUB 00 ZYC 0 K --- AM 00"
        .assert * - status_template = 32, error, "status line is not 32 wide"
; The other lines of the status line, by ST_ value.
status_texts:
        screen_text "PAUZA START:GRAJ OPTION: OD NOWA"
        screen_text "            POZIOM              "
        screen_text "   GOTOWY?     OPTION: OD NOWA  "
        screen_text "        POZIOM UKONCZONY        "
        .assert * - status_texts = 4 * 32, error, "a status line is not 32 wide"
hint_template:
        screen_text "        SELECT: POZIOM 00       "
        .assert * - hint_template = 32, error, "the hint line is not 32 wide"
; Over the floor, by beam_map value: a beam up or down, across, both.
beam_chars:     .byte BEAM_V_MAP, BEAM_H_MAP, BEAM_X_MAP
        .assert BEAM_V = 1 && BEAM_H = 2, error, "beam_chars follows beam_map"
; A shot's picture: flying up or down, and left or right.
shot_shape_v:   .byte $00, $18, $18, $18, $18, $18, $18, $00
shot_shape_h:   .byte $00, $00, $00, $7E, $7E, $00, $00, $00
player_base:    .byte $00, $80

.segment "CODE"

; Draws the wall of the level in pattern A (0..7): pattern p lies p tiles
; to the right of the first in the character set.
set_wall:
        asl     a
        clc
        adc     tilemap + T_WALL
        sta     wall_char
        rts

; Fills the screen from level_buf, two characters per cell; the floor
; crossed by a beam (beam_map) shows the beam. Within a row scr_ptr moves
; on a byte a cell, so (scr_ptr),y with Y the cell's column is its left
; character, and after the step its right one.
draw_level:
        lda     #<level_buf
        sta     src_ptr
        lda     #>level_buf
        sta     src_ptr+1
        lda     #<beam_map
        sta     beam_ptr
        lda     #>beam_map
        sta     beam_ptr+1
        lda     #<screen
        sta     scr_ptr
        lda     #>screen
        sta     scr_ptr+1
        lda     #LEVEL_H
        sta     rows
@row:
        ldy     #0
@cell:
        lda     (src_ptr),y
        bne     @thing
        lda     (beam_ptr),y    ; floor, perhaps under a beam
        beq     @floor
        tax
        lda     beam_chars - 1,x
        bne     @put
@thing: tax
        cpx     #T_WALL
        beq     @wall
        cpx     #T_EXIT
        bne     @map
        lda     exit_open       ; the open exit has its own picture
        beq     @map
        lda     #EXIT_OPEN_MAP
        bne     @put
@wall:  lda     wall_char
        bne     @put            ; never character 0, the floor's
@floor: tax
@map:   lda     tilemap,x
@put:   sta     (scr_ptr),y
        inc     scr_ptr
        bne     @right
        inc     scr_ptr+1
@right: clc                     ; the right half is the next character
        adc     #1
        sta     (scr_ptr),y
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
        lda     beam_ptr
        clc
        adc     #LEVEL_W
        sta     beam_ptr
        bcc     @beam_done
        inc     beam_ptr+1
@beam_done:
        lda     scr_ptr         ; the row's other half of 32
        clc
        adc     #LEVEL_W
        sta     scr_ptr
        bcc     @scr_done
        inc     scr_ptr+1
@scr_done:
        dec     rows
        bne     @row
        rts

; The beams flicker: A's bit 2 (a frame count) picks their bright colour
; (marker 2, pixels %11) or the dim one (marker 1, %10).
beam_flicker:
        ldx     #BEAM_BYTES - 1
        and     #4
        bne     @dim
@bright:
        lda     tiles_fnt + BEAM_V_MAP * 8,x
        sta     tmp
        lsr     a
        and     #$55
        ora     tmp
        sta     tiles_fnt + BEAM_V_MAP * 8,x
        dex
        bpl     @bright
        rts
@dim:   lda     tiles_fnt + BEAM_V_MAP * 8,x
        and     #$AA
        sta     tiles_fnt + BEAM_V_MAP * 8,x
        dex
        bpl     @dim
        rts

; The status line in mode A (ST_): the level number (status_level), the
; screws left, lives, keys held and shots; or one of the other lines.
draw_status:
        sta     tmp
        cmp     #ST_PLAY
        beq     @counters
        tay                     ; line (A - 1) of status_texts
        lda     #<(status_texts - 32)
        sta     src_ptr
        lda     #>(status_texts - 32)
        sta     src_ptr+1
@line:  lda     src_ptr
        clc
        adc     #32
        sta     src_ptr
        bcc     @next
        inc     src_ptr+1
@next:  dey
        bne     @line
        ldy     #31
@text:  lda     (src_ptr),y
        sta     status_line,y
        dey
        bpl     @text
        lda     tmp
        cmp     #ST_LEVEL
        bne     @done
        lda     status_level    ; POZIOM n, without a leading zero
        jsr     two_digits
        cpy     #SC_ZERO
        beq     @units
        sty     status_line + ST_NUMBER
        sta     status_line + ST_NUMBER + 1
        rts
@units: sta     status_line + ST_NUMBER
@done:  rts
@counters:
        ldx     #31
@copy:
        lda     status_template,x
        sta     status_line,x
        dex
        bpl     @copy
        lda     status_level
        ldx     #ST_LEVEL_COL
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

; The line under a text page's prompt: "SELECT: POZIOM nn" for level A
; (1..32), or blank for 0.
put_hint:
        tax
        ldy     #31
@copy:  lda     hint_template,y
        cpx     #0
        bne     @put
        lda     #SC_SPACE
@put:   sta     hint_line,y
        dey
        bpl     @copy
        txa
        beq     @done
        jsr     two_digits
        sta     hint_line + HINT_NUMBER + 1
        sty     hint_line + HINT_NUMBER
@done:  rts

; Shows the level from player line view_y of it (0..VIEW_MAX) at the next
; frame: the display list's first row and the fine scroll.
set_view:
        lda     view_y
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
        rts

; The robot (player 0) at robot_px, robot_py, and the shot (player 1)
; while one flies, as the view shows them: a picture outside the view is
; not drawn, one at its edge only in part.
place_players:
        lda     #<robot_shape
        sta     src_ptr
        lda     #>robot_shape
        sta     src_ptr+1
        ldx     #0
        lda     robot_py
        jsr     put_player
        lda     robot_px
        clc
        adc     #PLAYFIELD_LEFT
        sta     robot_hpos
        ldx     #1
        lda     shot_on
        beq     erase_player
        lda     #<shot_shape_v
        ldy     shot_across
        beq     @shape
        lda     #<shot_shape_h
@shape: sta     src_ptr
        lda     #>shot_shape_v
        .assert >shot_shape_v = >shot_shape_h, error, "shot pictures cross a page"
        sta     src_ptr+1
        lda     shot_py
        jsr     put_player
        lda     shot_px
        clc
        adc     #PLAYFIELD_LEFT
        sta     shot_hpos
        rts

; Draws the picture at (src_ptr) for player X (0 or 1) with its top at
; line A of the level, clipped to the view.
put_player:
        pha
        jsr     erase_player
        pla
        sec
        sbc     view_y
        bcs     @below
        cmp     #<-(PLAYER_LINES - 1)
        bcc     @gone           ; wholly above the view
        bcs     @seen
@below: cmp     #VIEW_LINES
        bcs     @gone           ; wholly below it
@seen:  clc
        adc     #PLAYFIELD_PM
        sta     player_top,x
        sta     put_line
        stx     put_player_no
        lda     player_base,x
        sta     put_base
        ldy     #0
@line:  lda     put_line
        cmp     #PLAYFIELD_PM
        bcc     @skip
        cmp     #PLAYFIELD_PM + VIEW_LINES
        bcs     @skip
        ora     put_base
        tax
        lda     (src_ptr),y
        sta     player0,x
@skip:  inc     put_line
        iny
        cpy     #PLAYER_LINES
        bne     @line
        ldx     put_player_no
@gone:  rts

; Clears the picture of player X (0 or 1); X is kept.
erase_player:
        lda     player_top,x
        beq     @none
        ora     player_base,x
        tay
        lda     #0
        sta     player_top,x
        .repeat PLAYER_LINES, i
        sta     player0 + i,y
        .endrepeat
@none:  rts
