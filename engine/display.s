; What the player sees: the text pages in mode 2, and the game screen, a
; status line over a narrow mode 5 playfield of 12 tile rows that scrolls
; finely over the level's 31 rows, with the robot as player 0 and a flying
; shot as player 1. This is the hardware's side: display lists,
; interrupts and the frame's beat; what they show is drawn into memory by
; draw.s.
;
; ANTIC reads the playfield straight from `screen`, so scrolling is only
; the display list's address and VSCROL, set in the vertical blank from
; vbi_lms and vbi_vscrol.

.include "atari.inc"
.include "zp.inc"
.include "text.inc"

.import tiles_fnt, font_fnt
.import screen, status_line, hint_line, player0, robot_hpos, shot_hpos
.export display_init, show_text, show_game, wait_frame

; Display list lines (the rest of the names come from atari.inc).
DL_TEXT         = DL_CHR40x8x1  ; status line and text pages
DL_TILES        = DL_CHR40x16x4 ; playfield: four colours, 16 scan lines

VIEW_ROWS       = 12            ; tile rows shown

; Fixed colours of the text pages and the status line.
TEXT_BACK       = $90
TEXT_INK        = $0E
STATUS_BACK     = $00

.segment "DLIST"
; The text pages: eight lines in the middle of the screen, and below them
; what to do, since every page waits for the trigger (and a set's Start
; page may be empty), and a line the game fills (hint_line).
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
        .byte   DL_BLK4
        .byte   DL_TEXT | DL_LMS
        .word   hint_line
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
        sta     robot_hpos
        sta     shot_hpos
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
        sta     SIZEP1
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
        lda     shot_hpos
        sta     HPOSP1
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
        sta     shot_hpos
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
